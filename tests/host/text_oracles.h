// Reference versions of the reflow and post link text logic, written out
// step by step exactly as the commands have always worked: naive searches,
// one-character deletions and replacements on std::string, or on the text
// cut into characters (code points) where the reflow counts them.
// Deliberately slow (reflow is quadratic) and deliberately literal; the host
// tests and the fuzzers check the real functions against them.
#pragma once

#include "text/commands/post_link_text.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace oracle {

// The rows of the table of well-formed UTF-8 byte sequences, each byte's
// range in turn, with the row for ED widened to take a surrogate's own three
// bytes, as the program's text keeps lone surrogates.
struct ByteRange {
    unsigned char min;
    unsigned char max;
};
struct SequenceForm {
    int length;
    ByteRange bytes[4];
};
inline const SequenceForm SEQUENCE_FORMS[] = {
    {1, {{0x00, 0x7F}}},
    {2, {{0xC2, 0xDF}, {0x80, 0xBF}}},
    {3, {{0xE0, 0xE0}, {0xA0, 0xBF}, {0x80, 0xBF}}},
    {3, {{0xE1, 0xEC}, {0x80, 0xBF}, {0x80, 0xBF}}},
    {3, {{0xED, 0xED}, {0x80, 0xBF}, {0x80, 0xBF}}},
    {3, {{0xEE, 0xEF}, {0x80, 0xBF}, {0x80, 0xBF}}},
    {4, {{0xF0, 0xF0}, {0x90, 0xBF}, {0x80, 0xBF}, {0x80, 0xBF}}},
    {4, {{0xF1, 0xF3}, {0x80, 0xBF}, {0x80, 0xBF}, {0x80, 0xBF}}},
    {4, {{0xF4, 0xF4}, {0x80, 0x8F}, {0x80, 0xBF}, {0x80, 0xBF}}},
};

// How many bytes from `at` on fit the start of a form.
inline int fitting_bytes(const std::string& text, size_t at, const SequenceForm& form)
{
    int n = 0;
    while (n < form.length && at + n < text.size()) {
        const unsigned char byte = static_cast<unsigned char>(text[at + n]);
        if (byte < form.bytes[n].min || byte > form.bytes[n].max)
            break;
        ++n;
    }
    return n;
}

inline bool is_surrogate_half(std::string_view character, unsigned char second_min, unsigned char second_max)
{
    return character.size() == 3 && static_cast<unsigned char>(character[0]) == 0xED &&
           static_cast<unsigned char>(character[1]) >= second_min &&
           static_cast<unsigned char>(character[1]) <= second_max;
}

// The text cut into its characters: at each place, the bytes that fit the
// form of the first byte (a whole sequence, or the start of one that breaks
// off), else that one byte. A lead surrogate's bytes and a trail
// surrogate's right after them are one character, as UTF-16 pairs them.
// The pieces are views of `text`.
inline std::vector<std::string_view> characters(const std::string& text)
{
    std::vector<std::string_view> pieces;
    pieces.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        int length = 1;
        for (const SequenceForm& form : SEQUENCE_FORMS)
            length = std::max(length, fitting_bytes(text, at, form)); // no two share a first byte
        const std::string_view piece(text.data() + at, length);
        at += length;
        if (!pieces.empty() && is_surrogate_half(pieces.back(), 0xA0, 0xAF) && is_surrogate_half(piece, 0xB0, 0xBF))
            pieces.back() = std::string_view(pieces.back().data(), 6);
        else
            pieces.push_back(piece);
    }
    return pieces;
}

// A forward search from `start`: the position of the first occurrence of
// `what` at or after it, or -1; a start of -1 or at or beyond the end gives -1.
inline int search(const std::string& st, const std::string& what, int start)
{
    if (start < 0 || start >= static_cast<int>(st.size()))
        return -1;
    const std::string::size_type found = st.find(what, static_cast<std::string::size_type>(start));
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

// The same search on a text cut into characters, `what` being ASCII.
inline int search(const std::vector<std::string_view>& st, const std::string& what, int start)
{
    for (int p = std::max(start, 0); start >= 0 && p + static_cast<int>(what.size()) <= static_cast<int>(st.size()); ++p) {
        bool found = true;
        for (size_t k = 0; k < what.size() && found; ++k)
            found = st[p + k].size() == 1 && st[p + k][0] == what[k];
        if (found)
            return p;
    }
    return -1;
}

inline std::string joined(const std::vector<std::string_view>& characters)
{
    std::string text;
    for (const std::string_view character : characters)
        text += character;
    return text;
}

inline std::string break_long_lines(const std::string& selection)
{
    const std::string nRadek = "\n";
    const std::string st13 = "\r";
    const std::string stNic = "";

    // 1. The working copy.
    std::string st = selection;

    // 2. Short selections go back as they are; the length is in characters.
    if (characters(st).size() <= 80)
        return st;

    // 3. Delete line feeds; the search resumes one past the deleted one.
    // An LF or a CR is one byte and never part of another character's bytes,
    // so here byte positions serve as well as character positions.
    int p = search(st, nRadek, 0);
    while (p >= 1) {
        st.replace(p, 1, stNic);
        p = search(st, nRadek, p + 1);
    }

    // 4. The same with carriage returns, from the start again.
    p = search(st, st13, 0);
    while (p >= 1) {
        st.replace(p, 1, stNic);
        p = search(st, st13, p + 1);
    }

    // From here on, in characters of the text as it now reads.
    std::vector<std::string_view> chars = characters(st);

    // 5. Web addresses on lines of their own.
    p = search(chars, "http:", 0);
    while (p >= 1) {
        chars[p - 1] = nRadek;
        const int q = search(chars, " ", p + 5);
        if (q >= 1)
            chars[q] = nRadek;
        p = search(chars, "http:", q);
    }

    // 6. Break at the first space after every 80 positions.
    p = search(chars, " ", 80);
    while (p >= 1) {
        chars[p] = nRadek;
        p = search(chars, " ", p + 80);
    }

    // 7. The text that replaces the selection.
    return joined(chars);
}

// 0 = converted, 1 or 2 = the number of the message shown instead.
struct PostLink {
    int message;
    std::string buf;
};

inline PostLink convert_post_link(const std::string& selection, const std::string& open,
                                  const std::string& close)
{
    // 1. The selected text.
    const std::string s = selection;

    // 2. The first "#".
    const std::string::size_type p = s.find('#');
    if (p == std::string::npos)
        return {2, ""};

    // 3. The last "," at or before it, searching back down to position 0.
    std::string::size_type q = std::string::npos;
    for (std::string::size_type i = p + 1; i-- > 0;) {
        if (s[i] == ',') {
            q = i;
            break;
        }
    }
    if (q == std::string::npos || q == 0)
        return {1, ""};

    // 4. to 6. The address before the "#", then "#msg-" and the post number.
    std::string sAdresa = s.substr(0, p);
    const std::string sCislo = s.substr(q + 1, p - q - 1);
    sAdresa += "#msg-";
    sAdresa += sCislo;

    // 7. Open tag, link, close tag.
    return {0, open + sAdresa + close};
}

// The reference's message number for an outcome of the real function.
inline int message_number(PostLinkOutcome outcome)
{
    switch (outcome) {
    case PostLinkOutcome::converted:
        return 0;
    case PostLinkOutcome::no_comma_before_hash:
        return 1;
    case PostLinkOutcome::no_hash:
        return 2;
    }
    return -1;
}

} // namespace oracle
