// The batch loader: reads one stored layout (CaricaFile, CaricaDettaglio, CaricaDecod) and loads
// one text file by it into up to five tables of the current company database.
// Never shows a window: messages go through the batch message hook, progress through ogInElab.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "batchload/sc_carica_campi.h"
#include "batchload/separated_line.h"
#include "platform/numbered_error.h"
#include "platform/variant.h"

namespace tolvane {

class BatchDatabase;
class BatchStatement;
class ElencoValori;
class GroupedCommit;
class ProgressoElab;
struct TableInfo;

class ScCarica {
  public:
    ScCarica();
    ~ScCarica();
    ScCarica(const ScCarica&) = delete;
    ScCarica& operator=(const ScCarica&) = delete;

    std::string osCodice;
    ProgressoElab* ogInElab = nullptr;
    ElencoValori* ogValDefault = nullptr;

    // 0 when the layout can be loaded; -1 (True) when it is missing or refused (after a
    // message); the error number after any other failure (after the error window).
    long LeggiTracciato(const std::string& psCodice);
    std::string CaricaPathCompleta(const std::string& psFile) const;
    // 0 when the file was loaded or the load was stopped, else the error number. plErrori
    // grows by the rows written to ErroriCaricamento. Every line is stored, or recorded there,
    // or the load stops at it with a message and a result that is not 0 (data held by another
    // program, an error row that cannot be written): the lines before it stay stored.
    long CaricaDati(long& plErrori);
    // 0 stored, -1 a store met a duplicate key (or a database failure), else the error number
    // (the line has been recorded).
    long CompRecord(const std::string& psRiga);

    // 0 with the value, 1 when the line is rejected (its error row written). Each field is
    // evaluated once per line: asking again gives the same value.
    int LeggiVal(const std::string& psRiga, ScCaricaCampi& pgCaricaCampi, Variant& pvValore,
                 int piCodTab);
    Variant CercaPosCampo(const std::string& psRiga, const ScCaricaCampi& pgcampo, bool pbNumCampo);
    std::string LeggiValCampoStr(const std::string& psRiga, std::string_view psElabora,
                                 const ScCaricaCampi& pgcampo, std::string_view ps0oSpacetoNull);
    std::string LeggiValCampoNum(const std::string& psRiga, long piCampo,
                                 const ScCaricaCampi& pgcampo);
    Variant LeggiCampoNum(const std::string& psRiga, long piCampo, const ScCaricaCampi& pgcampo);

    void ScriviErrore(const std::string& psRiga, const std::string& psErrore);
    std::string CompSqlKey(const std::string& psRiga, int piCodTab);
    void ImpCampiKey();
    Variant LeggiDefault(ScCaricaCampi& pgCaricaCampi, const std::string& psRiga, int piCodTab);
    Variant ConvImporto(Variant& pvValore, const std::string& psLireOValuta, int piCodTab,
                        int piNumDec);
    std::string LeggiValuta(const std::string& psListino);
    std::string LeggiNomeTabella(const std::string& psNomeCampo) const;
    std::string LeggiNomeCampo(const std::string& psNomeCampo) const;
    std::string LeggiCodTab(const std::string& psNomeCampo) const;
    int QualeTab(std::string_view psCodTab) const;

    // What the layout holds, for the window and the tests.
    const std::vector<std::unique_ptr<ScCaricaCampi>>& campi() const { return mcolCampi_; }
    ScCaricaCampi* campo(std::string_view psKey);
    const std::string& tabella(int i) const { return masTabella_.at(i); }
    const std::string& codTab(int i) const { return masCodTab_.at(i); }
    const std::string& azzera(int i) const { return masAzzera_.at(i); }
    const std::string& whereAzz(int i) const { return masWhereAzz_.at(i); }
    const std::string& campiRicerca(int i) const { return masCampi_.at(i); }
    const std::string& queryFin(int i) const { return masQueryFin_.at(i); }
    const std::string& fileOrigine() const { return msFileOrigine_; }
    int saltaInizio() const { return miSaltaInizio_; }
    const std::string& tipo() const { return msTipo_; }
    const std::string& separatore() const { return msSeparatore_; }
    const std::string& modalita() const { return msModalita_; }
    const std::string& insVaria() const { return msInsVaria_; }
    long numErrori() const { return mlNumErrori_; }
    // Lines of the file the last load took in (stored or recorded as rejected).
    long linesLoaded() const { return linesLoaded_; }
    // True when the last load ended because the user asked to stop.
    bool stoppedByUser() const { return stoppedByUser_; }

