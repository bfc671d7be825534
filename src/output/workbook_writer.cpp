// Workbooks of printed lists; the cells' kinds come from their texts as the list shows them.
// Never writes at the target before the whole workbook is there.
#include "output/workbook_writer.h"

#include <xlsxwriter.h>

#include <cctype>
#include <cstdlib>

#include "platform/numbered_error.h"
#include "platform/save_file.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "MotoreStampaLista";

bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// Digits in groups of three after the first, as "1.234.567" shows them; or plain digits.
bool integerPart(const std::string& s, std::string& digits) {
    digits.clear();
    if (s.find('.') == std::string::npos) {
        digits = s;
        return allDigits(s);
    }
    std::size_t start = 0;
    bool first = true;
    for (;;) {
        const std::size_t dot = s.find('.', start);
        const std::string group = s.substr(start, dot == std::string::npos ? dot : dot - start);
        if (!allDigits(group) || (first ? group.size() > 3 : group.size() != 3)) return false;
        digits += group;
        first = false;
        if (dot == std::string::npos) return true;
        start = dot + 1;
    }
}

bool isDate(const std::string& s, WorkbookCell& cell) {
    if (s.size() != 10 || s[2] != '/' || s[5] != '/') return false;
    const std::string d = s.substr(0, 2), m = s.substr(3, 2), y = s.substr(6);
    if (!allDigits(d) || !allDigits(m) || !allDigits(y)) return false;
    cell.day = std::atoi(d.c_str());
    cell.month = std::atoi(m.c_str());
    cell.year = std::atoi(y.c_str());
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (cell.year < 1900 || cell.month < 1 || cell.month > 12 || cell.day < 1 ||
        cell.day > days[cell.month - 1]) {
        return false;
    }
    if (cell.month == 2 && cell.day == 29 &&
        !(cell.year % 4 == 0 && (cell.year % 100 != 0 || cell.year % 400 == 0))) {
        return false;
    }
    cell.kind = WorkbookCell::Kind::Date;
    return true;
}

}  // namespace

WorkbookCell workbookCell(const std::string& text) {
    WorkbookCell cell;
    if (isDate(text, cell)) return cell;
    std::string s = text;
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.erase(0, 1);
    }
    const std::size_t comma = s.find(',');
    const std::string whole = s.substr(0, comma);
    const std::string fraction = comma == std::string::npos ? "" : s.substr(comma + 1);
    std::string digits;
    if (!integerPart(whole, digits)) return cell;
    if (comma != std::string::npos && !allDigits(fraction)) return cell;
    if (digits.size() > 1 && digits[0] == '0') return cell;
    if (digits.size() + fraction.size() > 15) return cell;
    cell.kind = WorkbookCell::Kind::Number;
    cell.number =
        std::strtod((digits + "." + (fraction.empty() ? "0" : fraction)).c_str(), nullptr);
    if (negative) cell.number = -cell.number;
    return cell;
}

void writeWorkbook(const PrintList& list, bool numbersAsText, const std::string& path) {
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
    for (std::size_t c = 0; c < list.captions.size(); ++c) {
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), list.captions[c].c_str(), bold);
    }
    lxw_row_t r = 1;
    for (const auto& row : list.rows) {
        for (std::size_t c = 0; c < row.size() && c < list.captions.size(); ++c) {
            const std::string& text = row[c];
            if (text.empty()) continue;
            const auto col = static_cast<lxw_col_t>(c);
            const WorkbookCell cell = workbookCell(text);
            if (cell.kind == WorkbookCell::Kind::Number && !numbersAsText) {
                worksheet_write_number(sheet, r, col, cell.number, nullptr);
            } else if (cell.kind == WorkbookCell::Kind::Date) {
                lxw_datetime when{cell.year, cell.month, cell.day, 0, 0, 0};
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
