// The default printer: line layout for its page width, its properties
// sheet, and printing.
#pragma once

#include <windows.h>

#include <functional>
#include <future>
#include <string>

#include "win/win_handles.h"

// The printer DC that the Editor control lays its lines out for. It must
// outlive the control's use of it: release it only once the control is gone
// or has been given another.
struct PrintTarget {
    OwnedDc dc;
};

// A device context for the default printer with its default settings, or
// null when there is no default printer. The caller owns it.
HDC get_printer_dc();

// The default printer's DC, asked for on a thread of its own: Wine's
// spooler asks CUPS about every printer, which the window's thread should
// not wait for.
class PrinterLookup {
public:
    PrinterLookup() = default;
    PrinterLookup(const PrinterLookup&) = delete;
    PrinterLookup& operator=(const PrinterLookup&) = delete;
    // Waits for a lookup under way, and releases a DC nobody took.
    ~PrinterLookup();

    // Starts a lookup; `found` runs on its thread once the DC is there (it
    // should only wake the window's thread).
    void start(std::function<void()> found);
    // The DC found (null: no printer), once; waits for it if need be.
    OwnedDc take();

private:
    std::future<HDC> dc_;
};

// Lays the Editor control's lines out for the page width of the printer
// whose DC `printer` is, less the two one-inch margins, and raises
// `printer_layout`, which asks the control's subclass to go back to the
// window's width on the next key release. Without a printer the control
// goes back to wrapping at its window's edge at once. Returns whether a
// printer layout is in use.
bool lay_out_for_printer(HWND editor, OwnedDc printer, PrintTarget& target, bool& printer_layout);

// The same for the default printer, asked for here.
bool set_print_target(HWND editor, PrintTarget& target, bool& printer_layout);

// The name a print job of this file goes by in the spooler.
std::string print_job_name(const std::string& file_name);

// The default printer's properties sheet. Returns false when there is no
// printer, it cannot be opened, or the sheet was cancelled.
bool show_printer_properties(HWND owner);

// Prints the whole document on the default printer, page by page, inside
// one-inch margins. Returns false after telling the user of a failure.
bool print_document(HWND editor, const std::string& job_name);
