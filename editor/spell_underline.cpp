#include "editor/spell_underline.h"

#include <richedit.h>

#include <algorithm>

#include "editor/editor_text.h"
#include "win/input_waiting.h"
#include "win/precise_clock.h"
#include "win/win_handles.h"
#include "win/window_ids.h"

namespace {

constexpr UINT FIND_DELAY_MS = 100;
// A slice of finding ends once it has taken this long, so that a key that
// comes meanwhile waits no longer.
constexpr double SLICE_MS = 8.0;
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

std::vector<MarkBand> bands_of(HWND editor, TextRange range, int line_height, int client_right)
{
    const POINT start = position_of(editor, range.start);
    const POINT end = position_of(editor, range.start + range.length);
    const int bottom = line_bottom(editor, range.start, start.y, line_height);
    if (end.y == start.y || end.y < start.y)
        return {{range, start.x, std::max(end.x, start.x + ZIGZAG_STEP), bottom}};
    // A word broken over two lines.
    return {{range, start.x, client_right, bottom},
            {range, 0, end.x, line_bottom(editor, range.start + range.length, end.y, line_height)}};
}

// What a band's zigzag covers.
RECT area_of(const MarkBand& band)
{
    return {band.left, band.bottom - 2 * ZIGZAG_STEP, band.right + ZIGZAG_STEP, band.bottom};
}

// The control paints the band's area again, and the paint after it draws
// the zigzag there, or wipes it.
void repaint_band(HWND editor, const MarkBand& band)
{
    const RECT area = area_of(band);
    InvalidateRect(editor, &area, FALSE);
}

int font_height(HDC dc)
{
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

MarkView view_of(HWND editor)
{
    RECT client{};
    GetClientRect(editor, &client);
    return {GetScrollPos(editor, SB_HORZ), GetScrollPos(editor, SB_VERT), client.right, client.bottom};
}

bool caret_within(HWND editor, TextRange range)
{
    const CHARRANGE selection = get_selection(editor);
    return selection.cpMin >= range.start && selection.cpMax <= range.start + range.length;
}

bool before(const TextRange& a, const TextRange& b)
{
    return a.start != b.start ? a.start < b.start : a.length < b.length;
}

bool band_before(const MarkBand& band, const TextRange& range)
{
    return before(band.range, range);
}

bool has_bands(const SpellMarks& marks, const TextRange& range)
{
    const auto found = std::lower_bound(marks.bands.begin(), marks.bands.end(), range, band_before);
    return found != marks.bands.end() && found->range == range;
}

bool is_marked(const SpellMarks& marks, const TextRange& range)
{
    return std::binary_search(marks.misspelt.begin(), marks.misspelt.end(), range, before);
}

// Setting a timer asks the window server, which a key should not wait
// for: only the first change since the last finding does.
void schedule_finding(HWND editor, SpellMarks& marks)
{
    marks.moved_at = GetTickCount();
    if (marks.finding_due)
        return;
    marks.finding_due = true;
    SetTimer(editor, SPELL_MARKS_TIMER, FIND_DELAY_MS, nullptr);
}

// Kept bands belong to one scroll position and size; at any other they are
// forgotten, and found again.
bool view_still_holds(HWND editor, SpellMarks& marks)
{
    const MarkView view = view_of(editor);
    if (view == marks.view)
        return true;
    marks.view = view;
    marks.bands.clear();
    marks.visible.reset();
    return false;
}

// Finds where the marks on screen that have no bands yet stand, and has
// them drawn, until the slice is used up. True when none is left.
bool find_visible_marks(HWND editor, SpellMarks& marks)
{
    const double start = now_ms();
    view_still_holds(editor, marks);
    if (!marks.visible) {
        const LONG first = character_at(editor, {0, 0});
        const LONG last = character_at(editor, {marks.view.width - 1, marks.view.height - 1});
        marks.visible = TextRange{first, std::max<LONG>(last - first, 0)};
        if (now_ms() - start > SLICE_MS / 2)
            return false;
    }
    const WindowDc dc(editor);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(editor, WM_GETFONT, 0, 0));
    const SelectedObject chosen_font(dc.get(), font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    const int height = font_height(dc.get());
    const LONG first = marks.visible->start, last = first + marks.visible->length;
    auto range = std::lower_bound(marks.misspelt.begin(), marks.misspelt.end(), first,
                                  [](const TextRange& r, LONG at) { return r.start + r.length < at; });
    double slowest = 0;
    for (; range != marks.misspelt.end() && range->start <= last; ++range) {
        if (has_bands(marks, *range))
            continue;
        const double begun = now_ms();
        if (begun - start + slowest > SLICE_MS)
            return false;
        const std::vector<MarkBand> found = bands_of(editor, *range, height, marks.view.width);
        const auto at = std::lower_bound(marks.bands.begin(), marks.bands.end(), *range, band_before);
        marks.bands.insert(at, found.begin(), found.end());
        for (const MarkBand& band : found)
            repaint_band(editor, band);
        slowest = std::max(slowest, now_ms() - begun);
    }
    return true;
}

void on_find_timer(HWND editor, SpellMarks& marks)
{
    // The timer stays set and comes back once the input is handled.
    if (input_waiting())
        return;
    const DWORD quiet = GetTickCount() - marks.moved_at;
    if (quiet < FIND_DELAY_MS) {
        SetTimer(editor, SPELL_MARKS_TIMER, FIND_DELAY_MS - quiet, nullptr);
        return;
    }
    if (!marks.shown || marks.misspelt.empty() || find_visible_marks(editor, marks)) {
        KillTimer(editor, SPELL_MARKS_TIMER);
        marks.finding_due = false;
    } else {
        SetTimer(editor, SPELL_MARKS_TIMER, USER_TIMER_MINIMUM, nullptr);
    }
}

// Draws the kept zigzags within the area the control just painted; asks
// the control nothing, so that a paint after a key costs no more with
// spelling on. Marks not yet found are drawn once they are. Nothing to draw
// there, and the window is not touched at all.
void paint_marks(HWND editor, const SpellMarks& marks, const RECT& painted)
{
    std::vector<const MarkBand*> drawn;
    for (const MarkBand& band : marks.bands) {
        const RECT area = area_of(band);
        RECT overlap{};
        if (!IntersectRect(&overlap, &area, &painted))
            continue;
        if (marks.held && *marks.held == band.range && caret_within(editor, band.range))
            continue;
        drawn.push_back(&band);
    }
    if (drawn.empty())
        return;
    const WindowDc dc(editor);
    const UniqueHandle<handle_traits::GdiObject<HPEN>> pen(CreatePen(PS_SOLID, 1, ZIGZAG_COLOR));
    const SelectedObject chosen_pen(dc.get(), pen.get());
    IntersectClipRect(dc.get(), painted.left, painted.top, painted.right, painted.bottom);
    // The caret is drawn by inverting: it must not blink over the lines.
    HideCaret(editor);
    for (const MarkBand* band : drawn)
        draw_zigzag(dc.get(), band->left, band->right, band->bottom);
    ShowCaret(editor);
}

} // namespace

std::optional<RECT> area_to_mark(HWND editor, const SpellMarks& marks)
{
    if (!marks.shown || marks.misspelt.empty())
        return std::nullopt;
    RECT painted{};
    if (!GetUpdateRect(editor, &painted, FALSE))
        return std::nullopt;
    return painted;
}

void mark_painted_area(HWND editor, SpellMarks& marks, const RECT& painted)
{
    // Scrolled or resized: the marks on screen are others, found once the input pauses.
    if (!view_still_holds(editor, marks))
        schedule_finding(editor, marks);
    paint_marks(editor, marks, painted);
}

bool on_marks_timer(HWND editor, SpellMarks& marks, UINT_PTR timer)
{
    if (timer != SPELL_MARKS_TIMER)
        return false;
    on_find_timer(editor, marks);
    return true;
}

void release_held_word(HWND editor, SpellMarks& marks)
{
    if (!marks.held || caret_within(editor, *marks.held))
        return;
    const TextRange held = *marks.held;
    marks.held.reset();
    if (!has_bands(marks, held)) {
        schedule_finding(editor, marks);
        return;
    }
    for (const MarkBand& band : marks.bands)
        if (band.range == held)
            repaint_band(editor, band);
}

void stop_finding_marks(HWND editor)
{
    KillTimer(editor, SPELL_MARKS_TIMER);
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

void marks_moved_after_key(HWND editor, SpellMarks& marks, LONG position)
{
    // A mark that the key touched may be gone: wipe it. Those after it
    // only move, and the control repaints the lines they stood on.
    const auto moved = std::find_if(marks.bands.begin(), marks.bands.end(), [position](const MarkBand& band) {
        return band.range.start + band.range.length >= position;
    });
    for (auto band = moved; band != marks.bands.end() && band->range.start <= position; ++band)
        repaint_band(editor, *band);
    marks.bands.erase(moved, marks.bands.end());
    marks.visible.reset();
    schedule_finding(editor, marks);
}

void marks_moved(HWND editor, SpellMarks& marks)
{
    for (const MarkBand& band : marks.bands)
        repaint_band(editor, band);
    marks.bands.clear();
    marks.visible.reset();
    schedule_finding(editor, marks);
}

void marks_replaced(HWND editor, SpellMarks& marks)
{
    std::vector<MarkBand> kept;
    for (const MarkBand& band : marks.bands) {
        if (is_marked(marks, band.range))
            kept.push_back(band);
        else
            repaint_band(editor, band);
    }
    marks.bands = std::move(kept);
    schedule_finding(editor, marks);
}
