// Every character survives: text in many scripts through paste, every kind
// of command and copy, files in every encoding, typing, and file names.
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include "app/file_commands.h"
#include "text/unicode/unicode_text.h"
#include "editor/color_tag.h"
#include "res/resource_ids.h"
#include "editor/editor_text.h"
#include "text/unicode/wide_text.h"

namespace {

// Czech, Polish, German, Cyrillic, Greek, Arabic and Hebrew (right to left),
// Chinese and Japanese, emoji with a skin tone and a family joined by ZWJ,
// and combining accents.
const std::string CORPUS = "Příliš žluťoučký kůň; Zażółć gęślą jaźń; Größe; Привет мир; Καλημέρα; "
                           "مرحبا بالعالم; שלום עולם; 你好世界; こんにちは; 👍🏽 👨‍👩‍👧‍👦; e\xCC\x81 a\xCC\x8A";

class UnicodeTest : public EditorTest {
protected:
    void run(WORD id) { SendMessageW(main_window, WM_COMMAND, id, 0); }

    void put_on_clipboard(const std::string& text) { put_text_on_clipboard(main_window, to_wide(text)); }

    std::string clipboard_text()
    {
        std::string text;
        if (!OpenClipboard(main_window))
            return text;
        if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
            text = from_wide(static_cast<const wchar_t*>(GlobalLock(block)));
            GlobalUnlock(block);
        }
        CloseClipboard();
        return text;
    }

    // Pastes the text into an empty document, lets `command` work on all of
    // it, and returns what a copy of the whole post puts on the clipboard.
    std::string through(const std::string& text, const std::function<void()>& command)
    {
        SetWindowTextW(editor, L"");
        put_on_clipboard(text);
        run(IDM_EDIT_PASTE);
        run(IDM_EDIT_SELECTALL);
        command();
        run(IDM_EDIT_SELECTALL);
        run(IDM_EDIT_COPY);
        return clipboard_text();
    }

    ScratchFolder folder;
};

} // namespace

TEST_F(UnicodeTest, TextInEveryScriptSurvivesPasteEveryKindOfCommandAndCopy)
{
    EXPECT_EQ(through(CORPUS, [] {}), CORPUS);
    EXPECT_EQ(through(CORPUS, [&] { run(IDM_TAG_BOLD); }), "[b]" + CORPUS + "[/b]");
    EXPECT_EQ(through(CORPUS, [&] { run(IDM_COLOR_PRESET_0 + 4); }), "[b][color=#008080]" + CORPUS + "[/color][/b]");
    const std::string smiley = through(CORPUS, [&] { run(IDM_SMILEY_FIRST); });
    EXPECT_EQ(smiley.rfind("[img]", 0), 0u);
    EXPECT_EQ(smiley.substr(smiley.find("[/img] ") + 7), CORPUS);
    EXPECT_EQ(through(CORPUS, [&] { insert_color_tag(editor, RGB(255, 0, 0), "[color=#", "[/color]"); }),
              "[color=#FF0000] " + CORPUS + "[/color]");
    const std::string address = "https://forum.example.org/read.php?Příliš😀,1,22#REPLY";
    EXPECT_EQ(through(address, [&] { run(IDM_TAG_POST_LINK); }),
              "[url]https://forum.example.org/read.php?Příliš😀,1,22#msg-22[/url]");
    // Reflow puts each address on a line of its own and breaks lines at
    // 80 characters, counting characters, not bytes.
    const std::string reflowed = through(CORPUS + " " + CORPUS, [&] { run(IDM_REFLOW); });
    EXPECT_EQ(count_code_points(reflowed), count_code_points(CORPUS) * 2 + 1);
    EXPECT_NE(reflowed.find('\n'), std::string::npos);
    EXPECT_TRUE(is_valid_utf8(reflowed));
}

TEST_F(UnicodeTest, TypedCharactersBeyondTheCodePageArriveWhole)
{
    SetFocus(editor);
    for (wchar_t typed : {L'\x041F', L'\x0159', L'\xD83D', L'\xDE00', L'!'})
        PostMessageW(editor, WM_CHAR, typed, 1);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    EXPECT_EQ(get_text(editor), "Пř😀!");
}

TEST_F(UnicodeTest, TextFilesOpenAndSaveInTheirEncodingByteExact)
{
    const std::u16string utf16 = utf8_to_utf16(CORPUS + "\r\nline two\n");
    std::string le, be;
    for (char16_t unit : utf16) {
        le += static_cast<char>(unit & 0xFF);
        le += static_cast<char>(unit >> 8);
        be += static_cast<char>(unit >> 8);
        be += static_cast<char>(unit & 0xFF);
    }
    const std::pair<const char*, std::string> files[] = {
        {"utf8.txt", CORPUS + "\r\nline two\n"},
        {"utf8-bom.txt", "\xEF\xBB\xBF" + CORPUS + "\r\nline two\n"},
        {"utf16le.txt", "\xFF\xFE" + le},
        {"utf16be.txt", "\xFE\xFF" + be},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const std::string path = folder.file(name);
        ASSERT_TRUE(write_file_bytes(path, bytes));
        without_dialogs([&] { ASSERT_TRUE(open_document_file(editor, state().document, path, FileKind::text)); });
        EXPECT_EQ(get_text(editor), CORPUS + "\r\nline two\n");

        without_dialogs([&] { EXPECT_EQ(save_document(editor, state().document), SaveOutcome::saved); });
        EXPECT_EQ(read_file_bytes(path), bytes);
    }
}

