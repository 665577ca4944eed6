// Vistrel's entry point: the real platform, the program's resources, and the main window.
#include <cstdio>

#include "LinuxPlatform.h"
#include "framework/Dialog.h"
#include "framework/Runtime.h"
#include "resources/ResourceIds.h"
#include "resources/Resources.h"

int main(int argc, char** argv) {
    auto platform = platform::CreateLinuxPlatform(&argc, &argv);
    if (!platform) return 1;
    AfxRuntime runtime(*platform, ProgramResources());
    CDialog mainWindow(IDD_VISTREL_DIALOG);
    return mainWindow.DoModal() < 0 ? 1 : 0;
}
