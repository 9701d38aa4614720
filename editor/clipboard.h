// Copy and cut through the Editor control, with the plain text left on the
// clipboard exactly as the post stands, every character kept.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

#include "text/paste/pasted_markup.h"
#include "win/progress.h"

void copy_selection(HWND editor);

// A paste as the post's markup, or as the clipboard's text alone.
enum class PasteAs { markup, text };

enum class PasteOutcome {
    pasted,
    // The plain text was pasted because the formatted text could not be
    // read safely: rich text that the pre-scan refuses (it would bring the
    // control down), HTML whose header points outside it, HTML too large
    // or nested too deep.
    rich_text_unsafe,
    html_unreadable,
    html_too_large,
    html_too_deep,
    // It would take the document past the limit: the user was told, and
    // nothing changed.
    too_large,
    nothing_to_paste,
};

// Pastes in place of the selection, unless that would take the document
// past `limit` characters. As markup: the clipboard's HTML, or else its
// rich text, converted into markup (text/paste/html_markup.h), or else its text;
// what lands is text in the typing format and the markup in its commands'
// look. The clipboard is read once: what is checked is what goes in.
// `progress` hears of the clipboard's size first, then of the markup or a
// long plain text going in.
PasteOutcome paste_within_limit(HWND editor, std::size_t limit, PasteAs as = PasteAs::markup,
                                const PasteOptions& options = {}, const ProgressReport& progress = {});
void cut_selection(HWND editor);

// Leaves exactly the post as the clipboard's plain text, without any NUL
// in it and with nothing stray behind it, keeping the rich text that the
// control put beside it.
void put_post_on_clipboard(HWND owner, std::string_view post);
