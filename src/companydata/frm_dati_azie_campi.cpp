// Field events of frmDatiAzie: focus colours and account editing form, look-up keys, leave
// rules (account, decoding, the page's own rule) and the mirrors written back into txt(n).
// A run-time error inside an event is reported and ends that event only.
#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "companydata/frm_dati_azie.h"
#include "platform/text.h"
#include "suite/decodifiche/servizio_decodifiche.h"
#include "suite/libgenerale/lib_generale.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

// The form reports an event's error in the common error box.
void mostraErrore(const std::exception& e) { MostraErrore(e); }

}  // namespace

void frmDatiAzie::MarcaErrore(int piCampo) { txt(piCampo).setBackColor(glColErrore); }

bool frmDatiAzie::InErrore(int piCampo) const { return txt(piCampo).backColor() == glColErrore; }

void frmDatiAzie::txt_GotFocus(int Index) {
    ui::TextBox& campo = txt(Index);
    ColoreGotFocus(campo);
    const CampoPagina* dichiarato = Campo(Index);
    if (dichiarato != nullptr && dichiarato->conto) {
        campo.setText(goLibGen().ConvertiConto(campo.text(), "Conto"));
    }
    ImpostaCampoFocus(campo);
}

void frmDatiAzie::txt_KeyUp(int Index, int& KeyCode, int Shift) {
    if ((KeyCode != ui::key::F2 && KeyCode != ui::key::F3) || Shift != ui::shift::None) return;
    const CampoPagina* dichiarato = Campo(Index);
    if (dichiarato == nullptr || dichiarato->ricerca.empty() || !goDecodifiche) return;
    ConTrappola(
        [&] {
            PreparaHelpRic(dichiarato->ricerca, dichiarato->filtroRicerca, txt(Index),
                           Lab.exists(Index) ? &Lab(Index) : nullptr);
        },
        mostraErrore);
}

void frmDatiAzie::ComHlp_Click(int Index) {
    ConTrappola([&] { FocusPerHelp(*this, Index, ui::key::F2, ui::shift::None); }, mostraErrore);
}

void frmDatiAzie::txt_LostFocus(int Index) {
    ui::TextBox& campo = txt(Index);
    ColoreLostFocus(campo, true);
    const CampoPagina* dichiarato = Campo(Index);
    if (dichiarato == nullptr) return;
    ConTrappola(
        [&] {
            if (dichiarato->conto && dichiarato->uscitaConto != UscitaConto::Decodifica) {
                // Where the page shows accounts only with dashes, the editing form has none: a
                // typed dash is a wrong account.
                if (dichiarato->uscitaConto == UscitaConto::Verifica &&
                    InStr(1, campo.text(), "-") > 0) {
                    MarcaErrore(Index);
                }
                campo.setText(goLibGen().FormattaPerTipo(Variant(campo.text()), "Conto"));
            }
            if (dichiarato->decodifica && goDecodifiche) {
                const RegolaDecodifica& regola = *dichiarato->decodifica;
                Variant colonna(regola.colonna);
                bool trovato = goDecodifiche->DecodArtConto(
                    regola.tipo, campo, Lab.exists(Index) ? &Lab(Index) : nullptr, regola.filtro,
                    regola.colonna.empty() ? nullptr : &colonna);
                if (!trovato) {
                    if (regola.erroreSeInesistente) MarcaErrore(Index);
                } else if (!Trim(campo.text()).empty() && regola.verifica) {
                    std::string messaggio = regola.verifica(*this, Index, colonna);
                    if (!messaggio.empty()) {
                        MarcaErrore(Index);
                        frmMsgCom::msgCom(messaggio, "&Ok");
                    }
                }
            }
            if (dichiarato->regolaUscita) dichiarato->regolaUscita(*this, Index);
        },
        mostraErrore);
}

void frmDatiAzie::Che_Click(int Index) {
    if (txt.exists(Index)) txt(Index).setText(Che(Index).value() == ui::check::Checked ? "S" : "N");
    const CampoPagina* dichiarato = Campo(Index);
    if (dichiarato != nullptr && dichiarato->alClick) {
        ConTrappola([&] { dichiarato->alClick(*this, Index); }, mostraErrore);
    }
}

void frmDatiAzie::CheChiu_Click(int) {
    if (mbCaricaCoge) return;
    std::string giorni;
    for (int giorno = 1; giorno <= 7; ++giorno) {
        if (CheChiu.exists(giorno) && CheChiu(giorno).value() == ui::check::Checked) {
            giorni += std::to_string(giorno);
        }
    }
    msGiorniChiu = giorni;
}

void frmDatiAzie::Combo_LostFocus(int Index) {
    const CampoPagina* dichiarato = Campo(Index);
    if (dichiarato == nullptr || !txt.exists(Index)) return;
    int scelta = Combo(Index).listIndex();
    bool valida = scelta >= 0 && scelta < static_cast<int>(dichiarato->voci.size());
    txt(Index).setText(valida ? dichiarato->voci[static_cast<std::size_t>(scelta)].codice
                              : std::string());
}

void frmDatiAzie::Opzione_Click(int piCampo, int Index) {
    const CampoPagina* dichiarato = Campo(piCampo);
    if (dichiarato == nullptr || Index < 0 || Index >= static_cast<int>(dichiarato->voci.size())) {
        return;
    }
    txt(piCampo).setText(dichiarato->voci[static_cast<std::size_t>(Index)].codice);
}

}  // namespace tolvane
