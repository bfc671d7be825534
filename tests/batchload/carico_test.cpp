// Loading a file by a layout: insert and update by key with the Aggiorna columns, modes, the
// duplicate-key retry, emptying, several tables, rejected lines, final queries and a stop.
#include "batch_fixture.h"

namespace tolvane::batchtest {
namespace {

class CaricoTest : public BatchTest {
protected:
    // Prova by Codice;Descr;Num with the header columns given.
    void prova(const std::string& code, Columns header, const std::string& descrAggiorna = "A") {
        header.insert(header.begin(), {"Separatore", "\\059"});
        header.insert(header.begin(), {"Tabella", "Prova"});
        layout(code, header);
        field(code, "Codice", {{"NumCampo", "1"}});
        field(code, "Descr", {{"NumCampo", "2"}, {"Aggiorna", descrAggiorna}});
        field(code, "Num", {{"NumCampo", "3"}, {"TipoDest", "Long"}});
    }
    Rows prove() const { return rows("SELECT Codice, Descr, Num FROM Prova ORDER BY Codice"); }
};

TEST_F(CaricoTest, InsertOnlySkipsHeaderAndBlankLinesThenRunsFinalQueries) {
    prova("INS", {{"Modalita", "0"}, {"InsVaria", "I"}, {"SaltaInizio", "1"},
                  {"QueryFin2", "Update Prova Set Note = 'fatto' Where Num > 1"}});
    input("INS.txt", {"Codice;Descr;Num", "A;Alfa;1", "   ", "B;Beta;2"});
    EXPECT_EQ(load("INS"), 0);
    EXPECT_EQ(prove(), (Rows{{"A", "Alfa", "1"}, {"B", "Beta", "2"}}));
    EXPECT_EQ(one("SELECT Codice FROM Prova WHERE Note = 'fatto'"), "B");
    EXPECT_EQ(errors, 0);
}

TEST_F(CaricoTest, ExistingRowsGetOnlyTheAggiornaColumns) {
    company("INSERT INTO Prova (Codice, Descr, Num) VALUES ('A', 'Vecchia', 1)");
    prova("UPD", {{"Modalita", "0"}});
    input("UPD.txt", {"a;Nuova;9", "B;Beta;2"});
    EXPECT_EQ(load("UPD"), 0);
    EXPECT_EQ(prove(), (Rows{{"A", "Nuova", "1"}, {"B", "Beta", "2"}}));
}

TEST_F(CaricoTest, ModesLeaveFoundOrMissingRowsAlone) {
    const struct {
        std::string modalita;
        Rows expected;
    } cases[] = {
        {"1", {{"A", "Vecchia", "1"}, {"B", "Beta", "2"}}},
        {"2", {{"A", "Nuova", "1"}}},
    };
    for (const auto& c : cases) {
        company("DELETE FROM Prova; INSERT INTO Prova (Codice, Descr, Num) VALUES ('A', 'Vecchia', 1)");
        const std::string code = "MODE" + c.modalita;
        prova(code, {{"Modalita", c.modalita}, {"InsVaria", "V"}});
        input(code + ".txt", {"A;Nuova;9", "B;Beta;2"});
        EXPECT_EQ(load(code), 0);
        EXPECT_EQ(prove(), c.expected) << "Modalita " << c.modalita;
        EXPECT_TRUE(errorTexts().empty()) << "Modalita " << c.modalita;
    }
}

TEST_F(CaricoTest, FoundRowLeavesItsTableAloneWhileTheOthersAreWritten) {
    company("INSERT INTO Prova (Codice, Descr) VALUES ('A', 'Vecchia');"
            "INSERT INTO Libera (Testo, Valore) VALUES ('x', 1), ('y', 2)");
    layout("MIX", {{"Tabella", "Prova"}, {"Tabella2", "Righe"}, {"CodTab2", "R"}, {"Tabella3", "Libera"},
                   {"CodTab3", "L"}, {"Azzera3", "S"}, {"WhereAzz3", " Valore = 1 "}, {"Modalita", "1"},
                   {"InsVaria", "V"}, {"Separatore", "\\059"}});
    field("MIX", "Codice", {{"NumCampo", "1"}});
    field("MIX", "Descr", {{"NumCampo", "2"}, {"Aggiorna", "A"}});
    field("MIX", "R Codice", {{"NumCampo", "1"}});
    field("MIX", "R Riga", {{"NumCampo", "3"}, {"TipoDest", "Long"}});
    field("MIX", "L Testo", {{"NumCampo", "K2"}});
    input("MIX.txt", {"A;Nuova;1"});
    EXPECT_EQ(load("MIX"), 0);
    EXPECT_EQ(prove(), (Rows{{"A", "Vecchia", "NULL"}}));
    EXPECT_EQ(rows("SELECT Codice, Riga FROM Righe"), (Rows{{"A", "1"}}));
    EXPECT_EQ(rows("SELECT Testo, Valore FROM Libera ORDER BY Testo"), (Rows{{"Nuova", "NULL"}, {"y", "2"}}))
        << "table 3 emptied by its own WhereAzz3";
    EXPECT_TRUE(errorTexts().empty());
}

TEST_F(CaricoTest, DuplicateKeyOnInsertUpdatesOrIsRejectedByMode) {
    company("INSERT INTO Prova (Codice, Descr, Num) VALUES ('A', 'Vecchia', 1)");
    prova("DUP0", {{"Modalita", "0"}, {"InsVaria", "I"}});
    input("DUP0.txt", {"A;Nuova;9"});
    EXPECT_EQ(load("DUP0"), 0);
    EXPECT_EQ(prove(), (Rows{{"A", "Nuova", "1"}}));
    EXPECT_TRUE(errorTexts().empty());

    prova("DUP1", {{"Modalita", "1"}, {"InsVaria", "I"}});
    input("DUP1.txt", {"A;Ancora;9"});
    EXPECT_EQ(load("DUP1"), 0);
    EXPECT_EQ(prove(), (Rows{{"A", "Nuova", "1"}}));
    EXPECT_EQ(errorTexts(), (std::vector<std::string>{"Chiave doppia"}));
    EXPECT_EQ(one("SELECT Riga || '|' || Tabella FROM ErroriCaricamento"), "A;Ancora;9|DUP1");
}

TEST_F(CaricoTest, EmptyingFollowsWhereAzz) {
    const struct {
        std::string whereAzz;
        std::string left;
    } cases[] = {
        {kNull, ""},
        {"Num > 1", "A"},
        {"From Prova Where Num = 1", "B,C"},
    };
    int n = 0;
    for (const auto& c : cases) {
        company("DELETE FROM Prova; INSERT INTO Prova (Codice, Num) VALUES ('A', 1), ('B', 2), ('C', 3)");
        const std::string code = "AZZ" + std::to_string(++n);
        prova(code, {{"Modalita", "0"}, {"InsVaria", "I"}, {"Azzera", "s"}, {"WhereAzz", c.whereAzz}});
        input(code + ".txt", {});
        EXPECT_EQ(load(code), 0);
        EXPECT_EQ(one("SELECT coalesce(group_concat(Codice), '') FROM (SELECT Codice FROM Prova ORDER BY Codice)"),
                  c.left)
            << c.whereAzz;
    }
}

TEST_F(CaricoTest, MissingFileIsReportedBeforeAnythingIsEmptied) {
    company("INSERT INTO Prova (Codice) VALUES ('A');"
            "INSERT INTO ErroriCaricamento (Tabella, Riga, Errore) VALUES ('MISS', 'x', 'y')");
    prova("MISS", {{"Modalita", "0"}, {"InsVaria", "I"}, {"Azzera", "S"}});
    EXPECT_EQ(load("MISS"), 53);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Errore nell'apertura del file: " + (folder / "MISS.txt").string());
    EXPECT_EQ(one("SELECT count(*) FROM Prova"), "1");
    EXPECT_EQ(one("SELECT count(*) FROM ErroriCaricamento"), "0");
}

TEST_F(CaricoTest, RejectedLinesAreRecordedAndTheOthersLoaded) {
    prova("REJ", {{"Modalita", "0"}, {"InsVaria", "I"}});
    input("REJ.txt", {"A;Alfa;1", "B;Beta;due", ";Gamma;3", "D;Delta;4"});
    EXPECT_EQ(load("REJ"), 0);
    EXPECT_EQ(prove(), (Rows{{"A", "Alfa", "1"}, {"D", "Delta", "4"}}));
    EXPECT_EQ(errorTexts(), (std::vector<std::string>{"Prova.Num: Tipo non valido (due)",
                                                      "Prova.Codice: Campo chiave non compilato"}));
    EXPECT_EQ(errors, 2);
}

TEST_F(CaricoTest, KeyFromPrimaryKeyOfSeveralColumns) {
    layout("RIG", {{"Tabella", "Righe"}, {"Modalita", "0"}, {"Separatore", "\\059"}});
    field("RIG", "Codice", {{"NumCampo", "1"}});
    field("RIG", "Riga", {{"NumCampo", "2"}, {"TipoDest", "Long"}});
    field("RIG", "Testo", {{"NumCampo", "3"}, {"Aggiorna", "A"}});
    ASSERT_EQ(loader->LeggiTracciato("RIG"), 0);
    EXPECT_EQ(loader->CompSqlKey("X'Y;1;t", 1), "Select * from Righe Where Codice = 'X''Y' And Riga = 1");
    input("RIG.txt", {"A;1;uno", "A;2;due", "A;1;UNO"});
    EXPECT_EQ(load("RIG"), 0);
    EXPECT_EQ(rows("SELECT Codice, Riga, Testo FROM Righe ORDER BY Riga"),
              (Rows{{"A", "1", "UNO"}, {"A", "2", "due"}}));
}

TEST_F(CaricoTest, EachLineFillsEveryTableInUse) {
    layout("TWO", {{"Tabella", "Prova"}, {"Tabella2", "Righe"}, {"CodTab2", "R"}, {"Modalita", "0"},
                   {"InsVaria", "I"}, {"Separatore", "\\059"}});
    field("TWO", "Codice", {{"NumCampo", "1"}});
    field("TWO", "R Codice", {{"NumCampo", "1"}});
    field("TWO", "R Riga", {{"NumCampo", "2"}, {"TipoDest", "Long"}});
    field("TWO", "R Testo", {{"NumCampo", "3"}});
    input("TWO.txt", {"A;1;uno", "B;2;due"});
    EXPECT_EQ(load("TWO"), 0);
    EXPECT_EQ(one("SELECT count(*) FROM Prova"), "2");
    EXPECT_EQ(rows("SELECT Codice, Riga, Testo FROM Righe ORDER BY Codice"),
              (Rows{{"A", "1", "uno"}, {"B", "2", "due"}}));
}

TEST_F(CaricoTest, FieldOfAnUnknownTableCodeRejectsTheLineWhenWritten) {
    layout("UNK", {{"Tabella", "Prova"}, {"Modalita", "0"}, {"InsVaria", "I"}, {"Separatore", "\\059"}});
    field("UNK", "Codice", {{"NumCampo", "1"}});
    field("UNK", "Z Note", {{"NumCampo", "2"}});
    field("UNK", "Y Descr", {{"NumCampo", "2"}, {"Aggiorna", "A"}});
    input("UNK.txt", {"A;x"});
    EXPECT_EQ(load("UNK"), 0);
    EXPECT_EQ(one("SELECT count(*) FROM Prova"), "0");
    ASSERT_EQ(errorTexts().size(), 1u);
    EXPECT_NE(errorTexts()[0].find(": campo Prova.Descr"), std::string::npos) << errorTexts()[0];
}

TEST_F(CaricoTest, TooLongValueNamesTheField) {
    layout("LONG", {{"Tabella", "Prova"}, {"Modalita", "0"}, {"InsVaria", "I"}, {"Separatore", "\\059"}});
    field("LONG", "Codice", {{"NumCampo", "1"}, {"Dimensione", "20"}});
    input("LONG.txt", {"ABCDEFGHIJKLMNOP"});
    EXPECT_EQ(load("LONG"), 0);
    EXPECT_EQ(errorTexts(), (std::vector<std::string>{"Valore troppo grande (ABCDEFGHIJKLMNOP): campo Prova.Codice"}));
}

TEST_F(CaricoTest, FailingErrorRowsDoNotStopTheRun) {
    company("DROP TABLE ErroriCaricamento; CREATE TABLE ErroriCaricamento (Id INTEGER PRIMARY KEY,"
            " Tabella VARCHAR(3) COLLATE NOCASE, Riga VARCHAR(5) COLLATE NOCASE, Errore VARCHAR(10) COLLATE NOCASE)");
    prova("CUTTING", {{"Modalita", "0"}, {"InsVaria", "I"}});
    input("CUTTING.txt", {"A;Alfa;x", "B;Beta;2"});
    EXPECT_EQ(load("CUTTING"), 0);
    EXPECT_EQ(rows("SELECT Tabella, Riga, Errore FROM ErroriCaricamento"),
              (Rows{{"CUT", "A;Alf", "Prova.Num:"}}));
    company("CREATE TRIGGER NoErrors BEFORE INSERT ON ErroriCaricamento"
            " BEGIN SELECT RAISE(ABORT, 'bloccato'); END");
    prova("NOTABLE", {{"Modalita", "0"}, {"InsVaria", "I"}});
    input("NOTABLE.txt", {"C;x;x", "D;y;y", "E;Beta;2"});
    messages.clear();
    EXPECT_EQ(loader->LeggiTracciato("NOTABLE"), 0);
    long count = 0;
    EXPECT_EQ(loader->CaricaDati(count), 0);
    EXPECT_EQ(count, 2) << "rejected lines are still counted";
    EXPECT_EQ(messages.size(), 1u) << "reported once";
    EXPECT_EQ(one("SELECT group_concat(Codice) FROM Prova"), "B,E");
}

TEST_F(CaricoTest, StopBetweenLinesKeepsWhatRanAndSkipsFinalQueries) {
    prova("STOP", {{"Modalita", "0"}, {"InsVaria", "I"}, {"QueryFin1", "Delete From Prova"}});
    input("STOP.txt", {"A;a;1", "B;b;2", "C;c;3", "D;d;4"});
    auto now = std::chrono::steady_clock::time_point{};
    progress.setClock([&] { return now += std::chrono::milliseconds(60); });
    progress.eventPump = [&] {
        if (progress.phaseText() == "Caricamento STOP" && progress.value() == 2) giStatoCarica = 2;
    };
    EXPECT_EQ(load("STOP"), 0);
    EXPECT_EQ(one("SELECT group_concat(Codice) FROM Prova"), "A,B");
    EXPECT_FALSE(sqlite3_get_autocommit(goDbase().connection(companyId).db) == 0) << "all committed";
}

}  // namespace
}  // namespace tolvane::batchtest
