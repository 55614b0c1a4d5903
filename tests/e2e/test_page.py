"""The page as phones, large screens, screen readers and high contrast meet it, in headless
Chromium through the same probe as the shared scenarios: axe-core on the main window, on
each dialog, on the message box and on the folder panel, and what the accessibility tree
reads of the dialogs; a whole game on a phone's screen and on a large one, each control in
sight and each text whole; a game in 2040 by the page's clock, then a desktop's history put
in the folder and read back by 成績 on a phone's screen; the forced colours of high
contrast; the player's size, chosen by keys and kept across a reload; taps on the bar and on
a button; the bar's popups and the folder's buttons by keys alone.
Usage: test_page.py PAGE AXE (PAGE laid out as dist/web; AXE: axe-core's axe.min.js)."""

import contextlib, datetime, pathlib, re, sys, tempfile, unittest, zoneinfo

sys.path.insert(0, str(pathlib.Path(__file__).parents[2] / "tools"))
from web_probe import Probe, press  # noqa: E402

PAGE, AXE = sys.argv[1:3]
LINE = "The quick brown fox jumps over 13 lazy dogs."
# A long sentence, nearly to the end of the typing dialog's field: a line of 79 bytes or more
# is read in pieces, the last one empty.
LONG = (LINE + " " + LINE)[:78]
NAME = "abcdefgh"
# Each dialog that axe checks: its caption, the command of the bar that opens it, the
# prompts of a game answered on the way, and the keys that close it (the name dialog's keep
# a name, so that the game that follows asks for none).
DIALOGS = [
    ("name", "Name 入力フォーム", 40005, 0, [("type", NAME), ("key", "Return")]),
    ("typing", "Tolvi", 40001, 0, [("key", "Escape")]),
    ("result", "今回の記録", 40001, 4, [("key", "Escape")]),
    ("highscore", "HighScore", 40006, 0, [("key", "Return")]),
    ("progress", "成績", 40007, 0, [("key", "Escape")]),
    ("about", "About", 40002, 0, [("key", "Return")]),
    ("version", "Version Info", 40003, 0, [("key", "Return")]),
]
# A phone held upright and a large screen, as the browser's window.
SCREENS = [(390, 844), (2560, 1440)]
# A moment past the end of 32-bit calendar times, on the page's clock; a desktop's history of
# 40 games on the days after it, at an offset of its own; each game's row in the chart's
# description: its date, its speed and the average at it, its misses.
IN_2040 = datetime.datetime(2040, 2, 29, 23, 59, 30, tzinfo=zoneinfo.ZoneInfo("Asia/Tokyo"))
DESKTOP = [(datetime.date(2040, 3, 1) + datetime.timedelta(g), 100 + g, g % 4) for g in range(40)]
DESKTOP_HISTORY = ("\ufeffdate,player,length,seconds,speed,misses,missed\r\n" + "".join(
    f"{day}T08:30:00+01:00,{NAME},172,{172 * 60 / speed:.3f},{speed},{misses},{'x' * misses}\r\n"
    for day, speed, misses in DESKTOP)).encode()
GAME_ROW = r"(\S+ \d\d:\d\d)、速度 (\S+) char/60s、10回の平均 \S+ char/60s、ミス (\d+)。"
RANKS = ["１", "２", "３", "４", "５", "６", "７", "８", "９", "１０"]

