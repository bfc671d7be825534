// The list print dialog FrmVedrixStampa: column choice, orientation, font, printer and print
// options of a grid window's list, and the print button that hands them to the list's print
// object. Never lays out or prints anything itself, never starts a second print, and never
// closes while a print runs.
#pragma once

#include <memory>

#include "suite/lista/vedrix_lista.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class OpzStampa;

class FrmVedrixStampa : public ui::Form, public ListPrintDialog {
  public:
    FrmVedrixStampa();

    // Public variable ogVedrix: the list to print, set by whoever shows the dialog. "&STAMPA"
    // is usable only while there is a list to print.
    VedrixLista* ogVedrix() const { return ogVedrix_; }
    void ogVedrix(VedrixLista* pgVedrix) override {
        ogVedrix_ = pgVedrix;
        CmdStampa.setEnabled(pgVedrix != nullptr);
    }
    // Public procedure.
    void VisStaAttuale();

    ui::CommandButton& ComUsaDef = add<ui::CommandButton>("ComUsaDef");
    ui::CommandButton& comSceStam = add<ui::CommandButton>("comSceStam");
    ui::Frame& FraTipSta = add<ui::Frame>("FraTipSta");
    ui::ControlArray<ui::OptionButton> OptTipsta{*this, "OptTipsta"};
    ui::Frame& fraOrientamento = add<ui::Frame>("fraOrientamento");
    ui::ControlArray<ui::OptionButton> OptOrientamento{*this, "OptOrientamento"};
    ui::CommandButton& CmdStampa = add<ui::CommandButton>("CmdStampa");
    ui::CommandButton& CmdEsci = add<ui::CommandButton>("CmdEsci");
    ui::CommandButton& CmdSceFont = add<ui::CommandButton>("CmdSceFont");
    ui::CommonDialog& codFont = add<ui::CommonDialog>("codFont");
    ui::Label& labStaAttuale = add<ui::Label>("labStaAttuale");

    void Form_Load() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_Unload(bool& Cancel) override;
    void CmdStampa_Click();
    void CmdEsci_Click();
    void CmdSceFont_Click();
    void comSceStam_Click();
    void ComUsaDef_Click();

    ui::Form& window() override { return *this; }
    // The print font and the print's options as they stand (the options are made on first use).
    const ui::Font& fontStampa() const { return mgFont; }
    const std::shared_ptr<OpzStampa>& opzioni();

  private:
    VedrixLista* ogVedrix_ = nullptr;
    ui::Font mgFont;
    std::shared_ptr<OpzStampa> mgOpzSta;
};

}  // namespace tolvane
