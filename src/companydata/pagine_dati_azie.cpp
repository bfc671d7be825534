// The pages of frmDatiAzie that have been built, in page order: a new page is one line here.
// Pages left out keep their tab and an empty picture.
#include "companydata/pagina_causa_com.h"
#include "companydata/pagina_coge.h"
#include "companydata/pagina_conti_com.h"
#include "companydata/pagina_conti_trans.h"
#include "companydata/pagina_dati_azie.h"
#include "companydata/pagina_fatt.h"
#include "companydata/pagina_magazzino.h"
#include "companydata/pagina_ord_prev.h"
#include "companydata/pagina_reg_cassa.h"
#include "companydata/pagina_riba.h"

namespace tolvane {

const std::vector<const PaginaDatiAzie*>& PagineDatiAzie() {
    static const std::vector<const PaginaDatiAzie*> pagine = {
        &PaginaContiCom(), &PaginaCausaCom(),  &PaginaCoge(),
        &PaginaRiBa(),     &PaginaMagazzino(), &PaginaFatt(),
        &PaginaOrdPrev(),  &PaginaRegCassa(),  &PaginaContiTrans(),
    };
    return pagine;
}

}  // namespace tolvane
