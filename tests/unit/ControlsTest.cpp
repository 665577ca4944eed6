// Owner-drawn buttons, painting through the control-colour messages, pointer tracking and menus.
#include "SimFixture.h"
#include "TestDialogs.h"
#include "framework/DataExchange.h"
#include "framework/Menu.h"
#include "framework/Static.h"

namespace {

class DrawnButton : public CButton {
public:
    std::vector<UINT> states;
    std::vector<std::string> events;
    void DrawItem(LPDRAWITEMSTRUCT record) override {
        states.push_back(record->itemState);
        record->hDC->FillSolidRect(record->rcItem, (record->itemState & ODS_SELECTED) ? RGB(200, 0, 0) : RGB(0, 0, 200));
    }
    void OnMouseMove(UINT, CPoint) {
        TRACKMOUSEEVENT request;
        request.dwFlags = TME_HOVER | TME_LEAVE;
        request.hwndTrack = m_hWnd;
        request.dwHoverTime = 1;
        ::TrackMouseEvent(&request);
        events.push_back("move");
    }
    LRESULT OnMouseHover(WPARAM, LPARAM) { events.push_back("hover"); return 0; }
    LRESULT OnMouseLeave(WPARAM, LPARAM) { events.push_back("leave"); return 0; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DrawnButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

class GreyDialog : public CDialog {
public:
    GreyDialog() : CDialog(TestTemplate()) { m_brush.CreateSolidBrush(RGB(180, 180, 180)); }
    DrawnButton m_button;
    std::vector<std::string> notifications;
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kOwnerDrawId, m_button); }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) {
        HBRUSH brush = CDialog::OnCtlColor(dc, wnd, kind);
        if (kind == CTLCOLOR_STATIC || kind == CTLCOLOR_DLG) {
            dc->SetTextColor(RGB(0, 0, 0));
            return m_brush;
        }
        return brush;
    }
    void OnClicked() { notifications.push_back("clicked"); }
    void OnDoubleClicked() { notifications.push_back("double-clicked"); }
    DECLARE_MESSAGE_MAP()

private:
    CBrush m_brush;
};

BEGIN_MESSAGE_MAP(GreyDialog, CDialog)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(kOwnerDrawId, OnClicked)
    ON_BN_DOUBLECLICKED(kOwnerDrawId, OnDoubleClicked)
END_MESSAGE_MAP()

}  // namespace

using ControlsTest = SimTest;

TEST_F(ControlsTest, OwnerDrawnButtonDrawsPressedStateAndNotifiesClicksInTheClassicOrder) {
    GreyDialog dialog;
    ASSERT_TRUE(dialog.Create());
    const HWND button = dialog.m_button.GetSafeHwnd();

    Ui().MouseDown(button, {5, 5});
    EXPECT_EQ(Ui().Paint(button).bitmap.At(1, 1), (platform::Color{200, 0, 0}));
    Ui().MouseUp(button, {5, 5});
    EXPECT_EQ(Ui().Paint(button).bitmap.At(1, 1), (platform::Color{0, 0, 200}));
    EXPECT_EQ(dialog.m_button.states.back() & ODS_SELECTED, 0u);

    // Released outside: no click.
    Ui().MouseDown(button, {5, 5});
    Ui().MouseUp(button, {500, 5});
    EXPECT_EQ(dialog.notifications, (std::vector<std::string>{"clicked"}));

    dialog.notifications.clear();
    // The second press of a double-click is reported as such; its release is no click.
    Ui().DoubleClick(button);
    EXPECT_EQ(dialog.notifications, (std::vector<std::string>{"clicked", "double-clicked"}));

    dialog.m_button.EnableWindow(FALSE);
    Ui().Paint(button);
    EXPECT_NE(dialog.m_button.states.back() & ODS_DISABLED, 0u);
}

