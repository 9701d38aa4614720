#include "ui/file_dialogs.h"

#include <cderr.h>
#include <commdlg.h>

#include <cwchar>

#include "text/wide_text.h"
#include "win/messages.h"

namespace {

// The filters in the order of FilterIndex: 1 is RTF, 2 plain text.
constexpr wchar_t DOCUMENT_FILTER[] = L"RTF(*.rtf)\0 *.rtf\0TEXT(*.txt)\0 *.txt\0";
constexpr DWORD TEXT_FILTER_INDEX = 2;
constexpr wchar_t DEFAULT_EXTENSION[] = L"rtf";
constexpr DWORD OPEN_DIALOG_FLAGS = OFN_PATHMUSTEXIST;
constexpr DWORD SAVE_DIALOG_FLAGS = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
// The dialogs' file-name buffer: the longest path Windows allows, so that a
// long path typed into the dialog fits.
constexpr DWORD FILE_NAME_BUFFER_SIZE = 32768;

enum class Purpose { open, save };

std::optional<FileChoice> ask_for_file(HWND owner, const DocumentFile& current, Purpose purpose)
{
    std::wstring buffer(FILE_NAME_BUFFER_SIZE, L'\0');
    to_wide(current.name).copy(buffer.data(), FILE_NAME_BUFFER_SIZE - 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = DOCUMENT_FILTER;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = FILE_NAME_BUFFER_SIZE;
    dialog.Flags = purpose == Purpose::save ? SAVE_DIALOG_FLAGS : OPEN_DIALOG_FLAGS;
    dialog.lpstrDefExt = DEFAULT_EXTENSION;

    const BOOL confirmed = purpose == Purpose::save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!confirmed) {
        // Cancelled says nothing; a path longer still is refused with a word.
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            show_error(owner, IDS_PATH_TOO_LONG);
        return std::nullopt;
    }
    buffer.resize(std::wcslen(buffer.c_str()));
    const FileKind kind = dialog.nFilterIndex == TEXT_FILTER_INDEX ? FileKind::text : FileKind::rtf;
    return FileChoice{from_wide(buffer), kind};
}

} // namespace

std::optional<FileChoice> ask_file_to_open(HWND owner, const DocumentFile& current)
{
    return ask_for_file(owner, current, Purpose::open);
}

std::optional<FileChoice> ask_file_to_save(HWND owner, const DocumentFile& current)
{
    return ask_for_file(owner, current, Purpose::save);
}
