#include "text/layout/page_lines.h"

#include <algorithm>

#include "text/unicode/unicode_text.h"

namespace {

bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

std::vector<std::string_view> split_paragraphs(std::string_view text)
{
    std::vector<std::string_view> paragraphs;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        paragraphs.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size() || paragraphs.empty())
        paragraphs.push_back(text.substr(start));
    return paragraphs;
}

std::string expand_tabs(std::string_view paragraph)
{
    std::string expanded;
    for (char c : paragraph) {
        if (c == '\t')
            expanded.append(PRINT_TAB_COLUMNS - expanded.size() % PRINT_TAB_COLUMNS, ' ');
        else
            expanded += c;
    }
    return expanded;
}

// The most leading bytes of `rest` that fit, and at least one, found by
// doubling and then halving, so that a long paragraph is never measured
// whole for each of its lines.
std::size_t fitting_length(std::string_view rest, int max_width, const TextWidth& width_of)
{
    auto fits = [&](std::size_t length) { return width_of(rest.substr(0, length)) <= max_width; };
    std::size_t good = 0;
    std::size_t bad = 1;
    while (fits(bad)) {
        good = bad;
        if (good == rest.size())
            return good;
        bad = std::min(bad * 2, rest.size());
    }
    while (bad - good > 1) {
        const std::size_t middle = good + (bad - good) / 2;
        (fits(middle) ? good : bad) = middle;
    }
    // Never end a line inside a character: back off to its start, or take
    // the whole of a first character that alone is too wide.
    if (good > 0 && good < rest.size())
        good = previous_character(rest, good + 1);
    return good > 0 ? good : next_character(rest, 0);
}

// Where the line that holds the first `fitting` bytes should end: after the
// last word that fits whole, or, for a word longer than the line, where the
// line is full. Blanks that indent the line are not a place to break.
std::size_t break_position(std::string_view rest, std::size_t fitting)
{
    const std::size_t first_word = std::find_if_not(rest.begin(), rest.end(), is_blank) - rest.begin();
    for (std::size_t i = std::min(fitting, rest.size() - 1); i > first_word; --i) {
        if (is_blank(rest[i]))
            return i;
    }
    return fitting;
}

void break_paragraph(std::string_view paragraph, int max_width, const TextWidth& width_of,
                     std::vector<std::string>& lines)
{
    if (paragraph.empty()) {
        lines.emplace_back();
        return;
    }
    while (!paragraph.empty()) {
        const std::size_t fitting = fitting_length(paragraph, max_width, width_of);
        const std::size_t end = fitting == paragraph.size() ? fitting : break_position(paragraph, fitting);
        std::string_view line = paragraph.substr(0, end);
        while (!line.empty() && is_blank(line.back()))
            line.remove_suffix(1);
        lines.emplace_back(line);
        paragraph.remove_prefix(end);
        while (!paragraph.empty() && is_blank(paragraph.front()))
            paragraph.remove_prefix(1);
    }
}

} // namespace

std::vector<std::string> break_into_lines(std::string_view text, int max_width, const TextWidth& width_of)
{
    std::vector<std::string> lines;
    for (std::string_view paragraph : split_paragraphs(text))
        break_paragraph(expand_tabs(paragraph), max_width, width_of, lines);
    return lines;
}
