// Field events of frmDaStudio: focus colours, the mirrors of the flags and of the sex, and the
// leave rules (numbers, fiscal codes, dates, the intermediary's signature).
// A wrong value only gets the error colour: the check before saving refuses it.
#include "common/codice_fiscale.h"
#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "intermediary/campi_studio.h"
#include "intermediary/frm_da_studio.h"
#include "platform/text.h"
#include "platform/variant.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

// The flag boxes in the order the mirrors go through them.
const int kCaselle[] = {10, 55, 2020, 42, 44};
constexpr int kCampoSesso = 3030;
constexpr int kCampoFirmaPresente = 55;

}  // namespace

void frmDaStudio::ImpostaCheDaTxt() {
    for (int numero : kCaselle) {
        Che(numero).setValue(equalText(txt(numero).text(), "S") ? ui::check::Checked
                                                                : ui::check::Unchecked);
    }
    OptSessoFor(equalText(txt(kCampoSesso).text(), "M") ? 0 : 1).setValue(true);
}

void frmDaStudio::ImpostaTxtDaChe() {
    for (int numero : kCaselle) {
        txt(numero).setText(Che(numero).value() == ui::check::Checked ? "S" : "N");
    }
}

void frmDaStudio::Che_Click(int Index) {
    txt(Index).setText(Che(Index).value() == ui::check::Checked ? "S" : "N");
}

void frmDaStudio::OptSessoFor_Click(int) {
    txt(kCampoSesso).setText(OptSessoFor(0).value() ? "M" : "F");
}

void frmDaStudio::txt_GotFocus(int Index) {
    ui::TextBox& campo = txt(Index);
    ImpostaCampoFocus(campo, 10);
    EvidenziaCampo();
    ColoreGotFocus(campo);
}

void frmDaStudio::txt_KeyUp(int, int&, int) {}

void frmDaStudio::txt_LostFocus(int Index) {
    ui::TextBox& campo = txt(Index);
    ColoreLostFocus(campo, false);
    const CampoStudio* dichiarato = CampoStudioDi(Index);
    if (dichiarato == nullptr) return;
    switch (dichiarato->regola) {
        case RegolaCampoStudio::Numero:
            VerificaNumero(campo);
            break;
        case RegolaCampoStudio::CodiceFiscale:
            VerificaCodiceFiscale(campo);
            break;
        case RegolaCampoStudio::Data:
            VerificaCampoData(campo, -2, 1);
            break;
        case RegolaCampoStudio::Firma: {
            bool firmata = !Trim(campo.text()).empty();
            Che(kCampoFirmaPresente).setValue(firmata ? ui::check::Checked : ui::check::Unchecked);
            txt(kCampoFirmaPresente).setText(firmata ? "S" : "N");
            break;
        }
        case RegolaCampoStudio::Nessuna:
            break;
    }
}

void frmDaStudio::VerificaNumero(ui::TextBox& campo) {
    std::string testo = Trim(campo.text());
    bool errato = !testo.empty() && !isNumeric(Variant(testo));
    campo.setBackColor(errato ? glColErrore : glColNormale);
}

void frmDaStudio::VerificaCodiceFiscale(ui::TextBox& campo) {
    if (Trim(campo.text()).empty()) {
        campo.setBackColor(glColNormale);
        return;
    }
    campo.setText(UCase(campo.text()));
    if (VerCodFiscale(campo.text(), 0) != 1) {
        campo.setBackColor(glColNormale);
        return;
    }
    campo.setBackColor(glColErrore);
    int risposta = frmMsgCom::msgCom("Codice Fiscale Errato.  Lo vuoi confermare?", "Sì", "No");
    if (risposta == 1) campo.setBackColor(glColNormale);
}

}  // namespace tolvane
