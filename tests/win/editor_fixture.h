// Shared set-up for the Wine-side tests: the real Main window, created by
// the program's own start-up code, with its real rich-edit control.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

#include "app/main_window_state.h"

// Handles the messages that are waiting, as the message loop would (but
// without stopping at WM_QUIT, which a closed window leaves behind).
void pump_messages();

// How long a test waits for what the editor does by itself (a timer, a
// worker thread, queued input): it comes within a second or two on an idle
// machine, and much later on one that other programs keep busy. Well below
// ctest's time for a test, so that what never comes fails the test.
inline constexpr DWORD EVENT_DEADLINE_MS = 30000;

// Handles messages as they come until the condition holds; false when it
// still does not hold after the deadline.
bool pump_until(const std::function<bool()>& condition, DWORD deadline_ms = EVENT_DEADLINE_MS);

// A post of exactly this many characters, in words and spaces as users
// write them. Wine's control wraps one word as long letter by letter, which
// takes minutes on a busy machine.
std::string long_post(std::size_t length);

// Leaves exactly this text on the clipboard, as another program would.
void put_text_on_clipboard(HWND owner, std::wstring_view text);

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the Main window again with another show command.
    void recreate_main_window(int show_command);
    void destroy_main_window();

    // What the Main window keeps: its document, parts and remembered colours.
    MainWindowState& state() const;

    std::string text() const;
    void set_text(const std::string& text);
    void select(LONG first, LONG last);
    CHARRANGE selection() const;
    std::string selected_text() const;
    // The control's text between two positions, as the control counts them.
    std::string text_range(LONG first, LONG last) const;
    LONG text_length() const;
    // The character format of the selection, or of the insertion point.
    CHARFORMAT2A selection_format() const;
    // Selects a range and returns its character format.
    CHARFORMAT2A format_of(LONG first, LONG last);

    HWND main_window = nullptr;
    HWND editor = nullptr;
};

// A bare rich-edit control of its own, with no Main window around it, for
// the operations that work on any control.
class BareEditorTest : public EditorTest {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    HMODULE library_ = nullptr;
};
