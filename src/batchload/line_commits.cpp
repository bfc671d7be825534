// Each line of a load is stored whole inside the open group, beside other programs that write
// the same database: a line refused by their lock is tried once more after a pause, then the
// load stops at it; so does a line whose error row cannot be written. A line that stops the load
// after writing part of itself takes the lines since the last commit with it.
// Never goes on past a line that is neither stored nor recorded as rejected.
#include <algorithm>
#include <cstdint>
#include <thread>
#include <utility>

#include "batchload/batch_database.h"
#include "batchload/batch_messages.h"
#include "batchload/progresso_elab.h"
#include "batchload/sc_carica_stato.h"
#include "common/globali.h"
#include "db/db_connection.h"

namespace tolvane {

namespace {

const std::string kLineTooLong =
    "Riga troppo lunga (oltre 1 MB): non caricata, qui ne restano solo i primi 1000 caratteri";
const std::string kHeldByOther = "I dati da aggiornare sono bloccati da un altro programma";
const std::string kWaiting = "In attesa dei dati bloccati da un altro programma";

}  // namespace

void ScCarica::stopLoad(long number, const std::string& reason, int error) {
    showBatchMessage(reason + ".\nCaricamento fermato alla riga " + std::to_string(number) +
                         " del file " + msFileOrigine_ +
                         ": le righe precedenti sono state memorizzate.",
                     {"&Ok"});
    stopResult_ = error;
}

// The lines since the last commit are gone: the load stops at the first of them.
void ScCarica::loseGroup(GroupedCommit& group, const std::string& reason, int error) {
    group.rollback();
    mlNumErrori_ = committedErrors_;
    linesLoaded_ = committedLoaded_;
    if (ogInElab) ogInElab->ImpostaElab(mlNumErrori_, 0);
    stopLoad(groupFirstLine_, reason, error);
}

// Lets window events through while it waits, so that the stop button still acts; false when
// the user asked to stop.
bool ScCarica::pauseBeforeRetry() {
    const auto until = std::chrono::steady_clock::now() + lockRetryPause_;
    progress(linesLoaded_, kWaiting);
    while (giStatoCarica == 1 && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            std::chrono::milliseconds(20), until - std::chrono::steady_clock::now()));
        progress(linesLoaded_, std::nullopt);
    }
    progress(linesLoaded_, "Caricamento " + osCodice);
    return giStatoCarica == 1;
}

ScCarica::LineEnd ScCarica::storeLine(GroupedCommit& group, const std::string& line, bool cut,
                                      long number) {
    BatchDatabase& d = db();
    DbConnection& connection = d.connection();
    for (int attempt = 1;; ++attempt) {
        const long refusals = connection.lockRefusals;
        const std::int64_t written = connection.rowsWritten();
        const long errorsBefore = mlNumErrori_;
        errorRowFailure_.reset();
        bool opened = false;
        std::optional<NumberedError> escaped;  // what ended the line before its end
        try {
            // The wait for another writer falls here, before anything of the line is read.
            group.open();
            opened = true;
            try {
                if (cut) ScriviErrore(line, kLineTooLong);
                else loadLine(line);
            } catch (const NumberedError& e) {
                ScriviErrore(line, e.description());
            } catch (const std::exception& e) {
                ScriviErrore(line, e.what());
            }
        } catch (const NumberedError& e) {
            escaped = e;
        } catch (const std::exception& e) {
            escaped = NumberedError(errnum::DatabaseFailure, e.what(), "ScCarica");
        }
        if (!connection.undoneGroup.empty()) {
            loseGroup(group,
                      "Il database ha annullato le ultime righe caricate (" +
                          connection.undoneGroup + ")",
                      errnum::DatabaseFailure);
            return LineEnd::LoadStops;
        }
        // An error row that failed may have been passed over on the way: it still counts.
        const std::optional<NumberedError> errorRow = std::exchange(errorRowFailure_, std::nullopt);
        const bool refused = connection.lockRefusals != refusals;
        if (!refused && !errorRow && !escaped) return LineEnd::Stored;
        const std::string reason =
            refused    ? kHeldByOther
            : errorRow ? "Impossibile scrivere la riga scartata nell'archivio "
                         "'ErroriCaricamento' (" +
                             errorRow->description() + ")"
                       : "Impossibile caricare la riga (" + escaped->description() + ")";
        const int error = refused    ? errnum::RecordLocked
                          : errorRow ? errorRow->number()
                                     : escaped->number();
        // Part of the line is written, and nothing marks where the line began (a mark for every
        // line would cost the load much of its speed): it goes with the lines since the last
        // commit.
        if (connection.rowsWritten() != written) {
            loseGroup(group, reason, error);
            return LineEnd::LoadStops;
        }
        if (mlNumErrori_ != errorsBefore) {
            mlNumErrori_ = errorsBefore;
            if (ogInElab) ogInElab->ImpostaElab(mlNumErrori_, 0);
        }
        // Refused where the line starts, nothing of it was read or counted yet: it is tried once
        // more. Inside the open group the write lock is held, so no other program refuses it.
        if (refused && !opened && attempt == 1) {
            if (!pauseBeforeRetry()) return LineEnd::UserStop;
            continue;
        }
        // Nothing of the line is written: the lines before it are committed before the load
        // says they are stored.
        if (!commitLines(group, true, number)) return LineEnd::LoadStops;
        stopLoad(number, reason, error);
        return LineEnd::LoadStops;
    }
}

bool ScCarica::commitLines(GroupedCommit& group, bool now, long nextLine) {
    DbConnection& connection = db().connection();
    for (int attempt = 1;; ++attempt) {
        const long refusals = connection.lockRefusals;
        try {
            if (now) group.flush();
            else group.boundary();
        } catch (const NumberedError& e) {
            const bool refused = connection.lockRefusals != refusals;
            if (refused && attempt == 1) {
                // A stop asked meanwhile still keeps the lines done: the commit is tried again.
                pauseBeforeRetry();
                continue;
            }
            loseGroup(group,
                      refused ? kHeldByOther
                              : "Impossibile memorizzare le ultime righe (" + e.description() + ")",
                      refused ? errnum::RecordLocked : e.number());
            return false;
        }
        if (!group.isOpen()) {
            groupFirstLine_ = nextLine;
            committedErrors_ = mlNumErrori_;
            committedLoaded_ = linesLoaded_;
        }
        return true;
    }
}

}  // namespace tolvane
