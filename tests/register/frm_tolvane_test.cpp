// The company grid: who sees which company, the "Azienda" key that opens the data form on the
// chosen row's database, and the "Stampa" key that prints the list.
#include "register/frm_tolvane.h"

#include <gtest/gtest.h>

#include <functional>

#include "printing/azienda_util_stampe.h"
#include "printing/frm_vedrix_stampa.h"
#include "register/company_register.h"
#include "register_fixture.h"
#include "suite/opzioni/opz_stampa.h"
#include "support/memory_printing.h"
#include "support/pdf_check.h"
#include "support/workbook_check.h"

namespace tolvane::testing {
namespace {

class FrmTolvaneTest : public RegisterTest {
  protected:
    static std::string codes(const frmTolvane& f) {
        std::string out;
        for (const CompanyRow& row : f.Aziende()) out += (out.empty() ? "" : ",") + row.Codice;
        return out;
    }
    // Chooses the grid row of a company code.
    static void choose(frmTolvane& f, const std::string& code) {
        for (std::size_t i = 0; i < f.Aziende().size(); ++i) {
            if (f.Aziende()[i].Codice == code) {
                ui::user::chooseCell(f.grdLista, static_cast<int>(i) + 1, 0);
                return;
            }
        }
        ADD_FAILURE() << code << " not in the grid";
    }
};

TEST(AccessLists, NamesAreFoundWithoutRegardToCaseOrBlanks) {
    struct Case {
        std::string list;
        std::string name;
        bool found;
    };
    for (const Case& c : std::vector<Case>{{"admin;mrossi", "MRossi", true},
                                           {" admin ; mrossi ", "mrossi", true},
                                           {"admin;;", "", false},
                                           {"administrator", "admin", false},
                                           {"", "admin", false},
                                           {"CONTAB", " contab ", true}}) {
        EXPECT_EQ(accessListNames(c.list, c.name), c.found) << c.list << " / " << c.name;
    }
}

TEST_F(FrmTolvaneTest, AccessListsOfLoginGroupAndTerminalFilterTheGrid) {
    sql("Delete From Aziende");
    addCompany("APERTA", "002");
    addCompany("UTENTE", "003", "mrossi", "");
    addCompany("GRUPPO", "004", "", "MAGAZ");
    addCompany("ENTRAMBI", "005", "lbianchi", "CONTAB");
    addCompany("TERMINALE", "006", "", "", "CASSA1;UFFICIO");
    addCompany("UTENTETERM", "007", "mrossi", "", "UFFICIO");
    addCompany("VUOTE", "008", " ; ", ";", ";");
    struct Case {
        std::string login, group, terminal;
        std::string expected;  // in Codice order
    };
    for (const Case& c : std::vector<Case>{
             {"mrossi", "CONTAB", "UFFICIO", "APERTA,ENTRAMBI,TERMINALE,UTENTE,UTENTETERM,VUOTE"},
             {"mrossi", "CONTAB", "CASA", "APERTA,ENTRAMBI,UTENTE,VUOTE"},
             {"lbianchi", "MAGAZ", "cassa1", "APERTA,ENTRAMBI,GRUPPO,TERMINALE,VUOTE"},
             {"gverdi", "", "", "APERTA,VUOTE"},
             {"", "", "UFFICIO", "APERTA,TERMINALE,VUOTE"}}) {
        user(c.login, c.group, c.terminal);
        frmTolvane& f = open<frmTolvane>();
        EXPECT_EQ(codes(f), c.expected) << c.login << "/" << c.group << "/" << c.terminal;
        EXPECT_EQ(f.ogVedrix.rows.size(), f.Aziende().size());
        EXPECT_EQ(f.grdLista.rows(), std::max<int>(static_cast<int>(f.Aziende().size()), 1) + 1);
        f.unload();
    }
}

// The row's password is handed over as the menu program deciphers it. A refresh that cannot read
// the register keeps the rows shown, so the chosen row still names its company.
TEST_F(FrmTolvaneTest, AziendaOpensTheDataFormOnTheChosenRowsDatabase) {
    const std::string enciphered = goMenuClient->Parametro("crypt:segreta").text();
    sql("Update Aziende Set PwdDB = '" + enciphered + "' Where Codice = 'ROSSI'");
    std::filesystem::path second = addCompany("BIANCHI", "002");
    frmTolvane& f = open<frmTolvane>();
    ASSERT_EQ(codes(f), "BIANCHI,ROSSI");

    // Each opening reads the print windows' zoom afresh.
    IniFile::writeString(env.mainIni.string(), "Risoluzione Video", "StaVid", "1,5");
    choose(f, "ROSSI");
    dbtest::OtherConnection(env.commonDb.string(), "ALTER TABLE Aziende RENAME TO AziendeVecchie");
    driver.answerMessage("Errore(", 1);
    ui::user::pressToolbarButton(f.Toolbar1, "Aggiorna");
    EXPECT_EQ(codes(f), "BIANCHI,ROSSI");
    ui::user::pressToolbarButton(f.Toolbar1, "Azienda");
    frmDatiAzie* dati = ui::desktop().find<frmDatiAzie>();
    ASSERT_NE(dati, nullptr);
    EXPECT_TRUE(dati->visible());
    EXPECT_TRUE(sameFile(goDbase().PercorsoDb(dati->osIdDbase), env.companyDb));
    ASSERT_NE(goDecodifiche, nullptr);
    EXPECT_EQ(goDecodifiche->IdDbase(), dati->osIdDbase);
    EXPECT_EQ(gdRisVidStampa, 1.5);

    // Another company: the form starts anew on that database, the first one is closed.
    const std::string firstId = dati->osIdDbase;
    IniFile::writeString(env.mainIni.string(), "Risoluzione Video", "StaVid", "0");
    choose(f, "BIANCHI");
    ui::user::pressToolbarButton(f.Toolbar1, "Azienda");
    dati = ui::desktop().find<frmDatiAzie>();
    ASSERT_NE(dati, nullptr);
    EXPECT_TRUE(sameFile(goDbase().PercorsoDb(dati->osIdDbase), second));
    EXPECT_EQ(gdRisVidStampa, 0);
    EXPECT_FALSE(goDbase().EsisteConnessione(firstId));
}

// A refresh keeps the chosen company chosen wherever the new list puts it; when it is gone, a row
// of the list stays chosen.
TEST_F(FrmTolvaneTest, AggiornaKeepsTheChosenCompanyWhileItIsListed) {
    addCompany("VERDI", "002");
    frmTolvane& f = open<frmTolvane>();
    auto chosen = [&f] {
        const int row = f.RigaScelta();
        return row < 0 ? std::string("<none>") : f.Aziende()[static_cast<std::size_t>(row)].Codice;
    };
    struct Case {
        const char* choose;
        std::function<void()> change;
        const char* expected;
    };
    const Case cases[] = {
        {"VERDI", [&] { addCompany("BIANCHI", "003"); }, "VERDI"},
        {"VERDI", [&] { addCompany("ZETA", "004"); }, "VERDI"},
        {"BIANCHI", [&] { sql("Delete From Aziende Where Codice = 'ROSSI'"); }, "BIANCHI"},
        {"ZETA", [&] { sql("Delete From Aziende Where Codice = 'ZETA'"); }, "VERDI"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choose);
        choose(f, c.choose);
        c.change();
        ui::user::pressToolbarButton(f.Toolbar1, "Aggiorna");
        EXPECT_EQ(chosen(), c.expected) << codes(f);
    }
}

TEST_F(FrmTolvaneTest, AziendaThatCannotOpenSaysWhyAndOpensNothing) {
    struct Case {
        const char* message;
        const char* login;  // "": the demo user, who sees ROSSI
        std::string change;
    };
    const std::vector<Case> cases = {
        {"Scegliere un'azienda dall'elenco", "nessuno", ""},
        {"Errore(5)", "", "PwdDB = 'non-cifrata'"},  // a password the menu cannot read back
        {"Impossibile aprire il database dell'azienda", "",
         "PwdDB = '', NomeDB = '" + (env.folder / "manca" / "ditta.db").string() + "'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        if (*c.login) user(c.login, "NESSUNO", "ALTROVE");
        if (!c.change.empty()) sql("Update Aziende Set " + c.change);
        frmTolvane& f = open<frmTolvane>();
        if (*c.login) {
            EXPECT_EQ(codes(f), "");
            EXPECT_EQ(f.RigaScelta(), -1);
        } else {
            choose(f, "ROSSI");
        }
        driver.answerMessage(c.message, 1);
        ui::user::pressToolbarButton(f.Toolbar1, "Azienda");
        EXPECT_EQ(ui::desktop().find<frmDatiAzie>(), nullptr);
        f.unload();
        user("admin", "ADMIN", "DEMO");
    }
}

TEST_F(FrmTolvaneTest, StampaPrintsTheGridAndNothingClosesWhileItRuns) {
    MemoryPrinting stampa;
    stampa.addPrinter("Ufficio", "ipp://ufficio");
    stampa.printers->setServerDefault("Ufficio");
    giStampDefCambiata = 0;

    addCompany("BIANCHI", "002");
    frmTolvane& f = open<frmTolvane>();
    ui::user::pressToolbarButton(f.Toolbar1, "Stampa");
    FrmVedrixStampa* dialog = ui::desktop().find<FrmVedrixStampa>();
    ASSERT_NE(dialog, nullptr);
    dialog->opzioni()->StaVid = OpzStampa::kStampante;
    dialog->OptOrientamento(1).setValue(true);
    dialog->OptTipsta(0).setValue(true);
    bool tried = false;
    driver.atDoEvents(1, [&] {
        for (int i = 0; i < 4; ++i) driver.answerMessage("Stampa in corso", 1);
        ui::user::click(dialog->CmdEsci);
        ui::user::close(*dialog);
        ui::user::close(f);
        ui::user::pressToolbarButton(f.Toolbar1, "Chiudi");
        tried = true;
    });
    ui::user::click(dialog->CmdStampa);
    EXPECT_TRUE(tried);
    EXPECT_TRUE(dialog->loaded());
    EXPECT_TRUE(f.loaded());

    ASSERT_EQ(stampa.queue->jobs().size(), 1u);
    const std::string printed = pdfFactsOf(stampa.queue->jobs()[0].content).text;
    EXPECT_EQ(stampa.queue->jobs()[0].job.printer, "Ufficio");
    for (const char* text : {"ROSSI", "BIANCHI", "Azienda BIANCHI", "Descrizione"})
        EXPECT_NE(printed.find(text), std::string::npos) << text;
    EXPECT_EQ(giStaAtt, 0);
    ui::user::click(dialog->CmdEsci);
    EXPECT_FALSE(dialog->loaded());
    EXPECT_TRUE(ui::user::close(f));

    ui::desktop().reset();
    giStampDefCambiata = 0;
}

// The grid shows text fields: company codes of digits stay texts in a workbook.
TEST_F(FrmTolvaneTest, WorkbookKeepsCompanyCodesOfDigitsAsTexts) {
    MemoryPrinting stampa;
    stampa.addPrinter("Ufficio", "ipp://ufficio");
    stampa.printers->setServerDefault("Ufficio");
    sql("Delete From Aziende");
    addCompany("100", "010");
    addCompany("2000", "011");
    frmTolvane& f = open<frmTolvane>();
    ui::user::pressToolbarButton(f.Toolbar1, "Stampa");
    FrmVedrixStampa* dialog = ui::desktop().find<FrmVedrixStampa>();
    ASSERT_NE(dialog, nullptr);
    OpzStampa& opz = *dialog->opzioni();
    opz.StaVid = OpzStampa::kFile;
    opz.FileForm = 2;
    opz.FileName = scratch.file("aziende.xlsx");
    dialog->OptOrientamento(1).setValue(true);
    dialog->OptTipsta(0).setValue(true);
    ui::user::click(dialog->CmdStampa);
    const Workbook book(opz.FileName);
    for (const char* ref : {"A2", "A3", "B2", "B3"}) {
        EXPECT_EQ(book.cell(ref).type, "s") << ref << ": " << book.cell(ref);
    }
    EXPECT_EQ(book.cell("A3").value, "2000");
    ui::desktop().reset();
}

}  // namespace
}  // namespace tolvane::testing
