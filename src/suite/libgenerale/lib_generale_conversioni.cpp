// Conversions of the general library: user text into numbers and dates, type names into
// type codes, values into SQL literals, trapped errors into the numbers callers compare.
// Never reads a text partly: a text is a whole number or it is refused, never cut to fit.
#include <charconv>
#include <cmath>
#include <new>

#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "LibGenerale";
constexpr long kObjectError = -2147221504;  // base of the errors that components raise

bool isBlankText(const Variant& v) { return v.isString() && Trim(v.text()).empty(); }

// Runs a conversion of a non-empty value: bad text gives the fallback when allowed;
// overflow and everything else propagate.
template <class T, class F>
T convert(const Variant& v, bool badGivesZero, F&& conversion) {
    try {
        return conversion(v.isString() ? Variant(Trim(v.text())) : v);
    } catch (const NumberedError& e) {
        if (e.number() == errnum::TypeMismatch && badGivesZero) return T{};
        throw;
    }
}

bool isEmptyOrNull(const Variant& v) { return v.isEmpty() || v.isNull() || isBlankText(v); }

std::string shortestText(double d) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, res.ptr);
}

std::string shortestText(float f) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, f);
    return std::string(buf, res.ptr);
}

std::string currencySql(Currency c) {
    std::int64_t units = c.scaled / 10000;
    std::int64_t frac = c.scaled % 10000;
    std::string out;
    if (c.scaled < 0) {
        out = "-";
        units = -units;
        frac = -frac;
    }
    out += std::to_string(units);
    if (frac != 0) {
        std::string f = std::to_string(frac);
        f.insert(0, 4 - f.size(), '0');
        while (f.back() == '0') f.pop_back();
        out += "." + f;
    }
    return out;
}

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string dateSql(DateTime t) {
    int y = 0, m = 0, d = 0;
    t.parts(y, m, d);
    std::string out = "#" + twoDigits(m) + "/" + twoDigits(d) + "/" + std::to_string(y);
    if (t.hasTime()) {
        int hh = 0, nn = 0, ss = 0;
        t.timeParts(hh, nn, ss);
        out += " " + twoDigits(hh) + ":" + twoDigits(nn) + ":" + twoDigits(ss);
    }
    return out + "#";
}

std::string textSql(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

int ownType(const Variant& v) {
    switch (v.type()) {
        case VarType::Integer:
            return 2;
        case VarType::Long:
            return 3;
        case VarType::Single:
            return 4;
        case VarType::Double:
            return 5;
        case VarType::Currency:
            return 6;
        case VarType::Date:
            return 7;
        case VarType::Boolean:
            return 11;
        default:
            return 8;
    }
}

}  // namespace

LibGenerale& goLibGen() {
    static LibGenerale instance;
    return instance;
}

bool LibGenerale::EVuoto(const Variant& pvValore) const { return isEmptyOrNull(pvValore); }

bool LibGenerale::EVuoto(const Variant& pvValore, int, int, bool) const {
    return isEmptyOrNull(pvValore);
}

std::int16_t LibGenerale::ValoreIntero(const Variant& pvValore, bool pbVuotoZero,
                                       bool pbErratoZero) const {
    if (isEmptyOrNull(pvValore)) {
        if (pbVuotoZero) return 0;
        throw NumberedError(errnum::TypeMismatch, "Tipo non corrispondente", kSource);
    }
    return convert<std::int16_t>(pvValore, pbErratoZero,
                                 [](const Variant& v) { return v.toInteger(); });
}

std::int32_t LibGenerale::ValoreLong(const Variant& pvValore, bool pbErratoZero) const {
    if (isEmptyOrNull(pvValore)) return 0;
    return convert<std::int32_t>(pvValore, pbErratoZero,
                                 [](const Variant& v) { return v.toLong(); });
}

