#include "ui/window_title.h"

#include "text/files/document_title.h"
#include "res/resource_ids.h"
#include "text/unicode/wide_text.h"
#include "win/messages.h"

void show_document_title(HWND main_window, const std::string& file_name)
{
    const std::string title = file_name.empty() ? load_program_text(IDS_UNTITLED_TITLE) : document_title(file_name);
    SetWindowTextW(main_window, to_wide(title).c_str());
}
