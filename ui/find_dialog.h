// The system's own modeless Find and Replace dialogs (comdlg32). One of
// them is open at a time; its messages go through IsDialogMessage in the
// message loop, and what it asks for reaches the owner as the registered
// FINDMSGSTRING message.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <string_view>

#include "editor/find_replace.h"

// The most UTF-16 units the dialog's text boxes hold.
inline constexpr std::size_t FIND_TEXT_MOST = 1023;

struct FindDialog {
    // The open dialog, or null.
    HWND window = nullptr;
    bool replacing = false;
    // The dialog keeps pointers to these while it is open.
    FINDREPLACEW request{};
    std::wstring find_what;
    std::wstring replace_with;
    // What the user last searched for and put in, offered again next time.
    std::wstring last_find;
    std::wstring last_replacement;
    DWORD remembered_flags = FR_DOWN;
};

// The message the dialogs send their owner.
UINT find_dialog_message();

// Opens the Find dialog, or the Replace dialog, closing the other one;
// brings an open one of the same kind to the front instead. `initial` is
// the text it offers to search for (empty: the last one searched for).
bool open_find_dialog(FindDialog& dialog, HWND owner, bool replacing, std::wstring_view initial);

// Closes the open dialog, if any.
void close_find_dialog(FindDialog& dialog);

enum class FindAction { none, find_next, replace, replace_all, closed };

// Reads a FINDMSGSTRING message: what the user asked for, and the search
// as the dialog now sets it (also the text to put in, when replacing).
FindAction read_find_request(FindDialog& dialog, LPARAM message, SearchOptions& search,
                             std::u16string& replacement);
