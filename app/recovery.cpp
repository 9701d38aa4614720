#include "app/recovery.h"

#include <richedit.h>

#include <algorithm>
#include <optional>

#include "app/main_window_state.h"
#include "document/file_io.h"
#include "text/files/draft_file.h"
#include "text/rtf/rtf_prescan.h"
#include "text/unicode/unicode_text.h"
#include "editor/editor_text.h"
#include "win/messages.h"
#include "win/user_folders.h"
#include "win/wait_cursor.h"
#include "text/unicode/wide_text.h"
#include "ui/refusal_texts.h"
#include "ui/window_title.h"

namespace {

// As much of the post as the question shows.
constexpr std::size_t FIRST_WORDS_CHARS = 80;

std::uint64_t now_as_filetime()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

// The copy names the encoding of a text document by a name of its own.
struct EncodingName {
    TextEncoding encoding;
    std::string_view name;
};
constexpr EncodingName ENCODING_NAMES[] = {
    {TextEncoding::ansi, "ansi"},
    {TextEncoding::utf8, "utf-8"},
    {TextEncoding::utf8_bom, "utf-8 with BOM"},
    {TextEncoding::utf16le_bom, "utf-16le with BOM"},
    {TextEncoding::utf16be_bom, "utf-16be with BOM"},
};

std::string_view name_of(TextEncoding encoding)
{
    for (const EncodingName& known : ENCODING_NAMES)
        if (known.encoding == encoding)
            return known.name;
    return ENCODING_NAMES[0].name;
}

TextEncoding encoding_named(std::string_view name)
{
    for (const EncodingName& known : ENCODING_NAMES)
        if (known.name == name)
            return known.encoding;
    return TextEncoding::ansi;
}

std::string local_time_of(std::uint64_t filetime)
{
    const FILETIME utc{static_cast<DWORD>(filetime), static_cast<DWORD>(filetime >> 32)};
    FILETIME local{};
    SYSTEMTIME time{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return {};
    wchar_t date[64]{}, clock[64]{};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, clock, 64);
    return from_wide(std::wstring(date) + L" " + clock);
}

DraftWriter& writer_of(HWND main_window, RecoveryState& recovery)
{
    // Made on the first write, so that a start with nothing to keep pays nothing.
    if (!recovery.writer)
        recovery.writer = std::make_unique<DraftWriter>(
            [main_window](DWORD error) { PostMessageW(main_window, WM_RECOVERY_WRITE_FAILED, error, 0); });
    return *recovery.writer;
}

// Due once typing has paused, and never later than the longest wait after
// the first change the copy does not hold. Each key only notes its time;
// the timer, set once, looks again when it fires.
void schedule_copy(HWND main_window, RecoveryState& recovery, std::uint64_t now)
{
    const std::uint64_t delay = recovery_copy_delay(now - recovery.unwritten_since, now - recovery.last_change);
    SetTimer(main_window, RECOVERY_TIMER_ID, static_cast<UINT>(std::max<std::uint64_t>(delay, USER_TIMER_MINIMUM)),
             nullptr);
    recovery.timer_set = true;
}

void stop_timer(HWND main_window, RecoveryState& recovery)
{
    KillTimer(main_window, RECOVERY_TIMER_ID);
    recovery.timer_set = false;
    recovery.unwritten_since = 0;
}

std::string question_detail(const Draft& draft, const std::string& first_words, UINT choices)
{
    std::string detail = load_program_text(IDS_RECOVERY_WRITTEN) + " " + local_time_of(draft.written_at) + "\n";
    detail += load_program_text(IDS_RECOVERY_FILE) + " " +
              (draft.file_name.empty() ? load_program_text(IDS_RECOVERY_UNTITLED) : quoted_path(draft.file_name)) + "\n\n";
    detail += format_program_text(IDS_RECOVERY_FIRST_WORDS, {first_words}) + "\n\n";
    return detail + load_program_text(choices);
}

// A copy that cannot be taken is said so and moved aside, never offered again.
void set_aside(HWND main_window, const StoredDraft& stored, const std::string& reason)
{
    const std::wstring aside = move_draft_aside(stored.path);
    show_message(main_window, DRAFT_DAMAGED, quoted_path(aside.empty() ? stored.path : aside) + "\n" + reason);
}

// What the question needs, from the start of the copy: its body may be
// many megabytes, and is read only once the user wants it back. Nothing
// after the copy was reported and moved aside.
std::optional<DraftHeader> read_offered_header(HWND main_window, const StoredDraft& stored)
{
    DWORD error = 0;
    const auto start = read_draft_start(stored.path, &error);
    DraftFault why;
    std::optional<DraftHeader> header = start ? read_draft_header(start->bytes, &why) : std::nullopt;
    if (header && header->body_size > max_draft_body_bytes()) {
        why.kind = DraftFaultKind::body_too_large;
        header.reset();
    } else if (header && header->whole_size != start->file_size) {
        why.kind = DraftFaultKind::body_cut_short;
        header.reset();
    }
    if (!header)
        set_aside(main_window, stored, start ? draft_fault_text(why) : system_reason(error));
    return header;
}

// The copy in the file, or nullopt after it was reported and moved aside.
std::optional<Draft> read_offered_copy(HWND main_window, const StoredDraft& stored)
{
    DWORD error = 0;
    const auto bytes = read_draft_file(stored.path, &error);
    DraftFault why;
    std::optional<Draft> draft = bytes ? read_draft(*bytes, &why) : std::nullopt;
    std::string reason = bytes ? draft_fault_text(why) : system_reason(error);
    if (draft) {
        // Only what the control can take safely goes into it.
        const RtfScan scan = scan_rtf(draft->body);
        if (scan.verdict != RtfVerdict::ok) {
            reason = rtf_refusal_text(scan);
            draft.reset();
        }
    }
    if (!draft)
        set_aside(main_window, stored, reason);
    return draft;
}

void restore(HWND main_window, MainWindowState& state, const Draft& draft, const StoredDraft& stored)
{
    stream_in(state.parts.editor, draft.body, SF_RTF);
    state.document = {draft.file_name, draft.kind == DraftKind::text ? FileKind::text : FileKind::rtf,
                      encoding_named(draft.encoding)};
    show_document_title(main_window, state.document.name);
    state.history.start_unsaved();
    // The old copy goes only once this editor's own holds the post.
    write_recovery_copy(main_window, state);
    if (state.recovery.writer)
        state.recovery.writer->wait_until_idle();
    DeleteFileW(stored.path.c_str());
}

enum class Answer { next, restored, stop };

// The question about a copy, from its first bytes; 0 after the copy was
// reported and moved aside.
int ask_about(HWND main_window, const StoredDraft& stored, const Message& question, UINT choices)
{
    const auto header = read_offered_header(main_window, stored);
    if (!header)
        return 0;
    // Enough text for the words, whatever formats and tables stand before it.
    const std::string first_words =
        draft_first_words(rtf_text_start(header->body_start, 4 * FIRST_WORDS_CHARS), FIRST_WORDS_CHARS);
    return show_message(main_window, question, question_detail(header->fields, first_words, choices));
}

Answer offer(HWND main_window, MainWindowState& state, const StoredDraft& stored)
{
    const int answer = ask_about(main_window, stored, RECOVERY_QUESTION, IDS_RECOVERY_CHOICES);
    if (answer == 0)
        return Answer::next;
    if (answer == IDNO) {
        DeleteFileW(stored.path.c_str());
        return Answer::next;
    }
    if (answer != IDYES)
        return Answer::stop; // kept for the next start
    const WaitCursor wait;
    const auto draft = read_offered_copy(main_window, stored);
    if (!draft)
        return Answer::next;
    restore(main_window, state, *draft, stored);
    return Answer::restored;
}

// This window holds a restored post already: a further copy opens in a
// window of its own.
Answer offer_elsewhere(HWND main_window, const StoredDraft& stored, const OpenCopyElsewhere& open_elsewhere)
{
    const int answer = ask_about(main_window, stored, ANOTHER_RECOVERY_QUESTION, IDS_RECOVERY_ANOTHER_CHOICES);
    if (answer == IDNO)
        DeleteFileW(stored.path.c_str());
    if (answer == IDYES && !open_elsewhere(stored.path))
        show_message(main_window, RECOVERY_NOT_OPENED, quoted_path(stored.path) + "\n" + system_reason(GetLastError()));
    return answer == IDCANCEL ? Answer::stop : Answer::next;
}

} // namespace

