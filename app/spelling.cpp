#include "app/spelling.h"

#include <algorithm>
#include <iterator>

#include "app/main_window_state.h"
#include "document/file_io.h"
#include "document/personal_dictionary.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"
#include "text/spelling/spell_cache.h"
#include "text/unicode/unicode_text.h"
#include "text/unicode/wide_text.h"
#include "ui/post_status.h"
#include "ui/spell_menu.h"
#include "ui/status_bar.h"
#include "win/messages.h"
#include "win/user_folders.h"
#include "win/wait_cursor.h"

namespace {

constexpr Message NO_MISSPELLINGS{IDS_NO_MISSPELLINGS, IDS_CAPTION_SPELLING, MB_OK | MB_ICONINFORMATION};

std::wstring dictionary_folder()
{
    if (std::wstring chosen = environment_value(DICTIONARY_FOLDER_VARIABLE); !chosen.empty())
        return chosen;
    const std::wstring program = program_path();
    return program.substr(0, program.find_last_of(L'\\') + 1) + L"dictionaries";
}

const Settings& settings_of(const MainWindowState& state)
{
    return state.review.settings;
}

void show_count(MainWindowState& state)
{
    set_status_part(state.parts.status_bar, StatusPart::misspellings, misspellings_status(state.spelling.count), false);
}

void tell(MainWindowState& state, UINT text, const std::string& detail)
{
    show_message(state.parts.main_window, {text, IDS_CAPTION_SPELLING, MB_OK | MB_ICONWARNING}, detail);
}

// "2, 5, 9", and of many only the first, with how many there are in all.
std::string line_numbers(const std::vector<std::size_t>& lines)
{
    constexpr std::size_t SHOWN = 10;
    std::string listed;
    for (std::size_t i = 0; i < lines.size() && i < SHOWN; ++i)
        listed += (i ? ", " : "") + std::to_string(lines[i]);
    if (lines.size() > SHOWN)
        listed += ", ...; " + load_program_text(IDS_LINES_IN_ALL) + " " + locale_number(lines.size());
    return listed;
}

void tell_personal_dictionary(MainWindowState& state, const SpellLoadReport& report)
{
    const std::string path = quoted_path(personal_dictionary_path());
    if (report.personal_error)
        tell(state, IDS_PERSONAL_DICTIONARY_UNREADABLE, path + "\n" + system_reason(report.personal_error));
    else
        tell(state, IDS_PERSONAL_DICTIONARY_BAD_LINES, path + "\n" + load_program_text(IDS_PERSONAL_DICTIONARY_LINES) +
                                                           " " + line_numbers(report.personal_bad_lines));
}

UINT problem_text(DictionaryProblem problem)
{
    switch (problem) {
    case DictionaryProblem::missing: return IDS_DICTIONARY_MISSING;
    case DictionaryProblem::unreadable: return IDS_DICTIONARY_UNREADABLE;
    default: return IDS_DICTIONARY_DAMAGED;
    }
}

// "Čeština: C:\...\cs_CZ.aff, .dic", and the line of the damage.
std::string failed_dictionary(const SpellLoadReport::Failure& failure)
{
    const UINT language = failure.language == SpellLanguages::czech ? IDS_LANGUAGE_CZECH : IDS_LANGUAGE_ENGLISH;
    std::string said = load_program_text(language) + ": " + quoted_path(failure.path + L".aff, .dic");
    if (failure.fault.aff_line != 0)
        said += "\n" + load_program_text(IDS_DICTIONARY_COUNT_LINE) + " " + std::to_string(failure.fault.aff_line);
    return said;
}

// Each dictionary's failure is told once while the editor runs, and those
// of one load in one message, each language by its name.
void tell_dictionary_failures(MainWindowState& state, const std::vector<SpellLoadReport::Failure>& failures)
{
    std::vector<SpellLoadReport::Failure> untold;
    for (const SpellLoadReport::Failure& failure : failures) {
        const auto bit = static_cast<unsigned>(failure.language);
        if (!(state.spelling.dictionaries_told & bit))
            untold.push_back(failure);
        state.spelling.dictionaries_told |= bit;
    }
    if (untold.empty())
        return;
    if (untold.size() == 1) {
        tell(state, problem_text(untold.front().fault.problem),
             failed_dictionary(untold.front()) + "\n\n" + load_program_text(IDS_SPELLING_GOES_ON));
        return;
    }
    std::string detail;
    for (const SpellLoadReport::Failure& failure : untold)
        detail += load_program_text(problem_text(failure.fault.problem)) + "\n" + failed_dictionary(failure) + "\n\n";
    tell(state, IDS_DICTIONARIES_FAILED, detail + load_program_text(IDS_SPELLING_GOES_ON_WITHOUT_ANY));
}

void tell_load_failures(MainWindowState& state, const SpellLoadReport& report)
{
    SpellingState& spelling = state.spelling;
    tell_dictionary_failures(state, report.dictionaries);
    if (report.check_failed && !spelling.check_failure_told) {
        spelling.check_failure_told = true;
        show_message(state.parts.main_window, {IDS_SPELLING_CHECK_FAILED, IDS_CAPTION_SPELLING, MB_OK | MB_ICONWARNING});
    }
    if ((report.personal_error || !report.personal_bad_lines.empty()) && !spelling.personal_failure_told) {
        spelling.personal_failure_told = true;
        tell_personal_dictionary(state, report);
    }
}

void ensure_checker(MainWindowState& state)
{
    SpellingState& spelling = state.spelling;
    if (spelling.checker)
        return;
    spelling.checker = std::make_unique<SpellChecker>(dictionary_folder(), personal_dictionary_path());
    HWND window = state.parts.main_window;
    spelling.worker =
        std::make_unique<SpellWorker>(*spelling.checker, [window] { PostMessageW(window, WM_SPELL_ANSWERED, 0, 0); });
}

void request_check(MainWindowState& state, std::string post)
{
    SpellingState& spelling = state.spelling;
    if (spelling.worker && settings_of(state).spell_while_typing)
        spelling.worker->check({std::move(post), spelling.version, settings_of(state).spell_languages});
}

// The new marks take the old ones' place; only where they differ is painted.
void set_marks(MainWindowState& state, std::vector<TextRange> misspelt)
{
    SpellMarks& marks = state.spelling.marks;
    marks.misspelt = std::move(misspelt);
    marks_replaced(state.parts.editor, marks);
}

// The word being typed waits until the caret leaves it.
std::optional<TextRange> word_being_typed(const MainWindowState& state, const std::vector<TextRange>& misspelt)
{
    if (!state.spelling.last_edit_typing)
        return std::nullopt;
    const CHARRANGE caret = get_selection(state.parts.editor);
    if (caret.cpMin != caret.cpMax)
        return std::nullopt;
    for (const TextRange& range : misspelt)
        if (range.start <= caret.cpMin && caret.cpMin <= range.start + range.length)
            return range;
    return std::nullopt;
}

// A key changes a character or two; anything larger is a command's edit.
bool is_key_sized(const TextEdit& edit)
{
    return edit.removed + edit.inserted <= 2;
}

void on_edit(MainWindowState& state, const std::optional<TextEdit>& edit)
{
    SpellingState& spelling = state.spelling;
    ++spelling.version;
    spelling.marks.held.reset();
    if (!edit) {
        // The whole text is new, and painted anew.
        spelling.marks.misspelt.clear();
        spelling.last_edit_typing = false;
        marks_moved(state.parts.editor, spelling.marks);
        return;
    }
    spelling.last_edit_typing = edit->typing;
    follow_edit(spelling.marks.misspelt, edit->start, edit->removed, edit->inserted);
    if (is_key_sized(*edit))
        marks_moved_after_key(state.parts.editor, spelling.marks, edit->start);
    else
        marks_moved(state.parts.editor, spelling.marks);
}

void clear_marks(MainWindowState& state)
{
    state.spelling.marks.misspelt.clear();
    state.spelling.marks.held.reset();
    state.spelling.count.reset();
    marks_moved(state.parts.editor, state.spelling.marks);
    InvalidateRect(state.parts.editor, nullptr, FALSE);
    show_count(state);
}

void choose_languages(MainWindowState& state, SpellLanguages languages)
{
    Settings& settings = state.review.settings;
    settings.spell_languages = languages;
    save_spelling(settings.spell_while_typing, languages);
    check_spelling_items(state.parts.main_window, settings.spell_while_typing, languages);
    request_check(state, get_text(state.parts.editor));
}

void replace_word(MainWindowState& state, TextRange word, const std::string& replacement)
{
    HWND editor = state.parts.editor;
    const CHARRANGE span{word.start, word.start + word.length};
    state.history.record_span(EditKind::command, span, [&] {
        set_selection(editor, span.cpMin, span.cpMax);
        replace_selection_utf16(editor, utf8_to_utf16(replacement));
    });
    SetFocus(editor);
}

} // namespace

