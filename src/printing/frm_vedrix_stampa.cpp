// The list print dialog's events: font, print options, the default printer, and the print.
// The one-at-a-time guard and the printer alignment come before the list's print object runs.
#include "printing/frm_vedrix_stampa.h"

#include <exception>

#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "platform/ini_file.h"
#include "platform/printer_system.h"
#include "printing/azienda_util_stampe.h"
#include "printing/frm_scelta_stam.h"
#include "printing/frm_stampa_in_corso.h"
#include "printing/frm_v_stampa.h"
#include "startup/programma.h"
#include "suite/opzioni/opz_stampa.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

ui::Font arial10() {
    ui::Font font;
    font.name = "Arial";
    font.size = 10;
    return font;
}

void focusTo(ui::Control& control) {
    try {
        control.setFocus();
    } catch (const std::exception&) {
        // A window not on screen has no focus to give.
    }
}

}  // namespace

FrmVedrixStampa::FrmVedrixStampa() : Form("FrmVedrixStampa") {
    setCaption("Stampa dati della lista");
    move(0, 0, 6000, 3600);
    ComUsaDef.setCaption("Stampante predefinita");
    ComUsaDef.move(120, 120, 2400, 400);
    comSceStam.setCaption("Seleziona Stampante");
    comSceStam.move(2640, 120, 2400, 400);
    FraTipSta.setCaption("Stampa ");
    FraTipSta.move(120, 640, 2700, 1000);
    OptTipsta.add(1, &FraTipSta).setCaption("Tutte le colonne ");
    OptTipsta(1).move(120, 240, 2400, 300);
    OptTipsta.add(0, &FraTipSta).setCaption("Solo le colonne visibili");
    OptTipsta(0).move(120, 580, 2400, 300);
    fraOrientamento.setCaption("Orientamento");
    fraOrientamento.move(2940, 640, 2100, 1000);
    OptOrientamento.add(1, &fraOrientamento).setCaption("Verticale");
    OptOrientamento(1).move(120, 240, 1800, 300);
    OptOrientamento.add(0, &fraOrientamento).setCaption("Orizzontale");
    OptOrientamento(0).move(120, 580, 1800, 300);
    labStaAttuale.setCaption("Stampante attuale:");
    labStaAttuale.move(120, 1760, 5600, 600);
    CmdSceFont.setCaption("Scegli Font");
    CmdSceFont.move(120, 2520, 1500, 400);
    CmdStampa.setCaption("&STAMPA");
    CmdStampa.move(2640, 2520, 1200, 400);
    CmdEsci.setCaption("&ESCI");
    CmdEsci.move(3960, 2520, 1200, 400);

    ComUsaDef.on.onClick = [this] { ComUsaDef_Click(); };
    comSceStam.on.onClick = [this] { comSceStam_Click(); };
    CmdStampa.on.onClick = [this] { CmdStampa_Click(); };
    CmdEsci.on.onClick = [this] { CmdEsci_Click(); };
    CmdSceFont.on.onClick = [this] { CmdSceFont_Click(); };
}

const std::shared_ptr<OpzStampa>& FrmVedrixStampa::opzioni() {
    if (!mgOpzSta) {
        mgOpzSta = std::make_shared<OpzStampa>(ogVedrix_ != nullptr ? ogVedrix_->printName
                                                                    : std::string());
        if (!gsFileIni.empty() || !gsFileIniComune.empty()) {
            mgOpzSta->readOptionSets(IniFile::load(gsFileIni), IniFile::load(gsFileIniComune),
                                     gdRisVidStampa);
        }
    }
    return mgOpzSta;
}

void FrmVedrixStampa::VisStaAttuale() { labStaAttuale.setCaption(DescStampaServer(*opzioni())); }

void FrmVedrixStampa::Form_Load() {
    setKeyPreview(true);
    mgFont = arial10();
    VisStaAttuale();
}

void FrmVedrixStampa::Form_KeyDown(int& KeyCode, int Shift) { GestTastoF1(*this, KeyCode, Shift); }

void FrmVedrixStampa::CmdEsci_Click() { unload(); }

void FrmVedrixStampa::Form_Unload(bool& Cancel) {
    if (giStaAtt == 1) {
        // The running print still uses this dialog's options and font.
        frmMsgCom::msgCom("Stampa in corso: attendere la fine della stampa", "&Ok");
        Cancel = true;
        return;
    }
    mgOpzSta.reset();
    ogVedrix_ = nullptr;
    ChiudiProgramma(false);
}

