// The look-up list: one read-only query over the code table, shown in a grid under a heading
// row; Ok or a double click picks the chosen row, Annulla picks nothing.
#include "suite/decodifiche/lista_ricerca.h"

#include <algorithm>

#include "db/gestore_rs.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

std::string elenco(const std::vector<std::string>& nomi) {
    std::string testo;
    for (const std::string& nome : nomi) {
        if (!testo.empty()) testo += ", ";
        testo += nome;
    }
    return testo;
}

}  // namespace

frmListaRicerca::frmListaRicerca() : ui::Form("frmListaRicerca") {}

void frmListaRicerca::Form_Load() {
    setCaption(ovLeggiPar.titolo.empty() ? "Ricerca" : ovLeggiPar.titolo);
    move(0, 0, 7200, 5400);
    ListaRicerca = &add<ui::Grid>("ListaRicerca");
    ListaRicerca->move(120, 120, 6960, 4320);
    ListaRicerca->setTabIndex(0);
    ListaRicerca->on.onDblClick = [this] { ListaRicerca_DblClick(); };
    comOk = &add<ui::CommandButton>("comOk");
    comOk->setCaption("&Ok");
    comOk->setDefault(true);
    comOk->move(4440, 4560, 1200, 420);
    comOk->setTabIndex(1);
    comOk->on.onClick = [this] { comOk_Click(); };
    ComAnnulla = &add<ui::CommandButton>("ComAnnulla");
    ComAnnulla->setCaption("&Annulla");
    ComAnnulla->setCancel(true);
    ComAnnulla->move(5760, 4560, 1200, 420);
    ComAnnulla->setTabIndex(2);
    ComAnnulla->on.onClick = [this] { ComAnnulla_Click(); };
}

void frmListaRicerca::CaricaLista() {
    if (ovLeggiPar.db == nullptr) {
        throw NumberedError(errnum::ObjectRequired, "Database della ricerca non impostato",
                            "frmListaRicerca");
    }
    std::vector<std::string> colonne = ColonneRicerca;
    for (const std::string& chiave : ovLeggiPar.chiavi) {
        if (std::find(colonne.begin(), colonne.end(), chiave) == colonne.end()) {
            colonne.push_back(chiave);
        }
    }
    std::string sql = "SELECT " + elenco(colonne) + " FROM " + ovLeggiPar.tabella;
    if (!ovLeggiPar.filtro.empty()) sql += " WHERE " + ovLeggiPar.filtro;
    sql += " ORDER BY " + elenco(ovLeggiPar.chiavi);

    GestoreRs rs;
    std::string handle =
        rs.ApriRs(*ovLeggiPar.db, ovLeggiPar.idDb, "", sql, false, rstype::Snapshot);
    // The heading row first; the grid always keeps one row below it, empty when the table has
    // none. Filled in one change: a display redraws a long chart of accounts once.
    std::vector<std::vector<std::string>> celle{ColonneRicerca};
    codici_.clear();
    if (!rs.VuotoRs(handle)) {
        for (rs.MoveFirstRs(handle); !rs.EofRs(handle); rs.MoveNextRs(handle)) {
            std::vector<std::string> riga;
            for (const std::string& colonna : ColonneRicerca) {
                riga.push_back(rs.ValoreCampoRs(handle, colonna).text());
            }
            std::vector<std::string> codice;
            for (const std::string& chiave : ovLeggiPar.chiavi) {
                codice.push_back(rs.ValoreCampoRs(handle, chiave).text());
            }
            celle.push_back(std::move(riga));
            codici_.push_back(std::move(codice));
        }
    }
    rs.ChiudiRs(handle);

    righe_ = static_cast<int>(codici_.size());
    if (righe_ == 0) celle.emplace_back(ColonneRicerca.size());
    ListaRicerca->setFixedCols(0);
    ListaRicerca->setCells(std::move(celle));
    ListaRicerca->setRow(1);
    ListaRicerca->setCol(0);
}

std::string frmListaRicerca::CodiceRiga(int riga) const {
    if (riga < 1 || riga > righe_) return {};
    const std::vector<std::string>& parti = codici_[riga - 1];
    std::string codice;
    for (std::size_t i = 0; i < parti.size(); ++i) {
        if (i > 0) codice += "-";
        codice += parti[i];
    }
    return ovLeggiPar.conto ? goLibGen().ConvertiConto(codice, "Conto") : codice;
}

void frmListaRicerca::comOk_Click() {
    RetVal = CodiceRiga(ListaRicerca->row());
    hide();
}

void frmListaRicerca::ComAnnulla_Click() {
    RetVal.clear();
    hide();
}

void frmListaRicerca::ListaRicerca_DblClick() {
    if (ListaRicerca->row() >= 1 && ListaRicerca->row() <= righe_) comOk_Click();
}

}  // namespace tolvane
