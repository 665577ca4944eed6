// The picture button on GTK: the shipped strip's frames on the real screen, the hover frame
// following the real pointer, and the tooltip on the widget.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "GtkTestSupport.h"
#include "LinuxPlatform.h"
#include "controls/FourStateButton.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/Runtime.h"
#include "platform/PictureFile.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"
#include "resources/Resources.h"

namespace {

class SnapshotDialog : public CDialog {
public:
    SnapshotDialog() : CDialog(IDD_VISTREL_DIALOG) {}
    CFourStateButton m_btnSnapshot;
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_BTN_SNAPSHOT, m_btnSnapshot); }
};

class PictureButtonOnGtkTest : public ::testing::Test {
protected:
    PictureButtonOnGtkTest() : m_platform(platform::CreateLinuxPlatform(nullptr, nullptr)) {
        if (m_platform) m_runtime = std::make_unique<AfxRuntime>(*m_platform, ProgramResources());
    }
    void SetUp() override { ASSERT_TRUE(m_platform) << "no display"; }

    std::unique_ptr<platform::IPlatform> m_platform;
    std::unique_ptr<AfxRuntime> m_runtime;
};

}  // namespace

TEST_F(PictureButtonOnGtkTest, TheStripsFramesReachTheScreenAndTheHoverFrameFollowsThePointer) {
    const std::wstring path = platform::FromUtf8(VISTREL_RES_DIR) + L"/Snap.bmp";
    const std::optional<platform::Bitmap> strip = platform::LoadPictureFile(path);
    ASSERT_TRUE(strip);

    vt::MovePointer({0, 0});
    SnapshotDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.m_btnSnapshot.LoadStrip(path);
    dialog.m_btnSnapshot.SetToolTipText(L"Snapshot");
    dialog.ShowWindow(SW_SHOW);

    CRect button;
    dialog.m_btnSnapshot.GetWindowRect(&button);
    ASSERT_EQ(button.Width(), 29);
    ASSERT_EQ(button.Height(), 32);
    // A row across the middle and a column down it: the plate's edge and the glyph both cross them.
    auto shows = [&](int frame) {
        for (int x = 0; x < 29; ++x)
            if (vt::ScreenPixel({button.left + x, button.top + 16}) != strip->At(29 * frame + x, 16)) return false;
        for (int y = 0; y < 32; ++y)
            if (vt::ScreenPixel({button.left + 14, button.top + y}) != strip->At(29 * frame + 14, y)) return false;
        return true;
    };
    EXPECT_TRUE(vt::PumpUntil([&] { return shows(1); })) << "the normal frame";

    vt::MovePointer({button.left + 10, button.top + 10});
    EXPECT_TRUE(vt::PumpUntil([&] { return dialog.m_btnSnapshot.m_bHover && shows(2); })) << "the hover frame";

    vt::MovePointer({button.left + 200, button.top - 100});
    EXPECT_TRUE(vt::PumpUntil([&] { return !dialog.m_btnSnapshot.m_bHover && shows(1); })) << "normal again";

    auto& host = dynamic_cast<platform::GtkUiHost&>(m_platform->Ui());
    gchar* tip = gtk_widget_get_tooltip_text(host.NativeWidget(dialog.m_btnSnapshot.GetSafeHwnd()));
    EXPECT_STREQ(tip, "Snapshot");
    g_free(tip);
}
