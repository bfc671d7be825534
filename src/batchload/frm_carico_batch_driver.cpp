// The batch run behind "&Carica": checks the fields, collects the layouts' values, loads every
// batch layout's file into the company database, runs the journal fix-up and reports the
// rejected lines. Never leaves gsIdDbase switched, nor the window modal, after the run.
#include <optional>

#include "batchload/frm_carico_batch.h"
#include "batchload/frm_ric_val_base.h"
#include "batchload/sc_carica.h"
#include "batchload/sistema_movimenti.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "common/moneta.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "companydata/frm_dati_azie.h"
#include "db/gestore_rs.h"
#include "platform/numbered_error.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "suite/elencovalori/elenco_valori.h"
#include "suite/libgenerale/lib_generale.h"
#include "ui/desktop.h"

namespace tolvane {

namespace {

bool vuoto(const std::string& testo) { return goLibGen().EVuoto(Variant(testo)); }

// While a run lasts the batch window is the modal window on top: no other window can switch
// the current database under the loader, and the program's close waits.
class RunModale {
  public:
    explicit RunModale(ui::Form& form) : form_(form) { ui::desktop().pushModalForm(form_); }
    ~RunModale() { ui::desktop().popModalForm(form_); }
    RunModale(const RunModale&) = delete;
    RunModale& operator=(const RunModale&) = delete;

