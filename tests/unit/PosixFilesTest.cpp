#include "PosixFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "platform/Strings.h"

namespace {

using platform::PosixFiles;
using Bytes = std::vector<uint8_t>;

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

class PosixFilesTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vistrel-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::wstring Path(std::wstring_view name) const { return platform::FromUtf8(m_folder.string()) + L"/" + std::wstring(name); }

    // Everything in the folder, by on-disk (UTF-8) name: catches stray temporaries.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path m_folder;
    PosixFiles m_files;
};

TEST_F(PosixFilesTest, CreateNewFileNeverTouchesWhatAlreadyExists) {
    ASSERT_TRUE(m_files.CreateNewFile(Path(L"TAVI_Log.txt")));
    EXPECT_TRUE(m_files.FileExists(Path(L"TAVI_Log.txt")));
    EXPECT_EQ(m_files.ReadFile(Path(L"TAVI_Log.txt")), Bytes{});

    ASSERT_TRUE(m_files.WriteFile(Path(L"TAVI_Log.txt"), BytesOf("first run\n")));
    EXPECT_FALSE(m_files.CreateNewFile(Path(L"TAVI_Log.txt")));
    EXPECT_EQ(m_files.ReadFile(Path(L"TAVI_Log.txt")), BytesOf("first run\n"));

    ASSERT_TRUE(m_files.CreateDirectory(Path(L"Pictures")));
    EXPECT_FALSE(m_files.CreateNewFile(Path(L"Pictures")));
    EXPECT_TRUE(m_files.DirectoryExists(Path(L"Pictures")));

    EXPECT_FALSE(m_files.CreateNewFile(Path(L"missing/Snapshot_001.jpg")));
}

TEST_F(PosixFilesTest, WriteFileReplacesTheWholeContentAndLeavesNoTemporary) {
    ASSERT_TRUE(m_files.WriteFile(Path(L"settings.ini"), BytesOf("a much longer first content")));
    ASSERT_TRUE(m_files.WriteFile(Path(L"settings.ini"), BytesOf("short")));
    EXPECT_EQ(m_files.ReadFile(Path(L"settings.ini")), BytesOf("short"));

    const Bytes binary = {0x00, 0xFF, 0xD8, 0x00, 0x0A, 0x0D};
    ASSERT_TRUE(m_files.WriteFile(Path(L"frame.bin"), binary));
    EXPECT_EQ(m_files.ReadFile(Path(L"frame.bin")), binary);

    ASSERT_TRUE(m_files.WriteFile(Path(L"settings.ini"), Bytes{}));
    EXPECT_EQ(m_files.ReadFile(Path(L"settings.ini")), Bytes{});

    EXPECT_EQ(Entries(), (std::vector<std::string>{"frame.bin", "settings.ini"}));
}

TEST_F(PosixFilesTest, WriteFileThatCannotFinishLeavesTheOldFileWholeAndNothingElse) {
    ASSERT_TRUE(m_files.WriteFile(Path(L"Snapshot_001.jpg"), BytesOf("old picture")));

    // A file size limit makes write() stop short, as a full disk would.
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = m_files.WriteFile(Path(L"Snapshot_001.jpg"), Bytes(5000, 0x55));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(m_files.ReadFile(Path(L"Snapshot_001.jpg")), BytesOf("old picture"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"Snapshot_001.jpg"});
}

TEST_F(PosixFilesTest, WriteFileFailsCleanlyWhereNoFileCanBe) {
    EXPECT_FALSE(m_files.WriteFile(Path(L"missing/Snapshot_001.jpg"), BytesOf("data")));
    EXPECT_FALSE(m_files.DirectoryExists(Path(L"missing")));

    ASSERT_TRUE(m_files.CreateDirectory(Path(L"Res")));
    EXPECT_FALSE(m_files.WriteFile(Path(L"Res"), BytesOf("data")));
    EXPECT_TRUE(m_files.DirectoryExists(Path(L"Res")));
    EXPECT_EQ(Entries(), std::vector<std::string>{"Res"});
}

TEST_F(PosixFilesTest, FilesAndFoldersAreToldApart) {
    ASSERT_TRUE(m_files.CreateDirectory(Path(L"Res")));
    ASSERT_TRUE(m_files.CreateNewFile(Path(L"click.wav")));

    EXPECT_FALSE(m_files.FileExists(Path(L"Res")));
    EXPECT_TRUE(m_files.DirectoryExists(Path(L"Res")));
    EXPECT_TRUE(m_files.FileExists(Path(L"click.wav")));
    EXPECT_FALSE(m_files.DirectoryExists(Path(L"click.wav")));
    EXPECT_FALSE(m_files.FileExists(Path(L"CLICK.WAV")));
    EXPECT_FALSE(m_files.FileExists(Path(L"nothing")));
    EXPECT_FALSE(m_files.DirectoryExists(Path(L"nothing")));

    EXPECT_EQ(m_files.ReadFile(Path(L"Res")), std::nullopt);
    EXPECT_EQ(m_files.ReadFile(Path(L"nothing")), std::nullopt);

    EXPECT_FALSE(m_files.DeleteFile(Path(L"Res")));
    EXPECT_TRUE(m_files.DirectoryExists(Path(L"Res")));
    EXPECT_TRUE(m_files.DeleteFile(Path(L"click.wav")));
    EXPECT_FALSE(m_files.FileExists(Path(L"click.wav")));
    EXPECT_FALSE(m_files.DeleteFile(Path(L"click.wav")));
}

TEST_F(PosixFilesTest, CreateDirectoryMakesOneNewLevelOnly) {
    EXPECT_TRUE(m_files.CreateDirectory(Path(L"Videos")));
    EXPECT_FALSE(m_files.CreateDirectory(Path(L"Videos")));
    EXPECT_FALSE(m_files.CreateDirectory(Path(L"a/b")));
    EXPECT_FALSE(m_files.DirectoryExists(Path(L"a")));
    EXPECT_TRUE(m_files.CreateDirectory(Path(L"Videos/2024")));
}

TEST_F(PosixFilesTest, NonAsciiNamesAreUtf8OnDiskAndRoundTrip) {
    const std::wstring name = L"Bild_Größe_写真_\U0001F4F7.jpg";
    ASSERT_TRUE(m_files.WriteFile(Path(name), BytesOf("jpeg")));
    EXPECT_EQ(Entries(), std::vector<std::string>{"Bild_Größe_写真_\xF0\x9F\x93\xB7.jpg"});
    EXPECT_EQ(m_files.ReadFile(Path(name)), BytesOf("jpeg"));

    // A name made outside the program is found under its wide spelling.
    std::ofstream(m_folder / "Vidéo_001.asf") << "asf";
    EXPECT_TRUE(m_files.FileExists(Path(L"Vidéo_001.asf")));
    EXPECT_TRUE(m_files.DeleteFile(Path(L"Vidéo_001.asf")));
}

TEST_F(PosixFilesTest, PathWithAnEmbeddedNulNeverReachesTheShorterName) {
    std::ofstream(m_folder / "log") << "keep";
    const std::wstring cut = Path(std::wstring(L"log\0.txt", 8));

    EXPECT_FALSE(m_files.FileExists(cut));
    EXPECT_FALSE(m_files.WriteFile(cut, BytesOf("clobbered")));
    EXPECT_FALSE(m_files.DeleteFile(cut));
    EXPECT_EQ(m_files.ReadFile(cut), std::nullopt);
    EXPECT_EQ(m_files.ReadFile(Path(L"log")), BytesOf("keep"));
}

}  // namespace
