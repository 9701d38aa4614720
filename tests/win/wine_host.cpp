#include "wine_host.h"

#include <atomic>
#include <cstdlib>
#include <vector>

namespace {

using UnixNameFromDos = char*(CDECL*)(LPCWSTR);
using DosNameFromUnix = WCHAR*(CDECL*)(LPCSTR);

FARPROC wine_function(const char* name)
{
    return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

std::wstring widen(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string narrow(const WCHAR* wide)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}

bool file_exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void remove_tree(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                remove_tree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

std::string dos_path(const std::string& unix_name)
{
    auto convert = reinterpret_cast<DosNameFromUnix>(wine_function("wine_get_dos_file_name"));
    if (!convert)
        return {};
    WCHAR* wide = convert(unix_name.c_str());
    if (!wide)
        return {};
    std::string path = narrow(wide);
    HeapFree(GetProcessHeap(), 0, wide);
    return path;
}

std::string unix_path(const std::string& dos_name)
{
    auto convert = reinterpret_cast<UnixNameFromDos>(wine_function("wine_get_unix_file_name"));
    if (!convert)
        return {};
    char* name = convert(widen(dos_name).c_str());
    if (!name)
        return {};
    std::string path = name;
    HeapFree(GetProcessHeap(), 0, name);
    return path;
}

std::string environment_variable(const char* name)
{
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return {};
    std::string value(size, '\0');
    value.resize(GetEnvironmentVariableA(name, value.data(), size));
    return value;
}

std::optional<UnixCommandResult> run_unix_command(const std::string& command, DWORD timeout_ms)
{
    if (command.find_first_of("\"\\") != std::string::npos)
        return std::nullopt;
    ScratchFolder scratch;
    const std::string output = unix_path(scratch.file("output"));
    const std::string status = unix_path(scratch.file("status"));
    std::string line = "/bin/sh -c \"( " + command + " ) >'" + output + "' 2>&1; echo $? >'" + status +
                       ".part'; mv '" + status + ".part' '" + status + "'\"";

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return std::nullopt;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    const DWORD start = GetTickCount();
    while (!file_exists(scratch.file("status"))) {
        if (GetTickCount() - start > timeout_ms)
            return std::nullopt;
        Sleep(20);
    }
    const auto code = read_file_bytes(scratch.file("status"));
    const auto text = read_file_bytes(scratch.file("output"));
    return UnixCommandResult{code ? std::atoi(code->c_str()) : -1, text.value_or("")};
}

ScratchFolder::ScratchFolder()
{
    static std::atomic<int> counter{0};
    char temp[MAX_PATH]{};
    GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\')
        base.pop_back();
    do {
        path = base + "\\fe-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
    } while (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

ScratchFolder::~ScratchFolder()
{
    remove_tree(path);
}

std::optional<std::string> read_file_bytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char block[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(file, block, sizeof block, &read, nullptr)) && read > 0)
        bytes.append(block, read);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return bytes;
}

bool write_file_bytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return CloseHandle(file) && ok;
}
