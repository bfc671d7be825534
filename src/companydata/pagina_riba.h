// Page 6 of frmDatiAzie: the RiBa/RID sender data, the one row of TabRiba.
// Its loader reads and its writer assigns; neither edits, adds nor stores the row.
#pragma once

#include "companydata/pagina_dati_azie.h"

namespace tolvane {

class frmDatiAzie;

const PaginaDatiAzie& PaginaRiBa();
void VisRiBa(frmDatiAzie& f);
void ScriviRiBa(frmDatiAzie& f);

}  // namespace tolvane
