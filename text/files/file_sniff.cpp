#include "text/files/file_sniff.h"

namespace {

constexpr std::string_view UTF16_LE_MARK = "\xFF\xFE";
constexpr std::string_view UTF16_BE_MARK = "\xFE\xFF";

// Control bytes that plain text has reason to hold: tabs, line and page
// breaks, and the escape of terminal colour codes in saved logs.
constexpr bool is_text_control(unsigned char byte)
{
    return byte == '\t' || byte == '\n' || byte == '\f' || byte == '\r' || byte == 0x1B;
}

constexpr bool is_stray_control(unsigned char byte)
{
    return (byte < 0x20 && !is_text_control(byte)) || byte == 0x7F;
}

} // namespace

bool begins_as_rtf(std::string_view bytes)
{
    return bytes.starts_with(RTF_SIGNATURE);
}

bool looks_binary(std::string_view bytes)
{
    if (bytes.starts_with(UTF16_LE_MARK) || bytes.starts_with(UTF16_BE_MARK))
        return false;
    const std::string_view sample = bytes.substr(0, BINARY_SAMPLE_BYTES);
    std::size_t stray = 0;
    for (const char c : sample) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0)
            return true;
        stray += is_stray_control(byte) ? 1 : 0;
    }
    return stray * 32 > sample.size();
}
