// The default printer: line layout for its page width, and printing.
#pragma once

#include <windows.h>

// Lays the Editor control's lines out for the default printer's page width.
void set_print_target(HWND editor);

// The default printer's properties sheet, owned by the Editor control.
int show_printer_properties(HWND editor);

// Prints the document on the default printer.
void print_document(HWND editor);
