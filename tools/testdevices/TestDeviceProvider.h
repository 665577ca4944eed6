// The test-device provider: cameras and microphones declared by files in the folder named by
// VISTREL_TEST_DEVICES, plugged and unplugged as the files come and go.
#pragma once

namespace vistrel::testdevices {

// The environment variable that names the folder.
inline constexpr char kFolderVariable[] = "VISTREL_TEST_DEVICES";

// Registers the provider with GStreamer (initialised already) as a static plugin; later calls
// only report the first one's result. A device monitor started afterwards lists the devices
// of the folder named by the variable at that time.
bool RegisterTestDeviceProvider();

}  // namespace vistrel::testdevices
