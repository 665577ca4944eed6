// The running executable's path and child processes, with POSIX calls.
#pragma once

#include "platform/Process.h"

namespace platform {

class PosixProcess final : public IProcess {
public:
    std::wstring GetModulePath() override;
    bool Run(const std::vector<std::wstring>& argv) override;
    int RunHiddenAndWait(const std::vector<std::wstring>& argv) override;
    [[noreturn]] void ExitProcess(int status) override;
};

}  // namespace platform
