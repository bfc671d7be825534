// The batch window frmCaricoBatch: the folder of the input files, the data of the journal
// fix-up, and the driver that loads every batch layout's file into the company database.
// Never lets the window close, nor another window take over, while a run lasts.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "batchload/progresso_elab.h"
#include "platform/variant.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class ElencoValori;
class ScCarica;
class frmRicValBase;

// The VAT accounts and credit-note causals typed last, shown again when the window reopens.
inline std::array<std::string, 7> gasGruppoIva;
inline std::array<std::string, 7> gasMastroIva;
inline std::array<std::string, 7> gasContoIva;
inline std::array<std::string, 4> gasCauNotaCred;

class frmCaricoBatch : public ui::Form {
  public:
    frmCaricoBatch();
    ~frmCaricoBatch() override;

    ui::DriveListBox& DriCarica = add<ui::DriveListBox>("DriCarica");
    ui::Label& LabTitoloDir = add<ui::Label>("LabTitoloDir");
    ui::DirListBox& DirCarica = add<ui::DirListBox>("DirCarica");
    ui::Label& LabDirCarica = add<ui::Label>("LabDirCarica");
    ui::Frame& FraObbligatori = add<ui::Frame>("FraObbligatori");
    ui::ControlArray<ui::Label> LabCampo{*this, "LabCampo"};
    ui::ControlArray<ui::TextBox> txt{*this, "txt"};
    ui::ControlArray<ui::Label> LabBarra{*this, "LabBarra"};

  private:
    bool campiCreati_ = CreaCampi();

  public:
    ui::Label& LabCliFor = add<ui::Label>("LabCliFor");
    ui::CheckBox& CheCodFisc = add<ui::CheckBox>("CheCodFisc");
    ui::PictureBox& PicMsgElab = add<ui::PictureBox>("PicMsgElab");
    ui::Label& LabMsgElab = add<ui::Label>("LabMsgElab", &PicMsgElab);
    ui::ControlArray<ui::Label> Label1{*this, "Label1"};

  private:
    ui::Label& letti_ = Label1.add(0, &PicMsgElab);

  public:
    ui::Label& LabFatti = add<ui::Label>("LabFatti", &PicMsgElab);
    ui::Label& LabDi = add<ui::Label>("LabDi", &PicMsgElab);
    ui::Label& LabErrori = add<ui::Label>("LabErrori", &PicMsgElab);
    ui::Label& labDaFare = add<ui::Label>("labDaFare", &PicMsgElab);

  private:
    ui::Label& records_ = Label1.add(1, &PicMsgElab);

  public:
    ui::ProgressBar& proDaFare = add<ui::ProgressBar>("proDaFare", &PicMsgElab);
    ui::CommandButton& comOk = add<ui::CommandButton>("comOk");
    ui::CommandButton& ComAnnulla = add<ui::CommandButton>("ComAnnulla");
    ui::CommandButton& ComStop = add<ui::CommandButton>("ComStop");

    std::string osKeySec;
    int oiLoadOk() const { return loadOk_; }
    void PassaA();
    // The values of a layout that come from a constant or from the user (0, or the result of
    // a prompt asked on the way); the prompt of the rows waiting (0 after "&Ok", 1 after
    // "&Annulla").
    Variant RicValDefault(const std::string& psCodice);
    Variant ChiediValBase();

    void Form_Load() override;
    void Form_Unload(bool& Cancel) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_KeyPress(int& KeyAscii) override;
    void DriCarica_Change();
    void DirCarica_Change();
    void comOk_Click();
    void ComStop_Click();
    void ComAnnulla_Click();
    // The journal fix-up alone, on the company database with the boxes as they stand; a run
    // ends with it. Raises what the fix-up raises.
    void Sistemazione();

    // Tests give the progress of a run their own clock; the default is the steady clock.
    ProgressoElab::Clock progressClock;
    // Tests set up each layout's loader (its commits, its pause before a second try).
    std::function<void(ScCarica&)> loaderSetUp;

  private:
    bool CreaCampi();
    void StatoPulsanti(bool pbInCorso);
    void MostraProgresso(const ProgressoElab& progresso);
    // Loads every batch layout in turn, until the last one, a stop or a failed layout.
    void CaricaLayout(class GestoreRs& rs, const std::string& handle, ProgressoElab& progresso,
                      long& plErrori);
    ElencoValori& ValDefault();
    frmRicValBase& RicVal();

    int loadOk_ = -1;
    std::string msTitolo;
    bool mbFineElab = false;
    std::unique_ptr<ElencoValori> moValDefault;
    ProgressoElab* progresso_ = nullptr;  // of the run in progress
};

// Registers "frmcaricobatch" with the window registry.
void registraFrmCaricoBatch();

}  // namespace tolvane