  private:
    ui::ModalScope scope_;
    ui::Form& form_;
};

// The company database of the company-data window; a run without one would load nowhere.
std::string IdDbAzienda() {
    const frmDatiAzie* dati = ui::desktop().find<frmDatiAzie>();
    if (dati == nullptr || dati->osIdDbase.empty() || !goDbase().EsisteConnessione(dati->osIdDbase))
        throw NumberedError(errnum::DatabaseFailure, "Nessun database della ditta aperto",
                            "frmCaricoBatch");
    return dati->osIdDbase;
}

void ImpostaMonete() {
    if (vuoto(gsMonetaAzie)) gsMonetaAzie = "Euro";
    if (vuoto(gsCodLira)) gsCodLira = "L.";
    if (vuoto(gsCodEuro)) gsCodEuro = "Euro";
    if (vuoto(gsOperEuro)) gsOperEuro = "/";
    if (vuoto(gsCambioEuro)) gsCambioEuro = "1936,27";
    std::string operatore, cee;
    giNumDecLire = LeggiMoneta(gsCodLira, &giNumDecLireGest, nullptr, &operatore, &cee);
    giNumDecEuro = LeggiMoneta(gsCodEuro, &giNumDecEuroGest, nullptr, &operatore, &cee);
    if (equalText(gsMonetaAzie, gsCodLira)) {
        giNumDecAzie = giNumDecLire;
        giNumDecAzieGest = giNumDecLireGest;
    } else {
        giNumDecAzie = giNumDecEuro;
        giNumDecAzieGest = giNumDecEuroGest;
    }
}

}  // namespace

void frmCaricoBatch::comOk_Click() {
    GestoreRs rs;
    std::string handle;
    std::optional<ScopedCurrentDatabase> dbAzienda;
    std::optional<RunModale> modale;
    try {
        for (std::size_t i = 0; i <= 5; ++i) {
            const int base = 10 + 30 * static_cast<int>(i);
            gasGruppoIva[i] = txt(base).text();
            gasMastroIva[i] = txt(base + 10).text();
            gasContoIva[i] = txt(base + 20).text();
        }
        for (std::size_t j = 0; j <= 2; ++j)
            gasCauNotaCred[j] = txt(190 + 10 * static_cast<int>(j)).text();
        // Refused before any value is asked: the user types nothing that would be thrown away.
        const std::string idAzienda = IdDbAzienda();

        if (!vuoto(txt(220).text()) || !vuoto(txt(230).text())) {
            const std::string periodo = txt(240).text();
            if (!equalText(periodo, "M") && !equalText(periodo, "T")) {
                txt(240).setBackColor(glColErrore);
                frmMsgCom::msgCom("Ditta Mensile o Trimestrale OBBLIGATORIO!!", "&Ok");
                return;
            }
            txt(240).setBackColor(glColNormale);
        }

        gsDriveCarica = DriCarica.drive();
        gsDirCarica = DirCarica.path();

        handle = rs.ApriRs(goDbase(), gsConnDbMenu, "",
                           std::string("Select * from CaricaFile") + " Where batch = 'S'", false,
                           rstype::Dynaset);
        if (rs.VuotoRs(handle)) {
            rs.ChiudiRs(handle);
            frmMsgCom::msgCom("Nessuna file selezionato da caricare", "&Ok");
            mbFineElab = true;
            unload();
            return;
        }

        frmRicValBase& ricVal = ui::desktop().instance<frmRicValBase>();
        ricVal.osKeySec = osKeySec;
        ricVal.load();
        ricVal.oiNumRighe = 0;
        Variant esito(0L);
        for (rs.MoveFirstRs(handle); !rs.EofRs(handle) && esito.toLong() == 0;
             rs.MoveNextRs(handle))
            esito = RicValDefault(rs.ValoreCampoRs(handle, "Codice").text());
        if (esito.toLong() == 0 && ricVal.oiNumRighe > 0) esito = ChiediValBase();
        ricVal.unload();
        if (esito.toLong() != 0) {
            rs.ChiudiRs(handle);
            return;
        }

        modale.emplace(*this);
        StatoPulsanti(true);
        giStatoCarica = 1;
        ProgressoElab progresso;
        progresso.eventPump = [] { ui::DoEvents(); };
        // The load's changes reach the window at the pace of the events, not line by line.
        progresso.showDisplay = [this](const ProgressoElab& p) { MostraProgresso(p); };
        if (progressClock) progresso.setClock(progressClock);
        progresso_ = &progresso;
        ScopeGuard senzaProgresso([this] { progresso_ = nullptr; });
        progresso.AvviaProgresso("Caricamento", "Caricamento Dati");
        LabFatti.setVisible(true);
        labDaFare.setVisible(true);

        dbAzienda.emplace(idAzienda);
        ImpostaMonete();

        long errori = 0;
        CaricaLayout(rs, handle, progresso, errori);
        rs.ChiudiRs(handle);
        progresso.showPending();

        Sistemazione();
        moValDefault.reset();

        // The same words after a stop: the user asked for it and confirmed it.
        std::string fine = "Elaborazione terminata";
        if (errori != 0)
            fine += " con " + std::to_string(errori) +
                    " errori\nmemorizzati nell'archivio 'ErroriCaricamento'";
        frmMsgCom::msgCom(fine, "&Ok", std::nullopt, std::nullopt, std::nullopt, 80, false, 600,
                          18.0);

        StatoPulsanti(false);
        giStatoCarica = 0;
        dbAzienda.reset();
        modale.reset();
        mbFineElab = true;
        unload();
    } catch (const std::exception& e) {
        Clessidra(false);
        dbAzienda.reset();
        modale.reset();
        if (!handle.empty()) rs.ChiudiRs(handle);
        if (frmRicValBase* ricVal = ui::desktop().find<frmRicValBase>(); ricVal && ricVal->loaded())
            ricVal->unload();
        StatoPulsanti(false);
        giStatoCarica = 0;
        frmMsgCom::MsgErrfrm(e);
    }
}

void frmCaricoBatch::CaricaLayout(GestoreRs& rs, const std::string& handle,
                                  ProgressoElab& progresso, long& plErrori) {
    for (rs.MoveFirstRs(handle); !rs.EofRs(handle); rs.MoveNextRs(handle)) {
        // A stop asked between two layouts leaves the next ones unstarted.
        if (giStatoCarica != 1) return;
        ScCarica carico;
        carico.ogInElab = &progresso;
        carico.ogValDefault = &ValDefault();
        if (loaderSetUp) loaderSetUp(carico);
        const std::string codice = rs.ValoreCampoRs(handle, "Codice").text();
        progresso.AvanzaElab(0, "Preparazione " + codice, true);
        if (carico.LeggiTracciato(codice) != 0) continue;
        const long esito = carico.CaricaDati(plErrori);
        if (carico.stoppedByUser()) return;
        if (esito == 0) continue;
        if (esito == errnum::FileNotFound || esito == errnum::FileAccess ||
            esito == errnum::PathNotFound) {
            if (frmMsgCom::msgCom("Vuoi caricare i files successivi?", "&Si", std::string("&No")) ==
                2)
                return;
            continue;
        }
        return;
    }
}

void frmCaricoBatch::Sistemazione() {
    const std::string idAzienda = IdDbAzienda();
    DatiSistemazione dati;
    for (int i = 0; i < 6; ++i)
        dati.contiIva[static_cast<std::size_t>(i)] = {
            txt(10 + 30 * i).text(), txt(20 + 30 * i).text(), txt(30 + 30 * i).text()};
    for (int j = 0; j < 3; ++j)
        dati.causaliNotaCred[static_cast<std::size_t>(j)] = txt(190 + 10 * j).text();
    dati.causaleTrasp1 = txt(220).text();
    dati.causaleTrasp2 = txt(230).text();
    dati.periodoIva = txt(240).text();
    dati.secondoCodFisc = CheCodFisc.value() == 1;

    LabErrori.setVisible(false);
    labDaFare.setVisible(false);
    // The bar belongs to the load; the fix-up counts its statements beside it.
    proDaFare.setValue(0);
    LabMsgElab.setCaption("Sistemazione Prima Nota");
    Label1(0).setCaption("Elaborate:");
    Label1(1).setCaption("Query");
    LabFatti.setCaption("1");
    ui::DoEvents();
    ScopeGuard mostraCausali([this, &dati] {
        txt(220).setText(dati.causaleTrasp1);
        txt(230).setText(dati.causaleTrasp2);
    });
    SistemaMovimenti(idAzienda, dati, [this] {
        LabFatti.setCaption(std::to_string(goLibGen().ValoreLong(Variant(LabFatti.caption())) + 1));
        ui::DoEvents();
    });
}

}  // namespace tolvane
