// Page 8 of frmDatiAzie: the invoicing, delivery-note and electronic-invoicing hub parameters,
// the columns of the one row of TabFatt that page 9 does not edit.
// Its loader reads and its writer assigns; neither edits, adds nor stores the row.
#pragma once

#include "companydata/pagina_dati_azie.h"

namespace tolvane {

class frmDatiAzie;

const PaginaDatiAzie& PaginaFatt();
void VisFatt(frmDatiAzie& f);
void ScriviFatt(frmDatiAzie& f);

// A number of copies whose whole value is 0 (an empty or unreadable text included) becomes "1".
// A number too large for its column is left as typed, for the save to refuse it.
void CopieAlmenoUna(frmDatiAzie& f, int piCampo);

}  // namespace tolvane
