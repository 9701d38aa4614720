"""Markup through the roads a user takes: shortcuts, toolbar, context menu."""

import unittest

from harness import EditorTestCase, wait_for_clipboard, wait_until

IDM_TAG_BOLD = 3228


class CommandsTest(EditorTestCase):
    def select_typed(self, text):
        self.editor.type(text)
        self.editor.key(*["shift+Left"] * len(text))

    def test_ctrl_b_then_select_all_and_copy_puts_the_post_on_the_clipboard(self):
        self.editor.start()
        self.select_typed("abc")
        self.editor.key("ctrl+b")
        self.editor.wait_for_text("[b]abc[/b]")
        self.editor.key("ctrl+a", "ctrl+c")
        wait_for_clipboard("[b]abc[/b]")

    def test_copying_several_paragraphs_puts_exactly_the_post_on_the_clipboard(self):
        self.editor.start()
        self.editor.type("first line")
        self.editor.key("Return")
        self.editor.type("second line")
        self.editor.key("Return", "Return")
        self.editor.type("[b]last[/b]")
        self.editor.wait_for_text("first line\nsecond line\n\n[b]last[/b]", normalise_line_ends=True)
        self.editor.key("ctrl+a", "ctrl+c")
        wait_for_clipboard("first line\nsecond line\n\n[b]last[/b]")

    def test_a_click_on_the_bold_button_does_what_ctrl_b_does(self):
        self.editor.start()
        self.select_typed("abc")
        x, y = self.editor.probe("toolbar-button", str(IDM_TAG_BOLD)).split()
        self.editor.run_xdotool("mousemove", x, y, "click", "1")
        self.editor.wait_for_text("[b]abc[/b]")

    def test_a_right_click_in_the_editor_opens_the_context_menu(self):
        self.editor.start()
        self.editor.type("text")
        left, top, _, _ = self.editor.layout()["editor-on-screen"]
        self.editor.run_xdotool("mousemove", str(left + 60), str(top + 40), "click", "3")
        wait_until(lambda: self.editor.probe("popup-menu").strip() == "open", what="the context menu")
        self.editor.key("Escape")
        wait_until(lambda: self.editor.probe("popup-menu").strip() == "closed", what="the menu to close")
        self.assertEqual(self.editor.editor_text(), "text")

    def test_each_markup_shortcut_writes_its_tags(self):
        self.editor.start()
        expected = ""
        for key, open_tag, close_tag in [
            ("ctrl+q", "[quote][color=#808040]", "[/color][/quote]"),
            ("ctrl+u", "[url]", "[/url]"),
            ("ctrl+m", "[email]", "[/email]"),
            ("ctrl+w", "[code]\n", "\n[/code]"),
            ("ctrl+i", "[i] ", "[/i]"),
            ("ctrl+h", "[size=30px] ", "[/size]"),
        ]:
            self.select_typed("w")
            self.editor.key(key)
            expected += open_tag + "w" + close_tag
            self.editor.wait_for_text(expected, normalise_line_ends=True)
            self.editor.key("ctrl+End")

    def test_ctrl_t_turns_a_selected_post_address_into_a_link_to_that_post(self):
        self.editor.start()
        self.editor.type("https://forum.example.org/read.php?23,1676166,1676237#REPLY")
        self.editor.key("shift+Home", "ctrl+t")
        link = "[url]https://forum.example.org/read.php?23,1676166,1676237#msg-1676237[/url]"
        self.editor.wait_for_text(link)
        self.editor.key("ctrl+a", "ctrl+c")
        wait_for_clipboard(link)


if __name__ == "__main__":
    unittest.main()
