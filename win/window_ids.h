// Every timer id and private window message of the program, in one table,
// so that no two can collide. Timers belong to the window named beside them;
// messages are posted to the Main window.
#pragma once

#include <windows.h>

// Timers of the Main window.
inline constexpr UINT_PTR REVIEW_TIMER = 1;       // looks at the post again once typing pauses
inline constexpr UINT_PTR PREVIEW_STEP_TIMER = 2; // brings the preview's next paragraphs while it is behind
inline constexpr UINT_PTR RECOVERY_TIMER_ID = 3;  // writes the recovery copy
inline constexpr UINT_PTR SPELL_START_TIMER = 4;  // starts the spelling once the window has painted
inline constexpr UINT_PTR PRINT_TARGET_TIMER = 5; // asks for the printer's page once the window has painted
inline constexpr UINT_PTR NOTE_TIMER = 7;         // takes a passing note off the status bar

// Timer of the Editor control: finds the spelling marks on screen once the
// input pauses. The control's own timers have small ids.
inline constexpr UINT_PTR SPELL_MARKS_TIMER = 0x5350454D;

// The status bar's one tooltip (the length part).
inline constexpr UINT_PTR LENGTH_TIP_ID = 1;

// Private messages. WPARAM and LPARAM are described where each is posted.
inline constexpr UINT WM_RECOVERY_WRITE_FAILED = WM_APP + 1; // WPARAM: the system's error code
inline constexpr UINT WM_SPELL_ANSWERED = WM_APP + 2;        // the spelling worker's answer is ready
inline constexpr UINT WM_CHECK_FILE_ON_DISK = WM_APP + 20;   // the question about the file, after activation
inline constexpr UINT WM_CAUGHT_FAILURE = WM_APP + 30;       // WPARAM: CaughtFailure; LPARAM: the message
inline constexpr UINT WM_PRINTER_FOUND = WM_APP + 70;        // the printer's page, from its thread
