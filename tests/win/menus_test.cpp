#include "editor_fixture.h"

#include <commctrl.h>

#include <set>

#include "app/command_dispatch.h"
#include "res/resource_ids.h"
#include "res/resource_names.h"
#include "ui/menus.h"
#include "win/dpi.h"
#include "win/win_handles.h"

namespace {

std::wstring caption_of(HMENU menu, int position)
{
    wchar_t buffer[256]{};
    GetMenuStringW(menu, static_cast<UINT>(position), buffer, 256, MF_BYPOSITION);
    return buffer;
}

// Every command id in a menu and its popups.
void collect_menu_ids(HMENU menu, std::set<WORD>& ids)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        if (info.hSubMenu)
            collect_menu_ids(info.hSubMenu, ids);
        else if (!(info.fType & MFT_SEPARATOR))
            ids.insert(static_cast<WORD>(info.wID));
    }
}

std::vector<ACCEL> accelerators()
{
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), SHORTCUTS_RESOURCE);
    std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    return entries;
}

class MenusTest : public EditorTest {
protected:
    HMENU edit_popup() const { return GetSubMenu(GetMenu(main_window), 1); }

    UINT state(HMENU menu, UINT command) const { return GetMenuState(menu, command, MF_BYCOMMAND); }

    void open_popup(HMENU popup) { SendMessageA(main_window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 1); }

    void set_clipboard_text(const char* text)
    {
        ASSERT_TRUE(OpenClipboard(main_window));
        EmptyClipboard();
        if (text) {
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
            memcpy(GlobalLock(memory), text, strlen(text) + 1);
            GlobalUnlock(memory);
            SetClipboardData(CF_TEXT, memory);
        }
        CloseClipboard();
    }

    void set_alignment(WORD alignment)
    {
        PARAFORMAT format{};
        format.cbSize = sizeof format;
        format.dwMask = PFM_ALIGNMENT;
        format.wAlignment = alignment;
        SendMessageA(editor, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    }
};

} // namespace

TEST_F(MenusTest, EveryItemShortcutAndButtonIsACommandAndEveryCommandCanBeReached)
{
    std::set<WORD> reachable;
    // The smileys' popup gets its items as it opens.
    HMENU bar = GetMenu(main_window);
    open_popup(GetSubMenu(bar, GetMenuItemCount(bar) - 1));
    collect_menu_ids(bar, reachable);
    const OwnedMenu context(LoadMenuW(GetModuleHandleW(nullptr), CONTEXT_MENU_RESOURCE));
    collect_menu_ids(context.get(), reachable);
    for (const ACCEL& entry : accelerators())
        reachable.insert(entry.cmd);
    HWND toolbar = EditorTest::state().parts.toolbar.window;
    for (int i = 0; i < SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0); ++i) {
        TBBUTTON button{};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (!(button.fsStyle & TBSTYLE_SEP))
            reachable.insert(static_cast<WORD>(button.idCommand));
    }

    for (WORD id : reachable)
        EXPECT_TRUE(is_command(id)) << id;
    for (WORD id : command_ids())
        EXPECT_TRUE(reachable.count(id)) << id;
}

