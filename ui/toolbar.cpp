#include "ui/toolbar.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <vector>

#include "res/resource_ids.h"
#include "win/messages.h"
#include "win/win_handles.h"

namespace {

constexpr int STANDARD_IMAGE_COUNT = 8;
constexpr int STRIP_IMAGE_COUNT = 15;

constexpr TBBUTTON button(int image, int command)
{
    TBBUTTON b{};
    b.iBitmap = image;
    b.idCommand = command;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = TBSTYLE_BUTTON;
    return b;
}

constexpr std::array<TBBUTTON, 8> standard_buttons{{
    button(STD_FILENEW, IDM_FILE_NEW),
    button(STD_FILEOPEN, IDM_FILE_OPEN),
    button(STD_FILESAVE, IDM_FILE_SAVE),
    button(STD_PRINT, IDM_FILE_PRINT),
    button(STD_COPY, IDM_EDIT_COPY),
    button(STD_CUT, IDM_EDIT_CUT),
    button(STD_PASTE, IDM_EDIT_PASTE),
    button(STD_UNDO, IDM_EDIT_UNDO),
}};

// Image indexes within the program's own strip, in strip order.
constexpr std::array<TBBUTTON, STRIP_IMAGE_COUNT> own_buttons{{
    button(0, IDM_TAG_SIZE22),
    button(1, IDM_TAG_SIZE30),
    button(2, IDM_TAG_BOLD),
    button(3, IDM_TAG_ITALIC),
    button(4, IDM_TAG_UNDERLINE),
    button(5, IDM_COLOR_PRESET_0 + 0),
    button(6, IDM_COLOR_PRESET_0 + 1),
    button(7, IDM_COLOR_PRESET_0 + 2),
    button(8, IDM_COLOR_PRESET_0 + 3),
    button(9, IDM_COLOR_PRESET_0 + 4),
    button(10, IDM_COLOR_PRESET_0 + 5),
    button(11, IDM_COLOR_PRESET_0 + 6),
    button(12, IDM_COLOR_PRESET_0 + 7),
    button(13, IDM_COLOR_PRESET_0 + 8),
    button(14, IDM_PLAIN_FONT),
}};

// Each insertion shifts what follows, which yields the groups
// | New Open Save | Print | Copy Cut Paste | Undo | sizes | styles | presets...
constexpr std::array<int, 9> separator_positions{0, 4, 6, 10, 12, 15, 19, 23, 27};

// Tooltips name each button, in the language of the interface.
constexpr DWORD TOOLBAR_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS;

struct ButtonTip {
    int command;
    UINT text;
};
constexpr ButtonTip BUTTON_TIPS[] = {
    {IDM_FILE_NEW, IDS_TIP_NEW},
    {IDM_FILE_OPEN, IDS_TIP_OPEN},
    {IDM_FILE_SAVE, IDS_TIP_SAVE},
    {IDM_FILE_PRINT, IDS_TIP_PRINT},
    {IDM_EDIT_COPY, IDS_TIP_COPY},
    {IDM_EDIT_CUT, IDS_TIP_CUT},
    {IDM_EDIT_PASTE, IDS_TIP_PASTE},
    {IDM_EDIT_UNDO, IDS_TIP_UNDO},
    {IDM_TAG_SIZE22, IDS_TIP_SIZE22},
    {IDM_TAG_SIZE30, IDS_TIP_SIZE30},
    {IDM_TAG_BOLD, IDS_TIP_BOLD},
    {IDM_TAG_ITALIC, IDS_TIP_ITALIC},
    {IDM_TAG_UNDERLINE, IDS_TIP_UNDERLINE},
    {IDM_COLOR_PRESET_0 + 0, IDS_TIP_RED},
    {IDM_COLOR_PRESET_0 + 1, IDS_TIP_RED_BOLD},
    {IDM_COLOR_PRESET_0 + 2, IDS_TIP_RED_ITALIC},
    {IDM_COLOR_PRESET_0 + 3, IDS_TIP_TEAL},
    {IDM_COLOR_PRESET_0 + 4, IDS_TIP_TEAL_BOLD},
    {IDM_COLOR_PRESET_0 + 5, IDS_TIP_TEAL_ITALIC},
    {IDM_COLOR_PRESET_0 + 6, IDS_TIP_BLUE},
    {IDM_COLOR_PRESET_0 + 7, IDS_TIP_BLUE_BOLD},
    {IDM_COLOR_PRESET_0 + 8, IDS_TIP_BLUE_ITALIC},
    {IDM_PLAIN_FONT, IDS_TIP_PLAIN},
};
static_assert(std::size(BUTTON_TIPS) == standard_buttons.size() + own_buttons.size());

// The pictures come in two sizes: the small ones (16 x 15) up to 120 DPI,
// the large ones (24 x 24) from 144 DPI on. The system draws its large
// pictures for that size; the program's own are scaled.
constexpr UINT LARGE_IMAGES_FROM_DPI = 144;
constexpr SIZE SMALL_IMAGE{16, 15};
constexpr SIZE LARGE_IMAGE{24, 24};

using Pixels = std::vector<RGBQUAD>;

// Each new pixel is the average of the old pixels under it, weighted by how
// much of each it covers: strokes stay even, where copying the nearest
// pixel would make some one pixel wide and others two (StretchBlt's
// HALFTONE does the same, but not everywhere).
Pixels scale_by_area(const Pixels& from, SIZE from_size, SIZE to_size)
{
    Pixels to(static_cast<size_t>(to_size.cx) * static_cast<size_t>(to_size.cy));
    const double step_x = static_cast<double>(from_size.cx) / to_size.cx;
    const double step_y = static_cast<double>(from_size.cy) / to_size.cy;
    for (int y = 0; y < to_size.cy; ++y) {
        for (int x = 0; x < to_size.cx; ++x) {
            const double left = x * step_x, right = left + step_x, top = y * step_y, bottom = top + step_y;
            double sum[3]{}, area = 0;
            for (int sy = static_cast<int>(top); sy < bottom && sy < from_size.cy; ++sy) {
                const double height = std::min<double>(sy + 1, bottom) - std::max<double>(sy, top);
                for (int sx = static_cast<int>(left); sx < right && sx < from_size.cx; ++sx) {
                    const double weight = height * (std::min<double>(sx + 1, right) - std::max<double>(sx, left));
                    const RGBQUAD& pixel = from[static_cast<size_t>(sy) * from_size.cx + sx];
                    sum[0] += weight * pixel.rgbBlue;
                    sum[1] += weight * pixel.rgbGreen;
                    sum[2] += weight * pixel.rgbRed;
                    area += weight;
                }
            }
            RGBQUAD& pixel = to[static_cast<size_t>(y) * to_size.cx + x];
            pixel.rgbBlue = static_cast<BYTE>(sum[0] / area + 0.5);
            pixel.rgbGreen = static_cast<BYTE>(sum[1] / area + 0.5);
            pixel.rgbRed = static_cast<BYTE>(sum[2] / area + 0.5);
        }
    }
    return to;
}

BITMAPINFO top_down_32_bits(SIZE size)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The strip's pictures scaled into large cells, each at its own proportions
// in the middle of its cell, on the button face.
OwnedBitmap enlarged_strip(HBITMAP strip)
{
    const WindowDc screen(nullptr);
    const SIZE small_strip{SMALL_IMAGE.cx * STRIP_IMAGE_COUNT, SMALL_IMAGE.cy};
    const SIZE large_strip{LARGE_IMAGE.cx * STRIP_IMAGE_COUNT, LARGE_IMAGE.cy};
    BITMAPINFO small_info = top_down_32_bits(small_strip);
    Pixels small(static_cast<size_t>(small_strip.cx) * small_strip.cy);
    if (!GetDIBits(screen.get(), strip, 0, small_strip.cy, small.data(), &small_info, DIB_RGB_COLORS))
        return {};

    // 16 x 15 becomes 24 x 22, one row of the face above and below.
    const SIZE scaled_size{large_strip.cx, MulDiv(SMALL_IMAGE.cy, LARGE_IMAGE.cx, SMALL_IMAGE.cx)};
    const Pixels scaled = scale_by_area(small, small_strip, scaled_size);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Pixels large(static_cast<size_t>(large_strip.cx) * large_strip.cy,
                 RGBQUAD{GetBValue(face), GetGValue(face), GetRValue(face), 0});
    const int top = (large_strip.cy - scaled_size.cy) / 2;
    std::copy(scaled.begin(), scaled.end(), large.begin() + static_cast<std::ptrdiff_t>(top) * large_strip.cx);

    OwnedBitmap bitmap(CreateCompatibleBitmap(screen.get(), large_strip.cx, large_strip.cy));
    const BITMAPINFO large_info = top_down_32_bits(large_strip);
    if (bitmap)
        SetDIBits(screen.get(), bitmap.get(), 0, large_strip.cy, large.data(), &large_info, DIB_RGB_COLORS);
    return bitmap;
}

OwnedBitmap add_own_buttons(HWND toolbar, HINSTANCE instance, bool large)
{
    OwnedBitmap strip(CreateMappedBitmap(instance, IDB_TOOLBAR_STRIP, 0, nullptr, 0));
    if (large && strip)
        strip = enlarged_strip(strip.get());

    if (!OwnedBitmap(LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_TOOLBAR_STRIP))))
        show_message(toolbar, {IDS_TOOLBAR_BITMAP_MISSING, IDS_CAPTION_CHYBA, MB_ICONERROR});

    TBADDBITMAP bitmap{nullptr, reinterpret_cast<UINT_PTR>(strip.get())};
    const auto first_image = static_cast<int>(
        SendMessageW(toolbar, TB_ADDBITMAP, STRIP_IMAGE_COUNT, reinterpret_cast<LPARAM>(&bitmap)));

    auto buttons = own_buttons;
    for (TBBUTTON& b : buttons)
        b.iBitmap += first_image;
    SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    return strip;
}

