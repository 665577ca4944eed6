// Shared by the effect filter tests: a scratch folder, and running a program with a changed
// environment.
#pragma once

#include <glib.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace effecttest {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

struct ProcessResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// One change to a child's environment: a variable to set, or, with unset, to remove.
struct EnvChange {
    std::string name;
    std::string value;
    bool unset = false;
};

// Runs argv[0] (a path) with the current environment changed as given; waits for it.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::vector<EnvChange>& env = {});

}  // namespace effecttest
