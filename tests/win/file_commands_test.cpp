// New, Open, Save and Save As on real files, through the real open and save
// dialogs, and the question before unsaved work is closed.
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include <functional>
#include <memory>

#include "app/main_window_state.h"
#include "app/settings.h"
#include "res/resource_ids.h"

namespace {

constexpr int RTF_FILTER = 1;
constexpr int TEXT_FILTER = 2;

// Keeps a file open with no sharing, as another program that locked it.
struct FileLock {
    HANDLE handle;
    explicit FileLock(const std::string& path)
        : handle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~FileLock()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};

class FileCommandsTest : public EditorTest {
protected:
    std::string title() const
    {
        char buffer[1024]{};
        GetWindowTextA(main_window, buffer, sizeof buffer);
        return buffer;
    }

    bool modified() const { return SendMessageA(editor, EM_GETMODIFY, 0, 0) != 0; }

    // Typed as keys reach the control, so that it is undoable typing.
    void type(const std::string& keys)
    {
        for (unsigned char key : keys)
            SendMessageA(editor, WM_CHAR, key, 0);
    }

    void set_modified_text(const std::string& content)
    {
        set_text(content);
        SendMessageA(editor, EM_SETMODIFY, TRUE, 0);
    }

    // As the menu, a shortcut or the toolbar gives it.
    void command(WORD id) const { SendMessageA(main_window, WM_COMMAND, id, 0); }

    void open_file(const std::string& path, int filter)
    {
        with_dialogs([&] { fill_file_dialog("Open", path, filter, IDOK); }, [&] { command(IDM_FILE_OPEN); });
    }

    void save_file_as(const std::string& path, int filter)
    {
        with_dialogs([&] { fill_file_dialog("Save As", path, filter, IDOK); }, [&] { command(IDM_FILE_SAVEAS); });
        EXPECT_FALSE(modified()) << "saved";
    }

    std::vector<std::string> files_in_folder() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA(folder.file("*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(entry.cFileName);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
        return names;
    }

    ScratchFolder folder;
};

// "FILE ERROR" first, then the file and the system's reason.
void expect_file_error(const MessageBoxSeen& seen, const std::string& path)
{
    EXPECT_EQ(seen.text.rfind("FILE ERROR\n", 0), 0u) << seen.text;
    EXPECT_NE(seen.text.find(path + "\n"), std::string::npos) << seen.text;
    EXPECT_GT(seen.text.size(), std::string("FILE ERROR\n\n\n").size() + path.size() + 3) << seen.text;
}

bool is_bold(HWND editor, LONG first, LONG last)
{
    CHARRANGE range{first, last};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return (format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD);
}

} // namespace

TEST_F(FileCommandsTest, PlainTextRoundTripsByteExact)
{
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"crlf.txt", "first line\r\nsecond line\r\n"},
        {"lf.txt", "one\ntwo\n\nthree"},
        {"mixed.txt", "a\r\nb\nc\r\n\r\n[b]bold[/b] 100%\r\n"},
        {"empty.txt", ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::string source = folder.file(test.name);
        const std::string copy = folder.file(std::string("copy-") + test.name);
        ASSERT_TRUE(write_file_bytes(source, test.bytes));

        open_file(source, TEXT_FILTER);
        EXPECT_EQ(text(), test.bytes);
        EXPECT_EQ(title(), "Editor [" + source + "]");
        EXPECT_FALSE(modified());
        EXPECT_EQ(state().document.kind, FileKind::text);

        save_file_as(copy, TEXT_FILTER);
        EXPECT_EQ(read_file_bytes(copy), test.bytes);
        EXPECT_EQ(state().document.name, copy);
        EXPECT_EQ(title(), "Editor [" + copy + "]");
    }
}

