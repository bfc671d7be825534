// The print options dialog: its controls, load, fill, destination choice, page range, preview
// size, keys, activation and the closing checks. Every choice goes straight into ogOpzSta;
// the window never closes on a file destination without a file or on a reversed page range.
#include "printing/frm_scelta_stam.h"

#include <cmath>
#include <exception>
#include <string>
#include <vector>

#include "common/globali.h"
#include "common/msg_com.h"
#include "common/parametri_menu.h"
#include "common/servizi_finestre.h"
#include "platform/numbered_error.h"
#include "platform/printer_system.h"
#include "platform/text.h"
#include "printing/azienda_util_stampe.h"
#include "startup/programma.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/menu/menu_client.h"
#include "suite/opzioni/opz_stampa.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane {

FrmSceltaStam::Extensions& FrmSceltaStam::extensions() {
    static Extensions e;
    return e;
}

FrmSceltaStam::FrmSceltaStam() : Form("FrmSceltaStam") {
    setCaption("Scelta della modalità di stampa");
    move(0, 0, 9900, 8400);
    // The screen adaptation finds the window's zoom key by name.
    expose("osRisVidKey", [this](std::vector<Variant>&) { return Variant(osRisVidKey); });
    CreaControlli();

    OptStampaSu.on.onClick = [this](int i) { ConTrappola([&] { OptStampaSu_Click(i); }); };
    ComOpz.on.onClick = [this](int i) { ConTrappola([&] { ComOpz_Click(i); }); };
    Fra.on.onDblClick = [this](int i) { Fra_DblClick(i); };
    CheForzaVert->on.onClick = [this] { ConTrappola([&] { CheForzaVert_Click(); }); };
    CheNumPag->on.onClick = [this] { ConTrappola([&] { CheNumPag_Click(); }); };
    ChePdfAutom->on.onClick = [this] { ChePdfAutom_Click(); };
    CheInviaEmail->on.onClick = [this] { CheInviaEmail_Click(); };
    ComParIniPE->on.onClick = [this] {
        if (extensions().openEmailPanel) extensions().openEmailPanel(*this);
    };
    txt.on.onGotFocus = [this](int i) { txt_GotFocus(i); };
    txt.on.onLostFocus = [this](int i) { txt_LostFocus(i); };
    txt.on.onKeyUp = [this](int i, int& k, int s) { txt_KeyUp(i, k, s); };
    ComHlp.on.onClick = [this](int i) { ComHlp_Click(i); };
    ComCerca.on.onClick = [this](int i) { ComCerca_Click(i); };
    ComChiudi->on.onClick = [this] { ComChiudi_Click(); };

    OptSepCampi.on.onClick = [this](int i) { ConTrappola([&] { OptSepCampi_Click(i); }); };
    OptDelimStr.on.onClick = [this](int i) { ConTrappola([&] { OptDelimStr_Click(i); }); };
    CheNumNoForm->on.onClick = [this] { ConTrappola([&] { CheNumNoForm_Click(); }); };
    CheFisUtilComp->on.onClick = [this] { ConTrappola([&] { CheFisUtilComp_Click(); }); };
    for (ui::TextBox* box :
         {TxtFisMrAlt, TxtFisMrBas, TxtFisColonne, TxtFisRighe, TxtFisCodIniComp, TxtFisCodFinComp})
        box->on.onLostFocus = [this, box] { ConTrappola([&] { TxtFis_LostFocus(*box); }); };

    ComSalOpz->on.onClick = [this] { ConTrappola([&] { ComSalOpz_Click(); }); };
    ComCancOpz->on.onClick = [this] { ConTrappola([&] { ComCancOpz_Click(); }); };
    ComSelTutto->on.onClick = [this] { ComSelTutto_Click(); };
    ComDeSelTutto->on.onClick = [this] { ComDeSelTutto_Click(); };
    ComUsaDef->on.onClick = [this] { ConTrappola([&] { ComUsaDef_Click(); }); };
    ComOk->on.onClick = [this] { ConTrappola([&] { ComOk_Click(); }); };
    ComAnnulla->on.onClick = [this] { ComAnnulla_Click(); };

    GriPri->on.onClick = [this] { ConTrappola([&] { GriPri_Click(); }); };
    GriPri->on.onKeyDown = [this](int& k, int s) { GriPri_KeyDown(k, s); };
    GriPorte->on.onClick = [this] { ConTrappola([&] { griPorte_Click(); }); };
    cboCassetti->on.onClick = [this] { ConTrappola([&] { cboCassetti_Click(); }); };
    cboTipoCarta->on.onClick = [this] { ConTrappola([&] { cboTipoCarta_Click(); }); };
    ComPaperSize->on.onClick = [this] { ConTrappola([&] { GetPaperList(false); }); };
}

