// What the PDF/e-mail panel's buttons do (checks, save and delete requests to the menu server,
// the credential request) and the PDF automation of the print options dialog. Wrong values
// never reach the menu server; only the panel's OK confirms a credential request.
#include <filesystem>

#include "common/globali.h"
#include "common/msg_com.h"
#include "common/parametri_menu.h"
#include "common/servizi_finestre.h"
#include "platform/numbered_error.h"
#include "platform/printer_system.h"
#include "platform/text.h"
#include "printing/azienda_util_stampe.h"
#include "printing/email_stampa.h"
#include "printing/frm_scelta_stam_pdf_email.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/opzioni/opz_stampa.h"
#include "suite/stampa/stampante_pdf.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

void messaggio(const std::string& testo) { frmMsgCom::msgCom(testo, "&Ok"); }

bool vuoto(const std::string& testo) { return goLibGen().EVuoto(Variant(testo)); }

// The installed PDF printer; the word itself when none is installed.
std::string nomeStampantePdf(const std::string& parola) {
    for (const PrinterInfo& p : printerSystem().printers())
        if (isPdfPrinter(p.name, parola)) return p.name;
    return parola;
}

OpzStampa& opzioni(FrmSceltaStam& form) {
    if (!form.ogOpzSta) throw objectNotSet(form.name());
    return *form.ogOpzSta;
}

}  // namespace

void PdfEmailPanel::Apri() {
    form.PicPdfEmail->setVisible(true);
    form.PicPdfEmail->zOrder(0);
    PESelDeselSalOpz(true);
    MostraIniPE();
}

void PdfEmailPanel::NascondiPannello() { form.PicPdfEmail->setVisible(false); }

bool PdfEmailPanel::CtrlTxtValidi() {
    if (ui::Control* errato = CampoInErrore(form, glColErrore)) {
        messaggio("ci sono dei dati non validi");
        if (errato->isArrayElement() && equalText(errato->name(), "txt")) {
            try {
                errato->setFocus();
            } catch (const NumberedError&) {
                // A field that cannot take the focus is still named by the message.
            }
        }
        return false;
    }
    for (int k = 0; k < 3; ++k) {
        if (ChePdfEmailVal(100 * k + 20).value() != ui::check::Checked) continue;
        if (!OptPETipoInvio(5 * k + 3).value()) {
            messaggio("L'uso di SSL è possibile solo usando tipo invio 'See'");
            return false;
        }
        const std::string& cartella = form.txt(1021 + 100 * k).text();
        if (vuoto(cartella)) {
            messaggio("Con l'uso di SSL è obbligatorio inserire la directory stunnel");
            return false;
        }
        std::error_code errore;
        if (!std::filesystem::is_directory(cartella, errore)) {
            messaggio("La directory stunnel è inesistente");
            return false;
        }
    }
    return true;
}

bool PdfEmailPanel::DatiObbligatoriMancanti() {
    // The configuration in view is the one that OK has just made active.
    int b = 100 * (miEmailTipoCor - 1);
    return vuoto(form.txt(1014 + b).text()) || vuoto(form.txt(1015 + b).text()) ||
           vuoto(form.txt(1011 + b).text()) ||
           (goLibGen().EVuoto(LeggiParametro("EmailTo")) && vuoto(form.txt(1520).text()));
}

void PdfEmailPanel::ComPeDatiCor_Click() { MostraIniPE(); }

void PdfEmailPanel::ComPERileggi_Click() {
    ScriviParametro("LeggiIniComuni", Variant(static_cast<std::int16_t>(1)));
    MostraIniPE();
}

void PdfEmailPanel::ComPESalva_Click() {
    if (!CtrlTxtValidi()) return;
    AggIniPE();
    ScriviParametro("ScriviIniComuni", Variant("+" + SalvaCancIniPE() + "V"));
    if (!ModoRichiesta()) NascondiPannello();
}

