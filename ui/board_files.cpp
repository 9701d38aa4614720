// The forum settings dialog's files: the board shown written into a small
// UTF-8 text file, and a board read from one. A file that is refused
// changes nothing, and the message names its line.
#include <string>

#include "document/file_io.h"
#include "res/resource_ids.h"
#include "text/forum/board_file.h"
#include "ui/board_dialog_state.h"
#include "ui/forum_texts.h"
#include "win/messages.h"
#include "win/system_utf8.h"

#include <commdlg.h>

namespace {

constexpr UINT FAULT_TEXTS[] = {
    IDS_BOARD_FAULT_TOO_LARGE,     IDS_BOARD_FAULT_NOT_UTF8,      IDS_BOARD_FAULT_LINE_TOO_LONG,
    IDS_BOARD_FAULT_NOT_A_LINE,    IDS_BOARD_FAULT_UNKNOWN_SECTION, IDS_BOARD_FAULT_UNKNOWN_KEY,
    IDS_BOARD_FAULT_REPEATED_KEY,  IDS_BOARD_FAULT_NOT_A_NUMBER,  IDS_BOARD_FAULT_OUT_OF_RANGE,
    IDS_BOARD_FAULT_NOT_FOR_FORUM, IDS_BOARD_FAULT_UNKNOWN_FORUM, IDS_BOARD_FAULT_NOT_YES_OR_NO,
    IDS_BOARD_FAULT_UNKNOWN_LOOK,  IDS_BOARD_FAULT_BAD_NAME,      IDS_BOARD_FAULT_BAD_TAG_NAME,
    IDS_BOARD_FAULT_REPEATED_TAG,  IDS_BOARD_FAULT_TOO_MANY_TAGS, IDS_BOARD_FAULT_MISSING_KEY,
    IDS_BOARD_FAULT_NO_BOARD,
};
static_assert(std::size(FAULT_TEXTS) == static_cast<size_t>(BoardFileFault::no_board));

constexpr DWORD PATH_BUFFER = 32768;

// The filter's "|" stand for the NULs the dialog wants.
std::wstring file_filter()
{
    std::wstring filter = load_text(IDS_BOARD_FILE_FILTER);
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    return filter;
}

std::optional<std::string> ask_board_file(HWND owner, bool saving, const std::string& suggested)
{
    std::wstring path = wide_from_utf8(suggested);
    path.resize(PATH_BUFFER, L'\0');
    const std::wstring filter = file_filter();
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = PATH_BUFFER;
    dialog.lpstrDefExt = L"ini";
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (saving ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    if (!(saving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog)))
        return std::nullopt;
    path.resize(wcsnlen(path.c_str(), path.size()));
    return utf8_from_wide(path);
}

// A name a file can take: the characters Windows refuses become "_".
std::string file_name_for(std::string name)
{
    for (char& c : name)
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            c = '_';
    return name + ".ini";
}

void show_file_error(HWND owner, const std::string& path, DWORD error)
{
    show_error(owner, IDS_FILE_ERROR, quoted_path(path) + "\n" + system_reason(error));
}

} // namespace

void export_board(BoardDialog& dialog)
{
    Board board = dialog.shown();
    board.name = board_title(board);
    const std::optional<std::string> path = ask_board_file(dialog.window, true, file_name_for(board.name));
    if (!path)
        return;
    if (const DWORD error = write_file_atomically(*path, board_text(board)))
        show_file_error(dialog.window, *path, error);
}

void import_board(BoardDialog& dialog)
{
    const std::optional<std::string> path = ask_board_file(dialog.window, false, {});
    if (!path)
        return;
    // One byte past the largest text tells a larger file.
    const FileRead read = read_whole_file(*path, MAX_BOARD_TEXT + 1);
    BoardFileRead board;
    if (read.failure == ReadFailure::too_large) {
        board.error = {BoardFileFault::too_large, 1};
    } else if (!read.bytes) {
        show_file_error(dialog.window, *path, read.error);
        return;
    } else {
        board = read_board_text(*read.bytes);
    }
    if (!board.board) {
        const UINT reason = FAULT_TEXTS[static_cast<size_t>(board.error.fault) - 1];
        const std::string text = format_program_text(
            IDS_BOARD_FILE_REFUSED, {quoted_path(*path), load_program_text(reason), std::to_string(board.error.line)});
        MessageBoxW(dialog.window, wide_from_utf8(text).c_str(), load_text(IDS_CAPTION_FORUM_SETTINGS).c_str(),
                    MB_OK | MB_ICONWARNING);
        return;
    }
    add_board(dialog, std::move(*board.board));
}
