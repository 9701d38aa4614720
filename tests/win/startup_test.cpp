// What a start does before the window waits for the user, and what it
// leaves until it is needed: the preview's control comes when the preview
// is first shown, the smileys' pictures when their popup first opens, and
// the window is sized and laid out once.
#include "editor_fixture.h"

#include <cstring>

#include "app/post_review.h"
#include "app/settings.h"
#include "app/startup.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"

namespace {

// Counts the WM_SIZE messages that Main windows get on this thread while
// it lives: each is a layout of all the window's parts.
class LayoutCounter {
public:
    LayoutCounter() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, count, nullptr, GetCurrentThreadId()))
    {
        layouts_ = 0;
    }
    ~LayoutCounter() { UnhookWindowsHookEx(hook_); }
    LayoutCounter(const LayoutCounter&) = delete;
    LayoutCounter& operator=(const LayoutCounter&) = delete;

    bool hooked() const { return hook_ != nullptr; }
    int layouts() const { return layouts_; }

private:
    static LRESULT CALLBACK count(int code, WPARAM wparam, LPARAM lparam)
    {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
        char class_name[64]{};
        if (code == HC_ACTION && sent->message == WM_SIZE && GetClassNameA(sent->hwnd, class_name, sizeof class_name) &&
            std::strcmp(class_name, FORUM_EDITOR_CLASS) == 0)
            ++layouts_;
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }

    static inline int layouts_ = 0;
    HHOOK hook_;
};

class StartupTest : public EditorTest {
protected:
    void SetUp() override
    {
        preview_was_shown_ = load_settings().preview_shown;
        EditorTest::SetUp();
    }

    void TearDown() override
    {
        EditorTest::TearDown();
        save_preview_shown(preview_was_shown_);
    }

    // Starts the window again, as a start of the program does, with the
    // preview left shown or hidden; how many layouts the start took, until
    // nothing more waits.
    int start_again(bool preview_shown)
    {
        save_preview_shown(preview_shown);
        LayoutCounter counter;
        EXPECT_TRUE(counter.hooked());
        recreate_main_window(SW_SHOWNORMAL);
        return counter.layouts();
    }

    HMENU smiley_popup() const
    {
        HMENU bar = GetMenu(main_window);
        return GetSubMenu(bar, GetMenuItemCount(bar) - 1);
    }

    void open_popup(HMENU popup) { SendMessageW(main_window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 7); }

private:
    bool preview_was_shown_ = false;
};

} // namespace

TEST_F(StartupTest, WithThePreviewHiddenItsControlIsMadeOnlyWhenItIsFirstShown)
{
    start_again(false);
    EXPECT_EQ(state().parts.preview.window, nullptr);
    EXPECT_EQ(GetDlgItem(main_window, IDC_PREVIEW), nullptr);

    SendMessageW(main_window, WM_COMMAND, IDM_PREVIEW_TOGGLE, 0);
    HWND preview = state().parts.preview.window;
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(GetDlgItem(main_window, IDC_PREVIEW), preview);
    EXPECT_TRUE(IsWindowVisible(preview));
    EXPECT_GT(state().review.splitter.right, state().review.splitter.left);
    // It shows the post at once, and takes the smileys' pictures along.
    set_text("[b]Ahoj[/b]");
    review_post_now(state());
    for (int step = 0; step < 1000 && !update_preview_step(state().parts.preview); ++step) {
    }
    EXPECT_EQ(get_text(preview).rfind("Ahoj", 0), 0u) << get_text(preview);
    EXPECT_FALSE(state().parts.preview.options.pictures.empty());

    // Hidden and shown again, it is the same control.
    SendMessageW(main_window, WM_COMMAND, IDM_PREVIEW_TOGGLE, 0);
    EXPECT_FALSE(IsWindowVisible(preview));
    SendMessageW(main_window, WM_COMMAND, IDM_PREVIEW_TOGGLE, 0);
    EXPECT_EQ(state().parts.preview.window, preview);
    EXPECT_TRUE(IsWindowVisible(preview));
}

TEST_F(StartupTest, WithThePreviewLeftShownItIsThereAndBesideTheEditorFromTheStart)
{
    start_again(true);
    HWND preview = state().parts.preview.window;
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(IsWindowVisible(preview));
    EXPECT_TRUE(GetMenuState(GetMenu(main_window), IDM_PREVIEW_TOGGLE, MF_BYCOMMAND) & MF_CHECKED);
    RECT editor_rect{}, preview_rect{};
    GetWindowRect(editor, &editor_rect);
    GetWindowRect(preview, &preview_rect);
    EXPECT_GT(editor_rect.right - editor_rect.left, 0);
    EXPECT_GT(preview_rect.left, editor_rect.right);
}

TEST_F(StartupTest, TheSmileysPicturesLoadWhenTheirPopupFirstOpensAndOnlyThen)
{
    EXPECT_TRUE(state().parts.smiley_pictures.empty());
    HMENU smileys = smiley_popup();
    ASSERT_NE(smileys, nullptr);
    EXPECT_EQ(GetMenuItemCount(smileys), 0);

    open_popup(smileys);
    ASSERT_EQ(GetMenuItemCount(smileys), static_cast<int>(SMILEY_COUNT));
    ASSERT_EQ(state().parts.smiley_pictures.size(), SMILEY_COUNT);
    const HBITMAP first = state().parts.smiley_pictures.front().get();

    // Opened again, nothing is loaded or added again.
    open_popup(smileys);
    EXPECT_EQ(GetMenuItemCount(smileys), static_cast<int>(SMILEY_COUNT));
    EXPECT_EQ(state().parts.smiley_pictures.front().get(), first);
    // Another popup is no business of theirs.
    open_popup(GetSubMenu(GetMenu(main_window), 1));
    EXPECT_EQ(state().parts.smiley_pictures.size(), SMILEY_COUNT);
}

// The frame was laid out while still hidden, when the preview's state was
// applied, and again when it moved to its kept place.
TEST_F(StartupTest, TheWindowIsLaidOutOnceWhereverItOpens)
{
    EXPECT_EQ(start_again(false), 1);
    EXPECT_EQ(start_again(true), 1);

    ASSERT_TRUE(save_window_memory({{140, 70, 140 + 720, 70 + 540}, false, 300}));
    EXPECT_EQ(start_again(true), 1);
    RECT rect{};
    GetWindowRect(main_window, &rect);
    EXPECT_EQ(rect.left, 140);
    EXPECT_EQ(rect.right - rect.left, 720);
    EXPECT_EQ(state().review.preview_per_mille, 300);
    // The panes stand as the kept share puts them.
    RECT client{};
    GetClientRect(main_window, &client);
    const LONG splitter = state().review.splitter.left;
    EXPECT_NEAR(splitter, client.right * 700 / 1000, 10);
    EXPECT_EQ(start_again(false), 1);
}
