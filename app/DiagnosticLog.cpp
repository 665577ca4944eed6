#include "DiagnosticLog.h"

#include <cstdio>
#include <cstring>
#include <span>

#include "framework/Runtime.h"
#include "framework/WinApp.h"
#include "platform/Platform.h"
#include "resources/Catalogue.h"

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

void ExitAfterFatalFailure(const char* logLine) {
    // The log lines begin with a line break and a space; the error stream has a line of its own.
    const char* text = logLine;
    while (*text == '\n' || *text == ' ') ++text;
    std::fprintf(stderr, "vistrel: %s\n", text);
    std::fflush(stderr);
    AfxMessageBox(GetCatalogueText(6044).c_str(), MB_ICONERROR);
    AfxExitProcess(0);
}
