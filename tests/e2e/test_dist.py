"""The zip for Windows users holds what it should, and its program starts."""

import os
import tempfile
import unittest
import zipfile

from harness import Editor, EditorTestCase

ZIP = os.environ.get("FORUM_DIST_ZIP", "")


class DistTest(EditorTestCase):
    def test_zip_holds_the_program_the_guide_and_every_smiley_and_the_program_starts(self):
        with zipfile.ZipFile(ZIP) as archive:
            names = {name.split("/", 1)[1] for name in archive.namelist() if not name.endswith("/")}
            self.assertIn("forum-editor.exe", names)
            self.assertIn("user-guide.txt", names)
            smileys = {name for name in names if name.startswith("smileys/")}
            self.assertEqual(len(smileys), 17)
            self.assertIn("smileys/wave.png", smileys)

            with tempfile.TemporaryDirectory() as folder:
                archive.extractall(folder)
                top = os.path.join(folder, os.listdir(folder)[0])
                self.editor = Editor(exe=os.path.join(top, "forum-editor.exe"))
                self.addCleanup(self.editor.stop)
                self.editor.start()
                self.editor.type("from the zip")
                self.editor.wait_for_text("from the zip")


if __name__ == "__main__":
    unittest.main()
