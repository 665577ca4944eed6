// The main window's looks: the button strip and status texts for the large and the small
// window, the sizes of the resolution modes, the first placement, colours, the minimised
// window's icon and the about box.
#include "MainWindowFixture.h"
#include "framework/Runtime.h"
#include "resources/AppIcon.h"

namespace {

using MainWindowLayoutTest = MainWindowTest;

}  // namespace

TEST_F(MainWindowLayoutTest, FirstRunShowsTheTemplateSizeCentredWithTheLargeLayout) {
    Run([&] {
        // 426 x 321 dialog units are 639 x 522 pixels inside the 3-pixel frame and 23-pixel caption.
        EXPECT_EQ(WindowRect().Width(), 645);
        EXPECT_EQ(WindowRect().Height(), 551);
        EXPECT_EQ(WindowRect().left, m_dlg.m_nPosX);
        EXPECT_EQ(WindowRect().top, m_dlg.m_nPosY);
        EXPECT_FALSE(m_dlg.m_bFirstShow);
        EXPECT_EQ(Client(), (CSize{639, 522}));
        ExpectStrip(639, 522);
        EXPECT_EQ(Control(IDC_STATIC_STATUS).font->height, 14);
    });
}

TEST_F(MainWindowLayoutTest, StoredModeZeroShowsTheSmallWindowAtTheStoredPosition) {
    Store(L"ResolutionMode", L"0");
    Store(L"XPos", L"100");
    Store(L"YPos", L"80");
    Run([&] {
        EXPECT_EQ(WindowRect(), (CRect{100, 80, 460, 450}));
        EXPECT_EQ(m_dlg.m_dlgControlBar.m_rcSmallWindow, WindowRect());
        EXPECT_EQ(m_dlg.m_dlgControlBar.m_rcLargeWindow, (CRect{100, 80, 745, 631})) << "the template's window, where it was shown";
        EXPECT_EQ(ControlRect(IDC_STATIC_PREVIEW), (CRect{1, 1, 353, 294})) << "window size less 8 and 77";
        EXPECT_EQ(Client(), (CSize{354, 341}));
        ExpectStrip(354, 341);
        const auto& status = Control(IDC_STATIC_STATUS);
        ASSERT_TRUE(status.font);
        EXPECT_EQ(status.font->height, 12);
        EXPECT_EQ(status.font->face, L"Arial");
        EXPECT_EQ(status.font->weight, 700);
        EXPECT_EQ(Control(IDC_STATIC_SCREENSAVER).text, L"Screen saver disabled");
    });
}

TEST_F(MainWindowLayoutTest, OnlyTheFirstShowingMovesTheWindowToTheStoredPosition) {
    Store(L"XPos", L"100");
    Store(L"YPos", L"80");
    Run([&] {
        EXPECT_EQ(WindowRect().left, 100);
        EXPECT_EQ(WindowRect().top, 80);
        Ui().DragTo(m_dlg.GetSafeHwnd(), {300, 200});
        m_dlg.ShowWindow(SW_HIDE);
        m_dlg.ShowWindow(SW_SHOW);
        EXPECT_EQ(WindowRect().left, 300);
        EXPECT_EQ(WindowRect().top, 200);
    });
}

TEST_F(MainWindowLayoutTest, SmallToLargeWithoutMovingGetsTheFirstLargeWindowBackOnePixelNarrower) {
    Store(L"ResolutionMode", L"0");
    Store(L"XPos", L"100");
    Store(L"YPos", L"80");
    Run([&] {
        m_dlg.m_nResolution = 1;
        m_dlg.ApplyWindowSize();
        m_dlg.LayoutControls();
        EXPECT_EQ(WindowRect(), (CRect{100, 80, 744, 631}));
        EXPECT_EQ(ControlRect(IDC_STATIC_PREVIEW), CRect::FromXYWH(1, 1, 645 - 8, 551 - 80));
        ExpectStrip(638, 522);
        EXPECT_EQ(Control(IDC_STATIC_STATUS).font->height, 14);
    });
}

