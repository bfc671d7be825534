// The values of a printed list's texts and the kinds of its columns.
// Never changes a text that does not read as a number.
#include "output/list_values.h"

#include <cctype>
#include <cstdlib>

#include "platform/variant.h"

namespace tolvane {

namespace {

constexpr std::size_t kMostDigits = 15;  // what a workbook's number keeps exactly

bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// Digits in groups of three after the first, as "1.234.567" shows them; or plain digits.
bool wholePart(const std::string& s, std::string& digits, bool& grouped) {
    digits.clear();
    grouped = s.find('.') != std::string::npos;
    if (!grouped) {
        digits = s;
        return allDigits(s);
    }
    std::size_t start = 0;
    for (bool first = true;; first = false) {
        const std::size_t dot = s.find('.', start);
        const std::string group = s.substr(start, dot == std::string::npos ? dot : dot - start);
        if (!allDigits(group) || (first ? group.size() > 3 : group.size() != 3)) return false;
        digits += group;
        if (dot == std::string::npos) return true;
        start = dot + 1;
    }
}

// The list's own form of a date, dd/mm/yyyy from 1900 on; whether the day exists is the date
// reader's to say.
bool readDate(const std::string& s, ListValue& value) {
    DateTime date;
    if (s.size() != 10 || s[2] != '/' || s[5] != '/' || !allDigits(s.substr(0, 2)) ||
        !allDigits(s.substr(3, 2)) || !allDigits(s.substr(6)) || std::atoi(s.c_str() + 6) < 1900 ||
        !parseDate(s, date)) {
        return false;
    }
    value.kind = ListColumnKind::Date;
    date.parts(value.year, value.month, value.day);
    return true;
}

// The number's sign, whole digits and decimals; false when the text is no number.
bool numberParts(const std::string& text, bool& negative, std::string& digits,
                 std::string& fraction, bool& grouped) {
    std::string s = text;
    negative = !s.empty() && s[0] == '-';
    if (negative) s.erase(0, 1);
    const std::size_t comma = s.find(',');
    fraction = comma == std::string::npos ? "" : s.substr(comma + 1);
    if (!wholePart(s.substr(0, comma), digits, grouped)) return false;
    if (comma != std::string::npos && !allDigits(fraction)) return false;
    if (digits.size() > 1 && digits[0] == '0') return false;
    return digits.size() + fraction.size() <= kMostDigits;
}

}  // namespace

ListValue readListValue(const std::string& text) {
    ListValue value;
    if (readDate(text, value)) return value;
    bool negative = false;
    std::string digits, fraction;
    // Of the texts the number reader takes, only the plain shapes a list shows are numbers here.
    if (!numberParts(text, negative, digits, fraction, value.grouped) ||
        !parseNumber(text, value.number)) {
        return value;
    }
    value.kind = ListColumnKind::Number;
    value.decimals = static_cast<int>(fraction.size());
    return value;
}

std::vector<ListColumnKind> listColumnKinds(const PrintList& list,
                                            const std::vector<ListColumnKind>& known) {
    std::vector<ListColumnKind> kinds(list.captions.size(), ListColumnKind::Unknown);
    for (std::size_t c = 0; c < kinds.size(); ++c) {
        if (c < known.size() && known[c] != ListColumnKind::Unknown) {
            kinds[c] = known[c];
            continue;
        }
        ListColumnKind found = ListColumnKind::Unknown;
        for (const auto& row : list.rows) {
            if (c >= row.size() || row[c].empty()) continue;
            const ListColumnKind kind = readListValue(row[c]).kind;
            if (found == ListColumnKind::Unknown) found = kind;
            if (kind != found || kind == ListColumnKind::Text) {
                found = ListColumnKind::Text;
                break;
            }
        }
        kinds[c] = found == ListColumnKind::Unknown ? ListColumnKind::Text : found;
    }
    return kinds;
}

std::string plainNumberText(const std::string& text) {
    bool negative = false;
    bool grouped = false;
    std::string digits, fraction;
    if (!numberParts(text, negative, digits, fraction, grouped)) return text;
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (digits == "0" && fraction.empty()) negative = false;
    return (negative ? "-" : "") + digits + (fraction.empty() ? "" : "," + fraction);
}

}  // namespace tolvane
