// The editable list frmPersVedrix: the rows of table Personalizzazioni of one database (the
// common one, or a company's), whose value the user changes and saves, and prints as a list.
// Never changes a row's key: only the value of the chosen row is written.
#pragma once

#include <string>

#include "register/list_window.h"
#include "ui/controls.h"

namespace tolvane {

class frmPersVedrix : public ListWindow {
  public:
    frmPersVedrix();

    ui::Label& LabValore;
    ui::TextBox& txtValore;

    // The database whose settings are listed; gsIdDbase (the common database) when empty.
    std::string osIdDbase;

    // Lists the settings of the database idDb under the caption's suffix.
    void ApriLista(const std::string& psIdDb, const std::string& psTitolo);

    void ButtonComando(const std::string& psKey) override;
    void DatRefresh() override;
    // Writes txtValore into the chosen row.
    void Salva();

  private:
    std::string database() const;
    void grdLista_Click();

    std::string msCaption;
};

}  // namespace tolvane
