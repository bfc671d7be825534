// How a printed list's texts read as numbers and dates, which kind each column is, and a number's
// text without its display format.
#include "output/list_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane {
namespace {

using Kind = ListColumnKind;

TEST(ListValueTest, ItalianNumbersAndRealDaysReadAnythingElseIsText) {
    struct Case {
        std::string text;
        Kind kind;
        double number;
        int decimals;
        bool grouped;
    };
    for (const Case& c : std::vector<Case>{
             {"1.250,50", Kind::Number, 1250.5, 2, true},
             {"-1.000.000", Kind::Number, -1000000, 0, true},
             {"1234567", Kind::Number, 1234567, 0, false},
             {"0,5", Kind::Number, 0.5, 1, false},
             {"-0,00", Kind::Number, 0, 2, false},
             {"123456789012345", Kind::Number, 123456789012345, 0, false},
             {"1234567890123456", Kind::Text, 0, 0, false},  // more than a number keeps
             {"007", Kind::Text, 0, 0, false},
             {"1.23", Kind::Text, 0, 0, false},
             {"1234.567", Kind::Text, 0, 0, false},
             {"1,", Kind::Text, 0, 0, false},
             {",5", Kind::Text, 0, 0, false},
             {"-", Kind::Text, 0, 0, false},
             {"+3", Kind::Text, 0, 0, false},
             {"", Kind::Text, 0, 0, false},
             {"31/12/2026", Kind::Date, 0, 0, false},
             {"29/02/2024", Kind::Date, 0, 0, false},
             {"29/02/2023", Kind::Text, 0, 0, false},
             {"31/04/2024", Kind::Text, 0, 0, false},
             {"01/01/1899", Kind::Text, 0, 0, false},
             {"1/1/2024", Kind::Text, 0, 0, false},
         }) {
        const ListValue value = readListValue(c.text);
        EXPECT_EQ(value.kind, c.kind) << c.text;
        if (c.kind != Kind::Number) continue;
        EXPECT_DOUBLE_EQ(value.number, c.number) << c.text;
        EXPECT_EQ(value.decimals, c.decimals) << c.text;
        EXPECT_EQ(value.grouped, c.grouped) << c.text;
    }
    const ListValue day = readListValue("29/02/2024");
    EXPECT_EQ(day.year * 10000 + day.month * 100 + day.day, 20240229);
}

TEST(ListColumnKindsTest, AColumnIsNumbersOrDatesOnlyWhenEveryValueIs) {
    PrintList list;
    list.captions = {"Importo", "Data", "Codice", "Misto", "Vuota", "Nota", "Noto", "Corta"};
    list.rows = {{"1.250,50", "31/12/2026", "007", "12", "", "1234567", "1,5", "3"},
                 {"", "", "12", "31/12/2026", "", "31/12/2026", "x"},
                 {"-3", "01/01/2027", "13", "x", ""}};
    // The list knows its sixth column (text) and its seventh (numbers, one value not).
    const std::vector<Kind> known = {Kind::Unknown, Kind::Unknown, Kind::Unknown, Kind::Unknown,
                                     Kind::Unknown, Kind::Text,    Kind::Number};
    EXPECT_EQ(listColumnKinds(list, known),
              (std::vector<Kind>{Kind::Number, Kind::Date, Kind::Text, Kind::Text, Kind::Text,
                                 Kind::Text, Kind::Number, Kind::Number}));
    EXPECT_EQ(listColumnKinds(list, {}).at(5), Kind::Text) << "a number and a date";
}

TEST(PlainNumberTextTest, ThousandsAndShownDecimalsGoOtherTextsStay) {
    for (const auto& [shown, plain] : std::vector<std::pair<std::string, std::string>>{
             {"1.250,50", "1250,5"},
             {"-1.000.000", "-1000000"},
             {"3,00", "3"},
             {"-0,00", "0"},
             {"0,05", "0,05"},
             {"007", "007"},
             {"1.23", "1.23"},
             {"31/12/2026", "31/12/2026"},
         }) {
        EXPECT_EQ(plainNumberText(shown), plain) << shown;
    }
}

}  // namespace
}  // namespace tolvane
