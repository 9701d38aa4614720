// How long a typed key takes in the real Main window under Wine, in posts of
// 6,000, 60,000 and 600,000 characters, with everything on that follows a
// key (the history, the counts and tag check, the preview shown, the
// recovery copy and spelling), against bare RICHEDIT controls in the same
// process and run: the key-down, character and key-up messages as the
// keyboard sends them, and the paint that shows the character, each step
// timed on its own.
//
// The bare controls are the floor: each as large as the Editor control, in
// the same font, with a post of one of the three lengths, getting its
// messages as it takes them (ANSI), so that what it costs is the control's
// own work. The keys go in bursts into a fresh line in the middle of the
// post each time (a burst typed into one paragraph on and on would time
// Wine's control laying out an ever longer paragraph again on each key), to
// the editor and the three bare controls in turn, so that every ratio
// compares bursts typed moments apart, whatever the load on the machine
// does over the minutes. The editor holds one post at a time: how a key
// grows with the post in it is its key against the bare control's at each
// length, times the bare control's own growth, measured all along.
// (Several Main windows side by side would be no help: with three previews
// shown, every control's key costs several times more.) Between the bursts
// the typing pauses and the work that waited for the pause runs: the
// longest single message it took is its slice. At 60,000 characters, keys
// with phpBB's profile chosen are timed against keys with this editor's, in
// bursts in turn.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "app/post_review.h"
#include "app/spelling.h"
#include "bench_support.h"

namespace {

constexpr size_t LENGTHS[] = {6000, 60000, 600000};
constexpr size_t SHORTEST = 0, AT_60K = 1, LONGEST = 2;
constexpr int BURSTS = 16;
constexpr int KEYS_PER_BURST = 30;
// A pause is over once no message has come for this long.
constexpr double QUIET_MS = 250;
constexpr double LONGEST_PAUSE_MS = 20000;

// Handles what comes until nothing has come for a while; the longest single
// message, in ms.
double pump_until_quiet()
{
    const double start = now_ms();
    double last = start, longest = 0;
    while (now_ms() - last < QUIET_MS && now_ms() - start < LONGEST_PAUSE_MS) {
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            continue;
        }
        const double begin = now_ms();
        TranslateMessage(&message);
        DispatchMessageW(&message);
        last = now_ms();
        longest = std::max(longest, last - begin);
    }
    return longest;
}

// The pause is over once every window is quiet and the threads that work
// for the Main window (the spell checker, the recovery copy's writer) have
// done what they were given: otherwise they take the processor from the
// keys that follow, in the bare controls as much as in the editor. The
// longest single message, in ms.
double settle(HWND main_window)
{
    const double longest = pump_until_quiet();
    MainWindowState& state = *main_window_state(main_window);
    if (state.spelling.worker)
        state.spelling.worker->wait_until_idle();
    if (state.recovery.writer)
        state.recovery.writer->wait_until_idle();
    return std::max(longest, pump_until_quiet());
}

// Keys typed into one control: every key, and each burst's median.
struct Keys {
    std::vector<KeySteps> keys;
    std::vector<double> bursts;

    double median(double (*part)(const KeySteps&)) const
    {
        std::vector<double> times;
        for (const KeySteps& key : keys)
            times.push_back(part(key));
        return median_of(times);
    }
};

double whole(const KeySteps& key) { return key.whole(); }

// The median over the bursts of one's against the other's typed moments apart.
double burst_ratio(const std::vector<double>& one, const std::vector<double>& other)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < one.size() && i < other.size(); ++i)
        ratios.push_back(one[i] / other[i]);
    return median_of(ratios);
}

// A bare control as large as the Editor control and in its font, with the post.
HWND open_bare_like(HWND editor, const std::string& post)
{
    HWND window = open_bare_window();
    if (!window)
        return nullptr;
    HWND bare = GetWindow(window, GW_CHILD);
    RECT editor_rect{}, client{}, frame{};
    GetWindowRect(editor, &editor_rect);
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, editor_rect.right - editor_rect.left + (frame.right - frame.left - client.right),
                 editor_rect.bottom - editor_rect.top + (frame.bottom - frame.top - client.bottom),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    CHARFORMAT2A font{};
    font.cbSize = sizeof font;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&font));
    SendMessageA(bare, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&font));
    SetWindowTextA(bare, post.c_str());
    return bare;
}

