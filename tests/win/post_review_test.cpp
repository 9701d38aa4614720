// The status bar, the tag check and the live preview in the real Main
// window: what they show after typing, commands, undo, Open and New, and
// what the preview makes of each kind of markup.
#include "boards_kept.h"
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include <commctrl.h>

#include <functional>
#include <optional>
#include <random>

#include "app/post_review.h"
#include "app/board_store.h"
#include "app/settings.h"
#include "editor/markup_commands.h"
#include "text/preview/preview_rtf.h"
#include "text/forum/tag_match.h"
#include "res/resource_ids.h"
#include "editor/editor_text.h"
#include "ui/status_bar.h"

namespace {

std::string utf8(std::wstring_view text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(static_cast<size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

std::wstring wide(std::string_view text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

// What the dialog helpers read: text in the program's 8-bit code page.
std::string in_code_page(std::wstring_view text)
{
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

std::wstring text_of(HWND control)
{
    const std::u16string text = get_text_utf16(control);
    return std::wstring(text.begin(), text.end());
}

CHARFORMAT2W char_format_at(HWND control, LONG position)
{
    CHARRANGE one{position, position + 1};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

PARAFORMAT paragraph_format_at(HWND control, LONG position)
{
    CHARRANGE caret{position, position};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    PARAFORMAT format{};
    format.cbSize = sizeof format;
    SendMessageW(control, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format;
}

// The look of one character, as far as the preview sets it.
std::string describe_format(HWND control, LONG position)
{
    const CHARFORMAT2W c = char_format_at(control, position);
    const PARAFORMAT p = paragraph_format_at(control, position);
    return std::to_string(c.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT)) + " " +
           std::to_string(c.crTextColor) + " " + std::to_string(c.yHeight) + " " + utf8(c.szFaceName) + " " +
           std::to_string(p.dxStartIndent) + " " + std::to_string(p.wAlignment);
}

DWORD CALLBACK read_string(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto& rest = *reinterpret_cast<std::string_view*>(cookie);
    const size_t count = std::min(rest.size(), static_cast<size_t>(wanted));
    std::copy_n(rest.data(), count, buffer);
    rest.remove_prefix(count);
    *given = static_cast<LONG>(count);
    return 0;
}

// Puts a whole RTF document into a control, as one piece.
void stream_rtf(HWND control, std::string_view rtf, WPARAM flags)
{
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, read_string};
    SendMessageW(control, EM_STREAMIN, SF_RTF | flags, reinterpret_cast<LPARAM>(&stream));
}

// The program's values in the registry, put back as they were when the
// test is over; while it runs, they start out unset.
class SettingsKept {
public:
    SettingsKept()
    {
        for (const wchar_t* name : NAMES) {
            DWORD value = 0;
            DWORD size = sizeof value;
            const bool stored = RegGetValueW(HKEY_CURRENT_USER, SETTINGS_KEY, name, RRF_RT_REG_DWORD, nullptr,
                                             &value, &size) == ERROR_SUCCESS;
            kept_.push_back(stored ? std::optional<DWORD>(value) : std::nullopt);
            RegDeleteKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, name);
        }
    }
    ~SettingsKept()
    {
        for (size_t i = 0; i < std::size(NAMES); ++i) {
            if (kept_[i])
                RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, NAMES[i], REG_DWORD, &*kept_[i], sizeof(DWORD));
            else
                RegDeleteKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, NAMES[i]);
        }
    }
    SettingsKept(const SettingsKept&) = delete;
    SettingsKept& operator=(const SettingsKept&) = delete;

    static std::optional<DWORD> stored(const wchar_t* name)
    {
        DWORD value = 0;
        DWORD size = sizeof value;
        if (RegGetValueW(HKEY_CURRENT_USER, SETTINGS_KEY, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return value;
    }

private:
    static constexpr const wchar_t* NAMES[] = {CHARACTER_LIMIT_VALUE, PREVIEW_SHOWN_VALUE, FORUM_PROFILE_VALUE};
    std::vector<std::optional<DWORD>> kept_;
    BoardsKept boards_;
};

class PostReviewTest : public EditorTest {
protected:
    HWND status_bar() const { return state().parts.status_bar.window; }
    HWND preview() const { return state().parts.preview.window; }

    // What a part shows, read from the control as a screen reader reads it,
    // whether the part is drawn by its owner or not.
    std::string status(StatusPart part) const
    {
        const auto index = static_cast<WPARAM>(part);
        const LRESULT length = SendMessageW(status_bar(), SB_GETTEXTLENGTHW, index, 0);
        std::wstring text(LOWORD(length) + 1u, L'\0');
        SendMessageW(status_bar(), SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(LOWORD(length));
        return utf8(text);
    }

    bool is_warning(StatusPart part) const
    {
        return HIWORD(SendMessageW(status_bar(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0)) & SBT_OWNERDRAW;
    }

    std::string counts() const
    {
        return status(StatusPart::characters) + " | " + status(StatusPart::without_tags) + " | " +
               status(StatusPart::words);
    }

    // The chosen board's own length limit, as the dialog would set it.
    void set_length_limit(uint32_t limit)
    {
        BoardList& boards = state().review.boards;
        boards.boards[boards.chosen].limit(BoardLimit::length) = limit;
        state().review.rules = BoardRules(boards.boards[boards.chosen]);
    }

    void command(WORD id)
    {
        SendMessageW(main_window, WM_COMMAND, id, 0);
        pump_messages();
    }

    // Everything up to date now, without waiting for the pause; the
    // preview in steps of the given size.
    void settle(size_t budget = PREVIEW_STEP_BUDGET)
    {
        review_post_now(state());
        for (int step = 0; step < 10000 && !update_preview_step(state().parts.preview, budget); ++step) {
        }
        pump_messages();
    }

    // In Unicode: the control is an ANSI window, and WM_SETTEXT would
    // bring the text through the program's code page.
    void show_post(const std::string& post)
    {
        const std::wstring text = wide(post);
        SETTEXTEX how{ST_DEFAULT, 1200};
        SendMessageW(editor, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(text.c_str()));
        settle();
    }

    void show_preview()
    {
        if (!state().review.settings.preview_shown)
            command(IDM_PREVIEW_TOGGLE);
    }

    // Pumps messages, as the message loop would, until the condition holds.
    bool wait_until(const std::function<bool()>& condition)
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
            pump_messages();
            if (condition())
                return true;
            Sleep(5);
        }
        return condition();
    }

    void type(std::wstring_view keys)
    {
        for (wchar_t key : keys)
            SendMessageW(editor, WM_CHAR, key, 0);
    }

    // Made before the Main window and put back after it is gone, also when
    // a test opens the window again.
    SettingsKept settings_;
};

const std::string N60000 = locale_number(60000);

} // namespace

TEST_F(PostReviewTest, StatusBarShowsTheCountsOfTheEmptyPostInItsParts)
{
    EXPECT_EQ(SendMessageW(status_bar(), SB_GETPARTS, 0, 0), static_cast<LRESULT>(STATUS_PART_COUNT));
    EXPECT_EQ(counts(), "Znaky: 0 / " + N60000 + " | Bez značek: 0 | Slova: 0");
    EXPECT_EQ(status(StatusPart::tags), "Tagy: OK");
}

TEST_F(PostReviewTest, TypingUpdatesTheStatusBarOnceTheKeysPause)
{
    type(L"[b]Ahoj sv\u011Bte");
    // Each key only starts the pause anew; the counts follow after it.
    EXPECT_EQ(status(StatusPart::characters), "Znaky: 0 / " + N60000);
    ASSERT_TRUE(wait_until([&] { return status(StatusPart::characters) == "Znaky: 13 / " + N60000; }))
        << status(StatusPart::characters);
    EXPECT_EQ(status(StatusPart::tags), "Tagy: neuzavřený [b] (řádek 1)");
}

TEST_F(PostReviewTest, CountsFollowCommandsUndoOpenAndNew)
{
    // The address of a picture is no text, and the picture ends a word.
    show_post("Dobrý den, [url]http://a.cz[/url]\r\n[img]http://a.cz/b.png[/img]");
    EXPECT_EQ(counts(), "Znaky: 62 / " + N60000 + " | Bez značek: 23 | Slova: 3");
    const auto end = static_cast<LONG>(text_of(editor).size());
    select(end, end);
    type(L"xyz");
    settle();
    EXPECT_EQ(counts(), "Znaky: 65 / " + N60000 + " | Bez značek: 26 | Slova: 4");
    command(IDM_EDIT_UNDO);
    settle();
    EXPECT_EQ(counts(), "Znaky: 62 / " + N60000 + " | Bez značek: 23 | Slova: 3");

    select(0, 5);
    command(IDM_TAG_BOLD);
    settle();
    EXPECT_EQ(counts(), "Znaky: 69 / " + N60000 + " | Bez značek: 23 | Slova: 3");

    ScratchFolder folder;
    const std::string path = folder.file("post.txt");
    ASSERT_TRUE(write_file_bytes(path, "[quote]a b c"));
    with_dialogs(
        [&] {
            answer_message_box("SAVE", IDNO);
            fill_file_dialog("Open", path, 2, IDOK);
        },
        [&] { command(IDM_FILE_OPEN); });
    settle();
    EXPECT_EQ(counts(), "Znaky: 12 / " + N60000 + " | Bez značek: 12 | Slova: 3");
    EXPECT_EQ(status(StatusPart::tags), "Tagy: neuzavřený [quote] (řádek 1)");

    command(IDM_FILE_NEW);
    settle();
    EXPECT_EQ(counts(), "Znaky: 0 / " + N60000 + " | Bez značek: 0 | Slova: 0");
    EXPECT_EQ(status(StatusPart::tags), "Tagy: OK");
}

TEST_F(PostReviewTest, NumbersAreGroupedAsTheLocaleGroupsThem)
{
    wchar_t separator[8]{};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
    const std::string thousands = utf8(separator);
    EXPECT_EQ(locale_number(1234567), "1" + thousands + "234" + thousands + "567");
    EXPECT_EQ(locale_number(999), "999");
}

TEST_F(PostReviewTest, LimitDialogSetsTheLimitAndOverItThePartIsAWarning)
{
    show_post("[b]dvanáct zn[/b]");
    EXPECT_FALSE(is_warning(StatusPart::characters));

    const auto answer_limit = [&](const std::string& limit, int button) {
        with_dialogs(
            [&] {
                HWND dialog = wait_for_window({"#32770", "", nullptr, IDC_LIMIT_VALUE});
                set_control_text(dialog, IDC_LIMIT_VALUE, limit);
                press_button(dialog, button);
            },
            [&] { command(IDM_CHARACTER_LIMIT); });
    };
    answer_limit("10", IDOK);
    EXPECT_EQ(status(StatusPart::characters), "Znaky: 17 / 10");
    EXPECT_TRUE(is_warning(StatusPart::characters));
    // The chosen board's limit, kept.
    EXPECT_EQ(load_boards().boards[0].limit(BoardLimit::length), 10u);

    answer_limit("500", IDCANCEL);
    EXPECT_EQ(status(StatusPart::characters), "Znaky: 17 / 10");

    answer_limit("0", IDOK);
    EXPECT_EQ(status(StatusPart::characters), "Znaky: 17");
    EXPECT_FALSE(is_warning(StatusPart::characters));
    EXPECT_EQ(load_boards().boards[0].limit(BoardLimit::length), 0u);
}

TEST_F(PostReviewTest, APartDrawnAsAWarningStillGivesItsText)
{
    set_length_limit(5);
    show_post("twelve chars");
    ASSERT_TRUE(is_warning(StatusPart::characters));
    EXPECT_EQ(status(StatusPart::characters), "Znaky: 12 / 5");
    // In 8 bits too, as an older reader asks.
    char narrow[64]{};
    const LRESULT length = SendMessageA(status_bar(), SB_GETTEXTLENGTHA, 0, 0);
    SendMessageA(status_bar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(narrow));
    EXPECT_EQ(std::string(narrow), "Znaky: 12 / 5");
    EXPECT_EQ(LOWORD(length), 13);
}

// The POZADÍ > Fórum item with this id, picked as the menu picks it.
void pick_forum_item(HWND main_window, UINT id)
{
    MENUITEMINFOW item{sizeof item, MIIM_STATE | MIIM_FTYPE};
    ASSERT_TRUE(GetMenuItemInfoW(GetMenu(main_window), id, FALSE, &item)) << id;
    SendMessageW(main_window, WM_COMMAND, id, 0);
    pump_messages();
    ASSERT_TRUE(GetMenuItemInfoW(GetMenu(main_window), id, FALSE, &item));
    EXPECT_TRUE(item.fState & MFS_CHECKED) << id;
    EXPECT_TRUE(item.fType & MFT_RADIOCHECK) << id;
}

TEST_F(PostReviewTest, TheForumChosenInTheMenuCountsChecksAndWritesThePost)
{
    show_post("Čtyři [center]\"x\"[/center]");
    EXPECT_EQ(status(StatusPart::characters), "Znaky: 26 / " + N60000);

    pick_forum_item(main_window, IDM_FORUM_PHPBB);
    // Each " is &quot; to phpBB; [center] it shows as typed.
    EXPECT_EQ(status(StatusPart::characters), "Znaky (phpBB): 36 / " + N60000);
    EXPECT_EQ(status(StatusPart::tags), "Tagy: phpBB nezná [center]: ukáže ho jako text (řádek 1)");
    command(IDM_TAG_CHECK);
    EXPECT_EQ(selection().cpMin, 6);
    EXPECT_EQ(selection().cpMax, 14);
    EXPECT_EQ(SettingsKept::stored(FORUM_PROFILE_VALUE), static_cast<DWORD>(ForumProfileId::phpbb));
    // The size commands write phpBB's percent.
    SendMessageW(editor, EM_SETSEL, 0, 0);
    command(IDM_TAG_SIZE30);
    EXPECT_EQ(get_text(editor).substr(0, 11), "[size=200] ");

    // MyBB counts bytes against its own default, while the board has no limit of its own.
    show_post("Čtyři");
    pick_forum_item(main_window, IDM_FORUM_MYBB);
    EXPECT_EQ(status(StatusPart::characters), "Bajty (MyBB): 7 / " + locale_number(65535));
    // The tip counts the post for every forum at once.
    const std::wstring tip = length_tip(state());
    EXPECT_NE(tip.find(L"phpBB 3.3: 5 znaků z " + wide(N60000)), std::wstring::npos) << utf8(tip);
    EXPECT_NE(tip.find(L"MyBB 1.8: 7 bajtů z " + wide(locale_number(65535))), std::wstring::npos) << utf8(tip);
    set_length_limit(10);
    settle();
    EXPECT_EQ(status(StatusPart::characters), "Bajty (MyBB): 7 / 10");

    // Each board has its own limit.
    pick_forum_item(main_window, IDM_FORUM_EDITOR);
    EXPECT_EQ(status(StatusPart::characters), "Znaky: 5 / " + N60000);
    // The choice comes back with the next start.
    pick_forum_item(main_window, IDM_FORUM_SMF);
    recreate_main_window(SW_SHOWNORMAL);
    EXPECT_EQ(state().review.boards.chosen, static_cast<size_t>(ForumProfileId::smf));
}

TEST_F(PostReviewTest, ALimitOutOfRangeIsRefusedWithItsReason)
{
    std::vector<std::string> reasons;
    with_dialogs(
        [&] {
            HWND dialog = wait_for_window({"#32770", "", nullptr, IDC_LIMIT_VALUE});
            for (const char* typed : {"-5", "abc", "", "10000001"}) {
                set_control_text(dialog, IDC_LIMIT_VALUE, typed);
                press_button(dialog, IDOK);
                reasons.push_back(answer_message_box("Chyba", IDOK).text);
            }
            set_control_text(dialog, IDC_LIMIT_VALUE, "10000000");
            press_button(dialog, IDOK);
        },
        [&] { command(IDM_CHARACTER_LIMIT); });
    ASSERT_EQ(reasons.size(), 4u);
    EXPECT_EQ(reasons[0], reasons[1]);
    EXPECT_NE(reasons[2], reasons[0]);
    EXPECT_NE(reasons[3], reasons[0]);
    EXPECT_EQ(load_boards().boards[0].limit(BoardLimit::length), 10000000u);

    // A limit kept from before there were boards, out of range, gives way to the default.
    RegDeleteTreeW(HKEY_CURRENT_USER, BOARDS_KEY);
    const DWORD damaged = 0xFFFFFFFF;
    RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, CHARACTER_LIMIT_VALUE, REG_DWORD, &damaged, sizeof damaged);
    recreate_main_window(SW_SHOWNORMAL);
    EXPECT_EQ(chosen_forum(state()).default_limit, editor_profile().default_limit);
}

TEST_F(PostReviewTest, TheTagCheckNamesNestingTooDeepForThePreview)
{
    std::string post;
    for (int i = 0; i < 10000; ++i)
        post += "[quote]\n";
    post += "x";
    for (int i = 0; i < 10000; ++i)
        post += "[/quote]";
    show_post(post);
    const std::string first_too_deep = std::to_string(editor_profile().markup_depth + 1);
    EXPECT_EQ(status(StatusPart::tags), "Tagy: příliš hluboko vnořený [quote] (řádek " + first_too_deep + ")");
    command(IDM_TAG_CHECK);
    EXPECT_EQ(selected_text(), "[quote]");
    EXPECT_EQ(selection().cpMin, static_cast<LONG>(editor_profile().markup_depth * 8));
}

TEST_F(PostReviewTest, F8SelectsTheFirstProblemsTagInAPostOfManyLines)
{
    // CR LF, a lone LF, Czech letters and a character beyond the BMP before
    // the tag: the control counts them all in its own positions.
    show_post("Řádek 1 \xF0\x9F\x98\x80\r\n[b]tučně[/b]\nTřetí x[/b] [quote]konec");
    EXPECT_EQ(status(StatusPart::tags), "Tagy: [/b] bez otevření (řádek 3)");

    without_dialogs([&] { command(IDM_TAG_CHECK); });
    const CHARRANGE selected = selection();
    std::wstring all = text_of(editor);
    EXPECT_EQ(all.substr(selected.cpMin, selected.cpMax - selected.cpMin), L"[/b]");
    EXPECT_EQ(GetFocus(), editor);
}

TEST_F(PostReviewTest, F8SaysSoWhenTheTagsAreFine)
{
    show_post("[b]tučně[/b]\r\n[hr]");
    select(2, 2);
    MessageBoxSeen seen;
    with_dialogs(
        [&] {
            HWND box = wait_for_window({"#32770", in_code_page(L"Kontrola tag\u016F")});
            const std::vector<std::string> texts = static_texts(box);
            seen.text = texts.empty() ? "" : texts.back();
            close_with_button(box, IDOK);
        },
        [&] { command(IDM_TAG_CHECK); });
    EXPECT_EQ(seen.text, in_code_page(wide("Tagy jsou v pořádku: každý je uzavřený a žádné se nekříží.")));
    EXPECT_EQ(selection().cpMin, 2);
    EXPECT_EQ(selection().cpMax, 2);
}

TEST_F(PostReviewTest, CopyOfTheWholeBrokenPostShowsTheProblemAsAWarningAndNoBox)
{
    show_post("Ahoj [b][i]x[/b][/i]");
    EXPECT_EQ(status(StatusPart::tags), "Tagy: překřížené [b] a [i] (řádek 1)");
    EXPECT_FALSE(is_warning(StatusPart::tags));

    // A part of the post is not what goes to the forum.
    select(0, 4);
    without_dialogs([&] { command(IDM_EDIT_COPY); });
    EXPECT_FALSE(is_warning(StatusPart::tags));

    without_dialogs([&] {
        command(IDM_EDIT_SELECTALL);
        command(IDM_EDIT_COPY);
    });
    EXPECT_TRUE(is_warning(StatusPart::tags));
    EXPECT_EQ(status(StatusPart::tags), "Tagy: překřížené [b] a [i] (řádek 1)");
    // The copy happened all the same.
    ASSERT_TRUE(OpenClipboard(main_window));
    const wchar_t* copied = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    EXPECT_STREQ(copied, L"Ahoj [b][i]x[/b][/i]");
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();

    // It is drawn as one: mostly red, with the text on it.
    RECT part{};
    SendMessageW(status_bar(), SB_GETRECT, static_cast<WPARAM>(StatusPart::tags), reinterpret_cast<LPARAM>(&part));
    RedrawWindow(status_bar(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(status_bar());
    int red = 0;
    for (int x = part.left; x < part.right; ++x)
        red += GetPixel(dc, x, (part.top + part.bottom) / 2) == RGB(192, 0, 0);
    ReleaseDC(status_bar(), dc);
    EXPECT_GT(red, (part.right - part.left) / 2);

    // Until the problem is mended.
    show_post("Ahoj [b][i]x[/i][/b]");
    EXPECT_FALSE(is_warning(StatusPart::tags));
    EXPECT_EQ(status(StatusPart::tags), "Tagy: OK");
}

TEST_F(PostReviewTest, F5ShowsThePreviewOnTheRightHalfAndTheSettingsAreRemembered)
{
    HMENU bar = GetMenu(main_window);
    EXPECT_FALSE(IsWindowVisible(preview()));
    EXPECT_FALSE(GetMenuState(bar, IDM_PREVIEW_TOGGLE, MF_BYCOMMAND) & MF_CHECKED);

    command(IDM_PREVIEW_TOGGLE);
    EXPECT_TRUE(IsWindowVisible(preview()));
    EXPECT_TRUE(GetMenuState(bar, IDM_PREVIEW_TOGGLE, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(SettingsKept::stored(PREVIEW_SHOWN_VALUE), 1u);
    RECT client, editor_rect, preview_rect;
    GetClientRect(main_window, &client);
    GetWindowRect(editor, &editor_rect);
    GetWindowRect(preview(), &preview_rect);
    MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&editor_rect), 2);
    MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&preview_rect), 2);
    EXPECT_EQ(preview_rect.right, client.right);
    EXPECT_EQ(preview_rect.top, editor_rect.top);
    EXPECT_EQ(preview_rect.bottom, editor_rect.bottom);
    EXPECT_NEAR(preview_rect.right - preview_rect.left, editor_rect.right - editor_rect.left, 1);
    EXPECT_EQ(GetFocus(), editor);

    // The next start shows it too, and takes the limit stored.
    const DWORD limit = 20000;
    RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, CHARACTER_LIMIT_VALUE, REG_DWORD, &limit, sizeof limit);
    recreate_main_window(SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(preview()));
    EXPECT_EQ(status(StatusPart::characters), "Znaky: 0 / " + locale_number(20000));

    command(IDM_PREVIEW_TOGGLE);
    EXPECT_FALSE(IsWindowVisible(preview()));
    EXPECT_EQ(SettingsKept::stored(PREVIEW_SHOWN_VALUE), 0u);
    GetWindowRect(editor, &editor_rect);
    EXPECT_EQ(editor_rect.right - editor_rect.left, client.right);
}

TEST_F(PostReviewTest, TypedTextReachesThePreviewOnceTheKeysPause)
{
    show_preview();
    type(L"[b]Ahoj[/b]");
    ASSERT_TRUE(wait_until([&] { return text_of(preview()) == L"Ahoj\r\n"; })) << utf8(text_of(preview()));
    EXPECT_TRUE(char_format_at(preview(), 0).dwEffects & CFE_BOLD);
}

TEST_F(PostReviewTest, SplitterSharesTheWidthBetweenEditorAndPreview)
{
    show_preview();
    const RECT splitter = state().review.splitter;
    ASSERT_GT(splitter.right, splitter.left);
    const int middle = (splitter.left + splitter.right) / 2;
    const int y = (splitter.top + splitter.bottom) / 2;
    SendMessageW(main_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle, y));
    SendMessageW(main_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(middle - 100, y));
    SendMessageW(main_window, WM_LBUTTONUP, 0, MAKELPARAM(middle - 100, y));