void prepare_spelling(MainWindowState& state)
{
    SpellingState& spelling = state.spelling;
    const Settings& settings = settings_of(state);
    spelling.marks.shown = settings.spell_while_typing;
    state.parts.editor_subclass.marks = &spelling.marks;
    state.history.observe_edits([&state](const std::optional<TextEdit>& edit) { on_edit(state, edit); });
    show_spelling_state(state);
    SetTimer(state.parts.main_window, SPELL_START_TIMER, SPELL_START_DELAY_MS, nullptr);
}

void show_spelling_state(MainWindowState& state)
{
    const Settings& settings = settings_of(state);
    check_spelling_items(state.parts.main_window, settings.spell_while_typing, settings.spell_languages);
    show_count(state);
}

void underline_new_editor(MainWindowState& state)
{
    SpellMarks& marks = state.spelling.marks;
    marks.misspelt.clear();
    marks.held.reset();
    state.parts.editor_subclass.marks = &marks;
    marks_moved(state.parts.editor, marks);
}

void start_spelling(MainWindowState& state)
{
    KillTimer(state.parts.main_window, SPELL_START_TIMER);
    // Switched off: no dictionary is loaded until the user asks for one.
    if (!settings_of(state).spell_while_typing)
        return;
    ensure_checker(state);
    request_check(state, get_text(state.parts.editor));
}

