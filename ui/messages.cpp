#include "ui/messages.h"

std::wstring load_text(UINT id)
{
    // With no buffer, LoadStringW hands out the resource's own read-only text.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return {};
    return std::wstring(text, static_cast<std::size_t>(length));
}

std::string load_program_text(UINT id)
{
    const std::wstring wide = load_text(id);
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::wstring wide_from_program_text(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

int show_message(HWND owner, const Message& message, std::string_view detail)
{
    return show_message(owner, message, std::wstring_view(wide_from_program_text(detail)));
}

int show_message(HWND owner, const Message& message, std::wstring_view detail)
{
    std::wstring text = load_text(message.text);
    if (!detail.empty())
        text.append(L"\n\n").append(detail);
    const std::wstring caption = message.caption ? load_text(message.caption) : std::wstring();
    // A child window cannot own a box; its top-level window does.
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    return MessageBoxW(top ? top : owner, text.c_str(), caption.c_str(), message.style);
}

void show_error(HWND owner, UINT text_id, std::string_view detail)
{
    show_message(owner, {text_id, IDS_CAPTION_ERROR, MB_OK}, detail);
}
