// Rules of the value type: conversions, overflow and type errors, Italian text forms, dates
// and comparisons. Every case is a row of a table; no case depends on the clock or locale.
#include "platform/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "support/error_number.h"

namespace tolvane {
namespace {

using testing::errorOf;

TEST(Variant, WholeNumbersRoundHalfToEvenIntDownFixToZeroAndCheckRange) {
    const std::vector<std::pair<double, int>> halves = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {2.5001, 3},
    };
    for (const auto& [in, expected] : halves) {
        SCOPED_TRACE(in);
        EXPECT_EQ(Variant(in).toInteger(), expected);
        EXPECT_EQ(Variant(in).toLong(), expected);
        EXPECT_EQ(Variant(Currency::fromDouble(in)).toLong(), expected);
    }
    EXPECT_EQ(Variant("2,5").toInteger(), 2);
    EXPECT_EQ(Variant("3,5").toLong(), 4);
    const std::vector<std::tuple<double, double, double>> intFix = {
        {2.7, 2, 2}, {-2.7, -3, -2}, {-2.0, -2, -2}, {0.5, 0, 0}, {-0.5, -1, 0},
    };
    for (const auto& [in, i, f] : intFix) {
        EXPECT_EQ(Int(in), i) << in;
        EXPECT_EQ(Fix(in), f) << in;
    }

