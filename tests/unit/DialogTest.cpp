// Dialogs: results, the dialog keyboard, the close box, data exchange and faulty templates.
#include "SimFixture.h"
#include "TestDialogs.h"
#include "framework/ComboBox.h"
#include "framework/DataExchange.h"
#include "framework/Edit.h"

namespace {

class BoundDialog : public CDialog {
public:
    BoundDialog() : CDialog(TestTemplate()) {}
    CButton m_btnOwnerDraw;
    CEdit m_edit;
    std::wstring m_strName = L"initial";
    int clicks = 0;
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, kOwnerDrawId, m_btnOwnerDraw);
        DDX_Control(dx, kEditId, m_edit);
        DDX_Text(dx, kEditId, m_strName);
    }
    void OnClickedOwnerDraw() { ++clicks; }
    void OnClickedPush() { ++clicks; }
    void OnContextMenu(CWnd*, CPoint) { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BoundDialog, CDialog)
    ON_BN_CLICKED(kOwnerDrawId, OnClickedOwnerDraw)
    ON_BN_CLICKED(kPushId, OnClickedPush)
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

// Escape and Return never close it; everything else is the dialog's own.
class KeyProofDialog : public RecordingDialog {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_RETURN)) return TRUE;
        return CDialog::PreTranslateMessage(pMsg);
    }
};

}  // namespace

using DialogTest = SimTest;

TEST_F(DialogTest, DoModalReturnsWhatEndsIt) {
    {
        RecordingDialog dialog;
        dialog.onInit = [&] { Ui().Queue([&] { Ui().Click(Ui().FindControl(dialog.GetSafeHwnd(), IDOK)); }); };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_FALSE(dialog.GetSafeHwnd()) << "the window is gone when DoModal returns";
    }
    {
        RecordingDialog dialog;
        dialog.onInit = [&] { Ui().Queue([&] { Ui().KeyDown(dialog.GetSafeHwnd(), VK_ESCAPE); }); };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
    {
        RecordingDialog dialog;
        dialog.onInit = [&] { Ui().Queue([&] { Ui().RequestClose(dialog.GetSafeHwnd()); }); };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "the close box cancels";
    }
    {
        // Ended during its own initialisation: never shown, and the loop never runs.
        RecordingDialog dialog;
        bool everVisible = false;
        dialog.onInit = [&] { dialog.EndDialog(1); };
        dialog.onTimer = [&](UINT_PTR) { everVisible = true; };
        EXPECT_EQ(dialog.DoModal(), 1);
        EXPECT_FALSE(everVisible);
        EXPECT_TRUE(Ui().TopLevelWindows().empty());
    }
}

// What a user can do to a window: each counts one click on the bound dialog when it gets through.
TEST_F(DialogTest, OwnerBehindAModalDialogOrAMessageBoxTakesNoInput) {
    BoundDialog owner;
    ASSERT_TRUE(owner.Create());
    const HWND hwnd = owner.GetSafeHwnd();
    const std::vector<std::pair<const char*, std::function<void()>>> inputs = {
        {"a native push button", [&] { Ui().Click(Ui().FindControl(hwnd, kPushId)); }},
        {"an owner-drawn button", [&] { Ui().Click(Ui().FindControl(hwnd, kOwnerDrawId)); }},
        {"a right click", [&] { Ui().RightClick(hwnd, {5, 5}); }},
    };
    auto tryAll = [&](const char* situation, int expected) {
        for (const auto& [name, input] : inputs) {
            owner.clicks = 0;
            input();
            EXPECT_EQ(owner.clicks, expected) << name << " " << situation;
        }
    };

    tryAll("to a free window", 1);
    {
        RecordingDialog modal(&owner);
        modal.onInit = [&] {
            Ui().Queue([&] {
                tryAll("to the owner of a modal dialog", 0);
                modal.EndDialog(IDOK);
            });
        };
        EXPECT_EQ(modal.DoModal(), IDOK);
    }
    tryAll("once the modal dialog is gone", 1);
    Ui().ExpectMessageBox(IDOK, [&] { tryAll("to the owner of a message box", 0); });
    EXPECT_EQ(owner.MessageBox(L"Shown", nullptr, MB_OK), IDOK);
    tryAll("once the message box is gone", 1);
    owner.DestroyWindow();
}

TEST_F(DialogTest, EndDialogOnAModelessDialogDoesNothing) {
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    dialog.EndDialog(IDOK);
    EXPECT_TRUE(dialog.IsWindow());
    EXPECT_TRUE(Ui().Find(dialog.GetSafeHwnd())->visible);
}

TEST_F(DialogTest, EscapeAndReturnCanBeKeptFromClosingTheDialog) {
    KeyProofDialog dialog;
    int checks = 0;
    dialog.onInit = [&] {
        const HWND hwnd = dialog.GetSafeHwnd();
        Ui().Queue([&, hwnd] { EXPECT_TRUE(Ui().KeyDown(hwnd, VK_ESCAPE)); });
        Ui().Queue([&, hwnd] { EXPECT_TRUE(Ui().KeyDown(Ui().FindControl(hwnd, kEditId), VK_RETURN)); });
        Ui().Queue([&] { ++checks; dialog.EndDialog(5); });
    };
    EXPECT_EQ(dialog.DoModal(), 5);
    EXPECT_EQ(checks, 1);
}

TEST_F(DialogTest, DataExchangeBindsMembersByIdAndMovesValues) {
    BoundDialog dialog;
    ASSERT_TRUE(dialog.Create());
    const HWND hwnd = dialog.GetSafeHwnd();
    EXPECT_EQ(dialog.m_btnOwnerDraw.GetSafeHwnd(), Ui().FindControl(hwnd, kOwnerDrawId));
    EXPECT_EQ(dialog.m_edit.GetSafeHwnd(), Ui().FindControl(hwnd, kEditId));
    EXPECT_EQ(CWnd::FromHandle(Ui().FindControl(hwnd, kOwnerDrawId)), &dialog.m_btnOwnerDraw);
    EXPECT_EQ(dialog.GetDlgItem(kEditId), &dialog.m_edit);
    EXPECT_EQ(Ui().Find(dialog.m_edit.GetSafeHwnd())->text, L"initial");

    Ui().TypeText(dialog.m_edit.GetSafeHwnd(), L"typed");
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.m_strName, L"typed");

    Ui().Click(dialog.m_btnOwnerDraw.GetSafeHwnd());
    EXPECT_EQ(dialog.clicks, 1) << "a click on the bound control reaches the dialog's map";

    // Controls nobody binds are still objects of their class.
    EXPECT_NE(dynamic_cast<CButton*>(dialog.GetDlgItem(kPushId)), nullptr);
    EXPECT_EQ(dynamic_cast<CButton*>(dialog.GetDlgItem(kLabelId)), nullptr);
}

