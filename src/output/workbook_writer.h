// The list as a workbook (.xlsx, through libxlsxwriter): the captions as a bold first row, then
// one row per list row with numbers, dates and texts each as their own kind of cell.
// Never leaves a partial workbook at the target: it is written whole or not at all.
#pragma once

#include <string>

#include "output/list_page_drawing.h"

namespace tolvane {

// A cell's text as the workbook holds it: "1.234,5" and "-3" are numbers, "31/12/2024" is a
// date, anything else (also "007", which a number would lose its zeros) is text.
struct WorkbookCell {
    enum class Kind { Text, Number, Date } kind = Kind::Text;
    double number = 0;
    int year = 0, month = 0, day = 0;
};
WorkbookCell workbookCell(const std::string& text);

// numbersAsText: numbers are written as the texts they are shown as. Raises 75 on failure.
void writeWorkbook(const PrintList& list, bool numbersAsText, const std::string& path);

}  // namespace tolvane
