// Paste as the post's markup, paste as text, and the choice whether a
// paste carries colours and sizes.
#pragma once

#include "text/paste/pasted_markup.h"
#include "win/progress.h"

struct MainWindowState;

// What a paste may write: the chosen forum's tags, and colours and sizes
// as the user chose.
PasteOptions paste_options(const MainWindowState& state);

// Ctrl+V: the clipboard's HTML or rich text as markup, else its text; the
// status bar says when formatted text could not be read safely.
void paste_as_markup(MainWindowState& state, const ProgressReport& progress);
// Ctrl+Shift+V: the clipboard's text alone.
void paste_as_text(MainWindowState& state, const ProgressReport& progress);

// "Vkládat barvy a velikosti": turns the choice over and remembers it.
void toggle_paste_colors_and_sizes(MainWindowState& state);
// Checks the menu item as the choice stands.
void show_paste_choice(const MainWindowState& state);
