"""The dialogs that only show things, under Wine with real input: the high-score list
from the menu (new default file, a prepared file) and from a game's result, About and
Version."""

import datetime
import os
import struct
import time

import harness
from harness import (HIGHSCORE_CAPTION, DEFAULT_ENTRY, ENTRY_BYTES, HTCLOSE, ID_OK, MENU_CLASS, QUIET_SECONDS,
                     RESULT_CAPTION, TABLE_BYTES, parse_date_text, wait_until,
                     write_sentences)


ABOUT_CAPTION = "About"
VERSION_CAPTION = "Version Info"
RANK_LABELS = ["１", "２", "３", "４", "５", "６", "７", "８", "９", "１０"]
LINE = "abc"
HTCAPTION = 2
# A tool window's caption is lower than the caption that the metrics report; a
# caption row is looked for this far below the window's top edge.
CAPTION_SEARCH_PIXELS = 40
DATE_TOLERANCE = datetime.timedelta(seconds=60)


def name_id(rank):
    return 1000 + 2 * rank


def score_id(rank):
    return 1001 + 2 * rank


def entry_bytes(name, score, date):
    """One 48-byte entry from raw field bytes; a field shorter than its size gets
    zero bytes after it, a full one none."""
    assert len(name) <= 16 and len(date) <= 24
    return name.ljust(16, b"\0") + struct.pack("<d", score) + date.ljust(24, b"\0")


# A table that a person cannot make through the program, with everything the dialog
# must get right: widths, rounding, full fields without a zero byte, stale bytes after
# a zero byte, double-byte text. Each row: the entry's bytes, then the name and score
# texts that the dialog must show.
PREPARED = [
    (entry_bytes(b"Kaori\0stale-name", 1234.5, b"Aug 04 07:04:32 1999\0old"),
     "Kaori", "1234.50  Aug 04 07:04:32 1999"),
    (entry_bytes(b"ABCDEFGHIJKLMNOP", 96.125, b"Dec 31 23:59:59 2099 end"),
     "ABCDEFGHIJKLMNOP", "96.13  Dec 31 23:59:59 2099 end"),
    (entry_bytes("山田太郎".encode("cp932") + b"\0XXXXXXX", 5.5, b"Jan 01 00:00:00 2000"),
     "山田太郎", " 5.50  Jan 01 00:00:00 2000"),
    (entry_bytes(b"two", 2.675, b"Feb 29 12:00:00 2000\0\xff\xff\xff"),
     "two", " 2.67  Feb 29 12:00:00 2000"),
    (entry_bytes(b"eighth", 0.125, b"Mar 03 03:03:03 2003"),
     "eighth", " 0.13  Mar 03 03:03:03 2003"),
    (entry_bytes(b"\0hidden", 12345678.9, b"\0hidden date"),
     "", "12345678.90  "),
    (entry_bytes(b"minus", -1.5, b"-----"),
     "minus", "-1.50  -----"),
    (entry_bytes(b"tiny", 0.005, b"Apr 30 23:59:59 2024"),
     "tiny", " 0.01  Apr 30 23:59:59 2024"),
    (DEFAULT_ENTRY, "(non)", " 0.00  -----"),
    (entry_bytes(b"(non)\0Kaori", 0.0, b"-----\0Aug 04 07:04:32"),
     "(non)", " 0.00  -----"),
]

# A game of LINE typed at any human or machine speed lands between these.
MIDDLE_SCORES = [1e7, 1e6, 1e5, 1e4]
LOW_SCORE = 0.001


