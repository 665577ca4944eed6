// A sim platform with media helpers: devices bound by name, pins by direction and index, graphs.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimFixture.h"
#include "platform/Strings.h"

class SimMediaTest : public SimTest {
protected:
    platform::sim::SimMedia& Media() { return Sim().Media(); }

    ComPtr<ICreateDevEnum> DevEnum() {
        ComPtr<ICreateDevEnum> devEnum;
        EXPECT_EQ(platform::CreateInstance(Media(), CLSID_SystemDeviceEnum, devEnum), S_OK);
        return devEnum;
    }

    // The filter of the first entry of the category with that friendly name.
    ComPtr<IBaseFilter> Bind(const GUID& category, const std::wstring& name) {
        ComPtr<IEnumMoniker> monikers;
        (void)DevEnum()->CreateClassEnumerator(category, monikers);
        ComPtr<IMoniker> moniker;
        while (monikers && monikers->Next(moniker) == S_OK) {
            ComPtr<IPropertyBag> bag;
            std::wstring read;
            if (FAILED(moniker->BindToStorage(bag)) || FAILED(bag->Read(L"FriendlyName", read)) || read != name) continue;
            ComPtr<IBaseFilter> filter;
            EXPECT_EQ(moniker->BindToObject(filter), S_OK);
            return filter;
        }
        ADD_FAILURE() << "no entry named " << platform::ToUtf8(name);
        return {};
    }
    ComPtr<IBaseFilter> Camera(const std::wstring& name) { return Bind(CLSID_VideoInputDeviceCategory, name); }

    template <class T>
    ComPtr<T> Create(const CLSID& clsid) {
        ComPtr<T> object;
        EXPECT_EQ(platform::CreateInstance(Media(), clsid, object), S_OK);
        return object;
    }
    ComPtr<IBaseFilter> Filter(const CLSID& clsid) { return Create<IBaseFilter>(clsid); }
    ComPtr<IGraphBuilder> Graph() { return Create<IGraphBuilder>(CLSID_FilterGraph); }

    // The n-th pin of a direction, counting from 0 in the filter's order.
    static ComPtr<IPin> Pin(const ComPtr<IBaseFilter>& filter, PIN_DIRECTION wanted, int n) {
        ComPtr<IEnumPins> pins;
        EXPECT_EQ(filter->EnumPins(pins), S_OK);
        ComPtr<IPin> pin;
        while (pins->Next(pin) == S_OK) {
            PIN_DIRECTION direction;
            (void)pin->QueryDirection(direction);
            if (direction == wanted && n-- == 0) return pin;
        }
        return {};
    }
    static ComPtr<IPin> Out(const ComPtr<IBaseFilter>& filter, int n = 0) { return Pin(filter, PINDIR_OUTPUT, n); }
    static ComPtr<IPin> In(const ComPtr<IBaseFilter>& filter, int n = 0) { return Pin(filter, PINDIR_INPUT, n); }

    static std::vector<AM_MEDIA_TYPE> Types(const ComPtr<IPin>& pin) {
        ComPtr<IEnumMediaTypes> types;
        EXPECT_EQ(pin->EnumMediaTypes(types), S_OK);
        std::vector<AM_MEDIA_TYPE> all;
        (void)types->Next(500, all);
        return all;
    }

    template <class T>
    static ComPtr<T> As(const ComPtr<IGraphBuilder>& graph) {
        ComPtr<T> out;
        EXPECT_EQ(graph.As(out), S_OK);
        return out;
    }
};
