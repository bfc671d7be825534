// Workbooks of printed lists; each column's cells are of the column's kind, and every text is one
// a reader opens: cut to what a cell holds, with the escapes XML and the readers need.
// Never writes at the target before the whole workbook is there, nor leaves a cell out.
#include "output/workbook_writer.h"

#include <xlsxwriter.h>

#include <map>
#include <string_view>
#include <utility>

#include "platform/numbered_error.h"
#include "platform/save_file.h"
#include "platform/scope_guard.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "MotoreStampaLista";
// Rows and columns the notice names one by one; the others it counts.
constexpr std::size_t kNamedRows = 10;
constexpr std::size_t kNamedColumns = 10;

// The display format of a number as its text shows it: "#,##0.00" for "1.250,50", "0" for "12".
std::string numberFormat(const ListValue& value) {
    std::string format = value.grouped ? "#,##0" : "0";
    if (value.decimals > 0)
        format += "." + std::string(static_cast<std::size_t>(value.decimals), '0');
    return format;
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// "_x" with four hex digits and "_": what a reader takes for an escaped character.
bool escapeAt(std::string_view s) {
    return s.size() >= 7 && s[0] == '_' && s[1] == 'x' && isHex(s[2]) && isHex(s[3]) &&
           isHex(s[4]) && isHex(s[5]) && s[6] == '_';
}

// Most texts need nothing of cellText.
bool plainCell(std::string_view text) {
    return text.size() <= kWorkbookCellChars && text.find('_') == std::string_view::npos &&
           text.find("\xEF\xBF") == std::string_view::npos &&
           text.find('\0') == std::string_view::npos;
}

// The text as the library is to write it, into out. An "_xHHHH_" of the value gets its "_"
// escaped ("_x005F_") so that it reads back as typed; U+FFFE and U+FFFF, which XML cannot hold,
// and a zero byte, which would end the text the library is given, go as escapes too (the library
// escapes the other control characters itself). The text stops before the character that would
// pass kWorkbookCellChars, as readers count it and as the library counts what it is given; true
// when it was cut.
bool cellText(std::string_view text, std::string& out) {
    out.clear();
    std::size_t units = 0;
    std::size_t given = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const std::string_view one = text.substr(i, n);
        std::string_view piece = one;
        if (lead == 0) {
            piece = "_x0000_";
        } else if (one == "\xEF\xBF\xBE") {
            piece = "_xFFFE_";
        } else if (one == "\xEF\xBF\xBF") {
            piece = "_xFFFF_";
        } else if (lead == '_' && escapeAt(text.substr(i))) {
            piece = "_x005F_";
        }
        const std::size_t pieceUnits = n == 4 ? 2 : 1;
        const std::size_t pieceGiven = piece == one ? 1 : piece.size();
        if (units + pieceUnits > kWorkbookCellChars || given + pieceGiven > kWorkbookCellChars)
            return true;
        out.append(piece);
        units += pieceUnits;
        given += pieceGiven;
        i += one.size();
    }
    return false;
}

std::string withDots(std::size_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ".");
    return digits;
}

std::string cellName(std::size_t row, std::size_t column) {
    char name[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell(name, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column));
    return name;
}

}  // namespace