void start_recovery(HWND, MainWindowState& state)
{
    RecoveryState& recovery = state.recovery;
    recovery.folder = environment_value(RECOVERY_FOLDER_VARIABLE);
    if (recovery.folder.empty())
        recovery.folder = default_recovery_folder();
    recovery.process = current_editor_process();
}

void recovery_document_changed(HWND main_window, MainWindowState& state)
{
    RecoveryState& recovery = state.recovery;
    if (recovery.folder.empty())
        return;
    if (!state.history.is_modified()) {
        stop_timer(main_window, recovery);
        if (recovery.copy_may_exist)
            writer_of(main_window, recovery).remove(recovery.folder, draft_file_name(recovery.process));
        recovery.copy_may_exist = false;
        return;
    }
    const std::uint64_t now = GetTickCount64();
    if (recovery.unwritten_since == 0)
        recovery.unwritten_since = now;
    recovery.last_change = now;
    if (!recovery.timer_set)
        schedule_copy(main_window, recovery, now);
}

void recovery_timer(HWND main_window, MainWindowState& state)
{
    RecoveryState& recovery = state.recovery;
    const std::uint64_t now = GetTickCount64();
    if (recovery.unwritten_since != 0 &&
        recovery_copy_delay(now - recovery.unwritten_since, now - recovery.last_change) > 0)
        schedule_copy(main_window, recovery, now);
    else
        write_recovery_copy(main_window, state);
}

