// What another program leaves on the clipboard, pasted into the real Main
// window: hostile rich text, NULs inside the text.
#include "dialog_automation.h"
#include "editor_fixture.h"

#include "app/settings.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"

#include <algorithm>
#include <cstdio>

namespace {

class PasteTest : public EditorTest {
protected:
    // Empties the clipboard and puts each (format, bytes) on it.
    void put_on_clipboard(std::initializer_list<std::pair<UINT, std::string>> formats)
    {
        ASSERT_TRUE(OpenClipboard(main_window));
        EmptyClipboard();
        for (const auto& [format, bytes] : formats) {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
            memcpy(GlobalLock(block), bytes.data(), bytes.size());
            GlobalUnlock(block);
            SetClipboardData(format, block);
        }
        CloseClipboard();
    }

    static std::string unicode(const std::wstring& text)
    {
        return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
    }

    void command(WORD id) { SendMessageW(main_window, WM_COMMAND, id, 0); }

    void type(const std::string& keys)
    {
        for (unsigned char key : keys)
            SendMessageA(editor, WM_CHAR, key, 0);
    }

    std::wstring status_note() const { return state().parts.status_bar.note; }

    // "HTML Format" as browsers write it: the header's offsets, then the
    // page with the copied fragment between its two comments.
    static std::string cf_html(const std::string& fragment)
    {
        const std::string before = "<html><body><!--StartFragment-->";
        const std::string after = "<!--EndFragment--></body></html>";
        char header[200];
        const int header_size = 105;
        const size_t start = header_size + before.size();
        std::snprintf(header, sizeof header,
                      "Version:0.9\r\nStartHTML:%010d\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\nEndFragment:%010zu\r\n",
                      header_size, start + fragment.size() + after.size(), start, start + fragment.size());
        return std::string(header) + before + fragment + after + '\0';
    }

    // The post in UTF-8, a line feed for each paragraph end.
    std::string post() const
    {
        std::string utf8;
        for (const char c : get_text(editor))
            if (c != '\n' || utf8.empty() || utf8.back() != '\r')
                utf8 += c;
        std::replace(utf8.begin(), utf8.end(), '\r', '\n');
        return utf8;
    }

    bool is_bold(LONG first, LONG last) { return (format_of(first, last).dwEffects & CFE_BOLD) != 0; }

    const UINT rich_text = RegisterClipboardFormatA("Rich Text Format");
    const UINT html_format = RegisterClipboardFormatA("HTML Format");
};

std::string nested_groups(int depth)
{
    return "{\\rtf1" + std::string(static_cast<size_t>(depth - 1), '{') + "deep" +
           std::string(static_cast<size_t>(depth - 1), '}') + "}";
}

} // namespace

// Rich text nested deeper than the control survives reaches it no more from
// the clipboard than from a file: its plain text is pasted, the status bar
// says why, and the control lives on through New and typing.
TEST_F(PasteTest, RichTextNestedTooDeepIsPastedAsPlainText)
{
    put_on_clipboard({{rich_text, nested_groups(40)}, {CF_UNICODETEXT, unicode(L"deep")}});
    set_text("post ");
    select(5, 5);
    without_dialogs([&] { command(IDM_EDIT_PASTE); });
    EXPECT_EQ(text(), "post deep");
    EXPECT_FALSE(status_note().empty());

    with_dialogs([&] { answer_message_box("SAVE", IDNO); }, [&] { command(IDM_FILE_NEW); });
    editor = state().parts.editor;
    type("still here");
    pump_messages();
    EXPECT_EQ(text(), "still here");

    // The same through the control's own message, as another program may send it.
    put_on_clipboard({{rich_text, nested_groups(40)}, {CF_UNICODETEXT, unicode(L"!")}});
    SendMessageW(editor, WM_PASTE, 0, 0);
    type("?");
    EXPECT_EQ(text(), "still here!?");
}

// A NUL in the clipboard's text ends nothing: the text after it is pasted
// too, and the NULs are left out, as Copy leaves them out.
TEST_F(PasteTest, TextAfterANulIsPastedWithoutTheNul)
{
    for (const std::wstring& clipboard : {std::wstring(L"before\0after end", 16), std::wstring(L"\0after end", 10)}) {
        put_on_clipboard({{CF_UNICODETEXT, unicode(clipboard)}});
        set_text("");
        without_dialogs([&] { command(IDM_EDIT_PASTE); });
        EXPECT_EQ(text(), clipboard[0] ? "beforeafter end" : "after end");
    }
}

