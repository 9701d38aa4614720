#include "ui/board_dialog.h"

#include <algorithm>

#include "res/resource_ids.h"
#include "text/unicode/byte_reader.h"
#include "ui/board_dialog_state.h"
#include "ui/forum_texts.h"
#include "ui/status_bar.h"
#include "win/caught_failure.h"
#include "win/messages.h"
#include "win/system_utf8.h"

namespace {

constexpr size_t LIMIT_ROWS = BOARD_LIMIT_COUNT;
constexpr int LIMIT_DIGITS = 8;

UINT limit_label(BoardLimit limit, const ForumProfile& forum)
{
    switch (limit) {
    case BoardLimit::length:
        return forum.counting.unit == LengthUnit::bytes ? IDS_BOARD_LIMIT_BYTES : IDS_BOARD_LIMIT_LENGTH;
    case BoardLimit::quote_depth: return IDS_BOARD_LIMIT_QUOTE_DEPTH;
    case BoardLimit::largest_size: return IDS_BOARD_LIMIT_LARGEST_SIZE;
    case BoardLimit::pictures: break;
    }
    return IDS_BOARD_LIMIT_PICTURES;
}

void set_text(HWND dialog, int control, std::string_view text)
{
    SetDlgItemTextW(dialog, control, wide_from_utf8(text).c_str());
}

void refuse(HWND dialog, int field, const std::string& why)
{
    MessageBoxW(dialog, wide_from_utf8(why).c_str(), load_text(IDS_CAPTION_FORUM_SETTINGS).c_str(),
                MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(dialog, field));
    SendDlgItemMessageW(dialog, field, EM_SETSEL, 0, -1);
}

void show_limits(const BoardDialog& dialog)
{
    const Board& board = dialog.list.boards[dialog.list.chosen];
    const ForumProfile& forum = forum_profile(board.forum);
    const std::span<const BoardLimit> limits = adjustable_limits(board.forum);
    for (size_t row = 0; row < LIMIT_ROWS; ++row) {
        const int label = IDC_LIMIT_LABEL_FIRST + static_cast<int>(row);
        const int field = IDC_LIMIT_FIELD_FIRST + static_cast<int>(row);
        const int fallback = IDC_LIMIT_DEFAULT_FIRST + static_cast<int>(row);
        const bool used = row < limits.size();
        for (int control : {label, field, fallback})
            ShowWindow(GetDlgItem(dialog.window, control), used ? SW_SHOWNA : SW_HIDE);
        if (!used)
            continue;
        const BoardLimit limit = limits[row];
        set_text(dialog.window, label, load_program_text(limit_label(limit, forum)));
        const std::optional<uint32_t>& own = board.limit(limit);
        set_text(dialog.window, field, own ? std::to_string(*own) : std::string());
        const uint32_t usual = forum_default(forum, limit);
        set_text(dialog.window, fallback,
                 usual == 0 ? load_program_text(IDS_BOARD_DEFAULT_NONE)
                            : format_program_text(IDS_BOARD_DEFAULT, {locale_number(usual)}));
    }
}

void fill_board_choice(const BoardDialog& dialog)
{
    HWND choice = GetDlgItem(dialog.window, IDC_BOARD_LIST);
    SendMessageW(choice, CB_RESETCONTENT, 0, 0);
    for (const Board& board : dialog.list.boards)
        SendMessageW(choice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide_from_utf8(board_title(board)).c_str()));
    SendMessageW(choice, CB_SETCURSEL, dialog.list.chosen, 0);
}

// "Moje fórum 2": the first number no board's name has.
std::string new_board_name(const BoardList& list)
{
    for (size_t number = 1;; ++number) {
        std::string name = format_program_text(IDS_BOARD_NEW_NAME, {std::to_string(number)});
        if (std::none_of(list.boards.begin(), list.boards.end(), [&](const Board& b) { return b.name == name; }))
            return name;
    }
}

