// The check before saving and the save cycle of frmDaStudio: add or edit the kept TabStudio row,
// write every field, store it, and turn a database error into its message from the shared table.
// A failed save drops its pending edit, keeps what the user typed and never reports success.
#include "common/errori_salvataggio.h"
#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "intermediary/frm_da_studio.h"
#include "ui/driver.h"

namespace tolvane {

namespace {

const char* const kNonCaricati =
    "I dati non sono stati caricati correttamente **  I valori NON sono stati memorizzati";

}  // namespace

bool frmDaStudio::VerDati() {
    for (const auto& [numero, campo] : txt) {
        if (campo->backColor() != glColErrore) continue;
        frmMsgCom::msgCom("Ci sono dei dati errati", "&Ok", std::nullopt, std::nullopt,
                          "Dati generali");
        int pagina = PaginaDi(*campo);
        if (pagina != 0 && pagina != miPagCorrente) {
            // A field of a disabled page takes no focus: its page comes forward first, without
            // the page's own start field taking the focus on the way.
            miPagCorrente = pagina;
            TasPagine->setSelectedIndex(pagina);
            SistemaPagina(pagina);
        }
        PrimoCampo(*campo, true);
        return false;
    }
    return true;
}

void frmDaStudio::comOk_Click(int) {
    if (!VerDati()) return;
    // After a failed load the fields may hold part of the row: never write them over it.
    if (miLoadOk != 1 || msRsStudio.empty() || !Rs().EsisteRs(msRsStudio)) {
        frmMsgCom::msgCom(kNonCaricati, "&Ok");
        return;
    }
    if (!Salva()) return;
    frmMsgCom::msgCom("I valori sono stati memorizzati", "&Ok", std::nullopt, std::nullopt,
                      "Dati per IVA Periodica");
}

bool frmDaStudio::Salva() {
    GestoreRs& rs = Rs();
    bool aggiungi = false;
    while (true) {
        bool aggiunta = false;
        try {
            if (aggiungi || rs.VuotoRs(msRsStudio)) {
                aggiunta = true;
                rs.AddNewRs(msRsStudio);
            } else {
                rs.EditRs(msRsStudio);
            }
            ScriviStudio();
            rs.UpdateRs(msRsStudio);
            if (aggiunta) rs.RiposizionaRs(msRsStudio);
            return true;
        } catch (const std::exception& errore) {
            // An edit left open would be stored, half written, by the next operation.
            if (rs.StatoEditRs(msRsStudio) != editstate::None) rs.AnnullaEditRs(msRsStudio);
            DopoErroreSalvataggio dopo = MostraErroreSalvataggio(errore);
            if (dopo == DopoErroreSalvataggio::Fine) return false;
            // Deleted by another user: add it again. Asked to retry: the same operation again.
            aggiungi = dopo == DopoErroreSalvataggio::Riaggiungi || aggiunta;
        }
    }
}

}  // namespace tolvane
