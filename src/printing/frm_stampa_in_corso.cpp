// The print-in-progress window: its controls, the stop request and the e-mail login request.
// A stop with no engine, or an engine that fails, is ignored without a message.
#include "printing/frm_stampa_in_corso.h"

#include <exception>

#include "common/servizi_finestre.h"
#include "printing/email_stampa.h"
#include "startup/programma.h"

namespace tolvane {

frmStampaInCorso::frmStampaInCorso() : Form("frmStampaInCorso") {
    setCaption("Stampa ordini in corso");
    move(0, 0, 4200, 2000);
    // The screen adaptation finds the window's zoom key by name.
    expose("osRisVidKey", [this](std::vector<Variant>&) { return Variant(osRisVidKey); });
    ComSTampa.setCaption("Interrompi la stampa");
    lblStamp.setCaption("Stampa ordine in corso.");
    LblPrePag.setCaption("In stampa la pagina:");
    LblPag.setCaption("000");
    ComSTampa.on.onClick = [this] { ComStampa_Click(); };
}

void frmStampaInCorso::Form_Load() {
    osRisVidKey = "StaVid";
    // The decoration keeps its designed size; its place follows the zoom.
    odRisVidVal = AdattaRisVid(*this, -2, 0, {{"PicVusk", true, 2}});
}

void frmStampaInCorso::ComStampa_Click() {
    if (!ogStampa_) return;
    try {
        ogStampa_->InterrompiStampa(1);
    } catch (const std::exception&) {
        // The engine decides when a print stops; a refused request changes nothing here.
    }
}

Variant frmStampaInCorso::ChiediEmailLogPwd() {
    if (ogStampa_) return Variant(ChiediDatiEmail(*ogStampa_, true, true));
    return Variant(ChiediDatiEmail(true, true));
}

void frmStampaInCorso::handOverEmailSettings() {
    MotoreCorrente corrente(ogStampa_.get());
    PassaParEmail();
}

void frmStampaInCorso::Form_Unload(bool& /*Cancel*/) {
    ogStampa_.reset();
    ChiudiProgramma(false);
}

}  // namespace tolvane
