// The settings store as the main window loads and saves it on the sim's registry.
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>

#include "CaptureFixture.h"
#include "resources/Resources.h"
#include "settings/RegistryValues.h"

namespace {

class SettingsTest : public SimTest {
protected:
    SettingsTest() : SimTest(ProgramResources()) {
        ResetDiagnosticLog();
        Sim().Processes().SetModulePath(m_program.Wide(L"vistrel"));
        g_grabberCB.m_pDlg = nullptr;
        Sim().Media().SetEffectFilterRegistered(true);
        Sim().Media().AddCamera(L"Cam", {{352, 288}, {640, 480}, {1280, 1024}});
        Sim().Shell().SetDocumentsFolder(m_documents.Wide());
    }
    ~SettingsTest() override { ResetDiagnosticLog(); }

    void Store(const std::wstring& name, const std::wstring& text) {
        Sim().Registry().SetValue(kSettingsKey, name, text);
    }
    std::optional<std::wstring> Stored(const std::wstring& name) { return Sim().Registry().Value(kSettingsKey, name); }

    // Starts the main window, lets `look` see it after the start-up, then closes it.
    void Run(CTaviDlg& dlg, std::function<void()> look = {}) {
        Ui().Queue([&, look] {
            if (look) look();
            Ui().RequestClose(dlg.GetSafeHwnd());
        });
        dlg.DoModal();
    }

    // Where the window goes when it is centred on the primary screen.
    static platform::Point Centred(CTaviDlg& dlg, const platform::Rect& primary) {
        CRect client;
        dlg.GetClientRect(&client);
        return {(primary.Width() - client.Width()) / 2, (primary.Height() - client.Height()) / 2};
    }

    std::wstring DefaultFolder() const { return m_documents.Wide(L"Vistrel Media/"); }

    TempFolder m_program;
    TempFolder m_documents;
};

TEST_F(SettingsTest, FirstRunTakesTheDefaultsAndMakesTheMediaFolder) {
    CTaviDlg dlg;
    platform::Point centred{};
    Run(dlg, [&] { centred = Centred(dlg, Ui().GetPrimaryScreen()); });
    EXPECT_EQ(dlg.m_nPosX, centred.x);
    EXPECT_EQ(dlg.m_nPosY, centred.y);
    EXPECT_GT(dlg.m_nPosX, 0);
    EXPECT_EQ(dlg.m_nResolution, 1);
    EXPECT_FALSE(dlg.m_bSmallWindow);
    EXPECT_EQ(dlg.m_strLastCamera, L"");
    EXPECT_EQ(dlg.m_strCameraName, L"Cam");
    EXPECT_TRUE(dlg.m_bRed && dlg.m_bGreen && dlg.m_bBlue);
    EXPECT_EQ(dlg.m_nToneEffect, 0);
    EXPECT_EQ(dlg.m_nMirror, 0);
    EXPECT_EQ(dlg.m_strImagePath, DefaultFolder());
    EXPECT_EQ(dlg.m_strVideoPath, DefaultFolder());
    EXPECT_TRUE(std::filesystem::is_directory(m_documents.Path() / "Vistrel Media"));
}

TEST_F(SettingsTest, PositionIsCentredWhenZeroOrOffTheVirtualScreen) {
    // Two monitors side by side: the virtual screen is twice the primary's width.
    const platform::Rect primary{0, 0, 1280, 1024};
    Ui().SetScreens(primary, {0, 0, 2560, 1024}, {0, 0, 1280, 984});
    struct Case {
        const wchar_t* x;
        const wchar_t* y;
        bool centred;
    };
    const Case cases[] = {
        {L"0", L"0", true},          {L"-200", L"100", true}, {L"100", L"-1", true},
        {L"2561", L"100", true},     {L"100", L"1025", true}, {L"abc", L"", true},
        {L"2000", L"300", false},    {L"0", L"300", false},   {L"2560", L"1024", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.x) + L"," + c.y);
        Store(L"XPos", c.x);
        Store(L"YPos", c.y);
        CTaviDlg dlg;
        platform::Point centred{};
        Run(dlg, [&] { centred = Centred(dlg, primary); });
        if (c.centred) {
            EXPECT_EQ(dlg.m_nPosX, centred.x);
            EXPECT_EQ(dlg.m_nPosY, centred.y);
        } else {
            EXPECT_EQ(dlg.m_nPosX, ParseRegistryNumber(c.x));
            EXPECT_EQ(dlg.m_nPosY, ParseRegistryNumber(c.y));
        }
    }
}