void FrmSceltaStam::CreaControlli() {
    auto label = [](ui::ControlArray<ui::Label>& array, int index, ui::Control* in,
                    const char* caption) { array.add(index, in).setCaption(caption); };
    ui::Frame& stampaSu = Fra.add(0);
    stampaSu.setCaption("Stampa su: ");
    const char* destinazioni[] = {"&Stampante", "&Video", "&File", "File/stam. a &lung. fissa"};
    for (int i = 0; i < 4; ++i) OptStampaSu.add(i, &stampaSu).setCaption(destinazioni[i]);

    ui::Frame& stampante = FraOpz.add(0);
    stampante.setCaption("Scelta della stampante:");
    GriPri = &add<ui::Grid>("GriPri", &stampante);
    GriPri->setHeight(1800);
    label(Lab, 9, &stampante, "Stampanti disponibili");
    labTotStamp = &add<ui::Label>("labTotStamp", &stampante);
    label(Label7, 4, &stampante, "Cassetto:");
    cboCassetti = &add<ui::ComboBox>("cboCassetti", &stampante);
    cboCassetti->setStyle(ui::ComboBox::Style::DropDownList);
    cboCassetti->setWidth(4200);
    label(Label7, 18, &stampante, "Tipo carta:");
    cboTipoCarta = &add<ui::ComboBox>("cboTipoCarta", &stampante);
    cboTipoCarta->setStyle(ui::ComboBox::Style::DropDownList);
    cboTipoCarta->setWidth(4200);
    label(Label7, 2, &stampante, "Stampa Pagine da:");
    txt.add(10, &stampante).setWidth(900);
    label(Label7, 3, &stampante, "a:");
    txt.add(20, &stampante).setWidth(900);
    CheForzaVert = &add<ui::CheckBox>("CheForzaVert", &stampante);
    CheForzaVert->setCaption(
        "Forza la stampa in verticale (Da utilizzarsi solo in caso di foglio più grande  dell' "
        "A4)");
    ChePdfAutom = &add<ui::CheckBox>("ChePdfAutom", &stampante);
    ChePdfAutom->setCaption("Nome file Pdf autom.");
    CheInviaEmail = &add<ui::CheckBox>("CheInviaEmail", &stampante);
    CheInviaEmail->setCaption("Invia per Email");
    ComPaperSize = &add<ui::CommandButton>("ComPaperSize", &stampante);
    ComPaperSize->setCaption("PaperSize");
    ComOpz.add(0, &stampante).setCaption("Opzioni");
    ComParIniPE = &add<ui::CommandButton>("ComParIniPE", &stampante);
    ComParIniPE->setCaption("Par ini Pdf/Email");

    ui::Frame& video = FraOpz.add(1);
    video.setCaption("Opzioni di Visualizzazione:");
    label(Lab, 0, &video, "Fattore di visualizzazione:");
    labFatt = &add<ui::Label>("labFatt", &video);
    label(Lab, 1, &video, "Memorizza pagine:");
    LabMemVid = &add<ui::Label>("LabMemVid", &video);
    label(Label7, 0, &video, "Stampa Pagine da:");
    txt.add(30, &video).setWidth(900);
    label(Label7, 1, &video, "a:");
    txt.add(40, &video).setWidth(900);
    ComOpz.add(1, &video).setCaption("Cambia");

    CreaPannelloFile();
    CreaPannelloFisso();
    // The panels of the four destinations lie on one another.
    addPages(FraOpz.name());

    LabStaAttuale = &add<ui::Label>("LabStaAttuale");
    CheNumPag = &add<ui::CheckBox>("CheNumPag");
    CheNumPag->setCaption("Mess.Numero pagine");
    ComUsaDef = &add<ui::CommandButton>("ComUsaDef");
    ComUsaDef->setCaption("Stampante predefinita");
    ComSalOpz = &add<ui::CommandButton>("ComSalOpz");
    ComSalOpz->setCaption("Salva op&zioni stampa");
    ComCancOpz = &add<ui::CommandButton>("ComCancOpz");
    ComCancOpz->setCaption("Canc. op&zioni stampa");
    ComChiudi = &add<ui::CommandButton>("ComChiudi");
    ComChiudi->setCaption("&Chiudi");
    codFile = &add<ui::CommonDialog>("codFile");

    CreaPannelloSalva();

    PicPdfEmail = &add<ui::PictureBox>("PicPdfEmail");
    PicPdfEmail->setVisible(false);
    CodFilePdfEmail = &add<ui::CommonDialog>("CodFilePdfEmail");
}