    RECT editor_rect;
    GetWindowRect(editor, &editor_rect);
    EXPECT_NEAR(editor_rect.right - editor_rect.left, splitter.left - 100, 2);
}

// Each kind of markup as the preview shows it: the text, and a look at the
// word that the markup is around.
TEST_F(PostReviewTest, PreviewShowsEachKindOfMarkupAsTheForumDoes)
{
    struct Case {
        const char* post;
        std::wstring shown;
        const wchar_t* word; // where the look is checked
        std::function<void(const CHARFORMAT2W&, const PARAFORMAT&)> look;
    };
    const auto effects = [](DWORD wanted) {
        return [wanted](const CHARFORMAT2W& c, const PARAFORMAT&) {
            EXPECT_EQ(c.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT), wanted);
        };
    };
    const Case cases[] = {
        {"a [b]tučně[/b]", L"a tu\u010Dn\u011B", L"tu", effects(CFE_BOLD)},
        {"[i]kurzíva[/i]", L"kurz\u00EDva", L"kurz", effects(CFE_ITALIC)},
        {"[u]pod[/u]", L"pod", L"pod", effects(CFE_UNDERLINE)},
        {"[s]škrt[/s]", L"\u0161krt", L"krt", effects(CFE_STRIKEOUT)},
        {"[color=#008080]barva[/color]", L"barva", L"barva",
         [](const CHARFORMAT2W& c, const PARAFORMAT&) { EXPECT_EQ(c.crTextColor, RGB(0, 128, 128)); }},
        // 30 pixels are 22.5 points, in twips.
        {"a [size=30px]velké[/size]", L"a velk\u00E9", L"velk",
         [](const CHARFORMAT2W& c, const PARAFORMAT&) { EXPECT_EQ(c.yHeight, 450); }},
        {"[url]http://a.cz[/url]", L"http://a.cz", L"http",
         [](const CHARFORMAT2W& c, const PARAFORMAT&) {
             EXPECT_EQ(c.crTextColor, RGB(0, 0, 255));
             EXPECT_TRUE(c.dwEffects & CFE_UNDERLINE);
         }},
        {"[email]a@b.cz[/email]", L"a@b.cz", L"a@b",
         [](const CHARFORMAT2W& c, const PARAFORMAT&) { EXPECT_EQ(c.crTextColor, RGB(0, 0, 255)); }},
        {"[img]http://a.cz/b.png[/img]", L"[obr\u00E1zek: http://a.cz/b.png]", L"http",
         [](const CHARFORMAT2W& c, const PARAFORMAT&) { EXPECT_EQ(c.crTextColor, RGB(128, 128, 128)); }},
        {"[quote=Petr]citace[/quote]", L"Petr napsal(a):\r\ncitace", L"citace",
         [](const CHARFORMAT2W& c, const PARAFORMAT& p) {
             EXPECT_FALSE(c.dwEffects & CFE_BOLD);
             EXPECT_EQ(p.dxStartIndent, 360);
         }},
        {"[code]a [b]x[/b][/code]", L"K\u00F3d:\r\na [b]x[/b]", L"a [b]",
         [](const CHARFORMAT2W& c, const PARAFORMAT& p) {
             EXPECT_STREQ(c.szFaceName, L"Courier New");
             EXPECT_EQ(p.dxStartIndent, 360);
         }},
        {"[center]střed[/center]", L"st\u0159ed", L"st",
         [](const CHARFORMAT2W&, const PARAFORMAT& p) { EXPECT_EQ(p.wAlignment, PFA_CENTER); }},
        {"a\n[hr]b", L"a\r\n" + std::wstring(30, L'\u2500') + L"\r\nb", L"b", effects(0)},
        {"[list][*]jedna[/list]", L"\u2022 jedna", L"jedna",
         [](const CHARFORMAT2W&, const PARAFORMAT& p) { EXPECT_EQ(p.dxStartIndent, 360); }},
        {"a\r\nb\n\nc", L"a\r\nb\r\n\r\nc", L"c", effects(0)},
        {"[b]nic [quote]", L"[b]nic [quote]", L"nic", effects(0)},
    };
    show_preview();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.post);
        show_post(c.post);
        const std::wstring shown = text_of(preview());
        ASSERT_EQ(utf8(shown), utf8(c.shown + L"\r\n"));
        const auto at = static_cast<LONG>(shown.find(c.word));
        ASSERT_NE(at, -1);
        c.look(char_format_at(preview(), at), paragraph_format_at(preview(), at));
    }

    // The editor's own smileys show as their pictures: one object each.
    show_post("[img]" + smiley_address(0) + "[/img]");
    EXPECT_EQ(text_of(preview()).size(), 3u) << utf8(text_of(preview()));
    EXPECT_EQ(text_of(preview()).find(L"obr"), std::wstring::npos);
}

