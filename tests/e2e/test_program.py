"""The program as a whole under Wine: the splash and the main window, the second copy,
and the four ways to end it, each by real input."""

import os
import subprocess
import time

import harness
from harness import (EXIT_TIMEOUT, HTCLOSE, MENU_CLASS, SPLASH_CLASS, wait_until,
                     write_sentences)

LINE = "abc"
MAIN_RECT = [300, 300, 600, 500]  # x 300, y 300, 300 x 200
WS_OVERLAPPEDWINDOW = 0x00CF0000
SPLASH_MILLIS = 2000
# The splash is seen a poll or so after it is drawn; the main window cannot come
# before the 2000 ms wait that follows the drawing.
SPLASH_SLACK_SECONDS = 0.1


class ProgramTest(harness.TolviTestCase):

    def setUp(self):
        super().setUp()
        write_sentences(self.work, LINE)

    def assert_ended(self, run, how):
        code = run.wait_exit()
        self.assertEqual(code, 0, f"expected exit code 0 after {how}; got {code}")
        main = self.probe.window(run.main)
        self.assertFalse(main["exists"], f"expected the main window gone after {how}; got {main}")

    def test_main_window_follows_splash(self):
        run = self.start()
        self.assertEqual(run.splash_rect, MAIN_RECT,
                         f"expected the splash at {MAIN_RECT}; got {run.splash_rect}")
        waited = run.main_seen_at - run.splash_seen_at
        self.assertGreaterEqual(waited, SPLASH_MILLIS / 1000 - SPLASH_SLACK_SECONDS,
                                f"expected the main window at least {SPLASH_MILLIS} ms after "
                                f"the splash; got {waited * 1000:.0f} ms")
        # About 2000 ms: the bound leaves room for a slow Wine, not for a second wait.
        self.assertLess(waited, SPLASH_MILLIS / 1000 * 2,
                        f"expected the main window about {SPLASH_MILLIS} ms after the splash; "
                        f"got {waited * 1000:.0f} ms")
        wait_until(lambda: not [w for w in run.own_windows() if w["class"] == SPLASH_CLASS],
                   "the splash to go away by itself", seen=run.describe)

        main = self.probe.window(run.main)
        self.assertEqual(main["text"], "Tolvi", f"expected caption 'Tolvi'; got {main['text']!r}")
        self.assertEqual(main["rect"], MAIN_RECT,
                         f"expected the main window at {MAIN_RECT}; got {main['rect']}")
        self.assertEqual(main["style"] & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW,
                         f"expected an overlapped window style; got {main['style']:#x}")
        self.assertNotEqual(main["menu"], 0, "expected a menu bar on the main window")
        metrics = self.probe.ask("metrics")
        above_client = main["client"][1] - main["rect"][1]
        expected = metrics["frame"][1] + metrics["caption"] + metrics["menu"]
        self.assertEqual(above_client, expected,
                         f"expected frame, caption and one menu row ({expected} px) above "
                         f"the client area; got {above_client} px")
        run.wait_main_focused()
        self.probe.key("Escape")
        self.assert_ended(run, "Esc in the main window")

    def test_second_copy_exits_at_once(self):
        first = self.start()
        first.wait_main_focused()
        before = self.probe.window(first.main)
        known = {w["hwnd"] for w in self.probe.windows()}

        other = os.path.join(self.root, "other")
        os.mkdir(other)
        write_sentences(other, LINE)
        second = self.new_run(other)
        launched = time.monotonic()
        second.process = harness.start_windows_program(
            harness.TOLVI_EXE, cwd=other, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        new_windows = []
        while second.process.poll() is None:
            new_windows += [f"{w['class']} {w['text']!r}" for w in self.probe.windows()
                            if w["visible"] and w["hwnd"] not in known]
            if time.monotonic() - launched > EXIT_TIMEOUT:
                self.fail(f"expected the second copy to end at once; it still runs after "
                          f"{EXIT_TIMEOUT} s, having shown {sorted(set(new_windows))}")
            time.sleep(harness.POLL_SECONDS)
        took = time.monotonic() - launched
        self.assertEqual(second.process.returncode, 0,
                         f"expected exit code 0 from the second copy; got "
                         f"{second.process.returncode}")
        self.assertEqual(new_windows, [], f"expected no window from the second copy; got "
                                          f"{sorted(set(new_windows))}")
        self.assertLess(took * 1000, SPLASH_MILLIS,
                        f"expected the second copy to end before a splash could pass; "
                        f"it took {took * 1000:.0f} ms")
        self.assertEqual(os.listdir(other), ["string.dat"], "expected the second copy to write nothing")

        after = self.probe.window(first.main)
        for field in ("exists", "text", "rect", "visible", "enabled"):
            self.assertEqual(after[field], before[field],
                             f"expected the first copy's main window {field} unchanged "
                             f"{before[field]!r}; got {after[field]!r}")
        first.wait_main_focused()
        self.probe.key("Escape")
        self.assert_ended(first, "Esc in the main window")

    def test_quit_from_the_menu_by_keyboard(self):
        run = self.start()
        run.wait_main_focused()
        self.probe.key("Alt")
        wait_until(lambda: self.probe.focus().get("in_menu"), "menu mode after Alt",
                   seen=run.describe)
        self.probe.key("Down")
        wait_until(lambda: [w for w in run.own_windows() if w["class"] == MENU_CLASS],
                   "the Game menu to open", seen=run.describe)
        # Up from the open popup lands on its last entry, "終了(Esc)", whether the
        # first entry or none was highlighted.
        self.probe.key("Up", "Return")
        self.assert_ended(run, "the menu's 終了(Esc)")

    def close_box_point(self, run):
        """The centre of the caption's close box, found by asking the main window what
        lies along its caption row."""
        main = self.probe.window(run.main)
        metrics = self.probe.ask("metrics")
        left, top, right, _ = main["rect"]
        y = top + metrics["frame"][1] + metrics["caption"] // 2
        hits = [x for x in range(right - 1, left, -1)
                if self.probe.ask(f"hittest {run.main} {x} {y}")["hit"] == HTCLOSE]
        self.assertTrue(hits, f"expected a close box on the caption row y={y} of {main['rect']}")
        return (min(hits) + max(hits)) // 2, y

    def test_close_box_click_ends_program(self):
        run = self.start()
        run.wait_main_focused()
        x, y = self.close_box_point(run)
        self.probe.click(x, y)
        self.assert_ended(run, "a click on the close box")

    def test_alt_f4_ends_program(self):
        run = self.start()
        run.wait_main_focused()
        self.probe.key("alt+F4")
        self.assert_ended(run, "Alt+F4")


if __name__ == "__main__":
    harness.main()
