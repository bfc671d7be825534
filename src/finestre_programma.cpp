// One line per subsystem that registers windows opened by name.
#include "finestre_programma.h"

#include "batchload/frm_carico_batch.h"
#include "companydata/frm_dati_azie.h"
#include "intermediary/frm_da_studio.h"
#include "startup/frm_aziende_demo.h"

namespace tolvane {

void registraFinestreProgramma() {
    registraFinestreAvvio();
    registraFrmDatiAzie();
    registraFrmDaStudio();
    registraFrmCaricoBatch();
}

}  // namespace tolvane
