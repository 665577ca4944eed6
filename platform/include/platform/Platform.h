// The one platform instance the program runs on: installed by main (the real backend) or by
// each test's fixture (the sim), and reached through Current().
#pragma once

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/ImageEncoder.h"
#include "platform/Instance.h"
#include "platform/media/Media.h"
#include "platform/Power.h"
#include "platform/Process.h"
#include "platform/Recordings.h"
#include "platform/Registry.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
#include "platform/SystemInfo.h"
#include "platform/UiHost.h"
#include "platform/Volumes.h"

namespace platform {

class IPlatform {
public:
    virtual ~IPlatform() = default;
    virtual IUiHost& Ui() = 0;
    virtual IClock& Clock() = 0;
    virtual IFileSystem& Files() = 0;
    virtual IProcess& Processes() = 0;
    virtual ISound& Sound() = 0;
    virtual IImageEncoder& ImageEncoder() = 0;
    virtual IPower& Power() = 0;
    virtual ISession& Session() = 0;
    virtual ISystemInfo& SystemInfo() = 0;
    virtual IInstance& Instance() = 0;
    virtual IMedia& Media() = 0;
    virtual IRegistry& Registry() = 0;
    virtual IShell& Shell() = 0;
    virtual IVolumes& Volumes() = 0;
    virtual IRecordings& Recordings() = 0;
};

// Installs (or, with nullptr, removes) the current platform. Not owning.
void Install(IPlatform* platform);
IPlatform& Current();
bool IsInstalled();

}  // namespace platform
