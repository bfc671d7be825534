// The print options dialog FrmSceltaStam: destination, printer, tray, paper, page range, preview
// size, file and fixed-format options, and the save panel of option sets, all written into the
// print's options object the moment the user chooses. Never buffers a choice of its own.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/variant.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class OpzStampa;

class FrmSceltaStam : public ui::Form {
  public:
    // Where the panels that arrive with other modules plug in (PDF automation, the PDF/e-mail
    // parameters panel, the preview size window, the customer e-mail look-up, the spreadsheet
    // version). Each is empty until its module sets it; the dialog then does without it.
    struct Extensions {
        // The value of a named e-mail setting; empty: the menu server's value as it holds it.
        std::function<std::string(const std::string& key)> leggiParEmail;
        // ChePdfAutom_Click and CheInviaEmail_Click once the activation guard let them through.
        std::function<void(FrmSceltaStam&)> pdfAutomClick;
        std::function<void(FrmSceltaStam&)> inviaEmailClick;
        // "Par ini Pdf/Email": opens the parameters panel PicPdfEmail.
        std::function<void(FrmSceltaStam&)> openEmailPanel;
        // Makes the controls of that panel, at the load, so that the window opens large enough
        // to hold it.
        std::function<void(FrmSceltaStam&)> makeEmailPanel;
        // The preview size window: shows scroll value and keep-pages box modally and gives
        // them back changed; false when it could not be shown (nothing is changed then).
        std::function<bool(int& scrollValue, int& keepPages)> previewSize;
        // F2 to F5 in the temporary recipient field: the customer e-mail look-up.
        std::function<void(FrmSceltaStam&, int index, const std::string& code)> customerEmail;
    };
    static Extensions& extensions();

    FrmSceltaStam();

    // Public variables.
    OpzStampa* ogOpzSta = nullptr;
    std::string osRisVidKey;
    int oiRichDatiEmail = 0;

    // Controls, made by the constructor in the order the window shows them.
    // Destination buttons and panels.
    ui::ControlArray<ui::Frame> Fra{*this, "Fra"};
    ui::ControlArray<ui::OptionButton> OptStampaSu{*this, "OptStampaSu"};
    ui::ControlArray<ui::Frame> FraOpz{*this, "FraOpz"};
    ui::ControlArray<ui::Label> Lab{*this, "Lab"};
    ui::ControlArray<ui::Label> Label7{*this, "Label7"};
    ui::ControlArray<ui::TextBox> txt{*this, "txt"};
    ui::ControlArray<ui::CommandButton> ComOpz{*this, "ComOpz"};
    // Printer panel.
    ui::Label* labTotStamp = nullptr;
    ui::Grid* GriPri = nullptr;
    ui::ComboBox* cboCassetti = nullptr;
    ui::ComboBox* cboTipoCarta = nullptr;
    ui::CommandButton* ComPaperSize = nullptr;
    ui::CheckBox* CheForzaVert = nullptr;
    ui::CheckBox* ChePdfAutom = nullptr;
    ui::CheckBox* CheInviaEmail = nullptr;
    ui::CommandButton* ComParIniPE = nullptr;
    // Video panel.
    ui::Label* labFatt = nullptr;
    ui::Label* LabMemVid = nullptr;
    // File panel.
    ui::ControlArray<ui::OptionButton> OptSepCampi{*this, "OptSepCampi"};
    ui::ControlArray<ui::OptionButton> OptDelimStr{*this, "OptDelimStr"};
    ui::CheckBox* CheNumNoForm = nullptr;
    ui::Label* LabFileName = nullptr;
    ui::Label* LabFileForm = nullptr;
    // Fixed-format panel.
    ui::TextBox* TxtFisMrAlt = nullptr;
    ui::TextBox* TxtFisMrBas = nullptr;
    ui::TextBox* TxtFisColonne = nullptr;
    ui::TextBox* TxtFisRighe = nullptr;
    ui::TextBox* TxtFisCodIniComp = nullptr;
    ui::TextBox* TxtFisCodFinComp = nullptr;
    ui::CheckBox* CheFisUtilComp = nullptr;
    ui::Label* LabFileStampaFis = nullptr;
    ui::Grid* GriPorte = nullptr;
    // Below the panels.
    ui::Label* LabStaAttuale = nullptr;
    ui::CheckBox* CheNumPag = nullptr;
    ui::CommandButton* ComUsaDef = nullptr;
    ui::CommandButton* ComSalOpz = nullptr;
    ui::CommandButton* ComCancOpz = nullptr;
    ui::CommandButton* ComChiudi = nullptr;
    ui::CommonDialog* codFile = nullptr;
    // Save panel of option sets.
    ui::PictureBox* PicSalPar = nullptr;
    ui::Frame* FraQualeIni = nullptr;
    ui::OptionButton* OptIniPers = nullptr;
    ui::OptionButton* OptIniStd = nullptr;
    ui::Frame* FraDoveSalva = nullptr;
    ui::OptionButton* OptSalInDef = nullptr;
    ui::OptionButton* OptSalInStamp = nullptr;
    ui::ControlArray<ui::Label> LabDaSalvare{*this, "LabDaSalvare"};
    ui::ControlArray<ui::CheckBox> Che{*this, "Che"};
    ui::ControlArray<ui::Label> LabValParam{*this, "LabValParam"};
    ui::CommandButton* ComSelTutto = nullptr;
    ui::CommandButton* ComDeSelTutto = nullptr;
    ui::CommandButton* ComOk = nullptr;
    ui::CommandButton* ComAnnulla = nullptr;
    // PDF/e-mail panel: its fields join txt (1000 and above) inside PicPdfEmail; the browse
    // buttons ComCerca(i) and ComHlp(i) go beside the field of the same index.
    ui::PictureBox* PicPdfEmail = nullptr;
    ui::CommonDialog* CodFilePdfEmail = nullptr;
    ui::ControlArray<ui::CommandButton> ComCerca{*this, "ComCerca"};
    ui::ControlArray<ui::CommandButton> ComHlp{*this, "ComHlp"};
    // Controls and state that a panel arriving with another module adds to this window, kept
    // for the window's life (the PDF/e-mail parameters panel).
    struct Panel {
        virtual ~Panel() = default;
    };
    std::unique_ptr<Panel> emailPanel;