bool FrmSceltaStam::Vero(const Variant& value) {
    if (value.isEmpty() || value.isNull()) return false;
    try {
        return value == Variant(true);
    } catch (const NumberedError&) {
        return false;
    }
}

OpzStampa& FrmSceltaStam::Opz() const {
    if (!ogOpzSta) throw objectNotSet(name());
    return *ogOpzSta;
}

std::string FrmSceltaStam::LeggiParEmail(const std::string& psChiave) const {
    if (extensions().leggiParEmail) return extensions().leggiParEmail(psChiave);
    return goMenuClient ? goMenuClient->Parametro(psChiave).text() : std::string();
}

void FrmSceltaStam::Form_Load() {
    mbAttivata = false;
    setKeyPreview(true);
    setHelpContextID(88);
    mbCancOpz = true;

    msStampantiNoCassetti = LeggiPersonal("Tutti", "StampantiNoCassetti", "");
    if (!msStampantiNoCassetti.empty() && !equalText(msStampantiNoCassetti, "tutte")) {
        if (msStampantiNoCassetti.front() != ',') msStampantiNoCassetti.insert(0, ",");
        if (msStampantiNoCassetti.back() != ',') msStampantiNoCassetti += ",";
    }

    RiempiGriglie();

    if (ogOpzSta && Vero(ogOpzSta->LeggiParStampa("MostraNumPag")))
        CheNumPag->setValue(ui::check::Checked);

    miOrdineEmail = {6, 19, 17, 11, 10, 14, 15, 8, 12, 9, 18, 20, 21};

    ChePdfAutom->setValue(ui::check::Unchecked);
    CheInviaEmail->setValue(ui::check::Unchecked);
    bool creator = equalText(LeggiParEmail("UsaPdfCreator"), "S");
    bool pdf995 = equalText(LeggiParEmail("UsaPdf995"), "S");
    if (!creator && !pdf995) {
        ChePdfAutom->setVisible(false);
        CheInviaEmail->setVisible(false);
    } else if (!equalText(LeggiParEmail("StampeEmail"), "S")) {
        CheInviaEmail->setVisible(false);
    }

    osRisVidKey = "StaVid";
    AdattaRisVid(*this, -2);
    if (extensions().makeEmailPanel) extensions().makeEmailPanel(*this);
}

void FrmSceltaStam::RiempiGriglie() {
    std::vector<PrinterInfo> installate = printerSystem().printers();
    std::vector<std::string> nomi;
    std::vector<std::string> porte;
    try {
        ElencoStampanti(nomi, porte);
        labTotStamp->setCaption(std::to_string(nomi.size()));
    } catch (const std::exception&) {
        nomi.clear();
        porte.clear();
        for (const PrinterInfo& p : installate) {
            nomi.push_back(p.name);
            porte.push_back(p.port);
        }
        labTotStamp->setCaption(std::to_string(installate.size()));
    }
    auto fill = [this](ui::Grid& grid, int nameChars, int portChars,
                       const std::vector<std::string>& names,
                       const std::vector<std::string>& ports) {
        grid.setFixedRows(0);
        grid.setFixedCols(0);
        grid.setCols(3);
        grid.setRows(1);
        grid.addItem("N.\tNome\tPorta");
        grid.removeItem(0);
        grid.setColWidth(0, textWidth("9999"));
        grid.setColWidth(1, textWidth(std::string(static_cast<std::size_t>(nameChars), 'M')));
        grid.setColWidth(2, textWidth(std::string(static_cast<std::size_t>(portChars), 'M')));
        for (std::size_t i = 0; i < names.size(); ++i)
            grid.addItem(std::to_string(i) + "\t" + names[i] + "\t" +
                         (i < ports.size() ? ports[i] : ""));
        // With no printer the heading stays the only row: a fixed row needs one below it.
        if (grid.rows() > 1) grid.setFixedRows(1);
    };
    fill(*GriPri, 45, 15, nomi, porte);
    std::vector<std::string> nomiTutte;
    std::vector<std::string> porteTutte;
    for (const PrinterInfo& p : installate) {
        nomiTutte.push_back(p.name);
        porteTutte.push_back(p.port);
    }
    fill(*GriPorte, 40, 10, nomiTutte, porteTutte);
}

