// Rules of the general library that callers rely on: exact rounding, conversions that refuse
// bad text, formats with Italian separators, SQL literals, type codes, text services.
#include "suite/libgenerale/lib_generale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>

#include "support/error_number.h"

namespace tolvane {
namespace {

const LibGenerale& lib() { return goLibGen(); }

using testing::errorOf;

DateTime date(int y, int m, int d, int hh = 0, int nn = 0, int ss = 0) {
    return DateTime::fromParts(y, m, d, hh, nn, ss);
}

TEST(LibGeneraleArrotonda, RoundsHalfAwayFromZeroOnDecimalDigits) {
    struct Case {
        double value;
        int decimals;
        double expected;
    };
    const Case cases[] = {
        {2.675, 2, 2.68}, {0.005, 2, 0.01},      {-2.675, 2, -2.68},
        {2.5, 0, 3.0},    {-0.4, 0, 0.0},        {1250.0, -2, 1300.0},
        {49.0, -2, 0.0},  {2.675, 5, 2.675},     {999999999999.995, 2, 1000000000000.0},
        {1e20, 2, 1e20},  {1936.27, 2, 1936.27},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lib().Arrotonda(c.value, c.decimals), c.expected)
            << c.value << " to " << c.decimals << " decimals";
    }
    EXPECT_FALSE(std::signbit(lib().Arrotonda(-0.4, 0)));
}

TEST(LibGeneraleArrotonda, ModesAndStepsRoundToMultiplesOfTheUnit) {
    struct Case {
        double value;
        const char* mode;
        double step;
        int exponent;
        double expected;
    };
    const Case cases[] = {
        {2.671, "E", 1, -2, 2.68}, {-2.671, "E", 1, -2, -2.68}, {2.679, "D", 1, -2, 2.67},
        {2.67, "E", 1, -2, 2.67},  {1.024, "A", 5, -2, 1.0},    {1.025, "A", 5, -2, 1.05},
        {1024, "A", 50, 0, 1000},  {1025, "a", 50, 0, 1050},    {1001, "E", 50, 0, 1050},
        {0.3, "A", 0.1, 0, 0.3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lib().Arrotonda(c.value, c.mode, c.step, c.exponent), c.expected)
            << c.value << " " << c.mode << " " << c.step << "e" << c.exponent;
    }
    EXPECT_EQ(errorOf([] { lib().Arrotonda(1.0, "X", 1, 0); }), errnum::InvalidCall);
    EXPECT_EQ(errorOf([] { lib().Arrotonda(1.0, "A", 0, 0); }), errnum::InvalidCall);
}

TEST(LibGeneraleArrotonda, ValuesKeepEmptyTextAndCurrencyExact) {
    const Variant empty = lib().Arrotonda(Variant(""), "A", 1, -2);
    EXPECT_TRUE(empty.isString());
    EXPECT_EQ(empty.text(), "");
    EXPECT_TRUE(lib().Arrotonda(Variant(), "A", 1, -2).isEmpty());

    const Variant cur = lib().Arrotonda(Variant(Currency{26750}), "A", 1, -2);
    ASSERT_EQ(cur.type(), VarType::Currency);
    EXPECT_EQ(cur.toCurrency().scaled, 26800);
    EXPECT_EQ(lib().Arrotonda(Variant(Currency{-25000}), "A", 1, 0).toCurrency().scaled, -30000);
    EXPECT_EQ(lib().Arrotonda(Variant(Currency{12345}), "E", 1, -2).toCurrency().scaled, 12400);
    EXPECT_EQ(lib().Arrotonda(Variant(Currency{12399}), "D", 1, -2).toCurrency().scaled, 12300);
    EXPECT_EQ(lib().Arrotonda(Variant(Currency{10250}), "A", 5, -2).toCurrency().scaled, 10500);
    EXPECT_EQ(lib().Arrotonda(Variant(Currency{12345}), "A", 1, -6).toCurrency().scaled, 12345);

    const Variant whole = lib().Arrotonda(Variant(std::int32_t{1250}), "A", 1, 2);
    EXPECT_EQ(whole.type(), VarType::Long);
    EXPECT_EQ(whole.toLong(), 1300);
    EXPECT_EQ(lib().Arrotonda(Variant(std::int16_t{32767}), "A", 1, 1).toDouble(), 32770.0);

    EXPECT_EQ(lib().Arrotonda(Variant("2,675"), "A", 1, -2).toDouble(), 2.68);
    EXPECT_EQ(errorOf([] { lib().Arrotonda(Variant("2,6x"), "A", 1, -2); }), errnum::TypeMismatch);
}

TEST(LibGeneraleConversioni, WholeNumbersFromUserText) {
    const std::pair<const char*, int> cases[] = {
        {"12", 12}, {" 12 ", 12}, {"-3", -3}, {"1.234", 1234}, {"", 0},
        {"   ", 0}, {"2,5", 2},   {"3,5", 4}, {"abc", 0},      {"12abc", 0},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(lib().ValoreIntero(Variant(text)), expected) << '"' << text << '"';
        EXPECT_EQ(lib().ValoreLong(Variant(text)), expected) << '"' << text << '"';
    }
    EXPECT_EQ(lib().ValoreIntero(Variant::null()), 0);
}

TEST(LibGeneraleConversioni, BadTextRaisesWhenAskedAndOverflowAlways) {
    struct Case {
        const char* what;
        std::function<void()> call;
        int error;
    };
    const Case cases[] = {
        {"intero lettere", [] { lib().ValoreIntero(Variant("12abc"), true, false); },
         errnum::TypeMismatch},
        {"intero vuoto", [] { lib().ValoreIntero(Variant(""), false, true); },
         errnum::TypeMismatch},
        {"intero troppo", [] { lib().ValoreIntero(Variant("70000")); }, errnum::Overflow},
        {"long lettere", [] { lib().ValoreLong(Variant("1O"), false); }, errnum::TypeMismatch},
        {"long troppo", [] { lib().ValoreLong(Variant("3000000000"), false); }, errnum::Overflow},
        {"single", [] { lib().ValoreSingle(Variant("x"), false); }, errnum::TypeMismatch},
        {"double", [] { lib().ValoreDouble(Variant("1,2,3"), false); }, errnum::TypeMismatch},
        {"valuta", [] { lib().ValutaTesto(Variant("12 euro"), false); }, errnum::TypeMismatch},
        {"data", [] { lib().ValoreData(Variant("32/13/2024"), true); }, errnum::TypeMismatch},
    };
    for (const Case& c : cases) EXPECT_EQ(errorOf(c.call), c.error) << c.what;
}

TEST(LibGeneraleConversioni, NumbersAndDatesFromItalianText) {
    EXPECT_EQ(lib().ValoreDouble(Variant("1.234,56"), false), 1234.56);
    EXPECT_EQ(lib().ValoreSingle(Variant("0,5"), false), 0.5f);
    EXPECT_EQ(lib().ValutaTesto(Variant("1.234,5678"), false).scaled, 12345678);
    EXPECT_EQ(lib().ValutaTesto(Variant("")).scaled, 0);
    EXPECT_EQ(lib().ValoreDouble(Variant("x")), 0.0);

    const Variant d = lib().ValoreData(Variant("31/12/2024"), true);
    ASSERT_EQ(d.type(), VarType::Date);
    EXPECT_EQ(d.toDate(), date(2024, 12, 31));
    EXPECT_TRUE(lib().ValoreData(Variant("domani")).isNull());
}

TEST(LibGeneraleConversioni, EmptyMeansEmptyNullOrBlank) {
    EXPECT_TRUE(lib().EVuoto(Variant::null()));
    EXPECT_TRUE(lib().EVuoto(Variant("   ")));
    EXPECT_FALSE(lib().EVuoto(Variant("0")));
    EXPECT_FALSE(lib().EVuoto(Variant(0)));
    EXPECT_TRUE(lib().EVuoto(Variant(" "), 8, 1, false));
    EXPECT_FALSE(lib().EVuoto(Variant("segreta"), 8, 1, false));
}

TEST(LibGeneraleFormati, FormatsWithItalianSeparators) {
    struct Case {
        Variant value;
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {Variant(-1234567.891), "#,##0.00", "-1.234.567,89"},
        {Variant(2.675), "#,##0.00", "2,68"},
        {Variant(-0.001), "#,##0.00", "0,00"},
        {Variant("1234,5"), "#,##0.00", "1.234,50"},
        {Variant(Currency{12345000}), "#,##0.00", "1.234,50"},
        {Variant(24), "0000", "0024"},
        {Variant(0), "#", ""},
        {Variant(12.6), "#", "13"},
        {Variant(1.5), "0.##", "1,5"},
        {Variant(2.0), "0.##", "2"},
        {Variant("abc"), "#,##0.00", "abc"},
        {Variant::null(), "#,##0.00", ""},
        {Variant(date(2024, 12, 31)), "dd/mm/yyyy", "31/12/2024"},
        {Variant("5/1/2024"), "dd/mm/yyyy", "05/01/2024"},
        {Variant(date(2024, 1, 5, 10, 5, 9)), "NNSS", "0509"},
        {Variant(date(2024, 1, 5)), "d/m/yy", "5/1/24"},
        {Variant("non data"), "dd/mm/yyyy", "non data"},
        {Variant("01-02-003"), "conto", "01-02-003"},
        {Variant(""), "Conto", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lib().FormattaPerTipo(c.value, c.format), c.expected)
            << c.value.text() << " with " << c.format;
    }
    EXPECT_EQ(lib().FormatoNumero(Variant("0012"), "#"), "12");
    EXPECT_EQ(lib().FormatoNumero(Variant(""), "0"), "");
    EXPECT_EQ(lib().FormatoNumero(Variant(1.5), "0." + std::string(400, '0')),
              "1,5" + std::string(399, '0'));
}

TEST(LibGeneraleFormati, AccountFormsRoundTrip) {
    const char* editForms[] = {"0102003", "01", "0102", "01020034567"};
    for (const char* e : editForms) {
        EXPECT_EQ(lib().ConvertiConto(lib().FormattaPerTipo(Variant(e), "Conto"), "Conto"), e) << e;
    }
    const char* shownForms[] = {"01-02-003", "01--", "01-02-"};
    for (const char* s : shownForms) {
        EXPECT_EQ(lib().FormattaPerTipo(Variant(lib().ConvertiConto(s, "Conto")), "Conto"), s) << s;
    }
    // Edit forms and texts in no account form stay as typed.
    for (const char* kept : {"1-2-3", "01--003", "-02-003", "0102003"})
        EXPECT_EQ(lib().ConvertiConto(kept, "Conto"), kept);
    EXPECT_EQ(lib().ConvertiConto("01-02-003", "Gruppo"), "01-02-003");
}

TEST(LibGeneraleSql, LiteralsByType) {
    struct Case {
        Variant value;
        int type;
        const char* expected;
    };
    const Case cases[] = {
        {Variant("O'Brien"), 8, "'O''Brien'"},
        {Variant::null(), 8, "Null"},
        {Variant("1.234,5"), 5, "1234.5"},
        {Variant(""), 3, "Null"},
        {Variant("0,1"), 4, "0.1"},
        {Variant(Currency{12345}), 6, "1.2345"},
        {Variant("-1.234,50"), 6, "-1234.5"},
        {Variant("05/01/2024"), 7, "#01/05/2024#"},
        {Variant(date(2024, 12, 31, 10, 5, 9)), 7, "#12/31/2024 10:05:09#"},
        {Variant(true), 11, "-1"},
        {Variant("abc"), -1, "'abc'"},
        {Variant(0.1), -1, "0.1"},
        {Variant(date(2024, 2, 29)), -1, "#02/29/2024#"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lib().ValoreSql(c.value, c.type), c.expected)
            << c.value.text() << " type " << c.type;
    }
    EXPECT_EQ(errorOf([] { lib().ValoreSql(Variant("abc"), 3); }), errnum::TypeMismatch);
    EXPECT_EQ(errorOf([] { lib().ValoreSql(Variant("31/02/2024"), 7); }), errnum::TypeMismatch);
}

TEST(LibGeneraleTipi, TypeNamesGiveTypeCodes) {
    const std::pair<const char*, int> cases[] = {
        {"vbvInteger", 2},  {"dbByte", 2},  {"dbLong", 3}, {"vbvSingle", 4}, {"dbDouble", 5},
        {"vbvCurrency", 6}, {"dbDate", 7},  {"DBTEXT", 8}, {"dbMemo", 8},    {"vbvBoolean", 11},
        {"vbvPippo", 0},    {"Integer", 0}, {"", 0}};
    for (const auto& [name, code] : cases) EXPECT_EQ(lib().CodiceTipo(name), code) << name;
}

TEST(LibGeneraleErrori, ComponentErrorsGiveTheirOwnNumber) {
    constexpr long objectError = -2147221504;
    EXPECT_EQ(lib().NumeroErrore(3022), 3022);
    EXPECT_EQ(lib().NumeroErrore(objectError + 3022), 3022);
    EXPECT_EQ(lib().NumeroErrore(-123), -123);
    EXPECT_EQ(lib().NumeroErrore(NumberedError(3021, "Nessun record corrente")), 3021);
    EXPECT_EQ(lib().NumeroErrore(std::runtime_error("x")), errnum::InvalidCall);
}

TEST(LibGeneraleTesto, PlaceholdersReplaceEveryOccurrence) {
    EXPECT_EQ(lib().SostituisciSegnaposti("1, 3,7", ",", ""), "1 37");
    EXPECT_EQ(lib().SostituisciSegnaposti("il §Data§ e il §data§", "§Data§", "31/12"),
              "il 31/12 e il 31/12");
    EXPECT_EQ(lib().SostituisciSegnaposti("aXa", "a", "aa"), "aaXaa");
    EXPECT_EQ(lib().SostituisciSegnaposti("TS%§", "%§", "12"), "TS12");
    EXPECT_EQ(lib().SostituisciSegnaposti("abc", "", "x"), "abc");
    EXPECT_EQ(lib().SostituisciSegnaposti(1, "§CodSta§ x", "§CodSta§", "Lista", 1), "Lista x");
    EXPECT_EQ(lib().SostituisciSegnaposti(1, "§codsta§", "§CodSta§", "L", 0), "§codsta§");
    EXPECT_EQ(lib().SostituisciSegnaposti(3, "abab", "ab", "X", 1), "abX");
    EXPECT_EQ(lib().SostituisciSegnaposti(1, "§Ora§", "§Ora§", "", 1), "");
    EXPECT_EQ(errorOf([] { lib().SostituisciSegnaposti(0, "a", "a", "b", 1); }),
              errnum::InvalidCall);
}

TEST(LibGeneraleTesto, KeywordsFoldersAndExtremes) {
    const char* line = "/M:menu1 /P:abc def /f=frmtolvane /I:c:\\x y.ini";
    EXPECT_EQ(lib().EstraiParametro(line, "P"), "abc def");
    EXPECT_EQ(lib().EstraiParametro(line, "F"), "frmtolvane");
    EXPECT_EQ(lib().EstraiParametro(line, "i"), "c:\\x y.ini");
    EXPECT_EQ(lib().EstraiParametro(line, "X"), "");
    EXPECT_EQ(lib().EstraiParametro("/FF:1 /F 2", "F"), "2");
    // A keyword inside another keyword's value is part of that value.
    const char* annidate = "/P:a/F:b /I:c:/m:x.ini /F:frm /M:menu1";
    EXPECT_EQ(lib().EstraiParametro(annidate, "F"), "frm");
    EXPECT_EQ(lib().EstraiParametro(annidate, "M"), "menu1");
    EXPECT_EQ(lib().EstraiParametro(annidate, "P"), "a/F:b");

    EXPECT_EQ(lib().EstraiCartella("C:\\a\\b.txt"), "C:\\a\\");
    EXPECT_EQ(lib().EstraiCartella("b.txt"), "");
    EXPECT_EQ(lib().EstraiCartella("/tmp/x"), "/tmp/");

    EXPECT_EQ(lib().Massimo(1, 5, 3).toLong(), 5);
    EXPECT_EQ(lib().Minimo(4, lib().Massimo(0, 7)).toLong(), 4);
    EXPECT_EQ(lib().Massimo(Variant::null(), 2).toLong(), 2);
    EXPECT_TRUE(lib().Minimo(Variant::null()).isNull());
    EXPECT_EQ(lib().MinimoPositivo(0L, 5L), 5);
    EXPECT_EQ(lib().MinimoPositivo(3L, 5L), 3);
    EXPECT_EQ(lib().MinimoPositivo(0L, 0L), 0);
    EXPECT_EQ(lib().MinimoPositivo(-1L, 2L), 2);
}

}  // namespace
}  // namespace tolvane
