// One line per subsystem that registers windows opened by name, or links windows that open
// one another without knowing each other.
#include "finestre_programma.h"

#include "batchload/frm_carico_batch.h"
#include "companydata/frm_dati_azie.h"
#include "intermediary/frm_da_studio.h"
#include "printing/dimensione_anteprima.h"
#include "printing/frm_scelta_stam_pdf_email.h"
#include "register/frm_tolvane.h"
#include "startup/frm_aziende_demo.h"

namespace tolvane {

void registraFinestreProgramma() {
    registraFinestreAvvio();
    registraFinestreArchivio();
    registraFrmDatiAzie();
    registraFrmDaStudio();
    registraFrmCaricoBatch();
    collegaFrmVStaPar();
    registraPannelloPdfEmail();
}

}  // namespace tolvane
