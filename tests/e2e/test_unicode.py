"""Every character survives as a user meets it: typed on the keyboard, in a
UTF-8 file as Notepad writes it, and in a file's name."""

import os
import shutil
import tempfile
import unittest

from harness import EditorTestCase, dos_path, wait_until

OK = 1
NAME_FIELD = 1148


class UnicodeTest(EditorTestCase):
    def setUp(self):
        super().setUp()
        self.folder = tempfile.mkdtemp(prefix="fe-unicode-")
        self.addCleanup(shutil.rmtree, self.folder, True)

    def test_typed_emoji_and_cyrillic_arrive_intact(self):
        self.editor.start()
        self.editor.type_without_keys("x😀😀 Привет kůň")
        self.editor.wait_for_text("x😀😀 Привет kůň")

    def test_a_notepad_utf8_file_is_edited_and_saved_byte_exact_where_untouched(self):
        path = os.path.join(self.folder, "poznámky.txt")
        original = "Příliš žluťoučký kůň\r\nПривет 😀\r\n".encode("utf-8")
        with open(path, "wb") as out:
            out.write(original)
        self.editor.start()
        self.editor.key("ctrl+o")
        open_dialog = self.editor.wait_for_one_dialog()
        self.editor.fill(open_dialog, NAME_FIELD, dos_path(path))
        self.editor.answer(open_dialog, OK)
        self.editor.answer("Forum Editor", OK)  # not RTF: opened as text
        self.editor.wait_for_text("Příliš žluťoučký kůň\r\nПривет 😀\r\n")

        self.editor.key("ctrl+End")
        self.editor.type("ř")
        self.editor.key("ctrl+s")
        wait_until(lambda: open(path, "rb").read() == original + "ř".encode("utf-8"),
                   what="the edited file saved as UTF-8")

    def test_a_unicode_file_name_never_lands_on_its_look_alike(self):
        look_alike = os.path.join(self.folder, "prispevek.txt")
        with open(look_alike, "wb") as out:
            out.write(b"someone else's post")
        wanted = os.path.join(self.folder, "přispěvek.txt")
        self.editor.start()
        self.editor.type("my post")
        self.editor.wait_for_text("my post")
        self.editor.key("ctrl+s")
        self.editor.answer("SAVE ???", OK)
        save_as = self.editor.wait_for_one_dialog()
        self.editor.fill(save_as, NAME_FIELD, dos_path(wanted))
        self.editor.answer(save_as, OK)

        wait_until(lambda: os.path.exists(wanted), what="the file under its own name")
        with open(look_alike, "rb") as kept:
            self.assertEqual(kept.read(), b"someone else's post")
        self.assertIn("přispěvek.txt", self.editor.probe("title"))


if __name__ == "__main__":
    unittest.main()
