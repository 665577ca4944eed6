// The main window running on the sim with a camera, the effect filter and the five button strips
// in a real temporary program folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <functional>

#include "DiagnosticLog.h"
#include "SampleGrabberCB.h"
#include "SimFixture.h"
#include "TaviDlg.h"
#include "TempFolder.h"
#include "platform/PictureFile.h"
#include "resources/ResourceIds.h"
#include "resources/Resources.h"
#include "settings/RegistryValues.h"

namespace {

using platform::Color;

constexpr Color kGrey{180, 180, 180};
constexpr int kButtons[] = {IDC_BTN_OPEN_FOLDER, IDC_BTN_RECORD_START, IDC_BTN_RECORD_STOP, IDC_BTN_SNAPSHOT,
                            IDC_BTN_HELP};

struct StripFile {
    const wchar_t* name;
    Color normal;  // frame 1; the other frames are the same in every strip
};
constexpr StripFile kStrips[] = {{L"Open.bmp", {10, 0, 0}},      {L"Snap.bmp", {20, 0, 0}},
                                 {L"RecordOn.bmp", {30, 0, 0}},  {L"RecordOff.bmp", {40, 0, 0}},
                                 {L"Help.bmp", {50, 0, 0}}};

// The main window class is a parameter for tests that watch what reaches it.
template <class MainWindow = CTaviDlg>
class MainWindowTestOf : public SimTest {
protected:
    MainWindowTestOf() : SimTest(ProgramResources()) {
        ResetDiagnosticLog();
        Sim().Processes().SetModulePath(m_folder.Wide(L"vistrel"));
        g_grabberCB.m_pDlg = nullptr;
        Sim().Media().SetEffectFilterRegistered(true);
        Sim().Media().AddCamera(L"Cam", {{352, 288}, {640, 480}});
        std::filesystem::create_directory(m_folder.Path() / "Res");
        for (const StripFile& strip : kStrips) {
            platform::Bitmap picture(116, 32, {200, 200, 200});
            picture.Fill(CRect::FromXYWH(29, 0, 29, 32), strip.normal);
            const std::vector<uint8_t> bytes = platform::EncodeBmp(picture);
            std::ofstream out(m_folder.Path() / "Res" / platform::ToUtf8(strip.name), std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        }
    }
    ~MainWindowTestOf() override { ResetDiagnosticLog(); }

    void Store(const wchar_t* name, const wchar_t* value) { Sim().Registry().SetValue(kSettingsKey, name, value); }

    // Runs the main window until `whileRunning` has looked at it, then closes it.
    void Run(const std::function<void()>& whileRunning) {
        Ui().Queue([&] {
            whileRunning();
            Ui().RequestClose(m_dlg.GetSafeHwnd());
        });
        EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    }

    CRect WindowRect() { return Ui().GetRect(m_dlg.GetSafeHwnd()); }
    CRect ControlRect(int id) { return Ui().GetRect(Ui().FindControl(m_dlg.GetSafeHwnd(), id)); }
    const platform::sim::SimWindow& Control(int id) { return *Ui().Find(Ui().FindControl(m_dlg.GetSafeHwnd(), id)); }

    // The strip's places for a client area of width w and height h.
    void ExpectStrip(int w, int h) {
        const int x0 = (w - 205) / 2;
        EXPECT_EQ(ControlRect(IDC_BTN_OPEN_FOLDER), CRect::FromXYWH(x0, h - 35, 29, 32));
        EXPECT_EQ(ControlRect(IDC_BTN_RECORD_START), CRect::FromXYWH(x0 + 49, h - 35, 29, 32));
        EXPECT_EQ(ControlRect(IDC_BTN_RECORD_STOP), CRect::FromXYWH(x0 + 49, h - 35, 29, 32));
        EXPECT_EQ(ControlRect(IDC_BTN_SNAPSHOT), CRect::FromXYWH(x0 + 98, h - 35, 29, 32));
        EXPECT_EQ(ControlRect(IDC_BTN_HELP), CRect::FromXYWH(x0 + 147, h - 35, 29, 32));
        EXPECT_EQ(ControlRect(IDC_STATIC_STATUS), CRect::FromXYWH(5, h - 35, 69, 15));
        EXPECT_EQ(ControlRect(IDC_STATIC_RECORDING), CRect::FromXYWH(5, h - 19, 69, 15));
        EXPECT_EQ(ControlRect(IDC_STATIC_SCREENSAVER), CRect::FromXYWH(2, h - 44, x0 - 2, h - 5));
    }
    CSize Client() {
        CRect client;
        m_dlg.GetClientRect(&client);
        return {client.Width(), client.Height()};
    }

    TempFolder m_folder;
    MainWindow m_dlg;
};

using MainWindowTest = MainWindowTestOf<>;

}  // namespace
