#include "text/commands/reflow_text.h"

#include "text/unicode/unicode_text.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t NOT_FOUND = std::string::npos;

// Deletes line feeds and then carriage returns, both passes fused into one
// sweep. Each pass lets the character after one that it deleted through
// unexamined, so in a run only every second one goes; and a pass whose
// character opens the text deletes nothing at all.
void delete_line_breaks(std::string& text)
{
    // Plain locals: stores through a char pointer would otherwise make the
    // compiler reload the string's size and data after every character.
    char* const data = text.data();
    const size_t size = text.size();
    const bool delete_lf = data[0] != '\n';
    const bool delete_cr = data[0] != '\r';
    const auto deletable = [&](char c) { return (delete_lf && c == '\n') || (delete_cr && c == '\r'); };
    const auto find_or_end = [&](char c, size_t from) { return std::min(text.find(c, from), size); };

    size_t next_lf = delete_lf ? 0 : size;
    size_t next_cr = delete_cr ? 0 : size;
    size_t from = 0;
    size_t to = 0;
    while (from < size) {
        // Plain text up to the next deletable character moves as one block.
        if (next_lf < from)
            next_lf = find_or_end('\n', from);
        if (next_cr < from)
            next_cr = find_or_end('\r', from);
        const size_t stop = std::min(next_lf, next_cr);
        if (to != from)
            std::memmove(data + to, data + from, stop - from);
        to += stop - from;
        from = stop;

        // From there, one character at a time until plain text follows again.
        bool after_lf = false; // the last character was an LF the first pass deleted
        bool after_cr = false; // the last one that pass kept was a CR the second pass deleted
        while (from < size) {
            const char c = data[from++];
            const bool drop_lf = delete_lf && c == '\n' && !after_lf;
            const bool drop_cr = !drop_lf && delete_cr && c == '\r' && !after_cr;
            after_lf = drop_lf;
            if (!drop_lf)
                after_cr = drop_cr;
            if (!drop_lf && !drop_cr)
                data[to++] = c;
            if (!after_lf && !after_cr && from < size && !deletable(data[from]))
                break;
        }
    }
    text.resize(to);
}

// The first "http:" at or after `from`. Looks for the colon, much rarer in
// posts than the h, and checks the four letters in front of it.
size_t find_web_address(const std::string& text, size_t from)
{
    for (size_t colon = text.find(':', from + 4); colon != NOT_FOUND; colon = text.find(':', colon + 1))
        if (text.compare(colon - 4, 4, "http") == 0)
            return colon - 4;
    return NOT_FOUND;
}

// Puts each "http:" address on a line of its own. The character before an
// address becomes an LF whatever its length, so a text with multi-byte
// characters there shrinks: the bytes after it move up block by block, as
// in delete_line_breaks, so that it stays one sweep.
void set_addresses_apart(std::string& text)
{
    size_t address = find_web_address(text, 0);
    if (address == 0)
        return;
    size_t from = 0; // the first byte not yet moved into place
    size_t to = 0;
    const auto move_up_to = [&](size_t end) {
        if (to != from)
            std::memmove(text.data() + to, text.data() + from, end - from);
        to += end - from;
        from = end;
    };
    while (address != NOT_FOUND) {
        // Looks back no further than the LF the last space became, so it
        // never reads a byte that has already moved.
        move_up_to(previous_character(text, address));
        text[to++] = '\n';
        from = address;
        const size_t space = text.find(' ', address + 5);
        if (space == NOT_FOUND)
            break;
        text[space] = '\n';
        address = find_web_address(text, space);
    }
    move_up_to(text.size());
    text.resize(to);
}

// Breaks at the first space at or after each stretch of REFLOW_LINE_WIDTH
// characters.
void break_lines(std::string& text)
{
    for (size_t space = text.find(' ', skip_code_points(text, 0, REFLOW_LINE_WIDTH)); space != NOT_FOUND;
         space = text.find(' ', skip_code_points(text, space, REFLOW_LINE_WIDTH)))
        text[space] = '\n';
}

} // namespace

std::string reflow_for_forum(std::string_view selection)
{
    std::string text(selection);
    if (skip_code_points(text, 0, REFLOW_LINE_WIDTH) == text.size())
        return text;
    delete_line_breaks(text);
    set_addresses_apart(text);
    break_lines(text);
    return text;
}
