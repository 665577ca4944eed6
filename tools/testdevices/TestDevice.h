// One test device: a GstDevice whose element is a live videotestsrc (cameras) or audiotestsrc
// (microphones), with the properties the backend reads back.
#pragma once

#include <gst/gst.h>

#include <string>

#include "TestDeviceEntry.h"

namespace vistrel::testdevices {

// Keys of the device's properties structure. "device.path" is the generic one real providers
// set too, so de-duplication treats test devices like any other.
inline constexpr char kPathProperty[] = "device.path";
inline constexpr char kBusyProperty[] = "vistrel.busy";
inline constexpr char kCaptureClassProperty[] = "vistrel.capture-class";

// Test cameras give this packed format, as most webcams do.
inline constexpr char kCameraFormat[] = "YUY2";
inline constexpr int kCameraFramesPerSecond = 30;

// A new device with a floating reference.
[[nodiscard]] GstDevice* NewTestDevice(const TestDeviceEntry& entry, const std::string& path);

// The entry the device was made from, or nullptr for a device that is not one of ours.
[[nodiscard]] const TestDeviceEntry* EntryOfTestDevice(GstDevice* device);

}  // namespace vistrel::testdevices
