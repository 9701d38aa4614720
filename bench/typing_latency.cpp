// How long a typed key takes in a post of 60,000 characters in the real
// Main window, under Wine: the key-down, character and key-up messages as
// the keyboard sends them to the Editor control, and the paint that shows
// the character. The keys go into the middle of the post, one typing run,
// with the undo history and without it.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "app/main_window_state.h"

namespace {

constexpr size_t POST_LENGTH = 60000;
constexpr int KEYS = 400;
constexpr int ROUNDS = 5;

double percentile(std::vector<double> times, double part)
{
    std::sort(times.begin(), times.end());
    return times[static_cast<size_t>(static_cast<double>(times.size() - 1) * part)];
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    HWND main_window = open_main_window();
    if (!main_window)
        return 1;
    HWND editor = main_window_state(main_window)->parts.editor;
    const std::string text = plain_post(POST_LENGTH);
    const std::string typed = "the quick brown fox jumps over the lazy dog ";

    // Rounds alternate between the editor as it runs and the same window
    // with the history left out (the control's own undo on, as it is
    // without one), so that both meet the same load on the machine.
    EditorSubclassState& subclass = main_window_state(main_window)->parts.editor_subclass;
    EditRecorder* const recorder = subclass.recorder;
    struct Side {
        const char* name;
        bool history;
        std::vector<double> medians, all;
    };
    Side sides[] = {{"with the history", true, {}, {}}, {"without it", false, {}, {}}};
    for (int round = 0; round < ROUNDS; ++round) {
        for (Side& side : sides) {
            subclass.recorder = side.history ? recorder : nullptr;
            SendMessageA(editor, EM_SETUNDOLIMIT, side.history ? 0 : 100, 0);
            SetWindowTextA(editor, text.c_str());
            CHARRANGE middle{static_cast<LONG>(text.size() / 2), static_cast<LONG>(text.size() / 2)};
            SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&middle));
            SetFocus(editor);
            std::vector<double> keys;
            for (int i = 0; i < KEYS; ++i)
                keys.push_back(time_typed_key(editor, typed[static_cast<size_t>(i) % typed.size()]));
            side.medians.push_back(percentile(keys, 0.5));
            side.all.insert(side.all.end(), keys.begin(), keys.end());
        }
    }
    subclass.recorder = recorder;
    printf("a typed key in a %zu-character post (down, character, up, painted), %d rounds of %d keys:\n",
           text.size(), ROUNDS, KEYS);
    for (const Side& side : sides)
        printf("  %-17s median %.3f ms (rounds from %.3f to %.3f), 90th percentile %.3f ms\n", side.name,
               percentile(side.all, 0.5), *std::min_element(side.medians.begin(), side.medians.end()),
               *std::max_element(side.medians.begin(), side.medians.end()), percentile(side.all, 0.9));
    printf("  with / without the history: %.2f\n", percentile(sides[0].all, 0.5) / percentile(sides[1].all, 0.5));
    DestroyWindow(main_window);
    return 0;
}
