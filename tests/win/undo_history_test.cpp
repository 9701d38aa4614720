// Undo and redo on the real Main window: every kind of step is undone and
// redone, and the document's text, its RTF and the selection are compared
// exactly with what they were.
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include <commctrl.h>

#include <cstring>
#include <functional>

#include "app/main_window_state.h"
#include "editor/markup_commands.h"
#include "res/resource_ids.h"
#include "editor/editor_text.h"

namespace {

DWORD CALLBACK append_rtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
    *written = count;
    return 0;
}

struct Snapshot {
    std::string text;
    std::string rtf;
    LONG first;
    LONG last;
};

// Holds keys down, as far as the key state that the window procedures ask
// for goes, for the length of a block.
class KeysHeld {
public:
    explicit KeysHeld(std::initializer_list<int> keys)
    {
        GetKeyboardState(saved_);
        BYTE held[256];
        std::memcpy(held, saved_, sizeof held);
        for (int key : keys)
            held[key] |= 0x80;
        SetKeyboardState(held);
    }
    ~KeysHeld() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

class UndoHistoryTest : public EditorTest {
protected:
    void run(WORD command) { SendMessageA(main_window, WM_COMMAND, command, 0); }

    std::string rtf() const
    {
        std::string out;
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&out), 0, append_rtf};
        SendMessageA(editor, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        return out;
    }

    // The text in UTF-8, every character whatever the code page; the RTF for
    // the formats.
    Snapshot snapshot() const { return {get_text(editor), rtf(), selection().cpMin, selection().cpMax}; }

    static void expect_same(const Snapshot& actual, const Snapshot& expected)
    {
        EXPECT_EQ(actual.text, expected.text);
        EXPECT_EQ(actual.rtf, expected.rtf);
        EXPECT_EQ(actual.first, expected.first);
        EXPECT_EQ(actual.last, expected.last);
    }

    void format(LONG first, LONG last, COLORREF color, DWORD effects)
    {
        select(first, last);
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
        format.crTextColor = color;
        format.dwEffects = effects;
        SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }

    // A post of three paragraphs in several colours and effects, saved as
    // it stands: the history starts here.
    void write_post()
    {
        set_text("Hello bold words\r\nred and teal\r\nthe end");
        format(6, 10, RGB(0, 0, 0), CFE_BOLD);
        format(18, 21, RGB(255, 0, 0), 0);
        format(26, 30, RGB(0, 128, 128), CFE_ITALIC | CFE_UNDERLINE);
        select(0, 0);
        state().history.start_new();
    }

    void type(std::u16string_view units)
    {
        for (char16_t unit : units)
            SendMessageW(editor, WM_CHAR, unit, 1);
    }

    void key(WORD virtual_key) { SendMessageW(editor, WM_KEYDOWN, virtual_key, 1); }

    bool modified() const { return SendMessageA(editor, EM_GETMODIFY, 0, 0) != 0; }

    // The edit is one step: undo brings back exactly what was before it and
    // redo exactly what was after it, each time.
    void expect_one_step(const std::function<void()>& edit)
    {
        const Snapshot before = snapshot();
        const std::size_t steps = undo_count();
        edit();
        const Snapshot after = snapshot();
        ASSERT_NE(after.rtf, before.rtf) << "the edit changed nothing";
        EXPECT_EQ(undo_count(), steps + 1);
        for (int round = 0; round < 2; ++round) {
            run(IDM_EDIT_UNDO);
            expect_same(snapshot(), before);
            run(IDM_EDIT_REDO);
            expect_same(snapshot(), after);
        }
    }

    // Counts by undoing everything and redoing it again; the selection stays.
    std::size_t undo_count()
    {
        const CHARRANGE selected = selection();
        std::size_t count = 0;
        while (state().history.can_undo() && count < 10000) {
            state().history.undo();
            ++count;
        }
        for (std::size_t i = 0; i < count; ++i)
            state().history.redo();
        select(selected.cpMin, selected.cpMax);
        return count;
    }
};

