#include "app/file_commands.h"

#include <cstdint>
#include <optional>
#include <string>

#include "app/settings.h"
#include "document/document_stream.h"
#include "document/file_io.h"
#include "text/files/file_sniff.h"
#include "text/rtf/rtf_prescan.h"
#include "ui/file_dialogs.h"
#include "ui/refusal_texts.h"
#include "ui/status_bar.h"
#include "ui/window_title.h"
#include "win/messages.h"

namespace {

// "FILE ERROR", then which file and why.
void show_file_error(HWND editor, const std::string& path, const std::string& reason)
{
    show_error(editor, IDS_FILE_ERROR, quoted_path(path) + "\n" + reason);
}

// Why a file does not open, in the words the user is shown.
std::string reason_not_read(const FileRead& read)
{
    switch (read.failure) {
    case ReadFailure::not_a_regular_file:
        return load_program_text(IDS_NOT_A_REGULAR_FILE);
    case ReadFailure::too_large:
        return load_program_text(IDS_FILE_TOO_LARGE) + "\n" +
               (read.size ? format_program_text(IDS_FILE_SIZE, {locale_number(read.size)})
                          : format_program_text(IDS_FILE_SIZE_MORE_THAN, {locale_number(DOCUMENT_SIZE_LIMIT)}));
    default:
        return system_reason(read.error);
    }
}

// What the bytes of a chosen file open as, after any question to the user;
// nothing when the user declined or the file cannot be taken.
std::optional<FileKind> kind_to_open_as(HWND editor, const std::string& path, const std::string& bytes,
                                        FileKind chosen)
{
    if (chosen == FileKind::rtf && begins_as_rtf(bytes)) {
        const RtfScan scan = scan_rtf(bytes);
        if (scan.verdict != RtfVerdict::ok) {
            show_file_error(editor, path, load_program_text(IDS_RTF_REFUSED) + "\n" + rtf_refusal_text(scan));
            return std::nullopt;
        }
        if (scan.has_pictures_or_objects)
            show_message(editor, PICTURES_NOT_SAVED, quoted_path(path));
        return FileKind::rtf;
    }
    if (looks_binary(bytes) && show_message(editor, BINARY_QUESTION, quoted_path(path)) != IDYES)
        return std::nullopt;
    // The filter decides, but a file that is not RTF at all would open empty
    // and be overwritten with RTF on the next save: take it as the text it is.
    if (chosen == FileKind::rtf)
        show_message(editor, OPENED_AS_TEXT, quoted_path(path));
    return FileKind::text;
}

void show_title_of(HWND editor, const DocumentFile& file)
{
    show_document_title(GetParent(editor), file.name);
}

// Opens a file as the kind chosen (the filter), unless the file says
// otherwise; with no kind chosen, as RTF when it begins as RTF.
bool open_file(HWND editor, DocumentFile& file, const std::string& path, std::optional<FileKind> chosen_kind,
               const std::function<HWND()>& empty_editor, const ProgressReport& progress)
{
    // The file is read and checked whole before anything changes: a file that
    // cannot be taken leaves the document, its name, its kind and its title alone.
    const FileRead read = read_whole_file(path, DOCUMENT_SIZE_LIMIT);
    if (!read.bytes) {
        show_file_error(editor, path, reason_not_read(read));
        return false;
    }
    if (!chosen_kind)
        chosen_kind = begins_as_rtf(*read.bytes) ? FileKind::rtf : FileKind::text;
    const auto kind = kind_to_open_as(editor, path, *read.bytes, *chosen_kind);
    if (!kind)
        return false;
    const TextEncoding encoding = *kind == FileKind::text ? detect_text_encoding(*read.bytes) : TextEncoding::ansi;
    file = {path, *kind, encoding, read.stamp};
    report_progress(progress, 0, read.bytes->size());
    if (empty_editor)
        editor = empty_editor();
    const std::size_t repaired = stream_document_in(editor, *read.bytes, file.kind, file.encoding, progress);
    if (repaired > 0)
        show_message(editor, ENCODING_REPAIRED, quoted_path(path));
    show_title_of(editor, file);
    note_recent_file(path);
    return true;
}

// The file as it is now, when it is not as the document last read or wrote
// it. A file that is gone has nothing to lose: it is written again.
std::optional<FileStamp> changed_on_disk(const DocumentFile& file)
{
    if (file.name.empty() || !file.stamp)
        return std::nullopt;
    const auto now = file_stamp(file.name);
    if (!now || *now == *file.stamp)
        return std::nullopt;
    return now;
}

enum class Overwrite { yes, save_as, cancel };

// Another program wrote the file since the document last read or wrote it:
// its change is not overwritten unasked.
Overwrite may_overwrite(HWND editor, const DocumentFile& file)
{
    if (!changed_on_disk(file))
        return Overwrite::yes;
    const std::string detail = quoted_path(file.name) + "\n\n" + load_program_text(IDS_FILE_CHANGED_CHOICES);
    switch (show_message(editor, FILE_CHANGED_ON_SAVE, detail)) {
    case IDYES: return Overwrite::yes;
    case IDNO: return Overwrite::save_as;
    default: return Overwrite::cancel;
    }
}

} // namespace

