// Answers a modal dialog that the code under test opens on the test's own
// thread: a helper thread waits for the dialog, reads and fills it, and
// presses a button, the way a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

class DialogAnswer {
public:
    // Waits (on a helper thread) for a visible dialog of this process with
    // this title and runs `answer` on it. A dialog that never comes leaves
    // seen() false instead of hanging the test.
    DialogAnswer(std::string title, std::function<void(HWND dialog)> answer, int timeout_ms = 10000);
    ~DialogAnswer();
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;

    // Waits for the helper thread; true when the dialog appeared.
    bool seen();

private:
    void watch();

    std::string title_;
    std::function<void(HWND)> answer_;
    int timeout_ms_;
    bool seen_ = false;
    std::thread thread_;
};

// A visible top-level dialog (#32770) of this process with this title.
HWND find_dialog(const std::string& title);

// The text of the dialog's static controls, joined by line feeds (the text
// of a message box).
std::string static_text(HWND dialog);

std::string item_text(HWND dialog, int id);
void set_item_text(HWND dialog, int id, const std::string& text);

// Clicks a button of the dialog (posted, as a click would be).
void press(HWND dialog, int id);

// Answers a message box with this caption: keeps its text and presses
// the button given.
class MessageBoxAnswer {
public:
    MessageBoxAnswer(const std::string& caption, int button);
    // The message box's text; empty when none came.
    std::string text();

private:
    std::string text_;
    DialogAnswer answer_;
};
