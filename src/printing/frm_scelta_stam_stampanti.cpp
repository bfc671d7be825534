// Printer, fixed-format port, tray and paper choice of the print options dialog, from the
// printer system's lists. Never shows a tray or paper of a printer other than the print's.
#include <memory>
#include <string>
#include <vector>

#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "platform/printer_system.h"
#include "platform/text.h"
#include "printing/azienda_util_stampe.h"
#include "printing/frm_scelta_stam.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/opzioni/opz_stampa.h"
#include "suite/stampa/stampante_pdf.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

const char* const kNessunaScelta = "Nessuna impostazione - Default";

void SoloDefault(ui::ComboBox& combo) {
    combo.clear();
    combo.addItem(kNessunaScelta);
    combo.setListIndex(0);
}

}  // namespace

void FrmSceltaStam::StampanteDelleListe(std::string& psNome, std::string& psPorta) const {
    const OpzStampa& opz = Opz();
    if (opz.StampanteOpz.empty()) {
        psNome = Printer().DeviceName();
        psPorta = Printer().Port();
    } else {
        psNome = opz.StampanteOpz;
        psPorta = opz.StampanteOpz2;
    }
}

bool FrmSceltaStam::StampanteSenzaCassetti(const std::string& psNome) const {
    return equalText(msStampantiNoCassetti, "tutte") ||
           InStr(1, msStampantiNoCassetti, "," + psNome + ",") > 0;
}

void FrmSceltaStam::GriPri_Click() {
    // The heading row names no printer.
    if (GriPri->row() < 1 || GriPri->rows() < 2) return;
    SelezionaStampante(false);
}

void FrmSceltaStam::GriPri_KeyDown(int& KeyCode, int /*Shift*/) {
    if (KeyCode == ui::key::Return) ConTrappola([&] { GriPri_Click(); });
}

void FrmSceltaStam::SelezionaStampante(bool pbDefault) {
    OpzStampa& opz = Opz();
    std::string nome;
    std::string porta;
    if (pbDefault) {
        std::string nonInstallata;
        try {
            LeggiStampanteDef(nome, nonInstallata, porta);
        } catch (const std::exception&) {
        }
        if (NessunaStampantePredefinita(nome, nonInstallata)) return;
        if (nome.empty() && AvvisoServerStampa()) return;
        if (giStampDefCambiata != 1) {
            const std::string& daControllare = nonInstallata.empty() ? nome : nonInstallata;
            if (StampanteAltraSessione(daControllare, giNumSessione)) {
                MsgStampanteAltraSessione(daControllare);
                return;
            }
        }
    }
    // Tray and paper numbers go with the printer being left, also when the next one is refused.
    opz.ScriviParStampa("NumCassetto", OpzStampa::kTipoAltro, Variant(0));
    opz.ScriviParStampa("NumTipoCarta", OpzStampa::kTipoAltro, Variant(0));
    if (pbDefault) {
        opz.StampanteOpz.clear();
        opz.StampanteOpz2 = porta;
    } else {
        int riga = GriPri->row();
        nome = GriPri->textMatrix(riga, 1);
        if (!ImpostaStampante(nome, 1, opz.StampanteOpz)) {
            ImpostaCboCassetti();
            ImpostaCboTipoCarta();
            VisStaAttuale();
            return;
        }
        porta = GriPri->textMatrix(riga, 2);
        if (giStampDefCambiata == 1 && !equalText(nome, opz.StampanteOpz) &&
            !findPrinter(printerSystem(), nome)) {
            frmMsgCom::msgCom(
                "Attenzione: la stampante richiesta non è settabile direttamente dopo che è "
                "stata fatta una stampa su altra stampante\r\n"
                "Uscire e rientrare e scegliere direttamente questa stampante",
                "&Ok");
            opz.StampanteOpz = Printer().DeviceName();
            opz.StampanteOpz2 = Printer().Port();
        } else {
            opz.StampanteOpz = nome;
            opz.StampanteOpz2 = porta;
        }
    }
    if (ChePdfAutom->value() == ui::check::Checked) {
        std::string pdf =
            pdfPrinterWord(LeggiParEmail("UsaPdfCreator"), LeggiParEmail("UsaPdf995"));
        bool installata = false;
        for (const PrinterInfo& p : printerSystem().printers())
            installata |= isPdfPrinter(p.name, pdf);
        if (installata) {
            mbAttivata = true;
            ChePdfAutom->setValue(ui::check::Unchecked);
            opz.ScriviParStampa("PdfAutomAbil", OpzStampa::kTipoAltro, Variant(false));
            CheInviaEmail->setValue(ui::check::Unchecked);
            CheInviaEmail->setEnabled(false);
            opz.ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(false));
            ui::DoEvents();
            mbAttivata = false;
        }
    }
    ImpostaCboCassetti();
    ImpostaCboTipoCarta();
    VisStaAttuale();
}

