// Reading a stored layout into the loader: header, fields in their order, key fields, column
// sizes and decode rows; also the input path and the table-code name routines.
// Never accepts a layout that would search rows by a key it does not have.
#include <algorithm>
#include <cctype>

#include "batchload/batch_library.h"
#include "batchload/batch_messages.h"
#include "batchload/progresso_elab.h"
#include "batchload/sc_carica_stato.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "common/servizi_comuni.h"
#include "db/gestore_rs.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

// Val: the number at the start of a text, 0 when there is none.
double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string digits;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) digits += text[i++];
    bool point = false;
    while (i < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[i])) || (text[i] == '.' && !point))) {
        if (text[i] == '.') point = true;
        digits += text[i++];
    }
    try {
        return digits.empty() || digits == "-" || digits == "+" ? 0 : std::stod(digits);
    } catch (...) {
        return 0;
    }
}

std::string textOf(const GestoreRs& rs, const std::string& handle, const std::string& column) {
    return rs.ValoreCampoRs(handle, column).text();
}

int integerOf(const GestoreRs& rs, const std::string& handle, const std::string& column) {
    const Variant value = rs.ValoreCampoRs(handle, column);
    if (value.isString() && Trim(value.text()).empty()) return 0;
    return value.toInteger();
}

struct DettaglioRow {
    double order = 0;
    std::string nomeCampo, tipoOrig, tipoDest, numCampo, nonVal, valValido, riempie, defaultText,
        conv0, obbligatorio, tipoOper, valoreOper, lireOValuta, aggiorna;
    int dimensione = 0, quanto = 0, inizio = 0, lunghezza = 0, limiteDim = 0;
    bool quantoNull = false;
};

}  // namespace

ScCaricaCampi* ScCarica::campo(std::string_view psKey) {
    const auto it = campiByKey_.find(LCase(psKey));
    return it == campiByKey_.end() ? nullptr : mcolCampi_[it->second].get();
}

bool ScCarica::tableInUse(int t) const { return !isEmptyValue(Variant(masTabella_[t])); }

void ScCarica::progress(long value, const std::optional<std::string>& text) {
    if (ogInElab) ogInElab->AvanzaElab(value, text, true);
}

long ScCarica::LeggiTracciato(const std::string& psCodice) {
    osCodice = psCodice;
    mcolCampi_.clear();
    campiByKey_.clear();
    indexByField_.clear();
    states_.clear();
    plans_.clear();
    lineStarted_ = false;
    clearRun();
    try {
        GestoreRs rs;
        const std::string h = rs.ApriRs(goDbase(), gsConnDbMenu, "",
                                        "Select * from CaricaFile Where Codice = " +
                                            sqlLiteral(Variant(psCodice), tipocampo::Testo),
                                        false, rstype::Snapshot);
        if (rs.VuotoRs(h)) {
            showBatchMessage("Mancano i dati per il codice " + psCodice, {"&Ok"});
            return -1;
        }
        masTabella_[1] = textOf(rs, h, "Tabella");
        masCodTab_[1].clear();
        masAzzera_[1] = textOf(rs, h, "Azzera");
        masWhereAzz_[1] = textOf(rs, h, "WhereAzz");
        masCampi_[1] = textOf(rs, h, "Campi");
        if (masCampi_[1].empty()) masCampi_[1] = "*";
        for (int i = 1; i <= 3; ++i)
            masQueryFin_[i] = textOf(rs, h, "QueryFin" + std::to_string(i));
        msModalita_ = textOf(rs, h, "Modalita");

        const std::string separatore = textOf(rs, h, "Separatore");
        msSeparatore_ = separatore.empty() ? std::string("\t") : SeparaPercorso(separatore);
        split_.setSeparator(msSeparatore_);

        if (msModalita_ == "0" || msModalita_ == "1") msInsVaria_ = textOf(rs, h, "InsVaria");
        else if (msModalita_ == "2") msInsVaria_ = "V";
        else msInsVaria_.clear();

        msFileOrigine_ = CaricaPathCompleta(textOf(rs, h, "Origine"));
        for (int i = 2; i <= 5; ++i) {
            const std::string n = std::to_string(i);
            masTabella_[i] = textOf(rs, h, "Tabella" + n);
            masCodTab_[i] = textOf(rs, h, "CodTab" + n);
            masAzzera_[i] = textOf(rs, h, "Azzera" + n);
            masWhereAzz_[i] = Trim(textOf(rs, h, "WhereAzz" + n));
            masCampi_[i] = textOf(rs, h, "Campi" + n);
            if (masCampi_[i].empty()) masCampi_[i] = "*";
        }
        miSaltaInizio_ = integerOf(rs, h, "SaltaInizio");
        msTipo_ = textOf(rs, h, "Tipo");
        fixed_ = equalText(msTipo_, "F");
        rs.ChiudiRs(h);

        readLayoutFields(psCodice);
        if (mcolCampi_.empty()) {
            showBatchMessage("Nessun dettaglio per il codice " + psCodice, {"&Ok"});
            return -1;
        }
        ImpCampiKey();
        if (refuseKeylessSearch()) return -1;
        readDecodes(psCodice);
        return 0;
    } catch (const NumberedError& e) {
        showBatchError(e);
        return goLibGen().NumeroErrore(e.number());
    } catch (const std::exception& e) {
        const NumberedError wrapped(errnum::InvalidCall, e.what(), "ScCarica.LeggiTracciato");
        showBatchError(wrapped);
        return wrapped.number();
    }
}

