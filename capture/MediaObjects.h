// Media objects by class, from the platform the program runs on.
#pragma once

#include "platform/Platform.h"

template <class T>
[[nodiscard]] HRESULT CreateMediaObject(const CLSID& clsid, ComPtr<T>& out) {
    return platform::CreateInstance(platform::Current().Media(), clsid, out);
}
