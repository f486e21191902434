"""The whole program as a user meets it, on a real X desktop. Usage:
desktop_test.py PROGRAM SMTP_SINK [unittest arguments]. PROGRAM must be built to send its alert
through 127.0.0.1 port 25; SMTP_SINK is the test mail server script."""
import os
import pathlib
import subprocess
import sys
import tempfile
import time
import unittest

from desktop import Desktop, wait_for
from network_lab import SilentHost

PROGRAM, SMTP_SINK = sys.argv[1], sys.argv[2]
del sys.argv[1:3]
SHOTS = pathlib.Path(os.environ.get("ORVANE_SHOTS", tempfile.mkdtemp(prefix="orvane-shots-")))

WINDOW_COLOUR, FRAME_COLOUR, BUTTON_BORDER = "2D2D30", "646464", "626263"
WIDTH, HEIGHT, OPEN_HEIGHT = 388, 409, 509

# Places in the window (x, y, w, h) that the user looks at and clicks.
SERVER_BOX = (26, 144, 310, 24)
MAIL_BOX = (25, 202, 310, 24)
LATENCY = (201, 112, 160, 24)
ELAPSED = (201, 145, 135, 24)
TEST_BUTTON = (337, 200, 48, 26)
LICENCE_BOX = (26, 319, 16, 16)
START_BUTTON = (287, 409 + 60, 80, 26)
MINIMIZE = (323, 9, 26, 26)
CLOSE = (355, 9, 26, 26)


def centre(box):
    x, y, w, h = box
    return x + w // 2, y + h // 2