// The preview is brought up to date a few paragraphs at a time; whatever
// the edits, it ends up as the whole preview would look written at once.
TEST_F(PostReviewTest, PreviewUpdatedInStepsLooksAsIfWrittenWhole)
{
    const char* const pieces[] = {"slovo ", "\r\n", "\n", "[b]", "[/b]", "[quote]", "[/quote]", "[color=red]",
                                  "[color=#008080]", "[/color]", "[center]", "[/center]", "[size=20]", "[/size]",
                                  "[list][*]a[*]b[/list]", "[hr]", "[code]", "[/code]", "č", "\xF0\x9F\x98\x80"};
    std::mt19937 random(5);
    std::string post;
    for (int i = 0; i < 80; ++i)
        post += pieces[random() % std::size(pieces)];

    HWND whole = CreateWindowExW(0, L"RICHEDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 300, 300, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(whole, nullptr);
    // Wine's reader starts from the control's default format, bold; the
    // paragraphs of the preview each start from plain text.
    CHARFORMAT2W plain{};
    plain.cbSize = sizeof plain;
    plain.dwMask = CFM_BOLD;
    SendMessageW(whole, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&plain));
    show_preview();
    show_post(post);
    for (int edit = 0; edit < 30; ++edit) {
        // A change somewhere: pieces put in or taken out.
        const std::wstring text = text_of(editor);
        const LONG at = static_cast<LONG>(random() % (text.size() + 1));
        const LONG end = edit % 3 == 0 ? std::min<LONG>(at + static_cast<LONG>(random() % 40), text.size()) : at;
        select(at, end);
        std::string inserted;
        for (int i = random() % 4; i > 0; --i)
            inserted += pieces[random() % std::size(pieces)];
        const std::wstring replacement = wide(inserted);
        SETTEXTEX how{ST_SELECTION | ST_KEEPUNDO, 1200};
        SendMessageW(editor, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                     reinterpret_cast<LPARAM>(replacement.c_str()));
        // Every other time in the smallest steps, a paragraph or two each.
        settle(edit % 2 ? PREVIEW_STEP_BUDGET : 1);

        const std::string now = utf8(text_of(editor));
        SCOPED_TRACE(now);
        // Ended by \par like the pane's paragraphs (Wine's reader gives a
        // last paragraph without one the paragraph format of the one
        // before), into an empty control that keeps that \par.
        std::string rtf = render_preview_rtf(now, state().parts.preview.options);
        rtf.insert(rtf.size() - 1, "\\par ");
        SetWindowTextW(whole, L"");
        stream_rtf(whole, rtf, SFF_SELECTION);
        const std::wstring expected = text_of(whole);
        ASSERT_EQ(utf8(text_of(preview())), utf8(expected)) << edit;
        for (LONG position = 0; position < static_cast<LONG>(expected.size()); ++position)
            ASSERT_EQ(describe_format(preview(), position), describe_format(whole, position))
                << "edit " << edit << ", position " << position;
    }
    DestroyWindow(whole);
}

