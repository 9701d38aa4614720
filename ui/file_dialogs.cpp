#include "ui/file_dialogs.h"

#include <commdlg.h>

#include <cwchar>

#include "text/wide_text.h"

namespace {

// The filters in the order of FilterIndex: 1 is RTF, 2 plain text.
constexpr wchar_t DOCUMENT_FILTER[] = L"RTF(*.rtf)\0 *.rtf\0TEXT(*.txt)\0 *.txt\0";
constexpr DWORD TEXT_FILTER_INDEX = 2;
constexpr wchar_t DEFAULT_EXTENSION[] = L"rtf";
constexpr DWORD OPEN_DIALOG_FLAGS = OFN_PATHMUSTEXIST;
constexpr DWORD SAVE_DIALOG_FLAGS = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
// The dialogs' file-name buffer, as the file functions accept paths.
constexpr DWORD FILE_NAME_BUFFER_SIZE = MAX_PATH;

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
    if (!confirmed)
        return std::nullopt;
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
