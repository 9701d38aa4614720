#include "text/spelling/word_list.h"

#include <algorithm>
#include <unordered_set>

#include "text/unicode/code_points.h"
#include "text/spelling/spell_words.h"
#include "text/unicode/unicode_text.h"

namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

bool is_control(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

} // namespace

WordList parse_word_list(std::string_view file)
{
    if (file.starts_with(BYTE_ORDER_MARK))
        file.remove_prefix(BYTE_ORDER_MARK.size());
    WordList list;
    std::unordered_set<std::string_view> seen;
    for (std::size_t line = 1; !file.empty(); ++line) {
        const std::size_t end = std::min(file.find('\n'), file.size());
        const std::string_view text = file.substr(0, end);
        file.remove_prefix(std::min(end + 1, file.size()));
        if (!is_valid_utf8(text) || std::any_of(text.begin(), text.end(), is_control)) {
            list.bad_lines.push_back(line);
            continue;
        }
        const std::string_view word = trimmed(text);
        if (!word.empty() && seen.insert(word).second)
            list.words.emplace_back(word);
    }
    return list;
}

bool is_storable_word(std::string_view word)
{
    if (word.empty() || !is_valid_utf8(word) || trimmed(word).size() != word.size())
        return false;
    for (char c : word)
        if (is_control(c) || c == '\t' || c == '\r' || c == '\n')
            return false;
    return count_code_points(word) <= LONGEST_CHECKED_WORD;
}

std::string word_list_addition(std::string_view file_end, std::string_view word)
{
    std::string line;
    if (!file_end.empty() && file_end.back() != '\n')
        line = "\r\n";
    line.append(word);
    line.append("\r\n");
    return line;
}
