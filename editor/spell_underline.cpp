#include "editor/spell_underline.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "editor/editor_text.h"
#include "win/win_handles.h"

namespace {

constexpr UINT_PTR SUBCLASS_ID = 0x5350454C; // "SPEL"
constexpr COLORREF ZIGZAG_COLOR = RGB(230, 0, 0);
// Each step of the zigzag is this wide and high, in pixels.
constexpr int ZIGZAG_STEP = 2;

// Where the character at `position` is drawn (its top left corner). The
// rich-edit control of version 1 takes a pointer to the point.
POINT position_of(HWND editor, LONG position)
{
    POINTL point{};
    SendMessageW(editor, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), position);
    return {point.x, point.y};
}

LONG character_at(HWND editor, POINT point)
{
    POINTL at{point.x, point.y};
    return static_cast<LONG>(SendMessageW(editor, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at)));
}

// The bottom of the line that holds the position: the top of the next
// line, or the top plus the height of the font in use.
int line_bottom(HWND editor, LONG position, int top, int fallback_height)
{
    const auto line = SendMessageW(editor, EM_EXLINEFROMCHAR, 0, position);
    const auto next = SendMessageW(editor, EM_LINEINDEX, line + 1, 0);
    if (next > position) {
        const int next_top = position_of(editor, static_cast<LONG>(next)).y;
        if (next_top > top)
            return next_top;
    }
    return top + fallback_height;
}

void draw_zigzag(HDC dc, int left, int right, int bottom)
{
    std::vector<POINT> points;
    for (int x = left, step = 0; x <= right; x += ZIGZAG_STEP, ++step)
        points.push_back({x, bottom - 1 - (step % 2) * ZIGZAG_STEP});
    if (points.size() >= 2)
        Polyline(dc, points.data(), static_cast<int>(points.size()));
}

// The band of the client area that the range's zigzag takes, on one line.
struct Band {
    int left;
    int right;
    int bottom;
};

std::vector<Band> bands_of(HWND editor, TextRange range, int line_height, int client_right)
{
    const POINT start = position_of(editor, range.start);
    const POINT end = position_of(editor, range.start + range.length);
    const int bottom = line_bottom(editor, range.start, start.y, line_height);
    if (end.y == start.y || end.y < start.y)
        return {{start.x, std::max(end.x, start.x + ZIGZAG_STEP), bottom}};
    // A word broken over two lines.
    return {{start.x, client_right, bottom},
            {0, end.x, line_bottom(editor, range.start + range.length, end.y, line_height)}};
}

int font_height(HDC dc)
{
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

bool caret_within(HWND editor, TextRange range)
{
    const CHARRANGE selection = get_selection(editor);
    return selection.cpMin >= range.start && selection.cpMax <= range.start + range.length;
}

// Paints the zigzags of the words within the area the control just painted.
void paint_marks(HWND editor, const SpellMarks& marks, const RECT& painted)
{
    const LONG first = character_at(editor, {painted.left, painted.top});
    const LONG last = character_at(editor, {painted.right - 1, painted.bottom - 1});
    auto range = std::lower_bound(marks.misspelt.begin(), marks.misspelt.end(), first,
                                  [](const TextRange& r, LONG at) { return r.start + r.length < at; });
    if (range == marks.misspelt.end() || range->start > last)
        return;
    const WindowDc dc(editor);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(editor, WM_GETFONT, 0, 0));
    const SelectedObject chosen_font(dc.get(), font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    const int height = font_height(dc.get());
    const UniqueHandle<handle_traits::GdiObject<HPEN>> pen(CreatePen(PS_SOLID, 1, ZIGZAG_COLOR));
    const SelectedObject chosen_pen(dc.get(), pen.get());
    IntersectClipRect(dc.get(), painted.left, painted.top, painted.right, painted.bottom);
    // The caret is drawn by inverting: it must not blink over the lines.
    HideCaret(editor);
    RECT client{};
    GetClientRect(editor, &client);
    for (; range != marks.misspelt.end() && range->start <= last; ++range) {
        if (marks.held && *marks.held == *range && caret_within(editor, *range))
            continue;
        // Each question to the control costs time in proportion to the
        // text before the word: a word whose line lies outside the painted
        // area costs only this one.
        const int top = position_of(editor, range->start).y;
        if (top > painted.bottom)
            break;
        if (top + 2 * height < painted.top && top >= 0)
            continue;
        for (const Band& band : bands_of(editor, *range, height, client.right))
            draw_zigzag(dc.get(), band.left, band.right, band.bottom);
    }
    ShowCaret(editor);
}

// The word held back while it was typed shows once the caret has left it.
void release_held_word(HWND editor, SpellMarks& marks)
{
    if (!marks.held || caret_within(editor, *marks.held))
        return;
    const TextRange held = *marks.held;
    marks.held.reset();
    repaint_ranges(editor, {held});
}

LRESULT CALLBACK underline_proc(HWND editor, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data)
{
    auto& marks = *reinterpret_cast<SpellMarks*>(data);
    switch (message) {
    case WM_PAINT: {
        RECT painted{};
        const bool any = GetUpdateRect(editor, &painted, FALSE) != 0;
        const LRESULT result = DefSubclassProc(editor, message, wparam, lparam);
        if (any && marks.shown && !marks.misspelt.empty())
            paint_marks(editor, marks, painted);
        return result;
    }
    case WM_KEYUP:
    case WM_LBUTTONUP:
    case WM_KILLFOCUS: {
        const LRESULT result = DefSubclassProc(editor, message, wparam, lparam);
        release_held_word(editor, marks);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(editor, underline_proc, SUBCLASS_ID);
        return DefSubclassProc(editor, message, wparam, lparam);
    default:
        return DefSubclassProc(editor, message, wparam, lparam);
    }
}

} // namespace

bool install_spell_underline(HWND editor, SpellMarks& marks)
{
    return SetWindowSubclass(editor, underline_proc, SUBCLASS_ID, reinterpret_cast<DWORD_PTR>(&marks)) != FALSE;
}

std::optional<TextRange> misspelling_at(HWND editor, const SpellMarks& marks, POINT point)
{
    const LONG at = character_at(editor, point);
    for (const TextRange& range : marks.misspelt) {
        if (at < range.start || at >= range.start + range.length)
            continue;
        // The control names the nearest character also for a point beside
        // the text: only a point on the word itself counts.
        const POINT start = position_of(editor, range.start);
        const POINT end = position_of(editor, range.start + range.length);
        const int bottom = line_bottom(editor, range.start, start.y, 0);
        const bool on_line = point.y >= start.y && (bottom <= start.y || point.y < bottom);
        const bool on_word = end.y != start.y || (point.x >= start.x && point.x < end.x);
        return on_line && on_word ? std::optional(range) : std::nullopt;
    }
    return std::nullopt;
}

void repaint_ranges(HWND editor, const std::vector<TextRange>& ranges)
{
    RECT client{};
    GetClientRect(editor, &client);
    const WindowDc dc(editor);
    const int height = font_height(dc.get());
    for (const TextRange& range : ranges) {
        for (const Band& band : bands_of(editor, range, height, client.right)) {
            // The zigzag hangs just above the line's bottom: repaint the
            // bottom of the line, where the text's descenders are too.
            RECT area{band.left, band.bottom - height, band.right + ZIGZAG_STEP, band.bottom};
            InvalidateRect(editor, &area, FALSE);
        }
    }
}
