// The registration tool and the lookup by friendly name, as the program's first run uses them:
// the lookup fails, the tool is started on Videoeffect.ax, the next lookup finds the filter.
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "EffectTestSupport.h"
#include "videoeffect/EffectLookup.h"

namespace {

namespace fs = std::filesystem;
using effecttest::EnvChange;
using effecttest::ProcessResult;
using effecttest::RunProcess;
using effecttest::ScratchDir;

const fs::path kPlugin = VISTREL_VIDEOEFFECT_PLUGIN;

fs::path InstalledFile(const fs::path& dataHome) {
    return dataHome / "gstreamer-1.0" / "plugins" / "libvistrel-videoeffect.so";
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Explain(const ProcessResult& r) {
    return "exit " + std::to_string(r.exitCode) + "\nstdout: " + r.out + "\nstderr: " + r.err;
}

// The tool with a user data folder of its own; registry scanning is kept out of its way.
class RegistrationTool : public testing::Test {
protected:
    ProcessResult Run(std::initializer_list<std::string> args) const {
        std::vector<std::string> argv{VISTREL_REGSVR};
        argv.insert(argv.end(), args);
        return RunProcess(argv, {{"XDG_DATA_HOME", m_dataHome.string()},
                                 {"GST_REGISTRY", (m_scratch.path() / "tool-registry.bin").string()},
                                 {"GST_PLUGIN_SYSTEM_PATH", ""}});
    }
    fs::path Installed() const { return InstalledFile(m_dataHome); }

    ScratchDir m_scratch;
    fs::path m_dataHome = m_scratch.path() / "data";
};

TEST_F(RegistrationTool, InstallsACopyTheScannerFindsAndRemovesItAgain) {
    const ProcessResult registered = Run({kPlugin.string()});
    ASSERT_EQ(registered.exitCode, 0) << Explain(registered);
    EXPECT_NE(registered.out, "");  // not silent
    ASSERT_TRUE(fs::is_regular_file(Installed()));
    EXPECT_EQ(ReadAll(Installed()), ReadAll(kPlugin));
    struct stat folder {};
    ASSERT_EQ(stat(Installed().parent_path().c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(fs::directory_iterator(Installed().parent_path())->path(), Installed()) << "temporary file left behind";

    // Registering again replaces the copy in place.
    const ProcessResult again = Run({"-s", kPlugin.string()});
    EXPECT_EQ(again.exitCode, 0) << Explain(again);
    EXPECT_EQ(again.out, "");

    const ProcessResult removed = Run({"-u", "-s", kPlugin.string()});
    EXPECT_EQ(removed.exitCode, 0) << Explain(removed);
    EXPECT_EQ(removed.out, "");
    EXPECT_FALSE(fs::exists(Installed()));
    const ProcessResult removedTwice = Run({"-u", kPlugin.string()});
    EXPECT_EQ(removedTwice.exitCode, 0) << Explain(removedTwice);
}

// The program hands over "<folder>\Videoeffect.ax", as it would on Windows.
TEST_F(RegistrationTool, AcceptsThePathWithBackslashes) {
    std::string windowsStyle = kPlugin.parent_path().string() + "\\" + kPlugin.filename().string();
    const ProcessResult r = Run({"-s", windowsStyle});
    EXPECT_EQ(r.exitCode, 0) << Explain(r);
    EXPECT_TRUE(fs::exists(Installed()));
}

TEST_F(RegistrationTool, RefusesAnythingButTheEffectPlugin) {
    const fs::path text = m_scratch.path() / "Videoeffect.ax";
    std::ofstream(text) << "not a plugin\n";
    const fs::path otherPlugin = fs::path(VISTREL_GST_PLUGINS_DIR) / "libgstcoreelements.so";
    ASSERT_TRUE(fs::exists(otherPlugin)) << otherPlugin;

    for (const fs::path& file : {text, otherPlugin, m_scratch.path() / "missing.ax"}) {
        const ProcessResult r = Run({"-s", file.string()});
        EXPECT_NE(r.exitCode, 0) << file << "\n" << Explain(r);
        EXPECT_NE(r.err, "") << file << ": a refusal says why, even with -s";
        EXPECT_FALSE(fs::exists(Installed())) << file;
    }
}

TEST_F(RegistrationTool, RefusesAMalformedCommandLine) {
    for (const auto& args : {std::initializer_list<std::string>{}, {"-s"}, {"-x", kPlugin.string()},
                             {kPlugin.string(), kPlugin.string()}}) {
        const ProcessResult r = Run(args);
        EXPECT_NE(r.exitCode, 0) << Explain(r);
        EXPECT_NE(r.err, "");
    }
    EXPECT_FALSE(fs::exists(Installed()));
}

// Started from the test below in a fresh environment: a registry that has never seen the filter
// and the user's plugin folder in a scratch folder, the other plugin folders as GStreamer's defaults.
TEST(InChild, FirstLookupFailsToolRegistersSecondLookupFinds) {
    EXPECT_EQ(videoeffect::FindFactoryByLongName("Video Effect Filter", true), nullptr);

    const ProcessResult tool = RunProcess({VISTREL_REGSVR, "-s", kPlugin.string()});
    ASSERT_EQ(tool.exitCode, 0) << Explain(tool);
    EXPECT_EQ(tool.out, "");

    auto factory = videoeffect::FindFactoryByLongName("Video Effect Filter", true);
    ASSERT_NE(factory, nullptr);
    EXPECT_STREQ(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory.get())), "videoeffect");
    auto element = AdoptGRef(gst_element_factory_create(factory.get(), nullptr));
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element.get()->numsinkpads, 1);
    EXPECT_EQ(element.get()->numsrcpads, 1);

    // Only the exact name counts; without a rescan the registry is only searched.
    EXPECT_EQ(videoeffect::FindFactoryByLongName("Video Effect", false), nullptr);
    EXPECT_EQ(videoeffect::FindFactoryByLongName("video effect filter", false), nullptr);
    auto again = videoeffect::FindFactoryByLongName("Video Effect Filter", false);
    EXPECT_EQ(again, factory);
}

TEST(Registration, TheProgramsFirstRunFindsTheFilterAfterRegistering) {
    ScratchDir scratch;
    std::vector<EnvChange> env{{"VISTREL_EFFECT_TEST_CHILD", "1"},
                               {"GST_REGISTRY", (scratch.path() / "registry.bin").string()},
                               {"XDG_DATA_HOME", (scratch.path() / "data").string()},
                               {"GST_PLUGIN_SYSTEM_PATH", "", true},
                               {"GST_PLUGIN_PATH", "", true}};
#ifdef VISTREL_ASAN_RUNTIME
    // The scan then runs every installed plugin under the sanitizer; their leaks are not ours.
    const char* asanOptions = g_getenv("ASAN_OPTIONS");
    env.push_back({"LD_PRELOAD", VISTREL_ASAN_RUNTIME});
    env.push_back({"ASAN_OPTIONS", std::string(asanOptions ? asanOptions : "") + ":detect_leaks=0"});
#endif
    const ProcessResult child = RunProcess({VISTREL_EFFECT_TESTS}, env);
    EXPECT_EQ(child.exitCode, 0) << Explain(child);
    EXPECT_NE(child.out.find("[  PASSED  ] 1 test"), std::string::npos) << Explain(child);
    EXPECT_TRUE(fs::exists(InstalledFile(scratch.path() / "data")));
}

}  // namespace
