// The crash-recovery copy of the document that the editor writes every few
// seconds, and reads back at start when a previous run did not end cleanly.
// Pure text: no Windows headers.
//
// A draft is lines ending in LF. A text field is given as its length in
// bytes on the key's line, then exactly that many bytes and an LF:
//
//     ForumEditorDraft 1
//     process 4242
//     written 133515007000000000
//     kind rtf
//     encoding 12
//     windows-1250
//     name 17
//     C:\posts\post.rtf
//     body 30
//     {\rtf1\ansi Hello, forum!\par}
//     crc32 bcd18878
//
// The last line holds the CRC-32 of every byte before it, so that a copy cut
// short or overwritten by something else is not mistaken for the document.
// Numbers are decimal without leading zeros; every line is required, in
// this order, and nothing may follow the checksum line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr char DRAFT_MAGIC[] = "ForumEditorDraft";
inline constexpr unsigned DRAFT_VERSION = 1;

// How the document is saved: the Save command writes RTF or plain text.
enum class DraftKind { rtf, text };

struct Draft {
    std::uint32_t process_id = 0; // of the editor that wrote the draft
    std::uint64_t written_at = 0; // the writer's clock, in the caller's unit
    std::string file_name;        // UTF-8; empty for an untitled document
    DraftKind kind = DraftKind::rtf;
    std::string encoding;         // the name of the plain text's encoding
    std::string body;             // the document as RTF
    bool operator==(const Draft&) const = default;
};

std::string write_draft(const Draft& draft);

// A draft as its first bytes tell it, body aside: enough to ask about it
// without reading a body of many megabytes.
struct DraftHeader {
    Draft fields;                 // all but the body
    std::uint64_t body_size = 0;  // as the body's line gives it
    std::uint64_t whole_size = 0; // of the whole draft, checksum line included
    std::string body_start;       // as much of the body as the bytes hold
};

// Why bytes are no whole, undamaged draft of this version.
enum class DraftFaultKind {
    none,
    not_a_draft,       // no draft's first line
    other_version,     // a draft of another version: detail names it
    cut_short,         // no checksum line at the end
    checksum_mismatch, // the checksum does not match the content
    damaged_line,      // a line missing or damaged: detail is its key
    after_body,        // something stands between the body and the checksum
    body_too_large,    // the body is larger than any document makes
    body_cut_short,    // the body is not as long as its line says
};

struct DraftFault {
    DraftFaultKind kind = DraftFaultKind::none;
    std::string detail; // at most 20 bytes of the file
};

// The header in the first bytes of a draft (more bytes may follow), or
// nullopt, with *why, when they do not begin a draft of this version. The
// checksum is not checked: read_draft() does that with the whole.
std::optional<DraftHeader> read_draft_header(std::string_view first_bytes, DraftFault* why = nullptr);

// The draft in `bytes`, or nullopt when they are not a whole, undamaged
// draft of this version; then *why (if given) says what is wrong. Any
// input, in linear time.
std::optional<Draft> read_draft(std::string_view bytes, DraftFault* why = nullptr);

// The CRC-32 (as in zip and PNG) that a draft's last line carries.
std::uint32_t draft_checksum(std::string_view bytes);

// The plain text at the start of a draft's RTF body, read without the
// control, up to about max_units UTF-16 units: the text of the document's
// groups, with its tables, pictures and other destinations left out, \par
// and \tab as blanks, \uN and \'xx (ASCII) as the characters they stand
// for. A body cut short simply ends the text.
std::string rtf_text_start(std::string_view rtf, std::size_t max_units);

// The start of the document for the question whether to recover it: runs of
// blanks, tabs and line breaks become one space, and the text is cut after
// the last whole word that fits, followed by "...", so that the result has
// at most max_chars characters (code points; a malformed UTF-8 byte counts
// as one). A first word longer than that is cut between characters. With
// max_chars below 4 no text fits beside the "...", which is cut to fit.
std::string draft_first_words(std::string_view plain_text, std::size_t max_chars);
