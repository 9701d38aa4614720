"""Spell checking on the real program, as a user meets it: a Czech post
with two typos and an English word is typed, red zigzags stand under the
typos only, one typo is mended from the context menu, the other is added to
the personal dictionary, and after a restart that word is still accepted."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

from harness import DICTIONARY_DEADLINE, Editor, EditorTestCase, KeptSettings, dos_path, run, wait_until

POST = "Dobrý den, posílám prispevek s chibou o release."
TYPOS = ("prispevek", "chibou")
RC_FILE = os.path.join(os.environ.get("FORUM_SOURCE_DIR", "."), "res", "forum-editor.rc")


def context_menu_items():
    """The items of the editor's own context menu that Up passes over from
    the bottom, read from the resource script (separators are skipped)."""
    with open(RC_FILE, encoding="utf-8") as rc:
        popup = rc.read().split("MYPOPUP MENU", 1)[1].split("\nEND", 1)[0]
    return len(re.findall(r'MENUITEM "', popup))


class SpellingTest(EditorTestCase):
    def setUp(self):
        super().setUp()
        self.folder = tempfile.mkdtemp(prefix="spelling-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.env = {"FORUM_EDITOR_PERSONAL_DICTIONARY": dos_path(os.path.join(self.folder, "dictionary.txt"))}
        self.editor = Editor(env=self.env)
        self.addCleanup(self.editor.stop)
        kept = KeptSettings(self.editor.env)
        self.addCleanup(kept.restore)
        # Checking while typing is on, as on a first start.
        run(["wine", "reg", "delete", r"HKCU\Software\Forum Editor", "/v", "SpellCheckWhileTyping", "/f"],
            env=self.editor.env)

    def misspellings(self, count):
        wait_until(lambda: any(text == f"Překlepy: {count}" for text, _ in self.editor.status()),
                   timeout=DICTIONARY_DEADLINE, what=f"Překlepy: {count} (last: {self.editor.status()})")

    def word_box(self, word):
        """The screen rectangle of the word's line, from its first letter to its end."""
        start = self.editor.editor_text().index(word)
        x0, y0 = (int(n) for n in self.editor.probe("char-point", str(start)).split())
        x1, _ = (int(n) for n in self.editor.probe("char-point", str(start + len(word))).split())
        return x0, y0, x1, y0 + 18

    def red_pixels(self, box):
        x0, y0, x1, y1 = box
        shot = os.path.join(self.folder, "shot.txt")
        subprocess.run(["import", "-window", "root", "-crop", f"{x1 - x0}x{y1 - y0}+{x0}+{y0}", "+repage",
                        "-depth", "8", "txt:" + shot], check=True, capture_output=True)
        with open(shot) as pixels:
            return sum(1 for line in pixels
                       if (m := re.search(r"\((\d+),(\d+),(\d+)", line))
                       and int(m[1]) > 180 and int(m[2]) < 80 and int(m[3]) < 80)

    def open_context_menu_on(self, word):
        x0, y0, x1, _ = self.word_box(word)
        self.editor.run_xdotool("mousemove", str((x0 + x1) // 2), str(y0 + 4), "click", "3")
        wait_until(lambda: self.editor.probe("popup-menu").strip() == "open", what="the context menu")

    def test_typos_are_marked_mended_and_added_for_good(self):
        editor = self.editor
        editor.start()
        editor.type(POST + " ")
        self.misspellings(2)
        wait_until(lambda: all(self.red_pixels(self.word_box(typo)) > 3 for typo in TYPOS),
                   what="red zigzags under both typos")
        for word in ("posílám", "release"):
            self.assertEqual(self.red_pixels(self.word_box(word)), 0, word)

        # The first suggestion for the second typo.
        self.open_context_menu_on("chibou")
        editor.key("Down", "Return")
        self.misspellings(1)
        text = editor.editor_text()
        self.assertNotIn("chibou", text)
        self.assertTrue(text.startswith("Dobrý den, posílám prispevek s "), text)

        # "Přidat do slovníku" stands just above "Ignorovat vše", the separator
        # and the editor's own items; Up starts from the bottom.
        self.open_context_menu_on("prispevek")
        editor.key(*["Up"] * (context_menu_items() + 2), "Return")
        self.misspellings(0)
        editor.stop()

        restarted = Editor(env=self.env)
        self.addCleanup(restarted.stop)
        self.editor = restarted
        restarted.start()
        restarted.type("Ten prispevek je hotov. ")
        self.misspellings(0)
        self.assertEqual(self.red_pixels(self.word_box("prispevek")), 0)


if __name__ == "__main__":
    unittest.main()
