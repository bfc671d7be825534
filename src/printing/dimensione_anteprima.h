// The preview size window frmVStaPar: the percentage of the characters of a print on screen,
// with a live sample, and whether the preview keeps its pages. Reads and writes no setting:
// its opener puts the values in and takes them back.
#pragma once

#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class frmVStaPar : public ui::Form {
  public:
    frmVStaPar();

    ui::ScrollBar& VsbProp =
        add<ui::ScrollBar>("VsbProp", nullptr, ui::ScrollBar::Orientation::Vertical);
    ui::Label& LabProp = add<ui::Label>("LabProp");
    ui::PictureBox& PicProva = add<ui::PictureBox>("PicProva");
    ui::CheckBox& CheMemVid = add<ui::CheckBox>("CheMemVid");
    ui::CommandButton& CmdOk = add<ui::CommandButton>("CmdOk");

    void Form_Activate() override;
    void LabProp_DblClick();
    void CmdOk_Click();

  private:
    void RidisegnaProva();
};

// The opener's side: shows the window modally with the scroll value (held to 50..180) and the
// keep-pages box, and gives both back changed. False, with nothing changed, when the window
// was closed through its title bar instead of "OK".
bool MostraFrmVStaPar(int& piValore, int& piMemVid);

// Makes the print options dialog open this window from its video panel.
void collegaFrmVStaPar();

}  // namespace tolvane
