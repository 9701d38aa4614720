#include "modal_dialogs.h"

#include <chrono>

namespace {

struct DialogSearch {
    const std::string* title;
    HWND found;
};

std::string window_text(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

std::string class_of(HWND window)
{
    char name[64]{};
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK match_dialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && class_of(window) == "#32770" &&
        window_text(window) == *search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK append_static_text(HWND child, LPARAM data)
{
    auto* text = reinterpret_cast<std::string*>(data);
    if (class_of(child) == "Static") {
        const std::string piece = window_text(child);
        if (!piece.empty())
            *text += (text->empty() ? "" : "\n") + piece;
    }
    return TRUE;
}

} // namespace

HWND find_dialog(const std::string& title)
{
    DialogSearch search{&title, nullptr};
    EnumWindows(match_dialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string static_text(HWND dialog)
{
    std::string text;
    EnumChildWindows(dialog, append_static_text, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::string item_text(HWND dialog, int id)
{
    return window_text(GetDlgItem(dialog, id));
}

void set_item_text(HWND dialog, int id, const std::string& text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogAnswer::DialogAnswer(std::string title, std::function<void(HWND)> answer, int timeout_ms)
    : title_(std::move(title)), answer_(std::move(answer)), timeout_ms_(timeout_ms), thread_([this] { watch(); })
{
}

DialogAnswer::~DialogAnswer()
{
    seen();
}

bool DialogAnswer::seen()
{
    if (thread_.joinable())
        thread_.join();
    return seen_;
}

void DialogAnswer::watch()
{
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(timeout_ms_);
    while (steady_clock::now() < deadline) {
        if (HWND dialog = find_dialog(title_)) {
            seen_ = true;
            // Let the dialog finish its WM_INITDIALOG before it is answered.
            std::this_thread::sleep_for(milliseconds(100));
            answer_(dialog);
            return;
        }
        std::this_thread::sleep_for(milliseconds(20));
    }
}

MessageBoxAnswer::MessageBoxAnswer(const std::string& caption, int button)
    : answer_(caption, [this, button](HWND box) {
          text_ = static_text(box);
          press(box, button);
      })
{
}

std::string MessageBoxAnswer::text()
{
    answer_.seen();
    return text_;
}
