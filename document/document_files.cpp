#include "document/document_files.h"

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "text/document_title.h"
#include "text/text_encoding.h"
#include "text/file_sniff.h"
#include "text/rtf_prescan.h"
#include "editor/editor_text.h"
#include "win/messages.h"
#include "text/wide_text.h"
#include "win/win_handles.h"

namespace {

// Filter 1 is RTF and filter 2 plain text, so the index the dialog returns
// is the File kind as it stands.
constexpr wchar_t document_filter[] = L"RTF(*.rtf)\0 *.rtf\0TEXT(*.txt)\0 *.txt\0";
constexpr wchar_t DEFAULT_EXTENSION[] = L"rtf";
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
            DeleteFileW(to_wide(path).c_str());
    }
};

struct FileChoice {
    std::string file_name;
    int file_kind;
};


// The system's own words for an error code, without the trailing line break.
std::string system_reason(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = length && text ? from_wide(std::wstring_view(text, length))
                                        : "Error " + std::to_string(error) + ".";
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

// "FILE ERROR", then which file and why.
void show_file_error(HWND editor, const std::string& path, const std::string& reason)
{
    show_error(editor, IDS_FILE_ERROR, path + "\n" + reason);
}

std::string text_of(UINT id)
{
    return load_program_text(id);
}

void set_main_window_title(HWND editor, const std::string& title)
{
    SetWindowTextW(GetParent(editor), to_wide(title).c_str());
}

bool is_modified(HWND editor)
{
    return SendMessageW(editor, EM_GETMODIFY, 0, 0) != 0;
}

// The open or save dialog, starting on the current file's name. Nothing
// changes when it is cancelled or fails.
std::optional<FileChoice> ask_for_file(HWND editor, const DocumentFile& current, bool saving)
{
    std::wstring buffer(FILE_NAME_BUFFER_SIZE, L'\0');
    to_wide(current.name).copy(buffer.data(), FILE_NAME_BUFFER_SIZE - 1);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = editor;
    dialog.lpstrFilter = document_filter;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = FILE_NAME_BUFFER_SIZE;
    dialog.Flags = saving ? SAVE_DIALOG_FLAGS : OPEN_DIALOG_FLAGS;
    dialog.lpstrDefExt = DEFAULT_EXTENSION;

    const BOOL confirmed = saving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!confirmed)
        return std::nullopt;
    buffer.resize(std::wcslen(buffer.c_str()));
    const int kind = dialog.nFilterIndex == FILE_KIND_TEXT ? FILE_KIND_TEXT : FILE_KIND_RTF;
    return FileChoice{from_wide(buffer), kind};
}

// A file read whole, or why it was not.
struct FileRead {
    std::optional<std::string> bytes;
    std::string reason;
};

std::string size_in_words(ULONGLONG bytes)
{
    return std::to_string(bytes) + " bytes";
}

// The whole file, or the reason it cannot be opened. Only regular files are
// read, and never more than the editor opens: an endless source (a device)
// stops at the limit instead of filling memory.
FileRead read_whole_file(const std::string& path)
{
    const OwnedFile file(CreateFileW(to_wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {std::nullopt, system_reason(GetLastError())};
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return {std::nullopt, text_of(IDS_NOT_A_REGULAR_FILE)};

    LARGE_INTEGER size{};
    const std::string too_large = text_of(IDS_FILE_TOO_LARGE);
    if (GetFileSizeEx(file.get(), &size) && static_cast<ULONGLONG>(size.QuadPart) > DOCUMENT_SIZE_LIMIT)
        return {std::nullopt, too_large + "\n" + size_in_words(static_cast<ULONGLONG>(size.QuadPart))};
    try {
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(std::max<LONGLONG>(size.QuadPart, 0)));
        std::string block(64 * 1024, '\0');
        for (;;) {
            DWORD read = 0;
            if (!ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr))
                return {std::nullopt, system_reason(GetLastError())};
            if (read == 0)
                return {std::move(bytes), {}};
            bytes.append(block, 0, read);
            if (bytes.size() > DOCUMENT_SIZE_LIMIT)
                return {std::nullopt, too_large + "\n" + "More than " + size_in_words(DOCUMENT_SIZE_LIMIT)};
        }
    } catch (const std::bad_alloc&) {
        // Not enough memory for it: an error message, not a lost document.
        return {std::nullopt, system_reason(ERROR_NOT_ENOUGH_MEMORY)};
    }
}