AXE_RUN = """
const [context, done] = arguments;
axe.run(context ? document.querySelector(context) : document, {resultTypes: ["violations"]})
  .then((found) => done(found.violations.map((v) => `${v.id} (${v.impact}): ` +
                                             v.nodes.map((n) => n.target.join(" ")).join(", "))));
"""
# The controls of the open dialog that lie outside the part of the page that shows, and
# those whose text is cut: a field that scrolls, a button whose text is wider than it.
OUT_OF_SIGHT = """
const v = visualViewport, dialog = document.querySelector("dialog[open]");
const inside = (r) => r.left >= v.offsetLeft - 0.5 && r.top >= v.offsetTop - 0.5 &&
    r.right <= v.offsetLeft + v.width + 0.5 && r.bottom <= v.offsetTop + v.height + 0.5;
const cut = (c) => {
  if (c.tagName === "INPUT") return c.scrollWidth > c.clientWidth;
  if (c.tagName !== "BUTTON") return false;
  const s = getComputedStyle(c), text = document.createRange();
  text.selectNodeContents(c);
  const edges = ["borderLeftWidth", "borderRightWidth", "paddingLeft", "paddingRight"]
      .reduce((sum, edge) => sum + parseFloat(s[edge]), 0);
  return text.getBoundingClientRect().width > c.getBoundingClientRect().width - edges + 0.5;
};
const controls = [...dialog.querySelectorAll("[data-id]")];
return {outside: [dialog, ...controls].filter((c) => !inside(c.getBoundingClientRect()))
            .map((c) => c.dataset.id ?? "the dialog"),
        cut: controls.filter(cut).map((c) => `${c.dataset.id} ${c.value ?? c.textContent}`)};
"""
# The look of the open dialog's title bar and of the main window's, of the control with the
# focus, and the colours that the system's Highlight and HighlightText are now.
LOOKS = """
const look = (e) => { const s = getComputedStyle(e);
  return {background: s.backgroundColor, color: s.color, outline: s.outlineStyle,
          ring: parseFloat(s.outlineWidth), ringColour: s.outlineColor,
          edge: parseFloat(s.borderTopWidth)}; };
const system = document.createElement("span");
system.style.cssText = "forced-color-adjust: none; background: Highlight; color: HighlightText";
document.body.append(system);
const looks = {forced: matchMedia("(forced-colors: active)").matches, system: look(system),
  active: look(document.querySelector("dialog[open] .titlebar")),
  inactive: look(document.querySelector(".main .titlebar")), focus: look(document.activeElement),
  rects: [...document.querySelectorAll("dialog[open] .titlebar, .main .titlebar")].map((e) => {
    const r = e.getBoundingClientRect(); return [r.left + r.width * 0.75, r.top + r.height / 2];
  })};
system.remove();
return looks;
"""


def words(text):
    return " ".join(text.split())


