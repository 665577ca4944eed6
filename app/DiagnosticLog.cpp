#include "DiagnosticLog.h"

#include <cstring>
#include <span>

#include "platform/Platform.h"

std::wstring g_strExeFolder;

namespace {

constexpr size_t kMaxPath = 260;
bool g_bLogFirstWrite = true;

}  // namespace

void GetExeFolder(std::wstring& buffer) {
    std::wstring path = platform::Current().Processes().GetModulePath();
    if (path.size() >= kMaxPath) path.clear();  // the path does not fit: the folder is empty
    size_t cut = path.rfind(platform::kPathSeparator);
    buffer = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
    g_strExeFolder = buffer;
}

void WriteLog(const char* text) {
    std::wstring path = g_strExeFolder + platform::kPathSeparator + L"TAVI_Log.txt";
    bool truncate = g_bLogFirstWrite;
    g_bLogFirstWrite = false;  // cleared even when the file cannot be opened
    auto bytes = std::span(reinterpret_cast<const uint8_t*>(text), std::strlen(text));
    (void)platform::Current().Files().AppendFile(path, bytes, truncate);
}

void ResetDiagnosticLog() {
    g_bLogFirstWrite = true;
    g_strExeFolder.clear();
}