// A web page's fragment: its formats become markup in its commands' look,
// over the selection, as one undo step; Ctrl+Shift+V takes the text alone.
TEST_F(PasteTest, HtmlIsPastedAsMarkupInOneUndoStep)
{
    put_on_clipboard({{html_format, cf_html("<p>Ahoj <b>tučně</b> a <a href=\"https://a.cz/\">odkaz</a></p>"
                                            "<ul><li>bod</li></ul>")},
                      {CF_UNICODETEXT, unicode(L"Ahoj tučně a odkaz\r\nbod")}});
    set_text("pred [vybrano] za");
    select(5, 14);
    without_dialogs([&] { command(IDM_EDIT_PASTE); });
    EXPECT_EQ(post(), "pred Ahoj [b]tučně[/b] a [url=https://a.cz/]odkaz[/url]\n[list]\n[*]bod\n[/list] za");
    // The bold tag and its text in the bold command's look, the rest plain.
    EXPECT_TRUE(is_bold(10, 22));
    EXPECT_FALSE(is_bold(5, 9));
    EXPECT_EQ(format_of(25, 28).crTextColor, RGB(0, 0, 255)); // "[ur" of the link

    command(IDM_EDIT_UNDO);
    EXPECT_EQ(post(), "pred [vybrano] za");

    select(0, 0);
    without_dialogs([&] { command(IDM_EDIT_PASTE_TEXT); });
    EXPECT_EQ(post(), "Ahoj tučně a odkaz\nbodpred [vybrano] za");
}

// A word processor's rich text without HTML is read by a hidden control:
// its bold and italic runs become markup; its font and size do not stay.
TEST_F(PasteTest, RichTextWithoutHtmlIsPastedAsMarkup)
{
    put_on_clipboard({{rich_text, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                                  "\\f0\\fs40 Ahoj {\\b tu\\u269 ?n\\u253 ? text} a {\\i kurz\\u237 ?va} {\\cf1 red}\\par}"},
                      {CF_UNICODETEXT, unicode(L"Ahoj tučný text a kurzíva red")}});
    set_text("");
    without_dialogs([&] { command(IDM_EDIT_PASTE); });
    EXPECT_EQ(post(), "Ahoj [b]tučný text[/b] a [i]kurzíva[/i] red");
    EXPECT_TRUE(is_bold(5, 22));
    EXPECT_FALSE(is_bold(0, 4));
    EXPECT_STRNE(format_of(0, 4).szFaceName, "Arial");

    // With colours and sizes chosen (and remembered), they come along too.
    command(IDM_PASTE_COLORS_AND_SIZES);
    EXPECT_TRUE(load_settings().paste_colors_and_sizes);
    set_text("");
    without_dialogs([&] { command(IDM_EDIT_PASTE); });
    EXPECT_EQ(post(), "[size=30px]Ahoj [b]tučný text[/b] a [i]kurzíva[/i] [color=#FF0000]red[/color][/size]");
    command(IDM_PASTE_COLORS_AND_SIZES);
    EXPECT_FALSE(load_settings().paste_colors_and_sizes);
}

// Hostile "HTML Format": a header pointing outside its data, nesting far
// too deep. The plain text is pasted and the status bar says why.
TEST_F(PasteTest, HostileHtmlPastesThePlainText)
{
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<div>";
    const std::string broken_header =
        "Version:0.9\r\nStartHTML:0000000000\r\nEndHTML:0000099999\r\nStartFragment:0000000120\r\n"
        "EndFragment:0000099999\r\n<b>x</b>";
    for (const std::string& html : {cf_html(deep + "x"), broken_header}) {
        put_on_clipboard({{html_format, html}, {CF_UNICODETEXT, unicode(L"plain")}});
        set_text("");
        without_dialogs([&] { command(IDM_EDIT_PASTE); });
        EXPECT_EQ(text(), "plain");
        EXPECT_FALSE(status_note().empty());
    }
}
