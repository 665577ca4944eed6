// Recording on the sim as a user drives it: the record buttons with their click filter, the
// free-space rule before and during a recording, the clock, the recording graph the writer is
// joined into, the numbered files and the retries, the save folders and closing while recording.
#include <filesystem>
#include <fstream>

#include "AppMessages.h"
#include "MainWindowFixture.h"
#include "Recording.h"
#include "SimAsfWriter.h"
#include "resources/Catalogue.h"

namespace {

namespace fs = std::filesystem;
using platform::sim::SimAsfWriter;
using platform::sim::SimConnection;
using platform::sim::SimGraphRecord;

constexpr uint64_t kMB = 1'048'576;

class RecordingTest : public MainWindowTest {
protected:
    RecordingTest() {
        g_nVideoNumber = 0;
        g_bStartClickWaiting = g_bStartSecondClick = g_bStopClickWaiting = g_bStopSecondClick = false;
        Sim().Media().AddMicrophone(L"Mic");
        Store(L"VideoPath", (m_videos.Wide() + L"/").c_str());
    }

    HWND Button(int id) { return Ui().FindControl(m_dlg.GetSafeHwnd(), id); }
    bool Shown(int id) { return Ui().Find(Button(id))->visible; }
    std::wstring Text(int id) { return Ui().GetText(Button(id)); }
    uint64_t Now() { return Sim().Clock().Now(); }
    void Click(int id) { Ui().Click(Button(id)); }
    // The double-click notification of a pair whose first click is already being handled.
    void SecondHalfOfDoubleClick(int id) {
        Ui().MouseDown(Button(id), {5, 5}, true);
        Ui().MouseUp(Button(id), {5, 5});
    }
    void Command(WPARAM code) { m_dlg.SendMessage(WM_CONTROL_COMMAND, code, 0); }
    void SetFreeMegabytes(uint64_t mb) { Sim().Volumes().SetFreeBytes(mb * kMB); }

    SimGraphRecord* Recorder() {
        for (auto it = Sim().Media().Graphs().rbegin(); it != Sim().Media().Graphs().rend(); ++it)
            if ((*it)->Filter(L"ASF Writer")) return it->get();
        return nullptr;
    }
    // The one graph not released (the device enumeration's probes come and go).
    SimGraphRecord* LiveGraph() {
        for (auto it = Sim().Media().Graphs().rbegin(); it != Sim().Media().Graphs().rend(); ++it)
            if (!(*it)->IsReleased()) return it->get();
        return nullptr;
    }
    SimAsfWriter* Writer() { return Recorder() ? Recorder()->FilterAs<SimAsfWriter>(L"ASF Writer") : nullptr; }
    int PreviewGraphs() {
        int n = 0;
        for (const auto& graph : Sim().Media().Graphs()) n += graph->Filter(L"Smart Tee1") != nullptr;
        return n;
    }
    int Recorders() {
        int n = 0;
        for (const auto& graph : Sim().Media().Graphs()) n += graph->Filter(L"ASF Writer") != nullptr;
        return n;
    }
    std::vector<std::wstring> Boxes() {
        std::vector<std::wstring> texts;
        for (const auto& box : Ui().MessageBoxes()) texts.push_back(box.text);
        return texts;
    }
    static std::wstring Message(int id) { return GetCatalogueText(id); }
    std::string VideoFile(const char* name) { return (m_videos.Path() / name).string(); }

    // Recording, the controls as a user sees them, the timer running.
    void ExpectRecording() {
        EXPECT_TRUE(m_dlg.m_bRecording);
        EXPECT_FALSE(m_dlg.m_bPreviewGraph);
        EXPECT_TRUE(Ui().HasTimer(m_dlg.GetSafeHwnd(), TIMER_RECORD));
        EXPECT_TRUE(Shown(IDC_BTN_RECORD_STOP));
        EXPECT_FALSE(Shown(IDC_BTN_RECORD_START));
        EXPECT_FALSE(Ui().Find(Button(IDC_BTN_SNAPSHOT))->enabled);
        EXPECT_EQ(Text(IDC_STATIC_RECORDING), Message(6043));
    }
    // Idle, the preview running.
    void ExpectIdle() {
        EXPECT_FALSE(m_dlg.m_bRecording);
        EXPECT_TRUE(m_dlg.m_bPreviewGraph);
        EXPECT_FALSE(Ui().HasTimer(m_dlg.GetSafeHwnd(), TIMER_RECORD));
        EXPECT_FALSE(Shown(IDC_BTN_RECORD_STOP));
        EXPECT_TRUE(Shown(IDC_BTN_RECORD_START));
        EXPECT_TRUE(Ui().Find(Button(IDC_BTN_SNAPSHOT))->enabled);
        EXPECT_TRUE(m_dlg.m_strRecordFile.empty());
        ASSERT_EQ(Sim().Media().LiveGraphCount(), 1);
        ASSERT_TRUE(LiveGraph());
        EXPECT_EQ(LiveGraph()->stateChanges.back().requested, State_Running);
    }

