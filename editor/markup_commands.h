// The markup commands: what each writes around the selection, how the
// inserted text is formatted, and the one operation that carries a command
// out on the Editor control.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "editor/insert_format.h"
#include "text/forum/smileys.h"

// How a markup command orders its two steps on the Editor control.
enum class MarkupOrder : unsigned char {
    WrapFirst,   // wrap, then format what the wrap left selected
    FormatFirst, // format the user's selection, which the wrap then replaces
    Smiley,      // wrap, focus, format, focus
    Rule,        // format and wrap with nothing left selected afterwards
};

// Most commands give the keyboard back to the Editor control afterwards.
enum class FocusAfter : bool { unchanged, editor };

struct Markup {
    WORD id;
    std::string_view open;
    std::string_view close;
    MarkupOrder order;
    InsertFormat format;
    FocusAfter focus;
};

// Every markup command, smileys and colour presets included.
std::span<const Markup> markup_commands();

// The markup command with this id, or null.
const Markup* find_markup(WORD id);

// Wraps the selection and formats the insertion, in the command's order, as
// one operation. Returns true when the insertion is left selected, so that
// the typing format must go back to plain once the user moves on.
bool apply_markup(HWND editor, const Markup& markup);