TEST_F(FileCommandsTest, RtfRoundTripKeepsTextAndFormat)
{
    set_modified_text("plain bold rest");
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD;
    SendMessageA(editor, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    select(6, 10);
    format.dwEffects = CFE_BOLD;
    SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));

    const std::string path = folder.file("post.rtf");
    save_file_as(path, RTF_FILTER);
    EXPECT_EQ(read_file_bytes(path).value_or("").rfind("{\\rtf", 0), 0u);
    EXPECT_FALSE(modified());
    EXPECT_EQ(state().document.kind, FileKind::rtf);
    // Another RTF reader sees the same text.
    const auto unrtf = run_unix_command("unrtf --text '" + unix_path(path) + "'");
    ASSERT_TRUE(unrtf.has_value());
    EXPECT_NE(unrtf->output.find("plain bold rest"), std::string::npos) << unrtf->output;

    without_dialogs([&] { command(IDM_FILE_NEW); });
    EXPECT_EQ(text(), "");

    open_file(path, RTF_FILTER);
    EXPECT_EQ(text().substr(0, 15), "plain bold rest");
    EXPECT_TRUE(is_bold(editor, 6, 10));
    // Wine's reader starts from the control's default (bold System) format,
    // so only the run after the bold one shows that bold was switched off.
    EXPECT_FALSE(is_bold(editor, 11, 15));
}

TEST_F(FileCommandsTest, FormatFollowsTheChosenFilterNotTheExtension)
{
    // Saved with the RTF filter under a .txt name: RTF.
    set_modified_text("words");
    save_file_as(folder.file("saved-as-rtf.txt"), RTF_FILTER);
    EXPECT_EQ(read_file_bytes(folder.file("saved-as-rtf.txt")).value_or("").rfind("{\\rtf", 0), 0u);

    // Saved with the TEXT filter under an .rtf name: the plain bytes; later
    // Saves keep writing plain text.
    save_file_as(folder.file("saved-as-text.rtf"), TEXT_FILTER);
    EXPECT_EQ(read_file_bytes(folder.file("saved-as-text.rtf")), "words");
    set_modified_text("more words");
    without_dialogs([&] { command(IDM_FILE_SAVE); });
    EXPECT_EQ(read_file_bytes(folder.file("saved-as-text.rtf")), "more words");

    // RTF opened with the TEXT filter shows its source.
    const std::string rtf = "{\\rtf1\\ansi hello}";
    ASSERT_TRUE(write_file_bytes(folder.file("source.rtf"), rtf));
    open_file(folder.file("source.rtf"), TEXT_FILTER);
    EXPECT_EQ(text(), rtf);

    // And a .txt name opened with the RTF filter is read as RTF.
    ASSERT_TRUE(write_file_bytes(folder.file("really-rtf.txt"), rtf));
    open_file(folder.file("really-rtf.txt"), RTF_FILTER);
    EXPECT_EQ(text().substr(0, 5), "hello");
}

TEST_F(FileCommandsTest, TypedNameWithoutExtensionGetsRtf)
{
    set_modified_text("x");
    save_file_as(folder.file("post"), RTF_FILTER);
    EXPECT_EQ(state().document.name, folder.file("post.rtf"));
    EXPECT_TRUE(read_file_bytes(folder.file("post.rtf")).has_value());
    EXPECT_EQ(title(), "Editor [" + folder.file("post.rtf") + "]");
}

TEST_F(FileCommandsTest, NewIsUntitledSoSaveAsksForANameAndNeverWritesOverTheOldFile)
{
    const std::string path = folder.file("post.txt");
    ASSERT_TRUE(write_file_bytes(path, "old post"));
    open_file(path, TEXT_FILTER);

    without_dialogs([&] { command(IDM_FILE_NEW); });
    EXPECT_EQ(title(), "Editor [SOUBOR]");
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(modified());
    EXPECT_EQ(state().document.name, "");

    type("brand new post");
    with_dialogs(
        [&] {
            answer_message_box("SAVE ???", IDOK);
            fill_file_dialog("Save As", "", 0, IDCANCEL);
        },
        [&] { command(IDM_FILE_SAVE); });
    EXPECT_EQ(read_file_bytes(path), "old post");
    EXPECT_TRUE(modified());
}

