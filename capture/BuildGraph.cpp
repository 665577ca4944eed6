// Building the preview graph, step by step; each failure leaves its fixed log line.
#include "DiagnosticLog.h"
#include "MediaObjects.h"
#include "SampleGrabberCB.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kAddCameraAttempts = 4;
constexpr DWORD kAddCameraPause = 500;
constexpr int kSetFormatRetries = 4;
constexpr int kRunAttempts = 3;
constexpr DWORD kRunPause = 1000;
constexpr int32_t kVideoWindowStyle = WS_CHILD_STYLE | WS_CLIPSIBLINGS_STYLE | WS_BORDER_STYLE;

}  // namespace

HRESULT CTaviDlg::BuildGraph(const wchar_t* mode) {
    // 1-2
    if (m_arrVideoDevices.empty()) return E_FAIL;
    if (FAILED(CreateMediaObject(CLSID_FilterGraph, m_pGraph)) || !m_pGraph) {
        WriteLog("\n Could not create filter graph");
        return E_FAIL;
    }
    // 3-5: an index outside the list names no camera (and no filter is found for it either)
    bool listed = m_nVideoDevice >= 0 && static_cast<size_t>(m_nVideoDevice) < m_arrVideoDevices.size();
    m_strCameraName = listed ? m_arrVideoDevices[static_cast<size_t>(m_nVideoDevice)] : std::wstring();
    ComPtr<IBaseFilter> camera;
    (void)CreateVideoDeviceFilter(camera, m_nVideoDevice);
    if (!camera) {
        WriteLog("\n Capture Filter not available");
        return E_FAIL;
    }
    m_nCurVideoDevice = m_nVideoDevice;
    m_nCurAudioDevice = m_nAudioDevice;
    m_nCurResolution = m_nResolution;

    // 6: a camera busy in another program may come free within a second or two
    for (int attempt = 1;; ++attempt) {
        if (SUCCEEDED(m_pGraph->AddFilter(camera.Get(), L"Cap"))) break;
        if (attempt == kAddCameraAttempts) {
            WriteLog("\n Capture filter could not be added to graph");
            return E_FAIL;
        }
        ::Sleep(kAddCameraPause);
    }
    // 7: a camera that refuses the size keeps the one the connection gives
    for (int retry = 0; FAILED(SetCaptureFormat(camera.Get())) && retry < kSetFormatRetries; ++retry) {
    }

    // 8-10
    ComPtr<IBaseFilter> effect;
    HRESULT hr = FindCategoryFilter(CLSID_LegacyAmFilterCategory, L"Video Effect Filter", effect);
    if (FAILED(hr)) {
        WriteLog("\n Failed to find effect filter");
        TearDownGraph();
        ExitAfterFatalFailure("\n Failed to find effect filter");
    }
    hr = effect ? m_pGraph->AddFilter(effect.Get(), L"Video Effect") : E_FAIL;
    if (FAILED(hr)) {
        WriteLog("\n Failed to add effect filter");
        RegisterEffectFilter();
        return hr;
    }
    (void)effect.As(m_pEffect);
    ApplyEffects();

    // 11
    ComPtr<ICaptureGraphBuilder2> builder;
    hr = CreateMediaObject(CLSID_CaptureGraphBuilder2, builder);
    if (FAILED(hr) || !builder) {
        WriteLog("\n Can't get a ICaptureGraphBuilder2 reference");
        return FAILED(hr) ? hr : E_FAIL;
    }
    hr = builder->SetFiltergraph(m_pGraph.Get());
    if (FAILED(hr)) {
        WriteLog("\n SetFiltergraph failed");
        return hr;
    }

    // 12: directly, else intelligently, else through the capture graph builder
    ComPtr<IPin> cameraOut, effectIn;
    (void)GetPin(camera.Get(), PINDIR_OUTPUT, 0, cameraOut);
    (void)GetPin(effect.Get(), PINDIR_INPUT, 0, effectIn);
    if (FAILED(m_pGraph->ConnectDirect(cameraOut.Get(), effectIn.Get(), nullptr)) &&
        FAILED(m_pGraph->Connect(cameraOut.Get(), effectIn.Get())) &&
        FAILED(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera.Get(), nullptr, effect.Get()))) {
        WriteLog("\n RenderStream failed");
        return E_FAIL;
    }

    // 13-14
    ComPtr<IBaseFilter> smartTee;
    (void)CreateMediaObject(CLSID_SmartTee, smartTee);
    if (smartTee && FAILED(m_pGraph->AddFilter(smartTee.Get(), L"Smart Tee1"))) {
        WriteLog("\n Unable to add Smart tee filter");
        return E_FAIL;
    }
    ComPtr<IPin> effectOut, teeIn;
    (void)GetPin(effect.Get(), PINDIR_OUTPUT, 0, effectOut);
    (void)GetPin(smartTee.Get(), PINDIR_INPUT, 0, teeIn);
    (void)m_pGraph->Connect(effectOut.Get(), teeIn.Get());

    // 15-17
    hr = CreateMediaObject(CLSID_SampleGrabber, m_pGrabber);
    if (FAILED(hr) || !m_pGrabber) {
        WriteLog("\n Could not create SampleGrabber (is qedit.dll registered?)");
        return FAILED(hr) ? hr : E_FAIL;
    }
    ComPtr<IBaseFilter> grabberFilter;
    (void)m_pGrabber.As(grabberFilter);
    AM_MEDIA_TYPE grabberType;
    grabberType.majortype = MEDIATYPE_Video;
    grabberType.subtype = MEDIASUBTYPE_RGB24;
    grabberType.bFixedSizeSamples = true;
    grabberType.lSampleSize = 1;
    hr = m_pGrabber->SetMediaType(grabberType);
    if (FAILED(hr)) {
        WriteLog("\n Could not set media type");
        return hr;
    }
    hr = m_pGraph->AddFilter(grabberFilter.Get(), L"Grabber");
    if (FAILED(hr)) {
        WriteLog("\n Could not put sample grabber in graph");
        return hr;
    }
    ComPtr<IPin> teePreview, grabberIn;
    (void)GetPin(smartTee.Get(), PINDIR_OUTPUT, 1, teePreview);
    (void)GetPin(grabberFilter.Get(), PINDIR_INPUT, 0, grabberIn);
    hr = m_pGraph->Connect(teePreview.Get(), grabberIn.Get());
    if (FAILED(hr)) {
        WriteLog("\n Connect failed");
        return hr;
    }

    // 18-19
    ComPtr<IBaseFilter> renderer;
    (void)CreateMediaObject(CLSID_VideoRenderer, renderer);
    if (!renderer) {
        WriteLog("\n Renderer Filter is not available");
        TearDownGraph();
        ExitAfterFatalFailure("\n Renderer Filter is not available");
    }
    (void)m_pGraph->AddFilter(renderer.Get(), L"Video Renderer");
    ComPtr<IPin> grabberOut, rendererIn;
    (void)GetPin(grabberFilter.Get(), PINDIR_OUTPUT, 0, grabberOut);
    (void)GetPin(renderer.Get(), PINDIR_INPUT, 0, rendererIn);
    hr = m_pGraph->Connect(grabberOut.Get(), rendererIn.Get());
    if (FAILED(hr)) {
        WriteLog("\n Connect1 failed");
        return hr;
    }

    // 20-21
    AM_MEDIA_TYPE connected;
    hr = m_pGrabber->GetConnectedMediaType(connected);
    if (FAILED(hr)) {
        WriteLog("\n Could not read the connected media type");
        return hr;
    }
    VIDEOINFOHEADER vih = ReadVideoInfo(connected).value_or(VIDEOINFOHEADER{});
    g_grabberCB.m_lWidth = vih.bmiHeader.biWidth;
    g_grabberCB.m_lHeight = vih.bmiHeader.biHeight;
    g_grabberCB.m_pDlg = this;
    (void)m_pGrabber->SetBufferSamples(false);
    (void)m_pGrabber->SetOneShot(false);
    (void)m_pGrabber->SetCallback(&g_grabberCB, 1);

    // 22-23
    ComPtr<IVideoWindow> videoWindow;
    (void)m_pGraph.As(videoWindow);
    if (videoWindow) {
        bool large = m_nCurResolution >= 1;
        (void)videoWindow->put_Owner(m_staticPreview.GetSafeHwnd());
        (void)videoWindow->put_Left(0);
        (void)videoWindow->put_Top(0);
        (void)videoWindow->put_Width(large ? 640 : 352);
        (void)videoWindow->put_Height(large ? 480 : 288);
        (void)videoWindow->put_WindowStyle(kVideoWindowStyle);
        (void)videoWindow->put_Visible(false);
        (void)videoWindow->put_WindowState(SW_HIDE_STATE);
    }
    if (!mode) {
        if (videoWindow) {
            (void)videoWindow->put_Visible(true);
            (void)videoWindow->put_WindowState(SW_SHOW_STATE);
        }
        ComPtr<IMediaControl> control;
        (void)m_pGraph.As(control);
        hr = control ? control->Run() : E_NOINTERFACE;
        // Without a media control there is nothing to retry: the failure stands as it is.
        for (int attempt = 1; control && FAILED(hr) && attempt < kRunAttempts; ++attempt) {
            ::Sleep(kRunPause);
            hr = control->Run();
        }
        if (FAILED(hr)) {
            WriteLog("\n Could not run graph");
            return hr;
        }
    }
    return S_OK;  // 24: the locals let go; the graph keeps the filters
}
