// Saved option sets of the print options dialog: the save panel (which options, which INI,
// which section), writing or deleting the chosen keys, and the default printer button.
// Never reports a set as saved when a key could not be written.
#include <string>
#include <vector>

#include "common/globali.h"
#include "common/ini_programma.h"
#include "common/msg_com.h"
#include "platform/printer_system.h"
#include "platform/text.h"
#include "printing/azienda_util_stampe.h"
#include "printing/frm_scelta_stam.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/opzioni/opz_stampa.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

const char* const kSezioneDefault = "Opzioni Stampa";
constexpr int kNumOpzioni = 25;

struct OpzioneSalvata {
    const char* caption;
    const char* chiave;
};

const OpzioneSalvata kOpzioni[kNumOpzioni] = {
    {"Dove stampare:", "StaVid"},
    {"Forza verticale:", "ForzaVert"},
    {"File di stampa per stampe su file:", "FileName"},
    {"Formato di stampa per stampe su file:", "FileForm"},
    {"Path di default:", "PathDefault"},
    {"Separatore campi per stampe su file:", "SepCampi"},
    {"Qualificatore testo per stampe su file:", "DelimStr"},
    {"Tolgo il formato nei campi numerici  per stampe su file:", "NumNoForm"},
    {"Fattore di visualizzazione:", "Fatt"},
    {"Memorizza pagine per stampa a video:", "MemVid"},
    {"Nome file per stampa fissa:", "FisFileName"},
    {"Stampa fissa su:", "FisStampante"},
    {"Righe vuote in alto per stampa fissa:", "FisMrAlt"},
    {"Righe vuote in basso per stampa fissa:", "FisMrBas"},
    {"Numero di colonne per stampa fissa:", "FisColonne"},
    {"Righe per pagina per stampa fissa:", "FisRighe"},
    {"Sequenza inizio compresso:", "FisCodIniComp"},
    {"Sequenza fine compresso:", "FisCodFinComp"},
    {"Stampa in compresso per stampa fissa:", "FisUtilComp"},
    {"Nome stampante:", "NomeStampante"},
    {"Porta stampante:", "NomePorta"},
    {"Cassetto:", "Cassetto"},
    {"Nome file Pdf autom.", "PdfNomeAutom"},
    {"Invia per Email", "InviaEmail"},
    {"Tipo carta:", "TipoCarta"},
};

std::string SiNo(bool value) { return value ? "Sì" : "No"; }
std::string Booleano(bool value) { return value ? "-1" : "0"; }

// "Fatt" is kept independent of the program's print zoom factor.
std::string FattoreSalvato(float fatt) {
    if (gdRisVidStampa <= 0) return Variant(fatt).text();
    return Variant(goLibGen().Arrotonda(static_cast<double>(fatt) / gdRisVidStampa, "A", 1, -2))
        .text();
}

}  // namespace

