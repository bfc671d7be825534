// Page 7 of frmDatiAzie: the warehouse and barcode parameters, the one row of TabMagazzino, with
// the barcode-type combo cobTipoCodBarre. Its loader reads and its writer assigns; neither edits,
// adds nor stores the row, and the supplier-for-production account is never touched where the
// database has no column for it.
#pragma once

#include <string>

#include "companydata/pagina_dati_azie.h"

namespace tolvane {

class frmDatiAzie;

const PaginaDatiAzie& PaginaMagazzino();
void VisMagazzino(frmDatiAzie& f);
void ScriviMagazzino(frmDatiAzie& f);
// The page's checks before a save, after the check common to every page.
bool VerDatiMagazzino(frmDatiAzie& f);

// The barcode combo: filled by Form_Load, its choice mirrored into txt(49).
void AddCobCodBarre(frmDatiAzie& f, const std::string& psCodBarre, const std::string& psDescr);
void cobTipoCodBarre_Click(frmDatiAzie& f);
void cobTipoCodBarre_KeyDown(frmDatiAzie& f, int& KeyCode, int& Shift);

namespace magazzino {

// Leave rules of the year and the dates of the page.
void UscitaAnnoCorr(frmDatiAzie& f, int piCampo);
void UscitaDataInizio(frmDatiAzie& f, int piCampo);

}  // namespace magazzino

}  // namespace tolvane
