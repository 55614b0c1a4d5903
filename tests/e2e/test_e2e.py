"""Both programs played with real key presses, by one scenario: tolvi.exe under Wine,
watched by probe.exe, and the native tolvi, watched through AT-SPI. Two games from the
title picture to the ranked high-score file, with a wrong entry, Retry and a second copy
on the way, then F1 with no sentence file; a Japanese game from a sentence file in
code page 932 and in UTF-8; the three commands in the menu bar, by one click and by keys;
two games read back from history.csv by "成績", and a game whose history cannot be written;
and, natively, one typed in romaji through IBus and Anthy and a start with no display.
Usage: test_e2e.py TOLVI_EXE PROBE_EXE (Wine) or test_e2e.py TOLVI (native, on a session
bus)."""

import atexit, contextlib, csv, datetime, decimal, io, os, pathlib, re, shutil, struct, subprocess
import sys
import tempfile, time, unittest
from unittest import mock

sys.path.insert(0, str(pathlib.Path(__file__).parents[2] / "tools"))
TOLVI, *PROBE = sys.argv[1:]
# The page is a folder of files (dist/web); the programs are files.
WEB = os.path.isdir(TOLVI)
if WEB:
    from web_probe import START_SECONDS, Probe, press, launch  # noqa: E402
    from web_probe import InputMethod, input_method_environment  # noqa: E402
elif PROBE:
    from wine_probe import START_SECONDS, Probe, press, start_wine as launch  # noqa: E402
