#include "text/files/draft_file.h"

#include <algorithm>
#include <array>
#include <string>

#include "text/unicode/byte_reader.h"
#include "text/unicode/unicode_text.h"

using namespace std::string_literals;

namespace {

constexpr std::string_view KIND_RTF = "rtf";
constexpr std::string_view KIND_TEXT = "text";
constexpr std::string_view CHECKSUM_KEY = "crc32";
constexpr std::size_t CHECKSUM_DIGITS = 8;
// "crc32 " + the digits + LF.
constexpr std::size_t CHECKSUM_LINE_SIZE = CHECKSUM_KEY.size() + 1 + CHECKSUM_DIGITS + 1;
constexpr char HEX_DIGITS[] = "0123456789abcdef";

constexpr std::array<std::uint32_t, 256> make_crc_table()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        std::uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        table[byte] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> CRC_TABLE = make_crc_table();

std::string checksum_hex(std::uint32_t crc)
{
    std::string hex(CHECKSUM_DIGITS, '0');
    for (std::size_t i = CHECKSUM_DIGITS; i-- > 0; crc >>= 4)
        hex[i] = HEX_DIGITS[crc & 0xF];
    return hex;
}

std::string_view kind_name(DraftKind kind)
{
    return kind == DraftKind::text ? KIND_TEXT : KIND_RTF;
}

void append_line(std::string& out, std::string_view key, std::string_view value)
{
    out.append(key).append(1, ' ').append(value).append(1, '\n');
}

void append_field(std::string& out, std::string_view key, std::string_view value)
{
    append_line(out, key, std::to_string(value.size()));
    out.append(value).append(1, '\n');
}

// Numbers in a draft are decimal without leading zeros.
template <typename Number>
std::optional<Number> draft_number(std::string_view digits)
{
    if (digits.size() > 1 && digits[0] == '0')
        return std::nullopt;
    return parse_number<Number>(digits);
}

// The value of a "key value" line.
std::optional<std::string_view> read_line(ByteReader& reader, std::string_view key)
{
    if (!reader.take_prefix(key) || !reader.take_prefix(" "))
        return std::nullopt;
    return reader.take_until('\n');
}

// A text field: its length line, then that many bytes and an LF.
std::optional<std::string_view> read_field(ByteReader& reader, std::string_view key)
{
    const auto length_line = read_line(reader, key);
    const auto length = length_line ? draft_number<std::size_t>(*length_line) : std::nullopt;
    const auto value = length ? reader.take(*length) : std::nullopt;
    if (!value || !reader.take_prefix("\n"))
        return std::nullopt;
    return value;
}

std::nullopt_t fail(DraftFault* why, DraftFaultKind kind, std::string_view detail = {})
{
    if (why)
        *why = {kind, std::string(detail)};
    return std::nullopt;
}

std::nullopt_t bad_line(DraftFault* why, std::string_view key)
{
    return fail(why, DraftFaultKind::damaged_line, key);
}

// The bytes the checksum covers, when the last line is a checksum line that
// matches them.
std::optional<std::string_view> checked_content(std::string_view bytes, DraftFault* why)
{
    if (bytes.size() < CHECKSUM_LINE_SIZE)
        return fail(why, DraftFaultKind::cut_short);
    const std::string_view content = bytes.substr(0, bytes.size() - CHECKSUM_LINE_SIZE);
    ByteReader checksum_line(bytes.substr(content.size()));
    const auto written = read_line(checksum_line, CHECKSUM_KEY);
    if (!written || !checksum_line.at_end())
        return fail(why, DraftFaultKind::cut_short);
    if (*written != checksum_hex(draft_checksum(content)))
        return fail(why, DraftFaultKind::checksum_mismatch);
    return content;
}

} // namespace

