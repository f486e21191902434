"""A host of the test's own: a network namespace joined to this machine by a veth pair, whose
kernel answers ICMP echo until it is told to keep silent. Probes to it never leave the machine."""
import os
import subprocess


class SilentHost:
    def __init__(self, subnet="10.254.213"):
        self.name = f"orvane-e2e-{os.getpid()}"
        self.outside, self.inside = f"oe{os.getpid() % 100000}a", f"oe{os.getpid() % 100000}b"
        self.address = f"{subnet}.2"
        self._ip("netns", "add", self.name)
        self._ip("link", "add", self.outside, "type", "veth", "peer", "name", self.inside)
        self._ip("link", "set", self.inside, "netns", self.name)
        self._ip("addr", "add", f"{subnet}.1/30", "dev", self.outside)
        self._ip("link", "set", self.outside, "up")
        self._ip("-n", self.name, "addr", "add", f"{self.address}/30", "dev", self.inside)
        self._ip("-n", self.name, "link", "set", self.inside, "up")
        self._ip("-n", self.name, "link", "set", "lo", "up")
        self.answer(True)

    def answer(self, yes):
        subprocess.run(["ip", "netns", "exec", self.name, "sh", "-c",
                        f"echo {0 if yes else 1} > /proc/sys/net/ipv4/icmp_echo_ignore_all"], check=True)

    def close(self):
        subprocess.run(["ip", "link", "del", self.outside], stderr=subprocess.DEVNULL)
        subprocess.run(["ip", "netns", "del", self.name], stderr=subprocess.DEVNULL)

    @staticmethod
    def _ip(*args):
        subprocess.run(["ip", *args], check=True, capture_output=True)
