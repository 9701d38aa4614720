// Message boxes: every text comes from the program's string table, and every
// box has a window to own it.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "res/resource_ids.h"

// What a box says and how it looks. A caption of 0 leaves the title empty.
struct Message {
    UINT text;
    UINT caption;
    UINT style;
};

inline constexpr Message FILE_ERROR{IDS_FILE_ERROR, IDS_CAPTION_ERROR, MB_OK};
inline constexpr Message FORMAT_ERROR{IDS_FORMAT_ERROR, IDS_CAPTION_ERROR, MB_OK};
inline constexpr Message SAVE_QUESTION{IDS_SAVE_QUESTION, IDS_CAPTION_SAVE, MB_YESNOCANCEL | MB_ICONQUESTION};
inline constexpr Message SAVE_AS_NOTICE{IDS_SAVE_AS_NOTICE, IDS_CAPTION_SAVE_AS, MB_OK};
inline constexpr Message PRINT_ERROR{IDS_PRINT_ERROR, IDS_CAPTION_ERROR, MB_OK | MB_ICONINFORMATION};
inline constexpr Message BINARY_QUESTION{IDS_BINARY_QUESTION, IDS_CAPTION_NOTICE, MB_YESNO | MB_ICONWARNING};
inline constexpr Message OPENED_AS_TEXT{IDS_OPENED_AS_TEXT, IDS_CAPTION_NOTICE, MB_OK | MB_ICONINFORMATION};
inline constexpr Message PICTURES_NOT_SAVED{IDS_PICTURES_NOT_SAVED, IDS_CAPTION_NOTICE, MB_OK | MB_ICONINFORMATION};
inline constexpr Message PASTE_TOO_LARGE{IDS_PASTE_TOO_LARGE, IDS_CAPTION_NOTICE, MB_OK | MB_ICONWARNING};
inline constexpr Message COPY_TOO_LARGE{IDS_COPY_TOO_LARGE, IDS_CAPTION_NOTICE, MB_OK | MB_ICONWARNING};
inline constexpr Message ENCODING_REPAIRED{IDS_ENCODING_REPAIRED, IDS_CAPTION_NOTICE, MB_OK | MB_ICONWARNING};
inline constexpr Message SAVED_AS_UTF8{IDS_SAVED_AS_UTF8, IDS_CAPTION_NOTICE, MB_OK | MB_ICONINFORMATION};
inline constexpr Message PRINT_LAYOUT_ERROR{IDS_PRINT_LAYOUT_ERROR, IDS_CAPTION_ERROR_UPPER, MB_OK};
inline constexpr Message RECOVERY_QUESTION{IDS_RECOVERY_QUESTION, IDS_CAPTION_RECOVERY, MB_YESNOCANCEL | MB_ICONQUESTION};
inline constexpr Message ANOTHER_RECOVERY_QUESTION{IDS_RECOVERY_ANOTHER_QUESTION, IDS_CAPTION_RECOVERY,
                                                   MB_YESNOCANCEL | MB_ICONQUESTION};
inline constexpr Message RECOVERY_NOT_OPENED{IDS_RECOVERY_NOT_OPENED, IDS_CAPTION_RECOVERY, MB_OK | MB_ICONWARNING};
inline constexpr Message DRAFT_DAMAGED{IDS_DRAFT_DAMAGED, IDS_CAPTION_RECOVERY, MB_OK | MB_ICONWARNING};
inline constexpr Message FILE_CHANGED_ON_SAVE{IDS_FILE_CHANGED_ON_DISK, IDS_CAPTION_NOTICE, MB_YESNOCANCEL | MB_ICONWARNING};
inline constexpr Message FILE_CHANGED_RELOAD{IDS_FILE_CHANGED_ON_DISK, IDS_CAPTION_NOTICE, MB_YESNO | MB_ICONQUESTION};
inline constexpr Message DRAFT_NOT_WRITTEN{IDS_DRAFT_NOT_WRITTEN, IDS_CAPTION_RECOVERY, MB_OK | MB_ICONWARNING};

// The most characters of a path that a message quotes: a longer one is
// shortened in the middle, so that the box still fits the screen.
inline constexpr std::size_t MESSAGE_PATH_CHARACTERS = 260;

// A path (UTF-8) as a message quotes it.
std::string quoted_path(std::string_view path);
std::string quoted_path(std::wstring_view path);

// A text of the string table, or empty when it has none by that number.
std::wstring load_text(UINT id);
// The same as the program's own UTF-8, to be joined with other text.
std::string load_program_text(UINT id);
// A text with its "%1", "%2", ... ("%9" at most) in place of the arguments,
// each UTF-8, and so is the result; an insert with no argument is left empty.
std::string format_program_text(UINT id, std::initializer_list<std::string_view> arguments);

// Shows the box, with `detail` on lines of its own under the text, and
// returns the button pressed (0 when the box could not be shown).
int show_message(HWND owner, const Message& message, std::string_view detail = {});

// A failure with a plain OK button and the caption "Error", as the
// program's first messages have it.
void show_error(HWND owner, UINT text_id, std::string_view detail = {});
