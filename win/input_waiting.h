// Keys and clicks go first: work that can wait for a pause in the input
// asks this before each slice of it.
#pragma once

#include <windows.h>

inline bool input_waiting()
{
    return HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON)) != 0;
}