std::uint32_t draft_checksum(std::string_view bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes)
        crc = CRC_TABLE[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string write_draft(const Draft& draft)
{
    std::string out;
    out.reserve(draft.body.size() + draft.file_name.size() + draft.encoding.size() + 160);
    append_line(out, DRAFT_MAGIC, std::to_string(DRAFT_VERSION));
    append_line(out, "process", std::to_string(draft.process_id));
    append_line(out, "written", std::to_string(draft.written_at));
    append_line(out, "kind", kind_name(draft.kind));
    append_field(out, "encoding", draft.encoding);
    append_field(out, "name", draft.file_name);
    append_field(out, "body", draft.body);
    append_line(out, CHECKSUM_KEY, checksum_hex(draft_checksum(out)));
    return out;
}

namespace {

// The lines from the magic one up to the body's length line, which is left
// to the caller; false, with *why, at the first line that is wrong.
bool read_header_lines(ByteReader& reader, Draft& draft, DraftFault* why)
{
    read_line(reader, DRAFT_MAGIC);
    const auto process = read_line(reader, "process");
    const auto process_id = process ? draft_number<std::uint32_t>(*process) : std::nullopt;
    if (!process_id)
        return bad_line(why, "process"), false;
    draft.process_id = *process_id;

    const auto written = read_line(reader, "written");
    const auto written_at = written ? draft_number<std::uint64_t>(*written) : std::nullopt;
    if (!written_at)
        return bad_line(why, "written"), false;
    draft.written_at = *written_at;

    const auto kind = read_line(reader, "kind");
    if (kind == KIND_RTF)
        draft.kind = DraftKind::rtf;
    else if (kind == KIND_TEXT)
        draft.kind = DraftKind::text;
    else
        return bad_line(why, "kind"), false;

    const auto encoding = read_field(reader, "encoding");
    if (!encoding)
        return bad_line(why, "encoding"), false;
    draft.encoding = *encoding;

    const auto name = read_field(reader, "name");
    if (!name)
        return bad_line(why, "name"), false;
    draft.file_name = *name;
    return true;
}

// The magic line first, so that any other file is named for what it is
// rather than for a checksum it never had.
bool is_draft_of_this_version(std::string_view bytes, DraftFault* why)
{
    ByteReader header(bytes);
    const auto version = read_line(header, DRAFT_MAGIC);
    if (!version)
        return fail(why, DraftFaultKind::not_a_draft), false;
    if (draft_number<unsigned>(*version) != DRAFT_VERSION)
        return fail(why, DraftFaultKind::other_version, version->substr(0, 20)), false;
    return true;
}

} // namespace

std::optional<Draft> read_draft(std::string_view bytes, DraftFault* why)
{
    if (!is_draft_of_this_version(bytes, why))
        return std::nullopt;
    const auto content = checked_content(bytes, why);
    if (!content)
        return std::nullopt;

    ByteReader reader(*content);
    Draft draft;
    if (!read_header_lines(reader, draft, why))
        return std::nullopt;
    const auto body = read_field(reader, "body");
    if (!body)
        return bad_line(why, "body");
    if (!reader.at_end())
        return fail(why, DraftFaultKind::after_body);
    draft.body = *body;
    return draft;
}

std::optional<DraftHeader> read_draft_header(std::string_view first_bytes, DraftFault* why)
{
    if (!is_draft_of_this_version(first_bytes, why))
        return std::nullopt;
    ByteReader reader(first_bytes);
    DraftHeader header;
    if (!read_header_lines(reader, header.fields, why))
        return std::nullopt;
    const auto length_line = read_line(reader, "body");
    const auto length = length_line ? draft_number<std::uint64_t>(*length_line) : std::nullopt;
    if (!length || *length > std::uint64_t{1} << 62)
        return bad_line(why, "body");
    header.body_size = *length;
    const std::uint64_t before_body = first_bytes.size() - reader.rest().size();
    header.whole_size = before_body + *length + 1 + CHECKSUM_LINE_SIZE;
    header.body_start = reader.rest().substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(*length, reader.rest().size())));
    return header;
}

namespace {

constexpr std::string_view ELLIPSIS = "...";

bool is_blank(unsigned char byte)
{
    return byte <= ' ';
}

bool is_continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The bytes of the character that starts at `at`: a lead byte and the
// continuation bytes it announces, as far as they are there. Anything else
// is a character of one byte, so no well-formed sequence is ever split.
std::size_t character_size(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t announced = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
    std::size_t size = 1;
    while (size < announced && at + size < text.size() && is_continuation(static_cast<unsigned char>(text[at + size])))
        ++size;
    return size;
}

} // namespace