// The undo of a paste of many paragraphs builds the document anew in a
// fresh control (deleting them from Wine's control takes time in their
// square): exactly as it was, text, formats and selection, with the
// history going on as before.
TEST_F(UndoHistoryTest, TheUndoOfALargePasteGivesBackTheExactDocumentInAFreshControl)
{
    write_post();
    // Long enough to go in a slice at a time: Wine's own paste of plain
    // text makes a CR LF that straddles 4 KiB two paragraphs.
    std::wstring lines;
    const std::wstring words = L" of a paste so long that it goes in a slice at a time, as long ones do\r\n";
    for (int line = 0; line < 1300; ++line)
        lines += L"line " + std::to_wstring(line) + words;
    put_text_on_clipboard(main_window, lines);
    select(8, 8); // inside the bold word
    const Snapshot before = snapshot();
    run(IDM_EDIT_PASTE);
    const Snapshot pasted = snapshot();
    const HWND pasted_into = editor;

    for (int round = 0; round < 2; ++round) {
        run(IDM_EDIT_UNDO);
        editor = state().parts.editor;
        EXPECT_NE(editor, pasted_into);
        expect_same(snapshot(), before);
        EXPECT_FALSE(modified());
        EXPECT_FALSE(state().history.can_undo());
        run(IDM_EDIT_REDO);
        editor = state().parts.editor;
        expect_same(snapshot(), pasted);
        EXPECT_TRUE(modified());
    }
}

} // namespace

TEST_F(UndoHistoryTest, EveryMarkupCommandIsOneStepWhateverItWraps)
{
    struct Selection {
        const char* name;
        LONG first, last;
    };
    const Selection selections[] = {
        {"a word in one format", 11, 16},
        {"formats and a paragraph break", 3, 24},
        {"up to the end", 36, 39},
        {"nothing, at the caret", 12, 12},
    };
    for (const Markup& markup : markup_commands()) {
        for (const Selection& selected : selections) {
            SCOPED_TRACE(std::to_string(markup.id) + ", " + selected.name);
            write_post();
            select(selected.first, selected.last);
            expect_one_step([&] { run(markup.id); });
        }
    }
}

