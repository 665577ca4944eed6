#include "DiagnosticLog.h"

#include <filesystem>

#include "SimFixture.h"
#include "TempFolder.h"

namespace {

class DiagnosticLogTest : public SimTest {
protected:
    DiagnosticLogTest() {
        ResetDiagnosticLog();
        Sim().Processes().SetModulePath(m_folder.Wide(L"vistrel"));
    }
    ~DiagnosticLogTest() override { ResetDiagnosticLog(); }

    std::wstring StartRun() {
        ResetDiagnosticLog();
        std::wstring folder;
        GetExeFolder(folder);
        return folder;
    }

    TempFolder m_folder;
};

TEST_F(DiagnosticLogTest, ProgramFolderIsTheModulePathWithoutItsLastPart) {
    std::wstring folder = StartRun();
    EXPECT_EQ(folder, m_folder.Wide());
    EXPECT_EQ(g_strExeFolder, m_folder.Wide());

    Sim().Processes().SetModulePath(L"vistrel");  // no folder part at all
    GetExeFolder(folder);
    EXPECT_EQ(folder, L"");
}

TEST_F(DiagnosticLogTest, EachRunKeepsOnlyItsOwnLines) {
    StartRun();
    WriteLog("\n Could not create filter graph");
    WriteLog("\n Capture Filter not available");
    EXPECT_EQ(m_folder.Read("TAVI_Log.txt"), "\n Could not create filter graph\n Capture Filter not available");

    StartRun();
    WriteLog("\n Failed to add effect filter");
    WriteLog("Registering Video Effect...");  // no line break: continues the line before
    WriteLog("\n success");
    EXPECT_EQ(m_folder.Read("TAVI_Log.txt"), "\n Failed to add effect filter"
                                             "Registering Video Effect...\n success");
}

TEST_F(DiagnosticLogTest, RunThatWritesNothingLeavesThePreviousLog) {
    StartRun();
    WriteLog("\n Connect failed");
    StartRun();
    EXPECT_EQ(m_folder.Read("TAVI_Log.txt"), "\n Connect failed");
}

TEST_F(DiagnosticLogTest, FolderWithoutLogDropsMessagesAndStillTruncatesOnce) {
    // A program folder where nothing can be created (here: not there yet; root ignores modes).
    Sim().Processes().SetModulePath(m_folder.Wide(L"missing/vistrel"));
    StartRun();
    WriteLog("\n dropped");
    std::filesystem::create_directory(m_folder.Path() / "missing");
    WriteLog("\n one");
    WriteLog("\n two");
    // The first-write flag went with the dropped message: later lines append.
    EXPECT_EQ(m_folder.Read("missing/TAVI_Log.txt"), "\n one\n two");
}

}  // namespace
