// Page 10 of frmDatiAzie: the cash-register parameters, the one row of TabReg, with their
// option groups, causals and accounts. Its loader reads and its writer assigns; neither edits,
// adds nor stores the row.
#pragma once

#include <string>

#include "companydata/pagina_dati_azie.h"
#include "platform/variant.h"

namespace tolvane {

class frmDatiAzie;

const PaginaDatiAzie& PaginaRegCassa();
void VisRegCassa(frmDatiAzie& f);
void ScriviRegCassa(frmDatiAzie& f);
// The page's checks before a save: the departments while the cash-register procedure is
// installed, then the error-colour check.
bool VerDatiRegCassa(frmDatiAzie& f);

namespace regcassa {

// Whether the company edited by the form has the cash-register procedure installed: its
// company record's InstRegCassa is "S".
bool RegCassaInstallato(frmDatiAzie& f);
// The message that refuses a found warehouse causal as the unloading causal; "" when it fits.
std::string VerificaCausaleScarico(frmDatiAzie& f, int piCampo, const Variant& pvTipoMov);

}  // namespace regcassa

}  // namespace tolvane
