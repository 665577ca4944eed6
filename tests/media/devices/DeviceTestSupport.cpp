#include "DeviceTestSupport.h"

#include <glib/gstdio.h>
#include <gtest/gtest.h>

#include <fstream>

namespace vistrel::test {

TestDeviceFolder::TestDeviceFolder() {
    gchar* path = g_dir_make_tmp("vistrel-devices-XXXXXX", nullptr);
    m_path = path;
    g_free(path);
    g_setenv("VISTREL_TEST_DEVICES", m_path.c_str(), TRUE);
}

TestDeviceFolder::~TestDeviceFolder() {
    g_unsetenv("VISTREL_TEST_DEVICES");
    if (GDir* dir = g_dir_open(m_path.c_str(), 0, nullptr)) {
        while (const char* name = g_dir_read_name(dir)) g_unlink(FilePath(name).c_str());
        g_dir_close(dir);
    }
    g_rmdir(m_path.c_str());
}

std::string TestDeviceFolder::FilePath(const std::string& name) const { return m_path + "/" + name; }

void TestDeviceFolder::Write(const std::string& name, const std::string& contents) const {
    ASSERT_TRUE(g_file_set_contents(FilePath(name).c_str(), contents.data(), gssize(contents.size()), nullptr));
}

void TestDeviceFolder::WriteInPlace(const std::string& name, const std::string& contents) const {
    std::ofstream out(FilePath(name), std::ios::binary);
    out << contents;
}

void TestDeviceFolder::Remove(const std::string& name) const { ASSERT_EQ(g_unlink(FilePath(name).c_str()), 0); }

void TestDeviceFolder::Rename(const std::string& from, const std::string& to) const {
    ASSERT_EQ(g_rename(FilePath(from).c_str(), FilePath(to).c_str()), 0);
}

std::string DeviceFile(const std::string& name, const std::string& extraLines) {
    return "[Device]\nName=" + name + "\n" + extraLines;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    bool expired = false;
    guint timer = g_timeout_add(
        guint(timeoutMs),
        [](gpointer flag) {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &expired);
    // Streaming threads change things without waking the context: look again now and then.
    guint tick = g_timeout_add(10, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    while (!done() && !expired) g_main_context_iteration(nullptr, TRUE);
    g_source_remove(tick);
    if (!expired) g_source_remove(timer);
    return done();
}

void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

std::vector<std::wstring> CategoryNames(ICreateDevEnum& devices, const GUID& category) {
    std::vector<std::wstring> names;
    ComPtr<IEnumMoniker> monikers;
    if (devices.CreateClassEnumerator(category, monikers) != S_OK) return names;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(moniker) == S_OK) {
        ComPtr<IPropertyBag> bag;
        std::wstring name;
        EXPECT_EQ(moniker->BindToStorage(bag), S_OK);
        EXPECT_EQ(bag->Read(L"FriendlyName", name), S_OK);
        names.push_back(name);
    }
    return names;
}

ComPtr<IBaseFilter> BindByName(ICreateDevEnum& devices, const GUID& category, const std::wstring& name) {
    ComPtr<IEnumMoniker> monikers;
    if (devices.CreateClassEnumerator(category, monikers) != S_OK) return {};
    ComPtr<IMoniker> moniker;
    while (monikers->Next(moniker) == S_OK) {
        ComPtr<IPropertyBag> bag;
        std::wstring found;
        if (FAILED(moniker->BindToStorage(bag)) || FAILED(bag->Read(L"FriendlyName", found)) || found != name) continue;
        ComPtr<IBaseFilter> filter;
        EXPECT_EQ(moniker->BindToObject(filter), S_OK);
        return filter;
    }
    return {};
}

ComPtr<IPin> FirstOutputPin(IBaseFilter& filter) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter.EnumPins(pins))) return {};
    ComPtr<IPin> pin;
    while (pins->Next(pin) == S_OK) {
        PIN_DIRECTION direction = PINDIR_INPUT;
        if (SUCCEEDED(pin->QueryDirection(direction)) && direction == PINDIR_OUTPUT) return pin;
    }
    return {};
}

std::vector<std::pair<int, int>> PinSizes(IPin& pin) {
    std::vector<std::pair<int, int>> sizes;
    ComPtr<IEnumMediaTypes> types;
    if (FAILED(pin.EnumMediaTypes(types))) return sizes;
    std::vector<AM_MEDIA_TYPE> all;
    (void)types->Reset();
    (void)types->Next(500, all);
    for (const AM_MEDIA_TYPE& type : all)
        if (auto vih = ReadVideoInfo(type)) sizes.emplace_back(vih->bmiHeader.biWidth, vih->bmiHeader.biHeight);
    return sizes;
}

}  // namespace vistrel::test
