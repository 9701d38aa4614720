// Hunspell sizes its tables by the counts a dictionary's files announce,
// before it reads a line of the table: a count that a damaged file
// overstates makes it reserve that memory all the same (a count of
// 1,500,000,015 asks for some 240 GB). These check the counts against what
// the file can hold, before Hunspell sees it. Pure text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A table whose count its file cannot hold.
struct OverstatedCount {
    std::size_t line = 0; // from 1
    std::string keyword;  // "REP", "SFX", ...
};

// The first table of an .aff file that announces more entries than lines
// follow it. The file is read as Hunspell reads it: a table's entries are
// the lines right after its first line, whatever they hold.
std::optional<OverstatedCount> first_overstated_table(std::string_view aff);

// Whether the word count on a .dic file's first line is at most what a file
// of `file_size` bytes can hold (a byte for each word, at least).
bool word_count_fits(std::string_view first_line, std::uint64_t file_size);
