// Rounding of the general library, done on the decimal digits of the value as it is written
// (its shortest round-trip form), never by multiplying binary doubles: 2,675 must give 2,68.
// Never rounds Currency through a double.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

using Wide = __int128;

constexpr int kMaxDigits = 36;  // 10^36 still fits a signed 128-bit integer with room to add

// value = sign * digits * 10^exponent, digits the shortest round-trip decimal digits.
struct DecimalForm {
    bool negative = false;
    Wide digits = 0;
    int exponent = 0;
};

DecimalForm decimalForm(double value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string s(buf, res.ptr);
    DecimalForm d;
    std::size_t i = 0;
    if (s[i] == '-') {
        d.negative = true;
        ++i;
    }
    int fractionDigits = 0;
    bool afterPoint = false;
    for (; i < s.size() && s[i] != 'e'; ++i) {
        if (s[i] == '.') {
            afterPoint = true;
            continue;
        }
        d.digits = d.digits * 10 + (s[i] - '0');
        if (afterPoint) ++fractionDigits;
    }
    d.exponent = std::atoi(s.c_str() + i + 1) - fractionDigits;
    return d;
}

Wide power10(int n) {
    Wide p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

double fromDecimal(bool negative, Wide digits, int exponent) {
    if (digits == 0) return 0.0;
    std::string s;
    while (digits > 0) {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(digits % 10)));
        digits /= 10;
    }
    s += 'e' + std::to_string(exponent);
    double out = 0;
    std::from_chars(s.data(), s.data() + s.size(), out);
    return negative ? -out : out;
}

enum class Mode { Nearest, Up, Down };

Mode modeOf(std::string_view modo) {
    if (equalText(modo, "A")) return Mode::Nearest;
    if (equalText(modo, "E")) return Mode::Up;
    if (equalText(modo, "D")) return Mode::Down;
    throw NumberedError(errnum::InvalidCall,
                        "Modo di arrotondamento non valido: " + std::string(modo),
                        "LibGenerale.Arrotonda");
}

// Quotient of n / m (both positive) rounded by the mode.
Wide roundQuotient(Wide n, Wide m, Mode mode) {
    Wide q = n / m;
    Wide r = n % m;
    if (r == 0) return q;
    switch (mode) {
        case Mode::Nearest:
            return (2 * r >= m) ? q + 1 : q;
        case Mode::Up:
            return q + 1;
        case Mode::Down:
            return q;
    }
    return q;
}

double roundDecimal(double value, Mode mode, double step, int exponent) {
    if (!(step > 0) || !std::isfinite(step)) {
        throw NumberedError(errnum::InvalidCall, "Passo di arrotondamento non valido",
                            "LibGenerale.Arrotonda");
    }
    if (value == 0) return 0.0;
    if (!std::isfinite(value)) return value;
    DecimalForm v = decimalForm(value);
    DecimalForm p = decimalForm(step);
    // value / unit = v.digits * 10^shift / p.digits
    const int unitExponent = p.exponent + exponent;
    const int shift = v.exponent - unitExponent;
    Wide n = v.digits;
    Wide m = p.digits;
    if (shift >= 0) {
        if (shift > kMaxDigits - 18) return value;  // the unit lies far below the value's digits
        n *= power10(shift);
    } else {
        if (-shift > kMaxDigits - 18) {
            // The value is far below half a unit.
            Wide q = (mode == Mode::Up) ? 1 : 0;
            return fromDecimal(v.negative, q * p.digits, unitExponent);
        }
        m *= power10(-shift);
    }
    Wide q = roundQuotient(n, m, mode);
    return fromDecimal(v.negative, q * p.digits, unitExponent);
}

Currency roundCurrency(Currency c, Mode mode, double step, int exponent) {
    // scaled = value * 10^4; the unit in the same scale is step * 10^(exponent + 4).
    DecimalForm p = decimalForm(step);
    const int unitExponent = p.exponent + exponent + 4;
    if (unitExponent < 0) {
        // A unit finer than the fourth decimal: the currency's own digits are the value.
        return Currency::fromDouble(roundDecimal(c.toDouble(), mode, step, exponent));
    }
    const Wide n = c.scaled < 0 ? -static_cast<Wide>(c.scaled) : static_cast<Wide>(c.scaled);
    Wide scaled = 0;
    if (unitExponent > 20) {
        // Every currency amount lies below half such a unit.
        if (n != 0 && mode == Mode::Up) {
            throw NumberedError(errnum::Overflow, "Overflow", "LibGenerale.Arrotonda");
        }
    } else {
        const Wide unit = p.digits * power10(unitExponent);
        scaled = roundQuotient(n, unit, mode) * unit;
    }
    if (scaled > static_cast<Wide>(INT64_MAX)) {
        throw NumberedError(errnum::Overflow, "Overflow", "LibGenerale.Arrotonda");
    }
    Currency out;
    out.scaled = static_cast<std::int64_t>(c.scaled < 0 ? -scaled : scaled);
    return out;
}

}  // namespace

double LibGenerale::Arrotonda(double pdValore, int piDecimali) const {
    return roundDecimal(pdValore, Mode::Nearest, 1.0, -piDecimali);
}

double LibGenerale::Arrotonda(double pdValore, std::string_view psModo, double pdPasso,
                              int piEsponente) const {
    return roundDecimal(pdValore, modeOf(psModo), pdPasso, piEsponente);
}

Variant LibGenerale::Arrotonda(const Variant& pvValore, std::string_view psModo, double pdPasso,
                               int piEsponente) const {
    const Mode mode = modeOf(psModo);
    if (EVuoto(pvValore)) return pvValore;
    switch (pvValore.type()) {
        case VarType::Currency:
            return Variant(roundCurrency(pvValore.toCurrency(), mode, pdPasso, piEsponente));
        case VarType::String:
            return Variant(roundDecimal(ValoreDouble(pvValore, false), mode, pdPasso, piEsponente));
        case VarType::Integer:
        case VarType::Long: {
            // Whole numbers stay whole numbers of their own type while they fit.
            const double r = roundDecimal(pvValore.toDouble(), mode, pdPasso, piEsponente);
            const bool isInteger = pvValore.type() == VarType::Integer;
            const double lo = isInteger ? -32768.0 : -2147483648.0;
            const double hi = isInteger ? 32767.0 : 2147483647.0;
            if (r != std::trunc(r) || r < lo || r > hi) return Variant(r);
            if (isInteger) return Variant(static_cast<std::int16_t>(r));
            return Variant(static_cast<std::int32_t>(r));
        }
        default:
            return Variant(roundDecimal(pvValore.toDouble(), mode, pdPasso, piEsponente));
    }
}

}  // namespace tolvane
