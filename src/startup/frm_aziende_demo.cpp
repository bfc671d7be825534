// The list of the register's companies on the common database: code, identifier, description
// and database file. Reads only; the register's own windows edit it.
#include "startup/frm_aziende_demo.h"

#include "common/db_comune.h"
#include "common/globali.h"
#include "db/gestore_rs.h"
#include "startup/form_registry.h"
#include "startup/programma.h"
#include "ui/desktop.h"

namespace tolvane {

frmAziendeDemo::frmAziendeDemo()
    : ui::Form("frmAziendeDemo"),
      labTitolo(add<ui::Label>("labTitolo")),
      grdAziende(add<ui::Grid>("grdAziende")),
      comChiudi(add<ui::CommandButton>("comChiudi")) {
    setCaption("Aziende dell'archivio");
    move(0, 0, 9000, 5400);
    labTitolo.move(120, 120, 8600, 300);
    grdAziende.move(120, 480, 8600, 3900);
    comChiudi.move(7400, 4500, 1300, 420);
    comChiudi.setCaption("&Chiudi");
    comChiudi.setCancel(true);
    comChiudi.on.onClick = [this] { unload(); };
}

void frmAziendeDemo::Form_Load() {
    grdAziende.setCols(4);
    grdAziende.setRows(1);
    grdAziende.setFixedCols(0);
    const char* headings[] = {"Codice", "Id", "Descrizione", "Database"};
    for (int c = 0; c < 4; ++c) grdAziende.setTextMatrix(0, c, headings[c]);
    grdAziende.setColWidth(0, 1200);
    grdAziende.setColWidth(1, 600);
    grdAziende.setColWidth(2, 4200);
    grdAziende.setColWidth(3, 2400);
    try {
        GestoreRs rs;
        std::string h = rs.ApriRs(goDbase(), gsIdDbase, "",
                                  "Select Codice, IdAzienda, Descrizione, NomeDB from Aziende "
                                  "Order By Codice",
                                  false, rstype::Snapshot);
        for (; !rs.EofRs(h); rs.MoveNextRs(h)) {
            grdAziende.addItem(rs.ValoreCampoRs(h, "Codice").text() + "\t" +
                               rs.ValoreCampoRs(h, "IdAzienda").text() + "\t" +
                               rs.ValoreCampoRs(h, "Descrizione").text() + "\t" +
                               rs.ValoreCampoRs(h, "NomeDB").text());
        }
        labTitolo.setCaption("Aziende nell'archivio comune: " + std::to_string(rs.NumRecordRs(h)) +
                             ". Le finestre dell'archivio e dei dati aziendali non sono ancora "
                             "disponibili.");
        rs.ChiudiRs(h);
    } catch (const NumberedError& e) {
        ErroreCaricoForm(std::nullopt, std::nullopt, "", "", &e);
    }
}

void frmAziendeDemo::Form_Unload(bool&) { ChiudiProgramma(false); }

void registraFinestreAvvio() {
    registraForm("frmAziendeDemo",
                 [](const ApriFormArgs&) { ui::desktop().load<frmAziendeDemo>().show(); });
}

}  // namespace tolvane