std::vector<WorkbookCell> writeWorkbook(const PrintList& list,
                                        const std::vector<ListColumnKind>& known, bool plainNumbers,
                                        const std::string& path) {
    if (list.captions.size() > LXW_COL_MAX) {
        throw NumberedError(errnum::FileAccess,
                            "Impossibile scrivere il file " + path +
                                ": un foglio di Excel ha al massimo " + withDots(LXW_COL_MAX) +
                                " colonne, la lista ne ha " + withDots(list.captions.size()),
                            kSource);
    }
    if (list.rows.size() >= LXW_ROW_MAX) {
        throw NumberedError(errnum::FileAccess,
                            "Impossibile scrivere il file " + path +
                                ": un foglio di Excel ha al massimo " + withDots(LXW_ROW_MAX - 1) +
                                " righe oltre ai titoli, la lista ne ha " +
                                withDots(list.rows.size()),
                            kSource);
    }
    const std::vector<ListColumnKind> kinds = listColumnKinds(list, known);
    SaveFile::Options options;
    options.source = kSource;
    SaveFile file(path, options);
    lxw_workbook* book = workbook_new(file.temporaryPath().c_str());
    if (book == nullptr) {
        throw NumberedError(errnum::FileAccess, "Impossibile scrivere il file " + path, kSource);
    }
    // A book left on a refusal is let go of without being written.
    const ScopeGuard release([&book] {
        if (book != nullptr) lxw_workbook_free(book);
    });
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
    // A cell the library refuses would be missing from the sheet: the workbook is not written.
    auto check = [&](lxw_error error, std::size_t row, std::size_t column) {
        if (error == LXW_NO_ERROR) return;
        throw NumberedError(errnum::FileAccess,
                            "Impossibile scrivere la cella " + cellName(row, column) +
                                " del file " + path + " (errore " +
                                std::to_string(static_cast<int>(error)) + ")",
                            kSource);
    };
    std::vector<WorkbookCell> cut;
    std::string escaped;
    auto writeText = [&](std::size_t row, std::size_t column, const std::string& text,
                         lxw_format* format) {
        const std::string* written = &text;
        if (!plainCell(text)) {
            if (cellText(text, escaped)) cut.push_back({row, column});
            written = &escaped;
        }
        check(worksheet_write_string(sheet, static_cast<lxw_row_t>(row),
                                     static_cast<lxw_col_t>(column), written->c_str(), format),
              row, column);
    };
    for (std::size_t c = 0; c < list.captions.size(); ++c) writeText(0, c, list.captions[c], bold);
    std::size_t r = 1;
    for (const auto& row : list.rows) {
        for (std::size_t c = 0; c < row.size() && c < list.captions.size(); ++c) {
            const std::string& text = row[c];
            if (text.empty()) continue;
            const auto col = static_cast<lxw_col_t>(c);
            const auto sheetRow = static_cast<lxw_row_t>(r);
            const ListValue value =
                kinds[c] == ListColumnKind::Text ? ListValue{} : readListValue(text);
            if (value.kind == ListColumnKind::Number && kinds[c] == ListColumnKind::Number) {
                check(worksheet_write_number(sheet, sheetRow, col, value.number, formatOf(value)),
                      r, c);
            } else if (value.kind == ListColumnKind::Date && kinds[c] == ListColumnKind::Date) {
                lxw_datetime when{value.year, value.month, value.day, 0, 0, 0};
                check(worksheet_write_datetime(sheet, sheetRow, col, &when, date), r, c);
            } else {
                writeText(r, c, text, nullptr);
            }
        }
        ++r;
    }
    const lxw_error error = workbook_close(book);
    book = nullptr;
    if (error != LXW_NO_ERROR) {
        throw NumberedError(
            errnum::FileAccess,
            "Impossibile scrivere il file " + path + " (" + lxw_strerror(error) + ")", kSource);
    }
    file.commit();
    return cut;
}

std::string cutCellsNotice(const PrintList& list, const std::vector<WorkbookCell>& cut,
                           const std::string& path) {
    if (cut.empty()) return {};
    // The rows of each column, in column order; the cells come in row order.
    std::map<std::size_t, std::vector<std::size_t>> rows;
    for (const WorkbookCell& cell : cut) rows[cell.column].push_back(cell.row);
    std::string notice = "Nel file " + path + " alcuni valori superano i " +
                         withDots(kWorkbookCellChars) +
                         " caratteri di una cella di Excel: ne sono stati scritti i primi " +
                         withDots(kWorkbookCellChars) + ".";
    std::size_t columns = 0;
    for (const auto& [column, numbers] : rows) {
        if (++columns > kNamedColumns) break;
        char letters[LXW_MAX_COL_NAME_LENGTH];
        lxw_col_to_name(letters, static_cast<lxw_col_t>(column), 0);
        const std::string caption = column < list.captions.size() ? list.captions[column] : "";
        notice += "\r\nColonna " + caption + " (" + letters +
                  "): " + (numbers.size() == 1 ? "riga " : "righe ");
        for (std::size_t i = 0; i < numbers.size() && i < kNamedRows; ++i)
            notice += (i > 0 ? ", " : "") + std::to_string(numbers[i] + 1);
        if (numbers.size() > kNamedRows)
            notice += " e altre " + withDots(numbers.size() - kNamedRows);
    }
    if (rows.size() > kNamedColumns)
        notice += "\r\ne in altre " + withDots(rows.size() - kNamedColumns) + " colonne";
    return notice;
}

}  // namespace tolvane
