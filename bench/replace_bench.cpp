// Replace All of 5,000 matches in a post of about 60,000 characters, run
// through the real Replace dialog in the Main window under Wine, against a
// budget of 300 ms; the one undo that takes it back; and, as the floor under
// both, what the control alone needs to take the replaced post in one piece.
#include <windows.h>
#include <dlgs.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "app/main_window_state.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"

namespace {

constexpr int RUNS = 7;
constexpr int MATCHES = 5000;
constexpr double BUDGET_MS = 300.0;

// Short lines of prose with the word in each sentence, in two letter cases.
std::u16string post_with(std::u16string_view word, std::u16string_view upper_case)
{
    std::u16string post;
    for (int i = 0; i < MATCHES; ++i) {
        post += u"Můj ";
        post += i % 3 == 0 ? upper_case : word;
        post += i % 10 == 9 ? u" spí\r\n" : u" spí ";
    }
    return post;
}

void click(HWND dialog, int button)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    HWND main_window = open_main_window();
    if (!main_window)
        return 1;
    MainWindowState& state = *main_window_state(main_window);
    HWND editor = state.parts.editor;
    const std::u16string post = post_with(u"kůň", u"KŮŇ");
    const std::u16string replaced = post_with(u"hřebec", u"hřebec");

    SendMessageW(main_window, WM_COMMAND, IDM_REPLACE, 0);
    HWND dialog = state.search.dialog.window;
    if (!dialog)
        return 1;
    SetDlgItemTextW(dialog, edt1, L"kůň");
    SetDlgItemTextW(dialog, edt2, L"hřebec");

    std::vector<double> replaces, undos, floors, ratios;
    for (int run = 0; run < RUNS; ++run) {
        set_selection(editor, 0, -1);
        replace_selection_utf16(editor, post);
        set_selection(editor, 0, 0);
        UpdateWindow(editor);
        // The control alone, past the history.
        double start = now_ms();
        {
            RedrawPause pause(editor);
            set_selection(editor, 0, -1);
            replace_selection_utf16(editor, replaced);
        }
        UpdateWindow(editor);
        floors.push_back(now_ms() - start);
        set_selection(editor, 0, -1);
        replace_selection_utf16(editor, post);
        set_selection(editor, 0, 0);
        UpdateWindow(editor);

        start = now_ms();
        click(dialog, psh2);
        UpdateWindow(editor);
        replaces.push_back(now_ms() - start);
        // Within one run, so that the machine's drift from run to run cancels.
        ratios.push_back(replaces.back() / floors.back());
        if (get_text_utf16(editor) != replaced) {
            printf("Replace All did not replace every match\n");
            return 1;
        }
        start = now_ms();
        SendMessageW(main_window, WM_COMMAND, IDM_EDIT_UNDO, 0);
        UpdateWindow(editor);
        undos.push_back(now_ms() - start);
        if (get_text_utf16(editor) != post) {
            printf("the undo did not bring the post back\n");
            return 1;
        }
    }
    const double median = median_of(replaces);
    printf("Replace All of %d matches in %zu characters: %.1f ms median, %.1f ms worst (budget %.0f ms): %s\n",
           MATCHES, post.size(), median, *std::max_element(replaces.begin(), replaces.end()), BUDGET_MS,
           median <= BUDGET_MS ? "within" : "OVER");
    printf("Its one undo: %.1f ms median\n", median_of(undos));
    printf("The control alone takes the replaced post in one piece in %.1f ms median; Replace All needs %.2f times "
           "that\n", median_of(floors), median_of(ratios));
    DestroyWindow(main_window);
    return 0;
}
