// Page 9 of frmDatiAzie: the document types and copies of sales orders, internal orders and
// quotations (columns of TabFatt) and the purchase-order settings (the one row of TabAcq).
// Its loaders read and its writers assign; neither edits, adds nor stores a row.
#pragma once

#include "companydata/pagina_dati_azie.h"

namespace tolvane {

class frmDatiAzie;

const PaginaDatiAzie& PaginaOrdPrev();
void VisOrdPrev(frmDatiAzie& f);
void VisOrdAcq(frmDatiAzie& f);
void ScriviOrdPrev(frmDatiAzie& f);
void ScriviOrdAcq(frmDatiAzie& f);

}  // namespace tolvane
