"""Peak memory of the editor after it has opened a document of 1 MiB (or of
the sizes in MiB given as arguments), as a user opens it: Ctrl+O, the file's
name in the open dialog, OK. Each size is opened in an editor of its own, so
that the figures show how memory grows with the document. Run it inside the
test environment (make bench does)."""

import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import harness  # noqa: E402

MIB = 1024 * 1024
OK, FILE_NAME_FIELD = 1, 1148


def write_document(path, size):
    """A long post in RTF: lines of prose in paragraphs, `size` bytes in all."""
    line = ("Forum posts mix words, numbers like 1234 and now and then an address such as "
            "https://forum.example.org/read.php?23,1676166#REPLY.\\par\n")
    head, tail = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Courier New;}}\\f0\n", "}\n"
    body = line * ((size - len(head) - len(tail)) // len(line) + 1)
    with open(path, "w", encoding="ascii") as out:
        out.write(head + body[:size - len(head) - len(tail)] + tail)


def kib(status, field):
    for line in status.splitlines():
        if line.startswith(field + ":"):
            return int(line.split()[1])
    return 0


def measure(size):
    folder = tempfile.mkdtemp(prefix="peak-memory-")
    path = os.path.join(folder, "long-post.rtf")
    write_document(path, size)
    editor = harness.Editor().start()
    try:
        before = open(f"/proc/{editor.process.pid}/status").read()
        started = time.monotonic()
        editor.key("ctrl+o")
        dialog = editor.wait_for_one_dialog()
        editor.fill(dialog, FILE_NAME_FIELD, harness.dos_path(path))
        editor.answer(dialog, OK)
        harness.wait_until(lambda: len(editor.editor_text()) > size // 2, timeout=600, interval=0.5,
                           what="the document to open")
        opened = time.monotonic() - started
        status = open(f"/proc/{editor.process.pid}/status").read()
        print(f"opening a {os.path.getsize(path) / MIB:.2f} MiB RTF document took {opened:.1f} s (with the dialog)")
        print(f"peak memory (VmHWM): {kib(before, 'VmHWM') / 1024:.1f} MiB after start-up, "
              f"{kib(status, 'VmHWM') / 1024:.1f} MiB after opening it")
    finally:
        editor.stop()


def main():
    for mib in (float(arg) for arg in sys.argv[1:] or ["1"]):
        measure(int(mib * MIB))


if __name__ == "__main__":
    main()
