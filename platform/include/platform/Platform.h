// The one platform instance the program runs on: installed by main (the real backend) or by
// each test's fixture (the sim), and reached through Current().
#pragma once

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/UiHost.h"

namespace platform {

class IPlatform {
public:
    virtual ~IPlatform() = default;
    virtual IUiHost& Ui() = 0;
    virtual IClock& Clock() = 0;
    virtual IFileSystem& Files() = 0;
    virtual IProcess& Processes() = 0;
};

// Installs (or, with nullptr, removes) the current platform. Not owning.
void Install(IPlatform* platform);
IPlatform& Current();
bool IsInstalled();

}  // namespace platform
