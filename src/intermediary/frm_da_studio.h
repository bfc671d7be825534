// The intermediary window frmDaStudio: five tabs over the one row of TabStudio in the common
// database, field checks, the check before saving and the save cycle on the kept record handle.
// Never saves after a failed load, and never leaves an edit pending after a failed save.
#pragma once

#include <memory>
#include <string>

#include "db/gestore_rs.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class frmDaStudio : public ui::Form {
  public:
    static constexpr int kNumeroPagine = 5;
    static constexpr int kContestoHelp = 44550;

    frmDaStudio();
    ~frmDaStudio() override;

    // Controls. Didascalia(n) is the caption beside txt(n); PicPagine(n) holds tab n's fields;
    // LabTitolo(n) is the heading of page n.
    ui::ControlArray<ui::TextBox> txt;
    ui::ControlArray<ui::Label> Didascalia;
    ui::ControlArray<ui::CheckBox> Che;
    ui::ControlArray<ui::OptionButton> OptSessoFor;
    ui::ControlArray<ui::PictureBox> PicPagine;
    ui::ControlArray<ui::Label> LabTitolo;
    ui::ControlArray<ui::CommandButton> comOk;  // its only element is comOk(3)
    ui::TabStrip* TasPagine = nullptr;
    ui::CommandButton* ComAnnulla = nullptr;
    ui::Frame* FraStampaAghi = nullptr;     // hidden print settings for needle printers
    ui::Label* LabSecondaPagina = nullptr;  // hidden heading of the receipt-page settings
    ui::Label* LabImpegno = nullptr;
    ui::Label* LabTipiFornitore = nullptr;
    ui::TextBox* TxtTipiFornitore = nullptr;        // read-only list beside TipoFor
    ui::TextBox* TxtTipiFornitoreEsteso = nullptr;  // the longer list, hidden on tab 2

    // Launch variables set by the opener; osParam and osKeyAttivazione stay unused.
    std::string osKeySec;
    std::string osKeyLancia;
    std::string osKeySecLancia;
    std::string osParamLancia;
    std::string osParam;
    std::string osKeyAttivazione;

    // Shows page piCorrente over the tab strip's client area; the other pages are disabled.
    void SistemaPagina(int& piCorrente);
    // -1 while loading and after a failed load, 1 after a completed load.
    int oiLoadOk() const { return miLoadOk; }
    // False, after "Ci sono dei dati errati" and the focus on the field, while a txt field
    // has the error colour.
    bool VerDati();
    void txt_KeyUp(int Index, int& KeyCode, int Shift);
    // Reports the window to the menu when it prepares a pass to another function.
    void PassaA();

    // Window and control events.
    void Form_Load() override;
    void Form_Unload(bool& Cancel) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_KeyPress(int& KeyAscii) override;
    void TasPagine_BeforeClick(bool& Cancel);
    void TasPagine_Click();
    void Che_Click(int Index);
    void OptSessoFor_Click(int Index);
    void txt_GotFocus(int Index);
    void txt_LostFocus(int Index);
    void comOk_Click(int Index);
    void ComAnnulla_Click();

    // The window's record set and the handle of its TabStudio row.
    GestoreRs& Rs();
    const std::string& RsStudio() const { return msRsStudio; }
    int PaginaCorrente() const { return miPagCorrente; }

  private:
    void CreaControlli();
    void CreaPagina(int piPagina);
    void VisStudio();
    void ScriviStudio();
    void ImpostaCheDaTxt();
    void ImpostaTxtDaChe();
    void VerificaCodiceFiscale(ui::TextBox& campo);
    void VerificaNumero(ui::TextBox& campo);
    bool Salva();
    // The page that holds a field, 0 when none.
    int PaginaDi(const ui::Control& campo) const;

    std::string msCaption;
    int miLoadOk = -1;
    std::unique_ptr<GestoreRs> mgRs;
    std::string msRsStudio;
    int miPagCorrente = 0;
};

// Registers "frmdastudio" with the start-up's window registry.
void registraFrmDaStudio();

}  // namespace tolvane
