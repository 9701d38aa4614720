#include "win/messages.h"


std::wstring load_text(UINT id)
{
    // With no buffer, LoadStringW hands out the resource's own read-only text.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return {};
    return std::wstring(text, static_cast<std::size_t>(length));
}

namespace {

// Messages are only shown, never kept, so the system's own conversion is
// enough: a lone surrogate in a file's name shows as a replacement mark.
std::wstring utf8_to_wide(std::string_view utf8)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

} // namespace

std::string load_program_text(UINT id)
{
    // The program's own texts are whole characters: the conversion is exact.
    const std::wstring wide = load_text(id);
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

int show_message(HWND owner, const Message& message, std::string_view detail)
{
    std::wstring text = load_text(message.text);
    if (!detail.empty())
        text.append(L"\n\n").append(utf8_to_wide(detail));
    const std::wstring caption = message.caption ? load_text(message.caption) : std::wstring();
    // A child window cannot own a box; its top-level window does.
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    return MessageBoxW(top ? top : owner, text.c_str(), caption.c_str(), message.style);
}

void show_error(HWND owner, UINT text_id, std::string_view detail)
{
    show_message(owner, {text_id, IDS_CAPTION_ERROR, MB_OK}, detail);
}
