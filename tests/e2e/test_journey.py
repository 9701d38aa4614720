"""A user's whole journey with the real program, driven only as a user
would: keys, clicks, the menus and the real dialogs. One post is written in
Czech, marked up through every road (shortcut, menu by keyboard, toolbar,
context menu), given a smiley, a colour, a post link and a reflowed
paragraph, saved, reopened, copied, printed and closed."""

import glob
import os
import shutil
import subprocess
import tempfile
import unittest

from harness import EditorTestCase, dos_path, wait_for_clipboard, wait_until

IDM_TAG_ITALIC = 3224
YES, OK = 6, 1
FILE_NAME_FIELD = 1148
COLOR_RED, COLOR_GREEN, COLOR_BLUE = 706, 707, 708
PDF_DIR = os.environ.get("FORUM_PDF_DIR", os.path.expanduser("~/PDF"))

ADDRESS = "https://forum.example.org/read.php?23,1676166,1676237#REPLY"
LINK = "[url]https://forum.example.org/read.php?23,1676166,1676237#msg-1676237[/url]"
SMILEY = "[img]https://forum.example.org/file.php?108,file=399175[/img] "
# Longer than 80 characters, yet short enough to stay on one line of the
# window, so that Shift+Home selects all of it.
LONG_PARAGRAPH = "Tento odstavec je dost dlouhy na to, aby ho editor pro forum zalomil za osmdesati znaky."


def reflowed(paragraph):
    """A single line without addresses breaks at the first space at or past
    each further 80 positions."""
    text = list(paragraph)
    position = paragraph.find(" ", 80)
    while position >= 1:
        text[position] = "\n"
        position = paragraph.find(" ", position + 80)
    return "".join(text)


