"""What the end-to-end tests share: the probe, a running tolvi.exe, polling waits and
the high-score file's layout."""

import argparse
import datetime
import json
import os
import re
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

# The probe talks over its standard input and output, so the programs are started
# with plain wine (tools/wine-run hides both), in the same prefix as it would use.
WINE_ENV = dict(os.environ)
WINE_ENV.setdefault("WINEPREFIX", os.path.join(ROOT, "build", "wine", "prefix"))
WINE_ENV.setdefault("WINEDEBUG", "-all")
WINE_ENV.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")


def start_windows_program(exe, **popen_args):
    return subprocess.Popen(["wine", exe], env=WINE_ENV, **popen_args)


# Set by main() from the command line (or the environment, for a run by hand).
TOLVI_EXE = os.environ.get("TOLVI_EXE", "")
PROBE_EXE = os.environ.get("TOLVI_PROBE", "")

SKIP_EXIT_CODE = 77

POLL_SECONDS = 0.02
START_TIMEOUT = 30.0  # a Wine start, then the 2000 ms splash
STEP_TIMEOUT = 10.0
EXIT_TIMEOUT = 15.0
# A negative ("nothing else opens") is checked over this long after the program has
# visibly settled; a window it were to open would come within a few milliseconds.
QUIET_SECONDS = 1.0

MAIN_CLASS = "TOLVI"
SPLASH_CLASS = "TitleWindow"
DIALOG_CLASS = "#32770"
MENU_CLASS = "#32768"
NAME_CAPTION = "Name 入力フォーム"
TYPING_CAPTION = "Tolvi"
RESULT_CAPTION = "今回の記録"
HIGHSCORE_CAPTION = "HighScore"

ID_OK = 1
ID_NAME_ENTRY = 1001
ID_SENTENCE = 1004
ID_SLOT_LABEL = 1005
ID_TYPING = 1006
ID_RESULT_NAME = 1007
ID_RESULT_SPEED = 1008
ID_RESULT_LENGTH = 1010

HTCLOSE = 20

ENTRY_BYTES = 48
TABLE_BYTES = 480
DEFAULT_ENTRY = b"(non)" + bytes(11) + bytes(8) + b"-----" + bytes(19)
MONTHS = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split()
DATE_TEXT = re.compile(r"^([A-Z][a-z]{2}) (\d{2}) (\d{2}):(\d{2}):(\d{2}) (\d{4})$")
SPEED_TEXT = re.compile(r"^(-?\d+\.\d{2}) char/60s$")


class ProbeError(RuntimeError):
    pass


class Probe:
    """One long-lived probe.exe under Wine; each ask() is one command and one JSON line."""

    def __init__(self, exe):
        # Wine's own complaints go to a file, to be shown should the probe fail.
        self.log = tempfile.TemporaryFile()
        self.process = start_windows_program(
            exe, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.log)
        self.buffer = b""
        ready = self._read_line(START_TIMEOUT)
        if not ready.get("ready"):
            raise ProbeError(f"probe did not start: {ready}")

    def _complaints(self):
        self.log.seek(0)
        return self.log.read().decode("utf-8", "replace")[-2000:]

    def _read_line(self, timeout):
        deadline = time.monotonic() + timeout
        fd = self.process.stdout.fileno()
        while b"\n" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                raise ProbeError(f"probe gave no answer within {timeout} s")
            chunk = os.read(fd, 65536)
            if not chunk:
                self.process.wait()
                raise ProbeError(f"probe ended with code {self.process.returncode}: "
                                 f"{self._complaints()}")
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\n", 1)
        return json.loads(line.decode("utf-8"))

    def ask(self, command):
        self.process.stdin.write(command.encode("utf-8") + b"\n")
        self.process.stdin.flush()
        answer = self._read_line(STEP_TIMEOUT)
        if not answer.get("ok"):
            raise ProbeError(f"probe command {command!r} failed: {answer}")
        return answer

    def windows(self):
        return self.ask("windows")["windows"]

    def window(self, hwnd):
        return self.ask(f"window {hwnd}")

    def children(self, hwnd):
        return self.ask(f"children {hwnd}")["children"]

    def focus(self):
        return self.ask("focus")

    def key(self, *chords):
        self.ask("key " + " ".join(chords))

    def type(self, text):
        self.ask("type " + text)

    def click(self, x, y):
        self.ask(f"click {x} {y}")

    def close(self):
        self.log.close()
        if self.process.poll() is None:
            try:
                self.process.stdin.write(b"quit\n")
                self.process.stdin.close()
                self.process.wait(STEP_TIMEOUT)
            except (OSError, subprocess.TimeoutExpired):
                self.process.kill()
                self.process.wait()


