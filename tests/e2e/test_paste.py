"""A web page's HTML on the X clipboard, as a browser leaves it there, is
pasted as the post's markup, and the post that Ctrl+A, Ctrl+C copies holds
that markup."""

import subprocess
import unittest

from harness import EditorTestCase, clipboard, wait_until

HTML = ('<meta charset="utf-8"><p>Ahoj <b>tučně</b> a <a href="https://forum.example.org/">fórum</a></p>'
        '<ul><li>první</li><li>druhý</li></ul>')
POST = ("Ahoj [b]tučně[/b] a [url=https://forum.example.org/]fórum[/url]\n"
        "[list]\n[*]první\n[*]druhý\n[/list]")


class PasteTest(EditorTestCase):
    def serve_clipboard(self, target, data):
        """xclip serves the clipboard in the foreground until it is ended by
        its id, or another program takes the clipboard over."""
        server = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-t", target, "-i"],
                                  stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        server.stdin.write(data.encode("utf-8"))
        server.stdin.close()
        self.addCleanup(lambda: (server.poll() is None and server.kill(), server.wait()))

    def test_html_from_the_clipboard_becomes_markup(self):
        self.editor.start()
        self.serve_clipboard("text/html", HTML)
        self.editor.key("ctrl+v")
        self.editor.wait_for_text(POST, normalise_line_ends=True)

        self.editor.key("ctrl+a", "ctrl+c")
        wait_until(lambda: (clipboard() or "").replace("\r\n", "\n") == POST,
                   what=f"the post on the clipboard (last: {clipboard()!r})")


if __name__ == "__main__":
    unittest.main()
