// Property fuzzer of plain-text file encodings: detecting, decoding and
// encoding any bytes never fails, a file that decodes without a replacement
// is written back byte for byte, and any text from the control survives a
// UTF-16 file.
#include "text/files/text_encoding.h"
#include "text/unicode/unicode_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "text encoding: %s\n", what);
        std::abort();
    }
}

constexpr TextEncoding ENCODINGS[] = {TextEncoding::utf8, TextEncoding::utf8_bom, TextEncoding::utf16le_bom,
                                      TextEncoding::utf16be_bom};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const TextEncoding detected = detect_text_encoding(bytes);
    const DecodedText decoded = decode_text(bytes, detected);
    if (detected != TextEncoding::ansi && decoded.replacements == 0)
        check(encode_text(decoded.text, detected) == bytes, "a file does not round-trip");

    // The bytes as any encoding, and the text back out of it.
    for (const TextEncoding encoding : ENCODINGS) {
        const DecodedText text = decode_text(bytes, encoding);
        const DecodedText again = decode_text(encode_text(text.text, encoding), encoding);
        check(again.replacements == 0, "encoded text does not decode cleanly");
        const bool utf16 = encoding == TextEncoding::utf16le_bom || encoding == TextEncoding::utf16be_bom;
        check(again.text == (utf16 ? text.text : to_strict_utf8(text.text)), "encoded text decodes differently");
    }
    return 0;
}