TEST_F(FileCommandsTest, SaveOfAnUntitledDocumentAsksForANameAndACancelWritesNothing)
{
    type("draft");
    MessageBoxSeen seen;
    with_dialogs(
        [&] {
            seen = answer_message_box("SAVE ???", IDOK);
            fill_file_dialog("Save As", folder.file("never.rtf"), 0, IDCANCEL);
        },
        [&] { command(IDM_FILE_SAVE); });
    EXPECT_EQ(seen.text, "SAVE????");
    EXPECT_TRUE(modified());
    EXPECT_EQ(title(), "KLESTOR FORUM EDITOR  by vorlen :)");
    EXPECT_TRUE(files_in_folder().empty());

    with_dialogs(
        [&] {
            answer_message_box("SAVE ???", IDOK);
            fill_file_dialog("Save As", folder.file("draft.txt"), TEXT_FILTER, IDOK);
        },
        [&] { command(IDM_FILE_SAVE); });
    EXPECT_EQ(read_file_bytes(folder.file("draft.txt")), "draft");
    EXPECT_FALSE(modified());
}

TEST_F(FileCommandsTest, UntouchedDocumentGetsNoSaveOffer)
{
    without_dialogs([&] { command(IDM_FILE_NEW); });
    with_dialogs([&] { fill_file_dialog("Open", "", 0, IDCANCEL); }, [&] { command(IDM_FILE_OPEN); });
}

TEST_F(FileCommandsTest, TheSaveQuestionOfNewAndOpen)
{
    enum class Then { Nothing, SaveAsCancelled, SaveFails };
    struct Case {
        const char* name;
        bool open;
        int answer;
        Then then;
        bool goes_on;
    };
    const Case cases[] = {
        {"New: Cancel keeps the text", false, IDCANCEL, Then::Nothing, false},
        {"New: No discards it", false, IDNO, Then::Nothing, true},
        {"New: Yes, then a cancelled Save As, keeps it", false, IDYES, Then::SaveAsCancelled, false},
        {"New: Yes, then a failed save, keeps it", false, IDYES, Then::SaveFails, false},
        {"Open: Cancel keeps the text and shows no Open dialog", true, IDCANCEL, Then::Nothing, false},
        {"Open: Yes, then a failed save, keeps it", true, IDYES, Then::SaveFails, false},
    };
    const std::string read_only = folder.file("read-only.txt");
    ASSERT_TRUE(write_file_bytes(read_only, "on disk"));
    SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_READONLY);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        state().document = {test.then == Then::SaveFails ? read_only : "", FileKind::text};
        set_modified_text("unsaved words");
        with_dialogs(
            [&] {
                EXPECT_EQ(answer_message_box("SAVE", test.answer).text, "SAVE?");
                if (test.then == Then::SaveAsCancelled) {
                    answer_message_box("SAVE ???", IDOK);
                    fill_file_dialog("Save As", "", 0, IDCANCEL);
                }
                if (test.then == Then::SaveFails)
                    answer_message_box("Error", IDOK);
                if (test.goes_on && test.open)
                    fill_file_dialog("Open", "", 0, IDCANCEL);
            },
            [&] { command(test.open ? IDM_FILE_OPEN : IDM_FILE_NEW); });
        EXPECT_EQ(text(), test.goes_on ? "" : "unsaved words");
        EXPECT_EQ(modified(), !test.goes_on);
    }
    SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(read_file_bytes(read_only), "on disk");
}

TEST_F(FileCommandsTest, YesInTheSaveQuestionSavesFirst)
{
    const std::string path = folder.file("post.txt");
    ASSERT_TRUE(write_file_bytes(path, "v1"));
    open_file(path, TEXT_FILTER);
    set_modified_text("v2");

    with_dialogs([&] { answer_message_box("SAVE", IDYES); }, [&] { command(IDM_FILE_NEW); });
    EXPECT_EQ(read_file_bytes(path), "v2");
    EXPECT_EQ(text(), "");
}

