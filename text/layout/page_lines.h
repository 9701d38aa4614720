// Lines of plain text for a printed page. Pure text: no Windows headers, so
// it is also built and tested natively.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A tab moves the text on to the next multiple of this many columns.
inline constexpr int PRINT_TAB_COLUMNS = 8;

// How wide one line's text is, in the caller's unit (device pixels).
using TextWidth = std::function<int(std::string_view)>;

// Breaks text into lines no wider than max_width: at the text's own line
// breaks (CR LF, LF or CR), and else after the last blank that still fits.
// A word wider than a whole line is cut where the line is full. Blanks at a
// break are dropped, tabs become blanks, and a final line break adds no
// empty line.
std::vector<std::string> break_into_lines(std::string_view text, int max_width, const TextWidth& width_of);