TEST_F(ControlsTest, PaintingTakesBrushesFromTheParentAndBlackRectanglesStayBlack) {
    static const DialogTemplate withRect{
        9003, L"Rect", WS_POPUP | WS_CAPTION, 100, 60,
        {{300, L"Static", SS_BLACKRECT | WS_VISIBLE, 0, 0, 20, 20, L""}, {kLabelId, L"Static", SS_LEFT | WS_VISIBLE, 30, 0, 40, 8, L"Hi"}}};
    GreyDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(Ui().Paint(dialog.GetSafeHwnd()).bitmap.At(10, 10), (platform::Color{180, 180, 180}));
    const auto& label = Ui().Paint(Ui().FindControl(dialog.GetSafeHwnd(), kLabelId));
    EXPECT_EQ(label.bitmap.At(0, 0), (platform::Color{180, 180, 180}));
    ASSERT_EQ(label.texts.size(), 1u);
    EXPECT_EQ(label.texts[0].text, L"Label");

    CDialog plain(withRect);
    ASSERT_TRUE(plain.Create());
    const auto& black = Ui().Paint(Ui().FindControl(plain.GetSafeHwnd(), 300));
    EXPECT_EQ(black.bitmap.At(0, 0), (platform::Color{0, 0, 0}));
    EXPECT_EQ(black.bitmap.At(29, 31), (platform::Color{0, 0, 0}));
    EXPECT_EQ(Ui().Paint(plain.GetSafeHwnd()).bitmap.At(50, 50), (platform::Color{240, 240, 240}));
}

TEST_F(ControlsTest, HoverNeedsTheRequestedRestAndLeaveEndsTracking) {
    GreyDialog dialog;
    ASSERT_TRUE(dialog.Create());
    const HWND button = dialog.m_button.GetSafeHwnd();
    auto& events = dialog.m_button.events;

    Ui().MouseLeave(button);
    EXPECT_TRUE(events.empty()) << "no leave without a tracking request";
    Ui().MouseMove(button, {3, 3});
    EXPECT_EQ(events, (std::vector<std::string>{"move"}));
    Ui().Advance(1);
    Ui().Advance(100);
    EXPECT_EQ(events, (std::vector<std::string>{"move", "hover"})) << "one hover per request";
    Ui().MouseLeave(button);
    Ui().MouseLeave(button);
    EXPECT_EQ(events, (std::vector<std::string>{"move", "hover", "leave"}));
    Ui().Advance(100);
    EXPECT_EQ(events.size(), 3u);
}

namespace {
const MenuTemplate kMenus[] = {
    {500, {{0, L"Popup", false, false, {{32771, L"First", false, false, {}}, {0, L"", false, false, {}}, {32772, L"Second", false, false, {}}}}}}};

class MenuTest : public SimTest {
protected:
    MenuTest() : SimTest(ResourceTable{L"Menu test", {}, kMenus}) {}
};
}  // namespace

TEST_F(MenuTest, PopupMenuChangesItemsByCommandAndPostsTheChoice) {
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    std::vector<UINT> commands;
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(500));
    EXPECT_FALSE(CMenu().LoadMenu(501));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->EnableMenuItem(32772, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_TRUE(popup->ModifyMenu(32771, MF_BYCOMMAND | MF_STRING, 32771, L"Renamed"));
    EXPECT_EQ(popup->EnableMenuItem(40000, MF_GRAYED), kMenuItemNotFound);

    Ui().ExpectMenu(32771);
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD, 10, 20, &dialog), 32771);
    ASSERT_EQ(Ui().Menus().size(), 1u);
    const auto& shown = Ui().Menus()[0].items;
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, L"Renamed");
    EXPECT_TRUE(shown[2].grayed);
    EXPECT_EQ(Ui().Menus()[0].at, (platform::Point{10, 20}));

    // Without TPM_RETURNCMD the choice arrives later as a command.
    bool received = false;
    dialog.onApp = nullptr;
    Ui().ExpectMenu(32772);
    EXPECT_TRUE(popup->TrackPopupMenu(TPM_LEFTALIGN, 0, 0, &dialog));
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, HWND{}, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_COMMAND);
    EXPECT_EQ(LOWORD(msg.wParam), 32772);
    received = PeekMessage(&msg, HWND{}, 0, 0, PM_REMOVE);
    EXPECT_TRUE(received);
}
