#!/usr/bin/env bash
# Shows the Debian package at work on this machine: builds it, installs it with apt (so its
# dependencies resolve), validates its menu entry, starts the program from that entry's Exec line
# as a throwaway normal user on a private X desktop, watches it monitor 127.0.0.1 without root,
# and removes the package again. Usage, as root: tools/check_package.sh [build directory]
# It changes the machine while it runs, so it is a demonstration, not one of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
build_dir=$(realpath -m "${1:-build}")
demo_user=orvane-demo
entry=/usr/share/applications/orvane-monitor.desktop

step() { printf '\n== %s\n' "$*"; }

step "Tools this demonstration needs"
tools=(g++ cmake ninja-build qt6-base-dev libgtest-dev dpkg-dev desktop-file-utils libcap2-bin
       python3 xvfb openbox tint2 xdotool x11-utils imagemagick)
bash tools/install_missing.sh "${tools[@]}"
echo "present: ${tools[*]}"

step "Build the package in $build_dir"
# Only the program and its icon are built: cpack then installs without building everything.
cmake -S . -B "$build_dir" -G Ninja -Wno-dev -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build_dir" -j2 --target orvane-monitor orvane_menu_icon
rm -f "$build_dir"/orvane-monitor_*.deb
(cd "$build_dir" && cpack -G DEB)
package=$(ls "$build_dir"/orvane-monitor_*.deb)
dpkg-deb --info "$package"
dpkg-deb --contents "$package"

created_user=0
cleanup() {
    step "Remove the package"
    apt-get purge -y -qq orvane-monitor
    if dpkg-query -W orvane-monitor >/dev/null 2>&1; then
        echo "orvane-monitor is still installed" >&2
    else
        echo "orvane-monitor is no longer installed; /usr/bin/orvane-monitor present: $(test -e /usr/bin/orvane-monitor && echo yes || echo no)"
    fi
    if ((created_user)); then
        userdel --remove "$demo_user" 2>/dev/null
        echo "removed the user $demo_user"
    fi
}

step "Install it with apt"
if dpkg-query -W orvane-monitor >/dev/null 2>&1; then
    apt-get purge -y -qq orvane-monitor
fi
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$package"
dpkg-query -W -f='${Package} ${Version} ${db:Status-Abbrev}\n' orvane-monitor
echo "capability: $(getcap /usr/bin/orvane-monitor)"
echo "net.ipv4.ping_group_range: $(cat /proc/sys/net/ipv4/ping_group_range) (a user outside this range gets no ICMP datagram socket)"

step "Validate the menu entry $entry"
desktop-file-validate "$entry"
echo "desktop-file-validate: no complaints"
cat "$entry"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
echo "Exec line: $exec_line -> $(command -v "${exec_line%% *}")"

# Runs the program from the menu entry's Exec line as the demo user on a private X desktop, types
# 127.0.0.1, starts monitoring, and prints the right edge of the latency text once it has changed:
# a failed probe shows "-1ms", wider than the time of a successful one.
watch_loopback() {
    local name=$1
    runuser -u "$demo_user" -- env HOME="/home/$demo_user" PYTHONDONTWRITEBYTECODE=1 \
        python3 - "$exec_line" "$shots" "$source_dir/tests/desktop" "$name" <<'PY'
import shlex
import subprocess
import sys
import time

exec_line, shots, desktop_dir, name = sys.argv[1:5]
command = shlex.split(exec_line)
if len(command) != 1:
    sys.exit(f"the Exec line should name only the program: {exec_line!r}")
sys.path.insert(0, desktop_dir)
sys.argv[1:] = [command[0], "-"]  # the desktop scenarios' program and (unused) mail server
import desktop_test as scenario
from desktop import Desktop, wait_for


def icmp_counters():
    with open("/proc/net/snmp") as snmp:
        names, values = [line.split()[1:] for line in snmp if line.startswith("Icmp:")][:2]
    counters = dict(zip(names, map(int, values)))
    return counters["OutEchos"], counters["InEchoReps"]


def red_right_edge(program, path):
    x, y = program.at(scenario.LATENCY[0], scenario.LATENCY[1])
    w, h = scenario.LATENCY[2], scenario.LATENCY[3]
    box = program.desktop.run("convert", str(path), "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                              "-fuzz", "25%", "-fill", "black", "+opaque", "#FF0000",
                              "-fill", "white", "-opaque", "#FF0000", "-trim", "-format", "%@",
                              "info:")
    width, rest = box.split("x", 1)
    return int(rest.split("+")[1]) + int(width)


desktop = Desktop(shots)
program = None
try:
    program = scenario.Program(desktop)
    pid = program.process.pid
    print(subprocess.run(["ps", "-o", "user,pid,args", "-p", str(pid)],
                         capture_output=True, text=True).stdout.rstrip())
    with open(f"/proc/{pid}/status") as status:
        effective = next(line.split()[1] for line in status if line.startswith("CapEff:"))
    print("effective capabilities:", subprocess.run(["capsh", f"--decode={effective}"],
                                                    capture_output=True, text=True).stdout.strip())
    time.sleep(0.6)  # the column slides in for some 300 ms
    before = program.shot(f"{name}-before")
    edge_before = red_right_edge(program, before)
    program.type_into(scenario.SERVER_BOX, "127.0.0.1")
    program.open_panel()
    echos_before = icmp_counters()
    program.click(scenario.START_BUTTON)
    changed = wait_for(lambda: red_right_edge(program, program.shot(f"{name}-monitoring"))
                       != edge_before, timeout=5)
    time.sleep(2)
    running = program.shot(f"{name}-monitoring")
    echos = [after - earlier for after, earlier in zip(icmp_counters(), echos_before)]
    print(f"screenshot: {running}")
    print(f"ICMP echo requests sent / replies received on this machine meanwhile: {echos[0]} / {echos[1]}")
    print(f"elapsed text pixels: {program.count(running, scenario.ELAPSED, 'FFFFFF')}")
    if not changed:
        sys.exit("the latency text did not change after the start")
    print(f"latency text right edge: {red_right_edge(program, running)}")
finally:
    if program:
        program.close()
    desktop.close()
PY
}

step "Start it from the menu entry as a normal user and monitor 127.0.0.1"
if ! id "$demo_user" >/dev/null 2>&1; then
    useradd --create-home --shell /usr/sbin/nologin "$demo_user"
    created_user=1
fi
echo "user: $(id "$demo_user")"
shots=$(mktemp -d /tmp/orvane-package-XXXXXX)
chown "$demo_user" "$shots"
watch_loopback with-capability | tee "$shots/with-capability.txt"

step "The same without the capability, as when the file system cannot hold it"
setcap -r /usr/bin/orvane-monitor
echo "capability: $(getcap /usr/bin/orvane-monitor)(none)"
watch_loopback without-capability | tee "$shots/without-capability.txt"

step "Verdict"
with_capability=$(sed -n 's/^latency text right edge: //p' "$shots/with-capability.txt")
without_capability=$(sed -n 's/^latency text right edge: //p' "$shots/without-capability.txt")
echo "latency text ends at x=$with_capability with the capability, at x=$without_capability without (\"-1ms\")"
if ((with_capability >= without_capability)); then
    echo "FAILED: the installed program did not probe 127.0.0.1 as a normal user" >&2
    exit 1
fi
echo "OK: installed with apt, started from its menu entry as $demo_user, it probes 127.0.0.1 without root"
