// The grid of companies frmTolvane: the companies of the register that the current login, group
// and terminal may use, with the keys that open a company's data form, create a company and
// print the list. Never shows a company its access lists keep from this user.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "register/company_register.h"
#include "register/list_window.h"
#include "ui/controls.h"

namespace tolvane {

class frmTolvane : public ListWindow {
  public:
    frmTolvane();

    ui::Label& LabUtente;

    // The companies shown, in the grid's order.
    const std::vector<CompanyRow>& Aziende() const { return maAziende; }

    void ButtonComando(const std::string& psKey) override;
    void DatRefresh() override;
    void Form_Unload(bool& Cancel) override;
    // Opens the data form of the chosen company on its database.
    void Azienda();
    // Opens the creation of a company.
    void CreaAzienda();

  private:
    std::vector<CompanyRow> maAziende;
};

class frmDatiAzie;

// Opens the company-data form on a company database, brought forward when it already shows that
// database and started anew when it shows another; nullptr when the database did not open (the
// form has said why and is closed again).
frmDatiAzie* ApriDatiAzienda(const std::filesystem::path& file, const std::string& psConnect,
                             const std::string& psPwd, const std::string& psKeySec);

// Registers the register's windows that the menu may open by name: "frmtolvane", "frmpersonal".
void registraFinestreArchivio();

}  // namespace tolvane
