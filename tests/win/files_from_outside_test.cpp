// Files named on the command line and dropped on the window from Explorer:
// opened as Open opens them, with its checks, question and recent entry.
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include <shlobj.h>

#include <algorithm>

#include "app/settings.h"
#include "app/startup.h"
#include "document/file_io.h"
#include "text/unicode/wide_text.h"
#include "win/messages.h"

namespace {

// What Explorer sends: a DROPFILES header, then the wide names, each ended
// by a zero and the list by one more, in movable global memory.
HDROP explorer_drop(const std::vector<std::string>& paths)
{
    std::wstring names;
    for (const std::string& path : paths)
        names += to_wide(path) + L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

class FilesFromOutsideTest : public EditorTest {
protected:
    void SetUp() override
    {
        save_recent_files({});
        EditorTest::SetUp();
        GetCurrentDirectoryA(MAX_PATH, current_folder);
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(current_folder);
        EditorTest::TearDown();
        save_recent_files({});
    }

    void drop_on(HWND target, const std::vector<std::string>& paths)
    {
        SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(explorer_drop(paths)), 0);
    }

    std::wstring title() const
    {
        wchar_t buffer[1024]{};
        GetWindowTextW(main_window, buffer, 1024);
        return buffer;
    }

    char current_folder[MAX_PATH]{};
    ScratchFolder folder;
};

} // namespace

TEST_F(FilesFromOutsideTest, AStartWithAPathOpensItAsOpenDoesOrSaysWhyNotAndStartsEmpty)
{
    const std::string czech = folder.file("p\xC5\x99\xC3\xADsp\xC4\x9Bvek.txt"); // příspěvek.txt
    const std::string rtf = folder.file("post.rtf");
    const std::string plain = folder.file("plain.txt");
    ASSERT_EQ(write_file_atomically(czech, "Czech name"), 0u); // written by its wide name
    ASSERT_TRUE(write_file_bytes(rtf, "{\\rtf1\\ansi {\\b bold} words}"));
    ASSERT_TRUE(write_file_bytes(plain, "plain"));
    // Wine takes a name with "/" in front for the Unix path it is.
    const std::string slashed = unix_path(plain);
    SetCurrentDirectoryA(folder.path.c_str());

    struct Case {
        std::vector<std::wstring> arguments;
        std::string path; // opened, or named by the refusal
        std::string text;
        UINT refusal = 0;
    };
    const Case cases[] = {
        {{L"plain.txt", to_wide(rtf)}, plain, "plain"}, // relative; of two, the first
        {{to_wide(rtf)}, rtf, "bold words"},
        {{to_wide(czech)}, czech, "Czech name"},
        {{to_wide(slashed)}, plain, "plain"},
        {{L"--", to_wide(slashed)}, plain, "plain"},
        {{L"missing.txt"}, folder.file("missing.txt"), "", IDS_NAMED_FILE_MISSING},
        {{to_wide(folder.path)}, folder.path, "", IDS_NAMED_IS_A_FOLDER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        save_recent_files({});
        recreate_main_window(SW_SHOWNORMAL);
        MessageBoxSeen refused;
        with_dialogs([&] { if (c.refusal) refused = answer_message_box("Forum Editor", IDOK); },
                     [&] { take_start_arguments(main_window, read_start_arguments(c.arguments)); });
        EXPECT_EQ(text(), c.text);
        EXPECT_FALSE(state().history.is_modified());
        if (c.refusal) {
            EXPECT_EQ(refused.text.rfind(program_text(c.refusal) + "\n", 0), 0u) << refused.text;
            EXPECT_NE(refused.text.find(c.path), std::string::npos) << refused.text;
            EXPECT_TRUE(state().document.name.empty());
            EXPECT_TRUE(load_recent_files().empty());
            continue;
        }
        EXPECT_EQ(state().document.name, c.path);
        EXPECT_EQ(state().document.kind, c.path == rtf ? FileKind::rtf : FileKind::text);
        EXPECT_EQ(title(), to_wide("Editor [" + c.path + "]"));
        EXPECT_EQ(load_recent_files(), std::vector<std::string>{c.path});
    }
}

TEST_F(FilesFromOutsideTest, DroppedFilesOpenAfterTheSaveQuestionAndCancelOrAFolderKeepsThePost)
{
    const std::string first = folder.file("first.txt");
    const std::string second = folder.file("second.txt");
    ASSERT_TRUE(write_file_bytes(first, "first"));
    ASSERT_TRUE(write_file_bytes(second, "second"));
    SendMessageW(editor, WM_CHAR, 'x', 0);

    MessageBoxSeen refused;
    with_dialogs([&] { refused = answer_message_box("Forum Editor", IDOK); }, [&] { drop_on(editor, {folder.path}); });
    EXPECT_EQ(refused.text.rfind(program_text(IDS_NAMED_IS_A_FOLDER), 0), 0u) << refused.text;
    with_dialogs([&] { answer_message_box("SAVE", IDCANCEL); }, [&] { drop_on(editor, {first}); });
    EXPECT_EQ(text(), "x");
    EXPECT_TRUE(state().document.name.empty());
    EXPECT_TRUE(state().history.is_modified());

    // Two on the window: the first opens, and the note says why only it.
    with_dialogs([&] { answer_message_box("SAVE", IDNO); }, [&] { drop_on(main_window, {first, second}); });
    EXPECT_EQ(text(), "first");
    EXPECT_EQ(state().document.name, first);
    EXPECT_FALSE(state().history.is_modified());
    EXPECT_EQ(state().parts.status_bar.note, to_wide(format_program_text(IDS_ONE_POST_AT_A_TIME, {"2"})));
}