std::string draft_first_words(std::string_view plain_text, std::size_t max_chars)
{
    // Room for the text in front of the ellipsis, should it be cut.
    const std::size_t room = max_chars > ELLIPSIS.size() ? max_chars - ELLIPSIS.size() : 0;
    std::string words;
    std::size_t chars = 0;
    std::size_t last_word_end = 0; // in bytes of `words`, within the room
    std::size_t room_end = 0;      // bytes of the first `room` characters
    bool blank_pending = false;
    std::size_t at = 0;
    while (at < plain_text.size()) {
        if (is_blank(static_cast<unsigned char>(plain_text[at]))) {
            blank_pending = !words.empty();
            ++at;
            continue;
        }
        if (blank_pending) {
            if (chars <= room)
                last_word_end = words.size();
            if (chars == max_chars)
                break;
            words += ' ';
            ++chars;
            blank_pending = false;
        }
        if (chars == max_chars)
            break;
        const std::size_t size = character_size(plain_text, at);
        words.append(plain_text, at, size);
        at += size;
        if (++chars <= room)
            room_end = words.size();
    }
    if (at == plain_text.size())
        return words; // all of it fits
    if (room == 0)
        return std::string(ELLIPSIS.substr(0, max_chars));
    words.resize(last_word_end > 0 ? last_word_end : room_end);
    return words + std::string(ELLIPSIS);
}

namespace {

// Groups whose words are no text of the document.
constexpr std::string_view SKIPPED_DESTINATIONS[] = {"fonttbl", "colortbl", "stylesheet", "info", "pict",
                                                     "object", "header", "footer", "listtable", "themedata"};

bool is_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

std::optional<unsigned> hex_value(std::string_view two)
{
    return two.size() == 2 ? parse_number<unsigned>(two, 16) : std::nullopt;
}

} // namespace

std::string rtf_text_start(std::string_view rtf, std::size_t max_units)
{
    std::u16string text;
    std::string skipping = "\x00"s; // one flag per open group
    std::size_t at = 0;
    bool skip_fallback = false;
    const auto add = [&](char16_t unit) {
        if (skip_fallback)
            skip_fallback = false;
        else if (skipping.back() == '\0')
            text += unit;
    };
    while (at < rtf.size() && text.size() < max_units) {
        const char c = rtf[at++];
        if (c == '{') {
            skipping += skipping.back();
        } else if (c == '}') {
            if (skipping.size() > 1)
                skipping.pop_back();
        } else if (c == '\r' || c == '\n') {
            continue;
        } else if (c != '\\') {
            add(static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'?');
        } else if (at < rtf.size() && is_letter(rtf[at])) {
            const std::size_t word_start = at;
            while (at < rtf.size() && is_letter(rtf[at]))
                ++at;
            const std::string_view word = rtf.substr(word_start, at - word_start);
            const std::size_t number_start = at;
            if (at < rtf.size() && rtf[at] == '-')
                ++at;
            while (at < rtf.size() && is_digit(rtf[at]))
                ++at;
            const std::string_view number = rtf.substr(number_start, at - number_start);
            if (at < rtf.size() && rtf[at] == ' ')
                ++at;
            skip_fallback = false;
            if (word == "par" || word == "line" || word == "tab") {
                add(u' ');
            } else if (word == "u" && !number.empty()) {
                const bool negative = number[0] == '-';
                const auto value = parse_number<unsigned>(number.substr(negative ? 1 : 0));
                if (value)
                    add(static_cast<char16_t>(negative ? 65536 - *value : *value));
                skip_fallback = true; // the character for readers without Unicode
            } else {
                for (std::string_view skipped : SKIPPED_DESTINATIONS)
                    if (word == skipped)
                        skipping.back() = '\1';
            }
        } else if (at < rtf.size()) {
            const char symbol = rtf[at++];
            if (symbol == '*') {
                skipping.back() = '\1';
            } else if (symbol == '\'') {
                const auto value = hex_value(rtf.substr(at, 2));
                at += 2;
                add(value && *value < 0x80 ? static_cast<char16_t>(*value) : u'?');
            } else if (symbol == '\\' || symbol == '{' || symbol == '}') {
                add(static_cast<char16_t>(symbol));
            } else if (symbol == '~') {
                add(u' ');
            }
        }
    }
    return utf16_to_utf8(text);
}