void FrmSceltaStam::CreaPannelloSalva() {
    // Places in twips inside the panel: the two frames side by side, one row per option (its
    // caption, its box and the value it would be saved with), the buttons at the foot.
    constexpr double kMargine = 120;
    constexpr double kLarghezzaCornice = 4500;
    constexpr double kPrimaRiga = 1260;
    constexpr double kRiga = 255;
    constexpr double kSinistraChe = 5520;
    constexpr double kSinistraValore = 5820;
    constexpr double kAltezza = 240;
    PicSalPar = &add<ui::PictureBox>("PicSalPar");
    PicSalPar->setVisible(false);
    // The dialog's size, as the PDF/e-mail panel has: opened, it covers the dialog.
    PicSalPar->move(60, 60, width() - 120, height() - 120);
    FraQualeIni = &add<ui::Frame>("FraQualeIni", PicSalPar);
    FraQualeIni->setCaption("Dove salvare");
    FraQualeIni->move(kMargine, 60, kLarghezzaCornice, 1080);
    OptIniPers = &add<ui::OptionButton>("OptIniPers", FraQualeIni);
    OptIniPers->setCaption("Parametri di questo terminale");
    OptIniPers->setValue(true);
    OptIniStd = &add<ui::OptionButton>("OptIniStd", FraQualeIni);
    OptIniStd->setCaption("Parametri comuni a tutti i terminali");
    FraDoveSalva = &add<ui::Frame>("FraDoveSalva", PicSalPar);
    FraDoveSalva->setCaption("In quale zona parametri");
    FraDoveSalva->move(kSinistraChe, 60, kLarghezzaCornice - 300, 1080);
    OptSalInDef = &add<ui::OptionButton>("OptSalInDef", FraDoveSalva);
    OptSalInDef->setCaption("Nei valori di default");
    OptSalInDef->setValue(true);
    OptSalInStamp = &add<ui::OptionButton>("OptSalInStamp", FraDoveSalva);
    OptSalInStamp->setCaption("Solo per questa stampa");
    for (int i = 0; i < kNumOpzioni; ++i) {
        const double top = kPrimaRiga + i * kRiga;
        ui::Label& caption = LabDaSalvare.add(i, PicSalPar);
        caption.setCaption(kOpzioni[i].caption);
        caption.move(kMargine, top, kSinistraChe - kMargine - 60, kAltezza);
        Che.add(i, PicSalPar).move(kSinistraChe, top, 240, kAltezza);
        if (i <= 21) LabValParam.add(i, PicSalPar).move(kSinistraValore, top, 3600, kAltezza);
    }
    // The paper's value label stands on the row of Che(24) but is LabValParam(22).
    LabValParam.add(22, PicSalPar).move(kSinistraValore, kPrimaRiga + 24 * kRiga, 3600, kAltezza);
    const double piede = kPrimaRiga + kNumOpzioni * kRiga + 120;
    ComSelTutto = &add<ui::CommandButton>("ComSelTutto", PicSalPar);
    ComSelTutto->setCaption("Seleziona &tutto");
    ComSelTutto->move(kMargine, piede, 1800, 360);
    ComDeSelTutto = &add<ui::CommandButton>("ComDeSelTutto", PicSalPar);
    ComDeSelTutto->setCaption("Deseleziona t&utto");
    ComDeSelTutto->move(kMargine + 1920, piede, 1800, 360);
    ComOk = &add<ui::CommandButton>("ComOk", PicSalPar);
    ComOk->setCaption("Sal&va");
    ComOk->move(kSinistraValore, piede, 1500, 360);
    ComAnnulla = &add<ui::CommandButton>("ComAnnulla", PicSalPar);
    ComAnnulla->setCaption("Annu&lla");
    ComAnnulla->move(kSinistraValore + 1620, piede, 1500, 360);
}

void FrmSceltaStam::MettiValOpz() {
    const OpzStampa& opz = Opz();
    const LibGenerale& lib = goLibGen();
    std::vector<std::string> v(23);
    const char* destinazioni[] = {"Stampante", "Video", "File", "Fissa"};
    v[0] =
        opz.StaVid >= 0 && opz.StaVid <= 3 ? destinazioni[opz.StaVid] : std::to_string(opz.StaVid);
    v[1] = SiNo(opz.ForzaVert);
    v[2] = opz.FileName;
    v[3] = opz.DescFormatoFile(opz.FileForm);
    v[4] = opz.PathDefault;
    v[5] = opz.SepCampi == "\t" ? "Tab" : opz.SepCampi == " " ? "Spazio" : opz.SepCampi;
    v[6] = opz.DelimStr;
    v[7] = SiNo(opz.NumNoForm);
    v[8] = FattoreSalvato(opz.Fatt);
    v[9] = std::to_string(opz.MemVid);
    v[10] = opz.FisFileName;
    v[11] = Variant(opz.FisStampante).text();
    v[12] = std::to_string(opz.FisMrAlt);
    v[13] = std::to_string(opz.FisMrBas);
    v[14] = std::to_string(opz.FisColonne);
    v[15] = std::to_string(opz.FisRighe);
    v[16] = opz.FisCodIniComp;
    v[17] = opz.FisCodFinComp;
    v[18] = SiNo(opz.FisUtilComp);
    v[19] = opz.StampanteOpz;
    v[20] = opz.StampanteOpz2;
    auto scelta = [&](const char* nome) {
        Variant value = opz.LeggiParStampa(nome);
        return lib.ValoreLong(value) > 0 ? value.text() : std::string("Default");
    };
    v[21] = scelta("NumCassetto");
    v[22] = scelta("NumTipoCarta");
    for (int i = 0; i < 23; ++i) LabValParam(i).setCaption(v[static_cast<std::size_t>(i)]);
}

