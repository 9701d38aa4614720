"""The zip for Windows users holds what it should, and its program starts."""

import os
import tempfile
import unittest
import zipfile

from harness import DICTIONARY_DEADLINE, Editor, EditorTestCase, wait_until

ZIP = os.environ.get("FORUM_DIST_ZIP", "")


class DistTest(EditorTestCase):
    def test_zip_holds_the_program_the_guide_every_smiley_and_the_dictionaries_and_the_program_starts(self):
        with zipfile.ZipFile(ZIP) as archive:
            names = {name.split("/", 1)[1] for name in archive.namelist() if not name.endswith("/")}
            self.assertIn("forum-editor.exe", names)
            self.assertLessEqual({"user-guide-en.txt", "navod-cs.txt"}, names)
            smileys = {name for name in names if name.startswith("smileys/")}
            self.assertEqual(len(smileys), 17)
            self.assertIn("smileys/wave.png", smileys)
            for dictionary in ("cs_CZ", "en_US"):
                self.assertLessEqual({f"dictionaries/{dictionary}.aff", f"dictionaries/{dictionary}.dic",
                                      f"licenses/{dictionary}-copyright.txt"}, names)
            self.assertLessEqual({"licenses/hunspell-license.txt", "licenses/hunspell-MPL-1.1.txt",
                                  "licenses/GPL-2.txt", "licenses/libxml2-license.txt",
                                  "licenses/utf8proc-license.txt"}, names)

            with tempfile.TemporaryDirectory() as folder:
                archive.extractall(folder)
                top = os.path.join(folder, os.listdir(folder)[0])
                self.editor = Editor(exe=os.path.join(top, "forum-editor.exe"))
                self.addCleanup(self.editor.stop)
                self.editor.start()
                self.editor.type("from the zip")
                self.editor.wait_for_text("from the zip")
                # Its dictionaries are found beside it: the words are checked.
                wait_until(lambda: ("Překlepy: 0", False) in self.editor.status(), timeout=DICTIONARY_DEADLINE,
                           what=f"the words checked (last: {self.editor.status()})")


if __name__ == "__main__":
    unittest.main()
