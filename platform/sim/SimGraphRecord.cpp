#include "SimGraphRecord.h"

namespace platform::sim {

const char* SimHowName(SimConnection::How how) {
    switch (how) {
    case SimConnection::How::Direct: return "direct";
    case SimConnection::How::Intelligent: return "intelligent";
    case SimConnection::How::Render: return "render";
    }
    return "?";
}

std::vector<std::wstring> SimGraphRecord::FilterNames() const {
    std::vector<std::wstring> names;
    for (const SimGraphFilter& f : filters) names.push_back(f.name);
    return names;
}

SimFilter* SimGraphRecord::Filter(const std::wstring& name) const {
    for (const SimGraphFilter& f : filters)
        if (f.name == name) return f.filter.Get();
    return nullptr;
}

const SimConnection* SimGraphRecord::ConnectionFrom(const std::wstring& from, int pin) const {
    for (const SimConnection& c : connections)
        if (c.from == from && c.fromPin == pin) return &c;
    return nullptr;
}

}  // namespace platform::sim