void PdfEmailPanel::ComPECanc_Click() {
    ScriviParametro("ScriviIniComuni", Variant("-" + SalvaCancIniPE() + "V"));
    ScriviParametro("LeggiIniComuni", Variant(static_cast<std::int16_t>(1)));
    if (!ModoRichiesta()) NascondiPannello();
}

void PdfEmailPanel::ComPEOk_Click() {
    if (!CtrlTxtValidi()) return;
    AggIniPE();
    if (!ModoRichiesta()) {
        NascondiPannello();
        return;
    }
    if (DatiObbligatoriMancanti()) {
        messaggio("mancano dati obbligatori per l'invio dell'email");
        return;
    }
    mbConfermato = true;
    form.hide();
}

void PdfEmailPanel::ComPEAnnulla_Click() {
    bool richiesta = ModoRichiesta();
    int risposta = frmMsgCom::msgCom(
        richiesta ? "Confermi annullamento invio email" : "Confermi uscita senza salvataggio",
        "&Sì", std::string("&No"));
    if (risposta != 1) return;
    if (!richiesta) {
        NascondiPannello();
        return;
    }
    form.oiRichDatiEmail = 200;
    form.hide();
}

bool PdfEmailPanel::RichDatiEmail() {
    Apri();
    messaggio("Login o password non valida per spedizione email");
    mbConfermato = false;
    form.show(ui::ShowMode::Modal);
    // Only OK confirms: closing the window any other way is no answer to the request.
    bool ok = mbConfermato && form.oiRichDatiEmail != 200;
    mbConfermato = false;
    form.oiRichDatiEmail = 0;
    return ok;
}

bool RichDatiEmail(FrmSceltaStam& form) { return pdfEmailPanel(form).RichDatiEmail(); }

void ImpostaPdfAutom(FrmSceltaStam& form) {
    OpzStampa& opz = opzioni(form);
    bool spuntato = form.ChePdfAutom->value() == ui::check::Checked;
    std::string parola = pdfPrinterWord(LeggiParEmail("UsaPdfCreator"), LeggiParEmail("UsaPdf995"));
    if (!parola.empty() && ImpostaStampanteAuto(nomeStampantePdf(parola), opz, spuntato ? 0 : 1)) {
        // Another printer: its own trays and papers are the ones to offer.
        form.ImpostaCboCassetti();
        form.ImpostaCboTipoCarta();
        form.VisStaAttuale();
    }
    if (!spuntato) return;
    form.CheInviaEmail->setEnabled(true);
    // The automatic naming is on from now: the dialog's next activation, the saved option sets
    // and the engine read it here.
    opz.ScriviParStampa("PdfAutomAbil", OpzStampa::kTipoAltro, Variant(true));
    opz.ScriviParStampa("PdfNomeFile", OpzStampa::kTipoAltro,
                        Variant(LeggiParEmail("PdfNomeFile")));
    opz.ScriviParStampa("PdfAutomImpPar", OpzStampa::kTipoAltro,
                        Variant(joinPdfAutomImpPar(
                            {gsFileIni, gsFileIniComune, LeggiParEmail("UsaPdfCreator"),
                             LeggiParEmail("CreatorAutosaveStart"), LeggiParEmail("UsaPdf995")})));
}

void ChePdfAutom_Click(FrmSceltaStam& form) {
    if (form.ChePdfAutom->value() == ui::check::Checked) {
        ImpostaPdfAutom(form);
        return;
    }
    OpzStampa& opz = opzioni(form);
    form.CheInviaEmail->setValue(ui::check::Unchecked);
    form.CheInviaEmail->setEnabled(false);
    opz.ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(false));
    opz.ScriviParStampa("PdfAutomAbil", OpzStampa::kTipoAltro, Variant(false));
    ImpostaPdfAutom(form);
}

void CheInviaEmail_Click(FrmSceltaStam& form) {
    opzioni(form).ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro,
                                  Variant(form.CheInviaEmail->value() == ui::check::Checked));
}

}  // namespace tolvane
