#include "text/rtf/rtf_replace.h"

#include <algorithm>
#include <vector>

#include "text/rtf/rtf_tokens.h"
#include "text/rtf/rtf_unicode.h"

namespace {

// Groups that hold no text of the document: tables of the header, pictures,
// objects and the like. A group that begins with \* is one as well.
constexpr std::string_view DESTINATIONS[] = {
    "fonttbl", "colortbl", "stylesheet", "info", "generator", "pict", "shppict", "nonshppict", "object",
    "fldinst", "header", "footer", "footnote", "listtable", "listoverridetable", "rsidtbl", "themedata",
};

// Control words that stand for one character of the text.
struct CharacterWord {
    std::string_view name;
    char16_t unit;
};
constexpr CharacterWord CHARACTER_WORDS[] = {
    {"tab", u'\t'},          {"line", u'\v'},         {"emdash", u'\u2014'},    {"endash", u'\u2013'},
    {"emspace", u'\u2003'},  {"enspace", u'\u2002'},  {"qmspace", u'\u2005'},   {"bullet", u'\u2022'},
    {"lquote", u'\u2018'},   {"rquote", u'\u2019'},   {"ldblquote", u'\u201C'}, {"rdblquote", u'\u201D'},
    {"zwj", u'\u200D'},      {"zwnj", u'\u200C'},     {"ltrmark", u'\u200E'},   {"rtlmark", u'\u200F'},
};

// Control words of tables, whose cells the positions of the text do not
// follow as they are read here.
constexpr std::string_view TABLE_WORDS[] = {"cell", "nestcell", "row", "nestrow"};

template <typename Table>
bool is_in(const Table& table, std::string_view name)
{
    return std::find(std::begin(table), std::end(table), name) != std::end(table);
}

std::optional<char16_t> character_of_word(std::string_view name)
{
    for (const CharacterWord& word : CHARACTER_WORDS)
        if (word.name == name)
            return word.unit;
    return std::nullopt;
}

// Control symbols that stand for one character.
std::optional<char16_t> character_of_symbol(char symbol)
{
    switch (symbol) {
    case '\\': case '{': case '}': return static_cast<char16_t>(symbol);
    case '~': return u'\u00A0';
    case '-': return u'\u00AD';
    case '_': return u'\u2011';
    default: return std::nullopt;
    }
}

bool holds_line_break(std::u16string_view text)
{
    return text.find_first_of(u"\r\n\v") != std::u16string_view::npos;
}

// What a group is read as: whether its content is text, and how many
// characters follow a \u for readers without Unicode.
struct GroupState {
    bool destination = false;
    std::int64_t fallback = 1;
};

class Rewriter {
public:
    Rewriter(std::string_view rtf, std::u16string_view text, const TextReplacement& replacing)
        : rtf_(rtf), text_(text), replacing_(replacing)
    {
        out_.reserve(rtf.size() + rtf.size() / 8);
    }

    std::optional<std::string> run()
    {
        while (at_ < rtf_.size()) {
            if (!read_token())
                return std::nullopt;
        }
        if (position_ != text_.size() || next_match_ != replacing_.starts.size())
            return std::nullopt;
        return std::move(out_);
    }

private:
    bool in_text() const { return !groups_.empty() && !groups_.back().destination; }

    void copy(std::size_t from, std::size_t to)
    {
        out_.append(rtf_, from, to - from);
        word_open_ = false;
    }

    bool read_token()
    {
        const char c = rtf_[at_];
        if (c == '{')
            return open_group();
        if (c == '}') {
            if (!groups_.empty())
                groups_.pop_back();
            copy(at_, at_ + 1);
            ++at_;
            return true;
        }
        if (c == '\\')
            return read_escape();
        const std::size_t from = at_++;
        if (!in_text() || c == '\r' || c == '\n') {
            copy(from, at_);
            return true;
        }
        // Text the control writes as it is: printable ASCII.
        if (c < 0x20 || c > 0x7E)
            return false;
        return take_character(static_cast<char16_t>(c), from);
    }

    bool open_group()
    {
        GroupState group = groups_.empty() ? GroupState{} : groups_.back();
        const std::size_t next = at_ + 1;
        if (next + 1 < rtf_.size() && rtf_[next] == '\\') {
            if (rtf_[next + 1] == '*')
                group.destination = true;
            else if (is_rtf_letter(rtf_[next + 1]))
                group.destination = group.destination || is_in(DESTINATIONS, read_rtf_control_word(rtf_, next).name);
        }
        groups_.push_back(group);
        copy(at_, next);
        at_ = next;
        return true;
    }

