// What the status bar and its tip say about the post for the chosen forum,
// in the user's language, from the string table.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "text/forum/forum_profile.h"
#include "text/forum/tag_check.h"

// The length part: "Znaky (phpBB): N / L", "Bajty (MyBB): N / L", or this
// editor's own "Znaky: N / L"; without " / L" for a limit of 0.
std::string length_status(const ForumProfile& profile, size_t length, DWORD limit);

// One line of the length part's tip: "phpBB 3.3: N znaků z L".
std::string length_tip_line(const ForumProfile& profile, size_t length, DWORD limit);

// The tag check part for a problem of the post, as the profile's forum sees it.
std::string tag_check_status(const TagProblem& problem, const ForumProfile& profile, std::string_view post);
