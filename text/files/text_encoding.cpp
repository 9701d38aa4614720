#include "text/files/text_encoding.h"

#include "text/unicode/unicode_text.h"

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";
constexpr std::string_view UTF16LE_BOM = "\xFF\xFE";
constexpr std::string_view UTF16BE_BOM = "\xFE\xFF";

enum class ByteOrder { little_endian, big_endian };

std::string_view byte_order_mark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::utf8_bom:
        return UTF8_BOM;
    case TextEncoding::utf16le_bom:
        return UTF16LE_BOM;
    case TextEncoding::utf16be_bom:
        return UTF16BE_BOM;
    case TextEncoding::ansi:
    case TextEncoding::utf8:
        break;
    }
    return {};
}

bool is_utf16(TextEncoding encoding)
{
    return encoding == TextEncoding::utf16le_bom || encoding == TextEncoding::utf16be_bom;
}

ByteOrder byte_order(TextEncoding encoding)
{
    return encoding == TextEncoding::utf16be_bom ? ByteOrder::big_endian : ByteOrder::little_endian;
}

bool has_multi_byte_sequence(std::string_view bytes)
{
    for (const char byte : bytes)
        if (static_cast<unsigned char>(byte) >= 0x80)
            return true;
    return false;
}

// A UTF-16 file's units; an odd last byte, half a unit, becomes U+FFFD.
DecodedText decode_utf16(std::string_view bytes, ByteOrder order)
{
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(order == ByteOrder::little_endian ? first | second << 8 : first << 8 | second);
    }
    const bool half_unit = bytes.size() % 2 != 0;
    if (half_unit)
        units += u'\uFFFD';
    return {utf16_to_utf8(units), half_unit ? 1u : 0u};
}

void append_utf16(std::string& bytes, std::u16string_view units, ByteOrder order)
{
    for (const char16_t unit : units) {
        const auto low = static_cast<char>(unit & 0xFF);
        const auto high = static_cast<char>(unit >> 8);
        bytes += order == ByteOrder::little_endian ? low : high;
        bytes += order == ByteOrder::little_endian ? high : low;
    }
}

} // namespace

TextEncoding detect_text_encoding(std::string_view bytes)
{
    if (bytes.starts_with(UTF8_BOM))
        return TextEncoding::utf8_bom;
    if (bytes.starts_with(UTF16LE_BOM))
        return TextEncoding::utf16le_bom;
    if (bytes.starts_with(UTF16BE_BOM))
        return TextEncoding::utf16be_bom;
    if (has_multi_byte_sequence(bytes) && is_valid_utf8(bytes))
        return TextEncoding::utf8;
    return TextEncoding::ansi;
}

DecodedText decode_text(std::string_view bytes, TextEncoding encoding)
{
    const std::string_view bom = byte_order_mark(encoding);
    if (!bom.empty() && bytes.starts_with(bom))
        bytes.remove_prefix(bom.size());
    if (is_utf16(encoding))
        return decode_utf16(bytes, byte_order(encoding));
    DecodedText decoded;
    decoded.text = repair_utf8(bytes, decoded.replacements);
    return decoded;
}

std::string encode_text(std::string_view utf8, TextEncoding encoding)
{
    std::string bytes(byte_order_mark(encoding));
    if (is_utf16(encoding)) {
        const std::u16string units = utf8_to_utf16(utf8);
        bytes.reserve(bytes.size() + 2 * units.size());
        append_utf16(bytes, units, byte_order(encoding));
        return bytes;
    }
    return bytes.append(to_strict_utf8(utf8));
}
