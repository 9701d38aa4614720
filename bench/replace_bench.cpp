// Replace All of 5,000 matches in a post of about 60,000 characters, run
// through the real Replace dialog in the Main window under Wine: in the
// plain post and in the same post with a bold word on every line, as the
// markup commands leave posts, in alternating rounds of the same run. The
// post with formats may take at most 1.5 times the plain one, and under
// 300 ms; so may their one undo each. The floor under all of them is what
// the control alone needs to take the replaced post in one piece.
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
#include "editor/insert_format.h"
#include "res/resource_ids.h"

namespace {

constexpr int RUNS = 7;
constexpr int MATCHES = 5000;
constexpr double BUDGET_MS = 300.0;
constexpr double MOST_TIMES_PLAIN = 1.5;
constexpr InsertFormat BOLD{.bold = true};

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

void show_post(HWND editor, const std::u16string& post, bool bold_word_per_line)
{
    set_selection(editor, 0, -1);
    replace_selection_utf16(editor, post);
    // The post would take the format of the first character it replaced.
    set_selection(editor, 0, -1);
    set_insert_format(editor, PLAIN_FORMAT);
    if (bold_word_per_line) {
        RedrawPause pause(editor);
        for (std::size_t line = 0; line != std::u16string::npos; line = post.find(u'\n', line + 1)) {
            const auto start = static_cast<LONG>(line == 0 ? 0 : line + 1);
            set_selection(editor, start, start + 3); // "Můj"
            set_insert_format(editor, BOLD);
        }
    }
    set_selection(editor, 0, 0);
    UpdateWindow(editor);
}

bool is_bold(HWND editor, LONG first, LONG last)
{
    set_selection(editor, first, last);
    return (get_selection_format_w(editor).dwEffects & CFE_BOLD) != 0;
}

struct Times {
    std::vector<double> replaces, undos;
};

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    HWND main_window = open_main_window();
    if (!main_window)
        return 1;
    MainWindowState& state = *main_window_state(main_window);
    const std::u16string post = post_with(u"kůň", u"KŮŇ");
    const std::u16string replaced = post_with(u"hřebec", u"hřebec");

    SendMessageW(main_window, WM_COMMAND, IDM_REPLACE, 0);
    HWND dialog = state.search.dialog.window;
    if (!dialog)
        return 1;
    SetDlgItemTextW(dialog, edt1, L"kůň");
    SetDlgItemTextW(dialog, edt2, L"hřebec");

    Times plain, formatted;
    std::vector<double> floors, ratios, undo_ratios;
    for (int run = 0; run < RUNS; ++run) {
        HWND editor = state.parts.editor;
        show_post(editor, post, false);
        // The control alone, past the history.
        double start = now_ms();
        {
            RedrawPause pause(editor);
            set_selection(editor, 0, -1);
            replace_selection_utf16(editor, replaced);
        }
        UpdateWindow(editor);
        floors.push_back(now_ms() - start);

        for (const bool with_formats : {false, true}) {
            Times& times = with_formats ? formatted : plain;
            show_post(editor, post, with_formats);
            start = now_ms();
            click(dialog, psh2);
            UpdateWindow(editor);
            times.replaces.push_back(now_ms() - start);
            if (get_text_utf16(editor) != replaced || (with_formats && !is_bold(editor, 0, 3))) {
                printf("Replace All did not replace every match, or lost a format\n");
                return 1;
            }
            start = now_ms();
            SendMessageW(main_window, WM_COMMAND, IDM_EDIT_UNDO, 0);
                editor = state.parts.editor;
            UpdateWindow(editor);
            times.undos.push_back(now_ms() - start);
            if (get_text_utf16(editor) != post || (with_formats && (!is_bold(editor, 0, 3) || is_bold(editor, 4, 7)))) {
                printf("the undo did not bring the post back\n");
                return 1;
            }
        }
        // Within one run, so that the machine's drift from run to run cancels.
        ratios.push_back(formatted.replaces.back() / plain.replaces.back());
        undo_ratios.push_back(formatted.undos.back() / plain.undos.back());
    }
    const double plain_median = median_of(plain.replaces), median = median_of(formatted.replaces);
    printf("Replace All of %d matches in %zu characters, plain post: %.1f ms median, %.1f ms worst\n", MATCHES,
           post.size(), plain_median, *std::max_element(plain.replaces.begin(), plain.replaces.end()));
    printf("The same with a bold word on every line: %.1f ms median, %.1f ms worst (budget %.0f ms): %s\n", median,
           *std::max_element(formatted.replaces.begin(), formatted.replaces.end()), BUDGET_MS,
           median <= BUDGET_MS ? "within" : "OVER");
    printf("With formats against plain, each run: %.2f times median (at most %.1f): %s\n", median_of(ratios),
           MOST_TIMES_PLAIN, median_of(ratios) <= MOST_TIMES_PLAIN ? "within" : "OVER");
    printf("Their one undo: %.1f ms plain, %.1f ms with formats (%.2f times) median\n", median_of(plain.undos),
           median_of(formatted.undos), median_of(undo_ratios));
    printf("The control alone takes the replaced post in one piece in %.1f ms median; plain Replace All needs %.2f "
           "times that\n", median_of(floors), plain_median / median_of(floors));
    DestroyWindow(main_window);
    return 0;
}
