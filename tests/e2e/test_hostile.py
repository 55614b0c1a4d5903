"""The real tolvi.exe under Wine against hostile files and crowded starts: garbled,
short, long and odd-valued high-score files, sentence files that are huge, empty or full
of control bytes, settings that overflow or name a folder, and twenty copies at once."""

import math
import os
import random
import subprocess
import sys
import time

import harness
from harness import (HIGHSCORE_CAPTION, ID_OK, ID_SENTENCE, MAIN_CLASS, NAME_CAPTION,
                     POLL_SECONDS, QUIET_SECONDS, RESULT_CAPTION, SPLASH_CLASS, TABLE_BYTES,
                     parse_date_text, wait_until, write_sentences)
from hostile_files import (DATE_OFFSET, NAME_BYTES, SCORE_OFFSET, SCORE_TEXT_CHARS,
                           SENTENCE_BYTES, decode_system_text, entry, entry_score, field_text,
                           fixed2, insert_score, load_over, random_bytes, set_defaults,
                           shown_name, shown_score, shown_sentences, special_scores_table,
                           system_text_bytes, with_score)


ID_HS_NAME1 = 1002
ID_HS_SCORE1 = 1003
LINE = "abc"
PLAYER = "Kaori"

# Texts of the hand-made table, rank by rank, as the dialog must show them.
SPECIAL_SHOWN = [
    ("nan", "  nan  Aug 04 07:04:32 1999"),
    ("-nan", "  nan  -----"),
    ("ABCDEFGHIJKLMNOP", "  inf  Aug 04 07:04:32 1999ABCD"),
    ("日本語テキストア", " -inf  -----"),
    # 1e300 prints 304 characters and is cut to 51.
    ("日本語テキストX", "100000000000000005250476025520442024870446858110815"),
    ("half", " 0.13  " + "x" * 24),
    ("under half", " 2.67  "),
    ("minus zero", "-0.00  -----"),
    # The cut at 51 bytes falls inside 漢, which is left out whole.
    ("long", "999999999999999983222784.00  " + "A" * 21),
    ("wide", "1234.50  ０１２３４５６７８９０１"),
]

CROWD = 20
# A copy that finds the guard taken exits before its own splash could even begin;
# two seconds is the splash's length, so a losing copy must be gone well within it.
LOSER_EXIT_SECONDS = 2.0


