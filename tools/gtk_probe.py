"""wine_probe's counterpart for the native program: starts tolvi, presses real keys through
the X server, and reads its windows through AT-SPI into the JSON shape that probe.exe
answers with, so one test drives both: windows by "class" (TOLVI, TitleWindow, #32770 for
a dialog), their controls by control id with "text" and "sel", and the focus. Needs a
session bus (dbus-run-session), through which the accessibility bus starts itself. Also
runs IBus with Anthy, for a player who types romaji into an input method."""

import contextlib, os, subprocess, sys, time, warnings

import gi

gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GLib  # noqa: E402
import pyatspi  # noqa: E402

with contextlib.suppress(ValueError, ImportError):  # only the input method's test needs it
    gi.require_version("IBus", "1.0")
    from gi.repository import IBus

import wine_probe  # noqa: E402
from wine_probe import START_SECONDS, STEP_SECONDS, press  # noqa: E402,F401

ANTHY = "org.freedesktop.ibus.engine.anthy.common"

# What a Windows dialog's child windows are: statics, buttons and edits.
CONTROLS = {pyatspi.ROLE_LABEL, pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY}
DIALOGS = {pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT}
MENUS = {pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM}
# What reading an object that is going, or not yet whole, raises.
GONE = (GLib.Error, AttributeError, NotImplementedError)


def start_native(exe, folder=None):
    """tolvi in folder; what it says on stderr (a sanitizer's report) reaches the test's."""
    return subprocess.Popen([exe], cwd=folder, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL)


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def handle(node, pid):
    return f"{pid}{node.path}"


def text_of(node):
    """An entry's text and selection in characters, as WM_GETTEXT and EM_GETSEL give them;
    a label's or a button's name, which GTK gives without the access key's underline."""
    if node.getRole() != pyatspi.ROLE_TEXT:
        return node.name, [0, 0]
    text = node.queryText()
    sel = list(text.getSelection(0)) if text.getNSelections() else [text.caretOffset] * 2
    return text.getText(0, -1), sel


def rect(node):
    x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return [x, y, x + width, y + height]


def bar(hwnd):
    """The entries in the menu bar of window hwnd, each with its "text" and its "rect" on
    screen, as probe.exe's menu command gives them."""
    for app in pyatspi.Registry.getDesktop(0):
        for window in (w for w in app if handle(w, app.get_process_id()) == hwnd):
            return [{"text": n.name, "rect": rect(n)} for n in descendants(window)
                    if n.getRole() in MENUS and n.parent.getRole() == pyatspi.ROLE_MENU_BAR]


def describe(window, pid):
    states = window.getState()
    nodes = list(descendants(window))
    owner = [t for r in window.getRelationSet()
             if r.getRelationType() == pyatspi.RELATION_SUBWINDOW_OF
             for t in (r.getTarget(i) for i in range(r.getNTargets()))]
    controls = []
    for node in nodes:
        if node.getRole() in CONTROLS and node.getState().contains(pyatspi.STATE_SHOWING):
            text, sel = text_of(node)
            number = node.accessibleId
            controls.append({"hwnd": handle(node, pid), "text": text, "sel": sel,
                             "id": int(number) if number.isdigit() else -1})
    focus = [handle(n, pid) for n in nodes if n.getState().contains(pyatspi.STATE_FOCUSED)]
    return {
        "hwnd": handle(window, pid), "thread": pid,
        "owner": handle(owner[0], pid) if owner else "0",
        "enabled": int(states.contains(pyatspi.STATE_SENSITIVE)),
        "rect": rect(window),
        "class": window.accessibleId or ("#32770" if window.getRole() in DIALOGS else ""),
        "text": window.name, "controls": controls,
        "menu": [n.name for n in nodes if n.getRole() in MENUS],
    }, states.contains(pyatspi.STATE_ACTIVE), focus


def look():
    """The focus and the showing top-level windows of every program on the bus; a window
    that goes while it is read is left out, as if it had gone before."""
    state = {"focus": "0", "windows": []}
    for app in pyatspi.Registry.getDesktop(0):
        with contextlib.suppress(*GONE):
            app.clearCache()  # what GTK said last time may have changed since
            for window, pid in [(w, app.get_process_id()) for w in app]:
                with contextlib.suppress(*GONE):
                    if window.getState().contains(pyatspi.STATE_SHOWING):
                        described, active, focus = describe(window, pid)
                        state["windows"].append(described)
                        if active:
                            state["focus"] = (focus or [described["hwnd"]])[0]
    return state