void insert_separators(HWND toolbar)
{
    TBBUTTON separator{};
    separator.fsState = TBSTATE_ENABLED;
    separator.fsStyle = TBSTYLE_SEP;
    for (int position : separator_positions)
        SendMessageW(toolbar, TB_INSERTBUTTONW, position, reinterpret_cast<LPARAM>(&separator));
}

} // namespace

Toolbar create_toolbar(HWND main_window, UINT dpi)
{
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(main_window, GWLP_HINSTANCE));
    InitCommonControls();

    // Image size 0 is the control's default, the small pictures.
    const bool large = dpi >= LARGE_IMAGES_FROM_DPI;
    const int image_size = large ? LARGE_IMAGE.cx : 0;
    HWND toolbar = CreateToolbarEx(main_window, TOOLBAR_STYLE, IDC_TOOLBAR, STANDARD_IMAGE_COUNT, HINST_COMMCTRL,
                                   large ? IDB_STD_LARGE_COLOR : IDB_STD_SMALL_COLOR, standard_buttons.data(),
                                   static_cast<int>(standard_buttons.size()), 0, 0, image_size, image_size,
                                   sizeof(TBBUTTON));
    if (!toolbar)
        return {};
    OwnedBitmap strip = add_own_buttons(toolbar, instance, large);
    insert_separators(toolbar);
    return {toolbar, std::move(strip)};
}

bool answer_button_tip(NMTBGETINFOTIPW& tip)
{
    for (const ButtonTip& known : BUTTON_TIPS) {
        if (known.command != tip.iItem)
            continue;
        if (tip.pszText && tip.cchTextMax > 0)
            lstrcpynW(tip.pszText, load_text(known.text).c_str(), tip.cchTextMax);
        return true;
    }
    return false;
}

void enable_button(const Toolbar& toolbar, int command, bool enabled)
{
    if (toolbar.window)
        SendMessageW(toolbar.window, TB_ENABLEBUTTON, command, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}
