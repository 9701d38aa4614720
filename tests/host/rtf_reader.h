// Just enough of an RTF reader to check the preview: the shape of the
// groups, and the text that a reader would show.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rtf {

struct Shape {
    bool balanced = true; // no group closed that was not open, none left open
    size_t depth = 0;     // the deepest group
    bool ascii = true;
};

inline Shape shape_of(std::string_view document)
{
    Shape shape;
    size_t depth = 0;
    for (size_t at = 0; at < document.size(); ++at) {
        const char c = document[at];
        shape.ascii = shape.ascii && static_cast<unsigned char>(c) < 0x80;
        if (c == '\\') {
            ++at; // an escaped brace or backslash is text
        } else if (c == '{') {
            shape.depth = std::max(shape.depth, ++depth);
        } else if (c == '}') {
            if (depth == 0)
                shape.balanced = false;
            else
                --depth;
        }
    }
    shape.balanced = shape.balanced && depth == 0 && !document.empty();
    return shape;
}

inline void append_utf8(std::string& text, char32_t c)
{
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | c >> 6);
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | c >> 12);
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | c >> 18);
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The text shown, in UTF-8, a paragraph end as "\n" and a tab as "\t".
// Font and colour tables and pictures show nothing; \uN? surrogate pairs
// are joined; the "?" after \uN is skipped as \uc1 asks.
inline std::string visible_text(std::string_view document)
{
    std::string text;
    size_t hidden_below = SIZE_MAX; // depth of the group that shows nothing
    size_t depth = 0;
    char32_t high_surrogate = 0;
    for (size_t at = 0; at < document.size();) {
        const char c = document[at];
        if (c == '{') {
            ++depth;
            ++at;
        } else if (c == '}') {
            if (depth-- == hidden_below)
                hidden_below = SIZE_MAX;
            ++at;
        } else if (c == '\r' || c == '\n') {
            ++at;
        } else if (c != '\\') {
            if (hidden_below == SIZE_MAX)
                text += c;
            ++at;
        } else if (at + 1 < document.size() && std::string_view("\\{}").find(document[at + 1]) != std::string_view::npos) {
            if (hidden_below == SIZE_MAX)
                text += document[at + 1];
            at += 2;
        } else {
            size_t end = at + 1;
            while (end < document.size() && std::isalpha(static_cast<unsigned char>(document[end])))
                ++end;
            const std::string_view word = document.substr(at + 1, end - at - 1);
            size_t number_end = end;
            if (number_end < document.size() && document[number_end] == '-')
                ++number_end;
            while (number_end < document.size() && std::isdigit(static_cast<unsigned char>(document[number_end])))
                ++number_end;
            const std::string number(document.substr(end, number_end - end));
            at = number_end;
            if (at < document.size() && document[at] == ' ')
                ++at;
            if (word == "fonttbl" || word == "colortbl" || word == "pict" || word.empty())
                hidden_below = std::min(hidden_below, depth);
            if (hidden_below != SIZE_MAX)
                continue;
            if (word == "par") {
                text += '\n';
            } else if (word == "tab") {
                text += '\t';
            } else if (word == "u") {
                const char32_t unit = static_cast<uint16_t>(std::stoi(number));
                ++at; // the "?" that stands in for it
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    high_surrogate = unit;
                } else if (unit >= 0xDC00 && unit <= 0xDFFF && high_surrogate != 0) {
                    append_utf8(text, 0x10000 + ((high_surrogate - 0xD800) << 10) + (unit - 0xDC00));
                    high_surrogate = 0;
                } else {
                    append_utf8(text, unit);
                }
            }
        }
    }
    return text;
}