def pixel(window, x, y):
    """The colour on screen (0xBBGGRR) at point x, y of window, read from the X server."""
    left, top = window["rect"][:2]
    shot = Gdk.pixbuf_get_from_window(Gdk.get_default_root_window(), left + x, top + y, 1, 1)
    red, green, blue = shot.get_pixels()[:3]
    return blue << 16 | green << 8 | red


class Probe(wine_probe.Probe):
    """Watches one run of tolvi at a time; waits as wine_probe's Probe does."""

    def __init__(self, exe=None):
        Gdk.init([])

    def ask(self, command="look"):
        with warnings.catch_warnings():
            # pyatspi's own calls of what Atspi has renamed since.
            warnings.simplefilter("ignore", DeprecationWarning)
            if command.startswith("menu "):
                return bar(command.split()[1])
            state = look()
        if command.startswith("pixel "):
            hwnd, x, y = command.split()[1:]
            window = [w for w in state["windows"] if w["hwnd"] == hwnd]
            return pixel(window[0], int(x), int(y)) if window else None  # gone meanwhile
        return state

    def start(self, exe, folder, watch=lambda windows: None):
        """Starts tolvi and waits for its main window; watch() sees the windows till then."""
        self.tolvi = start_native(exe, folder)
        main = self.wait(lambda state: watch(state["windows"]) or next(
            (w for w in state["windows"] if w["class"] == "TOLVI"), None), "the main window",
            START_SECONDS)
        self.main, self.thread = main["hwnd"], main["thread"]
        self.wait_main_focused()

    def close(self):
        if hasattr(self, "tolvi") and self.tolvi.poll() is None:
            self.tolvi.kill()
            self.tolvi.wait(STEP_SECONDS)


def input_method_environment(home):
    """What tolvi, ibus-daemon and the test share while the input method runs: the file
    with the daemon's address, and home for their files and settings (in a key file there,
    not in the user's dconf). Without GTK 3's key snooper, keys reach the entry as in any
    other toolkit: whatever tolvi does with Return, the input method must still see it
    first."""
    return dict({name: home for name in ("HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME")},
                IBUS_ADDRESS_FILE=os.path.join(home, "ibus-address"), GSETTINGS_BACKEND="keyfile",
                GTK_IM_MODULE="ibus", IBUS_DISABLE_SNOOPER="1")


class InputMethod:
    """ibus-daemon with Anthy in hiragana as the engine of every input context, started in
    the environment of input_method_environment(); stopped by close()."""

    def __init__(self):
        # Anthy reads its input mode once, when its engine starts.
        subprocess.run(["gsettings", "set", ANTHY, "input-mode", "0"], check=True)
        # The daemon has the session bus start its portal for sandboxed programs, which must
        # find this daemon too, not look for one in the user's home.
        subprocess.run(["dbus-update-activation-environment", "IBUS_ADDRESS_FILE"], check=True)
        # Anthy's engine runs the first python3 on the PATH; this one has the modules it needs.
        self.daemon = subprocess.Popen(
            ["ibus-daemon", "--panel=disable", "--emoji-extension=disable", "--config=disable"],
            stdout=subprocess.DEVNULL, env=dict(
                os.environ, PATH=os.path.dirname(sys.executable) + os.pathsep + os.environ["PATH"]))
        self.bus = IBus.Bus.new()
        deadline = time.monotonic() + START_SECONDS
        # The bus connects when the daemon writes its address, which the main loop hears of.
        while not self.bus.is_connected() and time.monotonic() < deadline:
            GLib.MainContext.default().iteration(False)
            time.sleep(0.02)
        if not (self.bus.is_connected() and self.bus.set_global_engine("anthy")):
            raise AssertionError("expected ibus-daemon to start and take Anthy as its engine")
        self.served = {self.focused()}

    def focused(self):
        """The daemon's focused input context, which the global engine follows."""
        with contextlib.suppress(GLib.Error):
            return self.bus.current_input_context()

    def serves_next(self):
        """Whether an input context not served before has the focus, and so the engine."""
        context = self.focused()
        if context in self.served | {None}:
            return False
        self.served.add(context)
        return True

    def compose(self, probe, romaji, kana):
        """Types romaji once the engine serves the entry with the focus, then Return."""
        probe.wait(lambda state: self.serves_next(), "IBus on the entry")
        press("type", romaji)
        press("key", "Return")

    def close(self):
        self.daemon.terminate()
        self.daemon.wait(STEP_SECONDS)
