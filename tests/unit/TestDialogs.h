// Small dialogs the framework tests drive.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Button.h"
#include "framework/Dialog.h"

inline constexpr int kTestDialogId = 9001;
inline constexpr int kOwnerDrawId = 100;
inline constexpr int kEditId = 101;
inline constexpr int kPushId = 102;
inline constexpr int kLabelId = 103;

inline const DialogTemplate& TestTemplate() {
    static const DialogTemplate dialog{
        kTestDialogId,
        L"Test dialog",
        DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        200,
        100,
        {
            {kOwnerDrawId, L"Button", BS_OWNERDRAW | WS_TABSTOP | WS_VISIBLE, 10, 10, 40, 20, L""},
            {kEditId, L"Edit", ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE, 60, 10, 80, 14, L""},
            {kPushId, L"Button", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 150, 10, 40, 14, L"Push"},
            {kLabelId, L"Static", SS_LEFT | WS_VISIBLE, 10, 40, 100, 8, L"Label"},
            {IDOK, L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 100, 80, 40, 14, L"OK"},
            {IDCANCEL, L"Button", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 150, 80, 40, 14, L"Cancel"},
        },
    };
    return dialog;
}

// Records every message it sees (by number) and lets a test hook a few of them.
class RecordingDialog : public CDialog {
public:
    explicit RecordingDialog(CWnd* parent = nullptr) : CDialog(TestTemplate(), parent) {}

    std::vector<std::string>* log = nullptr;
    std::function<void()> onInit;
    std::function<void(UINT_PTR)> onTimer;
    std::function<void(WPARAM)> onApp;
    std::vector<UINT_PTR> timers;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (onInit) onInit();
        return TRUE;
    }
    void OnTimer(UINT_PTR id) {
        timers.push_back(id);
        if (onTimer) onTimer(id);
    }
    LRESULT OnApp(WPARAM wParam, LPARAM) {
        if (onApp) onApp(wParam);
        return 0;
    }
    void Note(const std::string& text) {
        if (log) log->push_back(text);
    }

    DECLARE_MESSAGE_MAP()
};

inline BEGIN_MESSAGE_MAP(RecordingDialog, CDialog)
    ON_WM_TIMER()
    ON_MESSAGE(WM_APP + 1, OnApp)
END_MESSAGE_MAP()
