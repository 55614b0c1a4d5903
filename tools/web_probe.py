"""wine_probe's counterpart for the page: serves dist/web on 127.0.0.1, starts headless
Chromium on a profile of its own, presses real keys and clicks through the DevTools
protocol, and reads the page's windows into the JSON shape that probe.exe answers with (the
page marks them: data-window, data-caption, data-id), so one test drives all three. The
player's folder is the page's, read and written through window.tolvi.folder. Needs the
system's python3, which has Debian's selenium."""

import base64, contextlib, functools, http.server, os, shutil, struct, tempfile, threading, time
import zlib

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

import wine_probe
from wine_probe import START_SECONDS, STEP_SECONDS  # noqa: F401

CHROMIUM, CHROMEDRIVER = "/usr/lib/chromium/chromium", "/usr/bin/chromedriver"
# Without the background's connections Chromium asks nothing of a closed network.
FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--disable-features=Translate,MediaRouter", "--window-size=1024,768"]

# The page's windows as probe.exe describes Windows ones; each element gets a handle of its
# own, kept for its life.
LOOK = """
const handles = window.probeHandles ??= new WeakMap();
const handle = (e) => {
  if (!handles.has(e)) handles.set(e, "w" + (window.probeNext = (window.probeNext ?? 0) + 1));
  return handles.get(e);
};
const shows = (e) => e.isConnected && !e.closest("[hidden]") &&
    (e.tagName !== "DIALOG" || e.open) && e.getClientRects().length > 0;
const active = document.activeElement;
const modal = document.querySelector("dialog[open]") !== null;
const state = {focus: "0", windows: [], state: document.documentElement.dataset.state};
for (const w of document.querySelectorAll("[data-window]")) {
  if (!shows(w)) continue;
  const r = w.getBoundingClientRect();
  const controls = [...w.querySelectorAll("[data-id]")].filter(
      (c) => c.closest("[data-window]") === w && shows(c)).map((c) => {
    const input = c.tagName === "INPUT";
    return {hwnd: handle(c), id: Number(c.dataset.id),
            text: input ? c.value : c.dataset.text ?? c.textContent,
            sel: input ? [c.selectionStart, c.selectionEnd] : [0, 0]};
  });
  const owner = w.dataset.owner && document.querySelector(`[data-window="${w.dataset.owner}"]`);
  const described = {
    hwnd: handle(w), thread: 1, owner: owner ? handle(owner) : "0",
    enabled: w.tagName === "DIALOG" || !modal ? 1 : 0,
    rect: [r.left, r.top, r.right, r.bottom].map(Math.round), class: w.dataset.window,
    text: w.dataset.caption ?? "", controls,
    menu: [...w.querySelectorAll("[data-menu] [data-command], [data-menu] [data-popup]")]
        .map((e) => e.dataset.text ?? e.textContent),
  };
  state.windows.push(described);
  const inside = w.contains(active) || (!modal && w.dataset.window === "TOLVI" &&
                                        (active === document.body || active === null));
  if (inside) state.focus = controls.find((c) => c.hwnd === handle(active))?.hwnd ?? described.hwnd;
}
return state;
"""
# The bar's entries of a window and where they are, as probe.exe's "menu" answers.
MENU = """
const bar = [...document.querySelectorAll('[data-window="TOLVI"] [data-menu] > *')];
return bar.filter((e) => "command" in e.dataset).map((e) => {
  const r = e.getBoundingClientRect();
  return {text: e.dataset.text ?? e.textContent,
          rect: [r.left, r.top, r.right, r.bottom].map(Math.round)};
});
"""
# The folder, through the page's own panel's functions; bytes travel as base64.
FOLDER = """
const [call, name, data, done] = arguments;
const folder = window.tolvi.folder;
const bytes = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
const text = (array) => btoa(Array.from(array, (b) => String.fromCharCode(b)).join(""));
({list: () => folder.list(), read: () => folder.read(name).then(text),
  write: () => folder.write(name, bytes(data)), remove: () => folder.remove(name)})[call]()
  .then((result) => done({result}), (error) => done({error: String(error)}));
"""
# The page's clock moved by a fixed step from its load on: Date.now() and new Date() read the
# moment given, then go on from it.
MOVED_CLOCK = """{
const step = %r - Date.now(), Clock = Date;
globalThis.Date = class extends Clock {
  constructor(...given) { super(...(given.length > 0 ? given : [Clock.now() + step])); }
  static now() { return Clock.now() + step; }
};
}"""
KEYS = {"Return": ("Enter", 13), "Escape": ("Escape", 27), "Home": ("Home", 36),
        "End": ("End", 35), "Left": ("ArrowLeft", 37), "Right": ("ArrowRight", 39),
        "Up": ("ArrowUp", 38), "Down": ("ArrowDown", 40),
        "Tab": ("Tab", 9), **{f"F{n}": (f"F{n}", 111 + n) for n in range(1, 13)}}
