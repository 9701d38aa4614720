#include "document/printing.h"

#include <richedit.h>
#include <commdlg.h>
#include <winspool.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "text/unicode/unicode_text.h"
#include "text/layout/page_lines.h"
#include "editor/editor_text.h"
#include "win/messages.h"
#include "text/unicode/wide_text.h"
#include "win/win_handles.h"

namespace {

constexpr int POINTS_PER_INCH = 72;
// Pages whose text the control cannot lay out itself are printed in the
// editor's own typing font.
constexpr wchar_t PLAIN_PRINT_FONT[] = L"Courier New";
constexpr int PLAIN_PRINT_POINTS = 10;

// The page and the one-inch margins in the printer DC's own coordinates,
// whose origin is the corner of the printable area, not of the paper.
struct PageGeometry {
    RECT page;
    RECT text_box;
};

// The default printer's name, however long; empty when there is none.
std::wstring default_printer_name()
{
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0)
        return {};
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size))
        return {};
    name.resize(std::wcslen(name.c_str()));
    return name;
}

PageGeometry page_geometry(HDC dc, int unit_per_inch)
{
    auto along_x = [&](int index) { return MulDiv(GetDeviceCaps(dc, index), unit_per_inch, GetDeviceCaps(dc, LOGPIXELSX)); };
    auto along_y = [&](int index) { return MulDiv(GetDeviceCaps(dc, index), unit_per_inch, GetDeviceCaps(dc, LOGPIXELSY)); };
    const int left = -along_x(PHYSICALOFFSETX);
    const int top = -along_y(PHYSICALOFFSETY);
    const RECT page{left, top, left + along_x(PHYSICALWIDTH), top + along_y(PHYSICALHEIGHT)};
    const RECT text_box{page.left + unit_per_inch, page.top + unit_per_inch, page.right - unit_per_inch,
                        page.bottom - unit_per_inch};
    return {page, text_box};
}

void show_print_error(HWND editor)
{
    show_message(editor, PRINT_ERROR);
}

FORMATRANGE page_layout(HDC dc, LONG first)
{
    const PageGeometry geometry = page_geometry(dc, TWIPS_PER_INCH);
    FORMATRANGE range{};
    range.hdc = dc;
    range.hdcTarget = dc;
    range.rcPage = geometry.page;
    range.rc = geometry.text_box;
    range.chrg = {first, -1};
    return range;
}

// Where the page that starts at `first` would end; the control renders
// nothing when `render` is false.
LONG format_page(HWND editor, HDC dc, LONG first, bool render)
{
    FORMATRANGE range = page_layout(dc, first);
    return static_cast<LONG>(SendMessageA(editor, EM_FORMATRANGE, render, reinterpret_cast<LPARAM>(&range)));
}

// Not every rich-edit control lays out pages: some answer EM_FORMATRANGE
// with 0 for a text that plainly has a first page.
bool control_lays_out_pages(HWND editor, HDC dc)
{
    if (text_length(editor) == 0)
        return true;
    const LONG first_page_end = format_page(editor, dc, 0, false);
    SendMessageA(editor, EM_FORMATRANGE, FALSE, 0);
    return first_page_end > 0;
}

bool print_formatted_pages(HWND editor, HDC dc)
{
    GETTEXTLENGTHEX how{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, CP_ACP};
    const LONG length = static_cast<LONG>(SendMessageA(editor, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0));
    bool ok = true;
    for (LONG first = 0, pages = 0;; ++pages) {
        const LONG next = format_page(editor, dc, first, false);
        // Measured first, so that no empty page follows the last one.
        if (pages > 0 && next <= first)
            break;
        if (StartPage(dc) <= 0) {
            ok = false;
            break;
        }
        format_page(editor, dc, first, true);
        if (EndPage(dc) <= 0) {
            ok = false;
            break;
        }
        if (next <= first || next >= length)
            break;
        first = next;
    }
    // Lets the control drop what it cached for the printer.
    SendMessageA(editor, EM_FORMATRANGE, FALSE, 0);
    return ok;
}

HFONT create_plain_print_font(HDC dc)
{
    return CreateFontW(-MulDiv(PLAIN_PRINT_POINTS, GetDeviceCaps(dc, LOGPIXELSY), POINTS_PER_INCH), 0, 0, 0,
                       FW_NORMAL, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, PLAIN_PRINT_FONT);
}

