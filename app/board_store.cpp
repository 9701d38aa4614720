#include "app/board_store.h"

#include "app/settings.h"
#include "text/forum/board_file.h"
#include "ui/limit_dialog.h"

namespace {

std::wstring forum_board_value(size_t forum)
{
    return FORUM_BOARD_VALUE + std::to_wstring(forum);
}

std::wstring user_board_value(size_t index)
{
    return USER_BOARD_VALUE + std::to_wstring(index + 1);
}

// Stored as UTF-8 in a binary value: the text is the file's, byte for byte.
std::optional<std::string> read_board_bytes(const std::wstring& name)
{
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, BOARDS_KEY, name.c_str(), RRF_RT_REG_BINARY, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size > MAX_BOARD_TEXT)
        return std::nullopt;
    std::string bytes(size, '\0');
    if (RegGetValueW(HKEY_CURRENT_USER, BOARDS_KEY, name.c_str(), RRF_RT_REG_BINARY, nullptr, bytes.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(size);
    return bytes;
}

std::optional<Board> read_board(const std::wstring& name)
{
    const std::optional<std::string> bytes = read_board_bytes(name);
    if (!bytes)
        return std::nullopt;
    return read_board_text(*bytes).board;
}

bool write_board(const std::wstring& name, const Board& board)
{
    const std::string text = board_text(board);
    return RegSetKeyValueW(HKEY_CURRENT_USER, BOARDS_KEY, name.c_str(), REG_BINARY, text.data(),
                           static_cast<DWORD>(text.size())) == ERROR_SUCCESS;
}

} // namespace

BoardList load_boards()
{
    BoardList list = default_boards();
    const std::optional<DWORD> old_limit = stored_character_limit();
    for (size_t forum = 0; forum < FORUM_PROFILE_COUNT; ++forum) {
        Board& own = list.boards[forum];
        if (std::optional<Board> stored = read_board(forum_board_value(forum)); stored && stored->forum == own.forum) {
            own = std::move(*stored);
            own.name.clear();
        } else if (old_limit) {
            own.limit(BoardLimit::length) = *old_limit;
        }
    }
    for (size_t index = 0; index < MAX_USER_BOARDS; ++index) {
        std::optional<Board> stored = read_board(user_board_value(index));
        if (!stored)
            break;
        list.boards.push_back(std::move(*stored));
    }
    const DWORD chosen = stored_board_choice();
    if (chosen < FORUM_PROFILE_COUNT)
        list.chosen = chosen;
    else if (chosen >= FIRST_USER_BOARD_CHOICE && chosen - FIRST_USER_BOARD_CHOICE + FORUM_PROFILE_COUNT < list.boards.size())
        list.chosen = chosen - FIRST_USER_BOARD_CHOICE + FORUM_PROFILE_COUNT;
    return list;
}

bool save_boards(const BoardList& list)
{
    bool saved = true;
    for (size_t forum = 0; forum < FORUM_PROFILE_COUNT; ++forum) {
        Board own = list.boards[forum];
        own.name = "-"; // the file's form wants a name
        saved = write_board(forum_board_value(forum), own) && saved;
    }
    size_t index = 0;
    for (size_t at = FORUM_PROFILE_COUNT; at < list.boards.size() && index < MAX_USER_BOARDS; ++at, ++index)
        saved = write_board(user_board_value(index), list.boards[at]) && saved;
    // A deleted board's value goes, and with it any stored after it.
    for (; index < MAX_USER_BOARDS; ++index)
        RegDeleteKeyValueW(HKEY_CURRENT_USER, BOARDS_KEY, user_board_value(index).c_str());
    return save_chosen_board(list.chosen) && saved;
}

bool save_chosen_board(size_t chosen)
{
    const DWORD stored = chosen < FORUM_PROFILE_COUNT
                             ? static_cast<DWORD>(chosen)
                             : static_cast<DWORD>(chosen - FORUM_PROFILE_COUNT + FIRST_USER_BOARD_CHOICE);
    return save_board_choice(stored);
}
