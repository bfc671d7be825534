// A small window listing the companies of the register, opened by name "frmAziendeDemo" while
// the company grid of the register does not exist yet. Read-only: it never writes the register.
#pragma once

#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class frmAziendeDemo : public ui::Form {
  public:
    frmAziendeDemo();

    void Form_Load() override;
    void Form_Unload(bool& Cancel) override;

    ui::Label& labTitolo;
    ui::Grid& grdAziende;
    ui::CommandButton& comChiudi;
};

// Registers the windows of the start-up that the menu may open by name.
void registraFinestreAvvio();

}  // namespace tolvane
