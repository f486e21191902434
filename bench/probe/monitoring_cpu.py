"""CPU time that the whole program uses per minute, idle and while monitoring 127.0.0.1, on a
real X desktop (Xvfb, openbox, tint2). Usage: monitoring_cpu.py PROGRAM [SECONDS]
Only loopback is probed, so no alert is due and no mail is sent."""
import os
import pathlib
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tests" / "desktop"))
from desktop import Desktop, wait_for  # noqa: E402

WIDTH, OPEN_HEIGHT = 388, 509
SERVER_BOX_CENTRE = (181, 156)
LICENCE_BOX_CENTRE = (34, 327)
START_BUTTON_CENTRE = (327, 482)


def cpu_seconds(pid):
    fields = pathlib.Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def main():
    program, seconds = sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 60.0
    desktop = Desktop(tempfile.mkdtemp(prefix="orvane-cpu-"))
    process = desktop.start(program)
    try:
        def window():
            for w in desktop.windows(process.pid):
                g = desktop.geometry(w)
                if g and g[2] == WIDTH:
                    return w, g
            return None

        found = wait_for(window, timeout=15)
        if not found:
            sys.exit("the window did not appear")
        time.sleep(1)
        handle, (left, top, _, _) = found

        def click(point):
            desktop.click(left + point[0], top + point[1])

        click(SERVER_BOX_CENTRE)
        desktop.type("127.0.0.1")
        click(LICENCE_BOX_CENTRE)
        if not wait_for(lambda: desktop.geometry(handle)[3] == OPEN_HEIGHT, timeout=5):
            sys.exit("the panel did not open")
        time.sleep(1)

        start = cpu_seconds(process.pid)
        time.sleep(seconds)
        idle = (cpu_seconds(process.pid) - start) * 60 / seconds

        click(START_BUTTON_CENTRE)
        start = cpu_seconds(process.pid)
        time.sleep(seconds)
        monitoring = (cpu_seconds(process.pid) - start) * 60 / seconds
        shot = desktop.screenshot("monitoring")

        print(f"measured over                  {seconds:.0f} s each")
        print(f"CPU per minute, idle           {idle * 1000:.0f} ms")
        print(f"CPU per minute, monitoring     {monitoring * 1000:.0f} ms")
        print(f"monitoring adds                {(monitoring - idle) * 1000:.0f} ms per minute")
        print(f"the window at the end          {shot}")
    finally:
        process.kill()
        process.wait()
        desktop.close()


if __name__ == "__main__":
    main()
