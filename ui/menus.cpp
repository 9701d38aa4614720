#include "ui/menus.h"

#include <richedit.h>

#include "res/resource_ids.h"
#include "editor/editor_text.h"
#include "win/messages.h"
#include "win/system_utf8.h"

#include <algorithm>

namespace {

// Past the seven popups of the bar, so the smileys come last.
constexpr UINT SMILEY_MENU_POSITION = 8;

// Marks the smileys' popup, which is filled only when it first opens.
constexpr ULONG_PTR SMILEY_MENU_MARK = 0x534D494C;

ULONG_PTR menu_mark(HMENU menu)
{
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    return GetMenuInfo(menu, &info) ? info.dwMenuData : 0;
}

void insert_smiley_popup(HMENU menu_bar, HMENU smileys)
{
    std::wstring caption = load_text(IDS_SMILEY_MENU);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_SUBMENU | MIIM_TYPE;
    item.fType = MFT_STRING;
    item.hSubMenu = smileys;
    item.dwTypeData = caption.data();
    InsertMenuItemW(menu_bar, SMILEY_MENU_POSITION, TRUE, &item);
}

void insert_smiley_picture(HMENU smileys, UINT index, HBITMAP picture)
{
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = MFT_BITMAP;
    item.wID = IDM_SMILEY_FIRST + index;
    item.dwTypeData = reinterpret_cast<wchar_t*>(picture);
    InsertMenuItemW(smileys, index, TRUE, &item);
}

void enable_item(HMENU popup, UINT command, bool enabled)
{
    EnableMenuItem(popup, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

UINT alignment_item(WORD alignment)
{
    switch (alignment) {
    case PFA_LEFT: return IDM_ALIGN_LEFT;
    case PFA_RIGHT: return IDM_ALIGN_RIGHT;
    case PFA_CENTER: return IDM_ALIGN_CENTER;
    default: return 0;
    }
}

void check_alignment(HWND editor, HMENU popup)
{
    const PARAFORMAT2 format = get_paragraph_format(editor);
    for (UINT item : {IDM_ALIGN_LEFT, IDM_ALIGN_RIGHT, IDM_ALIGN_CENTER})
        CheckMenuItem(popup, item, MF_BYCOMMAND | MF_UNCHECKED);
    if (UINT item = alignment_item(format.wAlignment))
        CheckMenuItem(popup, item, MF_BYCOMMAND | MF_CHECKED);
}

// The popup, at any depth of the menu, that holds the item.
HMENU popup_holding(HMENU menu, UINT item)
{
    const int count = GetMenuItemCount(menu);
    for (int at = 0; at < count; ++at) {
        HMENU popup = GetSubMenu(menu, at);
        if (!popup)
            continue;
        if (GetMenuState(popup, item, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
            if (HMENU deeper = popup_holding(popup, item))
                return deeper;
            return popup;
        }
    }
    return nullptr;
}

// A board's name as a menu shows it: "&" doubled, so that it is no mnemonic.
std::wstring menu_caption(const std::string& name)
{
    std::wstring caption;
    for (wchar_t c : wide_from_utf8(name)) {
        caption += c;
        if (c == L'&')
            caption += L'&';
    }
    return caption;
}

} // namespace

void add_smiley_menu(HMENU menu_bar)
{
    HMENU smileys = CreatePopupMenu();
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    info.dwMenuData = SMILEY_MENU_MARK;
    SetMenuInfo(smileys, &info);
    insert_smiley_popup(menu_bar, smileys);
}

bool fill_smiley_menu(HMENU popup, HINSTANCE instance, std::vector<OwnedBitmap>& pictures)
{
    if (menu_mark(popup) != SMILEY_MENU_MARK || GetMenuItemCount(popup) != 0)
        return false;
    // A bitmap that does not load leaves an item without a picture.
    for (UINT i = static_cast<UINT>(pictures.size()); i < SMILEY_COUNT; ++i)
        pictures.emplace_back(LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_SMILEY_FIRST + i)));
    for (UINT i = 0; i < SMILEY_COUNT; ++i)
        insert_smiley_picture(popup, i, pictures[i].get());
    return true;
}

void refresh_menu_state(HWND editor, HMENU popup, bool can_undo, bool can_redo)
{
    const CHARRANGE selection = get_selection(editor);
    const bool has_selection = selection.cpMin != selection.cpMax;
    enable_item(popup, IDM_EDIT_CUT, has_selection);
    enable_item(popup, IDM_EDIT_COPY, has_selection);

    enable_item(popup, IDM_EDIT_UNDO, can_undo);
    enable_item(popup, IDM_EDIT_REDO, can_redo);
    enable_item(popup, IDM_EDIT_PASTE, CountClipboardFormats() != 0);
    enable_item(popup, IDM_EDIT_PASTE_TEXT, IsClipboardFormatAvailable(CF_UNICODETEXT));
    check_alignment(editor, popup);
}

static_assert(IDM_FORUM_MYBB - IDM_FORUM_EDITOR + 1 == FORUM_PROFILE_COUNT, "one item for each forum, in order");
static_assert(IDM_BOARD_FIRST == IDM_FORUM_MYBB + 1 && IDM_BOARD_LAST - IDM_BOARD_FIRST + 1 == MAX_USER_BOARDS,
              "the user's boards right after the forums', one number each");

void list_board_items(HWND main_window, const BoardList& boards)
{
    HMENU menu_bar = GetMenu(main_window);
    for (UINT id = IDM_BOARD_FIRST; id <= IDM_BOARD_LAST; ++id)
        DeleteMenu(menu_bar, id, MF_BYCOMMAND);
    HMENU forums = popup_holding(menu_bar, IDM_FORUM_MYBB);
    if (!forums)
        return;
    for (size_t index = FORUM_PROFILE_COUNT; index < boards.boards.size(); ++index) {
        const auto id = static_cast<UINT>(IDM_FORUM_EDITOR + index);
        if (id > IDM_BOARD_LAST)
            break;
        AppendMenuW(forums, MF_STRING, id, menu_caption(boards.boards[index].name).c_str());
    }
    const UINT last = IDM_FORUM_EDITOR + static_cast<UINT>(boards.boards.size()) - 1;
    CheckMenuRadioItem(forums, IDM_FORUM_EDITOR, std::min<UINT>(last, IDM_BOARD_LAST),
                       IDM_FORUM_EDITOR + static_cast<UINT>(boards.chosen), MF_BYCOMMAND);
}