// The caret at the start of a line of the middle third of the post, a
// different one for each burst of the run.
void place_caret_for_burst(HWND control, int burst)
{
    constexpr int ALL_BURSTS = BURSTS * static_cast<int>(std::size(LENGTHS));
    const auto lines = static_cast<int>(SendMessageA(control, EM_GETLINECOUNT, 0, 0));
    const int line = lines / 3 + (lines / 3) * burst / ALL_BURSTS;
    const auto at = static_cast<LONG>(SendMessageA(control, EM_LINEINDEX, line, 0));
    CHARRANGE caret{at, at};
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    SendMessageA(control, EM_SCROLLCARET, 0, 0);
}

// A burst into the control after the pause; the pause's longest message, in ms.
double type_burst(HWND control, HWND main_window, int burst, Keys& keys)
{
    const std::string typed = "the quick brown fox jumps over the lazy dog ";
    place_caret_for_burst(control, burst);
    SetFocus(control);
    const double slice = settle(main_window);
    std::vector<double> times;
    for (int i = 0; i < KEYS_PER_BURST; ++i) {
        keys.keys.push_back(time_typed_key_steps(control, typed[static_cast<size_t>(i) % typed.size()]));
        times.push_back(keys.keys.back().whole());
    }
    keys.bursts.push_back(median_of(times));
    return slice;
}

void print_steps(const char* name, const Keys& keys)
{
    printf("  %-8s down %.3f  char %.3f  up %.3f  paint %.3f  whole key %.3f ms\n", name,
           keys.median([](const KeySteps& key) { return key.down; }),
           keys.median([](const KeySteps& key) { return key.character; }),
           keys.median([](const KeySteps& key) { return key.up; }),
           keys.median([](const KeySteps& key) { return key.paint; }), keys.median(whole));
}

// A key with phpBB's profile chosen against one with this editor's, burst
// by burst in turn, in the post the editor holds. Each burst goes into a
// line no burst has typed into at this length, and the profile that goes
// first changes from burst to burst.
double compare_forums(MainWindowState& state, HWND main_window)
{
    Keys by_forum[2];
    for (int burst = 0; burst < BURSTS; ++burst) {
        for (int turn = 0; turn < 2; ++turn) {
            const int phpbb = (turn + burst) % 2;
            state.review.rules = BoardRules(forum_board(phpbb ? ForumProfileId::phpbb : ForumProfileId::editor));
            // The bursts at this length took lines BURSTS to 2 * BURSTS - 1.
            type_burst(state.parts.editor, main_window, phpbb ? burst : 2 * BURSTS + burst, by_forum[phpbb]);
        }
    }
    state.review.rules = BoardRules(Board{});
    return burst_ratio(by_forum[1].bursts, by_forum[0].bursts);
}