float LibGenerale::ValoreSingle(const Variant& pvValore, bool pbErratoZero) const {
    if (isEmptyOrNull(pvValore)) return 0;
    return convert<float>(pvValore, pbErratoZero, [](const Variant& v) { return v.toSingle(); });
}

double LibGenerale::ValoreDouble(const Variant& pvValore, bool pbErratoZero) const {
    if (isEmptyOrNull(pvValore)) return 0;
    return convert<double>(pvValore, pbErratoZero, [](const Variant& v) { return v.toDouble(); });
}

Currency LibGenerale::ValutaTesto(const Variant& pvValore, bool pbErratoZero) const {
    if (isEmptyOrNull(pvValore)) return Currency{};
    return convert<Currency>(pvValore, pbErratoZero,
                             [](const Variant& v) { return v.toCurrency(); });
}

Variant LibGenerale::ValoreData(const Variant& pvValore, bool pbErrore) const {
    if (isEmptyOrNull(pvValore)) return Variant::null();
    try {
        const Variant v = pvValore.isString() ? Variant(Trim(pvValore.text())) : pvValore;
        return Variant(v.toDate());
    } catch (const NumberedError& e) {
        if (pbErrore || e.number() != errnum::TypeMismatch) throw;
        return Variant::null();
    }
}

int LibGenerale::CodiceTipo(std::string_view psNomeTipo) const {
    struct Name {
        const char* name;
        int code;
    };
    static constexpr Name kNames[] = {
        {"Integer", 2}, {"Byte", 2},      {"Long", 3},    {"Single", 4},   {"Double", 5},
        {"Float", 5},   {"Decimal", 5},   {"Numeric", 5}, {"Currency", 6}, {"Date", 7},
        {"Time", 7},    {"TimeStamp", 7}, {"String", 8},  {"Text", 8},     {"Memo", 8},
        {"Char", 8},    {"Boolean", 11},
    };
    std::string_view name = psNomeTipo;
    const std::string lower = LCase(name);
    if (lower.rfind("vbv", 0) == 0) {
        name.remove_prefix(3);
    } else if (lower.rfind("vb", 0) == 0 || lower.rfind("db", 0) == 0) {
        name.remove_prefix(2);
    } else {
        return 0;
    }
    for (const Name& n : kNames) {
        if (equalText(name, n.name)) return n.code;
    }
    return 0;
}

std::string LibGenerale::ValoreSql(const Variant& pvValore, int piTipo) const {
    if (pvValore.isNull()) return "Null";
    int type = piTipo;
    switch (type) {
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 11:
            break;
        default:
            type = pvValore.isEmpty() ? 0 : ownType(pvValore);
    }
    if (type == 0) return "Null";
    if (type != 8 && isEmptyOrNull(pvValore)) return "Null";
    switch (type) {
        case 2:
            return std::to_string(ValoreIntero(pvValore, true, false));
        case 3:
            return std::to_string(ValoreLong(pvValore, false));
        case 4:
            return shortestText(ValoreSingle(pvValore, false));
        case 5:
            return shortestText(ValoreDouble(pvValore, false));
        case 6:
            return currencySql(ValutaTesto(pvValore, false));
        case 7:
            return dateSql(ValoreData(pvValore, true).toDate());
        case 11: {
            const Variant v = pvValore.isString() ? Variant(Trim(pvValore.text())) : pvValore;
            return v.toBool() ? "-1" : "0";
        }
        default:
            return textSql(pvValore.text());
    }
}

long LibGenerale::NumeroErrore(long plNumero) const {
    if (plNumero >= kObjectError && plNumero <= kObjectError + 0xFFFF)
        return plNumero - kObjectError;
    return plNumero;
}

long LibGenerale::NumeroErrore(const std::exception& peErrore) const {
    if (const auto* e = dynamic_cast<const NumberedError*>(&peErrore))
        return NumeroErrore(e->number());
    if (dynamic_cast<const std::bad_alloc*>(&peErrore)) return 7;  // out of memory
    return errnum::InvalidCall;
}

}  // namespace tolvane