class HostileTest(harness.TolviTestCase):

    def write(self, name, data, folder=None):
        with open(os.path.join(folder or self.work, name), "wb") as f:
            f.write(data)

    def assert_files(self, expected, what, folder=None):
        files = sorted(os.listdir(folder or self.work))
        self.assertEqual(files, sorted(expected), f"expected only {sorted(expected)} {what}; got {files}")

    def assert_exit_zero(self, run, how):
        code = run.wait_exit()
        self.assertEqual(code, 0, f"expected exit code 0 after {how}; got {code}")

    # The high-score list, reached through the menu bar by keyboard.

    def open_high_scores(self, run):
        """Alt, then Right past "Game" and "ユーザ変更" to "HighScore", then Enter; waits
        for the list and its focus."""
        run.wait_main_focused()
        self.probe.key("Alt")
        wait_until(lambda: self.probe.focus().get("in_menu"), "menu mode after Alt",
                   seen=run.describe)
        self.probe.key("Right", "Right", "Return")
        dialog = run.wait_dialog(HIGHSCORE_CAPTION, forbid=(NAME_CAPTION, RESULT_CAPTION))
        wait_until(lambda: self.probe.focus()["foreground"] == dialog["hwnd"],
                   "the high-score list in the foreground", seen=run.describe)
        return dialog

    def close_high_scores(self, run, dialog):
        self.probe.key("Return")
        run.wait_gone(dialog["hwnd"], "the high-score list")
        run.wait_main_focused()

    def assert_table_shown(self, run, dialog, table, what):
        """Every rank shows at most 16 bytes of name and 51 characters of score text,
        exactly as the table in memory gives them."""
        controls = run.controls(dialog["hwnd"])
        shown = []
        for i in range(10):
            name = controls[ID_HS_NAME1 + 2 * i]["text"]
            score = controls[ID_HS_SCORE1 + 2 * i]["text"]
            self.assertLessEqual(system_text_bytes(name), NAME_BYTES,
                                 f"{what}: expected rank {i + 1}'s name within {NAME_BYTES} "
                                 f"bytes; got {name!r}")
            self.assertLessEqual(len(score), SCORE_TEXT_CHARS,
                                 f"{what}: expected rank {i + 1}'s score text within "
                                 f"{SCORE_TEXT_CHARS} characters; got {score!r}")
            self.assertEqual(name, shown_name(table, i),
                             f"{what}: expected rank {i + 1}'s name from {entry(table, i)!r}")
            self.assertEqual(score, shown_score(table, i),
                             f"{what}: expected rank {i + 1}'s score text from "
                             f"{entry(table, i)!r}")
            shown.append((name, score))
        return shown

    def show_file(self, run, data, table, what):
        """Puts data in highscore.dat, shows the list and checks it; returns the table in
        memory after the load."""
        self.write("highscore.dat", data)
        table = load_over(table, data)
        dialog = self.open_high_scores(run)
        shown = self.assert_table_shown(run, dialog, table, what)
        self.close_high_scores(run, dialog)
        return table, shown

    def test_hostile_score_files_are_shown_within_their_fields(self):
        write_sentences(self.work, LINE)
        run = self.start()
        # Nothing has been loaded yet, so the table in memory is all zero bytes.
        table = bytes(TABLE_BYTES)
        cases = [
            ("480 random bytes", random_bytes(1, TABLE_BYTES)),
            ("one lead byte", b"\x82"),
            ("10,000 random bytes", random_bytes(2, 10_000)),
            ("480 bytes without a zero byte", random_bytes(3, TABLE_BYTES, low=1)),
        ]
        for what, data in cases:
            table, _ = self.show_file(run, data, table, what)

        table, shown = self.show_file(run, special_scores_table(), table, "odd scores")
        for rank, (got, expected) in enumerate(zip(shown, SPECIAL_SHOWN), 1):
            self.assertEqual(got, expected, f"expected rank {rank} to read {expected}; got {got}")

        # A highscore.dat that cannot be read is kept; the list shows the defaults.
        os.remove(self.path("highscore.dat"))
        os.mkdir(self.path("highscore.dat"))
        dialog = self.open_high_scores(run)
        table = set_defaults(table)
        self.assert_table_shown(run, dialog, table, "highscore.dat a folder")
        self.close_high_scores(run, dialog)
        self.assertTrue(os.path.isdir(self.path("highscore.dat")),
                        "expected the folder highscore.dat kept")
        self.assert_files(["highscore.dat", "string.dat"], "beside the folder")
        os.rmdir(self.path("highscore.dat"))

        # A game over a garbled file: its last score is -inf, so any speed enters.
        garbled = with_score(random_bytes(4, 10_000), 9, -math.inf)
        self.write("highscore.dat", garbled)
        run.wait_main_focused()
        self.probe.key("F1")
        self.enter_name(run, PLAYER)
        result, *_ = self.play_correctly(run, LINE)
        shown = self.read_result(run, result)
        self.assertEqual(shown["name"], PLAYER, f"expected name {PLAYER!r}; got {shown['name']!r}")
        self.assertEqual(shown["length"], str(4 * len(LINE) - 4),
                         f"expected LENGTH {4 * len(LINE) - 4}; got {shown['length']!r}")
        run.wait_focus_on(result["hwnd"], ID_OK)
        self.probe.key("Return")
        run.wait_gone(result["hwnd"], "the result dialog")
        run.wait_main_focused()

        saved = self.read_table()
        self.assert_files(["highscore.dat", "string.dat"], "after the game")
        places = [i for i in range(10) if entry(saved, i).startswith(PLAYER.encode() + b"\0")]
        self.assertEqual(len(places), 1, f"expected one entry of {PLAYER!r}; got {saved!r}")
        new = entry(saved, places[0])
        self.assertEqual(fixed2(entry_score(saved, places[0])), shown["speed"],
                         f"expected the stored score to read {shown['speed']}")
        date = field_text(new[DATE_OFFSET:])
        self.assertIsNotNone(parse_date_text(date.decode("ascii", "replace")),
                             f"expected a date text in the new entry; got {date!r}")
        expected = insert_score(load_over(table, garbled), PLAYER.encode(),
                                new[SCORE_OFFSET:SCORE_OFFSET + 8], date)
        self.assertEqual(saved, expected,
                         f"expected the garbled table with the game inserted at place "
                         f"{places[0]}")

        dialog = self.open_high_scores(run)
        self.assert_table_shown(run, dialog, saved, "the table after the game")
        self.close_high_scores(run, dialog)
        self.probe.key("Escape")
        self.assert_exit_zero(run, "Esc")

    # Sentence files: a game on each, or the message box.

    def assert_refused(self, run, file_name, longer_name=None):
        """F1 brings only a message box naming the file; Enter closes it and the main
        window takes the keys again."""
        run.wait_main_focused()
        self.probe.key("F1")
        box, texts = self.wait_message_box(run)
        self.assertEqual(box["owner"], run.main, "expected the message box owned by the main window")
        self.assertTrue(any(file_name in text for text in texts),
                        f"expected the message to name {file_name!r}; got {texts}")
        if longer_name:
            self.assertFalse(any(longer_name in text for text in texts),
                             f"expected the message not to name {longer_name!r}; got {texts}")
        self.probe.key("Return")
        run.wait_gone(box["hwnd"], "the message box")
        run.wait_main_focused()
        self.assert_quiet(run, "after the message box")

    def play_drawn(self, run, allowed, ask_name=False):
        """Plays one game whose sentences must be among allowed (bytes), typing each as
        shown; returns the four sentences and what the result dialog shows."""
        run.wait_main_focused()
        self.probe.key("F1")
        if ask_name:
            self.enter_name(run, PLAYER)
        seen = []
        drawn = []
        for slot in range(4):
            dialog, controls = self.wait_prompt(run, slot, after=seen)
            text = controls[ID_SENTENCE]["text"]
            self.assertIn(text, {decode_system_text(line) for line in allowed},
                          f"expected prompt {slot + 1} to show a sentence of the file")
            self.assertLessEqual(system_text_bytes(text), SENTENCE_BYTES,
                                 f"expected a sentence of at most 79 bytes; got {text!r}")
            drawn.append(text)
            seen.append(dialog["hwnd"])
            if text:
                self.probe.type(text)
            self.probe.key("Return")
            run.wait_gone(dialog["hwnd"], "the typing dialog")
        result = run.wait_dialog(RESULT_CAPTION, forbid=(NAME_CAPTION,))
        shown = self.read_result(run, result)
        length = sum(system_text_bytes(text) for text in drawn) - 4
        self.assertEqual(shown["length"], str(length),
                         f"expected LENGTH {length} for the sentences {drawn}; got {shown['length']!r}")
        run.wait_focus_on(result["hwnd"], ID_OK)
        self.probe.key("Return")
        run.wait_gone(result["hwnd"], "the result dialog")
        return drawn, shown

    def test_hostile_sentence_files_each_play_or_refuse(self):
        run = self.start()
        # Before any name is known, so a refusal must come before the name dialog.
        for what, data in (("empty file", b""), ("0x1A first", b"\x1aabc\ndef\n")):
            self.write("string.dat", data)
            self.assertEqual(shown_sentences(data), set(), f"{what} must yield no line")
            self.assert_refused(run, "string.dat")
            self.assert_files(["string.dat"], f"after the {what}")

        rng = random.Random(7)
        letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 "
        lines = []
        for i in range(200_000):
            tail = "".join(rng.choice(letters) for _ in range(94))
            lines.append((f"{i:06d} " + tail)[:rng.randint(0, 100)].encode("ascii")
                         + rng.choice((b"\n", b"\r\n")))
        huge = b"".join(lines)
        self.write("string.dat", huge)
        self.play_drawn(run, shown_sentences(huge), ask_name=True)

        empty_lines = b"\n" * 1000
        self.write("string.dat", empty_lines)
        drawn, shown = self.play_drawn(run, shown_sentences(empty_lines))
        self.assertEqual(drawn, [""] * 4, f"expected four empty sentences; got {drawn}")
        self.assertLess(float(shown["speed"]), 0,
                        f"expected a negative speed for LENGTH -4; got {shown['speed_text']!r}")

        # Every readable line holds a zero byte; were the 0x1A not the end of the text,
        # nearly every draw would give one of the thousand lines after it.
        control_bytes = b"ab\0cd\r\nefg\0h\x1a" + b"zz\n" * 1000
        self.write("string.dat", control_bytes)
        self.assertEqual(shown_sentences(control_bytes), {b"ab", b"efg"})
        self.play_drawn(run, shown_sentences(control_bytes))

        long_line = "".join(rng.choice(letters[:-1]) for _ in range(10_000))
        long_file = long_line.encode("ascii") + b"\n"
        self.write("string.dat", long_file)
        self.assertEqual(len(shown_sentences(long_file)), 127)
        self.play_drawn(run, shown_sentences(long_file))

        self.probe.key("Escape")
        self.assert_exit_zero(run, "Esc")

    # Settings that overflow their field or name a folder.

    def test_long_sentence_file_setting_uses_19_characters(self):
        value = "".join(chr(ord("a") + i % 26) for i in range(300))
        self.write("Gelvo.ini", f"[Gelvo]\r\nStringFile={value}\r\n".encode("ascii"))
        write_sentences(self.work, "from the default file")
        for name in (value[:18], value[:20]):
            write_sentences(self.work, f"from {len(name)} characters")
            os.rename(self.path("string.dat"), self.path(name))
        write_sentences(self.work, "from the default file")
        run = self.start()
        self.assert_refused(run, value[:19], longer_name=value[:20])

        self.write(value[:19], b"from nineteen\n")
        self.play_drawn(run, {b"from nineteen"}, ask_name=True)
        self.probe.key("Escape")
        self.assert_exit_zero(run, "Esc")
        self.assert_files(["Gelvo.ini", "string.dat", "highscore.dat", value[:18], value[:19],
                           value[:20]], "after the game")

    def test_sentence_file_setting_naming_a_folder_is_refused(self):
        self.write("Gelvo.ini", b"[Gelvo]\r\nStringFile=sentences\r\n")
        os.mkdir(self.path("sentences"))
        write_sentences(self.path("sentences"), LINE)
        write_sentences(self.work, LINE)
        run = self.start()
        for _ in range(2):
            self.assert_refused(run, "sentences")
        self.probe.key("Escape")
        self.assert_exit_zero(run, "Esc")
        self.assert_files(["Gelvo.ini", "sentences", "string.dat"], "after the refusals")
        self.assert_files(["string.dat"], "in the folder", folder=self.path("sentences"))

    # Twenty copies at once.

    def test_crowded_start_leaves_one_copy(self):
        write_sentences(self.work, LINE)
        wait_until(lambda: not [w for w in self.probe.windows() if w["class"] == MAIN_CLASS],
                   "no main window of an earlier run")
        known = {w["hwnd"] for w in self.probe.windows()}
        runs = [self.new_run() for _ in range(CROWD)]
        started = []
        for run in runs:
            started.append(time.monotonic())
            run.process = harness.start_windows_program(
                harness.TOLVI_EXE, cwd=self.work, stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        ended = [None] * CROWD
        main_seen = None
        most_mains = 0
        new_windows = set()
        main_pid = None
        settled = None
        while True:
            now = time.monotonic()
            for i, run in enumerate(runs):
                if ended[i] is None and run.process.poll() is not None:
                    ended[i] = now
            windows = self.probe.windows()
            mains = [w for w in windows if w["class"] == MAIN_CLASS]
            most_mains = max(most_mains, len(mains))
            if main_seen is None and mains and mains[0]["visible"]:
                main_seen, main_pid = now, mains[0]["pid"]
            new_windows |= {(w["class"], w["text"], w["pid"]) for w in windows
                            if w["visible"] and w["hwnd"] not in known}
            if settled is None and main_seen and sum(e is not None for e in ended) >= CROWD - 1:
                settled = now
            if settled and now - settled > QUIET_SECONDS:
                break
            if now - started[0] > harness.START_TIMEOUT:
                self.fail(f"expected one main window and {CROWD - 1} ended copies within "
                          f"{harness.START_TIMEOUT} s; ended {sum(e is not None for e in ended)}, "
                          f"main window {'seen' if main_seen else 'not seen'}")
            time.sleep(POLL_SECONDS)

        self.assertEqual(most_mains, 1, f"expected exactly one main window at any time; "
                                        f"saw {most_mains} at once")
        survivors = [i for i in range(CROWD) if ended[i] is None]
        self.assertEqual(len(survivors), 1, f"expected one copy to keep running; got {len(survivors)}")
        took = {i: ended[i] - started[i] for i in range(CROWD) if ended[i] is not None}
        codes = {i: runs[i].process.returncode for i in took}
        self.assertEqual(set(codes.values()), {0}, f"expected exit code 0 from every other copy; "
                                                   f"got {codes}")
        slowest = max(took.values())
        print(f"\n  {CROWD} copies launched over {(started[-1] - started[0]) * 1000:.0f} ms; "
              f"{CROWD - 1} ended {min(took.values()) * 1000:.0f} to {slowest * 1000:.0f} ms "
              f"after their start; main window {(main_seen - started[0]) * 1000:.0f} ms "
              f"after the first start", file=sys.stderr)
        self.assertLess(slowest, LOSER_EXIT_SECONDS,
                        f"expected every other copy to end within {LOSER_EXIT_SECONDS} s of its "
                        f"start; the slowest took {slowest:.3f} s")
        last_end = max(ended[i] for i in took)
        self.assertLess(last_end, main_seen,
                        f"expected every other copy gone before the survivor's splash ended; "
                        f"the last ended {(last_end - main_seen) * 1000:.0f} ms after it")
        strangers = [w for w in new_windows
                     if w[2] != main_pid or w[0] not in (MAIN_CLASS, SPLASH_CLASS)]
        self.assertEqual(strangers, [], "expected no window but the survivor's splash and "
                                        "main window")
        self.assert_files(["string.dat"], "after the crowded start")

        survivor = runs[survivors[0]]
        survivor.main = [w for w in self.probe.windows() if w["class"] == MAIN_CLASS][0]["hwnd"]
        survivor.pid = main_pid
        survivor.wait_main_focused()
        self.probe.key("Escape")
        self.assert_exit_zero(survivor, "Esc in the survivor")

        again = self.start()
        again.wait_main_focused()
        self.probe.key("Escape")
        self.assert_exit_zero(again, "Esc in the copy started after")


if __name__ == "__main__":
    harness.main()
