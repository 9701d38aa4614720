// Text with bold runs as RTF, written as the rich-edit control writes it
// (its header's tables, the properties before a run, \par, \tab, \uN? and
// escaped braces), and read back: enough to check that a change made to
// the RTF keeps each character's format.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtf_runs {

struct FormattedText {
    std::u16string text;
    std::vector<bool> bold; // one for each unit
    bool operator==(const FormattedText&) const = default;
};

inline constexpr std::string_view HEADER =
    "{\\rtf1\\ansi\\ansicpg1250\\uc1\\deff0\\deflang1033{\\fonttbl{\\f0\\fcharset238 Courier New;}}\r\n"
    "{\\colortbl;\\red1\\green0\\blue0;}\r\n{\\*\\generator Wine Riched20 2.0;}\r\n\\pard\\sl-240\\slmult1 ";

// `spaced`: a space ends every control word, as the control writes them;
// otherwise only where a letter or digit would run on.
inline std::string write(const FormattedText& document, bool spaced = true)
{
    std::string rtf(HEADER);
    bool bold = false;
    const std::u16string& text = document.text;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at];
        if (document.bold[at] != bold) {
            bold = document.bold[at];
            rtf += bold ? "\\b" : "\\b0";
            const bool escape_follows = unit < 0x20 || unit > 0x7E || unit == u'\\' || unit == u'{' || unit == u'}';
            if (spaced || !escape_follows)
                rtf += ' ';
        }
        if (unit == u'\r' || unit == u'\n') {
            rtf += "\\par\r\n";
            if (unit == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n')
                ++at;
        } else if (unit == u'\t') {
            rtf += "\\tab ";
        } else if (unit == u'\v') {
            rtf += "\\line\r\n";
        } else if (unit == u'\\' || unit == u'{' || unit == u'}') {
            rtf += '\\';
            rtf += static_cast<char>(unit);
        } else if (unit >= 0x20 && unit <= 0x7E) {
            rtf += static_cast<char>(unit);
        } else {
            rtf += "\\u" + std::to_string(static_cast<std::int16_t>(unit)) + "?";
        }
    }
    return rtf + "}";
}

// What `write` writes, read back: every paragraph break as "\r\n".
inline std::optional<FormattedText> read(std::string_view rtf)
{
    FormattedText read;
    std::vector<bool> groups; // bold when each open group began
    std::size_t hidden_from = SIZE_MAX; // depth of a group that holds no text
    bool bold = false;
    const auto add = [&](std::u16string_view units) {
        if (groups.size() < hidden_from) {
            read.text += units;
            read.bold.insert(read.bold.end(), units.size(), bold);
        }
    };
    for (std::size_t at = 0; at < rtf.size();) {
        const char c = rtf[at++];
        if (c == '{') {
            groups.push_back(bold);
            if (rtf.substr(at, 2) == "\\*" || rtf.substr(at, 8) == "\\fonttbl" || rtf.substr(at, 9) == "\\colortbl")
                hidden_from = std::min(hidden_from, groups.size());
        } else if (c == '}') {
            if (groups.empty())
                return std::nullopt;
            bold = groups.back();
            if (groups.size() == hidden_from)
                hidden_from = SIZE_MAX;
            groups.pop_back();
        } else if (c == '\r' || c == '\n') {
        } else if (c != '\\') {
            add(std::u16string(1, static_cast<char16_t>(c)));
        } else if (at < rtf.size() && !std::isalpha(static_cast<unsigned char>(rtf[at]))) {
            add(std::u16string(1, static_cast<char16_t>(rtf[at++])));
        } else {
            const std::size_t name_start = at;
            while (at < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[at])))
                ++at;
            const std::string_view name = rtf.substr(name_start, at - name_start);
            const std::size_t number_start = at;
            if (at < rtf.size() && rtf[at] == '-')
                ++at;
            while (at < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[at])))
                ++at;
            const std::string number(rtf.substr(number_start, at - number_start));
            if (at < rtf.size() && rtf[at] == ' ')
                ++at;
            if (name == "b")
                bold = number != "0";
            else if (name == "par")
                add(u"\r\n");
            else if (name == "tab")
                add(u"\t");
            else if (name == "line")
                add(u"\v");
            else if (name == "u") {
                add(std::u16string(1, static_cast<char16_t>(static_cast<std::uint16_t>(std::stoi(number)))));
                ++at; // the "?" for readers without Unicode
            }
        }
    }
    return read;
}

// The text as `read` gives it back: every paragraph break ("\r\n", or a
// lone "\r" or "\n") as "\r\n", in the format of its first unit.
inline FormattedText with_breaks_as_read(const FormattedText& written)
{
    FormattedText read;
    const std::u16string& text = written.text;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != u'\r' && text[at] != u'\n') {
            read.text += text[at];
            read.bold.push_back(written.bold[at]);
            continue;
        }
        read.text += u"\r\n";
        read.bold.insert(read.bold.end(), 2, written.bold[at]);
        if (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n')
            ++at;
    }
    return read;
}

// What replacing each match (at `starts`, `length` units long) one after
// another makes of the text: each replacement in its match's first format.
inline FormattedText replaced_one_by_one(const FormattedText& before, const std::vector<std::size_t>& starts,
                                         std::size_t length, std::u16string_view replacement)
{
    FormattedText after = before;
    for (auto start = starts.rbegin(); start != starts.rend(); ++start) {
        const auto at = static_cast<std::ptrdiff_t>(*start);
        after.text.replace(*start, length, replacement);
        after.bold.erase(after.bold.begin() + at, after.bold.begin() + at + static_cast<std::ptrdiff_t>(length));
        after.bold.insert(after.bold.begin() + at, replacement.size(), before.bold[*start]);
    }
    return after;
}

} // namespace rtf_runs
