"""Closing the real program: unsaved work is never dropped without a word,
and the exit code is 0 whenever it closes."""

import os
import shutil
import tempfile
import time
import unittest

from harness import EditorTestCase, dos_path, wait_until

SAVE_QUESTION = "SAVE"
YES, NO, CANCEL, OK = 6, 7, 2, 1


class ClosingTest(EditorTestCase):
    def type_and_close(self, text="unsaved words"):
        self.editor.start()
        self.editor.type(text)
        self.editor.wait_for_text(text)
        self.editor.key("alt+F4")
        self.assertIn("SAVE?", self.editor.wait_for_dialog(SAVE_QUESTION))

    def assert_still_running(self, text="unsaved words"):
        time.sleep(1)
        self.editor.assert_running()
        self.assertEqual(self.editor.editor_text(), text)

    def test_an_unmodified_document_closes_at_once_with_exit_code_0(self):
        self.editor.start()
        self.editor.key("alt+F4")
        self.assertEqual(self.editor.wait_for_exit(), 0)

    def test_no_closes_without_saving_with_exit_code_0(self):
        self.type_and_close()
        self.editor.probe("press", SAVE_QUESTION, str(NO))
        self.assertEqual(self.editor.wait_for_exit(), 0)

    def test_cancel_keeps_the_window_and_the_text(self):
        self.type_and_close()
        self.editor.answer(SAVE_QUESTION, CANCEL)
        self.assert_still_running()

    def test_yes_with_a_cancelled_save_dialog_keeps_the_window(self):
        self.type_and_close()
        self.editor.answer(SAVE_QUESTION, YES)
        self.assertIn("SAVE????", self.editor.wait_for_dialog("SAVE ???"))
        self.editor.answer("SAVE ???", OK)
        self.editor.answer(self.editor.wait_for_one_dialog(), CANCEL)  # the Save As dialog
        self.assert_still_running()

    def test_yes_saves_then_closes_with_exit_code_0(self):
        folder = tempfile.mkdtemp(prefix="fe-closing-")
        self.addCleanup(shutil.rmtree, folder, True)
        path = os.path.join(folder, "post.rtf")

        self.type_and_close("kept words")
        self.editor.answer(SAVE_QUESTION, YES)
        self.editor.answer("SAVE ???", OK)
        save_as = self.editor.wait_for_one_dialog()
        self.editor.probe("set-text", save_as, "1148", dos_path(path))
        self.editor.probe("press", save_as, str(OK))

        self.assertEqual(self.editor.wait_for_exit(), 0)
        with open(path, "rb") as saved:
            content = saved.read()
        self.assertTrue(content.startswith(b"{\\rtf"))
        self.assertIn(b"kept words", content)

    def test_a_close_while_the_context_menu_is_open_ends_cleanly(self):
        # As found: the menu runs inside the control's own right-button
        # handler, and a close that came meanwhile freed the control's
        # library under it; the editor crashed once the menu loop returned.
        self.editor.start()
        self.editor.type("unsaved words")
        self.editor.wait_for_text("unsaved words")
        left, top, _, _ = self.editor.layout()["editor-on-screen"]
        self.editor.run_xdotool("mousemove", str(left + 60), str(top + 40), "click", "3")
        wait_until(lambda: self.editor.probe("popup-menu").strip() == "open", what="the context menu")
        self.editor.probe("close")
        self.editor.wait_for_dialog(SAVE_QUESTION)
        self.editor.probe("press", SAVE_QUESTION, str(NO))
        self.assertEqual(self.editor.wait_for_exit(), 0)


if __name__ == "__main__":
    unittest.main()
