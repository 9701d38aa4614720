#include "print/printing.h"

#include <richedit.h>
#include <commdlg.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_state.h"
#include "print/page_lines.h"

namespace {

constexpr int TWIPS_PER_INCH = 1440;
constexpr int POINTS_PER_INCH = 72;
// Pages whose text the control cannot lay out itself are printed in the
// editor's own typing font.
constexpr char PLAIN_PRINT_FONT[] = "Courier New";
constexpr int PLAIN_PRINT_POINTS = 10;

// Deletes a DC that a function created, on every way out.
struct PrinterDc {
    HDC dc;
    explicit PrinterDc(HDC created) : dc(created) {}
    PrinterDc(const PrinterDc&) = delete;
    PrinterDc& operator=(const PrinterDc&) = delete;
    ~PrinterDc()
    {
        if (dc)
            DeleteDC(dc);
    }
};

// Deletes a GDI object that a function created, once it is no longer selected.
struct GdiObject {
    HGDIOBJ object;
    explicit GdiObject(HGDIOBJ created) : object(created) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject()
    {
        if (object)
            DeleteObject(object);
    }
};

// The page and the one-inch margins in the printer DC's own coordinates,
// whose origin is the corner of the printable area, not of the paper.
struct PageGeometry {
    RECT page;
    RECT text_box;
};

// The default printer's name, however long; empty when there is none.
std::string default_printer_name()
{
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (size == 0)
        return {};
    std::string name(size, '\0');
    if (!GetDefaultPrinterA(name.data(), &size))
        return {};
    name.resize(std::strlen(name.c_str()));
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

std::string print_job_name()
{
    if (g_doc.file_name.empty())
        return "No Title";
    const short size = GetFileTitleA(g_doc.file_name.c_str(), nullptr, 0);
    std::string title(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    if (size <= 0 || GetFileTitleA(g_doc.file_name.c_str(), title.data(), size) != 0)
        return g_doc.file_name.substr(g_doc.file_name.find_last_of("\\/") + 1);
    title.resize(std::strlen(title.c_str()));
    return title;
}

void show_print_error(HWND editor)
{
    MessageBoxA(editor, "Error", "Error", MB_OK | MB_ICONINFORMATION);
}

std::string editor_text(HWND editor)
{
    const int length = GetWindowTextLengthA(editor);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(editor, text.data(), length + 1)));
    return text;
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
    if (GetWindowTextLengthA(editor) == 0)
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
    return CreateFontA(-MulDiv(PLAIN_PRINT_POINTS, GetDeviceCaps(dc, LOGPIXELSY), POINTS_PER_INCH), 0, 0, 0,
                       FW_NORMAL, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, PLAIN_PRINT_FONT);
}

// The document's text, without its formatting, in lines that fit the text
// box and as many pages as they need.
bool print_plain_pages(HWND editor, HDC dc)
{
    GdiObject font(create_plain_print_font(dc));
    const HGDIOBJ previous_font = SelectObject(dc, font.object);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int line_height = std::max<int>(1, metrics.tmHeight + metrics.tmExternalLeading);

    const RECT box = page_geometry(dc, GetDeviceCaps(dc, LOGPIXELSX)).text_box;
    auto width_of = [dc](std::string_view text) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::vector<std::string> lines = break_into_lines(editor_text(editor), box.right - box.left, width_of);
    const std::size_t lines_per_page = std::max<std::size_t>(1, (box.bottom - box.top) / line_height);

    bool ok = true;
    for (std::size_t first = 0; ok && (first == 0 || first < lines.size()); first += lines_per_page) {
        if (StartPage(dc) <= 0) {
            ok = false;
            break;
        }
        // Some drivers reset the DC at each page.
        SelectObject(dc, font.object);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        const std::size_t last = std::min(lines.size(), first + lines_per_page);
        for (std::size_t i = first; i < last; ++i) {
            const int y = box.top + static_cast<int>(i - first) * line_height;
            TextOutA(dc, box.left, y, lines[i].data(), static_cast<int>(lines[i].size()));
        }
        ok = EndPage(dc) > 0;
    }
    SelectObject(dc, previous_font);
    return ok;
}

} // namespace

HDC get_printer_dc()
{
    const std::string name = default_printer_name();
    if (name.empty())
        return nullptr;
    return CreateDCA(nullptr, name.c_str(), nullptr, nullptr);
}

void set_print_target(HWND editor)
{
    HDC dc = get_printer_dc();
    if (!dc) {
        // The printer is gone: go back to the window's edge rather than keep
        // a layout for a page that no longer exists.
        if (g_doc.print_target_dc) {
            SendMessageA(editor, EM_SETTARGETDEVICE, 0, 0);
            release_print_target();
        }
        return;
    }
    const RECT box = page_geometry(dc, TWIPS_PER_INCH).text_box;
    if (!SendMessageA(editor, EM_SETTARGETDEVICE, reinterpret_cast<WPARAM>(dc), box.right - box.left)) {
        DeleteDC(dc);
        MessageBoxA(editor, "RTF", "ERROR", MB_OK);
        return;
    }
    // The control now measures on the new DC; the one it replaced is free.
    release_print_target();
    g_doc.print_target_dc = dc;
}

void release_print_target()
{
    if (g_doc.print_target_dc)
        DeleteDC(g_doc.print_target_dc);
    g_doc.print_target_dc = nullptr;
}

int show_printer_properties(HWND editor)
{
    std::string name = default_printer_name();
    if (name.empty())
        return 0;
    HANDLE printer = nullptr;
    if (!OpenPrinterA(name.data(), &printer, nullptr))
        return 0;
    PrinterProperties(editor, printer);
    ClosePrinter(printer);
    return 0;
}

void print_document(HWND editor)
{
    const std::string job_name = print_job_name();
    PrinterDc printer(get_printer_dc());
    if (!printer.dc) {
        show_print_error(editor);
        return;
    }
    DOCINFOA job{};
    job.cbSize = sizeof job;
    job.lpszDocName = job_name.c_str();
    if (StartDocA(printer.dc, &job) <= 0) {
        show_print_error(editor);
        return;
    }
    const bool printed = control_lays_out_pages(editor, printer.dc) ? print_formatted_pages(editor, printer.dc)
                                                                    : print_plain_pages(editor, printer.dc);
    if (!printed) {
        AbortDoc(printer.dc);
        show_print_error(editor);
        return;
    }
    if (EndDoc(printer.dc) <= 0)
        show_print_error(editor);
}
