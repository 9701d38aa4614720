"""Undo and redo on the real program, and the recovery copy that brings a
post back after the editor was killed."""

import glob
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import Editor, EditorTestCase, dos_path, wait_until

YES, NO, OK = 6, 7, 1
NAME_FIELD = 1148
RECOVERY = "Záložní kopie"  # the Czech interface of the test run


def copies(folder):
    return sorted(glob.glob(os.path.join(folder, "*.draft")))


def body_of(path):
    """The RTF body of a recovery copy."""
    with open(path, "rb") as copy:
        content = copy.read()
    match = re.search(rb"\nbody (\d+)\n", content)
    start = match.end()
    return content[start:start + int(match.group(1))]


class UndoTest(EditorTestCase):
    def test_bold_undone_twice_and_redone_twice(self):
        self.editor.start()
        self.editor.type("hello world")
        self.editor.wait_for_text("hello world")
        self.editor.key(*["shift+Left"] * 5, "ctrl+b")
        self.editor.wait_for_text("hello [b]world[/b]")
        for keys, text in [("ctrl+z", "hello world"), ("ctrl+z", ""), ("ctrl+y", "hello world"),
                           ("ctrl+shift+z", "hello [b]world[/b]")]:
            self.editor.key(keys)
            self.editor.wait_for_text(text)
        self.assertEqual(self.editor.probe("selection").split(), ["6", "18"])

    def test_a_dragged_word_moves_as_one_step(self):
        self.editor.start()
        self.editor.type("alpha beta gamma")
        self.editor.wait_for_text("alpha beta gamma")
        self.editor.key("Home", "ctrl+shift+Right")
        wait_until(lambda: self.editor.probe("selection").split() == ["0", "6"], what="alpha selected")
        start = self.editor.probe("char-point", "2").split()
        end = self.editor.probe("char-point", "16").split()
        self.editor.run_xdotool("mousemove", *start, "mousedown", "1", "sleep", "0.2",
                                "mousemove", *end, "sleep", "0.2", "mouseup", "1")
        self.editor.wait_for_text("beta gammaalpha ")
        for keys, text in [("ctrl+z", "alpha beta gamma"), ("ctrl+y", "beta gammaalpha ")]:
            self.editor.key(keys)
            self.editor.wait_for_text(text)


class RecoveryTest(EditorTestCase):
    def setUp(self):
        super().setUp()
        self.folder = tempfile.mkdtemp(prefix="fe-recovery-test-")
        self.addCleanup(shutil.rmtree, self.folder, True)

    def editor_on(self, folder=None):
        # In a Czech locale, so that the probe reads Czech letters in the editor's code page.
        editor = Editor(env={"LANG": "cs_CZ.UTF-8"}, recovery_folder=folder or self.folder)
        self.addCleanup(editor.stop)
        return editor

    def wait_for_copies(self, count, what="the recovery copies"):
        return wait_until(lambda: len(copies(self.folder)) == count and copies(self.folder),
                          what=what)

    def test_a_killed_editor_gives_its_post_back_byte_exact_and_a_saved_one_nothing(self):
        post = "Dobr\u00fd den, \u017elu\u0165ou\u010dk\u00fd k\u016f\u0148 [b]sk\u00e1kal[/b]!"
        first = self.editor_on().start()
        first.type(post)
        first.wait_for_text(post)
        self.wait_for_copies(1, "the copy, at most 2 s after typing stopped")
        first.stop()  # SIGKILL: no chance to clean up

        second = self.editor_on().start()
        question = second.wait_for_dialog(RECOVERY)
        self.assertTrue(any("Dobr\u00fd den" in line for line in question), question)
        second.answer(RECOVERY, YES)
        second.wait_for_text(post)
        self.assertEqual(self.editor_text_bytes(second), post.encode("cp1250"))

        saved = os.path.join(self.folder, "saved.rtf")
        second.key("ctrl+s")
        second.answer("SAVE ???", OK)
        save_as = second.wait_for_one_dialog()  # in Czech here
        second.fill(save_as, NAME_FIELD, dos_path(saved))
        second.answer(save_as, OK)
        wait_until(lambda: os.path.exists(saved) and not copies(self.folder), what="the save, and the copy gone")
        second.stop()

        third = self.editor_on().start()
        time.sleep(2)
        self.assertEqual(third.dialogs(), {})
        self.assertEqual(third.editor_text(), "")

    def editor_text_bytes(self, editor):
        return editor.editor_text().encode("cp1250")

    def test_two_editors_keep_a_copy_each_and_only_the_one_that_ended_is_offered(self):
        one = self.editor_on().start()
        one.type("from the first")
        one.wait_for_text("from the first")
        other = self.editor_on().start()
        other.type("from the second")
        self.wait_for_copies(2)
        bodies = sorted(b"from the first" in body_of(path) for path in copies(self.folder))
        self.assertEqual(bodies, [False, True])
        second_copy = [path for path in copies(self.folder) if b"from the second" in body_of(path)][0]
        one.stop()

        third = self.editor_on().start(wait=False)
        question = third.wait_for_dialog(RECOVERY)
        self.assertTrue(any("from the first" in line for line in question), question)
        third.answer(RECOVERY, YES)
        # The third editor now keeps the first one's post; the second keeps its own.
        wait_until(lambda: len(copies(self.folder)) == 2 and second_copy in copies(self.folder)
                   and any(b"from the first" in body_of(p) for p in copies(self.folder) if p != second_copy),
                   what="the restored post in a copy of the third editor")
        other.assert_running()

    def test_a_corrupt_copy_is_reported_and_moved_aside(self):
        damaged = os.path.join(self.folder, "4242-0000000000000001.draft")
        with open(damaged, "wb") as out:
            out.write(b"ForumEditorDraft 1\nprocess 4242\nwritten 1\nkind rtf\n\x00\xff garbage")
        editor = self.editor_on().start(wait=False)
        texts = editor.wait_for_dialog(RECOVERY)
        self.assertTrue(any("nelze přečíst" in line for line in texts), texts)
        editor.answer(RECOVERY, OK)
        self.assertFalse(os.path.exists(damaged))
        self.assertTrue(os.path.exists(damaged + ".damaged"))
        editor.assert_running()
        self.assertEqual(editor.editor_text(), "")

    def test_a_read_only_recovery_folder_is_said_once_and_the_post_stays(self):
        folder = os.path.join(self.folder, "read-only")
        os.mkdir(folder)
        if os.geteuid() == 0:
            # Root writes anywhere the permissions say no: mount it read-only.
            subprocess.run(["mount", "-t", "tmpfs", "-o", "ro,size=64k", "tmpfs", folder], check=True)
            self.addCleanup(subprocess.run, ["umount", "-l", folder])
        else:
            os.chmod(folder, 0o555)
        editor = self.editor_on(folder).start()
        editor.type("still here")
        texts = editor.wait_for_dialog(RECOVERY)
        self.assertTrue(any("nelze zapsat" in line for line in texts), texts)
        editor.answer(RECOVERY, OK)
        editor.type(" and more")
        editor.wait_for_text("still here and more")
        # Time for the next copy's try, which fails as silently as it should.
        time.sleep(4)
        self.assertEqual(editor.dialogs(), {})
        self.assertEqual(editor.editor_text(), "still here and more")


if __name__ == "__main__":
    unittest.main()
