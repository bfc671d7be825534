// Rejected-line rows, the key of a line, and the defaults of a field: constants, prompted
// values, running counters and the next free code of a column.
// Never counts an error row that was not written, nor floods the user with failing look-ups.
#include <cmath>

#include "batchload/batch_database.h"
#include "batchload/batch_library.h"
#include "batchload/batch_messages.h"
#include "batchload/progresso_elab.h"
#include "batchload/sc_carica_stato.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "common/servizi_comuni.h"
#include "db/db_connection.h"
#include "db/db_values.h"
#include "platform/text.h"
#include "suite/elencovalori/elenco_valori.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

constexpr std::string_view kSection = "\xC2\xA7";

std::vector<std::string> splitList(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t at = text.find(separator, pos);
        parts.emplace_back(
            text.substr(pos, at == std::string_view::npos ? std::string_view::npos : at - pos));
        if (at == std::string_view::npos) return parts;
        pos = at + 1;
    }
}

long wholeNumber(std::string_view text) { return goLibGen().ValoreLong(Variant(Trim(text)), true); }

}  // namespace

BatchDatabase& ScCarica::db() {
    if (!db_ || dbId_ != gsIdDbase) {
        clearRun();
        db_ = std::make_unique<BatchDatabase>(goDbase().connection(gsIdDbase));
        dbId_ = gsIdDbase;
    }
    return *db_;
}

void ScCarica::ScriviErrore(const std::string& psRiga, const std::string& psErrore) {
    // The load stops at this line (storeLine): no further row is tried for it.
    if (errorRowFailure_) throw *errorRowFailure_;
    try {
        BatchDatabase& d = db();
        // Looked up again only when the schema has been read anew since.
        const SchemaInfo& schema = d.connection().schema;
        if (!errorTable_ || errorTableGeneration_ != schema.generation()) {
            errorTable_ = d.table("ErroriCaricamento");
            errorTableGeneration_ = schema.generation();
        }
        const TableInfo* table = errorTable_;
        if (!table)
            throw NumberedError(errnum::TableNotFound,
                                "Impossibile trovare la tabella ErroriCaricamento",
                                "ScCarica.ScriviErrore");
        BatchStatement& insert =
            d.cached("INSERT INTO ErroriCaricamento (Tabella, Riga, Errore) VALUES (?, ?, ?)");
        const std::string* texts[] = {&osCodice, &psRiga, &psErrore};
        const char* names[] = {"Tabella", "Riga", "Errore"};
        for (int i = 0; i < 3; ++i) {
            const ColumnInfo* column = table->column(names[i]);
            std::string text = *texts[i];
            if (column && column->kind == ColumnKind::Text && column->size > 0 &&
                Len(text) > static_cast<std::size_t>(column->size))
                text = Left(text, column->size);
            insert.bind(i + 1, column ? toColumnValue(*column, Variant(std::move(text)))
                                      : Variant(std::move(text)));
        }
        insert.write();
    } catch (const NumberedError& e) {
        errorRowFailure_ = e;
        throw;
    } catch (const std::exception& e) {
        errorRowFailure_ =
            NumberedError(errnum::DatabaseFailure, e.what(), "ScCarica.ScriviErrore");
        throw *errorRowFailure_;
    }
    ++mlNumErrori_;
    if (ogInElab) ogInElab->ImpostaElab(mlNumErrori_, 0);
}

bool ScCarica::keyValues(const std::string& psRiga, int t, std::vector<Variant>& values) {
    values.clear();
    for (std::size_t i = 0; i < mcolCampi_.size(); ++i) {
        ScCaricaCampi& field = *mcolCampi_[i];
        if (!equalText(field.osChiave, "S") || QualeTab(field.osCodTab) != t) continue;
        Variant value;
        if (LeggiVal(psRiga, field, value, t) != 0) return false;
        values.push_back(std::move(value));
    }
    return true;
}

