// The file and fixed-format panels of the print options dialog: separator, qualifier, number
// format, margins, page size and compressed-print sequences, written as they change.
// Never validates a value: numbers are reduced to their whole-number value when left.
#include <string>

#include "platform/text.h"
#include "printing/frm_scelta_stam.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/opzioni/opz_stampa.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

const std::string kSeparatori[] = {"\t", ";", ",", " "};
const std::string kQualificatori[] = {"\"", "'", ""};

}  // namespace

void FrmSceltaStam::CreaPannelloFile() {
    ui::Frame& file = FraOpz.add(2);
    file.setCaption("Opzioni del file:");
    ui::Frame& separatori = Fra.add(1, &file);
    separatori.setCaption("Separatore campi :");
    const char* sep[] = {"Ta&bulatore", "&Punto e virgola", "&Virgola", "&Spazio"};
    for (int i = 0; i < 4; ++i) OptSepCampi.add(i, &separatori).setCaption(sep[i]);
    ui::Frame& qualificatori = Fra.add(2, &file);
    qualificatori.setCaption("Qualificatore testo:");
    const char* delim[] = {"\" &Doppio apice", "' S&ingolo apice", "&Nessuno"};
    for (int i = 0; i < 3; ++i) OptDelimStr.add(i, &qualificatori).setCaption(delim[i]);
    CheNumNoForm = &add<ui::CheckBox>("CheNumNoForm", &file);
    CheNumNoForm->setCaption("Tolgo il formato nei campi numerici");
    Lab.add(2, &file).setCaption("File di stampa:");
    LabFileName = &add<ui::Label>("LabFileName", &file);
    Lab.add(3, &file).setCaption("Formato:");
    LabFileForm = &add<ui::Label>("LabFileForm", &file);
    ComOpz.add(2, &file).setCaption("Cambia");
}

void FrmSceltaStam::CreaPannelloFisso() {
    ui::Frame& fisso = FraOpz.add(3);
    fisso.setCaption("Opzioni per la stampa / file a lunghezza fissa:");
    auto campo = [&](const char* nomeLabel, const char* caption, const char* nome) {
        add<ui::Label>(nomeLabel, &fisso).setCaption(caption);
        ui::TextBox& box = add<ui::TextBox>(nome, &fisso);
        box.setWidth(1200);
        return &box;
    };
    TxtFisMrAlt = campo("LabFisMrAlt", "Righe vuote in alto:", "TxtFisMrAlt");
    TxtFisMrBas = campo("LabFisMrBas", "Righe vuote in basso:", "TxtFisMrBas");
    TxtFisColonne = campo("LabFisColonne", "Colonne:", "TxtFisColonne");
    TxtFisRighe = campo("LabFisRighe", "Righe per pagina:", "TxtFisRighe");
    TxtFisCodIniComp = campo("LabFisCodIniComp", "Inizio compresso:", "TxtFisCodIniComp");
    TxtFisCodFinComp = campo("LabFisCodFinComp", "Fine compresso:", "TxtFisCodFinComp");
    CheFisUtilComp = &add<ui::CheckBox>("CheFisUtilComp", &fisso);
    CheFisUtilComp->setCaption("Stampo in compresso");
    GriPorte = &add<ui::Grid>("GriPorte", &fisso);
    GriPorte->setHeight(1500);
    Lab.add(4, &fisso).setCaption("File di stampa:");
    LabFileStampaFis = &add<ui::Label>("LabFileStampaFis", &fisso);
    ComOpz.add(3, &fisso).setCaption("&Nome File");
}

void FrmSceltaStam::VisPannelloFile() {
    OpzStampa& opz = Opz();
    LabFileName->setCaption(opz.FileName);
    LabFileForm->setCaption(opz.DescFormatoFile(opz.FileForm));
    if (opz.FileForm != 0 && opz.FileForm != 2) {
        Fra(2).setEnabled(true);
        Fra(1).setEnabled(true);
    } else {
        opz.AggiornaFormatoFile();
    }
    CheNumNoForm->setEnabled(opz.FileForm != 0);
    // Setting a button from code runs its click, which writes the same value back; a value
    // that no button stands for leaves them all clear.
    for (int i = 0; i < 4; ++i) OptSepCampi(i).setValue(opz.SepCampi == kSeparatori[i]);
    for (int i = 0; i < 3; ++i) OptDelimStr(i).setValue(opz.DelimStr == kQualificatori[i]);
    CheNumNoForm->setValue(opz.NumNoForm ? ui::check::Checked : ui::check::Unchecked);
}

void FrmSceltaStam::VisPannelloFisso() {
    OpzStampa& opz = Opz();
    CheFisUtilComp->setValue(opz.FisUtilComp ? ui::check::Checked : ui::check::Unchecked);
    TxtFisMrAlt->setText(std::to_string(opz.FisMrAlt));
    TxtFisMrBas->setText(std::to_string(opz.FisMrBas));
    TxtFisColonne->setText(std::to_string(opz.FisColonne));
    TxtFisRighe->setText(std::to_string(opz.FisRighe));
    TxtFisCodIniComp->setText(opz.FisCodIniComp);
    TxtFisCodFinComp->setText(opz.FisCodFinComp);
    LabFileStampaFis->setCaption(opz.FisFileName);
}

void FrmSceltaStam::OptSepCampi_Click(int Index) {
    Opz().SepCampi = kSeparatori[Index];
    VisStaAttuale();
}

void FrmSceltaStam::OptDelimStr_Click(int Index) {
    Opz().DelimStr = kQualificatori[Index];
    VisStaAttuale();
}

void FrmSceltaStam::CheNumNoForm_Click() {
    Opz().NumNoForm = CheNumNoForm->value() == ui::check::Checked;
}

void FrmSceltaStam::CheFisUtilComp_Click() {
    Opz().FisUtilComp = CheFisUtilComp->value() == ui::check::Checked;
    VisStaAttuale();
}

void FrmSceltaStam::TxtFis_LostFocus(ui::TextBox& box) {
    OpzStampa& opz = Opz();
    if (&box == TxtFisCodIniComp) {
        opz.FisCodIniComp = box.text();
        return;
    }
    if (&box == TxtFisCodFinComp) {
        opz.FisCodFinComp = box.text();
        return;
    }
    int valore = goLibGen().ValoreIntero(Variant(box.text()));
    if (&box == TxtFisMrAlt) opz.FisMrAlt = valore;
    else if (&box == TxtFisMrBas) opz.FisMrBas = valore;
    else if (&box == TxtFisColonne) opz.FisColonne = valore;
    else if (&box == TxtFisRighe) opz.FisRighe = valore;
}

// The workbooks are written by the print engine itself (.xlsx), so a workbook writer of the
// current format is always there.
int FrmSceltaStam::VersioneExcel() { return 16; }

}  // namespace tolvane
