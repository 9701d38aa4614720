#include "app/window_ending.h"

#include <cstdio>

#include "app/file_commands.h"
#include "app/main_window_state.h"
#include "app/recovery.h"
#include "app/spelling.h"
#include "app/window_memory.h"
#include "res/resource_ids.h"
#include "win/messages.h"

namespace {

MainWindowState& state_of(HWND window)
{
    return *main_window_state(window);
}

} // namespace

// Unsaved work is never dropped silently: the user may save it, discard it
// or stay, when closing and when Windows logs off or shuts down alike.
namespace {

bool may_discard(HWND window)
{
    MainWindowState& state = state_of(window);
    const SaveOffer offer = confirm_discard(state.parts.editor, state.document, state.history.is_modified());
    // Saved, the document is unmodified, should the close or log-off still not happen.
    if (offer == SaveOffer::saved)
        state.history.mark_saved();
    return offer != SaveOffer::stay;
}

} // namespace

void close_main_window(HWND window)
{
    // Asked to close while the context menu is open (End task, a log-off):
    // the menu runs inside the Editor control's own right-button handler,
    // which must not find its window gone when the menu returns. The menu
    // closes, and the close is taken up again once it has.
    WindowParts& parts = state_of(window).parts;
    if (parts.context_menu_open) {
        EndMenu();
        parts.close_after_menu = true;
        return;
    }
    if (!may_discard(window))
        return;
    remember_main_window(window, state_of(window));
    DestroyWindow(window);
}

BOOL may_end_session(HWND window)
{
    return may_discard(window);
}

// The session ends with the user's answer given: whatever was not saved was
// meant to go, copy and all. The window is not closed, so it is remembered
// here.
void end_session(HWND window, BOOL ending)
{
    if (!ending)
        return;
    end_recovery(window, state_of(window));
    remember_main_window(window, state_of(window));
}

void tear_down_main_window(HWND window)
{
    end_recovery(window, state_of(window));
    stop_spelling(state_of(window));
    WindowParts& parts = state_of(window).parts;
    KillTimer(window, REVIEW_TIMER);
    KillTimer(window, PREVIEW_STEP_TIMER);
    KillTimer(window, PRINT_TARGET_TIMER);
    // The rich-edit controls go first: the Editor control's printer DC may
    // only be released once no rich-edit window is left.
    if (parts.editor)
        DestroyWindow(parts.editor);
    parts.editor = nullptr;
    if (parts.preview.window)
        DestroyWindow(parts.preview.window);
    parts.preview.window = nullptr;
    parts.print_target.dc.reset();
    PostQuitMessage(0);
}

// A failure was caught where a message came in (win/caught_failure.h):
// whatever it was doing stays undone, the unsaved work goes into the
// recovery copy at once, and the user hears what happened, once for each
// kind of message, so that a failure that comes back with every paint
// does not bury the window in boxes.
void tell_caught_failure(HWND window, CaughtFailure failure, UINT message)
{
    MainWindowState& state = state_of(window);
    if (state.recovery.unwritten_since != 0)
        write_recovery_copy(window, state);
    if (!state.failures_told.insert(message).second)
        return;
    const UINT what = failure == CaughtFailure::out_of_memory ? IDS_CAUGHT_OUT_OF_MEMORY : IDS_CAUGHT_FAILURE;
    char number[16]{};
    std::snprintf(number, sizeof number, "0x%04X", message);
    show_message(window, {what, IDS_CAPTION_ERROR, MB_OK | MB_ICONWARNING},
                 load_program_text(IDS_CAUGHT_WORK_KEPT) + "\n\n" + load_program_text(IDS_CAUGHT_MESSAGE) + " " +
                     number);
}
