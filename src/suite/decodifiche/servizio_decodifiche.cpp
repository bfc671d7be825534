// Decoding of codes by the table of kinds, and the modal look-up list for a field.
// The typed code reaches the query only as a quoted literal.
#include "suite/decodifiche/servizio_decodifiche.h"

#include <algorithm>

#include "db/schema_info.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "suite/decodifiche/lista_ricerca.h"
#include "suite/libgenerale/lib_generale.h"
#include "ui/desktop.h"

namespace tolvane {

namespace {

// The values of the key columns that a typed code stands for.
std::vector<std::string> partiCodice(const TipoDecodifica& tipo, const std::string& codice) {
    if (!tipo.conto) return {Trim(codice)};
    std::string gruppo;
    std::string mastro;
    std::string conto;
    splitAccountText(goLibGen().ConvertiConto(Trim(codice), "Conto"), gruppo, mastro, conto);
    return {gruppo, mastro, conto};
}

}  // namespace

ServizioDecodifiche::ServizioDecodifiche(GestoreDb& db, std::string idDb)
    : db_(db), idDb_(std::move(idDb)) {}

const TipoDecodifica& ServizioDecodifiche::tipo(std::string_view psTipo) const {
    const TipoDecodifica* trovato = TrovaTipoDecodifica(psTipo);
    if (trovato == nullptr) {
        throw NumberedError(errnum::InvalidCall,
                            "Tipo di decodifica sconosciuto: " + std::string(psTipo),
                            "ServizioDecodifiche");
    }
    return *trovato;
}

EsitoDecodifica ServizioDecodifiche::Decodifica(std::string_view psTipo,
                                                const std::string& psCodice,
                                                const std::string& psFiltro,
                                                const std::string& psColonna) {
    const TipoDecodifica& t = tipo(psTipo);
    EsitoDecodifica esito;
    if (Trim(psCodice).empty()) return esito;

    std::vector<std::string> parti = partiCodice(t, psCodice);
    std::string condizione;
    for (std::size_t i = 0; i < t.chiavi.size(); ++i) {
        if (i > 0) condizione += " AND ";
        condizione += t.chiavi[i] + " = " + goLibGen().ValoreSql(Variant(parti[i]), 8);
    }
    std::string sql = "SELECT * FROM " + t.tabella + " WHERE (" + condizione + ")";
    if (!Trim(psFiltro).empty()) sql += " AND (" + psFiltro + ")";

    ScopedRecordSet letto(rs_, db_, idDb_, sql);
    const std::string& handle = letto.handle();
    if (!rs_.VuotoRs(handle)) {
        esito.trovato = true;
        esito.descrizione = rs_.ValoreCampoRs(handle, t.descrizione).text();
        if (!psColonna.empty()) esito.colonna = rs_.ValoreCampoRs(handle, psColonna);
    }
    return esito;
}

bool ServizioDecodifiche::DecodArtConto(std::string_view psTipo, const ui::TextBox& txt,
                                        ui::Label* lab, const std::string& psFiltro,
                                        Variant* pvCampo) {
    std::string colonna = pvCampo != nullptr ? pvCampo->text() : std::string();
    EsitoDecodifica esito = Decodifica(psTipo, txt.text(), psFiltro, colonna);
    if (pvCampo != nullptr) *pvCampo = esito.colonna;
    bool vuoto = Trim(txt.text()).empty();
    if (lab != nullptr) {
        lab->setCaption(esito.trovato ? esito.descrizione
                        : vuoto       ? std::string()
                                      : kDecodificaInesistente);
    }
    return esito.trovato || vuoto;
}

std::vector<std::string> ServizioDecodifiche::ColonneRicerca(std::string_view psTipo,
                                                             const std::string& psColonne) {
    const TipoDecodifica& t = tipo(psTipo);
    const TableInfo* tabella = db_.Schema(idDb_).table(t.tabella);
    std::vector<std::string> colonne;
    std::size_t inizio = 0;
    while (tabella != nullptr && inizio <= psColonne.size()) {
        std::size_t fine = std::min(psColonne.find(',', inizio), psColonne.size());
        const ColumnInfo* colonna = tabella->column(Trim(psColonne.substr(inizio, fine - inizio)));
        if (colonna != nullptr &&
            std::find(colonne.begin(), colonne.end(), colonna->name) == colonne.end()) {
            colonne.push_back(colonna->name);
        }
        inizio = fine + 1;
    }
    return colonne.empty() ? t.colonne : colonne;
}

bool ServizioDecodifiche::PreparaHelpRic(std::string_view psTipo, const std::string& psFiltro,
                                         ui::TextBox& txt, ui::Label* lab,
                                         const std::string& psColonne) {
    const TipoDecodifica& t = tipo(psTipo);
    auto& lista = ui::desktop().instance<frmListaRicerca>();
    lista.ovLeggiPar =
        ParametriRicerca{t.titolo, t.tabella, psFiltro, t.chiavi, t.conto, &db_, idDb_};
    lista.ColonneRicerca = ColonneRicerca(psTipo, psColonne);
    lista.RetVal.clear();
    std::string scelto;
    {
        ScopeGuard chiudi([&lista] {
            if (lista.loaded()) lista.unload();
        });
        lista.load();
        lista.CaricaLista();
        lista.show(ui::ShowMode::Modal);
        scelto = lista.RetVal;
    }
    if (scelto.empty()) return false;

    txt.setText(scelto);
    DecodArtConto(psTipo, txt, lab, psFiltro);
    return true;
}

}  // namespace tolvane
