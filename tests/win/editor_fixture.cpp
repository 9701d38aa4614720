#include "editor_fixture.h"

#include "app/document_state.h"
#include "app/startup.h"

namespace {

void ensure_main_class_registered()
{
    static bool registered = false;
    if (!registered) {
        ASSERT_NE(register_main_class(GetModuleHandleA(nullptr)), 0);
        registered = true;
    }
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

void EditorTest::SetUp()
{
    g_doc = DocumentState{};
    g_doc.instance = GetModuleHandleA(nullptr);
    ensure_main_class_registered();
    ASSERT_EQ(create_main_window(g_doc.instance, SW_SHOWNORMAL), 1);
    main_window = g_doc.main_window;
    editor = g_doc.editor;
    ASSERT_TRUE(IsWindow(editor));
    pump_messages();
}

void EditorTest::TearDown()
{
    if (IsWindow(main_window))
        DestroyWindow(main_window);
    pump_messages();
}

void EditorTest::recreate_main_window(int show_command)
{
    TearDown();
    g_doc = DocumentState{};
    g_doc.instance = GetModuleHandleA(nullptr);
    ASSERT_EQ(create_main_window(g_doc.instance, show_command), 1);
    main_window = g_doc.main_window;
    editor = g_doc.editor;
    pump_messages();
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
