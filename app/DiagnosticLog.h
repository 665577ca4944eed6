// The program folder and the plain-text trace of start-up and graph failures beside it.
#pragma once

#include <string>

// The folder of the program file, without a trailing separator; empty until GetExeFolder runs.
extern std::wstring g_strExeFolder;

// Fills `buffer` with the program folder and stores it in g_strExeFolder.
void GetExeFolder(std::wstring& buffer);

// Appends one message, unchanged, to "TAVI_Log.txt" in the program folder. The first message
// of a process empties the file first, so the log holds the latest run only. Failures are
// dropped: logging never stops the program.
void WriteLog(const char* text);

// Back to the state of a fresh process (the next message empties the file again).
void ResetDiagnosticLog();

// Ends the process with exit code 0 after a failure the program cannot go on from, once the
// user has been told (catalogue message 6044) and the standard error stream has the log line
// the caller wrote, so that the program never vanishes without a word.
[[noreturn]] void ExitAfterFatalFailure(const char* logLine);
