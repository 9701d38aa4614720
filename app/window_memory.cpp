#include "app/window_memory.h"

#include <optional>
#include <vector>

#include "app/main_window_state.h"
#include "app/settings.h"
#include "text/layout/window_place.h"

namespace {

// Started the usual way, not asked to open minimized or hidden.
bool plain_start(int show_command)
{
    return show_command == SW_SHOWNORMAL || show_command == SW_SHOWDEFAULT || show_command == SW_SHOW;
}

ScreenArea area_of(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK add_work_area(HMONITOR monitor, HDC, LPRECT, LPARAM areas)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    try {
        if (GetMonitorInfoW(monitor, &info))
            reinterpret_cast<std::vector<ScreenArea>*>(areas)->push_back(area_of(info.rcWork));
        return TRUE;
    } catch (...) {
        return FALSE; // nothing may pass through Windows' frames; the areas found so far do
    }
}

std::vector<ScreenArea> work_areas()
{
    std::vector<ScreenArea> areas;
    EnumDisplayMonitors(nullptr, nullptr, add_work_area, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// The window's place as GetWindowPlacement keeps it is in workspace
// coordinates: from the corner of the main monitor's work area, which a
// taskbar on the left or at the top moves.
ScreenArea on_screen(const RECT& workspace)
{
    MONITORINFO primary{};
    primary.cbSize = sizeof primary;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary);
    RECT screen = workspace;
    OffsetRect(&screen, primary.rcWork.left - primary.rcMonitor.left, primary.rcWork.top - primary.rcMonitor.top);
    return area_of(screen);
}

} // namespace

std::optional<RECT> first_place(const std::optional<WindowMemory>& memory)
{
    if (!memory)
        return std::nullopt;
    // A monitor unplugged since, or a smaller screen: the default place,
    // unless the title bar can still be reached to move the window.
    const ScreenArea screen = on_screen(memory->normal);
    if (!title_bar_reachable(screen, work_areas()))
        return std::nullopt;
    return RECT{screen.left, screen.top, screen.right, screen.bottom};
}

void show_main_window(HWND window, const std::optional<WindowMemory>& memory, int show_command)
{
    if (!first_place(memory)) {
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