std::string ScCarica::CompSqlKey(const std::string& psRiga, int piCodTab) {
    try {
        std::string text = "Select " + masCampi_.at(piCodTab) + " from " + masTabella_.at(piCodTab);
        bool first = true;
        for (auto& field : mcolCampi_) {
            if (!equalText(field->osChiave, "S") || QualeTab(field->osCodTab) != piCodTab) continue;
            text += first ? " Where " : " And ";
            first = false;
            text += field->osNomeCampo + " = ";
            Variant value;
            if (LeggiVal(psRiga, *field, value, piCodTab) != 0) return {};
            text += sqlLiteral(value, field->oiTipoDest());
        }
        return text;
    } catch (...) {
        return {};
    }
}

Variant ScCarica::LeggiDefault(ScCaricaCampi& pgCaricaCampi, const std::string& psRiga,
                               int piCodTab) {
    const std::string& text = pgCaricaCampi.osDefault;
    if (!text.empty() && text[0] == '^')
        return CalcolaProssimoCodice(pgCaricaCampi, psRiga, piCodTab);
    if (text.compare(0, kSection.size(), kSection) != 0) return Variant(text);
    if (!ogValDefault) return Variant(std::string());
    VoceElenco* voce = ogValDefault->Voce(CampoQualificato(osCodice, pgCaricaCampi.osTabellaCampo));
    if (!voce) return Variant(std::string());
    if (std::fabs(voce->TipoVoce - ElencoValori::TipoVoceContatore) > 1e-3) {
        if (voce->Valore.text() == ElencoValori::ValoreMancante) return Variant(std::string());
        return voce->Valore;
    }
    ensureLine(psRiga);
    const std::string& rottura = voce->Rottura;
    if (!rottura.empty()) {
        std::string breakValue;
        const auto colon = rottura.find(':');
        if (colon != std::string::npos) {
            breakValue = midOfLine(wholeNumber(rottura.substr(0, colon)),
                                   wholeNumber(rottura.substr(colon + 1)));
        } else {
            for (const std::string& part : splitList(rottura, ','))
                breakValue += LeggiValCampoNum(psRiga, wholeNumber(part), pgCaricaCampi);
        }
        if (!equalText(breakValue, voce->Valore.text())) {
            voce->Valore = Variant(breakValue);
            voce->Contatore = Variant(voce->ValoreIniziale).toLong();
        }
    }
    voce->Contatore += 1;
    return Variant(voce->Contatore);
}

void ScCarica::lookupFailure(bool& reported, const NumberedError& error,
                             const std::string& message) {
    if (!reported) {
        reported = true;
        showBatchError(error);
    }
    throw LookupFailed{message};
}

