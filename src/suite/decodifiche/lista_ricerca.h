// The look-up list window frmListaRicerca: the rows of one code table, within a filter, from
// which the user picks one (modal). Knows no page and no field: the caller reads RetVal.
// Never changes the table it lists.
#pragma once

#include <string>
#include <vector>

#include "db/gestore_db.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

// What the caller hands to the list before showing it.
struct ParametriRicerca {
    std::string titolo;
    std::string tabella;
    std::string filtro;               // program SQL, "" for none
    std::vector<std::string> chiavi;  // columns that make the code
    bool conto = false;               // code of the chart of accounts: given without dashes
    GestoreDb* db = nullptr;
    std::string idDb;
};

class frmListaRicerca : public ui::Form {
  public:
    frmListaRicerca();

    ParametriRicerca ovLeggiPar;
    std::vector<std::string> ColonneRicerca;  // columns shown, in order
    std::string RetVal;                       // the picked code, "" when nothing was picked

    ui::Grid* ListaRicerca = nullptr;
    ui::CommandButton* comOk = nullptr;
    ui::CommandButton* ComAnnulla = nullptr;

    void Form_Load() override;
    // Reads the rows of ovLeggiPar into the list (heading row first, ordered by the code).
    void CaricaLista();
    int NumeroRighe() const { return righe_; }
    // The code of list row `riga` (1-based, as the grid counts below its heading).
    std::string CodiceRiga(int riga) const;

    void comOk_Click();
    void ComAnnulla_Click();
    void ListaRicerca_DblClick();

  private:
    std::vector<std::vector<std::string>> codici_;  // key values per row
    int righe_ = 0;
};

}  // namespace tolvane
