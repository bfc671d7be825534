// The menu server's named values and personal settings as every window reads them.
#include "common/parametri_menu.h"

#include "platform/numbered_error.h"
#include "suite/menu/menu_client.h"

namespace tolvane {

namespace {

MenuClient& menu() {
    if (!goMenuClient) {
        throw NumberedError(errnum::ObjectRequired, "Collegamento al menu non attivo",
                            "LeggiParametro");
    }
    return *goMenuClient;
}

}  // namespace

Variant LeggiParametro(const std::string& psNome) { return menu().Parametro(psNome, ""); }

void ScriviParametro(const std::string& psNome, const Variant& pvValore) {
    menu().SetParametro(psNome, "", pvValore);
}

std::string LeggiPersonal(const std::string& psSezione, const std::string& psChiave,
                          const std::string& psDefault) {
    if (!goMenuClient) return psDefault;
    const Variant valore = goMenuClient->Parametro("Personal." + psSezione + ".§" + psChiave, "");
    if (valore.isEmpty() || valore.isNull()) return psDefault;
    std::string testo = valore.text();
    return testo == kPersonalMancante ? psDefault : testo;
}

Variant LeggiOSPlatform() { return LeggiParametro("OSPlatform"); }

long NomeClientTerminale(std::string& psNomeClient) {
    psNomeClient.clear();
    return 0;
}

}  // namespace tolvane
