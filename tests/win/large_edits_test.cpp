// Large edits on the real control: long texts going in a slice at a time,
// and the one facility that shows a long operation to the user.
#include "editor_fixture.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/long_operation.h"
#include "app/main_window_state.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"
#include "text/history/edit_pieces.h"
#include "text/unicode/unicode_text.h"
#include "win/messages.h"

namespace {

class SlicedTextTest : public BareEditorTest {};

// Lines of letters up to `length` units, the last one as long as it fits.
void add_lines_up_to(std::u16string& text, std::size_t length)
{
    while (text.size() + 2 < length)
        text += std::u16string(std::min<std::size_t>(78, length - text.size() - 2), u'ř') + u"\r\n";
    text.append(length - text.size(), u'x');
}

// The first slice would end between a CR and its LF, the second between
// the halves of an emoji; the text must come out as it went in.
TEST_F(SlicedTextTest, ALongTextGoesInExactlyAsOneReplacementWouldPutIt)
{
    std::u16string text;
    add_lines_up_to(text, INSERT_SLICE - 1);
    text += u"\r\n"; // the CR ends the first slice's room
    const std::size_t second = INSERT_SLICE - 1;
    add_lines_up_to(text, second + INSERT_SLICE - 1);
    text += u"😀 end"; // its first half ends the second slice's room
    replace_selection_utf16(editor, u"ab");
    select(1, 2);
    replace_selection_in_slices(editor, text);
    EXPECT_EQ(get_text_utf16(editor), u"a" + text);
    EXPECT_EQ(selection().cpMin, static_cast<LONG>(text.size()) + 1);
    // A CR and an LF put in apart read as one break, but make two paragraphs.
    const Piece document{PieceKind::rtf, 0, get_rtf(editor, false).value_or(""), "", ""};
    const Piece inserted{PieceKind::text, 0, utf16_to_utf8(text), "", ""};
    // The document's RTF ends its last paragraph with a break of its own.
    EXPECT_EQ(paragraph_breaks(std::vector<Piece>{document}), paragraph_breaks(std::vector<Piece>{inserted}) + 1);
}

HCURSOR wait_cursor()
{
    return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
}

HCURSOR arrow_cursor()
{
    return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
}

// The cursor shown while the control took a paste.
HCURSOR g_cursor_while_pasting = nullptr;

LRESULT CALLBACK note_cursor_while_pasting(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                           DWORD_PTR)
{
    if (message == WM_PASTE || message == EM_SETTEXTEX || message == EM_STREAMIN || message == EM_REPLACESEL)
        g_cursor_while_pasting = GetCursor();
    return DefSubclassProc(window, message, wparam, lparam);
}

// The long operation's clock, set by the test.
ULONGLONG g_now = 0;
ULONGLONG test_clock() { return g_now; }

class LongOperationTest : public EditorTest {
protected:
    std::string note() const
    {
        const std::wstring& note = state().parts.status_bar.note;
        return utf16_to_utf8(std::u16string(note.begin(), note.end()));
    }
};

// A paste into an empty post is judged by what the clipboard holds.
TEST_F(LongOperationTest, APasteThatMayTakeLongShowsTheWaitCursorInAnEmptyPost)
{
    put_text_on_clipboard(main_window, std::wstring(30000, L'x'));
    SetCursor(arrow_cursor());
    g_cursor_while_pasting = nullptr;
    SetWindowSubclass(editor, note_cursor_while_pasting, 1, 0);
    SendMessageW(main_window, WM_COMMAND, IDM_EDIT_PASTE, 0);
    RemoveWindowSubclass(editor, note_cursor_while_pasting, 1);
    EXPECT_EQ(text_length(), 30000);
    EXPECT_EQ(g_cursor_while_pasting, wait_cursor());
    EXPECT_EQ(GetCursor(), arrow_cursor());
}

// Short work shows nothing; past 150 ms the wait cursor, past 2 s the
// progress, which goes again with the operation.
TEST_F(LongOperationTest, ShowsTheWaitCursorPast150MsAndTheProgressPast2s)
{
    SetCursor(arrow_cursor());
    g_now = 1000;
    {
        LongOperation busy(state(), LongWork::undoing, 0, test_clock);
        busy.progress()(0, 100);
        g_now += 100;
        busy.progress()(10, 100);
        EXPECT_EQ(GetCursor(), arrow_cursor());
        g_now += WAIT_CURSOR_AFTER_MS;
        busy.progress()(20, 100);
        EXPECT_EQ(GetCursor(), wait_cursor());
        EXPECT_EQ(note(), "");
        g_now += PROGRESS_AFTER_MS;
        busy.progress()(50, 100);
        EXPECT_EQ(note(), load_program_text(IDS_WORKING_UNDOING) + " 50 %");
    }
    EXPECT_EQ(note(), "");
    EXPECT_EQ(GetCursor(), arrow_cursor());

    // Work judged long beforehand shows the cursor at once.
    LongOperation busy(state(), LongWork::pasting, 0, test_clock);
    busy.progress()(0, WORK_WORTH_WAITING);
    EXPECT_EQ(GetCursor(), wait_cursor());
}

} // namespace
