// Copy and cut through the Editor control, with the plain text left on the
// clipboard exactly as long as the post.
#pragma once

#include <windows.h>

void copy_selection(HWND editor);
void cut_selection(HWND editor);

// Cuts the clipboard's plain text at its first zero when stray characters
// follow it, keeping the rich text beside it.
void tidy_clipboard_text(HWND owner);
