// Copy and cut through the Editor control, with the plain text left on the
// clipboard exactly as the post stands, every character kept.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

#include "win/progress.h"

void copy_selection(HWND editor);

// Pastes unless the clipboard's text would take the document past `limit`
// characters; then tells the user and changes nothing. Returns whether it
// pasted. `progress` hears of the clipboard's size first, then of a long
// plain text going in a slice at a time.
bool paste_within_limit(HWND editor, std::size_t limit, const ProgressReport& progress = {});
void cut_selection(HWND editor);

// Leaves exactly the post as the clipboard's plain text, without any NUL
// in it and with nothing stray behind it, keeping the rich text that the
// control put beside it.
void put_post_on_clipboard(HWND owner, std::string_view post);
