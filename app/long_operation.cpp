#include "app/long_operation.h"

#include <string>

#include "app/main_window_state.h"
#include "res/resource_ids.h"
#include "win/messages.h"

namespace {

UINT text_of(LongWork work)
{
    switch (work) {
    case LongWork::replacing: return IDS_WORKING_REPLACING;
    case LongWork::undoing: return IDS_WORKING_UNDOING;
    case LongWork::redoing: return IDS_WORKING_REDOING;
    case LongWork::pasting: return IDS_WORKING_PASTING;
    case LongWork::opening: return IDS_WORKING_OPENING;
    case LongWork::command: break;
    }
    return IDS_WORKING;
}

// Whatever waits to be painted, but the Editor control, which is in the
// middle of the change.
void paint_around_editor(const WindowParts& parts)
{
    RedrawWindow(parts.main_window, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
    for (HWND part : {parts.toolbar.window, parts.status_bar.window, parts.preview.window})
        if (part)
            UpdateWindow(part);
}

} // namespace

LongOperation::LongOperation(MainWindowState& state, LongWork work, std::uint64_t expected_work, Clock clock)
    : state_(state), work_(work), clock_(clock), started_(clock())
{
    if (expected_work >= WORK_WORTH_WAITING)
        cursor_.emplace();
    progress_ = [this](std::uint64_t done, std::uint64_t whole) { advance(done, whole); };
}

LongOperation::~LongOperation()
{
    if (shown_percent_ >= 0)
        clear_status_note(state_.parts.status_bar);
}

void LongOperation::advance(std::uint64_t done, std::uint64_t whole)
{
    if (!reported_) {
        // The work begins with its first report, after any dialog before it.
        reported_ = true;
        started_ = clock_();
        if (done == 0 && whole >= WORK_WORTH_WAITING && !cursor_)
            cursor_.emplace();
        return;
    }
    const ULONGLONG elapsed = clock_() - started_;
    if (elapsed >= WAIT_CURSOR_AFTER_MS && !cursor_)
        cursor_.emplace();
    if (elapsed >= PROGRESS_AFTER_MS)
        show_progress(done, whole);
}

void LongOperation::show_progress(std::uint64_t done, std::uint64_t whole)
{
    const int percent = whole == 0 ? 100 : static_cast<int>(std::min<std::uint64_t>(done, whole) * 100 / whole);
    if (percent == shown_percent_)
        return;
    shown_percent_ = percent;
    show_status_note(state_.parts.status_bar, load_program_text(text_of(work_)) + " " + std::to_string(percent) + " %");
    paint_around_editor(state_.parts);
}
