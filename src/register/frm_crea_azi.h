// The creation of a company frmCreaAzi: code, identifier, description and file of the new
// company; on confirmation the base file is copied, the register row added, the data form opened
// on the new database and, when asked, the batch window shown after it.
// Never stores a company that its checks refused, and never overwrites a file.
#pragma once

#include <string>

#include "register/company_creation.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class frmCreaAzi : public ui::Form {
  public:
    frmCreaAzi();

    ui::Label& LabCodice = add<ui::Label>("LabCodice");
    ui::TextBox& txtCodice = add<ui::TextBox>("txtCodice");
    ui::Label& LabIdAzienda = add<ui::Label>("LabIdAzienda");
    ui::TextBox& txtIdAzienda = add<ui::TextBox>("txtIdAzienda");
    ui::Label& LabDescrizione = add<ui::Label>("LabDescrizione");
    ui::TextBox& txtDescrizione = add<ui::TextBox>("txtDescrizione");
    ui::Label& LabNomeDB = add<ui::Label>("LabNomeDB");
    ui::TextBox& txtNomeDB = add<ui::TextBox>("txtNomeDB");
    ui::CheckBox& CheBatch = add<ui::CheckBox>("CheBatch");
    ui::CommandButton& comOk = add<ui::CommandButton>("comOk");
    ui::CommandButton& ComAnnulla = add<ui::CommandButton>("ComAnnulla");

    std::string osKeySec;
    int oiLoadOk() const { return miLoadOk; }
    // The file of the company created last, empty until one is.
    const std::string& osNuovoDb() const { return msNuovoDb; }

    void Form_Load() override;
    void Form_Unload(bool& Cancel) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void comOk_Click();
    void ComAnnulla_Click();

  private:
    void txtIdAzienda_Change();

    CompanyFiles mFiles;
    std::string msFileProposto;
    std::string msNuovoDb;
    int miLoadOk = 0;
};

}  // namespace tolvane