MODIFIERS = {"alt": 1, "ctrl": 2, "shift": 8}

current = None  # the probe that press() and launch() drive


class Server(http.server.ThreadingHTTPServer):
    """dist/web on 127.0.0.1 at a free port, in a thread of its own, quietly."""

    def __init__(self, folder):
        handler = functools.partial(Quiet, directory=folder)
        super().__init__(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.server_address[1]}/"
        threading.Thread(target=self.serve_forever, daemon=True).start()


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".webmanifest": "application/manifest+json"}

    def log_message(self, *args):
        pass


def key_event(name):
    """A key of xdotool's naming (Return, shift+End, a character) as DevTools key events."""
    *held, key = name.split("+")
    modifiers = sum(MODIFIERS[m] for m in held)
    if key in KEYS:
        dom_key, code = KEYS[key]
        return dict(modifiers=modifiers, key=dom_key, code=dom_key, windowsVirtualKeyCode=code,
                    text="\r" if key == "Return" else "")
    # Letters and digits are their own virtual keys; other characters only their text.
    code = ord(key.upper()) if key.isalnum() or key == " " else 0
    dom_code = f"Key{key.upper()}" if key.isalpha() else f"Digit{key}" if key.isdigit() else ""
    return dict(modifiers=modifiers, key=key, code=dom_code, windowsVirtualKeyCode=code, text=key)


def press(*args):
    """xdotool's commands, to the page: ("key", "F1"), ("type", "--delay", "40", "abc"),
    ("mousemove", X, Y, "click", "1", "mousemove", "restore")."""
    current.press(*args)


class Tab:
    """A tab of the probe's browser with the page in it, as the process of a program: it
    has ended (0) once the page shows the program ended, or that it is open elsewhere."""

    def __init__(self, probe, handle):
        self.probe, self.handle, self.returncode, self.state = probe, handle, None, None

    def poll(self):
        if self.returncode is None:
            self.state, self.windows = self.probe.in_tab(self.handle, lambda d: d.execute_script(
                "return [document.documentElement.dataset.state,"
                " document.querySelectorAll('[data-window]:not([hidden])').length]"))
            if self.state in ("ended", "elsewhere"):
                self.returncode = 0
                if self.handle != self.probe.first:
                    self.kill()  # a second copy's tab goes as its process would
        return self.returncode

    def wait(self, seconds=STEP_SECONDS):
        deadline = time.monotonic() + seconds
        while self.poll() is None:
            if time.monotonic() > deadline:
                raise AssertionError(f"expected the page to end within {seconds} s")
            time.sleep(0.05)
        return self.returncode

    def kill(self):
        with contextlib.suppress(Exception):
            self.probe.in_tab(self.handle, lambda d: d.close())


def input_method_environment(home):
    """The browser brings its own input method: nothing to set."""
    return {}


class InputMethod:
    """The browser's input method, as DevTools composes: the preedit, Return while it is
    composed (a key the page must leave to the input method), then the commit."""

    def compose(self, probe, romaji, kana):
        probe.cdp("Input.imeSetComposition", text=kana, selectionStart=len(kana),
                  selectionEnd=len(kana))
        probe.cdp("Input.dispatchKeyEvent", type="keyDown", key="Enter", code="Enter",
                  windowsVirtualKeyCode=229)
        probe.cdp("Input.dispatchKeyEvent", type="keyUp", key="Enter", code="Enter",
                  windowsVirtualKeyCode=229)
        probe.cdp("Input.insertText", text=kana)

    def close(self):
        pass


