// The value of a field for a line: separated and fixed fields, the value language, implied
// decimals and operators, text rules, conversions, checks and decode rows.
#include "batch_fixture.h"

namespace tolvane::batchtest {
namespace {

struct Case {
    std::string rule;
    Columns header;  // besides Tabella Prova, insert only
    std::string nomeCampo;
    Columns field;
    std::string line;
    std::string expected;  // the value's text, or "!" and the error row written
};

class ValoreTest : public BatchTest {
protected:
    std::string valueOf(const Case& c) {
        const std::string code = "V" + std::to_string(++layouts);
        Columns header{{"Tabella", "Prova"}, {"Modalita", "1"}, {"InsVaria", "I"}};
        header.insert(header.end(), c.header.begin(), c.header.end());
        layout(code, header);
        field(code, c.nomeCampo, c.field);
        if (loader->LeggiTracciato(code) != 0) return "<layout refused>";
        const std::size_t before = errorTexts().size();
        Variant value;
        int result = 0;
        try {
            result = loader->LeggiVal(c.line, *loader->campi().front(), value, 1);
        } catch (const NumberedError&) {
            return "<fault>";
        }
        const auto rows = errorTexts();
        if (result != 0) return rows.size() > before ? "!" + rows.back() : "!<no error row>";
        return value.text();
    }
    void check(const std::vector<Case>& cases) {
        for (const Case& c : cases) EXPECT_EQ(valueOf(c), c.expected) << c.rule;
    }
    int layouts = 0;
};

const Columns kSemicolon{{"Separatore", "\\059"}};
const Columns kFixed{{"Tipo", "F"}};

TEST_F(ValoreTest, SeparatedFieldsAreSplitBeforeQuotesAreRemoved) {
    check({
        {"third field", kSemicolon, "Descr", {{"NumCampo", "3"}}, "a;b;c", "c"},
        {"field past the end", kSemicolon, "Descr", {{"NumCampo", "4"}}, "a;b;c", ""},
        {"field zero", kSemicolon, "Descr", {{"NumCampo", "0"}}, "a;b;c", ""},
        {"quotes do not protect", kSemicolon, "Descr", {{"NumCampo", "1"}}, "\"x;y\";z", "\"x"},
        {"second piece keeps its quote", kSemicolon, "Descr", {{"NumCampo", "2"}}, "\"x;y\";z", "y\""},
        {"two quotes give empty", kSemicolon, "Descr", {{"NumCampo", "1"}}, "\"\";z", ""},
        {"single quote stays", kSemicolon, "Descr", {{"NumCampo", "1"}}, "\";z", "\""},
        {"quoted value unquoted", kSemicolon, "Descr", {{"NumCampo", "2"}}, "a;\" b \";c", "b"},
        {"letter separator ignores case", {{"Separatore", "x"}}, "Descr", {{"NumCampo", "2"}}, "1X2x3", "2"},
        {"tab by default", {}, "Descr", {{"NumCampo", "2"}}, "a\tb", "b"},
        {"sub-range of a field", kSemicolon, "Descr", {{"NumCampo", "1"}, {"Inizio", "2"}, {"Lunghezza", "3"}},
         "abcdef;x", "bcd"},
        {"last characters of a field", kSemicolon, "Descr", {{"NumCampo", "1"}, {"Inizio", "-2"}}, "abcdef", "ef"},
        {"accented text", kSemicolon, "Descr", {{"NumCampo", "2"}}, "x;perché sì", "perché sì"},
    });
}

TEST_F(ValoreTest, ExpressionsJoinReferencesAndGroups) {
    check({
        {"references and text", kSemicolon, "Descr", {{"NumCampo", "§1-§2"}}, "12;34", "12-34"},
        {"zero group drops", kSemicolon, "Descr", {{"NumCampo", "[§3/]§4"}}, "a;b;000;X", "X"},
        {"non-zero group kept", kSemicolon, "Descr", {{"NumCampo", "[§3/]§4"}}, "a;b;007;X", "007/X"},
        {"blank group drops", kSemicolon, "Descr", {{"NumCampo", "{§3 kg}"}}, "a;b; ;X", ""},
        {"filled group kept", kSemicolon, "Descr", {{"NumCampo", "{§3 kg}"}}, "a;b;5;X", "5 kg"},
        {"unclosed group is text", kSemicolon, "Descr", {{"NumCampo", "{§3"}}, "a;b;5", "{5"},
        {"section sign without digits", kSemicolon, "Descr", {{"NumCampo", "A§B"}}, "a", "AB"},
        {"closer outside group is text", kSemicolon, "Descr", {{"NumCampo", "§1]"}}, "a", "a]"},
    });
}

TEST_F(ValoreTest, ImpliedDecimalsAndOperators) {
    check({
        {"fixed implied decimals", kFixed, "Qta", {{"TipoDest", "Double"}, {"Inizio", "1"}, {"Lunghezza", "4"}, {"Quanto", "2"}},
         "1250", "12,5"},
        {"plain field number: no division", kSemicolon, "Qta", {{"TipoDest", "Double"}, {"NumCampo", "3"}, {"Quanto", "2"}},
         "a;b;1250", "1250"},
        {"expression: division", kSemicolon, "Qta", {{"TipoDest", "Double"}, {"NumCampo", "§3"}, {"Quanto", "2"}},
         "a;b;1250", "12,5"},
        {"percent operator", kSemicolon, "Qta", {{"TipoDest", "Double"}, {"NumCampo", "1"}, {"TipoOper", "%"}, {"ValoreOper", "22"}},
         "100", "22"},
        {"operand from a field", kSemicolon, "Qta", {{"TipoDest", "Double"}, {"NumCampo", "1"}, {"TipoOper", "*"}, {"ValoreOper", "§2"}},
         "3;4", "12"},
        {"fixed operand from positions", kFixed, "Qta", {{"TipoDest", "Double"}, {"Inizio", "1"}, {"Lunghezza", "2"}, {"TipoOper", "/"}, {"ValoreOper", "§3:1"}},
         "844", "21"},
        {"unknown operator gives empty", kSemicolon, "Qta", {{"TipoDest", "Double"}, {"NumCampo", "1"}, {"TipoOper", "+"}, {"ValoreOper", "2"}},
         "5", ""},
        {"fixed literal prefix", kFixed, "Descr", {{"NumCampo", "IT"}, {"Inizio", "1"}, {"Lunghezza", "3"}}, "123", "IT123"},
        {"blank fixed field with implied decimals faults", kFixed, "Qta", {{"TipoDest", "Double"}, {"Inizio", "1"}, {"Lunghezza", "4"}, {"Quanto", "2"}},
         "    ", "<fault>"},
    });
}

TEST_F(ValoreTest, TextRulesLimitsAndConversions) {
    check({
        {"limit empties a longer value", kSemicolon, "Descr", {{"NumCampo", "1"}, {"LimiteDim", "5"}}, "ABCDEF", ""},
        {"limit on a required field rejects", kSemicolon, "Descr", {{"NumCampo", "1"}, {"LimiteDim", "5"}, {"Obbligatorio", "S"}},
         "ABCDEF", "!Prova.Descr: Campo obbligatorio non compilato"},
        {"negative limit empties a shorter value", kSemicolon, "Descr", {{"NumCampo", "1"}, {"LimiteDim", "-3"}}, "AB", ""},
        {"fill on the left", kSemicolon, "Descr", {{"NumCampo", "1"}, {"Riempie", "0"}, {"Quanto", "-5"}}, "42", "00042"},
        {"fill on the right", kSemicolon, "Descr", {{"NumCampo", "1"}, {"Riempie", "0"}, {"Quanto", "5"}}, "42", "42000"},
        {"cut to the size", kSemicolon, "Descr", {{"NumCampo", "1"}, {"Dimensione", "3"}}, "ABCDEF", "ABC"},
        {"cut keeping the end", kSemicolon, "Descr", {{"NumCampo", "1"}, {"Dimensione", "-3"}}, "ABCDEF", "DEF"},
        {"zeros to null", kSemicolon, "Descr", {{"NumCampo", "1"}, {"Conv0ToNull", "S"}}, "0000", ""},
        {"decimal zero is not only zeros", kSemicolon, "Descr", {{"NumCampo", "1"}, {"Conv0ToNull", "S"}}, "0,00", "0,00"},
        {"type refused", kSemicolon, "Num", {{"TipoDest", "Long"}, {"NumCampo", "1"}}, "abc", "!Prova.Num: Tipo non valido (abc)"},
        {"long read", kSemicolon, "Num", {{"TipoDest", "Long"}, {"NumCampo", "1"}}, "1.234", "1234"},
        {"date read", kSemicolon, "Data", {{"TipoDest", "Date"}, {"NumCampo", "1"}}, "31/12/2020", "31/12/2020"},
        {"key field empty", kSemicolon, "Codice", {{"NumCampo", "1"}}, " ;x", "!Prova.Codice: Campo chiave non compilato"},
        {"rounding to decimals", kSemicolon, "Qta", {{"TipoDest", "Double"}, {"NumCampo", "1"}, {"Riempie", "1"}, {"Quanto", "0"}},
         "2,25", "2,3"},
        {"empty amount with decimals stays empty", kSemicolon, "Qta", {{"TipoDest", "Double"}, {"NumCampo", "1"}, {"Quanto", "0"}},
         "", ""},
    });
}

TEST_F(ValoreTest, ValidityListsRefuseValues) {
    check({
        {"pattern refuses", kSemicolon, "Descr", {{"TipoDest", "String"}, {"NumCampo", "1"}, {"NonVal", "X*"}}, "xyz",
         "!Prova.Descr: Campo con valore non valido (xyz)"},
        {"pattern lets others pass", kSemicolon, "Descr", {{"TipoDest", "String"}, {"NumCampo", "1"}, {"NonVal", "X*"}}, "abc", "abc"},
        {"number refused", kSemicolon, "Piccolo", {{"TipoDest", "Integer"}, {"NumCampo", "1"}, {"NonVal", "0"}}, "0",
         "!Prova.Piccolo: Campo con valore non valido (0)"},
        {"valid value accepted in any case", kSemicolon, "Descr", {{"NumCampo", "1"}, {"ValValido", "S"}}, "s", "s"},
        {"other value refused", kSemicolon, "Descr", {{"NumCampo", "1"}, {"ValValido", "S"}}, "N",
         "!Prova.Descr: Campo con valore non valido (N)"},
    });
}

TEST_F(ValoreTest, SoloAsciTurnsControlCharactersIntoBlanks) {
    const Case c{"tab in a fixed field", kFixed, "Descr", {{"Inizio", "1"}, {"Lunghezza", "3"}}, "A\tB", ""};
    EXPECT_EQ(valueOf(c), "A\tB");
    gsSoloAsci = "S";
    EXPECT_EQ(valueOf(c), "A B");
}

TEST_F(ValoreTest, DecodeRowsTranslateAndABadRowHidesNothing) {
    layout("DEC", {{"Tabella", "Prova"}, {"Modalita", "1"}, {"InsVaria", "I"}, {"Separatore", "\\059"}});
    field("DEC", "Descr", {{"NumCampo", "1"}, {"TipoOrig", "Long"}});
    decode("DEC", "Prova", "Descr", "abc", "Rotto");
    decode("DEC", "Prova", "Descr", "007", "Sette");
    decode("DEC", "Prova", "Descr", "7", "Doppione");
    ASSERT_EQ(loader->LeggiTracciato("DEC"), 0);
    const struct {
        std::string line, expected;
    } cases[] = {{"7", "Sette"}, {"0007", "Sette"}, {"8", "8"}, {"xyz", "xyz"}};
    for (const auto& c : cases) {
        Variant value;
        ASSERT_EQ(loader->LeggiVal(c.line, *loader->campo("Prova.Descr"), value, 1), 0);
        EXPECT_EQ(value.text(), c.expected) << c.line;
    }
}

TEST_F(ValoreTest, FieldIsEvaluatedOncePerLine) {
    layout("ONCE", {{"Tabella", "Prova"}, {"Modalita", "1"}, {"InsVaria", "I"}});
    field("ONCE", "Num", {{"TipoDest", "Long"}, {"Default", "^-6"}});
    ASSERT_EQ(loader->LeggiTracciato("ONCE"), 0);
    Variant first, second;
    ASSERT_EQ(loader->LeggiVal("x", *loader->campo("Prova.Num"), first, 1), 0);
    ASSERT_EQ(loader->LeggiVal("x", *loader->campo("Prova.Num"), second, 1), 0);
    EXPECT_EQ(first.text(), "1");
    EXPECT_EQ(second.text(), "1");
}

}  // namespace
}  // namespace tolvane::batchtest
