// The real program's registry: a key file, read afresh on each open, written whole and atomically.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "KeyFileRegistry.h"
#include "KeyFileText.h"
#include "SystemTestSupport.h"

namespace {

using namespace platform;
using systemtest::IsolatedTest;

constexpr wchar_t kKey[] = L"Software\\Corvane\\Vistrel";

class RegistryTest : public IsolatedTest {
protected:
    std::filesystem::path File() const { return Folder() / "config" / "Corvane" / "Vistrel" / "registry.ini"; }
    std::string Contents() const {
        std::ifstream in(File(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void Write(const std::string& text) {
        std::filesystem::create_directories(File().parent_path());
        std::ofstream(File(), std::ios::binary) << text;
    }
    KeyFileRegistry m_registry{File().string()};
};

TEST_F(RegistryTest, ValuesSurviveASaveAndKeepTheirExactText) {
    EXPECT_EQ(m_registry.OpenKey(kKey, RegistryAccess::Query), nullptr) << "no file yet";
    {
        auto key = m_registry.CreateKey(kKey);
        ASSERT_NE(key, nullptr);
        EXPECT_TRUE(key->SetString(L"LastCamera", L" Kamera „Büro“ \\ [1]"));
        EXPECT_TRUE(key->SetString(L"XPos", L"-12"));
        EXPECT_TRUE(key->SetString(L"Empty", L""));
        EXPECT_TRUE(key->SetString(L"Lines", L"a\nb"));
    }
    struct stat folder {};
    ASSERT_EQ(::stat(File().parent_path().c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_NE(Contents().find("[HKEY_LOCAL_MACHINE\\Software\\Corvane\\Vistrel]"), std::string::npos);
    EXPECT_NE(Contents().find("XPos=-12\n"), std::string::npos);

    auto key = m_registry.OpenKey(kKey, RegistryAccess::Query);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->QueryString(L"LastCamera"), L" Kamera „Büro“ \\ [1]");
    EXPECT_EQ(key->QueryString(L"XPos"), L"-12");
    EXPECT_EQ(key->QueryString(L"Empty"), L"");
    EXPECT_EQ(key->QueryString(L"Lines"), L"a\nb");
    EXPECT_EQ(key->QueryString(L"Missing"), std::nullopt);
    EXPECT_FALSE(key->SetString(L"XPos", L"1")) << "opened for reading only";
}

TEST_F(RegistryTest, OtherKeysAndCommentsOfTheFileAreKept) {
    Write("# kept\n[HKEY_LOCAL_MACHINE\\Software\\Other]\nA=1\n");
    EXPECT_EQ(m_registry.OpenKey(kKey, RegistryAccess::SetValue), nullptr) << "the key does not exist yet";
    EXPECT_TRUE(m_registry.CreateKey(kKey)->SetString(L"R", L"1"));
    EXPECT_TRUE(m_registry.OpenKey(kKey, RegistryAccess::SetValue)->SetString(L"G", L"0"));
    EXPECT_NE(Contents().find("# kept"), std::string::npos);
    EXPECT_EQ(m_registry.OpenKey(L"Software\\Other", RegistryAccess::Query)->QueryString(L"A"), L"1");
    auto key = m_registry.OpenKey(kKey, RegistryAccess::Query);
    EXPECT_EQ(key->QueryString(L"R"), L"1");
    EXPECT_EQ(key->QueryString(L"G"), L"0");
}

TEST_F(RegistryTest, AFileThatIsNotAKeyFileReadsAsNoKeyAndIsReplacedByTheNextSave) {
    Write(std::string("\x7f" "ELF\0\0garbage [[[ = \n", 20));
    EXPECT_EQ(m_registry.OpenKey(kKey, RegistryAccess::Query), nullptr);
    EXPECT_EQ(m_registry.OpenKey(kKey, RegistryAccess::SetValue), nullptr);
    EXPECT_TRUE(m_registry.CreateKey(kKey)->SetString(L"B", L"1"));
    EXPECT_EQ(m_registry.OpenKey(kKey, RegistryAccess::Query)->QueryString(L"B"), L"1");
    EXPECT_EQ(Contents().find("garbage"), std::string::npos);
}

TEST_F(RegistryTest, AValueThatIsNotUtf8CountsAsMissing) {
    Write("[HKEY_LOCAL_MACHINE\\Software\\Corvane\\Vistrel]\nImagePath=/tmp/\xff\xfe/\nR=0\n");
    auto key = m_registry.OpenKey(kKey, RegistryAccess::Query);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->QueryString(L"ImagePath"), std::nullopt);
    EXPECT_EQ(key->QueryString(L"R"), L"0");
}

TEST_F(RegistryTest, ASaveThatCannotBeWrittenLeavesThePreviousFileWhole) {
    EXPECT_TRUE(m_registry.CreateKey(kKey)->SetString(L"R", L"1"));
    const std::string before = Contents();
    // A file-size limit makes the write fail even for root, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    {
        auto key = m_registry.OpenKey(kKey, RegistryAccess::SetValue);
        ASSERT_NE(key, nullptr);
        EXPECT_TRUE(key->SetString(L"R", L"0"));
        EXPECT_TRUE(key->SetString(L"ImagePath", L"/a/long/enough/path/to/pass/the/limit/"));
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(File().parent_path()), {}), 1)
        << "no half-written file is left beside it";
}

TEST_F(RegistryTest, TheFileIsNamedByTheEnvironment) {
    Env().Set("VISTREL_REGISTRY", "/somewhere/else.ini");
    EXPECT_EQ(KeyFileRegistry::DefaultFile(), "/somewhere/else.ini");
    Env().Unset("VISTREL_REGISTRY");
    Env().Set("XDG_CONFIG_HOME", (Folder() / "xdg").string());
    // GLib reads the configuration folder once per process; what it answers must end as the
    // program's file does.
    EXPECT_TRUE(KeyFileRegistry::DefaultFile().ends_with("/Corvane/Vistrel/registry.ini"));
}

TEST(KeyFileTextTest, ReadsOnlyTheNamedGroup) {
    EXPECT_EQ(ReadKeyFileGroup("", "G"), std::nullopt);
    EXPECT_EQ(ReadKeyFileGroup("[G]\n", "G"), KeyFileValues{});
    EXPECT_EQ(ReadKeyFileGroup("[H]\nA=1\n", "G"), std::nullopt);
    EXPECT_EQ(ReadKeyFileGroup("[G]\nA=\\s1\n[H]\nB=2\n", "G"), (KeyFileValues{{L"A", L" 1"}}));
    EXPECT_EQ(ReadKeyFileGroup("A=1\n", "G"), std::nullopt) << "a key outside any group is not a key file";
}

}  // namespace
