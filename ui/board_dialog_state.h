// What the forum settings dialog's parts share: the boards as edited so
// far, and the board shown. Only the dialog's own files include this.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "text/forum/board.h"

struct BoardDialog {
    BoardList list;
    HWND window = nullptr;

    Board& shown() { return list.boards[list.chosen]; }
    bool shows_forums_own() const { return list.is_forums_own(list.chosen); }
};

// The text of a control, as UTF-8.
std::string typed_text(HWND dialog, int control);

// Takes the name and the limits typed for the board shown into it. False,
// after saying why and with the focus on the field, when one is refused.
bool take_typed_fields(BoardDialog& dialog);
// Shows the board chosen in the list: its name, forum, limits and tags.
void show_board(BoardDialog& dialog);
// Adds a board and shows it; says so when there are as many as can be.
void add_board(BoardDialog& dialog, Board board);

// The extra tags' part: the list, and a tag added or removed.
void fill_look_choice(HWND dialog);
void show_extra_tags(const BoardDialog& dialog);
void add_extra_tag(BoardDialog& dialog);
void remove_extra_tag(BoardDialog& dialog);

// The board shown into a file, and a board from a file added.
void export_board(BoardDialog& dialog);
void import_board(BoardDialog& dialog);
