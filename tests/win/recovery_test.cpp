// The recovery copy on the real Main window: when it is written and when it
// goes, the offer at start, a damaged copy and a folder that cannot be written.
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include "app/main_window_state.h"
#include "app/recovery.h"
#include "text/files/draft_file.h"
#include "document/draft_store.h"
#include "res/resource_ids.h"

namespace {

std::wstring wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

class RecoveryTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        state().recovery.folder = wide(folder.path);
    }

    void type(const std::string& keys)
    {
        for (unsigned char key : keys)
            SendMessageA(editor, WM_CHAR, key, 0);
    }

    // What the timer does once the copy is due, and the writer's thread after it.
    void timer_fires()
    {
        write_recovery_copy(main_window, state());
        if (state().recovery.writer)
            state().recovery.writer->wait_until_idle();
        pump_messages();
    }

    std::string own_copy_path() const
    {
        const std::wstring name = draft_file_name(current_editor_process());
        return folder.file(std::string(name.begin(), name.end()));
    }

    std::optional<Draft> own_copy() const
    {
        const auto bytes = read_file_bytes(own_copy_path());
        return bytes ? read_draft(*bytes) : std::nullopt;
    }

    // A copy left by an editor that no longer runs.
    std::string leave_copy(const Draft& draft, std::uint64_t started)
    {
        const std::wstring name = draft_file_name({4242, started});
        const std::string path = folder.file(std::string(name.begin(), name.end()));
        EXPECT_TRUE(write_file_bytes(path, write_draft(draft)));
        return path;
    }

    static Draft copy_of(const std::string& body_text, const std::string& name = "C:\\posts\\old.txt")
    {
        Draft draft;
        draft.process_id = 4242;
        draft.written_at = 133515007000000000; // 2024-02-08, in the afternoon
        draft.file_name = name;
        draft.kind = DraftKind::text;
        draft.body = "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}\\f0 " + body_text +
                     " \\cf1 red\\cf0\\par\nsecond line}";
        return draft;
    }

    bool modified() const { return SendMessageA(editor, EM_GETMODIFY, 0, 0) != 0; }

    void offer(const std::function<void()>& answers)
    {
        const auto open_elsewhere = [this](const std::wstring& path) {
            opened_elsewhere.emplace_back(path.begin(), path.end());
            return true;
        };
        if (answers)
            with_dialogs(answers, [&] { offer_recovery_copies(main_window, state(), open_elsewhere); });
        else
            without_dialogs([&] { offer_recovery_copies(main_window, state(), open_elsewhere); });
    }

    static void written_long_ago(const std::string& path, DWORD age)
    {
        const FILETIME then{0, 0x01000000 - age};
        const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &then);
        CloseHandle(file);
    }

    std::vector<std::string> opened_elsewhere;

    ScratchFolder folder;
};

} // namespace

TEST_F(RecoveryTest, IsDueTwoSecondsAfterTypingStopsAndEveryFifteenWhileItGoesOn)
{
    // Since the first unwritten change, and since the last one.
    EXPECT_EQ(recovery_copy_delay(0, 0), 2000u);
    EXPECT_EQ(recovery_copy_delay(5000, 1500), 500u);
    EXPECT_EQ(recovery_copy_delay(14500, 0), 500u);
    EXPECT_EQ(recovery_copy_delay(60000, 0), 0u);
    EXPECT_EQ(recovery_copy_delay(3000, 3000), 0u);

    type("unsaved words");
    EXPECT_FALSE(own_copy());
    const DWORD start = GetTickCount();
    pump_until([&] { return own_copy().has_value(); });
    const auto copy = own_copy();
    ASSERT_TRUE(copy) << "no copy after " << GetTickCount() - start << " ms";
    EXPECT_GE(GetTickCount() - start, 1900u);
    EXPECT_EQ(copy->process_id, GetCurrentProcessId());
    EXPECT_NE(copy->body.find("unsaved words"), std::string::npos);
}

TEST_F(RecoveryTest, HoldsTheFormatsNameAndKindAndGoesWhenSaved)
{
    const std::string path = folder.file("post.txt");
    state().document = {path, FileKind::text};
    type("plain ");
    SendMessageA(main_window, WM_COMMAND, IDM_TAG_BOLD, 0);
    timer_fires();
    const auto copy = own_copy();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->file_name, path);
    EXPECT_EQ(copy->kind, DraftKind::text);
    EXPECT_NE(copy->body.find("\\b"), std::string::npos) << copy->body;

    SendMessageA(main_window, WM_COMMAND, IDM_FILE_SAVE, 0);
    timer_fires();
    EXPECT_FALSE(read_file_bytes(own_copy_path()));

    // Undone back to the saved text, nothing is left to keep either.
    type("x");
    timer_fires();
    ASSERT_TRUE(own_copy());
    SendMessageA(main_window, WM_COMMAND, IDM_EDIT_UNDO, 0);
    timer_fires();
    EXPECT_FALSE(read_file_bytes(own_copy_path()));
}

