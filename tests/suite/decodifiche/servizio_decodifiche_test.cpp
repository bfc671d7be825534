// The decoding service on a company database built from the shipped schema: codes of each kind
// decoded with filters and asked-for columns, "** INESISTENTE **", and the modal look-up list.
#include "suite/decodifiche/servizio_decodifiche.h"

#include <gtest/gtest.h>

#include "db/base_database.h"
#include "db/db_test_folder.h"
#include "suite/decodifiche/lista_ricerca.h"
#include "support/error_number.h"
#include "ui/control_array.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane {
namespace {

constexpr const char* kDati =
    "INSERT INTO PagTipi VALUES ('B', 'Ricevuta bancaria', 'S'), ('C', 'Contanti', 'N'),"
    " ('D', 'Rimessa diretta', 's'), ('R', 'Rid', ' s ');"
    "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione) VALUES"
    " ('01', '02', '003', 'Cassa'), ('05', '10', '002', 'Onorari');"
    "INSERT INTO Causali VALUES ('CH1', 'Chiusura', 'CH');"
    "INSERT INTO Spese VALUES ('S1', 'Cassa previdenza', 'S'), ('S2', 'Bolli', 'N');"
    "INSERT INTO Reparti VALUES (5, 'Alimentari', '10');"
    "INSERT INTO Vettori (Vettore, RagSoc) VALUES ('V1', 'Trasporti Veloci');"
    "INSERT INTO Mastri VALUES ('01', '02', 'Disponibilita'), ('03', '02', 'Debiti');";

class DecodificheTest : public ui::WindowTest {
  protected:
    DecodificheTest() {
        createDatabaseFromSchema(folder.file("ditta.db"), schemaPath("company.sql"));
        dbtest::OtherConnection(folder.file("ditta.db"), kDati);
        id = db.ApriConnessione(folder.file("ditta.db"), "", "", {.wal = true});
        servizio = std::make_unique<ServizioDecodifiche>(db, id);
        txt.add(1);
        Lab.add(1);
    }