void ScCarica::readLayoutFields(const std::string& psCodice) {
    GestoreRs rs;
    const std::string h = rs.ApriRs(goDbase(), gsConnDbMenu, "",
                                    "Select * from CaricaDettaglio Where Codice = " +
                                        sqlLiteral(Variant(psCodice), tipocampo::Testo),
                                    false, rstype::Snapshot);
    std::vector<DettaglioRow> rows;
    for (; !rs.EofRs(h); rs.MoveNextRs(h)) {
        DettaglioRow r;
        const Variant ord = rs.ValoreGrezzoRs(h, "OrdCampo");
        r.order = ord.isNull() ? 999999 : leadingNumber(ord.text());
        r.nomeCampo = textOf(rs, h, "NomeCampo");
        r.tipoOrig = textOf(rs, h, "TipoOrig");
        r.tipoDest = textOf(rs, h, "TipoDest");
        r.numCampo = textOf(rs, h, "NumCampo");
        r.dimensione = integerOf(rs, h, "Dimensione");
        r.nonVal = textOf(rs, h, "NonVal");
        r.valValido = textOf(rs, h, "ValValido");
        r.riempie = textOf(rs, h, "Riempie");
        r.quantoNull = rs.ValoreGrezzoRs(h, "Quanto").isNull();
        r.quanto = integerOf(rs, h, "Quanto");
        r.inizio = integerOf(rs, h, "Inizio");
        r.lunghezza = integerOf(rs, h, "Lunghezza");
        r.defaultText = textOf(rs, h, "Default");
        r.conv0 = textOf(rs, h, "Conv0ToNull");
        r.obbligatorio = textOf(rs, h, "Obbligatorio");
        r.limiteDim = integerOf(rs, h, "LimiteDim");
        r.tipoOper = textOf(rs, h, "TipoOper");
        r.valoreOper = Trim(textOf(rs, h, "ValoreOper"));
        r.lireOValuta = textOf(rs, h, "LireOValuta");
        r.aggiorna = textOf(rs, h, "Aggiorna");
        rows.push_back(std::move(r));
    }
    rs.ChiudiRs(h);
    if (rows.empty()) return;
    std::stable_sort(rows.begin(), rows.end(), [](const DettaglioRow& a, const DettaglioRow& b) {
        return a.order < b.order;
    });

    if (ogInElab) ogInElab->setLabelsVisible(false, true);
    if (ogInElab) ogInElab->ImpostaElab(static_cast<long>(rows.size()), 0);
    SchemaInfo& schema = goDbase().Schema(gsIdDbase);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        progress(static_cast<long>(i) + 1, std::string());
        const DettaglioRow& r = rows[i];
        auto field = std::make_unique<ScCaricaCampi>();
        field->osTabella = LeggiNomeTabella(r.nomeCampo);
        field->osNomeCampo = LeggiNomeCampo(r.nomeCampo);
        field->osTabellaCampo = r.nomeCampo;
        field->osCodTab = LeggiCodTab(r.nomeCampo);
        field->osTipoOrig = r.tipoOrig;
        field->osTipoDest = r.tipoDest;
        field->osNumCampo = r.numCampo;
        int size = r.dimensione;
        const int tipo = field->oiTipoDest();
        if (size == 0 && (tipo == tipocampo::Testo || tipo == tipocampo::Nessuno)) {
            // Only a text column has a size in characters: the byte size of a number or a
            // date would cut an untyped value ("123456" into a Long column gave "1234").
            if (const TableInfo* table = schema.table(field->osTabella))
                if (const ColumnInfo* column = table->column(field->osNomeCampo))
                    if (column->kind == ColumnKind::Text) size = column->size;
        }
        field->oiDimensione(size);
        field->osNonVal(r.nonVal);
        field->osValValido(r.valValido);
        field->osRiempie = r.riempie;
        field->oiQuanto = r.quanto;
        field->oiNumDec = r.quantoNull ? -9999 : r.quanto;
        field->oiInizio = r.inizio;
        field->oiLunghezza = r.lunghezza;
        field->osDefault = r.defaultText;
        field->os0toNull = r.conv0;
        field->osObbligatorio = r.obbligatorio;
        field->oiLimiteDim = r.limiteDim;
        field->osTipoOper = r.tipoOper;
        field->osValoreOper = r.valoreOper;
        field->osLireOValuta = r.lireOValuta;
        field->osAggiorna = r.aggiorna;
        const std::string key = LCase(field->osKey());
        if (campiByKey_.count(key))
            throw NumberedError(
                errnum::KeyAlreadyInCollection,
                "Chiave già associata a un elemento dell'insieme: " + field->osKey(),
                "ScCarica.LeggiTracciato");
        campiByKey_.emplace(key, mcolCampi_.size());
        indexByField_.emplace(field.get(), static_cast<int>(mcolCampi_.size()));
        mcolCampi_.push_back(std::move(field));
    }
}

