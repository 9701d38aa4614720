#include "editor/paste_markup.h"

#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/editor_text.h"
#include "editor/insert_format.h"
#include "editor/markup_commands.h"
#include "res/resource_ids.h"
#include "text/paste/markup_writer.h"
#include "text/rtf/rtf_unicode.h"
#include "text/unicode/unicode_text.h"
#include "win/win_handles.h"

namespace {

// The look of a written tag: the one its markup command gives it.
std::optional<InsertFormat> look_of(const WrittenTag& tag)
{
    const auto command_look = [](WORD id) -> std::optional<InsertFormat> {
        const Markup* markup = find_markup(id);
        return markup ? std::optional(markup->format) : std::nullopt;
    };
    switch (tag.tag) {
    case ForumTagId::b:
        return command_look(IDM_TAG_BOLD);
    case ForumTagId::i:
        return command_look(IDM_TAG_ITALIC);
    case ForumTagId::u:
        return command_look(IDM_TAG_UNDERLINE);
    case ForumTagId::url:
        return command_look(IDM_TAG_URL);
    case ForumTagId::email:
        return command_look(IDM_TAG_EMAIL);
    case ForumTagId::img:
        return command_look(IDM_TAG_IMAGE);
    case ForumTagId::quote:
        return command_look(IDM_TAG_QUOTE);
    case ForumTagId::hr:
        return command_look(IDM_TAG_HR);
    case ForumTagId::color: // as the colour presets give theirs
        return InsertFormat{.color = RGB((tag.rgb >> 16) & 0xFF, (tag.rgb >> 8) & 0xFF, tag.rgb & 0xFF)};
    default: // code, center, size, list: plain, as their commands leave them
        return std::nullopt;
    }
}

// A stretch of the markup in one look: the effects of every tag around
// it, and the colour of the innermost one that has a colour.
struct LookRun {
    std::size_t end; // in UTF-16 units
    InsertFormat look;
};

std::vector<LookRun> look_runs(const PastedMarkup& markup, std::size_t length)
{
    struct Open {
        std::size_t end;
        InsertFormat look;
    };
    std::vector<LookRun> runs;
    std::vector<Open> open; // nested, innermost last
    const auto look_now = [&] {
        InsertFormat look = PLAIN_FORMAT;
        for (const Open& tag : open) {
            look.bold = look.bold || tag.look.bold;
            look.italic = look.italic || tag.look.italic;
            look.underline = look.underline || tag.look.underline;
            if (tag.look.color != PLAIN_FORMAT.color)
                look.color = tag.look.color;
        }
        return look;
    };
    std::size_t at = 0;
    const auto run_to = [&](std::size_t end) {
        if (end > at)
            runs.push_back({end, look_now()});
        at = std::max(at, end);
    };
    for (const WrittenTag& tag : markup.tags) {
        while (!open.empty() && open.back().end <= tag.begin) {
            run_to(open.back().end);
            open.pop_back();
        }
        run_to(tag.begin);
        open.push_back({tag.end, look_of(tag).value_or(PLAIN_FORMAT)});
    }
    while (!open.empty()) {
        run_to(open.back().end);
        open.pop_back();
    }
    run_to(length);
    return runs;
}

void append_rtf_text(std::string& rtf, std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue; // CR LF is one line end
        if (unit == u'\n' || unit == u'\r')
            rtf += "\\par\n";
        else if (unit == u'\t')
            rtf += "\\tab ";
        else if (unit == u'\\' || unit == u'{' || unit == u'}')
            rtf.append(1, '\\').append(1, static_cast<char>(unit));
        else if (unit >= 0x20 && unit < 0x7F)
            rtf += static_cast<char>(unit);
        else
            append_unicode_escape(rtf, unit);
    }
}

void append_color(std::string& rtf, COLORREF color)
{
    rtf += "\\red" + std::to_string(GetRValue(color)) + "\\green" + std::to_string(GetGValue(color)) + "\\blue" +
           std::to_string(GetBValue(color)) + ";";
}

// The markup as RTF in which every run has its look, on the typing
// format's face, character set and size: the control takes it in one
// stream, where formatting each tag afterwards would take it a message
// (and, under Wine, milliseconds) per tag. Its only groups are the tables.
std::string markup_rtf(const PastedMarkup& markup, const std::u16string& text, const CHARFORMAT2W& typing)
{
    const std::vector<LookRun> runs = look_runs(markup, text.size());
    std::vector<COLORREF> colors{RGB(255, 255, 255)};
    for (const LookRun& run : runs)
        if (std::find(colors.begin(), colors.end(), run.look.color) == colors.end())
            colors.push_back(run.look.color);
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\fcharset" +
                      std::to_string(typing.bCharSet) + " ";
    const std::wstring_view face(typing.szFaceName);
    append_rtf_text(rtf, std::u16string(face.begin(), face.end()));
    rtf += ";}}{\\colortbl ;";
    for (const COLORREF color : colors)
        append_color(rtf, color);
    rtf += "}\n\\f0";
    if (typing.yHeight > 0)
        rtf += "\\fs" + std::to_string(typing.yHeight / 10);
    rtf += "\\highlight1 ";
    std::size_t at = 0;
    for (const LookRun& run : runs) {
        const auto color = std::find(colors.begin(), colors.end(), run.look.color) - colors.begin() + 1;
        rtf += std::string(run.look.bold ? "\\b" : "\\b0") + (run.look.italic ? "\\i" : "\\i0") +
               (run.look.underline ? "\\ul" : "\\ulnone") + "\\cf" + std::to_string(color) + " ";
        append_rtf_text(rtf, std::u16string_view(text).substr(at, run.end - at));
        at = run.end;
    }
    return rtf + "}";
}

} // namespace

