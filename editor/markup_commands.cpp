#include "editor/markup_commands.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "text/forum/color_tag_text.h"
#include "text/forum/forum_urls.h"
#include "text/forum/smileys.h"
#include "editor/wrap_selection.h"
#include "res/resource_ids.h"

namespace {

constexpr InsertFormat GREY{.color = RGB(128, 128, 128)};
constexpr InsertFormat BOLD{.bold = true};
constexpr InsertFormat ITALIC{.italic = true};
constexpr InsertFormat UNDERLINE{.underline = true};
constexpr InsertFormat RULE_PINK{.color = RGB(255, 128, 255)};

constexpr FocusAfter EDITOR = FocusAfter::editor;
constexpr FocusAfter UNCHANGED = FocusAfter::unchanged;

constexpr std::string_view POINTS_LIST =
    "[b]1)  [/b]\n[b]2)  [/b]\n[b]3)  [/b]\n[b]4)  [/b]\n[b]5)  [/b]\n"
    "[b]6)  [/b]\n[b]7)  [/b]\n[b]8)  [/b]\n[b]9)  [/b]\n[b]10)  [/b]";

constexpr Markup TAGS[] = {
    {IDM_TAG_CODE, "[code]\n", "\n[/code]", MarkupOrder::WrapFirst, PLAIN_FORMAT, UNCHANGED},
    {IDM_TAG_ITALIC, "[i] ", "[/i]", MarkupOrder::WrapFirst, ITALIC, EDITOR},
    {IDM_TAG_QUOTE, "[quote][color=#808040]", "[/color][/quote]", MarkupOrder::WrapFirst, GREY, EDITOR},
    {IDM_TAG_URL, "[url]", "[/url]", MarkupOrder::WrapFirst, LINK_FORMAT, EDITOR},
    {IDM_TAG_BOLD, "[b]", "[/b]", MarkupOrder::FormatFirst, BOLD, EDITOR},
    {IDM_TAG_EMAIL, "[email]", "[/email]", MarkupOrder::WrapFirst, LINK_FORMAT, EDITOR},
    {IDM_TAG_SIZE14, "[size=14px] ", "[/size]", MarkupOrder::WrapFirst, PLAIN_FORMAT, UNCHANGED},
    {IDM_TAG_SIZE22, "[size=22px] ", "[/size]", MarkupOrder::WrapFirst, PLAIN_FORMAT, UNCHANGED},
    {IDM_TAG_SIZE30, "[size=30px] ", "[/size]", MarkupOrder::WrapFirst, PLAIN_FORMAT, UNCHANGED},
    {IDM_TAG_QUESTION, "[hr]\n[size=14px][b]Dotaz:", "[/b][/size]", MarkupOrder::WrapFirst, BOLD, EDITOR},
    {IDM_TAG_WROTE, "[size=8px]Text highlighting by " CREDIT_URL " [/size]\n[color=#808040]\n", "\n[/color]",
     MarkupOrder::FormatFirst, GREY, EDITOR},
    {IDM_TAG_CENTER, "[center]", "[/center]", MarkupOrder::WrapFirst, PLAIN_FORMAT, EDITOR},
    {IDM_TAG_HR, "[hr]", "\n", MarkupOrder::Rule, RULE_PINK, EDITOR},
    {IDM_TAG_UNDERLINE, "[u]", "[/u]", MarkupOrder::WrapFirst, UNDERLINE, EDITOR},
    {IDM_TAG_POINTS, POINTS_LIST, "", MarkupOrder::WrapFirst, PLAIN_FORMAT, UNCHANGED},
    {IDM_TAG_IMAGE, "[img]", "[/img]", MarkupOrder::WrapFirst, LINK_FORMAT, EDITOR},
};

// The colour presets: three colours, each plain, bold and italic, in that
// order of command ids.
constexpr COLORREF PRESET_COLORS[] = {RGB(255, 0, 0), RGB(0, 128, 128), RGB(0, 0, 255)};

struct PresetStyle {
    std::string_view open, close;
    bool bold = false;
    bool italic = false;
};
constexpr PresetStyle PRESET_STYLES[] = {
    {}, {.open = "[b]", .close = "[/b]", .bold = true}, {.open = "[i]", .close = "[/i]", .italic = true}};
static_assert(std::size(PRESET_COLORS) * std::size(PRESET_STYLES) == COLOR_PRESET_COUNT);

// The ranges of ids stay clear of each other and of the single commands.
static_assert(IDM_COLOR_PRESET_0 + COLOR_PRESET_COUNT <= IDM_PLAIN_FONT);
static_assert(IDM_REFLOW < IDM_SMILEY_FIRST);
static_assert(IDM_SMILEY_FIRST + SMILEY_COUNT <= 0xFFFF);

// The texts that the generated rows point into; they live as long as the program.
struct GeneratedTexts {
    std::array<std::string, SMILEY_COUNT> smileys;
    std::array<std::string, COLOR_PRESET_COUNT> preset_opens;
    std::array<std::string, COLOR_PRESET_COUNT> preset_closes;
};

std::vector<Markup> build_table(GeneratedTexts& texts)
{
    std::vector<Markup> table(std::begin(TAGS), std::end(TAGS));
    std::size_t preset = 0;
    for (const COLORREF color : PRESET_COLORS) {
        for (const PresetStyle& style : PRESET_STYLES) {
            texts.preset_opens[preset] = std::string(style.open) + "[color=#" + color_hex_digits(color) + "]";
            texts.preset_closes[preset] = "[/color]" + std::string(style.close);
            const InsertFormat format{.color = color, .bold = style.bold, .italic = style.italic};
            table.push_back({static_cast<WORD>(IDM_COLOR_PRESET_0 + preset), texts.preset_opens[preset],
                             texts.preset_closes[preset], MarkupOrder::FormatFirst, format, EDITOR});
            ++preset;
        }
    }
    for (std::size_t i = 0; i < SMILEY_COUNT; ++i) {
        texts.smileys[i] = smiley_markup(i);
        table.push_back({static_cast<WORD>(IDM_SMILEY_FIRST + i), texts.smileys[i], "", MarkupOrder::Smiley,
                         LINK_FORMAT, UNCHANGED});
    }
    return table;
}

const std::vector<Markup>& table()
{
    static GeneratedTexts texts;
    static const std::vector<Markup> rows = build_table(texts);
    return rows;
}

} // namespace

