// The personalisation editor: the company database and its decoding service for the window's
// life, and the settings list opened on the common or the company database.
#include "register/frm_personal.h"

#include "common/db_azienda.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "companydata/frm_dati_azie.h"
#include "platform/text.h"
#include "register/frm_pers_vedrix.h"
#include "startup/programma.h"
#include "suite/decodifiche/servizio_decodifiche.h"
#include "ui/desktop.h"

namespace tolvane {

namespace {

frmPersVedrix& listaSu(const std::string& idDb, const std::string& titolo) {
    frmPersVedrix& lista = ui::desktop().instance<frmPersVedrix>();
    lista.ApriLista(idDb, titolo);
    if (!lista.loaded()) lista.load();
    MostraForm(lista);
    return lista;
}

}  // namespace

frmPersonal::frmPersonal() : ui::Form("frmPersonal") {
    setCaption("Personalizzazioni");
    move(0, 0, 6000, 2400);
    LabAzienda.move(240, 240, 5500, 300);
    comGenerali.setCaption("Personalizzazioni &generali");
    comGenerali.move(240, 720, 2700, 420);
    comAzienda.setCaption("Personalizzazioni dell'&azienda");
    comAzienda.move(3060, 720, 2700, 420);
    comAzienda.setEnabled(false);
    comChiudi.setCaption("&Chiudi");
    comChiudi.setCancel(true);
    comChiudi.move(4260, 1320, 1500, 420);
    comGenerali.on.onClick = [this] { comGenerali_Click(); };
    comAzienda.on.onClick = [this] { comAzienda_Click(); };
    comChiudi.on.onClick = [this] { unload(); };
}

void frmPersonal::Form_Load() {
    InizioCaricoForm(*this);
    LabAzienda.setCaption("Nessun database dell'azienda aperto");
    FineCaricoForm(*this);
}

bool frmPersonal::ApriDBAzie(const std::string& psNomeDb, const std::string& psConnect,
                             const std::string& psPwd) {
    if (!ApriDbAzienda(psNomeDb, psConnect, psPwd, osIdDbase)) return false;
    LabAzienda.setCaption("Database dell'azienda: " + goDbase().PercorsoDb(osIdDbase));
    comAzienda.setEnabled(true);
    return true;
}

void frmPersonal::comGenerali_Click() { listaSu(gsIdDbase, "generali"); }

void frmPersonal::comAzienda_Click() {
    if (osIdDbase.empty()) return;
    listaSu(osIdDbase, "dell'azienda");
}

void frmPersonal::Form_Unload(bool& Cancel) {
    if (auto* lista = ui::desktop().find<frmPersVedrix>();
        lista && lista->loaded() && !osIdDbase.empty() && lista->osIdDbase == osIdDbase) {
        // The list reads the database that closes here.
        if (!lista->unload()) {
            Cancel = true;
            return;
        }
    }
    // The service is program-wide: the data form may hold it on its own database.
    if (goDecodifiche && !osIdDbase.empty() && goDecodifiche->IdDbase() == osIdDbase) {
        goDecodifiche.reset();
        if (auto* dati = ui::desktop().find<frmDatiAzie>();
            dati && dati->loaded() && !dati->osIdDbase.empty() &&
            goDbase().EsisteConnessione(dati->osIdDbase))
            goDecodifiche = std::make_unique<ServizioDecodifiche>(goDbase(), dati->osIdDbase);
    }
    if (!osIdDbase.empty()) goDbase().ChiudiConnessione(osIdDbase);
    osIdDbase.clear();
    if (!gbInChiusura) AttivaMenu("");
    ChiudiProgramma(false);
}

}  // namespace tolvane
