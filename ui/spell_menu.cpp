#include "ui/spell_menu.h"

#include "res/resource_ids.h"
#include "text/unicode/wide_text.h"
#include "win/messages.h"

namespace {

void insert_item(HMENU popup, UINT position, UINT id, const std::wstring& text)
{
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    item.fType = MFT_STRING;
    item.wID = id;
    item.dwTypeData = const_cast<wchar_t*>(text.c_str());
    InsertMenuItemW(popup, position, TRUE, &item);
}

// A suggestion as a menu item's text: an "&" would underline the next letter.
std::wstring item_text(const std::string& suggestion)
{
    std::wstring text;
    for (const wchar_t c : to_wide(suggestion)) {
        if (c == L'&')
            text += L'&';
        text += c;
    }
    return text;
}

} // namespace

void insert_spelling_items(HMENU popup, const std::vector<std::string>& suggestions)
{
    UINT position = 0;
    for (const std::string& suggestion : suggestions) {
        if (position == SPELL_SUGGESTION_COUNT)
            break;
        insert_item(popup, position, IDM_SPELL_SUGGESTION_FIRST + position, item_text(suggestion));
        ++position;
    }
    insert_item(popup, position++, IDM_SPELL_ADD_WORD, load_text(IDS_SPELL_ADD_WORD));
    insert_item(popup, position++, IDM_SPELL_IGNORE_ALL, load_text(IDS_SPELL_IGNORE_ALL));
    InsertMenuW(popup, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

void check_spelling_items(HWND main_window, bool while_typing, SpellLanguages languages)
{
    HMENU menu = GetMenu(main_window);
    CheckMenuItem(menu, IDM_SPELL_WHILE_TYPING, MF_BYCOMMAND | (while_typing ? MF_CHECKED : MF_UNCHECKED));
    const UINT chosen = languages == SpellLanguages::czech     ? IDM_SPELL_CZECH
                        : languages == SpellLanguages::english ? IDM_SPELL_ENGLISH
                                                               : IDM_SPELL_BOTH;
    CheckMenuRadioItem(menu, IDM_SPELL_CZECH, IDM_SPELL_BOTH, chosen, MF_BYCOMMAND);
}