void on_board_chosen(BoardDialog& dialog)
{
    const auto picked = SendDlgItemMessageW(dialog.window, IDC_BOARD_LIST, CB_GETCURSEL, 0, 0);
    if (picked < 0 || static_cast<size_t>(picked) == dialog.list.chosen)
        return;
    // The board left keeps what was typed for it, or stays shown to be mended.
    if (!take_typed_fields(dialog)) {
        SendDlgItemMessageW(dialog.window, IDC_BOARD_LIST, CB_SETCURSEL, dialog.list.chosen, 0);
        return;
    }
    dialog.list.chosen = static_cast<size_t>(picked);
    show_board(dialog);
}

void on_forum_chosen(BoardDialog& dialog)
{
    const auto picked = SendDlgItemMessageW(dialog.window, IDC_BOARD_FORUM, CB_GETCURSEL, 0, 0);
    if (picked < 0 || dialog.shows_forums_own() || !take_typed_fields(dialog))
        return;
    Board& board = dialog.shown();
    board.forum = static_cast<ForumProfileId>(picked);
    // A limit the other forum has not means nothing to this one.
    const std::span<const BoardLimit> kept = adjustable_limits(board.forum);
    for (size_t limit = 0; limit < BOARD_LIMIT_COUNT; ++limit)
        if (std::find(kept.begin(), kept.end(), static_cast<BoardLimit>(limit)) == kept.end())
            board.limits[limit].reset();
    show_limits(dialog);
}

void delete_board(BoardDialog& dialog)
{
    if (dialog.shows_forums_own())
        return;
    dialog.list.boards.erase(dialog.list.boards.begin() + static_cast<std::ptrdiff_t>(dialog.list.chosen));
    --dialog.list.chosen;
    show_board(dialog);
}

void restore_defaults(BoardDialog& dialog)
{
    Board& board = dialog.shown();
    board.limits = {};
    board.extra_tags.clear();
    show_board(dialog);
}

BOOL on_init(HWND window, BoardDialog& dialog)
{
    dialog.window = window;
    for (size_t forum = 0; forum < FORUM_PROFILE_COUNT; ++forum)
        SendDlgItemMessageW(window, IDC_BOARD_FORUM, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(
                                wide_from_utf8(forum_name(static_cast<ForumProfileId>(forum))).c_str()));
    for (size_t row = 0; row < LIMIT_ROWS; ++row)
        SendDlgItemMessageW(window, IDC_LIMIT_FIELD_FIRST + static_cast<int>(row), EM_LIMITTEXT, LIMIT_DIGITS, 0);
    SendDlgItemMessageW(window, IDC_BOARD_NAME, EM_LIMITTEXT, MAX_BOARD_NAME * 2, 0);
    SendDlgItemMessageW(window, IDC_TAG_NAME, EM_LIMITTEXT, MAX_EXTRA_TAG_NAME, 0);
    fill_look_choice(window);
    show_board(dialog);
    return TRUE;
}

void on_command(BoardDialog& dialog, WORD control, WORD notification)
{
    switch (control) {
    case IDC_BOARD_LIST:
        if (notification == CBN_SELCHANGE)
            on_board_chosen(dialog);
        return;
    case IDC_BOARD_FORUM:
        if (notification == CBN_SELCHANGE)
            on_forum_chosen(dialog);
        return;
    case IDC_BOARD_NEW:
        if (take_typed_fields(dialog)) {
            Board copy = dialog.shown();
            copy.name = new_board_name(dialog.list);
            add_board(dialog, std::move(copy));
        }
        return;
    case IDC_BOARD_DELETE: delete_board(dialog); return;
    case IDC_BOARD_DEFAULTS: restore_defaults(dialog); return;
    case IDC_BOARD_IMPORT:
        if (take_typed_fields(dialog))
            import_board(dialog);
        return;
    case IDC_BOARD_EXPORT:
        if (take_typed_fields(dialog))
            export_board(dialog);
        return;
    case IDC_TAG_ADD: add_extra_tag(dialog); return;
    case IDC_TAG_REMOVE: remove_extra_tag(dialog); return;
    case IDOK:
        if (take_typed_fields(dialog))
            EndDialog(dialog.window, IDOK);
        return;
    case IDCANCEL: EndDialog(dialog.window, IDCANCEL); return;
    default: return;
    }
}

