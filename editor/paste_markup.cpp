#include "editor/paste_markup.h"

#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/editor_text.h"
#include "editor/insert_format.h"
#include "editor/markup_commands.h"
#include "res/resource_ids.h"
#include "text/markup_writer.h"
#include "text/unicode_text.h"
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

// Where a place in the markup's UTF-16 units stands in the control. Wine's
// control takes a line feed as one position; a control that counts it as
// two (CR LF) gives each line feed before the place one more.
class ControlPositions {
public:
    ControlPositions(std::u16string_view text, LONG start, LONG inserted) : start_(start)
    {
        const auto line_feeds = std::count(text.begin(), text.end(), u'\n');
        if (line_feeds == 0 || static_cast<std::size_t>(inserted) == text.size())
            return;
        extra_ = (inserted - static_cast<LONG>(text.size())) / static_cast<LONG>(line_feeds);
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == u'\n')
                line_feeds_.push_back(i);
    }

    LONG operator()(std::size_t unit) const
    {
        const auto before = std::lower_bound(line_feeds_.begin(), line_feeds_.end(), unit) - line_feeds_.begin();
        return start_ + static_cast<LONG>(unit) + extra_ * static_cast<LONG>(before);
    }

private:
    LONG start_;
    LONG extra_ = 0;
    std::vector<std::size_t> line_feeds_;
};

} // namespace

void insert_pasted_markup(HWND editor, const PastedMarkup& markup)
{
    const CHARRANGE selected = get_selection(editor);
    const LONG kept = text_length(editor) - (selected.cpMax - selected.cpMin);
    const std::u16string text = utf8_to_utf16(markup.text);
    RedrawPause pause(editor);
    replace_selection_utf16(editor, text);
    const LONG end = selected.cpMin + text_length(editor) - kept;
    set_selection(editor, selected.cpMin, end);
    set_insert_format(editor, PLAIN_FORMAT);
    const ControlPositions position(text, selected.cpMin, end - selected.cpMin);
    for (const WrittenTag& tag : markup.tags) {
        if (const std::optional<InsertFormat> look = look_of(tag)) {
            set_selection(editor, position(tag.begin), position(tag.end));
            add_insert_look(editor, *look);
        }
    }
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
