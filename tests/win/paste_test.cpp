// What another program leaves on the clipboard, pasted into the real Main
// window: hostile rich text, NULs inside the text.
#include "dialog_automation.h"
#include "editor_fixture.h"

#include "res/resource_ids.h"

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

    const UINT rich_text = RegisterClipboardFormatA("Rich Text Format");
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
