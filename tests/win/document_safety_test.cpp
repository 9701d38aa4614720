// Files that would lose a post or bring the editor down: other kinds than the
// filter says, hostile RTF, files too large or endless, and the questions
// that stand between the user's text and its loss.
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include "../common/malformed_rtf.h"
#include "app/file_commands.h"
#include "text/rtf/rtf_prescan.h"
#include "editor/clipboard.h"
#include "res/resource_ids.h"
#include "win/win_handles.h"

namespace {

class DocumentSafetyTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        // A document the user cares about, saved as text.
        current = folder.file("current.txt");
        ASSERT_TRUE(write_file_bytes(current, "saved words"));
        state().document = {current, FileKind::text};
        set_text("typed words");
        SendMessageA(editor, EM_SETMODIFY, TRUE, 0);
    }

    // Opens a file as if picked in the Open dialog with the RTF filter.
    bool open(const std::string& path, const std::function<void()>& answers = {})
    {
        bool opened = false;
        const auto action = [&] { opened = open_document_file(editor, state().document, path, FileKind::rtf); };
        if (answers)
            with_dialogs(answers, action);
        else
            without_dialogs(action);
        return opened;
    }

    // The user's document is exactly as it was.
    void expect_unchanged()
    {
        EXPECT_EQ(text(), "typed words");
        EXPECT_EQ(state().document.name, current);
        EXPECT_TRUE(SendMessageA(editor, EM_GETMODIFY, 0, 0));
    }

    std::string title() const
    {
        char buffer[1024]{};
        GetWindowTextA(main_window, buffer, sizeof buffer);
        return buffer;
    }

    ScratchFolder folder;
    std::string current;
};

std::string nested_groups(int depth)
{
    return "{\\rtf1" + std::string(static_cast<size_t>(depth - 1), '{') + "x" +
           std::string(static_cast<size_t>(depth - 1), '}') + "}";
}

} // namespace

TEST_F(DocumentSafetyTest, ATextFileOpenedWithTheRtfFilterKeepsItsTextAndIsSavedBackAsText)
{
    const std::string path = folder.file("post.txt");
    ASSERT_TRUE(write_file_bytes(path, "plain words\r\nline two"));
    MessageBoxSeen notice;
    EXPECT_TRUE(open(path, [&] { notice = answer_message_box("Forum Editor", IDOK); }));
    EXPECT_NE(notice.text.find(program_text(IDS_OPENED_AS_TEXT)), std::string::npos) << notice.text;
    EXPECT_EQ(text(), "plain words\r\nline two");
    EXPECT_EQ(state().document.kind, FileKind::text);

    SendMessageA(editor, EM_SETSEL, 0, 0);
    SendMessageA(editor, WM_CHAR, '>', 0);
    without_dialogs([&] { EXPECT_EQ(save_document(editor, state().document), SaveOutcome::saved); });
    EXPECT_EQ(read_file_bytes(path), ">plain words\r\nline two");
}

TEST_F(DocumentSafetyTest, BinaryContentOpensOnlyAfterAQuestion)
{
    const std::string path = folder.file("picture.png");
    ASSERT_TRUE(write_file_bytes(path, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));

    EXPECT_FALSE(open(path, [&] { answer_message_box("Forum Editor", IDNO); }));
    expect_unchanged();

    EXPECT_TRUE(open(path, [&] {
        answer_message_box("Forum Editor", IDYES);
        answer_message_box("Forum Editor", IDOK); // and it is not RTF
    }));
    EXPECT_EQ(state().document.name, path);
}

TEST_F(DocumentSafetyTest, HostileRtfIsRefusedAndTheDocumentStays)
{
    std::string huge_binary = "{\\rtf1{\\pict\\bin" + std::to_string(MAX_BIN_BYTES + 1) + " ";
    huge_binary.append(MAX_BIN_BYTES + 1, '{');
    huge_binary += "}}";
    const std::pair<const char*, std::string> cases[] = {
        {"groups nested one deeper than the control survives", nested_groups(MAX_GROUP_DEPTH + 1)},
        {"binary data larger than any picture", huge_binary},
        {"binary data running past the end", "{\\rtf1{\\pict\\bin500 abc}}"},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const std::string path = folder.file("hostile.rtf");
        ASSERT_TRUE(write_file_bytes(path, bytes));
        MessageBoxSeen seen;
        EXPECT_FALSE(open(path, [&] { seen = answer_message_box("Error", IDOK); }));
        EXPECT_EQ(seen.text.rfind("FILE ERROR\n", 0), 0u) << seen.text;
        expect_unchanged();
    }
}

TEST_F(DocumentSafetyTest, RtfNestedAsDeepAsTheControlSurvivesOpens)
{
    const std::string path = folder.file("deep.rtf");
    ASSERT_TRUE(write_file_bytes(path, nested_groups(MAX_GROUP_DEPTH)));
    EXPECT_TRUE(open(path));
    EXPECT_EQ(text(), "x");
}

