#include "text/history/edit_history.h"
#include "text_generators.h"

#include <gtest/gtest.h>

#include <map>

namespace {

std::string joined(const Payload& payload)
{
    std::string text;
    for (const std::string& piece : payload)
        text += piece;
    return text;
}

// A plain-text stand-in for the Editor control (one byte, one character)
// that records its edits, and undoes and redoes them, as the Windows side will.
struct Editor {
    std::string text;
    std::int32_t caret = 0;
    EditHistory history;

    explicit Editor(HistoryLimits limits = {}) : history(limits) {}

    RecordOutcome replace(EditKind kind, std::int32_t start, std::int32_t length, const std::string& inserted)
    {
        const auto inserted_length = static_cast<std::int32_t>(inserted.size());
        EditStep step{kind, start, length, inserted_length, {text.substr(start, length)}, {inserted}, {caret, caret}};
        text.replace(start, length, inserted);
        caret = start + inserted_length;
        step.selection_after = {caret, caret};
        return history.record(std::move(step));
    }
    RecordOutcome type(const std::string& typed) { return replace(EditKind::typing, caret, 0, typed); }
    void backspace() { replace(EditKind::deleting_backward, caret - 1, 1, ""); }
    void del() { replace(EditKind::deleting_forward, caret, 1, ""); }
    void move_caret(std::int32_t to)
    {
        caret = to;
        history.break_coalescing();
    }
    bool undo()
    {
        const EditStep* step = history.undo();
        if (step) {
            text.replace(step->start, step->inserted_length, joined(step->before));
            caret = step->selection_before.caret;
        }
        return step;
    }
    bool redo()
    {
        const EditStep* step = history.redo();
        if (step) {
            text.replace(step->start, step->removed_length, joined(step->after));
            caret = step->selection_after.caret;
        }
        return step;
    }
};

TEST(EditHistory, RunsOfTypingBackspaceAndDeleteUndoAsOneStepEach)
{
    Editor editor;
    editor.type("say ");
    for (char c : std::string("hello"))
        EXPECT_EQ(editor.type(std::string(1, c)), RecordOutcome::merged);
    editor.backspace();
    editor.backspace();
    editor.move_caret(1);
    editor.del();
    editor.del();
    EXPECT_EQ(editor.text, "s hel");
    EXPECT_EQ(editor.history.undo_count(), 3u);

    // Deleted pieces go back in document order, and the caret where it was.
    const std::pair<const char*, std::int32_t> undone[] = {{"say hel", 1}, {"say hello", 9}, {"", 0}};
    for (const auto& [text, caret] : undone) {
        ASSERT_TRUE(editor.undo());
        EXPECT_EQ(editor.text, text);
        EXPECT_EQ(editor.caret, caret);
    }
    EXPECT_FALSE(editor.undo());
    while (editor.redo()) {
    }
    EXPECT_EQ(editor.text, "s hel");
}

TEST(EditHistory, RunEndsAtAnythingButTheNextAdjoiningKeystroke)
{
    struct Case {
        const char* name;
        void (*then)(Editor&);
        std::size_t steps;
    };
    const Case cases[] = {
        {"caret moved", [](Editor& e) { e.move_caret(e.caret); e.type("x"); }, 2},
        {"undone and redone", [](Editor& e) { e.undo(); e.redo(); e.type("x"); }, 2},
        {"saved", [](Editor& e) { e.history.mark_saved(); e.type("x"); }, 2},
        {"typing elsewhere", [](Editor& e) { e.caret = 1; e.type("x"); }, 2},
        {"typing over a selection", [](Editor& e) { e.replace(EditKind::typing, e.caret - 1, 1, "x"); }, 2},
        {"switch to deleting", [](Editor& e) { e.backspace(); }, 2},
        {"paste", [](Editor& e) { e.replace(EditKind::clipboard, e.caret, 0, "x"); }, 2},
        {"typing after a command", [](Editor& e) { e.replace(EditKind::command, 0, 0, "[b]"); e.type("x"); }, 3},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Editor editor;
        editor.type("abc");
        test.then(editor);
        EXPECT_EQ(editor.history.undo_count(), test.steps);
    }
}

TEST(EditHistory, ModifiedExactlyAwayFromTheSavedPosition)
{
    Editor editor;
    EXPECT_FALSE(editor.history.is_modified());
    editor.type("draft");
    editor.history.mark_saved();
    editor.type(" more");
    EXPECT_TRUE(editor.history.is_modified());
    editor.undo();
    EXPECT_FALSE(editor.history.is_modified()) << "undone back to the saved text";
    editor.undo();
    EXPECT_TRUE(editor.history.is_modified()) << "undone past it";
    editor.redo();
    EXPECT_FALSE(editor.history.is_modified());

    // A new branch from before the saved position makes it unreachable,
    // though the new text stands just as many steps from the start.
    editor.undo();
    editor.type("other");
    EXPECT_TRUE(editor.history.is_modified());
    EXPECT_FALSE(editor.history.can_redo());
    editor.history.mark_saved();
    EXPECT_FALSE(editor.history.is_modified());

    editor.history.clear();
    EXPECT_FALSE(editor.history.is_modified());
    EXPECT_FALSE(editor.history.can_undo());
    EXPECT_EQ(editor.history.memory_bytes(), 0u);
}

TEST(EditHistory, OldestStepsGoFirstAtTheStepLimit)
{
    Editor editor;
    editor.history.mark_saved();
    for (int i = 0; i < 1005; ++i) {
        editor.move_caret(editor.caret);
        editor.type(std::to_string(i % 10));
    }
    EXPECT_EQ(editor.history.undo_count(), 1000u);
    while (editor.undo()) {
    }
    EXPECT_EQ(editor.text, "01234") << "the first five steps are no longer undoable";
    EXPECT_TRUE(editor.history.is_modified()) << "the saved position went with them";
}

TEST(EditHistory, MemoryStaysWithinTheByteBudget)
{
    const std::string paste(1000, 'p');
    const std::size_t step_bytes = edit_step_bytes(EditStep{.before = {""}, .after = {paste}});
    Editor editor(HistoryLimits{.max_steps = 1000, .max_bytes = 3 * step_bytes});
    for (int i = 0; i < 5; ++i)
        editor.replace(EditKind::clipboard, editor.caret, 0, paste);
    EXPECT_EQ(editor.history.undo_count(), 3u);
    EXPECT_EQ(editor.history.memory_bytes(), 3 * step_bytes);

    // A typing run that grows pushes older steps out.
    for (int i = 0; i < 20; ++i)
        editor.type("t");
    EXPECT_LE(editor.history.memory_bytes(), 3 * step_bytes);
    EXPECT_EQ(editor.history.undo_count(), 3u);
    EXPECT_EQ(editor.history.top()->inserted_length, 20);

    editor.history.mark_saved();
    EXPECT_EQ(editor.replace(EditKind::clipboard, 0, 0, std::string(4 * step_bytes, 'x')), RecordOutcome::not_kept);
    EXPECT_FALSE(editor.history.can_undo());
    EXPECT_EQ(editor.history.memory_bytes(), 0u);
    EXPECT_TRUE(editor.history.is_modified());
}

// Any mix of edits, caret moves, undos and redos: undoing to the start and
// redoing to the end gives back the text the document had at each position.
TEST(EditHistory, UndoAndRedoRestoreEveryTextExactly)
{
    gen::Random random(7);
    for (int round = 0; round < 200; ++round) {
        Editor editor;
        std::map<std::size_t, std::string> texts{{0, ""}}; // by undo_count()
        for (int action = 0; action < 120; ++action) {
            const auto length = static_cast<std::int32_t>(editor.text.size());
            const auto anywhere = static_cast<std::int32_t>(gen::below(random, length + 1));
            const std::size_t choice = gen::below(random, 9);
            if (choice == 0)
                editor.move_caret(anywhere);
            else if (choice == 1)
                editor.undo();
            else if (choice == 2)
                editor.redo();
            else if (choice == 3 && editor.caret > 0)
                editor.backspace();
            else if (choice == 4 && editor.caret < length)
                editor.del();
            else if (choice == 5)
                editor.replace(EditKind::command, anywhere, static_cast<std::int32_t>(gen::below(random, length - anywhere + 1)),
                               gen::from_alphabet(random, "XYZ", gen::below(random, 4)));
            else
                editor.type(gen::from_alphabet(random, "abc", 1));
            const std::size_t position = editor.history.undo_count();
            if (choice > 2) // an edit drops what could have been redone
                texts.erase(texts.upper_bound(position), texts.end());
            texts[position] = editor.text;
        }
        ASSERT_EQ(texts.size(), editor.history.undo_count() + editor.history.redo_count() + 1);
        while (editor.undo())
            ASSERT_EQ(editor.text, texts[editor.history.undo_count()]) << "round " << round;
        while (editor.redo())
            ASSERT_EQ(editor.text, texts[editor.history.undo_count()]) << "round " << round;
    }
}

} // namespace
