#include "document/document_files.h"

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "document/file_io.h"
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

struct FileChoice {
    std::string file_name;
    int file_kind;
};


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

std::string size_in_words(std::uint64_t bytes)
{
    return std::to_string(bytes) + " bytes";
}

// Why a file does not open, in the words the user is shown.
std::string reason_not_read(const FileRead& read)
{
    switch (read.failure) {
    case ReadFailure::not_a_regular_file:
        return text_of(IDS_NOT_A_REGULAR_FILE);
    case ReadFailure::too_large:
        return text_of(IDS_FILE_TOO_LARGE) + "\n" +
               (read.size ? size_in_words(read.size) : "More than " + size_in_words(DOCUMENT_SIZE_LIMIT));
    default:
        return system_reason(read.error);
    }
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
    const FileRead read = read_whole_file(path, DOCUMENT_SIZE_LIMIT);
    if (!read.bytes) {
        show_file_error(editor, path, reason_not_read(read));
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
    if (const DWORD error = write_file_atomically(file.name, *bytes)) {
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
