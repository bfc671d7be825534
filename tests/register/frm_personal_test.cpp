// The personalisation editor and its settings list: the decoding service lives while the
// editor holds a company database, the chosen value is saved, the list's print dialog.
#include "register/frm_personal.h"

#include <gtest/gtest.h>

#include "printing/frm_vedrix_stampa.h"
#include "register/frm_pers_vedrix.h"
#include "register/frm_tolvane.h"
#include "register_fixture.h"

namespace tolvane::testing {
namespace {

using FrmPersonalTest = RegisterTest;

// A database that does not open keeps no decoding service.
TEST_F(FrmPersonalTest, DecodingServiceLivesWhileTheCompanyDatabaseIsOpen) {
    frmPersonal& f = open<frmPersonal>();
    driver.answerMessage("Impossibile aprire il database dell'azienda", 1);
    EXPECT_FALSE(f.ApriDBAzie((env.folder / "manca" / "ditta.db").string()));
    EXPECT_EQ(goDecodifiche, nullptr);
    EXPECT_FALSE(f.comAzienda.enabled());
    ASSERT_TRUE(f.ApriDBAzie(env.companyDb.string()));
    ASSERT_NE(goDecodifiche, nullptr);
    EXPECT_EQ(goDecodifiche->IdDbase(), f.osIdDbase);
    EXPECT_TRUE(f.comAzienda.enabled());

    ui::user::click(f.comAzienda);
    frmPersVedrix* list = ui::desktop().find<frmPersVedrix>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->osIdDbase, f.osIdDbase);

    const std::string id = f.osIdDbase;
    f.unload();
    EXPECT_EQ(goDecodifiche, nullptr);
    EXPECT_FALSE(goDbase().EsisteConnessione(id));
    EXPECT_TRUE(list->unloadedForGood());
}

TEST_F(FrmPersonalTest, UnloadLeavesTheDataFormItsDecodingService) {
    frmPersonal& f = open<frmPersonal>();
    ASSERT_TRUE(f.ApriDBAzie(env.companyDb.string()));
    frmDatiAzie* dati = ApriDatiAzienda(env.companyDb, "", "", "");
    ASSERT_NE(dati, nullptr);
    f.unload();
    ASSERT_NE(goDecodifiche, nullptr);
    EXPECT_EQ(goDecodifiche->IdDbase(), dati->osIdDbase);

    // The editor opened after the data form hands the service back to it when it closes.
    frmPersonal& again = open<frmPersonal>();
    ASSERT_TRUE(again.ApriDBAzie(env.companyDb.string()));
    again.unload();
    ASSERT_NE(goDecodifiche, nullptr);
    EXPECT_EQ(goDecodifiche->IdDbase(), dati->osIdDbase);
}

TEST_F(FrmPersonalTest, SalvaWritesTheChosenRowsValueOnlyAndStampaShowsTheListPrintDialog) {
    ui::user::click(open<frmPersonal>().comGenerali);
    frmPersVedrix& list = *ui::desktop().find<frmPersVedrix>();
    for (std::size_t i = 0; i < list.ogVedrix.rows.size(); ++i) {
        const auto& r = list.ogVedrix.rows[i];
        if (r[0] == "StAltro" && r[1] == "EmailPredef" && r[2] == "lbianchi")
            ui::user::chooseCell(list.grdLista, static_cast<int>(i) + 1, 0);
    }
    EXPECT_EQ(list.txtValore.text(), "4");
    ui::user::fill(list.txtValore, "2");
    driver.answerMessage("I valori sono stati memorizzati", 1);
    ui::user::pressToolbarButton(list.Toolbar1, "Salva");
    const std::string valore = "SELECT Valore FROM Personalizzazioni WHERE Sezione = 'StAltro' ";
    EXPECT_EQ(common(valore + "AND Login = 'lbianchi'"), "2");
    EXPECT_EQ(common(valore + "AND Login = ''"), "Amm");
    EXPECT_EQ(list.txtValore.text(), "2");

    list.txtValore.setText(std::string(300, 'x'));
    driver.answerMessage("Errore(3163)", 1);
    ui::user::pressToolbarButton(list.Toolbar1, "Salva");
    EXPECT_EQ(common(valore + "AND Login = 'lbianchi'"), "2");
    // The list hands the print-in-progress flag to the program; closing it takes its print
    // dialog.
    ui::user::pressToolbarButton(list.Toolbar1, "Stampa");
    FrmVedrixStampa* dialog = ui::desktop().find<FrmVedrixStampa>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->ogVedrix(), &list.ogVedrix);
    list.ogVedrix.oiStaAtt(1);
    EXPECT_EQ(giStaAtt, 1);
    list.ogVedrix.oiStaAtt(0);
    list.unload();
    EXPECT_TRUE(dialog->unloadedForGood());
}

}  // namespace
}  // namespace tolvane::testing
