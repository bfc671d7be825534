// The value type: conversions, comparisons and the Italian text forms of variants.
// Must never consult the machine's locale (no strtod, printf or iostreams for numbers).
#include "platform/variant.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>

#include "platform/text.h"
#include "platform/variant_detail.h"

namespace tolvane {

namespace {

[[noreturn]] void raise(int number, const char* where) {
    switch (number) {
        case errnum::Overflow:
            throw NumberedError(number, "Overflow", where);
        case errnum::TypeMismatch:
            throw NumberedError(number, "Tipo non corrispondente", where);
        case errnum::InvalidUseOfNull:
            throw NumberedError(number, "Utilizzo non valido di Null", where);
        default:
            throw NumberedError(number, "Chiamata di routine o argomento non validi", where);
    }
}

// Rounds half to even, as CInt and CLng do; 6 outside [lo, hi].
std::int64_t roundToRange(double v, double lo, double hi, const char* where) {
    if (std::isnan(v)) raise(errnum::Overflow, where);
    const double r = std::nearbyint(v);
    if (r < lo || r > hi) raise(errnum::Overflow, where);
    return static_cast<std::int64_t>(r);
}

std::int64_t roundCurrency(Currency c) {
    std::int64_t q = c.scaled / 10000;
    const std::int64_t rem = c.scaled % 10000;
    if (rem > 5000 || (rem == 5000 && q % 2 != 0)) ++q;
    if (rem < -5000 || (rem == -5000 && q % 2 != 0)) --q;
    return q;
}

std::int64_t checkRange(std::int64_t v, std::int64_t lo, std::int64_t hi, const char* where) {
    if (v < lo || v > hi) raise(errnum::Overflow, where);
    return v;
}

double numberFromText(const std::string& s, const char* where) {
    double d = 0;
    switch (readNumber(s, d)) {
        case NumberRead::Ok:
            return d;
        case NumberRead::Overflow:
            raise(errnum::Overflow, where);
        case NumberRead::NotANumber:
            break;
    }
    raise(errnum::TypeMismatch, where);
}

}  // namespace

Currency Currency::fromDouble(double value) {
    const double r = std::nearbyint(value * 10000.0);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (std::isnan(r) || r >= 9223372036854775808.0 || r < -9223372036854775808.0)
        raise(errnum::Overflow, "CCur");
    return Currency{static_cast<std::int64_t>(r)};
}

Variant Variant::null() {
    Variant v;
    v.type_ = VarType::Null;
    return v;
}

Variant::Variant(bool value) : type_(VarType::Boolean), value_(value) {}
Variant::Variant(std::int16_t value) : type_(VarType::Integer), value_(value) {}
Variant::Variant(std::int32_t value) : type_(VarType::Long), value_(value) {}
Variant::Variant(float value) : type_(VarType::Single), value_(value) {}
Variant::Variant(double value) : type_(VarType::Double), value_(value) {}
Variant::Variant(Currency value) : type_(VarType::Currency), value_(value) {}
Variant::Variant(DateTime value) : type_(VarType::Date), value_(value) {}
Variant::Variant(std::string value) : type_(VarType::String), value_(std::move(value)) {}
Variant::Variant(std::string_view value) : type_(VarType::String), value_(std::string(value)) {}
Variant::Variant(const char* value)
    : type_(VarType::String), value_(std::string(value ? value : "")) {}

Variant::Variant(long value) : Variant(static_cast<long long>(value)) {}
Variant::Variant(long long value) {
    if (value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max()) {
        type_ = VarType::Long;
        value_ = static_cast<std::int32_t>(value);
    } else {
        type_ = VarType::Double;
        value_ = static_cast<double>(value);
    }
}
Variant::Variant(unsigned int value) : Variant(static_cast<long long>(value)) {}
Variant::Variant(unsigned long value) : Variant(static_cast<unsigned long long>(value)) {}
Variant::Variant(unsigned long long value) {
    if (value <= static_cast<unsigned long long>(std::numeric_limits<std::int32_t>::max())) {
        type_ = VarType::Long;
        value_ = static_cast<std::int32_t>(value);
    } else {
        type_ = VarType::Double;
        value_ = static_cast<double>(value);
    }
}

bool Variant::isNumberType() const {
    switch (type_) {
        case VarType::Integer:
        case VarType::Long:
        case VarType::Single:
        case VarType::Double:
        case VarType::Currency:
        case VarType::Boolean:
            return true;
        default:
            return false;
    }
}

bool Variant::toBool() const {
    switch (type_) {
        case VarType::Empty:
            return false;
        case VarType::Null:
            raise(errnum::InvalidUseOfNull, "CBool");
        case VarType::Boolean:
            return std::get<bool>(value_);
        case VarType::Integer:
            return std::get<std::int16_t>(value_) != 0;
        case VarType::Long:
            return std::get<std::int32_t>(value_) != 0;
        case VarType::Single:
            return std::get<float>(value_) != 0;
        case VarType::Double:
            return std::get<double>(value_) != 0;
        case VarType::Currency:
            return std::get<Currency>(value_).scaled != 0;
        case VarType::Date:
            return std::get<DateTime>(value_).serial != 0;
        case VarType::String: {
            const std::string t = Trim(std::get<std::string>(value_));
            if (equalText(t, "True") || equalText(t, "Vero")) return true;
            if (equalText(t, "False") || equalText(t, "Falso")) return false;
            return numberFromText(t, "CBool") != 0;
        }
    }
    raise(errnum::TypeMismatch, "CBool");
}

std::int16_t Variant::toInteger() const {
    constexpr std::int64_t lo = std::numeric_limits<std::int16_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int16_t>::max();
    switch (type_) {
        case VarType::Integer:
            return std::get<std::int16_t>(value_);
        case VarType::Long:
            return static_cast<std::int16_t>(
                checkRange(std::get<std::int32_t>(value_), lo, hi, "CInt"));
        case VarType::Currency:
            return static_cast<std::int16_t>(
                checkRange(roundCurrency(std::get<Currency>(value_)), lo, hi, "CInt"));
        case VarType::Null:
            raise(errnum::InvalidUseOfNull, "CInt");
        default:
            return static_cast<std::int16_t>(roundToRange(toDouble(), lo, hi, "CInt"));
    }
}

std::int32_t Variant::toLong() const {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    switch (type_) {
        case VarType::Integer:
            return std::get<std::int16_t>(value_);
        case VarType::Long:
            return std::get<std::int32_t>(value_);
        case VarType::Currency:
            return static_cast<std::int32_t>(
                checkRange(roundCurrency(std::get<Currency>(value_)), lo, hi, "CLng"));
        case VarType::Null:
            raise(errnum::InvalidUseOfNull, "CLng");
        default:
            return static_cast<std::int32_t>(
                roundToRange(toDouble(), static_cast<double>(lo), static_cast<double>(hi), "CLng"));
    }
}

float Variant::toSingle() const {
    if (type_ == VarType::Single) return std::get<float>(value_);
    if (type_ == VarType::Null) raise(errnum::InvalidUseOfNull, "CSng");
    const double d = toDouble();
    if (std::isnan(d) || std::fabs(d) > static_cast<double>(FLT_MAX))
        raise(errnum::Overflow, "CSng");
    return static_cast<float>(d);
}

double Variant::toDouble() const {
    switch (type_) {
        case VarType::Empty:
            return 0;
        case VarType::Null:
            raise(errnum::InvalidUseOfNull, "CDbl");
        case VarType::Boolean:
            return std::get<bool>(value_) ? -1 : 0;
        case VarType::Integer:
            return std::get<std::int16_t>(value_);
        case VarType::Long:
            return std::get<std::int32_t>(value_);
        case VarType::Single:
            return std::get<float>(value_);
        case VarType::Double:
            return std::get<double>(value_);
        case VarType::Currency:
            return std::get<Currency>(value_).toDouble();
        case VarType::Date:
            return std::get<DateTime>(value_).serial;
        case VarType::String:
            return numberFromText(std::get<std::string>(value_), "CDbl");
    }
    raise(errnum::TypeMismatch, "CDbl");
}

Currency Variant::toCurrency() const {
    switch (type_) {
        case VarType::Currency:
            return std::get<Currency>(value_);
        case VarType::Null:
            raise(errnum::InvalidUseOfNull, "CCur");
        case VarType::Integer:
        case VarType::Long:
        case VarType::Boolean:
            return Currency{static_cast<std::int64_t>(toLong()) * 10000};
        case VarType::String: {
            Currency c;
            switch (readCurrency(std::get<std::string>(value_), c)) {
                case NumberRead::Ok:
                    return c;
                case NumberRead::Overflow:
                    raise(errnum::Overflow, "CCur");
                case NumberRead::NotANumber:
                    raise(errnum::TypeMismatch, "CCur");
            }
            raise(errnum::TypeMismatch, "CCur");
        }
        default:
            return Currency::fromDouble(toDouble());
    }
}

DateTime Variant::toDate() const {
    switch (type_) {
        case VarType::Date:
            return std::get<DateTime>(value_);
        case VarType::Null:
            raise(errnum::InvalidUseOfNull, "CDate");
        case VarType::String: {
            DateTime d;
            if (!parseDate(std::get<std::string>(value_), d)) raise(errnum::TypeMismatch, "CDate");
            return d;
        }
        default: {
            const double serial = toDouble();
            if (!DateTime::inRange(serial)) raise(errnum::Overflow, "CDate");
            return DateTime{serial};
        }
    }
}

std::string Variant::toString() const {
    switch (type_) {
        case VarType::Empty:
            return {};
        case VarType::Null:
            raise(errnum::InvalidUseOfNull, "CStr");
        case VarType::Boolean:
            return std::get<bool>(value_) ? "Vero" : "Falso";
        case VarType::Integer:
            return std::to_string(std::get<std::int16_t>(value_));
        case VarType::Long:
            return std::to_string(std::get<std::int32_t>(value_));
        case VarType::Single:
            return singleText(std::get<float>(value_));
        case VarType::Double:
            return numberText(std::get<double>(value_));
        case VarType::Currency:
            return currencyText(std::get<Currency>(value_));
        case VarType::Date:
            return dateText(std::get<DateTime>(value_));
        case VarType::String:
            return std::get<std::string>(value_);
    }
    return {};
}

std::string Variant::text() const { return type_ == VarType::Null ? std::string() : toString(); }

namespace {

bool isExactNumber(VarType t) {
    return t == VarType::Integer || t == VarType::Long || t == VarType::Boolean ||
           t == VarType::Currency;
}

std::partial_ordering compareNumbers(const Variant& a, const Variant& b) {
    if (isExactNumber(a.type()) && isExactNumber(b.type()))
        return a.toCurrency().scaled <=> b.toCurrency().scaled;
    return a.toDouble() <=> b.toDouble();
}

std::partial_ordering fromInt(int c) {
    return c < 0 ? std::partial_ordering::less
                 : (c > 0 ? std::partial_ordering::greater : std::partial_ordering::equivalent);
}

// A value of number or date kind against a text: the text is read as the same kind when it
// can be; otherwise the number sorts before the text.
std::partial_ordering compareWithText(const Variant& value, const std::string& textValue) {
    if (value.type() == VarType::Date) {
        DateTime d;
        if (parseDate(textValue, d)) return value.toDate().serial <=> d.serial;
    }
    double n = 0;
    if (readNumber(textValue, n) == NumberRead::Ok) return value.toDouble() <=> n;
    if (value.type() == VarType::Boolean) {
        const std::string t = Trim(textValue);
        if (equalText(t, "True") || equalText(t, "Vero")) return value.toDouble() <=> -1.0;
        if (equalText(t, "False") || equalText(t, "Falso")) return value.toDouble() <=> 0.0;
    }
    return std::partial_ordering::less;
}

}  // namespace

std::partial_ordering operator<=>(const Variant& a, const Variant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull() ? std::partial_ordering::equivalent
                                        : std::partial_ordering::unordered;
    if (a.isEmpty() && b.isEmpty()) return std::partial_ordering::equivalent;
    if (a.isString() && b.isString()) return fromInt(compareText(a.text(), b.text()));
    if (a.isEmpty() && b.isString()) return fromInt(compareText("", b.text()));
    if (a.isString() && b.isEmpty()) return fromInt(compareText(a.text(), ""));
    if (a.isString()) return 0 <=> compareWithText(b, a.text());
    if (b.isString()) return compareWithText(a, b.text());
    if (a.type() == VarType::Date || b.type() == VarType::Date)
        return a.toDouble() <=> b.toDouble();
    return compareNumbers(a, b);
}

bool operator==(const Variant& a, const Variant& b) { return (a <=> b) == 0; }

bool isNumeric(const Variant& value) {
    switch (value.type()) {
        case VarType::Null:
        case VarType::Date:
            return false;
        case VarType::String: {
            double d = 0;
            return readNumber(value.toString(), d) == NumberRead::Ok;
        }
        default:
            return true;
    }
}

bool isDate(const Variant& value) {
    if (value.type() == VarType::Date) return true;
    if (value.type() != VarType::String) return false;
    DateTime d;
    return parseDate(value.toString(), d);
}

bool parseNumber(std::string_view text, double& out) {
    return readNumber(text, out) == NumberRead::Ok;
}

std::ostream& operator<<(std::ostream& out, const Variant& value) {
    static constexpr const char* names[] = {"Empty",  "Null",   "Integer",  "Long",
                                            "Single", "Double", "Currency", "Date",
                                            "String", "",       "",         "Boolean"};
    out << names[static_cast<int>(value.type())];
    if (value.isString()) return out << " \"" << value.text() << '"';
    if (!value.isEmpty() && !value.isNull()) out << ' ' << value.text();
    return out;
}

std::ostream& operator<<(std::ostream& out, Currency value) { return out << currencyText(value); }

std::ostream& operator<<(std::ostream& out, DateTime value) {
    return out << dateText(value) << " (" << numberText(value.serial) << ')';
}

double Int(double value) { return std::floor(value); }
double Fix(double value) { return std::trunc(value); }

}  // namespace tolvane
