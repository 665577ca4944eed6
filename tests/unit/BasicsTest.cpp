// Result codes, identifiers, reference counting, text conversion and dialog-unit mapping.
#include <gtest/gtest.h>

#include "framework/DialogTemplate.h"
#include "platform/Strings.h"
#include "platform/Unknown.h"
#include "resources/ResourceIds.h"
#include "resources/Resources.h"

// An interface the counted object does not answer.
class IElsewhere : public IUnknown {};
constexpr IID IID_IElsewhere{1, 2, 3, {}};
DECLARE_INTERFACE_IID(IElsewhere, IID_IElsewhere);

namespace {

class Counted final : public IUnknown {
public:
    explicit Counted(int& destroyed) : m_destroyed(destroyed) {}
    HRESULT QueryInterface(REFIID iid, void** ppv) override {
        if (iid != IID_IUnknown) return *ppv = nullptr, E_NOINTERFACE;
        AddRef();
        *ppv = this;
        return S_OK;
    }
    uint32_t AddRef() override { return m_refs.Add(); }
    uint32_t Release() override {
        const uint32_t left = m_refs.Drop();
        if (left == 0) { ++m_destroyed; delete this; }
        return left;
    }

private:
    ~Counted() = default;
    RefCount m_refs;
    int& m_destroyed;
};

}  // namespace

TEST(BasicsTest, ComPtrKeepsExactlyTheReferencesItTakes) {
    int destroyed = 0;
    {
        auto adopted = ComPtr<Counted>::Adopt(new Counted(destroyed));
        ComPtr<Counted> copy = adopted;
        ComPtr<IUnknown> asUnknown;
        EXPECT_EQ(adopted.As(asUnknown), S_OK);
        ComPtr<IElsewhere> missing;
        EXPECT_EQ(adopted.As(missing), E_NOINTERFACE);
        EXPECT_FALSE(missing);
        copy.Reset();
        EXPECT_EQ(destroyed, 0);
        Counted* raw = adopted.Detach();
        auto retained = ComPtr<Counted>::Retain(raw);  // now two references: the detached one and this
        raw->Release();
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(FAILED(E_FAIL));
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
}

TEST(BasicsTest, GuidsRoundTripThroughTheRegistryForm) {
    const GUID awayMode{0x98A7F580, 0x01F7, 0x48AA, {0x9C, 0x0F, 0x44, 0x35, 0x2C, 0x29, 0xE5, 0xC0}};
    EXPECT_EQ(GuidToString(awayMode), L"{98A7F580-01F7-48AA-9C0F-44352C29E5C0}");
    EXPECT_EQ(GuidFromString(L"{98a7f580-01f7-48aa-9c0f-44352c29e5c0}"), awayMode);
    EXPECT_FALSE(GuidFromString(L"{98A7F580-01F7-48AA-9C0F-44352C29E5C}"));
    EXPECT_FALSE(GuidFromString(L"{98A7F580+01F7-48AA-9C0F-44352C29E5C0}"));
    EXPECT_FALSE(GuidFromString(L"{98A7F580-01F7-48AA-9C0F-44352C29E5CG}"));
}

TEST(BasicsTest, TextConversionNeverFailsOnBadInput) {
    EXPECT_EQ(platform::ToUtf8(L"Schnappschuss \u00e4 \u4e2d \U0001F4F7"), "Schnappschuss \xC3\xA4 \xE4\xB8\xAD \xF0\x9F\x93\xB7");
    EXPECT_EQ(platform::FromUtf8("\xC3\xA4\xE4\xB8\xAD\xF0\x9F\x93\xB7"), L"\u00e4\u4e2d\U0001F4F7");
    // Truncated sequence, overlong encoding, encoded surrogate, stray continuation byte.
    EXPECT_EQ(platform::FromUtf8("a\xE4\xB8"), L"a\uFFFD\uFFFD");
    EXPECT_EQ(platform::FromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");
    EXPECT_EQ(platform::FromUtf8("\xED\xA0\x80x"), L"\uFFFD\uFFFD\uFFFDx");
    EXPECT_EQ(platform::FromUtf8("\x80"), L"\uFFFD");
    // A UTF-16 pair in a wide string is one character; a lone half is replaced.
    EXPECT_EQ(platform::ToUtf8(std::wstring{wchar_t(0xD83D), wchar_t(0xDCF7)}), "\xF0\x9F\x93\xB7");
    EXPECT_EQ(platform::ToUtf8(std::wstring{wchar_t(0xD83D), L'x'}), "\xEF\xBF\xBDx");
}

TEST(BasicsTest, MainTemplateMapsToPixelsLikeTheDialogFontAt96Dpi) {
    const DialogTemplate* main = ProgramResources().FindDialog(IDD_VISTREL_DIALOG);
    ASSERT_NE(main, nullptr);
    const TemplateLoadResult loaded = LoadDialogTemplate(*main);
    ASSERT_TRUE(loaded.dialog) << loaded.error;
    EXPECT_EQ(loaded.dialog->caption, L"Vistrel");
    EXPECT_EQ(loaded.dialog->client, (platform::Size{639, 522}));
    ASSERT_EQ(loaded.dialog->controls.size(), 10u);
    auto rect = [&](int id) {
        for (const LoadedControl& c : loaded.dialog->controls)
            if (c.id == id) return c.rect;
        ADD_FAILURE() << id;
        return CRect{};
    };
    EXPECT_EQ(rect(IDC_STATIC_PREVIEW), (CRect{0, 0, 638, 478}));
    // Rounded edges keep neighbours adjacent: 155..177 units are 233..266 pixels.
    EXPECT_EQ(rect(IDC_BTN_OPEN_FOLDER), (CRect{233, 486, 266, 510}));
    EXPECT_EQ(rect(IDC_BTN_RECORD_START), rect(IDC_BTN_RECORD_STOP));
    EXPECT_EQ(rect(IDC_STATIC_SCREENSAVER), (CRect{5, 483, 131, 505}));
    EXPECT_EQ(MulDiv(-3, 6, 4), -5);  // half away from zero
}