void FrmVedrixStampa::CmdSceFont_Click() {
    codFont.dialogFont = arial10();
    codFont.cancelError = true;
    codFont.dialogTitle = "Scegliere il font per la stampa";
    codFont.flags = 2;
    try {
        codFont.showFont();
        mgFont = codFont.dialogFont;
    } catch (const std::exception&) {
        // Cancelled: the print font stays as it was.
    }
}

void FrmVedrixStampa::comSceStam_Click() {
    FrmSceltaStam& scelta = ui::desktop().load<FrmSceltaStam>();
    opzioni()->PreparaScelta(3, true);
    scelta.ogOpzSta = opzioni().get();
    if (scelta.VisDecodOk()) MostraForm(scelta, true, 1, 0);
    VisStaAttuale();
}

void FrmVedrixStampa::ComUsaDef_Click() {
    std::string nome;
    std::string nonInstallata;
    std::string porta;
    bool errore = false;
    try {
        if (giStampDefCambiata == 1) {
            ImpostaStampanteDef(nome, nonInstallata, porta);
        } else {
            LeggiStampanteDef(nome, nonInstallata, porta);
        }
    } catch (const std::exception&) {
        errore = true;
    }
    if (!errore && NessunaStampantePredefinita(nome, nonInstallata)) return;
    if (!StampantePredefinitaUsabile(errore, nome, nonInstallata, opzioni()->NomeStampa())) return;
    try {
        opzioni()->StampanteOpz.clear();
        opzioni()->StampanteOpz2 = porta;
        VisStaAttuale();
    } catch (const std::exception& e) {
        frmMsgCom::MsgErrfrm(e);
    }
}

void FrmVedrixStampa::CmdStampa_Click() {
    if (giStaAtt == 1) {
        ui::MsgBox("Si può lanciare solo una stampa alla volta");
        return;
    }
    if (ogVedrix_ == nullptr) {
        ui::MsgBox("Nessuna lista da stampare: riaprire la stampa dalla lista");
        return;
    }
    StampaLista& stampa = ogVedrix_->ogSta;
    stampa.ofrmVStampa = &ui::desktop().instance<FrmVStampa>();
    stampa.ofrmStampaInCorso = &ui::desktop().instance<frmStampaInCorso>();
    stampa.ogPrtStam = &Printer();
    stampa.ogOpzSta = opzioni();

    int orientamento = -1;
    if (OptOrientamento(0).value()) orientamento = 2;
    if (OptOrientamento(1).value()) orientamento = 1;
    std::string tipo;
    if (OptTipsta(0).value()) tipo = "V";
    if (OptTipsta(1).value()) tipo = "T";
    if (orientamento == -1 && fraOrientamento.enabled()) {
        ui::MsgBox("Scegliere un' orientamento");
        focusTo(OptOrientamento(0));
        return;
    }
    if (tipo.empty() && FraTipSta.enabled()) {
        ui::MsgBox("Scegliere un tipo di stampa");
        focusTo(OptTipsta(0));
        return;
    }
    OpzStampa& opz = *stampa.ogOpzSta;
    if (opz.StaVid == OpzStampa::kStampante && !UsaStampanteStampa(opz, 0)) {
        if (AvvisoServerStampa()) return;
        frmMsgCom::msgCom("Impossibile impostare la stampante predefinita\r\nper stampare su " +
                              opz.StampanteOpz + " uscire dal programma e rientrare\r\n" +
                              "Oppure scegliere un'altra stampante",
                          "&Ok", std::nullopt, std::nullopt, std::nullopt, 80, false, 600,
                          std::nullopt, 1);
        return;
    }
    VedrixLista* lista = ogVedrix_;
    ogVedrix(nullptr);
    try {
        lista->AvviaStampa(mgFont, orientamento, tipo);
    } catch (const std::exception& e) {
        frmMsgCom::MsgErrfrm(e);
        return;
    }
    // What the print wrote otherwise than the list holds it, told once at its end.
    const auto& engine = lista->ogSta.engine();
    if (engine && !engine->notice().empty()) frmMsgCom::msgCom(engine->notice(), "&Ok");
}

}  // namespace tolvane
