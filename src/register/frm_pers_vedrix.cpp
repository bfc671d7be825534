// The personal settings list: rows of Personalizzazioni in key order, the chosen row's value in
// an edit field, and "Salva" writing it back by the row's full key.
#include "register/frm_pers_vedrix.h"

#include "common/db_comune.h"
#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "db/gestore_rs.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

constexpr int kColonnaValore = 3;
constexpr int kTipoTesto = 8;

}  // namespace

frmPersVedrix::frmPersVedrix()
    : ListWindow("frmPersVedrix", "Personalizzazioni"),
      LabValore(add<ui::Label>("LabValore")),
      txtValore(add<ui::TextBox>("txtValore")) {
    msCaption = caption();
    Toolbar1.addButton("Salva", "&Salva", "Memorizza il valore della riga scelta");
    AggiungiTastiComuni();
    grdLista.move(120, 540, 10440, 4800);
    LabValore.setCaption("Valore");
    LabValore.move(120, 5520, 1200, 300);
    txtValore.move(1440, 5520, 9120, 300);
    txtValore.setMaxLength(255);
    grdLista.on.onClick = [this] { grdLista_Click(); };
    ogVedrix.printName = "Personalizzazioni";
}

std::string frmPersVedrix::database() const { return osIdDbase.empty() ? gsIdDbase : osIdDbase; }

void frmPersVedrix::ApriLista(const std::string& psIdDb, const std::string& psTitolo) {
    osIdDbase = psIdDb;
    setCaption(psTitolo.empty() ? msCaption : msCaption + " - " + psTitolo);
    ogVedrix.title = caption();
    if (loaded()) ConTrappola([this] { DatRefresh(); });
}

void frmPersVedrix::ButtonComando(const std::string& psKey) {
    if (equalText(psKey, "Salva")) {
        ConTrappola([this] { Salva(); });
    } else {
        ListWindow::ButtonComando(psKey);
    }
}

void frmPersVedrix::DatRefresh() {
    GestoreRs rs;
    std::string h = rs.ApriRs(goDbase(), database(), "",
                              "Select Sezione, Chiave, Login, Valore, Descrizione "
                              "from Personalizzazioni Order By Sezione, Chiave, Login",
                              false, rstype::Snapshot);
    std::vector<std::vector<std::string>> rows;
    for (; !rs.EofRs(h); rs.MoveNextRs(h)) {
        std::vector<std::string> row;
        for (const char* c : {"Sezione", "Chiave", "Login", "Valore", "Descrizione"})
            row.push_back(rs.ValoreCampoRs(h, c).text());
        rows.push_back(std::move(row));
    }
    rs.ChiudiRs(h);
    MostraLista({{"Sezione", 1800},
                 {"Chiave", 1800},
                 {"Login", 1200},
                 {"Valore", 2400},
                 {"Descrizione", 3000}},
                rows);
    grdLista_Click();
}

void frmPersVedrix::grdLista_Click() {
    const int riga = RigaScelta();
    txtValore.setText(riga < 0 ? std::string()
                               : ogVedrix.rows[static_cast<std::size_t>(riga)][kColonnaValore]);
}

void frmPersVedrix::Salva() {
    const int riga = RigaScelta();
    if (riga < 0) {
        frmMsgCom::msgCom("Scegliere una riga dall'elenco", "&Ok");
        return;
    }
    const auto& chiave = ogVedrix.rows[static_cast<std::size_t>(riga)];
    const LibGenerale& lib = goLibGen();
    GestoreRs rs;
    std::string h = rs.ApriRs(goDbase(), database(), "",
                              "Select * from Personalizzazioni Where Sezione = " +
                                  lib.ValoreSql(Variant(chiave[0]), kTipoTesto) +
                                  " And Chiave = " + lib.ValoreSql(Variant(chiave[1]), kTipoTesto) +
                                  " And Login = " + lib.ValoreSql(Variant(chiave[2]), kTipoTesto));
    if (rs.VuotoRs(h)) {
        rs.ChiudiRs(h);
        frmMsgCom::msgCom("La riga non esiste più: l'elenco viene riletto", "&Ok");
        DatRefresh();
        return;
    }
    rs.EditRs(h);
    rs.ScriviCampoRs(h, "Valore", Variant(txtValore.text()));
    rs.UpdateRs(h);
    rs.ChiudiRs(h);
    DatRefresh();
    frmMsgCom::msgCom("I valori sono stati memorizzati", "&Ok");
}

}  // namespace tolvane