TEST_F(RecoveryTest, TheCopyHoldsTheRtfWithoutTheStreamsTerminatingZero)
{
    type("words");
    timer_fires();
    const auto copy = own_copy();
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->body.find("words"), std::string::npos);
    EXPECT_EQ(copy->body.find('\0'), std::string::npos);
}

TEST_F(RecoveryTest, GoesWithNoAtTheSaveQuestionAndWithTheWindow)
{
    type("discarded");
    timer_fires();
    ASSERT_TRUE(own_copy());
    with_dialogs([] { answer_message_box("SAVE", IDNO); }, [&] { SendMessageA(main_window, WM_COMMAND, IDM_FILE_NEW, 0); });
    timer_fires();
    EXPECT_FALSE(read_file_bytes(own_copy_path()));

    type("closed unsaved");
    timer_fires();
    ASSERT_TRUE(own_copy());
    with_dialogs([] { answer_message_box("SAVE", IDNO); }, [&] { SendMessageA(main_window, WM_CLOSE, 0, 0); });
    EXPECT_FALSE(IsWindow(main_window));
    EXPECT_FALSE(read_file_bytes(own_copy_path()));
}

TEST_F(RecoveryTest, YesAtStartRestoresTheCopyAsTheModifiedDocumentItWas)
{
    const std::string old_copy = leave_copy(copy_of("kept words"), 1);
    MessageBoxSeen question;
    offer([&] { question = answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDYES); });

    EXPECT_NE(question.text.find(program_text(IDS_RECOVERY_QUESTION)), std::string::npos) << question.text;
    EXPECT_NE(question.text.find("C:\\posts\\old.txt"), std::string::npos) << question.text;
    EXPECT_NE(question.text.find("kept words red second line"), std::string::npos) << question.text;
    EXPECT_NE(question.text.find("2024"), std::string::npos) << question.text;

    EXPECT_EQ(text(), "kept words red\r\nsecond line");
    EXPECT_EQ(format_of(11, 14).crTextColor, RGB(255, 0, 0));
    EXPECT_EQ(state().document.name, "C:\\posts\\old.txt");
    EXPECT_EQ(state().document.kind, FileKind::text);
    EXPECT_TRUE(modified());
    EXPECT_FALSE(state().history.can_undo());
    char title[256]{};
    GetWindowTextA(main_window, title, sizeof title);
    EXPECT_EQ(std::string(title), "Editor [C:\\posts\\old.txt]");
    // This editor's own copy holds the post now; the old one is gone.
    EXPECT_FALSE(read_file_bytes(old_copy));
    ASSERT_TRUE(own_copy());
    EXPECT_EQ(own_copy()->file_name, "C:\\posts\\old.txt");
}

TEST_F(RecoveryTest, NoDeletesACopyAndOffersTheNextCancelKeepsIt)
{
    const std::string older = leave_copy(copy_of("older words"), 1);
    written_long_ago(older, 0);
    const std::string newer = leave_copy(copy_of("newer words", ""), 2);

    MessageBoxSeen first, second;
    offer([&] {
        first = answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDNO);
        second = answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDCANCEL);
    });
    EXPECT_NE(first.text.find("newer words"), std::string::npos) << first.text;
    EXPECT_NE(first.text.find(program_text(IDS_RECOVERY_UNTITLED)), std::string::npos) << first.text;
    EXPECT_NE(second.text.find("older words"), std::string::npos) << second.text;
    EXPECT_FALSE(read_file_bytes(newer));
    EXPECT_TRUE(read_file_bytes(older));
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(modified());
    EXPECT_TRUE(state().document.name.empty());
}

// As found, a second copy waited silently for the next start once the
// first was restored.
TEST_F(RecoveryTest, AfterOneIsRestoredEachCopyStillWaitingIsOfferedInANewWindow)
{
    leave_copy(copy_of("first words"), 1);
    const std::string second = leave_copy(copy_of("second words"), 2);
    const std::string third = leave_copy(copy_of("third words"), 3);
    written_long_ago(second, 1);
    written_long_ago(third, 2);

    MessageBoxSeen asked_second, asked_third;
    offer([&] {
        answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDYES);
        asked_second = answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDYES);
        asked_third = answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDNO);
    });
    EXPECT_EQ(text(), "first words red\r\nsecond line");
    for (const MessageBoxSeen& seen : {asked_second, asked_third})
        EXPECT_NE(seen.text.find("Ano ho otev"), std::string::npos) << seen.text; // "... otevře v novém okně"
    EXPECT_NE(asked_second.text.find("second words"), std::string::npos) << asked_second.text;
    EXPECT_EQ(opened_elsewhere, std::vector<std::string>{second});
    EXPECT_FALSE(read_file_bytes(third));

    // The new editor restores it without asking again.
    recreate_main_window(SW_SHOWNORMAL);
    state().recovery.folder = wide(folder.path);
    without_dialogs([&] { restore_recovery_copy(main_window, state(), wide(second)); });
    EXPECT_EQ(text(), "second words red\r\nsecond line");
    EXPECT_TRUE(modified());
    EXPECT_FALSE(read_file_bytes(second));
}

