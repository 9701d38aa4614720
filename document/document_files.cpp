#include "document/document_files.h"

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "document/document_title.h"
#include "ui/editor_text.h"
#include "ui/messages.h"
#include "ui/win_handles.h"

namespace {

// Filter 1 is RTF and filter 2 plain text, so the index the dialog returns
// is the File kind as it stands.
constexpr char document_filter[] = "RTF(*.rtf)\0 *.rtf\0TEXT(*.txt)\0 *.txt\0";
constexpr char DEFAULT_EXTENSION[] = "rtf";
constexpr DWORD OPEN_DIALOG_FLAGS = OFN_PATHMUSTEXIST;
constexpr DWORD SAVE_DIALOG_FLAGS = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
// The dialogs' file-name buffer, as the file functions accept paths.
constexpr DWORD FILE_NAME_BUFFER_SIZE = MAX_PATH;

// Deletes a temporary file unless the save got as far as handing it over.
struct TemporaryFile {
    std::string path;
    explicit TemporaryFile(std::string created) : path(std::move(created)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!path.empty())
            DeleteFileA(path.c_str());
    }
};

struct FileChoice {
    std::string file_name;
    int file_kind;
};

// The document's bytes on their way from a file into the Editor control.
struct ReadSource {
    const std::string* bytes;
    std::size_t offset;
};

void show_file_error(HWND editor)
{
    show_message(editor, FILE_ERROR);
}

void set_main_window_title(HWND editor, const std::string& title)
{
    SetWindowTextA(GetParent(editor), title.c_str());
}

WPARAM stream_format(int file_kind)
{
    return file_kind == FILE_KIND_TEXT ? SF_TEXT : SF_RTF;
}

bool is_modified(HWND editor)
{
    return SendMessageA(editor, EM_GETMODIFY, 0, 0) != 0;
}

// The open or save dialog, starting on the current file's name. Nothing
// changes when it is cancelled or fails.
std::optional<FileChoice> ask_for_file(HWND editor, const DocumentFile& current, bool saving)
{
    std::string buffer(FILE_NAME_BUFFER_SIZE, '\0');
    current.name.copy(buffer.data(), FILE_NAME_BUFFER_SIZE - 1);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = editor;
    dialog.lpstrFilter = document_filter;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = FILE_NAME_BUFFER_SIZE;
    dialog.Flags = saving ? SAVE_DIALOG_FLAGS : OPEN_DIALOG_FLAGS;
    dialog.lpstrDefExt = DEFAULT_EXTENSION;

    const BOOL confirmed = saving ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!confirmed)
        return std::nullopt;
    buffer.resize(std::strlen(buffer.c_str()));
    const int kind = dialog.nFilterIndex == FILE_KIND_TEXT ? FILE_KIND_TEXT : FILE_KIND_RTF;
    return FileChoice{buffer, kind};
}

// Offers to save a modified document before it is replaced. Either answer
// lets the caller go on. Returns whether the offer was shown.
bool offer_to_save(HWND editor, DocumentFile& file)
{
    if (!is_modified(editor))
        return false;
    if (show_message(editor, {IDS_SAVE_QUESTION, IDS_CAPTION_SAVE, MB_OKCANCEL | MB_ICONQUESTION}) == IDOK)
        save_document(editor, file);
    return true;
}

// The whole file, or nothing when any part of it cannot be read.
std::optional<std::string> read_whole_file(const std::string& path)
{
    const OwnedFile file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;

    // A file larger than the control can hold is refused before it is read.
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > EDITOR_TEXT_LIMIT)
        return std::nullopt;
    try {
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
        char block[64 * 1024];
        for (;;) {
            DWORD read = 0;
            if (!ReadFile(file.get(), block, sizeof block, &read, nullptr))
                return std::nullopt;
            if (read == 0)
                return bytes;
            bytes.append(block, read);
        }
    } catch (const std::bad_alloc&) {
        // Not enough memory for it: an error message, not a lost document.
        return std::nullopt;
    }
}

