#include "markup/reflow.h"

// Placeholder until the reflow lands.
void break_long_lines(HWND) {}
