// Malformed RTF documents of many kinds, for tests that feed hostile files to
// the editor: the host tests and fuzzer seeds here, and the Wine-side tests
// through the editor's real Open. Header-only and pure. Each document comes
// from its kind and a seed alone, and the same on every compiler: the random
// numbers are a SplitMix64 of our own, with no standard distributions, and
// no expression draws twice (C++ leaves the order of operands open).
#pragma once

#include "text/rtf/rtf_prescan.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

namespace malformed_rtf {

enum class Kind {
    nesting_near_limit,        // MAX_GROUP_DEPTH - 3 to + 3 groups deep, in several settings
    nesting_far_beyond,        // hundreds to thousands of groups deep
    bin_odd_sizes,             // \bin of no, zero, negative, small sizes; raw braces and backslashes
    bin_truncated,             // \bin announcing more bytes than the file has left
    bin_over_limit,            // \bin just over MAX_BIN_BYTES, all of it there (over 1 MiB)
    unbalanced_braces,         // a document with braces added and taken away
    random_control_words,      // letters, signs, numbers and delimiters at random
    huge_numbers,              // control words with numbers of tens to hundreds of digits
    truncated_hex,             // \' at the end, with one digit, or before a non-digit
    odd_unicode,               // \u and \uc with negative, surrogate, huge or missing values
    random_bytes_after_header, // "{\rtf1" and any bytes at all
    truncated_document,        // a sound document cut anywhere
    pictures_and_objects,      // \pict, \object, \shp and their kin, some of them broken
    mixture,                   // pieces of all the above, joined at random
};

inline constexpr Kind ALL_KINDS[] = {
    Kind::nesting_near_limit, Kind::nesting_far_beyond, Kind::bin_odd_sizes,      Kind::bin_truncated,
    Kind::bin_over_limit,     Kind::unbalanced_braces,  Kind::random_control_words, Kind::huge_numbers,
    Kind::truncated_hex,      Kind::odd_unicode,        Kind::random_bytes_after_header,
    Kind::truncated_document, Kind::pictures_and_objects, Kind::mixture,
};

inline const char* kind_name(Kind kind)
{
    switch (kind) {
    case Kind::nesting_near_limit: return "nesting_near_limit";
    case Kind::nesting_far_beyond: return "nesting_far_beyond";
    case Kind::bin_odd_sizes: return "bin_odd_sizes";
    case Kind::bin_truncated: return "bin_truncated";
    case Kind::bin_over_limit: return "bin_over_limit";
    case Kind::unbalanced_braces: return "unbalanced_braces";
    case Kind::random_control_words: return "random_control_words";
    case Kind::huge_numbers: return "huge_numbers";
    case Kind::truncated_hex: return "truncated_hex";
    case Kind::odd_unicode: return "odd_unicode";
    case Kind::random_bytes_after_header: return "random_bytes_after_header";
    case Kind::truncated_document: return "truncated_document";
    case Kind::pictures_and_objects: return "pictures_and_objects";
    case Kind::mixture: return "mixture";
    }
    return "unknown";
}

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    // 0 to n - 1; n > 0.
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    bool one_in(std::size_t n) { return below(n) == 0; }
    std::string_view pick(std::initializer_list<std::string_view> choices)
    {
        return choices.begin()[below(choices.size())];
    }

private:
    std::uint64_t state_;
};

