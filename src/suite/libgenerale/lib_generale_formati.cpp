// Formats of the general library: dates, numbers with Italian separators, account texts.
// Formatting never raises on a text that does not fit: it shows the text as it is.
// Never rounds by multiplying doubles (the digits come from the exact decimal rounding).
#include <charconv>
#include <cmath>
#include <string>

#include "platform/names.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

bool isDateFormat(std::string_view format) {
    for (char c : format) {
        switch (c) {
            case 'd':
            case 'D':
            case 'm':
            case 'M':
            case 'y':
            case 'Y':
            case 'h':
            case 'H':
            case 'n':
            case 'N':
            case 's':
            case 'S':
                return true;
            default:
                break;
        }
    }
    return false;
}

std::string padded(int value, std::size_t width) {
    std::string s = std::to_string(value);
    if (s.size() < width) s.insert(0, width - s.size(), '0');
    return s;
}

std::string formatDate(DateTime t, std::string_view format) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    t.parts(y, mo, d);
    t.timeParts(h, mi, s);
    std::string out;
    bool afterHour = false;
    for (std::size_t i = 0; i < format.size();) {
        const char c = lowerAscii(format[i]);
        std::size_t run = 1;
        while (i + run < format.size() && lowerAscii(format[i + run]) == c) ++run;
        const std::size_t width = run >= 2 ? 2 : 1;
        switch (c) {
            case 'd':
                out += padded(d, width);
                break;
            case 'm':
                out += afterHour ? padded(mi, width) : padded(mo, width);
                break;
            case 'y':
                out += run >= 3 ? padded(y, 4) : padded(y % 100, 2);
                break;
            case 'h':
                out += padded(h, width);
                break;
            case 'n':
                out += padded(mi, width);
                break;
            case 's':
                out += padded(s, width);
                break;
            default:
                out.append(format.substr(i, run));
                break;
        }
        if (c == 'h') {
            afterHour = true;
        } else if (c != ':' && c != ' ' && c != '.') {
            afterHour = false;
        }
        i += run;
    }
    return out;
}

bool isNumberFormat(std::string_view format) {
    if (format.empty()) return false;
    for (char c : format) {
        if (c != '#' && c != '0' && c != ',' && c != '.') return false;
    }
    return true;
}

std::string groupThousands(const std::string& digits) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += '.';
        out += digits[i];
    }
    return out;
}

// format: "#", "0", "," (grouping, in the whole part) and "." (decimal point), VB style.
std::string formatNumber(double value, std::string_view format) {
    if (!std::isfinite(value)) return numberText(value);
    const std::size_t point = format.find('.');
    const std::string_view whole = format.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : format.substr(point + 1);
    std::size_t minWhole = 0;
    bool grouping = false;
    for (char c : whole) {
        if (c == '0') ++minWhole;
        if (c == ',') grouping = true;
    }
    int decimals = 0;
    std::size_t minDecimals = 0;
    for (char c : fraction) {
        if (c == '0' || c == '#') ++decimals;
        if (c == '0') minDecimals = static_cast<std::size_t>(decimals);
    }
    const double rounded = goLibGen().Arrotonda(value, decimals);
    // Room for the 309 whole digits of the largest double, the point and every decimal asked.
    std::string digits(320 + static_cast<std::size_t>(decimals), '\0');
    const auto res = std::to_chars(digits.data(), digits.data() + digits.size(), std::fabs(rounded),
                                   std::chars_format::fixed, decimals);
    digits.resize(static_cast<std::size_t>(res.ptr - digits.data()));
    std::string wholeDigits = digits.substr(0, digits.find('.'));
    std::string fracDigits = decimals > 0 ? digits.substr(digits.find('.') + 1) : std::string();
    while (fracDigits.size() > minDecimals && fracDigits.back() == '0') fracDigits.pop_back();
    if (wholeDigits == "0") wholeDigits.clear();
    if (wholeDigits.size() < minWhole) wholeDigits.insert(0, minWhole - wholeDigits.size(), '0');
    std::string out = grouping ? groupThousands(wholeDigits) : wholeDigits;
    if (!fracDigits.empty()) out += "," + fracDigits;
    if (rounded < 0) out.insert(0, "-");
    return out;
}

std::string formatNumberValue(const Variant& value, std::string_view format) {
    if (value.isString()) {
        double d = 0;
        if (!parseNumber(Trim(value.text()), d)) return value.text();
        return formatNumber(d, format);
    }
    return formatNumber(value.toDouble(), format);
}

std::string accountShownForm(std::string_view account) {
    std::string g, m, a;
    splitAccountText(account, g, m, a);
    if (g.empty() && m.empty() && a.empty()) return {};
    return g + "-" + m + "-" + a;
}

}  // namespace

void splitAccountText(std::string_view text, std::string& group, std::string& mastro,
                      std::string& account) {
    const long firstDash = InStr(1, text, "-");
    if (firstDash == 0) {
        group = Mid(text, 1, 2);
        mastro = Mid(text, 3, 2);
        account = Mid(text, 5);
        return;
    }
    group = Left(text, firstDash - 1);
    const long secondDash = InStr(firstDash + 1, text, "-");
    if (secondDash == 0) {
        mastro = Mid(text, firstDash + 1);
        account.clear();
        return;
    }
    mastro = Mid(text, firstDash + 1, secondDash - firstDash - 1);
    account = Mid(text, secondDash + 1);
}

std::string LibGenerale::FormattaPerTipo(const Variant& pvValore,
                                         std::string_view psFormato) const {
    if (EVuoto(pvValore)) return {};
    if (equalText(psFormato, "Conto")) return accountShownForm(pvValore.text());
    if (psFormato.empty()) return pvValore.text();
    if (isDateFormat(psFormato)) {
        DateTime t;
        if (pvValore.type() == VarType::Date) {
            t = pvValore.toDate();
        } else if (pvValore.isString()) {
            if (!parseDate(Trim(pvValore.text()), t)) return pvValore.text();
        } else {
            t = pvValore.toDate();
        }
        return formatDate(t, psFormato);
    }
    if (isNumberFormat(psFormato)) return formatNumberValue(pvValore, psFormato);
    return pvValore.text();
}

std::string LibGenerale::FormatoNumero(const Variant& pvValore, std::string_view psMaschera) const {
    if (EVuoto(pvValore)) return {};
    if (!isNumberFormat(psMaschera)) return pvValore.text();
    return formatNumberValue(pvValore, psMaschera);
}

std::string LibGenerale::ConvertiConto(std::string_view psConto, std::string_view psTipo) const {
    if (!equalText(psTipo, "Conto") || InStr(1, psConto, "-") == 0) return std::string(psConto);
    std::string g, m, a;
    splitAccountText(psConto, g, m, a);
    const std::string joined = g + m + a;
    std::string g2, m2, a2;
    splitAccountText(joined, g2, m2, a2);
    if (g2 != g || m2 != m || a2 != a) return std::string(psConto);
    return joined;
}

}  // namespace tolvane
