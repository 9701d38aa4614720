#include "print/printing.h"

void set_print_target(HWND)
{
    // Printing arrives with the document and printing commands; until then
    // the control keeps wrapping at its window's edge.
}
