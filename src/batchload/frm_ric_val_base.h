// The base-value prompt frmRicValBase: up to ten labelled boxes for the values that the batch
// layouts ask before a run. Never stores anything itself: the batch window reads its rows.
#pragma once

#include <array>
#include <string>

#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class frmRicValBase : public ui::Form {
  public:
    static constexpr int kRighe = 10;

    frmRicValBase();

    ui::Label& Label1 = add<ui::Label>("Label1");
    ui::ControlArray<ui::Label> Lab{*this, "Lab"};
    ui::ControlArray<ui::TextBox> txt{*this, "txt"};

  private:
    bool righeCreate_ = CreaRighe();  // the rows come before the buttons in tab order

  public:
    ui::CommandButton& comOk = add<ui::CommandButton>("comOk");
    ui::CommandButton& ComAnnulla = add<ui::CommandButton>("ComAnnulla");

    int oiNumRighe = 0;
    bool obOk = false;
    std::string osKeySec;
    // Row k (1..10) uses element k-1 of osRottura and ovContat and element k of osNomeTab and
    // osNomeCampo. Indexes outside 0..10 raise 9.
    std::string& osRottura(int piC);
    std::string& ovContat(int piC);
    std::string& osNomeTab(int piIndice);
    std::string& osNomeCampo(int piIndice);

    void Form_Load() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_KeyPress(int& KeyAscii) override;

  private:
    bool CreaRighe();
    using Elenco = std::array<std::string, kRighe + 1>;
    static std::string& elemento(Elenco& elenco, int indice, const char* nome);
    Elenco rottura_, contat_, nomeTab_, nomeCampo_;
};

}  // namespace tolvane
