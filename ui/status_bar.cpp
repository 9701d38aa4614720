#include "ui/status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "res/resource_ids.h"
#include "win/caught_failure.h"
#include "ui/post_status.h"
#include "win/dpi.h"
#include "win/system_utf8.h"
#include "win/win_handles.h"
#include "win/window_ids.h"

namespace {

constexpr int PART_PADDING = 16; // at 96 DPI

constexpr COLORREF WARNING_BACKGROUND = RGB(192, 0, 0);
constexpr COLORREF WARNING_TEXT = RGB(255, 255, 255);

int text_width(HWND bar, const std::wstring& text)
{
    const WindowDc dc(bar);
    const SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Each part but the last is as wide as its longest text is likely to be,
// so that the parts stay put while the numbers grow; the tag check takes
// the rest.
void set_part_edges(HWND bar)
{
    std::array<int, STATUS_PART_COUNT> edges{};
    const int padding = scaled(PART_PADDING, window_dpi(bar));
    const auto samples = status_part_samples();
    int edge = 0;
    for (size_t i = 0; i + 1 < STATUS_PART_COUNT; ++i) {
        edge += text_width(bar, wide_from_utf8(samples[i])) + padding;
        edges[i] = edge;
    }
    edges.back() = -1;
    SendMessageW(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

std::wstring locale_text(LCTYPE item)
{
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length), L'\0');
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, text.data(), length);
    text.resize(static_cast<size_t>(length - 1));
    return text;
}

// LOCALE_SGROUPING as NUMBERFMT takes it: "3;0" is 3, "3;2;0" is 32, and
// "3" (one group only) is 30.
UINT grouping_number(std::wstring_view grouping)
{
    std::wstring digits;
    for (wchar_t c : grouping)
        if (c >= L'0' && c <= L'9')
            digits += c;
    if (grouping.size() >= 2 && grouping.substr(grouping.size() - 2) == L";0")
        digits.pop_back();
    else
        digits += L'0';
    return digits.empty() ? 0 : static_cast<UINT>(std::stoul(digits));
}

constexpr auto NOTE_PART = static_cast<size_t>(STATUS_PART_COUNT - 1);

void send_part_text(const StatusBar& bar, size_t index)
{
    // An owner-drawn part keeps only the pointer it is given; the text
    // lives on in the bar's own copy.
    const WPARAM how = static_cast<WPARAM>(index) | (bar.warnings[index] ? SBT_OWNERDRAW : 0);
    SendMessageW(bar.window, SB_SETTEXTW, how, reinterpret_cast<LPARAM>(bar.texts[index].c_str()));
}

// Copies a part's text into a caller's buffer as a plain part would, in
// the caller's character set: the length, with the part's type above it.
LRESULT answer_with_text(UINT message, std::wstring_view text, LPARAM buffer, WORD type)
{
    const bool wide = message == SB_GETTEXTW || message == SB_GETTEXTLENGTHW;
    const std::string narrow = wide ? std::string() : [&] {
        const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
        return bytes;
    }();
    const size_t length = wide ? text.size() : narrow.size();
    const bool copy = buffer && (message == SB_GETTEXTW || message == SB_GETTEXTA);
    if (copy && wide)
        *std::copy_n(text.data(), length, reinterpret_cast<wchar_t*>(buffer)) = L'\0';
    else if (copy)
        *std::copy_n(narrow.data(), length, reinterpret_cast<char*>(buffer)) = '\0';
    return MAKELRESULT(static_cast<WORD>(length), type);
}

// A part drawn by its owner answers SB_GETTEXT with the pointer it was
// given instead of its text, which a screen reader or another program
// cannot read: every part answers with its text, as a plain part does.
LRESULT CALLBACK readable_parts_proc(HWND bar, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR);

LRESULT readable_parts_message(HWND bar, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == SB_GETTEXTW || message == SB_GETTEXTA || message == SB_GETTEXTLENGTHW ||
        message == SB_GETTEXTLENGTHA) {
        const LRESULT kind = DefSubclassProc(bar, SB_GETTEXTLENGTHW, wparam, 0);
        const auto* text = HIWORD(kind) & SBT_OWNERDRAW
                               ? reinterpret_cast<const wchar_t*>(DefSubclassProc(bar, SB_GETTEXTW, wparam, 0))
                               : nullptr;
        if (text)
            return answer_with_text(message, text, lparam, HIWORD(kind));
    }
    // The length part's tip asks for its text: the Main window knows it.
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lparam)->code == TTN_GETDISPINFOW)
        return SendMessageW(GetParent(bar), WM_NOTIFY, wparam, lparam);
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(bar, readable_parts_proc, 0);
    return DefSubclassProc(bar, message, wparam, lparam);
}

