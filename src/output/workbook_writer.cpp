// Workbooks of printed lists; each column's cells are of the column's kind.
// Never writes at the target before the whole workbook is there.
#include "output/workbook_writer.h"

#include <xlsxwriter.h>

#include <map>
#include <utility>

#include "platform/numbered_error.h"
#include "platform/save_file.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "MotoreStampaLista";

// The display format of a number as its text shows it: "#,##0.00" for "1.250,50", "0" for "12".
std::string numberFormat(const ListValue& value) {
    std::string format = value.grouped ? "#,##0" : "0";
    if (value.decimals > 0)
        format += "." + std::string(static_cast<std::size_t>(value.decimals), '0');
    return format;
}

}  // namespace

void writeWorkbook(const PrintList& list, const std::vector<ListColumnKind>& known,
                   bool plainNumbers, const std::string& path) {
    const std::vector<ListColumnKind> kinds = listColumnKinds(list, known);
    SaveFile::Options options;
    options.source = kSource;
    SaveFile file(path, options);
    lxw_workbook* book = workbook_new(file.temporaryPath().c_str());
    if (book == nullptr) {
        throw NumberedError(errnum::FileAccess, "Impossibile scrivere il file " + path, kSource);
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    // One format for each look of the numbers (grouping, decimals), made when first met.
    std::map<std::pair<bool, int>, lxw_format*> numberFormats;
    auto formatOf = [&](const ListValue& value) -> lxw_format* {
        if (plainNumbers) return nullptr;
        lxw_format*& format = numberFormats[{value.grouped, value.decimals}];
        if (format == nullptr) {
            format = workbook_add_format(book);
            format_set_num_format(format, numberFormat(value).c_str());
        }
        return format;
    };
    for (std::size_t c = 0; c < list.captions.size(); ++c) {
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), list.captions[c].c_str(), bold);
    }
    lxw_row_t r = 1;
    for (const auto& row : list.rows) {
        for (std::size_t c = 0; c < row.size() && c < list.captions.size(); ++c) {
            const std::string& text = row[c];
            if (text.empty()) continue;
            const auto col = static_cast<lxw_col_t>(c);
            const ListValue value =
                kinds[c] == ListColumnKind::Text ? ListValue{} : readListValue(text);
            if (value.kind == ListColumnKind::Number && kinds[c] == ListColumnKind::Number) {
                worksheet_write_number(sheet, r, col, value.number, formatOf(value));
            } else if (value.kind == ListColumnKind::Date && kinds[c] == ListColumnKind::Date) {
                lxw_datetime when{value.year, value.month, value.day, 0, 0, 0};
                worksheet_write_datetime(sheet, r, col, &when, date);
            } else {
                worksheet_write_string(sheet, r, col, text.c_str(), nullptr);
            }
        }
        ++r;
    }
    const lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR) {
        throw NumberedError(
            errnum::FileAccess,
            "Impossibile scrivere il file " + path + " (" + lxw_strerror(error) + ")", kSource);
    }
    file.commit();
}

}  // namespace tolvane
