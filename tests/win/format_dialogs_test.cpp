#include "editor_fixture.h"

#include "app/main_window_state.h"
#include "dialog_automation.h"
#include "res/resource_ids.h"
#include "ui/format_dialogs.h"

namespace {

// Controls of the font dialog: style and size combo boxes.
constexpr int FONT_STYLE_COMBO = 0x471;
constexpr int FONT_SIZE_COMBO = 0x472;

// A style of the font dialog's list, by what Wine keeps with each item
// (its weight and whether it is italic), whatever language names it.
struct FontStyle {
    WORD weight;
    WORD italic;
};
constexpr FontStyle REGULAR{FW_NORMAL, 0};
constexpr FontStyle BOLD{FW_BOLD, 0};

LRESULT style_item(HWND styles, FontStyle style)
{
    const LRESULT count = SendMessageA(styles, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (static_cast<DWORD>(SendMessageA(styles, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) ==
            MAKELONG(style.weight, style.italic))
            return i;
    return CB_ERR;
}

bool shows_style(HWND dialog, FontStyle style)
{
    HWND styles = GetDlgItem(dialog, FONT_STYLE_COMBO);
    const LRESULT shown = SendMessageA(styles, CB_GETCURSEL, 0, 0);
    return shown != CB_ERR && shown == style_item(styles, style);
}

void pick_font_style(HWND dialog, FontStyle style, const char* size)
{
    HWND styles = GetDlgItem(dialog, FONT_STYLE_COMBO);
    SendMessageA(styles, CB_SETCURSEL, static_cast<WPARAM>(style_item(styles, style)), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(FONT_STYLE_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(styles));
    HWND sizes = GetDlgItem(dialog, FONT_SIZE_COMBO);
    SendMessageA(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(size));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(FONT_SIZE_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
}

void pick_color(HWND dialog, int red, int green, int blue)
{
    set_control_text(dialog, COLOR_RED, std::to_string(red));
    set_control_text(dialog, COLOR_GREEN, std::to_string(green));
    set_control_text(dialog, COLOR_BLUE, std::to_string(blue));
}

// Runs a command while `answer` fills in and closes the dialog it opens.
void answer_dialog(const WindowQuery& dialog, const std::function<void(HWND)>& answer,
                   const std::function<void()>& command)
{
    with_dialogs([&] { answer(wait_for_window(dialog)); }, command);
}

class FormatDialogsTest : public EditorTest {
protected:
    // A face that every Wine prefix has, so that the dialog finds it in its list.
    void set_face(const char* face)
    {
        select(0, -1);
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_FACE;
        lstrcpynA(format.szFaceName, face, LF_FACESIZE);
        SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }

    void run(WORD command) { SendMessageA(main_window, WM_COMMAND, command, 0); }
};

} // namespace

TEST_F(FormatDialogsTest, BoldTwelvePointFromTheFontDialogAppliesToTheSelection)
{
    set_text("plain words");
    set_face("DejaVu Sans");
    select(0, 5);
    answer_dialog(
        FONT_DIALOG,
        [](HWND dialog) {
            pick_font_style(dialog, BOLD, "12");
            close_with_button(dialog, IDOK);
        },
        [&] { run(IDM_EDIT_FONT); });

    const CHARFORMAT2A format = selection_format();
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);
    EXPECT_EQ(format.yHeight, 240);
    EXPECT_EQ(GetFocus(), editor);
    select(6, 11);
    EXPECT_FALSE(selection_format().dwEffects & CFE_BOLD);
}

TEST_F(FormatDialogsTest, FontDialogOpensOnTheSelectionsStyleAndSize)
{
    set_text("bold");
    set_face("DejaVu Sans");
    select(0, 4);
    CHARFORMAT2A bold{};
    bold.cbSize = sizeof bold;
    bold.dwMask = CFM_BOLD | CFM_SIZE;
    bold.dwEffects = CFE_BOLD;
    bold.yHeight = 240;
    SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));

    bool shows_bold = false;
    std::string size;
    answer_dialog(
        FONT_DIALOG,
        [&](HWND dialog) {
            shows_bold = shows_style(dialog, BOLD);
            size = control_text(dialog, FONT_SIZE_COMBO);
            close_with_button(dialog, IDCANCEL);
        },
        [&] { run(IDM_EDIT_FONT); });

    EXPECT_TRUE(shows_bold);
    EXPECT_EQ(size, "12");
}

TEST_F(FormatDialogsTest, RegularStyleRemovesBoldAndSemiboldDoesNotCountAsBold)
{
    set_text("bold");
    select(0, 4);
    SendMessageA(main_window, WM_COMMAND, IDM_TAG_BOLD, 0);
    select(3, 7);
    ASSERT_TRUE(selection_format().dwEffects & CFE_BOLD);
    answer_dialog(
        FONT_DIALOG,
        [](HWND dialog) {
            pick_font_style(dialog, REGULAR, "10");
            close_with_button(dialog, IDOK);
        },
        [&] { run(IDM_EDIT_FONT); });

    EXPECT_FALSE(selection_format().dwEffects & CFE_BOLD);

    LOGFONTW semibold{};
    semibold.lfWeight = 600;
    EXPECT_EQ(effects_from_logfont(semibold), 0u);
    semibold.lfWeight = 700;
    EXPECT_EQ(effects_from_logfont(semibold), static_cast<DWORD>(CFE_BOLD));
}

TEST_F(FormatDialogsTest, CancelledFontDialogChangesNothingAndReturnsTheFocus)
{
    set_text("words");
    select(0, 5);
    const CHARFORMAT2A before = selection_format();
    SetFocus(nullptr);
    answer_dialog(FONT_DIALOG, [](HWND dialog) { close_with_button(dialog, IDCANCEL); }, [&] { run(IDM_EDIT_FONT); });

    const CHARFORMAT2A after = selection_format();
    EXPECT_EQ(after.dwEffects, before.dwEffects);
    EXPECT_EQ(after.yHeight, before.yHeight);
    EXPECT_STREQ(after.szFaceName, before.szFaceName);
    EXPECT_EQ(GetFocus(), editor);
}

TEST_F(FormatDialogsTest, BackgroundColourOpensOnWhiteThenOnTheLastChoice)
{
    std::string first_red, second_red, second_blue;
    answer_dialog(
        COLOR_DIALOG,
        [&](HWND dialog) {
            first_red = control_text(dialog, COLOR_RED);
            pick_color(dialog, 200, 220, 240);
            close_with_button(dialog, IDOK);
        },
        [&] { run(IDM_BACKCOLOR); });
    EXPECT_EQ(first_red, "255");
    EXPECT_EQ(state().colors.background.color, RGB(200, 220, 240));
    EXPECT_EQ(GetFocus(), editor);

    answer_dialog(
        COLOR_DIALOG,
        [&](HWND dialog) {
            second_red = control_text(dialog, COLOR_RED);
            second_blue = control_text(dialog, COLOR_BLUE);
            close_with_button(dialog, IDCANCEL);
        },
        [&] { run(IDM_BACKCOLOR); });
    EXPECT_EQ(second_red, "200");
    EXPECT_EQ(second_blue, "240");
    EXPECT_EQ(state().colors.background.color, RGB(200, 220, 240));
}
