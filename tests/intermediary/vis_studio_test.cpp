// The intermediary record on a real common database: load from a stored row and from an empty
// table, the mirrors of flags and sex, the no-date text, column sizes, and what a save stores.
#include <gtest/gtest.h>

#include "intermediary/studio_fixture.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

TEST_F(StudioTest, StoredRowFillsEveryFieldFromItsColumn) {
    sql("INSERT INTO TabStudio (CodFiscIntermediario, NumIscrAlboCaf, TabStuCampo0, TabStuCampo1, "
        "TabStuCampo2, TipoFor, CodFiscFor, CognomeFor, NomeFor, ComuneNascitaFor, CapResidFor, "
        "DenominazioneFor, CapFiscFor, ComuneCaf, CodFiscRespCafProf, UltimoProt, NumCopieDichPer, "
        "NumRigheModulo, NumRigheTesta, TabStuData1, DataNascitaFor) VALUES ('12345678903', "
        "'A123', 'Mario Rossi', '02 1234', 'studio@example.it', '10', 'RSSMRA80A01H501U', "
        "'Rossi', 'Mario', 'Milano', '20100', 'Studio Srl', '00100', 'Roma', 'RSSMRA80A01H501U', "
        "'123456', '2', '66', '3', '2024-03-15', '1980-01-01')");
    sql("INSERT INTO TabStudio (CognomeFor) VALUES ('Secondo')");
    apri();
    const std::pair<int, const char*> attesi[] = {{30, "12345678903"},
                                                  {40, "A123"},
                                                  {35, "Mario Rossi"},
                                                  {57, "02 1234"},
                                                  {58, "studio@example.it"},
                                                  {32, "10"},
                                                  {2040, "RSSMRA80A01H501U"},
                                                  {3010, "Rossi"},
                                                  {3020, "Mario"},
                                                  {3050, "Milano"},
                                                  {3100, "20100"},
                                                  {4010, "Studio Srl"},
                                                  {4090, "00100"},
                                                  {5010, "Roma"},
                                                  {5050, "RSSMRA80A01H501U"},
                                                  {20, "123456"},
                                                  {60, "2"},
                                                  {70, "66"},
                                                  {80, "3"},
                                                  {46, "15/03/2024"},
                                                  {3040, "01/01/1980"}};
    for (const auto& [campo, testo] : attesi) EXPECT_EQ(form->txt(campo).text(), testo) << campo;
    EXPECT_EQ(form->oiLoadOk(), 1);
    // Hidden columns go back as loaded.
    vaiPagina(3);
    ui::user::fill(form->txt(3010), "Bianchi");
    conferma();
    EXPECT_EQ(salvato("UltimoProt"), "123456");
    EXPECT_EQ(salvato("NumCopieDichPer"), "2");
    EXPECT_EQ(salvato("NumRigheModulo"), "66");
    EXPECT_EQ(salvato("NumRigheTesta"), "3");
    // Only the first row is loaded and edited.
    EXPECT_EQ(dbtest::queryOne(file,
                               "SELECT group_concat(CognomeFor, ',') FROM "
                               "(SELECT CognomeFor FROM TabStudio ORDER BY rowid)"),
              "Bianchi,Secondo");
}

TEST_F(StudioTest, EmptyTableShowsTheDefaultsThenSaveAddsOneRowAndEditsIt) {
    apri();
    for (int campo : {30, 20, 46, 3040}) EXPECT_EQ(form->txt(campo).text(), "") << campo;
    EXPECT_EQ(form->txt(60).text(), "1");
    EXPECT_EQ(form->txt(3030).text(), "F");
    for (int casella : {10, 55, 2020, 42, 44}) EXPECT_EQ(form->Che(casella).value(), 0) << casella;
    EXPECT_TRUE(form->OptSessoFor(1).value());
    EXPECT_FALSE(form->OptSessoFor(0).value());
    EXPECT_EQ(righe(), 0);

    conferma();
    ASSERT_EQ(righe(), 1);
    for (const char* flag :
         {"StampoPagRic", "FirmaInRicPres", "FirmaRespCafProf", "TabStuCampo3", "TabStuCampo4"}) {
        EXPECT_EQ(salvato(flag), "N") << flag;
    }
    EXPECT_EQ(salvato("NumCopieDichPer"), "1");
    EXPECT_EQ(salvato("SessoFor"), "F");
    for (const char* vuota : {"CodFiscIntermediario", "TabStuData1", "CognomeFor", "CapCaf"}) {
        EXPECT_EQ(salvato(vuota), "NULL") << vuota;
    }
    const ui::ScriptedDriver::Shown& fatto = driver.shown().back();
    EXPECT_EQ(fatto.title, "Dati per IVA Periodica");
    EXPECT_EQ(fatto.buttons, std::vector<std::string>{"&Ok"});

    vaiPagina(4);
    ui::user::fill(form->txt(4010), "Studio Beta");
    conferma();
    EXPECT_EQ(righe(), 1);
    EXPECT_EQ(salvato("DenominazioneFor"), "Studio Beta");
    EXPECT_EQ(form->txt(4010).text(), "Studio Beta");
    // The save sends nothing to the menu.
    for (const std::string& r : goMenuClient->requests()) EXPECT_NE(r, "Tutti.Refresh");
}

