// Page 4 of frmDatiAzie: the sixteen common causal and expense codes of the one row of
// TabCauCon. Its loader reads and its writer assigns; neither edits, adds nor stores the row.
#pragma once

#include "companydata/pagina_dati_azie.h"

namespace tolvane {

class frmDatiAzie;

const PaginaDatiAzie& PaginaCausaCom();
void VisCausaCom(frmDatiAzie& f);
void ScriviCausaCom(frmDatiAzie& f);

}  // namespace tolvane
