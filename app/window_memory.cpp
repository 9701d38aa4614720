#include "app/window_memory.h"

#include <optional>

#include "app/main_window_state.h"
#include "app/post_review.h"
#include "app/settings.h"

namespace {

// Started the usual way, not asked to open minimized or hidden.
bool plain_start(int show_command)
{
    return show_command == SW_SHOWNORMAL || show_command == SW_SHOWDEFAULT || show_command == SW_SHOW;
}

} // namespace

void show_main_window(HWND window, MainWindowState& state, int show_command)
{
    const std::optional<WindowMemory> memory = load_window_memory();
    if (memory)
        set_preview_share(state, memory->preview_per_mille);
    // A monitor unplugged since, or a smaller screen: the default place.
    if (!memory || !MonitorFromRect(&memory->normal, MONITOR_DEFAULTTONULL)) {
        ShowWindow(window, show_command);
        return;
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    // Started minimized, it comes up maximized when the user restores it.
    placement.flags = memory->maximized ? WPF_RESTORETOMAXIMIZED : 0;
    placement.rcNormalPosition = memory->normal;
    placement.showCmd = memory->maximized && plain_start(show_command) ? SW_SHOWMAXIMIZED : show_command;
    SetWindowPlacement(window, &placement);
}

void remember_main_window(HWND window, const MainWindowState& state)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return;
    WindowMemory memory;
    memory.normal = placement.rcNormalPosition;
    // Minimized from maximized, it comes back maximized.
    memory.maximized = placement.showCmd == SW_SHOWMAXIMIZED ||
                       (placement.showCmd == SW_SHOWMINIMIZED && (placement.flags & WPF_RESTORETOMAXIMIZED));
    memory.preview_per_mille = state.review.preview_per_mille;
    save_window_memory(memory);
}
