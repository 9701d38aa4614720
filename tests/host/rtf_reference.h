// A reference for scan_rtf, written the slow and obvious way from the rules
// in document/rtf_prescan.h: the bytes are first cut into tokens, numbers
// stay strings of digits, and the tokens are then walked with a stack of the
// open groups. The tests and the fuzzer check the real scan against it.
#pragma once

#include "text/rtf/rtf_prescan.h"

#include <algorithm>
#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

enum class TokenKind { open, close, word, symbol, other, bin_data, bin_too_large, bin_truncated };

struct Token {
    TokenKind kind;
    std::size_t begin;
    std::string name;   // of a control word
    std::string digits; // of a control word, without the sign
    bool minus = false;
};

inline bool letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool digit(char c) { return c >= '0' && c <= '9'; }

// Compares two numbers written in decimal digits, leading zeros allowed.
inline int compare_decimal(std::string a, std::string b)
{
    a.erase(0, a.find_first_not_of('0') == std::string::npos ? a.size() : a.find_first_not_of('0'));
    b.erase(0, b.find_first_not_of('0') == std::string::npos ? b.size() : b.find_first_not_of('0'));
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

// With skip_bin, the data after \binN becomes one bin_data token, and a \bin
// that cannot be skipped ends the tokens with the reason.
inline std::vector<Token> tokenize(std::string_view bytes, bool skip_bin)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t begin = i;
        if (bytes[i] == '{') {
            tokens.push_back({TokenKind::open, begin, "", ""});
            i += 1;
        } else if (bytes[i] == '}') {
            tokens.push_back({TokenKind::close, begin, "", ""});
            i += 1;
        } else if (bytes[i] != '\\') {
            tokens.push_back({TokenKind::other, begin, "", ""});
            i += 1;
        } else if (i + 1 >= bytes.size() || !letter(bytes[i + 1])) {
            tokens.push_back({TokenKind::symbol, begin, "", ""});
            i += 2;
        } else {
            Token word{TokenKind::word, begin, "", ""};
            i += 1;
            while (i < bytes.size() && letter(bytes[i]))
                word.name += bytes[i++];
            if (i + 1 < bytes.size() && bytes[i] == '-' && digit(bytes[i + 1])) {
                word.minus = true;
                i += 1;
            }
            while (i < bytes.size() && digit(bytes[i]))
                word.digits += bytes[i++];
            if (i < bytes.size() && bytes[i] == ' ')
                i += 1;
            tokens.push_back(word);
            if (skip_bin && word.name == "bin" && !word.minus && !word.digits.empty()) {
                if (compare_decimal(word.digits, std::to_string(MAX_BIN_BYTES)) > 0) {
                    tokens.push_back({TokenKind::bin_too_large, begin, "", ""});
                    return tokens;
                }
                if (compare_decimal(word.digits, std::to_string(bytes.size() - i)) > 0) {
                    tokens.push_back({TokenKind::bin_truncated, begin, "", ""});
                    return tokens;
                }
                tokens.push_back({TokenKind::bin_data, i, "", ""});
                i += std::stoull(word.digits);
            }
        }
    }
    return tokens;
}

inline bool names_picture_or_object(const std::string& name)
{
    static const std::set<std::string> names = {"pict", "shppict", "nonshppict", "shp", "shpinst",
                                                "do",   "object",  "objdata",    "objemb", "objlink"};
    return names.count(name) > 0;
}

inline RtfScan read(std::string_view bytes, bool skip_bin)
{
    RtfScan scan;
    std::vector<std::size_t> open_groups;
    for (const Token& token : tokenize(bytes, skip_bin)) {
        switch (token.kind) {
        case TokenKind::open:
            open_groups.push_back(token.begin);
            if (static_cast<int>(open_groups.size()) > scan.depth)
                scan.depth = static_cast<int>(open_groups.size());
            if (scan.depth > MAX_GROUP_DEPTH) {
                scan.verdict = RtfVerdict::too_deep;
                scan.offset = token.begin;
                return scan;
            }
            break;
        case TokenKind::close:
            if (open_groups.empty())
                break;
            open_groups.pop_back();
            if (open_groups.empty()) {
                scan.offset = token.begin + 1;
                return scan;
            }
            break;
        case TokenKind::word:
            if (names_picture_or_object(token.name))
                scan.has_pictures_or_objects = true;
            break;
        case TokenKind::bin_too_large:
            scan.verdict = RtfVerdict::bin_too_large;
            scan.offset = token.begin;
            return scan;
        case TokenKind::bin_truncated:
            scan.verdict = RtfVerdict::bin_truncated;
            scan.offset = token.begin;
            return scan;
        default:
            break;
        }
    }
    scan.offset = bytes.size();
    return scan;
}

// Both readings; the earlier refusal wins, the RTF format's on a tie.
inline RtfScan scan_rtf(std::string_view bytes)
{
    const RtfScan as_written = read(bytes, true);
    const RtfScan by_wine = read(bytes, false);
    RtfScan scan = as_written;
    if (by_wine.verdict != RtfVerdict::ok &&
        (as_written.verdict == RtfVerdict::ok || by_wine.offset < as_written.offset)) {
        scan = by_wine;
    } else if (as_written.verdict == RtfVerdict::ok) {
        scan.offset = std::max(as_written.offset, by_wine.offset);
        scan.depth = std::max(as_written.depth, by_wine.depth);
    }
    // Pictures are what the RTF format says they are.
    scan.has_pictures_or_objects = as_written.has_pictures_or_objects;
    return scan;
}

} // namespace reference