std::size_t length_of(HWND control)
{
    return static_cast<std::size_t>(GetWindowTextLengthW(control));
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    HWND main_window = open_main_window();
    if (!main_window)
        return 1;
    MainWindowState& state = *main_window_state(main_window);
    const bool preview_was_shown = state.review.settings.preview_shown;
    const bool spelling_was_on = state.review.settings.spell_while_typing;
    const BoardRules rules_were = state.review.rules;
    if (!preview_was_shown)
        toggle_preview(state);
    if (!spelling_was_on)
        toggle_spelling(state);
    HWND editor = state.parts.editor;

    std::string posts[std::size(LENGTHS)];
    HWND bares[std::size(LENGTHS)];
    for (size_t i = 0; i < std::size(LENGTHS); ++i) {
        posts[i] = plain_post(LENGTHS[i]);
        if (!(bares[i] = open_bare_like(editor, posts[i])))
            return 1;
    }

    // Length by length in the editor; in each burst the editor and the three
    // bare controls in turn, in an order that moves on with each burst.
    Keys in_editor[std::size(LENGTHS)], in_bare[std::size(LENGTHS)];
    // The bare controls' bursts while the editor held each length.
    std::vector<double> bare_bursts_beside[std::size(LENGTHS)];
    double longest_slice[std::size(LENGTHS)]{};
    std::size_t misspelt_at_60k = 0;
    double forum_ratio = 0;
    for (size_t length = 0; length < std::size(LENGTHS); ++length) {
        // The new text's own review runs now: it is no key's.
        SetWindowTextA(editor, posts[length].c_str());
        settle(main_window);
        for (int in_length = 0; in_length < BURSTS; ++in_length) {
            const int burst = static_cast<int>(length) * BURSTS + in_length;
            for (size_t turn = 0; turn <= std::size(LENGTHS); ++turn) {
                const size_t which = (turn + static_cast<size_t>(burst)) % (std::size(LENGTHS) + 1);
                if (which == std::size(LENGTHS)) {
                    longest_slice[length] = std::max(longest_slice[length],
                                                     type_burst(editor, main_window, burst, in_editor[length]));
                } else {
                    type_burst(bares[which], main_window, burst, in_bare[which]);
                }
            }
            bare_bursts_beside[length].push_back(in_bare[length].bursts.back());
        }
        if (length == AT_60K)
            misspelt_at_60k = state.spelling.marks.misspelt.size();
        if (length_of(editor) != posts[length].size() + BURSTS * KEYS_PER_BURST) {
            fprintf(stderr, "the keys did not all go in: %zu characters\n", length_of(editor));
            return 1;
        }
        if (length == AT_60K)
            forum_ratio = compare_forums(state, main_window);
    }

    printf("a typed key (down, character, up, painted), medians of %d bursts of %d keys; history, counts, tag check,\n"
           "recovery, preview shown and spelling on (%zu misspelt words marked at 60,000 characters):\n",
           BURSTS, KEYS_PER_BURST, misspelt_at_60k);
    double to_bare[std::size(LENGTHS)];
    for (size_t i = 0; i < std::size(LENGTHS); ++i) {
        to_bare[i] = burst_ratio(in_editor[i].bursts, bare_bursts_beside[i]);
        printf("%zu characters: editor / bare %.2f (burst by burst); longest message after the keys %.1f ms\n",
               LENGTHS[i], to_bare[i], longest_slice[i]);
        print_steps("editor", in_editor[i]);
        print_steps("bare", in_bare[i]);
    }
    const double bare_growth = burst_ratio(in_bare[LONGEST].bursts, in_bare[SHORTEST].bursts);
    const double editor_growth = to_bare[LONGEST] * bare_growth / to_bare[SHORTEST];
    printf("goal: a key at 60,000, editor / bare control %.2f (at most 2.0: %s)\n", to_bare[AT_60K],
           to_bare[AT_60K] <= 2.0 ? "met" : "not met");
    printf("goal: a key at 600,000 / at 6,000 in the editor %.2f (at most 1.2: %s); the bare control's own %.2f, "
           "the editor's beyond it %.2f\n",
           editor_growth, editor_growth <= 1.2 ? "met" : "not met", bare_growth, to_bare[LONGEST] / to_bare[SHORTEST]);
    printf("ratio: a typed key at 60,000 characters, editor / bare control: %.2f\n", to_bare[AT_60K]);

    printf("goal: a key with phpBB's profile / with this editor's at 60,000 characters %.3f (at most 1.05: %s)\n",
           forum_ratio, forum_ratio <= 1.05 ? "met" : "not met");

    state.review.rules = rules_were;
    if (!preview_was_shown)
        toggle_preview(state);
    if (!spelling_was_on)
        toggle_spelling(state);
    // Not asked whether to save: the bench leaves no copy behind.
    state.history.mark_saved();
    DestroyWindow(main_window);
    for (HWND bare : bares)
        DestroyWindow(GetParent(bare));
    return 0;
}