std::string utf16_bytes(std::string_view utf8)
{
    const std::u16string utf16 = utf8_to_utf16(utf8);
    return std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * sizeof(char16_t));
}

// Puts a file's content into the control: RTF as it is, text in its
// encoding. Returns how many places of a text file had to become U+FFFD.
std::size_t replace_document(HWND editor, const std::string& bytes, int file_kind, TextEncoding encoding)
{
    std::size_t replacements = 0;
    if (file_kind == FILE_KIND_RTF) {
        stream_in(editor, bytes, SF_RTF);
    } else if (encoding == TextEncoding::ansi) {
        stream_in(editor, bytes, SF_TEXT);
    } else {
        // As UTF-16, which the control takes whole, NUL characters included.
        const DecodedText decoded = decode_text(bytes, encoding);
        replacements = decoded.replacements;
        stream_in(editor, utf16_bytes(decoded.text), SF_TEXT | SF_UNICODE);
    }
    SendMessageW(editor, EM_SETMODIFY, 0, 0);
    return replacements;
}

// The text in the Windows code page, or nothing when a character has no
// place in it (never a "?" or a look-alike in its stead).
std::optional<std::string> in_code_page(std::wstring_view text)
{
    if (text.empty())
        return std::string();
    const int size = static_cast<int>(text.size());
    BOOL lost = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &lost);
    if (length <= 0 || lost)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length, nullptr, &lost);
    if (lost)
        return std::nullopt;
    return bytes;
}

