// Drives the modal dialogs and message boxes that the code under test opens.
//
// A modal dialog runs its own message loop on the thread that opened it, so
// the test thread cannot answer it itself: a DialogDriver runs a script on a
// helper thread that waits for each dialog, reads it, fills it in and presses
// its buttons, while the test thread calls the code that opens them. Every
// wait has a timeout; a script that times out fails the test instead of
// hanging it, and any dialog that no script step answered is recorded and
// closed, so that the test thread always gets back.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// How long a script waits for a dialog, or for it to close. On an idle
// machine each comes within a second; this is for a machine that other
// programs keep busy, and stays well below ctest's time for a test, so
// that a dialog that never comes fails the test instead of hanging it.
inline constexpr DWORD DIALOG_TIMEOUT_MS = 30000;

// Control identifiers of the common open and save dialogs.
inline constexpr int FILE_DIALOG_NAME_EDIT = 1148;
inline constexpr int FILE_DIALOG_FILTER_COMBO = 1136;
// The colour dialog's hidden red, green and blue boxes, and the font
// dialog's size box.
inline constexpr int COLOR_RED = 706, COLOR_GREEN = 707, COLOR_BLUE = 708;
inline constexpr int FONT_DIALOG_SIZE_COMBO = 1138;

// A visible top-level window of this process. An empty title matches any;
// other_than skips a window already known (a message box that a dialog of
// the same title opens on top of itself).
struct WindowQuery {
    std::string class_name = "#32770";
    std::string title;
    HWND other_than = nullptr;
    // When not 0, only a window that holds a control with this id.
    int with_control = 0;
};

// The system's colour and font dialogs, found by a control of their own
// whatever language Wine gives their titles.
inline const WindowQuery COLOR_DIALOG{"#32770", "", nullptr, COLOR_RED};
inline const WindowQuery FONT_DIALOG{"#32770", "", nullptr, FONT_DIALOG_SIZE_COMBO};

// Thrown by the waiting steps when nothing turns up in time.
struct DialogTimeout {
    std::string what;
};

HWND find_window(const WindowQuery& query);
HWND wait_for_window(const WindowQuery& query, DWORD timeout_ms = DIALOG_TIMEOUT_MS);
void wait_until_closed(HWND window, DWORD timeout_ms = DIALOG_TIMEOUT_MS);

// Read without sending messages, so they never wait for the dialog's thread.
std::string window_caption(HWND window);
std::vector<std::string> static_texts(HWND dialog);

std::string control_text(HWND dialog, int control_id);
void set_control_text(HWND dialog, int control_id, const std::string& text);
// Selects an item as the user would, so that the dialog hears of it.
void select_combo_item(HWND dialog, int combo_id, int index);
void press_button(HWND dialog, int button_id);
void close_with_button(HWND dialog, int button_id);

// A text of the program's string table, in the interface's language, as
// the readers above give it: in the 8-bit code page.
std::string program_text(UINT id);

// What a message box said.
struct MessageBoxSeen {
    std::string caption;
    std::string text;
};

// Waits for the message box with this caption, reads it and answers it.
MessageBoxSeen answer_message_box(const std::string& caption, int button_id);

// Fills in an open or save dialog: the file name, the filter (1-based; 0
// leaves it), then OK or Cancel. Returns the dialog's window. The English
// title is required only where Wine speaks English; in another locale any
// open or save dialog will do.
HWND fill_file_dialog(const std::string& title, const std::string& file_name, int filter_index, int button_id);

// Runs a script on a helper thread; see the top of this file.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void()> script);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Call once the code under test has returned. Waits for the script,
    // closes what is left and returns every failure: script timeouts and
    // dialogs that nobody answered. Messages are pumped while it waits.
    std::vector<std::string> finish();

private:
    void run(std::function<void()> script);
    void close_unanswered_dialogs();

    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::vector<std::string> failures_;
    std::thread thread_;
};

// For gtest messages: the failures, one per line.
std::string describe(const std::vector<std::string>& failures);

// Runs `action` on the test thread while `script` answers its dialogs, and
// fails the test for every dialog that went unanswered or never came.
void with_dialogs(const std::function<void()>& script, const std::function<void()>& action);

// Runs `action` and fails the test if it opens any dialog.
void without_dialogs(const std::function<void()>& action);

// Answers every dialog that the calling thread shows, at the moment it is
// activated, with the safest of its buttons (Cancel, else No, else OK). For
// code that opens boxes one after another, many times: a script on a second
// thread would have to find each box by polling, and the boxes would wait
// for it. Nothing is read from the boxes; only how many there were.
class AnswerEveryDialog {
public:
    AnswerEveryDialog();
    ~AnswerEveryDialog();
    AnswerEveryDialog(const AnswerEveryDialog&) = delete;
    AnswerEveryDialog& operator=(const AnswerEveryDialog&) = delete;

    int answered() const;

private:
    HHOOK hook_;
};
