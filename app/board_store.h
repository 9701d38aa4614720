// The boards the user keeps, under HKEY_CURRENT_USER\Software\Forum
// Editor\Boards: the four forums' own boards first, which cannot be
// deleted, then the user's. Each is kept as the text a board file holds.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "text/forum/board.h"

inline constexpr wchar_t BOARDS_KEY[] = L"Software\\Forum Editor\\Boards";
// "Forum0" to "Forum3": a forum's own board, when the user changed it.
inline constexpr wchar_t FORUM_BOARD_VALUE[] = L"Forum";
// "Board1" and on: the user's boards, in the order the menu shows them.
inline constexpr wchar_t USER_BOARD_VALUE[] = L"Board";

// The user's boards are chosen as this number plus their index in the
// value that once held only a ForumProfileId.
inline constexpr DWORD FIRST_USER_BOARD_CHOICE = 100;

// What is kept. A board whose text cannot be read is left out; a forum's
// own board that was never changed has the character limit the user set
// before there were boards, if any.
BoardList load_boards();

// False when a board could not be stored.
bool save_boards(const BoardList& list);
bool save_chosen_board(size_t chosen);
