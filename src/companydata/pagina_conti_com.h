// Page 3 of frmDatiAzie: the common accounts of the one row of TabCauCon, and the account
// helpers that the other accounting pages share (shown text of a stored account, its split).
// Never assigns a column that the company database lacks.
#pragma once

#include <string>

#include "companydata/pagina_dati_azie.h"

namespace tolvane {

class frmDatiAzie;

const PaginaDatiAzie& PaginaContiCom();
void VisContiCom(frmDatiAzie& f);
void ScriviContiCom(frmDatiAzie& f);

// group & "-" & mastro & "-" & account of the current record; "--" (all parts empty) gives "".
std::string TestoContoRs(frmDatiAzie& f, const std::string& handle, const std::string& gruppo,
                         const std::string& mastro, const std::string& conto);
// Splits the account text (with or without dashes) into the three columns of the record being
// edited on the handle.
void ScriviContoRs(frmDatiAzie& f, const std::string& handle, const std::string& testo,
                   const std::string& gruppo, const std::string& mastro, const std::string& conto);
// Enables or disables txt(n) with everything that edits it (mirror, "..." button).
void AbilitaCampo(frmDatiAzie& f, int piCampo, bool pbAbilita);
// Gives the focus to the control that shows field n (its mirror when txt(n) is hidden); a
// control that cannot take it hands over to the first field of its page.
void FocusCampo(frmDatiAzie& f, int piCampo);

}  // namespace tolvane
