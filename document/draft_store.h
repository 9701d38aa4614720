// The recovery copies on disk: a folder of the user's holds one file for
// each running editor, named after its process, and each file is written
// whole or not at all. The files' content is text/files/draft_file.h's.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// "%LOCALAPPDATA%\Forum Editor\Recovery"; empty when Windows names no such folder.
std::wstring default_recovery_folder();

// An editor process as its recovery copy names it: the process id, which
// Windows hands out again, and the process's start, which tells the two apart.
struct EditorProcess {
    DWORD id = 0;
    std::uint64_t started = 0; // FILETIME, in 100 ns units
    bool operator==(const EditorProcess&) const = default;
};

EditorProcess current_editor_process();
bool is_running(const EditorProcess& process);

// "<process id>-<start>.draft", the start in 16 hexadecimal digits.
std::wstring draft_file_name(const EditorProcess& process);

struct StoredDraft {
    std::wstring path;
    EditorProcess writer;
    FILETIME written{}; // when the file was last written
};

// The recovery copies in the folder, the newest first; files of other
// names are no copies and are left alone.
std::vector<StoredDraft> find_drafts(const std::wstring& folder);

// Creates the folder as needed, writes the bytes into a new file beside the
// copy and only then puts it in the copy's place, so that the copy is
// always whole. Returns 0 or the system's error code.
DWORD write_draft_file(const std::wstring& folder, const std::wstring& name, std::string_view bytes);

// The most RTF a document of DOCUMENT_SIZE_LIMIT characters comes to in a
// copy's body: each character in the longest escape the editor writes.
std::uint64_t max_draft_body_bytes();

// The first bytes of a copy, as many as the question about it needs, and
// the size of the whole file.
struct DraftStart {
    std::string bytes;
    std::uint64_t file_size = 0;
};
std::optional<DraftStart> read_draft_start(const std::wstring& path, DWORD* error = nullptr);

// The file's bytes, or nullopt (with the system's error code) when it
// cannot be read or is larger than any copy the editor writes.
std::optional<std::string> read_draft_file(const std::wstring& path, DWORD* error = nullptr);

// A copy that cannot be read goes aside under a name that is no copy's
// (".damaged" added), so that it is not offered again but not lost either.
// Returns the new path, or empty when it could not be moved.
std::wstring move_draft_aside(const std::wstring& path);

// Writes and deletes the editor's own copy on a thread of its own, so that
// typing never waits for the disk. Only the newest request counts: one
// that comes while another waits replaces it.
class DraftWriter {
public:
    // `failed` runs on the writer's thread with the system's error code of
    // a write that failed.
    explicit DraftWriter(std::function<void(DWORD)> failed);
    ~DraftWriter(); // finishes the request in hand and the one waiting
    DraftWriter(const DraftWriter&) = delete;
    DraftWriter& operator=(const DraftWriter&) = delete;

    void write(std::wstring folder, std::wstring name, std::string bytes);
    void remove(std::wstring folder, std::wstring name);
    // Returns once every request so far is done.
    void wait_until_idle();

private:
    struct Request {
        std::wstring folder;
        std::wstring name;
        std::string bytes;
        bool removing = false;
    };
    void run();

    std::function<void(DWORD)> failed_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Request> waiting_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};
