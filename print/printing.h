// The default printer: line layout for its page width, and printing.
#pragma once

#include <windows.h>

// Lays the Editor control's lines out for the default printer's page width.
void set_print_target(HWND editor);
