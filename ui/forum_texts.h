// What the status bar and its tip say about the post for the chosen forum,
// in the user's language, from the string table.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "text/forum/board.h"
#include "text/forum/forum_profile.h"
#include "text/forum/tag_check.h"

// The length part: "Znaky (phpBB): N / L", "Bajty (MyBB): N / L", or this
// editor's own "Znaky: N / L"; without " / L" for a limit of 0.
std::string length_status(const ForumProfile& profile, size_t length, DWORD limit);

// One line of the length part's tip: "phpBB 3.3: N znaků z L", or the
// board's name in place of the forum's.
std::string length_tip_line(const ForumProfile& profile, size_t length, DWORD limit, std::string_view name = {});

// The forum's full name: "phpBB 3.3".
std::string forum_name(ForumProfileId forum);
// A board's name: its own, or the forum's for a forum's own board.
std::string board_title(const Board& board);

// The tag check part for a problem of the post, as the profile's forum sees it.
std::string tag_check_status(const TagProblem& problem, const ForumProfile& profile, std::string_view post);
