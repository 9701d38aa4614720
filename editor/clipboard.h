// Copy and cut through the Editor control, with the plain text left on the
// clipboard exactly as the post stands, every character kept.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

void copy_selection(HWND editor);

enum class PasteOutcome {
    pasted,
    // The clipboard's rich text is of a kind that would bring the control
    // down (the pre-scan refused it): its plain text was pasted instead.
    pasted_as_text,
    // It would take the document past the limit: the user was told, and
    // nothing changed.
    too_large,
    nothing_to_paste,
};

// Pastes the clipboard's rich text, or else its text, in place of the
// selection, unless the text would take the document past `limit`
// characters. The clipboard is read once: what is checked is what goes in.
PasteOutcome paste_within_limit(HWND editor, std::size_t limit);
void cut_selection(HWND editor);

// Leaves exactly the post as the clipboard's plain text, without any NUL
// in it and with nothing stray behind it, keeping the rich text that the
// control put beside it.
void put_post_on_clipboard(HWND owner, std::string_view post);
