// The list as a workbook (.xlsx, through libxlsxwriter): the captions as a bold first row, then
// one row per list row, each column typed as a whole: numbers, dates or texts.
// Never leaves a partial workbook at the target: it is written whole or not at all.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "output/list_page_drawing.h"
#include "output/list_values.h"

namespace tolvane {

// The most characters a workbook cell holds, counted as its readers count them (UTF-16 units).
inline constexpr std::size_t kWorkbookCellChars = 32767;

// A cell of the sheet, from 0: row 0 holds the captions, row r the list's row r - 1.
struct WorkbookCell {
    std::size_t row = 0;
    std::size_t column = 0;
    friend bool operator==(const WorkbookCell&, const WorkbookCell&) = default;
};

// known: the kinds of the columns as the list knows them (listColumnKinds reads the others from
// their values). A number column's cells are numbers that show as on screen (thousands
// separator and decimals as their texts have them), or with plainNumbers bare numbers; a date
// column's cells are dates shown dd/mm/yyyy; every other cell is its text as it is ("007",
// "1234567"). A value that its column's kind does not read stays text. A text longer than a cell
// holds keeps its first kWorkbookCellChars characters; the cells cut so are returned, in row
// order. Raises 75 on failure, and when the list has more rows or columns than a sheet.
std::vector<WorkbookCell> writeWorkbook(const PrintList& list,
                                        const std::vector<ListColumnKind>& known, bool plainNumbers,
                                        const std::string& path);

// What the user is told of the cells cut in the workbook at path: one message for all of them,
// naming each column by caption and letter with its rows as the sheet numbers them.
std::string cutCellsNotice(const PrintList& list, const std::vector<WorkbookCell>& cut,
                           const std::string& path);

}  // namespace tolvane
