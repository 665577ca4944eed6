// Snapshot request, the folder probe and the JPEG file written from the grabbed frame.
#include "StillCapture.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "AppMessages.h"
#include "DiagnosticLog.h"
#include "SampleGrabberCB.h"
#include "TaviDlg.h"
#include "framework/WinApp.h"
#include "platform/Platform.h"
#include "platform/Strings.h"
#include "resources/Catalogue.h"

int32_t g_nStillNumber = 0;
int g_bDisableDuringSnapshot = 0;

namespace {

constexpr size_t kMaxPath = 260;  // characters, the terminator included
// The probe never touches a file it did not make: when "temp.txt" is taken it tries these.
constexpr int kProbeNames = 16;

std::wstring ProbeName(int attempt) {
    return attempt == 0 ? std::wstring(L"temp.txt") : L"temp" + std::to_wstring(attempt) + L".txt";
}

// Gives the buffer back to the grabber however SaveSnapshot ends.
struct GrabbedFrame {
    GrabbedFrame() = default;
    GrabbedFrame(const GrabbedFrame&) = delete;
    GrabbedFrame& operator=(const GrabbedFrame&) = delete;
    ~GrabbedFrame() { ReleaseGrabbedFrame(); }
};

}  // namespace

bool NameTaken(const std::wstring& path) {
    platform::IFileSystem& files = platform::Current().Files();
    return files.FileExists(path) || files.DirectoryExists(path);
}

std::wstring StillFileName(const std::wstring& folder, long number) {
    wchar_t digits[24];
    std::swprintf(digits, std::size(digits), L"%4.4ld", number);
    return folder + L"StillCap" + digits + L".jpg";
}

size_t EncodeJpeg(long width, long height, std::span<const uint8_t> frame, std::span<uint8_t> out) {
    return platform::Current().ImageEncoder().EncodeJpeg(frame, static_cast<int>(width), static_cast<int>(height),
                                                         kJpegQuality, out);
}

void PlayShutterSound() {
    std::wstring folder;
    GetExeFolder(folder);
    const std::wstring path = folder + platform::kPathSeparator + L"click.wav";
    if (path.size() >= kMaxPath) return;
    (void)platform::Current().Sound().PlaySoundFile(path);
}

BOOL CTaviDlg::IsFolderWritable(BOOL bImageFolder) {
    const std::wstring& folder = bImageFolder ? m_strImagePath : m_strVideoPath;
    platform::IFileSystem& files = platform::Current().Files();
    for (int attempt = 0; attempt < kProbeNames; ++attempt) {
        const std::wstring path = folder + ProbeName(attempt);
        if (path.size() >= kMaxPath) return FALSE;
        if (files.CreateNewFile(path)) {
            (void)files.DeleteFile(path);  // ours: we just made it
            return TRUE;
        }
        if (!NameTaken(path)) return FALSE;  // nothing there and still not creatable
    }
    return FALSE;
}

void CTaviDlg::RequestSnapshot() {
    if (IsFolderWritable(TRUE)) {
        ArmGrabRequest();
        if (!m_bNotVista) g_bDisableDuringSnapshot = 1;
        SetTimer(TIMER_SNAPSHOT_WAIT, kSnapshotWaitMs);
        return;
    }
    KillTimer(TIMER_CAPTURED);
    m_staticStatus.SetWindowText(L" ");
    AfxMessageBox(GetCatalogueText(6004).c_str(), MB_ICONEXCLAMATION);
    EnableWindow(TRUE);
}

int CTaviDlg::SaveSnapshot(const std::wstring& folder, const uint8_t* frame, long capacity) {
    GrabbedFrame handedOver;
    DisarmGrabRequest();
    KillTimer(TIMER_SNAPSHOT_WAIT);

    // The size is the one the frame was grabbed at: a graph rebuilt at another size since (a
    // recording start in the large mode) does not change what the buffer holds. A frame that
    // does not fill its size is dropped, never read past its end.
    const long width = g_grabbedFrame.width;
    const long height = g_grabbedFrame.height;
    const size_t frameBytes = width > 0 && height > 0 ? platform::DibRowStride(width) * static_cast<size_t>(height) : 0;
    const long held = frame == g_pFrameBuffer ? std::min(capacity, g_grabbedFrame.bytes) : capacity;
    if (!frame || frameBytes == 0 || held < 0 || static_cast<size_t>(held) < frameBytes) {
        EnableWindow(TRUE);
        return 0;
    }

    platform::IFileSystem& files = platform::Current().Files();
    std::wstring path = StillFileName(folder, g_nStillNumber);
    while (NameTaken(path)) path = StillFileName(folder, ++g_nStillNumber);
    if (path.size() >= kMaxPath) {
        EnableWindow(TRUE);
        return 0;
    }

    BITMAPINFOHEADER header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = 24;

    // Encoded before the file is made, into room for the worst case: a failed encoding leaves
    // no empty file and the notice is not shown.
    platform::IImageEncoder& encoder = platform::Current().ImageEncoder();
    std::vector<uint8_t> jpeg(encoder.JpegBufferSize(width, height));
    const size_t encoded = EncodeJpeg(width, height, {frame, frameBytes}, jpeg);
    if (encoded == 0 || !files.WriteFile(path, {jpeg.data(), encoded})) {
        EnableWindow(TRUE);
        return 0;
    }

    g_bFrameShown = 1;
    DrawFrame(frame, header);
    g_bmiLastFrame = header;
    EnableWindow(TRUE);
    m_staticStatus.SetWindowText(GetCatalogueText(6015).c_str());
    SetTimer(TIMER_CAPTURED, TIMER_CAPTURED_PERIOD);
    PlayShutterSound();
    return 0;
}

LRESULT CTaviDlg::OnFrameReady(WPARAM, LPARAM) {
    SaveSnapshot(m_strImagePath, g_pFrameBuffer, g_cbFrameBuffer);
    return Default();
}