TEST_F(SettingsTest, EffectSwitchesGiveTheFiltersCodes) {
    struct Case {
        const wchar_t* hor;
        const wchar_t* ver;
        const wchar_t* bw;
        const wchar_t* sepia;
        int mirror;
        int tone;
    };
    const Case cases[] = {
        {L"1", L"1", L"1", L"1", 2, 1}, {L"1", L"0", L"0", L"1", 4, 6},
        {L"0", L"1", L"1", L"0", 6, 1}, {L"0", L"0", L"0", L"0", 0, 0},
    };
    for (const Case& c : cases) {
        Store(L"HorMirror", c.hor);
        Store(L"VerMirror", c.ver);
        Store(L"BW", c.bw);
        Store(L"Sepia", c.sepia);
        Store(L"G", L"0");
        CTaviDlg dlg;
        Run(dlg);
        EXPECT_EQ(dlg.m_nMirror, c.mirror);
        EXPECT_EQ(dlg.m_nToneEffect, c.tone);
        EXPECT_TRUE(dlg.m_bRed);
        EXPECT_FALSE(dlg.m_bGreen);
    }
}

TEST_F(SettingsTest, ResolutionModeZeroAsksForTheSmallWindowAndMissingGivesModeOne) {
    {
        Store(L"ResolutionMode", L"0");
        CTaviDlg dlg;
        Run(dlg);
        EXPECT_EQ(dlg.m_nResolution, 0);
        EXPECT_TRUE(dlg.m_bSmallWindow);
    }
    {
        Store(L"ResolutionMode", L"2");
        CTaviDlg dlg;
        Run(dlg);
        EXPECT_EQ(dlg.m_nResolution, 2);
        EXPECT_FALSE(dlg.m_bSmallWindow);
    }
    {
        Sim().Registry().DeleteKey(kSettingsKey);
        Store(L"XPos", L"10");
        CTaviDlg dlg;
        Run(dlg);
        EXPECT_EQ(dlg.m_nResolution, 1);
        EXPECT_FALSE(dlg.m_bSmallWindow);
    }
}

TEST_F(SettingsTest, StoredFoldersAreCheckedWithoutTheirLastCharacter) {
    TempFolder media;
    std::filesystem::create_directory(media.Path() / "Pics");
    std::filesystem::create_directory(media.Path() / "Vid");
    std::ofstream(media.Path() / "Note") << "a file, not a folder";
    struct Case {
        std::wstring stored;
        std::wstring loaded;
    };
    const Case cases[] = {
        {media.Wide(L"Pics/"), media.Wide(L"Pics/")},  // kept as it is
        {media.Wide(L"Pics"), DefaultFolder()},        // ".../Pic" does not exist
        {media.Wide(L"Vids"), media.Wide(L"Vids")},    // ".../Vid" exists: kept, separator and all missing
        {media.Wide(L"Gone/"), DefaultFolder()},
        {media.Wide(L"Note/"), DefaultFolder()},        // a file cannot hold pictures
        {L"/", DefaultFolder()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.stored));
        Store(L"ImagePath", c.stored);
        Store(L"VideoPath", media.Wide(L"Pics/"));
        CTaviDlg dlg;
        Run(dlg);
        EXPECT_EQ(dlg.m_strImagePath, c.loaded);
        EXPECT_EQ(dlg.m_strVideoPath, media.Wide(L"Pics/"));
    }
}

TEST_F(SettingsTest, WithoutADocumentsFolderEmptyPathsStayEmpty) {
    Sim().Shell().SetDocumentsFolder(std::nullopt);
    CTaviDlg dlg;
    Run(dlg);
    EXPECT_EQ(dlg.m_strImagePath, L"");
    EXPECT_EQ(dlg.m_strVideoPath, L"");
}

TEST_F(SettingsTest, ValuesTooLongForTheirBufferCountAsMissing) {
    TempFolder media;
    // 259 characters and a separator fill the 520-byte buffer exactly; one more does not fit.
    const std::wstring longest = media.Wide() + L"/" + std::wstring(258 - media.Wide().size(), L'x') + L"/";
    ASSERT_EQ(longest.size(), 260u);
    std::filesystem::create_directory(platform::ToUtf8(longest));
    Store(L"ImagePath", longest);
    Store(L"VideoPath", longest + L"y");
    Store(L"LastCamera", std::wstring(261, L'c'));
    Store(L"ResolutionMode", std::wstring(129, L' ') + L"0");  // 260 bytes: read
    Store(L"R", std::wstring(130, L' ') + L"0");               // 262 bytes: missing, so 1
    CTaviDlg dlg;
    Run(dlg);
    EXPECT_EQ(dlg.m_strImagePath, longest);
    EXPECT_EQ(dlg.m_strVideoPath, DefaultFolder());
    EXPECT_EQ(dlg.m_strLastCamera, L"");
    EXPECT_EQ(dlg.m_nResolution, 0);
    EXPECT_TRUE(dlg.m_bRed);
}