TEST_F(MenusTest, ShortcutsAreCtrlKeysOrThePreviewsF5F7AndF8AndCtrlXIsLeftToTheEditor)
{
    const std::vector<ACCEL> entries = accelerators();
    ASSERT_FALSE(entries.empty());
    for (const ACCEL& entry : entries) {
        if (entry.key == VK_F5 || entry.key == VK_F7 || entry.key == VK_F8) {
            EXPECT_EQ(entry.fVirt & ~0x80, FVIRTKEY | FNOINVERT) << entry.cmd;
            EXPECT_EQ(entry.cmd, entry.key == VK_F5   ? IDM_PREVIEW_TOGGLE
                                 : entry.key == VK_F7 ? IDM_SPELL_NEXT
                                                      : IDM_TAG_CHECK);
            continue;
        }
        // F3 finds the next match, Shift+F3 the one before.
        if (entry.key == VK_F3) {
            const bool up = entry.cmd == IDM_FIND_PREVIOUS;
            EXPECT_EQ(entry.fVirt & ~0x80, FVIRTKEY | FNOINVERT | (up ? FSHIFT : 0)) << entry.cmd;
            EXPECT_TRUE(up || entry.cmd == IDM_FIND_NEXT) << entry.cmd;
            continue;
        }
        // Ctrl+Shift+Z redoes, as Ctrl+Y does; Ctrl+Shift+V pastes the text
        // alone; Ctrl+Shift+F and Ctrl+Shift+H
        // find and replace, leaving Ctrl+F and Ctrl+H to the markup.
        const bool with_shift = (entry.cmd == IDM_EDIT_REDO && entry.key == 'Z') ||
                                (entry.cmd == IDM_EDIT_PASTE_TEXT && entry.key == 'V') ||
                                (entry.cmd == IDM_FIND && entry.key == 'F') ||
                                (entry.cmd == IDM_REPLACE && entry.key == 'H');
        EXPECT_EQ(entry.fVirt & ~0x80, FVIRTKEY | FCONTROL | FNOINVERT | (with_shift ? FSHIFT : 0)) << entry.cmd;
        EXPECT_NE(entry.key, 'X');
    }
}

TEST_F(MenusTest, CzechCaptionsReadBackUnchanged)
{
    EXPECT_EQ(caption_of(GetMenu(main_window), 3), L"P\u00EDsmo(&M)");
}

