// The encodings of plain-text files: which one a file has, and its text in
// and out as the program's UTF-8. Line breaks pass through untouched. Pure
// text: no Windows headers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class TextEncoding {
    ansi,        // the Windows code page; decoded and encoded on the Windows side
    utf8,        // no byte order mark
    utf8_bom,    // EF BB BF
    utf16le_bom, // FF FE
    utf16be_bom, // FE FF
};

struct DecodedText {
    std::string text;             // UTF-8 (WTF-8 for a UTF-16 file's lone surrogates)
    std::size_t replacements = 0; // places that had to become U+FFFD
};

// A byte order mark says the encoding; without one, text that is valid UTF-8
// and holds at least one multi-byte sequence is UTF-8, anything else ANSI
// (plain ASCII reads the same either way).
TextEncoding detect_text_encoding(std::string_view bytes);

// The text of a file in the given encoding, its byte order mark (if it
// starts with the encoding's own) left out. UTF-8 must be strictly valid:
// each maximal invalid subpart becomes U+FFFD. UTF-16 keeps a lone surrogate
// (as WTF-8) and replaces only an odd last byte. `ansi` is not decoded here:
// given it, the bytes are read as UTF-8 without a mark.
DecodedText decode_text(std::string_view bytes, TextEncoding encoding);

// The bytes of a file in the given encoding, with the byte order mark it
// has. A UTF-8 file gets strict UTF-8: a lone surrogate becomes U+FFFD.
// Whatever decode_text read without a replacement comes back byte for byte.
// `ansi` is not encoded here: given it, the text is written as UTF-8.
std::string encode_text(std::string_view utf8, TextEncoding encoding);
