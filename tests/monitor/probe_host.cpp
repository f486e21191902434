// Prints what echo_probe gives for one host, so that a test can run a probe in a namespace with
// its own resolver file (ip netns exec NAME probe_host HOST TIMEOUT_MS).
#include "platform/echo_probe.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    std::printf("%d\n", orvane::echo_probe(argv[1], std::atoi(argv[2])));
    return 0;
}
