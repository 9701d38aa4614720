#include "ui/limit_dialog.h"

#include "res/resource_ids.h"

namespace {

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
    BOOL is_number = FALSE;
    const UINT limit = GetDlgItemInt(dialog, IDC_LIMIT_VALUE, &is_number, FALSE);
    if (!is_number) {
        // An empty field, or something pasted that is not a number: the
        // user tries again, and nothing is lost.
        MessageBeep(MB_ICONWARNING);
        HWND field = GetDlgItem(dialog, IDC_LIMIT_VALUE);
        SetFocus(field);
        SendMessageW(field, EM_SETSEL, 0, -1);
        return;
    }
    data.limit = limit;
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK limit_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
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
