// What spell checking costs, under Wine: loading the dictionaries and the
// memory they take, a whole 60,000-character post checked on the worker
// (the first time, and again through the cache), and a typed key in that
// post with spelling on and off, round by round in the same window.
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "app/post_review.h"
#include "app/spelling.h"
#include "bench_support.h"
#include "document/personal_dictionary.h"
#include "text/unicode/wide_text.h"

namespace {

constexpr size_t POST_LENGTH = 60000;
constexpr int KEYS = 400;
constexpr int ROUNDS = 6;
// Typing pauses this often, and the post is checked meanwhile.
constexpr int KEYS_BETWEEN_PAUSES = 40;

std::wstring dictionary_folder()
{
    wchar_t program[MAX_PATH]{};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder = program;
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"dictionaries";
}

// A post of different words, as few posts are: every 23rd word of each
// dictionary in turn, a typo now and then, in sentences and paragraphs.
std::string varied_post(size_t length)
{
    std::vector<std::string> words[2];
    const char* files[] = {"\\cs_CZ.dic", "\\en_US.dic"};
    for (int i = 0; i < 2; ++i) {
        std::ifstream dic(from_wide(dictionary_folder()) + files[i]);
        std::string line;
        for (size_t n = 0; std::getline(dic, line); ++n)
            if (n % 23 == 1)
                words[i].push_back(line.substr(0, line.find_first_of("/\t\r")));
    }
    std::string post;
    for (size_t n = 0; post.size() < length; ++n) {
        const auto& list = words[n % 3 == 2 ? 1 : 0];
        post += list[(n * 7) % list.size()];
        if (n % 50 == 7)
            post += "xq"; // a typo
        post += n % 12 == 11 ? ".\r\n" : " ";
    }
    post.resize(length);
    return post;
}

size_t private_bytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.WorkingSetSize; // Wine leaves the private bytes at 0
}

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A pause in the typing: the review reads the post and the worker answers.
void pause_and_check(MainWindowState& state)
{
    review_post_now(state);
    if (state.spelling.worker)
        state.spelling.worker->wait_until_idle();
    pump();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void bench_checker(const std::string& post)
{
    const size_t before = private_bytes();
    SpellChecker checker(dictionary_folder(), personal_dictionary_path());
    double start = now_ms();
    checker.load(SpellLanguages::czech);
    const double czech = now_ms() - start;
    start = now_ms();
    checker.load(SpellLanguages::english);
    const double english = now_ms() - start;
    const size_t loaded = private_bytes();
    printf("loading: cs_CZ %.0f ms, en_US %.0f ms; memory with both %.1f MiB more\n", czech, english,
           static_cast<double>(loaded - before) / (1024.0 * 1024.0));

    SpellWorker worker(checker, [] {});
    auto on_worker = [&](const std::string& text) {
        const double begin = now_ms();
        worker.check({text, 0, SpellLanguages::both});
        worker.wait_until_idle();
        return now_ms() - begin;
    };
    const double first = on_worker(post);
    const size_t misspelt = worker.take_answer()->misspelt.size();
    std::vector<double> again, edited;
    std::string changed = post;
    for (int i = 0; i < 9; ++i) {
        again.push_back(on_worker(post));
        changed[changed.size() / 2 + static_cast<size_t>(i)] = 'k'; // one paragraph differs
        edited.push_back(on_worker(changed));
    }
    printf("whole %zu-character post on the worker (%zu misspelt): first %.1f ms; again %.2f ms (median of 9), "
           "one paragraph edited %.2f ms\n",
           post.size(), misspelt, first, median(again), median(edited));
    printf("memory after the checks: %.1f MiB more than before loading\n",
           static_cast<double>(private_bytes() - before) / (1024.0 * 1024.0));
}

void bench_typing(const std::string& post)
{
    HWND main_window = open_main_window();
    if (!main_window)
        return;
    MainWindowState& state = *main_window_state(main_window);
    HWND editor = state.parts.editor;
    const std::string typed = "the quick brown fox jumps over the lazy dog ";
    struct Side {
        const char* name;
        bool spelling;
        std::vector<double> medians, all;
    };
    Side sides[] = {{"spelling on", true, {}, {}}, {"spelling off", false, {}, {}}};
    for (int round = 0; round < ROUNDS; ++round) {
        for (Side& side : sides) {
            if (state.review.settings.spell_while_typing != side.spelling)
                toggle_spelling(state);
            // In UTF-16: the control is an 8-bit window, and the Czech
            // letters would not survive the code page.
            const std::wstring wide = to_wide(post);
            SETTEXTEX how{ST_DEFAULT, 1200};
            SendMessageW(editor, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(wide.c_str()));
            state.history.text_replaced_from_outside();
            CHARRANGE middle{static_cast<LONG>(post.size() / 2), static_cast<LONG>(post.size() / 2)};
            SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&middle));
            SetFocus(editor);
            pause_and_check(state);
            std::vector<double> keys;
            for (int i = 0; i < KEYS; ++i) {
                keys.push_back(time_typed_key(editor, typed[static_cast<size_t>(i) % typed.size()]));
                if (i % KEYS_BETWEEN_PAUSES == KEYS_BETWEEN_PAUSES - 1)
                    pause_and_check(state);
            }
            side.medians.push_back(median(keys));
            side.all.insert(side.all.end(), keys.begin(), keys.end());
        }
    }
    printf("a typed key in the post (down, character, up, painted), %d rounds of %d keys, checked at each pause:\n",
           ROUNDS, KEYS);
    for (const Side& side : sides)
        printf("  %-13s median %.3f ms (rounds from %.3f to %.3f)\n", side.name, median(side.all),
               *std::min_element(side.medians.begin(), side.medians.end()),
               *std::max_element(side.medians.begin(), side.medians.end()));
    printf("  on / off: %.2f; misspelt words marked: %zu\n", median(sides[0].all) / median(sides[1].all),
           state.spelling.marks.misspelt.size());
    DestroyWindow(main_window);
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    // No words of the user's: a file that is not there.
    wchar_t temporary[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temporary);
    const std::wstring none = std::wstring(temporary) + L"fe-bench-no-such-dictionary.txt";
    SetEnvironmentVariableW(PERSONAL_DICTIONARY_VARIABLE, none.c_str());
    const std::string post = varied_post(POST_LENGTH);
    bench_checker(post);
    bench_typing(post);
    return 0;
}
