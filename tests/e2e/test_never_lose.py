"""What a user has typed or saved is never lost: New and Open ask first and
Cancel means stay, a text file opened with the default filter stays text,
hostile or endless files are refused, and the editor stays up throughout."""

import os
import shutil
import tempfile
import time
import unittest

from harness import EditorTestCase, dos_path, wait_until

YES, NO, CANCEL, OK = 6, 7, 2, 1
NAME_FIELD = 1148
NOTICE = "Forum Editor"


class NeverLoseTest(EditorTestCase):
    def setUp(self):
        super().setUp()
        self.folder = tempfile.mkdtemp(prefix="fe-never-lose-")
        self.addCleanup(shutil.rmtree, self.folder, True)

    def path(self, name, content=None):
        path = os.path.join(self.folder, name)
        if content is not None:
            with open(path, "wb") as out:
                out.write(content)
        return path

    def fill_file_dialog(self, path):
        """The file's name in the open or save dialog that comes next, with
        its default filter, whatever language Wine gives its title."""
        title = self.editor.wait_for_one_dialog()
        self.editor.fill(title, NAME_FIELD, dos_path(path))
        self.editor.answer(title, OK)

    def open_file(self, path):
        """Ctrl+O, then the file's name in the Open dialog with its default
        (RTF) filter."""
        self.editor.key("ctrl+o")
        self.fill_file_dialog(path)

    def type_words(self, words="typed before"):
        self.editor.type(words)
        self.editor.wait_for_text(words)

    def test_new_then_save_after_an_open_leaves_the_old_file_intact(self):
        old = self.path("a.txt", b"the old post\r\n")
        self.editor.start()
        self.open_file(old)
        self.editor.answer(NOTICE, OK)  # it is not RTF: opened as text
        self.editor.wait_for_text("the old post\r\n")

        self.editor.key("ctrl+n")
        self.type_words("brand new post")
        self.editor.key("ctrl+s")
        self.editor.answer("SAVE ???", OK)
        self.editor.answer(self.editor.wait_for_one_dialog(), CANCEL)  # the Save As dialog
        with open(old, "rb") as kept:
            self.assertEqual(kept.read(), b"the old post\r\n")
        self.assertEqual(self.editor.editor_text(), "brand new post")

    def test_cancel_at_the_save_question_of_new_and_open_keeps_the_text(self):
        self.editor.start()
        self.type_words()
        for keys in ("ctrl+n", "ctrl+o"):
            self.editor.key(keys)
            self.assertIn("SAVE?", self.editor.wait_for_dialog("SAVE"))
            self.editor.answer("SAVE", CANCEL)
            time.sleep(0.5)
            self.assertEqual(self.editor.dialogs(), {})
            self.assertEqual(self.editor.editor_text(), "typed before")

    def test_a_text_file_opened_with_the_rtf_filter_is_kept_and_saved_as_text(self):
        path = self.path("notes.txt", b"line one\r\nline two")
        self.editor.start()
        self.open_file(path)
        self.assertTrue(any("prostý text" in line for line in self.editor.wait_for_dialog(NOTICE)))
        self.editor.answer(NOTICE, OK)
        self.editor.wait_for_text("line one\r\nline two")

        self.editor.key("ctrl+End")
        self.editor.type("!")
        self.editor.key("ctrl+s")
        wait_until(lambda: open(path, "rb").read() == b"line one\r\nline two!", what="the text saved as text")

    def test_save_asks_before_writing_over_what_another_program_added(self):
        path = self.path("shared.txt", b"mine\r\n")
        self.editor.start()
        self.open_file(path)
        self.editor.answer(NOTICE, OK)  # opened as text
        self.editor.wait_for_text("mine\r\n")
        self.editor.key("ctrl+End")
        self.editor.type("more")
        self.editor.wait_for_text("mine\r\nmore")

        with open(path, "ab") as other_program:
            other_program.write(b"theirs\r\n")
        self.editor.key("ctrl+s")
        question = " ".join(self.editor.wait_for_dialog(NOTICE))
        self.assertIn("změnil jiný program od chvíle, kdy byl zde otevřen", question)
        self.editor.answer(NOTICE, CANCEL)
        with open(path, "rb") as kept:
            self.assertEqual(kept.read(), b"mine\r\ntheirs\r\n")
        self.assertEqual(self.editor.editor_text(), "mine\r\nmore")

    def test_hostile_rtf_is_refused_and_the_text_typed_before_stays(self):
        nested = self.path("nested.rtf", b"{\\rtf1" + b"{" * 33 + b"x" + b"}" * 34)
        huge_bin = self.path("picture.rtf")
        with open(huge_bin, "wb") as out:
            size = 30 * 1000 * 1000
            out.write(b"{\\rtf1{\\pict\\bin%d " % size)
            out.write(os.urandom(size))
            out.write(b"}}")
        self.editor.start()
        self.type_words()
        for path in (nested, huge_bin):
            self.editor.key("ctrl+o")
            self.editor.answer("SAVE", NO)
            self.fill_file_dialog(path)
            self.assertTrue(self.editor.wait_for_dialog("Error")[0].startswith("FILE ERROR"))
            self.editor.answer("Error", OK)
            self.editor.assert_running()
            self.assertEqual(self.editor.editor_text(), "typed before")

    def test_a_link_to_dev_zero_is_refused_at_once(self):
        link = self.path("endless.txt")
        os.symlink("/dev/zero", link)
        self.editor.start()
        self.editor.key("ctrl+o")
        open_dialog = self.editor.wait_for_one_dialog()
        self.editor.fill(open_dialog, NAME_FIELD, dos_path(link))
        started = time.monotonic()
        self.editor.answer(open_dialog, OK)
        texts = self.editor.wait_for_dialog("Error")
        refused_after = time.monotonic() - started
        self.assertTrue(texts[0].startswith("FILE ERROR"), texts[0])
        self.assertLess(refused_after, 5.0, "the refusal came only after %.1f s" % refused_after)
        self.editor.answer("Error", OK)
        self.editor.assert_running()


if __name__ == "__main__":
    unittest.main()
