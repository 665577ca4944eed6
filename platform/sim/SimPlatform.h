// The sim backend as a whole: virtual clock, headless UI host, real files, recorded processes.
#pragma once

#include "PosixFiles.h"
#include "SimClock.h"
#include "SimProcess.h"
#include "SimUiHost.h"
#include "platform/Platform.h"

namespace platform::sim {

class SimPlatform final : public IPlatform {
public:
    SimPlatform() : m_ui(m_clock) {}

    SimUiHost& Ui() override { return m_ui; }
    SimClock& Clock() override { return m_clock; }
    IFileSystem& Files() override { return m_files; }
    SimProcess& Processes() override { return m_processes; }

private:
    SimClock m_clock;
    SimUiHost m_ui;
    PosixFiles m_files;
    SimProcess m_processes;
};

}  // namespace platform::sim
