#include "text/spelling/dictionary_counts.h"

#include <array>
#include <vector>

namespace {

// The keywords that open a table, and which field of the line is the count.
struct TableKind {
    std::string_view keyword;
    std::size_t count_field;
};

// Hunspell takes a line for a table when it starts with the keyword, whatever
// follows it ("REPX 5" too), but for AF and AM, which need white space after.
constexpr std::array TABLES{
    TableKind{"REP", 1},   TableKind{"MAP", 1},   TableKind{"BREAK", 1},
    TableKind{"ICONV", 1}, TableKind{"OCONV", 1}, TableKind{"PHONE", 1},
    TableKind{"CHECKCOMPOUNDPATTERN", 1},         TableKind{"COMPOUNDRULE", 1},
    TableKind{"AF ", 1},   TableKind{"AF\t", 1},  TableKind{"AM ", 1},
    TableKind{"AM\t", 1},  TableKind{"PFX", 3},   TableKind{"SFX", 3},
};

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

std::vector<std::string_view> fields_of(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && is_blank(line[at]))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && !is_blank(line[at]))
            ++at;
        if (at > start)
            fields.push_back(line.substr(start, at - start));
    }
    return fields;
}

// The number as Hunspell's atoi reads it: white space, a sign and the
// digits that follow; saturated rather than wrapped. Negative or none: 0.
std::uint64_t count_in(std::string_view field)
{
    std::size_t at = 0;
    while (at < field.size() && (is_blank(field[at]) || field[at] == '\r'))
        ++at;
    if (at < field.size() && field[at] == '-')
        return 0;
    if (at < field.size() && field[at] == '+')
        ++at;
    constexpr std::uint64_t most = UINT64_MAX / 10 - 9;
    std::uint64_t count = 0;
    for (; at < field.size() && field[at] >= '0' && field[at] <= '9'; ++at)
        count = count < most ? count * 10 + static_cast<std::uint64_t>(field[at] - '0') : most;
    return count;
}

std::vector<std::string_view> lines_of(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

const TableKind* table_opened_by(std::string_view line)
{
    for (const TableKind& table : TABLES)
        if (line.starts_with(table.keyword))
            return &table;
    return nullptr;
}

} // namespace

std::optional<OverstatedCount> first_overstated_table(std::string_view aff)
{
    if (aff.starts_with(BYTE_ORDER_MARK))
        aff.remove_prefix(BYTE_ORDER_MARK.size());
    const std::vector<std::string_view> lines = lines_of(aff);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const TableKind* table = table_opened_by(lines[index]);
        if (!table)
            continue;
        const std::vector<std::string_view> fields = fields_of(lines[index]);
        if (fields.size() <= table->count_field)
            continue;
        const std::uint64_t count = count_in(fields[table->count_field]);
        const std::size_t following = lines.size() - index - 1;
        if (count > following) {
            std::string keyword(table->keyword);
            while (!keyword.empty() && is_blank(keyword.back()))
                keyword.pop_back();
            return OverstatedCount{index + 1, keyword};
        }
        index += static_cast<std::size_t>(count); // the entries, whatever they hold
    }
    return std::nullopt;
}

bool word_count_fits(std::string_view first_line, std::uint64_t file_size)
{
    if (first_line.starts_with(BYTE_ORDER_MARK))
        first_line.remove_prefix(BYTE_ORDER_MARK.size());
    return count_in(first_line) <= file_size;
}
