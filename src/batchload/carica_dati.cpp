// The load loop: clears the layout's error rows, empties the tables asked, reads the file line
// by line into up to five tables (insert, or update by key), and runs the final queries.
// Never leaves a line half-stored on a field error; what ran before a stop stays written.
#include <algorithm>

#include "batchload/batch_database.h"
#include "batchload/batch_library.h"
#include "batchload/batch_messages.h"
#include "batchload/progresso_elab.h"
#include "batchload/sc_carica_stato.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "db/db_connection.h"
#include "db/db_values.h"
#include "platform/text.h"
#include "platform/text_file_reader.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

std::string withCause(const std::string& message, const std::string& cause) {
    return cause.empty() ? message : message + ": " + cause;
}

std::vector<std::string> selectedColumns(const std::string& campi) {
    std::vector<std::string> columns;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t comma = campi.find(',', pos);
        std::string name =
            Trim(campi.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
        if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
            name = name.substr(1, name.size() - 2);
        const auto dot = name.rfind('.');
        if (dot != std::string::npos) name = name.substr(dot + 1);
        if (!name.empty()) columns.push_back(LCase(name));
        if (comma == std::string::npos) return columns;
        pos = comma + 1;
    }
}

}  // namespace

ScCarica::ScCarica() = default;
ScCarica::~ScCarica() { clearRun(); }

void ScCarica::clearRun() {
    for (auto& slot : slots_) slot.reset();
    nextCodes_.clear();
    pendingCodes_.clear();
    currencies_.clear();
    nextCodeReported_ = listinoReported_ = false;
    errorRowFailure_.reset();
    db_.reset();
    dbId_.clear();
    errorTable_ = nullptr;
}

void ScCarica::prepareSlot(int t) {
    auto slot = std::make_unique<Slot>();
    BatchDatabase& d = db();
    slot->info = d.table(masTabella_[t]);
    if (!slot->info)
        throw NumberedError(errnum::TableNotFound,
                            "Il motore di database non trova la tabella di input o la query '" +
                                masTabella_[t] + "'",
                            "ScCarica.CaricaDati");
    const std::size_t n = mcolCampi_.size();
    slot->columnOfField.assign(n, -1);
    slot->insertPos.assign(n, 0);
    slot->updatePos.assign(n, 0);
    slot->assigned.assign(n, 0);
    std::string insertColumns, insertValues, updateSet;
    for (std::size_t i = 0; i < n; ++i) {
        const ScCaricaCampi& field = *mcolCampi_[i];
        if (QualeTab(field.osCodTab) != t) continue;
        slot->fields.push_back(static_cast<int>(i));
        if (equalText(field.osChiave, "S")) slot->keyFields.push_back(static_cast<int>(i));
        const int column = slot->info->columnIndex(field.osNomeCampo);
        slot->columnOfField[i] = column;
        if (column < 0) continue;
        const std::string name =
            quoteName(slot->info->columns[static_cast<std::size_t>(column)].name);
        slot->insertPos[i] = ++slot->insertCount;
        insertColumns += (insertColumns.empty() ? "" : ", ") + name;
        insertValues += insertValues.empty() ? "?" : ", ?";
        if (equalText(field.osAggiorna, "A")) {
            slot->updatePos[i] = ++slot->updateCount;
            updateSet += (updateSet.empty() ? "" : ", ") + name + " = ?";
        }
    }
    const std::string table = quoteName(slot->info->name);
    slot->insertSql = slot->insertCount == 0 ? "INSERT INTO " + table + " DEFAULT VALUES"
                                             : "INSERT INTO " + table + " (" + insertColumns +
                                                   ") VALUES (" + insertValues + ")";
    if (slot->updateCount > 0)
        slot->updateSql = "UPDATE " + table + " SET " + updateSet + " WHERE rowid = ?";
    if (!slot->keyFields.empty()) {
        std::string where;
        for (int i : slot->keyFields)
            where += (where.empty() ? "" : " AND ") +
                     quoteName(mcolCampi_[static_cast<std::size_t>(i)]->osNomeCampo) + " = ?";
        slot->findSql = "SELECT rowid FROM " + table + " WHERE " + where + " LIMIT 1";
    }
    const std::string campi = Trim(masCampi_[t]);
    const bool campiAll = campi.empty() || campi == "*";
    slot->selected.assign(slot->info->columns.size(), 1);
    if (!campiAll) {
        const std::vector<std::string> list = selectedColumns(campi);
        if (std::find(list.begin(), list.end(), "*") == list.end())
            for (std::size_t c = 0; c < slot->info->columns.size(); ++c)
                slot->selected[c] = std::find(list.begin(), list.end(),
                                              LCase(slot->info->columns[c].name)) != list.end();
    }
    d.cached(slot->insertSql);
    slots_[t] = std::move(slot);
}

