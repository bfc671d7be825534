// Page 5 of frmDatiAzie: the general-accounting parameters, the one row of TabCoge. Its loader
// reads and its writer assigns; the checks refuse a save with a message, never silently.
// Columns that an older database lacks are neither read nor written, and their fields disabled.
#pragma once

#include <string>

#include "companydata/pagina_dati_azie.h"

namespace tolvane {

class frmDatiAzie;

const PaginaDatiAzie& PaginaCoge();
void VisCoge(frmDatiAzie& f);
void ScriviCoge(frmDatiAzie& f);
// The page's checks before a save, after the check common to every page.
bool VerDatiCoge(frmDatiAzie& f);

namespace coge {

// Whether the database has the column(s) behind field n (the suspense account needs all three).
bool ColonnaPresente(const frmDatiAzie& f, int piCampo);

// Leave rules and click effects of the page's fields.
void UscitaAnnoCorr(frmDatiAzie& f, int piCampo);
void UscitaDataInizio(frmDatiAzie& f, int piCampo);
void UscitaAnnoAzzera(frmDatiAzie& f, int piCampo);
void UscitaImporto(frmDatiAzie& f, int piCampo);
void ClickAzzera(frmDatiAzie& f, int piCampo);

}  // namespace coge

}  // namespace tolvane