constexpr std::size_t LONG_PLAIN_PASTE = 100000;

void insert_pasted_markup(HWND editor, const PastedMarkup& markup, const ProgressReport& progress)
{
    const CHARRANGE selected = get_selection(editor);
    const LONG kept = text_length(editor) - (selected.cpMax - selected.cpMin);
    const std::u16string text = utf8_to_utf16(markup.text);
    report_progress(progress, 0, text.size());
    // Plain text of this length goes in faster a slice at a time than in
    // one message, and shows its progress.
    if (markup.tags.empty() && text.size() >= LONG_PLAIN_PASTE) {
        replace_selection_in_slices(editor, text, progress);
        return;
    }
    set_selection(editor, selected.cpMin, selected.cpMin);
    const CHARFORMAT2W typing = get_selection_format_w(editor);
    set_selection(editor, selected.cpMin, selected.cpMax);
    RedrawPause pause(editor);
    if (!stream_in(editor, markup_rtf(markup, text, typing), SF_RTF | SFF_SELECTION, progress))
        replace_selection_utf16(editor, text);
    const LONG end = selected.cpMin + text_length(editor) - kept;
    set_selection(editor, end, end);
}

namespace {

// What a run of the hidden control's text looks like.
DWORD run_mask(const PasteOptions& options)
{
    return CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT |
           (options.colors_and_sizes ? CFM_COLOR | CFM_SIZE : 0);
}

InlineStyle style_of(const CHARFORMAT2W& format)
{
    InlineStyle style;
    style.bold = (format.dwEffects & CFE_BOLD) != 0;
    style.italic = (format.dwEffects & CFE_ITALIC) != 0;
    style.underline = (format.dwEffects & CFE_UNDERLINE) != 0;
    style.strike = (format.dwEffects & CFE_STRIKEOUT) != 0;
    if (!(format.dwEffects & CFE_AUTOCOLOR))
        style.color = static_cast<std::uint32_t>(GetRValue(format.crTextColor)) << 16 |
                      static_cast<std::uint32_t>(GetGValue(format.crTextColor)) << 8 | GetBValue(format.crTextColor);
    // Twips: 15 to a pixel at 96 DPI.
    style.size_px = static_cast<int>(format.yHeight / 15);
    return style;
}

struct Run {
    LONG first;
    LONG last;
    InlineStyle style;
};

// The runs of one look between two positions: a range the control reports
// as one look is one run, any other is halved. The control is asked about
// each run and its halves, so the questions grow as the runs times the
// halvings, not as the characters.
void collect_runs(HWND control, const std::u16string& text, LONG first, LONG last, DWORD mask, std::vector<Run>& runs)
{
    set_selection(control, first, last);
    const CHARFORMAT2W format = get_selection_format_w(control);
    if ((format.dwMask & mask) == mask || last - first == 1) {
        InlineStyle style = style_of(format);
        if (!runs.empty() && runs.back().style == style)
            runs.back().last = last;
        else
            runs.push_back({first, last, std::move(style)});
        return;
    }
    LONG middle = first + (last - first) / 2;
    // Never between the halves of a surrogate pair.
    if (static_cast<std::size_t>(middle) < text.size() && text[static_cast<std::size_t>(middle)] >= 0xDC00 &&
        text[static_cast<std::size_t>(middle)] <= 0xDFFF && middle + 1 < last)
        ++middle;
    collect_runs(control, text, first, middle, mask, runs);
    collect_runs(control, text, middle, last, mask, runs);
}

// The control's paragraph ends ("\r", or "\r\n") as line feeds.
std::string as_lines(std::u16string_view units)
{
    std::u16string lines;
    lines.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i] == u'\r') {
            lines.push_back(u'\n');
            if (i + 1 < units.size() && units[i + 1] == u'\n')
                ++i;
        } else {
            lines.push_back(units[i]);
        }
    }
    return utf16_to_utf8(lines);
}

} // namespace

std::optional<PastedMarkup> rich_text_to_markup(HWND editor, std::string_view rtf, const PasteOptions& options)
{
    wchar_t class_name[64]{};
    GetClassNameW(editor, class_name, static_cast<int>(std::size(class_name)));
    const OwnedWindow control(CreateWindowExW(0, class_name, L"", WS_POPUP | ES_MULTILINE, 0, 0, 600, 400, nullptr,
                                              nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!control)
        return std::nullopt;
    SendMessageW(control.get(), EM_EXLIMITTEXT, 0, EDITOR_TEXT_LIMIT);
    // Wine's control starts from a bold system font, which the RTF's runs
    // would inherit: the reader starts from plain 12-point text instead.
    CHARFORMAT2W plain{};
    plain.cbSize = sizeof plain;
    plain.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR | CFM_SIZE;
    plain.dwEffects = CFE_AUTOCOLOR;
    plain.yHeight = 240;
    for (const WPARAM which : {SCF_DEFAULT, SCF_SELECTION})
        SendMessageW(control.get(), EM_SETCHARFORMAT, which, reinterpret_cast<LPARAM>(&plain));
    if (!stream_in(control.get(), rtf, SF_RTF))
        return std::nullopt;
    const std::u16string text = get_text_utf16(control.get());
    std::vector<Run> runs;
    if (!text.empty())
        collect_runs(control.get(), text, 0, static_cast<LONG>(text.size()), run_mask(options), runs);
    MarkupWriter writer(options);
    for (const Run& run : runs)
        writer.preserved_text(as_lines(std::u16string_view(text).substr(static_cast<std::size_t>(run.first),
                                                                         static_cast<std::size_t>(run.last - run.first))),
                              run.style);
    return writer.finish();
}
