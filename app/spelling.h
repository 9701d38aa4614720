// Spell checking as the user types: the Main window's part of it. The
// dictionaries load on the worker once the window is up, each pause in the
// typing sends the post to the worker, and its answer becomes the red lines
// and the count in the status bar.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/spell_checker.h"
#include "document/spell_worker.h"
#include "editor/edit_recorder.h"
#include "editor/spell_underline.h"
#include "win/window_ids.h"

struct MainWindowState;

// The environment variable that names another folder of dictionaries (the
// tests' own); otherwise they are in "dictionaries" beside the program.
inline constexpr wchar_t DICTIONARY_FOLDER_VARIABLE[] = L"FORUM_EDITOR_DICTIONARY_FOLDER";

// The spelling starts once the window has painted (SPELL_START_TIMER):
// nothing of it is needed for the first paint.
inline constexpr UINT SPELL_START_DELAY_MS = 100;

struct SpellingState {
    SpellMarks marks;
    // Counts the changes of the text, so that an answer about text that
    // has changed since is known as one.
    std::uint64_t version = 0;
    bool last_edit_typing = false;
    // The number of misspelt words, once a dictionary has checked the post.
    std::optional<std::size_t> count;
    // Each problem of the start is told once while the editor runs; a word
    // that cannot be kept is told each time.
    unsigned dictionaries_told = 0; // SpellLanguages, as bits
    bool personal_failure_told = false;
    bool check_failure_told = false;
    // The misspelt word the context menu was opened on.
    std::optional<TextRange> menu_word;
    std::string menu_word_text;
    std::vector<std::string> menu_suggestions;
    // Declared in this order so that the worker stops before the checker goes.
    std::unique_ptr<SpellChecker> checker;
    std::unique_ptr<SpellWorker> worker;
};

// On WM_CREATE: paints the marks over the Editor control, follows its
// edits, and starts the rest once the window is up.
void prepare_spelling(MainWindowState& state);
// SPELL_START_TIMER: creates the checker and the worker, which loads the
// dictionaries and checks the post.
void start_spelling(MainWindowState& state);
// Checks the spelling's items in the menu bar and shows the count, again
// after the interface changed its language.
void show_spelling_state(MainWindowState& state);

// A fresh Editor control took the old one's place: the zigzags are drawn
// over the new one, and the old one's marks mean nothing there.
void underline_new_editor(MainWindowState& state);
// Before the Editor control goes: the worker stops.
void stop_spelling(MainWindowState& state);

// The post, as the review read it after a pause in the typing, goes to the
// worker to be checked.
void spelling_post_reviewed(MainWindowState& state, const std::string& post);
// WM_SPELL_ANSWERED.
void take_spelling_answer(MainWindowState& state);

// "Kontrola pravopisu" (F7): selects the next misspelt word after the
// caret, from the start again at the end, or says that there is none.
void select_next_misspelling(MainWindowState& state);
// "Kontrolovat pravopis při psaní": the red lines off or on.
void toggle_spelling(MainWindowState& state);
// "Čeština", "English", "Čeština + English".
void check_in_czech(MainWindowState& state);
void check_in_english(MainWindowState& state);
void check_in_both(MainWindowState& state);

// Before the context menu opens at a point of the Editor control: on a
// misspelt word, its suggestions and the spelling items go on top.
void add_spelling_to_context_menu(MainWindowState& state, HMENU popup, POINT editor_point);
// The context menu's spelling items; false for any other command.
bool run_spelling_menu_item(MainWindowState& state, WORD id);
