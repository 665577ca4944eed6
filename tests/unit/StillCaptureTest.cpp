// Snapshots on the sim: the user clicks the snapshot button, the camera's next frame becomes a
// numbered JPEG in the image folder, with the thumbnail, the notice and the click.
#include <turbojpeg.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "AppMessages.h"
#include "MainWindowFixture.h"
#include "SimGrabber.h"
#include "SimGrabberFrame.h"
#include "StillCapture.h"
#include "resources/ResourceIds.h"

namespace {

namespace fs = std::filesystem;
using platform::sim::SimFramePixel;

struct DecodedJpeg {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgr;  // top-down
    platform::Color At(int x, int y) const {
        const uint8_t* p = bgr.data() + (static_cast<size_t>(y) * width + x) * 3;
        return {p[2], p[1], p[0]};
    }
};

DecodedJpeg Decode(const std::string& bytes) {
    DecodedJpeg out;
    tjhandle handle = tjInitDecompress();
    int subsampling = 0;
    int colourspace = 0;
    auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (tjDecompressHeader3(handle, data, bytes.size(), &out.width, &out.height, &subsampling, &colourspace) == 0) {
        out.bgr.resize(static_cast<size_t>(out.width) * out.height * 3);
        if (tjDecompress2(handle, data, bytes.size(), out.bgr.data(), out.width, 0, out.height, TJPF_BGR, 0) != 0)
            out = {};
    }
    tjDestroy(handle);
    return out;
}

bool Near(platform::Color a, platform::Color b, int tolerance = 6) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

class StillCaptureTest : public MainWindowTest {
protected:
    StillCaptureTest() {
        g_grabFlags = 0;
        g_nStillNumber = 0;
        g_bDisableDuringSnapshot = 0;
        g_bFrameShown = 0;
        Store(L"ImagePath", (m_images.Wide() + L"/").c_str());
    }

    platform::sim::SimMedia& Media() { return Sim().Media(); }
    HWND Main() { return m_dlg.GetSafeHwnd(); }
    bool MainEnabled() { return Ui().Find(Main())->enabled; }

    // The one system on which snapshots disable the window (m_bNotVista FALSE).
    void OnVista() { Sim().SystemInfo().SetSystemVersion(platform::SystemVersion{platform::kPlatformWin32Nt, 6, 0, 6002, L"Vista"}); }
    void Snap() { Ui().Click(Ui().FindControl(Main(), IDC_BTN_SNAPSHOT)); }
    // The camera's next frames reach the grabber; the frame-ready message is handled.
    void Frames(int count = 1) {
        Media().DeliverFrames(count);
        AfxRuntime::Get().PumpPending();
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_images.Path())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    void Touch(const std::string& name, const std::string& content = "") {
        std::ofstream(m_images.Path() / name, std::ios::binary) << content;
    }