LRESULT CALLBACK readable_parts_proc(HWND bar, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR)
{
    return guarded(bar, message, LRESULT{0}, [&] { return readable_parts_message(bar, message, wparam, lparam); });
}

TTTOOLINFOW length_tool(HWND bar)
{
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = bar;
    tool.uId = LENGTH_TIP_ID;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(StatusPart::characters), reinterpret_cast<LPARAM>(&tool.rect));
    return tool;
}

// A tip of several lines over the length part: the post counted for every forum.
HWND create_length_tip(HWND bar, HINSTANCE instance)
{
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(bar), nullptr,
                               instance, nullptr);
    if (!tip)
        return nullptr;
    TTTOOLINFOW tool = length_tool(bar);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, scaled(400, window_dpi(bar)));
    // Long enough to read four lines.
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 20000);
    return tip;
}

} // namespace

StatusBar create_status_bar(HWND main_window)
{
    InitCommonControls();
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(main_window, GWLP_HINSTANCE));
    StatusBar bar;
    bar.window = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                 main_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)), instance,
                                 nullptr);
    if (bar.window) {
        set_part_edges(bar.window);
        SetWindowSubclass(bar.window, readable_parts_proc, 0, 0);
        bar.tip = create_length_tip(bar.window, instance);
    }
    return bar;
}

void set_status_part(StatusBar& bar, StatusPart part, std::string_view text, bool warning)
{
    const auto index = static_cast<size_t>(part);
    std::wstring wide = wide_from_utf8(text);
    if (wide == bar.texts[index] && warning == bar.warnings[index])
        return;
    bar.texts[index] = std::move(wide);
    bar.warnings[index] = warning;
    if (index != NOTE_PART || bar.note.empty())
        send_part_text(bar, index);
}

void show_status_note(StatusBar& bar, std::string_view note)
{
    bar.note = wide_from_utf8(note);
    SendMessageW(bar.window, SB_SETTEXTW, NOTE_PART, reinterpret_cast<LPARAM>(bar.note.c_str()));
}

void clear_status_note(StatusBar& bar)
{
    if (bar.note.empty())
        return;
    bar.note.clear();
    send_part_text(bar, NOTE_PART);
}

void fit_status_parts(const StatusBar& bar)
{
    if (bar.window)
        set_part_edges(bar.window);
}

int lay_out_status_bar(const StatusBar& bar)
{
    if (!bar.window)
        return 0;
    SendMessageW(bar.window, WM_SIZE, 0, 0);
    if (bar.tip) {
        TTTOOLINFOW tool = length_tool(bar.window);
        SendMessageW(bar.tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    RECT rect{};
    GetWindowRect(bar.window, &rect);
    return rect.bottom - rect.top;
}

bool draw_status_part(const StatusBar& bar, const DRAWITEMSTRUCT& item)
{
    if (item.hwndItem != bar.window || item.itemID >= STATUS_PART_COUNT || (item.itemID == NOTE_PART && !bar.note.empty()))
        return false;
    RECT rect = item.rcItem;
    SetBkColor(item.hDC, WARNING_BACKGROUND);
    ExtTextOutW(item.hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetTextColor(item.hDC, WARNING_TEXT);
    SetBkMode(item.hDC, TRANSPARENT);
    rect.left += 4;
    const std::wstring& text = bar.texts[item.itemID];
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    return true;
}

std::string locale_number(size_t number)
{
    const std::wstring digits = std::to_wstring(number);
    std::wstring thousands = locale_text(LOCALE_STHOUSAND);
    std::wstring decimal = locale_text(LOCALE_SDECIMAL);
    // No decimals, and "0" for nothing.
    NUMBERFMTW format{0, 1, grouping_number(locale_text(LOCALE_SGROUPING)), decimal.data(), thousands.data(), 1};
    const int length = GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), &format, nullptr, 0);
    if (length <= 0)
        return utf8_from_wide(digits);
    std::wstring grouped(static_cast<size_t>(length), L'\0');
    GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), &format, grouped.data(), length);
    grouped.resize(static_cast<size_t>(length - 1)); // without its terminating zero
    return utf8_from_wide(grouped);
}
