#include "dialog_automation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "win/messages.h"

namespace {

constexpr DWORD POLL_MS = 50;
// A dialog's thread may be slow to answer on a busy machine, so it is
// never judged hung before the deadline.
constexpr UINT MESSAGE_TIMEOUT_MS = DIALOG_TIMEOUT_MS;

// The helper thread's view of its driver: whether the test thread has asked
// it to stop, and which dialogs its script has answered.
thread_local const std::atomic<bool>* t_stop = nullptr;
thread_local std::set<HWND> t_answered;

struct WindowSearch {
    const WindowQuery* query;
    HWND found;
};

std::string class_of(HWND window)
{
    char name[256]{};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool belongs_to_this_process(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

BOOL CALLBACK match_window(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    const WindowQuery& query = *search->query;
    if (window == query.other_than || !IsWindowVisible(window) || !belongs_to_this_process(window) ||
        class_of(window) != query.class_name)
        return TRUE;
    if (!query.title.empty() && window_caption(window) != query.title)
        return TRUE;
    if (query.with_control && !GetDlgItem(window, query.with_control))
        return TRUE;
    search->found = window;
    return FALSE;
}

void wait_a_moment(const std::string& waiting_for)
{
    if (t_stop && t_stop->load())
        throw DialogTimeout{"the test went on while the script still waited for " + waiting_for};
    Sleep(POLL_MS);
}

struct ControlSearch {
    int id;
    HWND edit;
    HWND any;
};

BOOL CALLBACK match_control(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<ControlSearch*>(data);
    if (GetDlgCtrlID(child) != search->id)
        return TRUE;
    if (!search->any)
        search->any = child;
    if (!search->edit && class_of(child) == "Edit")
        search->edit = child;
    return TRUE;
}

// The control with this id anywhere in the dialog; an Edit control is
// preferred, since a combo box and the edit field inside it share their id.
HWND find_control(HWND dialog, int control_id)
{
    ControlSearch search{control_id, nullptr, nullptr};
    EnumChildWindows(dialog, match_control, reinterpret_cast<LPARAM>(&search));
    HWND control = search.edit ? search.edit : search.any;
    if (!control)
        throw DialogTimeout{"no control " + std::to_string(control_id) + " in \"" + window_caption(dialog) + "\""};
    return control;
}

LRESULT send_with_timeout(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, MESSAGE_TIMEOUT_MS,
                             &result))
        throw DialogTimeout{"the dialog \"" + window_caption(GetAncestor(window, GA_ROOT)) + "\" did not answer"};
    return static_cast<LRESULT>(result);
}

BOOL CALLBACK collect_static_text(HWND child, LPARAM data)
{
    auto* texts = reinterpret_cast<std::vector<std::string>*>(data);
    if (class_of(child) == "Static") {
        const std::string text = window_caption(child);
        if (!text.empty())
            texts->push_back(text);
    }
    return TRUE;
}

BOOL CALLBACK collect_dialog(HWND window, LPARAM data)
{
    if (IsWindowVisible(window) && belongs_to_this_process(window) && class_of(window) == "#32770")
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// The button that loses nothing: Cancel, else No, else OK. A box of Yes and
// No has no Cancel, and Windows closes it with neither IDCANCEL nor WM_CLOSE.
int safest_button(HWND dialog)
{
    for (int button : {IDCANCEL, IDNO})
        if (GetDlgItem(dialog, button))
            return button;
    return IDOK;
}

thread_local int t_dialogs_answered = 0;

LRESULT CALLBACK answer_on_activation(int code, WPARAM wparam, LPARAM lparam)
{
    const auto window = reinterpret_cast<HWND>(wparam);
    if (code == HCBT_ACTIVATE && class_of(window) == "#32770") {
        // Taken from the queue once the dialog's own loop runs.
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(safest_button(window), BN_CLICKED), 0);
        ++t_dialogs_answered;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

std::string join_lines(const std::vector<std::string>& lines)
{
    std::string joined;
    for (const auto& line : lines)
        joined += (joined.empty() ? "" : "\n") + line;
    return joined;
}

} // namespace

HWND find_window(const WindowQuery& query)
{
    WindowSearch search{&query, nullptr};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND wait_for_window(const WindowQuery& query, DWORD timeout_ms)
{
    const std::string what = query.class_name + " \"" + query.title + "\"";
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = find_window(query))
            return window;
        if (GetTickCount() - start > timeout_ms)
            throw DialogTimeout{"no window " + what + " within " + std::to_string(timeout_ms) + " ms"};
        wait_a_moment(what);
    }
}

void wait_until_closed(HWND window, DWORD timeout_ms)
{
    const std::string what = "\"" + window_caption(window) + "\" to close";
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > timeout_ms)
            throw DialogTimeout{"waited in vain for " + what};
        wait_a_moment(what);
    }
}

