// The settings store: named text values under one key of the local machine, read once at
// start-up and written as a whole.
#include <memory>
#include <optional>

#include "RegistryValues.h"
#include "TaviDlg.h"
#include "platform/Platform.h"
#include "platform/media/EffectCodes.h"

namespace {

constexpr wchar_t kDefaultMediaFolder[] = L"Vistrel Media";

bool NameExists(platform::IFileSystem& files, const std::wstring& path) {
    return files.DirectoryExists(path) || files.FileExists(path);
}

std::wstring FormatNumber(int value) { return std::to_wstring(value); }

}  // namespace

void CTaviDlg::LoadSettings() {
    platform::IPlatform& system = platform::Current();

    // 1. Open the key for reading; without it every value counts as missing.
    std::unique_ptr<platform::IRegistryKey> key =
        system.Registry().OpenKey(kSettingsKey, platform::RegistryAccess::Query);

    // 2. The values in their reading order, each with its default.
    const int storedX = ReadRegistryNumber(key.get(), L"XPos", 0);
    const int storedY = ReadRegistryNumber(key.get(), L"YPos", 0);
    m_strLastCamera = ReadRegistryText(key.get(), L"LastCamera", kTextBufferBytes).value_or(L"");
    m_strImagePath = ReadRegistryText(key.get(), L"ImagePath", kTextBufferBytes).value_or(L"");
    m_strVideoPath = ReadRegistryText(key.get(), L"VideoPath", kTextBufferBytes).value_or(L"");
    if (std::optional<std::wstring> mode = ReadRegistryText(key.get(), L"ResolutionMode", kNumberBufferBytes)) {
        m_nResolution = ParseRegistryNumber(*mode);
        if (m_nResolution == 0) m_bSmallWindow = 1;
    } else {
        m_nResolution = 1;
    }
    m_bHorMirror = ReadRegistryNumber(key.get(), L"HorMirror", 0);
    m_bVerMirror = ReadRegistryNumber(key.get(), L"VerMirror", 0);
    m_bBW = ReadRegistryNumber(key.get(), L"BW", 0);
    m_bSepia = ReadRegistryNumber(key.get(), L"Sepia", 0);
    m_bRed = ReadRegistryNumber(key.get(), L"R", 1);
    m_bGreen = ReadRegistryNumber(key.get(), L"G", 1);
    m_bBlue = ReadRegistryNumber(key.get(), L"B", 1);

    // 3. The effect filter's codes; black and white wins over sepia.
    if (m_bHorMirror && m_bVerMirror) m_nMirror = effect::kMirrorBoth;
    else if (m_bHorMirror) m_nMirror = effect::kMirrorHorizontal;
    else if (m_bVerMirror) m_nMirror = effect::kMirrorVertical;
    else m_nMirror = effect::kMirrorNone;
    if (m_bBW) m_nToneEffect = effect::kToneBlackWhite;
    else if (m_bSepia) m_nToneEffect = effect::kToneSepia;
    else m_nToneEffect = effect::kToneNone;
    key.reset();

    // 4. The window position: centred on the primary screen when none was stored.
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    const int w = client.Width();
    const int h = client.Height();
    const platform::Rect primary = system.Ui().GetPrimaryScreen();
    const int centredX = (primary.Width() - w) / 2;
    const int centredY = (primary.Height() - h) / 2;
    int x = storedX;
    int y = storedY;
    if (storedX == 0 && storedY == 0) {
        x = centredX;
        y = centredY;
    }

    // 5. A position off the virtual screen (all monitors together) is centred as well.
    const platform::Rect virtualScreen = system.Ui().GetVirtualScreen();
    if (x < 0 || x > virtualScreen.Width() || y < 0 || y > virtualScreen.Height()) {
        x = centredX;
        y = centredY;
    }
    m_nPosX = x;
    m_nPosY = y;

    // 6. A stored folder that is gone is forgotten. Its last character (the separator) is left
    // out of the check. Only a folder counts: a file of that name could never take a picture.
    platform::IFileSystem& files = system.Files();
    for (std::wstring* path : {&m_strImagePath, &m_strVideoPath}) {
        if (path->empty()) continue;
        if (!files.DirectoryExists(path->substr(0, path->size() - 1))) path->clear();
    }

    // 7. Empty folders become the default media folder in the user's documents, made when absent.
    if (m_strImagePath.empty() || m_strVideoPath.empty()) {
        std::optional<std::wstring> documents = system.Shell().GetDocumentsFolder();
        if (!documents) return;
        const std::wstring folder = *documents + platform::kPathSeparator + kDefaultMediaFolder;
        if (!NameExists(files, folder)) (void)files.CreateDirectory(folder);
        if (m_strImagePath.empty()) m_strImagePath = folder + platform::kPathSeparator;
        if (m_strVideoPath.empty()) m_strVideoPath = folder + platform::kPathSeparator;
    }
}

void CTaviDlg::SaveSettings() {
    platform::IRegistry& registry = platform::Current().Registry();

    // 1. Open the key for writing, or make it; without either nothing is written.
    std::unique_ptr<platform::IRegistryKey> key = registry.OpenKey(kSettingsKey, platform::RegistryAccess::SetValue);
    if (!key) key = registry.CreateKey(kSettingsKey);
    if (!key) return;

    // 2. The first camera stands for "whichever the graph was built with". A selection past
    // the end of the list (the camera has gone since) is saved the same way.
    const bool listed = m_nVideoDevice > 0 && static_cast<size_t>(m_nVideoDevice) < m_arrVideoDevices.size();
    m_strSaveCamera = listed ? m_arrVideoDevices[static_cast<size_t>(m_nVideoDevice)] : m_strCameraName;

    // 3. and 4. Every value in the writing order; the position is the restored rectangle's. A
    // value that cannot be written is not checked.
    WINDOWPLACEMENT placement;
    GetWindowPlacement(&placement);
    (void)key->SetString(L"LastCamera", m_strSaveCamera);
    (void)key->SetString(L"ImagePath", m_strImagePath);
    (void)key->SetString(L"VideoPath", m_strVideoPath);
    (void)key->SetString(L"ResolutionMode", FormatNumber(m_nResolution));
    (void)key->SetString(L"HorMirror", FormatNumber(m_bHorMirror));
    (void)key->SetString(L"VerMirror", FormatNumber(m_bVerMirror));
    (void)key->SetString(L"BW", FormatNumber(m_bBW));
    (void)key->SetString(L"Sepia", FormatNumber(m_bSepia));
    (void)key->SetString(L"R", FormatNumber(m_bRed));
    (void)key->SetString(L"G", FormatNumber(m_bGreen));
    (void)key->SetString(L"B", FormatNumber(m_bBlue));
    (void)key->SetString(L"XPos", FormatNumber(placement.rcNormalPosition.left));
    (void)key->SetString(L"YPos", FormatNumber(placement.rcNormalPosition.top));

    // 5. Closing the key puts the values in the store.
    key.reset();
}
