// The catalogue's language chosen from the machine's, and the dialogs' text tables.
#include <vector>

#include "SimFixture.h"
#include "TestDialogs.h"
#include "resources/Catalogue.h"
#include "resources/CatalogueTables.h"
#include "resources/DialogTextTable.h"

namespace {

class CatalogueTest : public SimTest {
protected:
    std::wstring TextIn(uint16_t systemLangId, uint32_t id) {
        Sim().SystemInfo().SetSystemDefaultLangID(systemLangId);
        return GetCatalogueText(id);
    }
};

TEST_F(CatalogueTest, LanguageIsChosenByExactIdentifierElseEnglish) {
    EXPECT_EQ(TextIn(0x0407, 6011), L"Schnappschuss");
    EXPECT_EQ(TextIn(0x0C07, 6011), L"Snapshot");  // German (Austria)
    EXPECT_EQ(TextIn(0x0807, 6011), L"Snapshot");  // German (Switzerland)
    EXPECT_EQ(TextIn(0x040A, 6011), L"Snapshot");  // Spanish, traditional sort
    EXPECT_EQ(TextIn(0x0C0A, 6011), L"Capturar");
    EXPECT_EQ(TextIn(0x0422, 6011), L"Зробити знімок");
    EXPECT_EQ(TextIn(0x0000, 6011), L"Snapshot");
    EXPECT_EQ(TextIn(0xFFFF, 6011), L"Snapshot");
}

TEST_F(CatalogueTest, HongKongGetsTheTraditionalChineseTexts) {
    // 6011 reads the same in both scripts; every message of Hong Kong must be Taiwan's.
    bool someDifferFromSimplified = false;
    for (uint32_t id = kFirstCatalogueId; id <= kLastCatalogueId; ++id) {
        const std::wstring hongKong = TextIn(0x0C04, id);
        EXPECT_EQ(hongKong, TextIn(0x0404, id)) << id;
        someDifferFromSimplified |= hongKong != TextIn(0x0804, id);
    }
    EXPECT_TRUE(someDifferFromSimplified);
}

TEST_F(CatalogueTest, EveryCatalogueLanguageIsReachableAndAnswersInItsOwnTexts) {
    for (const CatalogueLanguage& language : kCatalogueLanguages) {
        EXPECT_EQ(ChooseCatalogueLanguage(language.langId), language.langId);
        EXPECT_EQ(TextIn(language.langId, 6017), (*language.texts)[6017 - kFirstCatalogueId]);
    }
}

TEST_F(CatalogueTest, TextsKeepTheirBlanksAndUnknownIdsAreEmpty) {
    EXPECT_EQ(TextIn(0x0409, 6026), L"Resolution ");
    EXPECT_EQ(TextIn(0x0409, 6001), L"No video capture device was detected on your system.");
    EXPECT_EQ(TextIn(0x0409, 6045), L"Vistrel does not support saving to removable disk.");
    for (uint32_t id : {0u, 6000u, 6046u, 0xFFFFFFFFu}) {
        EXPECT_EQ(TextIn(0x0409, id), L"") << id;
        EXPECT_EQ(TextIn(0x0407, id), L"") << id;
    }
}

TEST_F(CatalogueTest, EachCallAsksTheSystemAgain) {
    EXPECT_EQ(TextIn(0x0407, 6033), L"Abbrechen");
    EXPECT_EQ(TextIn(0x0409, 6033), L"Cancel");
}

class TextTableDialog : public CDialog {
public:
    explicit TextTableDialog(std::vector<DialogTextRow> rows) : CDialog(TestTemplate()), m_rows(std::move(rows)) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ApplyTextTable(*this, m_rows);
        GetWindowText(caption);
        GetDlgItem(kLabelId)->GetWindowText(label);
        GetDlgItem(IDOK)->GetWindowText(ok);
        GetDlgItem(IDCANCEL)->GetWindowText(cancel);
        GetDlgItem(kPushId)->GetWindowText(push);
        EndDialog(IDOK);
        return TRUE;
    }
    std::wstring caption, label, ok, cancel, push;

private:
    std::vector<DialogTextRow> m_rows;
};

TEST_F(CatalogueTest, TextTableSetsCaptionLabelsAndButtonsInOrderAndSkipsOtherKinds) {
    Sim().SystemInfo().SetSystemDefaultLangID(0x0407);
    TextTableDialog dlg({
        {1, kTestDialogId, 6017},
        {2, kLabelId, 6020},
        {4, IDOK, 6032},
        {4, IDCANCEL, 0},       // message 0: an empty text
        {3, kPushId, 6031},     // another kind: left as the template has it
        {4, 4242, 6031},        // no such control: nothing happens
        {2, kLabelId, 6021},    // a later row wins
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.caption, GetCatalogueText(6017));
    EXPECT_EQ(dlg.label, GetCatalogueText(6021));
    EXPECT_EQ(dlg.ok, L"OK");
    EXPECT_EQ(dlg.cancel, L"");
    EXPECT_EQ(dlg.push, L"Push");
    EXPECT_NE(dlg.caption, L"Video Effects") << "the German caption";
}

}  // namespace