// The shown text cut into paragraphs, with the format in effect written as
// "<...>" before the first character of each paragraph, before each
// character whose format differs from the one before it, and before each
// \par, whose format gives an empty paragraph its height. Reads the words
// that the preview writes; pictures show as "*".
inline std::vector<std::string> formatted_paragraphs(std::string_view document)
{
    struct Format {
        bool bold = false, italic = false, underline = false, strikeout = false, centered = false;
        int color = 0, size = 24, font = 0, indent = 0;
        bool operator==(const Format&) const = default;
        std::string describe() const
        {
            return "<" + std::string(bold ? "b" : "") + (italic ? "i" : "") + (underline ? "u" : "") +
                   (strikeout ? "s" : "") + (centered ? "c" : "") + " cf" + std::to_string(color) + " fs" +
                   std::to_string(size) + " f" + std::to_string(font) + " li" + std::to_string(indent) + ">";
        }
    };
    std::vector<std::string> paragraphs(1);
    std::vector<Format> groups;
    Format format;
    std::optional<Format> last; // written in this paragraph
    size_t hidden_below = SIZE_MAX; // depth of the group that shows nothing
    bool hiding_picture = false;
    const auto show = [&](std::string_view text) {
        if (hidden_below != SIZE_MAX)
            return;
        if (last != format)
            paragraphs.back() += format.describe();
        last = format;
        paragraphs.back() += text;
    };
    for (size_t at = 0; at < document.size();) {
        const char c = document[at];
        if (c == '{') {
            groups.push_back(format);
            ++at;
        } else if (c == '}') {
            if (!groups.empty()) {
                format = groups.back();
                groups.pop_back();
            }
            if (groups.size() + 1 == hidden_below) {
                hidden_below = SIZE_MAX;
                if (std::exchange(hiding_picture, false))
                    show("*");
            }
            ++at;
        } else if (c == '\r' || c == '\n') {
            ++at;
        } else if (c != '\\') {
            show(std::string_view(&document[at], 1));
            ++at;
        } else if (at + 1 < document.size() && std::string_view("\\{}").find(document[at + 1]) != std::string_view::npos) {
            show(document.substr(at + 1, 1));
            at += 2;
        } else {
            size_t end = at + 1;
            while (end < document.size() && std::isalpha(static_cast<unsigned char>(document[end])))
                ++end;
            const std::string word(document.substr(at + 1, end - at - 1));
            size_t number_end = end;
            if (number_end < document.size() && document[number_end] == '-')
                ++number_end;
            while (number_end < document.size() && std::isdigit(static_cast<unsigned char>(document[number_end])))
                ++number_end;
            const std::string number(document.substr(end, number_end - end));
            const int value = number.empty() ? 1 : std::stoi(number);
            at = number_end;
            if (at < document.size() && document[at] == ' ')
                ++at;
            if ((word == "fonttbl" || word == "colortbl" || word == "pict") && hidden_below == SIZE_MAX) {
                hidden_below = groups.size();
                hiding_picture = word == "pict";
            }
            if (hidden_below != SIZE_MAX)
                continue;
            if (word == "par") {
                show("");
                paragraphs.emplace_back();
                last.reset();
            } else if (word == "pard") {
                format.indent = 0;
                format.centered = false;
            } else if (word == "plain") {
                const Format plain;
                format.bold = format.italic = format.underline = format.strikeout = false;
                format.color = plain.color;
                format.size = plain.size;
                format.font = plain.font;
            } else if (word == "b") {
                format.bold = value != 0;
            } else if (word == "i") {
                format.italic = value != 0;
            } else if (word == "ul") {
                format.underline = true;
            } else if (word == "ulnone") {
                format.underline = false;
            } else if (word == "strike") {
                format.strikeout = value != 0;
            } else if (word == "cf") {
                format.color = value;
            } else if (word == "fs") {
                format.size = value;
            } else if (word == "f") {
                format.font = value;
            } else if (word == "li") {
                format.indent = value;
            } else if (word == "qc") {
                format.centered = true;
            } else if (word == "tab") {
                show("\t");
            } else if (word == "u") {
                show("\\u" + number);
                ++at; // the "?" that stands in for it
            }
        }
    }
    return paragraphs;
}

} // namespace rtf