def launch(page, folder=None):
    """A second copy: the page in another tab of the same browser."""
    return current.open_tab(current.server.url)


class Probe(wine_probe.Probe):
    """The page in headless Chromium on a profile of its own, watched one run at a time."""

    def __init__(self):
        global current
        current = self
        self.profile = tempfile.mkdtemp(prefix="tolvi-web-profile-")
        self.server = None
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in FLAGS + [f"--user-data-dir={self.profile}"]:
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.driver.set_script_timeout(START_SECONDS)
        self.first = self.driver.current_window_handle
        self.pointer = (0, 0)

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)

    def in_tab(self, handle, do):
        """do(driver) in the tab handle, then back in the first tab."""
        self.driver.switch_to.window(handle)
        try:
            return do(self.driver)
        finally:
            with contextlib.suppress(Exception):
                self.driver.switch_to.window(self.first)

    def open_tab(self, url):
        before = set(self.driver.window_handles)
        self.driver.switch_to.new_window("tab")
        self.driver.get(url)
        handle = (set(self.driver.window_handles) - before).pop()
        self.driver.switch_to.window(self.first)
        return Tab(self, handle)

    def ask(self, command="look"):
        if command.startswith("pixel "):
            hwnd, x, y = command.split()[1:]
            window = [w for w in self.ask()["windows"] if w["hwnd"] == hwnd]
            return self.pixel(window[0]["rect"][0] + int(x), window[0]["rect"][1] + int(y)) \
                if window else None
        if command.startswith("menu "):
            return self.driver.execute_script(MENU)
        return self.driver.execute_script(LOOK)

    def pixel(self, x, y):
        """The colour (0xBBGGRR) at page point x, y, from a screenshot of that one pixel."""
        shot = self.cdp("Page.captureScreenshot", format="png",
                        clip=dict(x=x, y=y, width=1, height=1, scale=1))
        png = base64.b64decode(shot["data"])
        chunks, at = {}, 8
        while at < len(png):
            length, kind = struct.unpack(">I4s", png[at:at + 8])
            chunks[kind] = chunks.get(kind, b"") + png[at + 8:at + 8 + length]
            at += 12 + length
        width, height, depth, colour = struct.unpack(">IIBB", chunks[b"IHDR"][:10])
        assert (width, height, depth, colour in (2, 6)) == (1, 1, 8, True), "one RGB pixel"
        red, green, blue = zlib.decompress(chunks[b"IDAT"])[1:4]  # after the filter byte
        return blue << 16 | green << 8 | red

    def press(self, command, *args):
        if command == "key":
            for name in args:
                event = key_event(name)
                self.cdp("Input.dispatchKeyEvent", type="keyDown", **event)
                self.cdp("Input.dispatchKeyEvent", type="keyUp", **dict(event, text=""))
        elif command == "type":
            delay = int(args[1]) / 1000 if args[0] == "--delay" else 0
            for character in args[-1]:
                if character.isascii():
                    self.press("key", character)
                else:  # what an input method commits: no key types a kanji
                    self.cdp("Input.insertText", text=character)
                time.sleep(delay)
        else:
            self.mouse(*((command,) + args))

    def mouse(self, *steps):
        """xdotool's mousemove X Y, click 1 and mousemove restore, on the page."""
        steps, start = list(steps), self.pointer
        while steps:
            step = steps.pop(0)
            if step == "mousemove":
                target = steps.pop(0)
                self.pointer = start if target == "restore" else (int(target), int(steps.pop(0)))
                self.cdp("Input.dispatchMouseEvent", type="mouseMoved", x=self.pointer[0],
                         y=self.pointer[1])
            elif step == "click":
                steps.pop(0)
                for kind in ("mousePressed", "mouseReleased"):
                    self.cdp("Input.dispatchMouseEvent", type=kind, x=self.pointer[0],
                             y=self.pointer[1], button="left", clickCount=1)

    def folder(self, call, name="", data=b""):
        answer = self.driver.execute_async_script(FOLDER, call, name,
                                                  base64.b64encode(data).decode())
        if "error" in answer:
            raise AssertionError(f"the page's folder refused {call} {name}: {answer['error']}")
        return answer["result"]

    def read_file(self, folder, name):
        return base64.b64decode(self.folder("read", name))

    def remove_file(self, folder, name):
        self.folder("remove", name)

    def list_files(self, folder):
        return sorted(self.folder("list"))

    def make_read_only(self, folder, name):
        """Takes the write permission from the file in the page's own file system, which
        enforces it for every program."""
        chmod = "Module.FS.chmod('/tolvi/' + arguments[0], arguments[1])"
        self.driver.execute_script(chmod, name, 0o444)
        return lambda: None

    def set_clock(self, when):
        """From the next load on, the page's clock reads when (a datetime in a ZoneInfo) and
        runs on from it, in when's time zone."""
        self.cdp("Emulation.setTimezoneOverride", timezoneId=when.tzinfo.key)
        self.cdp("Page.addScriptToEvaluateOnNewDocument",
                 source=MOVED_CLOCK % (when.timestamp() * 1000))

    def start(self, page, folder, watch=lambda windows: None):
        """Serves the folder page (dist/web), loads it, waits for its main window, then makes
        the player's folder hold what folder holds, as the other programs start in folder."""
        self.server = self.server or Server(page)
        self.driver.get(self.server.url)
        self.tolvi = Tab(self, self.first)
        main = self.wait(lambda state: watch(state["windows"]) or next(
            (w for w in state["windows"] if w["class"] == "TOLVI"), None), "the main window",
            START_SECONDS)
        self.main, self.thread = main["hwnd"], main["thread"]
        self.wait_main_focused()
        wanted = sorted(os.listdir(folder))
        for name in self.list_files(folder):
            if name not in wanted:
                self.remove_file(folder, name)
        for name in wanted:
            with open(os.path.join(folder, name), "rb") as file:
                self.folder("write", name, file.read())

    def reload(self):
        """Loads the page again in its tab, and waits for its main window."""
        self.driver.refresh()
        self.wait(lambda state: any(w["class"] == "TOLVI" for w in state["windows"]),
                  "the main window after a reload", START_SECONDS)
        self.main = next(w for w in self.ask()["windows"] if w["class"] == "TOLVI")["hwnd"]
        self.wait_main_focused()

    def go_offline(self):
        """Once the page's service worker keeps its files, nothing serves the page any more."""
        self.driver.execute_async_script(
            "navigator.serviceWorker.ready.then(() => arguments[0]())")
        self.server.shutdown()
        self.server.server_close()

    def drop(self, name, data):
        """Drops a file of that name and those bytes on the folder's panel, as from a file
        manager."""
        files = tempfile.mkdtemp(prefix="tolvi-web-drop-")
        path = os.path.join(files, name)
        with open(path, "wb") as file:
            file.write(data)
        # The panel may lie below the game: scrolled to for the drop, and back after it.
        x, y, scrolled = self.driver.execute_script(
            "const panel = document.getElementById('folder'), scrolled = [scrollX, scrollY];"
            "panel.scrollIntoView({block: 'nearest'});"
            "const r = panel.getBoundingClientRect();"
            "return [Math.round(r.x + r.width / 2), Math.round(r.y + r.height / 2), scrolled];")
        for kind in ("dragEnter", "dragOver", "drop"):
            self.cdp("Input.dispatchDragEvent", type=kind, x=x, y=y,
                     data=dict(items=[], files=[path], dragOperationsMask=1))
        # What the folder held under that name before does not count.
        self.wait(lambda state: name in self.list_files(None) and
                  self.read_file(None, name) == data, f"{name} in the folder")
        self.driver.execute_script("scrollTo(...arguments[0])", scrolled)
        shutil.rmtree(files)

    def quit(self):
        """Esc in the main window; 0 once the page says the program has ended."""
        self.wait_main_focused()
        self.press("key", "Escape")
        return self.tolvi.wait(STEP_SECONDS)

    def close(self):
        with contextlib.suppress(Exception):
            self.driver.quit()
        if self.server:
            self.server.shutdown()
            self.server.server_close()
        shutil.rmtree(self.profile, ignore_errors=True)