TEST_F(FileCommandsTest, NewOffersToSaveExactlyWhenTheTextDiffersFromTheOpenedOne)
{
    type("abc");
    command(IDM_EDIT_UNDO);
    ASSERT_FALSE(modified());
    without_dialogs([&] { command(IDM_FILE_NEW); });

    type("abc");
    command(IDM_EDIT_UNDO);
    command(IDM_EDIT_REDO);
    ASSERT_TRUE(modified());
    MessageBoxSeen seen;
    with_dialogs([&] { seen = answer_message_box("SAVE", IDCANCEL); },
                 [&] { command(IDM_FILE_NEW); });
    EXPECT_EQ(seen.text, "SAVE?");
}

TEST_F(FileCommandsTest, OpenThatCannotReadTheFileChangesNothing)
{
    const std::string current = folder.file("current.rtf");
    set_modified_text("current text");
    save_file_as(current, RTF_FILTER);
    set_modified_text("edited text");
    const std::string title_before = title();

    const std::string locked = folder.file("locked.txt");
    ASSERT_TRUE(write_file_bytes(locked, "locked content"));
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"missing file", folder.file("missing.txt")},
        {"locked file", locked},
    };
    FileLock lock(locked);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        MessageBoxSeen seen;
        with_dialogs(
            [&] {
                answer_message_box("SAVE", IDNO);
                fill_file_dialog("Open", test.path, TEXT_FILTER, IDOK);
                seen = answer_message_box("Error", IDOK);
            },
            [&] { command(IDM_FILE_OPEN); });
        expect_file_error(seen, test.path);
        EXPECT_EQ(text(), "edited text");
        EXPECT_TRUE(modified());
        EXPECT_EQ(title(), title_before);
        EXPECT_EQ(state().document.name, current);
        EXPECT_EQ(state().document.kind, FileKind::rtf);
    }
}

TEST_F(FileCommandsTest, SaveThatCannotWriteKeepsTheOldFileAndTheModifiedFlag)
{
    struct Case {
        const char* name;
        std::function<std::shared_ptr<void>(const std::string&)> obstruct;
    };
    const Case cases[] = {
        {"read-only target",
         [](const std::string& path) {
             SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
             return std::shared_ptr<void>(nullptr, [path](void*) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL); });
         }},
        {"locked target", [](const std::string& path) { return std::shared_ptr<void>(std::make_shared<FileLock>(path)); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::string path = folder.file(std::string(test.name) + ".txt");
        ASSERT_TRUE(write_file_bytes(path, "the old post"));
        state().document.name = path;
        state().document.kind = FileKind::text;
        set_modified_text("the new post");
        {
            const auto obstruction = test.obstruct(path);
            MessageBoxSeen seen;
            with_dialogs([&] { seen = answer_message_box("Error", IDOK); },
                         [&] { command(IDM_FILE_SAVE); });
            expect_file_error(seen, path);
        }
        EXPECT_EQ(read_file_bytes(path), "the old post");
        EXPECT_TRUE(modified());
    }
    // No temporary file is left behind.
    EXPECT_EQ(files_in_folder().size(), std::size(cases));
}

