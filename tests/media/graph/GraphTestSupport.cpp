#include "GraphTestSupport.h"

#include <gtk/gtk.h>

#include <chrono>
#include <cstring>
#include <sstream>

#include "platform/Strings.h"

namespace graphtest {

platform::IMedia& Media() { return *Env().media; }

ComPtr<IBaseFilter> BindByName(const GUID& category, const std::wstring& name) {
    auto devEnum = Create<ICreateDevEnum>(CLSID_SystemDeviceEnum);
    if (!devEnum) return nullptr;
    ComPtr<IEnumMoniker> monikers;
    if (devEnum->CreateClassEnumerator(category, monikers) != S_OK) return nullptr;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(moniker) == S_OK) {
        ComPtr<IPropertyBag> bag;
        std::wstring friendly;
        if (FAILED(moniker->BindToStorage(bag)) || FAILED(bag->Read(L"FriendlyName", friendly)) || friendly != name)
            continue;
        ComPtr<IBaseFilter> filter;
        if (SUCCEEDED(moniker->BindToObject(filter))) return filter;
    }
    return nullptr;
}

ComPtr<IPin> GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int n) {
    ComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(pins))) return nullptr;
    ComPtr<IPin> pin;
    while (pins->Next(pin) == S_OK) {
        PIN_DIRECTION d = PINDIR_INPUT;
        if (FAILED(pin->QueryDirection(d))) continue;
        if (d == direction && n-- == 0) return pin;
    }
    return nullptr;
}

HRESULT SetCameraSize(IBaseFilter* camera, int width, int height) {
    ComPtr<IPin> out = GetPin(camera, PINDIR_OUTPUT, 0);
    if (!out) return E_FAIL;
    ComPtr<IAMStreamConfig> config;
    if (HRESULT hr = out.As(config); FAILED(hr)) return hr;
    AM_MEDIA_TYPE type;
    if (HRESULT hr = config->GetFormat(type); FAILED(hr)) return hr;
    auto vih = ReadVideoInfo(type);
    if (!vih) return E_FAIL;
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    vih->bmiHeader.biSizeImage = uint32_t(vih->bmiHeader.biBitCount) * uint32_t(width * height) / 8;
    WriteVideoInfo(type, *vih);
    return config->SetFormat(type);
}

HRESULT FrameCatcher::SampleCB(double, IMediaSample* sample) {
    if (!sample) ++m_samples;
    return S_OK;
}

HRESULT FrameCatcher::BufferCB(double, uint8_t* buffer, long length) {
    ++m_buffers;
    std::lock_guard lock(m_mutex);
    m_last.assign(buffer, buffer + length);
    m_arrived.notify_all();
    return S_OK;
}

bool FrameCatcher::WaitFrame(int timeoutMs, std::vector<uint8_t>& frame) {
    int64_t deadline = NowMs() + timeoutMs;
    std::unique_lock lock(m_mutex);
    m_last.clear();
    while (m_last.empty()) {
        lock.unlock();
        PumpFor(10);
        lock.lock();
        if (NowMs() > deadline) return false;
    }
    frame = m_last;
    return true;
}

Probe RunFfprobe(const std::string& path) {
    Probe probe;
    gchar* out = nullptr;
    gchar* err = nullptr;
    gint status = 0;
    const gchar* argv[] = {"ffprobe", "-v", "error", "-show_streams", "-show_format", path.c_str(), nullptr};
    if (!g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, &out, &err,
                      &status, nullptr))
        return probe;
    probe.ok = g_spawn_check_wait_status(status, nullptr);
    std::istringstream lines(out ? out : "");
    std::map<std::string, std::string>* section = nullptr;
    for (std::string line; std::getline(lines, line);) {
        if (line == "[STREAM]") {
            probe.streams.emplace_back();
            section = &probe.streams.back();
        } else if (line == "[FORMAT]") {
            section = &probe.format;
        } else if (line.starts_with("[/")) {
            section = nullptr;
        } else if (auto eq = line.find('='); section && eq != std::string::npos) {
            (*section)[line.substr(0, eq)] = line.substr(eq + 1);
        }
    }
    if (err && *err) std::fprintf(stderr, "ffprobe: %s\n", err);
    g_free(out);
    g_free(err);
    return probe;
}

