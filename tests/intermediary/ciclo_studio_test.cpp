// The intermediary window's life: opened by name from the menu, the menu's "preppassaa", keys,
// a failed load that must never save, and the close that hands back to the menu.
#include <gtest/gtest.h>

#include <algorithm>

#include "intermediary/studio_fixture.h"
#include "startup/comandi_menu.h"
#include "startup/form_registry.h"
#include "suite/servizio_decodifiche.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

bool richiesto(const std::string& richiesta) {
    const auto& richieste = goMenuClient->requests();
    return std::find(richieste.begin(), richieste.end(), richiesta) != richieste.end();
}

class MenuStudioTest : public StudioTest {
  protected:
    MenuStudioTest() { registraFrmDaStudio(); }
    ~MenuStudioTest() override { cancellaRegistroForm(); }

    void apriDalMenu(const std::string& chiave) {
        const FormOpener* opener = formRegistrata(" FrmDaStudio ");
        ASSERT_NE(opener, nullptr);
        ApriFormArgs args;
        args.osKeySec = chiave;
        args.osKeyLancia = "M1";
        args.osKeySecLancia = "Sec";
        args.osParamLancia = "Par";
        args.osParam = "ignorato";
        (*opener)(args);
        form = ui::desktop().find<frmDaStudio>();
    }
};

TEST_F(MenuStudioTest, MenuOpensTheWindowByNameShowsTheSameOneAgainAndPrepPassaAReportsIt) {
    sql("INSERT INTO TabStudio (CognomeFor) VALUES ('Rossi')");
    apriDalMenu("Studio");
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->visible());
    EXPECT_EQ(form->osKeySec, "Studio");
    EXPECT_EQ(form->osKeyLancia, "M1");
    EXPECT_EQ(form->osKeySecLancia, "Sec");
    EXPECT_EQ(form->osParamLancia, "Par");
    EXPECT_EQ(form->osParam, "");
    EXPECT_EQ(form->txt(3010).text(), "Rossi");

    frmDaStudio* prima = form;
    vaiPagina(3);
    ui::user::fill(form->txt(3010), "Bianchi");
    apriDalMenu("Altra");
    EXPECT_EQ(form, prima);
    EXPECT_EQ(form->txt(3010).text(), "Bianchi");

    goMenuClient->setEseguiComando(EseguiComando);
    goMenuClient->EseguiComando("", "PrepPassaA");
    EXPECT_TRUE(richiesto("PassaAProgramma Dati per comunicazione annuale IVA|frmDaStudio|Studio"));
}

TEST_F(MenuStudioTest, FailedLoadIsReportedAndTheWindowIsNotLeftOpen) {
    ddl("DROP TABLE TabStudio");
    driver.answerMessage("Dati per comunicazione annuale IVA\r\nErrore(3146): ", 1);
    apriDalMenu("Studio");
    EXPECT_EQ(form, nullptr);
    EXPECT_TRUE(gbInChiusura);
}

TEST_F(StudioTest, WindowWhoseLoadFailedNeverSaves) {
    // The load fails before its record set opens (no table), or after (a column missing).
    for (bool tabellaPresente : {false, true}) {
        SCOPED_TRACE(tabellaPresente);
        ddl("DROP TABLE IF EXISTS TabStudio");
        if (tabellaPresente) ddl("CREATE TABLE TabStudio (CognomeFor VARCHAR(24))");
        driver.answerMessage("Errore(", 1);
        apri();
        EXPECT_EQ(form->oiLoadOk(), -1);
        EXPECT_TRUE(gbInChiusura);
        if (!tabellaPresente) ddl("CREATE TABLE TabStudio (CognomeFor VARCHAR(24))");
        driver.answerMessage("I valori NON sono stati memorizzati", 1);
        ui::user::click(form->comOk(3));
        EXPECT_EQ(righe(), 0);
        // A failed load does not run the close steps.
        gbInChiusura = false;
        form->unload();
        EXPECT_FALSE(richiesto("MostraMenu Tutti"));
    }
}

TEST_F(StudioTest, CloseBringsTheMenuForwardUnlessTheProgramIsClosing) {
    for (bool inChiusura : {false, true}) {
        SCOPED_TRACE(inChiusura);
        apri();
        ui::user::fill(form->txt(57), "Non salvato");
        std::size_t prima = goMenuClient->requests().size();
        gbInChiusura = inChiusura;
        ui::user::click(*form->ComAnnulla);
        EXPECT_FALSE(form->loaded());
        EXPECT_FALSE(gbInChiusura);
        const auto& richieste = goMenuClient->requests();
        bool menu = std::find(richieste.begin() + static_cast<long>(prima), richieste.end(),
                              "MostraMenu Tutti") != richieste.end();
        EXPECT_EQ(menu, !inChiusura);
        EXPECT_EQ(righe(), 0);
    }
}

TEST_F(StudioTest, CloseLeavesTheCompanyFormItsDecodingService) {
    goDecodifiche = std::make_unique<ServizioDecodifiche>(goDbase(), gsIdDbase);
    const ServizioDecodifiche* diAltri = goDecodifiche.get();
    apri();
    ui::user::click(*form->ComAnnulla);
    EXPECT_FALSE(form->loaded());
    EXPECT_EQ(goDecodifiche.get(), diAltri);
    goDecodifiche.reset();
}

TEST_F(StudioTest, KeysGoThroughTheCommonFilterAndHelp) {
    apri();
    ui::user::focus(form->txt(57));
    ui::user::key(*form, ui::key::F1);
    ASSERT_EQ(driver.helpShown().size(), 1u);
    EXPECT_EQ(driver.helpShown()[0].contextID, 44550);
    int esc = ui::key::Escape;
    form->Form_KeyPress(esc);
    EXPECT_EQ(esc, 0);
    int lettera = 'a';
    form->Form_KeyPress(lettera);
    EXPECT_EQ(lettera, 'a');
}

}  // namespace
}  // namespace tolvane::testing
