// Start-up time under Wine: from process start until the main window is
// shown and the program waits for input, for the Forum Editor and, started
// the same way in the same run, a bare RICHEDIT window, the same window
// with the common controls' toolbar and status bar (what loading the
// common controls alone costs, which the editor's bars need), that one
// with the editor's menu bar and icon in its frame (what the platform
// takes for those), and Wine's own rich-edit editor (WordPad).
//
//   forum-startup-bench EDITOR.EXE BARE-WINDOW.EXE BARE-WINDOW-BARS.EXE BARE-WINDOW-FRAME.EXE [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr char WORDPAD[] = "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe";
constexpr DWORD TIMEOUT_MS = 30000;

struct Program {
    const char* name;
    std::string path;
    const char* window_class;
};

struct WindowSearch {
    DWORD process;
    const char* window_class;
    HWND found;
};

BOOL CALLBACK match_main_window(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char class_name[256]{};
    GetClassNameA(window, class_name, sizeof class_name);
    if (process == search->process && IsWindowVisible(window) && strcmp(class_name, search->window_class) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND visible_main_window(DWORD process, const char* window_class)
{
    WindowSearch search{process, window_class, nullptr};
    EnumWindows(match_main_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

double now_ms()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void stop(const PROCESS_INFORMATION& info, HWND window)
{
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

// Milliseconds until the program's window is visible and it is idle; a
// negative number when it did not get there.
double time_start(const Program& program)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command_line = "\"" + program.path + "\"";
    const double start = now_ms();
    if (!CreateProcessA(program.path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    WaitForInputIdle(info.hProcess, TIMEOUT_MS);
    HWND window = nullptr;
    while (!(window = visible_main_window(info.dwProcessId, program.window_class))) {
        if (now_ms() - start > TIMEOUT_MS) {
            stop(info, nullptr);
            return -1;
        }
        Sleep(1);
    }
    WaitForInputIdle(info.hProcess, TIMEOUT_MS);
    const double elapsed = now_ms() - start;
    stop(info, window);
    return elapsed;
}

double median_of(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: forum-startup-bench EDITOR.EXE BARE-WINDOW.EXE BARE-WINDOW-BARS.EXE "
                        "BARE-WINDOW-FRAME.EXE [runs]\n");
        return 1;
    }
    const int runs = argc > 5 ? atoi(argv[5]) : 11;
    enum { EDITOR, BARE, BARS, FRAME, WORDPAD_RUN };
    const Program programs[] = {{"forum-editor", argv[1], "KLESTOR FORUM EDITOR  by vorlen :)"},
                                {"bare window", argv[2], "FORUM BENCH BARE RICHEDIT"},
                                {"bare + bars", argv[3], "FORUM BENCH BARE RICHEDIT"},
                                {"bare + frame", argv[4], "FORUM BENCH BARE RICHEDIT"},
                                {"wordpad", WORDPAD, "WORDPADTOP"}};

    // One start of each first, so that all find the disk cache warm.
    for (const Program& program : programs)
        time_start(program);

    std::vector<double> times[std::size(programs)];
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < std::size(programs); ++i) {
            const double elapsed = time_start(programs[i]);
            if (elapsed < 0) {
                fprintf(stderr, "%s did not start\n", programs[i].name);
                return 1;
            }
            times[i].push_back(elapsed);
        }
    }
    printf("start-up until shown and idle, median of %d alternating runs:\n", runs);
    for (size_t i = 0; i < std::size(programs); ++i)
        printf("  %-12s %8.1f ms\n", programs[i].name, median_of(times[i]));
    // Each ratio run by run, between starts a second apart, so that the
    // load on the machine, which changes from second to second, cancels.
    const auto ratio = [&](size_t one, size_t other) {
        std::vector<double> ratios;
        for (int run = 0; run < runs; ++run)
            ratios.push_back(times[one][static_cast<size_t>(run)] / times[other][static_cast<size_t>(run)]);
        return median_of(ratios);
    };
    const double to_bare = ratio(EDITOR, BARE), to_wordpad = ratio(EDITOR, WORDPAD_RUN);
    printf("goal: editor / bare window %.2f (at most 1.2: %s); editor / wordpad %.2f (at most 0.4: %s)\n", to_bare,
           to_bare <= 1.2 ? "met" : "not met", to_wordpad, to_wordpad <= 0.4 ? "met" : "not met");
    printf("the common controls' bars alone: bare window with them / without %.2f; editor / bare window with them %.2f\n",
           ratio(BARS, BARE), ratio(EDITOR, BARS));
    printf("the editor's menu bar and icon alone: bare window with bars and them / with bars %.2f; "
           "editor / bare window with bars, menu bar and icon %.2f\n",
           ratio(FRAME, BARS), ratio(EDITOR, FRAME));
    printf("ratio: start-up, editor / bare window: %.2f (at most 1.2)\n", to_bare);
    return 0;
}