std::span<const Markup> markup_commands()
{
    return table();
}

const Markup* find_markup(WORD id)
{
    const auto& rows = table();
    const auto found = std::find_if(rows.begin(), rows.end(), [id](const Markup& m) { return m.id == id; });
    return found == rows.end() ? nullptr : &*found;
}

bool apply_markup(HWND editor, const Markup& markup)
{
    switch (markup.order) {
    case MarkupOrder::WrapFirst:
        wrap_selection(editor, markup.open, markup.close, AfterWrap::insertion_selected);
        apply_insert_format(editor, markup.format);
        return true;
    case MarkupOrder::FormatFirst:
        apply_insert_format(editor, markup.format);
        wrap_selection(editor, markup.open, markup.close, AfterWrap::insertion_selected);
        return true;
    case MarkupOrder::Smiley:
        wrap_selection(editor, markup.open, markup.close, AfterWrap::insertion_selected);
        SetFocus(editor);
        apply_insert_format(editor, markup.format);
        SetFocus(editor);
        return true;
    case MarkupOrder::Rule:
        // Leave the caret after the rule's line feed, ready to type on.
        apply_insert_format(editor, markup.format);
        wrap_selection(editor, markup.open, markup.close, AfterWrap::caret_after);
        SetFocus(editor);
        return false;
    }
    return false;
}
