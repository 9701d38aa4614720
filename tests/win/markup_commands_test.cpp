// The markup commands that need more than a wrap: the colour dialog, post
// links and the reflow, through the real dialogs and message boxes.
#include "editor_fixture.h"

#include <algorithm>

#include "app/main_window_state.h"
#include "text/commands/reflow_text.h"
#include "dialog_automation.h"
#include "res/resource_ids.h"

namespace {


const std::string EXAMPLE_ADDRESS = "https://forum.example.org/read.php?23,1676166,1676237#REPLY";
const std::string MESSAGE_TAIL = " Vybrana adresa je neplatna\nSpravny tvar napr:\n" + EXAMPLE_ADDRESS;

std::string with_plain_line_feeds(std::string text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            result += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

class MarkupCommandsTest : public EditorTest {
protected:
    void run(WORD command) { SendMessageA(main_window, WM_COMMAND, command, 0); }

    // Runs the colour dialog command, answering the dialog with a colour
    // (or cancelling it when red is negative); returns the colour the dialog
    // opened on, as "R G B".
    std::string run_color_dialog(int red, int green, int blue)
    {
        std::string opened_on;
        with_dialogs(
            [&] {
                HWND dialog = wait_for_window(COLOR_DIALOG);
                opened_on = control_text(dialog, COLOR_RED) + " " + control_text(dialog, COLOR_GREEN) + " " +
                            control_text(dialog, COLOR_BLUE);
                if (red < 0) {
                    close_with_button(dialog, IDCANCEL);
                    return;
                }
                set_control_text(dialog, COLOR_RED, std::to_string(red));
                set_control_text(dialog, COLOR_GREEN, std::to_string(green));
                set_control_text(dialog, COLOR_BLUE, std::to_string(blue));
                close_with_button(dialog, IDOK);
            },
            [&] { run(IDM_TAG_COLOR_DIALOG); });
        return opened_on;
    }
};

} // namespace

TEST_F(MarkupCommandsTest, ColourDialogTagsTheSelectedWordWithTheChosenColour)
{
    set_text("a word here");
    select(2, 6);
    state().parts.editor_subclass.format_reset_pending = false;

    EXPECT_EQ(run_color_dialog(10, 0, 255), "0 0 0");

    EXPECT_EQ(text(), "a [color=#0A00FF] word[/color] here");
    EXPECT_EQ(selected_text(), "[color=#0A00FF] word[/color]");
    EXPECT_EQ(state().colors.tag.color, RGB(10, 0, 255));
    EXPECT_FALSE(state().parts.editor_subclass.format_reset_pending);
    EXPECT_EQ(GetFocus(), editor);
}

TEST_F(MarkupCommandsTest, ColourDialogOpensOnTheLastColourAndCancelChangesNothing)
{
    set_text("word");
    select(0, 4);
    run_color_dialog(255, 0, 0);
    set_text("other");
    select(1, 3);

    EXPECT_EQ(run_color_dialog(-1, 0, 0), "255 0 0");

    EXPECT_EQ(text(), "other");
    EXPECT_EQ(selection().cpMin, 1);
    EXPECT_EQ(selection().cpMax, 3);
    EXPECT_EQ(state().colors.tag.color, RGB(255, 0, 0));
    // The background dialog keeps its own colour.
    EXPECT_EQ(state().colors.background.color, RGB(255, 255, 255));
}

TEST_F(MarkupCommandsTest, ColourTagWrapsALongSelectionWholeAndEmptyInsertsTheTags)
{
    const std::string long_text(5000, 'x');
    set_text(long_text);
    select(0, 5000);
    run_color_dialog(0, 0, 255);
    EXPECT_EQ(text(), "[color=#0000FF] " + long_text + "[/color]");

    set_text("");
    run_color_dialog(0, 0, 255);
    EXPECT_EQ(selected_text(), "[color=#0000FF] [/color]");
    EXPECT_EQ(selected_text().size(), 24u);
}

TEST_F(MarkupCommandsTest, PostLinkConvertsTheExampleAddressAndShowsItBlue)
{
    set_text("see " + EXAMPLE_ADDRESS + " please");
    select(4, 4 + static_cast<LONG>(EXAMPLE_ADDRESS.size()));

    run(IDM_TAG_POST_LINK);

    const std::string link = "[url]https://forum.example.org/read.php?23,1676166,1676237#msg-1676237[/url]";
    EXPECT_EQ(text(), "see " + link + " please");
    const CHARRANGE caret = selection();
    EXPECT_EQ(caret.cpMin, caret.cpMax);
    EXPECT_EQ(caret.cpMax, 4 + static_cast<LONG>(link.size()));
    EXPECT_EQ(selection_format().crTextColor, RGB(0, 0, 255));
    EXPECT_EQ(GetFocus(), editor);
}

TEST_F(MarkupCommandsTest, InvalidAddressesShowTheirMessageAndLeaveTheText)
{
    const struct {
        const char* selection;
        const char* number;
    } cases[] = {
        {"", "(2)"},
        {"no hash here, at all", "(2)"},
        {"#17856", "(1)"},
        {",read.php#x", "(1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selection);
        const std::string document = std::string("<") + c.selection + ">";
        set_text(document);
        select(1, 1 + static_cast<LONG>(strlen(c.selection)));
        MessageBoxSeen box;

        with_dialogs([&] { box = answer_message_box("", IDOK); }, [&] { run(IDM_TAG_POST_LINK); });

        EXPECT_EQ(box.text, c.number + MESSAGE_TAIL);
        EXPECT_EQ(text(), document);
        // The blue insertion format is applied all the same.
        EXPECT_EQ(selection_format().crTextColor, RGB(0, 0, 255));
    }
}

// The reflow's rules are tested in full natively; here the command must put
// exactly that text in place of the selection, with the caret after it in
// the plain format.
TEST_F(MarkupCommandsTest, ReflowReplacesTheSelectionByItsReflowedText)
{
    const std::string documents[] = {
        "The quick brown fox jumps over the lazy dog, see http://example.org/fox for the whole "
        "story about the fox and the dog, which goes on for quite a while yet.",
        "first line of a paragraph that is long enough to be reflowed \r\nsecond line of it\r\n\r\n"
        "next paragraph",
    };
    for (const std::string& document : documents) {
        set_text(document);
        select(0, text_length());
        const std::string selected = selected_text();

        run(IDM_REFLOW);

        EXPECT_EQ(with_plain_line_feeds(text()), with_plain_line_feeds(reflow_for_forum(selected)));
        const CHARRANGE caret = selection();
        EXPECT_EQ(caret.cpMin, caret.cpMax);
        EXPECT_EQ(selection_format().crTextColor, RGB(0, 0, 0));
    }
}

TEST_F(MarkupCommandsTest, ReflowLeavesEightyCharactersAsTheyAre)
{
    const std::string line(80, 'x');
    set_text(line + "|");
    select(0, 80);
    run(IDM_REFLOW);
    EXPECT_EQ(text(), line + "|");
}
