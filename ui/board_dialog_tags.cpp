// The forum settings dialog's extra tags: the list of them, each with its
// look, and a tag added or removed.
#include <algorithm>

#include "res/resource_ids.h"
#include "text/unicode/ascii_case.h"
#include "ui/board_dialog_state.h"
#include "win/messages.h"
#include "win/system_utf8.h"

namespace {

constexpr UINT LOOK_TEXTS[] = {IDS_LOOK_BOLD, IDS_LOOK_CENTER, IDS_LOOK_STRIKE, IDS_LOOK_QUOTE, IDS_LOOK_CODE,
                               IDS_LOOK_RULE, IDS_LOOK_LINK,   IDS_LOOK_PICTURE, IDS_LOOK_BOX};
static_assert(std::size(LOOK_TEXTS) == EXTRA_LOOK_COUNT);

std::string tag_entry(const ExtraTag& tag)
{
    return format_program_text(tag.takes_value ? IDS_TAG_ENTRY_VALUE : IDS_TAG_ENTRY,
                               {tag.name, load_program_text(LOOK_TEXTS[static_cast<size_t>(tag.look)])});
}

void refuse_tag(HWND dialog, const std::string& why)
{
    MessageBoxW(dialog, wide_from_utf8(why).c_str(), load_text(IDS_CAPTION_FORUM_SETTINGS).c_str(),
                MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(dialog, IDC_TAG_NAME));
    SendDlgItemMessageW(dialog, IDC_TAG_NAME, EM_SETSEL, 0, -1);
}

} // namespace

void fill_look_choice(HWND dialog)
{
    for (UINT text : LOOK_TEXTS)
        SendDlgItemMessageW(dialog, IDC_TAG_LOOK, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(load_text(text).c_str()));
    SendDlgItemMessageW(dialog, IDC_TAG_LOOK, CB_SETCURSEL, static_cast<WPARAM>(ExtraLook::box), 0);
}

void show_extra_tags(const BoardDialog& dialog)
{
    HWND list = GetDlgItem(dialog.window, IDC_TAG_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const ExtraTag& tag : dialog.list.boards[dialog.list.chosen].extra_tags)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide_from_utf8(tag_entry(tag)).c_str()));
    EnableWindow(GetDlgItem(dialog.window, IDC_TAG_REMOVE), SendMessageW(list, LB_GETCOUNT, 0, 0) > 0);
}

void add_extra_tag(BoardDialog& dialog)
{
    HWND window = dialog.window;
    std::string name = typed_text(window, IDC_TAG_NAME);
    // "[spoiler]" typed whole is the tag "spoiler".
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    Board& board = dialog.shown();
    switch (extra_tag_fault(board, name)) {
    case ExtraTagFault::bad_name:
        refuse_tag(window, load_program_text(IDS_BOARD_TAG_NAME_REFUSED));
        return;
    case ExtraTagFault::repeated:
        refuse_tag(window, format_program_text(IDS_BOARD_TAG_REPEATED, {name}));
        return;
    case ExtraTagFault::too_many:
        refuse_tag(window, load_program_text(IDS_BOARD_TOO_MANY_TAGS));
        return;
    case ExtraTagFault::none:
        break;
    }
    std::transform(name.begin(), name.end(), name.begin(), to_lower_ascii);
    const auto look = SendDlgItemMessageW(window, IDC_TAG_LOOK, CB_GETCURSEL, 0, 0);
    const bool takes_value = IsDlgButtonChecked(window, IDC_TAG_TAKES_VALUE) == BST_CHECKED;
    board.extra_tags.push_back(
        {name, takes_value, look < 0 ? ExtraLook::box : static_cast<ExtraLook>(look)});
    show_extra_tags(dialog);
    SetDlgItemTextW(window, IDC_TAG_NAME, L"");
    SetFocus(GetDlgItem(window, IDC_TAG_NAME));
}

void remove_extra_tag(BoardDialog& dialog)
{
    const auto picked = SendDlgItemMessageW(dialog.window, IDC_TAG_LIST, LB_GETCURSEL, 0, 0);
    std::vector<ExtraTag>& tags = dialog.shown().extra_tags;
    if (picked < 0 || static_cast<size_t>(picked) >= tags.size())
        return;
    tags.erase(tags.begin() + picked);
    show_extra_tags(dialog);
}
