// The main window's template through the framework on GTK: where its controls really stand on
// the screen, a real click reaching a handler, a timer firing in the real loop.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "GtkTestSupport.h"
#include "LinuxPlatform.h"
#include "framework/Button.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/Runtime.h"
#include "resources/ResourceIds.h"
#include "resources/Resources.h"

namespace {

class SolidButton : public CButton {
public:
    COLORREF color = RGB(0, 0, 0);
    void DrawItem(LPDRAWITEMSTRUCT record) override { record->hDC->FillSolidRect(record->rcItem, color); }
};

class MainTemplateDialog : public CDialog {
public:
    MainTemplateDialog() : CDialog(IDD_VISTREL_DIALOG) {
        m_btnOpenFolder.color = RGB(255, 0, 0);
        m_btnRecordStop.color = RGB(0, 255, 0);
        m_btnSnapshot.color = RGB(0, 0, 255);
        m_btnHelp.color = RGB(255, 255, 0);
    }
    SolidButton m_btnOpenFolder, m_btnRecordStart, m_btnRecordStop, m_btnSnapshot, m_btnHelp;
    int snapshotClicks = 0;
    int ticks = 0;

    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_BTN_OPEN_FOLDER, m_btnOpenFolder);
        DDX_Control(dx, IDC_BTN_RECORD_START, m_btnRecordStart);
        DDX_Control(dx, IDC_BTN_RECORD_STOP, m_btnRecordStop);
        DDX_Control(dx, IDC_BTN_SNAPSHOT, m_btnSnapshot);
        DDX_Control(dx, IDC_BTN_HELP, m_btnHelp);
    }
    void OnBnClickedSnapshot() { ++snapshotClicks; }
    void OnTimer(UINT_PTR) { ++ticks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MainTemplateDialog, CDialog)
    ON_BN_CLICKED(IDC_BTN_SNAPSHOT, OnBnClickedSnapshot)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class MainTemplateOnGtkTest : public ::testing::Test {
protected:
    MainTemplateOnGtkTest() : m_platform(platform::CreateLinuxPlatform(nullptr, nullptr)) {
        if (m_platform) m_runtime = std::make_unique<AfxRuntime>(*m_platform, ProgramResources());
    }
    void SetUp() override { ASSERT_TRUE(m_platform) << "no display"; }

    // Where a control stands on the screen, from the template alone.
    static CRect ScreenRectOf(const CRect& clientOrigin, int id) {
        for (const DialogControl& c : ProgramResources().FindDialog(IDD_VISTREL_DIALOG)->controls)
            if (c.id == id) return MapDialogRect(c.x, c.y, c.cx, c.cy).Offset(clientOrigin.left, clientOrigin.top);
        ADD_FAILURE() << "no control " << id;
        return {};
    }

    std::unique_ptr<platform::IPlatform> m_platform;
    std::unique_ptr<AfxRuntime> m_runtime;
};

}  // namespace

TEST_F(MainTemplateOnGtkTest, ControlsStandAtTheTemplatesPixelsAndAClickReachesItsHandler) {
    MainTemplateDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);

    CRect outer;
    dialog.GetWindowRect(&outer);
    const CRect client = platform::ClientArea(outer, true).Offset(outer.left, outer.top);
    // 426 x 321 dialog units are 639 x 522 pixels of client area.
    EXPECT_EQ(client.Width(), 639);
    EXPECT_EQ(client.Height(), 522);

    const platform::Color black{0, 0, 0};
    ASSERT_TRUE(vt::PumpUntil([&] { return vt::ScreenPixel({client.left + 5, client.top + 5}) == black; }));
    vt::Settle();

    // The preview area: black from the client's corner to 638 x 478, face colour past it.
    EXPECT_EQ(vt::ScreenPixel({client.left, client.top}), black);
    EXPECT_EQ(vt::ScreenPixel({client.left + 637, client.top + 477}), black);
    EXPECT_NE(vt::ScreenPixel({client.left + 638, client.top + 200}), black);
    EXPECT_NE(vt::ScreenPixel({client.left + 200, client.top + 478}), black);

    // Each owner-drawn button paints its own colour exactly over its rectangle.
    const struct { int id; platform::Color color; } buttons[] = {
        {IDC_BTN_OPEN_FOLDER, {255, 0, 0}}, {IDC_BTN_RECORD_STOP, {0, 255, 0}},
        {IDC_BTN_SNAPSHOT, {0, 0, 255}}, {IDC_BTN_HELP, {255, 255, 0}}};
    for (const auto& b : buttons) {
        const CRect r = ScreenRectOf(client, b.id);
        EXPECT_EQ(vt::ScreenPixel({r.left, r.top}), b.color) << b.id;
        EXPECT_EQ(vt::ScreenPixel({r.right - 1, r.bottom - 1}), b.color) << b.id;
        EXPECT_NE(vt::ScreenPixel({r.left - 1, r.top}), b.color) << b.id;
        EXPECT_NE(vt::ScreenPixel({r.left, r.bottom}), b.color) << b.id;
    }

    const CRect snapshot = ScreenRectOf(client, IDC_BTN_SNAPSHOT);
    vt::Click({snapshot.left + 5, snapshot.top + 5});
    EXPECT_TRUE(vt::PumpUntil([&] { return dialog.snapshotClicks == 1; }));
    vt::Settle();
    EXPECT_EQ(dialog.snapshotClicks, 1);
}

TEST_F(MainTemplateOnGtkTest, TimerFiresInTheRealLoopAndStopsWhenKilled) {
    MainTemplateDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.SetTimer(7, 20), 7u);
    EXPECT_TRUE(vt::PumpUntil([&] { return dialog.ticks >= 2; }));
    EXPECT_TRUE(dialog.KillTimer(7));
    const int ticks = dialog.ticks;
    vt::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(dialog.ticks, ticks);
}

namespace {

class WaitingDialog : public CDialog {
public:
    WaitingDialog() : CDialog(IDD_VISTREL_DIALOG) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_poster = std::thread([hwnd = m_hWnd] { ::PostMessage(hwnd, WM_APP + 1, 0, 0); });
        return TRUE;
    }
    LRESULT OnApp(WPARAM, LPARAM) {
        EndDialog(33);
        return 0;
    }
    std::thread m_poster;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(WaitingDialog, CDialog)
    ON_MESSAGE(WM_APP + 1, OnApp)
END_MESSAGE_MAP()

}  // namespace

TEST_F(MainTemplateOnGtkTest, MessagePostedFromAnotherThreadEndsAModalRun) {
    WaitingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), 33);
    dialog.m_poster.join();
}