class InfoTest(harness.TolviTestCase):

    def setUp(self):
        super().setUp()
        write_sentences(self.work, LINE)

    def write_table(self, data):
        self.assertEqual(len(data), TABLE_BYTES, "the test's own table must be 480 bytes")
        with open(self.path("highscore.dat"), "wb") as f:
            f.write(data)

    # Through the menu bar by keyboard, as a person without a mouse does it.

    def enter_menu_bar(self, run):
        run.wait_main_focused()
        self.probe.key("Alt")
        wait_until(lambda: self.probe.focus().get("in_menu"), "menu mode after Alt",
                   seen=run.describe)

    def choose_highscore(self, run):
        # Alt highlights "Game"; Right passes the separators: "ユーザ変更", "HighScore".
        self.enter_menu_bar(run)
        self.probe.key("Right", "Right", "Return")

    def choose_help_entry(self, run, ups):
        # Right passes "ユーザ変更" and "HighScore" to "Help" (Left from "Game" would
        # reach the system menu first); Down opens it. Up from the open popup
        # lands on its last entry whether the first or none was highlighted, so one Up
        # is "Version" and two are "About".
        self.enter_menu_bar(run)
        self.probe.key("Right", "Right", "Right", "Down")
        wait_until(lambda: [w for w in run.own_windows() if w["class"] == MENU_CLASS],
                   "the Help menu to open", seen=run.describe)
        self.probe.key(*(["Up"] * ups), "Return")

    # What a dialog shows.

    def texts(self, dialog):
        return [c["text"] for c in self.probe.children(dialog["hwnd"])]

    def assert_ranks(self, run, dialog, expected):
        """expected: (name text, score text) for ranks 1 to 10."""
        children = self.probe.children(dialog["hwnd"])
        labels = [c["text"] for c in children[:10]]
        self.assertEqual(labels, RANK_LABELS,
                         f"expected the rank labels {RANK_LABELS} first; got {labels}")
        controls = run.controls(dialog["hwnd"])
        for rank, (name, score) in enumerate(expected, start=1):
            for control_id, text, what in ((name_id(rank), name, "name"),
                                           (score_id(rank), score, "score")):
                got = controls.get(control_id, {}).get("text")
                self.assertEqual(got, text, f"expected rank {rank} {what} {text!r} in "
                                            f"{control_id}; got {got!r}")

    def assert_stays_open(self, run, dialog, after):
        """Checks over QUIET_SECONDS that the dialog stays shown and the main window
        stays disabled behind it."""
        deadline = time.monotonic() + QUIET_SECONDS
        while time.monotonic() < deadline:
            # A closing dialog enables its owner first, so either sign means closed.
            shown = self.probe.window(dialog["hwnd"])
            main = self.probe.window(run.main)
            still_open = shown["exists"] and shown["visible"] and not main["enabled"]
            self.assertTrue(still_open,
                            f"expected {dialog['text']!r} still open, the main window "
                            f"disabled behind it, after {after}; got dialog shown "
                            f"{shown['exists'] and shown['visible']}, main window enabled "
                            f"{main['enabled']}: {run.describe()}")
            time.sleep(harness.POLL_SECONDS)

    def close_box_point(self, hwnd):
        """The centre of a window's close box, found by asking the window what lies
        under points of its caption; caption heights differ between a tool window and
        a dialog frame, so the caption row is found first."""
        left, top, right, _ = self.probe.window(hwnd)["rect"]
        middle = (left + right) // 2
        rows = [y for y in range(top, top + CAPTION_SEARCH_PIXELS)
                if self.probe.ask(f"hittest {hwnd} {middle} {y}")["hit"] == HTCAPTION]
        self.assertTrue(rows, f"expected a caption in the top rows of window {hwnd}")
        y = (min(rows) + max(rows)) // 2
        hits = [x for x in range(right - 1, middle, -1)
                if self.probe.ask(f"hittest {hwnd} {x} {y}")["hit"] == HTCLOSE]
        self.assertTrue(hits, f"expected a close box on the caption row y={y} of {hwnd}")
        return (min(hits) + max(hits)) // 2, y

    def click_close_box(self, hwnd):
        self.probe.click(*self.close_box_point(hwnd))

    def close_highscores(self, run, dialog, how):
        """Closes the high-score dialog with the key or the close box."""
        if how == "close box":
            self.click_close_box(dialog["hwnd"])
        else:
            self.probe.key(how)
        run.wait_gone(dialog["hwnd"], f"the high-score dialog after {how}")
        run.wait_main_focused()

    # The tests.

    def test_highscore_command_creates_and_shows_default_table(self):
        run = self.start()
        self.assertFalse(os.path.exists(self.path("highscore.dat")),
                         "expected no highscore.dat before the command")
        self.choose_highscore(run)
        dialog = run.wait_dialog(HIGHSCORE_CAPTION, required_id=score_id(10))

        data = self.read_table()
        for index in range(10):
            self.assert_default_entry(data, index)
        self.assert_ranks(run, dialog, [("(non)", " 0.00  -----")] * 10)

        self.close_highscores(run, dialog, "Return")
        self.assert_quiet(run, "after Enter in the high-score dialog")
        self.quit_with_escape(run)

    def test_highscore_command_shows_prepared_table_exactly(self):
        table = b"".join(row[0] for row in PREPARED)
        self.write_table(table)
        run = self.start()
        expected = [(name, score) for _, name, score in PREPARED]

        self.choose_highscore(run)
        dialog = run.wait_dialog(HIGHSCORE_CAPTION, required_id=score_id(10))
        self.assert_ranks(run, dialog, expected)
        self.close_highscores(run, dialog, "Escape")

        # The command reads the file each time: a changed file shows at once.
        changed = PREPARED[1][0] + table[ENTRY_BYTES:]
        self.write_table(changed)
        expected[0] = expected[1]
        self.choose_highscore(run)
        dialog = run.wait_dialog(HIGHSCORE_CAPTION, required_id=score_id(10),
                                 after=(dialog["hwnd"],))
        self.assert_ranks(run, dialog, expected)
        self.close_highscores(run, dialog, "close box")

        self.assertEqual(self.read_table(), changed,
                         "expected the HighScore command to leave the file as it was")
        self.quit_with_escape(run)

    def test_result_highscore_shows_new_entry_from_memory(self):
        entries = [entry_bytes(f"top{i + 1}".encode(), score, b"Aug 04 07:04:32 1999")
                   for i, score in enumerate(MIDDLE_SCORES)]
        entries += [entry_bytes(f"low{i + 1}".encode(), LOW_SCORE, b"Aug 04 07:04:32 1999")
                    for i in range(10 - len(MIDDLE_SCORES))]
        self.write_table(b"".join(entries))
        run = self.start()
        run.wait_main_focused()
        self.probe.key("F1")
        self.enter_name(run, "Kaori")
        result, *_ = self.play_correctly(run, LINE)
        finished = datetime.datetime.now()
        shown = self.read_result(run, result)
        run.wait_focus_on(result["hwnd"], ID_OK)

        # The game has saved its table by now. A file changed behind its back proves
        # that the list comes from memory: a list read from the file would show this.
        saved = self.read_table()
        self.write_table(DEFAULT_ENTRY * 10)

        self.probe.key("h")
        run.wait_gone(result["hwnd"], "the result dialog after H")
        dialog = run.wait_dialog(HIGHSCORE_CAPTION, required_id=score_id(10),
                                 forbid=(RESULT_CAPTION,))
        controls = run.controls(dialog["hwnd"])
        new_rank = len(MIDDLE_SCORES) + 1
        score_text = controls[score_id(new_rank)]["text"]
        prefix = f"{shown['speed']:>5}  "
        self.assertTrue(score_text.startswith(prefix),
                        f"expected rank {new_rank} to read {prefix!r} and the date; "
                        f"got {score_text!r}")
        date = parse_date_text(score_text[len(prefix):])
        self.assertIsNotNone(date, f"expected rank {new_rank}'s date as "
                                   f"'Mmm DD HH:MM:SS YYYY'; got {score_text!r}")
        self.assertLessEqual(abs(date - finished), DATE_TOLERANCE,
                             f"expected rank {new_rank}'s date near "
                             f"{finished:%b %d %H:%M:%S %Y}; got {score_text!r}")
        expected = [(f"top{i + 1}", f"{score:5.2f}  Aug 04 07:04:32 1999")
                    for i, score in enumerate(MIDDLE_SCORES)]
        expected.append(("Kaori", score_text))
        expected += [(f"low{i + 1}", " 0.00  Aug 04 07:04:32 1999")
                     for i in range(10 - new_rank)]
        self.assert_ranks(run, dialog, expected)

        saved_rank = saved[(new_rank - 1) * ENTRY_BYTES:new_rank * ENTRY_BYTES]
        saved_date = saved_rank[24:].split(b"\0", 1)[0].decode("ascii")
        self.assertEqual(score_text[len(prefix):], saved_date,
                         f"expected the shown date to be the saved one {saved_date!r}; "
                         f"got {score_text!r}")

        self.probe.key("Return")
        run.wait_gone(dialog["hwnd"], "the high-score dialog after Enter")
        run.wait_main_focused()
        self.assert_quiet(run, "after the high-score dialog of a game")
        self.assertEqual(self.read_table(), DEFAULT_ENTRY * 10,
                         "expected the list to leave the file alone")
        self.quit_with_escape(run)

    def check_info_box(self, ups, caption, texts):
        run = self.start()
        self.choose_help_entry(run, ups)
        dialog = run.wait_dialog(caption, required_id=ID_OK)
        got = self.texts(dialog)
        for text in texts:
            self.assertIn(text, got, f"expected the text {text!r} in {caption!r}; got {got}")
        # The box asks for no focus; keys reach it as soon as it is in front.
        wait_until(lambda: self.probe.focus()["foreground"] == dialog["hwnd"],
                   f"{caption!r} in front", seen=run.describe)

        self.probe.key("Escape")
        self.assert_stays_open(run, dialog, "Esc")
        self.click_close_box(dialog["hwnd"])
        self.assert_stays_open(run, dialog, "a click on the close box")

        self.probe.key("Return")
        run.wait_gone(dialog["hwnd"], f"{caption!r} after Enter")
        run.wait_main_focused()
        self.assert_quiet(run, f"after Enter in {caption!r}")
        self.quit_with_escape(run)

    def test_about_closes_only_with_ok(self):
        self.check_info_box(2, ABOUT_CAPTION, ["OK", "Tolvi：簡単タイピングソフト"])

    def test_version_closes_only_with_ok(self):
        self.check_info_box(1, VERSION_CAPTION,
                            ["OK", "Tolvi ", "Version 1.00", "1999/8/23"])


if __name__ == "__main__":
    harness.main()