void FrmSceltaStam::SelDeselSalOpz(bool pbSelez) {
    for (auto& [i, box] : Che) box->setValue(pbSelez ? ui::check::Checked : ui::check::Unchecked);
}

void FrmSceltaStam::ApriPannelloSalva(bool pbCancella) {
    MettiValOpz();
    SelDeselSalOpz(true);
    PicSalPar->setVisible(true);
    PicSalPar->zOrder(0);
    mbCancOpz = pbCancella;
    FraQualeIni->setCaption(pbCancella ? "Dove cancellare" : "Dove salvare");
    ComOk->setCaption(pbCancella ? "&Cancellare" : "&Salvare");
}

void FrmSceltaStam::ComSalOpz_Click() { ApriPannelloSalva(false); }
void FrmSceltaStam::ComCancOpz_Click() { ApriPannelloSalva(true); }
void FrmSceltaStam::ComSelTutto_Click() { SelDeselSalOpz(true); }
void FrmSceltaStam::ComDeSelTutto_Click() { SelDeselSalOpz(false); }
void FrmSceltaStam::ComAnnulla_Click() { PicSalPar->setVisible(false); }

void FrmSceltaStam::ComOk_Click() {
    const OpzStampa& opz = Opz();
    const LibGenerale& lib = goLibGen();
    bool terminale = OptIniPers->value();
    const std::string& file = terminale ? gsFileIni : gsFileIniComune;
    std::string sezione = OptSalInDef->value() ? std::string(kSezioneDefault) : opz.NomeStampa();
    // Without a common INI the keys would land in the terminal's; without a print name in a
    // section nobody reads.
    if (Trim(file).empty()) {
        frmMsgCom::msgCom(terminale ? "Manca il file ini di questo terminale"
                                    : "Manca il file ini comune a tutti i terminali",
                          "&Ok");
        return;
    }
    if (Trim(sezione).empty()) {
        frmMsgCom::msgCom(
            "La stampa non ha un nome: le opzioni si possono salvare solo nei "
            "valori di default",
            "&Ok");
        return;
    }

    bool tutte = true;
    for (auto& [i, box] : Che) tutte = tutte && box->value() == ui::check::Checked;
    if (terminale && mbCancOpz && tutte) {
        if (!ScriviIni(sezione, "", "", false, false, 1, true, false, file)) {
            frmMsgCom::msgCom("Cancellazione delle opzioni di stampa NON RIUSCITA.", "&Ok");
            return;
        }
        PicSalPar->setVisible(false);
        return;
    }

    auto valore = [&](int i) -> std::string {
        switch (i) {
            case 0:
                return std::to_string(opz.StaVid);
            case 1:
                return Booleano(opz.ForzaVert);
            case 2:
                return opz.FileName;
            case 3:
                return std::to_string(opz.FileForm);
            case 4:
                return opz.PathDefault;
            // An empty separator has no code: its key goes, as an empty value's does.
            case 5:
                return opz.SepCampi.empty() ? std::string() : std::to_string(Asc(opz.SepCampi));
            case 6:
                return opz.DelimStr.empty() ? std::string("-1") : std::to_string(Asc(opz.DelimStr));
            case 7:
                return Booleano(opz.NumNoForm);
            case 8:
                return FattoreSalvato(opz.Fatt);
            case 9:
                return std::to_string(opz.MemVid);
            case 10:
                return opz.FisFileName;
            case 11:
                return Booleano(opz.FisStampante);
            case 12:
                return std::to_string(opz.FisMrAlt);
            case 13:
                return std::to_string(opz.FisMrBas);
            case 14:
                return std::to_string(opz.FisColonne);
            case 15:
                return std::to_string(opz.FisRighe);
            case 16:
                return opz.FisCodIniComp;
            case 17:
                return opz.FisCodFinComp;
            case 18:
                return Booleano(opz.FisUtilComp);
            case 19:
                return opz.StampanteOpz;
            case 20:
                return opz.StampanteOpz2;
            case 21:
                return std::to_string(lib.ValoreLong(opz.LeggiParStampa("NumCassetto")));
            case 22:
                return Vero(opz.LeggiParStampa("PdfAutomAbil")) ? "S" : "N";
            case 23:
                return Vero(opz.LeggiParStampa("EmailInvia")) ? "S" : "N";
            case 24:
                return std::to_string(lib.ValoreLong(opz.LeggiParStampa("NumTipoCarta")));
            default:
                return {};
        }
    };
    std::vector<int> ordine;
    for (int i = 0; i <= 21; ++i) ordine.push_back(i);
    ordine.insert(ordine.end(), {24, 22, 23});

    std::string nonScritte;
    for (int i : ordine) {
        if (Che(i).value() != ui::check::Checked) continue;
        std::string testo = mbCancOpz ? std::string() : valore(i);
        bool cancella =
            mbCancOpz || lib.EVuoto(Variant(testo)) || ((i == 21 || i == 24) && testo == "0");
        if (!ScriviIni(sezione, kOpzioni[i].chiave, cancella ? std::string() : testo, false, false,
                       1, false, cancella, file))
            nonScritte += std::string(nonScritte.empty() ? "" : ", ") + kOpzioni[i].chiave;
    }
    if (!nonScritte.empty()) {
        frmMsgCom::msgCom("Scrittura delle opzioni di stampa NON RIUSCITA per: " + nonScritte,
                          "&Ok");
        return;
    }
    PicSalPar->setVisible(false);
}