namespace detail {

inline constexpr std::string_view HEADER = "{\\rtf1";

// A sound document of the kind the editor writes, with Czech letters in
// code page 1250 and a paragraph or two.
inline constexpr std::string_view SOUND_DOCUMENT =
    "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}{\\f1\\fmodern Courier New;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs20 Ahoj [b]\\cf1\\b sv\\'ecte\\cf0\\b0 [/b], {\\i \\'9e\\'e1dn\\'fd} \\{\\}\\\\ text\\par\r\n"
    "[color=#FF0000]\\u269?erven\\'e1[/color] {\\ul podtr\\u382?en\\'e9}\\par\r\n"
    "}\r\n";

inline std::string random_bytes(Random& random, std::size_t length)
{
    std::string bytes(length, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random.below(256));
    return bytes;
}

// Bytes that mean most to an RTF reader, often; anything now and then.
inline std::string rtf_flavoured_bytes(Random& random, std::size_t length)
{
    constexpr std::string_view flavour = "{}\\ '-0123456789abuinp*";
    std::string bytes(length, '\0');
    for (char& c : bytes)
        c = random.one_in(4) ? static_cast<char>(random.below(256)) : flavour[random.below(flavour.size())];
    return bytes;
}

inline std::string repeat(std::string_view piece, std::size_t times)
{
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

inline std::string digits(Random& random, std::size_t count)
{
    std::string text(count, '0');
    for (char& c : text)
        c = static_cast<char>('0' + random.below(10));
    return text;
}

// `depth` groups open at once, the document's outer group counted.
inline std::string nesting(Random& random, int depth)
{
    const auto inner = static_cast<std::size_t>(depth > 1 ? depth - 1 : 0);
    const bool closed = !random.one_in(3);
    std::string text;
    switch (random.below(5)) {
    case 0: // bare groups
        text = std::string(HEADER) + std::string(inner, '{') + "x";
        if (closed)
            text += std::string(inner, '}') + "}";
        return text;
    case 1: // a control word in every group
        text = std::string(HEADER) + repeat("{\\b ", inner) + "x";
        if (closed)
            text += std::string(inner, '}') + "}";
        return text;
    case 2: // all the groups before \rtf1
        text = std::string(inner + 1, '{') + "\\rtf1 x";
        if (closed)
            text += std::string(inner + 1, '}');
        return text;
    case 3: // inside an ignored destination
        if (inner == 0)
            return std::string(HEADER) + " x}";
        text = std::string(HEADER) + "{\\*\\unknowndest" + std::string(inner - 1, '{') + "x";
        if (closed)
            text += std::string(inner, '}') + "}";
        return text;
    default: // the inner groups are \bin data of a picture
        if (inner == 0)
            return std::string(HEADER) + " x}";
        text = std::string(HEADER) + "{\\pict\\bin" + std::to_string(inner - 1) + " " + std::string(inner - 1, '{');
        if (closed)
            text += "}}";
        return text;
    }
}

inline std::string bin_with_data(Random& random, std::string_view size, std::string_view data)
{
    std::string text(HEADER);
    text += random.one_in(2) ? " a{\\pict\\wmetafile8\\picw10\\pich10" : " a";
    text += "\\bin";
    text += size;
    if (!random.one_in(4))
        text += ' ';
    text += data;
    text += random.pick({"} b}", "}", "", "}}}}", " b"});
    return text;
}

inline std::string bin_odd_sizes(Random& random)
{
    std::string size;
    switch (random.below(6)) {
    case 0: break;
    case 1: size = "0"; break;
    case 2: size = "-" + std::to_string(1 + random.below(100)); break;
    case 3: {
        const std::size_t zeros = 1 + random.below(30);
        size = std::string(zeros, '0') + std::to_string(random.below(8));
        break;
    }
    default: size = std::to_string(random.below(64)); break;
    }
    // Data of its stated size, rich in braces and backslashes, or a little more.
    const std::size_t stated = size.empty() || size[0] == '-' ? 0 : std::stoul(size);
    return bin_with_data(random, size, rtf_flavoured_bytes(random, stated + random.below(3)));
}

inline std::string bin_truncated(Random& random)
{
    const std::string data = rtf_flavoured_bytes(random, random.below(100));
    std::string size;
    switch (random.below(3)) {
    case 0: size = std::to_string(data.size() + 6 + random.below(5)); break; // just past the end
    case 1: size = std::to_string(MAX_BIN_BYTES - random.below(3)); break;
    default: size = std::to_string(data.size() + 1000 + random.below(100000)); break;
    }
    return bin_with_data(random, size, data);
}

inline std::string bin_over_limit(Random& random)
{
    const std::size_t size = MAX_BIN_BYTES + 1 + random.below(16);
    return bin_with_data(random, std::to_string(size), random_bytes(random, size));
}

inline std::string unbalanced_braces(Random& random)
{
    std::string text(SOUND_DOCUMENT);
    const std::size_t changes = 1 + random.below(8);
    for (std::size_t i = 0; i < changes; ++i) {
        const std::size_t at = random.below(text.size() + 1);
        switch (random.below(3)) {
        case 0: text.insert(at, random.one_in(2) ? "}" : "}}}"); break;
        case 1: text.insert(at, random.one_in(2) ? "{" : "{{{"); break;
        default: {
            const std::size_t brace = text.find_first_of("{}", at);
            if (brace != std::string::npos)
                text.erase(brace, 1);
        }
        }
    }
    if (random.one_in(3))
        text.insert(0, std::string(1 + random.below(4), '}'));
    return text;
}

inline std::string control_word(Random& random, std::size_t longest_number)
{
    constexpr std::string_view letters = "abcdefghijklmnopqrstuvwxyzABCZ";
    std::string word = "\\";
    const std::size_t length = 1 + random.below(random.one_in(8) ? 60 : 8);
    for (std::size_t i = 0; i < length; ++i)
        word += letters[random.below(letters.size())];
    if (random.one_in(3))
        word += '-';
    if (!random.one_in(4))
        word += digits(random, 1 + random.below(longest_number));
    word += random.pick({" ", "", "", "  ", "-", ";", "\r\n"});
    return word;
}

inline std::string random_control_words(Random& random)
{
    std::string text(HEADER);
    const std::size_t count = 1 + random.below(200);
    for (std::size_t i = 0; i < count; ++i) {
        switch (random.below(6)) {
        case 0: text += random.pick({"{", "}"}); break;
        case 1: text += random.pick({"\\{", "\\}", "\\\\", "\\*", "\\~", "\\-", "\\_", "\\\r\n", "\\'"}); break;
        case 2: text += "text "; break;
        default: text += control_word(random, 12); break;
        }
    }
    if (!random.one_in(4))
        text += '}';
    return text;
}

inline std::string huge_numbers(Random& random)
{
    std::string text(HEADER);
    const std::size_t count = 1 + random.below(20);
    for (std::size_t i = 0; i < count; ++i) {
        text += "\\";
        text += random.pick({"fs", "f", "cf", "u", "uc", "bin", "li", "sa", "deff", "ansicpg", "red", "picw"});
        text += random.pick({"", "-", "-", "--"});
        text += digits(random, 10 + random.below(random.one_in(4) ? 400 : 40));
        text += random.pick({" x", "x", "{y}", " ", "\\par "});
    }
    text += '}';
    return text;
}

inline std::string truncated_hex(Random& random)
{
    std::string text(SOUND_DOCUMENT.substr(0, SOUND_DOCUMENT.find("\\par")));
    text += random.pick({" \\'", " \\'e", " \\'g1", " \\'{", " \\'}}", " \\'\\'", " \\'e\\", " \\'-1"});
    if (random.one_in(3))
        text += " more}";
    return text;
}

inline std::string odd_unicode(Random& random)
{
    constexpr std::string_view values[] = {
        "-70000", "-1", "0", "55296", "56320", "57343", "-10240", "65535", "65536", "1114112",
        "4294967296", "99999999999999999999", "-", "",
    };
    std::string text(HEADER);
    const std::size_t count = 1 + random.below(12);
    for (std::size_t i = 0; i < count; ++i) {
        if (random.one_in(3))
            text += "\\uc" + std::string(random.pick({"0", "1", "2", "5", "-1", "65536"}));
        text += "\\u";
        text += values[random.below(std::size(values))];
        text += random.pick({"?", " ?", "", "{", "}", "\\'3f", "\\'", " ", "\\u"});
    }
    if (random.one_in(2))
        text += '}';
    return text;
}

inline std::string random_bytes_after_header(Random& random)
{
    return std::string(HEADER) + random_bytes(random, random.below(2000));
}

inline std::string truncated_document(Random& random)
{
    std::string text(SOUND_DOCUMENT);
    if (random.one_in(2))
        text.insert(text.rfind("\\par"), "{\\pict\\pngblip\\picw4\\pich4 89504e470d0a1a0a0000}");
    return text.substr(0, random.below(text.size()));
}

inline std::string pictures_and_objects(Random& random)
{
    constexpr std::string_view pieces[] = {
        "{\\pict\\wmetafile8\\picw100\\pich100 010009000003}",
        "{\\pict\\pngblip 89504e47",
        "{\\pict\\jpegblip\\bin4 \xFF\xD8}{",
        "{\\*\\shppict{\\pict\\emfblip 0100}}{\\nonshppict{\\pict\\wmetafile8 0100}}",
        "{\\object\\objemb{\\*\\objclass Paint.Picture}{\\*\\objdata 0105000002}{\\result x}}",
        "{\\object\\objlink\\objupdate{\\*\\objdata 01}",
        "{\\shp{\\*\\shpinst\\shpleft0{\\sp{\\sn shapeType}{\\sv 75}}}}",
        "{\\*\\do\\dobxcolumn\\dprect}",
        "{\\field{\\*\\fldinst INCLUDEPICTURE \"x.png\"}{\\fldrslt }}",
    };
    std::string text(HEADER);
    text += " before ";
    const std::size_t count = 1 + random.below(4);
    for (std::size_t i = 0; i < count; ++i)
        text += pieces[random.below(std::size(pieces))];
    text += random.pick({" after}", "}", ""});
    return text;
}

inline std::string mixture(Random& random)
{
    std::string text(random.one_in(8) ? "" : HEADER);
    const std::size_t count = 1 + random.below(40);
    for (std::size_t i = 0; i < count; ++i) {
        switch (random.below(8)) {
        case 0: {
            const std::size_t length = 1 + random.below(40);
            text += std::string(length, random.one_in(2) ? '{' : '}');
            break;
        }
        case 1: text += "\\bin" + std::to_string(random.below(20)) + " "; break;
        case 2: text += rtf_flavoured_bytes(random, random.below(30)); break;
        case 3: text += control_word(random, 25); break;
        case 4: text += random.pick({"\\'", "\\'4", "\\'41", "\\u", "\\u-5?", "\\uc2", "\\"}); break;
        case 5: text += random.pick({"{\\pict ", "{\\*\\objdata ", "{\\shp ", "{\\*\\x "}); break;
        case 6: text += random_bytes(random, random.below(16)); break;
        default: text += "plain words "; break;
        }
    }
    return text;
}

} // namespace detail

// The document of `kind` for `seed`.
inline std::string make(Kind kind, std::uint64_t seed)
{
    Random random(seed ^ (static_cast<std::uint64_t>(kind) << 56));
    switch (kind) {
    case Kind::nesting_near_limit:
        return detail::nesting(random, MAX_GROUP_DEPTH - 3 + static_cast<int>(random.below(7)));
    case Kind::nesting_far_beyond:
        return detail::nesting(random, 100 + static_cast<int>(random.below(random.one_in(4) ? 5000 : 400)));
    case Kind::bin_odd_sizes: return detail::bin_odd_sizes(random);
    case Kind::bin_truncated: return detail::bin_truncated(random);
    case Kind::bin_over_limit: return detail::bin_over_limit(random);
    case Kind::unbalanced_braces: return detail::unbalanced_braces(random);
    case Kind::random_control_words: return detail::random_control_words(random);
    case Kind::huge_numbers: return detail::huge_numbers(random);
    case Kind::truncated_hex: return detail::truncated_hex(random);
    case Kind::odd_unicode: return detail::odd_unicode(random);
    case Kind::random_bytes_after_header: return detail::random_bytes_after_header(random);
    case Kind::truncated_document: return detail::truncated_document(random);
    case Kind::pictures_and_objects: return detail::pictures_and_objects(random);
    case Kind::mixture: return detail::mixture(random);
    }
    return std::string(detail::SOUND_DOCUMENT);
}

// A document of any kind but bin_over_limit (which is over 1 MiB), the kind
// also chosen by the seed.
inline std::string make_any(std::uint64_t seed)
{
    Random random(seed);
    Kind kind = ALL_KINDS[random.below(std::size(ALL_KINDS))];
    if (kind == Kind::bin_over_limit)
        kind = Kind::mixture;
    return make(kind, seed);
}

} // namespace malformed_rtf
