// The status bar at the bottom of the Main window: the post's counts, its
// misspelt words and its tag check, each part drawn as a warning when it
// calls for one.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

enum class StatusPart : int { characters, without_tags, words, misspellings, tags };
inline constexpr size_t STATUS_PART_COUNT = 5;

struct StatusBar {
    HWND window = nullptr;
    // The tip over the length part; it asks its text with TTN_GETDISPINFOW,
    // which the bar passes on to the Main window.
    HWND tip = nullptr;
    // What each part shows. A warning part is drawn by its owner, from here.
    std::array<std::wstring, STATUS_PART_COUNT> texts;
    std::array<bool, STATUS_PART_COUNT> warnings{};
    // A passing note, shown in the last part in place of its text.
    std::wstring note;
};

// Creates the bar along the bottom of the Main window, with its parts.
StatusBar create_status_bar(HWND main_window);

// Shows UTF-8 text in a part, plainly or as a warning.
void set_status_part(StatusBar& bar, StatusPart part, std::string_view text, bool warning);

// Shows a passing note (UTF-8) in the last part, the widest, until
// clear_status_note(); the part's own text comes back then.
void show_status_note(StatusBar& bar, std::string_view note);
void clear_status_note(StatusBar& bar);

// Fits the parts to their texts again, after a change of DPI or language.
void fit_status_parts(const StatusBar& bar);

// Follows the Main window's new size; returns the bar's height.
int lay_out_status_bar(const StatusBar& bar);

// Draws a warning part for WM_DRAWITEM; false when the item is not one.
bool draw_status_part(const StatusBar& bar, const DRAWITEMSTRUCT& item);

// A count with its digits grouped as the user's locale groups them, in UTF-8.
std::string locale_number(size_t number);
