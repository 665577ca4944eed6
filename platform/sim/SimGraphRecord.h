// What a test reads of a graph the program made: its filters by name, its connections, the state
// changes on the virtual clock and the video window. The record outlives the graph; once the
// program has released the graph it is marked released and keeps its last contents.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SimFilter.h"
#include "platform/Types.h"
#include "platform/media/Graph.h"

namespace platform::sim {

struct SimConnection {
    enum class How { Direct, Intelligent, Render };
    std::wstring from;
    int fromPin = 0;  // output index
    std::wstring to;
    int toPin = 0;    // input index
    How how = How::Direct;
    friend bool operator==(const SimConnection&, const SimConnection&) = default;
};

[[nodiscard]] const char* SimHowName(SimConnection::How how);

struct SimStateChange {
    FILTER_STATE requested = State_Stopped;
    HRESULT result = S_OK;
    uint64_t at = 0;  // virtual time of the request
};

struct SimVideoWindowState {
    WindowHandle owner;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t style = 0;
    bool visible = false;
    int32_t state = SW_HIDE_STATE;
    bool fullScreen = false;
    WindowHandle drain;
};

struct SimWindowChange {
    std::string property;  // "Owner", "Left", "Top", "Width", "Height", "WindowStyle", "Visible",
                           // "WindowState", "FullScreenMode", "MessageDrain"
    int64_t value = 0;     // window handles by their value, flags as 0 or 1
    friend bool operator==(const SimWindowChange&, const SimWindowChange&) = default;
};

struct SimGraphFilter {
    std::wstring name;
    ComPtr<SimFilter> filter;  // kept after the graph is released, so its records stay readable
};

struct SimGraphRecord {
    int id = 0;  // 1 for the first graph made
    bool released = false;
    std::vector<SimGraphFilter> filters;       // in the graph now, in order of addition
    std::vector<SimConnection> connections;    // joined now, in order of connection
    std::vector<SimStateChange> stateChanges;  // every Run, Pause and Stop, failed ones too
    SimVideoWindowState window;
    std::vector<SimWindowChange> windowChanges;  // every accepted put_ call in order
    std::vector<std::string> events;             // this graph's lines of the media log
    int unsettledInfiniteWaits = 0;  // GetState(INFINITE) calls that gave up on a stop that never settles

    bool IsReleased() const { return released; }
    std::vector<std::wstring> FilterNames() const;
    SimFilter* Filter(const std::wstring& name) const;
    template <class T>
    T* FilterAs(const std::wstring& name) const { return dynamic_cast<T*>(Filter(name)); }
    // The connection leaving output `pin` of `from`, if any.
    const SimConnection* ConnectionFrom(const std::wstring& from, int pin) const;
};

}  // namespace platform::sim