TEST_F(UndoHistoryTest, TheOtherCommandsThatChangeTheTextAreOneStepEach)
{
    const auto answer_color_dialog = [] {
        HWND dialog = wait_for_window(COLOR_DIALOG);
        set_control_text(dialog, 706, "200");
        close_with_button(dialog, IDOK);
    };
    const auto answer_font_dialog = [] { close_with_button(wait_for_window(FONT_DIALOG), IDOK); };
    struct Case {
        const char* name;
        std::string text;
        LONG first, last;
        WORD command;
        std::function<void()> dialogs;
    };
    const Case cases[] = {
        {"colour dialog", "", 6, 16, IDM_TAG_COLOR_DIALOG, answer_color_dialog},
        {"font dialog", "", 3, 24, IDM_EDIT_FONT, answer_font_dialog},
        {"plain font", "", 3, 24, IDM_PLAIN_FONT, {}},
        {"post link", "see https://forum.example.org/read.php?23,1676166,1676237#REPLY now", 4, 63, IDM_TAG_POST_LINK, {}},
        {"reflow", "word " + std::string(30, 'w') + " " + std::string(200, 'x') + " end", 0, 240, IDM_REFLOW, {}},
        {"cut", "", 3, 24, IDM_EDIT_CUT, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        write_post();
        if (!test.text.empty()) {
            set_text(test.text);
            state().history.start_new();
        }
        select(test.first, test.last);
        expect_one_step([&] {
            if (test.dialogs)
                with_dialogs(test.dialogs, [&] { run(test.command); });
            else
                without_dialogs([&] { run(test.command); });
        });
    }

    SCOPED_TRACE("paste over a selection");
    write_post();
    select(6, 16);
    run(IDM_EDIT_COPY);
    select(18, 30);
    expect_one_step([&] { run(IDM_EDIT_PASTE); });
}

TEST_F(UndoHistoryTest, ARunOfTypingIsOneStepAndACaretMoveEndsIt)
{
    write_post();
    select(16, 16);
    // Czech letters, a character beyond the BMP as its two halves, a tab and a paragraph.
    expect_one_step([&] { type(u" and \u017Elu\u0165ou\u010Dk\u00FD \U0001F600\t\r!"); });

    select(0, 0);
    key(VK_RIGHT);
    const std::size_t steps = undo_count();
    type(u"ab");
    key(VK_LEFT);
    type(u"c");
    EXPECT_EQ(undo_count(), steps + 2);

    // Typing over a selection takes it away in the same step.
    select(6, 10);
    expect_one_step([&] { type(u"thin"); });
}

TEST_F(UndoHistoryTest, RunsOfBackspaceAndOfDeleteAreOneStepEach)
{
    // Back over red letters, a paragraph break and the end of a word.
    write_post();
    select(20, 20);
    expect_one_step([&] {
        for (int i = 0; i < 5; ++i)
            key(VK_BACK);
    });
    EXPECT_EQ(text(), "Hello bold word and teal\r\nthe end");

    // Forward over teal letters and a paragraph break.
    write_post();
    select(28, 28);
    expect_one_step([&] {
        for (int i = 0; i < 4; ++i)
            key(VK_DELETE);
    });
    EXPECT_EQ(text(), "Hello bold words\r\nred and tehe end");

    // A selection goes in a step of its own.
    write_post();
    select(3, 24);
    expect_one_step([&] { key(VK_DELETE); });

    // Formats that vary go back as RTF, characters beyond the code page too.
    set_text("");
    type(u"\u0159\U0001F600 mixed \u03BC end");
    format(0, 3, RGB(255, 0, 0), CFE_BOLD);
    state().history.start_new();
    select(0, 11);
    expect_one_step([&] { key(VK_DELETE); });

    // A character beyond the BMP goes whole, either way.
    set_text("");
    type(u"a\U0001F600b");
    select(3, 3);
    key(VK_BACK);
    EXPECT_EQ(text_length(), 2);
    run(IDM_EDIT_UNDO);
    select(1, 1);
    key(VK_DELETE);
    EXPECT_EQ(text_length(), 2);
}

TEST_F(UndoHistoryTest, TheControlsOwnUndoRedoAndClipboardKeysLeadToTheHistory)
{
    write_post();
    select(6, 10);
    {
        const KeysHeld control({VK_CONTROL});
        expect_one_step([&] { key('X'); });
        select(0, 0);
        expect_one_step([&] { key('V'); });
        const Snapshot pasted = snapshot();
        key('Z');
        EXPECT_EQ(text(), "Hello  words\r\nred and teal\r\nthe end");
        key('Y');
        expect_same(snapshot(), pasted);
        key('Z');
        {
            const KeysHeld shift({VK_SHIFT});
            key('Z');
        }
        expect_same(snapshot(), pasted);

        // Keys with which the control would format on its own change nothing.
        for (WORD other : {WORD('L'), WORD('R'), WORD('J'), WORD('1'), WORD('5')})
            key(other);
        expect_same(snapshot(), pasted);
    }

    EXPECT_TRUE(SendMessageA(editor, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessageA(editor, EM_CANREDO, 0, 0));
    SendMessageA(editor, WM_UNDO, 0, 0);
    EXPECT_EQ(text(), "Hello  words\r\nred and teal\r\nthe end");
    EXPECT_TRUE(SendMessageA(editor, EM_CANREDO, 0, 0));
    SendMessageA(editor, EM_UNDO, 0, 0);
    EXPECT_EQ(text(), "Hello bold words\r\nred and teal\r\nthe end");
    EXPECT_FALSE(SendMessageA(editor, EM_CANUNDO, 0, 0));
}

TEST_F(UndoHistoryTest, DraggingTheSelectionIsOneStepAndAClickOnItPutsTheCaret)
{
    const auto point_of = [&](LONG at) {
        POINTL point{};
        SendMessageA(editor, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), at);
        return MAKELPARAM(point.x + 1, point.y + 2);
    };
    const auto drag = [&](LONG from, LONG to, WPARAM keys) {
        SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON | keys, point_of(from));
        SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON | keys, point_of(to));
        SendMessageW(editor, WM_LBUTTONUP, keys, point_of(to));
    };
    struct Case {
        const char* name;
        LONG first, last, to;
        WPARAM keys;
        const char* text;
        CHARRANGE dropped;
    };
    const Case cases[] = {
        {"forward", 6, 10, 32, 0, "Hello  words\r\nred and teal\r\nboldthe end", {28, 32}},
        {"backward", 26, 30, 0, 0, "tealHello bold words\r\nred and \r\nthe end", {0, 4}},
        {"copy with Ctrl", 6, 10, 0, MK_CONTROL, "boldHello bold words\r\nred and teal\r\nthe end", {0, 4}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        write_post();
        select(test.first, test.last);
        expect_one_step([&] { drag(test.first + 1, test.to, test.keys); });
        EXPECT_EQ(text(), test.text);
        EXPECT_EQ(selection().cpMin, test.dropped.cpMin);
        EXPECT_EQ(selection().cpMax, test.dropped.cpMax);
        EXPECT_EQ(GetCapture(), nullptr);
    }

    write_post();
    select(6, 10);
    const Snapshot before = snapshot();
    drag(7, 7, 0);
    EXPECT_EQ(snapshot().rtf, before.rtf);
    EXPECT_EQ(selection().cpMin, 7);
    EXPECT_EQ(selection().cpMax, 7);
    EXPECT_FALSE(state().history.can_undo());

    // A copy past the longest document is refused with a word, and nothing changes.
    state().parts.editor_subclass.size_limit = static_cast<std::size_t>(::text_length(editor)) + 3;
    select(6, 10);
    MessageBoxSeen refusal;
    with_dialogs([&] { refusal = answer_message_box("Forum Editor", IDOK); }, [&] { drag(7, 0, MK_CONTROL); });
    EXPECT_EQ(refusal.text.rfind(program_text(IDS_COPY_TOO_LARGE), 0), 0u) << refusal.text;
    EXPECT_EQ(snapshot().rtf, before.rtf);
    EXPECT_FALSE(state().history.can_undo());
}

