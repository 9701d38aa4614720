// Real key presses through the input queue (SendInput), so that the key
// state the Editor control's subclass asks for is the one the user has.
// These tests need the keyboard to themselves and run one at a time.
#include "../editor_fixture.h"

#include "res/resource_ids.h"

namespace {

// The key messages this thread has taken from its queue.
thread_local std::size_t t_keys_taken = 0;

LRESULT CALLBACK count_key(int code, WPARAM wparam, LPARAM lparam)
{
    if (code == HC_ACTION)
        ++t_keys_taken;
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

class EditorKeysTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        hook_ = SetWindowsHookExA(WH_KEYBOARD, count_key, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook_, nullptr);
        SetForegroundWindow(main_window);
        SetFocus(editor);
        ASSERT_TRUE(pump_until([&] { return GetForegroundWindow() == main_window && GetFocus() == editor; }));
    }

    void TearDown() override
    {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        EditorTest::TearDown();
    }

    // Waits until the window procedures have had every key sent so far.
    static void settle(std::size_t keys_sent)
    {
        EXPECT_TRUE(pump_until([&] { return t_keys_taken >= keys_sent; }))
            << t_keys_taken << " of " << keys_sent << " keys arrived";
        pump_messages();
    }

    static INPUT key_input(WORD key, bool release)
    {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
        if (key == VK_RSHIFT || (key >= VK_PRIOR && key <= VK_DOWN))
            input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        return input;
    }

    static void send_keys(std::initializer_list<std::pair<WORD, bool>> keys)
    {
        std::vector<INPUT> inputs;
        for (auto [key, release] : keys)
            inputs.push_back(key_input(key, release));
        const std::size_t expected = t_keys_taken + inputs.size();
        ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
        settle(expected);
    }

    static void tap(WORD key) { send_keys({{key, false}, {key, true}}); }

    // Wraps "abc" in bold tags, which leaves the insertion selected in the
    // tags' format, not the plain one.
    void wrap_bold()
    {
        set_text("abc");
        select(0, 3);
        SendMessageA(main_window, WM_COMMAND, IDM_TAG_BOLD, 0);
        ASSERT_FALSE(caret_is_plain());
    }

    bool caret_is_plain()
    {
        const CHARFORMAT2A format = selection_format();
        return format.crTextColor == RGB(0, 0, 0) && !(format.dwEffects & CFE_BOLD);
    }

    HHOOK hook_ = nullptr;
};

} // namespace

TEST_F(EditorKeysTest, ReleasingRightAfterAWrapMakesTheCaretPlainOnce)
{
    wrap_bold();
    ASSERT_TRUE(selection_format().dwEffects & CFE_BOLD);

    tap(VK_RIGHT);

    EXPECT_EQ(selection().cpMin, selection().cpMax);
    EXPECT_TRUE(caret_is_plain());
    SendMessageA(editor, WM_CHAR, 'z', 0);
    select(10, 11);
    EXPECT_FALSE(selection_format().dwEffects & CFE_BOLD);
}

TEST_F(EditorKeysTest, LeftResetsToo)
{
    wrap_bold();
    tap(VK_LEFT);
    EXPECT_TRUE(caret_is_plain());
}

TEST_F(EditorKeysTest, HoldingLeftShiftExtendsTheSelectionWithoutAReset)
{
    wrap_bold();
    send_keys({{VK_LSHIFT, false}, {VK_RIGHT, false}, {VK_RIGHT, true}});
    EXPECT_FALSE(caret_is_plain());
    send_keys({{VK_LSHIFT, true}});
    EXPECT_FALSE(caret_is_plain());
}

TEST_F(EditorKeysTest, OnlyTheRightShiftHeldDoesNotPreventTheReset)
{
    wrap_bold();
    send_keys({{VK_RSHIFT, false}, {VK_RIGHT, false}, {VK_RIGHT, true}, {VK_RSHIFT, true}});
    EXPECT_TRUE(caret_is_plain());
}

TEST_F(EditorKeysTest, OtherKeysNeverReset)
{
    wrap_bold();
    for (WORD key : std::initializer_list<WORD>{VK_UP, VK_DOWN, VK_HOME, VK_END, VK_SPACE, 'Q'}) {
        SCOPED_TRACE(key);
        tap(key);
        EXPECT_FALSE(caret_is_plain());
    }
}


TEST_F(EditorKeysTest, RightAfterAWrapAtTheEndPutsTheCaretRightBehindTheTagAndTypingGoesOnThere)
{
    wrap_bold();
    tap(VK_RIGHT);
    EXPECT_EQ(selection().cpMin, 10);
    EXPECT_EQ(selection().cpMax, 10);

    tap('X');

    EXPECT_EQ(text(), "[b]abc[/b]x");
}

TEST_F(EditorKeysTest, LeftAndRightCollapseASelectionToItsEnds)
{
    set_text("abcdef");
    select(2, 4);
    tap(VK_LEFT);
    EXPECT_EQ(selection().cpMin, 2);
    EXPECT_EQ(selection().cpMax, 2);

    select(2, 4);
    tap(VK_RIGHT);
    EXPECT_EQ(selection().cpMin, 4);
    EXPECT_EQ(selection().cpMax, 4);

    select(2, 4);
    send_keys({{VK_LSHIFT, false}, {VK_RIGHT, false}, {VK_RIGHT, true}, {VK_LSHIFT, true}});
    EXPECT_EQ(selection().cpMax - selection().cpMin, 3);
}

TEST_F(EditorKeysTest, RightAtTheEndOfTheTextStaysThereAndWhatIsTypedIsKept)
{
    set_text("abc");
    select(3, 3);
    tap(VK_RIGHT);
    tap(VK_RIGHT);
    tap('X');
    EXPECT_EQ(text(), "abcx");
}
