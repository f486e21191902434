"""A real X desktop for the program: Xvfb, the openbox window manager and a tint2 panel whose
tray hosts the program's icon, driven with xdotool and looked at through screenshots."""
import os
import pathlib
import re
import shutil
import subprocess
import time


def wait_for(predicate, timeout=10.0, step=0.05):
    """The predicate's first true value, or None when the time runs out."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > end:
            return value
        time.sleep(step)


class Desktop:
    def __init__(self, shots_dir, width=1280, height=800, tray=True):
        self.shots_dir = pathlib.Path(shots_dir)
        self.shots_dir.mkdir(parents=True, exist_ok=True)
        self.size = (width, height)
        self.processes = []
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                 f"{width}x{height}x24", "-nolisten", "tcp"],
                                pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        self.processes.append(xvfb)
        with os.fdopen(read_end) as display_number:
            self.display = ":" + display_number.readline().strip()
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY")}
        self.env["DISPLAY"] = self.display
        self.start("openbox")
        wait_for(lambda: "window id" in self.xprop_root("_NET_SUPPORTING_WM_CHECK"))
        if tray:
            # Without a D-Bus session tint2 hosts tray icons the XEmbed way, as a bare X desktop does.
            self.start("tint2")
            wait_for(self.tray_owner)

    def start(self, *command, **kwargs):
        process = subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, **kwargs)
        self.processes.append(process)
        return process

    def run(self, *command, check=True):
        result = subprocess.run(command, env=self.env, capture_output=True, text=True, check=check)
        return result.stdout

    def xprop_root(self, name):
        return self.run("xprop", "-root", name, check=False)

    def tray_owner(self):
        # tint2 names its tray window after the selection it owns.
        return bool(self.run("xdotool", "search", "--name", "tint2", check=False).strip())

    def close(self):
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()

    # Input.
    def move_mouse(self, x, y):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y))

    def click(self, x, y, button=1):
        self.move_mouse(x, y)
        self.run("xdotool", "click", str(button))

    def drag(self, start, end):
        self.move_mouse(*start)
        self.run("xdotool", "mousedown", "1")
        for step in range(1, 6):
            self.run("xdotool", "mousemove", "--sync",
                     str(start[0] + (end[0] - start[0]) * step // 5),
                     str(start[1] + (end[1] - start[1]) * step // 5))
        self.run("xdotool", "mouseup", "1")

    def type(self, text):
        self.run("xdotool", "type", "--delay", "20", text)

    def key(self, *keys):
        self.run("xdotool", "key", *keys)

    # Windows.
    def windows(self, pid):
        """The mapped windows of one process."""
        found = self.run("xdotool", "search", "--onlyvisible", "--pid", str(pid), check=False)
        return [int(w) for w in found.split()]

    def geometry(self, window):
        shell = self.run("xdotool", "getwindowgeometry", "--shell", str(window), check=False)
        values = dict(line.split("=", 1) for line in shell.split() if "=" in line)
        if not values:
            return None
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    # Looking.
    def screenshot(self, name):
        path = self.shots_dir / f"{name}.png"
        self.run("import", "-window", "root", str(path))
        return path

    def pixels(self, path, points):
        """The colours at the points, as 'RRGGBB'."""
        template = " ".join(f"%[hex:u.p{{{x},{y}}}]" for x, y in points)
        out = self.run("convert", str(path), "-format", template, "info:")
        return [value[:6].upper() for value in out.split()]

    def count_colour(self, path, box, colour):
        """How many pixels of the box (x, y, w, h) are near the colour 'RRGGBB', text being
        smoothed at its edges."""
        x, y, w, h = box
        out = self.run("convert", str(path), "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-fuzz", "25%",
                       "-fill", "black", "+opaque", f"#{colour}", "-fill", "white",
                       "-opaque", f"#{colour}", "-format", "%[fx:mean*w*h]", "info:")
        return round(float(out))


def have_desktop_tools():
    return all(shutil.which(tool) for tool in ("Xvfb", "openbox", "tint2", "xdotool", "import"))
