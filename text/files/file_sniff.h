// First looks at a file's bytes, before the editor hands them to the
// rich-edit control. Pure text: no Windows headers.
#pragma once

#include <cstddef>
#include <string_view>

// The bytes that open every RTF document.
inline constexpr std::string_view RTF_SIGNATURE = "{\\rtf";

// Whether the bytes begin with exactly "{\rtf" (case and spacing as written).
// Wine's control takes anything that begins with "{" as RTF, but Windows'
// control needs the full signature, so the editor asks for it.
bool begins_as_rtf(std::string_view bytes);

// How many leading bytes looks_binary reads: enough to see what a file is,
// and a bound on the work for files of any size.
inline constexpr std::size_t BINARY_SAMPLE_BYTES = 64 * 1024;

// Whether the bytes are not text that the editor should show. The rule:
//  - A file that begins with a UTF-16 byte-order mark (FF FE or FE FF) is
//    text, although such text holds NULs.
//  - Otherwise, among the first BINARY_SAMPLE_BYTES bytes, a NUL byte makes
//    the file binary, and so do control bytes (0x01 to 0x1F and 0x7F) other
//    than TAB, LF, FF, CR and ESC once they are more than one byte in 32.
//  - Bytes from 0x80 up never count: UTF-8 in any script and text in an
//    8-bit code page (such as Windows-1250) are both text.
// Text holds no NULs and next to no control bytes; random or compressed data
// holds about one control byte in ten and NULs within its first few hundred
// bytes. UTF-16 without a byte-order mark is reported as binary. An RTF file
// with raw \bin picture data can look binary too: ask this of files that are
// to be read as plain text. Empty bytes are text.
bool looks_binary(std::string_view bytes);
