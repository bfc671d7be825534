// Each line of a load is stored whole inside the open group, beside other programs that write
// the same database: the load takes turns with them, a line refused by their lock is tried once
// more after a pause, then the load stops at it; so does a line whose error row cannot be
// written. A line that stops the load after writing part of itself takes the lines since the
// last commit with it. Never goes on past a line that is neither stored nor recorded as rejected.
#include <algorithm>
#include <cstdint>
#include <optional>
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
// Longer than the 100 ms that SQLite's own wait sleeps between two tries, with room to spare
// for a busy machine.
constexpr std::chrono::milliseconds kLetOthersIn{125};
constexpr long kLinesPerClockRead = 16;

// A step of the line's work, with what it raised as the numbered error it stops the load with.
template <class Step>
std::optional<NumberedError> failureOf(Step step) {
    try {
        step();
        return std::nullopt;
    } catch (const NumberedError& e) {
        return e;
    } catch (const std::exception& e) {
        return NumberedError(errnum::DatabaseFailure, e.what(), "ScCarica");
    }
}

}  // namespace

ScCarica::LoadStop ScCarica::LoadStop::heldByOther() {
    return {kHeldByOther, errnum::RecordLocked};
}

ScCarica::LoadStop ScCarica::LoadStop::because(const std::string& what, const NumberedError& e) {
    return {what + " (" + e.description() + ")", e.number()};
}

void ScCarica::stopLoad(long number, const LoadStop& stop) {
    showBatchMessage(stop.reason + ".\nCaricamento fermato alla riga " + std::to_string(number) +
                         " del file " + msFileOrigine_ +
                         ": le righe precedenti sono state memorizzate.",
                     {"&Ok"});
    stopResult_ = stop.error;
}

// The lines since the last commit are gone: the load stops at the first of them.
void ScCarica::loseGroup(GroupedCommit& group, const LoadStop& stop) {
    group.rollback();
    mlNumErrori_ = committedErrors_;
    linesLoaded_ = committedLoaded_;
    if (ogInElab) ogInElab->ImpostaElab(mlNumErrori_, 0);
    stopLoad(groupFirstLine_, stop);
}

// Nothing of the line is written: the lines before it are committed before the load says they
// are stored.
ScCarica::LineEnd ScCarica::stopBefore(GroupedCommit& group, long number, const LoadStop& stop) {
    if (commitLines(group, true, number)) stopLoad(number, stop);
    return LineEnd::LoadStops;
}

// Lets window events through while it waits, so that the stop button still acts; false when
// the user asked to stop.
bool ScCarica::waitWithEvents(std::chrono::milliseconds pause) {
    const auto until = std::chrono::steady_clock::now() + pause;
    while (giStatoCarica == 1 && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            std::chrono::milliseconds(20), until - std::chrono::steady_clock::now()));
        progress(linesLoaded_, std::nullopt);
    }
    return giStatoCarica == 1;
}

bool ScCarica::pauseBeforeRetry() {
    progress(linesLoaded_, kWaiting);
    const bool goOn = waitWithEvents(lockRetryPause_);
    progress(linesLoaded_, "Caricamento " + osCodice);
    return goOn;
}

bool ScCarica::endOfLine(GroupedCommit& group, long nextLine) {
    // A line takes microseconds: the clock is read every few lines, which bounds the hold as well.
    const bool share =
        nextLine % kLinesPerClockRead == 0 && std::chrono::steady_clock::now() >= shareDue_;
    if (!commitLines(group, share, nextLine)) return false;
    if (share) letOthersIn();
    return true;
}

// Another program that waits for the lock with SQLite's own wait tries again only every 100 ms,
// and a load that takes the lock back at once would keep it out until its wait ran out. So the
// load commits once it has kept the database about a second and then leaves it free a little
// longer than that wait; only while another program may be there, so that a load alone loses
// nothing.
void ScCarica::letOthersIn() {
    if (db().connection().anotherProgramMayWrite()) waitWithEvents(kLetOthersIn);
    shareDue_ = std::chrono::steady_clock::now() + holdAtMost_;
}

ScCarica::LineEnd ScCarica::storeLine(GroupedCommit& group, const std::string& line, bool cut,
                                      long number) {
    DbConnection& connection = db().connection();
    // The wait for another writer falls where the line starts, before anything of it is read or
    // counted: refused there, the line is tried once more after a pause. Inside the open group
    // the write lock is held: a line refused there all the same is not tried again.
    for (int attempt = 1;; ++attempt) {
        const long refusals = connection.lockRefusals;
        const std::optional<NumberedError> failure = failureOf([&] { group.open(); });
        if (!failure) break;
        const bool refused = connection.lockRefusals != refusals;
        if (refused && attempt == 1) {
            if (!pauseBeforeRetry()) return LineEnd::UserStop;
            continue;
        }
        return stopBefore(group, number,
                          refused ? LoadStop::heldByOther()
                                  : LoadStop::because("Impossibile caricare la riga", *failure));
    }

    const long refusals = connection.lockRefusals;
    const std::int64_t written = connection.rowsWritten();
    const long errorsBefore = mlNumErrori_;
    errorRowFailure_.reset();
    // What ended the line before its end (an error row that could not be written).
    const std::optional<NumberedError> escaped = failureOf([&] {
        try {
            if (cut) ScriviErrore(line, kLineTooLong);
            else loadLine(line);
        } catch (const NumberedError& e) {
            ScriviErrore(line, e.description());
        } catch (const std::exception& e) {
            ScriviErrore(line, e.what());
        }
    });
    if (!connection.undoneGroup.empty()) {
        loseGroup(group, {"Il database ha annullato le ultime righe caricate (" +
                              connection.undoneGroup + ")",
                          errnum::DatabaseFailure});
        return LineEnd::LoadStops;
    }
    // An error row that failed may have been passed over on the way: it still counts.
    const std::optional<NumberedError> errorRow = std::exchange(errorRowFailure_, std::nullopt);
    const bool refused = connection.lockRefusals != refusals;
    if (!refused && !errorRow && !escaped) return LineEnd::Stored;
    const LoadStop stop =
        refused    ? LoadStop::heldByOther()
        : errorRow ? LoadStop::because(
                         "Impossibile scrivere la riga scartata nell'archivio 'ErroriCaricamento'",
                         *errorRow)
                   : LoadStop::because("Impossibile caricare la riga", *escaped);
    // Part of the line is written, and nothing marks where the line began (a mark for every
    // line would cost the load much of its speed): it goes with the lines since the last commit.
    if (connection.rowsWritten() != written) {
        loseGroup(group, stop);
        return LineEnd::LoadStops;
    }
    if (mlNumErrori_ != errorsBefore) {
        mlNumErrori_ = errorsBefore;
        if (ogInElab) ogInElab->ImpostaElab(mlNumErrori_, 0);
    }
    return stopBefore(group, number, stop);
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
            loseGroup(group, refused
                                 ? LoadStop::heldByOther()
                                 : LoadStop::because("Impossibile memorizzare le ultime righe", e));
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
