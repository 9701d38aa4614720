"""Find and replace as a user meets it: the shortcut opens the system's
Replace dialog, Replace All changes the whole post, and one Ctrl+Z takes
it all back."""

import unittest

from harness import EditorTestCase, wait_until

FIND_WHAT = 1152
REPLACE_WITH = 1153
REPLACE_ALL = 1025
CANCEL = 2


class FindReplaceTest(EditorTestCase):
    def test_ctrl_shift_h_replace_all_then_ctrl_z(self):
        self.editor.start()
        self.editor.type("A kun, KUN a kun.")
        self.editor.wait_for_text("A kun, KUN a kun.")

        self.editor.key("ctrl+shift+h")
        title = self.editor.wait_for_one_dialog()
        self.editor.fill(title, FIND_WHAT, "kun")
        self.editor.fill(title, REPLACE_WITH, "pes")
        self.editor.probe("press", title, str(REPLACE_ALL))
        self.editor.wait_for_text("A pes, pes a pes.")
        wait_until(lambda: any(text == "Nahrazeno výskytů: 3 v celém příspěvku" for text, _ in self.editor.status()),
                   what="the count of replacements and where in the status bar")

        self.editor.answer(title, CANCEL)
        self.editor.focus()
        self.editor.key("ctrl+z")
        self.editor.wait_for_text("A kun, KUN a kun.")


if __name__ == "__main__":
    unittest.main()