TEST_F(MainWindowLayoutTest, SmallToLargeAfterAMoveIsTheLargeSizeWhereTheWindowIs) {
    Store(L"ResolutionMode", L"0");
    Store(L"XPos", L"100");
    Store(L"YPos", L"80");
    Run([&] {
        Ui().DragTo(m_dlg.GetSafeHwnd(), {200, 150});
        EXPECT_EQ(m_dlg.m_dlgControlBar.m_rcSmallWindow, (CRect{200, 150, 560, 520}));
        EXPECT_EQ(m_dlg.m_dlgControlBar.m_rcLargeWindow.left, 100) << "a move in mode 0 leaves the large rectangle alone";
        m_dlg.m_nResolution = 2;
        m_dlg.ApplyWindowSize();
        EXPECT_EQ(WindowRect(), (CRect{200, 150, 844, 707}));
        EXPECT_EQ(ControlRect(IDC_STATIC_PREVIEW), CRect::FromXYWH(1, 1, 636, 477));
        // The large window's client area holds the large preview with one pixel to spare on each side.
        EXPECT_EQ(Client(), (CSize{638, 528}));
    });
}

TEST_F(MainWindowLayoutTest, LargeToSmallTakesTheSmallSizeAtTheLargeWindowsCorner) {
    Run([&] {
        Ui().DragTo(m_dlg.GetSafeHwnd(), {400, 300});
        EXPECT_EQ(m_dlg.m_dlgControlBar.m_rcLargeWindow, (CRect{400, 300, 1045, 851})) << "moves in mode 1 follow the large rectangle";
        m_dlg.m_nResolution = 0;
        m_dlg.ApplyWindowSize();
        m_dlg.LayoutControls();
        EXPECT_EQ(WindowRect(), (CRect{400, 300, 760, 670}));
        EXPECT_EQ(m_dlg.m_dlgControlBar.m_rcSmallWindow, WindowRect());
        EXPECT_EQ(ControlRect(IDC_STATIC_PREVIEW), (CRect{1, 1, 353, 291})) << "window size less 8 and 80";
        ExpectStrip(354, 341);
        EXPECT_EQ(Control(IDC_STATIC_STATUS).font->height, 12);

        // A negative mode changes nothing.
        m_dlg.m_nResolution = -1;
        m_dlg.ApplyWindowSize();
        EXPECT_EQ(WindowRect(), (CRect{400, 300, 760, 670}));
    });
}

TEST_F(MainWindowLayoutTest, StatusFontIsTwelveHighInModeZeroAndFourteenOtherwise) {
    Run([&] {
        for (auto [mode, height] : {std::pair{0, 12}, {1, 14}, {2, 14}, {8, 14}}) {
            m_dlg.m_nResolution = mode;
            m_dlg.LayoutControls();
            for (int id : {IDC_STATIC_STATUS, IDC_STATIC_RECORDING, IDC_STATIC_SCREENSAVER})
                EXPECT_EQ(Control(id).font->height, height) << "mode " << mode << ", control " << id;
        }
    });
}

TEST_F(MainWindowLayoutTest, StartUpLoadsTheFiveStripsAndTheirTooltips) {
    Run([&] {
        const std::pair<int, const wchar_t*> tips[] = {{IDC_BTN_OPEN_FOLDER, L"Open Save Folder"},
                                                       {IDC_BTN_SNAPSHOT, L"Snapshot"},
                                                       {IDC_BTN_RECORD_START, L"Start Recording"},
                                                       {IDC_BTN_RECORD_STOP, L"Stop Recording"},
                                                       {IDC_BTN_HELP, L"Help"}};
        for (auto [id, tip] : tips) {
            EXPECT_EQ(Control(id).tooltip, tip);
            EXPECT_TRUE(Control(id).tooltipActive);
        }
        const std::pair<int, Color> pictures[] = {{IDC_BTN_OPEN_FOLDER, kStrips[0].normal},
                                                  {IDC_BTN_SNAPSHOT, kStrips[1].normal},
                                                  {IDC_BTN_RECORD_START, kStrips[2].normal},
                                                  {IDC_BTN_RECORD_STOP, kStrips[3].normal},
                                                  {IDC_BTN_HELP, kStrips[4].normal}};
        for (auto [id, color] : pictures)
            EXPECT_EQ(Ui().Paint(Ui().FindControl(m_dlg.GetSafeHwnd(), id)).bitmap.At(14, 16), color) << id;
        EXPECT_FALSE(Control(IDC_BTN_RECORD_STOP).visible);
        EXPECT_EQ(Ui().Find(m_dlg.GetSafeHwnd())->icon, DrawAppIcon()) << "the desktop shows the program's icon";
    });
}

