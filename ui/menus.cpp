#include "ui/menus.h"

BOOL build_smiley_menu(HWND)
{
    return FALSE;
}

void refresh_menu_state(HWND, HMENU) {}
