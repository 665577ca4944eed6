// The resolution and device settings dialog on the sim, opened from the context menu's command:
// the lists it offers, what confirming and cancelling leave in the main window's selection, and
// the preview rebuilt (and the window resized) only when that selection changed.
#include "SettingsDialogFixture.h"

namespace {

using Strings = std::vector<std::wstring>;

class DeviceSettingsTest : public SettingsDialogTest {
protected:
    DeviceSettingsTest() {
        // "Cam" (code 3) comes from the main window's fixture.
        Sim().Media().AddCamera(L"Big Cam", {{352, 288}, {640, 480}, {1280, 1024}});  // 7
        Sim().Media().AddCamera(L"Small Cam", {{352, 288}});                         // 1
        Sim().Media().AddCamera(L"Ntsc Cam", {{720, 480}});                          // 8
        Sim().Media().AddCamera(L"Medium Cam", {{640, 480}});                        // no code
        Sim().Media().AddMicrophone(L"Mic A");
        Sim().Media().AddMicrophone(L"Mic B");
    }
    const std::wstring m_caption = GetCatalogueText(6018);
    static constexpr int kCam = 0, kBig = 1, kSmall = 2, kNtsc = 3, kMedium = 4;

    const Strings& Sizes(HWND d) { return Window(d, IDC_DEVICE_RESOLUTION).comboItems; }
    int Selected(HWND d, int id) { return Window(d, id).comboSelection; }
    void Pick(HWND d, int id, int index) { Ui().SelectComboItem(Item(d, id), index); }
    // Opens the dialog on camera `camera` at mode `mode` (the preview rebuilt for it first).
    void Use(int camera, int mode) {
        m_dlg.m_nVideoDevice = camera;
        m_dlg.m_strCameraName = m_dlg.m_arrVideoDevices[size_t(camera)];
        m_dlg.m_nResolution = mode;
        m_dlg.RestartPreviewAfterSettings(false);
    }
    // Graphs that were run: the enumerations' scratch graphs never are.
    int GraphsRun() {
        int run = 0;
        for (const auto& graph : Sim().Media().Graphs()) run += graph->stateChanges.empty() ? 0 : 1;
        return run;
    }
};

TEST_F(DeviceSettingsTest, EachCameraOffersItsSizesAndConfirmingStoresTheModeOfTheSizePicked) {
    struct Case {
        const char* what;
        int camera;
        int mode;
        Strings sizes;
        int selected;
        int modeAtOpen;  // after the dialog fitted it to the camera
        int stored;      // after Enter
    };
    const Case cases[] = {
        {"code 7 at mode 2", kBig, 2, {L"352 X 288", L"640 X 480", L"1280 X 1024"}, 2, 2, 2},
        {"code 1 at mode 2 is lowered", kSmall, 2, {L"352 X 288"}, 0, 0, 0},
        {"code 8", kNtsc, 1, {L"720 X 480"}, 0, 1, 8},
        {"no code: 640 X 480 alone, stored as its own mode", kMedium, 0, {L"640 X 480"}, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Run([&] {
            Use(c.camera, c.mode);
            Command(ID_DEVICE_SETTINGS, m_caption, [&](HWND d) {
                EXPECT_EQ(Sizes(d), c.sizes);
                EXPECT_EQ(Selected(d, IDC_DEVICE_RESOLUTION), c.selected);
                EXPECT_EQ(Selected(d, IDC_DEVICE_VIDEO), c.camera);
                EXPECT_EQ(m_dlg.m_nResolution, c.modeAtOpen);
                Ui().KeyDown(d, VK_RETURN);
            });
            EXPECT_EQ(m_dlg.m_nResolution, c.stored);
            EXPECT_EQ(m_dlg.m_nCurResolution, c.stored) << "the preview runs at the stored mode";
        });
    }
}

TEST_F(DeviceSettingsTest, SwitchingToACameraWithFewerSizesFallsBackToTheFirst) {
    Run([&] {
        Use(kBig, 2);
        Command(ID_DEVICE_SETTINGS, m_caption, [&](HWND d) {
            Pick(d, IDC_DEVICE_RESOLUTION, 2);
            Pick(d, IDC_DEVICE_VIDEO, kCam);
            EXPECT_EQ(Sizes(d), (Strings{L"352 X 288", L"640 X 480"}));
            EXPECT_EQ(Selected(d, IDC_DEVICE_RESOLUTION), 0);
            Click(d, IDC_DEVICE_OK);
        });
        EXPECT_EQ(m_dlg.m_strCameraName, L"Cam");
        EXPECT_EQ(m_dlg.m_nResolution, 0);
        EXPECT_EQ(WindowRect().Width(), 360) << "2 -> 0 takes the small window";
    });
}

TEST_F(DeviceSettingsTest, WhatEndsTheDialogAndWhatItLeaves) {
    struct Case {
        const char* what;
        std::function<void(HWND)> end;  // after the user picked Big Cam, Mic B and 352 X 288
        bool confirmed;
    };
    const Case cases[] = {
        {"Cancel", [this](HWND d) { Click(d, IDC_DEVICE_CANCEL); }, false},
        {"Escape", [this](HWND d) { Ui().KeyDown(d, VK_ESCAPE); }, false},
        {"the close box", [this](HWND d) { Ui().RequestClose(d); }, false},
        {"Enter on the Cancel button", [this](HWND d) { Ui().KeyDown(Item(d, IDC_DEVICE_CANCEL), VK_RETURN); }, true},
        {"Enter while the camera list is dropped down",
         [this](HWND d) { Ui().KeyDown(Item(d, IDC_DEVICE_VIDEO), VK_RETURN); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Run([&] {
            Use(kCam, 1);
            auto* graph = Sim().Media().LastGraph();
            const int graphs = GraphsRun();
            const CRect window = WindowRect();
            Command(ID_DEVICE_SETTINGS, m_caption, [&](HWND d) {
                Pick(d, IDC_DEVICE_VIDEO, kBig);
                Pick(d, IDC_DEVICE_AUDIO, 1);
                Pick(d, IDC_DEVICE_RESOLUTION, 0);
                c.end(d);
            });
            if (c.confirmed) {
                EXPECT_EQ(m_dlg.m_strCameraName, L"Big Cam");
                EXPECT_EQ(m_dlg.m_nAudioDevice, 1);
                EXPECT_EQ(m_dlg.m_nResolution, 0);
                EXPECT_TRUE(graph->IsReleased());
            } else {
                EXPECT_EQ(m_dlg.m_nVideoDevice, kCam);
                EXPECT_EQ(m_dlg.m_nAudioDevice, 0);
                EXPECT_EQ(m_dlg.m_nResolution, 1);
                EXPECT_EQ(GraphsRun(), graphs) << "nothing torn down or rebuilt";
                EXPECT_FALSE(graph->IsReleased());
                EXPECT_EQ(WindowRect(), window);
            }
            m_dlg.m_nAudioDevice = 0;
        });
    }
}

TEST_F(DeviceSettingsTest, OnlyTheMicrophoneChangedRebuildsButKeepsTheWindow) {
    Run([&] {
        Use(kBig, 2);
        auto* graph = Sim().Media().LastGraph();
        const CRect window = WindowRect();
        Command(ID_DEVICE_SETTINGS, m_caption, [&](HWND d) {
            Pick(d, IDC_DEVICE_AUDIO, 1);
            Click(d, IDC_DEVICE_OK);
        });
        EXPECT_TRUE(graph->IsReleased());
        EXPECT_FALSE(Sim().Media().LastGraph()->IsReleased());
        EXPECT_EQ(m_dlg.m_nCurAudioDevice, 1);
        EXPECT_EQ(WindowRect(), window);
        m_dlg.m_nAudioDevice = 0;
    });
}

TEST_F(DeviceSettingsTest, CameraListOpensAtTheOldIndexWhenTheNameMatchesNone) {
    Run([&] {
        m_dlg.m_strCameraName = L"big cam";  // differs in case only
        m_dlg.m_nVideoDevice = kNtsc;
        Ui().Queue([&] {
            const HWND d = Ui().FindTopLevel(m_caption);
            EXPECT_EQ(Selected(d, IDC_DEVICE_VIDEO), kNtsc);
            Click(d, IDC_DEVICE_CANCEL);
        });
        EXPECT_EQ(m_dlg.m_dlgDeviceSettings.DoModal(), 0);
        m_dlg.m_strCameraName = L"Cam";
        m_dlg.m_nVideoDevice = kCam;
    });
}

TEST_F(DeviceSettingsTest, CameraBeyondTheListReadsNoCodeAndVanishedCamerasFallBackToTheFirst) {
    Run([&] {
        // A selection past the camera list: nothing is selected and no code is read for it.
        m_dlg.m_strCameraName.clear();
        m_dlg.m_nVideoDevice = 9;
        Ui().Queue([&] {
            const HWND d = Ui().FindTopLevel(m_caption);
            EXPECT_EQ(Selected(d, IDC_DEVICE_VIDEO), -1);
            EXPECT_EQ(Sizes(d), (Strings{L"640 X 480"}));
            Ui().KeyDown(d, VK_ESCAPE);
        });
        EXPECT_EQ(m_dlg.m_dlgDeviceSettings.DoModal(), 0);

        // The camera picked goes away while the dialog is open.
        m_dlg.m_strCameraName = L"Cam";
        m_dlg.m_nVideoDevice = kCam;
        Command(ID_DEVICE_SETTINGS, m_caption, [&](HWND d) {
            Pick(d, IDC_DEVICE_VIDEO, kMedium);
            ASSERT_TRUE(Sim().Media().Unplug(L"Medium Cam"));
            Ui().ExpectMessageBox(IDOK);
            Click(d, IDC_DEVICE_OK);
        });
        ASSERT_FALSE(Ui().MessageBoxes().empty());
        EXPECT_EQ(Ui().MessageBoxes().back().text, GetCatalogueText(6035));
        EXPECT_EQ(m_dlg.m_nVideoDevice, 0);
        EXPECT_EQ(m_dlg.m_strCameraName, L"Cam");
    });
}

TEST_F(DeviceSettingsTest, NoCameraShowsTheMessageAndNoDialog) {
    Run([&] {
        for (const wchar_t* name : {L"Cam", L"Big Cam", L"Small Cam", L"Ntsc Cam", L"Medium Cam"})
            ASSERT_TRUE(Sim().Media().Unplug(name));
        Ui().ExpectMessageBox(IDOK);
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DEVICE_SETTINGS, 0));
        ASSERT_EQ(Ui().MessageBoxes().size(), 1u);
        EXPECT_EQ(Ui().MessageBoxes()[0].text, GetCatalogueText(6001));
        EXPECT_FALSE(Ui().FindTopLevel(m_caption));
    });
}

}  // namespace