TEST_F(MainWindowLayoutTest, WindowAndStatusTextsAreGreyWithBlackText) {
    Run([&] {
        const platform::Bitmap screen = Ui().Composite(m_dlg.GetSafeHwnd());
        const CSize client = Client();
        EXPECT_EQ(screen.At(client.cx - 2, client.cy - 2), kGrey) << "the dialog's background";
        EXPECT_EQ(screen.At(10, 5), (Color{0, 0, 0})) << "the preview area";
        const CRect open = ControlRect(IDC_BTN_OPEN_FOLDER);
        EXPECT_EQ(screen.At(open.left + 14, open.top + 16), kStrips[0].normal) << "the button strip over the grey";

        const auto& status = Ui().Paint(Ui().FindControl(m_dlg.GetSafeHwnd(), IDC_STATIC_SCREENSAVER));
        EXPECT_EQ(status.bitmap.At(1, 1), kGrey);
        ASSERT_EQ(status.texts.size(), 1u);
        EXPECT_EQ(status.texts[0].style.color, (Color{0, 0, 0}));
    });
}

TEST_F(MainWindowLayoutTest, MinimisedWindowShowsTheIconCentred) {
    Run([&] {
        EXPECT_EQ(static_cast<uint32_t>(m_dlg.SendMessage(WM_QUERYDRAGICON)), m_dlg.m_hIcon.value);
        Ui().Minimize(m_dlg.GetSafeHwnd());
        ASSERT_TRUE(m_dlg.IsIconic());
        const platform::Bitmap painted = Ui().Paint(m_dlg.GetSafeHwnd()).bitmap;
        const CSize client = Client();
        const int x = (client.cx - 32 + 1) / 2, y = (client.cy - 32 + 1) / 2;
        platform::Bitmap shown(32, 32);
        shown.Blit(0, 0, painted, CRect::FromXYWH(x, y, 32, 32));
        EXPECT_EQ(shown, DrawAppIcon());
        EXPECT_EQ(painted.At(x - 1, y), kGrey);
        EXPECT_EQ(painted.At(x + 32, y + 31), kGrey);
        Ui().Restore(m_dlg.GetSafeHwnd());
        EXPECT_FALSE(m_dlg.IsIconic());
    });
}

TEST_F(MainWindowLayoutTest, TheAboutCommandShowsTheAboutBoxModally) {
    Run([&] {
        bool shown = false;
        Ui().Queue([&] {
            const HWND about = Ui().FindTopLevel(L"About Vistrel");
            ASSERT_TRUE(about);
            shown = true;
            EXPECT_EQ(Ui().Find(about)->params.owner, m_dlg.GetSafeHwnd());
            EXPECT_FALSE(m_dlg.IsWindowEnabled()) << "the main window waits for it";
            std::vector<std::wstring> texts;
            for (CWnd* child : AfxRuntime::Get().Children(about)) {
                texts.push_back(child->GetWindowText());
                if ((child->GetStyle() & SS_TYPEMASK) == SS_ICON && child->GetWindowClass() == WindowClass::Static) {
                    EXPECT_EQ(Ui().Paint(child->GetSafeHwnd()).bitmap, DrawAppIcon());
                }
            }
            EXPECT_EQ(texts, (std::vector<std::wstring>{L"#128", L"Vistrel ", L"OK"}));
            Ui().Click(Ui().FindControl(about, IDOK));
        });
        m_dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX | 0x5);
        EXPECT_TRUE(shown);
        EXPECT_FALSE(Ui().FindTopLevel(L"About Vistrel"));
        EXPECT_TRUE(m_dlg.IsWindowEnabled());
    });
}
