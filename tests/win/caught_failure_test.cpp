// A failure thrown while a window of the editor handles a message stops
// where the message came in: the editor goes on, says once what happened
// and writes the unsaved text into its recovery copy.
#include "dialog_automation.h"
#include "editor_fixture.h"
#include "wine_host.h"

#include <new>

#include "app/main_window_state.h"
#include "document/draft_store.h"
#include "win/caught_failure.h"

namespace {

constexpr UINT FAILING_MESSAGE = WM_USER + 1;
constexpr LRESULT NOT_HANDLED = 7;

// A window of the editor's kind whose handler runs out of memory.
LRESULT CALLBACK failing_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guarded(window, message, NOT_HANDLED, [&]() -> LRESULT {
        if (message == FAILING_MESSAGE)
            throw std::bad_alloc();
        return DefWindowProcW(window, message, wparam, lparam);
    });
}

class CaughtFailureTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        state().recovery.folder = std::wstring(folder.path.begin(), folder.path.end());
        WNDCLASSW failing_class{};
        failing_class.lpfnWndProc = failing_proc;
        failing_class.hInstance = GetModuleHandleW(nullptr);
        failing_class.lpszClassName = L"ForumEditorFailingTest";
        RegisterClassW(&failing_class);
        failing = CreateWindowExW(0, L"ForumEditorFailingTest", L"", WS_CHILD, 0, 0, 10, 10, main_window, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(failing, nullptr);
    }

    ScratchFolder folder;
    HWND failing = nullptr;
};

TEST_F(CaughtFailureTest, IsToldOnceAndTheUnsavedTextGoesIntoTheRecoveryCopy)
{
    for (char key : std::string("keep me"))
        SendMessageA(editor, WM_CHAR, static_cast<WPARAM>(key), 0);
    MessageBoxSeen seen;
    with_dialogs([&] { seen = answer_message_box("Error", IDOK); },
                 [&] {
                     EXPECT_EQ(SendMessageW(failing, FAILING_MESSAGE, 0, 0), NOT_HANDLED);
                     pump_messages();
                 });
    EXPECT_EQ(seen.text.rfind("Editoru do", 0), 0u) << seen.text; // "... došla paměť"
    EXPECT_NE(seen.text.find("0x0401"), std::string::npos) << seen.text;
    ASSERT_TRUE(state().recovery.writer);
    state().recovery.writer->wait_until_idle();
    EXPECT_EQ(find_drafts(state().recovery.folder).size(), 1u);

    // The same failure again is not told again; the editor works on.
    without_dialogs([&] {
        SendMessageW(failing, FAILING_MESSAGE, 0, 0);
        pump_messages();
        SendMessageA(editor, WM_CHAR, '!', 0);
    });
    EXPECT_EQ(text(), "keep me!");
}

} // namespace