void ScCarica::prepareRun() {
    insertOnly_ = equalText(msInsVaria_, "I");
    for (int t = 1; t <= 5; ++t)
        if (tableInUse(t)) prepareSlot(t);
}

ScCarica::KeySearch ScCarica::searchKey(const std::string& psRiga, int t, std::int64_t& rowid,
                                        std::string& cause) {
    Slot& slot = *slots_[t];
    if (slot.keyFields.empty()) return KeySearch::NoKey;
    std::vector<Variant> values;
    try {
        if (!keyValues(psRiga, t, values)) return KeySearch::NoKey;
        for (std::size_t k = 0; k < values.size(); ++k) {
            const int column = slot.columnOfField[static_cast<std::size_t>(slot.keyFields[k])];
            if (column >= 0)
                values[k] =
                    toColumnValue(slot.info->columns[static_cast<std::size_t>(column)], values[k]);
        }
    } catch (const NumberedError& e) {
        cause = "Errore(" + std::to_string(e.number()) + "): " + e.description();
        return KeySearch::NoKey;
    } catch (const std::exception& e) {
        cause = e.what();
        return KeySearch::NoKey;
    }
    BatchStatement& find = db().cached(slot.findSql);
    for (std::size_t k = 0; k < values.size(); ++k)
        find.bindKept(static_cast<int>(k) + 1, values[k]);
    const bool found = find.step();
    if (found) rowid = find.columnInt(0);
    find.reset();
    return found ? KeySearch::Found : KeySearch::NotFound;
}

void ScCarica::startRecord(int t, bool isNew, std::int64_t rowid) {
    Slot& slot = *slots_[t];
    slot.isNew = isNew;
    slot.rowid = rowid;
    slot.values.assign(static_cast<std::size_t>(isNew ? slot.insertCount : slot.updateCount),
                       Variant());
    std::fill(slot.assigned.begin(), slot.assigned.end(), 0);
}

void ScCarica::writeField(int t, int fieldIndex, const Variant& value) {
    const ScCaricaCampi& field = *mcolCampi_[static_cast<std::size_t>(fieldIndex)];
    if (t < 1 || t > 5 || !slots_[t])
        throw NumberedError(errnum::Subscript,
                            "Nessuna tabella di destinazione ha il codice " + field.osCodTab,
                            "ScCarica.CompRecord");
    Slot& slot = *slots_[t];
    const int column = slot.columnOfField[static_cast<std::size_t>(fieldIndex)];
    if (column < 0)
        throw NumberedError(errnum::ItemNotFound, "Elemento non trovato nell'insieme",
                            "ScriviCampoRs");
    const ColumnInfo& info = slot.info->columns[static_cast<std::size_t>(column)];
    if (!slot.isNew && !slot.selected[static_cast<std::size_t>(column)])
        throw NumberedError(errnum::ItemNotFound, "Elemento non trovato nell'insieme",
                            "ScriviCampoRs");
    const int position = slot.isNew ? slot.insertPos[static_cast<std::size_t>(fieldIndex)]
                                    : slot.updatePos[static_cast<std::size_t>(fieldIndex)];
    if (position == 0) return;
    slot.values[static_cast<std::size_t>(position - 1)] = toColumnValue(info, value);
    slot.assigned[static_cast<std::size_t>(fieldIndex)] = 1;
}

void ScCarica::storeRecord(int t) {
    Slot& slot = *slots_[t];
    if (slot.isNew) {
        BatchStatement& insert = db().cached(slot.insertSql);
        for (std::size_t i = 0; i < slot.values.size(); ++i)
            insert.bindKept(static_cast<int>(i) + 1, slot.values[i]);
        insert.write();
    } else if (slot.updateCount > 0) {
        BatchStatement& update = db().cached(slot.updateSql);
        for (std::size_t i = 0; i < slot.values.size(); ++i)
            update.bindKept(static_cast<int>(i) + 1, slot.values[i]);
        update.bindInt64(slot.updateCount + 1, slot.rowid);
        update.write();
    }
    for (const PendingCode& code : pendingCodes_) {
        if (code.slot != t || code.field < 0 ||
            !slot.assigned[static_cast<std::size_t>(code.field)])
            continue;
        auto& run = nextCodes_[code.key];
        run.last = std::max(run.last, code.value);
    }
}

