#include "Monikers.h"

#include <memory>
#include <utility>

namespace platform::gst {
namespace {

// The reference counting every object here shares.
template <class Interface>
class Counted : public Interface {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid != IID_IUnknown && iid != m_iid) return E_NOINTERFACE;
        AddRef();
        *object = static_cast<Interface*>(this);
        return S_OK;
    }
    uint32_t AddRef() override { return m_refs.Add(); }
    uint32_t Release() override {
        uint32_t left = m_refs.Drop();
        if (left == 0) delete this;
        return left;
    }

protected:
    explicit Counted(const IID& iid) : m_iid(iid) {}
    virtual ~Counted() = default;

private:
    RefCount m_refs;
    IID m_iid;
};

class PropertyBag final : public Counted<IPropertyBag> {
public:
    explicit PropertyBag(std::wstring friendlyName) : Counted(IID_IPropertyBag), m_friendlyName(std::move(friendlyName)) {}

    HRESULT Read(const std::wstring& name, std::wstring& value) override {
        if (name != L"FriendlyName") return E_INVALIDARG;
        value = m_friendlyName;
        return S_OK;
    }

private:
    std::wstring m_friendlyName;
};

class Moniker final : public Counted<IMoniker> {
public:
    explicit Moniker(std::shared_ptr<const CategoryEntry> entry) : Counted(IID_IMoniker), m_entry(std::move(entry)) {}

    HRESULT BindToStorage(ComPtr<IPropertyBag>& bag) override {
        bag = ComPtr<IPropertyBag>::Adopt(new PropertyBag(m_entry->friendlyName));
        return S_OK;
    }

    HRESULT BindToObject(ComPtr<IBaseFilter>& filter) override {
        filter = m_entry->bind ? m_entry->bind() : ComPtr<IBaseFilter>();
        return filter ? S_OK : E_FAIL;
    }

private:
    std::shared_ptr<const CategoryEntry> m_entry;
};

class MonikerEnumerator final : public Counted<IEnumMoniker> {
public:
    explicit MonikerEnumerator(std::vector<CategoryEntry> entries) : Counted(IID_IUnknown) {
        for (CategoryEntry& entry : entries) m_entries.push_back(std::make_shared<const CategoryEntry>(std::move(entry)));
    }

    HRESULT Next(ComPtr<IMoniker>& moniker) override {
        if (m_next >= m_entries.size()) {
            moniker.Reset();
            return S_FALSE;
        }
        moniker = ComPtr<IMoniker>::Adopt(new Moniker(m_entries[m_next++]));
        return S_OK;
    }

    HRESULT Reset() override {
        m_next = 0;
        return S_OK;
    }

private:
    std::vector<std::shared_ptr<const CategoryEntry>> m_entries;
    size_t m_next = 0;
};

}  // namespace

ComPtr<IEnumMoniker> CreateMonikerEnumerator(std::vector<CategoryEntry> entries) {
    return ComPtr<IEnumMoniker>::Adopt(new MonikerEnumerator(std::move(entries)));
}

}  // namespace platform::gst
