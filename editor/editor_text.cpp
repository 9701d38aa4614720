#include "editor/editor_text.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "text/rtf/rtf_prescan.h"
#include "text/rtf/rtf_unicode.h"
#include "text/unicode/unicode_text.h"

CHARRANGE get_selection(HWND editor)
{
    CHARRANGE range{0, 0};
    SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void set_selection(HWND editor, LONG first, LONG last)
{
    CHARRANGE range{first, last};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

namespace {

// The control holds UTF-16, but its window takes 8-bit text messages; these
// messages carry UTF-16 whatever the window is, so no character is lost.
constexpr UINT UTF16_CODE_PAGE = 1200;

std::u16string read_utf16(HWND editor, DWORD flags, LONG positions)
{
    if (positions <= 0)
        return {};
    // Room for every position as one unit, its terminating zero, and a spare.
    std::u16string text(static_cast<std::size_t>(positions) + 2, u'\0');
    GETTEXTEX how{};
    how.cb = static_cast<DWORD>(text.size() * sizeof(char16_t));
    how.flags = flags;
    how.codepage = UTF16_CODE_PAGE;
    const LRESULT copied = SendMessageW(editor, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&how),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
    return text;
}

} // namespace

LONG text_length(HWND editor)
{
    GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, UTF16_CODE_PAGE};
    return static_cast<LONG>(SendMessageW(editor, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0));
}

std::u16string get_text_utf16(HWND editor)
{
    return read_utf16(editor, GT_DEFAULT, text_length(editor));
}

std::string get_text(HWND editor)
{
    return utf16_to_utf8(get_text_utf16(editor));
}

CHARFORMAT2A get_selection_format(HWND editor)
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

bool set_selection_format(HWND editor, const CHARFORMAT2A& format)
{
    return SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)) != 0;
}

std::string get_selected_text(HWND editor)
{
    const CHARRANGE range = get_selection(editor);
    return utf16_to_utf8(read_utf16(editor, GT_SELECTION, range.cpMax - range.cpMin));
}

void replace_selection(HWND editor, std::string_view text)
{
    replace_selection_utf16(editor, utf8_to_utf16(text));
}

std::u16string get_selected_utf16(HWND editor)
{
    const CHARRANGE range = get_selection(editor);
    return read_utf16(editor, GT_SELECTION, range.cpMax - range.cpMin);
}

void replace_selection_utf16(HWND editor, std::u16string_view text)
{
    const std::u16string terminated(text);
    SETTEXTEX how{ST_SELECTION, UTF16_CODE_PAGE};
    SendMessageW(editor, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(terminated.c_str()));
}

void replace_selection_in_slices(HWND editor, std::u16string_view text, const ProgressReport& progress)
{
    if (text.size() <= INSERT_SLICE) {
        replace_selection_utf16(editor, text);
        return;
    }
    RedrawPause pause(editor);
    for (std::size_t at = 0; at < text.size();) {
        report_progress(progress, at, text.size());
        const std::size_t end = slice_end(text, at, INSERT_SLICE);
        replace_selection_utf16(editor, text.substr(at, end - at));
        at = end;
    }
    report_progress(progress, text.size(), text.size());
}

CHARFORMAT2W get_selection_format_w(HWND editor)
{
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    // Wine's control copies the face name's whole buffer, with whatever
    // stood behind the name: two formats alike must be alike byte for byte.
    const auto name_end = std::find(std::begin(format.szFaceName), std::end(format.szFaceName), L'\0');
    std::fill(name_end, std::end(format.szFaceName), L'\0');
    return format;
}

bool set_selection_format_w(HWND editor, const CHARFORMAT2W& format)
{
    return SendMessageW(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)) != 0;
}

namespace {

// Characters formatted in one message when a range is formatted in slices.
constexpr LONG FORMAT_SLICE = 6000;

template <typename Format>
bool set_format_in_slices(HWND editor, const Format& format, bool (*set)(HWND, const Format&))
{
    const CHARRANGE selected = get_selection(editor);
    if (selected.cpMax - selected.cpMin <= FORMAT_SLICE)
        return set(editor, format);
    bool accepted = true;
    RedrawPause pause(editor);
    for (LONG at = selected.cpMin; accepted && at < selected.cpMax; at += FORMAT_SLICE) {
        set_selection(editor, at, std::min(at + FORMAT_SLICE, selected.cpMax));
        accepted = set(editor, format);
    }
    set_selection(editor, selected.cpMin, selected.cpMax);
    return accepted;
}

} // namespace