    TempFolder m_images;
};

TEST(StillFileName, AtLeastFourDigitsWithoutUpperLimit) {
    EXPECT_EQ(StillFileName(L"/p/", 0), L"/p/StillCap0000.jpg");
    EXPECT_EQ(StillFileName(L"/p/", 42), L"/p/StillCap0042.jpg");
    EXPECT_EQ(StillFileName(L"/p/", 10000), L"/p/StillCap10000.jpg");
}

TEST(GrabHandOver, OneRequestOneFrameAndNoneWhileTheLastIsStillBeingRead) {
    g_grabFlags = 0;
    EXPECT_FALSE(TakeGrabRequest()) << "nobody asked";
    ArmGrabRequest();
    ArmGrabRequest();
    EXPECT_TRUE(TakeGrabRequest());
    EXPECT_FALSE(TakeGrabRequest()) << "two requests before the frame: one frame";

    ArmGrabRequest();  // the next click while the first frame waits to be saved
    EXPECT_FALSE(TakeGrabRequest()) << "the buffer is still the window's";
    ReleaseGrabbedFrame();
    EXPECT_TRUE(TakeGrabRequest());
    ReleaseGrabbedFrame();

    ArmGrabRequest();
    DisarmGrabRequest();
    EXPECT_FALSE(TakeGrabRequest());
}

TEST_F(StillCaptureTest, SnapshotIsTheNextFrameRightWayUpWithThumbnailNoticeAndClick) {
    Run([&] {
        Snap();
        EXPECT_TRUE(MainEnabled()) << "the first snapshot never disables the window";
        const uint32_t frame = Media().NextFrameNumber();
        Frames();
        ASSERT_EQ(Files(), (std::vector<std::string>{"StillCap0000.jpg"}));

        const DecodedJpeg jpeg = Decode(m_images.Read("StillCap0000.jpg"));
        ASSERT_EQ(jpeg.width, 640);
        ASSERT_EQ(jpeg.height, 480);
        for (auto [x, y] : {std::pair{20, 10}, {200, 100}, {600, 470}}) {
            const auto want = SimFramePixel(x, y, frame);
            EXPECT_TRUE(Near(jpeg.At(x, y), {want.r, want.g, want.b})) << x << "," << y;
        }
        EXPECT_EQ(Sim().ImageEncoder().LastQuality(), 75);

        // The thumbnail is the whole frame shrunk, top row at the top.
        const auto& thumb = Ui().Paint(Ui().FindControl(Main(), IDC_STATIC_SNAPSHOT)).bitmap;
        ASSERT_FALSE(thumb.IsEmpty());
        const auto topLeft = SimFramePixel(0, 0, frame);
        EXPECT_EQ(thumb.At(0, 0), (platform::Color{topLeft.r, topLeft.g, topLeft.b}));
        const int y = thumb.Height() - 1;
        const auto bottom = SimFramePixel(0, y * 480 / thumb.Height(), frame);
        EXPECT_EQ(thumb.At(0, y), (platform::Color{bottom.r, bottom.g, bottom.b}));

        EXPECT_EQ(Control(IDC_STATIC_STATUS).text, L"Captured");
        ASSERT_FALSE(Sim().Sound().Requests().empty());
        EXPECT_EQ(Sim().Sound().Requests().back().path, m_folder.Wide(L"click.wav"));
    });
}

TEST_F(StillCaptureTest, NamesFillGapsFromTheBottomSkipFoldersAndKeepTheCounterInANewFolder) {
    Touch("StillCap0000.jpg");
    Touch("StillCap0002.jpg");
    fs::create_directory(m_images.Path() / "StillCap0004.jpg");
    TempFolder other;
    Run([&] {
        for (int i = 0; i < 3; ++i) {
            Snap();
            Frames();
        }
        EXPECT_TRUE(fs::is_regular_file(m_images.Path() / "StillCap0001.jpg"));
        EXPECT_TRUE(fs::is_regular_file(m_images.Path() / "StillCap0003.jpg"));
        EXPECT_TRUE(fs::is_regular_file(m_images.Path() / "StillCap0005.jpg")) << "the folder named like a still is skipped";
        EXPECT_TRUE(fs::is_directory(m_images.Path() / "StillCap0004.jpg"));

        m_dlg.m_strImagePath = other.Wide() + L"/";
        Snap();
        Frames();
        EXPECT_TRUE(fs::is_regular_file(other.Path() / "StillCap0005.jpg")) << "the counter is not reset";
    });
}

TEST_F(StillCaptureTest, TwoRequestsBeforeAFrameGiveOneFile) {
    Run([&] {
        Snap();
        Snap();
        Frames(3);
        EXPECT_EQ(Files(), (std::vector<std::string>{"StillCap0000.jpg"}));
        EXPECT_EQ(Sim().ImageEncoder().Encodings(), 1);
        EXPECT_FALSE(GrabRequestPending());
    });
}

// The grabber asks before it makes a frame: frames nobody asked for are never made, a request
// gets one, however many clicks it took.
TEST_F(StillCaptureTest, OnlyARequestedFrameIsMadeForTheCallback) {
    struct Case {
        const char* what;
        int clicks;
        int frames;
        uint32_t made;
        size_t files;
    };
    const Case cases[] = {
        {"no request", 0, 5, 0, 0},
        {"one request", 1, 4, 1, 1},
        {"two clicks before the frame", 2, 4, 1, 2},
        {"no request after the snapshots", 0, 5, 0, 2},
    };
    Run([&] {
        auto* grabber = dynamic_cast<platform::sim::SimGrabber*>(m_dlg.m_pGrabber.Get());
        ASSERT_NE(grabber, nullptr);
        for (const Case& c : cases) {
            const uint32_t before = grabber->FramesMade();
            for (int i = 0; i < c.clicks; ++i) Snap();
            Frames(c.frames);
            EXPECT_EQ(grabber->FramesMade() - before, c.made) << c.what;
            EXPECT_EQ(Files().size(), c.files) << c.what;
            Ui().Advance(1000);  // the notice ends
        }
    });
}

TEST_F(StillCaptureTest, NoticeIsClearedOneSecondAfterTheLastSnapshot) {
    Run([&] {
        Snap();
        Frames();
        Ui().Advance(600);
        Snap();
        Frames();
        Ui().Advance(900);  // 1.5 s after the first
        EXPECT_EQ(Control(IDC_STATIC_STATUS).text, L"Captured");
        Ui().Advance(100);
        EXPECT_EQ(Control(IDC_STATIC_STATUS).text, L" ");
        EXPECT_FALSE(Ui().HasTimer(Main(), TIMER_CAPTURED));
    });
}

TEST_F(StillCaptureTest, WindowIsDisabledFromTheSecondSnapshotOnUntilItsFileIsWritten) {
    OnVista();
    Run([&] {
        ASSERT_FALSE(m_dlg.m_bNotVista);
        Snap();
        EXPECT_TRUE(MainEnabled());
        Frames();
        Snap();
        EXPECT_FALSE(MainEnabled());
        Frames();
        EXPECT_TRUE(MainEnabled());
        EXPECT_EQ(Files().size(), 2u);
    });
}

TEST_F(StillCaptureTest, UnwritableFolderShowsInvalidSavePathAndArmsNothing) {
    OnVista();
    Run([&] {
        m_dlg.m_strImagePath = m_images.Wide() + L"/gone/";
        Ui().ExpectMessageBox(IDOK);
        Ui().ExpectMessageBox(IDOK);
        Snap();
        Frames();
        g_bDisableDuringSnapshot = 1;  // as after an earlier snapshot
        Snap();  // disables the window before the request fails
        ASSERT_EQ(Ui().MessageBoxes().size(), 2u);
        EXPECT_EQ(Ui().MessageBoxes().back().text, L"Invalid Save Path");
        EXPECT_EQ(Ui().MessageBoxes().back().Icon(), MB_ICONEXCLAMATION);
        EXPECT_FALSE(GrabRequestPending());
        EXPECT_TRUE(MainEnabled());
        EXPECT_EQ(Control(IDC_STATIC_STATUS).text, L" ");
        Frames();
        EXPECT_EQ(Sim().ImageEncoder().Encodings(), 0);
    });
}

TEST_F(StillCaptureTest, ProbeLeavesAnExistingTempFileAsItWas) {
    Touch("temp.txt", "the user's notes");
    Run([&] {
        Snap();
        Frames();
    });
    EXPECT_EQ(m_images.Read("temp.txt"), "the user's notes");
    EXPECT_EQ(Files(), (std::vector<std::string>{"StillCap0000.jpg", "temp.txt"}));
}

TEST_F(StillCaptureTest, FailedEncodingLeavesNoFileAndNoNotice) {
    OnVista();
    Run([&] {
        Snap();
        Frames();
        Ui().Advance(1000);
        const size_t sounds = Sim().Sound().Requests().size();
        Sim().ImageEncoder().FailNext();
        Snap();
        EXPECT_FALSE(MainEnabled());
        Frames();
        EXPECT_EQ(Files(), (std::vector<std::string>{"StillCap0000.jpg"}));
        EXPECT_EQ(Control(IDC_STATIC_STATUS).text, L" ");
        EXPECT_EQ(Sim().Sound().Requests().size(), sounds);
        EXPECT_TRUE(MainEnabled());
    });
}

TEST_F(StillCaptureTest, StillKeepsTheSizeItWasGrabbedAtWhenTheGraphIsRebuiltMeanwhile) {
    // A 640 x 480 frame waits for the window while the graph is rebuilt at another size (a
    // recording start in the large mode does that).
    for (platform::Size rebuilt : {platform::Size{1280, 1024}, platform::Size{352, 288}}) {
        SCOPED_TRACE(rebuilt.cx);
        Run([&] {
            Snap();
            const uint32_t frame = Media().NextFrameNumber();
            Media().DeliverFrames(1);
            g_grabberCB.m_lWidth = rebuilt.cx;
            g_grabberCB.m_lHeight = rebuilt.cy;
            AfxRuntime::Get().PumpPending();
            ASSERT_FALSE(Files().empty());
            const DecodedJpeg jpeg = Decode(m_images.Read(Files().back()));
            ASSERT_EQ(jpeg.width, 640);
            ASSERT_EQ(jpeg.height, 480);
            const auto want = SimFramePixel(600, 470, frame);
            EXPECT_TRUE(Near(jpeg.At(600, 470), {want.r, want.g, want.b}));
            EXPECT_EQ(Control(IDC_STATIC_STATUS).text, L"Captured");
        });
    }
}

TEST_F(StillCaptureTest, RequestWithoutARunningGraphIsDroppedAfterTwoSeconds) {
    OnVista();
    Run([&] {
        Snap();
        Frames();
        m_dlg.TearDownGraph();
        Snap();
        EXPECT_FALSE(MainEnabled());
        Ui().Advance(1999);
        EXPECT_FALSE(MainEnabled());
        Ui().Advance(1);
        EXPECT_TRUE(MainEnabled());
        EXPECT_FALSE(GrabRequestPending());

        ASSERT_EQ(m_dlg.BuildGraph(nullptr), S_OK);
        Frames(2);
        EXPECT_EQ(Files().size(), 1u) << "the dropped request takes no later frame";
    });
}

// A real streaming thread delivers frames back to back while the window's thread asks for a
// second snapshot each time the first one's frame is waiting to be saved; run under
// ThreadSanitizer by test.sh, which reports any write to the frame buffer during a save.
TEST_F(StillCaptureTest, HandOverWithARealStreamingThread) {
    Run([&] {
        ASSERT_TRUE(Media().DeliverFramesOnThread(1000000, std::chrono::milliseconds(0)));
        int requests = 0;
        for (int i = 0; i < 40; ++i) {
            m_dlg.SendMessage(WM_CONTROL_COMMAND, CONTROL_SNAPSHOT, 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            m_dlg.SendMessage(WM_CONTROL_COMMAND, CONTROL_SNAPSHOT, 0);
            requests += 2;
            AfxRuntime::Get().PumpPending();
        }
        m_dlg.TearDownGraph();  // stops the streaming thread
        AfxRuntime::Get().PumpPending();
        const size_t files = Files().size();
        EXPECT_GT(files, 0u);
        EXPECT_LE(files, static_cast<size_t>(requests)) << "one request, one frame at most";
        EXPECT_EQ(static_cast<int>(files), Sim().ImageEncoder().Encodings());
        for (const auto& name : Files()) EXPECT_EQ(Decode(m_images.Read(name)).width, 640) << name;
    });
}

}  // namespace
