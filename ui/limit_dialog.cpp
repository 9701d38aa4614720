#include "ui/limit_dialog.h"

#include <string>

#include "res/resource_ids.h"
#include "text/unicode/byte_reader.h"
#include "win/caught_failure.h"
#include "win/messages.h"

namespace {

// The limit typed into the field, or the text that says why it is none.
struct TypedLimit {
    DWORD limit = 0;
    UINT refusal = 0;
};

TypedLimit read_typed_limit(HWND field)
{
    std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    typed.resize(static_cast<std::size_t>(GetWindowTextW(field, typed.data(), static_cast<int>(typed.size()))));
    const auto first = typed.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {0, IDS_LIMIT_EMPTY};
    const std::wstring_view digits = std::wstring_view(typed).substr(first, typed.find_last_not_of(L' ') + 1 - first);
    // Pasted text can get past the field's digits-only style: a sign, letters.
    if (digits.find_first_not_of(L"0123456789") != std::wstring_view::npos)
        return {0, IDS_LIMIT_NOT_A_NUMBER};
    const auto limit = parse_number<std::uint64_t>(digits);
    if (!limit || *limit > MAX_CHARACTER_LIMIT)
        return {0, IDS_LIMIT_TOO_LARGE};
    return {static_cast<DWORD>(*limit), 0};
}

struct LimitDialog {
    DWORD limit;
};

BOOL on_init(HWND dialog, const LimitDialog& data)
{
    HWND field = GetDlgItem(dialog, IDC_LIMIT_VALUE);
    SendMessageW(field, EM_LIMITTEXT, LIMIT_DIGITS, 0);
    SetDlgItemInt(dialog, IDC_LIMIT_VALUE, data.limit, FALSE);
    // Typing replaces the old number straight away.
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
    return FALSE; // the focus is set already
}

void on_ok(HWND dialog, LimitDialog& data)
{
    HWND field = GetDlgItem(dialog, IDC_LIMIT_VALUE);
    const TypedLimit typed = read_typed_limit(field);
    if (typed.refusal) {
        // The user hears why, tries again, and nothing is lost.
        show_message(dialog, {typed.refusal, IDS_CAPTION_CHYBA, MB_OK | MB_ICONWARNING});
        SetFocus(field);
        SendMessageW(field, EM_SETSEL, 0, -1);
        return;
    }
    data.limit = typed.limit;
    EndDialog(dialog, IDOK);
}

INT_PTR limit_dialog_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        return on_init(dialog, *reinterpret_cast<LimitDialog*>(lparam));
    case WM_COMMAND: {
        auto* data = reinterpret_cast<LimitDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (LOWORD(wparam) == IDOK)
            on_ok(dialog, *data);
        else if (LOWORD(wparam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK limit_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guarded(dialog, message, INT_PTR{FALSE}, [&] { return limit_dialog_message(dialog, message, wparam, lparam); });
}

} // namespace

std::optional<DWORD> ask_character_limit(HWND owner, DWORD current)
{
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    LimitDialog data{current};
    const INT_PTR answer = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_CHARACTER_LIMIT), owner, limit_dialog_proc,
                                           reinterpret_cast<LPARAM>(&data));
    if (answer != IDOK)
        return std::nullopt;
    return data.limit;
}
