#include "document/file_io.h"

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <new>
#include <utility>

#include "text/files/device_names.h"
#include "res/resource_ids.h"
#include "text/unicode/wide_text.h"
#include "win/messages.h"
#include "win/win_handles.h"

namespace {

constexpr std::size_t READ_BLOCK_BYTES = 64 * 1024;
constexpr std::size_t WRITE_BLOCK_BYTES = 1 << 20;

// Deletes a temporary file unless the write got as far as handing it over.
struct TemporaryFile {
    std::wstring path;
    explicit TemporaryFile(std::wstring created) : path(std::move(created)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!path.empty())
            DeleteFileW(path.c_str());
    }
};

// The longest path that the file functions take as it is: a folder's
// leaves room for a file name of 8.3 characters.
constexpr std::size_t PLAIN_PATH_LIMIT = MAX_PATH - 12;

FileRead failed(ReadFailure failure, DWORD error, std::uint64_t size = 0)
{
    return {std::nullopt, failure, error, size};
}

std::wstring folder_of(const std::wstring& path)
{
    const auto separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return L".\\";
    return path.substr(0, separator + 1);
}

// An existing file that must not be replaced: read-only, or a folder.
bool is_protected(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

// A new, empty file in the target's folder, under a name of its own (the
// system's temporary names stop short of long folders); empty, with the
// system's error code, when none can be made.
std::wstring create_file_beside(const std::wstring& target, OwnedFile& file, DWORD& error)
{
    static std::atomic<unsigned> attempt{0};
    for (int tries = 0; tries < 100; ++tries) {
        wchar_t name[40];
        std::swprintf(name, 40, L"fe%lx-%x.tmp", static_cast<unsigned long>(GetCurrentProcessId()), ++attempt);
        std::wstring path = folder_of(target) + name;
        file.reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return path;
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return {};
    }
    return {};
}

bool write_all(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD block = static_cast<DWORD>(std::min(bytes.size(), WRITE_BLOCK_BYTES));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), block, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file) != 0;
}

std::uint64_t from_filetime(const FILETIME& time)
{
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// The path made whole as Windows makes it (".", ".." and the names'
// trailing dots and spaces gone); empty when it cannot be.
std::wstring full_path(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    const DWORD length = needed ? GetFullPathNameW(path.c_str(), needed, full.data(), nullptr) : 0;
    if (length == 0 || length >= needed)
        return {};
    full.resize(length);
    return full;
}

} // namespace

std::wstring system_path(const std::string& path)
{
    const std::wstring wide = to_wide(path);
    if (wide.size() < PLAIN_PATH_LIMIT || wide.rfind(L"\\\\?\\", 0) == 0)
        return wide;
    // The long form takes no "." or "..", nor a relative path.
    const std::wstring full = full_path(wide);
    if (full.empty())
        return wide;
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::string name_as_saved(const std::string& path)
{
    const std::wstring wide = system_path(path);
    if (wide.rfind(L"\\\\?\\", 0) == 0)
        return path;
    const std::wstring full = full_path(wide);
    return full.empty() ? path : from_wide(full);
}

std::string absolute_path(const std::string& path)
{
    const std::wstring full = full_path(to_wide(path));
    return full.empty() ? path : from_wide(full);
}

std::string system_reason(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = length && text ? from_wide(std::wstring_view(text, length))
                                        : format_program_text(IDS_SYSTEM_ERROR_NUMBER, {std::to_string(error)});
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

PathKind path_kind(const std::string& path)
{
    // By its name alone: a device is not opened to be looked at.
    if (names_a_device(path))
        return PathKind::device;
    const DWORD attributes = GetFileAttributesW(system_path(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::folder : PathKind::other;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathKind::missing : PathKind::other;
}

FileRead read_whole_file(const std::string& path, std::size_t limit)
{
    const OwnedFile file(CreateFileW(system_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return failed(ReadFailure::system_error, GetLastError());
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return failed(ReadFailure::not_a_regular_file, ERROR_INVALID_FUNCTION);

    LARGE_INTEGER size{};
    const bool size_known = GetFileSizeEx(file.get(), &size);
    if (size_known && static_cast<ULONGLONG>(size.QuadPart) > limit)
        return failed(ReadFailure::too_large, ERROR_FILE_TOO_LARGE, static_cast<std::uint64_t>(size.QuadPart));
    try {
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(std::max<LONGLONG>(size.QuadPart, 0)));
        std::string block(READ_BLOCK_BYTES, '\0');
        for (;;) {
            DWORD read = 0;
            if (!ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr))
                return failed(ReadFailure::system_error, GetLastError());
            if (read == 0) {
                FILETIME written{};
                GetFileTime(file.get(), nullptr, nullptr, &written);
                FileRead whole{std::move(bytes)};
                whole.stamp = {whole.bytes->size(), from_filetime(written)};
                return whole;
            }
            bytes.append(block, 0, read);
            if (bytes.size() > limit)
                return failed(ReadFailure::too_large, ERROR_FILE_TOO_LARGE);
        }
    } catch (const std::bad_alloc&) {
        // Not enough memory for it: an error message, not a lost document.
        return failed(ReadFailure::system_error, ERROR_NOT_ENOUGH_MEMORY);
    }
}

std::optional<FileStamp> file_stamp(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(system_path(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return FileStamp{(std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow, from_filetime(data.ftLastWriteTime)};
}

DWORD write_file_atomically(const std::string& path, std::string_view bytes)
{
    const std::wstring target = system_path(path);
    if (is_protected(target))
        return ERROR_ACCESS_DENIED;

    DWORD error = 0;
    // The file is closed before the temporary one may be deleted.
    TemporaryFile temporary(L"");
    OwnedFile file;
    temporary.path = create_file_beside(target, file, error);
    if (!file)
        return error;
    if (!write_all(file.get(), bytes) || !file.reset()) {
        // A full disk is the usual cause when the system gives none.
        const DWORD error = GetLastError();
        return error ? error : ERROR_DISK_FULL;
    }
    if (!MoveFileExW(temporary.path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return GetLastError();
    temporary.path.clear();
    return 0;
}
