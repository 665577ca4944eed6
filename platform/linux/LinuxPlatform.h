// The real backend: GTK3 windows and the POSIX services.
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace platform {

// Initialises GTK with the process's arguments; nullptr (and a message on stderr) when there
// is no display to open.
std::unique_ptr<IPlatform> CreateLinuxPlatform(int* argc, char*** argv);

}  // namespace platform
