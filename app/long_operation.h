// The one way a long operation shows that it is working: the wait cursor
// once it may pass 150 ms, judged beforehand by the work it will do (a
// paste by the clipboard's size, not by the post), or else once it has
// taken that long; past 2 s its progress in the status bar, while the
// window goes on painting. Replace All, undo and redo, paste, Open and
// the commands run under it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "win/progress.h"
#include "win/wait_cursor.h"

struct MainWindowState;

enum class LongWork { command, replacing, undoing, redoing, pasting, opening };

// From this many characters of work on, an operation may take longer than
// a user waits without a sign (150 ms): Wine's control takes some 50 to
// 100 ms to put in, format or take out 20,000 characters.
inline constexpr std::uint64_t WORK_WORTH_WAITING = 20000;
inline constexpr ULONGLONG WAIT_CURSOR_AFTER_MS = 150;
inline constexpr ULONGLONG PROGRESS_AFTER_MS = 2000;

class LongOperation {
public:
    using Clock = ULONGLONG (*)();

    // `expected_work`: the characters the operation will handle, as far as
    // it is known beforehand; its first report can tell it (nothing done of
    // a whole). The clock runs from then on.
    LongOperation(MainWindowState& state, LongWork work, std::uint64_t expected_work = 0,
                  Clock clock = GetTickCount64);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    // What the work calls as it goes.
    const ProgressReport& progress() const { return progress_; }

private:
    void advance(std::uint64_t done, std::uint64_t whole);
    void show_progress(std::uint64_t done, std::uint64_t whole);

    MainWindowState& state_;
    LongWork work_;
    Clock clock_;
    ULONGLONG started_;
    bool reported_ = false;
    std::optional<WaitCursor> cursor_;
    int shown_percent_ = -1;
    ProgressReport progress_;
};