class Program:
    """One run of the program on the desktop."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.process = desktop.start(PROGRAM)
        self.window = wait_for(self.find_window, timeout=15)
        if not self.window:
            raise AssertionError("the window did not appear")

    def find_window(self):
        return self.window_sized(lambda w, h: w == WIDTH)

    def tray_icon(self):
        window = self.window_sized(lambda w, h: w < 64 and h < 64)
        return window and self.desktop.geometry(window)

    def window_sized(self, fits):
        for window in self.desktop.windows(self.process.pid):
            geometry = self.desktop.geometry(window)
            if geometry and fits(geometry[2], geometry[3]):
                return window
        return None

    def geometry(self):
        return self.desktop.geometry(self.window)

    def shown(self):
        return self.window in self.desktop.windows(self.process.pid)

    def at(self, x, y):
        left, top, _, _ = self.geometry()
        return left + x, top + y

    def click(self, box):
        self.desktop.click(*self.at(*centre(box)))

    def type_into(self, box, text):
        self.click(box)
        self.desktop.type(text)

    def shot(self, name):
        return self.desktop.screenshot(name)

    def pixels(self, path, points):
        return self.desktop.pixels(path, [self.at(x, y) for x, y in points])

    def count(self, path, box, colour):
        x, y = self.at(box[0], box[1])
        return self.desktop.count_colour(path, (x, y, box[2], box[3]), colour)

    def open_panel(self):
        self.click(LICENCE_BOX)
        if not wait_for(lambda: self.geometry()[3] == OPEN_HEIGHT, timeout=5):
            raise AssertionError("the panel did not open")

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class MailServer:
    """The test mail server on 127.0.0.1 port 25, where the program sends its alert."""

    def __init__(self):
        self.mail_dir = pathlib.Path(tempfile.mkdtemp(prefix="orvane-mail-"))
        self.process = subprocess.Popen(["/usr/bin/python3", SMTP_SINK, str(self.mail_dir), "25"],
                                        stdout=subprocess.PIPE, text=True)
        self.process.stdout.readline()  # the port: listening now

    def mails(self):
        """Each mail received: envelope sender, recipients, subject, To line, body."""
        return [path.read_text(encoding="utf-8").splitlines()
                for path in sorted(self.mail_dir.glob("mail-*.txt"))]

    def close(self):
        self.process.terminate()
        self.process.wait()
        self.process.stdout.close()


def alert_subject(server):
    return f"服务器{server}已经挂了，请尽快处理"


ALERT_BODY = "已经死机，请尽快处理"
WATCHER = "watcher@example.com"


class DesktopTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(SHOTS)

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def start_program(self, settle=True):
        program = Program(self.desktop)
        self.addCleanup(program.close)
        if settle:
            time.sleep(0.6)  # the column slides in for some 300 ms
        return program

    def shot(self, name):
        path = self.program.shot(f"{self.id().split('.')[-1]}-{name}")
        print(f"screenshot: {path}", file=sys.stderr)
        return path

    def test_window_opens_centred_with_every_control_in_place(self):
        self.program = self.start_program()
        screen_w, screen_h = self.desktop.size
        self.assertEqual(self.program.geometry(),
                         ((screen_w - WIDTH) // 2, (screen_h - HEIGHT) // 2, WIDTH, HEIGHT))
        path = self.shot("start")
        points = {
            (200, 5): WINDOW_COLOUR,              # background
            (26, 156): FRAME_COLOUR, (25, 156): WINDOW_COLOUR,  # server box at 26
            (25, 214): FRAME_COLOUR, (24, 214): WINDOW_COLOUR,  # mail box at 25
            (337, 213): BUTTON_BORDER,            # test button
            (26, 327): "434346",                  # the unticked licence box
            (1, 85): "4B4B4D",                    # side marker
        }
        self.assertEqual(self.program.pixels(path, list(points)), list(points.values()))
        self.assertGreater(self.program.count(path, (98, 232, 110, 24), "0000FF"), 20)  # the link
        self.assertGreater(self.program.count(path, LATENCY, "FF0000"), 20)
        icon = self.program.tray_icon()
        self.assertTrue(icon, "the tray icon is missing")
        # Resting on the icon shows its tooltip, a small window of the program's own.
        x, y, w, h = icon
        self.desktop.move_mouse(x + w // 2, y + h // 2)
        tooltip = wait_for(lambda: self.program.window_sized(lambda w, h: 40 < w < WIDTH and h < 40))
        self.assertTrue(tooltip, "no tooltip on the tray icon")
        self.shot("tooltip")

    def test_licence_box_opens_and_closes_the_panel(self):
        self.program = self.start_program()
        self.program.open_panel()
        path = self.shot("open")
        self.assertEqual(self.program.pixels(path, [(287, 409 + 70)]), [BUTTON_BORDER])
        self.program.click(LICENCE_BOX)
        self.assertTrue(wait_for(lambda: self.program.geometry()[3] == HEIGHT, timeout=5))

    def test_monitoring_shows_latency_and_elapsed_time(self):
        self.program = self.start_program()
        path = self.shot("before")
        red_before = self.program.count(path, LATENCY, "FF0000")
        self.program.type_into(SERVER_BOX, "127.0.0.1")
        self.program.open_panel()
        self.program.click(START_BUTTON)
        time.sleep(2.2)
        first = self.shot("running")
        # "服务器当前延迟：0ms" is longer than the form's "服务器当前延迟".
        self.assertGreater(self.program.count(first, LATENCY, "FF0000"), red_before)
        self.assertGreater(self.program.count(first, ELAPSED, "FFFFFF"), 20)
        time.sleep(1.1)
        second = self.shot("a second later")
        self.assertNotEqual(self.program.pixels(first, [(x, 157) for x in range(201, 336)]),
                            self.program.pixels(second, [(x, 157) for x in range(201, 336)]))

    def test_outage_sends_one_alert_and_a_success_rearms_it(self):
        host = SilentHost()
        self.addCleanup(host.close)
        mail = MailServer()
        self.addCleanup(mail.close)
        self.program = self.start_program()
        self.program.type_into(SERVER_BOX, host.address)
        self.program.type_into(MAIL_BOX, WATCHER)
        self.program.open_panel()
        self.program.click(START_BUTTON)
        time.sleep(2.5)
        host.answer(False)
        # Six failures, the first after its 5 s time-out: the alert comes some 11 s later.
        first = wait_for(mail.mails, timeout=25)
        self.assertEqual(first, [["monitor@orvane.example", WATCHER, alert_subject(host.address),
                                  WATCHER, ALERT_BODY]])
        self.shot("after the alert")
        time.sleep(4)
        self.assertEqual(len(mail.mails()), 1, "one outage, one alert")
        host.answer(True)
        time.sleep(2.5)
        host.answer(False)
        self.assertTrue(wait_for(lambda: len(mail.mails()) == 2, timeout=25), "no second alert")

    def test_test_button_sends_the_alert(self):
        mail = MailServer()
        self.addCleanup(mail.close)
        self.program = self.start_program()
        self.program.type_into(SERVER_BOX, "db.example")
        self.program.type_into(MAIL_BOX, WATCHER)
        self.program.click(TEST_BUTTON)
        mails = wait_for(mail.mails, timeout=10)
        self.assertEqual([m[2:] for m in mails], [[alert_subject("db.example"), WATCHER, ALERT_BODY]])

    def test_test_button_without_a_mail_server_shows_the_failure_message(self):
        self.program = self.start_program()
        self.program.click(TEST_BUTTON)
        box = wait_for(lambda: self.program.window_sized(lambda w, h: w != WIDTH and w >= 64), timeout=10)
        self.assertTrue(box, "no message box")
        self.shot("message box")
        self.desktop.key("Return")
        self.assertTrue(wait_for(lambda: box not in self.desktop.windows(self.program.process.pid)))

    def test_minimize_hides_into_the_tray_and_a_click_brings_it_back_centred(self):
        self.program = self.start_program()
        self.desktop.drag(self.program.at(150, 40), self.program.at(50, 10))
        self.program.click(MINIMIZE)
        self.assertTrue(wait_for(lambda: not self.program.shown(), timeout=5))
        self.shot("minimized")
        x, y, w, h = self.program.tray_icon()
        self.desktop.click(x + w // 2, y + h // 2)
        screen_w, screen_h = self.desktop.size
        centred = ((screen_w - WIDTH) // 2, (screen_h - HEIGHT) // 2, WIDTH, HEIGHT)
        self.assertTrue(wait_for(lambda: self.program.shown() and self.program.geometry() == centred,
                                 timeout=5), self.program.geometry())
        self.shot("restored")

    def test_close_fades_out_and_exits_with_code_zero(self):
        self.program = self.start_program()
        self.program.type_into(SERVER_BOX, "127.0.0.1")
        self.program.open_panel()
        self.program.click(START_BUTTON)
        time.sleep(1.5)  # probes in flight
        self.program.click(CLOSE)
        self.assertEqual(self.program.process.wait(5), 0)

    def test_close_during_the_slide_in_exits_with_code_zero(self):
        for _ in range(3):
            program = self.start_program(settle=False)
            program.click(CLOSE)
            self.assertEqual(program.process.wait(5), 0)


class DesktopWithoutTrayTest(unittest.TestCase):
    """With no tray host on the desktop, hiding a minimized window would lose it for good."""

    def test_minimized_window_stays_in_the_taskbar(self):
        desktop = Desktop(SHOTS / "no-tray", tray=False)
        self.addCleanup(desktop.close)
        program = Program(desktop)
        self.addCleanup(program.close)
        time.sleep(0.6)
        program.click(MINIMIZE)
        iconic = lambda: "Iconic" in desktop.run("xprop", "-id", str(program.window), "WM_STATE", check=False)
        self.assertTrue(wait_for(iconic, timeout=5), "not minimized")
        time.sleep(0.5)
        self.assertTrue(iconic(), "the minimized window was withdrawn")
        desktop.run("xdotool", "windowactivate", "--sync", str(program.window))
        self.assertTrue(wait_for(program.shown, timeout=5))


if __name__ == "__main__":
    unittest.main(verbosity=2)
