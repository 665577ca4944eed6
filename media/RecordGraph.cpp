// Turning the running preview graph into the recording graph: the numbered file, the writer
// configured from the system profile, the sound chain, and the runs that start it.
#include <cstdio>
#include <new>

#include "AppMessages.h"
#include "DiagnosticLog.h"
#include "MediaObjects.h"
#include "Recording.h"
#include "StillCapture.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "platform/media/WmProfileObjects.h"

int32_t g_nVideoNumber = 0;

namespace {

constexpr int kRecordRetries = 5;  // after the first attempt: six in all
constexpr uint32_t kBufferWindowMs = 3000;
constexpr int64_t kMaxKeyFrameSpacing = 70'000'000;  // 100-ns units: 7 s
constexpr uint32_t kVideoQuality = 10;
constexpr int kRunAttempts = 3;
constexpr DWORD kRunPause = 1000;
constexpr int32_t kVideoWindowStyle = WS_CHILD_STYLE | WS_CLIPSIBLINGS_STYLE | WS_BORDER_STYLE;

// Room for the stream's media type as the profile sizes it; a machine out of memory here
// cannot record and is not expected to run on.
AM_MEDIA_TYPE AllocateMediaType(uint32_t size) {
    AM_MEDIA_TYPE type;
    try {
        type.format.reserve(size > platform::kMediaTypeHeaderBytes ? size - platform::kMediaTypeHeaderBytes : 0);
    } catch (const std::bad_alloc&) {
        WriteLog("\n Out of memory! application is closing");
        ExitAfterFatalFailure("\n Out of memory! application is closing");
    }
    return type;
}

}  // namespace

std::wstring VideoFileName(const std::wstring& folder, int32_t number) {
    wchar_t digits[16];
    std::swprintf(digits, std::size(digits), L"%04d", number);
    return folder + L"VideoCap" + digits + L".asf";
}

bool VideoFileNameFits(const std::wstring& folder) {
    std::wstring path = VideoFileName(folder, g_nVideoNumber);
    for (int32_t number = g_nVideoNumber; NameTaken(path) && path.size() < kMaxVideoPath;)
        path = VideoFileName(folder, ++number);
    return path.size() < kMaxVideoPath;
}

void CTaviDlg::WatchRecordingGraph() {
    ComPtr<IMediaEventEx> events;
    (void)m_pGraph.As(events);
    if (!events) return;
    const LPARAM recording = static_cast<LPARAM>(++m_nRecordingsStarted);
    (void)events->SetNotifyCallback([recording] { ::PostMessage(g_hMainWnd, WM_RECORDING_FAILED, 0, recording); });
}

platform::Size CTaviDlg::RecordingSize() const {
    return m_nCurResolution >= 1 ? platform::Size{640, 480} : platform::Size{352, 288};
}

BOOL CTaviDlg::BeginRecording() {
    // 1
    std::wstring path = VideoFileName(m_strVideoPath, g_nVideoNumber);
    while (NameTaken(path)) path = VideoFileName(m_strVideoPath, ++g_nVideoNumber);
    // 2
    ::SetCursor(LoadCursor(IDC_WAIT));
    // 3-4: each retry starts again from a freshly built and running preview
    BOOL result = TRUE;
    HRESULT hr = BuildRecordGraph(path);
    for (int retry = 0; FAILED(hr) && retry < kRecordRetries; ++retry) {
        TearDownGraph();
        (void)BuildGraph(nullptr);
        hr = BuildRecordGraph(path);
    }
    if (SUCCEEDED(hr)) {
        m_strRecordFile = path;
    } else {
        TearDownGraph();
        (void)BuildGraph(nullptr);
        result = FALSE;
    }
    // 5
    ::SetCursor(platform::CursorKind::None);
    return result;
}