DWORD CALLBACK stream_in_callback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read)
{
    auto* source = reinterpret_cast<ReadSource*>(cookie);
    const std::size_t left = source->bytes->size() - source->offset;
    const std::size_t taken = std::min(left, static_cast<std::size_t>(std::max<LONG>(count, 0)));
    std::memcpy(buffer, source->bytes->data() + source->offset, taken);
    source->offset += taken;
    *read = static_cast<LONG>(taken);
    return 0;
}

void replace_document(HWND editor, const std::string& bytes, int file_kind)
{
    ReadSource source{&bytes, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, stream_in_callback};
    SendMessageA(editor, EM_STREAMIN, stream_format(file_kind), reinterpret_cast<LPARAM>(&stream));
    SendMessageA(editor, EM_SETMODIFY, 0, 0);
}

// Non-zero stops the stream: a block that is not written whole is a failure.
DWORD CALLBACK stream_out_callback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written)
{
    DWORD done = 0;
    const BOOL ok = WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &done, nullptr);
    *written = static_cast<LONG>(done);
    return ok && done == static_cast<DWORD>(count) ? 0 : 1;
}

std::string folder_of(const std::string& path)
{
    const auto separator = path.find_last_of("\\/");
    if (separator == std::string::npos)
        return ".";
    return path.substr(0, separator + 1);
}

// An existing file that must not be replaced: read-only, or a folder.
bool is_protected(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

bool stream_document_to(HWND editor, HANDLE file, int file_kind)
{
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(file), 0, stream_out_callback};
    SendMessageA(editor, EM_STREAMOUT, stream_format(file_kind), reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0 && FlushFileBuffers(file);
}

// Writes the whole document into a new file beside the target and only then
// puts it in the target's place, so that a failure at any step leaves the
// old file exactly as it was.
bool write_document_file(HWND editor, const std::string& path, int file_kind)
{
    if (is_protected(path))
        return false;

    char temporary_name[MAX_PATH]{};
    if (!GetTempFileNameA(folder_of(path).c_str(), "fe", 0, temporary_name))
        return false;
    TemporaryFile temporary(temporary_name);

    OwnedFile file(CreateFileA(temporary_name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !stream_document_to(editor, file.get(), file_kind) || !file.reset())
        return false;
    if (!MoveFileExA(temporary_name, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temporary.path.clear();
    return true;
}

} // namespace

void new_document(HWND editor, DocumentFile& file)
{
    offer_to_save(editor, file);
    SetWindowTextA(editor, "");
    set_main_window_title(editor, NEW_DOCUMENT_TITLE);
    SendMessageA(editor, EM_SETMODIFY, 0, 0);
    SetFocus(editor);
}

void open_document(HWND editor, DocumentFile& file)
{
    if (offer_to_save(editor, file))
        SetFocus(editor);

    const auto choice = ask_for_file(editor, file, false);
    if (!choice)
        return;
    // The file is read whole before anything changes: a file that cannot be
    // read leaves the document, its name, its format and its title alone.
    const auto bytes = read_whole_file(choice->file_name);
    if (!bytes) {
        show_file_error(editor);
        return;
    }
    file.name = choice->file_name;
    file.kind = choice->file_kind;
    replace_document(editor, *bytes, file.kind);
    set_main_window_title(editor, document_title(file.name));
}

bool save_document(HWND editor, DocumentFile& file)
{
    if (file.name.empty()) {
        show_message(editor, SAVE_AS_NOTICE);
        return save_document_as(editor, file);
    }
    if (!write_document_file(editor, file.name, file.kind)) {
        show_file_error(editor);
        return false;
    }
    SendMessageA(editor, EM_SETMODIFY, 0, 0);
    return true;
}

bool save_document_as(HWND editor, DocumentFile& file)
{
    bool saved = false;
    if (const auto choice = ask_for_file(editor, file, true)) {
        file.name = choice->file_name;
        file.kind = choice->file_kind;
        saved = save_document(editor, file);
    }
    set_main_window_title(editor, document_title(file.name));
    return saved;
}

bool confirm_close(HWND editor, DocumentFile& file)
{
    if (!is_modified(editor))
        return true;
    switch (show_message(editor, SAVE_QUESTION)) {
    case IDYES: return save_document(editor, file);
    case IDNO: return true;
    default: return false;
    }
}
