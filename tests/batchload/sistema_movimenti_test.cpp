// The journal fix-up after a batch run, each step checked by what it leaves in a small journal
// of a real company database.
#include "batchload/sistema_movimenti.h"

#include "batch_fixture.h"
#include "support/error_number.h"
#include "support/other_process.h"

namespace tolvane::batchtest {
namespace {

class SistemaTest : public BatchTest {
  protected:
    // Runs the phase and returns how many statements it counted (the window's LabFatti).
    int run() {
        int fatti = 1;
        SistemaMovimenti(companyId, dati, [&] { ++fatti; });
        return fatti;
    }
    DatiSistemazione dati;
};

// One run over a small journal: registration 1 holds the VAT codes and the accounts,
// registration 2 is a credit note; each step leaves its own rows.
TEST_F(SistemaTest, VatSharesForcedAccountsCreditNotesAndPrefixesInOneRun) {
    company(
        "INSERT INTO MovPnTes (Anno, NumReg, Causale, PreDoc, PreProt) VALUES"
        " (2024, 1, 'FT', NULL, 'B'), (2024, 2, 'NC', 'A', NULL);"
        "INSERT INTO MovPnIva (Anno, NumReg, RigaIva, Iva, Imponibile, Imposta) VALUES"
        " (2024, 1, 1, '31', 100.01, 22.01), (2024, 1, 2, '41', 80, 17.6),"
        " (2024, 1, 3, '3', 10, 2), (2024, 1, 4, '22', 10, 2.2);"
        "INSERT INTO MovPnDett (Anno, NumReg, Riga, Iva, Imposta, ImpostaMon) VALUES"
        " (2024, 1, 1, '31', 22.01, 22.03), (2024, 1, 2, '40', 17.6, 17.6),"
        " (2024, 1, 3, '4', 5, 5);"
        "INSERT INTO MovPnDett (Anno, NumReg, Riga, GruppoPartita, MastroPartita, ContoPartita)"
        " VALUES (2024, 1, 4, '10', '20', '1'), (2024, 1, 5, '10', '20', '2'),"
        " (2024, 1, 6, '30', '40', '5');"
        "INSERT INTO MovPnDett (Anno, NumReg, Riga, DareAvere, Importo, ImportoMon, Imposta,"
        " ImpostaMon) VALUES (2024, 1, 7, 'D', 10, 10, 2, 2), (2024, 2, 1, 'D', 100, 100, 22, 22),"
        " (2024, 2, 2, 'A', 50, 50, 0, 0)");
    dati.contiIva[0] = {"10", "20", "1"};
    dati.contiIva[3] = {"30", "40", ""};
    dati.causaliNotaCred = {"NC", "", "nc"};
    EXPECT_EQ(run(), 11) << "nine statements, one for the complete account, one for the causal";
    EXPECT_EQ(rows("SELECT RigaIva, ImponibileND, ImpostaND, ImponibileNDMon, ImpostaNDMon"
                   " FROM MovPnIva ORDER BY RigaIva"),
              (Rows{{"1", "50.01", "11.01", "50.01", "11.01"},
                    {"2", "80", "17.6", "80", "17.6"},
                    {"3", "NULL", "NULL", "NULL", "NULL"},
                    {"4", "NULL", "NULL", "NULL", "NULL"}}));
    EXPECT_EQ(rows("SELECT Riga, ImpostaIndetr, ImpostaIndetrMon FROM MovPnDett"
                   " WHERE NumReg = 1 AND Riga <= 3 ORDER BY Riga"),
              (Rows{{"1", "11.01", "11.02"}, {"2", "17.6", "17.6"}, {"3", "NULL", "NULL"}}));
    EXPECT_EQ(rows("SELECT NumReg, Riga FROM MovPnDett WHERE Forzatura = 'I'"), (Rows{{"1", "4"}}))
        << "only the complete account forces its rows";
    EXPECT_EQ(rows("SELECT NumReg, Riga, DareAvere, Importo, ImportoMon, Imposta, ImpostaMon"
                   " FROM MovPnDett WHERE DareAvere IS NOT NULL ORDER BY NumReg, Riga"),
              (Rows{{"1", "7", "D", "10", "10", "2", "2"},
                    {"2", "1", "A", "-100", "-100", "-22", "-22"},
                    {"2", "2", "D", "-50", "-50", "0", "0"}}))
        << "a credit note's rows change sign once whatever its causal repeats";
    EXPECT_EQ(rows("SELECT PreDoc, PreProt FROM MovPnTes ORDER BY NumReg"),
              (Rows{{".", "B"}, {"A", "."}}));
    EXPECT_EQ(rows("SELECT DISTINCT PreDoc, PreProt FROM MovPnDett"), (Rows{{".", "."}}));
}

TEST_F(SistemaTest, VatRowsOfARegistrationWithoutRowOneMoveDown) {
    // Row 3 stored before row 2: moving it first meets row 2 on the key.
    const struct {
        std::string inserts;
        Rows expected;
    } cases[] = {
        {"(2024, 1, 2), (2024, 1, 3), (2024, 2, 1), (2024, 2, 2)",
         {{"2024", "1", "1"}, {"2024", "1", "2"}, {"2024", "2", "1"}, {"2024", "2", "2"}}},
        {"(2024, 1, 3), (2024, 1, 2), (2024, 1, 4), (2023, 1, 2)",
         {{"2023", "1", "1"}, {"2024", "1", "1"}, {"2024", "1", "2"}, {"2024", "1", "3"}}},
        {"(2024, 5, 3), (2024, 12, 1)", {{"2024", "5", "2"}, {"2024", "12", "1"}}},
    };
    for (const auto& c : cases) {
        company("DELETE FROM MovPnIva; INSERT INTO MovPnIva (Anno, NumReg, RigaIva) VALUES " +
                c.inserts);
        run();
        EXPECT_EQ(rows("SELECT Anno, NumReg, RigaIva FROM MovPnIva ORDER BY Anno, NumReg, RigaIva"),
                  c.expected)
            << c.inserts;
    }
}

// The period after the registration's, by quarter or by month, across the year's end.
TEST_F(SistemaTest, CarriersHeadersGetTheFollowingVatPeriod) {
    company(
        "INSERT INTO MovPnTes (Anno, NumReg, DataReg, Causale) VALUES"
        " (2024, 1, '2024-05-15', 'TR2'), (2024, 2, '2024-11-20', 'tr2'),"
        " (2024, 3, '2024-03-02', 'FT'), (2024, 4, NULL, 'TR2'), (2024, 5, '2024-01-10', 'TR2'),"
        " (2024, 6, '2024-03-31', 'TR2'), (2024, 7, '2024-12-05', 'TR2'),"
        " (2024, 8, '2024-08-01', 'TR1')");
    const std::string periods =
        "SELECT group_concat(NumReg || ' ' || ifnull(AnnoIva || '/' || PeriodoIva, '-'), ', ')"
        " FROM (SELECT * FROM MovPnTes ORDER BY NumReg)";
    dati.causaleTrasp2 = "TR2";
    dati.periodoIva = "t";
    run();
    EXPECT_EQ(dati.causaleTrasp1, "TR2") << "the second causal alone moves to the first";
    EXPECT_EQ(dati.causaleTrasp2, "");
    EXPECT_EQ(one(periods), "1 2024/7, 2 2025/1, 3 -, 4 -, 5 2024/4, 6 2024/4, 7 2025/1, 8 -");

    dati.causaleTrasp1 = "TR1";
    dati.causaleTrasp2 = "TR2";
    dati.periodoIva = "m";
    run();
    EXPECT_EQ(one(periods),
              "1 2024/6, 2 2024/12, 3 -, 4 -, 5 2024/2, 6 2024/4, 7 2025/1, 8 2024/9");
}

TEST_F(SistemaTest, SecondFiscalCodeMovesToItsColumnWhenAsked) {
    company(
        "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, PartIva, CodFisc,"
        " PersRiferimento) VALUES ('01', '01', '1', '1', NULL, NULL, 'Mario'),"
        " ('02', '01', '1', 'C', '01234567890', NULL, 'RSSMRA70A01H501U'),"
        " ('02', '01', '2', 'C', NULL, NULL, 'VRDLGU80A01F205X'),"
        " ('02', '01', '3', 'F', '01234567890', NULL, '01234567890'),"
        " ('02', '01', '4', 'F', NULL, 'BNCGNN60A01L219K', 'ALTRO')");
    const std::string codes =
        "SELECT CodFisc, PersRiferimento FROM PianoConti ORDER BY Gruppo, Conto";
    run();
    EXPECT_EQ(rows(codes)[1], (std::vector<std::string>{"NULL", "RSSMRA70A01H501U"}))
        << "not asked: untouched";

    dati.secondoCodFisc = true;
    EXPECT_EQ(run(), 11);
    EXPECT_EQ(rows(codes), (Rows{{"NULL", "Mario"},
                                 {"RSSMRA70A01H501U", "NULL"},
                                 {"VRDLGU80A01F205X", "NULL"},
                                 {"NULL", "NULL"},
                                 {"BNCGNN60A01L219K", "NULL"}}));
}

TEST_F(SistemaTest, AFailingStatementStopsThePhaseAndKeepsWhatRan) {
    company(
        "INSERT INTO MovPnTes (Anno, NumReg, PreDoc) VALUES (2024, 1, NULL);"
        "INSERT INTO MovPnIva (Anno, NumReg, RigaIva, Iva, Imponibile)"
        " VALUES (2024, 1, 1, '41', 10);"
        "DROP TABLE MovPnDett");
    EXPECT_THROW(run(), NumberedError);
    EXPECT_EQ(one("SELECT ImponibileND FROM MovPnIva"), "10");
    EXPECT_EQ(one("SELECT PreDoc FROM MovPnTes"), "NULL")
        << "statements after the failure are not run";
}

// Another program on the company database: one that keeps the write lock, and one that reads
// while the VAT rows are moved one by one, so that their commit is refused. The phase stops with
// the lock's error, the rows it was moving stay where they were and the connection is left with
// no transaction open (else every later write would wait in it, never committed).
TEST_F(SistemaTest, AnotherProgramsLockStopsThePhaseAndLeavesNothingOpen) {
    const std::string file = scratch.file("ditta.db");
    const std::chrono::milliseconds saved = goDbase().busyWait();
    goDbase().setBusyWait(std::chrono::milliseconds(10));
    const struct {
        const char* name;
        bool wal;
        const char* held;
        int heldFromStatement;  // 1: from the start
    } cases[] = {
        {"writer holding the lock", true, "BEGIN IMMEDIATE", 1},
        {"reader while the rows move", false, "BEGIN; SELECT count(*) FROM MovPnIva", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        company(std::string("PRAGMA journal_mode=") + (c.wal ? "WAL" : "DELETE"));
        company(
            "DELETE FROM MovPnIva; INSERT INTO MovPnIva (Anno, NumReg, RigaIva) VALUES"
            " (2024, 1, 3), (2024, 1, 2)");
        std::unique_ptr<dbtest::OtherConnection> other;
        if (c.heldFromStatement == 1)
            other = std::make_unique<dbtest::OtherConnection>(file, c.held);
        int statement = 1;
        EXPECT_EQ(testing::errorOf([&] {
                      SistemaMovimenti(companyId, dati, [&] {
                          if (++statement == c.heldFromStatement)
                              other = std::make_unique<dbtest::OtherConnection>(file, c.held);
                      });
                  }),
                  errnum::RecordLocked);
        EXPECT_NE(sqlite3_get_autocommit(goDbase().connection(companyId).db), 0);
        other.reset();
        const std::string rowsNow =
            "SELECT group_concat(RigaIva) FROM (SELECT RigaIva FROM MovPnIva ORDER BY 1)";
        EXPECT_EQ(one(rowsNow), "2,3");
        run();
        EXPECT_EQ(one(rowsNow), "1,2");
    }
    goDbase().setBusyWait(saved);
}

// Another program commits a row every millisecond while the VAT rows move one by one: the phase
// waits for its turn where its transaction opens, before it reads the rows, and completes. A
// transaction that read first would be refused at its first write, without any wait, once the
// other program had committed in between.
TEST_F(SistemaTest, AWriterCommittingAllTheTimeDoesNotStopThePhase) {
    std::string rows;
    for (int n = 1; n <= 2000; ++n)
        rows += (n > 1 ? ", " : "") + std::string("(2024, ") + std::to_string(n) + ", 3), (2024, " +
                std::to_string(n) + ", 2)";
    company("INSERT INTO MovPnIva (Anno, NumReg, RigaIva) VALUES " + rows);
    testing::OtherProcess other(scratch.file("ditta.db"),
                                "INSERT INTO Libera (Testo) VALUES ('altro')");
    EXPECT_EQ(testing::errorOf([&] { run(); }), 0);
    EXPECT_EQ(other.stop().refused, 0);
    EXPECT_EQ(one("SELECT count(*) FROM MovPnIva WHERE RigaIva IN (1, 2)"), "4000");
}

}  // namespace
}  // namespace tolvane::batchtest