SaveOffer confirm_discard(HWND editor, DocumentFile& file, bool modified)
{
    if (!modified)
        return SaveOffer::go_on;
    switch (show_message(editor, SAVE_QUESTION)) {
    case IDYES: return save_document(editor, file) == SaveOutcome::saved ? SaveOffer::saved : SaveOffer::stay;
    case IDNO: return SaveOffer::go_on;
    default: return SaveOffer::stay;
    }
}

DocumentChange new_document(HWND editor, DocumentFile& file, bool modified, const std::function<HWND()>& empty_editor)
{
    if (confirm_discard(editor, file, modified) == SaveOffer::stay)
        return DocumentChange::kept;
    editor = empty_editor();
    // Untitled: the next Save asks for a name instead of writing over the
    // file the previous document came from.
    file = DocumentFile{};
    show_title_of(editor, file);
    SetFocus(editor);
    return DocumentChange::replaced;
}

DocumentChange open_document(HWND editor, DocumentFile& file, bool modified, const std::function<HWND()>& empty_editor,
                             const ProgressReport& progress)
{
    const SaveOffer offer = confirm_discard(editor, file, modified);
    if (offer == SaveOffer::stay)
        return DocumentChange::kept;
    SetFocus(editor);

    const auto choice = ask_file_to_open(editor, file);
    if (choice && open_document_file(editor, file, choice->path, choice->kind, empty_editor, progress))
        return DocumentChange::replaced;
    return offer == SaveOffer::saved ? DocumentChange::saved_but_kept : DocumentChange::kept;
}

bool open_document_file(HWND editor, DocumentFile& file, const std::string& path, FileKind chosen_kind,
                        const std::function<HWND()>& empty_editor, const ProgressReport& progress)
{
    return open_file(editor, file, path, chosen_kind, empty_editor, progress);
}

NamedOpen open_named_document(HWND editor, DocumentFile& file, bool modified, const std::string& path,
                              const std::function<HWND()>& empty_editor, const ProgressReport& progress)
{
    const SaveOffer offer = confirm_discard(editor, file, modified);
    if (offer == SaveOffer::stay)
        return {DocumentChange::kept, PathKind::other};
    SetFocus(editor);
    const DocumentChange kept = offer == SaveOffer::saved ? DocumentChange::saved_but_kept : DocumentChange::kept;
    if (const PathKind kind = path_kind(path); kind != PathKind::other)
        return {kept, kind};
    // No filter was chosen: the file's first bytes say what it is.
    const bool opened = open_file(editor, file, path, std::nullopt, empty_editor, progress);
    return {opened ? DocumentChange::replaced : kept, PathKind::other};
}

SaveOutcome save_document(HWND editor, DocumentFile& file)
{
    if (file.name.empty()) {
        show_message(editor, SAVE_AS_NOTICE);
        return save_document_as(editor, file);
    }
    switch (may_overwrite(editor, file)) {
    case Overwrite::yes: break;
    case Overwrite::save_as: return save_document_as(editor, file);
    case Overwrite::cancel: return SaveOutcome::cancelled;
    }
    const TextEncoding encoding_before = file.encoding;
    const auto bytes = stream_document_out(editor, file);
    const DWORD error = bytes ? write_file_atomically(file.name, *bytes) : ERROR_NOT_ENOUGH_MEMORY;
    if (error) {
        file.encoding = encoding_before;
        show_file_error(editor, file.name, system_reason(error));
        return SaveOutcome::failed;
    }
    file.name = name_as_saved(file.name);
    file.stamp = file_stamp(file.name);
    file.reload_declined.reset();
    if (file.encoding != encoding_before)
        show_message(editor, SAVED_AS_UTF8, quoted_path(file.name));
    note_recent_file(file.name);
    return SaveOutcome::saved;
}

SaveOutcome save_document_as(HWND editor, DocumentFile& file)
{
    const auto choice = ask_file_to_save(editor, file);
    if (!choice)
        return SaveOutcome::cancelled;
    // The document takes the new name only once it is written there.
    // Text keeps the encoding it came in; a new text file starts in the code page.
    const TextEncoding encoding = choice->kind == file.kind ? file.encoding : TextEncoding::ansi;
    DocumentFile target{choice->path, choice->kind, encoding};
    const SaveOutcome outcome = save_document(editor, target);
    if (outcome != SaveOutcome::saved)
        return outcome;
    file = target;
    show_title_of(editor, file);
    return SaveOutcome::saved;
}

bool offer_reload(HWND editor, DocumentFile& file, bool modified, const std::function<HWND()>& empty_editor,
                  const ProgressReport& progress)
{
    const auto now = modified ? std::nullopt : changed_on_disk(file);
    if (!now || now == file.reload_declined)
        return false;
    // Asked once for this version of the file, even while the question is
    // still open and the window is activated again.
    file.reload_declined = now;
    if (show_message(editor, FILE_CHANGED_RELOAD, quoted_path(file.name) + "\n\n" + load_program_text(IDS_FILE_CHANGED_RELOAD)) !=
        IDYES)
        return false;
    return open_document_file(editor, file, file.name, file.kind, empty_editor, progress);
}
