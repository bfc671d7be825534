// The check and save cycle of a page of frmDatiAzie: the common error-colour check, the page's
// own checks, then edit or add, the writer and the update on each record handle of the page.
// A failed save cancels its pending edit and puts the hourglass back on every exit.
#include "common/errori_salvataggio.h"
#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "companydata/frm_dati_azie.h"
#include "suite/menu/menu_client.h"
#include "ui/driver.h"

namespace tolvane {

namespace {

const std::string kCampoErrato = "CAMPO ERRATO **  I valori NON sono stati memorizzati";
const std::string kPaginaNonCaricata =
    "La pagina non è stata caricata correttamente **  I valori NON sono stati memorizzati";

// The hourglass of a save, put back however the save ends.
class ClessidraSalvataggio {
  public:
    ClessidraSalvataggio() { Clessidra(true); }
    ~ClessidraSalvataggio() { Clessidra(false); }
    ClessidraSalvataggio(const ClessidraSalvataggio&) = delete;
    ClessidraSalvataggio& operator=(const ClessidraSalvataggio&) = delete;
};

}  // namespace

bool frmDatiAzie::CampiSenzaErrori() {
    for (const auto& [numero, campo] : txt) {
        if (campo->backColor() != glColErrore) continue;
        frmMsgCom::msgCom(kCampoErrato, "&Ok");
        // Focusing a field of another page shows that page first (the form's page hook).
        PrimoCampo(*campo);
        return false;
    }
    return true;
}

bool frmDatiAzie::VerDati(int Index) {
    if (!CampiSenzaErrori()) return false;
    const PaginaDatiAzie* pagina = Pagina(Index);
    return pagina == nullptr || !pagina->verifica || pagina->verifica(*this);
}

void frmDatiAzie::comOk_Click(int Index) {
    const PaginaDatiAzie* pagina = Pagina(Index);
    if (pagina == nullptr) return;
    if (!VerDati(Index)) return;

    bool pronta = !PaginaGuasta(Index) && PaginaCaricata(Index);
    for (const PassaggioSalvataggio& passaggio : pagina->salvataggi) {
        const std::string& handle = this->*passaggio.handle;
        if (handle.empty() || !Rs().EsisteRs(handle)) pronta = false;
    }
    if (!pronta) {
        frmMsgCom::msgCom(kPaginaNonCaricata, "&Ok");
        return;
    }
    {
        ClessidraSalvataggio clessidra;
        for (const PassaggioSalvataggio& passaggio : pagina->salvataggi) {
            if (!SalvaPassaggio(passaggio)) return;
        }
    }
    if (goMenuClient) goMenuClient->Parametro("Tutti.Refresh", "");
    frmMsgCom::msgCom("I valori sono stati memorizzati", "&Ok");
}

bool frmDatiAzie::SalvaPassaggio(const PassaggioSalvataggio& passaggio) {
    const std::string handle = this->*passaggio.handle;
    GestoreRs& rs = Rs();
    bool aggiungi = false;
    while (true) {
        bool aggiunta = false;
        try {
            if (!aggiungi && rs.VuotoRs(handle)) {
                // Another page on the same one-row table may have added the row since this
                // page was loaded: look again, so that the save edits it instead of adding.
                auto it = msSqlRs.find(handle);
                if (it != msSqlRs.end()) rs.RiapriRs(handle, it->second);
            }
            if (aggiungi || rs.VuotoRs(handle)) {
                aggiunta = true;
                rs.AddNewRs(handle);
            } else {
                rs.EditRs(handle);
            }
            passaggio.scrivi(*this);
            rs.UpdateRs(handle);
            if (aggiunta) {
                rs.RiposizionaRs(handle);
            } else {
                rs.MoveFirstRs(handle);
            }
            return true;
        } catch (const std::exception& errore) {
            if (rs.EsisteRs(handle) && rs.StatoEditRs(handle) != editstate::None) {
                rs.AnnullaEditRs(handle);
            }
            Clessidra(false);
            DopoErroreSalvataggio dopo = MostraErroreSalvataggio(errore);
            if (dopo == DopoErroreSalvataggio::Fine) return false;
            aggiungi = dopo == DopoErroreSalvataggio::Riaggiungi || aggiunta;
            Clessidra(true);
        }
    }
}

}  // namespace tolvane
