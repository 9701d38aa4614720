// Markup converted from a paste, into the Editor control: its text in the
// typing format, each tag the converter wrote in the look its command gives
// it; and rich text read into markup through a hidden control.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "text/paste/pasted_markup.h"
#include "win/progress.h"

// Puts the markup in place of the selection and leaves the caret after it;
// `progress` hears how much of it went in. A long text without markup goes
// in a slice at a time.
void insert_pasted_markup(HWND editor, const PastedMarkup& markup, const ProgressReport& progress = {});

// Reads RTF with a hidden control of the Editor control's own class: its
// bold, italic, underline and strike-through runs (and, when the options
// say so, colours and sizes) and its paragraphs become markup. Nothing when
// the pre-scan refuses the RTF or no control could be made.
std::optional<PastedMarkup> rich_text_to_markup(HWND editor, std::string_view rtf, const PasteOptions& options);
