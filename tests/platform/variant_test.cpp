// Rules of the value type: conversions, overflow and type errors, Italian text forms, dates
// and comparisons. Every case is a row of a table; no case depends on the clock or locale.
#include "platform/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "support/error_number.h"

namespace tolvane {
namespace {

using testing::errorOf;

TEST(Variant, IntegerConversionChecksRange) {
    struct Case {
        Variant in;
        int expected;  // the value, or the error number when error is set
        bool error;
    };
    const std::vector<Case> cases = {
        {Variant(32767), 32767, false},
        {Variant(32768), errnum::Overflow, true},
        {Variant(-32768), -32768, false},
        {Variant(-32769), errnum::Overflow, true},
        {Variant(32767.4), 32767, false},
        {Variant(32767.5), errnum::Overflow, true},
        {Variant("32767"), 32767, false},
        {Variant(" -32768 "), -32768, false},
        {Variant("32768"), errnum::Overflow, true},
        {Variant("abc"), errnum::TypeMismatch, true},
        {Variant(""), errnum::TypeMismatch, true},
        {Variant(), 0, false},
        {Variant::null(), errnum::InvalidUseOfNull, true},
        {Variant(true), -1, false},
        {Variant(Currency{325665000}), 32566, false},
        {Variant(Currency{327675000}), errnum::Overflow, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.text());
        if (c.error) {
            EXPECT_EQ(errorOf([&] { c.in.toInteger(); }), c.expected);
        } else {
            EXPECT_EQ(c.in.toInteger(), c.expected);
        }
    }
}

TEST(Variant, LongConversionChecksRange) {
    EXPECT_EQ(Variant(2147483647.0).toLong(), 2147483647);
    EXPECT_EQ(Variant(-2147483648.0).toLong(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(errorOf([] { Variant(2147483648.0).toLong(); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { Variant(-2147483649.0).toLong(); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { Variant("2147483648").toLong(); }), errnum::Overflow);
    EXPECT_EQ(Variant(1e9).toLong(), 1000000000);
    EXPECT_EQ(errorOf([] { Variant::null().toLong(); }), errnum::InvalidUseOfNull);
}

TEST(Variant, IntegerConversionsRoundHalfToEven) {
    const std::vector<std::pair<double, int>> cases = {
        {0.5, 0},   {1.5, 2},   {2.5, 2},    {3.5, 4},    {-0.5, 0},
        {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3},
    };
    for (const auto& [in, expected] : cases) {
        SCOPED_TRACE(in);
        EXPECT_EQ(Variant(in).toInteger(), expected);
        EXPECT_EQ(Variant(in).toLong(), expected);
        EXPECT_EQ(Variant(Currency::fromDouble(in)).toLong(), expected);
    }
    EXPECT_EQ(Variant("2,5").toInteger(), 2);
    EXPECT_EQ(Variant("3,5").toLong(), 4);
}

TEST(Variant, NumberTextIsItalian) {
    const std::vector<std::pair<double, std::string>> cases = {
        {0.1, "0,1"},
        {-0.25, "-0,25"},
        {1234.5, "1234,5"},
        {-0.0, "0"},
        {0.0, "0"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3.0, "0,333333333333333"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E+15"},
        {123456789012345678.0, "1,23456789012346E+17"},
        {0.0001, "0,0001"},
        {0.00001, "1E-05"},
        {-1.5e-7, "-1,5E-07"},
        {100, "100"},
        {32768, "32768"},
    };
    for (const auto& [in, expected] : cases) {
        EXPECT_EQ(numberText(in), expected) << in;
        EXPECT_EQ(Variant(in).toString(), expected) << in;
    }
}

TEST(Variant, TextOfEachType) {
    struct Case {
        Variant in;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {Variant(), ""},
        {Variant(static_cast<std::int16_t>(-5)), "-5"},
        {Variant(70000), "70000"},
        {Variant(0.1f), "0,1"},
        {Variant(1234567.f), "1234567"},
        {Variant(true), "Vero"},
        {Variant(false), "Falso"},
        {Variant(Currency{12345000}), "1234,5"},
        {Variant(Currency{-1}), "-0,0001"},
        {Variant(Currency{std::numeric_limits<std::int64_t>::max()}), "922337203685477,5807"},
        {Variant(Currency{std::numeric_limits<std::int64_t>::min()}), "-922337203685477,5808"},
        {Variant(DateTime::fromParts(2024, 3, 7)), "07/03/2024"},
        {Variant(DateTime::fromParts(2024, 3, 7, 9, 5, 3)), "07/03/2024 09:05:03"},
        {Variant(DateTime{0.75}), "18:00:00"},
        {Variant(DateTime{0}), "00:00:00"},
        {Variant(DateTime::fromParts(100, 1, 1)), "01/01/100"},
        {Variant("già"), "già"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.in.toString(), c.expected);
    EXPECT_EQ(Variant::null().text(), "");
    EXPECT_EQ(errorOf([] { Variant::null().toString(); }), errnum::InvalidUseOfNull);
}

TEST(Variant, ItalianNumberReading) {
    struct Case {
        std::string in;
        bool ok;
        double expected;
    };
    const std::vector<Case> cases = {
        {"1.234,56", true, 1234.56},
        {"1234,56", true, 1234.56},
        {"  -3  ", true, -3},
        {"+7", true, 7},
        {"1,5E3", true, 1500},
        {"1,5e-2", true, 0.015},
        {"2D2", true, 200},
        {",5", true, 0.5},
        {"5,", true, 5},
        {"1.000.000", true, 1000000},
        {"", false, 0},
        {"   ", false, 0},
        {"-", false, 0},
        {"1,2,3", false, 0},
        {"1E", false, 0},
        {"E3", false, 0},
        {"12abc", false, 0},
        {".5", false, 0},
        {"5.", false, 0},
        {"1 000", false, 0},
    };
    for (const auto& c : cases) {
        double out = -99;
        EXPECT_EQ(parseNumber(c.in, out), c.ok) << '"' << c.in << '"';
        if (c.ok) {
            EXPECT_DOUBLE_EQ(out, c.expected) << c.in;
        }
        EXPECT_EQ(isNumeric(Variant(c.in)), c.ok) << c.in;
    }
    EXPECT_EQ(errorOf([] { Variant("1E400").toDouble(); }), errnum::Overflow);
    EXPECT_EQ(Variant("1E-400").toDouble(), 0);
}

TEST(Variant, CurrencyIsExactToFourDecimals) {
    struct Case {
        std::string in;
        std::int64_t scaled;
    };
    const std::vector<Case> cases = {
        {"0,1", 1000},
        {"1.234,5678", 12345678},
        {"0,00005", 0},  // half to even
        {"0,00015", 2},
        {"0,000151", 2},
        {"-0,00025", -2},
        {"922337203685477,5807", std::numeric_limits<std::int64_t>::max()},
        {"-922337203685477,5808", std::numeric_limits<std::int64_t>::min()},
        {"1E-20", 0},
        {"1,5E2", 1500000},
    };
    for (const auto& c : cases) EXPECT_EQ(Variant(c.in).toCurrency().scaled, c.scaled) << c.in;
    EXPECT_EQ(errorOf([] { Variant("922337203685477,5808").toCurrency(); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { Variant(1e15).toCurrency(); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { Currency::fromDouble(NAN); }), errnum::Overflow);
    EXPECT_EQ(Currency::fromDouble(0.1 + 0.2).scaled, 3000);
    EXPECT_EQ(Currency::fromDouble(2.00005).scaled, 20000);
    EXPECT_EQ(Variant(static_cast<std::int16_t>(3)).toCurrency().scaled, 30000);
}

TEST(Variant, BooleanConversions) {
    struct Case {
        Variant in;
        bool expected;
    };
    const std::vector<Case> cases = {
        {Variant("True"), true},   {Variant("vero"), true},   {Variant("FALSO"), false},
        {Variant("false"), false}, {Variant(" Vero "), true}, {Variant("0"), false},
        {Variant("-1"), true},     {Variant("0,5"), true},    {Variant(), false},
        {Variant(0.0), false},     {Variant(2), true},        {Variant(Currency{1}), true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.in.toBool(), c.expected) << c.in.text();
    EXPECT_EQ(errorOf([] { Variant("forse").toBool(); }), errnum::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant::null().toBool(); }), errnum::InvalidUseOfNull);
    EXPECT_EQ(Variant(true).toDouble(), -1);
    EXPECT_EQ(Variant(false).toLong(), 0);
}

TEST(Variant, SingleConversionChecksRange) {
    EXPECT_FLOAT_EQ(Variant("1,5").toSingle(), 1.5f);
    EXPECT_EQ(errorOf([] { Variant(1e39).toSingle(); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { Variant("x").toSingle(); }), errnum::TypeMismatch);
}

TEST(Variant, LeapDaysExistOnlyInLeapYears) {
    struct Case {
        int y, m, d;
        bool valid;
    };
    const std::vector<Case> cases = {
        {2000, 2, 29, true},  {1900, 2, 29, false}, {2023, 2, 29, false}, {2024, 2, 29, true},
        {2023, 4, 31, false}, {2023, 12, 31, true}, {2023, 13, 1, false}, {2023, 1, 0, false},
        {100, 1, 1, true},    {99, 12, 31, false},  {9999, 12, 31, true}, {10000, 1, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.d) + "/" + std::to_string(c.m) + "/" + std::to_string(c.y));
        if (c.valid) {
            int y = 0, m = 0, d = 0;
            DateTime::fromParts(c.y, c.m, c.d).parts(y, m, d);
            EXPECT_EQ(y, c.y);
            EXPECT_EQ(m, c.m);
            EXPECT_EQ(d, c.d);
        } else {
            EXPECT_EQ(errorOf([&] { DateTime::fromParts(c.y, c.m, c.d); }), errnum::InvalidCall);
        }
        char text[32];
        std::snprintf(text, sizeof text, "%02d/%02d/%04d", c.d, c.m, c.y);
        DateTime parsed;
        EXPECT_EQ(parseDate(text, parsed), c.valid) << text;
    }
    EXPECT_EQ(errorOf([] { DateTime::fromParts(2020, 1, 1, 24, 0, 0); }), errnum::InvalidCall);
}

TEST(Variant, DateSerialsMatchTheEpoch) {
    EXPECT_EQ(DateTime::fromParts(1899, 12, 30).serial, 0);
    EXPECT_EQ(DateTime::fromParts(1900, 1, 1).serial, 2);
    EXPECT_EQ(DateTime::fromParts(2000, 1, 1).serial, 36526);
    EXPECT_EQ(DateTime::fromParts(100, 1, 1).serial, -657434);
    EXPECT_EQ(DateTime::fromParts(9999, 12, 31).serial, 2958465);
    EXPECT_EQ(DateTime::fromParts(1899, 12, 29, 6, 0, 0).serial, -1.25);
    EXPECT_EQ(DateTime::fromParts(2000, 1, 1, 12, 0, 0).serial, 36526.5);
    int h = 0, mi = 0, s = 0;
    DateTime{-1.25}.timeParts(h, mi, s);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(dateText(DateTime{-1.25}), "29/12/1899 06:00:00");
    // A hair before midnight rounds to the next day, not to "24:00:00".
    EXPECT_EQ(dateText(DateTime{36526.9999999}), "02/01/2000");
    EXPECT_FALSE(DateTime{36526.9999999}.hasTime());
    EXPECT_TRUE(DateTime{36526.5}.hasTime());
}

TEST(Variant, SerialsOutsideTheDateRangeOverflow) {
    const struct {
        double serial;
        std::string text;  // "" for Overflow
    } cases[] = {
        {-657434, "01/01/100"},
        {-657434.5, "01/01/100 12:00:00"},
        {-657435, ""},
        {2958465 + 86399.0 / 86400, "31/12/9999 23:59:59"},
        {2958465.99999999, ""},
        {2958466, ""},
        {3e6, ""},
        {1e300, ""},
        {-1e300, ""},
        {NAN, ""},
        {INFINITY, ""},
    };
    for (const auto& c : cases) {
        const DateTime date{c.serial};
        const int expected = c.text.empty() ? errnum::Overflow : 0;
        EXPECT_EQ(errorOf([&] { EXPECT_EQ(dateText(date), c.text); }), expected) << c.serial;
        EXPECT_EQ(errorOf([&] { Variant(c.serial).toDate(); }), expected) << c.serial;
        EXPECT_EQ(errorOf([&] {
                      int a, b, d;
                      date.parts(a, b, d);
                      date.timeParts(a, b, d);
                  }),
                  expected)
            << c.serial;
    }
}

TEST(Variant, WeekdayCountsFromSunday) {
    const std::vector<std::pair<DateTime, int>> cases = {
        {DateTime::fromParts(1899, 12, 30), 7}, {DateTime::fromParts(1899, 12, 31), 1},
        {DateTime::fromParts(2024, 1, 1), 2},   {DateTime::fromParts(2026, 12, 6, 23, 0), 1},
        {DateTime::fromParts(1800, 1, 1), 4},   {DateTime::fromParts(100, 1, 1), 6},
    };
    for (const auto& [date, expected] : cases)
        EXPECT_EQ(date.weekday(), expected) << dateText(date);
}

TEST(Variant, DateTextsAreRead) {
    struct Case {
        std::string in;
        std::string expected;  // "" when the text is not a date
    };
    const std::vector<Case> cases = {
        {"7/3/2024", "07/03/2024"},
        {"07/03/24", "07/03/2024"},
        {"07/03/29", "07/03/2029"},
        {"07/03/30", "07/03/1930"},
        {"1/1/99", "01/01/1999"},
        {"01/01/00", "01/01/2000"},
        {"07-03-2024", "07/03/2024"},
        {"07.03.2024", "07/03/2024"},
        {"2024-03-07", "07/03/2024"},
        {"2024-03-07 13:45:10", "07/03/2024 13:45:10"},
        {"2024-03-07T13:45:10", "07/03/2024 13:45:10"},
        {" 07/03/2024 8:05 ", "07/03/2024 08:05:00"},
        {"07.03.2024 08.05.30", "07/03/2024 08:05:30"},
        {"13:30", "13:30:00"},
        {"01/01/100", "01/01/100"},
        {"31/12/9999", "31/12/9999"},
        {"29/02/2000", "29/02/2000"},
        {"29/02/1900", ""},
        {"29/02/2023", ""},
        {"01/01/10000", ""},
        {"32/01/2024", ""},
        {"13/13/2024", ""},
        {"07/03-2024", ""},
        {"07/03", ""},
        {"2024-03-07 25:00", ""},
        {"07/03/2024 12:60", ""},
        {"", ""},
        {"abc", ""},
        {"12,5", ""},
    };
    for (const auto& c : cases) {
        DateTime d;
        const bool ok = parseDate(c.in, d);
        EXPECT_EQ(ok, !c.expected.empty()) << '"' << c.in << '"';
        if (ok) {
            EXPECT_EQ(dateText(d), c.expected) << c.in;
        }
        EXPECT_EQ(isDate(Variant(c.in)), ok) << c.in;
    }
    EXPECT_EQ(errorOf([] { Variant("29/02/2023").toDate(); }), errnum::TypeMismatch);
    EXPECT_EQ(Variant(2.5).toDate().serial, 2.5);
    EXPECT_FALSE(isDate(Variant(45000)));
}

TEST(Variant, NumbersCompareByValueAcrossTypes) {
    struct Case {
        Variant a;
        Variant b;
        int expected;  // -1, 0, 1
    };
    const std::vector<Case> cases = {
        {Variant(static_cast<std::int16_t>(5)), Variant(5.0), 0},
        {Variant(5), Variant(Currency{50000}), 0},
        {Variant(true), Variant(-1), 0},
        {Variant(2), Variant(10), -1},
        {Variant(0.5f), Variant(0.5), 0},
        {Variant(), Variant(0), 0},
        {Variant(), Variant(""), 0},
        {Variant("10"), Variant(9), 1},  // a numeric text compares as a number
        {Variant(9), Variant("10"), -1},
        {Variant(" 1.000 "), Variant(1000), 0},
        {Variant(5), Variant("abc"), -1},  // a number sorts before other text
        {Variant("abc"), Variant(5), 1},
        {Variant("10"), Variant("9"), -1},  // two texts compare as texts
        {Variant("città"), Variant("CITTÀ"), 0},
        {Variant("abc"), Variant("ABD"), -1},
        {Variant(DateTime::fromParts(2024, 3, 7)), Variant("07/03/2024"), 0},
        {Variant(DateTime::fromParts(2024, 3, 7)), Variant(45358), 0},
        {Variant(true), Variant("Vero"), 0},
        {Variant(Currency{1}), Variant(0.0001), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a.text() + " vs " + c.b.text());
        const auto r = c.a <=> c.b;
        EXPECT_EQ(r < 0, c.expected < 0);
        EXPECT_EQ(r == 0, c.expected == 0);
        EXPECT_EQ(r > 0, c.expected > 0);
        EXPECT_EQ(c.a == c.b, c.expected == 0);
    }
}

TEST(Variant, NullIsUnorderedButEqualToNull) {
    EXPECT_TRUE(Variant::null() == Variant::null());
    EXPECT_FALSE(Variant::null() == Variant());
    EXPECT_FALSE(Variant(0) == Variant::null());
    EXPECT_EQ(Variant(1) <=> Variant::null(), std::partial_ordering::unordered);
    EXPECT_FALSE(isNumeric(Variant::null()));
    EXPECT_TRUE(isNumeric(Variant()));
    EXPECT_FALSE(isDate(Variant::null()));
}

TEST(Variant, WholeNumbersPickTheirType) {
    EXPECT_EQ(Variant(static_cast<std::int16_t>(1)).type(), VarType::Integer);
    EXPECT_EQ(Variant(1).type(), VarType::Long);
    EXPECT_EQ(Variant(1L).type(), VarType::Long);
    EXPECT_EQ(Variant(std::size_t{3}).type(), VarType::Long);
    EXPECT_EQ(Variant(5000000000LL).type(), VarType::Double);
    EXPECT_EQ(Variant(5000000000LL).toString(), "5000000000");
    EXPECT_EQ(Variant(std::string_view("x")).type(), VarType::String);
    EXPECT_TRUE(Variant(true).isNumberType());
    EXPECT_FALSE(Variant(DateTime{}).isNumberType());
}

TEST(Variant, IntRoundsDownFixTowardsZero) {
    const std::vector<std::tuple<double, double, double>> cases = {
        {2.7, 2, 2}, {-2.7, -3, -2}, {-2.0, -2, -2}, {0.5, 0, 0}, {-0.5, -1, 0},
    };
    for (const auto& [in, i, f] : cases) {
        EXPECT_EQ(Int(in), i) << in;
        EXPECT_EQ(Fix(in), f) << in;
    }
}

}  // namespace
}  // namespace tolvane