else:
    # The program and the probe meet on the accessibility bus of the test's own session.
    for name in ("NO_AT_BRIDGE", "AT_SPI_BUS_ADDRESS"):
        os.environ.pop(name, None)
    # The one-copy lock lives there: a folder of the run's own, so that a tolvi of another
    # run on this machine is no copy of this one's.
    os.environ["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="tolvi-e2e-run-")
    atexit.register(shutil.rmtree, os.environ["XDG_RUNTIME_DIR"], True)
    from gtk_probe import START_SECONDS, Probe, press, start_native as launch  # noqa: E402
    from gtk_probe import InputMethod, input_method_environment  # noqa: E402

# A dark pixel of resources/title.bmp (0xBBGGRR), where the main window's white client
# area comes later.
TITLE_POINT, TITLE_COLOUR = (150, 100), 0x772D3D
LINE = "The quick brown fox jumps over 13 lazy dogs."
# Each prompt of a game as (label 1005, typing 1006 when shown, what is typed into it).
SLIP = [("--1--", "", LINE), ("--2--", "", LINE), ("--3--", "", LINE + " "),
        ("--3--", LINE + " ", LINE), ("--4--", "", LINE)]
CLEAN = [(f"--{n}--", "", LINE) for n in "1234"]
JAPANESE, JAPANESE_NAME = "日本語の文章を打つ。", "山田"
# Romaji typed into Anthy, and the hiragana that Return commits unconverted: Anthy would
# learn a conversion in the account's own ~/.anthy, whatever HOME says. A game of them, in
# which a wrong entry comes back selected and what is composed next replaces it.
ROMAJI = {"yamada": "やまだ", "nihongo": "にほんご", "nihongowoutsu": "にほんごをうつ"}
KANA, KANA_NAME = ROMAJI["nihongowoutsu"], ROMAJI["yamada"]
COMPOSED = [("--1--", "", "nihongo"), ("--1--", "にほんご", "nihongowoutsu")] + [
    (f"--{n}--", "", "nihongowoutsu") for n in "234"]
# Menu 101 of tolvi.rc, each popup before its items.
MENU = ["Game", "Start(F1)", "終了(Esc)", "ユーザ変更", "HighScore", "成績", "Help", "About",
        "Version"]
# Each command in the menu bar: the keys that reach it from F10, the dialog that it opens
# and the key that closes that.
BAR_COMMANDS = [("ユーザ変更", ["Right"], "Name 入力フォーム", "Escape"),
                ("HighScore", ["Right", "Right"], "HighScore", "Return"),
                ("成績", ["Right", "Right", "Right"], "成績", "Escape")]
NEVER_PLAYED = b"(non)" + bytes(11) + bytes(8) + b"-----" + bytes(19)
# A game with one wrong entry, which misses the o of fox.
MISSED = [("--1--", "", LINE), ("--2--", "", LINE.replace("fox", "fix")),
          ("--2--", LINE.replace("fox", "fix"), LINE), ("--3--", "", LINE), ("--4--", "", LINE)]
HISTORY_HEADER = b"\xef\xbb\xbfdate,player,length,seconds,speed,misses,missed\r\n"
CENT = decimal.Decimal("0.01")


def places(table):
    """Each place of highscore.dat: its name field, its score to two places, its date field."""
    rows = [struct.unpack_from("<16sd24s", table, at) for at in range(0, len(table), 48)]
    return [(n, str(decimal.Decimal(s).quantize(CENT, "ROUND_HALF_UP")), d) for n, s, d in rows]


class TolviTest(unittest.TestCase):

    def setUp(self):
        self.folder = self.enterContext(tempfile.TemporaryDirectory(prefix="tolvi-e2e-"))
        self.probe = self.enterContext(contextlib.closing(Probe(*PROBE)))

    def start(self, sentences, watch=lambda windows: None):
        pathlib.Path(self.folder, "string.dat").write_bytes(sentences)
        self.probe.start(TOLVI, self.folder, watch)

    def type_text(self, text, delay):
        """Types text into the empty or selected entry with the focus until it shows it:
        xdotool types a character that the keyboard lacks (a kanji) on a key it maps to it
        first, and a busy program may read the key before it reads the new map."""
        entry = self.probe.ask()["focus"]
        shown = lambda state: [c["text"] for w in state["windows"] for c in w["controls"]
                               if c["hwnd"] == entry]
        for _ in range(3):
            press("type", "--delay", delay, text)
            with contextlib.suppress(AssertionError):
                return self.probe.wait(lambda state: shown(state) == [text], f"{text!r} typed", 2)
            press("key", "Home", "shift+End")  # what came instead is replaced by the next try
        self.assertEqual(shown(self.probe.ask()), [text], "the entry after three tries")

    def play(self, keys, prompts, name, sentence, delay="12", enter=None):
        """Presses keys, which start the clock, then answers prompts, typed or passed to
        enter(); checks the result and returns its SCORE."""
        enter = enter or (lambda answer: self.type_text(answer, delay))
        started, seen = time.monotonic(), {}
        press(*keys)
        for label, shown, answer in prompts:
            dialog, controls, focus = self.probe.wait_dialog("Tolvi", seen)
            seen[dialog["hwnd"]] = time.monotonic()
            self.assertEqual([focus["id"]] + [controls[i]["text"] for i in (1005, 1004, 1006)]
                             + controls[1006]["sel"], [1006, label, sentence, shown, 0, len(shown)],
                             "the focus, label 1005, sentence 1004, typing 1006 and its selection")
            enter(answer)
            last_sent = time.monotonic()
            press("key", "Return")

        _, controls, focus = self.probe.wait_dialog("今回の記録")
        # The clock runs from after the keys till before the result shows, in whole ms.
        length = 4 * len(sentence.encode("cp932")) - 4
        low, high = (length * 60 / seconds for seconds in (
            time.monotonic() - started + 0.002, last_sent - min(seen.values()) - 0.002))
        texts = [focus["id"]] + [controls[i]["text"] for i in (1007, 1010, 1008)]
        speed = re.fullmatch(r"(\d+\.\d{2}) char/60s", texts[3])
        in_time = bool(speed) and low - 0.005 <= float(speed[1]) <= high + 0.005
        self.assertEqual(texts[:3] + [in_time], [1, name, str(length), True],
                         f"the focus, name 1007, LENGTH 1010 and a SCORE 1008 of "
                         f"NN.NN char/60s from {low:.2f} to {high:.2f}")
        return speed[1]

    def test_two_games_from_title_to_high_scores_then_no_sentence_file(self):
        other = self.enterContext(tempfile.TemporaryDirectory(prefix="tolvi-e2e-"))
        seen = set()
        self.start((LINE + "\n").encode(), lambda windows: seen.update(self.probe.ask(
            "pixel {} {} {}".format(w["hwnd"], *TITLE_POINT)) for w in windows
            if w["class"] == "TitleWindow"))
        self.assertIn(TITLE_COLOUR, seen, f"the title picture's colour at {TITLE_POINT}")

        # Any window that comes or changes while a second copy runs is its doing.
        for bus in ("with", "without"):
            before, changed = self.probe.ask()["windows"], []
            with mock.patch.dict(os.environ):
                if bus == "without":
                    os.environ.pop("DBUS_SESSION_BUS_ADDRESS", None)
                second = launch(TOLVI, other)
            self.addCleanup(second.kill)
            self.probe.wait(lambda state: changed.extend(
                w for w in state["windows"] if w not in before) or changed or second.poll()
                is not None, "the second copy to end or show a window", START_SECONDS)
            self.assertEqual((second.returncode, changed, os.listdir(other)), (0, [], []),
                             f"the exit code, windows and files of a second copy {bus} a bus")

        self.probe.wait_main_focused()
        press("key", "F1")
        self.assertEqual(self.probe.wait_dialog("Name 入力フォーム")[2]["id"], 1001, "the focus")
        press("type", "abcdefghij")
        speeds = [self.play(("key", "Return"), SLIP, "abcdefgh", LINE)]
        speeds.append(self.play(("type", "r"), CLEAN, "abcdefgh", LINE))

        press("type", "h")
        _, controls, focus = self.probe.wait_dialog("HighScore")
        # No control takes the focus: Windows gives it to the first, rank label １.
        self.assertEqual(focus.get("id", -1), -1, "the focus on no field")
        press("key", "Return")
        self.probe.wait_main_focused()
        table = self.probe.read_file(self.folder, "highscore.dat")
        dates = [d[:20].decode() for *_, d in places(table)[:2]]
        ages = [datetime.datetime.now() - datetime.datetime.strptime(d, "%b %d %H:%M:%S %Y")
                for d in dates]
        ranked = [(s, d) for s, d in zip(sorted(speeds, key=float, reverse=True), dates)]
        self.assertEqual((len(table), places(table)[:2], table[96:],
                          [abs(age.total_seconds()) < 60 for age in ages],
                          [controls[i]["text"] for i in range(1002, 1006)]),
                         (480, [(b"abcdefgh" + bytes(8), s, d.encode() + bytes(4))
                                for s, d in ranked], NEVER_PLAYED * 8, [True, True],
                          [t for s, d in ranked for t in ("abcdefgh", f"{s:>5}  {d}")]),
                         "highscore.dat: its size, both games ranked, eight places unplayed, "
                         "the dates near now; ranks 1 and 2 in 1002 to 1005")

        self.probe.remove_file(self.folder, "string.dat")
        press("key", "F1")
        box, controls, focus = self.probe.wait_dialog("Tolvi")
        self.assertEqual((any("string.dat" in c["text"] for c in controls.values()), focus["text"],
                          [w for w in self.probe.ask()["windows"] if w["class"] == "#32770"]),
                         (True, "OK", [box]), "a message box alone, naming string.dat, on OK")
        press("key", "Return")
        self.assertEqual((self.probe.quit(), self.probe.list_files(self.folder)),
                         (0, ["highscore.dat", "history.csv"]),
                         "the exit code after Esc, and no file but the games' own")

    def test_each_command_in_the_bar_by_one_click_and_by_keys(self):
        self.start((LINE + "\n").encode())
        bar = {e["text"]: e["rect"] for e in self.probe.ask(f"menu {self.probe.main}")}
        for entry, keys, caption, close in BAR_COMMANDS:
            left, top, right, bottom = bar[entry]
            middle = str((left + right) // 2), str((top + bottom) // 2)
            # After the click the pointer goes back off the bar: resting on an entry there, it
            # can upset keys that move quickly through GTK's bar.
            click = ("mousemove", *middle, "click", "1", "mousemove", "restore")
            # Browsers keep F10 for themselves: the page's bar is the mouse's.
            for way in [click] + ([] if WEB else [("key", "F10", *keys, "Return")]):
                press(*way)
                self.probe.wait_dialog(caption)
                press("key", close)
                self.probe.wait_main_focused()

    def click_bar(self, entry):
        """One click on an entry of the main window's menu bar."""
        bar = {e["text"]: e["rect"] for e in self.probe.ask(f"menu {self.probe.main}")}
        left, top, right, bottom = bar[entry]
        press("mousemove", str((left + right) // 2), str((top + bottom) // 2), "click", "1",
              "mousemove", "restore")

    def test_progress_of_two_games_then_a_read_only_history(self):
        """Two games, the second with a wrong entry, then "成績": the window's numbers and
        history.csv agree with what the result dialogs showed. A history that cannot be
        written keeps nothing else from happening."""
        self.start((LINE + "\n").encode())
        self.probe.wait_main_focused()
        press("key", "F1")
        self.probe.wait_dialog("Name 入力フォーム")
        press("type", "abc")
        speeds = [self.play(("key", "Return"), CLEAN, "abc", LINE)]
        press("key", "Return")
        self.probe.wait_main_focused()
        speeds.append(self.play(("key", "F1"), MISSED, "abc", LINE))
        press("key", "Return")
        self.probe.wait_main_focused()

        self.click_bar("成績")
        _, controls, focus = self.probe.wait_dialog("成績")
        shown = [focus["id"]] + [controls[i]["text"] for i in (1031, 1032, 1036, 1037, 1039, 1040)]
        self.assertEqual(shown, [1, "2", f"{max(speeds, key=float)} char/60s", "1", "「o」1", "",
                                 ""], "the focus on OK; games, best speed, misses, the missed "
                                      "character, and no note")
        press("key", "Escape")
        self.probe.wait_main_focused()
        history = self.probe.read_file(self.folder, "history.csv")
        self.assertEqual(history[:len(HISTORY_HEADER)], HISTORY_HEADER, "the mark and header")
        lines = list(csv.reader(io.StringIO(history[len(HISTORY_HEADER):].decode(), newline="")))
        length = 4 * len(LINE) - 4
        fields = [(p, int(n), abs(int(n) * 60 / float(s) - float(v)) < 0.02, v, m, x)
                  for _, p, n, s, v, m, x in lines]
        ages = [datetime.datetime.now(datetime.timezone.utc) - datetime.datetime.fromisoformat(
            line[0]) for line in lines]
        self.assertEqual((fields, [abs(a.total_seconds()) < 120 for a in ages]),
                         ([("abc", length, True, speeds[0], "0", ""),
                           ("abc", length, True, speeds[1], "1", "o")], [True, True]),
                         "each game's player, LENGTH, seconds, speed, misses and missed "
                         "character, and its date near now")

        self.addCleanup(self.probe.make_read_only(self.folder, "history.csv"))
        speeds.append(self.play(("key", "F1"), CLEAN, "abc", LINE))
        press("key", "Return")
        self.probe.wait_main_focused()
        table = places(self.probe.read_file(self.folder, "highscore.dat"))
        self.assertEqual((sorted(s for _, s, _ in table[:3]), table[3][0][:5],
                          self.probe.read_file(self.folder, "history.csv")),
                         (sorted(speeds), b"(non)", history),
                         "with history.csv read-only: the third game in highscore.dat, "
                         "history.csv unchanged")
        self.assertEqual(self.probe.quit(), 0, "the exit code after Esc")

    @unittest.skipIf(PROBE or WEB, "Wine and the browser open the display, not Tolvi")
    def test_a_start_with_no_display(self):
        number = next(n for n in range(99, 999) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
        # A runtime folder of its own: no compositor there, and no other copy's lock.
        environment = dict(os.environ, DISPLAY=f":{number}", XDG_RUNTIME_DIR=self.folder)
        environment.pop("WAYLAND_DISPLAY", None)
        run = subprocess.run([TOLVI], env=environment, capture_output=True, timeout=START_SECONDS)
        self.assertEqual((run.returncode, run.stderr.decode()),
                         (0, f"tolvi: cannot open display :{number}\n"),
                         "the exit code and standard error without a display")

    def play_japanese(self):
        """F1, the Japanese name, a game of the Japanese sentence, and OK."""
        press("key", "F1")
        self.probe.wait_dialog("Name 入力フォーム")
        self.type_text(JAPANESE_NAME, "40")
        self.play(("key", "Return"), [(f"--{n}--", "", JAPANESE) for n in "1234"],
                  JAPANESE_NAME, JAPANESE, "40")
        press("key", "Return")

    def japanese_game(self, encoding):
        """A game of one Japanese sentence, from a file in encoding, by a player with a
        Japanese name, in C.UTF-8: no Japanese locale is needed."""
        self.enterContext(mock.patch.dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8"))
        self.start((JAPANESE + "\n").encode(encoding))
        # Wine gives no program another's menu: there only the native one is read.
        main = [w for w in self.probe.ask()["windows"] if w["class"] == "TOLVI"]
        self.play_japanese()
        self.assertEqual(self.probe.quit(), 0, "the exit code after Esc")
        name = places(self.probe.read_file(self.folder, "highscore.dat"))[0][0]
        self.assertEqual((name, main[0].get("menu", MENU)),
                         (JAPANESE_NAME.encode("cp932").ljust(16, b"\0"), MENU),
                         "the name in highscore.dat, and the menu as tolvi.rc has it")

    def test_a_japanese_game_from_code_page_932(self):
        self.japanese_game("cp932")

    def test_a_japanese_game_from_utf_8(self):
        self.japanese_game("utf-8")

    @unittest.skipUnless(WEB, "only the page has a service worker, reloads, tabs and drops")
    def test_the_page_offline_from_a_dropped_file_across_a_reload_and_a_second_tab(self):
        """After the first visit the page plays with no network, from a UTF-8 sentence file
        dropped on its folder's panel; a second tab shows only its line and leaves the
        scores alone; the table is still there after a reload."""
        self.start(b"")
        self.probe.go_offline()
        self.probe.reload()
        self.probe.drop("string.dat", (JAPANESE + "\n").encode())
        self.play_japanese()
        self.probe.wait_main_focused()
        table = self.probe.read_file(self.folder, "highscore.dat")
        second = launch(TOLVI)
        self.probe.wait(lambda state: second.poll() is not None, "the second tab's line")
        self.probe.reload()
        bar = {e["text"]: e["rect"] for e in self.probe.ask(f"menu {self.probe.main}")}
        left, top, right, bottom = bar["HighScore"]
        press("mousemove", str((left + right) // 2), str((top + bottom) // 2), "click", "1")
        controls = self.probe.wait_dialog("HighScore")[1]
        self.assertEqual((second.state, second.windows, places(table)[0][0],
                          self.probe.read_file(self.folder, "highscore.dat"),
                          controls[1002]["text"]),
                         ("elsewhere", 0, JAPANESE_NAME.encode("cp932").ljust(16, b"\0"), table,
                          JAPANESE_NAME),
                         "the second tab, the name in highscore.dat, the file after the "
                         "second tab and the reload, and rank 1 shown")

    def compose(self, romaji):
        """Composes romaji in the input method on the entry with the focus, then presses
        Return, which commits the preedit: the entry shows the hiragana, its dialog stays."""
        entry = self.probe.ask()["focus"]
        self.input_method.compose(self.probe, romaji, ROMAJI[romaji])
        self.probe.wait(lambda state: [c["text"] for w in state["windows"] for c in w["controls"]
                                       if c["hwnd"] == entry == state["focus"]] == [ROMAJI[romaji]],
                        f"{ROMAJI[romaji]} committed into the entry {entry}, still focused")

    @unittest.skipIf(PROBE or not (WEB or shutil.which("ibus-daemon")),
                     "an input method serves the native program (IBus) and the page")
    def test_a_game_typed_in_romaji_through_an_input_method(self):
        home = self.enterContext(tempfile.TemporaryDirectory(prefix="tolvi-e2e-"))
        self.enterContext(mock.patch.dict(os.environ, input_method_environment(home),
                                          LC_ALL="C.UTF-8", LANG="C.UTF-8"))
        self.input_method = self.enterContext(contextlib.closing(InputMethod()))
        self.start((KANA + "\n").encode("cp932"))
        press("key", "F1")
        self.probe.wait_dialog("Name 入力フォーム")
        self.compose("yamada")
        self.play(("key", "Return"), COMPOSED, KANA_NAME, KANA, enter=self.compose)
        press("key", "Return")
        self.assertEqual(self.probe.quit(), 0, "the exit code after Esc")
        name = places(self.probe.read_file(self.folder, "highscore.dat"))[0][0]
        self.assertEqual(name, KANA_NAME.encode("cp932").ljust(16, b"\0"),
                         "the name in highscore.dat")


if __name__ == "__main__":
    if not WEB and not os.environ.get("DISPLAY"):
        sys.exit(print("no DISPLAY: run under tools/with-display (native) or "
                       "tools/with-wine-display", file=sys.stderr) or 77)
    unittest.main(argv=sys.argv[:1], verbosity=2)