bool set_selection_format_in_slices(HWND editor, const CHARFORMAT2A& format)
{
    return set_format_in_slices(editor, format, set_selection_format);
}

bool set_selection_format_w_in_slices(HWND editor, const CHARFORMAT2W& format)
{
    return set_format_in_slices(editor, format, set_selection_format_w);
}

PARAFORMAT2 get_paragraph_format(HWND editor)
{
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    SendMessageW(editor, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format;
}

bool set_paragraph_format(HWND editor, const PARAFORMAT2& format)
{
    return SendMessageW(editor, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format)) != 0;
}

void insert_typed_text(HWND editor, std::u16string_view typed)
{
    const std::u16string terminated(typed);
    SETTEXTEX how{ST_SELECTION | ST_KEEPUNDO, UTF16_CODE_PAGE};
    SendMessageW(editor, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(terminated.c_str()));
}

namespace {

DWORD CALLBACK append_to_string(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written)
{
    try {
        reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                         static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        return 1;
    }
    *written = count;
    return 0;
}

// The bytes still to go into the control, and who hears how far it got.
struct StreamSource {
    std::string_view bytes;
    std::size_t offset;
    const ProgressReport& progress;
};

DWORD CALLBACK take_from_string(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read)
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    report_progress(source->progress, source->offset, source->bytes.size());
    const std::size_t taken = std::min(source->bytes.size() - source->offset,
                                       static_cast<std::size_t>(std::max<LONG>(count, 0)));
    std::copy_n(source->bytes.data() + source->offset, taken, buffer);
    source->offset += taken;
    *read = static_cast<LONG>(taken);
    return 0;
}

} // namespace

std::optional<std::string> stream_out(HWND editor, WPARAM format)
{
    std::string bytes;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&bytes), 0, append_to_string};
    SendMessageW(editor, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError != 0)
        return std::nullopt;
    return bytes;
}

bool stream_in(HWND editor, std::string_view bytes, WPARAM format, const ProgressReport& progress)
{
    if ((format & SF_RTF) && scan_rtf(bytes).verdict != RtfVerdict::ok)
        return false;
    StreamSource source{bytes, 0, progress};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, take_from_string};
    SendMessageW(editor, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return true;
}

std::optional<std::string> get_rtf(HWND editor, bool selection_only)
{
    // Written for UTF-8, the control keeps every character; the escapes then
    // make that RTF that any reader takes.
    const auto rtf = stream_out(editor, SF_RTF | SF_USECODEPAGE | (static_cast<WPARAM>(CP_UTF8) << 16) |
                                            (selection_only ? SFF_SELECTION : 0));
    if (!rtf)
        return std::nullopt;
    // The control counts the string's terminating zero into what it writes;
    // a file or a copy holds the RTF alone.
    std::string_view written = *rtf;
    while (!written.empty() && written.back() == '\0')
        written.remove_suffix(1);
    return escape_utf8_in_rtf(written, GetACP());
}

RedrawPause::RedrawPause(HWND editor) : editor_(editor)
{
    SendMessageA(editor_, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause()
{
    SendMessageA(editor_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(editor_, nullptr, TRUE);
}

namespace {

// Inserts text at a position, in the given format, without undo.
LONG insert_at(HWND editor, LONG position, const CHARFORMAT2A& format, std::string_view text)
{
    set_selection(editor, position, position);
    set_selection_format(editor, format);
    replace_selection(editor, text);
    return get_selection(editor).cpMax;
}

} // namespace

CHARRANGE insert_around_selection(HWND editor, std::string_view before, std::string_view after)
{
    const CHARRANGE selected = get_selection(editor);
    if (selected.cpMin == selected.cpMax) {
        // Nothing to keep in between: one insertion in the caret's own format.
        replace_selection(editor, std::string(before).append(after));
        return {selected.cpMin, get_selection(editor).cpMax};
    }

    RedrawPause pause(editor);
    set_selection(editor, selected.cpMin, selected.cpMin + 1);
    const CHARFORMAT2A first_character = get_selection_format(editor);
    // Behind first, so that the start stays where it is.
    const LONG end = insert_at(editor, selected.cpMax, first_character, after);
    const LONG before_end = insert_at(editor, selected.cpMin, first_character, before);
    const LONG new_end = end + (before_end - selected.cpMin);
    set_selection(editor, new_end, new_end);
    return {selected.cpMin, new_end};
}