def wait_until(condition, what, timeout=STEP_TIMEOUT, seen=None):
    """Polls condition() until it gives something true and returns that; on timeout
    fails saying what was awaited and, through seen(), what was there instead."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            got = seen() if seen else "nothing"
            raise AssertionError(f"expected {what} within {timeout} s; got {got}")
        time.sleep(POLL_SECONDS)


def write_sentences(folder, line, ending="\n"):
    with open(os.path.join(folder, "string.dat"), "wb") as f:
        f.write(line.encode("cp932") + ending.encode("ascii"))


class Tolvi:
    """One run of tolvi.exe in its own working folder, seen through the probe."""

    def __init__(self, probe, folder):
        self.probe = probe
        self.folder = folder
        self.process = None
        self.pid = None
        self.main = None
        self.splash_seen_at = None
        self.main_seen_at = None
        self.splash_rect = None

    def start(self):
        """Starts the program and waits for its main window, noting when the splash
        and the main window were first seen."""
        wait_until(lambda: not self._all_of_class(MAIN_CLASS),
                   "no main window of an earlier run", seen=self.describe_all)
        log = open(os.path.join(os.path.dirname(self.folder), "tolvi.log"), "ab")
        self.process = start_windows_program(TOLVI_EXE, cwd=self.folder,
                                             stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        log.close()

        def main_shown():
            for w in self.probe.windows():
                if w["class"] == SPLASH_CLASS and w["visible"] and self.splash_seen_at is None:
                    self.splash_seen_at = time.monotonic()
                    self.splash_rect = w["rect"]
                if w["class"] == MAIN_CLASS and w["visible"]:
                    return w
            if self.process.poll() is not None:
                raise AssertionError(
                    f"tolvi.exe ended with code {self.process.returncode} before its main window")
            return None

        main = wait_until(main_shown, "the main window (class TOLVI) to be shown",
                          timeout=START_TIMEOUT, seen=self.describe_all)
        self.main_seen_at = time.monotonic()
        self.main = main["hwnd"]
        self.pid = main["pid"]
        return main

    def _all_of_class(self, name):
        return [w for w in self.probe.windows() if w["class"] == name]

    def own_windows(self):
        """The program's visible top-level windows."""
        return [w for w in self.probe.windows() if w["pid"] == self.pid and w["visible"]]

    def dialogs(self):
        return [w for w in self.own_windows() if w["class"] == DIALOG_CLASS]

    def controls(self, hwnd):
        return {c["id"]: c for c in self.probe.children(hwnd)}

    def describe(self):
        parts = []
        for w in self.own_windows():
            text = f"{w['class']} {w['text']!r} at {w['rect']}"
            if not w["enabled"]:
                text += " (disabled)"
            if w["class"] == DIALOG_CLASS:
                texts = [(c["id"], c["text"]) for c in self.probe.children(w["hwnd"])]
                text += f" controls {texts}"
            parts.append(text)
        focus = self.probe.focus()
        parts.append(f"foreground {focus['foreground']}, focus {focus.get('focus')}"
                     f" (main {self.main})")
        if self.process and self.process.poll() is not None:
            parts.append(f"tolvi.exe ended with code {self.process.returncode}")
        return "; ".join(parts)

    def describe_all(self):
        return [f"{w['class']} {w['text']!r} pid {w['pid']}"
                for w in self.probe.windows() if w["visible"]]

    def wait_main_focused(self):
        """Waits until the main window is enabled and has the keyboard focus, so that
        keys pressed now reach the main window."""
        def ready():
            focus = self.probe.focus()
            main = self.probe.window(self.main)
            return (main["exists"] and main["enabled"] and focus["foreground"] == self.main
                    and focus.get("focus") == self.main and not self.dialogs())
        wait_until(ready, "the main window to have the focus with no dialog open",
                   seen=self.describe)

    def wait_dialog(self, caption, after=(), required_id=None, forbid=()):
        """Waits for a visible dialog of the program owned by the main window with the
        caption (and, if given, a control of required_id) whose handle is not in after.
        A dialog captioned with a text of forbid fails the wait at once."""
        def found():
            for w in self.dialogs():
                if w["text"] in forbid:
                    raise AssertionError(
                        f"expected no {w['text']!r} dialog while waiting for {caption!r}; "
                        f"got {self.describe()}")
                if w["text"] != caption or w["hwnd"] in after or w["owner"] != self.main:
                    continue
                if required_id is not None and required_id not in self.controls(w["hwnd"]):
                    continue
                return w
            return None
        return wait_until(found, f"a dialog {caption!r} owned by the main window",
                          seen=self.describe)

    def wait_focus_on(self, dialog, control_id):
        """Waits until the focus is on the control of the dialog and returns it."""
        def focused():
            control = self.controls(dialog).get(control_id)
            focus = self.probe.focus()
            return control if control and focus.get("focus") == control["hwnd"] else None
        return wait_until(focused, f"the focus on control {control_id} of dialog {dialog}",
                          seen=self.describe)

    def wait_gone(self, hwnd, what):
        wait_until(lambda: not self.probe.window(hwnd)["exists"], f"{what} to close",
                   seen=self.describe)

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"expected tolvi.exe to end within {timeout} s; "
                                 f"it still runs: {self.describe()}") from None

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class TolviTestCase(unittest.TestCase):
    """Each test gets a fresh folder (work/ is the program's working folder) and a
    started-on-demand program, killed at the end if it still runs."""

    probe = None

    @classmethod
    def setUpClass(cls):
        cls.probe = Probe(PROBE_EXE)

    @classmethod
    def tearDownClass(cls):
        cls.probe.close()

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tolvi-e2e-")
        self.work = os.path.join(self.root, "work")
        os.mkdir(self.work)
        self.runs = []
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        self.addCleanup(self._stop_runs)

    def _stop_runs(self):
        for run in self.runs:
            run.stop()

    def new_run(self, folder=None):
        run = Tolvi(self.probe, folder or self.work)
        self.runs.append(run)
        return run

    def start(self, folder=None):
        run = self.new_run(folder)
        run.start()
        return run

    def path(self, name):
        return os.path.join(self.work, name)

    def assert_quiet(self, run, what):
        """Checks over QUIET_SECONDS that the main window keeps the focus and no dialog
        of the program opens."""
        deadline = time.monotonic() + QUIET_SECONDS
        while time.monotonic() < deadline:
            dialogs = run.dialogs()
            self.assertEqual(dialogs, [], f"expected no dialog {what}; got {run.describe()}")
            time.sleep(POLL_SECONDS)

    def quit_with_escape(self, run):
        run.wait_main_focused()
        run.probe.key("Escape")
        code = run.wait_exit()
        self.assertEqual(code, 0, f"expected exit code 0 after Esc; got {code}")

    # The game, as a person plays it.

    def enter_name(self, run, name):
        """Types the name into the name dialog and confirms it with Enter; returns the
        monotonic time just before Enter was pressed."""
        dialog = run.wait_dialog(NAME_CAPTION, required_id=ID_NAME_ENTRY)
        entry = run.wait_focus_on(dialog["hwnd"], ID_NAME_ENTRY)
        self.assertEqual(entry["text"], "", "expected the name entry to start empty")
        self.probe.type(name)
        wait_until(lambda: run.controls(dialog["hwnd"])[ID_NAME_ENTRY]["text"] == name,
                   f"the name entry to read {name!r}", seen=run.describe)
        pressed = time.monotonic()
        self.probe.key("Return")
        run.wait_gone(dialog["hwnd"], "the name dialog")
        return pressed

    def wait_prompt(self, run, slot, after=()):
        """Waits for the typing dialog of the slot (0 to 3), focused on its typing
        field; returns the dialog and its controls."""
        dialog = run.wait_dialog(TYPING_CAPTION, after=after, required_id=ID_TYPING,
                                 forbid=(NAME_CAPTION, RESULT_CAPTION))
        run.wait_focus_on(dialog["hwnd"], ID_TYPING)
        controls = run.controls(dialog["hwnd"])
        label = f"--{slot + 1}--"
        self.assertEqual(controls[ID_SLOT_LABEL]["text"], label,
                         f"expected slot label {label!r}; got {controls[ID_SLOT_LABEL]['text']!r}")
        return dialog, controls

    def answer_prompt(self, run, dialog, text):
        """Types text into the focused typing field and confirms it with Enter."""
        self.probe.type(text)
        self.probe.key("Return")
        run.wait_gone(dialog["hwnd"], "the typing dialog")

    def play_correctly(self, run, line, think_seconds=0.0):
        """Types the four prompts correctly, waiting think_seconds before the first.
        Returns the result dialog and the monotonic times when the first prompt was
        seen, just before the last Enter was sent, and when the result was seen."""
        seen = []
        first_seen = None
        last_sent = None
        for slot in range(4):
            dialog, controls = self.wait_prompt(run, slot, after=seen)
            self.assertEqual(controls[ID_SENTENCE]["text"], line,
                             f"expected the sentence {line!r} in 1004; got "
                             f"{controls[ID_SENTENCE]['text']!r}")
            if slot == 0:
                first_seen = time.monotonic()
                if think_seconds:
                    time.sleep(think_seconds)
            seen.append(dialog["hwnd"])
            last_sent = time.monotonic()
            self.answer_prompt(run, dialog, line)
        result = run.wait_dialog(RESULT_CAPTION, forbid=(NAME_CAPTION,))
        result_seen = time.monotonic()
        return result, first_seen, last_sent, result_seen

    def wait_message_box(self, run):
        """Waits for a message box owned by the main window: a dialog captioned "Tolvi"
        that is not the typing dialog, with no other dialog of the game up. Returns it
        and its texts."""
        def found():
            for w in run.dialogs():
                if w["text"] in (NAME_CAPTION, RESULT_CAPTION, HIGHSCORE_CAPTION):
                    raise AssertionError(f"expected no {w['text']!r} dialog; got {run.describe()}")
                if w["text"] != TYPING_CAPTION:
                    continue
                controls = run.controls(w["hwnd"])
                if ID_TYPING in controls or ID_SLOT_LABEL in controls:
                    raise AssertionError(f"expected no typing dialog; got {run.describe()}")
                return w, [c["text"] for c in controls.values()]
            return None
        return wait_until(found, "a message box 'Tolvi' owned by the main window",
                          seen=run.describe)

    def read_result(self, run, result):
        controls = run.controls(result["hwnd"])
        speed_text = controls[ID_RESULT_SPEED]["text"]
        match = SPEED_TEXT.match(speed_text)
        self.assertIsNotNone(match, f"expected SCORE as 'NN.NN char/60s'; got {speed_text!r}")
        return {"name": controls[ID_RESULT_NAME]["text"],
                "length": controls[ID_RESULT_LENGTH]["text"],
                "speed_text": speed_text,
                "speed": match.group(1),
                "controls": controls}

    # The high-score file.

    def read_table(self):
        with open(self.path("highscore.dat"), "rb") as f:
            data = f.read()
        self.assertEqual(len(data), TABLE_BYTES,
                         f"expected highscore.dat of {TABLE_BYTES} bytes; got {len(data)}")
        return data

    def assert_default_entry(self, data, index):
        entry = data[index * ENTRY_BYTES:(index + 1) * ENTRY_BYTES]
        self.assertEqual(entry, DEFAULT_ENTRY,
                         f"expected entry {index} to be the default entry byte for byte; "
                         f"got {entry!r}")


