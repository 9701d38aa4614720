// One language at a time: the interface speaks Czech or English, whole,
// chosen by the Windows display language or by the user, and a change takes
// effect at once. The EnglishInterfaceTest cases need an English locale and
// run in ctest entries of their own (the test run's own locale is Czech).
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include <commctrl.h>

#include <set>

#include "app/interface_language.h"
#include "app/post_review.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"
#include "res/resource_names.h"
#include "text/unicode/unicode_text.h"
#include "ui/refusal_texts.h"
#include "ui/spell_menu.h"
#include "ui/status_bar.h"
#include "ui/toolbar.h"
#include "ui/window_title.h"
#include "win/messages.h"

namespace {

std::string utf8(std::wstring_view text)
{
    return utf16_to_utf8(std::u16string(text.begin(), text.end()));
}

std::string caption_of(HMENU menu, UINT position)
{
    wchar_t buffer[256]{};
    GetMenuStringW(menu, position, buffer, 256, MF_BYPOSITION);
    return utf8(buffer);
}

std::vector<std::string> bar_captions(HWND window)
{
    std::vector<std::string> captions;
    HMENU bar = GetMenu(window);
    for (int i = 0; i < GetMenuItemCount(bar); ++i)
        captions.push_back(caption_of(bar, static_cast<UINT>(i)));
    return captions;
}

// Every caption of a menu and its popups, with the command of each item.
void collect_captions(HMENU menu, std::vector<std::pair<std::string, UINT>>& captions)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT position = static_cast<UINT>(i);
        captions.emplace_back(caption_of(menu, position), GetMenuItemID(menu, i));
        if (HMENU popup = GetSubMenu(menu, i))
            collect_captions(popup, captions);
    }
}

bool has_czech_letter(const std::string& text)
{
    static const std::u16string czech = u"áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ";
    return utf8_to_utf16(text).find_first_of(czech) != std::u16string::npos;
}

const std::vector<std::string> ENGLISH_BAR = {"&File", "&Edit", "&Tags", "Fo&nt", "&View", "&Color", "&Wrote",
                                              "S&mileys"};
const std::vector<std::string> CZECH_BAR = {"SOUBOR(&F)",         "EDIT(&E)",         "Tagy(&P)", "Písmo(&M)",
                                            "POZADÍ(&V)",         "Barva písma:Ctrl+D", "XY napsal:Ctrl+E",
                                            "Smajlici"};

class InterfaceLanguageTest : public EditorTest {
protected:
    void TearDown() override
    {
        EditorTest::TearDown();
        // The next test's thread starts from the locale's language again.
        speak_interface_language(chosen_interface_language());
    }

    void command(WORD id)
    {
        SendMessageW(main_window, WM_COMMAND, id, 0);
        pump_messages();
    }

    std::string status(StatusPart part) const
    {
        HWND bar = state().parts.status_bar.window;
        const auto index = static_cast<WPARAM>(part);
        std::wstring text(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, index, 0)) + 1u, L'\0');
        text.resize(LOWORD(SendMessageW(bar, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text.data()))));
        return utf8(text);
    }

    std::string preview_text() const
    {
        const std::u16string text = get_text_utf16(state().parts.preview.window);
        return utf16_to_utf8(text);
    }

    std::string title() const
    {
        wchar_t text[256]{};
        GetWindowTextW(main_window, text, 256);
        return utf8(text);
    }

    bool checked(UINT command) const
    {
        return (GetMenuState(GetMenu(main_window), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    // The tooltip the toolbar shows over a button, asked of its tooltip
    // control as a screen reader would.
    std::string tip_of(int command) const
    {
        HWND toolbar = state().parts.toolbar.window;
        auto* tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
        wchar_t text[INFOTIPSIZE]{};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = toolbar;
        tool.uId = static_cast<UINT_PTR>(command);
        tool.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, INFOTIPSIZE, reinterpret_cast<LPARAM>(&tool));
        return utf8(text);
    }

    // Everything up to date now, the preview whole.
    void settle()
    {
        review_post_now(state());
        while (!update_preview_step(state().parts.preview)) {
        }
        pump_messages();
    }
};

} // namespace

TEST_F(InterfaceLanguageTest, TheChoiceIsKeptAndSpokenAtTheNextStart)
{
    command(IDM_LANGUAGE_ENGLISH);
    EXPECT_EQ(load_interface_language(), InterfaceLanguage::english);
    // A new start, whatever the thread spoke before.
    destroy_main_window();
    speak_interface_language(InterfaceLanguage::czech);
    speak_interface_language(chosen_interface_language());
    recreate_main_window(SW_SHOWNORMAL);
    EXPECT_EQ(bar_captions(main_window), ENGLISH_BAR);
    EXPECT_TRUE(checked(IDM_LANGUAGE_ENGLISH));
    EXPECT_FALSE(checked(IDM_LANGUAGE_CZECH));

    command(IDM_LANGUAGE_CZECH);
    EXPECT_EQ(load_interface_language(), InterfaceLanguage::czech);
    destroy_main_window();
    speak_interface_language(chosen_interface_language());
    recreate_main_window(SW_SHOWNORMAL);
    EXPECT_EQ(bar_captions(main_window), CZECH_BAR);
    EXPECT_TRUE(checked(IDM_LANGUAGE_CZECH));
}

