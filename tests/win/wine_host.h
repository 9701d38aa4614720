// The Unix machine under Wine, seen from a test: its paths, its environment
// and its programs (pdfinfo, pdftotext, id).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// "Z:\tmp\x" for "/tmp/x", and back; empty when Wine cannot map the path.
std::string dos_path(const std::string& unix_path);
std::string unix_path(const std::string& dos_path);

// A variable of the test's environment, empty when it is not set.
std::string environment_variable(const char* name);

struct UnixCommandResult {
    int exit_code;
    std::string output;
};

// Runs a command line under /bin/sh on the Unix side and returns its exit
// code with its standard output and error. Wine cannot wait for a Unix
// process, so the shell leaves a mark when it is done and this waits for
// the mark. The command must not contain double quotes or backslashes.
// Empty when the command cannot be started or does not end in time.
std::optional<UnixCommandResult> run_unix_command(const std::string& command, DWORD timeout_ms = 30000);

// A folder of its own under the Windows temporary folder, removed with
// everything in it when the owner goes.
struct ScratchFolder {
    std::string path; // ends without a backslash
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string file(const std::string& name) const { return path + "\\" + name; }
};

// Whole-file helpers for the tests' own reading and writing.
std::optional<std::string> read_file_bytes(const std::string& path);
bool write_file_bytes(const std::string& path, const std::string& bytes);
