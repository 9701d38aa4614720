#include "app/interface_language.h"

#include "app/main_window_state.h"
#include "app/post_review.h"
#include "app/recent_files.h"
#include "app/spelling.h"
#include "res/resource_ids.h"
#include "res/resource_names.h"
#include "ui/menus.h"
#include "ui/window_title.h"
#include "win/messages.h"

namespace {

LANGID language_id(InterfaceLanguage language)
{
    return language == InterfaceLanguage::czech ? MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT)
                                                : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

// The menu bar of the language spoken, with what the program adds to it.
void load_menu_bar(MainWindowState& state)
{
    WindowParts& parts = state.parts;
    HMENU old_bar = GetMenu(parts.main_window);
    HMENU new_bar = LoadMenuW(parts.instance, MAIN_MENU_RESOURCE);
    // The smileys' pictures stay, for the new bar's popup when it opens.
    add_smiley_menu(new_bar);
    SetMenu(parts.main_window, new_bar);
    if (old_bar)
        DestroyMenu(old_bar);
    refresh_recent_files(state);
    check_language_item(parts.main_window);
}

std::wstring window_text(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

InterfaceLanguage chosen_interface_language()
{
    if (const auto chosen = load_interface_language())
        return *chosen;
    const LANGID display = GetUserDefaultUILanguage();
    const bool czech_or_slovak = PRIMARYLANGID(display) == LANG_CZECH || PRIMARYLANGID(display) == LANG_SLOVAK;
    return czech_or_slovak ? InterfaceLanguage::czech : InterfaceLanguage::english;
}

void speak_interface_language(InterfaceLanguage language)
{
    SetThreadUILanguage(language_id(language));
    // Wine's SetThreadUILanguage changes nothing, and its resource loader
    // picks the language of the thread's locale instead: there, that does it.
    if (spoken_interface_language() != language)
        SetThreadLocale(MAKELCID(language_id(language), SORT_DEFAULT));
}

InterfaceLanguage spoken_interface_language()
{
    return load_text(IDS_INTERFACE_LANGUAGE) == L"en" ? InterfaceLanguage::english : InterfaceLanguage::czech;
}

void switch_interface_language(MainWindowState& state, InterfaceLanguage language)
{
    save_interface_language(language);
    if (language == spoken_interface_language())
        return;
    HWND main_window = state.parts.main_window;
    const std::wstring untitled = load_text(IDS_UNTITLED_TITLE);
    speak_interface_language(language);
    load_menu_bar(state);
    show_spelling_state(state);
    review_in_new_language(state);
    // The untitled document's title is a word of the interface; a file's
    // name is not.
    if (state.document.name.empty() && window_text(main_window) == untitled)
        show_document_title(main_window, state.document.name);
}

void check_language_item(HWND main_window)
{
    const UINT spoken =
        spoken_interface_language() == InterfaceLanguage::czech ? IDM_LANGUAGE_CZECH : IDM_LANGUAGE_ENGLISH;
    CheckMenuRadioItem(GetMenu(main_window), IDM_LANGUAGE_CZECH, IDM_LANGUAGE_ENGLISH, spoken, MF_BYCOMMAND);
}