bool FrmSceltaStam::VisDecodOk() {
    if (giStaAtt == 1) {
        ui::MsgBox("C'è una stampa in esecuzione. Non è possibile variare i parametri di stampa",
                   ui::msgbox::Critical);
        return false;
    }
    OpzStampa& opz = Opz();
    ImpostaCboCassetti();
    ImpostaCboTipoCarta();
    VisStaAttuale();
    for (int i = 0; i < 4; ++i)
        if (opz.StaVidNonAmmessa(i)) OptStampaSu(i).setEnabled(false);
    int destinazione = opz.StaVid >= 0 && opz.StaVid <= 3 ? opz.StaVid : OpzStampa::kStampante;
    if (OptStampaSu(destinazione).value()) OptStampaSu_Click(destinazione);
    else OptStampaSu(destinazione).setValue(true);
    CheForzaVert->setValue(opz.ForzaVert ? ui::check::Checked : ui::check::Unchecked);
    const LibGenerale& lib = goLibGen();
    txt(10).setText(lib.FormatoNumero(opz.LeggiParStampa("PaginaDa"), "#"));
    txt(20).setText(lib.FormatoNumero(opz.LeggiParStampa("PaginaA"), "#"));
    VisPannelloVideo();
    VisPannelloFile();
    VisPannelloFisso();
    return true;
}

void FrmSceltaStam::VisStaAttuale() { LabStaAttuale->setCaption(DescStampaServer(Opz())); }

void FrmSceltaStam::VisPannelloVideo() {
    OpzStampa& opz = Opz();
    const LibGenerale& lib = goLibGen();
    labFatt->setCaption(
        Variant(lib.Arrotonda(static_cast<double>(opz.Fatt) * 100, "A", 1, 0)).text());
    LabMemVid->setCaption(opz.MemVid == 1 ? "Si" : "No");
    txt(30).setText(lib.FormatoNumero(opz.LeggiParStampa("PaginaDa"), "#"));
    txt(40).setText(lib.FormatoNumero(opz.LeggiParStampa("PaginaA"), "#"));
}

void FrmSceltaStam::OptStampaSu_Click(int Index) {
    // The panels lie on one another: only the chosen one is in front, usable and seen.
    for (auto& [i, pannello] : FraOpz) {
        pannello->setEnabled(false);
        pannello->setVisible(i == Index);
    }
    FraOpz(Index).setEnabled(true);
    FraOpz(Index).zOrder(0);
    OpzStampa& opz = Opz();
    if (Index == OpzStampa::kVideo) opz.SceltaVideo = true;
    opz.StaVid = Index;
    VisStaAttuale();
}

