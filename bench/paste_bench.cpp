// A paste of a web page of about 60,000 characters into a post of as many,
// through the Main window's Paste under Wine: as markup (the clipboard's
// HTML converted, its tags given their looks) against the plain-text paste
// of the same page (PASTE AS TEXT), alternating in the same run. Goal: the
// markup paste within 1.5 times the plain one. Each paste is undone before
// the next one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"
#include "app/main_window_state.h"
#include "editor/editor_text.h"
#include "res/resource_ids.h"
#include "text/unicode/unicode_text.h"

namespace {

constexpr int RUNS = 7;
constexpr std::size_t PAGE_CHARACTERS = 60000;
constexpr double GOAL = 1.5;

// A page as a browser copies it: paragraphs of prose with bold words, links
// and emphasis in styled spans, a list and a quote now and then.
std::string page_html()
{
    const std::string prose = plain_post(400);
    std::string html;
    std::size_t characters = 0;
    for (int section = 0; characters < PAGE_CHARACTERS; ++section) {
        const std::string number = std::to_string(section);
        const std::string paragraph =
            "<p><span style=\"color:rgb(32,33,36)\">" + prose.substr(0, 150) + " <b>tučně " + number + "</b> " +
            prose.substr(150, 100) + " <a href=\"https://www.example.org/clanek/" + number + "\">odkaz</a> <em>" +
            prose.substr(250, 40) + "</em></span></p><ul><li>" + prose.substr(0, 60) + "</li></ul>";
        html += paragraph;
        characters += 150 + 8 + number.size() + 100 + 6 + 40 + 60 + 10;
    }
    return html;
}

std::string cf_html(const std::string& fragment)
{
    const std::string before = "<html><body><!--StartFragment-->";
    const std::string after = "<!--EndFragment--></body></html>";
    constexpr int header_size = 105;
    const std::size_t start = header_size + before.size();
    char header[200];
    std::snprintf(header, sizeof header,
                  "Version:0.9\r\nStartHTML:%010d\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\nEndFragment:%010zu\r\n",
                  header_size, start + fragment.size() + after.size(), start, start + fragment.size());
    return std::string(header) + before + fragment + after + '\0';
}

void put(UINT format, const void* data, std::size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    SetClipboardData(format, block);
}

double timed_paste(HWND main_window, HWND editor, WORD command)
{
    set_selection(editor, text_length(editor) / 2, text_length(editor) / 2);
    UpdateWindow(editor);
    const double start = now_ms();
    SendMessageW(main_window, WM_COMMAND, command, 0);
    UpdateWindow(editor);
    return now_ms() - start;
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    HWND main_window = open_main_window();
    if (!main_window)
        return 1;
    HWND editor = editor_of(main_window);
    replace_selection(editor, plain_post(PAGE_CHARACTERS));

    // The page's text, as the browser puts it beside the HTML, is what the
    // plain paste takes.
    const std::string html = page_html();
    if (!OpenClipboard(main_window))
        return 1;
    EmptyClipboard();
    const std::string data = cf_html(html);
    put(RegisterClipboardFormatA("HTML Format"), data.data(), data.size());
    CloseClipboard();
    // The plain paste takes as much text as the markup paste writes: the
    // markup paste's own text, put on the clipboard as text.
    SendMessageW(main_window, WM_COMMAND, IDM_EDIT_PASTE, 0);
    const std::u16string post_before = get_text_utf16(editor);
    SendMessageW(main_window, WM_COMMAND, IDM_EDIT_UNDO, 0);
    editor = editor_of(main_window);
    std::u16string pasted = post_before.substr(static_cast<std::size_t>(text_length(editor)) / 2,
                                               post_before.size() - static_cast<std::size_t>(text_length(editor)));
    pasted.push_back(u'\0');
    OpenClipboard(main_window);
    EmptyClipboard();
    put(RegisterClipboardFormatA("HTML Format"), data.data(), data.size());
    put(CF_UNICODETEXT, pasted.data(), pasted.size() * sizeof(char16_t));
    CloseClipboard();

    std::vector<double> markup, plain, ratios;
    for (int run = 0; run < RUNS; ++run) {
        editor = editor_of(main_window);
        plain.push_back(timed_paste(main_window, editor, IDM_EDIT_PASTE_TEXT));
        SendMessageW(main_window, WM_COMMAND, IDM_EDIT_UNDO, 0);
        editor = editor_of(main_window);
        markup.push_back(timed_paste(main_window, editor, IDM_EDIT_PASTE));
        SendMessageW(main_window, WM_COMMAND, IDM_EDIT_UNDO, 0);
        ratios.push_back(markup.back() / plain.back());
    }
    const double ratio = median_of(ratios);
    printf("A %zu-character page (%zu bytes of HTML) pasted into a %zu-character post: as markup %.1f ms, as "
           "plain text %.1f ms (medians of %d); %.2f times (goal at most %.1f): %s\n",
           pasted.size() - 1, html.size(), PAGE_CHARACTERS, median_of(markup), median_of(plain), RUNS, ratio, GOAL,
           ratio <= GOAL ? "met" : "NOT MET");
    DestroyWindow(main_window);
    return 0;
}
