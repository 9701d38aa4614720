// Every command, from menu, context menu, shortcut or toolbar, goes through here.
#pragma once

#include <windows.h>

#include <vector>

#include "app/main_window_state.h"

void dispatch_command(MainWindowState& state, WORD command);

// Whether a command of this id exists.
bool is_command(WORD command);

// Every command id, in no particular order.
std::vector<WORD> command_ids();
