#include "markup/reflow_text.h"

#include <algorithm>

namespace {

constexpr std::string_view WEB_ADDRESS_START = "http:";
constexpr size_t NOT_FOUND = std::string::npos;

// Deletes `mark` characters in one pass. Every deletion lets the character
// that follows it through unexamined, which is why only every second one of
// a run goes; a `mark` at the very start keeps them all.
void delete_breaks(std::string& text, char mark)
{
    size_t from = text.find(mark);
    if (from == NOT_FOUND || from == 0)
        return;
    size_t to = from;
    while (from != NOT_FOUND) {
        const size_t kept = from + 1; // the character after the deleted one
        const size_t next = text.find(mark, kept + 1);
        const size_t end = next == NOT_FOUND ? text.size() : next;
        std::copy(text.begin() + kept, text.begin() + end, text.begin() + to);
        to += end - kept;
        from = next;
    }
    text.resize(to);
}

// Puts each "http:" address on a line of its own. The text keeps its length.
void set_addresses_apart(std::string& text)
{
    size_t address = text.find(WEB_ADDRESS_START);
    if (address == 0)
        return;
    while (address != NOT_FOUND) {
        text[address - 1] = '\n';
        const size_t space = text.find(' ', address + WEB_ADDRESS_START.size());
        if (space == NOT_FOUND)
            return;
        text[space] = '\n';
        address = text.find(WEB_ADDRESS_START, space);
    }
}

// Breaks at the first space at or after each stretch of REFLOW_LINE_WIDTH.
void break_lines(std::string& text)
{
    for (size_t space = text.find(' ', REFLOW_LINE_WIDTH); space != NOT_FOUND;
         space = text.find(' ', space + REFLOW_LINE_WIDTH))
        text[space] = '\n';
}

} // namespace

std::string reflow_for_forum(std::string_view selection)
{
    std::string text(selection);
    if (text.size() <= REFLOW_LINE_WIDTH)
        return text;
    delete_breaks(text, '\n');
    delete_breaks(text, '\r');
    set_addresses_apart(text);
    break_lines(text);
    return text;
}
