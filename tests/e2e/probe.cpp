// fe-probe: looks into the running editor from another process, the way an
// accessibility tool would, for the end-to-end tests. Only messages that
// work across processes are used (no pointers to structures).
//
//   fe-probe editor-text        the Editor control's text, as UTF-8
//   fe-probe title              the Main window's title
//   fe-probe layout             window, client, toolbar, editor, preview and status bar
//                               rectangles ("preview" all zero while it is hidden)
//   fe-probe focus              whether the Editor control has the focus
//   fe-probe selection          the Editor control's selection (EM_GETSEL)
//   fe-probe dialogs            every visible dialog of the editor: title and texts
//                               (of every editor, where several run)
//   fe-probe press TITLE ID     presses button ID in the visible dialog TITLE
//   fe-probe set-text TITLE ID TEXT
//                               types TEXT into control ID of the dialog TITLE
//                               (an Edit control first, where a combo box
//                               shares the id)
//   fe-probe popup-menu         whether a popup menu of the editor is open
//   fe-probe close              asks the Main window to close (WM_CLOSE), as Task
//                               Manager's End task or a log-off does
//   fe-probe toolbar-button ID  screen coordinates of the centre of toolbar button ID
//   fe-probe status             the status bar's parts, one a line: "plain TEXT" or
//                               "warning TEXT" (a part drawn as a warning), in UTF-8
//   fe-probe preview-text       the preview's text, in UTF-8 ("hidden" when it is, or not made yet)
//   fe-probe preview-format POS the preview's format at position POS: "bold italic
//                               underline RRGGBB twips face", effects as 0 or 1
//
// Exit code 0 on success, 2 when the window asked for is not there.
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char MAIN_CLASS[] = "KLESTOR FORUM EDITOR  by vorlen :)";
constexpr int NOT_FOUND = 2;
constexpr int EDITOR_ID = 1;
constexpr int PREVIEW_ID = 2;
constexpr int STATUS_BAR_ID = 3;
constexpr UINT UTF16 = 1200;

// Memory in the editor's process, for the messages that write through a
// pointer: they can only write where the control itself can.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : size_(size)
    {
        DWORD process_id = 0;
        GetWindowThreadProcessId(window, &process_id);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
    void write(const void* data, size_t size) const { WriteProcessMemory(process_, address_, data, size, nullptr); }
    void read(void* data, size_t size) const { ReadProcessMemory(process_, address_, data, size, nullptr); }
    // Reads from any address of the editor's process.
    void read_at(const void* remote, void* data, size_t size) const
    {
        ReadProcessMemory(process_, remote, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

std::string utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

HWND find_main_window()
{
    return FindWindowA(MAIN_CLASS, nullptr);
}

// Read as Unicode and written out as UTF-8, so that every character shows.
std::string window_text(HWND window)
{
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(window, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(static_cast<size_t>(copied));
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr,
                            nullptr);
    return text;
}

void print_rect(const char* name, HWND window, HWND relative_to)
{
    RECT rect{};
    if (window) {
        GetWindowRect(window, &rect);
        if (relative_to)
            MapWindowPoints(nullptr, relative_to, reinterpret_cast<POINT*>(&rect), 2);
    }
    printf("%s %ld %ld %ld %ld\n", name, rect.left, rect.top, rect.right, rect.bottom);
}

int print_layout(HWND main)
{
    print_rect("window", main, nullptr);
    RECT client;
    GetClientRect(main, &client);
    printf("client %ld %ld %ld %ld\n", client.left, client.top, client.right, client.bottom);
    print_rect("editor", GetDlgItem(main, EDITOR_ID), main);
    print_rect("editor-on-screen", GetDlgItem(main, EDITOR_ID), nullptr);
    print_rect("toolbar", FindWindowExA(main, nullptr, "ToolbarWindow32", nullptr), main);
    HWND preview = GetDlgItem(main, PREVIEW_ID);
    print_rect("preview", IsWindowVisible(preview) ? preview : nullptr, main);
    print_rect("status", GetDlgItem(main, STATUS_BAR_ID), main);
    return 0;
}

// Every part answers SB_GETTEXT with its text, a part drawn by its owner
// (a warning) too, as a screen reader asks for it.
int print_status(HWND main)
{
    HWND bar = GetDlgItem(main, STATUS_BAR_ID);
    if (!bar)
        return NOT_FOUND;
    const auto parts = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0));
    for (int part = 0; part < parts; ++part) {
        const LRESULT length = SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0);
        const bool warning = HIWORD(length) & SBT_OWNERDRAW;
        std::wstring text(LOWORD(length), L'\0');
        RemoteBuffer buffer(bar, (text.size() + 1) * sizeof(wchar_t));
        SendMessageW(bar, SB_GETTEXTW, part, buffer.address());
        buffer.read(text.data(), text.size() * sizeof(wchar_t));
        printf("%s %s\n", warning ? "warning" : "plain", utf8(text).c_str());
    }
    return 0;
}

