#include "editor_fixture.h"

#include "app/document_state.h"
#include "res/resource_ids.h"
#include "ui/menus.h"

namespace {

// The menus as a user reads them, written out independently of the
// resource script. A popup has children; a separator has neither caption
// nor command.
struct Item {
    std::string caption;
    UINT command = 0;
    std::vector<Item> popup;
};

const Item SEPARATOR{};

Item popup(std::string caption, std::vector<Item> items)
{
    return {std::move(caption), 0, std::move(items)};
}

std::vector<Item> main_menu()
{
    return {
        popup("SOUBOR(&F)", {{"NEW", 1001}, {"OPEN(&O)", 1002}, SEPARATOR, {"SAVE(&S)", 1003},
                             {"SAVE AS(&A)", 1004}, SEPARATOR, {"PRNSET(&U)", 1005}, {"PRINT(&P)", 1006},
                             SEPARATOR, {"END(&X)", 1007}}),
        popup("EDIT(&E)", {{"UNDO(&U)", 1008}, SEPARATOR, {"HORIZONTAL(&H)", 1009}, {"VERTICAL(&V)", 10010},
                           SEPARATOR, {"FONT(&F)", 10011},
                           popup("ALIGN", {{"CENTER(&C)", 10012}, {"LEFT(&L)", 10013}, {"RIGHT(&R)", 10014}}),
                           SEPARATOR, {"COPY(&C)", 10015}, {"CUT(&T)", 10016}, {"PASTE(&P)", 10017}, SEPARATOR,
                           {"ALL(&L)", 10018}}),
        popup("Tagy(&P)",
              {{"Citace:  [quote] [/quote]...Ctrl+Q", 3226},
               {"Kód [code][/code]...Ctrl+W", 3223},
               {"Klikací odkaz [url]www.example.com[/url]...Ctrl+U", 3227},
               {"Klikací odkaz na prispevek [url]#17856[/url]...Ctrl+T", 3233},
               {"Klikací odkaz E-mail [email]jmeno@example.com[/email]...Ctrl+M", 3229},
               {"Vložit obrázek [image][/image]", 5001},
               {"Dotaz:", 3234},
               {"Centr text", 3236},
               {"Horizontální čára [hr]", 3237},
               {"[u]podtržený text[/u]", 3238},
               {"Bod 1 až 10", 3255},
               {"https://forum-editor.example.org/help", 3256}}),
        popup("Písmo(&M)", {{"Normální černé písmo...Ctrl+F", 5000},
                            {"Kurzíva <I>...Ctrl+I", 3224},
                            {"Tučně <B></B>...Ctrl+B", 3228},
                            {"[size=14px][/size]", 3230},
                            {"[size=22px][/size]", 3231},
                            {"[size=30px][/size]...Ctrl+H", 3232}}),
        popup("POZADÍ(&V)", {{"BACKCOLOR(&B)", 10019}}),
        popup("Barva písma:Ctrl+D", {{"Dialog barev ...Ctrl+D", 3225}}),
        popup("XY napsal:Ctrl+E", {{"XY napsal:...Ctrl+E", 3235}, {"Zarovnani.....", 5002}}),
    };
}

std::vector<Item> context_menu()
{
    return {{"NEW", 1001},   {"OPEN", 1002},    SEPARATOR,           {"SAVE", 1003},   {"SAVEAS", 1004},
            SEPARATOR,       {"HORIZONTAL", 1009}, {"VERTICAL", 10010}, SEPARATOR,     {"FONT", 10011},
            SEPARATOR,       {"LEFT", 10013},   {"RIGHT", 10014},    {"CENTER", 10012}, SEPARATOR,
            {"END", 1007},   SEPARATOR,         {"COPY", 10015},     {"CUT", 10016},   {"PASTE", 10017},
            {"UNDO", 1008},  SEPARATOR,         {"PRINT", 1006},     {"PRINTSET", 1005}, SEPARATOR,
            {"ALL", 10018},  SEPARATOR,         {"BACKCOLOR", 10019}};
}

std::wstring utf16(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(length));
    return wide;
}

std::wstring caption_of(HMENU menu, int position)
{
    wchar_t buffer[256]{};
    GetMenuStringW(menu, static_cast<UINT>(position), buffer, 256, MF_BYPOSITION);
    return buffer;
}

void expect_menu(HMENU menu, const std::vector<Item>& expected, const std::string& path)
{
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size())) << path;
    for (int i = 0; i < static_cast<int>(expected.size()); ++i) {
        const Item& item = expected[static_cast<size_t>(i)];
        const std::string where = path + "/" + std::to_string(i) + " " + item.caption;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) << where;
        if (item.caption.empty()) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << where;
            continue;
        }
        EXPECT_FALSE(info.fState & (MFS_GRAYED | MFS_CHECKED)) << where;
        EXPECT_EQ(caption_of(menu, i), utf16(item.caption)) << where;
        if (item.popup.empty()) {
            EXPECT_EQ(info.wID, item.command) << where;
            EXPECT_EQ(info.hSubMenu, nullptr) << where;
        } else {
            ASSERT_NE(info.hSubMenu, nullptr) << where;
            expect_menu(info.hSubMenu, item.popup, where);
        }
    }
}