TEST_F(InterfaceLanguageTest, AChangeIsSpokenAtOnceAndKeepsTheWindowsState)
{
    command(IDM_LANGUAGE_CZECH);
    show_document_title(main_window, "");
    const bool preview_was_shown = state().review.settings.preview_shown;
    if (!preview_was_shown)
        command(IDM_PREVIEW_TOGGLE);
    const bool while_typing = checked(IDM_SPELL_WHILE_TYPING);
    set_text("[quote=Petr]Ahoj[/quote]\r\n[b]x");
    settle();
    ASSERT_EQ(status(StatusPart::tags), "Tagy: neuzavřený [b] (řádek 2)");

    command(IDM_LANGUAGE_ENGLISH);
    settle();
    EXPECT_EQ(bar_captions(main_window), ENGLISH_BAR);
    // The new bar's smileys' popup fills as it opens, with the pictures it had.
    HMENU smileys = GetSubMenu(GetMenu(main_window), 7);
    SendMessageW(main_window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(smileys), 7);
    EXPECT_EQ(GetMenuItemCount(smileys), SMILEY_COUNT);
    EXPECT_TRUE(checked(IDM_LANGUAGE_ENGLISH));
    EXPECT_FALSE(checked(IDM_LANGUAGE_CZECH));
    EXPECT_TRUE(checked(IDM_PREVIEW_TOGGLE));
    EXPECT_EQ(checked(IDM_SPELL_WHILE_TYPING), while_typing);
    EXPECT_EQ(status(StatusPart::characters).rfind("Characters: 29 / ", 0), 0u) << status(StatusPart::characters);
    EXPECT_EQ(status(StatusPart::tags), "Tags: [b] not closed (line 2)");
    EXPECT_EQ(preview_text().rfind("Petr wrote:\r\nAhoj", 0), 0u) << preview_text();
    EXPECT_EQ(title(), "Editor [Untitled]");
    EXPECT_EQ(tip_of(IDM_TAG_BOLD), "Bold [b] (Ctrl+B)");

    command(IDM_LANGUAGE_CZECH);
    settle();
    EXPECT_EQ(bar_captions(main_window), CZECH_BAR);
    EXPECT_EQ(status(StatusPart::tags), "Tagy: neuzavřený [b] (řádek 2)");
    EXPECT_EQ(preview_text().rfind("Petr napsal(a):\r\nAhoj", 0), 0u) << preview_text();
    EXPECT_EQ(title(), "Editor [SOUBOR]");
    EXPECT_EQ(tip_of(IDM_TAG_BOLD), "Tučně [b] (Ctrl+B)");
    if (!preview_was_shown)
        command(IDM_PREVIEW_TOGGLE);
}

TEST_F(InterfaceLanguageTest, AFilesNameInTheTitleStaysAsItIs)
{
    show_document_title(main_window, "C:\\posts\\SOUBOR.txt");
    command(IDM_LANGUAGE_ENGLISH);
    EXPECT_EQ(title(), "Editor [C:\\posts\\SOUBOR.txt]");
}

TEST_F(InterfaceLanguageTest, EveryToolbarButtonHasATip)
{
    HWND toolbar = state().parts.toolbar.window;
    EXPECT_NE(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0), 0);
    std::set<std::string> tips;
    for (int i = 0; i < static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0)); ++i) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        if (!(button.fsStyle & TBSTYLE_SEP))
            tips.insert(tip_of(button.idCommand));
    }
    EXPECT_EQ(tips.size(), 23u);
    EXPECT_EQ(tips.count(""), 0u);
}

