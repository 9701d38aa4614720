// Find and replace on the real Main window: the searches the Edit menu's
// commands and the system's dialogs run, and what they change.
#include "dialog_automation.h"
#include "editor_fixture.h"

#include <dlgs.h>

#include <optional>
#include <string>
#include <utility>

#include "app/main_window_state.h"
#include "editor/editor_text.h"
#include "editor/insert_format.h"
#include "res/resource_ids.h"
#include "text/unicode/unicode_text.h"
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

    // The Replace box, open with these texts in it.
    HWND open_replace_box(const wchar_t* find_what, const wchar_t* replace_with)
    {
        command(IDM_REPLACE);
        HWND dialog = state().search.dialog.window;
        EXPECT_NE(dialog, nullptr);
        SetDlgItemTextW(dialog, edt1, find_what);
        SetDlgItemTextW(dialog, edt2, replace_with);
        return dialog;
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
    HWND dialog = open_replace_box(L"kůň", L"🐎");
    ASSERT_NE(dialog, nullptr);
    click(dialog, psh2);
    EXPECT_EQ(get_text_utf16(editor), u"🐎 a 🐎.\r\n🐎");
    EXPECT_EQ(format_of(3, 4).crTextColor, LINK_FORMAT.color);
    EXPECT_EQ(note(), format_program_text(IDS_REPLACED_COUNT, {"3"}) + " " + load_program_text(IDS_REPLACED_IN_POST));

    command(IDM_EDIT_UNDO);
    EXPECT_EQ(get_text_utf16(editor), post);
    click(dialog, IDCANCEL);
}

// As found, a longer selection was cut to 1,023 characters without a word.
TEST_F(FindReplaceTest, ASelectionLongerThanTheBoxTakesIsNotPutInAndANoteSaysSo)
{
    show_post(std::u16string(1500, u'x'));
    state().search.dialog.last_find = L"last";
    select(0, 1024);
    command(IDM_FIND);
    HWND dialog = state().search.dialog.window;
    ASSERT_NE(dialog, nullptr);
    wchar_t offered[32]{};
    GetDlgItemTextW(dialog, edt1, offered, 32);
    EXPECT_EQ(std::wstring(offered), L"last");
    EXPECT_EQ(note(), load_program_text(IDS_FIND_SELECTION_TOO_LONG));
    click(dialog, IDCANCEL);

    // The most the box takes is still put in whole.
    select(0, 1023);
    command(IDM_FIND);
    dialog = state().search.dialog.window;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(dialog, edt1)), 1023);
    click(dialog, IDCANCEL);
}

// Replace All builds its result once, whatever the formats: the words
// around keep theirs, each replacement takes its match's, and one undo
// gives back the post exactly.
TEST_F(FindReplaceTest, ReplaceAllKeepsEveryFormatAndGivesEachReplacementItsMatchs)
{
    const std::u16string post = u"a kůň b kůň c kůň\r\nkůň d";
    show_post(post);
    select(8, 11); // the second "kůň"
    apply_insert_format(editor, {.bold = true});
    select(6, 7); // "b"
    apply_insert_format(editor, LINK_FORMAT);
    select(15, 17); // "ůň" of the third: the match's first character counts
    apply_insert_format(editor, {.italic = true});
    select(0, 0);
    const std::optional<std::string> rtf_before = get_rtf(editor, false);

    HWND dialog = open_replace_box(L"kůň", L"pes");
    ASSERT_NE(dialog, nullptr);
    click(dialog, psh2);

    EXPECT_EQ(get_text_utf16(editor), u"a pes b pes c pes\r\npes d");
    struct Expected {
        LONG first, last;
        bool bold, italic;
        COLORREF color;
    };
    const Expected parts[] = {
        {0, 2, false, false, RGB(0, 0, 0)}, {2, 5, false, false, RGB(0, 0, 0)}, {6, 7, false, false, LINK_FORMAT.color},
        {8, 11, true, false, RGB(0, 0, 0)}, {14, 17, false, false, RGB(0, 0, 0)}, {19, 22, false, false, RGB(0, 0, 0)},
    };
    for (const Expected& part : parts) {
        SCOPED_TRACE(part.first);
        const CHARFORMAT2A format = format_of(part.first, part.last);
        EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, part.bold);
        EXPECT_EQ((format.dwEffects & CFE_ITALIC) != 0, part.italic);
        EXPECT_EQ(format.crTextColor & 0xFFFFFE, part.color & 0xFFFFFE);
    }

    command(IDM_EDIT_UNDO);
    EXPECT_EQ(get_text_utf16(editor), post);
    EXPECT_EQ(get_rtf(editor, false), rtf_before);
    click(dialog, IDCANCEL);
}

