// The program's own executable and the outside programs it starts.
#pragma once

#include <string>
#include <vector>

namespace platform {

class IProcess {
public:
    virtual ~IProcess() = default;
    // Full path of the running executable.
    virtual std::wstring GetModulePath() = 0;
    // Starts a program without waiting; false when it could not be started.
    [[nodiscard]] virtual bool Run(const std::vector<std::wstring>& argv) = 0;
    // Starts a program with no window, waits for it and returns its exit status (-1: not started).
    [[nodiscard]] virtual int RunHiddenAndWait(const std::vector<std::wstring>& argv) = 0;
    // Ends the process at once with this status: no destructors, no further messages.
    [[noreturn]] virtual void ExitProcess(int status) = 0;
};

}  // namespace platform
