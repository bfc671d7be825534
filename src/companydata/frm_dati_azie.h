// The company-data form frmDatiAzie: tab strip and page pictures, first-visit loading, field
// events, checks and the save cycle of every page, driven by the pages' declarations.
// Never writes a page whose load failed, and never leaves an edit pending after a failed save.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "companydata/pagina_dati_azie.h"
#include "db/gestore_rs.h"
#include "platform/variant.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class frmDatiAzie : public ui::Form {
  public:
    static constexpr int kUltimaPaginaConTab = 12;
    static constexpr int kPaginaContiTrans = 14;

    frmDatiAzie();
    ~frmDatiAzie() override;

    // Controls. Field arrays share the form-wide field number; Didascalia(n) is the caption
    // beside txt(n) unless the field names its own (DidascaliaCampo); PicPagine(n), LabTitolo(n)
    // and comOk(n) go by page number.
    ui::ControlArray<ui::TextBox> txt;
    ui::ControlArray<ui::Label> Lab;
    ui::ControlArray<ui::Label> Didascalia;
    ui::ControlArray<ui::CheckBox> Che;
    ui::ControlArray<ui::ComboBox> Combo;
    ui::ControlArray<ui::CommandButton> ComHlp;
    ui::ControlArray<ui::CommandButton> comOk;
    ui::ControlArray<ui::PictureBox> PicPagine;
    ui::ControlArray<ui::Label> LabTitolo;
    ui::ControlArray<ui::Frame> Cornice;     // frame of an option group, by its hidden field
    ui::ControlArray<ui::CheckBox> CheChiu;  // closing days 1 (Sunday) to 7 (Saturday)
    ui::TabStrip* TasPagine = nullptr;
    ui::ComboBox* cobTipoCodBarre = nullptr;  // made by the warehouse page
    // An option-button array by name ("OptFileRiBa"); raises 340 when the page made none.
    ui::ControlArray<ui::OptionButton>& Opzioni(std::string_view nome);

    // The company database opened by ApriDBAzie, as goDbase keeps it.
    std::string osIdDbase;
    // Launch variables set by the opener.
    std::string osKeySec;
    std::string osKeyLancia;
    std::string osKeySecLancia;
    std::string osParamLancia;
    std::string osParam;

    // Record handles of the pages, kept from their first visit until the form unloads.
    std::string msRsContiCom;
    std::string msRsCausaCom;
    std::string msRsCoge;
    std::string msRsRiBa;
    std::string msRsMagazzino;
    std::string msRsFatt;
    std::string msRsOrdPrev;
    std::string msRsOrdAcq;
    std::string msRsRegCassa;
    std::string msRsContiTrans;

    // Page state that the pages' rules share with the frame.
    std::string msGiorniChiu;
    bool mbCaricaCoge = false;
    Variant mtFineEsercizio;
    bool bEsisteContoProd = false;

    // The form's one record-set object, created on first use.
    GestoreRs& Rs();

    // Opens the company database (WAL) and the decoding service on it, then shows page 0.
    // False, after a message, when the database does not open.
    bool ApriDBAzie(const std::string& psNomeDb, const std::string& psConnect = {},
                    const std::string& psPwd = {});

    // The page mechanism.
    void visPagina(int piPagina);  // raises 9 outside 0..12
    void TasPagine_Click();
    bool PaginaCaricata(int piPagina) const;
    bool PaginaGuasta(int piPagina) const;  // its loader failed: the page is never saved

    // Window and field events.
    void Form_Load() override;
    void Form_Unload(bool& Cancel) override;
    void comOk_Click(int Index);
    bool VerDati(int Index);
    void txt_GotFocus(int Index);
    void txt_KeyUp(int Index, int& KeyCode, int Shift);
    void ComHlp_Click(int Index);
    void txt_LostFocus(int Index);
    void Che_Click(int Index);
    void CheChiu_Click(int Index);
    void Combo_LostFocus(int Index);
    void Opzione_Click(int piCampo, int Index);

    // For the pages' loaders and rules.
    // Opens the page's query as an editable record set and keeps the handle in the member.
    void ApriRsPagina(std::string frmDatiAzie::*handle, const std::string& sql);
    // The column of the current record as text ("" for an empty column).
    std::string TestoCampoRs(const std::string& handle, const std::string& campo);
    // The check common to every page: a txt field in the error colour refuses the save with
    // "CAMPO ERRATO **  I valori NON sono stati memorizzati" and takes the focus, its page shown.
    bool CampiSenzaErrori();
    void MarcaErrore(int piCampo);
    bool InErrore(int piCampo) const;
    // The caption beside txt(n), by its own name or as Didascalia(n); raises 340 when the field
    // has none (a field shown in a frame).
    ui::Label& DidascaliaCampo(int piCampo);
    bool HaDidascalia(int piCampo) const;
    // Declarations of the built pages and fields; nullptr when none.
    static const PaginaDatiAzie* Pagina(int piPagina);
    static const CampoPagina* Campo(int piCampo);

  private:
    void CreaControlli();
    void CreaPagina(const PaginaDatiAzie& pagina);
    void MostraPagina(ui::Control& pagina);
    bool SalvaPassaggio(const PassaggioSalvataggio& passaggio);

    std::unique_ptr<GestoreRs> mgRs;
    std::array<bool, kPaginaContiTrans + 1> mbPagCaricata{};
    std::array<bool, kPaginaContiTrans + 1> mbPagGuasta{};
    std::map<std::string, std::string> msSqlRs;  // handle -> query it was opened with
    std::map<std::string, std::unique_ptr<ui::ControlArray<ui::OptionButton>>, std::less<>>
        mOpzioni;
};

// Registers "frmdatiazie" with the start-up's window registry: the menu opens the form on the
// company database named by its working value "NomeDBAzie" (a bare name lies beside the common
// database).
void registraFrmDatiAzie();

}  // namespace tolvane