    // Writes after which the grouped run commits at the next line end (what ran stays written
    // on an error or stop).
    void setCommitEvery(long lines) { commitEvery_ = lines; }
    // How long a line refused by another program's lock waits before its second try (besides
    // the database's own wait on each try).
    void setLockRetryPause(std::chrono::milliseconds pause) { lockRetryPause_ = pause; }
    // How long the load keeps the database to itself before it lets another program in.
    void setHoldAtMost(std::chrono::milliseconds hold) { holdAtMost_ = hold; }

  private:
    struct FieldState;
    struct Slot;
    struct LineRejected {};
    struct LookupFailed {
        std::string message;
    };
    enum class KeySearch { NoKey, NotFound, Found };
    struct FieldPlan {
        int table = 0;  // QualeTab of the field's code
        bool aggiorna = false;
        bool listino = false;
    };
    const FieldPlan& plan(std::size_t index);

    bool tableInUse(int t) const;
    BatchDatabase& db();
    void progress(long value, const std::optional<std::string>& text);
    void readLayoutFields(const std::string& psCodice);
    void readDecodes(const std::string& psCodice);
    bool refuseKeylessSearch();

    void beginLine(const std::string& psRiga);
    void ensureLine(const std::string& psRiga);
    void ensureSplit();
    std::string midOfLine(long start, long length);
    std::string rawText(const ScCaricaCampi& field);
    int indexOf(const ScCaricaCampi& field) const;
    int evaluate(ScCaricaCampi& field, int index, Variant& value, int piCodTab);
    // As evaluate, giving the value kept for the line (valid until the next line) uncopied.
    int evaluateKept(ScCaricaCampi& field, int index, const Variant*& value, int piCodTab);
    int evaluateUncached(ScCaricaCampi& field, Variant& value, int piCodTab);
    std::string evaluateExpression(const std::string& psRiga, const ScCaricaCampi& field);
    Variant impliedDecimals(const Variant& value, const ScCaricaCampi& field) const;

    Variant counterValue(ScCaricaCampi& field, const std::string& psRiga);
    Variant CalcolaProssimoCodice(ScCaricaCampi& field, const std::string& psRiga, int piCodTab);
    std::string listinoOfLine(int t, const ScCaricaCampi& amountField);
    std::string currencyOfListino(const std::string& listino, const ScCaricaCampi& field);
    std::string lookupCurrency(const std::string& listino);
    [[noreturn]] void lookupFailure(bool& reported, const NumberedError& error,
                                    const std::string& message);
    bool keyValues(const std::string& psRiga, int t, std::vector<Variant>& values);

    void prepareRun();
    void prepareSlot(int t);
    // `cause` gets the text of an error met while building the key.
    KeySearch searchKey(const std::string& psRiga, int t, std::int64_t& rowid, std::string& cause);
    void startRecord(int t, bool isNew, std::int64_t rowid);
    void writeField(int t, int fieldIndex, const Variant& value);
    void storeRecord(int t);
    long loadLine(const std::string& line);
    void runFinalQueries(long& result);
    void clearRun();