// In Unicode, as the control holds it: WM_GETTEXT would come through the
// editor's 8-bit code page.
int print_preview_text(HWND main)
{
    // The preview is made the first time it is shown: none yet is hidden.
    HWND preview = GetDlgItem(main, PREVIEW_ID);
    if (!preview || !IsWindowVisible(preview)) {
        printf("hidden");
        return 0;
    }
    RemoteBuffer query(preview, sizeof(GETTEXTLENGTHEX));
    const GETTEXTLENGTHEX length_query{GTL_NUMCHARS | GTL_PRECISE, UTF16};
    query.write(&length_query, sizeof length_query);
    const auto length = SendMessageW(preview, EM_GETTEXTLENGTHEX, static_cast<WPARAM>(query.address()), 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    RemoteBuffer buffer(preview, text.size() * sizeof(wchar_t));
    RemoteBuffer text_query(preview, sizeof(GETTEXTEX));
    const GETTEXTEX how{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_DEFAULT, UTF16, nullptr, nullptr};
    text_query.write(&how, sizeof how);
    const auto copied =
        SendMessageW(preview, EM_GETTEXTEX, static_cast<WPARAM>(text_query.address()), buffer.address());
    buffer.read(text.data(), text.size() * sizeof(wchar_t));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    fputs(utf8(text).c_str(), stdout);
    return 0;
}

int print_preview_format(HWND main, LONG position)
{
    HWND preview = GetDlgItem(main, PREVIEW_ID);
    if (!preview)
        return NOT_FOUND;
    RemoteBuffer range(preview, sizeof(CHARRANGE));
    const CHARRANGE one{position, position + 1};
    range.write(&one, sizeof one);
    SendMessageW(preview, EM_EXSETSEL, 0, range.address());
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    RemoteBuffer buffer(preview, sizeof format);
    buffer.write(&format, sizeof format);
    SendMessageW(preview, EM_GETCHARFORMAT, SCF_SELECTION, buffer.address());
    buffer.read(&format, sizeof format);
    printf("%d %d %d %02X%02X%02X %ld %s\n", (format.dwEffects & CFE_BOLD) != 0, (format.dwEffects & CFE_ITALIC) != 0,
           (format.dwEffects & CFE_UNDERLINE) != 0, GetRValue(format.crTextColor), GetGValue(format.crTextColor),
           GetBValue(format.crTextColor), format.yHeight, utf8(format.szFaceName).c_str());
    return 0;
}

int print_focus(HWND main)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    printf("%s\n", info.hwndFocus == GetDlgItem(main, 1) ? "editor" : "elsewhere");
    return 0;
}

struct WindowSearch {
    std::vector<DWORD> processes;
    const char* window_class;
    std::vector<HWND> found;
};

bool has_class(HWND window, const char* window_class)
{
    char class_name[64]{};
    GetClassNameA(window, class_name, sizeof class_name);
    return std::string(class_name) == window_class;
}

BOOL CALLBACK collect_window(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const bool ours = search->processes.empty() ||
                      std::find(search->processes.begin(), search->processes.end(), process) != search->processes.end();
    if (ours && IsWindowVisible(window) && has_class(window, search->window_class))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> top_level_windows(std::vector<DWORD> processes, const char* window_class)
{
    WindowSearch search{std::move(processes), window_class, {}};
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The editor's visible top-level windows of one class.
std::vector<HWND> editor_windows(HWND main, const char* window_class)
{
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    return top_level_windows({process}, window_class);
}

// The dialogs of every running editor.
std::vector<HWND> editor_dialogs(HWND)
{
    std::vector<DWORD> editors;
    for (HWND main : top_level_windows({}, MAIN_CLASS)) {
        DWORD process = 0;
        GetWindowThreadProcessId(main, &process);
        editors.push_back(process);
    }
    return top_level_windows(editors, "#32770");
}

BOOL CALLBACK print_static_text(HWND child, LPARAM)
{
    char class_name[64]{};
    GetClassNameA(child, class_name, sizeof class_name);
    if (std::string(class_name) == "Static") {
        const std::string text = window_text(child);
        if (!text.empty())
            printf("text %s\n", text.c_str());
    }
    return TRUE;
}

int print_dialogs(HWND main)
{
    for (HWND dialog : editor_dialogs(main)) {
        printf("dialog %s\n", window_text(dialog).c_str());
        EnumChildWindows(dialog, print_static_text, 0);
    }
    return 0;
}

int press_button(HWND main, const std::string& title, int id)
{
    for (HWND dialog : editor_dialogs(main)) {
        if (window_text(dialog) == title) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
            return 0;
        }
    }
    return NOT_FOUND;
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
    char class_name[64]{};
    GetClassNameA(child, class_name, sizeof class_name);
    if (!search->any)
        search->any = child;
    if (!search->edit && std::string(class_name) == "Edit")
        search->edit = child;
    return TRUE;
}

int set_control_text(HWND main, const std::string& title, int id, const std::string& text)
{
    for (HWND dialog : editor_dialogs(main)) {
        if (window_text(dialog) != title)
            continue;
        ControlSearch search{id, nullptr, nullptr};
        EnumChildWindows(dialog, match_control, reinterpret_cast<LPARAM>(&search));
        HWND control = search.edit ? search.edit : search.any;
        if (!control)
            return NOT_FOUND;
        const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), size);
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        return 0;
    }
    return NOT_FOUND;
}

