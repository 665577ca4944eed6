// The save path dialog on the sim: folders reach the fields only through the folder browser,
// end in a separator, are refused on removable drives, and reach the main window only on OK.
#include "SettingsDialogFixture.h"

namespace {

class SetSavePathTest : public SettingsDialogTest {
protected:
    // Stored folders must exist to be kept at start.
    SetSavePathTest() {
        std::filesystem::create_directory(m_folder.Path() / "Pictures");
        std::filesystem::create_directory(m_folder.Path() / "Videos");
        StoreFolders();
    }
    void StoreFolders() {
        Store(L"ImagePath", m_pictures.c_str());
        Store(L"VideoPath", m_videos.c_str());
    }
    const std::wstring m_pictures = m_folder.Wide(L"Pictures/");
    const std::wstring m_videos = m_folder.Wide(L"Videos/");
    const std::wstring m_caption = GetCatalogueText(6019);
    std::wstring Field(HWND d, int id) { return Window(d, id).text; }
};

TEST_F(SetSavePathTest, BrowsedFoldersEndInASeparatorAndRemovableOnesAreRefused) {
    struct Case {
        const char* what;
        std::optional<std::wstring> chosen;  // nothing: the browser is cancelled
        bool removable;
        std::wstring field;  // empty: the field keeps its folder
    };
    const Case cases[] = {
        {"a folder gets its separator", L"/media/data/Media", false, L"/media/data/Media/"},
        {"the root is kept as it is", L"/", false, L"/"},
        {"a folder already ending in one", L"/srv/pics/", false, L"/srv/pics/"},
        {"a removable drive", L"/media/u/STICK", true, L""},
        {"the browser cancelled", std::nullopt, false, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring field = c.field.empty() ? m_pictures : c.field;
        if (c.removable) Sim().Volumes().SetDriveType(*c.chosen + L"/", platform::DriveType::Removable);
        Run([&] {
            Command(ID_SET_SAVE_PATH, m_caption, [&](HWND d) {
                EXPECT_EQ(Field(d, IDC_SAVE_IMAGE_PATH), m_pictures);
                EXPECT_EQ(Field(d, IDC_SAVE_VIDEO_PATH), m_videos);
                Ui().ExpectFolderBrowser(c.chosen);
                if (c.removable) Ui().ExpectMessageBox(IDOK);
                Click(d, IDC_SAVE_BROWSE_IMAGE);
                ASSERT_FALSE(Ui().FolderBrowsers().empty());
                EXPECT_EQ(Ui().FolderBrowsers().back().title, GetCatalogueText(6040));
                EXPECT_EQ(Ui().FolderBrowsers().back().start, m_pictures) << "opens at the current folder";
                EXPECT_EQ(Field(d, IDC_SAVE_IMAGE_PATH), field);
                EXPECT_EQ(Field(d, IDC_SAVE_VIDEO_PATH), m_videos);
                if (c.removable) {
                    ASSERT_EQ(Ui().MessageBoxes().size(), 1u);
                    EXPECT_EQ(Ui().MessageBoxes()[0].text, GetCatalogueText(6045));
                    EXPECT_EQ(Ui().MessageBoxes()[0].Icon(), platform::kMbIconExclamation);
                }
                Ui().TypeText(Item(d, IDC_SAVE_VIDEO_PATH), L"/typed/");
                EXPECT_EQ(Field(d, IDC_SAVE_VIDEO_PATH), m_videos) << "the fields cannot be typed into";
                Click(d, IDOK);
            });
            EXPECT_EQ(m_dlg.m_strImagePath, field);
            EXPECT_EQ(Sim().Registry().Value(kSettingsKey, L"ImagePath"), std::optional<std::wstring>(field)) << "saved on OK";
        });
        StoreFolders();
    }
}

TEST_F(SetSavePathTest, CancellingInAnyWayKeepsTheFoldersAndEnterOnBrowseConfirms) {
    struct Case {
        const char* what;
        std::function<void(HWND)> end;
        bool confirmed;
    };
    const Case cases[] = {
        {"Cancel", [this](HWND d) { Click(d, IDCANCEL); }, false},
        {"Escape", [this](HWND d) { Ui().KeyDown(d, VK_ESCAPE); }, false},
        {"the close box", [this](HWND d) { Ui().RequestClose(d); }, false},
        {"Enter on a Browse button", [this](HWND d) { Ui().KeyDown(Item(d, IDC_SAVE_BROWSE_VIDEO), VK_RETURN); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Run([&] {
            Command(ID_SET_SAVE_PATH, m_caption, [&](HWND d) {
                Ui().ExpectFolderBrowser(L"/data/videos");
                Click(d, IDC_SAVE_BROWSE_VIDEO);
                const size_t browsers = Ui().FolderBrowsers().size();
                c.end(d);
                EXPECT_EQ(Ui().FolderBrowsers().size(), browsers) << "Enter opens no browser";
            });
            EXPECT_EQ(m_dlg.m_strVideoPath, c.confirmed ? L"/data/videos/" : m_videos);
            EXPECT_EQ(m_dlg.m_strImagePath, m_pictures);
            EXPECT_EQ(m_dlg.m_strVideoDrive, m_dlg.m_strVideoPath) << "the free space is measured on the video folder";
        });
        StoreFolders();
    }
}

}  // namespace
