#include "editor_fixture.h"

#include "app/interface_language.h"
#include "app/main_window_state.h"
#include "app/settings.h"
#include "app/startup.h"
#include "editor/editor_text.h"

#include <algorithm>
#include <cstring>

namespace {

void ensure_main_class_registered()
{
    static bool registered = false;
    if (!registered) {
        ASSERT_NE(register_main_class(GetModuleHandleA(nullptr)), 0);
        registered = true;
    }
}

// Each test opens the window as the very first start does, wherever a
// test before it left the window and whatever language it chose, and
// leaves nothing behind for the programs started after it.
void forget_kept_places_and_language()
{
    for (const wchar_t* value : {WINDOW_LEFT_VALUE, WINDOW_TOP_VALUE, WINDOW_RIGHT_VALUE, WINDOW_BOTTOM_VALUE,
                                 WINDOW_MAXIMIZED_VALUE, PREVIEW_SHARE_VALUE, INTERFACE_LANGUAGE_VALUE})
        RegDeleteKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, value);
}

} // namespace

void pump_messages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool pump_until(const std::function<bool()>& condition, DWORD deadline_ms)
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        pump_messages();
        if (condition())
            return true;
        const ULONGLONG waited = GetTickCount64() - start;
        if (waited >= deadline_ms)
            return false;
        // Wakes for the next message; a worker thread's work shows only
        // in the condition, so look again now and then.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline_ms - waited, 20)),
                                  QS_ALLINPUT);
    }
}

std::string long_post(std::size_t length)
{
    std::string post;
    while (post.size() < length)
        post += "slovo ";
    post.resize(length);
    return post;
}

void put_text_on_clipboard(HWND owner, std::wstring_view text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const std::wstring terminated(text);
    const size_t bytes = (terminated.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(block), terminated.c_str(), bytes);
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

void EditorTest::SetUp()
{
    ensure_main_class_registered();
    forget_kept_places_and_language();
    // The language of the test run's locale, as a first start speaks it.
    speak_interface_language(chosen_interface_language());
    main_window = create_main_window(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    ASSERT_NE(main_window, nullptr);
    editor = state().parts.editor;
    ASSERT_TRUE(IsWindow(editor));
    pump_messages();
}

void EditorTest::TearDown()
{
    destroy_main_window();
    forget_kept_places_and_language();
}

void EditorTest::destroy_main_window()
{
    if (IsWindow(main_window))
        DestroyWindow(main_window);
    pump_messages();
}

// What the program keeps for the next start stays, as after a restart.
void EditorTest::recreate_main_window(int show_command)
{
    destroy_main_window();
    main_window = create_main_window(GetModuleHandleA(nullptr), show_command);
    ASSERT_NE(main_window, nullptr);
    editor = state().parts.editor;
    pump_messages();
}

MainWindowState& EditorTest::state() const
{
    return *main_window_state(main_window);
}

std::string EditorTest::text() const
{
    const int length = GetWindowTextLengthA(editor);
    std::string result(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(editor, result.data(), length + 1);
    result.resize(static_cast<size_t>(copied));
    return result;
}

void EditorTest::set_text(const std::string& text)
{
    SetWindowTextA(editor, text.c_str());
}

void EditorTest::select(LONG first, LONG last)
{
    CHARRANGE range{first, last};
    SendMessageA(editor, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

CHARRANGE EditorTest::selection() const
{
    CHARRANGE range{};
    SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

std::string EditorTest::selected_text() const
{
    const CHARRANGE range = selection();
    return text_range(range.cpMin, range.cpMax);
}

std::string EditorTest::text_range(LONG first, LONG last) const
{
    if (last <= first)
        return {};
    std::string buffer(2 * static_cast<size_t>(last - first) + 2, '\0');
    TEXTRANGEA range{{first, last}, buffer.data()};
    const auto copied = SendMessageA(editor, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    buffer.resize(static_cast<size_t>(copied));
    return buffer;
}

LONG EditorTest::text_length() const
{
    return GetWindowTextLengthA(editor);
}

CHARFORMAT2A EditorTest::selection_format() const
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

CHARFORMAT2A EditorTest::format_of(LONG first, LONG last)
{
    select(first, last);
    return selection_format();
}

void BareEditorTest::SetUp()
{
    library_ = LoadLibraryA("RICHED32.DLL");
    ASSERT_NE(library_, nullptr);
    editor = CreateWindowExA(0, "RICHEDIT", "", WS_POPUP | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 400,
                             300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(editor, nullptr);
    SendMessageA(editor, EM_EXLIMITTEXT, 0, EDITOR_TEXT_LIMIT);
    pump_messages();
}

void BareEditorTest::TearDown()
{
    if (IsWindow(editor))
        DestroyWindow(editor);
    pump_messages();
    if (library_)
        FreeLibrary(library_);
}
