// Vistrel's entry point: the real platform, the program's resources, and the application.
#include "LinuxPlatform.h"
#include "TaviApp.h"
#include "framework/Runtime.h"
#include "resources/Resources.h"

int main(int argc, char** argv) {
    auto platform = platform::CreateLinuxPlatform(&argc, &argv);
    if (!platform) return 1;
    AfxRuntime runtime(*platform, ProgramResources());
    CTaviApp app;
    return app.Run();
}
