// Find and replace on the real Main window: the searches the Edit menu's
// commands and the system's dialogs run, and what they change.
#include "dialog_automation.h"
#include "editor_fixture.h"

#include <dlgs.h>

#include <string>
#include <utility>

#include "app/main_window_state.h"
#include "editor/editor_text.h"
#include "editor/insert_format.h"
#include "res/resource_ids.h"
#include "text/unicode_text.h"
#include "win/messages.h"

namespace {

class FindReplaceTest : public EditorTest {
protected:
    void command(WORD id) { SendMessageW(main_window, WM_COMMAND, id, 0); }

    void show_post(std::u16string_view post)
    {
        select(0, -1);
        replace_selection_utf16(editor, post);
        select(0, 0);
    }

    using Range = std::pair<LONG, LONG>;
    Range selected() const { return {selection().cpMin, selection().cpMax}; }

    // F3 with this search, as the dialog would have left it.
    Range find(std::u16string_view pattern, bool match_case, bool whole_word = false)
    {
        state().search.last = {std::u16string(pattern), match_case, whole_word, true};
        command(IDM_FIND_NEXT);
        return selected();
    }

    static void click(HWND dialog, int button)
    {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    }

    std::string note() const
    {
        const std::wstring& note = state().parts.status_bar.note;
        return utf16_to_utf8(std::u16string(note.begin(), note.end()));
    }
};

TEST_F(FindReplaceTest, IgnoresTheCaseOfCzechLettersAndEmojiOnlyWhenAsked)
{
    show_post(u"😀 KŮŇ kůň 😀x");
    EXPECT_EQ(find(u"kůň", false), (Range{3, 6}));
    select(0, 0);
    EXPECT_EQ(find(u"kůň", true), (Range{7, 10}));
    select(0, 0);
    EXPECT_EQ(find(u"😀X", false), (Range{11, 14}));
}

TEST_F(FindReplaceTest, AWholeWordIsNoPartOfALongerOne)
{
    show_post(u"kůňský kůň");
    EXPECT_EQ(find(u"kůň", false, true), (Range{7, 10}));
}

TEST_F(FindReplaceTest, WrapsAtTheEndWithANoteAndSaysWhatItDidNotFind)
{
    show_post(u"ab cd ab");
    select(8, 8);
    EXPECT_EQ(find(u"ab", true), (Range{0, 2}));
    EXPECT_EQ(note(), load_program_text(IDS_FIND_WRAPPED_TO_START));

    MessageBoxSeen seen;
    with_dialogs([&] { seen = answer_message_box("Hledat", IDOK); }, [&] { find(u"zz", true); });
    EXPECT_NE(seen.text.find("zz"), std::string::npos);
    EXPECT_EQ(selected(), (Range{0, 2}));
    EXPECT_EQ(get_text_utf16(editor), u"ab cd ab");
}

TEST_F(FindReplaceTest, ReplacePutsPlainTextForTheSelectedMatchAndFindsTheNext)
{
    show_post(u"a kůň b kůň");
    select(2, 5);
    apply_insert_format(editor, LINK_FORMAT);
    // The selection is what the dialog offers to find.
    command(IDM_REPLACE);
    HWND dialog = state().search.dialog.window;
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, edt2, L"pes");
    click(dialog, psh1);
    EXPECT_EQ(get_text_utf16(editor), u"a pes b kůň");
    EXPECT_EQ(selected(), (Range{8, 11}));
    EXPECT_EQ(format_of(2, 5).crTextColor, RGB(0, 0, 0));

    command(IDM_EDIT_UNDO);
    EXPECT_EQ(get_text_utf16(editor), u"a kůň b kůň");
    click(dialog, IDCANCEL);
}

// Wine's dialog would pass its text through the ANSI code page.
TEST_F(FindReplaceTest, ReplaceAllInTheDialogTakesItsTextWholeAndIsOneUndoStep)
{
    const std::u16string post = u"Kůň a KŮŇ.\r\nkůň";
    show_post(post);
    // A format between the matches stays.
    select(4, 5);
    apply_insert_format(editor, LINK_FORMAT);
    select(0, 0);
    command(IDM_REPLACE);
    HWND dialog = state().search.dialog.window;
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, edt1, L"kůň");
    SetDlgItemTextW(dialog, edt2, L"🐎");
    click(dialog, psh2);
    EXPECT_EQ(get_text_utf16(editor), u"🐎 a 🐎.\r\n🐎");
    EXPECT_EQ(format_of(3, 4).crTextColor, LINK_FORMAT.color);
    EXPECT_EQ(note(), format_program_text(IDS_REPLACED_COUNT, {"3"}));

    command(IDM_EDIT_UNDO);
    EXPECT_EQ(get_text_utf16(editor), post);
    click(dialog, IDCANCEL);
}

} // namespace
