// The cash-register page on a real company database: a stored row with its option groups,
// mirrors, accounts and descriptions, the round trip of a save, the department checks with and
// without the procedure installed, and the unloading causal.
#include "companydata/pagina_reg_cassa.h"

#include <gtest/gtest.h>

#include "companydata/dati_azie_fixture.h"

namespace tolvane::testing {
namespace {

const char kReparti[] =
    "Se installato il registratore di cassa, il nr.di reparti attivi è obbligatorio";
const char kReparto[] =
    "Il numero corrispondente al reparto deve essere minore o uguale al nr. di reparti attivi";
const char kCausale[] = "ATT:la causale per generare il movimento di magazzino";

class RegCassaTest : public DatiAzieTest {
  protected:
    // Opens the form on a company whose record says whether the procedure is installed.
    void apriDitta(const char* instRegCassa) {
        apri();
        sql(std::string("INSERT INTO Ditta (InstRegCassa) VALUES ('") + instRegCassa + "')");
    }

    std::string reg(const std::string& colonna) { return salvato(colonna, "TabReg"); }
};

// Typed values are decoded and written as stored ones.
TEST_F(RegCassaTest, StoredRowFillsFieldsOptionsMirrorsAndDescriptions) {
    apriDitta("N");
    conto("05", "01", "000001", "Merci vendute");
    sql("INSERT INTO Causali VALUES ('CS', 'Corrisp. scorporo', 'CO')");
    sql("INSERT INTO Reparti VALUES (2, 'Alimentari', '10')");
    sql("INSERT INTO Reparti VALUES (3, 'Casalinghi', '22')");
    sql("INSERT INTO Listini (Listino, Descrizione) VALUES ('L1', 'Base')");
    sql("INSERT INTO MagCausali VALUES ('SC', 'Scarico', 'N', 'S', '+', 'M', 'C')");
    riga("TabReg",
         "KeyRicScontrino, NumReparti, StRigaScontrino, TipoCorrisp, Assegni, CartaCredito, "
         "Segnalazione, RepFatturazione, CausCorriScor, GruppoMerVen, MastroMerVen, ContoMerVen, "
         "CausScaArti, Listino, TabSconti, RegAttivo, NumCasse",
         "'1', 4, 2, 1, 's', 'N', ' S ', 2, 'CS', '05', '01', '000001', 'SC', 'L1', '2', 'n', 3");
    vaiPagina(10);
    const Campo campi[] = {{10000, "1"}, {10100, "4"},  {10150, "2"}, {10200, "1"},  {10300, "S"},
                           {10350, "N"}, {10050, "S"},  {10850, "2"}, {10900, "n"},  {10910, "3"},
                           {10400, "2"}, {10450, "CS"}, {10650, ""},  {10700, "SC"}, {10750, "L1"}};
    EXPECT_EQ(form->txt(10600).text(), "05-01-000001");
    const Campo descrizioni[] = {{10400, "Alimentari"},    {10450, "Corrisp. scorporo"},
                                 {10600, "Merci vendute"}, {10650, ""},
                                 {10700, "Scarico"},       {10750, "Base"}};
    mostrano(campi);
    descrivono(descrizioni);
    EXPECT_EQ(form->Combo(10000).listIndex(), 1);
    EXPECT_EQ(form->Combo(10850).listIndex(), 1);
    EXPECT_TRUE(form->Opzioni("OptStRigaScontrino")(2).value());
    EXPECT_TRUE(form->Opzioni("OptTipoCorrisp")(1).value());
    EXPECT_EQ(form->Che(10300).value(), ui::check::Checked);
    EXPECT_EQ(form->Che(10900).value(), ui::check::Unchecked);
    digita(10400, "3", 10100);
    EXPECT_EQ(form->Lab(10400).caption(), "Casalinghi");
    digita(10650, "0501000002", 10600);
    conferma(10);
    EXPECT_EQ(reg("Assegni || Segnalazione || RegAttivo || StRigaScontrino || TipoCorrisp || "
                  "RepFatturazione || NumCasse"),
              "SSn2133");
    EXPECT_EQ(reg("GruppoMerVen || '|' || MastroMerVen || '|' || ContoMerVen || '|' || "
                  "GruppoSospesi || '|' || MastroSospesi || '|' || ContoSospesi"),
              "05|01|000001|05|01|000002");
    // Values outside the choices touch nothing, until the combo is left.
    soloRiga(10, "TabReg",
             "KeyRicScontrino, StRigaScontrino, TipoCorrisp, RepFatturazione, TabSconti",
             "'7', 9, NULL, 0, 'x'");
    const Campo fuori[] = {{10000, "7"}, {10150, ""}, {10200, ""}, {10400, ""}, {10850, "x"}};
    mostrano(fuori);
    EXPECT_EQ(form->Lab(10400).caption(), "");
    EXPECT_EQ(form->Combo(10000).listIndex(), -1);
    EXPECT_EQ(form->Combo(10850).listIndex(), 0);
    ui::user::focus(form->Combo(10850));
    ui::user::focus(form->txt(10100));
    EXPECT_EQ(form->txt(10850).text(), "1");
}

TEST_F(RegCassaTest, DepartmentChecksOnlyWhileTheProcedureIsInstalled) {
    struct Caso {
        const char* installato;
        const char* reparti;
        const char* reparto;
        const char* messaggio;  // nullptr: saved
        int focus;
    };
    const Caso casi[] = {
        {"S", "", "", kReparti, 10100},   {"s", "0", "", kReparti, 10100},
        {"S", "4", "5", kReparto, 10400}, {"S", "4", "4", nullptr, 0},
        {"N", "4", "5", nullptr, 0},      {"", "", "", nullptr, 0},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(std::string(c.installato) + "/" + c.reparti + "/" + c.reparto);
        apriDitta(c.installato);
        vaiPagina(10);
        form->txt(10100).setText(c.reparti);
        form->txt(10400).setText(c.reparto);
        if (c.messaggio != nullptr) {
            rifiutata(10, c.messaggio);
            EXPECT_TRUE(haFocus(form->txt(c.focus)));
            EXPECT_EQ(righe("TabReg"), 0);
        } else {
            conferma(10);
            EXPECT_EQ(reg("IFNULL(RepFatturazione, '')"), c.reparto);
        }
        sql("DELETE FROM TabReg");
        sql("DELETE FROM Ditta");
        form->unload();
    }
}

TEST_F(RegCassaTest, UnloadingCausalMustBeANormalPositiveUnloadToCustomers) {
    apriDitta("N");
    sql("INSERT INTO MagCausali VALUES ('SC', 'Scarico', 'N', 'S', '+', 'M', 'C')");
    sql("INSERT INTO MagCausali VALUES ('SN', 'Scarico', 'n', 's', '+', 'm', 'n')");
    sql("INSERT INTO MagCausali VALUES ('CA', 'Carico', 'N', 'C', '+', 'M', 'C')");
    sql("INSERT INTO MagCausali VALUES ('RS', 'Reso', 'N', 'S', '-', 'M', 'C')");
    vaiPagina(10);
    for (const char* buona : {"SC", "SN", "XX", ""}) {
        SCOPED_TRACE(buona);
        digita(10700, buona, 10750);
        EXPECT_FALSE(form->InErrore(10700));
    }
    for (const char* cattiva : {"CA", "RS"}) {
        SCOPED_TRACE(cattiva);
        driver.answerMessage(kCausale, 1);
        digita(10700, cattiva, 10750);
        EXPECT_TRUE(form->InErrore(10700));
    }
    rifiutata(10, "CAMPO ERRATO **  I valori NON sono stati memorizzati");
    EXPECT_EQ(righe("TabReg"), 0);
    digita(10700, "SC", 10750);
    conferma(10);
    EXPECT_EQ(reg("CausScaArti"), "SC");
}

}  // namespace
}  // namespace tolvane::testing
