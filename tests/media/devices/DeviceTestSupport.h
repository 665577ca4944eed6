// What the device tests share: a folder of test-device files that VISTREL_TEST_DEVICES names, a
// bounded pump of the default main context, and walks over categories and pins.
#pragma once

#include <gst/gst.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/media/Media.h"

namespace vistrel::test {

// A fresh temporary folder named by VISTREL_TEST_DEVICES for the test's lifetime.
class TestDeviceFolder {
public:
    TestDeviceFolder();
    ~TestDeviceFolder();
    TestDeviceFolder(const TestDeviceFolder&) = delete;
    TestDeviceFolder& operator=(const TestDeviceFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string FilePath(const std::string& name) const;
    // Written whole at once (a temporary file renamed into place), as a careful writer does.
    void Write(const std::string& name, const std::string& contents) const;
    // Written in place, the way a shell redirection or an editor writes it.
    void WriteInPlace(const std::string& name, const std::string& contents) const;
    void Remove(const std::string& name) const;
    void Rename(const std::string& from, const std::string& to) const;

private:
    std::string m_path;
};

// "[Device]\nName=…\n" with the given extra lines.
std::string DeviceFile(const std::string& name, const std::string& extraLines = "");

// Runs the default main context until `done` holds or the time is up; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Runs the default main context for a while, to let events that should not come show up.
void PumpFor(int ms);

// The friendly names of a category's entries, in order; empty when the category is empty.
std::vector<std::wstring> CategoryNames(ICreateDevEnum& devices, const GUID& category);
// Binds the entry of the category with that name; nullptr when there is none.
ComPtr<IBaseFilter> BindByName(ICreateDevEnum& devices, const GUID& category, const std::wstring& name);
// The first output pin of a filter.
ComPtr<IPin> FirstOutputPin(IBaseFilter& filter);
// The frame sizes of a pin's media types, in order.
std::vector<std::pair<int, int>> PinSizes(IPin& pin);

}  // namespace vistrel::test