    TempFolder m_videos;
};

TEST(RecordingClock, HoursTakeAsManyDigitsAsTheyNeed) {
    const struct {
        uint32_t ms;
        const wchar_t* shown;
    } cases[] = {{0, L"00:00:00"}, {999, L"00:00:00"}, {59'999, L"00:00:59"}, {3'600'000, L"01:00:00"},
                 {3'661'001, L"01:01:01"}, {360'000'000, L"100:00:00"}};
    for (const auto& c : cases) EXPECT_EQ(FormatElapsed(SplitElapsed(c.ms)), c.shown) << c.ms;
}

TEST(VideoFileNameTest, AtLeastFourDigitsWithoutUpperLimit) {
    EXPECT_EQ(VideoFileName(L"/v/", 0), L"/v/VideoCap0000.asf");
    EXPECT_EQ(VideoFileName(L"/v/", 10000), L"/v/VideoCap10000.asf");
}

TEST_F(RecordingTest, ClickFilterStartsOnceAtTheRightMoment) {
    const struct {
        const char* what;
        std::function<void()> duringTheWait;  // nothing: a single click
        uint64_t startsAfter;
    } cases[] = {
        {"a single click acts one double-click time later", {}, 500},
        {"a double-click acts at once, the waiting click not at all",
         [this] { SecondHalfOfDoubleClick(IDC_BTN_RECORD_START); }, 50},
        {"a second click ends the wait before the next slice", [this] { Click(IDC_BTN_RECORD_START); },
         50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Run([&] {
            const int before = Recorders();
            if (c.duringTheWait) Ui().Queue(c.duringTheWait);
            const uint64_t clicked = Now();
            Click(IDC_BTN_RECORD_START);
            EXPECT_EQ(Recorders(), before + 1);
            EXPECT_EQ(m_dlg.m_dwRecordStart, clicked + c.startsAfter);
            EXPECT_EQ(Ui().Cursor(), platform::CursorKind::None) << "the wait cursor taken away";
            ExpectRecording();
            Ui().DoubleClick(Button(IDC_BTN_RECORD_STOP));
            ExpectIdle();
            EXPECT_EQ(Text(IDC_STATIC_RECORDING), L" ");
            EXPECT_EQ(Text(IDC_STATIC_STATUS), L" ");
        });
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecordingTest, StartNeedsTwoHundredFiftyMegabytesAndAFolderItCanWrite) {
    const struct {
        const char* what;
        std::optional<uint64_t> freeMB;
        bool folderThere;
        int message;  // 0: the recording starts
    } cases[] = {
        {"249 MB", 249, true, 6005},
        {"250 MB", 250, true, 0},
        {"space unknown, folder writable", std::nullopt, true, 6005},
        {"space unknown, folder gone", std::nullopt, false, 6004},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Ui().ExpectMessageBox(IDOK);  // used only by the refusals
        Run([&] {
            Sim().Volumes().SetFreeBytes(c.freeMB ? std::optional(*c.freeMB * kMB) : std::nullopt);
            if (!c.folderThere) m_dlg.m_strVideoPath = m_videos.Wide() + L"/gone/";
            const size_t boxes = Ui().MessageBoxes().size();
            const int before = Recorders();
            Click(IDC_BTN_RECORD_START);
            if (c.message) {
                ASSERT_EQ(Ui().MessageBoxes().size(), boxes + 1);
                EXPECT_EQ(Ui().MessageBoxes().back().text, Message(c.message));
                EXPECT_EQ(Ui().MessageBoxes().back().Icon(), platform::kMbIconExclamation);
                EXPECT_EQ(Recorders(), before);
                ExpectIdle();
            } else {
                EXPECT_EQ(Recorders(), before + 1);
                ExpectRecording();
                Click(IDC_BTN_RECORD_STOP);
            }
            m_dlg.m_strVideoPath = m_videos.Wide() + L"/";
        });
        if (!c.message) Ui().ExpectMessageBox(IDOK);  // not used: answered by the next case
    }
}

TEST_F(RecordingTest, GuardStopsOnceAndDeletesOnlyARecordingShorterThanASecond) {
    // The control bar's start is not checked: the guard's first tick stops the recording.
    const struct {
        const char* what;
        uint32_t plentyFor;  // ms of recording before the space runs out
        std::optional<uint64_t> thenFree;
        bool fileKept;
    } cases[] = {{"stopped at the first tick (500 ms)", 0, 100 * kMB, false},
                 {"stopped at 1000 ms", 500, 100 * kMB, true},
                 {"the space can no longer be measured", 500, std::nullopt, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Run([&] {
            const size_t boxes = Ui().MessageBoxes().size();
            const int previews = PreviewGraphs();
            SetFreeMegabytes(c.plentyFor ? 10'000 : 100);
            Command(CONTROL_RECORD_START);
            ExpectRecording();
            const std::wstring file = m_dlg.m_strRecordFile;
            ASSERT_TRUE(fs::exists(platform::ToUtf8(file)));
            Ui().Advance(c.plentyFor);
            Sim().Volumes().SetFreeBytes(c.thenFree);
            // Ticks keep coming while the stop waits out the double-click time and while the
            // message is up; none of them stops, deletes or tells again.
            Ui().ExpectMessageBox(IDOK, [&] { Ui().Advance(2000); });
            Ui().Advance(500);
            ASSERT_EQ(Ui().MessageBoxes().size(), boxes + 1);
            EXPECT_EQ(Ui().MessageBoxes().back().text, Message(6005));
            EXPECT_EQ(fs::exists(platform::ToUtf8(file)), c.fileKept);
            EXPECT_EQ(PreviewGraphs(), previews + 1) << "one preview rebuilt after one stop";
            ExpectIdle();
            SetFreeMegabytes(10'000);
        });
    }
}

TEST_F(RecordingTest, ClockCountsFromTheStartAcrossAWrapOfTheTickCount) {
    Sim().Clock().SetNow(0xFFFFFFFFull - 700);
    Run([&] {
        Click(IDC_BTN_RECORD_START);
        Ui().Advance(1000);
        EXPECT_EQ(Text(IDC_STATIC_STATUS), L"00:00:01");
        Ui().Advance(59'000);
        EXPECT_EQ(Text(IDC_STATIC_STATUS), L"00:01:00");
        Click(IDC_BTN_RECORD_STOP);
    });
}

TEST_F(RecordingTest, OtherCommandsDoNothing) {
    Run([&] {
        const size_t graphs = Sim().Media().Graphs().size();
        for (WPARAM code : {0, 5}) EXPECT_EQ(m_dlg.SendMessage(WM_CONTROL_COMMAND, code, 0), 0);
        EXPECT_EQ(Sim().Media().Graphs().size(), graphs);
        EXPECT_TRUE(Sim().Shell().Opened().empty());
        ExpectIdle();
    });
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecordingTest, OpenFoldersTellsOnceWhenAFolderIsMissingOrForbidden) {
    const struct {
        int image, video;
        bool told;
    } cases[] = {{3, 42, true}, {3, 3, true}, {5, 3, true}, {2, 42, false}, {42, 5, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.image << "/" << c.video);
        if (c.told) Ui().ExpectMessageBox(IDOK);
        Run([&] {
            Sim().Shell().SetOpenResult(m_dlg.m_strImagePath, c.image);
            Sim().Shell().SetOpenResult(m_dlg.m_strVideoPath, c.video);
            const size_t opened = Sim().Shell().Opened().size();
            const size_t boxes = Ui().MessageBoxes().size();
            Command(CONTROL_OPEN_FOLDER);
            ASSERT_EQ(Sim().Shell().Opened().size(), opened + 2);
            EXPECT_EQ(Sim().Shell().Opened()[opened], m_dlg.m_strImagePath);
            EXPECT_EQ(Sim().Shell().Opened()[opened + 1], m_dlg.m_strVideoPath);
            EXPECT_EQ(Ui().MessageBoxes().size(), boxes + (c.told ? 1 : 0));
            if (c.told) {
                EXPECT_EQ(Ui().MessageBoxes().back().text, Message(6003));
            }
        });
    }
}

TEST_F(RecordingTest, RecordingGraphJoinsTheWriterAsPlanned) {
    const struct {
        const char* what;
        bool microphone;
        int mode;
        int width, height;
    } cases[] = {
        {"sound, mode 1", true, 1, 640, 480},
        {"no microphone", false, 1, 640, 480},
        {"mode 2 records at 640 x 480", true, 2, 640, 480},
        {"mode 0", true, 0, 352, 288},
    };
    Sim().Media().FindCamera(L"Cam")->sizes = {{352, 288}, {640, 480}, {1280, 1024}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Store(L"ResolutionMode", std::to_wstring(c.mode).c_str());
        if (!c.microphone) (void)Sim().Media().Unplug(L"Mic");
        Run([&] {
            SimGraphRecord* preview = Sim().Media().LastGraph();
            Command(CONTROL_RECORD_START);
            ExpectRecording();
            SimGraphRecord* graph = Recorder();
            ASSERT_TRUE(graph);
            EXPECT_EQ(graph == preview, c.mode < 2) << "modes 0 and 1 keep the preview graph";
            EXPECT_EQ(preview->IsReleased(), c.mode >= 2);
            const int videoInput = c.microphone ? 1 : 0;
            const SimConnection* video = graph->ConnectionFrom(L"Smart Tee1", 0);
            ASSERT_TRUE(video);
            EXPECT_EQ(video->to, L"ASF Writer");
            EXPECT_EQ(video->toPin, videoInput);
            EXPECT_EQ(video->how, SimConnection::How::Intelligent);
            if (c.microphone) {
                const std::pair<const wchar_t*, const wchar_t*> chain[] = {
                    {L"Audio Cap", L"PCM"}, {L"PCM", L"Smart Tee2"}, {L"Smart Tee2", L"ASF Writer"}};
                for (auto [from, to] : chain) {
                    const SimConnection* link = graph->ConnectionFrom(from, 0);
                    ASSERT_TRUE(link) << platform::ToUtf8(from);
                    EXPECT_EQ(link->to, to);
                    EXPECT_EQ(link->toPin, 0);
                }
            } else {
                EXPECT_FALSE(graph->Filter(L"Audio Cap") || graph->Filter(L"PCM") || graph->Filter(L"Smart Tee2"));
            }
            SimAsfWriter* writer = Writer();
            EXPECT_EQ(writer->FileName(), m_videos.Wide() + L"/VideoCap" +
                                              (g_nVideoNumber < 10 ? L"000" : L"00") +
                                              std::to_wstring(g_nVideoNumber) + L".asf");
            ASSERT_EQ(writer->Streams().size(), c.microphone ? 2u : 1u);
            for (const auto& stream : writer->Streams()) EXPECT_EQ(stream.bufferWindowMs, 3000u);
            const platform::WmStream* stream = writer->StreamOfType(WMMEDIATYPE_Video);
            ASSERT_TRUE(stream);
            auto vih = stream->VideoInfo();
            ASSERT_TRUE(vih);
            EXPECT_EQ(vih->bmiHeader.biWidth, c.width);
            EXPECT_EQ(vih->bmiHeader.biHeight, c.height);
            EXPECT_EQ(vih->rcSource, (platform::Rect{0, 0, c.width, c.height}));
            EXPECT_EQ(vih->rcTarget, (platform::Rect{0, 0, c.width, c.height}));
            EXPECT_EQ(stream->maxKeyFrameSpacing, 70'000'000);
            EXPECT_EQ(stream->quality, 10u);
            EXPECT_EQ(stream->properties.at(L"_COMPLEXITYEX"), 0u);
            EXPECT_EQ(graph->window.width, c.width);
            EXPECT_EQ(graph->window.height, c.height);
            EXPECT_TRUE(graph->window.visible);
            EXPECT_EQ(m_dlg.CaptureFrameSize(), (platform::Size{c.width, c.height})) << "what the camera gives";
            Command(CONTROL_RECORD_STOP);
            ExpectIdle();
        });
        if (!c.microphone) (void)Sim().Media().Replug(L"Mic");
    }
}

TEST_F(RecordingTest, FileNamesSkipWhatIsThereAndRetriesKeepTheirName) {
    std::ofstream(VideoFile("VideoCap0000.asf")) << "the user's";
    fs::create_directory(VideoFile("VideoCap0002.asf"));
    Run([&] {
        Command(CONTROL_RECORD_START);
        EXPECT_EQ(platform::ToUtf8(m_dlg.m_strRecordFile), VideoFile("VideoCap0001.asf"));
        Command(CONTROL_RECORD_STOP);
        // The first attempt's three runs fail; the retry after a fresh preview records into the
        // name the first attempt chose.
        Sim().Media().Fail("Run", E_FAIL, 3);
        Command(CONTROL_RECORD_START);
        ExpectRecording();
        EXPECT_EQ(platform::ToUtf8(m_dlg.m_strRecordFile), VideoFile("VideoCap0003.asf"));
        EXPECT_EQ(platform::ToUtf8(Writer()->FileName()), VideoFile("VideoCap0003.asf"));
        Command(CONTROL_RECORD_STOP);
    });
    std::ifstream kept(VideoFile("VideoCap0000.asf"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the user's");
}

TEST_F(RecordingTest, SixFailedAttemptsTellTheUserAndLeaveThePreviewRunning) {
    Ui().ExpectMessageBox(IDOK);
    Run([&] {
        Sim().Media().Fail("CreateInstance:WMAsfWriter", E_FAIL, -1);
        ResetDiagnosticLog();
        Command(CONTROL_RECORD_START);
        EXPECT_EQ(Sim().Media().Attempts("CreateInstance:WMAsfWriter"), 6);
        ASSERT_EQ(Boxes(), std::vector<std::wstring>{Message(6002)});
        EXPECT_EQ(Ui().MessageBoxes().back().Icon(), platform::kMbIconExclamation);
        ExpectIdle();
        EXPECT_EQ(Text(IDC_STATIC_RECORDING), L" ");
        EXPECT_TRUE(fs::is_empty(m_videos.Path())) << "a failed start leaves no file";
    });
}

TEST_F(RecordingTest, APathTooLongForTheFileNameIsRefusedLikeAnUnwritableFolder) {
    // Long enough for the folder probe's name, too long for the video file's.
    std::wstring folder = m_videos.Wide() + L"/";
    folder += std::wstring(250 - folder.size(), L'a') + L"/";
    fs::create_directory(platform::ToUtf8(folder));
    Ui().ExpectMessageBox(IDOK);
    Run([&] {
        m_dlg.m_strVideoPath = folder;
        Command(CONTROL_RECORD_START);
        ASSERT_EQ(Boxes(), std::vector<std::wstring>{Message(6004)});
        EXPECT_EQ(Recorders(), 0);
        ExpectIdle();
        EXPECT_TRUE(fs::is_empty(platform::ToUtf8(folder)));
    });
}

TEST_F(RecordingTest, ClosingWhileRecordingAsksAndOkFinishesTheFile) {
    Run([&] {
        Command(CONTROL_RECORD_START);
        Ui().ExpectMessageBox(IDCANCEL);
        Ui().RequestClose(m_dlg.GetSafeHwnd());
        ExpectRecording();
        EXPECT_FALSE(Recorder()->IsReleased());
        Ui().ExpectMessageBox(IDOK);  // the fixture's own close request, asked once more
    });
    ASSERT_EQ(Boxes(), (std::vector<std::wstring>{Message(6039), Message(6039)}));
    ASSERT_TRUE(Recorder());
    EXPECT_TRUE(Recorder()->IsReleased()) << "the writer stopped and let go: the file is complete";
    EXPECT_EQ(Recorder()->stateChanges.back().requested, State_Stopped);
    EXPECT_TRUE(fs::exists(VideoFile("VideoCap0000.asf")));
}

}  // namespace

namespace {

TEST_F(RecordingTest, UnfinishedRecordingsAreRepairedInTheBackgroundAndLogged) {
    Run([&] {
        EXPECT_EQ(Sim().Recordings().Requests(), 1) << "asked once, at the start";
        ResetDiagnosticLog();
        std::wstring folder;
        GetExeFolder(folder);
        Sim().Recordings().Deliver({{L"/v/VideoCap0003.asf", true, 12.34, ""},
                                    {L"/v/VideoCap0004.asf", false, 0, "cannot write /v/VideoCap0004.asf.repairing"}});
    });
    EXPECT_EQ(m_folder.Read("TAVI_Log.txt"),
              "\n Repaired an unfinished recording: /v/VideoCap0003.asf (12.3 s)"
              "\n Could not repair an unfinished recording: /v/VideoCap0004.asf (cannot write /v/VideoCap0004.asf.repairing)");
}

}  // namespace

namespace {

TEST_F(RecordingTest, AGraphFailingWhileItRecordsEndsTheRecordingWithAMessage) {
    Ui().ExpectMessageBox(IDOK);
    Run([&] {
        Command(CONTROL_RECORD_START);
        SimGraphRecord* failed = Recorder();
        const std::wstring file = m_dlg.m_strRecordFile;
        ASSERT_TRUE(Sim().Media().FailWhileRunning(failed));
        AfxRuntime::Get().PumpPending();
        ASSERT_EQ(Boxes(), std::vector<std::wstring>{Message(6002)});
        EXPECT_TRUE(failed->IsReleased());
        EXPECT_TRUE(fs::exists(platform::ToUtf8(file)));
        ExpectIdle();
        // A report that comes after its recording ended changes nothing.
        Command(CONTROL_RECORD_START);
        m_dlg.PostMessage(WM_RECORDING_FAILED, 0, 1);
        AfxRuntime::Get().PumpPending();
        ExpectRecording();
        Command(CONTROL_RECORD_STOP);
    });
}

}  // namespace

namespace {

TEST_F(RecordingTest, AFileGoneFromItsPathEndsTheRecordingAtTheNextTick) {
    // The sim's writer, like a real one on an unlinked file, never fails: only the tick can tell.
    using Lose = void (*)(const fs::path& file);
    const struct {
        const char* what;
        Lose lose;
        bool spaceKnown;  // a deleted folder has no free space to measure
        bool ends;
    } cases[] = {
        {"the file still there", [](const fs::path&) {}, true, false},
        {"the file deleted", [](const fs::path& file) { fs::remove(file); }, true, true},
        {"the file moved away", [](const fs::path& file) { fs::rename(file, fs::path(file) += ".moved"); }, true, true},
        {"a folder in its place", [](const fs::path& file) {
             fs::remove(file);
             fs::create_directory(file);
         }, true, true},
        {"its folder deleted", [](const fs::path& file) { fs::remove_all(file.parent_path()); }, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.ends) Ui().ExpectMessageBox(IDOK);
        Run([&] {
            ResetDiagnosticLog();
            std::wstring exeFolder;
            GetExeFolder(exeFolder);
            fs::create_directory(m_videos.Path() / "sub");
            m_dlg.m_strVideoPath = m_dlg.m_strVideoDrive = m_videos.Wide() + L"/sub/";
            const size_t boxes = Ui().MessageBoxes().size();
            Command(CONTROL_RECORD_START);
            const std::string file = platform::ToUtf8(m_dlg.m_strRecordFile);
            SimGraphRecord* recorder = Recorder();
            Ui().Advance(500);
            c.lose(file);
            if (!c.spaceKnown) Sim().Volumes().SetFreeBytes(std::nullopt);
            Ui().Advance(1000);  // a tick or two: one message only
            if (c.ends) {
                ASSERT_EQ(Boxes().size(), boxes + 1);
                EXPECT_EQ(Boxes().back(), Message(6002));
                EXPECT_TRUE(recorder->IsReleased());
                ExpectIdle();
                EXPECT_EQ(m_folder.Read("TAVI_Log.txt"), "\n The recording's file is no longer there: " + file +
                                                             "\n Recording failed: " + file);
            } else {
                ExpectRecording();
                Command(CONTROL_RECORD_STOP);
            }
            SetFreeMegabytes(10'000);
            fs::remove_all(m_videos.Path() / "sub");
        });
    }
}

}  // namespace
