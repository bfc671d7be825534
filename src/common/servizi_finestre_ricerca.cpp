// The look-up lists of the pages with the columns of the user's personal settings.
// Only names the table has reach the list's query: the decoding service sorts them out.
#include "common/parametri_menu.h"
#include "common/servizi_finestre.h"
#include "platform/numbered_error.h"
#include "suite/decodifiche/decodifiche_tipi.h"
#include "suite/decodifiche/servizio_decodifiche.h"

namespace tolvane {

std::string ColonnePersonaliRicerca(const std::string& psTipo) {
    std::string fisse;
    if (const TipoDecodifica* tipo = TrovaTipoDecodifica(psTipo)) {
        for (const std::string& colonna : tipo->colonne)
            fisse += (fisse.empty() ? "" : ",") + colonna;
    }
    return LeggiPersonal("HelpRic", psTipo, fisse);
}

bool PreparaHelpRic(const std::string& psTipo, const std::string& psFiltro, ui::TextBox& txt,
                    ui::Label* lab) {
    if (!goDecodifiche) {
        throw NumberedError(errnum::ObjectRequired, "Nessun database dell'azienda aperto",
                            "PreparaHelpRic");
    }
    return goDecodifiche->PreparaHelpRic(psTipo, psFiltro, txt, lab,
                                         ColonnePersonaliRicerca(psTipo));
}

}  // namespace tolvane
