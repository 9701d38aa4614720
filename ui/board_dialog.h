// The "Nastavení fóra…" dialog: the boards the user writes for, each with
// the limits its administrator set and the tags it added; new boards,
// deleting them, and a board from a file or into one.
#pragma once

#include <windows.h>

#include <optional>

#include "text/forum/board.h"

// Opens on the chosen board. The boards as the user left them, the chosen
// one being the one shown at OK; nothing when the user cancelled.
std::optional<BoardList> ask_board_settings(HWND owner, const BoardList& boards);
