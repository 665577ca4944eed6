// The common part of the sim's filters: reference count, pins in order (inputs first), the graph
// the filter is in and the media-type rules connections ask about.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "SimFilterPin.h"
#include "SimMediaContext.h"
#include "platform/media/Filters.h"

namespace platform::sim {

class SimGraph;

enum class SimFilterKind { Camera, Microphone, Effect, SmartTee, Grabber, Renderer, AsfWriter, Compressor, Generic };

class SimFilter : public IBaseFilter {
public:
    SimFilter(const SimFilter&) = delete;
    SimFilter& operator=(const SimFilter&) = delete;

    HRESULT QueryInterface(REFIID iid, void** ppv) override;
    uint32_t AddRef() override { return m_refs.Add(); }
    uint32_t Release() override;
    HRESULT EnumPins(ComPtr<IEnumPins>& enumerator) override;
    HRESULT QueryFilterInfo(std::wstring& name) override;

    SimFilterKind Kind() const { return m_kind; }
    SimGraph* Graph() const { return m_graph; }
    const std::wstring& Name() const { return m_name; }
    SimMediaContext& Context() const { return *m_context; }
    const std::shared_ptr<SimMediaContext>& ContextPtr() const { return m_context; }
    SimPin* Pin(PIN_DIRECTION direction, int index) const;
    int PinCount(PIN_DIRECTION direction) const;

    // What an output pin offers, best first. By default what reaches the first input.
    virtual std::vector<AM_MEDIA_TYPE> OfferedTypes(const SimPin& out) const;
    // What an output pin proposes when it connects, best first.
    virtual std::vector<AM_MEDIA_TYPE> ProposedTypes(const SimPin& out) const { return OfferedTypes(out); }
    // Whether an input takes the type as it is. By default any type of the pin's major type.
    virtual bool Accepts(const SimPin& in, const AM_MEDIA_TYPE& type) const;
    // What reaches an input through the converters an intelligent connection inserts.
    virtual AM_MEDIA_TYPE Converted(const SimPin& in, const AM_MEDIA_TYPE& type) const;
    // Whether the filter may join a graph now (a busy device may not).
    virtual HRESULT CanJoin() const { return S_OK; }
    // The graph is about to run.
    virtual HRESULT OnRun() { return S_OK; }
    // Interfaces a pin answers besides IPin.
    virtual void* PinInterface(SimPin& pin, REFIID iid);

    // Kept by the graph: the filter joins under a name and leaves with its pins disconnected.
    void JoinGraph(SimGraph* graph, std::wstring name);
    void LeaveGraph();

protected:
    SimFilter(std::shared_ptr<SimMediaContext> context, SimFilterKind kind);
    virtual ~SimFilter() = default;
    virtual void* FindInterface(REFIID iid);
    SimPin& AddPin(PIN_DIRECTION direction, GUID major = GUID_NULL);
    // Pins handed out stay valid until the filter goes; they just leave the enumeration.
    void RetirePins(PIN_DIRECTION direction);

    const std::shared_ptr<SimMediaContext> m_context;

private:
    RefCount m_refs;
    const SimFilterKind m_kind;
    SimGraph* m_graph = nullptr;
    std::wstring m_name;
    std::vector<std::unique_ptr<SimPin>> m_pins;
    std::vector<std::unique_ptr<SimPin>> m_retired;
};

// A filter with more interfaces than IBaseFilter: one reference count and one lookup for all.
template <class... Extra>
class SimFilterWith : public SimFilter, public Extra... {
public:
    HRESULT QueryInterface(REFIID iid, void** ppv) override { return SimFilter::QueryInterface(iid, ppv); }
    uint32_t AddRef() override { return SimFilter::AddRef(); }
    uint32_t Release() override { return SimFilter::Release(); }

protected:
    using SimFilter::SimFilter;
};

}  // namespace platform::sim