HRESULT CTaviDlg::BuildRecordGraph(const std::wstring& path) {
    const platform::Size size = RecordingSize();
    const bool withAudio = !m_arrAudioDevices.empty();

    // 1: the large mode captures smaller while recording, so its graph is built anew
    if (m_nCurResolution >= 2) {
        TearDownGraph();
        HRESULT built = BuildGraph(L"New Build");
        // Without a preview graph there is nothing to record from.
        if (FAILED(built) || !m_pGraph) return FAILED(built) ? built : E_FAIL;
    } else {
        if (!m_pGraph) return E_FAIL;
        ComPtr<IMediaControl> control;
        (void)m_pGraph.As(control);
        if (control) (void)control->Stop();
    }

    // 2
    ComPtr<IBaseFilter> smartTee;
    (void)m_pGraph->FindFilterByName(L"Smart Tee1", smartTee);

    // 3-5
    ComPtr<IBaseFilter> writer;
    HRESULT hr = CreateMediaObject(CLSID_WMAsfWriter, writer);
    if (FAILED(hr) || !writer) {
        WriteLog("\n Cld not find AsfWriter");
        return FAILED(hr) ? hr : E_FAIL;
    }
    (void)m_pGraph->AddFilter(writer.Get(), L"ASF Writer");
    ComPtr<IFileSinkFilter> fileSink;
    hr = writer.As(fileSink);
    if (FAILED(hr)) {
        WriteLog("\n Cld not add AsfWriter");
        return hr;
    }
    // 6-7
    (void)fileSink->SetFileName(path, nullptr);
    ComPtr<IConfigAsfWriter> config;
    (void)writer.As(config);

    // 8
    ComPtr<IWMProfileManager> manager;
    ComPtr<IWMProfile> profile;
    if (SUCCEEDED(platform::Current().Media().CreateProfileManager(manager)) && manager)
        (void)manager->LoadProfileByID(WMProfile_V80_384Video, profile);

    // 9: from the last stream down, so that a removed stream does not move the ones still to come
    uint32_t streams = 0;
    if (profile) (void)profile->GetStreamCount(streams);
    for (int index = static_cast<int>(streams) - 1; index >= 0; --index) {
        ComPtr<IWMStreamConfig> stream;
        ComPtr<IWMMediaProps> props;
        if (FAILED(profile->GetStream(static_cast<uint32_t>(index), stream)) || !stream) continue;
        (void)stream.As(props);
        uint32_t window = 0;
        (void)stream->GetBufferWindow(window);
        (void)stream->SetBufferWindow(kBufferWindowMs);
        (void)profile->ReconfigStream(stream.Get());
        if (!props) continue;
        uint32_t typeSize = 0;
        (void)props->GetMediaType(nullptr, typeSize);
        AM_MEDIA_TYPE type = AllocateMediaType(typeSize);
        (void)props->GetMediaType(&type, typeSize);
        if (type.majortype == WMMEDIATYPE_Video) {
            ComPtr<IWMPropertyVault> vault;
            (void)stream.As(vault);
            if (vault) (void)vault->SetProperty(L"_COMPLEXITYEX", 0);
            (void)profile->ReconfigStream(stream.Get());
            if (auto vih = ReadVideoInfo(type)) {
                vih->rcSource.right = vih->rcTarget.right = size.cx;
                vih->rcSource.bottom = vih->rcTarget.bottom = size.cy;
                vih->bmiHeader.biWidth = size.cx;
                vih->bmiHeader.biHeight = size.cy;
                WriteVideoInfo(type, *vih);
                (void)props->SetMediaType(type);
            }
            (void)profile->ReconfigStream(stream.Get());
            ComPtr<IWMVideoMediaProps> video;
            (void)stream.As(video);
            if (video) {
                (void)video->SetMaxKeyFrameSpacing(kMaxKeyFrameSpacing);
                (void)video->SetQuality(kVideoQuality);
            }
            (void)profile->ReconfigStream(stream.Get());
        } else if (!withAudio) {
            (void)profile->RemoveStream(stream.Get());
        }
    }

    // 10
    if (config && profile) (void)config->ConfigureFilterUsingProfile(profile.Get());
    manager.Reset();
    profile.Reset();
    config.Reset();

    // 11: audio takes the writer's first input when there is a microphone
    ComPtr<IPin> teeCapture, writerVideo;
    (void)GetPin(smartTee.Get(), PINDIR_OUTPUT, 0, teeCapture);
    (void)GetPin(writer.Get(), PINDIR_INPUT, withAudio ? 1 : 0, writerVideo);
    (void)m_pGraph->Connect(teeCapture.Get(), writerVideo.Get());

    // 12
    if (withAudio) {
        if (m_nAudioDevice < 0 || static_cast<size_t>(m_nAudioDevice) >= m_arrAudioDevices.size()) {
            return E_INVALIDARG;
        }
        ComPtr<IBaseFilter> microphone, pcm, smartTee2;
        (void)FindCategoryFilter(CLSID_AudioInputDeviceCategory,
                                 m_arrAudioDevices[static_cast<size_t>(m_nAudioDevice)], microphone);
        m_nCurAudioDevice = m_nAudioDevice;
        if (microphone) (void)m_pGraph->AddFilter(microphone.Get(), L"Audio Cap");
        if (SUCCEEDED(FindCategoryFilter(CLSID_AudioCompressorCategory, L"PCM", pcm)) && pcm)
            (void)m_pGraph->AddFilter(pcm.Get(), L"PCM");
        if (SUCCEEDED(CreateMediaObject(CLSID_SmartTee, smartTee2)) && smartTee2)
            (void)m_pGraph->AddFilter(smartTee2.Get(), L"Smart Tee2");
        const struct {
            IBaseFilter* from;
            IBaseFilter* to;
        } chain[] = {{microphone.Get(), pcm.Get()}, {pcm.Get(), smartTee2.Get()}, {smartTee2.Get(), writer.Get()}};
        for (const auto& link : chain) {
            ComPtr<IPin> out, in;
            (void)GetPin(link.from, PINDIR_OUTPUT, 0, out);
            (void)GetPin(link.to, PINDIR_INPUT, 0, in);
            (void)m_pGraph->Connect(out.Get(), in.Get());
        }
    }

    // 13
    ComPtr<IVideoWindow> videoWindow;
    (void)m_pGraph.As(videoWindow);
    if (videoWindow) {
        (void)videoWindow->put_Owner(m_staticPreview.GetSafeHwnd());
        (void)videoWindow->put_Left(0);
        (void)videoWindow->put_Top(0);
        (void)videoWindow->put_Width(size.cx);
        (void)videoWindow->put_Height(size.cy);
        (void)videoWindow->put_WindowStyle(kVideoWindowStyle);
        (void)videoWindow->put_Visible(true);
        (void)videoWindow->put_WindowState(SW_SHOW_STATE);
    }

    // 14-15
    ComPtr<IMediaControl> control;
    (void)m_pGraph.As(control);
    if (!control) return E_NOINTERFACE;
    hr = control->Run();
    if (SUCCEEDED(hr)) {
        // A graph that fails on its way to running (the camera gone, the file not writable)
        // would never report running: its failure ends the wait.
        for (FILTER_STATE state = State_Stopped;;) {
            HRESULT waited = control->GetState(INFINITE, state);
            if (FAILED(waited)) return waited;
            if (state == State_Running) {
                WatchRecordingGraph();
                return 1;
            }
        }
    }
    for (int attempt = 1; FAILED(hr) && attempt < kRunAttempts; ++attempt) {
        ::Sleep(kRunPause);
        hr = control->Run();
    }
    if (SUCCEEDED(hr)) WatchRecordingGraph();
    return hr;
}
