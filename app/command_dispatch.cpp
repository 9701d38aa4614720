#include "app/command_dispatch.h"

#include <shellapi.h>

#include <string_view>

#include "app/document_state.h"
#include "document/document_files.h"
#include "format/char_format.h"
#include "format/clipboard.h"
#include "markup/color_tag.h"
#include "markup/forum_urls.h"
#include "markup/insert_format.h"
#include "markup/post_link.h"
#include "markup/reflow.h"
#include "markup/wrap_selection.h"
#include "print/printing.h"
#include "res/resource_ids.h"

namespace {

// How a markup command orders its two steps on the Editor control.
enum class Order : unsigned char {
    WrapFirst,   // wrap, then format what the wrap left selected
    FormatFirst, // format the user's selection, which the wrap then replaces
    Smiley,      // wrap, focus, format, focus
    Rule,        // format and wrap with nothing left selected afterwards
};

struct InsertFormat {
    int red, green, blue;
    int bold, italic, underline;
};

constexpr InsertFormat BLACK{0, 0, 0, 0, 0, 0};
constexpr InsertFormat BLUE{0, 0, 255, 0, 0, 0};
constexpr InsertFormat GREY{128, 128, 128, 0, 0, 0};

using Action = void (*)(HWND main_window, HWND editor);

struct Command {
    WORD id;
    // A markup command writes open and close around the selection...
    std::string_view open;
    std::string_view close;
    Order order;
    InsertFormat format;
    // ...any other command runs its action instead.
    Action action;
    bool focus_editor_after;
};

constexpr Command markup(WORD id, std::string_view open, std::string_view close, Order order,
                         InsertFormat format, bool focus)
{
    return {id, open, close, order, format, nullptr, focus};
}

constexpr Command call(WORD id, Action action, bool focus = false)
{
    return {id, {}, {}, Order::WrapFirst, BLACK, action, focus};
}

constexpr Command smiley(WORD id, std::string_view text)
{
    return {id, text, "", Order::Smiley, BLUE, nullptr, false};
}

constexpr Command color_preset(WORD offset, std::string_view open, std::string_view close, InsertFormat format)
{
    return markup(static_cast<WORD>(IDM_COLOR_PRESET_0 + offset), open, close, Order::FormatFirst, format, true);
}

void do_nothing(HWND, HWND) {}

void send_to_editor(HWND editor, UINT message)
{
    SendMessageA(editor, message, 0, 0);
}

void exit_program(HWND main_window, HWND) { SendMessageA(main_window, WM_CLOSE, 0, 0); }
// The modified flag stays as it is: undoing one step does not make the
// document equal to what is on disk, and the next New, Open or close must
// still offer to save.
void undo(HWND, HWND editor) { send_to_editor(editor, WM_UNDO); }
void copy(HWND, HWND editor) { copy_selection(editor); }
void cut(HWND, HWND editor) { cut_selection(editor); }
void paste(HWND, HWND editor) { send_to_editor(editor, WM_PASTE); }

void new_file(HWND, HWND editor) { new_document(editor); }
void open_file(HWND, HWND editor) { open_document(editor); }
void save_file(HWND, HWND editor) { save_document(editor); }
void save_file_as(HWND, HWND editor) { save_document_as(editor); }
void printer_setup(HWND, HWND editor)
{
    show_printer_properties(editor);
    set_print_target(editor);
}
void print(HWND, HWND editor) { print_document(editor); }

void font(HWND, HWND editor) { choose_font(editor); }
void whole_text(HWND, HWND editor) { select_all(editor); }
void background(HWND, HWND editor) { choose_background_color(editor); }

void color_dialog(HWND main_window, HWND editor) { tag_color_dialog(main_window, editor, "[color=#", "[/color]"); }
void post_link(HWND, HWND editor)
{
    convert_post_link(editor, "[url]", "[/url]");
    apply_insert_format(editor, 0, 0, 255, 0, 0, 0);
}
void plain_font(HWND, HWND editor) { apply_plain_format(editor); }
void reflow(HWND, HWND editor)
{
    break_long_lines(editor);
    apply_plain_format(editor);
}
void open_web_link(HWND, HWND)
{
    ShellExecuteA(nullptr, "open", WEB_LINK_URL, nullptr, nullptr, SW_SHOW);
}

#define SMILEY_ON_FORUM(file) "[img]" FORUM_BASE_URL "/file.php?108,file=" file "[/img]"

constexpr std::string_view POINTS_LIST =
    "[b]1)  [/b]\n[b]2)  [/b]\n[b]3)  [/b]\n[b]4)  [/b]\n[b]5)  [/b]\n"
    "[b]6)  [/b]\n[b]7)  [/b]\n[b]8)  [/b]\n[b]9)  [/b]\n[b]10)  [/b]";

constexpr Command commands[] = {
    call(IDM_FILE_NEW, new_file),
    call(IDM_FILE_OPEN, open_file),
    call(IDM_FILE_SAVE, save_file),
    call(IDM_FILE_SAVEAS, save_file_as),
    call(IDM_FILE_PRINTSETUP, printer_setup),
    call(IDM_FILE_PRINT, print),
    call(IDM_FILE_EXIT, exit_program),
    call(IDM_EDIT_UNDO, undo),
    call(IDM_EDIT_HORIZONTAL, do_nothing),
    call(IDM_EDIT_VERTICAL, do_nothing),
    call(IDM_EDIT_FONT, font),
    // The alignment items only show the current alignment with a check mark.
    call(IDM_ALIGN_CENTER, do_nothing),
    call(IDM_ALIGN_LEFT, do_nothing),
    call(IDM_ALIGN_RIGHT, do_nothing),
    call(IDM_EDIT_COPY, copy),
    call(IDM_EDIT_CUT, cut),
    call(IDM_EDIT_PASTE, paste),
    call(IDM_EDIT_SELECTALL, whole_text),
    call(IDM_BACKCOLOR, background),

    markup(IDM_TAG_CODE, "[code]\n", "\n[/code]", Order::WrapFirst, BLACK, false),
    markup(IDM_TAG_ITALIC, "[i] ", "[/i]", Order::WrapFirst, {0, 0, 0, 0, 1, 0}, true),
    markup(IDM_TAG_QUOTE, "[quote][color=#808040]", "[/color][/quote]", Order::WrapFirst, GREY, true),
    markup(IDM_TAG_URL, "[url]", "[/url]", Order::WrapFirst, BLUE, true),
    markup(IDM_TAG_BOLD, "[b]", "[/b]", Order::FormatFirst, {0, 0, 0, 1, 0, 0}, true),
    markup(IDM_TAG_EMAIL, "[email]", "[/email]", Order::WrapFirst, BLUE, true),
    markup(IDM_TAG_SIZE14, "[size=14px] ", "[/size]", Order::WrapFirst, BLACK, false),
    markup(IDM_TAG_SIZE22, "[size=22px] ", "[/size]", Order::WrapFirst, BLACK, false),
    markup(IDM_TAG_SIZE30, "[size=30px] ", "[/size]", Order::WrapFirst, BLACK, false),
    markup(IDM_TAG_QUESTION, "[hr]\n[size=14px][b]Dotaz:", "[/b][/size]", Order::WrapFirst, {0, 0, 0, 1, 0, 0},
           true),
    markup(IDM_TAG_WROTE, "[size=8px]Text highlighting by " CREDIT_URL " [/size]\n[color=#808040]\n",
           "\n[/color]", Order::FormatFirst, GREY, true),
    markup(IDM_TAG_CENTER, "[center]", "[/center]", Order::WrapFirst, BLACK, true),
    markup(IDM_TAG_HR, "[hr]", "\n", Order::Rule, {255, 128, 255, 0, 0, 0}, true),
    markup(IDM_TAG_UNDERLINE, "[u]", "[/u]", Order::WrapFirst, {0, 0, 0, 0, 0, 1}, true),
    markup(IDM_TAG_POINTS, POINTS_LIST, "", Order::WrapFirst, BLACK, false),
    markup(IDM_TAG_IMAGE, "[img]", "[/img]", Order::WrapFirst, BLUE, true),

    call(IDM_TAG_COLOR_DIALOG, color_dialog, true),
    call(IDM_TAG_POST_LINK, post_link, true),
    call(IDM_OPEN_WEBLINK, open_web_link),
    call(IDM_PLAIN_FONT, plain_font, true),
    call(IDM_REFLOW, reflow, true),

    color_preset(0, "[color=#FF0000]", "[/color]", {255, 0, 0, 0, 0, 0}),
    color_preset(1, "[b][color=#FF0000]", "[/color][/b]", {255, 0, 0, 1, 0, 0}),
    color_preset(2, "[i][color=#FF0000]", "[/color][/i]", {255, 0, 0, 0, 1, 0}),
    color_preset(3, "[color=#008080]", "[/color]", {0, 128, 128, 0, 0, 0}),
    color_preset(4, "[b][color=#008080]", "[/color][/b]", {0, 128, 128, 1, 0, 0}),
    color_preset(5, "[i][color=#008080]", "[/color][/i]", {0, 128, 128, 0, 1, 0}),
    color_preset(6, "[color=#0000FF]", "[/color]", {0, 0, 255, 0, 0, 0}),
    color_preset(7, "[b][color=#0000FF]", "[/color][/b]", {0, 0, 255, 1, 0, 0}),
    color_preset(8, "[i][color=#0000FF]", "[/color][/i]", {0, 0, 255, 0, 1, 0}),

    smiley(IDM_SMILEY_FIRST + 0, SMILEY_ON_FORUM("399175") " "),
    smiley(IDM_SMILEY_FIRST + 1, SMILEY_ON_FORUM("399176") " "),
    smiley(IDM_SMILEY_FIRST + 2, SMILEY_ON_FORUM("399178") " "),
    smiley(IDM_SMILEY_FIRST + 3, SMILEY_ON_FORUM("399179") " "),
    smiley(IDM_SMILEY_FIRST + 4, SMILEY_ON_FORUM("399180") " "),
    smiley(IDM_SMILEY_FIRST + 5, SMILEY_ON_FORUM("399181") " "),
    smiley(IDM_SMILEY_FIRST + 6, SMILEY_ON_FORUM("399182") " "),
    smiley(IDM_SMILEY_FIRST + 7, SMILEY_ON_FORUM("399183")),
    smiley(IDM_SMILEY_FIRST + 8, SMILEY_ON_FORUM("399184") " "),
    smiley(IDM_SMILEY_FIRST + 9, SMILEY_ON_FORUM("399185") " "),
    smiley(IDM_SMILEY_FIRST + 10, SMILEY_ON_FORUM("399186") " "),
    smiley(IDM_SMILEY_FIRST + 11, SMILEY_ON_FORUM("399187") " "),
    smiley(IDM_SMILEY_FIRST + 12, SMILEY_ON_FORUM("399188") " "),
    smiley(IDM_SMILEY_FIRST + 13, SMILEY_ON_FORUM("399189") " "),
    smiley(IDM_SMILEY_FIRST + 14, SMILEY_ON_FORUM("399191") " "),
    smiley(IDM_SMILEY_FIRST + 15, SMILEY_ON_FORUM("399192") " "),
    smiley(IDM_SMILEY_FIRST + 16, "[img]" EXTRA_SMILEY_URL "[/img] "),
};

void apply(HWND editor, const InsertFormat& f)
{
    apply_insert_format(editor, f.red, f.green, f.blue, f.bold, f.italic, f.underline);
}

void run_markup(HWND editor, const Command& command)
{
    switch (command.order) {
    case Order::WrapFirst:
        wrap_selection(editor, command.open, command.close);
        apply(editor, command.format);
        break;
    case Order::FormatFirst:
        apply(editor, command.format);
        wrap_selection(editor, command.open, command.close);
        break;
    case Order::Smiley:
        wrap_selection(editor, command.open, command.close);
        SetFocus(editor);
        apply(editor, command.format);
        SetFocus(editor);
        break;
    case Order::Rule:
        // Leave the caret after the rule's line feed, ready to type on.
        g_doc.select_after_wrap = false;
        apply(editor, command.format);
        wrap_selection(editor, command.open, command.close);
        SetFocus(editor);
        g_doc.select_after_wrap = true;
        break;
    }
}

const Command* find_command(WORD id)
{
    for (const Command& command : commands)
        if (command.id == id)
            return &command;
    return nullptr;
}

} // namespace

void dispatch_command(HWND main_window, WORD id)
{
    const Command* command = find_command(id);
    if (!command)
        return;
    HWND editor = g_doc.editor;
    if (command->action)
        command->action(main_window, editor);
    else
        run_markup(editor, *command);
    if (command->focus_editor_after)
        SetFocus(editor);
}
