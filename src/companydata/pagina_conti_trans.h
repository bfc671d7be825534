// Page 14 of frmDatiAzie: the six transit accounts of a professional practice, kept in the one
// row of TabCauCon. Its loader reads and its writer assigns; neither edits, adds nor stores.
#pragma once

#include "companydata/pagina_dati_azie.h"

namespace tolvane {

class frmDatiAzie;

const PaginaDatiAzie& PaginaContiTrans();
void VisContiTrans(frmDatiAzie& f);
void ScriviContiTrans(frmDatiAzie& f);

}  // namespace tolvane