    dbtest::TempFolder folder;
    GestoreDb db;
    std::string id;
    std::unique_ptr<ServizioDecodifiche> servizio;
    ui::Form form{"frmProva"};
    ui::ControlArray<ui::TextBox> txt{form, "txt"};
    ui::ControlArray<ui::Label> Lab{form, "Lab"};
};

TEST_F(DecodificheTest, EveryKindNamesTablesAndColumnsOfTheCompanySchema) {
    SchemaInfo& schema = db.Schema(id);
    for (const TipoDecodifica& tipo : TipiDecodifica()) {
        const TableInfo* tabella = schema.table(tipo.tabella);
        ASSERT_NE(tabella, nullptr) << tipo.tipo << ": " << tipo.tabella;
        std::vector<std::string> colonne = tipo.chiavi;
        colonne.push_back(tipo.descrizione);
        colonne.insert(colonne.end(), tipo.colonne.begin(), tipo.colonne.end());
        for (const std::string& colonna : colonne) {
            EXPECT_NE(tabella->column(colonna), nullptr) << tipo.tipo << ": " << colonna;
        }
    }
}

TEST_F(DecodificheTest, CodesDecodeByKindFilterAndAskedColumn) {
    struct Caso {
        const char* tipo;
        const char* codice;
        const char* filtro;
        const char* colonna;
        bool trovato;
        const char* descrizione;
        const char* valore;
    };
    const Caso casi[] = {
        {"PagTipo", "B", "", "EmissEffetti", true, "Ricevuta bancaria", "S"},
        {"pagtipo", "b", "", "", true, "Ricevuta bancaria", ""},
        {"PagTipo", "C", "EmissEffetti='S'", "", false, "", ""},
        {"PagTipo", "'", "", "", false, "", ""},
        {"Conto", "01-02-003", "", "", true, "Cassa", ""},
        {"Conto", "0102003", "", "", true, "Cassa", ""},
        {"Conto", "01-02-999", "", "", false, "", ""},
        {"Causale", "CH1", "", "TipoCausale", true, "Chiusura", "CH"},
        {"Spesa", "S1", " CassaPrev = 'S'", "", true, "Cassa previdenza", ""},
        {"Reparto", "5", "", "", true, "Alimentari", ""},
        {"Vettore", "V1", "", "", true, "Trasporti Veloci", ""},
        {"Mastro", "02", "Gruppo='03'", "", true, "Debiti", ""},
        {"PagTipo", "  ", "", "", false, "", ""},
    };
    for (const Caso& c : casi) {
        EsitoDecodifica esito = servizio->Decodifica(c.tipo, c.codice, c.filtro, c.colonna);
        EXPECT_EQ(esito.trovato, c.trovato) << c.tipo << " " << c.codice;
        EXPECT_EQ(esito.descrizione, c.descrizione) << c.tipo << " " << c.codice;
        EXPECT_EQ(esito.colonna.text(), c.valore) << c.tipo << " " << c.codice;
    }
}

TEST_F(DecodificheTest, DecodArtContoShowsDescriptionInesistenteOrNothingAndRefusesUnknownKinds) {
    struct Caso {
        const char* codice;
        bool risultato;
        const char* etichetta;
        const char* colonna;
    };
    const Caso casi[] = {
        {"R", true, "Rid", " s "},
        {"X", false, "** INESISTENTE **", ""},
        {"", true, "", ""},
    };
    for (const Caso& c : casi) {
        Lab(1).setCaption("prima");
        txt(1).setText(c.codice);
        Variant colonna("EmissEffetti");
        EXPECT_EQ(servizio->DecodArtConto("PagTipo", txt(1), &Lab(1), "", &colonna), c.risultato)
            << c.codice;
        EXPECT_EQ(Lab(1).caption(), c.etichetta) << c.codice;
        EXPECT_EQ(colonna.text(), c.colonna) << c.codice;
        EXPECT_EQ(txt(1).text(), c.codice);
    }
    txt(1).setText("A");
    EXPECT_EQ(testing::errorOf([&] { servizio->DecodArtConto("Ignoto", txt(1), &Lab(1)); }), 5);
}

TEST_F(DecodificheTest, LookUpListShowsTheFilteredRowsFillsThePickedCodeOrIsCancelled) {
    std::vector<std::string> righe;
    driver.onForm("frmListaRicerca", [&](ui::Form& f) {
        auto& lista = static_cast<frmListaRicerca&>(f);
        for (int r = 1; r <= lista.NumeroRighe(); ++r) {
            righe.push_back(lista.ListaRicerca->textMatrix(r, 0) + "|" +
                            lista.ListaRicerca->textMatrix(r, 1));
        }
        ui::user::chooseCell(*lista.ListaRicerca, 2, 1);
        ui::user::click(*lista.comOk);
    });
    EXPECT_TRUE(servizio->PreparaHelpRic("PagTipo", "EmissEffetti='S'", txt(1), &Lab(1)));
    EXPECT_EQ(righe, (std::vector<std::string>{"B|Ricevuta bancaria", "D|Rimessa diretta"}));
    EXPECT_EQ(txt(1).text(), "D");
    EXPECT_EQ(Lab(1).caption(), "Rimessa diretta");
    EXPECT_EQ(driver.pendingDescription(), "");

    // A cancelled look-up leaves the field as it was.
    driver.onForm("frmListaRicerca", [](ui::Form& f) {
        ui::user::click(*static_cast<frmListaRicerca&>(f).ComAnnulla);
    });
    EXPECT_FALSE(servizio->PreparaHelpRic("PagTipo", "", txt(1), &Lab(1)));
    EXPECT_EQ(txt(1).text(), "D");
    EXPECT_EQ(Lab(1).caption(), "Rimessa diretta");
    EXPECT_EQ(ui::desktop().findForm("frmListaRicerca"), nullptr);
}

// A user's list of columns keeps the names the table has, as it spells them, once each; no name
// of it reaches the query otherwise.
TEST_F(DecodificheTest, LookUpColumnsAreTheTablesNamesOfTheUsersList) {
    const std::vector<std::string> fisse = {"PagTipo", "Descrizione", "EmissEffetti"};
    struct Caso {
        std::string elenco;
        std::vector<std::string> colonne;
    };
    const Caso casi[] = {
        {"", fisse},
        {" descrizione , pagtipo", {"Descrizione", "PagTipo"}},
        {"Descrizione,Ignota,DESCRIZIONE,", {"Descrizione"}},
        {"Descrizione FROM PagTipi; DROP TABLE PagTipi", fisse},
        {"x,y", fisse},
    };
    for (const Caso& c : casi)
        EXPECT_EQ(servizio->ColonneRicerca("PagTipo", c.elenco), c.colonne) << c.elenco;

    // Whatever the columns shown, the picked row gives its code. The rows reach a display in
    // one change, not one per cell.
    struct Celle : ui::UiObserver {
        int cambi = 0;
        void controlChanged(ui::Control& c, ui::Property p) override {
            cambi += c.name() == "ListaRicerca" && p == ui::Property::Cells;
        }
    } celle;
    ui::desktop().addObserver(&celle);
    std::vector<std::string> intestazione;
    driver.onForm("frmListaRicerca", [&](ui::Form& f) {
        auto& lista = static_cast<frmListaRicerca&>(f);
        EXPECT_LE(celle.cambi, 2);
        for (int c = 0; c < lista.ListaRicerca->cols(); ++c)
            intestazione.push_back(lista.ListaRicerca->textMatrix(0, c));
        ui::user::chooseCell(*lista.ListaRicerca, 2, 0);
        ui::user::click(*lista.comOk);
    });
    EXPECT_TRUE(servizio->PreparaHelpRic("PagTipo", "", txt(1), &Lab(1), "Descrizione"));
    ui::desktop().removeObserver(&celle);
    EXPECT_EQ(intestazione, std::vector<std::string>{"Descrizione"});
    EXPECT_EQ(txt(1).text(), "C");
    EXPECT_EQ(Lab(1).caption(), "Contanti");
}

TEST_F(DecodificheTest, LookUpListOfAccountsGivesTheEditingForm) {
    driver.onForm("frmListaRicerca", [](ui::Form& f) {
        ui::user::dblClick(*static_cast<frmListaRicerca&>(f).ListaRicerca);
    });
    EXPECT_TRUE(servizio->PreparaHelpRic("Conto", "", txt(1), &Lab(1)));
    EXPECT_EQ(txt(1).text(), "0102003");
    EXPECT_EQ(Lab(1).caption(), "Cassa");
}

}  // namespace
}  // namespace tolvane