// The document's text, without its formatting, in lines that fit the text
// box and as many pages as they need.
bool print_plain_pages(HWND editor, HDC dc)
{
    const OwnedFont font(create_plain_print_font(dc));
    const SelectedObject font_in_use(dc, font.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int line_height = std::max<int>(1, metrics.tmHeight + metrics.tmExternalLeading);

    const RECT box = page_geometry(dc, GetDeviceCaps(dc, LOGPIXELSX)).text_box;
    auto width_of = [dc](std::string_view text) {
        const std::u16string wide = utf8_to_utf16(text);
        SIZE size{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(wide.data()), static_cast<int>(wide.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::vector<std::string> lines = break_into_lines(get_text(editor), box.right - box.left, width_of);
    const std::size_t lines_per_page = std::max<std::size_t>(1, (box.bottom - box.top) / line_height);

    bool ok = true;
    for (std::size_t first = 0; ok && (first == 0 || first < lines.size()); first += lines_per_page) {
        if (StartPage(dc) <= 0) {
            ok = false;
            break;
        }
        // Some drivers reset the DC at each page.
        SelectObject(dc, font.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        const std::size_t last = std::min(lines.size(), first + lines_per_page);
        for (std::size_t i = first; i < last; ++i) {
            const int y = box.top + static_cast<int>(i - first) * line_height;
            const std::u16string line = utf8_to_utf16(lines[i]);
            TextOutW(dc, box.left, y, reinterpret_cast<const wchar_t*>(line.data()), static_cast<int>(line.size()));
        }
        ok = EndPage(dc) > 0;
    }
    return ok;
}

} // namespace

HDC get_printer_dc()
{
    const std::wstring name = default_printer_name();
    if (name.empty())
        return nullptr;
    return CreateDCW(nullptr, name.c_str(), nullptr, nullptr);
}

PrinterLookup::~PrinterLookup()
{
    take();
}

void PrinterLookup::start(std::function<void()> found)
{
    take();
    std::promise<HDC> promise;
    dc_ = promise.get_future();
    std::thread([promise = std::move(promise), found = std::move(found)]() mutable {
        promise.set_value(get_printer_dc());
        found();
    }).detach();
}

OwnedDc PrinterLookup::take()
{
    if (!dc_.valid())
        return OwnedDc();
    return OwnedDc(dc_.get());
}

bool set_print_target(HWND editor, PrintTarget& target, bool& printer_layout)
{
    return lay_out_for_printer(editor, OwnedDc(get_printer_dc()), target, printer_layout);
}

bool lay_out_for_printer(HWND editor, OwnedDc dc, PrintTarget& target, bool& printer_layout)
{
    if (!dc) {
        // The printer is gone: go back to the window's edge rather than keep
        // a layout for a page that no longer exists.
        if (target.dc) {
            SendMessageA(editor, EM_SETTARGETDEVICE, 0, 0);
            target.dc.reset();
            printer_layout = false;
        }
        return false;
    }
    const RECT box = page_geometry(dc.get(), TWIPS_PER_INCH).text_box;
    if (!SendMessageA(editor, EM_SETTARGETDEVICE, reinterpret_cast<WPARAM>(dc.get()), box.right - box.left)) {
        show_message(editor, PRINT_LAYOUT_ERROR);
        return false;
    }
    // The control now measures on the new DC; the one it replaced is free.
    target.dc = std::move(dc);
    printer_layout = true;
    return true;
}

std::string print_job_name(const std::string& file_name)
{
    if (file_name.empty())
        return "No Title";
    const std::wstring path = to_wide(file_name);
    const short size = GetFileTitleW(path.c_str(), nullptr, 0);
    std::wstring title(size > 0 ? static_cast<std::size_t>(size) : 0, L'\0');
    if (size <= 0 || GetFileTitleW(path.c_str(), title.data(), size) != 0)
        return file_name.substr(file_name.find_last_of("\\/") + 1);
    title.resize(std::wcslen(title.c_str()));
    return from_wide(title);
}

bool show_printer_properties(HWND owner)
{
    std::wstring name = default_printer_name();
    if (name.empty())
        return false;
    HANDLE opened = nullptr;
    if (!OpenPrinterW(name.data(), &opened, nullptr))
        return false;
    const OwnedPrinter printer(opened);
    return PrinterProperties(owner, printer.get()) != 0;
}

bool print_document(HWND editor, const std::string& job_name)
{
    const OwnedDc printer(get_printer_dc());
    if (!printer) {
        show_print_error(editor);
        return false;
    }
    const std::wstring document_name = to_wide(job_name);
    DOCINFOW job{};
    job.cbSize = sizeof job;
    job.lpszDocName = document_name.c_str();
    if (StartDocW(printer.get(), &job) <= 0) {
        show_print_error(editor);
        return false;
    }
    const bool printed = control_lays_out_pages(editor, printer.get()) ? print_formatted_pages(editor, printer.get())
                                                                        : print_plain_pages(editor, printer.get());
    if (!printed) {
        AbortDoc(printer.get());
        show_print_error(editor);
        return false;
    }
    if (EndDoc(printer.get()) <= 0) {
        show_print_error(editor);
        return false;
    }
    return true;
}
