// The customer e-mail look-up of the temporary recipient field: F2 to F5 only, the captions of
// the e-mail columns, the picked e-mail column or the default one, and no look-up without an
// open company database.
#include "printing/cerca_email_cliente.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/db_comune.h"
#include "db/base_database.h"
#include "printing/frm_scelta_stam_fixture.h"
#include "suite/lista_ricerca.h"
#include "suite/servizio_decodifiche.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

using ui::user::chooseCell;
using ui::user::click;

// Columns of the list: the account's own, then the four e-mails.
constexpr int kDescrizione = 3;
constexpr int kEmail = 4;
constexpr int kEmail3 = 6;
constexpr int kEmail4 = 7;

class CercaEmailTest : public PdfEmailTest {
  protected:
    CercaEmailTest() {
        std::string common = folder.file("comune.db");
        createDatabaseFromSchema(common, schemaPath("common.sql"));
        idCommon = goDbase().ApriConnessione(common);
        for (const char* row : {"('Clienti', 'DescEmailAmm', '', 'Amministrazione')",
                                "('StAltro', 'EmailPredef', '', '3')"})
            goDbase().EseguiSql(idCommon, std::string("INSERT INTO Personalizzazioni (Sezione, "
                                                      "Chiave, Login, Valore) VALUES ") +
                                              row);
        goMenuClient->setDatabase(&goDbase(), idCommon);

        std::string company = folder.file("ditta.db");
        createDatabaseFromSchema(company, schemaPath("company.sql"));
        idCompany = goDbase().ApriConnessione(company);
        for (const char* row : {"('05', '01', '000001', 'Rossi', 'r@1', 'r@2', '', 'r@4')",
                                "('05', '01', '000002', 'Bianchi', 'b@1', '', 'b@3', '')"})
            goDbase().EseguiSql(idCompany, std::string("INSERT INTO PianoConti (Gruppo, Mastro, "
                                                       "Conto, Descrizione, Email, Email2, Email3, "
                                                       "Email4) VALUES ") +
                                               row);
        goDecodifiche = std::make_unique<ServizioDecodifiche>(goDbase(), idCompany);
    }
    ~CercaEmailTest() override {
        goDecodifiche.reset();
        goMenuClient->setDatabase(nullptr, "");
        goDbase().ChiudiConnessione(idCompany);
        goDbase().ChiudiConnessione(idCommon);
    }

    // The user picks a cell of the list (row from 1) and confirms, or cancels with row 0; the
    // headings of the e-mail columns are kept.
    void pick(int row, int col) {
        driver.onForm("frmListaRicerca", [this, row, col](ui::Form& f) {
            auto& lista = static_cast<frmListaRicerca&>(f);
            headings.clear();
            for (int c = kEmail; c <= kEmail4; ++c)
                headings.push_back(lista.ListaRicerca->textMatrix(0, c));
            if (row == 0) {
                click(*lista.ComAnnulla);
                return;
            }
            chooseCell(*lista.ListaRicerca, row, col);
            click(*lista.comOk);
        });
    }

    std::string idCommon;
    std::string idCompany;
    std::vector<std::string> headings;
};

TEST_F(CercaEmailTest, PickedEmailCellOrTheDefaultColumnFillsTheField) {
    struct Case {
        int key;
        int row;  // 0: cancelled
        int col;
        int noWrite;
        const char* address;
        int column;
        const char* field;
    } cases[] = {
        {ui::key::F4, 1, kDescrizione, 0, "r@1", 0, "r@1"},  // default column 3 empty: main one
        {ui::key::F4, 2, kDescrizione, 0, "b@3", 0, "b@3"},
        {ui::key::F4, 1, kEmail4, 0, "r@4", 4, "r@4"},
        {ui::key::F4, 1, kEmail3, 0, "r@1", 3, "r@1"},  // an empty e-mail cell falls back too
        {ui::key::F4, 2, kEmail, 0, "b@1", 1, "b@1"},
        {ui::key::F2, 0, 0, 0, "", 0, "prima"},
        {ui::key::F5, 1, kEmail4, 1, "r@4", 4, "prima"},  // asked not to write
    };
    FrmSceltaStam& form = openPanel().form;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + "/" + std::to_string(c.col));
        form.txt(1520).setText("prima");
        pick(c.row, c.col);
        int column = -1;
        EXPECT_EQ(CercaEmailCliente(form, 1520, c.key, 0, Variant("x1"), c.noWrite, column),
                  c.address);
        EXPECT_EQ(form.txt(1520).text(), c.field);
        EXPECT_EQ(column, c.column);
        EXPECT_EQ(headings, (std::vector<std::string>{"Principale", "Amministrazione",
                                                      "Commerciale", "Spedizioni"}));
    }
}

TEST_F(CercaEmailTest, OnlyF2ToF5WithoutShiftInTheTemporaryFieldOpenTheList) {
    PdfEmailPanel& panel = openPanel();
    FrmSceltaStam& form = panel.form;
    ui::user::focus(form.txt(1520));
    ui::user::key(form, ui::key::F6);
    ui::user::key(form, ui::key::F3, ui::shift::Shift);
    EXPECT_TRUE(driver.shown().empty());
    pick(2, kEmail);
    ui::user::key(form, ui::key::F3);
    EXPECT_EQ(form.txt(1520).text(), "b@1");
    EXPECT_EQ(form.Lab(1520).caption(), "Bianchi") << "the label beside names the customer";

    int column = -1;
    EXPECT_EQ(CercaEmailCliente(form, 1520, ui::key::F6, 0, Variant("x1"), 0, column), "");
    goDecodifiche.reset();
    ui::user::key(form, ui::key::F2);
    EXPECT_EQ(form.txt(1520).text(), "b@1") << "no company open: no look-up";
}

TEST(ColonnaEmailPredefinita, NumberOrWordNamesTheColumn) {
    struct Case {
        const char* setting;
        int column;
    } cases[] = {
        {"1", 1},          {"2", 2},           {"9", 4},
        {"0", 1},          {"-2", 1},          {"Pri", 1},
        {"Amm", 2},        {"amm", 2},         {"Amministrativo", 2},
        {"Comm", 3},       {"commerciale", 3}, {"Sped", 4},
        {"Spedizione", 4}, {"Spedizioni", 1},  {"boh", 1},
        {"", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColonnaEmailPredefinita(c.setting), c.column) << c.setting;
}

}  // namespace
}  // namespace tolvane::testing
