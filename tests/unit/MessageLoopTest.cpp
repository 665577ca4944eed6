// Timers, posted messages, nested modal loops and the re-entrant pump.
#include <thread>

#include "SimFixture.h"
#include "TestDialogs.h"
#include "framework/WinApp.h"

using MessageLoopTest = SimTest;

TEST_F(MessageLoopTest, TimersFireInDueOrderAndAKilledTimerNeverFires) {
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    std::vector<std::pair<UINT_PTR, DWORD>> fired;
    dialog.onTimer = [&](UINT_PTR id) {
        fired.emplace_back(id, GetTickCount());
        // 3 is due later: it must never come. 2 is a one-shot, killed inside its own tick.
        if (id == 1 && fired.size() == 2) { EXPECT_TRUE(dialog.KillTimer(3)); }
        if (id == 2) { EXPECT_TRUE(dialog.KillTimer(2)); }
    };
    const DWORD start = GetTickCount();
    dialog.SetTimer(1, 300);
    dialog.SetTimer(2, 200);
    dialog.SetTimer(3, 500);
    Ui().Advance(1000);

    std::vector<std::pair<UINT_PTR, DWORD>> expected{{2, start + 200}, {1, start + 300}, {1, start + 600}, {1, start + 900}};
    EXPECT_EQ(fired, expected);
    EXPECT_EQ(GetTickCount(), start + 1000);
    EXPECT_FALSE(dialog.KillTimer(3)) << "killing a timer that is gone reports failure";
}

TEST_F(MessageLoopTest, SleepingLetsTimersFallDueButTheyFireOnlyWhenPumpedAndOnce) {
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.SetTimer(7, 100);
    Sleep(350);
    EXPECT_TRUE(dialog.timers.empty()) << "a sleeping thread handles nothing";
    AfxRuntime::Get().PumpPending();
    EXPECT_EQ(dialog.timers, (std::vector<UINT_PTR>{7}));
}

TEST_F(MessageLoopTest, MessagePostedFromAnotherThreadIsHandledOnTheUiThread) {
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    std::vector<std::thread::id> handledOn;
    dialog.onApp = [&](WPARAM) { handledOn.push_back(std::this_thread::get_id()); };

    std::thread poster([hwnd = dialog.GetSafeHwnd()] {
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(PostMessage(hwnd, WM_APP + 1, i, 0));
    });
    poster.join();
    EXPECT_TRUE(handledOn.empty()) << "nothing runs until the UI thread pumps";
    AfxRuntime::Get().PumpPending();
    ASSERT_EQ(handledOn.size(), 3u);
    for (auto id : handledOn) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST_F(MessageLoopTest, ModalLoopWakesForAMessageFromAnotherThread) {
    Ui().AllowWaitingForOtherThreads(5000);
    RecordingDialog dialog;
    std::thread poster;
    dialog.onInit = [&] {
        poster = std::thread([hwnd = dialog.GetSafeHwnd()] { PostMessage(hwnd, WM_APP + 1, 42, 0); });
    };
    dialog.onApp = [&](WPARAM value) { dialog.EndDialog(static_cast<int>(value)); };
    EXPECT_EQ(dialog.DoModal(), 42);
    poster.join();
}

TEST_F(MessageLoopTest, ModalDialogInsideMessageBoxInsidePumpReturnsItsOwnResultInOrder) {
    std::vector<std::string> log;
    RecordingDialog main;
    ASSERT_TRUE(main.Create());
    main.onApp = [&](WPARAM) {
        log.push_back("message handled");
        const int boxAnswer = main.MessageBox(L"Go on?", L"Question", MB_YESNO | MB_ICONQUESTION);
        log.push_back("box answered " + std::to_string(boxAnswer));
    };
    main.onTimer = [&](UINT_PTR) {
        main.KillTimer(5);
        log.push_back("timer while the box is up");
        RecordingDialog inner(&main);
        inner.onInit = [&] { Ui().Queue([&] { inner.EndDialog(77); }); };
        const INT_PTR result = inner.DoModal();
        log.push_back("inner dialog returned " + std::to_string(result));
    };
    // While the box is up, time passes and the timer opens a modal dialog of its own.
    Ui().ExpectMessageBox(IDNO, [&] { Ui().Advance(100); });
    main.SetTimer(5, 50);
    main.PostMessage(WM_APP + 1);
    AfxRuntime::Get().PumpPending();

    EXPECT_EQ(log, (std::vector<std::string>{"message handled", "timer while the box is up", "inner dialog returned 77",
                                             "box answered 7"}));
    ASSERT_EQ(Ui().MessageBoxes().size(), 1u);
    EXPECT_EQ(Ui().MessageBoxes()[0].text, L"Go on?");
    EXPECT_EQ(Ui().MessageBoxes()[0].caption, L"Question");
    EXPECT_EQ(Ui().MessageBoxes()[0].Icon(), MB_ICONQUESTION);
    EXPECT_TRUE(main.IsWindowEnabled()) << "the owner is enabled again after the inner modal run";
}

TEST_F(MessageLoopTest, PeekMessagePumpDispatchesPostedMessagesAndDueTimers) {
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    std::vector<WPARAM> seen;
    dialog.onApp = [&](WPARAM w) { seen.push_back(w); };
    dialog.PostMessage(WM_APP + 1, 1);
    dialog.PostMessage(WM_APP + 1, 2);
    dialog.SetTimer(9, 10);
    Sleep(10);
    MSG msg;
    int taken = 0;
    while (PeekMessage(&msg, HWND{}, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        ++taken;
    }
    EXPECT_EQ(taken, 2);
    EXPECT_EQ(seen, (std::vector<WPARAM>{1, 2}));
    EXPECT_EQ(dialog.timers, (std::vector<UINT_PTR>{9}));
}

TEST_F(MessageLoopTest, MessagesToAWindowThatIsGoneAreDropped) {
    auto dialog = std::make_unique<RecordingDialog>();
    ASSERT_TRUE(dialog->Create());
    int handled = 0;
    dialog->onApp = [&](WPARAM) { ++handled; };
    const HWND hwnd = dialog->GetSafeHwnd();
    EXPECT_TRUE(PostMessage(hwnd, WM_APP + 1, 0, 0));
    dialog->SetTimer(1, 10);
    dialog->DestroyWindow();
    EXPECT_FALSE(IsWindow(hwnd));

    AfxRuntime::Get().PumpPending();
    Ui().Advance(100);
    EXPECT_EQ(handled, 0);
    EXPECT_TRUE(dialog->timers.empty());
    EXPECT_FALSE(PostMessage(hwnd, WM_APP + 1, 0, 0));
    EXPECT_EQ(SendMessage(hwnd, WM_APP + 1, 0, 0), 0);
    EXPECT_FALSE(KillTimer(hwnd, 1));
}

TEST_F(MessageLoopTest, ALoopThatCanNeverEndIsReportedAndGivenUp) {
    std::vector<std::string> failures;
    Ui().SetFailureHandler([&](const std::string& message) { failures.push_back(message); });
    RecordingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(failures.size(), 1u);
}