Variant ScCarica::CalcolaProssimoCodice(ScCaricaCampi& field, const std::string& psRiga,
                                        int piCodTab) {
    const std::string valoreDef = field.osDefault.substr(1);
    const auto colon = valoreDef.find(':');
    const std::string codePart = valoreDef.substr(0, colon);
    const std::string breakPart =
        colon == std::string::npos ? std::string() : valoreDef.substr(colon + 1);
    const auto comma = codePart.find(',');
    const long width = wholeNumber(codePart.substr(0, comma));
    std::string prefix = comma == std::string::npos ? std::string() : codePart.substr(comma + 1);
    const bool textMode = width > 0;
    try {
        if (piCodTab < 1 || piCodTab > 5)
            throw NumberedError(errnum::Subscript, "Indice non compreso nell'intervallo",
                                "CalcolaProssimoCodice");
        const std::string& tableName = masTabella_[piCodTab];
        std::vector<std::pair<std::string, Variant>> breaks;
        for (const std::string& part : splitList(breakPart, ',')) {
            const std::string name = Trim(part);
            if (breakPart.empty() || name.empty()) continue;
            ScCaricaCampi* breakField = campo(tableName + "." + name);
            if (!breakField)
                throw NumberedError(
                    errnum::InvalidCall,
                    "Il campo di rottura " + tableName + "." + name + " non è nel tracciato",
                    "CalcolaProssimoCodice");
            Variant value;
            if (LeggiVal(psRiga, *breakField, value, piCodTab) != 0) return Variant(std::string());
            breaks.emplace_back(name, std::move(value));
        }
        if (width != 0 && static_cast<long>(Len(prefix)) >= std::labs(width))
            return Variant(std::string());

        BatchDatabase& d = db();
        // Only break values are converted to their columns.
        const TableInfo* table = breaks.empty() ? nullptr : d.table(tableName);
        const std::string column = quoteName(field.osNomeCampo);
        for (;;) {
            const long prefixLength = static_cast<long>(Len(prefix));
            std::string sql = "SELECT max(" + column + ") FROM " + quoteName(tableName);
            std::string where;
            if (textMode) {
                const std::string digits =
                    "substr(" + column + ", " + std::to_string(prefixLength + 1) + ")";
                where += " AND " + digits + " <> '' AND " + digits + " NOT GLOB '*[^0-9]*'";
                where += " AND length(" + column + ") = " + std::to_string(width);
                if (!prefix.empty())
                    where += " AND substr(" + column + ", 1, " + std::to_string(prefixLength) +
                             ") = ? COLLATE NOCASE";
            }
            for (const auto& b : breaks) where += " AND " + quoteName(b.first) + " = ?";
            if (!where.empty()) sql += " WHERE " + where.substr(5);

            // A group is keyed by its values as the query compares them: converted to the column
            // and caseless, so that "AB" and "ab" (or "01" and 1) share their last code. Keys
            // that join groups can only make a code skip; keys that split one would repeat it.
            std::vector<Variant> bound;
            std::string key = sql;
            if (textMode && !prefix.empty()) key += '\x1f' + LCase(prefix);
            for (const auto& b : breaks) {
                const ColumnInfo* info = table ? table->column(b.first) : nullptr;
                bound.push_back(info ? toColumnValue(*info, b.second) : b.second);
                key += '\x1f' + std::to_string(static_cast<int>(bound.back().type())) + ':' +
                       LCase(bound.back().text());
            }
            auto known = nextCodes_.find(key);
            if (known == nextCodes_.end()) {
                BatchStatement& query = d.cached(sql);
                int position = 1;
                if (textMode && !prefix.empty()) query.bind(position++, Variant(prefix));
                for (const Variant& value : bound) query.bind(position++, value);
                NextCodeRun run;
                if (query.step() && !query.columnIsNull(0)) {
                    const Variant ultimo = query.column(0);
                    if (textMode)
                        run.last = goLibGen().ValoreLong(
                            Variant(Mid(ultimo.text(), prefixLength + 1)), true);
                    else run.last = static_cast<std::int64_t>(std::floor(ultimo.toDouble()));
                }
                query.reset();
                known = nextCodes_.emplace(key, run).first;
            }
            const std::int64_t next = known->second.last + 1;
            const int fieldIndex = indexOf(field);
            if (!textMode) {
                if (width < 0 && static_cast<long>(std::to_string(next).size()) > -width)
                    return Variant(std::string());
                pendingCodes_.push_back({piCodTab, fieldIndex, key, next});
                return Variant(static_cast<std::int32_t>(next));
            }
            std::string digits = std::to_string(next);
            const long digitsWidth = width - prefixLength;
            if (static_cast<long>(digits.size()) < digitsWidth)
                digits.insert(0, static_cast<std::size_t>(digitsWidth) - digits.size(), '0');
            if (prefixLength + static_cast<long>(digits.size()) <= width) {
                pendingCodes_.push_back({piCodTab, fieldIndex, key, next});
                return Variant(prefix + digits);
            }
            if (prefix.empty()) {
                prefix = "A";
                continue;
            }
            const std::string last = UCase(Right(prefix, 1));
            if (last >= "Z") return Variant(std::string());
            prefix = Left(prefix, static_cast<long>(Len(prefix)) - 1) + Chr(Asc(last) + 1);
        }
    } catch (const NumberedError& e) {
        lookupFailure(nextCodeReported_, e,
                      "Impossibile calcolare il prossimo codice (" + e.description() + ")");
    }
}

}  // namespace tolvane