// A date column holding the no-date text shows nothing and is saved back as Null.
TEST_F(StudioTest, FlagsSexAndNoDateFollowTheirStoredTextAndAreSavedNormalised) {
    struct Caso {
        const char* colonna;
        int campo;
        const char* memorizzato;
        int casella;  // box value after the load, -1: the sex options, -2: no box
        const char* dopoCarico;
        const char* salvatoCome;
    };
    const Caso casi[] = {
        {"TabStuCampo3", 42, "s", 1, "S", "S"},
        {"TabStuCampo4", 44, "X", 0, "X", "N"},
        {"FirmaInRicPres", 55, "S", 1, "S", "S"},
        {"StampoPagRic", 10, "x", 0, "x", "N"},
        {"FirmaRespCafProf", 2020, "s", 1, "S", "S"},
        {"SessoFor", 3030, "m", -1, "M", "M"},
        {"SessoFor", 3030, "F", -1, "F", "F"},
        {"SessoFor", 3030, "X", -1, "F", "F"},
        {"SessoFor", 3030, "", -1, "F", "F"},
        {"TabStuData1", 46, "01/01/100", -2, "", "NULL"},
        {"DataNascitaFor", 3040, "0100-01-01", -2, "", "NULL"},
        {"DataNascitaFor", 3040, "01/01/0100", -2, "", "NULL"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.colonna);
        sql("DELETE FROM TabStudio");
        sql(std::string("INSERT INTO TabStudio (") + caso.colonna + ") VALUES ('" +
            caso.memorizzato + "')");
        apri();
        if (caso.casella >= 0) {
            EXPECT_EQ(form->Che(caso.campo).value(), caso.casella);
        } else if (caso.casella == -1) {
            EXPECT_EQ(form->OptSessoFor(0).value(), std::string(caso.dopoCarico) == "M");
        }
        EXPECT_EQ(form->txt(caso.campo).text(), caso.dopoCarico);
        conferma();
        EXPECT_EQ(salvato(caso.colonna), caso.salvatoCome);
        form->unload();
    }
}

TEST_F(StudioTest, MaximumLengthsFollowTheColumnSizesAlsoOnAnEmptyTable) {
    // The shipped table with three sizes changed, and no row.
    std::string schema = dbtest::queryOne(
        file, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = 'TabStudio'");
    for (const auto& [prima, dopo] :
         {std::pair<std::string, std::string>{"CodFiscIntermediario VARCHAR(16)",
                                              "CodFiscIntermediario VARCHAR(11)"},
          {"CodFiscRespCafProf VARCHAR(16)", "CodFiscRespCafProf TEXT"},
          {"CognomeFor VARCHAR(24)", "CognomeFor VARCHAR(30)"}}) {
        ASSERT_NE(schema.find(prima), std::string::npos) << prima;
        schema.replace(schema.find(prima), prima.size(), dopo);
    }
    ddl("DROP TABLE TabStudio");
    ddl(schema);
    apri();
    const std::pair<int, int> lunghezze[] = {
        {30, 11}, {3010, 30}, {4010, 60}, {5050, 0}, {32, 2}, {2040, 16}, {40, 5},
        {35, 40}, {57, 12},   {58, 100},  {60, 1},   {20, 1}, {46, 0},
    };
    for (const auto& [campo, lunghezza] : lunghezze) {
        EXPECT_EQ(form->txt(campo).maxLength(), lunghezza) << campo;
    }
}

}  // namespace
}  // namespace tolvane::testing
