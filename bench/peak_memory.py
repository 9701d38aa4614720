"""Peak memory of the editor after it has opened a text file of 1 MiB (or of
the sizes in MiB given as arguments), as a user opens it: Ctrl+O, the file's
name in the open dialog, OK; and, in the same run, of Wine's WordPad with the
same file. Each size is opened in an editor of its own, so that the figures
show how memory grows with the document. Run it inside the test environment
(make bench does)."""

import os
import re
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import harness  # noqa: E402

MIB = 1024 * 1024
OK, FILE_NAME_FIELD = 1, 1148


WORDPAD = "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe"


def write_document(path, size):
    """A long post as text: lines of prose in paragraphs, `size` bytes in all."""
    line = ("Forum posts mix words, numbers like 1234 and now and then an address such as "
            "https://forum.example.org/read.php?23,1676166#REPLY.\r\n")
    body = line * (size // len(line) + 1)
    with open(path, "w", encoding="ascii", newline="") as out:
        out.write(body[:size])


def kib(status, field):
    for line in status.splitlines():
        if line.startswith(field + ":"):
            return int(line.split()[1])
    return 0


def measure(size):
    folder = tempfile.mkdtemp(prefix="peak-memory-")
    path = os.path.join(folder, "long-post.txt")
    write_document(path, size)
    editor = harness.Editor().start()
    try:
        before = open(f"/proc/{editor.process.pid}/status").read()
        started = time.monotonic()
        editor.key("ctrl+o")
        dialog = editor.wait_for_one_dialog()
        editor.fill(dialog, FILE_NAME_FIELD, harness.dos_path(path))
        editor.answer(dialog, OK)

        # Under the RTF filter a text file opens as text after a word that says so.
        def opened():
            for title in editor.dialogs():
                editor.answer(title, OK)
            return len(editor.editor_text()) > size // 2
        harness.wait_until(opened, timeout=600, interval=0.5, what="the document to open")
        opened = time.monotonic() - started
        status = open(f"/proc/{editor.process.pid}/status").read()
        print(f"opening a {os.path.getsize(path) / MIB:.2f} MiB text file took {opened:.1f} s (with the dialog)")
        print(f"peak memory (VmHWM): {kib(before, 'VmHWM') / 1024:.1f} MiB after start-up, "
              f"{kib(status, 'VmHWM') / 1024:.1f} MiB after opening it")
    finally:
        editor.stop()
    wordpad = wordpad_peak(path)
    editor_peak = kib(status, 'VmHWM') / 1024
    print(f"WordPad with the same file: {wordpad:.1f} MiB; editor / WordPad {editor_peak / wordpad:.2f} "
          f"(at most 1.0: {'met' if editor_peak <= wordpad else 'not met'})")


def wordpad_peak(path):
    """WordPad's peak memory once it shows the file and its memory has settled."""
    process = subprocess.Popen(["wine", WORDPAD, harness.dos_path(path)], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        harness.wait_until(lambda: harness.find_windows(re.escape(os.path.basename(path))), timeout=600,
                           interval=0.5, what="WordPad to show the file")
        peak, settled = 0, time.monotonic()
        while time.monotonic() - settled < 3:
            now = kib(open(f"/proc/{process.pid}/status").read(), "VmHWM")
            if now != peak:
                peak, settled = now, time.monotonic()
            time.sleep(0.25)
        return peak / 1024
    finally:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait(10)


def main():
    for mib in (float(arg) for arg in sys.argv[1:] or ["1"]):
        measure(int(mib * MIB))


if __name__ == "__main__":
    main()
