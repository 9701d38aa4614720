#include "win/dpi.h"

#include <richedit.h>

#include "win/win_handles.h"

namespace {

// Looked up at run time: older Windows lacks them, and the program still
// runs there.
template <typename Function>
Function user32_function(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

UINT screen_dpi()
{
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : DEFAULT_DPI;
}

} // namespace

UINT window_dpi(HWND window)
{
    static const auto get_dpi_for_window = user32_function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    const UINT dpi = get_dpi_for_window && window ? get_dpi_for_window(window) : 0;
    return dpi ? dpi : system_dpi();
}

UINT system_dpi()
{
    static const auto get_dpi_for_system = user32_function<UINT(WINAPI*)()>("GetDpiForSystem");
    const UINT dpi = get_dpi_for_system ? get_dpi_for_system() : 0;
    return dpi ? dpi : screen_dpi();
}

void zoom_to_dpi(HWND rich_edit, UINT dpi)
{
    const UINT system = system_dpi();
    SendMessageW(rich_edit, EM_SETZOOM, dpi == system ? 0 : dpi, dpi == system ? 0 : system);
}