TEST_F(UnicodeTest, TextBeyondTheCodePageIsSavedAsUtf8AndTheUserIsTold)
{
    const std::string path = folder.file("old.txt");
    ASSERT_TRUE(write_file_bytes(path, "plain"));
    without_dialogs([&] { ASSERT_TRUE(open_document_file(editor, state().document, path, FileKind::text)); });
    EXPECT_EQ(state().document.encoding, TextEncoding::ansi);

    put_on_clipboard(" Привет 😀");
    SendMessageW(editor, EM_SETSEL, 5, 5);
    run(IDM_EDIT_PASTE);
    MessageBoxSeen notice;
    with_dialogs([&] { notice = answer_message_box("Forum Editor", IDOK); },
                 [&] { EXPECT_EQ(save_document(editor, state().document), SaveOutcome::saved); });
    EXPECT_NE(notice.text.find("UTF-8"), std::string::npos) << notice.text;
    EXPECT_EQ(read_file_bytes(path), "plain Привет 😀");

    // Told once: the file is UTF-8 from now on.
    without_dialogs([&] { EXPECT_EQ(save_document(editor, state().document), SaveOutcome::saved); });
}

TEST_F(UnicodeTest, AFileThatBreaksItsEncodingStillOpensWithReplacementCharacters)
{
    const std::string path = folder.file("broken.txt");
    ASSERT_TRUE(write_file_bytes(path, "\xEF\xBB\xBFgood \xC3 bad \xFF end"));
    MessageBoxSeen notice;
    with_dialogs([&] { notice = answer_message_box("Forum Editor", IDOK); },
                 [&] { ASSERT_TRUE(open_document_file(editor, state().document, path, FileKind::text)); });
    EXPECT_EQ(get_text(editor), "good \xEF\xBF\xBD bad \xEF\xBF\xBD end");
}

TEST_F(UnicodeTest, RtfKeepsEveryCharacterForThisEditorAndForLibreOffice)
{
    SetWindowTextW(editor, L"");
    put_on_clipboard(CORPUS);
    run(IDM_EDIT_PASTE);
    const std::string path = folder.file("post.rtf");
    state().document = {path, FileKind::rtf};
    without_dialogs([&] { EXPECT_EQ(save_document(editor, state().document), SaveOutcome::saved); });

    SetWindowTextW(editor, L"");
    without_dialogs([&] { ASSERT_TRUE(open_document_file(editor, state().document, path, FileKind::rtf)); });
    EXPECT_EQ(get_text(editor), CORPUS);

    const auto office = run_unix_command("command -v soffice");
    if (!office || office->exit_code != 0)
        GTEST_SKIP() << "LibreOffice is not installed";
    const std::string out_dir = unix_path(folder.path);
    const auto converted = run_unix_command("cd '" + out_dir + "' && HOME='" + out_dir +
                                                "' soffice --headless --convert-to txt:Text post.rtf",
                                            120000);
    ASSERT_TRUE(converted.has_value());
    const auto text = read_file_bytes(folder.file("post.txt"));
    ASSERT_TRUE(text.has_value()) << converted->output;
    EXPECT_NE(text->find("Příliš žluťoučký kůň"), std::string::npos) << *text;
    EXPECT_NE(text->find("Привет мир"), std::string::npos) << *text;
    EXPECT_NE(text->find("👍🏽"), std::string::npos) << *text;
}

TEST_F(UnicodeTest, AUnicodeFileNameIsNeverMappedToItsLookAlike)
{
    const std::string look_alike = folder.file("prispevek  Privet.rtf");
    ASSERT_TRUE(write_file_bytes(look_alike, "look-alike"));
    const std::string path = folder.file("příspěvek 😀 Привет.rtf");
    SetWindowTextW(editor, L"words");
    state().document = {path, FileKind::rtf};
    without_dialogs([&] { EXPECT_EQ(save_document(editor, state().document), SaveOutcome::saved); });

    EXPECT_EQ(read_file_bytes(look_alike), "look-alike");
    const std::wstring wide_path = to_wide(path);
    EXPECT_NE(GetFileAttributesW(wide_path.c_str()), INVALID_FILE_ATTRIBUTES);
    SetWindowTextW(editor, L"");
    without_dialogs([&] { ASSERT_TRUE(open_document_file(editor, state().document, path, FileKind::rtf)); });
    EXPECT_EQ(get_text(editor).substr(0, 5), "words");
    wchar_t title[512]{};
    GetWindowTextW(main_window, title, 512);
    EXPECT_EQ(from_wide(title), "Editor [" + path + "]");
}
