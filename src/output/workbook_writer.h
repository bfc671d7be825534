// The list as a workbook (.xlsx, through libxlsxwriter): the captions as a bold first row, then
// one row per list row, each column typed as a whole: numbers, dates or texts.
// Never leaves a partial workbook at the target: it is written whole or not at all.
#pragma once

#include <string>
#include <vector>

#include "output/list_page_drawing.h"
#include "output/list_values.h"

namespace tolvane {

// known: the kinds of the columns as the list knows them (listColumnKinds reads the others from
// their values). A number column's cells are numbers that show as on screen (thousands
// separator and decimals as their texts have them), or with plainNumbers bare numbers; a date
// column's cells are dates shown dd/mm/yyyy; every other cell is its text as it is ("007",
// "1234567"). A value that its column's kind does not read stays text. Raises 75 on failure.
void writeWorkbook(const PrintList& list, const std::vector<ListColumnKind>& known,
                   bool plainNumbers, const std::string& path);

}  // namespace tolvane
