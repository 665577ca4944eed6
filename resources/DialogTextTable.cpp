#include "DialogTextTable.h"

#include <string>

#include "Catalogue.h"

void ApplyTextTable(CDialog& dialog, std::span<const DialogTextRow> rows) {
    for (const DialogTextRow& row : rows) {
        const std::wstring text = row.message == 0 ? std::wstring() : GetCatalogueText(row.message);
        switch (row.kind) {
            case 1:
                dialog.SetWindowText(text.c_str());
                break;
            case 2:
            case 4:
                // A row naming a control the template lacks changes nothing.
                if (CWnd* control = dialog.GetDlgItem(static_cast<int>(row.controlId))) {
                    control->SetWindowText(text.c_str());
                }
                break;
            default:
                break;
        }
    }
}
