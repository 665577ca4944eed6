// A start of the program after the effect filter has been registered. The first lookup of the
// legacy filter category in the new process must find the filter and make it; a miss there
// sends every start through the registration tool and a second graph build. Checked on the
// start right after registering (GStreamer's registry has not seen the plugin yet) and on a
// later start (the registry lists it from its cache file).
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "EffectStartChild.h"
#include "EffectTestSupport.h"
#include "GstMedia.h"
#include "platform/media/Devices.h"
#include "platform/media/Graph.h"
#include "platform/media/Media.h"
#include "platform/media/VideoEffect.h"
#include "videoeffect/VideoEffect.h"

namespace {

namespace fs = std::filesystem;
using effecttest::EnvChange;
using effecttest::ProcessResult;
using effecttest::RunProcess;
using effecttest::ScratchDir;

constexpr wchar_t kEffectName[] = L"Video Effect Filter";
constexpr wchar_t kCameraName[] = L"Start Camera";

fs::path InstalledPlugin(const fs::path& dataHome) {
    return dataHome / "gstreamer-1.0" / "plugins" / videoeffect::kInstalledFileName;
}

// The binary registry keeps each plugin's file name as plain text.
bool FileMentions(const fs::path& file, const std::string& text) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return bytes.find(text) != std::string::npos;
}

std::string Explain(const ProcessResult& r) {
    return "exit " + std::to_string(r.exitCode) + "\nstdout: " + r.out + "\nstderr: " + r.err;
}

struct CategoryMatch {
    int count = 0;
    ComPtr<IBaseFilter> filter;  // the last entry of that name, bound
};

// One walk over a category, the way the program looks a filter up by name: every entry's
// friendly name is read, and an entry with the name is bound.
CategoryMatch FindInCategory(ICreateDevEnum& devices, const GUID& category, const std::wstring& name) {
    CategoryMatch match;
    ComPtr<IEnumMoniker> monikers;
    if (devices.CreateClassEnumerator(category, monikers) != S_OK || !monikers) return match;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(moniker) == S_OK && moniker) {
        ComPtr<IPropertyBag> bag;
        std::wstring found;
        if (FAILED(moniker->BindToStorage(bag)) || !bag || FAILED(bag->Read(L"FriendlyName", found))) continue;
        if (found != name) continue;
        ++match.count;
        match.filter.Reset();
        EXPECT_EQ(moniker->BindToObject(match.filter), S_OK);
    }
    return match;
}

// One start of the program up to the effect filter: GStreamer started by the media layer, the
// cameras listed (which registers the test-device provider), then the filter looked up by name
// in the legacy category, bound, and added to a graph. Nothing before it has asked GStreamer's
// registry for the filter.
TEST(InChild, FirstLookupOfTheLegacyCategoryFindsAndMakesTheFilter) {
    platform::gst::GstMedia media(nullptr);
    ComPtr<ICreateDevEnum> devices;
    ASSERT_EQ(platform::CreateInstance(media, CLSID_SystemDeviceEnum, devices), S_OK);
    ASSERT_TRUE(devices);
    ASSERT_TRUE(FindInCategory(*devices, CLSID_VideoInputDeviceCategory, kCameraName).filter);

    CategoryMatch effect = FindInCategory(*devices, CLSID_LegacyAmFilterCategory, kEffectName);
    EXPECT_EQ(effect.count, 1);
    ASSERT_TRUE(effect.filter) << "the first lookup misses the registered filter";
    ComPtr<IVideoEffectControl> control;
    EXPECT_EQ(effect.filter.As(control), S_OK);
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(platform::CreateInstance(media, CLSID_FilterGraph, graph), S_OK);
    EXPECT_EQ(graph->AddFilter(effect.filter.Get(), L"Video Effect"), S_OK);

    // Made from the copy the tool installed for this user, which is now loaded.
    GstElementFactory* factory = gst_element_factory_find(videoeffect::kFactoryName);
    ASSERT_NE(factory, nullptr);
    GstPlugin* plugin = gst_plugin_feature_get_plugin(GST_PLUGIN_FEATURE(factory));
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(fs::path(gst_plugin_get_filename(plugin)), InstalledPlugin(g_getenv("XDG_DATA_HOME")));
    EXPECT_TRUE(gst_plugin_is_loaded(plugin));
    gst_object_unref(plugin);
    gst_object_unref(factory);
}

class EffectStart : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_devices);
        std::ofstream(m_devices / "start.camera") << "[Device]\nName=Start Camera\nSizes=640x480\n";
#ifdef VISTREL_ASAN_RUNTIME
        // The registry scan loads plugins in gst-plugin-scanner, which has no sanitizer runtime.
        const char* asanOptions = g_getenv("ASAN_OPTIONS");
        m_env.push_back({"LD_PRELOAD", VISTREL_ASAN_RUNTIME});
        m_env.push_back({"ASAN_OPTIONS", std::string(asanOptions ? asanOptions : "") + ":detect_leaks=0"});
#endif
    }

    // As the program's first run does it: the tool installs the filter for this user.
    void Register() {
        const ProcessResult tool = RunProcess({VISTREL_REGSVR, "-s", VISTREL_VIDEOEFFECT_PLUGIN}, m_env);
        ASSERT_EQ(tool.exitCode, 0) << Explain(tool);
        ASSERT_TRUE(fs::is_regular_file(InstalledPlugin(m_data)));
    }

    void ExpectStartFindsTheFilter(const char* which) {
        std::vector<EnvChange> env = m_env;
        env.push_back({effectstart::kChildVariable, "1"});
        const ProcessResult start = RunProcess({VISTREL_EFFECT_START_TESTS}, env);
        EXPECT_EQ(start.exitCode, 0) << which << "\n" << Explain(start);
        EXPECT_NE(start.out.find("[  PASSED  ] 1 test"), std::string::npos) << which << "\n" << Explain(start);
    }

    ScratchDir m_scratch;
    fs::path m_data = m_scratch.path() / "data";
    fs::path m_registry = m_scratch.path() / "registry.bin";
    fs::path m_devices = m_scratch.path() / "devices";
    // The plugin folders as GStreamer's defaults (the user's folder among them), the registry
    // and the user's folder private, the registry scanned in a helper as in the program.
    std::vector<EnvChange> m_env{{"GST_REGISTRY", m_registry.string()},
                                 {"XDG_DATA_HOME", m_data.string()},
                                 {"VISTREL_TEST_DEVICES", m_devices.string()},
                                 {"GST_PLUGIN_PATH", "", true},
                                 {"GST_PLUGIN_SYSTEM_PATH", "", true},
                                 {"GST_REGISTRY_FORK", "", true},
                                 {"GST_REGISTRY_UPDATE", "", true}};
};

TEST_F(EffectStart, EveryStartAfterRegisteringFindsTheFilterOnItsFirstLookup) {
    Register();
    // The tool's own GStreamer wrote the registry before the copy was there.
    ASSERT_FALSE(FileMentions(m_registry, videoeffect::kInstalledFileName));

    ExpectStartFindsTheFilter("the start right after registering");
    ASSERT_TRUE(FileMentions(m_registry, videoeffect::kInstalledFileName)) << "the start kept no registry";
    ExpectStartFindsTheFilter("a later start, the registry listing the filter");
}

}  // namespace
