// The interface speaks one language at a time, Czech or English: the
// menus, the dialog, the messages, the status bar, the preview's labels and
// the tooltips come from the resource script's block of that language.
#pragma once

#include <windows.h>

#include "app/settings.h"

struct MainWindowState;

// The user's choice, else Czech for a Windows whose display language is
// Czech or Slovak, and English for any other.
InterfaceLanguage chosen_interface_language();

// Makes the thread load its menus, dialogs and texts in the language, from
// the start (before the Main window exists) or on a change.
void speak_interface_language(InterfaceLanguage language);

// The language the thread's texts come in now.
InterfaceLanguage spoken_interface_language();

// "Jazyk / Language": remembers the choice, and the window speaks it at
// once: the menu bar again, the status bar, the preview, the title.
void switch_interface_language(MainWindowState& state, InterfaceLanguage language);

// Checks the language spoken, in the menu bar.
void check_language_item(HWND main_window);