int print_popup_menu(HWND main)
{
    printf("%s\n", editor_windows(main, "#32768").empty() ? "closed" : "open");
    return 0;
}

// TB_GETITEMRECT writes through a pointer, so the rectangle has to live in
// the editor's own address space.
int print_toolbar_button(HWND main, int command)
{
    HWND toolbar = FindWindowExA(main, nullptr, TOOLBARCLASSNAMEA, nullptr);
    const auto index = SendMessageA(toolbar, TB_COMMANDTOINDEX, command, 0);
    if (!toolbar || index < 0)
        return NOT_FOUND;
    DWORD process_id = 0;
    GetWindowThreadProcessId(main, &process_id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote));
    RECT rect{};
    ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);

    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(toolbar, &centre);
    printf("%ld %ld\n", centre.x, centre.y);
    return 0;
}

// A point on the screen just inside the character at `position` of the
// editor. The pointer form of the question would not cross processes; the
// edit control's form answers in the result.
int print_character_point(HWND main, LONG position)
{
    HWND editor = GetDlgItem(main, 1);
    const auto packed = static_cast<DWORD>(SendMessageA(editor, EM_POSFROMCHAR, position, 0));
    POINT point{static_cast<short>(LOWORD(packed)) + 1, static_cast<short>(HIWORD(packed)) + 2};
    ClientToScreen(editor, &point);
    printf("%ld %ld\n", point.x, point.y);
    return 0;
}

} // namespace

std::string utf8_of(const wchar_t* wide)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 1), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}

// The arguments as typed, every character, in UTF-8 like every text printed.
std::vector<std::string> utf8_arguments()
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8_of(wide[i]));
    LocalFree(wide);
    return arguments;
}

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    const std::vector<std::string> argv = utf8_arguments();
    const int argc = static_cast<int>(argv.size());
    if (argc < 2) {
        fprintf(stderr, "usage: fe-probe editor-text|title|layout|focus|selection|dialogs|popup-menu|close|status|\n"
                        "                preview-text|preview-format POS|char-point POS|toolbar-button ID|\n"
                        "                press TITLE ID|set-text TITLE ID TEXT\n");
        return 1;
    }
    const std::string command = argv[1];
    HWND main = find_main_window();
    if (!main)
        return NOT_FOUND;

    if (command == "editor-text") {
        const std::string text = window_text(GetDlgItem(main, 1));
        fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    if (command == "title") {
        printf("%s\n", window_text(main).c_str());
        return 0;
    }
    if (command == "layout")
        return print_layout(main);
    if (command == "focus")
        return print_focus(main);
    if (command == "selection") {
        DWORD first = 0, last = 0;
        SendMessageA(GetDlgItem(main, 1), EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
        printf("%lu %lu\n", first, last);
        return 0;
    }
    if (command == "dialogs")
        return print_dialogs(main);
    if (command == "popup-menu")
        return print_popup_menu(main);
    if (command == "close")
        return PostMessageA(main, WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == "status")
        return print_status(main);
    if (command == "preview-text")
        return print_preview_text(main);
    if (command == "preview-format" && argc == 3)
        return print_preview_format(main, atol(argv[2].c_str()));
    if (command == "toolbar-button" && argc == 3)
        return print_toolbar_button(main, atoi(argv[2].c_str()));
    if (command == "char-point" && argc == 3)
        return print_character_point(main, atol(argv[2].c_str()));
    if (command == "press" && argc == 4)
        return press_button(main, argv[2], atoi(argv[3].c_str()));
    if (command == "set-text" && argc == 5)
        return set_control_text(main, argv[2], atoi(argv[3].c_str()), argv[4]);
    fprintf(stderr, "fe-probe: unknown command %s\n", command.c_str());
    return 1;
}