TEST_F(MenusTest, ThePreviewTheChecksAndSpellingFollowTheBackgroundWithTheirKeys)
{
    HMENU bar = GetMenu(main_window);
    EXPECT_EQ(caption_of(bar, 4), L"POZAD\u00CD(&V)");
    HMENU view = GetSubMenu(bar, 4);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(GetMenuItemID(view, 0), static_cast<UINT>(IDM_BACKCOLOR));
    const std::pair<UINT, std::wstring> keyed[] = {
        {IDM_PREVIEW_TOGGLE, L"\tF5"}, {IDM_SPELL_NEXT, L"\tF7"}, {IDM_TAG_CHECK, L"\tF8"}};
    for (const auto& [command, key] : keyed) {
        wchar_t caption[128]{};
        ASSERT_GT(GetMenuStringW(view, command, caption, 128, MF_BYCOMMAND), 0) << command;
        EXPECT_TRUE(std::wstring(caption).ends_with(key)) << command;
    }
    for (UINT command : {IDM_SPELL_WHILE_TYPING, IDM_SPELL_BOTH, IDM_CHARACTER_LIMIT})
        EXPECT_NE(GetMenuState(view, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << command;
}

TEST_F(MenusTest, SmileyPopupComesLastWithAPictureForEachSmiley)
{
    HMENU bar = GetMenu(main_window);
    const int last = GetMenuItemCount(bar) - 1;
    ASSERT_EQ(last, 7);
    EXPECT_EQ(caption_of(bar, last), L"Smajlici");
    HMENU smileys = GetSubMenu(bar, last);
    open_popup(smileys);
    ASSERT_EQ(GetMenuItemCount(smileys), 17);
    for (UINT i = 0; i < 17; ++i) {
        SCOPED_TRACE(i);
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_BITMAP;
        ASSERT_TRUE(GetMenuItemInfoA(smileys, i, TRUE, &info));
        EXPECT_EQ(info.wID, IDM_SMILEY_FIRST + i);
        BITMAP picture{};
        ASSERT_TRUE(GetObjectA(info.hbmpItem, sizeof picture, &picture));
        EXPECT_GT(picture.bmWidth, 0);
    }
}

TEST_F(MenusTest, CutAndCopyFollowTheSelectionInBothMenus)
{
    const OwnedMenu context(LoadMenuW(GetModuleHandleW(nullptr), CONTEXT_MENU_RESOURCE));
    for (HMENU menu : {edit_popup(), GetSubMenu(context.get(), 0)}) {
        set_text("abc");
        select(1, 1);
        open_popup(menu);
        EXPECT_TRUE(state(menu, IDM_EDIT_CUT) & MF_GRAYED);
        EXPECT_TRUE(state(menu, IDM_EDIT_COPY) & MF_GRAYED);

        select(1, 2);
        open_popup(menu);
        EXPECT_FALSE(state(menu, IDM_EDIT_CUT) & MF_GRAYED);
        EXPECT_FALSE(state(menu, IDM_EDIT_COPY) & MF_GRAYED);
    }
}

TEST_F(MenusTest, PasteFollowsTheClipboardAndUndoAndRedoTheHistory)
{
    set_clipboard_text(nullptr);
    open_popup(edit_popup());
    EXPECT_TRUE(state(edit_popup(), IDM_EDIT_PASTE) & MF_GRAYED);
    EXPECT_TRUE(state(edit_popup(), IDM_EDIT_UNDO) & MF_GRAYED);
    EXPECT_TRUE(state(edit_popup(), IDM_EDIT_REDO) & MF_GRAYED);

    set_clipboard_text("pasted");
    SendMessageA(editor, WM_CHAR, 'x', 0);
    open_popup(edit_popup());
    EXPECT_FALSE(state(edit_popup(), IDM_EDIT_PASTE) & MF_GRAYED);
    EXPECT_FALSE(state(edit_popup(), IDM_EDIT_UNDO) & MF_GRAYED);
    EXPECT_TRUE(state(edit_popup(), IDM_EDIT_REDO) & MF_GRAYED);

    SendMessageA(main_window, WM_COMMAND, IDM_EDIT_UNDO, 0);
    open_popup(edit_popup());
    EXPECT_TRUE(state(edit_popup(), IDM_EDIT_UNDO) & MF_GRAYED);
    EXPECT_FALSE(state(edit_popup(), IDM_EDIT_REDO) & MF_GRAYED);
}

TEST_F(MenusTest, RedoFollowsUndoInBothMenus)
{
    const OwnedMenu context(LoadMenuW(GetModuleHandleW(nullptr), CONTEXT_MENU_RESOURCE));
    for (HMENU menu : {edit_popup(), GetSubMenu(context.get(), 0)}) {
        const int count = GetMenuItemCount(menu);
        int undo = -1;
        for (int i = 0; i < count; ++i)
            if (GetMenuItemID(menu, i) == IDM_EDIT_UNDO)
                undo = i;
        ASSERT_GE(undo, 0);
        EXPECT_EQ(GetMenuItemID(menu, undo + 1), static_cast<UINT>(IDM_EDIT_REDO));
    }
    EXPECT_EQ(caption_of(edit_popup(), 1), L"REDO(&R)");
}

TEST_F(MenusTest, OnlyTheCurrentAlignmentIsChecked)
{
    const std::pair<WORD, UINT> cases[] = {
        {PFA_CENTER, IDM_ALIGN_CENTER}, {PFA_RIGHT, IDM_ALIGN_RIGHT}, {PFA_LEFT, IDM_ALIGN_LEFT}};
    HMENU align = GetSubMenu(edit_popup(), 7);
    ASSERT_NE(align, nullptr);
    set_text("paragraph");
    for (auto [alignment, item] : cases) {
        SCOPED_TRACE(item);
        set_alignment(alignment);
        open_popup(align);
        for (UINT other : {IDM_ALIGN_CENTER, IDM_ALIGN_LEFT, IDM_ALIGN_RIGHT})
            EXPECT_EQ((state(align, other) & MF_CHECKED) != 0, other == item) << other;
    }
}

TEST_F(MenusTest, TheMenuBarIsOneRowAt650PixelsAnd96Dpi)
{
    if (window_dpi(main_window) != DEFAULT_DPI)
        GTEST_SKIP() << "the bar is measured at 96 DPI";
    RECT window{};
    GetWindowRect(main_window, &window);
    ASSERT_EQ(window.right - window.left, 650);
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetMenuBarInfo(main_window, OBJID_MENU, 0, &bar));
    EXPECT_EQ(bar.rcBar.bottom - bar.rcBar.top, GetSystemMetrics(SM_CYMENU));
}
