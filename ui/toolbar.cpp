#include "ui/toolbar.h"

HWND create_toolbar(HWND)
{
    return nullptr;
}
