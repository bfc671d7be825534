// The one value type of the program: Empty, Null, numbers, dates, texts, as variants behave.
// Text forms are Italian (decimal comma, dd/mm/yyyy) and never depend on the machine's locale.
#pragma once

#include <compare>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <variant>

#include "platform/numbered_error.h"

namespace tolvane {

// The numbers are the type codes that batch layouts store: never renumber them.
enum class VarType : int {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Boolean = 11,
};

// Fixed point with four decimals: amounts must not drift.
struct Currency {
    std::int64_t scaled = 0;  // value * 10000

    static Currency fromDouble(
        double value);  // rounds half to even on the 4th decimal; 6 on overflow
    double toDouble() const { return static_cast<double>(scaled) / 10000.0; }
    auto operator<=>(const Currency&) const = default;
};

// Days since 30/12/1899, the time of day as the fraction.
struct DateTime {
    double serial = 0;

    // Raises 5 for a day that does not exist or a year outside 100..9999.
    static DateTime fromParts(int year, int month, int day, int hour = 0, int minute = 0,
                              int second = 0);
    // True for a serial from 01/01/100 to 31/12/9999 23:59:59; the members below raise 6
    // (Overflow) for any other.
    static bool inRange(double serial);
    void parts(int& year, int& month, int& day) const;
    void timeParts(int& hour, int& minute, int& second) const;
    bool hasTime() const;
    int weekday() const;  // 1 Sunday .. 7 Saturday
    auto operator<=>(const DateTime&) const = default;
};

class Variant {
  public:
    Variant() = default;  // Empty
    static Variant null();

    Variant(bool value);
    Variant(std::int16_t value);
    Variant(std::int32_t value);
    Variant(float value);
    Variant(double value);
    Variant(Currency value);
    Variant(DateTime value);
    Variant(std::string value);
    Variant(std::string_view value);
    Variant(const char* value);
    // Wider or unsigned whole numbers: a Long when they fit, a Double otherwise.
    Variant(long value);
    Variant(long long value);
    Variant(unsigned int value);
    Variant(unsigned long value);
    Variant(unsigned long long value);

    VarType type() const { return type_; }
    bool isEmpty() const { return type_ == VarType::Empty; }
    bool isNull() const { return type_ == VarType::Null; }
    bool isString() const { return type_ == VarType::String; }
    // Integer, Long, Single, Double, Currency (and Boolean, counted as a number)
    bool isNumberType() const;

    // The conversion functions (CBool, CInt, ...): raise 13 when the value is not of the kind,
    // 6 when it does not fit, 94 for Null. Text is read in the Italian forms.
    bool toBool() const;             // CBool
    std::int16_t toInteger() const;  // CInt: rounds half to even
    std::int32_t toLong() const;     // CLng: rounds half to even
    float toSingle() const;          // CSng
    double toDouble() const;         // CDbl
    Currency toCurrency() const;     // CCur
    DateTime toDate() const;         // CDate
    std::string toString() const;    // CStr; Empty gives ""

    // As "" & value: Null and Empty both give "".
    std::string text() const;
    // The text of a String value without a copy, valid while the value lives unchanged;
    // nullptr for any other type.
    const std::string* stringValue() const { return std::get_if<std::string>(&value_); }

    // Comparison by "=" and "<" with text compared without regard to case.
    // Null compares as unordered (equal only to Null here, for containers and tests).
    friend bool operator==(const Variant& a, const Variant& b);
    friend std::partial_ordering operator<=>(const Variant& a, const Variant& b);

  private:
    VarType type_ = VarType::Empty;
    std::variant<std::monostate, bool, std::int16_t, std::int32_t, float, double, Currency,
                 DateTime, std::string>
        value_;
};

// For test failure messages and logs: the type and the Italian text ("Long 5", "Null").
std::ostream& operator<<(std::ostream& out, const Variant& value);
std::ostream& operator<<(std::ostream& out, Currency value);
std::ostream& operator<<(std::ostream& out, DateTime value);

// Int (towards minus infinity) and Fix (towards zero).
double Int(double value);
double Fix(double value);

// IsNumeric and IsDate, on the Italian forms.
bool isNumeric(const Variant& value);
bool isDate(const Variant& value);

// The Italian text of a number: decimal comma, up to 15 significant digits, no trailing zeros,
// no thousands separator ("1234,5", "-0,25", "1E+15" style only beyond 15 digits).
std::string numberText(double value);
// "dd/mm/yyyy", with " hh:mm:ss" when the value has a time; a time alone gives "hh:mm:ss".
std::string dateText(DateTime value);

// Reads an Italian number ("1.234,56", "-3", "1,5E3"); false when the text is not one.
bool parseNumber(std::string_view text, double& out);
// Reads "dd/mm/yyyy", "d/m/yy", "dd-mm-yyyy", "dd.mm.yyyy" and ISO "yyyy-mm-dd", each with an
// optional time "hh:mm[:ss]", or a time alone; years 00..29 are 20xx, 30..99 are 19xx.
// False when the text is not a date (no compact "ddmmyyyy", no day without its year).
bool parseDate(std::string_view text, DateTime& out);

}  // namespace tolvane
