// Reflows the selected text into lines for the forum.
#pragma once

#include <windows.h>

void break_long_lines(HWND editor);
