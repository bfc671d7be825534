// How the texts of a printed list read as values: Italian numbers ("1.250,50", "-3"), dates
// (dd/mm/yyyy), and the kind of each column, as its list knows it or as its values all read.
// Never decides a cell's kind by the cell alone: files and workbooks type whole columns.
#pragma once

#include <string>
#include <vector>

#include "output/list_page_drawing.h"

namespace tolvane {

// What a column holds. Unknown: the list does not say; its values decide (listColumnKinds).
enum class ListColumnKind { Unknown, Text, Number, Date };

// One text as a value. A number has an optional "-", whole digits plain or in groups of three
// after the first ("1.234.567"), no leading zero ("007" is a code), an optional "," with
// decimals, and at most 15 digits; a date is a real day written dd/mm/yyyy from 1900 on.
struct ListValue {
    ListColumnKind kind = ListColumnKind::Text;
    double number = 0;
    int decimals = 0;      // digits after the comma, as shown
    bool grouped = false;  // thousands separated by "."
    int year = 0, month = 0, day = 0;
};
ListValue readListValue(const std::string& text);

// The kind of each caption's column: a known kind (Text, Number, Date) stays; an Unknown one, or
// one the list does not give, is Number when every value that is not empty reads as a number,
// Date when every one reads as a date, and Text otherwise (also when all are empty).
std::vector<ListColumnKind> listColumnKinds(const PrintList& list,
                                            const std::vector<ListColumnKind>& known);

// A number without its display format: no thousands separator, only the decimals it needs
// ("1.250,50" gives "1250,5", "3,00" gives "3"); any other text as it is.
std::string plainNumberText(const std::string& text);

}  // namespace tolvane