    // Public procedures.
    bool VisDecodOk();
    void VisStaAttuale();
    void MettiValOpz();
    void SelDeselSalOpz(bool pbSelez);
    void ImpostaCboCassetti();
    void ImpostaCboTipoCarta();
    void GetPaperList(bool pbSettaCbo = false);
    void txt_KeyUp(int Index, int& KeyCode, int Shift);

    // Window events.
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool& Cancel) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_KeyPress(int& KeyAscii) override;

    // Control events.
    void OptStampaSu_Click(int Index);
    void ComOpz_Click(int Index);
    void CheForzaVert_Click();
    void CheNumPag_Click();
    void Fra_DblClick(int Index);
    void txt_GotFocus(int Index);
    void txt_LostFocus(int Index);
    void ComHlp_Click(int Index);
    void ComCerca_Click(int Index);
    void ChePdfAutom_Click();
    void CheInviaEmail_Click();
    void ComChiudi_Click();
    // File and fixed-format panels.
    void OptSepCampi_Click(int Index);
    void OptDelimStr_Click(int Index);
    void CheNumNoForm_Click();
    void CheFisUtilComp_Click();
    void TxtFis_LostFocus(ui::TextBox& box);
    // Saved option sets.
    void ComSalOpz_Click();
    void ComCancOpz_Click();
    void ComSelTutto_Click();
    void ComDeSelTutto_Click();
    void ComUsaDef_Click();
    void ComOk_Click();
    void ComAnnulla_Click();
    // Printer, tray and paper.
    void GriPri_Click();
    void GriPri_KeyDown(int& KeyCode, int Shift);
    void griPorte_Click();
    void cboCassetti_Click();
    void cboTipoCarta_Click();

  private:
    void CreaControlli();
    void CreaPannelloFile();
    void CreaPannelloFisso();
    void CreaPannelloSalva();
    void RiempiGriglie();
    void VisPannelloVideo();
    void VisPannelloFile();
    void VisPannelloFisso();
    int VersioneExcel();
    void ApriPannelloSalva(bool pbCancella);
    void SelezionaStampante(bool pbDefault);
    void ScriviSceltaCombo(ui::ComboBox& combo, const char* psParametro);
    bool StampanteSenzaCassetti(const std::string& psNome) const;
    // The device name and port that the tray and paper lists describe.
    void StampanteDelleListe(std::string& psNome, std::string& psPorta) const;
    std::string LeggiParEmail(const std::string& psChiave) const;
    OpzStampa& Opz() const;
    // "= True" of a named value: anything that is not a Boolean True is False.
    static bool Vero(const Variant& value);

    bool mbCancOpz = true;
    std::string msStampantiNoCassetti;
    bool mbAttivata = false;
    std::array<int, 13> miOrdineEmail{};
};

}  // namespace tolvane
