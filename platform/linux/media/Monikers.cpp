#include "Monikers.h"

#include <memory>
#include <utility>

#include "platform/ComObject.h"

namespace platform::gst {
namespace {

class PropertyBag final : public SingleComObject<IPropertyBag> {
public:
    explicit PropertyBag(std::wstring friendlyName) : m_friendlyName(std::move(friendlyName)) {}

    HRESULT Read(const std::wstring& name, std::wstring& value) override {
        if (name != L"FriendlyName") return E_INVALIDARG;
        value = m_friendlyName;
        return S_OK;
    }

private:
    std::wstring m_friendlyName;
};

class Moniker final : public SingleComObject<IMoniker> {
public:
    explicit Moniker(std::shared_ptr<const CategoryEntry> entry) : m_entry(std::move(entry)) {}

    HRESULT BindToStorage(ComPtr<IPropertyBag>& bag) override {
        bag = MakeComObject<PropertyBag>(m_entry->friendlyName);
        return S_OK;
    }

    HRESULT BindToObject(ComPtr<IBaseFilter>& filter) override {
        filter = m_entry->bind ? m_entry->bind() : ComPtr<IBaseFilter>();
        return filter ? S_OK : E_FAIL;
    }

private:
    std::shared_ptr<const CategoryEntry> m_entry;
};

class MonikerEnumerator final : public SingleComObject<IEnumMoniker> {
public:
    explicit MonikerEnumerator(std::vector<CategoryEntry> entries) {
        for (CategoryEntry& entry : entries) m_entries.push_back(std::make_shared<const CategoryEntry>(std::move(entry)));
    }

    HRESULT Next(ComPtr<IMoniker>& moniker) override {
        if (m_next >= m_entries.size()) {
            moniker.Reset();
            return S_FALSE;
        }
        moniker = MakeComObject<Moniker>(m_entries[m_next++]);
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
    return MakeComObject<MonikerEnumerator>(std::move(entries));
}

}  // namespace platform::gst