struct OwnedMenu {
    HMENU handle;
    ~OwnedMenu() { DestroyMenu(handle); }
};

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

TEST_F(MenusTest, MenuBarHoldsEveryPopupItemCaptionAndCommandInOrder)
{
    HMENU bar = GetMenu(main_window);
    auto expected = main_menu();
    ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(expected.size()) + 1);
    // The smiley popup is appended at run time; compare the resource part.
    HMENU resource_bar = LoadMenuA(g_doc.instance, "MYMENU");
    OwnedMenu owner{resource_bar};
    expect_menu(resource_bar, expected, "MYMENU");
}

TEST_F(MenusTest, ContextMenuHoldsItsItemsInOrder)
{
    OwnedMenu menu{LoadMenuA(g_doc.instance, "MYPOPUP")};
    ASSERT_EQ(GetMenuItemCount(menu.handle), 1);
    EXPECT_EQ(caption_of(menu.handle, 0), L"MENU");
    expect_menu(GetSubMenu(menu.handle, 0), context_menu(), "MYPOPUP");
}

TEST_F(MenusTest, AcceleratorsAreCtrlKeysForTheirCommandsAndNoneForCtrlX)
{
    const std::pair<char, WORD> expected[] = {
        {'A', 10018}, {'B', 3228}, {'E', 3235}, {'I', 3224}, {'D', 3225}, {'C', 10015},
        {'F', 5000},  {'Q', 3226}, {'U', 3227}, {'H', 3232}, {'M', 3229}, {'N', 1001},
        {'O', 1002},  {'S', 1003}, {'T', 3233}, {'V', 10017}, {'W', 3223}, {'Z', 1008},
    };
    HACCEL table = LoadAcceleratorsA(g_doc.instance, "MYACCEL");
    ASSERT_NE(table, nullptr);
    ACCEL entries[32]{};
    const int count = CopyAcceleratorTableA(table, entries, 32);
    ASSERT_EQ(count, 18);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].key, expected[i].first);
        EXPECT_EQ(entries[i].cmd, expected[i].second);
        EXPECT_EQ(entries[i].fVirt & ~0x80, FVIRTKEY | FCONTROL | FNOINVERT);
    }
}

TEST_F(MenusTest, SmileyPopupComesLastWithSeventeenPictures)
{
    const SIZE sizes[] = {{74, 49}, {37, 22}, {32, 28}, {67, 32}, {37, 15},  {57, 16}, {33, 26}, {27, 22}, {20, 16},
                          {75, 25}, {38, 26}, {78, 29}, {100, 34}, {35, 31}, {133, 43}, {25, 20}, {42, 21}};
    HMENU bar = GetMenu(main_window);
    const int last = GetMenuItemCount(bar) - 1;
    ASSERT_EQ(last, 7);
    EXPECT_EQ(caption_of(bar, last), L"Smajlici");
    HMENU smileys = GetSubMenu(bar, last);
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
        EXPECT_EQ(picture.bmWidth, sizes[i].cx);
        EXPECT_EQ(picture.bmHeight, sizes[i].cy);
    }
}

TEST_F(MenusTest, CutAndCopyFollowTheSelectionInBothMenus)
{
    OwnedMenu context{LoadMenuA(g_doc.instance, "MYPOPUP")};
    for (HMENU menu : {edit_popup(), GetSubMenu(context.handle, 0)}) {
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

TEST_F(MenusTest, PasteFollowsTheClipboardAndUndoWhatCanBeUndone)
{
    set_clipboard_text(nullptr);
    open_popup(edit_popup());
    EXPECT_TRUE(state(edit_popup(), IDM_EDIT_PASTE) & MF_GRAYED);
    EXPECT_TRUE(state(edit_popup(), IDM_EDIT_UNDO) & MF_GRAYED);

    set_clipboard_text("pasted");
    SendMessageA(editor, WM_CHAR, 'x', 0);
    open_popup(edit_popup());
    EXPECT_FALSE(state(edit_popup(), IDM_EDIT_PASTE) & MF_GRAYED);
    EXPECT_FALSE(state(edit_popup(), IDM_EDIT_UNDO) & MF_GRAYED);

    SendMessageA(editor, EM_EMPTYUNDOBUFFER, 0, 0);
    open_popup(edit_popup());
    EXPECT_TRUE(state(edit_popup(), IDM_EDIT_UNDO) & MF_GRAYED);
}

TEST_F(MenusTest, OnlyTheCurrentAlignmentIsChecked)
{
    const std::pair<WORD, UINT> cases[] = {
        {PFA_CENTER, IDM_ALIGN_CENTER}, {PFA_RIGHT, IDM_ALIGN_RIGHT}, {PFA_LEFT, IDM_ALIGN_LEFT}};
    HMENU align = GetSubMenu(edit_popup(), 6);
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
