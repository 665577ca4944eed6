// Recordings a killed process could not finish are repaired while the program starts: the work
// happens away from the window, each file looked at leaves a line in the diagnostic log.
#include <cstdio>
#include <string>

#include "DiagnosticLog.h"
#include "TaviDlg.h"
#include "platform/Platform.h"
#include "platform/Strings.h"

void CTaviDlg::RepairUnfinishedRecordings() {
    platform::Current().Recordings().RepairUnfinished([](const platform::RepairedRecording& result) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f", result.seconds);
        const std::string file = platform::ToUtf8(result.file);
        const std::string line = result.repaired
                                     ? "\n Repaired an unfinished recording: " + file + " (" + seconds + " s)"
                                     : "\n Could not repair an unfinished recording: " + file + " (" + result.why + ")";
        WriteLog(line.c_str());
    });
}
