#include "ui/menus.h"

#include <richedit.h>

#include "res/resource_ids.h"
#include "editor/editor_text.h"
#include "win/messages.h"

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

void check_forum_item(HWND main_window, ForumProfileId forum)
{
    CheckMenuRadioItem(GetMenu(main_window), IDM_FORUM_EDITOR, IDM_FORUM_MYBB,
                       IDM_FORUM_EDITOR + static_cast<UINT>(forum), MF_BYCOMMAND);
}