    bool read_escape()
    {
        const std::size_t from = at_;
        if (from + 1 == rtf_.size())
            return false;
        const char symbol = rtf_[from + 1];
        if (is_rtf_letter(symbol))
            return read_control_word(from);
        if (symbol == '\'') {
            // A character of the code page: copied in a destination; the
            // control writes none into the text when asked for UTF-8.
            at_ = std::min(from + 4, rtf_.size());
            copy(from, at_);
            return !in_text();
        }
        at_ = from + 2;
        if (!in_text()) {
            copy(from, at_);
            return true;
        }
        if (symbol == '\r' || symbol == '\n')
            return false; // a paragraph break the control never writes so
        if (const auto unit = character_of_symbol(symbol))
            return take_character(*unit, from);
        copy(from, at_);
        return true;
    }

    bool read_control_word(std::size_t from)
    {
        const RtfControlWord word = read_rtf_control_word(rtf_, from);
        at_ = word.end;
        if (word.name == "bin") {
            // Raw bytes, which only a picture or an object holds.
            const std::uint64_t raw = word.negative ? 0 : word.number;
            if (in_text() || raw > rtf_.size() - at_)
                return false;
            at_ += static_cast<std::size_t>(raw);
            copy(from, at_);
            return true;
        }
        if (!in_text()) {
            copy(from, at_);
            return true;
        }
        if (word.name == "uc") {
            groups_.back().fallback = word.value();
        } else if (word.name == "u") {
            skip_fallback();
            return take_character(static_cast<char16_t>(static_cast<std::uint16_t>(word.value())), from);
        } else if (word.name == "par") {
            return take_paragraph_break(from);
        } else if (const auto unit = character_of_word(word.name)) {
            return take_character(*unit, from);
        } else if (is_in(TABLE_WORDS, word.name)) {
            return false;
        }
        copy(from, at_);
        word_open_ = !word.delimited;
        return true;
    }

    // The characters that stand in for a \u in readers without Unicode.
    void skip_fallback()
    {
        for (std::int64_t left = groups_.back().fallback; left > 0 && at_ < rtf_.size(); --left) {
            const char c = rtf_[at_];
            if (c == '{' || c == '}')
                return;
            if (c != '\\')
                ++at_;
            else if (at_ + 1 < rtf_.size() && rtf_[at_ + 1] == '\'')
                at_ = std::min(at_ + 4, rtf_.size());
            else
                return;
        }
    }

    bool take_paragraph_break(std::size_t from)
    {
        if (position_ >= text_.size())
            return false;
        std::size_t units = 1;
        if (text_[position_] == u'\r' && position_ + 1 < text_.size() && text_[position_ + 1] == u'\n')
            units = 2;
        else if (text_[position_] != u'\r' && text_[position_] != u'\n')
            return false;
        return pass_character(units, from);
    }

    bool take_character(char16_t unit, std::size_t from)
    {
        return position_ < text_.size() && text_[position_] == unit && pass_character(1, from);
    }

    // One character of the text, `units` long, whose RTF runs from `from` to
    // the present place: copied, left out or replaced.
    bool pass_character(std::size_t units, std::size_t from)
    {
        const std::size_t end = position_ + units;
        if (next_match_ == replacing_.starts.size() || end <= replacing_.starts[next_match_]) {
            end_open_word();
            copy(from, at_);
        } else {
            const std::size_t start = replacing_.starts[next_match_];
            const std::size_t match_end = start + replacing_.length;
            // A character split by a match's edge cannot be replaced in part,
            // and paragraphs are never joined.
            if (position_ < start || end > match_end || holds_line_break(text_.substr(position_, units)))
                return false;
            if (position_ == start && !put_replacement())
                return false;
            if (end == match_end)
                ++next_match_;
        }
        position_ = end;
        return true;
    }

    // Text after a control word that a left-out match followed would run on
    // into it as its letters or number: a space ends it.
    void end_open_word()
    {
        if (word_open_)
            out_ += ' ';
        word_open_ = false;
    }

    bool put_replacement()
    {
        const std::u16string_view replacement = replacing_.replacement;
        if (replacement.empty())
            return true;
        if (groups_.back().fallback != 1 || holds_line_break(replacement))
            return false;
        end_open_word();
        for (const char16_t unit : replacement) {
            if (unit == u'\\' || unit == u'{' || unit == u'}') {
                out_ += '\\';
                out_ += static_cast<char>(unit);
            } else if (unit == u'\t') {
                out_ += "\\tab ";
            } else if (unit >= 0x20 && unit <= 0x7E) {
                out_ += static_cast<char>(unit);
            } else {
                append_unicode_escape(out_, unit);
            }
        }
        word_open_ = false;
        return true;
    }

    std::string_view rtf_;
    std::u16string_view text_;
    const TextReplacement& replacing_;
    std::string out_;
    std::size_t at_ = 0;
    std::vector<GroupState> groups_;
    std::size_t position_ = 0;   // in the text
    std::size_t next_match_ = 0; // the first match not yet passed
    // The output ends in a control word without its space.
    bool word_open_ = false;
};

} // namespace

std::optional<std::string> replace_in_rtf(std::string_view rtf, std::u16string_view text,
                                          const TextReplacement& replacing)
{
    if (replacing.length == 0)
        return std::nullopt;
    return Rewriter(rtf, text, replacing).run();
}
