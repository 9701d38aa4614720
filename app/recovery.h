// The recovery copy: while the document has unsaved changes, the editor
// keeps it as RTF, with its file name and kind, in a folder of the user's,
// and a later start offers the copy of an editor that did not close
// normally.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "document/draft_store.h"
#include "win/window_ids.h"

struct MainWindowState;

// The environment variable that puts the copies in another folder (the
// tests' own, so that they never touch the user's).
inline constexpr wchar_t RECOVERY_FOLDER_VARIABLE[] = L"FORUM_EDITOR_RECOVERY_FOLDER";

// Written at most this long after typing stops, and at least this often
// while it goes on.
inline constexpr std::uint64_t RECOVERY_QUIET_MS = 2000;
inline constexpr std::uint64_t RECOVERY_LONGEST_MS = 15000;

// How long the copy may still wait, when the oldest change it does not hold
// was made `waited` ms ago and the last one `quiet` ms ago.
constexpr std::uint64_t recovery_copy_delay(std::uint64_t waited, std::uint64_t quiet)
{
    const std::uint64_t longest_left = waited < RECOVERY_LONGEST_MS ? RECOVERY_LONGEST_MS - waited : 0;
    const std::uint64_t quiet_left = quiet < RECOVERY_QUIET_MS ? RECOVERY_QUIET_MS - quiet : 0;
    return longest_left < quiet_left ? longest_left : quiet_left;
}

struct RecoveryState {
    std::wstring folder; // empty: no copies are kept
    EditorProcess process;
    // When the first change that the copy does not hold yet was made, and
    // the last one (tick counts); 0 when it holds them all.
    std::uint64_t unwritten_since = 0;
    std::uint64_t last_change = 0;
    bool timer_set = false;
    bool copy_may_exist = false;
    bool failure_told = false;
    std::unique_ptr<DraftWriter> writer;
};

// Starts keeping copies for the Main window: in the folder the environment
// names, else in the user's local application data.
void start_recovery(HWND main_window, MainWindowState& state);

// The document changed, or was saved, opened or emptied: the copy is due
// soon, or goes when the document holds no unsaved changes.
void recovery_document_changed(HWND main_window, MainWindowState& state);

// The timer: writes the copy if it is due, else waits on.
void recovery_timer(HWND main_window, MainWindowState& state);

// Writes the copy now.
void write_recovery_copy(HWND main_window, MainWindowState& state);

// A write failed; the user hears of it once while the editor runs.
void recovery_write_failed(HWND main_window, MainWindowState& state, DWORD error);

// A normal end: the copy goes, whatever the document holds.
void end_recovery(HWND main_window, MainWindowState& state);

// Opens a copy in another editor window (a process of its own, see
// restore_recovery_copy); false when that could not be started.
using OpenCopyElsewhere = std::function<bool(const std::wstring& path)>;

// At start: offers, newest first, the copies of editors that no longer run.
// Yes restores one as the modified document it was; No deletes it and
// offers the next; Cancel keeps it, and those after it, for the next start.
// Once one is restored, each copy still waiting is offered in turn, Yes
// opening it in another editor window. A copy that cannot be read is
// reported and moved aside.
void offer_recovery_copies(HWND main_window, MainWindowState& state, const OpenCopyElsewhere& open_elsewhere);

// At the start of an editor opened for one copy: restores it without a
// question (the user answered one in the editor that opened this one).
void restore_recovery_copy(HWND main_window, MainWindowState& state, const std::wstring& path);
