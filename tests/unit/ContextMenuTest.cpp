// The context menu on the preview, the camera's property pages and the help command on the sim.
#include "SettingsDialogFixture.h"
#include "SimDevice.h"

namespace {

class ContextMenuTest : public SettingsDialogTest {
protected:
    HWND Preview() { return m_dlg.m_staticPreview.GetSafeHwnd(); }
    size_t MenusShown() { return Ui().Menus().size(); }
};

TEST_F(ContextMenuTest, MenuShowsOnlyOverTheVisiblePreviewWithTheCatalogueTexts) {
    Run([&] {
        Ui().ExpectMenu(0);
        Ui().RightClick(Preview(), {100, 80});
        ASSERT_EQ(MenusShown(), 1u);
        const platform::sim::ShownMenu& menu = Ui().Menus()[0];
        ASSERT_EQ(menu.items.size(), 5u);
        const std::pair<unsigned, uint32_t> texts[] = {
            {ID_CAM_SETTING, 6016}, {ID_VIDEO_EFFECTS, 6017}, {ID_DEVICE_SETTINGS, 6018}, {0, 0}, {ID_SET_SAVE_PATH, 6019}};
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(menu.items[i].id, int(texts[i].first));
            EXPECT_EQ(menu.items[i].text, texts[i].second ? GetCatalogueText(texts[i].second) : L"");
            EXPECT_FALSE(menu.items[i].grayed);
        }
        CRect preview;
        m_dlg.m_staticPreview.GetWindowRect(&preview);
        EXPECT_EQ(menu.at, (platform::Point{preview.left + 100, preview.top + 80}));

        // Below the preview, and over it while it is hidden: no menu.
        Ui().RightClick(m_dlg.GetSafeHwnd(), {10, ControlRect(IDC_BTN_HELP).bottom - 2});
        m_dlg.m_staticPreview.ShowWindow(SW_HIDE);
        Ui().RightClick(m_dlg.GetSafeHwnd(), {100, 80});
        m_dlg.m_staticPreview.ShowWindow(SW_SHOW);
        EXPECT_EQ(MenusShown(), 1u);

        // From the keyboard: at the preview's middle.
        Ui().ExpectMenu(0);
        Ui().KeyDown(m_dlg.GetSafeHwnd(), VK_APPS);
        ASSERT_EQ(MenusShown(), 2u);
        EXPECT_EQ(Ui().Menus()[1].at, (platform::Point{(preview.left + preview.right) / 2, (preview.top + preview.bottom) / 2}));
    });
}

TEST_F(ContextMenuTest, WhileRecordingTheDeviceAndSavePathItemsAreGrayed) {
    Run([&] {
        m_dlg.m_bRecording = 1;
        Ui().ExpectMenu(0);
        Ui().RightClick(Preview(), {10, 10});
        m_dlg.m_bRecording = 0;
        ASSERT_EQ(MenusShown(), 1u);
        const auto& items = Ui().Menus()[0].items;
        EXPECT_FALSE(items[0].grayed);
        EXPECT_FALSE(items[1].grayed);
        EXPECT_TRUE(items[2].grayed);
        EXPECT_TRUE(items[4].grayed);
    });
}

TEST_F(ContextMenuTest, ChosenItemRunsItsCommand) {
    Run([&] {
        Ui().ExpectMenu(int(ID_VIDEO_EFFECTS));
        Ui().Queue([&] {
            const HWND dialog = Ui().FindTopLevel(GetCatalogueText(6017));
            EXPECT_TRUE(dialog) << "the effects dialog opened";
            Ui().KeyDown(dialog, VK_ESCAPE);
        });
        Ui().RightClick(Preview(), {10, 10});
        Ui().Advance(1);  // the posted command is handled
        EXPECT_TRUE(Ui().FindTopLevel(GetCatalogueText(6017)) == HWND{});
    });
}

TEST_F(ContextMenuTest, CameraPropertiesShowTheCaptureFiltersPagesOrSayWhyNot) {
    Run([&] {
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_CAM_SETTING, 0));
        ASSERT_EQ(Sim().Media().PropertyFrames().size(), 1u);
        const auto& frame = Sim().Media().PropertyFrames()[0];
        EXPECT_EQ(frame.owner, m_dlg.GetSafeHwnd());
        EXPECT_EQ(frame.caption, GetCatalogueText(6034));
        EXPECT_EQ((platform::Point{frame.x, frame.y}), (platform::Point{0, 0}));
        EXPECT_EQ(frame.pages, std::vector<GUID>{platform::sim::kSimCameraPropertyPage});

        m_dlg.TearDownGraph();
        EXPECT_TRUE(FAILED(m_dlg.ShowCameraProperties())) << "no graph";
        EXPECT_EQ(Sim().Media().PropertyFrames().size(), 1u);
    });
}

TEST_F(ContextMenuTest, HelpOpensTheDocumentOrBringsBackItsViewer) {
    const std::wstring document = m_folder.Wide(L"Res/Help.html");
    Run([&] {
        // No viewer window to find: each request opens the document, also the help key's.
        Ui().Click(m_dlg.m_btnHelp.GetSafeHwnd());
        Ui().KeyDown(m_dlg.GetSafeHwnd(), VK_F1);
        EXPECT_EQ(Sim().Shell().Opened(), (std::vector<std::wstring>{document, document}));

        Sim().Shell().AddViewerWindow(L"HH Parent", L"Vistrel", {7, true});
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, 0));
        Sim().Shell().AddViewerWindow(L"HH Parent", L"Vistrel", {7, false});
        Ui().Click(m_dlg.m_btnHelp.GetSafeHwnd());
        ASSERT_EQ(Sim().Shell().ShownViewers().size(), 2u);
        EXPECT_TRUE(Sim().Shell().ShownViewers()[0].restore) << "a minimised viewer is restored";
        EXPECT_FALSE(Sim().Shell().ShownViewers()[1].restore) << "an open one brought to the top";
        EXPECT_EQ(Sim().Shell().Opened().size(), 2u);
    });
}

}  // namespace
