// The picture button: frames cut from its strip, the look for each state, pointer tracking,
// the tooltip, and strips that cannot be read.
#include <fstream>

#include "controls/FourStateButton.h"
#include "SimFixture.h"
#include "TempFolder.h"
#include "TestDialogs.h"
#include "framework/DataExchange.h"
#include "platform/PictureFile.h"

namespace {

using platform::Color;

// Frame i of a test strip is filled with kFrameColors[i]; columns past four whole frames with
// kLeftover, which must never be seen.
constexpr Color kFrameColors[4] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {90, 90, 90}};
constexpr Color kLeftover{255, 255, 0};
constexpr Color kFace{240, 240, 240};  // what the erase leaves where no frame is copied

class ButtonDialog : public CDialog {
public:
    ButtonDialog() : CDialog(TestTemplate()) {}
    CFourStateButton m_button;
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kOwnerDrawId, m_button); }
};

class FourStateButtonTest : public SimTest {
protected:
    FourStateButtonTest() { EXPECT_TRUE(m_dialog.Create()); }

    std::wstring WriteStrip(const std::wstring& name, int width, int height, int shade = 0) {
        platform::Bitmap strip(width, height, kLeftover);
        const int frame = width / 4;
        for (int i = 0; i < 4; ++i) {
            Color c = kFrameColors[i];
            c.r = uint8_t(c.r + shade), c.g = uint8_t(c.g + shade), c.b = uint8_t(c.b + shade);
            strip.Fill(platform::Rect::FromXYWH(i * frame, 0, frame, height), c);
        }
        return WriteFile(name, platform::EncodeBmp(strip));
    }
    std::wstring WriteFile(const std::wstring& name, const std::vector<uint8_t>& bytes) {
        std::ofstream out(m_folder.Path() / platform::ToUtf8(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return m_folder.Wide(name);
    }

    CFourStateButton& Button() { return m_dialog.m_button; }
    HWND Hwnd() { return Button().GetSafeHwnd(); }
    CRect Rect() { return Ui().GetRect(Hwnd()); }
    const platform::sim::SimWindow& Paint() { return Ui().Paint(Hwnd()); }
    // The pointer comes to rest on the button: a move, then the hover time.
    void Hover() {
        Ui().MouseMove(Hwnd(), {4, 4});
        Ui().Advance(1);
    }

    TempFolder m_folder;
    ButtonDialog m_dialog;
};

}  // namespace

TEST_F(FourStateButtonTest, FramesAreAQuarterOfTheStripAndColumnsBeyondFourFramesNeverShow) {
    const CRect before = Rect();
    Button().LoadStrip(WriteStrip(L"116.bmp", 116, 32));
    EXPECT_EQ(Button().m_nFrameWidth, 29);
    EXPECT_EQ(Button().m_nFrameHeight, 32);
    EXPECT_EQ(Rect(), CRect::FromXYWH(before.left, before.top, 29, 32)) << "resized, not moved";
    EXPECT_EQ(Paint().bitmap.At(28, 31), kFrameColors[1]);

    Button().LoadStrip(WriteStrip(L"118.bmp", 118, 32));
    EXPECT_EQ(Button().m_nFrameWidth, 29);
    EXPECT_EQ(Rect().Width(), 29);
    // Even a button made wider than its frame shows no leftover column: the rest is left erased.
    Button().SetWindowPos(nullptr, 0, 0, 40, 32, SWP_NOMOVE | SWP_NOZORDER);
    for (UINT state : {0u, 1u}) {
        if (state) Button().EnableWindow(FALSE);
        const auto& painted = Paint();
        for (int x = 0; x < 40; ++x) EXPECT_NE(painted.bitmap.At(x, 10), kLeftover) << "x " << x;
        EXPECT_EQ(painted.bitmap.At(29, 10), kFace);
        EXPECT_EQ(painted.bitmap.At(28, 10), kFrameColors[state ? 3 : 1]);
    }
}

TEST_F(FourStateButtonTest, EachStateShowsItsFrameAndTextColour) {
    Button().LoadStrip(WriteStrip(L"strip.bmp", 116, 32));
    Button().SetWindowText(L"Go");
    auto look = [&] {
        const auto& painted = Paint();
        EXPECT_EQ(painted.texts.size(), 1u);
        const COLORREF text = painted.texts.empty() ? 0 : RGB(painted.texts[0].style.color.r, painted.texts[0].style.color.g,
                                                              painted.texts[0].style.color.b);
        return std::pair{painted.bitmap.At(14, 16), text};
    };

    EXPECT_EQ(look(), std::pair(kFrameColors[1], RGB(75, 135, 255))) << "normal";
    Ui().MouseMove(Hwnd(), {4, 4});
    EXPECT_EQ(look().first, kFrameColors[1]) << "a move alone is no hover";
    Ui().Advance(1);
    EXPECT_EQ(look(), std::pair(kFrameColors[2], RGB(88, 95, 120))) << "pointer resting";
    Ui().MouseDown(Hwnd(), {4, 4});
    EXPECT_EQ(look(), std::pair(kFrameColors[0], RGB(89, 90, 107))) << "pressed while hovered";
    Ui().MouseUp(Hwnd(), {4, 4});
    Button().EnableWindow(FALSE);
    EXPECT_TRUE(Button().m_bHover);
    EXPECT_EQ(look(), std::pair(kFrameColors[3], RGB(120, 119, 117))) << "disabled under the pointer";

    // The text: one line, centred both ways in the item, drawn without a background.
    const auto& drawn = Paint().texts.at(0);
    EXPECT_EQ(drawn.text, L"Go");
    EXPECT_EQ(drawn.box, (CRect{0, 0, 29, 32}));
    EXPECT_EQ(drawn.style.format, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    EXPECT_FALSE(drawn.style.opaque);
    Button().SetWindowText(L"");
    EXPECT_TRUE(Paint().texts.empty());
}

TEST_F(FourStateButtonTest, LeavingEndsTheHoverAndComingBackWaitsForTheRestAgain) {
    Button().LoadStrip(WriteStrip(L"strip.bmp", 116, 32));
    Hover();
    EXPECT_EQ(Paint().bitmap.At(5, 5), kFrameColors[2]);
    Ui().MouseLeave(Hwnd());
    EXPECT_FALSE(Button().m_bHover);
    EXPECT_FALSE(Button().m_bTracking);
    EXPECT_EQ(Paint().bitmap.At(5, 5), kFrameColors[1]);
    Ui().MouseMove(Hwnd(), {6, 6});
    EXPECT_TRUE(Button().m_bTracking) << "tracking asked for again on the first move back";
    EXPECT_EQ(Paint().bitmap.At(5, 5), kFrameColors[1]);
    Ui().Advance(1);
    EXPECT_EQ(Paint().bitmap.At(5, 5), kFrameColors[2]);
}

TEST_F(FourStateButtonTest, ANewStripKeepsHoverAndTooltipAndTakesItsOwnSize) {
    Button().LoadStrip(WriteStrip(L"first.bmp", 116, 32));
    Button().SetToolTipText(L"Hide Preview");
    Hover();
    Button().LoadStrip(WriteStrip(L"second.bmp", 120, 40, 20));
    EXPECT_TRUE(Button().m_bHover);
    EXPECT_TRUE(Button().m_bTracking);
    EXPECT_EQ(Rect().Width(), 30);
    EXPECT_EQ(Rect().Height(), 40);
    const Color hover{20, 20, 220};
    EXPECT_EQ(Paint().bitmap.At(29, 39), hover) << "the new strip's hover frame, to its full size";
    const auto* window = Ui().Find(Hwnd());
    EXPECT_EQ(window->tooltip, L"Hide Preview");
    EXPECT_TRUE(window->tooltipActive);
}

TEST_F(FourStateButtonTest, AStripThatCannotBeReadChangesNothing) {
    // Before any strip: the template's size, and nothing drawn over the erased face.
    const CRect templateRect = Rect();
    Button().LoadStrip(m_folder.Wide(L"missing.bmp"));
    EXPECT_EQ(Rect(), templateRect);
    EXPECT_EQ(Paint().bitmap.At(0, 0), kFace);
    Ui().MouseDown(Hwnd(), {2, 2});
    EXPECT_EQ(Paint().bitmap.At(0, 0), kFace) << "pressed without a strip: still no picture";
    Ui().MouseUp(Hwnd(), {2, 2});

    Button().LoadStrip(WriteStrip(L"good.bmp", 116, 32));
    const CRect loaded = Rect();
    std::vector<uint8_t> good = platform::EncodeBmp(platform::Bitmap(116, 32));
    std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    std::vector<uint8_t> huge = good;
    huge[22] = 0xFF, huge[23] = 0x3F;  // 16383 rows declared, 32 there
    const std::string text = "not a picture";
    const std::wstring bad[] = {
        m_folder.Wide(L"missing.bmp"),
        WriteFile(L"empty.bmp", {}),
        WriteFile(L"truncated.bmp", truncated),
        WriteFile(L"huge.bmp", huge),
        WriteFile(L"text.bmp", std::vector<uint8_t>(text.begin(), text.end())),
        WriteStrip(L"narrow.bmp", 3, 32),
        m_folder.Wide(),
    };
    for (const std::wstring& path : bad) {
        Button().LoadStrip(path);
        EXPECT_EQ(Rect(), loaded) << platform::ToUtf8(path);
        EXPECT_EQ(Button().m_nFrameWidth, 29);
        EXPECT_EQ(Paint().bitmap.At(14, 16), kFrameColors[1]) << platform::ToUtf8(path);
    }
}

TEST_F(FourStateButtonTest, TheTooltipHasOneToolWhoseTextFollowsTheLastSet) {
    Ui().MouseMove(Hwnd(), {1, 1});
    EXPECT_TRUE(Button().m_ToolTip.IsCreated()) << "made on the first message";
    EXPECT_FALSE(Button().m_ToolTip.IsActive()) << "and off until a text is set";
    EXPECT_EQ(Button().m_ToolTip.GetToolCount(), 0);

    Button().SetToolTipText(L"Snapshot");
    Button().SetToolTipText(L"Captured");
    Button().SetToolTipText(nullptr);
    EXPECT_EQ(Button().m_ToolTip.GetToolCount(), 1);
    const auto* window = Ui().Find(Hwnd());
    EXPECT_EQ(window->tooltip, L"Captured");
    EXPECT_TRUE(window->tooltipActive);
}

#ifdef VISTREL_RES_DIR
TEST_F(FourStateButtonTest, TheShippedStripsAreFourDistinctFramesOfTwentyNineByThirtyTwoOnGrey) {
    const std::wstring folder = platform::FromUtf8(VISTREL_RES_DIR);
    for (const wchar_t* name : {L"Open.bmp", L"Snap.bmp", L"RecordOn.bmp", L"RecordOff.bmp", L"Help.bmp",
                                L"PreviewOn.bmp", L"PreviewOff.bmp"}) {
        SCOPED_TRACE(platform::ToUtf8(name));
        const auto strip = platform::LoadPictureFile(folder + L"/" + name);
        ASSERT_TRUE(strip);
        EXPECT_EQ(strip->Width(), 116);
        EXPECT_EQ(strip->Height(), 32);
        std::vector<platform::Bitmap> frames(4, platform::Bitmap(29, 32));
        for (int i = 0; i < 4; ++i) frames[i].Blit(0, 0, *strip, CRect::FromXYWH(29 * i, 0, 29, 32));
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j) EXPECT_NE(frames[i], frames[j]) << "frames " << i << " and " << j;
        EXPECT_EQ(frames[1].At(0, 0), (Color{180, 180, 180})) << "the normal frame stands on the strip's grey";
        EXPECT_EQ(frames[3].At(0, 0), (Color{180, 180, 180}));

        Button().LoadStrip(folder + L"/" + name);
        EXPECT_EQ(Rect().Width(), 29);
        EXPECT_EQ(Rect().Height(), 32);
    }
}
#endif
