// The sim backend as a whole: virtual clock, headless UI host, real files, recorded processes,
// fake media devices and graphs.
#pragma once

#include "PosixFiles.h"
#include "SimClock.h"
#include "SimImageEncoder.h"
#include "SimInstance.h"
#include "SimMedia.h"
#include "SimPower.h"
#include "SimProcess.h"
#include "SimRecordings.h"
#include "SimRegistry.h"
#include "SimSession.h"
#include "SimShell.h"
#include "SimSound.h"
#include "SimSystemInfo.h"
#include "SimUiHost.h"
#include "SimVolumes.h"
#include "platform/Platform.h"

namespace platform::sim {

class SimPlatform final : public IPlatform {
public:
    SimPlatform() : m_ui(m_clock) {}

    SimUiHost& Ui() override { return m_ui; }
    SimClock& Clock() override { return m_clock; }
    IFileSystem& Files() override { return m_files; }
    SimProcess& Processes() override { return m_processes; }
    SimMedia& Media() override { return m_media; }
    SimSound& Sound() override { return m_sound; }
    SimImageEncoder& ImageEncoder() override { return m_imageEncoder; }
    SimPower& Power() override { return m_power; }
    SimSession& Session() override { return m_session; }
    SimSystemInfo& SystemInfo() override { return m_systemInfo; }
    SimInstance& Instance() override { return m_instance; }
    SimRegistry& Registry() override { return m_registry; }
    SimShell& Shell() override { return m_shell; }
    SimVolumes& Volumes() override { return m_volumes; }
    SimRecordings& Recordings() override { return m_recordings; }

private:
    SimClock m_clock;
    SimUiHost m_ui;
    PosixFiles m_files;
    SimProcess m_processes;
    SimSound m_sound{m_clock, m_files};
    SimImageEncoder m_imageEncoder;
    SimPower m_power;
    SimSession m_session;
    SimSystemInfo m_systemInfo;
    SimInstance m_instance;
    SimRegistry m_registry;
    SimShell m_shell;
    SimVolumes m_volumes;
    SimRecordings m_recordings;
    SimMedia m_media{m_clock};  // last: its graphs may still be stopping when the rest goes
};

}  // namespace platform::sim