void FrmSceltaStam::ComUsaDef_Click() {
    OpzStampa& opz = Opz();
    std::string nome;
    std::string nonInstallata;
    std::string porta;
    if (OptStampaSu(0).value()) {
        if (ChePdfAutom->value() == ui::check::Checked) {
            // Its own click gives the print its printer back.
            ChePdfAutom->setValue(ui::check::Unchecked);
            return;
        }
        bool errore = false;
        try {
            ImpostaStampanteDef(nome, nonInstallata, porta);
        } catch (const std::exception&) {
            errore = true;
        }
        // Only a program that moved its printer has read the default here; otherwise the
        // choice below reads it.
        if (giStampDefCambiata == 1 && !errore && NessunaStampantePredefinita(nome, nonInstallata))
            return;
        if (!StampantePredefinitaUsabile(errore, nome, nonInstallata, opz.NomeStampa())) return;
        SelezionaStampante(true);
        return;
    }
    if (OptStampaSu(3).value()) {
        std::unique_ptr<PrinterInfo> predefinita = LeggiStampanteDef(nome, nonInstallata, porta);
        if (!predefinita) {
            if (!NessunaStampantePredefinita(nome, nonInstallata) && !AvvisoServerStampa())
                MsgStampanteDefAssente("FisFileName", nonInstallata, opz.NomeStampa());
            return;
        }
        opz.FisFileName = StampanteRete(*predefinita) ? predefinita->name : predefinita->port;
        LabFileStampaFis->setCaption(opz.FisFileName);
        opz.FisStampante = true;
        VisStaAttuale();
    }
}

}  // namespace tolvane
