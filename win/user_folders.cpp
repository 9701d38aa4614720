#include "win/user_folders.h"

#include <shlobj.h>

#include <cwchar>

std::wstring environment_value(const wchar_t* name)
{
    const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0)
        return {};
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), length));
    return value;
}

std::wstring user_folder(const wchar_t* variable, int csidl)
{
    if (std::wstring folder = environment_value(variable); !folder.empty())
        return folder;
    // The shell's function takes no size: MAX_PATH is what it writes at most.
    std::wstring folder(MAX_PATH, L'\0');
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder.data())))
        return {};
    folder.resize(std::wcslen(folder.c_str()));
    return folder;
}

std::wstring program_path()
{
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length < program.size()) {
            program.resize(length);
            return program;
        }
        program.resize(program.size() * 2);
    }
}