class JourneyTest(EditorTestCase):
    def setUp(self):
        super().setUp()
        self.folder = tempfile.mkdtemp(prefix="journey-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.post = ""

    # What the user sees grows step by step; check it after every step.
    def expect(self, added):
        self.post += added
        self.editor.wait_for_text(self.post, normalise_line_ends=True)

    def selection_length(self):
        first, last = (int(n) for n in self.editor.probe("selection").split())
        return last - first

    def select_typed(self, text):
        """Types a word and selects it with Shift+Left, waiting for each to
        land before the next keys go out."""
        self.editor.type(text)
        wait_until(lambda: self.editor.editor_text().endswith(text) or text in self.editor.editor_text(),
                   what=f"the typed {text!r}")
        self.editor.key(*["shift+Left"] * len(text))
        wait_until(lambda: self.selection_length() == len(text), what=f"{text!r} selected")

    def open_menu_bar_at(self, moves_right_from_tagy):
        """Opens the "Tagy" menu with Alt+P and walks right along the bar;
        the menu reached is open with its first item highlighted."""
        self.editor.key("alt+p")
        wait_until(lambda: self.editor.probe("popup-menu").strip() == "open", what="the Tagy menu")
        self.editor.key(*["Right"] * moves_right_from_tagy)

    def test_write_mark_up_save_reopen_copy_print_and_close(self):
        editor = self.editor
        editor.env["LANG"] = "cs_CZ.UTF-8"
        editor.start()

        editor.type("Dobrý den, mám dotaz k článku o koních: ")
        self.expect("Dobrý den, mám dotaz k článku o koních: ")

        # A shortcut.
        self.select_typed("důležité")
        editor.key("ctrl+b", "Right")
        self.expect("[b]důležité[/b]")

        # A toolbar button.
        editor.type(" ")
        self.select_typed("nakloněné")
        x, y = editor.probe("toolbar-button", str(IDM_TAG_ITALIC)).split()
        editor.run_xdotool("mousemove", x, y, "click", "1")
        editor.key("Right")
        self.expect(" [i] nakloněné[/i]")

        # A menu opened with the keyboard: Tagy, eighth item "Centr text".
        editor.type(" ")
        self.select_typed("střed")
        editor.key("alt+p")
        wait_until(lambda: editor.probe("popup-menu").strip() == "open", what="the Tagy menu")
        editor.key(*["Down"] * 7, "Return")
        self.expect(" [center]střed[/center]")

        # The context menu: copy the centred word, then paste it on a new line.
        left, top, _, _ = editor.layout()["editor-on-screen"]
        editor.run_xdotool("mousemove", str(left + 40), str(top + 300), "click", "3")
        wait_until(lambda: editor.probe("popup-menu").strip() == "open", what="the context menu")
        editor.key(*["Down"] * 12, "Return")  # COPY
        editor.key("ctrl+End", "Return")
        self.expect("\n")
        editor.run_xdotool("mousemove", str(left + 40), str(top + 300), "click", "3")
        wait_until(lambda: editor.probe("popup-menu").strip() == "open", what="the context menu")
        editor.key(*["Down"] * 14, "Return")  # PASTE
        self.expect("[center]střed[/center]")

        # A smiley from the last menu of the bar, "Smajlici".
        editor.key("ctrl+End")
        self.open_menu_bar_at(5)
        editor.key("Return")
        self.expect(SMILEY)

        # A colour from the colour dialog.
        editor.key("ctrl+End", "Return")
        self.select_typed("barva")
        editor.key("ctrl+d")
        color = editor.wait_for_one_dialog()  # "Color", in the user's language
        for control, value in ((COLOR_RED, "10"), (COLOR_GREEN, "0"), (COLOR_BLUE, "255")):
            editor.fill(color, control, value)
        editor.answer(color, OK)
        self.expect("\n[color=#0A00FF] barva[/color]")

        # A post link.
        editor.key("ctrl+End", "Return")
        editor.type(ADDRESS)
        editor.key("shift+Home", "ctrl+t")
        self.expect("\n" + LINK)

        # A long paragraph reflowed from the last menu but one.
        editor.key("ctrl+End", "Return")
        editor.type(LONG_PARAGRAPH)
        editor.key("shift+Home")
        self.open_menu_bar_at(4)  # "XY napsal", second item "Zarovnani....."
        editor.key("Down", "Return")
        self.expect("\n" + reflowed(LONG_PARAGRAPH))

        # Save as RTF, start anew, and open it again.
        path = os.path.join(self.folder, "journey.rtf")
        editor.key("alt+f", "a")
        save_as = editor.wait_for_one_dialog()
        editor.fill(save_as, FILE_NAME_FIELD, dos_path(path))
        editor.answer(save_as, OK)
        wait_until(lambda: editor.probe("title").strip() == f"Editor [{dos_path(path)}]", what="the saved title")
        self.assertTrue(os.path.getsize(path) > 0)

        editor.key("ctrl+n")
        editor.wait_for_text("")
        self.assertEqual(editor.probe("title").strip(), "Editor [SOUBOR]")

        editor.key("ctrl+o")
        open_dialog = editor.wait_for_one_dialog()
        editor.fill(open_dialog, FILE_NAME_FIELD, dos_path(path))
        editor.answer(open_dialog, OK)
        editor.wait_for_text(self.post, normalise_line_ends=True)

        # Copy everything: the clipboard holds exactly the post.
        editor.key("ctrl+a", "ctrl+c")
        wait_for_clipboard(self.post)

        # Print on the default printer: a PDF with the post's text.
        before = set(glob.glob(os.path.join(PDF_DIR, "*.pdf")))
        editor.key("alt+f", "p")
        pdf = wait_until(lambda: [p for p in glob.glob(os.path.join(PDF_DIR, "*.pdf")) if p not in before],
                         timeout=60, what="the printed PDF")[0]
        self.addCleanup(os.remove, pdf)

        # The printer writes the file as it goes: it is read once it ends
        # as a whole PDF does.
        def printed_text():
            with open(pdf, "rb") as written:
                if not written.read().rstrip().endswith(b"%%EOF"):
                    return None
            result = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True)
            return result.returncode == 0 and result.stdout
        # Lines too long for the page are wrapped on paper; read it as one run.
        printed = wait_until(printed_text, what="the whole PDF").replace("\n", "")
        for piece in ("[b]", "[/b]", "[color=#0A00FF] barva[/color]", "#msg-1676237[/url]", "osmdesati"):
            self.assertIn(piece, printed)
        self.assertLess(printed.index("[b]"), printed.index("barva"))
        self.assertIn("journey", os.path.basename(pdf))

        # Close with unsaved work: the editor asks, Yes saves, and it ends with 0.
        editor.key("ctrl+End")
        editor.type("!")
        self.expect("!")
        saved_before = os.path.getmtime(path)
        editor.key("alt+F4")
        self.assertIn("SAVE?", editor.wait_for_dialog("SAVE"))
        editor.answer("SAVE", YES)
        self.assertEqual(editor.wait_for_exit(), 0)
        self.assertGreaterEqual(os.path.getmtime(path), saved_before)
        self.assertIn(b"!", open(path, "rb").read())


if __name__ == "__main__":
    unittest.main()
