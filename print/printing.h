// The default printer: line layout for its page width, its properties
// sheet, and printing.
#pragma once

#include <windows.h>

// A device context for the default printer with its default settings, or
// null when there is no default printer. The caller owns it.
HDC get_printer_dc();

// Lays the Editor control's lines out for the default printer's page width
// less the two one-inch margins. Without a printer nothing changes and the
// control keeps wrapping at its window's edge.
void set_print_target(HWND editor);

// Releases the printer DC that the Editor control was laid out for, once the
// control is gone.
void release_print_target();

// The default printer's properties sheet, owned by the Editor control.
// Returns 0.
int show_printer_properties(HWND editor);

// Prints the whole document on the default printer, page by page, inside
// one-inch margins.
void print_document(HWND editor);