TEST(RegistryNumberTest, LeadingNumberOfTheText) {
    EXPECT_EQ(ParseRegistryNumber(L" -12abc"), -12);
    EXPECT_EQ(ParseRegistryNumber(L"abc"), 0);
    EXPECT_EQ(ParseRegistryNumber(L""), 0);
    EXPECT_EQ(ParseRegistryNumber(L"\t\n+7"), 7);
    EXPECT_EQ(ParseRegistryNumber(L"- 5"), 0);
    EXPECT_EQ(ParseRegistryNumber(L"--5"), 0);
    EXPECT_EQ(ParseRegistryNumber(L"12 34"), 12);
    EXPECT_EQ(ParseRegistryNumber(L"2147483647"), INT_MAX);
    EXPECT_EQ(ParseRegistryNumber(L"-2147483648"), INT_MIN);
    EXPECT_EQ(ParseRegistryNumber(L"99999999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseRegistryNumber(L"-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(ParseRegistryNumber(L"\x0663"), 0);  // digits of other scripts are not decimal digits here
}

TEST_F(SettingsTest, SavingWritesEveryValueInOrderAsText) {
    Sim().Media().AddCamera(L"Second", {{640, 480}});
    Store(L"LastCamera", L"Second");
    Store(L"XPos", L"300");
    Store(L"YPos", L"200");
    Store(L"Sepia", L"1");
    Store(L"B", L"-3");
    CTaviDlg dlg;
    Run(dlg, [&] { dlg.SetWindowPos(nullptr, 310, 220, 0, 0, SWP_NOSIZE | SWP_NOZORDER); });
    const std::vector<std::wstring> order = {L"LastCamera", L"ImagePath", L"VideoPath", L"ResolutionMode",
                                             L"HorMirror",  L"VerMirror", L"BW",        L"Sepia",
                                             L"R",          L"G",         L"B",         L"XPos",
                                             L"YPos"};
    EXPECT_EQ(Sim().Registry().WriteOrder(), order);
    EXPECT_EQ(Sim().Registry().KeyValues(kSettingsKey)->size(), 13u);
    EXPECT_EQ(Stored(L"LastCamera"), L"Second");
    EXPECT_EQ(Stored(L"ImagePath"), DefaultFolder());
    EXPECT_EQ(Stored(L"Sepia"), L"1");
    EXPECT_EQ(Stored(L"B"), L"-3");
    EXPECT_EQ(Stored(L"R"), L"1");
    EXPECT_EQ(Stored(L"XPos"), L"310");
    EXPECT_EQ(Stored(L"YPos"), L"220");
}

TEST_F(SettingsTest, SavingWithTheFirstCameraSelectedWritesTheCameraTheGraphWasBuiltWith) {
    Sim().Media().AddCamera(L"Second", {{640, 480}});
    CTaviDlg dlg;
    Run(dlg, [&] {
        dlg.m_strCameraName = L"Built With";
        dlg.m_nVideoDevice = 0;
    });
    EXPECT_EQ(Stored(L"LastCamera"), L"Built With");
    EXPECT_EQ(dlg.m_strSaveCamera, L"Built With");
}

TEST_F(SettingsTest, SavingWithASelectionPastTheListWritesTheCameraInUse) {
    CTaviDlg dlg;
    Run(dlg, [&] { dlg.m_nVideoDevice = 5; });
    EXPECT_EQ(Stored(L"LastCamera"), L"Cam");
}

TEST_F(SettingsTest, AKeyThatCannotBeOpenedOrMadeKeepsTheStoredSettings) {
    Store(L"ResolutionMode", L"2");
    Sim().Registry().SetOpenFails(true);
    Sim().Registry().SetCreateFails(true);
    CTaviDlg dlg;
    Run(dlg);
    EXPECT_EQ(dlg.m_nResolution, 1) << "an unopenable key reads as missing";
    EXPECT_EQ(Sim().Registry().KeyValues(kSettingsKey)->size(), 1u);
    EXPECT_EQ(Stored(L"ResolutionMode"), L"2");
}

TEST_F(SettingsTest, ValuesAreReadInTheirOrder) {
    CTaviDlg dlg;
    Store(L"XPos", L"1");
    Run(dlg);
    const std::vector<std::wstring> order = {L"XPos", L"YPos",      L"LastCamera", L"ImagePath", L"VideoPath",
                                             L"ResolutionMode", L"HorMirror", L"VerMirror", L"BW",
                                             L"Sepia", L"R", L"G", L"B"};
    EXPECT_EQ(Sim().Registry().QueryOrder(), order);
}

}  // namespace