def entry_fields(data, index):
    """(name, score, date) of one 48-byte entry; texts end at their zero byte."""
    entry = data[index * ENTRY_BYTES:(index + 1) * ENTRY_BYTES]
    name = entry[:16].split(b"\0", 1)[0].decode("cp932")
    score = struct.unpack("<d", entry[16:24])[0]
    date = entry[24:48].split(b"\0", 1)[0].decode("cp932")
    return name, score, date


def parse_date_text(text):
    """The datetime of a date text such as 'Aug 04 07:04:32 1999', or None."""
    match = DATE_TEXT.match(text)
    if not match or match.group(1) not in MONTHS:
        return None
    month = MONTHS.index(match.group(1)) + 1
    day, hour, minute, second, year = (int(g) for g in match.groups()[1:])
    try:
        return datetime.datetime(year, month, day, hour, minute, second)
    except ValueError:
        return None


def main():
    """Runs the calling test module: --tolvi and --probe name the programs, anything
    else goes to unittest. Exits with SKIP_EXIT_CODE when there is no display."""
    global TOLVI_EXE, PROBE_EXE
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--tolvi", default=TOLVI_EXE)
    parser.add_argument("--probe", default=PROBE_EXE)
    args, rest = parser.parse_known_args()
    TOLVI_EXE, PROBE_EXE = os.path.abspath(args.tolvi), os.path.abspath(args.probe)
    if not os.environ.get("DISPLAY"):
        print("no DISPLAY: run under tools/with-wine-display", file=sys.stderr)
        sys.exit(SKIP_EXIT_CODE)
    for path in (TOLVI_EXE, PROBE_EXE):
        if not os.path.isfile(path):
            print(f"missing {path}", file=sys.stderr)
            sys.exit(1)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