// The sentences made of what the checks found, in both languages: each
// there, each its own, with what it names put in.
TEST_F(InterfaceLanguageTest, EveryRefusalOfAFileOrACopyHasItsSentenceInBothLanguages)
{
    const DraftFaultKind faults[] = {DraftFaultKind::not_a_draft,       DraftFaultKind::other_version,
                                     DraftFaultKind::cut_short,         DraftFaultKind::checksum_mismatch,
                                     DraftFaultKind::damaged_line,      DraftFaultKind::after_body,
                                     DraftFaultKind::body_too_large,    DraftFaultKind::body_cut_short};
    const RtfVerdict refusals[] = {RtfVerdict::too_deep, RtfVerdict::bin_too_large, RtfVerdict::bin_truncated};
    for (const InterfaceLanguage language : {InterfaceLanguage::czech, InterfaceLanguage::english}) {
        speak_interface_language(language);
        SCOPED_TRACE(static_cast<int>(language));
        std::set<std::string> sentences;
        for (const DraftFaultKind kind : faults) {
            const std::string sentence = draft_fault_text({kind, "kind"});
            EXPECT_FALSE(sentence.empty()) << static_cast<int>(kind);
            sentences.insert(sentence);
        }
        EXPECT_EQ(sentences.size(), std::size(faults));
        EXPECT_NE(draft_fault_text({DraftFaultKind::damaged_line, "encoding"}).find("encoding"), std::string::npos);
        EXPECT_EQ(draft_fault_text({}), "");
        for (const RtfVerdict verdict : refusals) {
            const std::string sentence = rtf_refusal_text({verdict, 123456, 33, false});
            EXPECT_NE(sentence.find(locale_number(123456)), std::string::npos) << sentence;
            sentences.insert(sentence);
        }
        EXPECT_EQ(sentences.size(), std::size(faults) + std::size(refusals));
        EXPECT_EQ(rtf_refusal_text({}), "");
    }
}

TEST_F(InterfaceLanguageTest, FormattedTextsKeepTheirLineBreaksAndLeaveAMissingInsertEmpty)
{
    EXPECT_EQ(format_program_text(IDS_BINARY_QUESTION, {}), load_program_text(IDS_BINARY_QUESTION));
    EXPECT_NE(load_program_text(IDS_BINARY_QUESTION).find("\n\n"), std::string::npos);
    speak_interface_language(InterfaceLanguage::english);
    EXPECT_EQ(format_program_text(IDS_STATUS_TAG_CROSSED, {"[b]", "[i]"}), "Tags: [b] and [i] cross (line )");
    EXPECT_EQ(format_program_text(IDS_STATUS_WORDS, {"1 234", "unused"}), "Words: 1 234");
}

// ---- in an English locale ----

class EnglishInterfaceTest : public InterfaceLanguageTest {
protected:
    void SetUp() override
    {
        if (PRIMARYLANGID(GetUserDefaultUILanguage()) != LANG_ENGLISH) {
            if (!environment_variable("FORUM_EXPECT_ENGLISH").empty())
                FAIL() << "expected an English display language, Wine runs in " << GetUserDefaultUILanguage();
            GTEST_SKIP() << "needs an English locale; runs in its own ctest entry";
        }
        InterfaceLanguageTest::SetUp();
    }
};

TEST_F(EnglishInterfaceTest, MenusAreEnglishWithNoCzechLetter)
{
    EXPECT_EQ(bar_captions(main_window), ENGLISH_BAR);
    std::vector<std::pair<std::string, UINT>> captions;
    collect_captions(GetMenu(main_window), captions);
    const OwnedMenu context(LoadMenuW(GetModuleHandleW(nullptr), CONTEXT_MENU_RESOURCE));
    HMENU context_popup = GetSubMenu(context.get(), 0);
    insert_spelling_items(context_popup, {"word"});
    collect_captions(context_popup, captions);
    EXPECT_GT(captions.size(), 90u);
    for (const auto& [caption, command] : captions) {
        // The Czech language's name in itself, where a Czech reader looks
        // for it; the recent files are the user's own names.
        const bool recent_file = command >= IDM_RECENT_FILE_FIRST && command < IDM_RECENT_FILE_FIRST + 8;
        if (command != IDM_LANGUAGE_CZECH && !recent_file)
            EXPECT_FALSE(has_czech_letter(caption)) << caption;
    }
}

TEST_F(EnglishInterfaceTest, AMessageBoxIsEnglish)
{
    set_text("[b]fine[/b]");
    MessageBoxSeen seen;
    with_dialogs([&] { seen = answer_message_box("Tag Check", IDOK); }, [&] { command(IDM_TAG_CHECK); });
    EXPECT_EQ(seen.text, "The tags are fine: each one is closed and none cross.");
}

TEST_F(EnglishInterfaceTest, StatusPartsTheTagCheckAndTheTitleAreEnglish)
{
    set_text("[quote]Hello [b]world[/b]");
    settle();
    EXPECT_EQ(status(StatusPart::characters), "Characters: 25 / " + locale_number(60000));
    EXPECT_EQ(locale_number(60000), "60,000");
    EXPECT_EQ(status(StatusPart::without_tags), "Without tags: 18");
    EXPECT_EQ(status(StatusPart::words), "Words: 2");
    EXPECT_EQ(status(StatusPart::tags), "Tags: [quote] not closed (line 1)");
    set_text("a\r\n[/i]");
    settle();
    EXPECT_EQ(status(StatusPart::tags), "Tags: [/i] never opened (line 2)");
    state().history.mark_saved();
    command(IDM_FILE_NEW);
    EXPECT_EQ(title(), "Editor [Untitled]");
}
