#include "document/personal_dictionary.h"

#include <windows.h>
#include <shlobj.h>

#include "document/draft_store.h"
#include "win/user_folders.h"
#include "win/win_handles.h"

namespace {

std::wstring folder_of(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The last byte of the file, so that an addition starts on a line of its own.
std::string last_byte(HANDLE file)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart == 0)
        return {};
    LARGE_INTEGER last{};
    last.QuadPart = size.QuadPart - 1;
    char byte = 0;
    DWORD read = 0;
    if (!SetFilePointerEx(file, last, nullptr, FILE_BEGIN) || !ReadFile(file, &byte, 1, &read, nullptr) || read != 1)
        return {};
    return std::string(1, byte);
}

} // namespace

std::wstring personal_dictionary_path()
{
    if (std::wstring chosen = environment_value(PERSONAL_DICTIONARY_VARIABLE); !chosen.empty())
        return chosen;
    const std::wstring roaming = user_folder(L"APPDATA", CSIDL_APPDATA);
    if (roaming.empty())
        return {};
    return roaming + L"\\Forum Editor\\dictionary.txt";
}

PersonalWords read_personal_dictionary(const std::wstring& path)
{
    DWORD error = 0;
    // A file read whole, as a recovery copy is.
    const std::optional<std::string> bytes = read_draft_file(path, &error);
    if (bytes)
        return {parse_word_list(*bytes), 0};
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return {};
    return {{}, error ? error : static_cast<DWORD>(ERROR_READ_FAULT)};
}

bool add_to_personal_dictionary(const std::wstring& path, std::string_view word)
{
    if (path.empty() || !is_storable_word(word))
        return false;
    if (const std::wstring folder = folder_of(path); !folder.empty())
        CreateDirectoryW(folder.c_str(), nullptr); // an existing folder is fine
    const OwnedFile file(CreateFileW(path.c_str(), GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    const std::string line = word_list_addition(last_byte(file.get()), word);
    DWORD written = 0;
    return WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
           written == line.size();
}
