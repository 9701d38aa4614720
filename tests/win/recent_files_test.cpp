// The recent files at the end of the File popup: kept across a restart,
// opened through Open's own steps, and a file that has gone is taken off.
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include "app/settings.h"
#include "res/resource_ids.h"
#include "text/files/recent_files.h"
#include "text/unicode/wide_text.h"
#include "win/messages.h"

namespace {

class RecentFilesTest : public EditorTest {
protected:
    void SetUp() override
    {
        save_recent_files({});
        EditorTest::SetUp();
    }

    void TearDown() override
    {
        EditorTest::TearDown();
        save_recent_files({});
    }

    void command(WORD id) const { SendMessageW(main_window, WM_COMMAND, id, 0); }

    void open_file(const std::string& path)
    {
        with_dialogs([&] { fill_file_dialog("Open", path, 2, IDOK); }, [&] { command(IDM_FILE_OPEN); });
    }

    // The File popup's items from the first recent file on, as it opens.
    std::vector<std::wstring> end_of_file_popup() const
    {
        HMENU popup = GetSubMenu(GetMenu(main_window), 0);
        SendMessageW(main_window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        std::vector<std::wstring> items;
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            wchar_t caption[512]{};
            GetMenuStringW(popup, static_cast<UINT>(i), caption, 512, MF_BYPOSITION);
            const UINT id = GetMenuItemID(popup, i);
            if (id == IDM_RECENT_FILE_FIRST || !items.empty())
                items.push_back(id == 0 ? L"-" : caption);
        }
        return items;
    }

    static std::wstring item(size_t index, const std::string& path)
    {
        return to_wide(recent_file_caption(index, path));
    }

    ScratchFolder folder;
};

} // namespace

TEST_F(RecentFilesTest, FilesOpenedAndSavedAreListedNewestFirstAfterARestartAndOpenFromThere)
{
    const std::string opened = folder.file("opened.txt");
    const std::string saved = folder.file("saved.rtf");
    ASSERT_TRUE(write_file_bytes(opened, "plain text\r\n"));
    open_file(opened);
    with_dialogs([&] { fill_file_dialog("Save As", saved, 1, IDOK); }, [&] { command(IDM_FILE_SAVEAS); });

    recreate_main_window(SW_SHOWNORMAL);
    EXPECT_EQ(end_of_file_popup(), (std::vector<std::wstring>{item(0, saved), item(1, opened), L"-", L"END(&X)"}));

    // Unmodified: no question; the text file opens as the text it is.
    without_dialogs([&] { command(IDM_RECENT_FILE_FIRST + 1); });
    EXPECT_EQ(state().document.name, opened);
    EXPECT_EQ(state().document.kind, FileKind::text);
    EXPECT_EQ(text(), "plain text\r\n");
    EXPECT_EQ(end_of_file_popup(), (std::vector<std::wstring>{item(0, opened), item(1, saved), L"-", L"END(&X)"}));
}

TEST_F(RecentFilesTest, AFileThatIsGoneIsTakenOffTheListAfterTheSaveQuestion)
{
    const std::string gone = folder.file("gone.txt");
    ASSERT_TRUE(write_file_bytes(gone, "soon gone"));
    open_file(gone);
    ASSERT_TRUE(DeleteFileA(gone.c_str()));
    SendMessageW(editor, WM_CHAR, 'x', 0);
    const std::string typed = text();
    ASSERT_EQ(end_of_file_popup().front(), item(0, gone)); // the user opens the popup

    MessageBoxSeen seen;
    with_dialogs(
        [&] {
            answer_message_box("SAVE", IDNO);
            seen = answer_message_box("Forum Editor", IDOK);
        },
        [&] { command(IDM_RECENT_FILE_FIRST); });
    EXPECT_NE(seen.text.find(gone), std::string::npos) << seen.text;
    EXPECT_EQ(text(), typed);
    EXPECT_TRUE(load_recent_files().empty());
    EXPECT_TRUE(end_of_file_popup().empty());
}

// As found, entries that differ only in case were listed apart until one
// was opened. They are folded as Windows compares paths, Czech letters too.
TEST_F(RecentFilesTest, EntriesThatDifferOnlyInCaseAreListedOnce)
{
    const std::string first = "C:\\P\xC5\x99\xC3\xADsp\xC4\x9Bvky\\A.rtf"; // Příspěvky
    save_recent_files({first, "c:\\P\xC5\x98\xC3\x8DSP\xC4\x9AVKY\\a.RTF", "C:\\b.rtf"}); // PŘÍSPĚVKY
    EXPECT_EQ(end_of_file_popup(), (std::vector<std::wstring>{item(0, first), item(1, "C:\\b.rtf"), L"-", L"END(&X)"}));
}

// As found, a 100,000-character entry gave a box larger than the screen,
// with no text or button to be seen. Every message that quotes a path
// shortens it in the middle.
TEST_F(RecentFilesTest, AVeryLongEntryIsQuotedShortenedInABoxWhoseButtonCanBePressed)
{
    const std::string long_path = "C:\\" + std::string(100000, 'a') + "\\gone.txt";
    save_recent_files({long_path});
    ASSERT_EQ(end_of_file_popup().size(), 3u); // the entry, the line, END
    MessageBoxSeen seen;
    RECT box{};
    RECT button{};
    with_dialogs(
        [&] {
            HWND shown = wait_for_window({"#32770", "Forum Editor"});
            GetWindowRect(shown, &box);
            GetWindowRect(GetDlgItem(shown, IDOK), &button);
            seen = answer_message_box("Forum Editor", IDOK);
        },
        [&] { command(IDM_RECENT_FILE_FIRST); });
    const std::size_t quoted = seen.text.find("C:\\aaa");
    ASSERT_NE(quoted, std::string::npos) << seen.text.substr(0, 300);
    const std::string line = seen.text.substr(quoted, seen.text.find('\n', quoted) - quoted);
    EXPECT_EQ(line.size(), MESSAGE_PATH_CHARACTERS);
    EXPECT_NE(line.find("..."), std::string::npos);
    EXPECT_TRUE(line.ends_with("\\gone.txt")) << line;
    // 260 characters with no space to break at may still be wider than a
    // small screen; the box stands centred, and its button on the screen.
    EXPECT_LE(box.bottom - box.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GE(button.left, 0);
    EXPECT_LE(button.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GE(button.top, 0);
    EXPECT_LE(button.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(load_recent_files().empty());
}

// As found, a folder said "Access denied." and a device "Invalid handle.",
// and both stayed on the list.
TEST_F(RecentFilesTest, AFolderOrADeviceIsSaidForWhatItIsAndTakenOffTheList)
{
    const struct {
        std::string path;
        const char* said; // read through the code page
    } entries[] = {{folder.path, "Toto je slo"}, {"C:\\posts\\nul.txt", "Toto je za"}};
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.path);
        save_recent_files({entry.path});
        ASSERT_EQ(end_of_file_popup().size(), 3u);
        MessageBoxSeen seen;
        with_dialogs([&] { seen = answer_message_box("Forum Editor", IDOK); },
                     [&] { command(IDM_RECENT_FILE_FIRST); });
        EXPECT_EQ(seen.text.rfind(entry.said, 0), 0u) << seen.text;
        EXPECT_NE(seen.text.find(entry.path), std::string::npos) << seen.text;
        EXPECT_TRUE(load_recent_files().empty());
        EXPECT_EQ(text(), "");
    }
}
