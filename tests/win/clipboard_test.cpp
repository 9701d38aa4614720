#include "editor_fixture.h"

#include "editor/clipboard.h"
#include "res/resource_ids.h"

namespace {

class ClipboardTest : public EditorTest {
protected:
    void put(UINT format, const void* data, size_t size)
    {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(block), data, size);
        GlobalUnlock(block);
        SetClipboardData(format, block);
    }

    std::string bytes_of(UINT format)
    {
        std::string bytes;
        if (OpenClipboard(main_window)) {
            if (HANDLE block = GetClipboardData(format)) {
                bytes.assign(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
                GlobalUnlock(block);
            }
            CloseClipboard();
        }
        return bytes;
    }
};

} // namespace

TEST_F(ClipboardTest, ThePlainTextIsExactlyThePostWithoutNulsAndTheRichTextIsKept)
{
    const wchar_t stray[] = L"post\0\x0101\x0202";
    const char rtf[] = "{\\rtf1 post}";
    const UINT rich_text = RegisterClipboardFormatA("Rich Text Format");
    ASSERT_TRUE(OpenClipboard(main_window));
    EmptyClipboard();
    put(CF_UNICODETEXT, stray, sizeof stray);
    put(rich_text, rtf, sizeof rtf);
    CloseClipboard();

    put_post_on_clipboard(main_window, std::string("p\0ost \xF0\x9F\x98\x80", 10));

    const std::wstring expected = L"post \xD83D\xDE00";
    EXPECT_EQ(bytes_of(CF_UNICODETEXT),
              std::string(reinterpret_cast<const char*>(expected.c_str()), (expected.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(bytes_of(rich_text), std::string(rtf, sizeof rtf));
}

TEST_F(ClipboardTest, CopyOfSeveralParagraphsLeavesExactlyTheirText)
{
    set_text("first\r\nsecond\r\n\r\n[b]third[/b]");
    SendMessageA(main_window, WM_COMMAND, IDM_EDIT_SELECTALL, 0);
    SendMessageA(main_window, WM_COMMAND, IDM_EDIT_COPY, 0);

    const std::string bytes = bytes_of(CF_UNICODETEXT);
    const std::wstring copied(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    EXPECT_EQ(copied.substr(0, copied.find(L'\0')), L"first\r\nsecond\r\n\r\n[b]third[/b]");
    EXPECT_EQ(copied.find_first_not_of(L'\0', copied.find(L'\0')), std::wstring::npos);
}