void stop_spelling(MainWindowState& state)
{
    KillTimer(state.parts.main_window, SPELL_START_TIMER);
    state.spelling.worker.reset();
    state.spelling.checker.reset();
}

void spelling_post_reviewed(MainWindowState& state, const std::string& post)
{
    request_check(state, post);
}

void take_spelling_answer(MainWindowState& state)
{
    SpellingState& spelling = state.spelling;
    std::optional<SpellAnswer> answer = spelling.worker ? spelling.worker->take_answer() : std::nullopt;
    if (!answer)
        return;
    tell_load_failures(state, answer->report);
    // An answer about text that has changed since waits for the next.
    if (answer->version != spelling.version || !settings_of(state).spell_while_typing)
        return;
    if (!answer->checked) {
        clear_marks(state);
        return;
    }
    spelling.count = answer->misspelt.size();
    spelling.marks.held = word_being_typed(state, answer->misspelt);
    set_marks(state, std::move(answer->misspelt));
    show_count(state);
}

void select_next_misspelling(MainWindowState& state)
{
    ensure_checker(state);
    SpellChecker& checker = *state.spelling.checker;
    const SpellLanguages languages = settings_of(state).spell_languages;
    HWND editor = state.parts.editor;
    std::vector<TextRange> misspelt;
    {
        const WaitCursor busy;
        tell_load_failures(state, checker.load(languages));
        checker.choose(languages);
        const std::string post = get_text(editor);
        misspelt = utf16_ranges(post, checker.misspellings(post));
    }
    if (!checker.ready())
        return; // already told why
    if (misspelt.empty()) {
        show_message(state.parts.main_window, NO_MISSPELLINGS);
        return;
    }
    const CHARRANGE selection = get_selection(editor);
    auto next = std::find_if(misspelt.begin(), misspelt.end(),
                             [&](const TextRange& range) { return range.start >= selection.cpMax; });
    const TextRange word = next != misspelt.end() ? *next : misspelt.front();
    set_selection(editor, word.start, word.start + word.length);
    SendMessageW(editor, EM_SCROLLCARET, 0, 0);
    if (settings_of(state).spell_while_typing) {
        state.spelling.count = misspelt.size();
        set_marks(state, misspelt);
        show_count(state);
    }
}

