// A main window object on the sim with fake devices, the program folder in a real temporary
// folder (for the diagnostic log) and the frame grabber's process-wide state reset.
#pragma once

#include <memory>
#include <string>

#include "DiagnosticLog.h"
#include "SampleGrabberCB.h"
#include "SimFixture.h"
#include "TaviDlg.h"
#include "TempFolder.h"

class CaptureTest : public SimTest {
protected:
    CaptureTest() {
        ResetDiagnosticLog();
        Sim().Processes().SetModulePath(m_folder.Wide(L"vistrel"));
        std::wstring folder;
        GetExeFolder(folder);
        g_grabberCB.m_pDlg = nullptr;
        m_dlg = std::make_unique<CTaviDlg>();
    }
    ~CaptureTest() override {
        m_dlg.reset();
        ResetDiagnosticLog();
    }

    platform::sim::SimMedia& Media() { return Sim().Media(); }
    CTaviDlg& Dlg() { return *m_dlg; }
    std::string Log() const { return m_folder.Read("TAVI_Log.txt"); }
    uint64_t Now() { return Sim().Clock().Now(); }

    // Three cameras as a typical machine with an external camera might list them.
    void AddCameras(int count) {
        for (int i = 0; i < count; ++i) Media().AddCamera(L"Camera " + std::to_wstring(i), {{352, 288}, {640, 480}});
    }

    TempFolder m_folder;
    std::unique_ptr<CTaviDlg> m_dlg;
};