TEST_F(RecoveryTest, OnlyCopiesOfEditorsThatNoLongerRunAreOffered)
{
    const std::wstring own = draft_file_name(current_editor_process());
    ASSERT_TRUE(write_file_bytes(folder.file(std::string(own.begin(), own.end())), write_draft(copy_of("mine"))));
    EXPECT_TRUE(is_running(current_editor_process()));
    EXPECT_FALSE(is_running({GetCurrentProcessId(), current_editor_process().started + 1}));
    offer({});
    EXPECT_EQ(text(), "");
}

TEST_F(RecoveryTest, ADamagedCopyIsReportedOnceAndMovedAside)
{
    std::string cut = write_draft(copy_of("cut short"));
    cut.resize(cut.size() / 2);
    const std::string path = leave_copy(copy_of(""), 1);
    ASSERT_TRUE(write_file_bytes(path, cut));

    MessageBoxSeen report;
    offer([&] { report = answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDOK); });
    EXPECT_NE(report.text.find(program_text(IDS_DRAFT_DAMAGED)), std::string::npos) << report.text;
    EXPECT_NE(report.text.find(program_text(IDS_DRAFT_BODY_CUT_SHORT)), std::string::npos) << report.text;
    EXPECT_FALSE(read_file_bytes(path));
    EXPECT_EQ(read_file_bytes(path + ".damaged"), cut);
    EXPECT_EQ(text(), "");
    offer({});
}

TEST_F(RecoveryTest, ALargeCopyIsOfferedFromItsHeaderAndOnlyYesLoadsIt)
{
    std::string many_words = "first words";
    while (many_words.size() < (512 << 10))
        many_words += " in paragraphs of a few words\\par";
    leave_copy(copy_of(many_words), 1);
    LRESULT length_behind_question = -1;
    MessageBoxSeen question;
    offer([&] {
        wait_for_window({"#32770", program_text(IDS_CAPTION_RECOVERY)});
        length_behind_question = SendMessageW(editor, WM_GETTEXTLENGTH, 0, 0);
        question = answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDYES);
    });
    EXPECT_EQ(length_behind_question, 0);
    EXPECT_NE(question.text.find("first words in paragraphs"), std::string::npos) << question.text.substr(0, 400);
    EXPECT_GT(text().size(), 400000u);
    EXPECT_TRUE(modified());

    // A body longer than any document makes (a sparse file), and a body
    // cut short, are set aside from the header alone.
    const std::string huge_path = leave_copy(copy_of(""), 2);
    const std::string cut_path = leave_copy(copy_of("cut"), 3);
    const std::string cut = *read_file_bytes(cut_path);
    ASSERT_TRUE(write_file_bytes(cut_path, cut.substr(0, cut.size() - 40)));
    const HANDLE file = CreateFileA(huge_path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(max_draft_body_bytes() + 4096);
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    offer([&] {
        EXPECT_NE(answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDOK).text.find(program_text(IDS_DRAFT_DAMAGED)), std::string::npos);
        EXPECT_NE(answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDOK).text.find(program_text(IDS_DRAFT_DAMAGED)), std::string::npos);
    });
    EXPECT_TRUE(read_file_bytes(cut_path + ".damaged"));
    EXPECT_NE(GetFileAttributesA((huge_path + ".damaged").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RecoveryTest, AFolderThatCannotBeWrittenIsSaidOnceAndTheEditorGoesOn)
{
    // A folder inside a file can never be made.
    const std::string file = folder.file("a-file");
    ASSERT_TRUE(write_file_bytes(file, "x"));
    state().recovery.folder = wide(file + "\\Recovery");

    type("words");
    MessageBoxSeen said;
    with_dialogs([&] { said = answer_message_box(program_text(IDS_CAPTION_RECOVERY), IDOK); }, [&] {
        timer_fires();
        pump_messages();
    });
    EXPECT_NE(said.text.find(program_text(IDS_DRAFT_NOT_WRITTEN)), std::string::npos) << said.text;

    type(" more");
    without_dialogs([&] { timer_fires(); });
    EXPECT_EQ(text(), "words more");
    EXPECT_TRUE(modified());
}
