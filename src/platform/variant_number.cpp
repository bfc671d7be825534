// Italian text forms of numbers: reading "1.234,56" and writing "1234,56" / "1E+15".
// Must never consult the machine's locale: only from_chars/to_chars, which are locale-free.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/variant.h"
#include "platform/variant_detail.h"

namespace tolvane {

namespace {

// A number text taken apart: value = 0.digits * 10^(pointPos + exponent), sign aside.
struct DecimalText {
    bool negative = false;
    std::string digits;  // integer and fraction digits, separators removed
    long intDigits = 0;  // how many of digits come before the comma
    long exponent = 0;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Grammar: blanks, sign, digits with "." between thousands, "," and decimals, exponent
// E/D with a sign, blanks. At least one digit before the exponent.
bool splitNumber(std::string_view s, DecimalText& out) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    s = s.substr(b, e - b);
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) out.negative = s[i++] == '-';
    while (i < s.size()) {
        if (isDigit(s[i])) {
            out.digits += s[i++];
        } else if (s[i] == '.' && !out.digits.empty() && i + 1 < s.size() && isDigit(s[i + 1])) {
            ++i;
        } else {
            break;
        }
    }
    out.intDigits = static_cast<long>(out.digits.size());
    if (i < s.size() && s[i] == ',') {
        ++i;
        while (i < s.size() && isDigit(s[i])) out.digits += s[i++];
    }
    if (out.digits.empty()) return false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        ++i;
        bool negExp = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) negExp = s[i++] == '-';
        if (i >= s.size() || !isDigit(s[i])) return false;
        while (i < s.size() && isDigit(s[i])) {
            if (out.exponent < 100000) out.exponent = out.exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (negExp) out.exponent = -out.exponent;
    }
    return i == s.size();
}

std::string toItalian(char* first, char* last) {
    std::string out(first, last);
    for (char& c : out) {
        if (c == '.') c = ',';
        if (c == 'e') c = 'E';
    }
    return out;
}

std::string nonFinite(double value) {
    if (std::isnan(value)) return "1,#QNAN";
    return value < 0 ? "-1,#INF" : "1,#INF";
}

}  // namespace

NumberRead readNumber(std::string_view text, double& out) {
    DecimalText d;
    if (!splitNumber(text, d)) return NumberRead::NotANumber;
    std::string c = d.negative ? "-" : "";
    c += d.digits.substr(0, static_cast<std::size_t>(d.intDigits));
    if (d.intDigits == 0) c += '0';
    c += '.';
    c += d.digits.substr(static_cast<std::size_t>(d.intDigits));
    c += 'e';
    c += std::to_string(d.exponent);
    double v = 0;
    const auto [ptr, ec] = std::from_chars(c.data(), c.data() + c.size(), v);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold reads as zero; too large does not fit.
        const std::size_t lead = d.digits.find_first_not_of('0');
        if (lead == std::string::npos) {
            v = 0;
        } else if (d.intDigits - static_cast<long>(lead) + d.exponent < 0) {
            v = d.negative ? -0.0 : 0.0;
        } else {
            return NumberRead::Overflow;
        }
    } else if (ec != std::errc() || ptr != c.data() + c.size()) {
        return NumberRead::NotANumber;
    }
    out = v == 0 ? 0.0 : v;
    return NumberRead::Ok;
}

NumberRead readCurrency(std::string_view text, Currency& out) {
    DecimalText d;
    if (!splitNumber(text, d)) return NumberRead::NotANumber;
    const std::size_t lead = d.digits.find_first_not_of('0');
    if (lead == std::string::npos) {
        out = Currency{0};
        return NumberRead::Ok;
    }
    // Digits that land at or above the fourth decimal make the scaled whole number.
    const long keep = d.intDigits + d.exponent + 4;  // digits of d.digits before the cut
    if (keep - static_cast<long>(lead) > 19) return NumberRead::Overflow;
    unsigned __int128 scaled = 0;
    for (long k = static_cast<long>(lead); k < keep; ++k)
        scaled = scaled * 10 + (k < static_cast<long>(d.digits.size()) ? d.digits[k] - '0' : 0);
    if (keep >= 0 && keep < static_cast<long>(d.digits.size())) {
        const char first = d.digits[static_cast<std::size_t>(keep)];
        const bool tail = d.digits.find_first_not_of('0', static_cast<std::size_t>(keep) + 1) !=
                          std::string::npos;
        if (first > '5' || (first == '5' && (tail || scaled % 2 == 1))) ++scaled;
    } else if (keep < 0) {
        scaled = 0;  // far below the fourth decimal
    }
    const unsigned __int128 limit =
        static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max()) +
        (d.negative ? 1 : 0);
    if (scaled > limit) return NumberRead::Overflow;
    out.scaled = d.negative ? static_cast<std::int64_t>(-static_cast<__int128>(scaled))
                            : static_cast<std::int64_t>(scaled);
    return NumberRead::Ok;
}

std::string numberText(double value) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (value == 0) return "0";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return toItalian(buf, r.ptr);
}

std::string singleText(float value) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (value == 0) return "0";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 7);
    return toItalian(buf, r.ptr);
}

std::string currencyText(Currency value) {
    const bool negative = value.scaled < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.scaled)
                                             : static_cast<std::uint64_t>(value.scaled);
    std::string out = negative ? "-" : "";
    out += std::to_string(magnitude / 10000);
    std::uint64_t frac = magnitude % 10000;
    if (frac != 0) {
        std::string digits = std::to_string(frac);
        digits.insert(0, 4 - digits.size(), '0');
        digits.erase(digits.find_last_not_of('0') + 1);
        out += ',' + digits;
    }
    return out;
}

}  // namespace tolvane