void FrmSceltaStam::ComOpz_Click(int Index) {
    OpzStampa& opz = Opz();
    switch (Index) {
        case 0:
            opz.SceltaVideo = false;
            return;
        case 1:
            break;
        case 2:
        case 3: {
            // File dialogs of the file and fixed-format panels.
            opz.SceltaVideo = false;
            codFile->dialogTitle = "Nome del file di stampa";
            codFile->initDir = opz.PathDefault;
            codFile->flags = 34822;
            codFile->cancelError = true;
            int excel = Index == 2 ? VersioneExcel() : -1;
            if (Index == 3) codFile->filter = "Testo|*.txt";
            else if (excel < 0) codFile->filter = "Compatibile Excel|*.csv;*.txt|Testo|*.txt";
            else
                codFile->filter = std::string("Formato Excel|*.") + (excel < 12 ? "xls" : "xlsx") +
                                  "|Compatibile Excel|*.csv;*.txt|Testo|*.txt";
            try {
                codFile->showSave();
            } catch (const NumberedError& e) {
                // A cancelled dialog keeps the file the print had.
                if (e.number() == ui::uierr::DialogCancelled) return;
                throw;
            }
            if (Index == 3) {
                opz.FisFileName = codFile->fileName;
                LabFileStampaFis->setCaption(opz.FisFileName);
                opz.FisStampante = false;
                VisStaAttuale();
                return;
            }
            opz.FileName = codFile->fileName;
            int entry = codFile->filterIndex;
            if (excel < 0) opz.FileForm = entry == 2 ? 1 : 0;
            else opz.FileForm = entry == 1 ? 2 : (entry == 3 ? 1 : 0);
            VisPannelloFile();
            VisStaAttuale();
            return;
        }
        default:
            return;
    }
    const auto& size = extensions().previewSize;
    if (!size) return;
    const LibGenerale& lib = goLibGen();
    if (opz.Fatt == 0) opz.Fatt = 1;
    double fatt = opz.Fatt;
    int scroll = static_cast<int>(gdRisVidStampa > 0 ? lib.Arrotonda(fatt / gdRisVidStampa * 100)
                                                     : std::lround(fatt * 100));
    int memorizza = opz.MemVid;
    if (!size(scroll, memorizza)) return;
    // The factor keeps its hundredths: rounding it whole would leave only 1, 2, 3...
    opz.Fatt = static_cast<float>(
        gdRisVidStampa > 0 ? lib.Arrotonda(scroll / 100.0 * gdRisVidStampa, 2) : scroll / 100.0);
    opz.MemVid = memorizza;
    VisPannelloVideo();
    VisStaAttuale();
}

void FrmSceltaStam::CheForzaVert_Click() {
    Opz().ForzaVert = CheForzaVert->value() == ui::check::Checked;
    VisStaAttuale();
}

void FrmSceltaStam::CheNumPag_Click() {
    Opz().ScriviParStampa("MostraNumPag", OpzStampa::kTipoAltro,
                          Variant(CheNumPag->value() == ui::check::Checked));
}

void FrmSceltaStam::Fra_DblClick(int Index) {
    if (Index == 0 && ogOpzSta) ogOpzSta->DoppioClicStampaSu = true;
}

void FrmSceltaStam::txt_GotFocus(int Index) {
    ui::TextBox& field = txt(Index);
    EvidenziaCampo();
    // The focus colour of the print windows, which leaves a field marked in error as it is.
    ColoreGotFocus(field, false);
    field.setTag(field.text());
}

void FrmSceltaStam::txt_LostFocus(int Index) {
    ui::TextBox& field = txt(Index);
    const LibGenerale& lib = goLibGen();
    if (Index < 1000) {
        ConTrappola([&] {
            std::string testo = lib.FormatoNumero(Variant(field.text()), "#");
            std::int16_t pagina;
            try {
                pagina = lib.ValoreIntero(Variant(testo));
            } catch (const NumberedError&) {
                // A page beyond the range is refused and the field shows the page it had.
                field.setText(field.tag());
                throw;
            }
            field.setText(testo);
            bool da = Index == 10 || Index == 30;
            Opz().ScriviParStampa(da ? "PaginaDa" : "PaginaA", OpzStampa::kTipoAltro,
                                  Variant(pagina));
            int gemello = Index == 10 ? 30 : Index == 30 ? 10 : Index == 20 ? 40 : 20;
            if (txt.exists(gemello)) {
                txt(gemello).setText(testo);
                txt(gemello).setBackColor(field.backColor());
            }
        });
        return;
    }
    switch (Index) {
        case 1017:
        case 1117:
        case 1217:
        case 1019:
        case 1119:
        case 1219:
            if (field.text() != field.tag())
                field.setText(lib.FormatoNumero(Variant(field.text()), "0"));
            break;
        default:
            break;
    }
}

void FrmSceltaStam::txt_KeyUp(int Index, int& KeyCode, int Shift) {
    if (Index != 1520 || Shift != 0 || KeyCode < ui::key::F2 || KeyCode > ui::key::F5) return;
    if (extensions().customerEmail) extensions().customerEmail(*this, Index, "x1");
}