void write_recovery_copy(HWND main_window, MainWindowState& state)
{
    RecoveryState& recovery = state.recovery;
    stop_timer(main_window, recovery);
    if (recovery.folder.empty() || !state.history.is_modified())
        return;
    Draft draft;
    draft.process_id = recovery.process.id;
    draft.written_at = now_as_filetime();
    draft.file_name = state.document.name;
    draft.kind = state.document.kind == FileKind::text ? DraftKind::text : DraftKind::rtf;
    draft.encoding = name_of(state.document.encoding);
    const auto body = get_rtf(state.parts.editor, false);
    if (!body)
        return; // the control could not write it now; the next change tries again
    draft.body = *body;
    writer_of(main_window, recovery).write(recovery.folder, draft_file_name(recovery.process), write_draft(draft));
    recovery.copy_may_exist = true;
}

void recovery_write_failed(HWND main_window, MainWindowState& state, DWORD error)
{
    RecoveryState& recovery = state.recovery;
    if (recovery.failure_told)
        return;
    recovery.failure_told = true;
    show_message(main_window, DRAFT_NOT_WRITTEN, quoted_path(recovery.folder) + "\n" + system_reason(error));
}

void end_recovery(HWND main_window, MainWindowState& state)
{
    RecoveryState& recovery = state.recovery;
    stop_timer(main_window, recovery);
    if (!recovery.writer)
        return;
    recovery.writer->remove(recovery.folder, draft_file_name(recovery.process));
    recovery.writer.reset();
    recovery.copy_may_exist = false;
}

void offer_recovery_copies(HWND main_window, MainWindowState& state, const OpenCopyElsewhere& open_elsewhere)
{
    const RecoveryState& recovery = state.recovery;
    if (recovery.folder.empty())
        return;
    bool restored = false;
    for (const StoredDraft& stored : find_drafts(recovery.folder)) {
        if (stored.writer == recovery.process || is_running(stored.writer))
            continue;
        const Answer answer =
            restored ? offer_elsewhere(main_window, stored, open_elsewhere) : offer(main_window, state, stored);
        if (answer == Answer::stop)
            break;
        restored = restored || answer == Answer::restored;
    }
}

void restore_recovery_copy(HWND main_window, MainWindowState& state, const std::wstring& path)
{
    const WaitCursor wait;
    const StoredDraft stored{path, {}, {}};
    if (const auto draft = read_offered_copy(main_window, stored))
        restore(main_window, state, *draft, stored);
}