TEST_F(DocumentSafetyTest, FilesTooLargeOrEndlessAreRefusedWithTheLimit)
{
    const std::string large = folder.file("large.txt");
    ASSERT_TRUE(write_file_bytes(large, std::string(DOCUMENT_SIZE_LIMIT + 1, 'a')));
    const std::pair<std::string, std::string> cases[] = {
        {large, program_text(IDS_FILE_TOO_LARGE)},
        {dos_path("/dev/zero"), program_text(IDS_NOT_A_REGULAR_FILE)},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        MessageBoxSeen seen;
        EXPECT_FALSE(open(path, [&] { seen = answer_message_box("Error", IDOK); }));
        EXPECT_NE(seen.text.find(reason), std::string::npos) << seen.text;
        expect_unchanged();
    }
}

TEST_F(DocumentSafetyTest, PicturesAreShownButTheUserIsToldTheyWillNotBeSaved)
{
    const std::string path = folder.file("picture.rtf");
    ASSERT_TRUE(write_file_bytes(path, "{\\rtf1 before{\\pict\\wmetafile8\\picw10\\pich10 0100}after}"));
    MessageBoxSeen notice;
    EXPECT_TRUE(open(path, [&] { notice = answer_message_box("Forum Editor", IDOK); }));
    EXPECT_NE(notice.text.find(program_text(IDS_PICTURES_NOT_SAVED)), std::string::npos) << notice.text;
    EXPECT_EQ(state().document.kind, FileKind::rtf);
}

TEST_F(DocumentSafetyTest, AFailedSaveAsKeepsTheOldNameAndTitle)
{
    const std::string title_before = title();
    const std::string target = folder.file("locked.txt");
    ASSERT_TRUE(write_file_bytes(target, "keep me"));
    {
        // Another program holds the target open with no sharing.
        const OwnedFile lock(CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        with_dialogs(
            [&] {
                HWND save_as = fill_file_dialog("Save As", target, 2, IDOK);
                // Asked whether to replace it (in a box of Wine's own, in its
                // language), the user says yes; the write still fails.
                close_with_button(wait_for_window({"#32770", "", save_as}), IDYES);
                EXPECT_EQ(answer_message_box("Error", IDOK).text.rfind("FILE ERROR\n", 0), 0u);
            },
            [&] { EXPECT_EQ(save_document_as(editor, state().document), SaveOutcome::failed); });
    }
    EXPECT_EQ(read_file_bytes(target), "keep me");
    EXPECT_EQ(state().document.name, current);
    EXPECT_EQ(title(), title_before);
}

TEST_F(DocumentSafetyTest, LoggingOffAsksLikeClosing)
{
    LRESULT answer = TRUE;
    with_dialogs([&] { answer_message_box("SAVE", IDCANCEL); },
                 [&] { answer = SendMessageA(main_window, WM_QUERYENDSESSION, 0, 0); });
    EXPECT_EQ(answer, FALSE);
    expect_unchanged();

    with_dialogs([&] { answer_message_box("SAVE", IDNO); },
                 [&] { answer = SendMessageA(main_window, WM_QUERYENDSESSION, 0, 0); });
    EXPECT_EQ(answer, TRUE);
    EXPECT_TRUE(IsWindow(main_window));
}

// Generated malformed RTF through the real Open: whatever the verdict, the
// editor never crashes. Every message box on the way is answered as it opens.
TEST_F(DocumentSafetyTest, MalformedRtfNeverBringsTheEditorDown)
{
    const std::string path = folder.file("malformed.rtf");
    int opened = 0;
    const AnswerEveryDialog answers;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        ASSERT_TRUE(write_file_bytes(path, malformed_rtf::make_any(seed)));
        opened += open_document_file(editor, state().document, path, FileKind::rtf);
    }
    EXPECT_GT(opened, 0);
    // Some were refused, each with its message.
    EXPECT_GT(answers.answered(), 0);
    EXPECT_TRUE(IsWindow(main_window));
}

class PasteLimitTest : public BareEditorTest {
protected:
    void put_on_clipboard(const std::wstring& text) { put_text_on_clipboard(editor, text); }
};

TEST_F(PasteLimitTest, APasteBeyondTheLimitIsRefusedWithAMessage)
{
    put_on_clipboard(L"0123456789");
    set_text("abc");
    select(3, 3);
    MessageBoxSeen seen;
    with_dialogs([&] { seen = answer_message_box("Forum Editor", IDOK); },
                 [&] { EXPECT_EQ(paste_within_limit(editor, 12), PasteOutcome::too_large); });
    EXPECT_NE(seen.text.find(program_text(IDS_PASTE_TOO_LARGE)), std::string::npos) << seen.text;
    EXPECT_EQ(text(), "abc");

    // What the paste replaces does not count.
    select(0, 3);
    without_dialogs([&] { EXPECT_EQ(paste_within_limit(editor, 12), PasteOutcome::pasted); });
    EXPECT_EQ(text(), "0123456789");
}
