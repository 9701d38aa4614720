"""The post as it will leave, on the real program: F5 shows the live preview
beside the text, F8 finds an unclosed tag, and a copy of a broken post
warns in the status bar instead of with a box."""

import re
import unittest

from harness import EditorTestCase, KeptSettings, wait_for_clipboard, wait_until

# The status bar's last part, after the counts and the misspelt words.
TAGS = 4


class PreviewTest(EditorTestCase):
    def setUp(self):
        super().setUp()
        kept = KeptSettings(self.editor.env)
        self.addCleanup(kept.restore)

    def wait_for_status(self, part, pattern):
        """The text of a status bar part, once it matches the pattern."""
        def matching():
            text, warning = self.editor.status()[part]
            return (text, warning) if re.fullmatch(pattern, text) else None
        return wait_until(matching, what=f"status part {part} to read {pattern!r} "
                                         f"(last: {self.editor.status()})")

    def test_f5_shows_the_preview_and_a_typed_post_appears_rendered(self):
        editor = self.editor
        editor.start()
        self.assertEqual(editor.layout()["preview"], (0, 0, 0, 0))
        self.assertEqual(editor.preview_text(), "hidden")

        editor.key("F5")
        wait_until(lambda: editor.layout()["preview"] != (0, 0, 0, 0), what="the preview")
        layout = editor.layout()
        preview_left, preview_top, preview_right, preview_bottom = layout["preview"]
        editor_left, editor_top, editor_right, editor_bottom = layout["editor"]
        self.assertEqual(preview_right, layout["client"][2])
        self.assertEqual((preview_top, preview_bottom), (editor_top, editor_bottom))
        self.assertLess(editor_right, preview_left)
        self.assertAlmostEqual(preview_right - preview_left, editor_right - editor_left, delta=1)
        self.assertEqual(editor.probe("focus").strip(), "editor")

        editor.type("Ahoj [b]tucne[/b] a [i]sikmo[/i],")
        editor.key("Return")
        editor.type("[quote]citace[/quote]")
        shown = wait_until(lambda: (lambda t: t if "citace" in t else None)(editor.preview_text()),
                           what="the post in the preview")
        self.assertEqual(shown, "Ahoj tucne a sikmo,\r\nCitace:\r\ncitace\r\n")
        bold, italic = (editor.probe("preview-format", str(shown.index(word))).split()[:2]
                        for word in ("tucne", "sikmo"))
        self.assertEqual(bold, ["1", "0"])
        self.assertEqual(italic, ["0", "1"])

        # The line break is one character, as the forum counts it.
        text, warning = self.wait_for_status(0, r"Znaky: 55 / 60\D?000")
        self.assertFalse(warning)
        parts = editor.status()
        self.assertEqual([parts[1], parts[2], parts[4]], [("Bez značek: 26", False), ("Slova: 5", False),
                                                          ("Tagy: OK", False)])

    def test_f8_selects_the_unclosed_tag(self):
        editor = self.editor
        editor.start()
        editor.type("Prvni radek")
        editor.key("Return")
        editor.type("Druhy [b]x[/b] [quote]bez konce")
        self.wait_for_status(TAGS, re.escape("Tagy: neuzavřený [quote] (řádek 2)"))

        editor.key("F8")
        def selected():
            first, last = (int(n) for n in editor.probe("selection").split())
            return editor.editor_text()[first:last] if last > first else None
        self.assertEqual(wait_until(selected, what="a selection"), "[quote]")
        self.assertEqual(editor.dialogs(), {})

    def test_copy_of_a_broken_post_copies_it_and_warns_in_the_status_bar(self):
        editor = self.editor
        editor.start()
        post = "Ahoj [b][i]x[/b][/i]"
        editor.type(post)
        self.assertEqual(self.wait_for_status(TAGS, re.escape("Tagy: překřížené [b] a [i] (řádek 1)"))[1], False)

        editor.key("ctrl+a", "ctrl+c")
        wait_for_clipboard(post)
        self.assertEqual(self.wait_for_status(TAGS, r"Tagy: .*")[0], "Tagy: překřížené [b] a [i] (řádek 1)")
        wait_until(lambda: editor.status()[TAGS][1], what="the tag part drawn as a warning")
        self.assertEqual(editor.dialogs(), {})


if __name__ == "__main__":
    unittest.main()
