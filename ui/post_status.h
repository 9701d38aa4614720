// The sentences of the status bar's parts, in the language of the
// interface, from what the counts, the tag check and the spell check found.
// Numbers are grouped as the user's locale groups them. All UTF-8.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "text/forum/tag_check.h"
#include "ui/status_bar.h"

// "Znaky: N / L", or "Znaky: N" with no limit (0).
std::string characters_status(std::size_t characters, DWORD limit);
// "Bez značek: M"
std::string without_tags_status(std::size_t characters);
// "Slova: W"
std::string words_status(std::size_t words);
// "Překlepy: N"; empty while nothing is checked.
std::string misspellings_status(const std::optional<std::size_t>& count);
// "Tagy: OK", or the problem with its tag and line: "Tagy: neuzavřený
// [quote] (řádek 3)".
std::string tag_problem_status(const TagProblem& problem);

// Texts as long as each part but the last is likely to get, which size the
// parts.
std::array<std::string, STATUS_PART_COUNT - 1> status_part_samples();
