// A paste of 10 MB of plain text (100,000 lines) into a short post in the
// real Main window under Wine, its undo, its redo and its undo again: the
// undo may take at most twice the paste's own time. The undo used to
// delete the text in place, which Wine's control does in time growing with
// the square of the lines (over 24 minutes for 10 MB). The paste is
// measured against the bare control of the same size and font taking the
// same text at the same place, in the same run, the quicker of its own
// stream (EM_STREAMIN) and the editor's slices of EM_REPLACESEL: the least
// the platform needs for it. An argument gives another
// size in MB.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench_support.h"
#include "app/main_window_state.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"

namespace {

constexpr double MOST_TIMES_THE_PASTE = 2.0;
constexpr double MOST_TIMES_THE_BARE_CONTROL = 1.3;
constexpr LONG PASTED_AT = 3000;

bool put_on_clipboard(HWND owner, const std::wstring& text)
{
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
    return true;
}

double timed_command(HWND main_window, WORD command)
{
    const double start = now_ms();
    SendMessageW(main_window, WM_COMMAND, command, 0);
    UpdateWindow(editor_of(main_window));
    return now_ms() - start;
}

// The bare control takes the same text at the same place, and paints: in
// one stream of UTF-16 into its selection, or in the editor's slices of
// EM_REPLACESEL; ms.
double bare_paste(const std::string& post, const std::string& pasted, bool in_slices)
{
    HWND window = open_bare_window();
    if (!window)
        return -1;
    HWND control = GetWindow(window, GW_CHILD);
    SetWindowTextA(control, post.c_str());
    set_selection(control, PASTED_AT, PASTED_AT);
    const std::u16string text(pasted.begin(), pasted.end());
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
    const double start = now_ms();
    if (in_slices)
        replace_selection_in_slices(control, text);
    else
        stream_in(control, bytes, SF_TEXT | SF_UNICODE | SFF_SELECTION);
    UpdateWindow(control);
    const double took = now_ms() - start;
    const bool whole = text_length(control) == static_cast<LONG>(post.size() + text.size());
    DestroyWindow(window);
    return whole ? took : -1;
}

} // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 10.0;
    HWND main_window = open_main_window();
    if (!main_window)
        return 1;
    MainWindowState& state = *main_window_state(main_window);
    const std::string paragraph = plain_post(6000);
    set_selection(state.parts.editor, 0, -1);
    replace_selection(state.parts.editor, paragraph);
    const std::u16string post = get_text_utf16(state.parts.editor);
    set_selection(state.parts.editor, PASTED_AT, PASTED_AT);

    const std::string pasted_text = repeated_to_length(plain_post(1 << 16), static_cast<std::size_t>(megabytes * 1e6));
    if (!put_on_clipboard(main_window, std::wstring(pasted_text.begin(), pasted_text.end())))
        return 1;

    const double paste = timed_command(main_window, IDM_EDIT_PASTE);
    const LONG pasted = text_length(state.parts.editor);
    const double undo = timed_command(main_window, IDM_EDIT_UNDO);
    const bool undone = get_text_utf16(state.parts.editor) == post;
    const double redo = timed_command(main_window, IDM_EDIT_REDO);
    const bool redone = text_length(state.parts.editor) == pasted;
    const double undo_again = timed_command(main_window, IDM_EDIT_UNDO);
    if (!undone || !redone || get_text_utf16(state.parts.editor) != post) {
        printf("undo or redo did not give the document back\n");
        return 1;
    }
    printf("A paste of %.1f MB (%ld characters in the post afterwards) into a post of %zu: %.0f ms\n", megabytes,
           static_cast<long>(pasted), post.size(), paste);
    printf("Its undo: %.0f ms, %.2f times the paste (at most %.1f): %s\n", undo, undo / paste, MOST_TIMES_THE_PASTE,
           undo <= MOST_TIMES_THE_PASTE * paste ? "within" : "OVER");
    printf("Its redo: %.0f ms; the undo again: %.0f ms\n", redo, undo_again);
    DestroyWindow(main_window);

    const double streamed = bare_paste(paragraph, pasted_text, false);
    const double sliced = bare_paste(paragraph, pasted_text, true);
    if (streamed <= 0 || sliced <= 0) {
        printf("the bare control did not take the text\n");
        return 1;
    }
    // The floor is the quicker of the control's two ways.
    const double bare = std::min(streamed, sliced);
    printf("The bare control, the same text at the same place: in one stream %.0f ms, in slices of %zu %.0f ms\n",
           streamed, INSERT_SLICE, sliced);
    printf("ratio: a %.0f MB paste, editor / the bare control's quicker way: %.2f (at most %.1f)\n", megabytes,
           paste / bare, MOST_TIMES_THE_BARE_CONTROL);
    return 0;
}