// Over 1,000 paragraphs, Replace All and its undo build the post anew in a
// fresh control: deleting them from Wine's control would take time in
// their square. Formats and text come back exactly the same.
TEST_F(FindReplaceTest, ReplaceAllOverManyParagraphsBuildsThePostAnewAsItShouldBe)
{
    std::u16string post;
    for (int line = 0; line < 1200; ++line)
        post += u"kůň a pes\r\n";
    show_post(post);
    select(4, 5); // "a" of the first line
    apply_insert_format(editor, {.bold = true});
    select(0, 0);
    const std::optional<std::string> rtf_before = get_rtf(editor, false);
    const HWND first_control = editor;

    HWND dialog = open_replace_box(L"kůň", L"kočka");
    ASSERT_NE(dialog, nullptr);
    click(dialog, psh2);
    editor = state().parts.editor;
    EXPECT_NE(editor, first_control);
    std::u16string replaced;
    for (int line = 0; line < 1200; ++line)
        replaced += u"kočka a pes\r\n";
    EXPECT_EQ(get_text_utf16(editor), replaced);
    // The caret stands after the last replacement, in the fresh control.
    const auto after_last = static_cast<LONG>(replaced.size() - std::u16string(u" a pes\r\n").size());
    EXPECT_EQ(selected(), (Range{after_last, after_last}));
    EXPECT_TRUE(format_of(6, 7).dwEffects & CFE_BOLD);
    EXPECT_FALSE(format_of(0, 5).dwEffects & CFE_BOLD);

    command(IDM_EDIT_UNDO);
    editor = state().parts.editor;
    EXPECT_EQ(get_rtf(editor, false), rtf_before);
    click(dialog, IDCANCEL);
}

// Replace All works in the whole post, unless the user selected more than
// one match before opening the box: a match that Find Next selected is no
// such choice. The status bar says how many went, and where.
TEST_F(FindReplaceTest, ReplaceAllKeepsToASelectionOfMoreThanTheMatchMadeBeforeTheBox)
{
    const std::u16string post = u"kůň a kůň a kůň";
    struct Case {
        const char* what;
        Range selected_before;
        bool find_next_first;
        std::u16string expected;
        UINT where;
    };
    const Case cases[] = {
        {"nothing selected, then Find Next", {0, 0}, true, u"pes a pes a pes", IDS_REPLACED_IN_POST},
        {"one match selected", {6, 9}, false, u"pes a pes a pes", IDS_REPLACED_IN_POST},
        {"two matches selected, then Find Next", {0, 9}, true, u"pes a pes a kůň", IDS_REPLACED_IN_SELECTION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        show_post(post);
        select(c.selected_before.first, c.selected_before.second);
        HWND dialog = open_replace_box(L"kůň", L"pes");
        ASSERT_NE(dialog, nullptr);
        if (c.find_next_first)
            click(dialog, IDOK);
        click(dialog, psh2);
        EXPECT_EQ(get_text_utf16(editor), c.expected);
        const std::string count = c.where == IDS_REPLACED_IN_POST ? "3" : "2";
        EXPECT_EQ(note(), format_program_text(IDS_REPLACED_COUNT, {count}) + " " + load_program_text(c.where));
        if (c.where == IDS_REPLACED_IN_SELECTION)
            EXPECT_EQ(selected(), (Range{0, 9}));
        click(dialog, IDCANCEL);
    }
}

} // namespace
