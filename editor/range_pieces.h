// A range of the Editor control as pieces (text/history/edit_pieces.h): capturing
// what a range holds, for the history to keep, and making a range hold
// captured pieces again, on undo and redo.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstdint>
#include <string>
#include <vector>

#include "text/history/edit_pieces.h"
#include "win/progress.h"

// The character and paragraph format masks that mean "one format
// throughout" in this control: what it reports for one character.
struct UniformMasks {
    DWORD chars = 0;
    DWORD paragraphs = 0;
};

// Whether a format's mask says that its range has one format throughout.
inline bool is_uniform(DWORD mask, DWORD full)
{
    return (mask & full) == full;
}

// A character or paragraph format as the bytes a piece carries.
template <typename Format>
std::string format_bytes(const Format& format)
{
    return std::string(reinterpret_cast<const char*>(&format), sizeof format);
}

// What the selected range holds: its text and its one format where it has
// one, else its RTF. `text`, if given, receives the text either way.
Piece capture_selection(HWND editor, const UniformMasks& masks, std::u16string* text = nullptr);

// The same for the range from `first` to `last`, which it selects.
Piece capture_range(HWND editor, const UniformMasks& masks, LONG first, LONG last);

// `length` characters that stay where they are, in `char_format`.
Piece kept_piece(LONG length, std::string char_format);

// Puts the pieces one after another in place of the `replaced` characters
// at `at`, as undo and redo put them back; none may keep characters.
void replace_range_with_pieces(HWND editor, LONG at, LONG replaced, const std::vector<Piece>& pieces,
                               const ProgressReport& progress = {});

// Makes the range at `start`, which holds the pieces `present`, hold the
// pieces `wanted` instead. False, with nothing changed, when either side
// cannot be read.
bool replace_range_contents(HWND editor, std::int32_t start, const Payload& present, const Payload& wanted,
                            const ProgressReport& progress = {});
