#include "ui/recent_menu.h"

#include "res/resource_ids.h"
#include "text/files/recent_files.h"
#include "text/unicode/wide_text.h"

namespace {

int position_of(HMENU popup, UINT command)
{
    for (int i = 0; i < GetMenuItemCount(popup); ++i)
        if (GetMenuItemID(popup, i) == command)
            return i;
    return -1;
}

bool is_separator(HMENU popup, int position)
{
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(popup, static_cast<UINT>(position), TRUE, &item) && (item.fType & MFT_SEPARATOR);
}

void remove_recent_files(HMENU popup)
{
    bool had_any = false;
    for (UINT command = IDM_RECENT_FILE_FIRST; command < IDM_RECENT_FILE_FIRST + RECENT_FILE_COUNT; ++command)
        had_any = DeleteMenu(popup, command, MF_BYCOMMAND) || had_any;
    // The separator that closed the list.
    const int end = position_of(popup, IDM_FILE_EXIT);
    if (had_any && end > 0 && is_separator(popup, end - 1))
        DeleteMenu(popup, static_cast<UINT>(end - 1), MF_BYPOSITION);
}

} // namespace

void show_recent_files(HMENU file_popup, const std::vector<std::string>& paths)
{
    remove_recent_files(file_popup);
    const int end = position_of(file_popup, IDM_FILE_EXIT);
    if (paths.empty() || end < 0)
        return;
    auto at = static_cast<UINT>(end);
    for (size_t i = 0; i < paths.size() && i < RECENT_FILE_COUNT; ++i) {
        const std::wstring caption = to_wide(recent_file_caption(i, paths[i]));
        InsertMenuW(file_popup, at++, MF_BYPOSITION | MF_STRING, IDM_RECENT_FILE_FIRST + i, caption.c_str());
    }
    InsertMenuW(file_popup, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

bool is_recent_file_item(UINT command)
{
    return command >= IDM_RECENT_FILE_FIRST && command < IDM_RECENT_FILE_FIRST + RECENT_FILE_COUNT;
}

size_t recent_file_index(UINT command)
{
    return command - IDM_RECENT_FILE_FIRST;
}