void FrmSceltaStam::ComHlp_Click(int Index) { FocusPerHelp(*this, Index, ui::key::F2, 0); }

void FrmSceltaStam::ComCerca_Click(int Index) {
    if (!txt.exists(Index)) return;
    ui::TextBox& field = txt(Index);
    ui::CommonDialog& dialog = *CodFilePdfEmail;
    dialog.filter.clear();
    if (Index == 1003 || Index == 1007) {
        dialog.dialogTitle = Index == 1003 ? "Nome del file per pdf" : "Nome del file per log";
        if (Index == 1007) dialog.filter = "Testo|*.txt";
        dialog.fileName = field.text();
        dialog.flags = 34822;
        dialog.cancelError = false;
        ConTrappola([&] {
            dialog.showSave();
            field.setText(dialog.fileName);
        });
        return;
    }
    dialog.dialogTitle = "Directory per stunnel";
    dialog.flags = 0x8090C;
    dialog.fileName = CercaFile(field.text(), "*.*");
    dialog.cancelError = true;
    try {
        dialog.showOpen();
        field.setText(goLibGen().EstraiCartella(dialog.fileName));
    } catch (const NumberedError& e) {
        if (e.number() != ui::uierr::DialogCancelled) frmMsgCom::MsgErrfrm(e);
    }
}

void FrmSceltaStam::ChePdfAutom_Click() {
    if (mbAttivata) return;
    if (extensions().pdfAutomClick) ConTrappola([&] { extensions().pdfAutomClick(*this); });
}

void FrmSceltaStam::CheInviaEmail_Click() {
    if (mbAttivata) return;
    if (extensions().inviaEmailClick) ConTrappola([&] { extensions().inviaEmailClick(*this); });
}

void FrmSceltaStam::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii == ui::key::Return || KeyAscii == ui::key::Escape) KeyAscii = 0;
}

void FrmSceltaStam::Form_KeyDown(int& KeyCode, int Shift) {
    if (GestTastoF1(*this, KeyCode, Shift)) return;
    if (KeyCode != ui::key::Return || Shift >= ui::shift::Ctrl) return;
    try {
        // Enter on a printer grid chooses the printer (its own key handler), it does not leave.
        ui::Control* active = activeControl();
        if (active && active->kind() == ui::ControlKind::Grid) return;
        TastiCampo(KeyCode, Shift);
    } catch (const NumberedError&) {
    }
}

void FrmSceltaStam::Form_Activate() {
    if (!ogOpzSta) return;
    mbAttivata = true;
    if (Vero(ogOpzSta->LeggiParStampa("PdfAutomAbil")) && ChePdfAutom->visible()) {
        ChePdfAutom->setValue(ui::check::Checked);
        CheInviaEmail->setEnabled(true);
    } else {
        ChePdfAutom->setValue(ui::check::Unchecked);
        CheInviaEmail->setEnabled(false);
    }
    if (Vero(ogOpzSta->LeggiParStampa("EmailInvia")) && CheInviaEmail->visible())
        CheInviaEmail->setValue(ui::check::Checked);
    ui::DoEvents();
    mbAttivata = false;
}

void FrmSceltaStam::Form_Unload(bool& Cancel) {
    if (ogOpzSta) {
        const OpzStampa& opz = *ogOpzSta;
        const LibGenerale& lib = goLibGen();
        if ((opz.StaVid == OpzStampa::kFile && lib.EVuoto(Variant(opz.FileName))) ||
            (opz.StaVid == OpzStampa::kFissa && lib.EVuoto(Variant(opz.FisFileName)))) {
            ui::MsgBox("In caso di stampa su file è obbligatorio specificare il nome file.");
            Cancel = true;
            return;
        }
        long da = lib.ValoreLong(opz.LeggiParStampa("PaginaDa"));
        long a = lib.ValoreLong(opz.LeggiParStampa("PaginaA"));
        // No last page (0, empty) means up to the end: only a real last page can be too small.
        if (a > 0 && da > a) {
            ui::MsgBox("Selezione Pagina Da maggiore di Pagina A");
            Cancel = true;
            return;
        }
    }
    ChiudiProgramma(false);
}

void FrmSceltaStam::ComChiudi_Click() { unload(); }

}  // namespace tolvane