// The document as the bytes of its file. Text goes in the file's encoding;
// text that does not fit the code page goes as UTF-8 instead, and the
// document's encoding says so from then on.
std::optional<std::string> document_bytes(HWND editor, DocumentFile& file)
{
    if (file.kind == FILE_KIND_RTF)
        return get_rtf(editor, false);
    const auto raw = stream_out(editor, SF_TEXT | SF_UNICODE);
    if (!raw)
        return std::nullopt;
    const std::wstring text(reinterpret_cast<const wchar_t*>(raw->data()), raw->size() / sizeof(wchar_t));
    if (file.encoding == TextEncoding::ansi) {
        if (auto bytes = in_code_page(text))
            return bytes;
        file.encoding = TextEncoding::utf8;
    }
    return encode_text(from_wide(text), file.encoding);
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
    const DWORD attributes = GetFileAttributesW(to_wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

bool write_all(HANDLE file, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD block = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, block, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return FlushFileBuffers(file) != 0;
}

// Writes the bytes into a new file beside the target and only then puts it
// in the target's place, so that a failure at any step leaves the old file
// exactly as it was. Returns 0 or the system's error code.
DWORD write_file_safely(const std::string& path, const std::string& bytes)
{
    if (is_protected(path))
        return ERROR_ACCESS_DENIED;

    wchar_t temporary_name[MAX_PATH]{};
    if (!GetTempFileNameW(to_wide(folder_of(path)).c_str(), L"fe", 0, temporary_name))
        return GetLastError();
    TemporaryFile temporary(from_wide(temporary_name));

    OwnedFile file(CreateFileW(temporary_name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    if (!write_all(file.get(), bytes) || !file.reset()) {
        // A full disk is the usual cause when the system gives none.
        const DWORD error = GetLastError();
        return error ? error : ERROR_DISK_FULL;
    }
    if (!MoveFileExW(temporary_name, to_wide(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return GetLastError();
    temporary.path.clear();
    return 0;
}

// What the bytes of a chosen file open as, after any question to the user;
// nothing when the user declined or the file cannot be taken.
std::optional<int> kind_to_open_as(HWND editor, const std::string& path, const std::string& bytes, int chosen)
{
    if (chosen == FILE_KIND_RTF && begins_as_rtf(bytes)) {
        const RtfScan scan = scan_rtf(bytes);
        if (scan.verdict != RtfVerdict::ok) {
            show_file_error(editor, path, text_of(IDS_RTF_REFUSED) + "\n" + rtf_refusal_reason(scan));
            return std::nullopt;
        }
        if (scan.has_pictures_or_objects)
            show_message(editor, PICTURES_NOT_SAVED, path);
        return FILE_KIND_RTF;
    }
    if (looks_binary(bytes) && show_message(editor, BINARY_QUESTION, path) != IDYES)
        return std::nullopt;
    // The filter decides, but a file that is not RTF at all would open empty
    // and be overwritten with RTF on the next save: take it as the text it is.
    if (chosen == FILE_KIND_RTF)
        show_message(editor, OPENED_AS_TEXT, path);
    return FILE_KIND_TEXT;
}

} // namespace

bool confirm_discard(HWND editor, DocumentFile& file)
{
    if (!is_modified(editor))
        return true;
    switch (show_message(editor, SAVE_QUESTION)) {
    case IDYES: return save_document(editor, file);
    case IDNO: return true;
    default: return false;
    }
}

bool new_document(HWND editor, DocumentFile& file)
{
    if (!confirm_discard(editor, file))
        return false;
    SetWindowTextW(editor, L"");
    // Untitled: the next Save asks for a name instead of writing over the
    // file the previous document came from.
    file = DocumentFile{};
    set_main_window_title(editor, NEW_DOCUMENT_TITLE);
    SendMessageW(editor, EM_SETMODIFY, 0, 0);
    SetFocus(editor);
    return true;
}

bool open_document(HWND editor, DocumentFile& file)
{
    if (!confirm_discard(editor, file))
        return false;
    SetFocus(editor);

    const auto choice = ask_for_file(editor, file, false);
    return choice && open_document_file(editor, file, choice->file_name, choice->file_kind);
}

bool open_document_file(HWND editor, DocumentFile& file, const std::string& path, int chosen_kind)
{
    // The file is read and checked whole before anything changes: a file that
    // cannot be taken leaves the document, its name, its kind and its title alone.
    const FileRead read = read_whole_file(path);
    if (!read.bytes) {
        show_file_error(editor, path, read.reason);
        return false;
    }
    const auto kind = kind_to_open_as(editor, path, *read.bytes, chosen_kind);
    if (!kind)
        return false;
    const TextEncoding encoding =
        *kind == FILE_KIND_TEXT ? detect_text_encoding(*read.bytes) : TextEncoding::ansi;
    file = {path, *kind, encoding};
    if (replace_document(editor, *read.bytes, file.kind, file.encoding) > 0)
        show_message(editor, ENCODING_REPAIRED, path);
    set_main_window_title(editor, document_title(file.name));
    return true;
}

bool save_document(HWND editor, DocumentFile& file)
{
    if (file.name.empty()) {
        show_message(editor, SAVE_AS_NOTICE);
        return save_document_as(editor, file);
    }
    const TextEncoding encoding_before = file.encoding;
    const auto bytes = document_bytes(editor, file);
    if (!bytes) {
        file.encoding = encoding_before;
        show_file_error(editor, file.name, system_reason(ERROR_NOT_ENOUGH_MEMORY));
        return false;
    }
    if (const DWORD error = write_file_safely(file.name, *bytes)) {
        file.encoding = encoding_before;
        show_file_error(editor, file.name, system_reason(error));
        return false;
    }
    SendMessageW(editor, EM_SETMODIFY, 0, 0);
    if (file.encoding != encoding_before)
        show_message(editor, SAVED_AS_UTF8, file.name);
    return true;
}

bool save_document_as(HWND editor, DocumentFile& file)
{
    const auto choice = ask_for_file(editor, file, true);
    if (!choice)
        return false;
    // The document takes the new name only once it is written there.
    // Text keeps the encoding it came in; a new text file starts in the code page.
    const TextEncoding encoding = choice->file_kind == file.kind ? file.encoding : TextEncoding::ansi;
    DocumentFile target{choice->file_name, choice->file_kind, encoding};
    if (!save_document(editor, target))
        return false;
    file = target;
    set_main_window_title(editor, document_title(file.name));
    return true;
}
