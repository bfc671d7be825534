// The list windows' common frame: toolbar keys, the grid filled from rows, the list component
// handed the list print dialog at load, and the guard that keeps a running print's list alive.
#include "register/list_window.h"

#include <algorithm>
#include <functional>

#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "platform/text.h"
#include "printing/frm_vedrix_stampa.h"
#include "startup/programma.h"
#include "ui/desktop.h"
#include "ui/driver.h"

namespace tolvane {

ListWindow::ListWindow(std::string name, std::string caption)
    : ui::Form(std::move(name)),
      Toolbar1(add<ui::Toolbar>("Toolbar1")),
      grdLista(add<ui::Grid>("grdLista")) {
    setCaption(std::move(caption));
    move(0, 0, 10800, 6600);
    Toolbar1.move(0, 0, 10800, 420);
    grdLista.move(120, 540, 10440, 5520);
    Toolbar1.onButtonClick = [this](const std::string& key) { ButtonComando(key); };
    expose("ButtonComando", [this](std::vector<Variant>& args) {
        ButtonComando(args.empty() ? std::string() : args[0].text());
        return Variant();
    });
    expose("DatRefresh", [this](std::vector<Variant>&) {
        DatRefresh();
        return Variant();
    });
}

int ListWindow::oiStaAtt() const { return giStaAtt; }

void ListWindow::oiStaAtt(int piValore) { giStaAtt = piValore; }

void ListWindow::AggiungiTastiComuni() {
    Toolbar1.addButton("Aggiorna", "A&ggiorna", "Rilegge l'elenco");
    Toolbar1.addButton("Stampa", "&Stampa", "Stampa l'elenco");
    Toolbar1.addButton("Chiudi", "C&hiudi", "Chiude la finestra");
}

void ListWindow::ButtonComando(const std::string& psKey) {
    if (equalText(psKey, "Aggiorna")) {
        ConTrappola([this] { DatRefresh(); });
    } else if (equalText(psKey, "Stampa")) {
        ConTrappola([this] { ogVedrix.pressKey("Stampa"); });
    } else if (equalText(psKey, "Chiudi")) {
        unload();
    }
}

int ListWindow::RigaScelta() const {
    int row = grdLista.row() - grdLista.fixedRows();
    return row >= 0 && row < righe_ ? row : -1;
}

void ListWindow::Form_Load() {
    miLoadOk = 0;
    try {
        InizioCaricoForm(*this);
        // The dialog is reached afresh at each "Stampa": one closed by its exit button comes
        // back new; it takes the print-in-progress window's default instance for each print.
        ogVedrix.setPrintDialog([] { return &ui::desktop().instance<FrmVedrixStampa>(); });
        ogVedrix.oiStaAtt = [this](int valore) { oiStaAtt(valore); };
        ogVedrix.title = caption();
        DatRefresh();
        FineCaricoForm(*this);
        miLoadOk = 1;
    } catch (const std::exception& e) {
        FineCaricoForm(*this);
        ErroreCaricoForm(std::nullopt, std::nullopt, "", "\n" + caption(), &e);
    }
}

void ListWindow::Form_Unload(bool& Cancel) {
    if (ogVedrix.ogSta.running() || giStaAtt == 1) {
        // A list print is running: its dialog, and the list it may be printing, stay.
        frmMsgCom::msgCom("Stampa in corso: attendere la fine della stampa", "&Ok");
        Cancel = true;
        return;
    }
    if (auto* dialog = ui::desktop().find<FrmVedrixStampa>();
        dialog != nullptr && dialog->loaded() && dialog->ogVedrix() == &ogVedrix) {
        dialog->ogVedrix(nullptr);
        dialog->unload();
    }
    ChiudiProgramma(false);
}

void ListWindow::Form_KeyDown(int& KeyCode, int Shift) {
    if (GestTastiForm(KeyCode, Shift, *this) > 0) return;
    TastiComandiLista(*this, KeyCode, Shift);
}

void ListWindow::MostraLista(const std::vector<ListColumn>& columns,
                             const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> shown;
    ogVedrix.columns.clear();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        ogVedrix.columns.push_back({columns[c].caption, columns[c].visible, columns[c].kind});
        if (columns[c].visible) shown.push_back(c);
    }
    ogVedrix.rows = rows;

    const int keep = grdLista.row();
    righe_ = static_cast<int>(rows.size());
    // A grid keeps one row below its heading even when the list is empty.
    std::vector<std::vector<std::string>> cells(static_cast<std::size_t>(std::max(righe_, 1) + 1),
                                                std::vector<std::string>(shown.size()));
    for (std::size_t g = 0; g < shown.size(); ++g) {
        cells[0][g] = columns[shown[g]].caption;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (shown[g] < rows[r].size()) cells[r + 1][g] = rows[r][shown[g]];
        }
    }
    grdLista.setFixedCols(0);
    grdLista.setCells(std::move(cells));
    grdLista.setFixedRows(1);
    for (std::size_t g = 0; g < shown.size(); ++g)
        grdLista.setColWidth(static_cast<int>(g), columns[shown[g]].width);
    grdLista.setRow(std::clamp(keep, 1, grdLista.rows() - 1));
}

}  // namespace tolvane
