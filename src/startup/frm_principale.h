// The hidden main window frmPrincipale with its close timer, and the connection window frmConn.
// frmPrincipale is never shown; its timer only asks the lifecycle whether the program may end.
#pragma once

#include <functional>

#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class frmPrincipale : public ui::Form {
  public:
    frmPrincipale();

    // 1 while a deferred close waits for its check.
    int oiChiudi = 0;
    // Interval of the close timer between two checks, in milliseconds.
    int oiTmpAttesa = 100;

    ui::Timer& timChiudi;
    // What the close timer runs (the lifecycle's close check).
    std::function<void()> onChiudi;
};

class frmConn : public ui::Form {
  public:
    frmConn();
    ui::Label& labMessaggio;
};

}  // namespace tolvane
