#include "document/draft_store.h"

#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "document/document_file.h"
#include "document/file_io.h"
#include "text/unicode/byte_reader.h"
#include "text/unicode/wide_text.h"
#include "win/user_folders.h"
#include "win/win_handles.h"

namespace {

constexpr wchar_t DRAFT_EXTENSION[] = L".draft";
constexpr wchar_t DAMAGED_EXTENSION[] = L".damaged";
constexpr std::size_t START_DIGITS = 16;
// "\\u-32768?": no character takes more in the RTF the editor writes.
constexpr std::uint64_t LONGEST_CHARACTER_BYTES = 9;
// The lines around the body: a file name of the longest path, and the rest.
constexpr std::uint64_t MAX_HEADER_BYTES = 256 * 1024;
// Enough for the question: the header and the first words of the body.
constexpr std::size_t START_BYTES = 64 * 1024;

std::uint64_t from_filetime(const FILETIME& time)
{
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

std::wstring joined(const std::wstring& folder, const std::wstring& name)
{
    return folder + L"\\" + name;
}

// The process a copy's name names, if it is a copy's name.
std::optional<EditorProcess> writer_of(std::wstring_view name)
{
    const std::wstring_view extension = DRAFT_EXTENSION;
    if (name.size() <= extension.size() || name.substr(name.size() - extension.size()) != extension)
        return std::nullopt;
    name.remove_suffix(extension.size());
    const std::size_t dash = name.find(L'-');
    if (dash == std::wstring_view::npos || name.size() - dash - 1 != START_DIGITS)
        return std::nullopt;
    const auto id = parse_number<std::uint32_t>(name.substr(0, dash));
    const auto started = parse_number<std::uint64_t>(name.substr(dash + 1), 16);
    if (!id || !started)
        return std::nullopt;
    return EditorProcess{*id, *started};
}

bool later(const StoredDraft& a, const StoredDraft& b)
{
    return CompareFileTime(&a.written, &b.written) > 0;
}

DWORD create_folder(const std::wstring& folder)
{
    const int result = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS ? 0 : static_cast<DWORD>(result);
}

} // namespace

std::wstring default_recovery_folder()
{
    const std::wstring local = user_folder(L"LOCALAPPDATA", CSIDL_LOCAL_APPDATA);
    if (local.empty())
        return {};
    return local + L"\\Forum Editor\\Recovery";
}

EditorProcess current_editor_process()
{
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return {GetCurrentProcessId(), from_filetime(created)};
}

bool is_running(const EditorProcess& process)
{
    const HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process.id);
    if (!handle)
        // One that is there but not ours to look at may be an editor of
        // another session: leave its copy alone.
        return GetLastError() == ERROR_ACCESS_DENIED;
    FILETIME created{}, exited{}, kernel{}, user{};
    DWORD exit_code = 0;
    const bool same = GetProcessTimes(handle, &created, &exited, &kernel, &user) &&
                      from_filetime(created) == process.started && GetExitCodeProcess(handle, &exit_code) &&
                      exit_code == STILL_ACTIVE;
    CloseHandle(handle);
    return same;
}

std::wstring draft_file_name(const EditorProcess& process)
{
    wchar_t name[64];
    std::swprintf(name, 64, L"%lu-%016llx%ls", static_cast<unsigned long>(process.id),
                  static_cast<unsigned long long>(process.started), DRAFT_EXTENSION);
    return name;
}

std::vector<StoredDraft> find_drafts(const std::wstring& folder)
{
    std::vector<StoredDraft> drafts;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(joined(folder, L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return drafts;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (const auto writer = writer_of(entry.cFileName))
            drafts.push_back({joined(folder, entry.cFileName), *writer, entry.ftLastWriteTime});
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(drafts.begin(), drafts.end(), later);
    return drafts;
}

DWORD write_draft_file(const std::wstring& folder, const std::wstring& name, std::string_view bytes)
{
    if (const DWORD error = create_folder(folder))
        return error;
    return write_file_atomically(from_wide(joined(folder, name)), bytes);
}

std::uint64_t max_draft_body_bytes()
{
    return LONGEST_CHARACTER_BYTES * DOCUMENT_SIZE_LIMIT;
}

std::optional<DraftStart> read_draft_start(const std::wstring& path, DWORD* error)
{
    const OwnedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    DraftStart start;
    start.bytes.resize(START_BYTES);
    DWORD read = 0;
    if (!file || !GetFileSizeEx(file.get(), &size) ||
        !ReadFile(file.get(), start.bytes.data(), static_cast<DWORD>(start.bytes.size()), &read, nullptr)) {
        if (error)
            *error = GetLastError();
        return std::nullopt;
    }
    start.bytes.resize(read);
    start.file_size = static_cast<std::uint64_t>(size.QuadPart);
    return start;
}

std::optional<std::string> read_draft_file(const std::wstring& path, DWORD* error)
{
    FileRead read = read_whole_file(from_wide(path), max_draft_body_bytes() + MAX_HEADER_BYTES);
    if (!read.bytes && error)
        *error = read.error;
    return std::move(read.bytes);
}

std::wstring move_draft_aside(const std::wstring& path)
{
    const std::wstring aside = path + DAMAGED_EXTENSION;
    return MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING) ? aside : std::wstring();
}

DraftWriter::DraftWriter(std::function<void(DWORD)> failed) : failed_(std::move(failed)), thread_([this] { run(); }) {}

DraftWriter::~DraftWriter()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void DraftWriter::write(std::wstring folder, std::wstring name, std::string bytes)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        waiting_ = Request{std::move(folder), std::move(name), std::move(bytes), false};
    }
    wake_.notify_one();
}

void DraftWriter::remove(std::wstring folder, std::wstring name)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        waiting_ = Request{std::move(folder), std::move(name), {}, true};
    }
    wake_.notify_one();
}

void DraftWriter::wait_until_idle()
{
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !busy_ && !waiting_; });
}

void DraftWriter::run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || waiting_; });
        if (!waiting_)
            return; // stopping, and nothing left to do
        Request request = std::move(*waiting_);
        waiting_.reset();
        busy_ = true;
        lock.unlock();
        DWORD error = 0;
        try {
            if (request.removing)
                DeleteFileW(joined(request.folder, request.name).c_str());
            else
                error = write_draft_file(request.folder, request.name, request.bytes);
        } catch (...) {
            // Nothing may leave the thread: the copy is reported unwritten.
            error = ERROR_NOT_ENOUGH_MEMORY;
        }
        if (error)
            failed_(error);
        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
}