const ScCarica::FieldPlan& ScCarica::plan(std::size_t index) {
    if (plans_.size() != mcolCampi_.size()) {
        plans_.clear();
        for (const auto& field : mcolCampi_)
            plans_.push_back({QualeTab(field->osCodTab), equalText(field->osAggiorna, "A"),
                              equalText(field->osNomeCampo, "Listino")});
    }
    return plans_[index];
}

long ScCarica::CompRecord(const std::string& psRiga) {
    ensureLine(psRiga);
    std::array<bool, 6> isNew{};
    for (int t = 1; t <= 5; ++t) {
        masListino_[t].clear();
        isNew[t] = slots_[t] && slots_[t]->isNew;
    }
    const ScCaricaCampi* inProgress = nullptr;
    static const Variant kNone;
    const Variant* value = &kNone;  // of the field in progress, kept for the line
    try {
        for (std::size_t i = 0; i < mcolCampi_.size(); ++i) {
            const FieldPlan& p = plan(i);
            const int t = p.table;
            if (!(p.aggiorna || p.listino || isNew[t])) continue;
            if (maiStato_[t] != 0) continue;
            ScCaricaCampi& field = *mcolCampi_[i];
            inProgress = &field;
            value = &kNone;
            const int result = evaluateKept(field, static_cast<int>(i), value, t);
            if (result != 0) return result;
            if (p.aggiorna || isNew[t]) writeField(t, static_cast<int>(i), *value);
            if (p.listino) masListino_[t] = value->text();
        }
        inProgress = nullptr;
        long result = 0;
        for (int t = 1; t <= 5; ++t) {
            if (!slots_[t] || maiStato_[t] != 0) continue;
            try {
                storeRecord(t);
            } catch (const NumberedError& e) {
                if (e.number() != errnum::DuplicateKey && e.number() != errnum::DatabaseFailure)
                    throw;
                maiStato_[t] = -1;
                result = -1;
                if (e.number() == errnum::DatabaseFailure) ScriviErrore(line_, e.description());
            }
        }
        return result;
    } catch (const NumberedError& e) {
        std::string message;
        if (e.number() == errnum::ItemNotFound) message = "Campo inesistente";
        else if (e.number() == errnum::FieldTooSmall)
            message = "Valore troppo grande (" + value->text() + ")";
        else message = e.description();
        if (inProgress)
            message += ": campo " + inProgress->osTabella + "." + inProgress->osNomeCampo;
        ScriviErrore(line_, message);
        return e.number();
    }
}

long ScCarica::loadLine(const std::string& line) {
    beginLine(line);
    maiStato_.fill(0);
    // A table has a slot exactly when it is in use for the run.
    for (int t = 1; t <= 5; ++t) {
        if (!slots_[t]) continue;
        if (insertOnly_) {
            startRecord(t, true, 0);
            continue;
        }
        std::int64_t rowid = 0;
        std::string cause;
        switch (searchKey(line_, t, rowid, cause)) {
            case KeySearch::NoKey:
                maiStato_[t] = 1;
                ScriviErrore(line_, withCause("Impossibile costruire chiave di ricerca", cause));
                break;
            case KeySearch::NotFound:
                if (msModalita_ == "2") maiStato_[t] = 1;
                else startRecord(t, true, 0);
                break;
            case KeySearch::Found:
                if (msModalita_ == "1") maiStato_[t] = 1;
                else startRecord(t, false, rowid);
                break;
        }
    }
    long result = CompRecord(line_);
    if (result != -1) return result;
    if (msModalita_ != "0") {
        ScriviErrore(line_, "Chiave doppia");
        return result;
    }
    std::array<bool, 6> again{};
    for (int t = 1; t <= 5; ++t) {
        if (!slots_[t] || maiStato_[t] != -1) continue;
        std::int64_t rowid = 0;
        std::string cause;
        const KeySearch found = searchKey(line_, t, rowid, cause);
        if (found == KeySearch::NoKey) {
            ScriviErrore(
                line_,
                withCause("Dati esistenti ma impossibile costruire chiave di ricerca", cause));
            continue;
        }
        startRecord(t, found == KeySearch::NotFound, rowid);
        again[t] = true;
    }
    for (int t = 1; t <= 5; ++t) maiStato_[t] = again[t] ? 0 : 1;
    result = CompRecord(line_);
    if (result == -1) ScriviErrore(line_, "Chiave doppia");
    return result;
}

