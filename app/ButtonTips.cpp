// The tooltips of the main window's picture buttons, from the catalogue.
#include "TaviDlg.h"
#include "resources/Catalogue.h"

void CTaviDlg::UpdateButtonTips() {
    m_btnHelp.SetToolTipText(GetCatalogueText(6009).c_str());
    m_btnSnapshot.SetToolTipText(GetCatalogueText(6011).c_str());
    m_btnRecordStart.SetToolTipText(GetCatalogueText(6012).c_str());
    m_btnRecordStop.SetToolTipText(GetCatalogueText(6013).c_str());
    m_btnOpenFolder.SetToolTipText(GetCatalogueText(6008).c_str());
}