TEST_F(UndoHistoryTest, ANewChangeAfterUndoDropsWhatCouldHaveBeenRedone)
{
    write_post();
    select(6, 10);
    run(IDM_TAG_BOLD);
    run(IDM_EDIT_UNDO);
    EXPECT_TRUE(state().history.can_redo());
    select(0, 0);
    type(u"x");
    EXPECT_FALSE(state().history.can_redo());
    run(IDM_EDIT_REDO);
    EXPECT_EQ(text(), "xHello bold words\r\nred and teal\r\nthe end");
}

TEST_F(UndoHistoryTest, UndoingBackToTheSavedTextMakesTheDocumentUnmodified)
{
    ScratchFolder folder;
    const std::string path = folder.file("post.rtf");
    write_post();
    state().document = {path, FileKind::rtf};
    run(IDM_FILE_SAVE);
    EXPECT_FALSE(modified());

    select(0, 0);
    type(u"more ");
    EXPECT_TRUE(modified());
    run(IDM_EDIT_UNDO);
    EXPECT_FALSE(modified());
    without_dialogs([&] { run(IDM_FILE_NEW); }); // nothing to ask
    EXPECT_EQ(text(), "");

    // From a saved document, a redo, or any change, is away from it again.
    set_text("");
    state().history.start_new();
    type(u"abc");
    run(IDM_EDIT_UNDO);
    EXPECT_FALSE(modified());
    run(IDM_EDIT_REDO);
    EXPECT_TRUE(modified());
    MessageBoxSeen question;
    with_dialogs([&] { question = answer_message_box("SAVE", IDNO); }, [&] { run(IDM_FILE_NEW); });
    EXPECT_EQ(question.text, "SAVE?");
}

TEST_F(UndoHistoryTest, NewAndOpenStartAnEmptyHistory)
{
    ScratchFolder folder;
    const std::string path = folder.file("post.txt");
    ASSERT_TRUE(write_file_bytes(path, "on disk"));
    type(u"typed");
    with_dialogs([&] { answer_message_box("SAVE", IDNO); }, [&] { run(IDM_FILE_NEW); });
    EXPECT_FALSE(state().history.can_undo());

    type(u"typed");
    with_dialogs(
        [&] {
            answer_message_box("SAVE", IDNO);
            fill_file_dialog("Open", path, 2, IDOK);
        },
        [&] { run(IDM_FILE_OPEN); });
    EXPECT_EQ(text(), "on disk");
    EXPECT_FALSE(state().history.can_undo());
    EXPECT_FALSE(modified());
}

TEST_F(UndoHistoryTest, UndoAndRedoItemsAndTheUndoButtonFollowTheHistory)
{
    HMENU edit = GetSubMenu(GetMenu(main_window), 1);
    HWND toolbar = state().parts.toolbar.window;
    const auto expect_enabled = [&](bool undo, bool redo) {
        SendMessageA(main_window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
        EXPECT_EQ(!(GetMenuState(edit, IDM_EDIT_UNDO, MF_BYCOMMAND) & MF_GRAYED), undo);
        EXPECT_EQ(!(GetMenuState(edit, IDM_EDIT_REDO, MF_BYCOMMAND) & MF_GRAYED), redo);
        EXPECT_EQ(SendMessageA(toolbar, TB_ISBUTTONENABLED, IDM_EDIT_UNDO, 0) != 0, undo);
    };
    expect_enabled(false, false);
    type(u"a");
    expect_enabled(true, false);
    run(IDM_EDIT_UNDO);
    expect_enabled(false, true);
    run(IDM_EDIT_REDO);
    expect_enabled(true, false);
}

TEST_F(UndoHistoryTest, ASaveAtTheQuestionBeforeACancelledOpenIsWhereTheDocumentIsUnmodified)
{
    ScratchFolder folder;
    const std::string path = folder.file("post.txt");
    state().document = {path, FileKind::text};
    type(u"saved text");
    with_dialogs(
        [&] {
            answer_message_box("SAVE", IDYES);
            fill_file_dialog("Open", "", 0, IDCANCEL);
        },
        [&] { run(IDM_FILE_OPEN); });
    EXPECT_EQ(read_file_bytes(path), "saved text");
    EXPECT_FALSE(modified());
    type(u"!");
    EXPECT_TRUE(modified());
    run(IDM_EDIT_UNDO);
    EXPECT_FALSE(modified()) << "back at the text on disk";
}
