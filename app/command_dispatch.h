// Every command, from menu, context menu, shortcut or toolbar, goes through here.
#pragma once

#include <windows.h>

#include <vector>

#include "app/file_commands.h"
#include "app/main_window_state.h"

void dispatch_command(MainWindowState& state, WORD command);

// The history follows what a file command did: a replaced document starts
// an empty, unmodified history; one saved on the way (also by Yes to the
// save question before an Open that was then cancelled) is unmodified.
void follow_document(MainWindowState& state, DocumentChange change);

// Whether a command of this id exists.
bool is_command(WORD command);

// Every command id, in no particular order.
std::vector<WORD> command_ids();
