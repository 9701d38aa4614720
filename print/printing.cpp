#include "print/printing.h"

// Placeholders until printing lands; until then the control keeps wrapping
// at its window's edge.
void set_print_target(HWND) {}
int show_printer_properties(HWND) { return 0; }
void print_document(HWND) {}