    const std::vector<std::pair<Variant, int>> values = {
        {Variant(32767), 32767}, {Variant(" -32768 "), -32768},         {Variant(), 0},
        {Variant(true), -1},     {Variant(Currency{325665000}), 32566},
    };
    for (const auto& [in, expected] : values) EXPECT_EQ(in.toInteger(), expected) << in.text();
    const std::vector<std::pair<Variant, int>> errors = {
        {Variant(32768), errnum::Overflow},          {Variant(-32769), errnum::Overflow},
        {Variant("abc"), errnum::TypeMismatch},      {Variant(""), errnum::TypeMismatch},
        {Variant::null(), errnum::InvalidUseOfNull},
    };
    for (const auto& c : errors) {
        EXPECT_EQ(errorOf([&] { c.first.toInteger(); }), c.second) << c.first.text();
    }
    EXPECT_EQ(Variant(-2147483648.0).toLong(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(errorOf([] { Variant(2147483648.0).toLong(); }), errnum::Overflow);
    EXPECT_FLOAT_EQ(Variant("1,5").toSingle(), 1.5f);
    EXPECT_EQ(errorOf([] { Variant(1e39).toSingle(); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { Variant("x").toSingle(); }), errnum::TypeMismatch);
}

TEST(Variant, TextOfEachTypeIsItalian) {
    const std::vector<std::pair<Variant, std::string>> cases = {
        {Variant(), ""},
        {Variant(-0.0), "0"},
        {Variant(0.1 + 0.2), "0,3"},
        {Variant(999999999999999.0), "999999999999999"},
        {Variant(1e15), "1E+15"},
        {Variant(0.0001), "0,0001"},
        {Variant(0.00001), "1E-05"},
        {Variant(-1.5e-7), "-1,5E-07"},
        {Variant(0.1f), "0,1"},
        {Variant(true), "Vero"},
        {Variant(Currency{12345000}), "1234,5"},
        {Variant(Currency{-1}), "-0,0001"},
        {Variant(Currency{std::numeric_limits<std::int64_t>::min()}), "-922337203685477,5808"},
        {Variant(DateTime::fromParts(2024, 3, 7)), "07/03/2024"},
        {Variant(DateTime::fromParts(2024, 3, 7, 9, 5, 3)), "07/03/2024 09:05:03"},
        {Variant(DateTime{0.75}), "18:00:00"},
        {Variant(DateTime{0}), "00:00:00"},
        {Variant(DateTime::fromParts(100, 1, 1)), "01/01/100"},
    };
    for (const auto& [in, expected] : cases) EXPECT_EQ(in.toString(), expected) << in.text();
    EXPECT_EQ(Variant::null().text(), "");
    EXPECT_EQ(errorOf([] { Variant::null().toString(); }), errnum::InvalidUseOfNull);
}

TEST(Variant, ItalianNumberReading) {
    const std::vector<std::pair<std::string, double>> numbers = {
        {"1.234,56", 1234.56}, {"  -3  ", -3}, {"1,5E3", 1500}, {"1,5e-2", 0.015},
        {"2D2", 200},          {",5", 0.5},    {"5,", 5},       {"1.000.000", 1000000},
    };
    for (const auto& [in, expected] : numbers) {
        double out = -99;
        EXPECT_TRUE(parseNumber(in, out)) << in;
        EXPECT_DOUBLE_EQ(out, expected) << in;
        EXPECT_TRUE(isNumeric(Variant(in))) << in;
    }
    for (const char* in : {"", "-", "1,2,3", "1E", "E3", "12abc", ".5", "1 000"}) {
        double out = -99;
        EXPECT_FALSE(parseNumber(in, out)) << '"' << in << '"';
        EXPECT_FALSE(isNumeric(Variant(in))) << '"' << in << '"';
    }
    EXPECT_EQ(errorOf([] { Variant("1E400").toDouble(); }), errnum::Overflow);
    EXPECT_EQ(Variant("1E-400").toDouble(), 0);
}

TEST(Variant, CurrencyIsExactToFourDecimalsRoundingHalfToEven) {
    const std::vector<std::pair<std::string, std::int64_t>> cases = {
        {"1.234,5678", 12345678},
        {"0,00005", 0},
        {"0,00015", 2},
        {"-0,00025", -2},
        {"922337203685477,5807", std::numeric_limits<std::int64_t>::max()},
        {"-922337203685477,5808", std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& [in, scaled] : cases) EXPECT_EQ(Variant(in).toCurrency().scaled, scaled) << in;
    EXPECT_EQ(errorOf([] { Variant("922337203685477,5808").toCurrency(); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { Variant(1e15).toCurrency(); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { Currency::fromDouble(NAN); }), errnum::Overflow);
    EXPECT_EQ(Currency::fromDouble(0.1 + 0.2).scaled, 3000);
    EXPECT_EQ(Currency::fromDouble(2.00005).scaled, 20000);
}

TEST(Variant, BooleanConversions) {
    const std::vector<std::pair<Variant, bool>> cases = {
        {Variant("True"), true},   {Variant("vero"), true},   {Variant("FALSO"), false},
        {Variant("false"), false}, {Variant(" Vero "), true}, {Variant("0"), false},
        {Variant("-1"), true},     {Variant("0,5"), true},    {Variant(), false},
        {Variant(0.0), false},     {Variant(2), true},        {Variant(Currency{1}), true},
    };
    for (const auto& [in, expected] : cases) EXPECT_EQ(in.toBool(), expected) << in.text();
    EXPECT_EQ(errorOf([] { Variant("forse").toBool(); }), errnum::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant::null().toBool(); }), errnum::InvalidUseOfNull);
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
            EXPECT_EQ(std::tie(y, m, d), std::tie(c.y, c.m, c.d));
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

TEST(Variant, DateSerialsCountFromTheEpochAndWeekdaysFromSunday) {
    EXPECT_EQ(DateTime::fromParts(1899, 12, 30).serial, 0);
    EXPECT_EQ(DateTime::fromParts(1900, 1, 1).serial, 2);
    EXPECT_EQ(DateTime::fromParts(100, 1, 1).serial, -657434);
    EXPECT_EQ(DateTime::fromParts(9999, 12, 31).serial, 2958465);
    EXPECT_EQ(DateTime::fromParts(1899, 12, 29, 6, 0, 0).serial, -1.25);
    EXPECT_EQ(DateTime::fromParts(2000, 1, 1, 12, 0, 0).serial, 36526.5);
    EXPECT_EQ(dateText(DateTime{-1.25}), "29/12/1899 06:00:00");
    // A hair before midnight rounds to the next day, not to "24:00:00".
    EXPECT_EQ(dateText(DateTime{36526.9999999}), "02/01/2000");
    EXPECT_FALSE(DateTime{36526.9999999}.hasTime());
    EXPECT_TRUE(DateTime{36526.5}.hasTime());

    const std::vector<std::pair<DateTime, int>> weekdays = {
        {DateTime::fromParts(1899, 12, 30), 7}, {DateTime::fromParts(1899, 12, 31), 1},
        {DateTime::fromParts(2024, 1, 1), 2},   {DateTime::fromParts(2026, 12, 6, 23, 0), 1},
        {DateTime::fromParts(1800, 1, 1), 4},   {DateTime::fromParts(100, 1, 1), 6},
    };
    for (const auto& [date, expected] : weekdays)
        EXPECT_EQ(date.weekday(), expected) << dateText(date);
}

TEST(Variant, SerialsOutsideTheDateRangeOverflow) {
    // The text of the date, "" when it overflows.
    const std::vector<std::pair<double, std::string>> cases = {
        {-657434, "01/01/100"},
        {-657434.5, "01/01/100 12:00:00"},
        {-657435, ""},
        {2958465 + 86399.0 / 86400, "31/12/9999 23:59:59"},
        {2958465.99999999, ""},
        {1e300, ""},
        {NAN, ""},
        {INFINITY, ""},
    };
    for (const auto& c : cases) {
        const DateTime date{c.first};
        const int expected = c.second.empty() ? errnum::Overflow : 0;
        EXPECT_EQ(errorOf([&] { EXPECT_EQ(dateText(date), c.second); }), expected) << c.first;
        EXPECT_EQ(errorOf([&] { Variant(c.first).toDate(); }), expected) << c.first;
        EXPECT_EQ(errorOf([&] {
                      int a, b, d;
                      date.parts(a, b, d);
                      date.timeParts(a, b, d);
                  }),
                  expected)
            << c.first;
    }
}

TEST(Variant, DateTextsAreRead) {
    const std::vector<std::pair<std::string, std::string>> dates = {
        {"7/3/2024", "07/03/2024"},
        {"07/03/29", "07/03/2029"},
        {"07/03/30", "07/03/1930"},
        {"07-03-2024", "07/03/2024"},
        {"2024-03-07T13:45:10", "07/03/2024 13:45:10"},
        {" 07/03/2024 8:05 ", "07/03/2024 08:05:00"},
        {"07.03.2024 08.05.30", "07/03/2024 08:05:30"},
        {"13:30", "13:30:00"},
        {"01/01/100", "01/01/100"},
    };
    for (const auto& [in, expected] : dates) {
        DateTime d;
        EXPECT_TRUE(parseDate(in, d)) << in;
        EXPECT_EQ(dateText(d), expected) << in;
        EXPECT_TRUE(isDate(Variant(in))) << in;
    }
    for (const char* in :
         {"07/03-2024", "07/03", "2024-03-07 25:00", "07/03/2024 12:60", "", "12,5"}) {
        DateTime d;
        EXPECT_FALSE(parseDate(in, d)) << '"' << in << '"';
        EXPECT_FALSE(isDate(Variant(in))) << '"' << in << '"';
    }
    EXPECT_EQ(errorOf([] { Variant("29/02/2023").toDate(); }), errnum::TypeMismatch);
    EXPECT_EQ(Variant(2.5).toDate().serial, 2.5);
    EXPECT_FALSE(isDate(Variant(45000)));
}

// Each row is checked both ways round.
TEST(Variant, NumbersCompareByValueAcrossTypes) {
    const std::vector<std::tuple<Variant, Variant, int>> cases = {
        {Variant(5), Variant(Currency{50000}), 0},
        {Variant(true), Variant(-1), 0},
        {Variant(), Variant(0), 0},
        {Variant(), Variant(""), 0},
        {Variant("10"), Variant(9), 1},  // a numeric text compares as a number
        {Variant(" 1.000 "), Variant(1000), 0},
        {Variant(5), Variant("abc"), -1},   // a number sorts before other text
        {Variant("10"), Variant("9"), -1},  // two texts compare as texts
        {Variant("città"), Variant("CITTÀ"), 0},
        {Variant(DateTime::fromParts(2024, 3, 7)), Variant("07/03/2024"), 0},
        {Variant(DateTime::fromParts(2024, 3, 7)), Variant(45358), 0},
        {Variant(true), Variant("Vero"), 0},
    };
    const auto sign = [](std::partial_ordering r) { return r < 0 ? -1 : r > 0 ? 1 : 0; };
    for (const auto& [a, b, expected] : cases) {
        SCOPED_TRACE(a.text() + " vs " + b.text());
        EXPECT_EQ(sign(a <=> b), expected);
        EXPECT_EQ(sign(b <=> a), -expected);
        EXPECT_EQ(a == b, expected == 0);
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
    EXPECT_EQ(Variant(std::size_t{3}).type(), VarType::Long);
    EXPECT_EQ(Variant(5000000000LL).type(), VarType::Double);
    EXPECT_EQ(Variant(5000000000LL).toString(), "5000000000");
    EXPECT_EQ(Variant(std::string_view("x")).type(), VarType::String);
}

}  // namespace
}  // namespace tolvane