double Number(const std::map<std::string, std::string>& keys, const std::string& key) {
    auto it = keys.find(key);
    if (it == keys.end()) return -1e9;
    char* end = nullptr;
    double value = std::strtod(it->second.c_str(), &end);
    return end == it->second.c_str() ? -1e9 : value;
}

void PumpFor(int ms) {
    int64_t until = NowMs() + ms;
    while (NowMs() < until) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        g_usleep(2000);
    }
}

int64_t NowMs() { return g_get_monotonic_time() / 1000; }

std::string TempPath(const std::string& name) { return Env().folder + "/" + name; }

}  // namespace graphtest

#include <gtest/gtest.h>

namespace graphtest {

bool BuildPreview(PreviewGraph& p, int width, int height, bool withEffect, const std::wstring& camera) {
    p.graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    if (!p.graph) {
        ADD_FAILURE() << "no graph";
        return false;
    }
    (void)p.graph.As(p.control);
    p.camera = BindByName(CLSID_VideoInputDeviceCategory, camera);
    if (!p.camera) {
        ADD_FAILURE() << "the test camera is not listed";
        return false;
    }
    EXPECT_EQ(p.graph->AddFilter(p.camera.Get(), L"Cap"), S_OK);
    EXPECT_EQ(SetCameraSize(p.camera.Get(), width, height), S_OK);
    ComPtr<IPin> upstream = GetPin(p.camera.Get(), PINDIR_OUTPUT, 0);
    if (withEffect) {
        p.effect = BindByName(CLSID_LegacyAmFilterCategory, L"Video Effect Filter");
        if (!p.effect) {
            ADD_FAILURE() << "the effect filter is not listed";
            return false;
        }
        EXPECT_EQ(p.graph->AddFilter(p.effect.Get(), L"Video Effect"), S_OK);
        EXPECT_EQ(p.graph->ConnectDirect(upstream.Get(), GetPin(p.effect.Get(), PINDIR_INPUT, 0).Get(), nullptr), S_OK);
        upstream = GetPin(p.effect.Get(), PINDIR_OUTPUT, 0);
    }
    p.tee = Create<IBaseFilter>(CLSID_SmartTee);
    p.grabberFilter = Create<IBaseFilter>(CLSID_SampleGrabber);
    p.renderer = Create<IBaseFilter>(CLSID_VideoRenderer);
    if (!p.tee || !p.grabberFilter || !p.renderer) {
        ADD_FAILURE() << "a filter class is missing";
        return false;
    }
    (void)p.grabberFilter.As(p.grabber);
    AM_MEDIA_TYPE rgb;
    rgb.majortype = MEDIATYPE_Video;
    rgb.subtype = MEDIASUBTYPE_RGB24;
    EXPECT_EQ(p.grabber->SetMediaType(rgb), S_OK);
    EXPECT_EQ(p.graph->AddFilter(p.tee.Get(), L"Smart Tee1"), S_OK);
    EXPECT_EQ(p.graph->AddFilter(p.grabberFilter.Get(), L"Grabber"), S_OK);
    EXPECT_EQ(p.graph->AddFilter(p.renderer.Get(), L"Video Renderer"), S_OK);
    HRESULT a = p.graph->Connect(upstream.Get(), GetPin(p.tee.Get(), PINDIR_INPUT, 0).Get());
    HRESULT b = p.graph->Connect(GetPin(p.tee.Get(), PINDIR_OUTPUT, 1).Get(), GetPin(p.grabberFilter.Get(), PINDIR_INPUT, 0).Get());
    HRESULT c = p.graph->Connect(GetPin(p.grabberFilter.Get(), PINDIR_OUTPUT, 0).Get(), GetPin(p.renderer.Get(), PINDIR_INPUT, 0).Get());
    EXPECT_EQ(a, S_OK);
    EXPECT_EQ(b, S_OK);
    EXPECT_EQ(c, S_OK);
    return !testing::Test::HasFailure();
}

void StopGraph(IMediaControl* control) {
    EXPECT_EQ(control->Stop(), S_OK);
    FILTER_STATE state = State_Running;
    EXPECT_EQ(control->GetState(INFINITE, state), S_OK);
    EXPECT_EQ(state, State_Stopped);
}

}  // namespace graphtest
