"""End-to-end rig: starts the real forum-editor.exe under Wine on the test
display, drives it with xdotool as a user would, reads the clipboard with
xclip and looks into it with fe-probe.exe. Every process it starts is ended
again by its process id, whatever happens in the test."""

import os
import re
import shutil
import signal
import string
import subprocess
import tempfile
import time
import unittest

EXE = os.environ.get("FORUM_EDITOR_EXE", "")
PROBE = os.environ.get("FORUM_PROBE_EXE", "")
ARTIFACTS = os.environ.get("FORUM_TEST_ARTIFACTS", "")
TITLE = "KLESTOR FORUM EDITOR  by vorlen :)"
PROBE_NOT_FOUND = 2
SETTINGS_KEY = r"HKCU\Software\Forum Editor"


# What keys of the test keyboard carry, and one of them that the tests never
# type otherwise.
KEYBOARD_CHARACTERS = set(string.printable) | set("ěščřžýáíéůúňďť")
TYPING_MARKER = "|"


def run(args, timeout=30, **kwargs):
    return subprocess.run(args, capture_output=True, timeout=timeout, **kwargs)


# How long a test waits for what the editor does within a second or two on
# an idle machine, when other programs keep the machine busy; and for the
# dictionaries, which take several seconds to load even on an idle one.
DEADLINE = 30.0
DICTIONARY_DEADLINE = 60.0


