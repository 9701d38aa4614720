// The text logic of the reflow command, which shapes selected text into the
// line layout that forum posts have always had. Pure text: no Windows headers.
#pragma once

#include <string>
#include <string_view>

// The number of characters a selection may have and still go back unchanged,
// and the width after which a line is broken at the next space. Characters
// are code points, as text/unicode/unicode_text.h counts them in UTF-8.
inline constexpr size_t REFLOW_LINE_WIDTH = 80;

// The reflowed text that replaces the selection. A selection of at most
// REFLOW_LINE_WIDTH characters (CRs and LFs counted) comes back unchanged;
// a longer one goes through these passes, in this order:
//  1. Line feeds are deleted, except that the character following a deleted
//     one is kept whatever it is, so in a run of LFs every second survives.
//     If the first LF is the first character, no LF is deleted at all.
//  2. Carriage returns likewise, on what pass 1 left.
//  3. Every "http:" address gets a line of its own: the character before
//     "http:" (all its bytes) and the first space after "http:" become LFs,
//     and the next address is looked for from that space on (none when no
//     space follows).
//     Nothing happens if the text begins with "http:".
//  4. Lines are broken: the first space at position 80 or later becomes an
//     LF, then the first space at least 80 positions after that one, and so
//     on. Earlier LFs and CRs do not restart the count.
// Positions count characters of the text as the pass before left it (deleted
// line breaks can join the halves of a surrogate pair into one character);
// a multi-byte character is never split. The result is never longer than the
// selection. Linear time, any length.
std::string reflow_for_forum(std::string_view selection);