namespace {

// What "Nastavení fóra..." shows and takes, driven as the user drives it.
TEST_F(PostReviewTest, ATagAddedInTheForumSettingsIsTakenByTheCheckAndThePreview)
{
    show_preview();
    command(IDM_FORUM_PHPBB);
    show_post("Ahoj\n[center]střed[/center]");
    ASSERT_EQ(status(StatusPart::tags), "Tagy: phpBB nezná [center]: ukáže ho jako text (řádek 2)");

    std::string default_shown;
    with_dialogs(
        [&] {
            HWND dialog = wait_for_window({"#32770", "", nullptr, IDC_TAG_NAME});
            // A board of one's own, made from phpBB's: its limits' defaults are phpBB's.
            press_button(dialog, IDC_BOARD_NEW);
            default_shown = control_text(dialog, IDC_LIMIT_DEFAULT_FIRST);
            set_control_text(dialog, IDC_BOARD_NAME, "Klub");
            set_control_text(dialog, IDC_TAG_NAME, "[center]");
            select_combo_item(dialog, IDC_TAG_LOOK, static_cast<int>(ExtraLook::center));
            press_button(dialog, IDC_TAG_ADD);
            press_button(dialog, IDOK);
        },
        [&] { command(IDM_FORUM_SETTINGS); });
    settle();
    EXPECT_NE(default_shown.find("60"), std::string::npos) << default_shown;
    EXPECT_NE(default_shown.find("000"), std::string::npos) << default_shown;
    EXPECT_EQ(status(StatusPart::tags), "Tagy: OK");
    const std::wstring shown = text_of(preview());
    const auto at = static_cast<LONG>(shown.find(L"st\u0159ed"));
    ASSERT_NE(at, -1) << utf8(shown);
    EXPECT_EQ(paragraph_format_at(preview(), at).wAlignment, PFA_CENTER);
    EXPECT_EQ(paragraph_format_at(preview(), 0).wAlignment, PFA_LEFT);

    // The board is chosen in the menu, and kept for the next start.
    MENUITEMINFOW item{sizeof item, MIIM_STATE};
    ASSERT_TRUE(GetMenuItemInfoW(GetMenu(main_window), IDM_BOARD_FIRST, FALSE, &item));
    EXPECT_TRUE(item.fState & MFS_CHECKED);
    recreate_main_window(SW_SHOWNORMAL);
    ASSERT_EQ(state().review.boards.boards.size(), FORUM_PROFILE_COUNT + 1);
    EXPECT_EQ(state().review.boards.boards.back().name, "Klub");
    show_post("[center]x[/center]");
    EXPECT_EQ(status(StatusPart::tags), "Tagy: OK");
    // phpBB's own board is as it was.
    command(IDM_FORUM_PHPBB);
    EXPECT_EQ(status(StatusPart::tags), "Tagy: phpBB nezná [center]: ukáže ho jako text (řádek 1)");
}

// A limit kept before there were boards is the limit of every forum's own board.
TEST_F(PostReviewTest, TheOneLimitKeptBeforeBoardsHoldsForEachForumsOwnBoard)
{
    const DWORD limit = 1234;
    RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, CHARACTER_LIMIT_VALUE, REG_DWORD, &limit, sizeof limit);
    recreate_main_window(SW_SHOWNORMAL);
    show_post("Čtyři");
    command(IDM_FORUM_MYBB);
    EXPECT_EQ(status(StatusPart::characters), "Bajty (MyBB): 7 / " + locale_number(1234));
    command(IDM_FORUM_SMF);
    EXPECT_EQ(status(StatusPart::characters), "Znaky (SMF): 5 / " + locale_number(1234));
}

} // namespace