void FrmSceltaStam::griPorte_Click() {
    int riga = GriPorte->row();
    if (riga < 1 || GriPorte->rows() < 2) return;
    GriPorte->setCol(0);
    long indice = goLibGen().ValoreLong(Variant(GriPorte->textMatrix(riga, 0)));
    std::vector<PrinterInfo> installate = printerSystem().printers();
    if (indice < 0 || indice >= static_cast<long>(installate.size()))
        throw NumberedError(errnum::Subscript, "Subscript out of range", name());
    const PrinterInfo& stampante = installate[static_cast<std::size_t>(indice)];
    OpzStampa& opz = Opz();
    opz.FisFileName = StampanteRete(stampante) ? stampante.name : stampante.port;
    LabFileStampaFis->setCaption(opz.FisFileName);
    opz.FisStampante = true;
    VisStaAttuale();
}

void FrmSceltaStam::ImpostaCboCassetti() {
    Clessidra(true);
    try {
        std::string nome;
        std::string porta;
        StampanteDelleListe(nome, porta);
        std::vector<PrinterChoice> cassetti;
        if (!StampanteSenzaCassetti(nome)) cassetti = printerSystem().trays(nome);
        if (cassetti.empty()) {
            SoloDefault(*cboCassetti);
        } else {
            long scelto = goLibGen().ValoreLong(Opz().LeggiParStampa("NumCassetto"));
            cboCassetti->clear();
            cboCassetti->addItem(kNessunaScelta);
            int daScegliere = 1;
            for (const PrinterChoice& c : cassetti) {
                std::string numero = std::to_string(c.number);
                if (numero.size() < 6) numero.insert(0, 6 - numero.size(), ' ');
                cboCassetti->addItem(numero + " - " + c.name);
                if (scelto == c.number) daScegliere = cboCassetti->listCount();
            }
            cboCassetti->setListIndex(daScegliere - 1);
        }
    } catch (const std::exception& e) {
        SoloDefault(*cboCassetti);
        Clessidra(false);
        frmMsgCom::MsgErrfrm(e);
        return;
    }
    Clessidra(false);
}

void FrmSceltaStam::ImpostaCboTipoCarta() {
    Clessidra(true);
    try {
        GetPaperList(true);
    } catch (const std::exception& e) {
        Clessidra(false);
        frmMsgCom::MsgErrfrm(e);
        return;
    }
    Clessidra(false);
}

void FrmSceltaStam::GetPaperList(bool pbSettaCbo) {
    const OpzStampa& opz = Opz();
    std::string nome;
    std::string porta;
    StampanteDelleListe(nome, porta);
    int attuale = -1;
    if (opz.StampanteOpz.empty()) attuale = Printer().PaperSize();
    else if (auto installata = findPrinter(printerSystem(), opz.StampanteOpz))
        attuale = printerSystem().defaultPaperSize(installata->name);
    std::vector<PrinterChoice> carte = printerSystem().paperSizes(nome);
    if (!pbSettaCbo && carte.empty() && AvvisoServerStampa()) return;

    long scelto = goLibGen().ValoreLong(opz.LeggiParStampa("NumTipoCarta"));
    std::string testo = "Formati disponibili ";
    int daScegliere = 1;
    if (pbSettaCbo) {
        cboTipoCarta->clear();
        cboTipoCarta->addItem(kNessunaScelta);
    }
    for (const PrinterChoice& c : carte) {
        std::string voce = std::to_string(c.number) + " - " + c.name;
        if (c.number == attuale) voce += " (ATTUALE)";
        if (pbSettaCbo) {
            cboTipoCarta->addItem(voce);
            if (scelto == c.number) daScegliere = cboTipoCarta->listCount();
        } else {
            testo += "\r\n" + voce;
        }
    }
    if (pbSettaCbo) cboTipoCarta->setListIndex(daScegliere - 1);
    else frmMsgCom::msgCom(testo, "&Ok");
}

void FrmSceltaStam::ScriviSceltaCombo(ui::ComboBox& combo, const char* psParametro) {
    long numero = 0;
    if (combo.listIndex() > 0) {
        const std::string& voce = combo.text();
        auto trattino = voce.find('-');
        if (trattino != std::string::npos)
            numero = goLibGen().ValoreLong(Variant(Trim(voce.substr(0, trattino))));
    }
    Opz().ScriviParStampa(psParametro, OpzStampa::kTipoAltro, Variant(numero));
    VisStaAttuale();
}

void FrmSceltaStam::cboCassetti_Click() { ScriviSceltaCombo(*cboCassetti, "NumCassetto"); }
void FrmSceltaStam::cboTipoCarta_Click() { ScriviSceltaCombo(*cboTipoCarta, "NumTipoCarta"); }

}  // namespace tolvane
