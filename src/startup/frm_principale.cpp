// The two windows of the start-up. They hold no logic of their own: the lifecycle drives them.
// Never shows frmPrincipale.
#include "startup/frm_principale.h"

namespace tolvane {

frmPrincipale::frmPrincipale() : ui::Form("frmPrincipale"), timChiudi(add<ui::Timer>("timChiudi")) {
    setCaption("Tolvane");
    timChiudi.setEnabled(false);
    timChiudi.on.onTimer = [this] {
        if (onChiudi) onChiudi();
    };
}

frmConn::frmConn() : ui::Form("frmConn"), labMessaggio(add<ui::Label>("labMessaggio")) {
    setCaption("Tolvane");
    move(0, 0, 4800, 1200);
    labMessaggio.move(240, 240, 4320, 480);
}

}  // namespace tolvane