void toggle_spelling(MainWindowState& state)
{
    Settings& settings = state.review.settings;
    settings.spell_while_typing = !settings.spell_while_typing;
    save_spelling(settings.spell_while_typing, settings.spell_languages);
    check_spelling_items(state.parts.main_window, settings.spell_while_typing, settings.spell_languages);
    state.spelling.marks.shown = settings.spell_while_typing;
    if (!settings.spell_while_typing) {
        clear_marks(state);
        return;
    }
    ensure_checker(state);
    request_check(state, get_text(state.parts.editor));
}

void check_in_czech(MainWindowState& state) { choose_languages(state, SpellLanguages::czech); }
void check_in_english(MainWindowState& state) { choose_languages(state, SpellLanguages::english); }
void check_in_both(MainWindowState& state) { choose_languages(state, SpellLanguages::both); }

void add_spelling_to_context_menu(MainWindowState& state, HMENU popup, POINT editor_point)
{
    SpellingState& spelling = state.spelling;
    spelling.menu_word.reset();
    spelling.menu_word_text.clear();
    spelling.menu_suggestions.clear();
    if (!spelling.checker || !spelling.marks.shown)
        return;
    HWND editor = state.parts.editor;
    spelling.menu_word = misspelling_at(editor, spelling.marks, editor_point);
    if (!spelling.menu_word)
        return;
    const std::u16string text = get_text_utf16(editor);
    const TextRange word = *spelling.menu_word;
    if (static_cast<std::size_t>(word.start + word.length) > text.size())
        return;
    spelling.menu_word_text = utf16_to_utf8(std::u16string_view(text).substr(word.start, word.length));
    spelling.menu_suggestions = spelling.checker->suggestions(spelling.menu_word_text, SPELL_SUGGESTION_COUNT);
    insert_spelling_items(popup, spelling.menu_suggestions);
}

bool run_spelling_menu_item(MainWindowState& state, WORD id)
{
    SpellingState& spelling = state.spelling;
    const bool suggestion = id >= IDM_SPELL_SUGGESTION_FIRST && id < IDM_SPELL_SUGGESTION_FIRST + SPELL_SUGGESTION_COUNT;
    if (!suggestion && id != IDM_SPELL_ADD_WORD && id != IDM_SPELL_IGNORE_ALL)
        return false;
    if (!spelling.menu_word || !spelling.checker)
        return true;
    const TextRange word = *spelling.menu_word;
    const std::string& spelt = spelling.menu_word_text;
    if (suggestion) {
        const std::size_t index = id - IDM_SPELL_SUGGESTION_FIRST;
        if (index < spelling.menu_suggestions.size())
            replace_word(state, word, spelling.menu_suggestions[index]);
        return true;
    }
    if (id == IDM_SPELL_IGNORE_ALL) {
        spelling.checker->ignore(spelt);
    } else if (!spelling.checker->add_personal_word(spelt)) {
        // Every time: each word lost at the next start is worth a word now.
        tell(state, IDS_PERSONAL_DICTIONARY_UNWRITABLE, quoted_path(personal_dictionary_path()));
    }
    request_check(state, get_text(state.parts.editor));
    return true;
}