std::string window_caption(HWND window)
{
    WCHAR wide[1024]{};
    const int length = InternalGetWindowText(window, wide, static_cast<int>(std::size(wide)));
    if (length <= 0)
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, text.data(), size, nullptr, nullptr);
    return text;
}

std::string program_text(UINT id)
{
    const std::wstring wide = load_text(id);
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string text(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
    return text;
}

std::vector<std::string> static_texts(HWND dialog)
{
    std::vector<std::string> texts;
    EnumChildWindows(dialog, collect_static_text, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::string control_text(HWND dialog, int control_id)
{
    HWND control = find_control(dialog, control_id);
    const auto length = send_with_timeout(control, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied = send_with_timeout(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void set_control_text(HWND dialog, int control_id, const std::string& text)
{
    send_with_timeout(find_control(dialog, control_id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void select_combo_item(HWND dialog, int combo_id, int index)
{
    HWND combo = GetDlgItem(dialog, combo_id);
    if (!combo)
        combo = find_control(dialog, combo_id);
    send_with_timeout(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    send_with_timeout(dialog, WM_COMMAND, MAKEWPARAM(combo_id, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
}

void press_button(HWND dialog, int button_id)
{
    t_answered.insert(dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button_id)));
}

void close_with_button(HWND dialog, int button_id)
{
    press_button(dialog, button_id);
    wait_until_closed(dialog);
}

MessageBoxSeen answer_message_box(const std::string& caption, int button_id)
{
    HWND box = wait_for_window({"#32770", caption});
    MessageBoxSeen seen{caption, join_lines(static_texts(box))};
    close_with_button(box, button_id);
    return seen;
}

HWND fill_file_dialog(const std::string& title, const std::string& file_name, int filter_index, int button_id)
{
    const bool english = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ENGLISH;
    HWND dialog = wait_for_window({"#32770", english ? title : "", nullptr, FILE_DIALOG_FILTER_COMBO});
    if (filter_index > 0)
        select_combo_item(dialog, FILE_DIALOG_FILTER_COMBO, filter_index - 1);
    set_control_text(dialog, FILE_DIALOG_NAME_EDIT, file_name);
    if (button_id == IDCANCEL)
        close_with_button(dialog, button_id);
    else
        press_button(dialog, button_id);
    return dialog;
}

DialogDriver::DialogDriver(std::function<void()> script)
    : thread_([this, script = std::move(script)]() mutable { run(std::move(script)); })
{
}

DialogDriver::~DialogDriver()
{
    finish();
}

void DialogDriver::run(std::function<void()> script)
{
    t_stop = &stop_;
    try {
        script();
    } catch (const DialogTimeout& timeout) {
        failures_.push_back(timeout.what);
    } catch (...) {
        failures_.push_back("the dialog script failed with an exception");
    }
    close_unanswered_dialogs();
    done_ = true;
}

// Whatever dialog is still open once the script is over was not expected:
// note it and close it, so that the test thread can return.
void DialogDriver::close_unanswered_dialogs()
{
    std::set<HWND> reported;
    while (!stop_) {
        std::vector<HWND> dialogs;
        EnumWindows(collect_dialog, reinterpret_cast<LPARAM>(&dialogs));
        for (HWND dialog : dialogs) {
            if (t_answered.count(dialog))
                continue;
            if (reported.insert(dialog).second) {
                const std::string texts = join_lines(static_texts(dialog));
                failures_.push_back("unexpected dialog \"" + window_caption(dialog) + "\": " + texts);
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(safest_button(dialog), BN_CLICKED), 0);
            } else {
                PostMessageA(dialog, WM_CLOSE, 0, 0);
            }
        }
        Sleep(POLL_MS * 4);
    }
}

std::vector<std::string> DialogDriver::finish()
{
    if (!thread_.joinable())
        return {};
    stop_ = true;
    // The code under test may have ended the message loop; keep its WM_QUIT
    // for the test to see.
    bool quit = false;
    WPARAM exit_code = 0;
    while (!done_) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                exit_code = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
    thread_.join();
    if (quit)
        PostQuitMessage(static_cast<int>(exit_code));
    return std::move(failures_);
}

std::string describe(const std::vector<std::string>& failures)
{
    return join_lines(failures);
}

void with_dialogs(const std::function<void()>& script, const std::function<void()>& action)
{
    DialogDriver driver(script);
    action();
    const auto failures = driver.finish();
    EXPECT_TRUE(failures.empty()) << describe(failures);
}

void without_dialogs(const std::function<void()>& action)
{
    with_dialogs([] {}, action);
}

AnswerEveryDialog::AnswerEveryDialog()
    : hook_(SetWindowsHookExA(WH_CBT, answer_on_activation, nullptr, GetCurrentThreadId()))
{
    t_dialogs_answered = 0;
    EXPECT_NE(hook_, nullptr);
}

AnswerEveryDialog::~AnswerEveryDialog()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
}

int AnswerEveryDialog::answered() const
{
    return t_dialogs_answered;
}
