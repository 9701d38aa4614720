#include "document/document_stream.h"

#include <richedit.h>

#include <string_view>

#include "editor/editor_text.h"
#include "text/unicode/unicode_text.h"
#include "text/unicode/wide_text.h"

namespace {

std::string utf16_bytes(std::string_view utf8)
{
    const std::u16string utf16 = utf8_to_utf16(utf8);
    return std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * sizeof(char16_t));
}

// The text in the Windows code page, or nothing when a character has no
// place in it (never a "?" or a look-alike in its stead).
std::optional<std::string> in_code_page(std::wstring_view text)
{
    if (text.empty())
        return std::string();
    const int size = static_cast<int>(text.size());
    BOOL lost = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &lost);
    if (length <= 0 || lost)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length, nullptr, &lost);
    if (lost)
        return std::nullopt;
    return bytes;
}

} // namespace

std::size_t stream_document_in(HWND editor, const std::string& bytes, FileKind kind, TextEncoding encoding,
                               const ProgressReport& progress)
{
    if (kind == FileKind::rtf) {
        stream_in(editor, bytes, SF_RTF, progress);
        return 0;
    }
    if (encoding == TextEncoding::ansi) {
        stream_in(editor, bytes, SF_TEXT, progress);
        return 0;
    }
    // As UTF-16, which the control takes whole, NUL characters included.
    const DecodedText decoded = decode_text(bytes, encoding);
    stream_in(editor, utf16_bytes(decoded.text), SF_TEXT | SF_UNICODE, progress);
    return decoded.replacements;
}

std::optional<std::string> stream_document_out(HWND editor, DocumentFile& file)
{
    if (file.kind == FileKind::rtf)
        return get_rtf(editor, false);
    const auto raw = stream_out(editor, SF_TEXT | SF_UNICODE);
    if (!raw)
        return std::nullopt;
    const std::wstring text(reinterpret_cast<const wchar_t*>(raw->data()), raw->size() / sizeof(wchar_t));
    if (file.encoding == TextEncoding::ansi) {
        if (auto bytes = in_code_page(text))
            return bytes;
        file.encoding = TextEncoding::utf8;
    }
    return encode_text(from_wide(text), file.encoding);
}
