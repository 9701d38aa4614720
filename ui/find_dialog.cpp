#include "ui/find_dialog.h"

#include <dlgs.h>

namespace {

// The dialog's buffers: what its text boxes hold, and the terminating zero.
constexpr WORD TEXT_ROOM = FIND_TEXT_MOST + 1;

constexpr DWORD KEPT_FLAGS = FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD;

// Wine's dialog hands its text boxes to the owner through the ANSI code
// page, which turns "ů" into "u" and an emoji into "?"; the boxes
// themselves hold the text whole, so it is read from them and put into them
// directly.
std::u16string box_text(HWND dialog, int box)
{
    HWND control = GetDlgItem(dialog, box);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return std::u16string(text.begin(), text.end());
}

} // namespace

UINT find_dialog_message()
{
    static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
    return message;
}

bool open_find_dialog(FindDialog& dialog, HWND owner, bool replacing, std::wstring_view initial)
{
    if (dialog.window && dialog.replacing == replacing) {
        if (!initial.empty())
            SetDlgItemTextW(dialog.window, edt1, std::wstring(initial.substr(0, TEXT_ROOM - 1)).c_str());
        SetActiveWindow(dialog.window);
        return true;
    }
    close_find_dialog(dialog);
    if (!initial.empty())
        dialog.last_find.assign(initial.substr(0, TEXT_ROOM - 1));
    // Buffers of the size the dialog is told, which it writes into.
    dialog.find_what = dialog.last_find;
    dialog.find_what.resize(TEXT_ROOM, L'\0');
    dialog.replace_with = dialog.last_replacement;
    dialog.replace_with.resize(TEXT_ROOM, L'\0');

    dialog.request = FINDREPLACEW{};
    dialog.request.lStructSize = sizeof dialog.request;
    dialog.request.hwndOwner = owner;
    dialog.request.Flags = dialog.remembered_flags & KEPT_FLAGS;
    dialog.request.lpstrFindWhat = dialog.find_what.data();
    dialog.request.wFindWhatLen = TEXT_ROOM;
    dialog.request.lpstrReplaceWith = dialog.replace_with.data();
    dialog.request.wReplaceWithLen = TEXT_ROOM;
    find_dialog_message();
    dialog.window = replacing ? ReplaceTextW(&dialog.request) : FindTextW(&dialog.request);
    dialog.replacing = replacing;
    if (!dialog.window)
        return false;
    SetDlgItemTextW(dialog.window, edt1, dialog.last_find.c_str());
    if (replacing)
        SetDlgItemTextW(dialog.window, edt2, dialog.last_replacement.c_str());
    return true;
}

void close_find_dialog(FindDialog& dialog)
{
    if (dialog.window)
        DestroyWindow(dialog.window);
    dialog.window = nullptr;
}

FindAction read_find_request(FindDialog& dialog, LPARAM message, SearchOptions& search, std::u16string& replacement)
{
    const auto* request = reinterpret_cast<const FINDREPLACEW*>(message);
    if (request != &dialog.request)
        return FindAction::none;
    const DWORD flags = request->Flags;
    if (flags & FR_DIALOGTERM) {
        dialog.window = nullptr;
        return FindAction::closed;
    }
    dialog.remembered_flags = flags & KEPT_FLAGS;
    search.pattern = box_text(dialog.window, edt1);
    dialog.last_find.assign(search.pattern.begin(), search.pattern.end());
    search.match_case = (flags & FR_MATCHCASE) != 0;
    search.whole_word = (flags & FR_WHOLEWORD) != 0;
    search.down = (flags & FR_DOWN) != 0;
    if (dialog.replacing) {
        replacement = box_text(dialog.window, edt2);
        dialog.last_replacement.assign(replacement.begin(), replacement.end());
    }
    if (flags & FR_REPLACEALL)
        return FindAction::replace_all;
    if (flags & FR_REPLACE)
        return FindAction::replace;
    if (flags & FR_FINDNEXT)
        return FindAction::find_next;
    return FindAction::none;
}