INT_PTR board_dialog_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lparam);
        return on_init(window, *reinterpret_cast<BoardDialog*>(lparam));
    }
    auto* dialog = reinterpret_cast<BoardDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (message != WM_COMMAND || !dialog)
        return FALSE;
    on_command(*dialog, LOWORD(wparam), HIWORD(wparam));
    return TRUE;
}

INT_PTR CALLBACK board_dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guarded(window, message, INT_PTR{FALSE}, [&] { return board_dialog_message(window, message, wparam, lparam); });
}

} // namespace

std::string typed_text(HWND dialog, int control)
{
    HWND field = GetDlgItem(dialog, control);
    std::wstring typed(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    typed.resize(static_cast<size_t>(GetWindowTextW(field, typed.data(), static_cast<int>(typed.size()))));
    return utf8_from_wide(typed);
}

bool take_typed_fields(BoardDialog& dialog)
{
    Board& board = dialog.shown();
    if (!dialog.shows_forums_own()) {
        const std::string name = typed_text(dialog.window, IDC_BOARD_NAME);
        if (!is_board_name(name)) {
            refuse(dialog.window, IDC_BOARD_NAME, load_program_text(IDS_BOARD_NAME_REFUSED));
            return false;
        }
        if (name != board.name) {
            board.name = name;
            fill_board_choice(dialog);
        }
    }
    const std::span<const BoardLimit> limits = adjustable_limits(board.forum);
    for (size_t row = 0; row < limits.size(); ++row) {
        const int field = IDC_LIMIT_FIELD_FIRST + static_cast<int>(row);
        const std::string typed = typed_text(dialog.window, field);
        const auto first = typed.find_first_not_of(' ');
        if (first == std::string::npos) {
            board.limit(limits[row]).reset();
            continue;
        }
        const std::string_view digits = std::string_view(typed).substr(first, typed.find_last_not_of(' ') + 1 - first);
        const std::optional<uint32_t> value = parse_number<uint32_t>(digits);
        if (!value || *value > largest_limit(limits[row])) {
            const std::string label = typed_text(dialog.window, IDC_LIMIT_LABEL_FIRST + static_cast<int>(row));
            refuse(dialog.window, field,
                   format_program_text(IDS_BOARD_LIMIT_REFUSED,
                                       {label, locale_number(largest_limit(limits[row]))}));
            return false;
        }
        board.limit(limits[row]) = *value;
    }
    return true;
}

void show_board(BoardDialog& dialog)
{
    HWND window = dialog.window;
    const Board& board = dialog.shown();
    const bool own = dialog.shows_forums_own();
    fill_board_choice(dialog);
    set_text(window, IDC_BOARD_NAME, board_title(board));
    SendDlgItemMessageW(window, IDC_BOARD_NAME, EM_SETREADONLY, own, 0);
    SendDlgItemMessageW(window, IDC_BOARD_FORUM, CB_SETCURSEL, static_cast<WPARAM>(board.forum), 0);
    EnableWindow(GetDlgItem(window, IDC_BOARD_FORUM), !own);
    EnableWindow(GetDlgItem(window, IDC_BOARD_DELETE), !own);
    show_limits(dialog);
    show_extra_tags(dialog);
}

void add_board(BoardDialog& dialog, Board board)
{
    if (dialog.list.boards.size() >= FORUM_PROFILE_COUNT + MAX_USER_BOARDS) {
        show_message(dialog.window, {IDS_BOARD_TOO_MANY_BOARDS, IDS_CAPTION_FORUM_SETTINGS, MB_OK | MB_ICONWARNING});
        return;
    }
    dialog.list.boards.push_back(std::move(board));
    dialog.list.chosen = dialog.list.boards.size() - 1;
    show_board(dialog);
    SetFocus(GetDlgItem(dialog.window, IDC_BOARD_NAME));
    SendDlgItemMessageW(dialog.window, IDC_BOARD_NAME, EM_SETSEL, 0, -1);
}

std::optional<BoardList> ask_board_settings(HWND owner, const BoardList& boards)
{
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    BoardDialog dialog{boards};
    const INT_PTR answer = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_FORUM_SETTINGS), owner, board_dialog_proc,
                                           reinterpret_cast<LPARAM>(&dialog));
    if (answer != IDOK)
        return std::nullopt;
    return std::move(dialog.list);
}
