// Copy and cut through the Editor control, with the plain text left on the
// clipboard exactly as long as the post.
#pragma once

#include <windows.h>

#include <cstddef>

void copy_selection(HWND editor);

// Pastes unless the clipboard's text would take the document past `limit`
// characters; then tells the user and changes nothing. Returns whether it
// pasted.
bool paste_within_limit(HWND editor, std::size_t limit);
void cut_selection(HWND editor);

// Cuts the clipboard's plain text at its first zero when stray characters
// follow it, keeping the rich text beside it.
void tidy_clipboard_text(HWND owner);
