// Defaults of a field: constants, prompted values, running counters with their breaks and the
// next free code of a column, in numeric and text mode, with break columns.
#include "batch_fixture.h"

namespace tolvane::batchtest {
namespace {

class CodiciTest : public BatchTest {
protected:
    // Loads the lines into Numeri: Numero from the default given, Gruppo and Descr from the line.
    Rows numeri(const std::string& code, const std::string& defaultText, const std::vector<std::string>& lines,
                const std::string& modalita = "0", const std::string& insVaria = "I") {
        layout(code, {{"Tabella", "Numeri"}, {"Modalita", modalita}, {"InsVaria", insVaria}, {"Separatore", "\\059"}});
        field(code, "Numero", {{"TipoDest", "Long"}, {"Default", defaultText}});
        field(code, "Gruppo", {{"NumCampo", "1"}});
        field(code, "Descr", {{"NumCampo", "2"}});
        input(code + ".txt", lines);
        EXPECT_EQ(load(code), 0) << code;
        return rows("SELECT Numero, Descr FROM Numeri ORDER BY Numero");
    }
};

TEST_F(CodiciTest, NumericNextCodeFollowsTheLargest) {
    EXPECT_EQ(numeri("N1", "^-6", {"01;a", "01;b"}), (Rows{{"1", "a"}, {"2", "b"}}));
    company("DELETE FROM Numeri; INSERT INTO Numeri (Numero) VALUES (41)");
    EXPECT_EQ(numeri("N2", "^-6", {"01;c"}), (Rows{{"41", "NULL"}, {"42", "c"}}));
    company("DELETE FROM Numeri; INSERT INTO Numeri (Numero) VALUES (999999)");
    EXPECT_EQ(numeri("N3", "^-6", {"01;d"}), (Rows{{"999999", "NULL"}}));
    EXPECT_EQ(errorTexts().back(), "Numeri.Numero: Campo chiave non compilato");
}

TEST_F(CodiciTest, KeyNextCodeIsSearchedAndWrittenOnceSoNothingIsSkipped) {
    EXPECT_EQ(numeri("K1", "^0", {"01;a", "01;b", "01;c"}, "0", "V"),
              (Rows{{"1", "a"}, {"2", "b"}, {"3", "c"}}));
}

TEST_F(CodiciTest, NextCodeFollowsBreakColumns) {
    company("INSERT INTO Numeri (Numero, Gruppo) VALUES (7, '01'), (20, '02'), (30, 'Xa')");
    layout("BRK", {{"Tabella", "Numeri"}, {"Modalita", "0"}, {"InsVaria", "I"}, {"Separatore", "\\059"}});
    field("BRK", "Gruppo", {{"NumCampo", "1"}});
    field("BRK", "Numero", {{"TipoDest", "Long"}, {"Default", "^0:Gruppo"}});
    input("BRK.txt", {"01", "03", "01", "xa", "XA", "xa"});
    EXPECT_EQ(load("BRK"), 0);
    EXPECT_EQ(rows("SELECT Gruppo, Numero FROM Numeri ORDER BY Gruppo, Numero"),
              (Rows{{"01", "7"}, {"01", "8"}, {"01", "9"}, {"02", "20"}, {"03", "1"},
                    {"Xa", "30"}, {"xa", "31"}, {"XA", "32"}, {"xa", "33"}}))
        << "a group is the same whatever the case of its value";
    EXPECT_TRUE(errorTexts().empty());
}

TEST_F(CodiciTest, TextCodesKeepPrefixAndWidthAndAdvanceThePrefix) {
    company("INSERT INTO Conti (Gruppo, Mastro, Conto) VALUES ('01', '02', 'C00099'), ('01', '03', 'C99999'),"
            " ('01', '03', 'D00004'), ('01', '02', 'X99999')");
    layout("CON", {{"Tabella", "Conti"}, {"Modalita", "0"}, {"InsVaria", "I"}, {"Separatore", "\\059"}});
    field("CON", "Gruppo", {{"NumCampo", "1"}});
    field("CON", "Mastro", {{"NumCampo", "2"}});
    field("CON", "Conto", {{"Default", "^6,C:Gruppo,Mastro"}});
    field("CON", "Descr", {{"NumCampo", "3"}});
    input("CON.txt", {"01;02;a", "01;03;b", "01;02;c"});
    EXPECT_EQ(load("CON"), 0);
    EXPECT_EQ(rows("SELECT Mastro, Conto FROM Conti WHERE Descr IS NOT NULL ORDER BY Descr"),
              (Rows{{"02", "C00100"}, {"03", "D00005"}, {"02", "C00101"}}));
}

TEST_F(CodiciTest, TextCodeWithoutBreaksUsesItsOwnColumnAndFilters) {
    company("INSERT INTO Prova (Codice) VALUES ('P00005'), ('X99999'), ('P12')");
    layout("OWN", {{"Tabella", "Prova"}, {"Modalita", "0"}, {"InsVaria", "I"}, {"Separatore", "\\059"}});
    field("OWN", "Codice", {{"Default", "^6,P"}});
    field("OWN", "Descr", {{"NumCampo", "1"}});
    input("OWN.txt", {"nuovo"});
    EXPECT_EQ(load("OWN"), 0);
    EXPECT_EQ(one("SELECT Codice FROM Prova WHERE Descr = 'nuovo'"), "P00006");
}

TEST_F(CodiciTest, PrefixFillingTheWidthGivesNoCode) {
    layout("AB", {{"Tabella", "Prova"}, {"Modalita", "0"}, {"InsVaria", "I"}});
    field("AB", "Codice", {{"Default", "^2,AB"}});
    input("AB.txt", {"x"});
    EXPECT_EQ(load("AB"), 0);
    EXPECT_EQ(errorTexts(), (std::vector<std::string>{"Prova.Codice: Campo chiave non compilato"}));
}

TEST_F(CodiciTest, FailingNextCodeIsReportedOnceThenByRejectedRows) {
    layout("BAD", {{"Tabella", "Prova"}, {"Modalita", "0"}, {"InsVaria", "I"}});
    field("BAD", "Codice", {{"Default", "^6:Manca"}});
    input("BAD.txt", {"x", "y"});
    EXPECT_EQ(load("BAD"), 0);
    EXPECT_EQ(messages.size(), 1u);
    ASSERT_EQ(errorTexts().size(), 2u);
    EXPECT_EQ(errorTexts()[0].rfind("Prova.Codice: Impossibile calcolare il prossimo codice", 0), 0u)
        << errorTexts()[0];
}

TEST_F(CodiciTest, ConstantAndPromptedDefaults) {
    ElencoValori values;
    values.Valore("PRO.Descr", Variant("Scritto"));
    loader->ogValDefault = &values;
    layout("PRO", {{"Tabella", "Prova"}, {"Modalita", "0"}, {"InsVaria", "I"}});
    field("PRO", "Codice", {{"Default", "K1"}});
    field("PRO", "Descr", {{"Default", "§Descrizione"}});
    field("PRO", "Note", {{"Default", "§Mancante"}});
    input("PRO.txt", {"x"});
    EXPECT_EQ(load("PRO"), 0);
    EXPECT_EQ(rows("SELECT Codice, Descr, Note FROM Prova"), (Rows{{"K1", "Scritto", "NULL"}}));
}

TEST_F(CodiciTest, CounterRestartsWhenTheBreakChanges) {
    const struct {
        std::string rottura;
        std::vector<std::string> expected;
    } cases[] = {
        {"3", {"1", "2", "1", "2"}},
        {"3,1", {"1", "1", "1", "1"}},
        {"9:1", {"1", "2", "3", "1"}},
        {"", {"11", "12", "13", "14"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string code = "CNT" + std::to_string(++n);
        ElencoValori values;
        const std::string key = code + ".Num";
        values.Valore(key, Variant(std::string(ElencoValori::ValoreMancante)));
        values.TipoVoce(key, static_cast<float>(ElencoValori::TipoVoceContatore));
        values.Rottura(key, c.rottura);
        values.Contatore(key, 10);
        values.ValoreIniziale(key, Currency{0});
        loader->ogValDefault = &values;
        company("DELETE FROM Prova");
        layout(code, {{"Tabella", "Prova"}, {"Modalita", "0"}, {"InsVaria", "I"}, {"Separatore", "\\059"}});
        field(code, "Codice", {{"NumCampo", "1"}});
        field(code, "Num", {{"TipoDest", "Long"}, {"Default", "§#" + c.rottura + "#Contatore"}});
        input(code + ".txt", {"a;x;A;y;1", "b;y;A;y;1", "c;x;B;y;1", "d;x;B;y;2"});
        EXPECT_EQ(load(code), 0);
        std::vector<std::string> numbers;
        for (const auto& r : rows("SELECT Num FROM Prova ORDER BY Codice")) numbers.push_back(r[0]);
        EXPECT_EQ(numbers, c.expected) << "Rottura " << c.rottura;
    }
}

}  // namespace
}  // namespace tolvane::batchtest
