"""Start-up, typing and closing, on the real program."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

from harness import EXE, TITLE, EditorTestCase, KeptSettings, dos_path, find_windows, run, wait_until


class StartupTest(EditorTestCase):
    def test_opens_at_650_by_650_with_its_title_and_the_editor_between_toolbar_and_status_bar(self):
        self.editor.start()

        self.assertEqual(self.editor.probe("title").strip(), TITLE)
        layout = self.editor.layout()
        left, top, right, bottom = layout["window"]
        self.assertEqual((right - left, bottom - top), (650, 650))
        _, toolbar_top, _, toolbar_bottom = layout["toolbar"]
        _, status_top, _, status_bottom = layout["status"]
        client_right, client_bottom = layout["client"][2:]
        self.assertEqual(status_bottom, client_bottom)
        self.assertEqual(layout["editor"], (0, toolbar_bottom - toolbar_top, client_right, status_top))
        self.assertEqual(self.editor.probe("focus").strip(), "editor")

    def test_typed_text_appears_in_the_editor(self):
        self.editor.start()
        self.editor.type("Hello forum, 42 [b]!")
        self.editor.wait_for_text("Hello forum, 42 [b]!")

    def test_closing_the_window_ends_the_process_with_exit_code_0(self):
        self.editor.start()
        self.editor.type("some words")
        self.editor.wait_for_text("some words")
        self.editor.key("alt+F4")
        # Typed words are unsaved work: answer No to the question about them.
        wait_until(lambda: "dialog SAVE" in self.editor.probe("dialogs").splitlines(), what="the save question")
        self.editor.probe("press", "SAVE", "7")
        self.assertEqual(self.editor.wait_for_exit(), 0)

    def test_without_the_rich_edit_library_it_says_so_and_exits_with_an_error(self):
        self.editor.env["WINEDLLOVERRIDES"] = "riched32=d"
        self.editor.start(wait=False)

        box = self.editor.wait_for_window("^Chyba$")  # "Error" in the Czech interface of the test run
        self.editor.focus(box)
        self.editor.key("Return")
        self.assertNotEqual(self.editor.wait_for_exit(), 0)


class StartWithAFileTest(EditorTestCase):
    def test_a_file_named_on_the_command_line_is_the_post_and_names_the_window(self):
        folder = tempfile.mkdtemp(prefix="fe-start-")
        self.addCleanup(shutil.rmtree, folder, True)
        path = os.path.join(folder, "post from the command line.txt")
        with open(path, "w", encoding="utf-8-sig", newline="") as file:
            file.write("[b]Ahoj[/b] f\u00f3rum\r\n")
        kept = KeptSettings(self.editor.env)  # the file becomes a recent one
        self.addCleanup(kept.restore)

        self.editor.start(args=[dos_path(path)], title=f"Editor [{dos_path(path)}]")
        self.editor.wait_for_text("[b]Ahoj[/b] f\u00f3rum\n", normalise_line_ends=True)


class ImportsTest(unittest.TestCase):
    def test_the_spooler_and_the_common_dialogs_load_at_their_first_use_not_with_the_program(self):
        # Wine's spooler asks CUPS about every printer as it loads, and the
        # common dialogs load the spooler: a third of a bare window's start.
        listing = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", EXE], capture_output=True, text=True,
                                 check=True).stdout
        imported = {line.split()[-1].lower() for line in listing.splitlines() if "DLL Name:" in line}
        self.assertIn("user32.dll", imported)
        self.assertFalse(imported & {"winspool.drv", "comdlg32.dll"}, imported)


if __name__ == "__main__":
    unittest.main()