void ScCarica::readDecodes(const std::string& psCodice) {
    progress(0, std::string("Verifica Conversioni"));
    GestoreRs rs;
    const std::string h = rs.ApriRs(goDbase(), gsConnDbMenu, "",
                                    "Select * from CaricaDecod Where Codice = " +
                                        sqlLiteral(Variant(psCodice), tipocampo::Testo),
                                    false, rstype::Snapshot);
    if (ogInElab) ogInElab->ImpostaElab(rs.NumRecordRs(h), 0);
    for (long i = 0; !rs.EofRs(h); rs.MoveNextRs(h), ++i) {
        progress(i + 1, std::string());
        const std::string key = textOf(rs, h, "Tabella") + "." + textOf(rs, h, "NomeCampo");
        ScCaricaCampi* field = campo(key);
        if (!field)
            throw NumberedError(errnum::InvalidCall,
                                "Chiamata di routine o argomento non validi: decodifica per " +
                                    key + ", che non è un campo del tracciato",
                                "ScCarica.LeggiTracciato");
        field->AddDecod(textOf(rs, h, "ValOrig"), textOf(rs, h, "Tabella"),
                        textOf(rs, h, "ValDest"));
    }
    rs.ChiudiRs(h);
    if (ogInElab) ogInElab->setLabelsVisible(true, false);
}

bool ScCarica::refuseKeylessSearch() {
    if (equalText(msInsVaria_, "I")) return false;
    for (int t = 1; t <= 5; ++t) {
        if (!tableInUse(t)) continue;
        bool hasKey = false;
        for (const auto& field : mcolCampi_)
            if (QualeTab(field->osCodTab) == t && equalText(field->osChiave, "S")) hasKey = true;
        if (!hasKey) {
            showBatchMessage("Tracciato " + osCodice + ": la tabella " + masTabella_[t] +
                                 " non ha campi chiave, impossibile cercare le righe esistenti",
                             {"&Ok"});
            return true;
        }
    }
    return false;
}

std::string ScCarica::CaricaPathCompleta(const std::string& psFile) const {
    if (psFile.empty()) return gsDirCarica;
    if (Left(psFile, 2) == "\\\\" || Mid(psFile, 2, 1) == ":" || Left(psFile, 1) == "/")
        return psFile;
    const std::string& base = Left(psFile, 1) == "\\" ? gsDriveCarica : gsDirCarica;
    // A folder chosen on this system (a POSIX path) is joined with its own separator.
    const char separator =
        base.find('/') != std::string::npos && base.find('\\') == std::string::npos ? '/' : '\\';
    if ((!base.empty() && base.back() == separator) || psFile.front() == separator)
        return base + psFile;
    return base + separator + psFile;
}

std::string ScCarica::LeggiNomeCampo(const std::string& psNomeCampo) const {
    if (Mid(psNomeCampo, 2, 1) == " ") return Mid(psNomeCampo, 3);
    return psNomeCampo;
}

std::string ScCarica::LeggiCodTab(const std::string& psNomeCampo) const {
    if (Mid(psNomeCampo, 2, 1) == " ") return Left(psNomeCampo, 1);
    return {};
}

std::string ScCarica::LeggiNomeTabella(const std::string& psNomeCampo) const {
    if (Mid(psNomeCampo, 2, 1) == " ") {
        const std::string code = Left(psNomeCampo, 1);
        for (int i = 2; i <= 5; ++i)
            if (equalText(masCodTab_[i], code)) return masTabella_[i];
    }
    return masTabella_[1];
}

int ScCarica::QualeTab(std::string_view psCodTab) const {
    for (int i = 1; i <= 5; ++i)
        if (equalText(masCodTab_[i], psCodTab)) return i;
    return 0;
}

void ScCarica::ImpCampiKey() {
    SchemaInfo* schema = nullptr;
    for (int t = 1; t <= 5; ++t) {
        if (masTabella_[t].empty()) continue;
        bool marked = false;
        for (auto& field : mcolCampi_) {
            if (!equalText(field->osCodTab, masCodTab_[t])) continue;
            if (!field->osNumCampo.empty() &&
                (field->osNumCampo[0] == 'K' || field->osNumCampo[0] == 'k')) {
                field->osNumCampo.erase(0, 1);
                field->osChiave.assign(1, 'S');
                marked = true;
            }
        }
        if (marked) continue;
        if (!schema) schema = &goDbase().Schema(gsIdDbase);
        const TableInfo* table = schema->table(masTabella_[t]);
        if (!table)
            throw NumberedError(errnum::ItemNotFound,
                                "Elemento non trovato nell'insieme: tabella " + masTabella_[t],
                                "ScCarica.ImpCampiKey");
        for (const std::string& column : table->primaryKey) {
            std::string key = masTabella_[t];
            key += '.';
            key += column;
            if (ScCaricaCampi* field = campo(key)) field->osChiave.assign(1, 'S');
        }
    }
}

}  // namespace tolvane
