// The hidden control bar on the sim: its buttons' commands to the main window, the collapse and
// restore of the main window's preview, its looks and tooltips, its notice and its close request.
#include "AppMessages.h"
#include "MainWindowFixture.h"
#include "resources/Catalogue.h"

namespace {

// The main window, keeping the bar's commands instead of acting on them; the recording flag
// answers as a recording that started and stopped.
class CommandWatchingDlg : public CTaviDlg {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_CONTROL_COMMAND) return CTaviDlg::WindowProc(message, wParam, lParam);
        commands.push_back(wParam);
        if (wParam == CONTROL_RECORD_START) m_bRecording = 1;
        if (wParam == CONTROL_RECORD_STOP) m_bRecording = 0;
        return 0;
    }
    std::vector<WPARAM> commands;
};

class ControlDlgTest : public MainWindowTestOf<CommandWatchingDlg> {
protected:
    ControlDlgTest() {
        for (const wchar_t* name : {L"PreviewOn.bmp", L"PreviewOff.bmp"}) {
            const std::vector<uint8_t> bytes = platform::EncodeBmp(platform::Bitmap(116, 32, {200, 200, 200}));
            std::ofstream out(m_folder.Path() / "Res" / platform::ToUtf8(name), std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        }
    }

    CControlDlg& Bar() { return m_dlg.m_dlgControlBar; }
    HWND BarItem(int id) { return Ui().FindControl(Bar().GetSafeHwnd(), id); }
    const platform::sim::SimWindow& BarWindow(int id) { return *Ui().Find(BarItem(id)); }
    void Click(int id) { Ui().Click(BarItem(id)); }

    // The main window at `rect`, its preview area's top `previewTop` pixels below the window's.
    void PlaceOwner(const CRect& rect, int previewTop) {
        m_dlg.SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
        CPoint client{0, 0};
        m_dlg.ClientToScreen(&client);
        m_dlg.m_staticPreview.SetWindowPos(nullptr, 1, rect.top + previewTop - client.y, 352, 290, SWP_NOZORDER);
    }
};

TEST_F(ControlDlgTest, PreviewButtonCollapsesTheMainWindowToItsTopPartAndRestoresIt) {
    struct Case {
        const char* what;
        CRect owner;
        CRect collapsed;
        std::optional<CPoint> movedTo;  // where the user puts the collapsed window
        CRect restored;
    } cases[] = {
        {"bottom edge kept, then the former place", {100, 200, 460, 570}, {100, 480, 460, 570}, {}, {100, 200, 460, 570}},
        {"restored top above the screen is 0", {100, 200, 460, 570}, {100, 480, 460, 570}, CPoint{100, 100},
         {100, 0, 460, 370}},
    };
    Run([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            PlaceOwner(c.owner, 30);
            m_dlg.m_bSmallWindow = 1;
            Click(IDC_BAR_PREVIEW);
            EXPECT_EQ(WindowRect(), c.collapsed);
            EXPECT_EQ(Bar().m_bPreview, 0);
            EXPECT_FALSE(m_dlg.m_bSmallWindow) << "a later showing must not shrink the window again";
            if (c.movedTo) m_dlg.SetWindowPos(nullptr, c.movedTo->x, c.movedTo->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            Click(IDC_BAR_PREVIEW);
            EXPECT_EQ(WindowRect(), c.restored);
            EXPECT_EQ(Bar().m_bPreview, 1);
        }
        EXPECT_TRUE(m_dlg.commands.empty()) << "the preview button sends nothing";
    });
}

TEST_F(ControlDlgTest, CollapsedPreviewKeepsItsShowTooltipAndTakesStartAndSnapshotAway) {
    Run([&] {
        EXPECT_EQ(BarWindow(IDC_BAR_PREVIEW).tooltip, L"Hide Preview");
        Click(IDC_BAR_PREVIEW);
        Click(IDC_BAR_OPEN_FOLDER);  // refreshes every tooltip
        EXPECT_EQ(BarWindow(IDC_BAR_PREVIEW).tooltip, L"Show Preview");
        for (auto [id, enabled] : {std::pair{IDC_BAR_RECORD_START, false}, {IDC_BAR_SNAPSHOT, false},
                                   {IDC_BAR_OPEN_FOLDER, true}, {IDC_BAR_HELP, true}, {IDC_BAR_PREVIEW, true}})
            EXPECT_EQ(BarWindow(id).enabled, enabled) << "control " << id;

        Click(IDC_BAR_PREVIEW);
        EXPECT_EQ(BarWindow(IDC_BAR_PREVIEW).tooltip, L"Hide Preview");
        EXPECT_TRUE(BarWindow(IDC_BAR_RECORD_START).enabled);
        EXPECT_TRUE(BarWindow(IDC_BAR_SNAPSHOT).enabled);
    });
}

TEST_F(ControlDlgTest, EachButtonSendsItsCommandAndHelpOpensTheDocument) {
    struct Case {
        int button;
        WPARAM command;
        bool stopShown;  // afterwards
    } cases[] = {
        {IDC_BAR_OPEN_FOLDER, CONTROL_OPEN_FOLDER, false},
        {IDC_BAR_RECORD_START, CONTROL_RECORD_START, true},  // the main window did start
        {IDC_BAR_RECORD_STOP, CONTROL_RECORD_STOP, false},
        {IDC_BAR_SNAPSHOT, CONTROL_SNAPSHOT, false},
    };
    Run([&] {
        EXPECT_FALSE(BarWindow(IDC_BAR_RECORD_STOP).visible);
        for (const Case& c : cases) {
            m_dlg.commands.clear();
            Click(c.button);
            EXPECT_EQ(m_dlg.commands, std::vector<WPARAM>{c.command}) << "button " << c.button;
            EXPECT_EQ(BarWindow(IDC_BAR_RECORD_STOP).visible, c.stopShown) << "button " << c.button;
            EXPECT_EQ(BarWindow(IDC_BAR_RECORD_START).visible, !c.stopShown) << "button " << c.button;
        }
        m_dlg.commands.clear();
        Click(IDC_BAR_HELP);
        EXPECT_TRUE(m_dlg.commands.empty());
        EXPECT_EQ(Sim().Shell().Opened(), std::vector<std::wstring>{m_folder.Wide(L"Res/Help.html")});
    });
}

TEST_F(ControlDlgTest, SecondSnapshotWithinASecondRestartsTheNoticesSecond) {
    Run([&] {
        Click(IDC_BAR_SNAPSHOT);
        EXPECT_EQ(BarWindow(IDC_BAR_STATUS).text, L"Captured");
        Ui().Advance(600);
        Click(IDC_BAR_SNAPSHOT);
        Ui().Advance(600);
        EXPECT_EQ(BarWindow(IDC_BAR_STATUS).text, L"Captured");
        Ui().Advance(400);
        EXPECT_EQ(BarWindow(IDC_BAR_STATUS).text, L" ");
        EXPECT_FALSE(Ui().HasTimer(Bar().GetSafeHwnd(), TIMER_CAPTURED));
    });
}

TEST_F(ControlDlgTest, CloseRequestEndsTheMainWindowWithClose) {
    Ui().Queue([&] { Ui().RequestClose(Bar().GetSafeHwnd()); });
    EXPECT_EQ(m_dlg.DoModal(), IDCLOSE);
}

TEST_F(ControlDlgTest, SizeChangeCentresTheButtonsWithTruncatingDivisions) {
    Run([&] {
        ASSERT_TRUE(Ui().Find(Bar().GetSafeHwnd()));
        EXPECT_FALSE(Ui().Find(Bar().GetSafeHwnd())->visible) << "the bar is never on the screen";
        for (auto [size, x0, y0] : {std::tuple{CSize{600, 60}, 197, 14}, {CSize{100, 21}, -52, -5}}) {
            Bar().SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            auto at = [&](int id) { return Ui().GetRect(BarItem(id)); };
            EXPECT_EQ(at(IDC_BAR_STATUS), CRect::FromXYWH(x0 - 67, y0 - 2, 69, 9));
            const int buttons[] = {IDC_BAR_OPEN_FOLDER, IDC_BAR_PREVIEW, IDC_BAR_RECORD_START, IDC_BAR_SNAPSHOT,
                                   IDC_BAR_HELP};
            for (int i = 0; i < 5; ++i) EXPECT_EQ(at(buttons[i]), CRect::FromXYWH(x0 + 49 * i, y0, 29, 32));
            EXPECT_EQ(at(IDC_BAR_RECORD_STOP), at(IDC_BAR_RECORD_START));
        }
        const auto& font = BarWindow(IDC_BAR_STATUS).font;
        ASSERT_TRUE(font);
        EXPECT_EQ(font->face, L"Arial");
        EXPECT_EQ(font->height, 15);
        EXPECT_EQ(font->weight, 700);
    });
}

}  // namespace