class PageTest(unittest.TestCase):

    def setUp(self):
        self.folder = self.enterContext(tempfile.TemporaryDirectory(prefix="tolvi-page-"))
        self.probe = self.enterContext(contextlib.closing(Probe()))
        self.js = self.probe.driver.execute_script

    def start(self, size=(1024, 768), sentence=LINE, forced=False):
        self.probe.driver.set_window_size(*size)
        if forced:
            self.probe.cdp("Emulation.setEmulatedMedia",
                           features=[{"name": "forced-colors", "value": "active"}])
        pathlib.Path(self.folder, "string.dat").write_text(sentence + "\n")
        self.probe.start(PAGE, self.folder)

    def command(self, command):
        """A command of the bar, as a click on its entry gives it."""
        self.js("document.querySelector(`[data-command='${arguments[0]}']`).click()", command)

    def answer(self, prompts, sentence=LINE, check=lambda: None):
        """Answers that many prompts of the typing dialog rightly, check() at each."""
        seen = {}
        for _ in range(prompts):
            dialog = self.probe.wait_dialog("Tolvi", seen)[0]
            seen[dialog["hwnd"]] = True
            check()
            self.probe.cdp("Input.insertText", text=sentence)
            press("key", "Return")

    def axe(self, screen, context=None):
        if not self.js("return 'axe' in window"):
            self.js(pathlib.Path(AXE).read_text())
        self.assertEqual(self.probe.driver.execute_async_script(AXE_RUN, context), [],
                         f"axe-core's violations on {screen}")

    def accessible(self):
        """The nodes of the accessibility tree that a screen reader meets, by id."""
        nodes = self.probe.cdp("Accessibility.getFullAXTree")["nodes"]
        return {n["nodeId"]: n for n in nodes if not n.get("ignored")}

    def read_aloud(self, name, caption, controls):
        """What a screen reader reads of the open dialog: its caption; on the result
        dialog's opening, LENGTH and SCORE; the high-score list row by row."""
        tree = self.accessible()
        value = lambda node, key: words(node.get(key, {}).get("value", ""))
        dialog = next(n for n in tree.values() if n["role"]["value"] in ("dialog", "alertdialog"))
        self.assertEqual(value(dialog, "name"), caption, f"the {name} dialog's name")
        if name == "result":
            self.assertEqual(value(dialog, "description"),
                             f"LENGTH： {controls[1010]['text']} SCORE： {controls[1008]['text']}",
                             "what the result dialog says as it opens")
        if name == "highscore":
            rows = [[value(tree[c], "name") for c in n["childIds"] if c in tree]
                    for n in tree.values() if n["role"]["value"] == "row"]
            self.assertEqual(rows, [[rank, words(controls[1000 + 2 * r]["text"]),
                                     words(controls[1001 + 2 * r]["text"])]
                                    for r, rank in enumerate(RANKS, 1)],
                             "the high-score list's rows: rank, name, score")
        images = [n for n in tree.values() if n["role"]["value"] == "image"]
        self.assertEqual([value(n, "name") for n in images], ["速度の推移"] if name == "progress"
                         else [], "the chart's name")
        return images

    def test_axe_finds_nothing_on_any_window_and_each_dialog_reads_aloud(self):
        self.start()
        self.axe("the main window")
        self.axe("the folder panel", "#folder")
        for name, caption, command, prompts, keys in DIALOGS:
            with self.subTest(dialog=name):
                self.command(command)
                self.answer(prompts)
                controls = self.probe.wait_dialog(caption)[1]
                self.axe(f"the {name} dialog")
                self.read_aloud(name, caption, controls)
                for key in keys:
                    press(*key)
                self.probe.wait_main_focused()
        self.probe.remove_file(self.folder, "string.dat")
        press("key", "F1")
        self.probe.wait_dialog("Tolvi")
        self.axe("the message box")
        press("key", "Return")
        self.probe.wait_main_focused()

    def in_sight(self, dialog):
        self.assertEqual(self.js(OUT_OF_SIGHT), {"outside": [], "cut": []},
                         f"the {dialog} dialog's controls out of sight, and texts cut")

    def test_a_whole_game_in_sight_on_a_phone_and_on_a_large_screen(self):
        for size in SCREENS:
            with self.subTest(screen=size):
                self.start(size, LONG)
                press("key", "F1")
                self.probe.wait_dialog("Name 入力フォーム")
                press("type", NAME)
                press("key", "Return")
                self.answer(4, LONG, lambda: self.in_sight("typing"))
                self.probe.wait_dialog("今回の記録")
                self.in_sight("result")
                press("type", "h")
                self.probe.wait_dialog("HighScore")
                self.in_sight("high-score")
                press("key", "Return")
                self.probe.wait_main_focused()

    def test_a_game_in_2040_then_a_desktop_history_in_the_folder_on_a_phone(self):
        """The game's line in history.csv and its date in highscore.dat are the page's time
        in 2040 at its offset; a desktop's history.csv dropped on the folder then takes its
        place in 成績, game by game, every control in sight."""
        self.probe.set_clock(IN_2040)
        self.start(SCREENS[0])
        press("key", "F1")
        self.probe.wait_dialog("Name 入力フォーム")
        press("type", NAME)
        press("key", "Return")
        self.answer(4)
        self.probe.wait_dialog("今回の記録")
        press("key", "Return")
        self.probe.wait_main_focused()
        line = self.probe.read_file(None, "history.csv").decode().splitlines()[-1]
        when = datetime.datetime.fromisoformat(line.split(",")[0])
        self.assertEqual((when.utcoffset(), abs(when - IN_2040).total_seconds() < 60,
                          self.probe.read_file(None, "highscore.dat")[24:44]),
                         (IN_2040.utcoffset(), True, when.strftime("%b %d %H:%M:%S %Y").encode()),
                         "the game's date and offset in history.csv, its time in highscore.dat")

        self.probe.drop("history.csv", DESKTOP_HISTORY)
        self.command(40007)
        controls = self.probe.wait_dialog("成績")[1]
        self.in_sight("progress")
        description = self.read_aloud("progress", "成績", controls)[0]["description"]["value"]
        points = "return document.querySelector('dialog[open] polyline.speed').points.length"
        self.assertEqual((re.findall(GAME_ROW, description), self.js(points)),
                         ([(f"{day} 08:30", f"{speed}.00", str(misses))
                           for day, speed, misses in DESKTOP], len(DESKTOP)),
                         "the desktop's games, each read out in the chart's description, and "
                         "the points of the speed line")

    def high_contrast(self, dialog):
        looks = self.js(LOOKS)
        # The main window comes first in the page, the open dialog last.
        inactive, active = (self.probe.pixel(round(x), round(y)) for x, y in looks["rects"])
        system, focus = looks["system"], looks["focus"]
        self.assertEqual(
            (looks["forced"], looks["active"]["background"], looks["active"]["color"],
             looks["inactive"]["background"] != system["background"], active != inactive,
             focus["outline"], focus["ring"] >= 1, focus["ringColour"] != focus["background"],
             focus["edge"] >= 1),
            (True, system["background"], system["color"], True, True, "solid", True, True, True),
            f"in the {dialog} dialog: the title bars, the active one in Highlight and "
            f"HighlightText and the inactive one not, drawn apart; the focused field's ring "
            f"and edge")

    def test_high_contrast_draws_the_active_title_bar_and_the_focus_ring(self):
        self.start(forced=True)
        press("key", "F1")
        self.probe.wait_dialog("Name 入力フォーム")
        self.high_contrast("name")
        press("type", NAME)
        press("key", "Return")
        self.probe.wait_dialog("Tolvi")
        self.high_contrast("typing")

    def size(self):
        """The size chosen, what it is kept as, and the main window's and a label's size."""
        return self.js("""
            const main = document.querySelector(".main").getBoundingClientRect();
            return [document.getElementById("size").value, localStorage.getItem("tolvi.size"),
                    [main.width, main.height],
                    getComputedStyle(document.querySelector(".menubar button")).fontSize];""")

    def test_the_size_chosen_by_keys_holds_across_a_reload_and_dialogs_follow_the_view(self):
        self.start()
        self.assertEqual(self.size(), ["auto", None, [300, 200], "12px"], "automatic at 1024")
        # The size control stands before the main window, which has the focus.
        press("key", "shift+Tab")
        press("type", "2")
        self.assertEqual(self.size(), ["2", "2", [600, 400], "24px"], "200%, laid out again")
        self.probe.reload()
        self.assertEqual(self.size(), ["2", "2", [600, 400], "24px"], "200% after a reload")
        press("key", "shift+Tab", "Home")
        self.assertEqual(self.size(), ["auto", None, [300, 200], "12px"], "automatic again")

        # Zoomed in on a corner, the part that shows is smaller and elsewhere, as when an
        # on-screen keyboard opens: the typing dialog moves into it, and the next one opens
        # there.
        press("type", "5")
        press("key", "Tab", "F1")
        self.probe.wait_dialog("Name 入力フォーム")
        press("type", NAME)
        press("key", "Return")
        self.probe.wait_dialog("Tolvi")
        self.probe.cdp("Input.synthesizePinchGesture", x=900, y=500, scaleFactor=2,
                       relativeSpeed=2000)
        self.probe.wait(lambda state: self.js(OUT_OF_SIGHT) == {"outside": [], "cut": []},
                        "the typing dialog within the zoomed view")
        self.answer(2, check=lambda: self.in_sight("typing"))

    def tap(self, selector):
        x, y = self.js("const r = document.querySelector(arguments[0]).getBoundingClientRect();"
                       "return [r.x + r.width / 2, r.y + r.height / 2];", selector)
        self.probe.cdp("Input.dispatchTouchEvent", type="touchStart",
                       touchPoints=[{"x": x, "y": y}])
        self.probe.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def focused(self):
        return self.js("return document.activeElement.getAttribute('aria-label') ??"
                       " document.activeElement.textContent")

    def test_taps_and_keys_do_what_clicks_do(self):
        self.start()
        self.tap("[data-command='40006']")
        self.probe.wait_dialog("HighScore")
        press("key", "Return")
        self.probe.wait_main_focused()
        self.tap(".holder:last-of-type [data-popup]")
        self.tap("[data-command='40002']")
        self.probe.wait_dialog("About")
        self.tap("dialog[open] [data-id='1']")
        self.probe.wait_main_focused()

        # Tab reaches the bar; the arrows open Help and walk it; Enter chooses Version.
        press("key", "Tab", "Home", "Left", "Down", "Down")
        self.assertEqual(self.focused(), "Version", "the focus in Help after Left, Down, Down")
        press("key", "Return")
        self.probe.wait_dialog("Version Info")
        press("key", "Return")
        self.probe.wait_main_focused()
        # Esc closes the popup, then leaves the bar: the game goes on.
        press("key", "Tab", "Home", "Down")
        self.assertEqual(self.focused(), "Start(F1)", "Game opened by Down")
        press("key", "Escape")
        self.assertEqual(self.focused(), "Game", "the popup closed by Esc")
        press("key", "Escape")
        self.probe.wait_main_focused()

        # The folder's buttons are reached by Tab and pressed by Enter.
        for _ in range(12):
            press("key", "Tab")
            if self.focused() == "Remove string.dat":
                break
        press("key", "Return")
        self.probe.wait(lambda state: "string.dat" not in self.probe.list_files(None),
                        "string.dat removed by keys")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
