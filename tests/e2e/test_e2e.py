"""tolvi.exe under Wine, played with real key presses: a whole game with one wrong entry,
from the title picture to the saved high-score file, with a second copy started on the
way; and F1 with no sentence file. Usage: test_e2e.py TOLVI_EXE PROBE_EXE."""

import contextlib, datetime, decimal, os, pathlib, re, struct, sys, tempfile, time, unittest

sys.path.insert(0, str(pathlib.Path(__file__).parents[2] / "tools"))
from wine_probe import START_SECONDS, Probe, press, start_wine  # noqa: E402

# A dark pixel of resources/title.bmp (0xBBGGRR), where the main window's white client
# area comes later.
TITLE_POINT, TITLE_COLOUR = (150, 100), 0x772D3D
LINE = "The quick brown fox jumps over 13 lazy dogs."
LENGTH = 4 * len(LINE) - 4
NEVER_PLAYED = b"(non)" + bytes(11) + bytes(8) + b"-----" + bytes(19)
CENT = decimal.Decimal("0.01")


class TolviTest(unittest.TestCase):

    def test_a_game_from_title_to_high_scores_then_no_sentence_file(self):
        folder = self.enterContext(tempfile.TemporaryDirectory(prefix="tolvi-e2e-"))
        other = self.enterContext(tempfile.TemporaryDirectory(prefix="tolvi-e2e-"))
        probe = self.enterContext(contextlib.closing(Probe(PROBE_EXE)))
        pathlib.Path(folder, "string.dat").write_text(LINE + "\n")
        seen = set()
        probe.start(TOLVI_EXE, folder, lambda windows: seen.update(probe.ask(
            "pixel {} {} {}".format(w["hwnd"], *TITLE_POINT)) for w in windows
            if w["class"] == "TitleWindow"))
        self.assertIn(TITLE_COLOUR, seen, f"the title picture's colour at {TITLE_POINT}")

        # Any window that comes or changes while the second copy runs is its doing.
        before, changed = probe.ask()["windows"], []
        second = start_wine(TOLVI_EXE, other)
        probe.wait(lambda state: changed.extend(w for w in state["windows"] if w not in before)
                   or second.poll() is not None, "the second copy to end", START_SECONDS)
        self.assertEqual((second.returncode, changed, os.listdir(other)), (0, [], []),
                         "the second copy's exit code, windows and files")

        probe.wait_main_focused()
        press("key", "F1")
        self.assertEqual(probe.wait_dialog("Name 入力フォーム")[2]["id"], 1001, "the focus")
        press("type", "abcdefghij")
        started, seen = time.monotonic(), {}
        press("key", "Return")
        for label, shown, answer in [("--1--", "", LINE), ("--2--", "", LINE),
                                     ("--3--", "", LINE + " "), ("--3--", LINE + " ", LINE),
                                     ("--4--", "", LINE)]:
            dialog, controls, focus = probe.wait_dialog("Tolvi", seen)
            seen[dialog["hwnd"]] = time.monotonic()
            self.assertEqual([focus["id"]] + [controls[i]["text"] for i in (1005, 1004, 1006)]
                             + controls[1006]["sel"], [1006, label, LINE, shown, 0, len(shown)],
                             "the focus, label 1005, sentence 1004, typing 1006 and its selection")
            press("type", answer)
            last_sent = time.monotonic()
            press("key", "Return")

        _, controls, focus = probe.wait_dialog("今回の記録")
        # The clock runs from after the name's Enter till before the result shows, in whole ms.
        low, high = (LENGTH * 60 / seconds for seconds in (
            time.monotonic() - started + 0.002, last_sent - min(seen.values()) - 0.002))
        texts = [focus["id"]] + [controls[i]["text"] for i in (1007, 1010, 1008)]
        speed = re.fullmatch(r"(\d+\.\d{2}) char/60s", texts[3])
        in_time = bool(speed) and low - 0.005 <= float(speed[1]) <= high + 0.005
        self.assertEqual(texts[:3] + [in_time], [1, "abcdefgh", str(LENGTH), True],
                         f"the focus, name 1007, LENGTH 1010 and a SCORE 1008 of "
                         f"NN.NN char/60s from {low:.2f} to {high:.2f}")

        press("type", "h")
        _, controls, focus = probe.wait_dialog("HighScore")
        # No control has a tab stop, so the dialog manager gives the focus to the first one.
        self.assertEqual((focus.get("id"), focus["text"]), (-1, "１"), "the focus on rank label １")
        press("key", "Return")
        probe.wait_main_focused()
        table = pathlib.Path(folder, "highscore.dat").read_bytes()
        date, score = table[24:44].decode("ascii", "replace"), struct.unpack_from("<d", table, 16)
        age = datetime.datetime.now() - datetime.datetime.strptime(date, "%b %d %H:%M:%S %Y")
        cents = str(decimal.Decimal(score[0]).quantize(CENT, "ROUND_HALF_UP"))
        self.assertEqual((table, cents, abs(age.total_seconds()) < 60, controls[1002]["text"],
                          controls[1003]["text"]),
                         (b"abcdefgh" + bytes(8) + table[16:44] + bytes(4) + NEVER_PLAYED * 9,
                          speed[1], True, "abcdefgh", f"{speed[1]}  {date}"),
                         "highscore.dat, its score to two places, its date near now, "
                         "and rank 1 in 1002 and 1003")

        os.remove(os.path.join(folder, "string.dat"))
        press("key", "F1")
        box, controls, focus = probe.wait_dialog("Tolvi")
        self.assertEqual((any("string.dat" in c["text"] for c in controls.values()), focus["text"],
                          [w for w in probe.ask()["windows"] if w["class"] == "#32770"]),
                         (True, "OK", [box]), "a message box alone, naming string.dat, on OK")
        press("key", "Return")
        self.assertEqual((probe.quit(), sorted(os.listdir(folder))), (0, ["highscore.dat"]),
                         "the exit code after Esc, and no file made")


if __name__ == "__main__":
    if not os.environ.get("DISPLAY"):
        sys.exit(print("no DISPLAY: run under tools/with-wine-display", file=sys.stderr) or 77)
    TOLVI_EXE, PROBE_EXE = sys.argv[1:3]
    unittest.main(argv=sys.argv[:1], verbosity=2)
