// The video effects dialog on the sim: the rules between the boxes and the calls each click
// sends to the running effect filter, in their order.
#include "SettingsDialogFixture.h"

namespace {

using Calls = std::vector<std::string>;

class VideoEffectsTest : public SettingsDialogTest {
protected:
    const std::wstring m_caption = GetCatalogueText(6017);
    bool Checked(HWND d, int id) { return Window(d, id).checked; }
    bool Enabled(HWND d, int id) { return Window(d, id).enabled; }
    void ExpectColourBoxes(HWND d, bool enabled) {
        for (int id : {IDC_EFFECT_RED, IDC_EFFECT_GREEN, IDC_EFFECT_BLUE}) EXPECT_EQ(Enabled(d, id), enabled) << id;
    }
};

TEST_F(VideoEffectsTest, ClicksFollowTheRulesAndSendTheirCallsInOrder) {
    struct Step {
        int box;
        Calls calls;
    };
    struct Case {
        const char* what;
        std::vector<std::pair<const wchar_t*, const wchar_t*>> stored;
        std::vector<Step> steps;
        std::function<void(HWND)> after;
    };
    const Case cases[] = {
        {"the last colour ticked stays ticked and sends nothing",
         {{L"G", L"0"}, {L"B", L"0"}},
         {{IDC_EFFECT_RED, {}}},
         [this](HWND d) {
             EXPECT_TRUE(Checked(d, IDC_EFFECT_RED));
             EXPECT_EQ(m_dlg.m_bRed, 1);
         }},
        {"a colour unticked with another left sends the mask",
         {},
         {{IDC_EFFECT_GREEN, {"SetEffect -1 1 0 1"}}},
         [this](HWND) { EXPECT_EQ(m_dlg.m_bGreen, 0); }},
        {"sepia over black and white",
         {{L"BW", L"1"}, {L"HorMirror", L"1"}},
         {{IDC_EFFECT_SEPIA, {"SetEffect 6 1 1 1", "SetMirror 4"}}},
         [this](HWND d) {
             EXPECT_FALSE(Checked(d, IDC_EFFECT_BW));
             EXPECT_EQ(m_dlg.m_bBW, 0);
             EXPECT_EQ(m_dlg.m_nToneEffect, 6);
             ExpectColourBoxes(d, false);
         }},
        {"black and white off gives the kept channels back, no mirror call",
         {{L"BW", L"1"}, {L"R", L"0"}},
         {{IDC_EFFECT_BW, {"SetEffect -1 0 1 1"}}},
         [this](HWND d) {
             ExpectColourBoxes(d, true);
             EXPECT_EQ(m_dlg.m_nToneEffect, 0);
         }},
        {"horizontal with vertical ticked is both; vertical off leaves horizontal",
         {{L"VerMirror", L"1"}},
         {{IDC_EFFECT_HOR_MIRROR, {"SetEffect 0 1 1 1", "SetMirror 2", "SetEffect -1 1 1 1"}},
          {IDC_EFFECT_VER_MIRROR, {"SetEffect 0 1 1 1", "SetMirror 4", "SetEffect -1 1 1 1"}}},
         [this](HWND) { EXPECT_EQ(m_dlg.m_nMirror, 4); }},
        {"a mirror change under sepia sends no mask",
         {{L"Sepia", L"1"}},
         {{IDC_EFFECT_VER_MIRROR, {"SetEffect 6 1 1 1", "SetMirror 6"}}},
         [this](HWND) { EXPECT_EQ(m_dlg.m_nMirror, 6); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Each run saves its switches when the window ends: every case starts from the defaults.
        for (const wchar_t* name : {L"HorMirror", L"VerMirror", L"BW", L"Sepia"}) Store(name, L"0");
        for (const wchar_t* name : {L"R", L"G", L"B"}) Store(name, L"1");
        for (const auto& [name, value] : c.stored) Store(name, value);
        Run([&] {
            (void)EffectCallsSinceLastLook();  // what the preview's start sent
            Command(ID_VIDEO_EFFECTS, m_caption, [&](HWND d) {
                for (const Step& step : c.steps) {
                    Click(d, step.box);
                    EXPECT_EQ(EffectCallsSinceLastLook(), step.calls) << "after box " << step.box;
                }
                c.after(d);
                Ui().KeyDown(d, VK_ESCAPE);
            });
        });
    }
}

TEST_F(VideoEffectsTest, StoredBlackAndWhiteOpensWithTheColourBoxesDisabledButTicked) {
    Store(L"BW", L"1");
    Store(L"G", L"0");
    Run([&] {
        (void)EffectCallsSinceLastLook();
        Command(ID_VIDEO_EFFECTS, m_caption, [&](HWND d) {
            EXPECT_TRUE(Checked(d, IDC_EFFECT_BW));
            ExpectColourBoxes(d, false);
            EXPECT_TRUE(Checked(d, IDC_EFFECT_RED));
            EXPECT_FALSE(Checked(d, IDC_EFFECT_GREEN));
            EXPECT_TRUE(Checked(d, IDC_EFFECT_BLUE));
            EXPECT_EQ(Window(d, IDC_EFFECT_HOR_LABEL).text, GetCatalogueText(6022));
            EXPECT_FALSE(Window(d, IDCANCEL).visible);
            Ui().KeyDown(d, VK_ESCAPE);
        });
        EXPECT_TRUE(EffectCallsSinceLastLook().empty()) << "opening sends nothing";
    });
}

TEST_F(VideoEffectsTest, EscapeKeepsThePictureButOnlyOkSaves) {
    Run([&] {
        Command(ID_VIDEO_EFFECTS, m_caption, [&](HWND d) {
            Click(d, IDC_EFFECT_HOR_MIRROR);
            Ui().KeyDown(d, VK_ESCAPE);
        });
        EXPECT_EQ(m_dlg.m_nMirror, 4) << "the picture stays mirrored";
        EXPECT_NE(Sim().Registry().Value(kSettingsKey, L"HorMirror"), std::optional<std::wstring>(L"1"));

        Command(ID_VIDEO_EFFECTS, m_caption, [&](HWND d) {
            EXPECT_TRUE(Checked(d, IDC_EFFECT_HOR_MIRROR));
            Click(d, IDC_EFFECT_SEPIA);
            Ui().KeyDown(Item(d, IDC_EFFECT_HOR_MIRROR), VK_RETURN);
        });
        EXPECT_EQ(Sim().Registry().Value(kSettingsKey, L"HorMirror"), std::optional<std::wstring>(L"1"));
        EXPECT_EQ(Sim().Registry().Value(kSettingsKey, L"Sepia"), std::optional<std::wstring>(L"1"));
    });
}

}  // namespace
