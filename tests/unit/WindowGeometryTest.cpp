// Window rectangles, moves (by the program and by the user), minimising and finding windows.
#include "SimFixture.h"
#include "TestDialogs.h"

namespace {

class MovingDialog : public CDialog {
public:
    MovingDialog() : CDialog(TestTemplate()) {}
    std::vector<CPoint> moves;
    std::vector<CRect> movings;
    bool snapToTen = false;
    void OnMove(int x, int y) {
        CDialog::OnMove(x, y);
        moves.push_back({x, y});
    }
    void OnMoving(UINT side, LPRECT rect) {
        CDialog::OnMoving(side, rect);
        movings.push_back(*rect);
        if (snapToTen) *rect = rect->Offset(-(rect->left % 10), -(rect->top % 10));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MovingDialog, CDialog)
    ON_WM_MOVE()
    ON_WM_MOVING()
END_MESSAGE_MAP()

}  // namespace

using WindowGeometryTest = SimTest;

TEST_F(WindowGeometryTest, OuterAndClientRectanglesFollowTheFixedFrame) {
    MovingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.SetWindowPos(nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CRect outer, client;
    dialog.GetWindowRect(&outer);
    dialog.GetClientRect(&client);
    // 200 x 100 dialog units: 300 x 163 pixels inside a 3-pixel frame under a 23-pixel caption.
    EXPECT_EQ(outer, (CRect{100, 50, 406, 242}));
    EXPECT_EQ(client, (CRect{0, 0, 300, 163}));
    ASSERT_FALSE(dialog.moves.empty());
    EXPECT_EQ(dialog.moves.back(), (CPoint{103, 76})) << "WM_MOVE carries the client area's screen position";

    CWnd* label = dialog.GetDlgItem(kLabelId);
    CRect labelRect;
    label->GetWindowRect(&labelRect);
    EXPECT_EQ(labelRect, (CRect{118, 141, 268, 154}));
    CPoint p{0, 0};
    label->ClientToScreen(&p);
    dialog.ScreenToClient(&p);
    EXPECT_EQ(p, (CPoint{15, 65}));
}

TEST_F(WindowGeometryTest, UserDragGoesThroughMovingWhichMayAdjustIt) {
    MovingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.snapToTen = true;
    Ui().DragTo(dialog.GetSafeHwnd(), {237, 121});
    ASSERT_EQ(dialog.movings.size(), 1u);
    EXPECT_EQ(dialog.movings[0].left, 237);
    CRect outer;
    dialog.GetWindowRect(&outer);
    EXPECT_EQ((CPoint{outer.left, outer.top}), (CPoint{230, 120}));
    EXPECT_EQ(dialog.moves.back(), (CPoint{233, 146}));
}

TEST_F(WindowGeometryTest, MinimiseRestoreAndPlacement) {
    MovingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    Ui().Minimize(dialog.GetSafeHwnd());
    EXPECT_TRUE(dialog.IsIconic());
    WINDOWPLACEMENT placement;
    ASSERT_TRUE(dialog.GetWindowPlacement(&placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    Ui().Restore(dialog.GetSafeHwnd());
    EXPECT_FALSE(dialog.IsIconic());

    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = CRect::FromXYWH(10, 20, 306, 192);
    ASSERT_TRUE(dialog.SetWindowPlacement(&placement));
    CRect outer;
    dialog.GetWindowRect(&outer);
    EXPECT_EQ(outer, placement.rcNormalPosition);
}

TEST_F(WindowGeometryTest, FindWindowFindsOnlyLiveTopLevelWindowsByTitle) {
    {
        RecordingDialog dialog;
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(FindWindow(nullptr, L"Test dialog"), dialog.GetSafeHwnd());
        EXPECT_EQ(FindWindow(L"#32770", L"Test dialog"), dialog.GetSafeHwnd());
        EXPECT_FALSE(FindWindow(L"Button", L"Test dialog"));
        EXPECT_FALSE(FindWindow(nullptr, L"Label")) << "controls are not top-level windows";
    }
    EXPECT_FALSE(FindWindow(nullptr, L"Test dialog"));

    // A close request posted to a dialog found by its title cancels its modal run.
    RecordingDialog dialog;
    dialog.onInit = [&] {
        dialog.SetWindowText(L"Settings");
        Ui().Queue([] { EXPECT_TRUE(PostMessage(FindWindow(nullptr, L"Settings"), WM_CLOSE, 0, 0)); });
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}
