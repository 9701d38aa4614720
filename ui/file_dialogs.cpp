#include "ui/file_dialogs.h"

#include <cderr.h>
#include <commdlg.h>

#include <cwchar>
#include <dlgs.h>

#include "document/file_io.h"
#include "text/unicode/wide_text.h"
#include "win/caught_failure.h"
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

// Wine's dialog overruns buffers of its own on a path of MAX_PATH characters
// or more (a page fault inside it): such a path is taken from the name
// field when OK is pressed, before the dialog reads it.
struct LongPathCatch {
    Purpose purpose;
    WNDPROC previous = nullptr;
    std::wstring path{};
    DWORD filter_index = 1;
};
constexpr wchar_t LONG_PATH_CATCH[] = L"ForumEditorLongPathCatch";

BOOL CALLBACK find_name_edit(HWND child, LPARAM found)
{
    wchar_t class_name[16]{};
    GetClassNameW(child, class_name, 16);
    if (GetDlgCtrlID(child) != cmb13 || _wcsicmp(class_name, L"Edit") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The path typed into the name field, made whole with the dialog's folder.
std::wstring typed_path(HWND frame)
{
    HWND edit = nullptr;
    EnumChildWindows(frame, find_name_edit, reinterpret_cast<LPARAM>(&edit));
    std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(edit ? edit : GetDlgItem(frame, cmb13))) + 1, L'\0');
    typed.resize(static_cast<std::size_t>(GetWindowTextW(edit ? edit : GetDlgItem(frame, cmb13), typed.data(),
                                                         static_cast<int>(typed.size()))));
    const bool absolute = typed.rfind(L"\\\\", 0) == 0 || (typed.size() > 2 && typed[1] == L':' && typed[2] == L'\\');
    if (absolute || typed.empty())
        return typed;
    std::wstring folder(FILE_NAME_BUFFER_SIZE, L'\0');
    const auto length = SendMessageW(frame, CDM_GETFOLDERPATH, folder.size(), reinterpret_cast<LPARAM>(folder.data()));
    folder.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
    return folder.empty() ? typed : folder + L"\\" + typed;
}

LRESULT dialog_frame_message(HWND frame, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* caught = static_cast<LongPathCatch*>(GetPropW(frame, LONG_PATH_CATCH));
    if (message == WM_COMMAND && LOWORD(wparam) == IDOK) {
        std::wstring path = typed_path(frame);
        if (path.size() >= MAX_PATH) {
            caught->filter_index = static_cast<DWORD>(SendDlgItemMessageW(frame, cmb1, CB_GETCURSEL, 0, 0)) + 1;
            const auto name_start = path.find_last_of(L"\\") + 1;
            if (path.find(L'.', name_start) == std::wstring::npos)
                path += caught->filter_index == TEXT_FILTER_INDEX ? L".txt" : L".rtf";
            const bool exists = GetFileAttributesW(system_path(from_wide(path)).c_str()) != INVALID_FILE_ATTRIBUTES;
            if (caught->purpose == Purpose::save && exists &&
                show_message(frame, {IDS_REPLACE_QUESTION, IDS_CAPTION_REPLACE, MB_YESNO | MB_ICONWARNING},
                             quoted_path(path)) != IDYES)
                return 0;
            caught->path = std::move(path);
            EndDialog(frame, IDOK);
            return 0;
        }
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(frame, LONG_PATH_CATCH);
        SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(caught->previous));
    }
    return CallWindowProcW(caught->previous, frame, message, wparam, lparam);
}

LRESULT CALLBACK dialog_frame_proc(HWND frame, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guarded(frame, message, LRESULT{0}, [&] { return dialog_frame_message(frame, message, wparam, lparam); });
}

UINT_PTR CALLBACK dialog_hook(HWND child, UINT message, WPARAM, LPARAM lparam)
{
    // Nothing here throws: it only hooks the frame.
    if (message != WM_INITDIALOG)
        return 0;
    auto* caught = reinterpret_cast<LongPathCatch*>(reinterpret_cast<const OPENFILENAMEW*>(lparam)->lCustData);
    HWND frame = GetParent(child);
    SetPropW(frame, LONG_PATH_CATCH, caught);
    caught->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialog_frame_proc)));
    return 0;
}

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
    dialog.Flags = (purpose == Purpose::save ? SAVE_DIALOG_FLAGS : OPEN_DIALOG_FLAGS) | OFN_EXPLORER | OFN_ENABLEHOOK;
    dialog.lpstrDefExt = DEFAULT_EXTENSION;
    LongPathCatch caught{purpose};
    dialog.lpfnHook = dialog_hook;
    dialog.lCustData = reinterpret_cast<LPARAM>(&caught);

    const BOOL confirmed = purpose == Purpose::save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!caught.path.empty())
        return FileChoice{from_wide(caught.path), caught.filter_index == TEXT_FILTER_INDEX ? FileKind::text : FileKind::rtf};
    if (!confirmed) {
        // Cancelled says nothing; a path longer still is refused with a word.
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            show_message(owner, {IDS_PATH_TOO_LONG, IDS_CAPTION_CHYBA, MB_OK | MB_ICONWARNING});
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