def wait_until(condition, timeout=DEADLINE, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def find_windows(name_regex):
    result = run(["xdotool", "search", "--onlyvisible", "--name", name_regex])
    return [line for line in result.stdout.decode().split() if line]


class Editor:
    """One running editor process. Its recovery copies go to a folder of
    the test's (one of its own, removed when it stops, unless given), never
    to the Wine prefix's profile, where other tests' editors would find them."""

    def __init__(self, env=None, exe=None, recovery_folder=None):
        self.exe = exe or EXE
        self.own_recovery_folder = recovery_folder is None
        self.recovery_folder = recovery_folder or tempfile.mkdtemp(prefix="fe-recovery-")
        self.env = dict(os.environ, FORUM_EDITOR_RECOVERY_FOLDER=dos_path(self.recovery_folder), **(env or {}))
        self.process = None
        self.window = None

    def start(self, wait=True, args=(), title=TITLE):
        """`args` go on the command line; `title` is the one to wait for
        (a file named there gives the window its name at once)."""
        # Another editor's windows may carry the same title.
        self.windows_before = set(find_windows("^" + re.escape(title) + "$"))
        self.process = subprocess.Popen(["wine", self.exe, *args], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
        if wait:
            self.window = self.wait_for_window("^" + re.escape(title) + "$")
            self.focus()
        return self

    def wait_for_window(self, name_regex, timeout=DEADLINE):
        def found():
            self.assert_running()
            windows = [w for w in find_windows(name_regex) if w not in self.windows_before]
            return windows[0] if windows else None
        return wait_until(found, timeout, what=f"a window named {name_regex!r}")

    def assert_running(self):
        if self.process.poll() is not None:
            raise AssertionError(f"the editor ended early with exit code {self.process.returncode}")

    def focus(self, window=None):
        run(["xdotool", "windowfocus", "--sync", window or self.window])

    def key(self, *keys):
        run(["xdotool", "key", "--clearmodifiers", "--delay", "40", *keys])

    def type(self, text, delay_ms=30):
        run(["xdotool", "type", "--delay", str(delay_ms), text], timeout=120)

    def type_without_keys(self, text):
        """Types text of which some characters no key of the test keyboard
        carries (tools/test-env.sh maps the Czech letters). xdotool lends
        such a character a key just before pressing it and takes it back
        after: a Wine slower than that reads the key as nothing, and the
        character is lost. So each one is followed by a marker that a key
        does carry; keys arrive in order, so once the marker is in, the
        character before it is in too, or was lost and is typed again.
        Anything else that arrives fails the test. The caret must be at the
        end of the text."""
        so_far = self.editor_text()
        for piece in re.findall(f"[{re.escape(''.join(KEYBOARD_CHARACTERS))}]+|.", text, re.DOTALL):
            if piece[0] in KEYBOARD_CHARACTERS:
                self.type(piece)
                so_far += piece
                continue
            char = piece
            for _ in range(5):
                self.type(char + TYPING_MARKER)
                arrived = wait_until(lambda: (t := self.editor_text()).endswith(TYPING_MARKER) and t,
                                     what=f"the marker after {char!r}")
                self.key("BackSpace")
                if arrived == so_far + char + TYPING_MARKER:
                    so_far += char
                    break
                if arrived != so_far + TYPING_MARKER:
                    raise AssertionError(f"typing {char!r} after {so_far!r} gave {arrived!r}")
            else:
                raise AssertionError(f"{char!r} was lost five times")
        self.wait_for_text(so_far)

    def click(self, x, y, button=1, window=None):
        """Clicks at client-independent coordinates inside the X window."""
        self.run_xdotool("mousemove", "--window", window or self.window, str(x), str(y),
                         "click", str(button))

    def run_xdotool(self, *args):
        run(["xdotool", *args])

    def probe(self, *args, window_may_be_gone=False, encoding="utf-8"):
        result = run(["wine", PROBE, *args], env=self.env)
        if result.returncode == PROBE_NOT_FOUND and window_may_be_gone:
            return None
        if result.returncode != 0:
            raise AssertionError(f"fe-probe {' '.join(args)} failed with {result.returncode}")
        return result.stdout.decode(encoding)

    def status(self):
        """The status bar's parts as (text, drawn as a warning)."""
        parts = []
        for line in self.probe("status", encoding="utf-8").splitlines():
            kind, _, text = line.partition(" ")
            parts.append((text, kind == "warning"))
        return parts

    def preview_text(self):
        return self.probe("preview-text", encoding="utf-8")

    def editor_text(self):
        return self.probe("editor-text")

    def wait_for_text(self, expected, timeout=DEADLINE, normalise_line_ends=False):
        def current():
            text = self.editor_text()
            return text.replace("\r\n", "\n") if normalise_line_ends else text
        wait_until(lambda: current() == expected, timeout,
                   what=f"editor text {expected!r} (last: {current()!r})")

    def dialogs(self):
        """The editor's open dialogs and message boxes: title -> their texts."""
        found, title = {}, None
        # A dialog that closed the program with it is closed all the same.
        for line in (self.probe("dialogs", window_may_be_gone=True) or "").splitlines():
            kind, _, value = line.partition(" ")
            if kind == "dialog":
                title = value
                found[title] = []
            elif kind == "text" and title is not None:
                found[title].append(value)
            elif title is not None and found[title]:
                found[title].append(line)  # the next line of a text of several
        return found

    def wait_for_dialog(self, title):
        """The texts of the dialog, once it is open."""
        return wait_until(lambda: self.dialogs().get(title), what=f"the dialog {title!r}")

    def wait_for_one_dialog(self):
        """The title of the one dialog that opens next, whatever the
        language Wine gives the common dialogs."""
        return wait_until(lambda: next(iter(self.dialogs()), None), what="a dialog")

    def fill(self, title, control, text):
        """Types text into a control of the open dialog."""
        self.wait_for_dialog(title)
        self.probe("set-text", title, str(control), text)

    def answer(self, title, button):
        """Presses a button of the dialog and waits until it has closed."""
        self.wait_for_dialog(title)
        self.probe("press", title, str(button))
        wait_until(lambda: title not in self.dialogs(), what=f"the dialog {title!r} to close")

    def layout(self):
        rects = {}
        for line in self.probe("layout").splitlines():
            name, *numbers = line.split()
            rects[name] = tuple(int(n) for n in numbers)
        return rects

    def wait_for_exit(self, timeout=DEADLINE):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the editor did not end")

    def stop(self):
        """Ends the process we started, by its id, if it still runs."""
        if self.process and self.process.poll() is None:
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.process.wait(10)
        if self.own_recovery_folder:
            shutil.rmtree(self.recovery_folder, True)


class KeptSettings:
    """The editor's values in the registry of the test's Wine prefix, put
    back as they were by restore(), so that no test leaves the preview shown
    or a limit set for the tests after it."""

    def __init__(self, env):
        self.env = env
        query = run(["wine", "reg", "query", SETTINGS_KEY], env=env)
        self.values = []
        for line in query.stdout.decode(errors="replace").splitlines():
            fields = line.split()
            if len(fields) == 3 and fields[1] == "REG_DWORD":
                self.values.append((fields[0], str(int(fields[2], 16))))

    def restore(self):
        run(["wine", "reg", "delete", SETTINGS_KEY, "/f"], env=self.env)
        for name, value in self.values:
            run(["wine", "reg", "add", SETTINGS_KEY, "/v", name, "/t", "REG_DWORD", "/d", value, "/f"],
                env=self.env)


def dos_path(unix_path):
    """The path as the Windows program sees it, on Wine's drive Z:."""
    return "Z:" + unix_path.replace("/", "\\")


def clipboard():
    result = run(["xclip", "-o", "-selection", "clipboard"], timeout=5)
    return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None


def wait_for_clipboard(expected, timeout=DEADLINE):
    """The X clipboard follows Wine's about a second later: poll it until the
    post has arrived, then read it a few more times, since each read renders
    the text anew and must hold exactly the post every time."""
    def arrived():
        text = clipboard()
        return text is not None and text[:len(expected)] == expected
    wait_until(arrived, timeout, what=f"clipboard {expected!r} (last: {clipboard()!r})")
    for _ in range(3):
        text = clipboard()
        if text != expected:
            raise AssertionError(f"clipboard holds {text!r}, expected exactly {expected!r}")


def screenshot(name):
    if not ARTIFACTS:
        return None
    os.makedirs(ARTIFACTS, exist_ok=True)
    path = os.path.join(ARTIFACTS, f"{name}.png")
    run(["import", "-window", "root", path])
    return path


def forget_settings():
    """The editor's values in the registry go, as before its very first start.
    The run's tests share one Wine prefix: a test program that ctest ended
    at its time limit never put back what it changed (spelling off, a
    character limit, the preview shown)."""
    run(["wine", "reg", "delete", SETTINGS_KEY, "/f"])


class EditorTestCase(unittest.TestCase):
    """Gives each test an `editor` that is always stopped, and keeps a
    screenshot of the screen when the test fails (taken before the editor
    is stopped, so that the failure can be seen). The tests of a class
    begin where a user's first start does."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        forget_settings()

    def setUp(self):
        self.editor = Editor()
        self.addCleanup(self.editor.stop)
        self.addCleanup(self._screenshot_on_failure)

    def _screenshot_on_failure(self):
        result = getattr(getattr(self, "_outcome", None), "result", None)
        failed = result is not None and any(test is self for test, _ in result.failures + result.errors)
        if failed:
            path = screenshot(self.id())
            if path:
                print(f"screenshot kept: {path}")