TEST_F(FileCommandsTest, AChangeByAnotherProgramIsNeverOverwrittenUnasked)
{
    const std::string path = folder.file("shared.txt");
    const auto answer = [](int button) {
        const std::string seen = answer_message_box("Forum Editor", button).text;
        EXPECT_NE(seen.find(program_text(IDS_FILE_CHANGED_ON_DISK)), std::string::npos) << seen;
    };
    ASSERT_TRUE(write_file_bytes(path, "mine"));
    open_file(path, TEXT_FILTER);
    ASSERT_TRUE(write_file_bytes(path, "mine, theirs"));
    // Unmodified, it is offered again when the window is activated.
    with_dialogs([&] { answer(IDYES); }, [&] {
        SendMessageW(main_window, WM_ACTIVATE, WA_ACTIVE, 0);
        pump_messages();
    });
    EXPECT_EQ(text(), "mine, theirs");
    EXPECT_FALSE(modified());

    type("1");
    ASSERT_TRUE(write_file_bytes(path, "theirs again"));
    with_dialogs([&] { answer(IDCANCEL); }, [&] { command(IDM_FILE_SAVE); });
    EXPECT_EQ(read_file_bytes(path), "theirs again");
    EXPECT_TRUE(modified());
    with_dialogs([&] { answer(IDYES); }, [&] { command(IDM_FILE_SAVE); });
    EXPECT_EQ(read_file_bytes(path), text());
    // Nothing changed outside since, or the file is gone: no question.
    type("2");
    without_dialogs([&] { command(IDM_FILE_SAVE); });
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    type("3");
    without_dialogs([&] { command(IDM_FILE_SAVE); });
    EXPECT_EQ(read_file_bytes(path), text());
}

TEST_F(FileCommandsTest, SaveIntoAMissingFolderFails)
{
    state().document.name = folder.file("no such folder\\post.txt");
    set_modified_text("text");
    MessageBoxSeen seen;
    with_dialogs([&] { seen = answer_message_box("Error", IDOK); }, [&] { command(IDM_FILE_SAVE); });
    expect_file_error(seen, state().document.name);
    EXPECT_TRUE(modified());
}

// Registered on its own with LANG=cs_CZ.UTF-8 (and FORUM_EXPECT_CP1250=1),
// so that Wine runs the program in code page 1250.
TEST_F(FileCommandsTest, CzechTextRoundTripsByteExactInCodePage1250)
{
    if (GetACP() != 1250) {
        if (!environment_variable("FORUM_EXPECT_CP1250").empty())
            FAIL() << "expected code page 1250, Wine runs in " << GetACP();
        GTEST_SKIP() << "needs a Czech locale (code page 1250); runs in its own ctest entry";
    }
    // "Příliš žluťoučký kůň úpěl ďábelské ódy" and more, in code page 1250.
    const std::string czech = "P\xF8\xED\x6C\x69\x9A \x9Elu\x9Dou\xE8\x6B\xFD k\xF9\xF2 \xFAp\xEC\x6C "
                              "\xEF\xE1\x62\x65lsk\xE9 \xF3\x64y\r\n\xC8\x45\xA9TINA\n\xDA\xD8\x8E";
    const std::string source = folder.file("cesky.txt");
    ASSERT_TRUE(write_file_bytes(source, czech));
    open_file(source, TEXT_FILTER);
    EXPECT_EQ(text(), czech);
    save_file_as(folder.file("kopie.txt"), TEXT_FILTER);
    EXPECT_EQ(read_file_bytes(folder.file("kopie.txt")), czech);
}

