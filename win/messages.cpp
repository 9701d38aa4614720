#include "win/messages.h"

#include "text/unicode/middle_ellipsis.h"
#include "win/system_utf8.h"

std::string quoted_path(std::string_view path)
{
    return shorten_in_middle(path, MESSAGE_PATH_CHARACTERS);
}

std::string quoted_path(std::wstring_view path)
{
    return quoted_path(utf8_from_wide(path));
}

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
    // The program's own texts are whole characters: the conversion is exact.
    return utf8_from_wide(load_text(id));
}

std::string format_program_text(UINT id, std::initializer_list<std::string_view> arguments)
{
    // FormatMessage would do it too, but it turns each line feed of the
    // text into CR LF.
    const std::string pattern = load_program_text(id);
    std::string text;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const bool insert = pattern[at] == '%' && at + 1 < pattern.size() && pattern[at + 1] >= '1' &&
                            pattern[at + 1] <= '9';
        if (!insert) {
            text += pattern[at];
            continue;
        }
        const auto index = static_cast<std::size_t>(pattern[++at] - '1');
        if (index < arguments.size())
            text += *(arguments.begin() + index);
    }
    return text;
}

int show_message(HWND owner, const Message& message, std::string_view detail)
{
    std::wstring text = load_text(message.text);
    if (!detail.empty())
        text.append(L"\n\n").append(wide_from_utf8(detail));
    const std::wstring caption = message.caption ? load_text(message.caption) : std::wstring();
    // A child window cannot own a box; its top-level window does.
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    return MessageBoxW(top ? top : owner, text.c_str(), caption.c_str(), message.style);
}

void show_error(HWND owner, UINT text_id, std::string_view detail)
{
    show_message(owner, {text_id, IDS_CAPTION_ERROR, MB_OK}, detail);
}