void ScCarica::runFinalQueries(long& result) {
    progress(0, std::string("Esecuzione query finali"));
    long count = 0;
    for (int i = 1; i <= 3; ++i)
        if (!masQueryFin_[i].empty()) ++count;
    if (ogInElab) ogInElab->ImpostaElab(count, 0);
    long done = 0;
    try {
        for (int i = 1; i <= 3; ++i) {
            if (masQueryFin_[i].empty()) continue;
            progress(done++, std::nullopt);
            goDbase().EseguiSql(gsIdDbase, masQueryFin_[i]);
        }
    } catch (const NumberedError& e) {
        showBatchError(e);
        result = e.number();
    }
}

long ScCarica::CaricaDati(long& plErrori) {
    long result = 0;
    mlNumErrori_ = 0;
    linesLoaded_ = 0;
    stoppedByUser_ = false;
    stopResult_ = 0;
    clearRun();
    std::unique_ptr<TextFileReader> reader;
    try {
        progress(0, std::string("Cancellazione Tabella Errori Caricamento"));
        if (ogInElab) ogInElab->ImpostaElab(mlNumErrori_, 0);
        BatchStatement& clear = db().cached("DELETE FROM ErroriCaricamento WHERE Tabella = ?");
        clear.bind(1, Variant(osCodice));
        clear.write();
        reader = std::make_unique<TextFileReader>(msFileOrigine_);
        reader->keepSkipping = [this, &reader] {
            if (ogInElab) ogInElab->setShareRead(reader->shareRead());
            progress(ogInElab ? ogInElab->value() : 0, std::nullopt);
            return giStatoCarica == 1;
        };
        for (int t = 1; t <= 5; ++t) {
            if (!equalText(masAzzera_[t], "S") || !tableInUse(t)) continue;
            progress(0, "Cancellazione tabella " + masTabella_[t]);
            std::string sql = "Delete " + masTabella_[t] + ".*";
            if (equalText(Left(masWhereAzz_[t], 4), "From")) sql += " " + masWhereAzz_[t];
            else {
                sql += " From " + masTabella_[t];
                if (!masWhereAzz_[t].empty()) sql += " Where " + masWhereAzz_[t];
            }
            goDbase().EseguiSql(gsIdDbase, sql);
        }
        progress(0, "Prepara Archivi di Inserimento " + masTabella_[1]);
        prepareRun();
    } catch (const NumberedError& e) {
        const int number = e.number();
        if (number == errnum::FileNotFound || number == errnum::FileAccess ||
            number == errnum::PathNotFound)
            showBatchMessage("Errore nell'apertura del file: " + msFileOrigine_, {"&Ok"});
        else showBatchError(e);
        plErrori += mlNumErrori_;
        clearRun();
        return number;
    }

    if (ogInElab) ogInElab->setShareRead(0);
    progress(0, "Caricamento " + osCodice);
    long lettere = 0;
    bool stopped = false;
    try {
        // A commit falls only between two lines: after a crash every line is in all its tables
        // with its error rows, or in none.
        GroupedCommit group(goDbase(), gsIdDbase, GroupedCommitPolicy{commitEvery_, 0, true});
        groupFirstLine_ = 1;
        committedErrors_ = mlNumErrori_;
        committedLoaded_ = 0;
        shareDue_ = std::chrono::steady_clock::now() + holdAtMost_;
        std::string line;
        for (;;) {
            if (giStatoCarica != 1) {
                stopped = stoppedByUser_ = true;
                break;
            }
            if (!reader->readLine(line)) break;
            ++lettere;
            const bool blank = line.find_first_not_of(' ') == std::string::npos;
            if (lettere > miSaltaInizio_ && (reader->lineCut() || !blank)) {
                const LineEnd end = storeLine(group, line, reader->lineCut(), lettere);
                if (end != LineEnd::Stored) {
                    stopped = true;
                    stoppedByUser_ = end == LineEnd::UserStop;
                    break;
                }
                ++linesLoaded_;
            }
            if (!endOfLine(group, lettere + 1)) {
                stopped = true;
                break;
            }
            if (ogInElab) ogInElab->setShareRead(reader->shareRead());
            progress(linesLoaded_, std::nullopt);
        }
        // What the last group holds is committed here, where a refusal can still say at
        // which line the load stopped.
        if (!commitLines(group, true, lettere + 1)) stopped = true;
        result = stopResult_;
    } catch (const NumberedError& e) {
        showBatchError(e);
        result = e.number();
        stopped = true;
    } catch (const std::exception& e) {
        const NumberedError wrapped(errnum::FileAccess, e.what(), "ScCarica.CaricaDati");
        showBatchError(wrapped);
        result = wrapped.number();
        stopped = true;
    }
    reader.reset();
    if (ogInElab) ogInElab->setShareRead(-1);
    if (!stopped) runFinalQueries(result);
    plErrori += mlNumErrori_;
    clearRun();
    return result;
}

}  // namespace tolvane