// Registered on its own (FORUM_SMALL_DISK=1), after a fixture has mounted a
// 32 KiB tmpfs at $FORUM_TEST_RUN_DIR/small-disk as root.
TEST_F(FileCommandsTest, WriteThatFailsPartWayLeavesTheOldFileAndTheModifiedFlag)
{
    if (environment_variable("FORUM_SMALL_DISK").empty())
        GTEST_SKIP() << "needs a small full disk: runs in its own ctest entry, as root";
    const std::string small_disk = environment_variable("FORUM_TEST_RUN_DIR") + "/small-disk";
    const std::string disk = dos_path(small_disk);
    ULARGE_INTEGER free_bytes{}, total_bytes{};
    ASSERT_TRUE(GetDiskFreeSpaceExA(disk.c_str(), &free_bytes, &total_bytes, nullptr)) << disk;
    if (total_bytes.QuadPart > 1024 * 1024)
        GTEST_SKIP() << small_disk << " is not a small disk: mounting it needs root";

    const std::string path = disk + "\\post.txt";
    const std::string old_post(2000, 'o');
    ASSERT_TRUE(write_file_bytes(path, old_post));
    // Fill what is left, so that the new post cannot be written whole.
    const std::string filler_path = disk + "\\filler";
    HANDLE filler = CreateFileA(filler_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(filler, INVALID_HANDLE_VALUE);
    const std::string block(512, 'f');
    DWORD written = 0;
    while (WriteFile(filler, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) && written > 0) {
    }
    CloseHandle(filler);

    state().document.name = path;
    state().document.kind = FileKind::text;
    const std::string new_post = long_post(20000);
    set_modified_text(new_post);
    MessageBoxSeen seen;
    with_dialogs([&] { seen = answer_message_box("Error", IDOK); }, [&] { command(IDM_FILE_SAVE); });
    expect_file_error(seen, path);
    EXPECT_EQ(read_file_bytes(path), old_post);
    EXPECT_TRUE(modified());

    // With room again the same save goes through.
    DeleteFileA(filler_path.c_str());
    without_dialogs([&] { command(IDM_FILE_SAVE); });
    EXPECT_EQ(read_file_bytes(path), new_post);
    DeleteFileA(path.c_str());
}

TEST_F(FileCommandsTest, ClosingAModifiedDocumentAsksFirst)
{
    enum class Setup { SavedFile, Untitled, ReadOnlyFile };
    // What the close box, Alt+F4 and the system menu send, and the END item.
    const auto system_close = [](HWND window) { SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); };
    const auto end_command = [](HWND window) { SendMessageA(window, WM_COMMAND, IDM_FILE_EXIT, 0); };
    struct Case {
        const char* name;
        Setup setup;
        int answer;
        bool closes;
        bool written;
        std::function<void(HWND)> close;
    };
    const Case cases[] = {
        {"Yes saves, then closes", Setup::SavedFile, IDYES, true, true, system_close},
        {"Yes, but the save dialog is cancelled", Setup::Untitled, IDYES, false, false, system_close},
        {"Yes, but the write fails", Setup::ReadOnlyFile, IDYES, false, false, system_close},
        {"No closes without saving", Setup::SavedFile, IDNO, true, false, system_close},
        {"Cancel keeps the window", Setup::SavedFile, IDCANCEL, false, false, system_close},
        {"END asks too, and No closes", Setup::SavedFile, IDNO, true, false, end_command},
        {"END asks too, and Cancel keeps the window", Setup::SavedFile, IDCANCEL, false, false, end_command},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        recreate_main_window(SW_SHOWNORMAL);
        const std::string path = folder.file("closing.txt");
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(write_file_bytes(path, "on disk"));
        if (test.setup != Setup::Untitled) {
            state().document.name = path;
            state().document.kind = FileKind::text;
        }
        if (test.setup == Setup::ReadOnlyFile)
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        type("typed");

        MessageBoxSeen seen;
        with_dialogs(
            [&] {
                seen = answer_message_box("SAVE", test.answer);
                if (test.answer == IDYES && test.setup == Setup::Untitled) {
                    answer_message_box("SAVE ???", IDOK);
                    fill_file_dialog("Save As", "", 0, IDCANCEL);
                }
                if (test.answer == IDYES && test.setup == Setup::ReadOnlyFile)
                    answer_message_box("Error", IDOK);
            },
            [&] { test.close(main_window); });
        EXPECT_EQ(seen.text, "SAVE?");
        EXPECT_EQ(IsWindow(main_window) == FALSE, test.closes);
        EXPECT_EQ(read_file_bytes(path), test.written ? "typed" : "on disk");
        if (!test.closes)
            EXPECT_TRUE(modified());
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(FileCommandsTest, ClosingAnUnmodifiedDocumentEndsAtOnceWithExitCodeZero)
{
    type("typed");
    command(IDM_EDIT_UNDO);
    without_dialogs([&] { SendMessageA(main_window, WM_CLOSE, 0, 0); });
    EXPECT_FALSE(IsWindow(main_window));
    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(FileCommandsTest, APathOf325CharactersOpensAndSavesThroughTheDialog)
{
    // Made in the long form, which the folders of such a path need.
    std::wstring long_form = L"\\\\?\\" + std::wstring(folder.path.begin(), folder.path.end());
    for (wchar_t letter : {L'a', L'b', L'c'}) {
        long_form += L"\\" + std::wstring(80, letter);
        ASSERT_TRUE(CreateDirectoryW(long_form.c_str(), nullptr));
    }
    const std::size_t room = 325 - (long_form.size() - 4) - 1;
    ASSERT_GT(room, 4u);
    long_form += L"\\" + std::wstring(room - 4, L'p') + L".txt";
    const std::string path(long_form.begin() + 4, long_form.end());
    const auto on_disk = [&] {
        const OwnedFile file(CreateFileW(long_form.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        std::string bytes(64, '\0');
        DWORD read = 0;
        ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        return bytes.substr(0, read);
    };

    set_modified_text("long way");
    save_file_as(path, TEXT_FILTER);
    ASSERT_EQ(path.size(), 325u);
    EXPECT_EQ(on_disk(), "long way");
    command(IDM_FILE_NEW);
    open_file(path, TEXT_FILTER);
    EXPECT_EQ(text(), "long way");
    EXPECT_EQ(state().document.name, path);
    type("!");
    without_dialogs([&] { command(IDM_FILE_SAVE); });
    EXPECT_EQ(on_disk(), text());
}

TEST_F(FileCommandsTest, NewOrOpenAfterALongDocumentEmptiesItWithAFreshHistory)
{
    std::string lines;
    while (lines.size() < (2 << 20))
        lines += std::string(62, 'a') + "\r\n";
    const std::string path = folder.file("long.txt");
    ASSERT_TRUE(write_file_bytes(path, lines));
    open_file(path, TEXT_FILTER);
    ASSERT_GT(text_length(), 1 << 20);

    without_dialogs([&] { command(IDM_FILE_NEW); });
    editor = state().parts.editor;
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(modified());
    EXPECT_FALSE(state().history.can_undo());
    // The control that holds the new document records what is typed.
    type("ab");
    EXPECT_TRUE(modified());
    command(IDM_EDIT_UNDO);
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(modified());

    const std::string short_file = folder.file("short.txt");
    ASSERT_TRUE(write_file_bytes(short_file, "short"));
    open_file(path, TEXT_FILTER);
    open_file(short_file, TEXT_FILTER);
    editor = state().parts.editor;
    EXPECT_EQ(text(), "short");
    EXPECT_FALSE(state().history.can_undo());
}

TEST_F(FileCommandsTest, ALongPathIsShortenedInTheTitle)
{
    // As long as the dialog's buffer allows: the full path takes 259 bytes.
    const std::string stem = folder.file("");
    const std::string path = stem + std::string(259 - stem.size() - 4, 'n') + ".txt";
    set_modified_text("x");
    save_file_as(path, TEXT_FILTER);
    ASSERT_EQ(state().document.name, path);

    const std::string shown = title();
    EXPECT_LE(shown.size(), 259u);
    EXPECT_EQ(shown.rfind("Editor [" + path.substr(0, 20), 0), 0u) << shown;
    EXPECT_NE(shown.find("..."), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 10), "nnnnn.txt]");
}

// Windows drops a name's trailing dots and spaces: "post." is written as
// "post". The title, the recent files and the next Save name the file that
// is there.
TEST_F(FileCommandsTest, TheDocumentTakesTheNameItWasSavedUnder)
{
    set_modified_text("words");
    save_file_as(folder.file("post. ."), TEXT_FILTER);
    EXPECT_EQ(files_in_folder(), std::vector<std::string>{"post"});
    EXPECT_EQ(state().document.name, folder.file("post"));
    EXPECT_EQ(title(), "Editor [" + folder.file("post") + "]");
    ASSERT_FALSE(load_recent_files().empty());
    EXPECT_EQ(load_recent_files().front(), folder.file("post"));
}
