// The live preview in the real program, under Wine, with a post of 60,000
// characters:
//  - how long after the last key the preview shows it (budget 150 ms);
//  - how long a key waits to be handled while the user types in bursts and
//    pauses, with the preview shown, against the same typing with the
//    status bar and the preview switched off, as the editor was before
//    them (budget 1.2 times that);
//  - how long the preview takes to fill when it is shown, and its longest
//    single step.
// Keys are real input (SendInput) from a second thread, so that they queue
// up behind whatever the window is doing, as a user's keys do.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "app/main_window_state.h"
#include "app/post_review.h"
#include "res/resource_ids.h"
#include "text/forum/post_counts.h"
#include "text/forum/tag_check.h"
#include "editor/editor_text.h"

namespace {

constexpr size_t POST_LENGTH = 60000;
// Keys typed at a time; the three ways of working take turns for ROUNDS,
// so that a busy moment of the machine falls on each of them alike.
constexpr int KEYS = 15;
constexpr int ROUNDS = 4;
constexpr DWORD KEY_TIMEOUT_MS = 5000;

// A long post with markup on most lines, as forum posts have.
std::string sample_post(size_t length)
{
    const std::string paragraph =
        "Forum posts mix [b]words[/b], numbers like 1234 and [i]now and then[/i] an address\r\n"
        "[url]https://forum.example.org/read.php?23,1676166[/url] that [color=#FF0000]someone[/color] wants\r\n"
        "[quote]to quote; most lines stay well under eighty characters.[/quote]\r\n\r\n";
    return repeated_to_length(paragraph, length);
}

LONG text_length_of(HWND control)
{
    GETTEXTLENGTHEX query{GTL_NUMCHARS, 1200};
    return static_cast<LONG>(SendMessageW(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

void press_key(wchar_t character)
{
    INPUT keys[2]{};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = character;
        key.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

struct Timings {
    std::vector<double> key_waits;       // from the key press until the editor holds it
    std::vector<double> preview_follows; // from the last key of a burst until the preview shows it
    bool lost = false;                   // a key never arrived
};

// Types bursts of keys with pauses between them, from its own thread, while
// the window's thread runs its message loop.
Timings type_in_bursts(HWND editor, HWND preview, DWORD window_thread, unsigned seed)
{
    Timings timings;
    std::thread typist([&] {
        std::mt19937 random(seed);
        LONG expected = text_length_of(editor);
        // The keys go into plain text: each adds a character to the preview.
        LONG preview_expected = preview ? text_length_of(preview) : 0;
        for (int key = 0; key < KEYS && !timings.lost; ++key) {
            const bool last_of_burst = random() % 6 == 0;
            const double start = now_ms();
            press_key(L'x');
            ++expected;
            ++preview_expected;
            // Each look waits until the window's thread is free.
            while (text_length_of(editor) < expected) {
                if (now_ms() - start > KEY_TIMEOUT_MS) {
                    timings.lost = true;
                    break;
                }
            }
            timings.key_waits.push_back(now_ms() - start);
            if (last_of_burst && preview) {
                while (text_length_of(preview) < preview_expected && now_ms() - start < KEY_TIMEOUT_MS)
                    Sleep(1);
                timings.preview_follows.push_back(now_ms() - start);
            }
            // Typing speed within a burst; a pause to think after it.
            Sleep(last_of_burst ? 300 + random() % 400 : 40 + random() % 120);
        }
        PostThreadMessageW(window_thread, WM_APP, 0, 0);
    });
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_APP) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    typist.join();
    return timings;
}

double mean_of(const std::vector<double>& values)
{
    return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double quantile_of(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(q * static_cast<double>(values.size())))];
}

void print_waits(const char* setup, const std::vector<double>& waits)
{
    printf("  %-34s mean %6.2f  median %6.2f  95%% %6.2f  worst %6.2f ms\n", setup, mean_of(waits),
           quantile_of(waits, 0.5), quantile_of(waits, 0.95), quantile_of(waits, 1.0));
}

void put_post(HWND editor, const std::string& post, LONG caret)
{
    SetWindowTextA(editor, post.c_str());
    set_selection(editor, caret, caret);
}

// Brings status bar and preview up to date at once, as the timers would
// one step at a time: the whole time, and the longest time the window's
// thread was busy in one go (the first look at the post, or a step).
double settle_preview(MainWindowState& state, double* longest_busy)
{
    const double start = now_ms();
    review_post_now(state);
    *longest_busy = now_ms() - start;
    for (bool done = false; !done;) {
        const double step_start = now_ms();
        done = update_preview_step(state.parts.preview);
        *longest_busy = std::max(*longest_busy, now_ms() - step_start);
    }
    return now_ms() - start;
}

} // namespace

int main()
{
    HWND main_window = open_main_window();
    if (!main_window)
        return 1;
    MainWindowState& state = *main_window_state(main_window);
    HWND editor = state.parts.editor;
    SetForegroundWindow(main_window);
    SetFocus(editor);
    // Ends with a line of its own, and the keys go into a word in the middle
    // or at the very end, never into a tag.
    const std::string post = sample_post(POST_LENGTH) + "\r\n";
    const LONG middle = static_cast<LONG>(post.find("1234", POST_LENGTH / 2) + 2);
    const auto end = static_cast<LONG>(post.size());
    const auto event_mask = SendMessageW(editor, EM_GETEVENTMASK, 0, 0);

    // Showing the preview of the whole post at once.
    put_post(editor, post, middle);
    if (!state.review.settings.preview_shown)
        SendMessageW(main_window, WM_COMMAND, IDM_PREVIEW_TOGGLE, 0);
    SetWindowTextA(editor, "");
    review_post_now(state);
    double longest_step = 0;
    while (!update_preview_step(state.parts.preview)) {
    }
    put_post(editor, post, middle);
    const double fill = settle_preview(state, &longest_step);
    printf("%zu characters: the preview fills in %.0f ms, busy for at most %.1f ms at a time\n", post.size(), fill,
           longest_step);
    put_post(editor, post, end);
    settle_preview(state, &longest_step);
    SendMessageW(editor, WM_CHAR, 'x', 0);
    double one_key_step = 0;
    const double one_key = settle_preview(state, &one_key_step);
    printf("after one key at the end: counts, tag check and preview in %.1f ms\n", one_key);
    {
        put_post(editor, post + "xy", end + 2);
        double t = now_ms();
        const std::string text = get_text(editor);
        const double read = now_ms() - t;
        t = now_ms();
        const PostCounts counts = count_post(text);
        const TagProblem problem = check_tags(text);
        const double check = now_ms() - t;
        t = now_ms();
        set_preview_wanted(state.parts.preview, render_preview_paragraphs(text, state.parts.preview.options));
        const double render = now_ms() - t;
        t = now_ms();
        update_preview_step(state.parts.preview);
        const double step = now_ms() - t;
        t = now_ms();
        UpdateWindow(state.parts.preview.window);
        const double paint = now_ms() - t;
        printf("  read %.2f, count and check %.2f (%zu, %d), render %.2f, step %.2f, paint %.2f ms\n", read, check,
               counts.length, static_cast<int>(problem.kind), render, step, paint);
    }
    printf("\n");

    printf("keys typed in bursts into the middle and at the end of a %zu-character post:\n", post.size());
    struct Setup {
        const char* name;
        bool review;
        bool preview;
    };
    const Setup setups[] = {
        {"without status bar and preview", false, false},
        {"status bar, preview hidden", true, false},
        {"status bar and preview shown", true, true},
    };
    std::vector<double> waits[std::size(setups)], follows;
    for (int round = 0; round < ROUNDS; ++round) {
        for (size_t i = 0; i < std::size(setups); ++i) {
            const Setup& setup = setups[i];
            if (state.review.settings.preview_shown != setup.preview)
                SendMessageW(main_window, WM_COMMAND, IDM_PREVIEW_TOGGLE, 0);
            SendMessageW(editor, EM_SETEVENTMASK, 0, setup.review ? event_mask : event_mask & ~ENM_CHANGE);
            for (LONG caret : {middle, end}) {
                put_post(editor, post, caret);
                settle_preview(state, &longest_step);
                SetFocus(editor);
                const Timings timings = type_in_bursts(editor, setup.preview ? state.parts.preview.window : nullptr,
                                                       GetCurrentThreadId(), 7 + round);
                if (timings.lost) {
                    printf("  %s: a key was not delivered (no keyboard focus?)\n", setup.name);
                    return 1;
                }
                waits[i].insert(waits[i].end(), timings.key_waits.begin(), timings.key_waits.end());
                follows.insert(follows.end(), timings.preview_follows.begin(), timings.preview_follows.end());
            }
        }
    }
    for (size_t i = 0; i < std::size(setups); ++i)
        print_waits(setups[i].name, waits[i]);
    const std::vector<double>& baseline_waits = waits[0];
    const std::vector<double>& shown_waits = waits[2];
    const double ratio = mean_of(shown_waits) / mean_of(baseline_waits);
    printf("  with the preview shown, a key waits %.2f times as long on average; budget 1.2: %s\n", ratio,
           ratio <= 1.2 ? "within" : "over");
    printf("\nthe preview shows the last key of a burst after: median %.0f ms, worst %.0f ms; budget 150 ms: %s\n",
           quantile_of(follows, 0.5), quantile_of(follows, 1.0), quantile_of(follows, 1.0) < 150 ? "within" : "over");
    DestroyWindow(main_window);
    return 0;
}
