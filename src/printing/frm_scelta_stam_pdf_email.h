// The PDF/e-mail parameters panel of the print options dialog and the PDF automation of its two
// check boxes: the menu server's settings shown, written back and kept in the INI files by the
// server. Never touches an INI file itself and never shows the e-mail password in clear.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/variant.h"
#include "printing/frm_scelta_stam.h"
#include "ui/control_array.h"
#include "ui/controls.h"

namespace tolvane {

// Plugs the panel, the PDF automation, the e-mail settings reader and the customer e-mail
// look-up into the print options dialog. The program calls it once at start.
void registraPannelloPdfEmail();

// "PdfAutomImpPar" holds five values (terminal INI, common INI, UsaPdfCreator,
// CreatorAutosaveStart, UsaPdf995): the options carry no arrays, so they travel as one text
// with a tab between values.
std::string joinPdfAutomImpPar(const std::array<std::string, 5>& values);
std::array<std::string, 5> splitPdfAutomImpPar(const Variant& value);

class PdfEmailPanel : public FrmSceltaStam::Panel {
  public:
    // Fields that exist once per send configuration (controls n + 100 * k).
    static constexpr std::array<int, 13> kCampiConfigurazione = {6, 19, 17, 11, 10, 14, 15,
                                                                 8, 12, 9,  18, 20, 21};

    explicit PdfEmailPanel(FrmSceltaStam& form);

    FrmSceltaStam& form;

    // Controls, inside the dialog's PicPdfEmail; the text fields join the dialog's txt array.
    ui::Label* LabTitolo = nullptr;
    ui::ControlArray<ui::Label> LabPE;       // captions of the fields, by field index
    ui::ControlArray<ui::Label> LabSalvare;  // "Salvare" over each column of save boxes
    ui::ControlArray<ui::CheckBox> ChePdfEmailVal;
    ui::ControlArray<ui::CheckBox> ChePdfEmailSalva;
    ui::ControlArray<ui::PictureBox> PicEmailAttiva;
    ui::ControlArray<ui::Frame> FraTipoInvio;
    ui::ControlArray<ui::OptionButton> OptPETipoInvio;
    ui::Frame* Frame1 = nullptr;
    ui::ControlArray<ui::OptionButton> OptPEDove;
    ui::ComboBox* CboEmailToNum = nullptr;
    ui::ComboBox* CboEmailTipoNum = nullptr;
    ui::CommandButton* ComPeDatiCor = nullptr;
    ui::CommandButton* ComPECanc = nullptr;
    ui::CommandButton* ComPERileggi = nullptr;
    ui::CommandButton* ComPESalva = nullptr;
    ui::CommandButton* ComPEAnnulla = nullptr;
    ui::CommandButton* ComPEOk = nullptr;
    ui::CommandButton* ComPESel = nullptr;
    ui::CommandButton* ComPEDesel = nullptr;

    // The panel's procedures.
    void MostraIniPE();
    void AggIniPE();
    std::string SalvaCancIniPE() const;
    static bool IndInVet(int piCheck);
    bool CtrlTxtValidi();
    void PESelDeselSalOpz(bool pbSelez);
    void MostraEmailToCor(bool pbAggCob = false);
    void MostraEmailTipoCor(bool pbAggCob = false);
    // Opens the panel in front, every save box but the passwords' ticked, values shown.
    void Apri();
    bool RichDatiEmail();

    // Events.
    void ComPeDatiCor_Click();
    void ComPECanc_Click();
    void ComPERileggi_Click();
    void ComPESalva_Click();
    void ComPEAnnulla_Click();
    void ComPEOk_Click();
    void CboEmailToNum_Click();
    void CboEmailTipoNum_Click();

    int miEmailToCor = 1;
    int miEmailTipoCor = 1;
    bool mbPiuConfig = false;

  private:
    void CreaControlli();
    void CreaConfigurazione(int k);
    ui::TextBox& campo(int indice, ui::Control* in, const char* caption, double top);
    ui::CheckBox& casella(int indice, ui::Control* in, const char* caption, double top);
    void salva(int indice, ui::Control* in, double top);
    bool ModoRichiesta() const { return form.oiRichDatiEmail == 1000; }
    // The configurations the panel shows and writes, with the key prefix of each.
    std::vector<std::pair<int, std::string>> Configurazioni() const;
    std::string TipoInvioScelto(int k) const;
    bool DatiObbligatoriMancanti();
    void NascondiPannello();

    bool mbConfermato = false;  // the credential request ended by OK
};

// The dialog's panel, its controls made on first use.
PdfEmailPanel& pdfEmailPanel(FrmSceltaStam& form);

// The credential request of the e-mail of a print: the dialog (loaded, oiRichDatiEmail 1000)
// shows the panel modally; True on OK, False when the user cancelled.
bool RichDatiEmail(FrmSceltaStam& form);
// The PDF automation: brings the print's printer and PDF parameters in line with ChePdfAutom,
// and the click handlers of ChePdfAutom and CheInviaEmail (the dialog keeps them silent while
// it activates).
void ImpostaPdfAutom(FrmSceltaStam& form);
void ChePdfAutom_Click(FrmSceltaStam& form);
void CheInviaEmail_Click(FrmSceltaStam& form);

}  // namespace tolvane
