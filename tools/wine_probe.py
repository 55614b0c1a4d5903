"""The driver that the end-to-end test, the screenshots and the first-prompt benchmark
share: starts programs under Wine, presses real keys through the X server, and watches
tolvi.exe through probe.exe (built in tests/e2e), polling for what it waits for."""

import json, os, pathlib, select, subprocess, time

START_SECONDS, STEP_SECONDS = 60, 30


def start_wine(exe, folder=None, pipe=subprocess.DEVNULL):
    # Never our own output: Wine's helpers outlive the program and would hold it open.
    return subprocess.Popen(["wine", exe], cwd=folder, bufsize=0, stdin=pipe, stdout=pipe,
                            stderr=subprocess.DEVNULL)


def press(*args):
    """Real key presses through the X server: press("key", "F1"), press("type", "abc"). A
    text with a character that the keyboard lacks goes in through the probe instead: xdotool
    would put it on a spare key only while pressing it, and Wine looks the key up only when
    the program takes it from its queue, which a busy program does too late."""
    if args[0] == "type" and Probe.typist and any(ord(c) > 0x7E for c in args[-1]):
        Probe.typist.ask(f"type {args[-1]}")
        return
    subprocess.run(["xdotool", *args], check=True)


class Probe:
    """probe.exe, watching one run of tolvi.exe at a time."""
    typist = None  # the one that types what xdotool cannot

    def __init__(self, exe):
        self.process = start_wine(exe, pipe=subprocess.PIPE)
        Probe.typist = self

    def ask(self, command="look"):
        self.process.stdin.write(command.encode() + b"\n")
        ready = select.select([self.process.stdout], [], [], START_SECONDS)[0]
        if not (line := ready and self.process.stdout.readline()):
            raise AssertionError(f"expected the probe to answer {command!r}; got nothing")
        return json.loads(line)

    def wait(self, condition, what, seconds=STEP_SECONDS):
        """Polls the focus and the visible windows until condition() of them is true."""
        deadline = time.monotonic() + seconds
        while not (found := condition(self.ask())):
            if time.monotonic() > deadline:
                raise AssertionError(f"expected {what} within {seconds} s; got {self.ask()}")
            time.sleep(0.02)
        return found

    def start(self, exe, folder, watch=lambda windows: None):
        """Starts tolvi.exe and waits for its main window; watch() sees the windows till then."""
        self.tolvi = start_wine(exe, folder)
        main = self.wait(lambda state: watch(state["windows"]) or next(
            (w for w in state["windows"] if w["class"] == "TOLVI"), None), "the main window",
            START_SECONDS)
        self.main, self.thread = main["hwnd"], main["thread"]
        self.wait_main_focused()

    def wait_dialog(self, caption, seen=()):
        """Waits for a new dialog of the main window holding the focus; returns it, its
        controls by id and the control (or the dialog) with the focus."""
        def found(state):
            for w in state["windows"]:
                focus = [c for c in [w] + w["controls"] if c["hwnd"] == state["focus"]]
                if (w["text"], w["owner"], w["hwnd"] in seen, focus != []) == (
                        caption, self.main, False, True):
                    return w, {c["id"]: c for c in w["controls"]}, focus[0]
        return self.wait(found, f"a dialog {caption!r} of the main window with the focus")

    def wait_main_focused(self):
        self.wait(lambda state: (state["focus"], [(w["class"], w["enabled"]) for w in state[
            "windows"] if w["thread"] == self.thread]) == (self.main, [("TOLVI", 1)]),
            "the main window alone, enabled and focused")

    # The player's files, in the folder the program runs in.
    def read_file(self, folder, name):
        return pathlib.Path(folder, name).read_bytes()

    def remove_file(self, folder, name):
        os.remove(os.path.join(folder, name))

    def list_files(self, folder):
        return sorted(os.listdir(folder))

    def make_read_only(self, folder, name):
        """Makes the player's file read-only; for root, whom no mode bars, immutable too.
        Returns what undoes it."""
        path = os.path.join(folder, name)
        os.chmod(path, 0o444)
        if os.geteuid() != 0:
            return lambda: os.chmod(path, 0o644)
        subprocess.run(["chattr", "+i", path], check=True)
        return lambda: subprocess.run(["chattr", "-i", path], check=True)

    def quit(self):
        """Esc in the main window; the exit code."""
        self.wait_main_focused()
        press("key", "Escape")
        return self.tolvi.wait(STEP_SECONDS)

    def close(self):
        Probe.typist = None
        getattr(self, "tolvi", self.process).kill()  # tolvi.exe if still running, else the probe
        self.process.stdin.close()
        self.process.wait(STEP_SECONDS)
        self.process.stdout.close()
