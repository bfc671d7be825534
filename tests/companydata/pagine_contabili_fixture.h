// The accounting pages' test glue: the company-data form on a real company database (also on a
// deliberately older file), a few codes of the chart of accounts, and the user's typing.
// Never shares a database between tests.
#pragma once

#include <string>
#include <vector>

#include "companydata/dati_azie_fixture.h"
#include "ui/user_input.h"

namespace tolvane::testing {

class PagineContabiliTest : public DatiAzieTest {
  protected:
    // Replaces the company database by one that lacks the given "Table.Column"s; call before
    // apri().
    void databaseVecchio(const std::vector<std::string>& omesse) {
        file = folder.file("ditta_vecchia.db");
        createDatabaseFromSchema(file, schemaPath("company.sql"), omesse);
    }

    void conto(const std::string& g, const std::string& m, const std::string& c,
               const std::string& descrizione) {
        sql("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione) VALUES ('" + g + "', '" +
            m + "', '" + c + "', '" + descrizione + "')");
    }

    // What a user does: types into the field, then leaves it for another one.
    void digita(int campo, const std::string& testo, int poi) {
        ui::user::fill(form->txt(campo), testo);
        if (testo.empty()) form->txt(campo).setSelText("");
        ui::user::focus(form->txt(poi));
    }

    // Page 14's tab is the last one.
    void vaiContiTrans() { ui::user::chooseTab(*form->TasPagine, form->TasPagine->tabCount()); }

    // A confirmation that must be refused with the message; the save is not reported.
    void rifiutata(int pagina, const std::string& messaggio) {
        driver.answerMessage(messaggio, 1);
        ui::user::click(form->comOk(pagina));
    }

    std::string cauCon(const std::string& colonna) { return salvato(colonna, "TabCauCon"); }
    std::string coge(const std::string& colonna) { return salvato(colonna, "TabCoge"); }

    bool haFocus(const ui::Control& control) const { return form->activeControl() == &control; }
};

}  // namespace tolvane::testing