    // Each line inside the open group, stored whole or stopping the load (line_commits.cpp).
    enum class LineEnd { Stored, UserStop, LoadStops };
    LineEnd storeLine(GroupedCommit& group, const std::string& line, bool cut, long number);
    // Commits at a boundary (or now); false when the lines since the last commit were lost and
    // the load stops at the first of them.
    bool commitLines(GroupedCommit& group, bool now, long nextLine);
    // At a line end: commits when due, and lets another program in once the load has kept the
    // database long enough; false as commitLines.
    bool endOfLine(GroupedCommit& group, long nextLine);
    void letOthersIn();
    bool waitWithEvents(std::chrono::milliseconds pause);
    bool pauseBeforeRetry();
    // Why the load stops at a line: the first sentence of its message and the load's result.
    struct LoadStop {
        std::string reason;
        int error;
        static LoadStop heldByOther();
        static LoadStop because(const std::string& what, const NumberedError& e);
    };
    LineEnd stopBefore(GroupedCommit& group, long number, const LoadStop& stop);
    void loseGroup(GroupedCommit& group, const LoadStop& stop);
    void stopLoad(long number, const LoadStop& stop);

    std::vector<std::unique_ptr<ScCaricaCampi>> mcolCampi_;
    std::unordered_map<std::string, std::size_t> campiByKey_;  // lower-case osKey -> index
    std::unordered_map<const ScCaricaCampi*, int> indexByField_;
    std::vector<FieldPlan> plans_;

    std::array<std::string, 6> masTabella_, masCodTab_, masAzzera_, masWhereAzz_, masCampi_;
    std::array<std::string, 4> masQueryFin_;
    std::string msFileOrigine_;
    int miSaltaInizio_ = 0;
    std::string msTipo_;
    bool fixed_ = false;
    std::string msSeparatore_;
    std::string msModalita_;
    std::string msInsVaria_;

    long mlNumErrori_ = 0;
    std::array<std::string, 6> masListino_;
    bool mbNumerico_ = false;
    int miNumDec_ = -9999;
    int miNumDecAzie_ = 0;
    const ScCaricaCampi* amountInProgress_ = nullptr;  // the field ConvImporto converts

    // The current line and what was evaluated of it.
    std::string line_;
    bool lineStarted_ = false;
    bool lineAscii_ = true;
    bool charsIndexed_ = false;
    std::vector<std::size_t> charStarts_;  // of a valid UTF-8 line that is not ASCII, and its end
    bool soloAsci_ = false;                // gsSoloAsci asks for control characters as blanks
    bool lineSplit_ = false;
    std::uint64_t serial_ = 0;
    SeparatedLine split_;
    std::vector<FieldState> states_;

    // Run state.
    std::unique_ptr<BatchDatabase> db_;
    std::string dbId_;
    const TableInfo* errorTable_ = nullptr;
    std::uint64_t errorTableGeneration_ = 0;
    std::array<std::unique_ptr<Slot>, 6> slots_;
    std::array<int, 6> maiStato_{};
    bool insertOnly_ = false;  // InsVaria "I": every line inserted without a key search
    long commitEvery_ = 2000;

    struct NextCodeRun {
        std::int64_t last = 0;
    };
    struct PendingCode {
        int slot;
        int field;
        std::string key;
        std::int64_t value;
    };
    std::unordered_map<std::string, NextCodeRun> nextCodes_;
    std::vector<PendingCode> pendingCodes_;
    struct CurrencyEntry {
        std::string moneta;
        std::optional<NumberedError> failure;
    };
    std::unordered_map<std::string, CurrencyEntry> currencies_;  // lower-case price list
    bool nextCodeReported_ = false;
    bool listinoReported_ = false;

    std::optional<NumberedError> errorRowFailure_;  // of the line in progress, which stops the load

    // Where the open group began, and what was committed before it.
    long groupFirstLine_ = 1;
    long committedErrors_ = 0;
    long committedLoaded_ = 0;
    long linesLoaded_ = 0;
    bool stoppedByUser_ = false;
    long stopResult_ = 0;
    std::chrono::milliseconds lockRetryPause_{2000};
    std::chrono::milliseconds holdAtMost_{1000};
    std::chrono::steady_clock::time_point shareDue_;  // when the load next lets others in
};

}  // namespace tolvane