TEST_F(DialogTest, FaultyTemplatesFailAtLoadAndShowNothing) {
    DialogTemplate unknownKind = TestTemplate();
    unknownKind.controls[2].kind = L"Slider";
    DialogTemplate duplicate = TestTemplate();
    duplicate.controls[3].id = kEditId;

    for (const DialogTemplate* faulty : {&unknownKind, &duplicate}) {
        const TemplateLoadResult loaded = LoadDialogTemplate(*faulty);
        EXPECT_FALSE(loaded.dialog);
        EXPECT_NE(loaded.error.find("dialog template 9001"), std::string::npos) << loaded.error;
        EXPECT_NE(loaded.error.find(std::to_string(faulty == &unknownKind ? kPushId : kEditId)), std::string::npos)
            << loaded.error;

        CDialog dialog(*faulty);
        EXPECT_FALSE(dialog.Create());
        EXPECT_EQ(dialog.DoModal(), -1);
        EXPECT_TRUE(Ui().TopLevelWindows().empty());
    }
    EXPECT_NE(LoadDialogTemplate(unknownKind).error.find("Slider"), std::string::npos);
}

TEST_F(DialogTest, ComboBoxKeepsItsItemsAndRefusesIndicesOutsideThem) {
    static const DialogTemplate withCombo{
        9002, L"Combo", WS_POPUP | WS_CAPTION, 100, 60, {{200, L"ComboBox", CBS_DROPDOWNLIST | WS_VISIBLE, 5, 5, 80, 60, L""}}};
    CDialog dialog(withCombo);
    ASSERT_TRUE(dialog.Create());
    CComboBox combo;
    ASSERT_TRUE(combo.SubclassDlgItem(200, &dialog));
    combo.AddString(L"one");
    combo.AddString(L"two");
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(combo.GetWindowText(), L"two");
    EXPECT_EQ(combo.SetCurSel(2), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    std::wstring text;
    EXPECT_EQ(combo.GetLBText(-1, text), CB_ERR);
    EXPECT_EQ(combo.GetLBText(0, text), 3);
    EXPECT_EQ(text, L"one");
}
