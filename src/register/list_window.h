// The frame shared by the register's list windows: a toolbar of list commands over a grid, the
// list component that prints what the grid shows, the launch variables and the print flag.
// Never prints or lays out anything itself: the "Stampa" key goes to the list component.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "suite/lista/vedrix_lista.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class ListWindow : public ui::Form {
  public:
    ui::Toolbar& Toolbar1;
    ui::Grid& grdLista;

    // The list component: keeps the columns and rows of the grid for printing.
    VedrixLista ogVedrix;

    // Launch variables set by the opener.
    std::string osKeySec;
    std::string osKeyLancia;
    std::string osKeySecLancia;
    std::string osParamLancia;
    std::string osParam;
    int oiLoadOk() const { return miLoadOk; }
    // The print-running flag giStaAtt, written by the list component while it prints.
    int oiStaAtt() const;
    void oiStaAtt(int piValore);

    // A toolbar command by key: "Aggiorna", "Stampa", "Chiudi" here, others in the windows.
    virtual void ButtonComando(const std::string& psKey);
    // Reads the list again and shows it.
    virtual void DatRefresh() = 0;

    // Index of the list row at the grid's current row; -1 when no row is chosen.
    int RigaScelta() const;

    void Form_Load() override;
    void Form_Unload(bool& Cancel) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;

  protected:
    struct ListColumn {
        std::string caption;
        double width = 1200;
        bool visible = true;  // hidden columns are printed only with every column
        // The register's lists show text fields of their tables: codes such as "001" stay text
        // in files and workbooks.
        ListColumnKind kind = ListColumnKind::Text;
    };
    ListWindow(std::string name, std::string caption);
    // The common keys after the window's own: "Aggiorna", "Stampa", "Chiudi".
    void AggiungiTastiComuni();
    // Shows the rows (one text per column) in the grid and hands them to the list component.
    void MostraLista(const std::vector<ListColumn>& columns,
                     const std::vector<std::vector<std::string>>& rows);

    int miLoadOk = 0;

  private:
    int righe_ = 0;
};

}  // namespace tolvane
