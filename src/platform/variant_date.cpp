// Dates of the value type: serial days since 30/12/1899, calendar parts, Italian and ISO texts.
// Must never consult the machine's clock or locale; a day that does not exist is never accepted.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/variant.h"

namespace tolvane {

namespace {

constexpr std::int64_t kSerialOfEpoch = -25569;  // 1970-01-01 counted from 1899-12-30

// Days between 1970-01-01 and a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

bool validParts(int year, int month, int day, int hour, int minute, int second) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59;
}

double serialOf(int year, int month, int day, int hour, int minute, int second) {
    const std::int64_t days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        kSerialOfEpoch;
    const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before the epoch the time still counts forward from midnight: -1.25 is 29/12/1899 06:00.
    return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

// Calendar day number and seconds of the day, rounded to the second.
void split(double serial, std::int64_t& day, long& seconds) {
    if (!DateTime::inRange(serial)) throw NumberedError(errnum::Overflow, "Overflow", "CDate");
    const double whole = std::trunc(serial);
    day = static_cast<std::int64_t>(whole);
    seconds = std::lround(std::fabs(serial - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
}

}  // namespace

bool DateTime::inRange(double serial) {
    // The last second of 31/12/9999 must not round up into the year 10000.
    return serial > -657435.0 && serial < 2958465.0 + 86399.5 / 86400.0;
}

DateTime DateTime::fromParts(int year, int month, int day, int hour, int minute, int second) {
    if (!validParts(year, month, day, hour, minute, second))
        throw NumberedError(errnum::InvalidCall, "Chiamata di routine o argomento non validi",
                            "DateSerial");
    return DateTime{serialOf(year, month, day, hour, minute, second)};
}

void DateTime::parts(int& year, int& month, int& day) const {
    std::int64_t days = 0;
    long seconds = 0;
    split(serial, days, seconds);
    std::int64_t y = 0;
    unsigned m = 0;
    unsigned d = 0;
    civilFromDays(days + kSerialOfEpoch, y, m, d);
    year = static_cast<int>(y);
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

void DateTime::timeParts(int& hour, int& minute, int& second) const {
    std::int64_t days = 0;
    long seconds = 0;
    split(serial, days, seconds);
    hour = static_cast<int>(seconds / 3600);
    minute = static_cast<int>(seconds / 60 % 60);
    second = static_cast<int>(seconds % 60);
}

bool DateTime::hasTime() const {
    std::int64_t days = 0;
    long seconds = 0;
    split(serial, days, seconds);
    return seconds != 0;
}

int DateTime::weekday() const {
    std::int64_t days = 0;
    long seconds = 0;
    split(serial, days, seconds);
    // Day 0 was a Saturday.
    return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

std::string dateText(DateTime value) {
    std::int64_t days = 0;
    long seconds = 0;
    split(value.serial, days, seconds);
    char buf[64];
    const int hh = static_cast<int>(seconds / 3600);
    const int mi = static_cast<int>(seconds / 60 % 60);
    const int ss = static_cast<int>(seconds % 60);
    if (days == 0) {
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hh, mi, ss);
        return buf;
    }
    int y = 0;
    int m = 0;
    int d = 0;
    value.parts(y, m, d);
    // The year is not padded: the "no date" marker of old data reads "01/01/100".
    if (seconds == 0) std::snprintf(buf, sizeof buf, "%02d/%02d/%d", d, m, y);
    else std::snprintf(buf, sizeof buf, "%02d/%02d/%d %02d:%02d:%02d", d, m, y, hh, mi, ss);
    return buf;
}

namespace {

class Cursor {
  public:
    explicit Cursor(std::string_view s) : s_(s) {}
    bool atEnd() const { return i_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[i_]; }
    bool take(char c) {
        if (peek() != c) return false;
        ++i_;
        return true;
    }
    // Up to maxDigits digits; false when there are none or more.
    bool number(int maxDigits, int& value, int& count) {
        value = 0;
        count = 0;
        while (!atEnd() && s_[i_] >= '0' && s_[i_] <= '9') {
            if (++count > maxDigits) return false;
            value = value * 10 + (s_[i_++] - '0');
        }
        return count > 0;
    }
    bool blanks() {
        const std::size_t start = i_;
        while (!atEnd() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
        return i_ > start;
    }

  private:
    std::string_view s_;
    std::size_t i_ = 0;
};

bool readTime(Cursor& c, bool dotAllowed, int& h, int& mi, int& s) {
    int count = 0;
    if (!c.number(2, h, count)) return false;
    const char sep = c.peek();
    if (!(sep == ':' || (dotAllowed && sep == '.'))) return false;
    c.take(sep);
    if (!c.number(2, mi, count)) return false;
    s = 0;
    if (c.take(sep) && !c.number(2, s, count)) return false;
    return true;
}

}  // namespace

bool parseDate(std::string_view text, DateTime& out) {
    Cursor c(text);
    c.blanks();
    int a = 0;
    int aDigits = 0;
    if (!c.number(4, a, aDigits)) return false;
    int h = 0;
    int mi = 0;
    int s = 0;
    if (c.peek() == ':') {
        Cursor t(text);
        t.blanks();
        if (!readTime(t, false, h, mi, s)) return false;
        t.blanks();
        if (!t.atEnd() || !validParts(1899, 12, 30, h, mi, s)) return false;
        out = DateTime{(h * 3600.0 + mi * 60.0 + s) / 86400.0};
        return true;
    }
    const char sep = c.peek();
    if (sep != '/' && sep != '-' && sep != '.') return false;
    c.take(sep);
    int b = 0;
    int bDigits = 0;
    int d3 = 0;
    int d3Digits = 0;
    if (!c.number(2, b, bDigits) || !c.take(sep) || !c.number(4, d3, d3Digits)) return false;
    int year = 0;
    int month = b;
    int day = 0;
    if (aDigits >= 3) {
        if (d3Digits > 2) return false;
        year = a;
        day = d3;
    } else {
        day = a;
        year = d3;
        // Two-digit years: 00..29 are this century, 30..99 the last.
        if (d3Digits <= 2) year += year < 30 ? 2000 : 1900;
    }
    const bool hadBlanks = c.blanks();
    if (!c.atEnd()) {
        if (!hadBlanks && !c.take('T')) return false;
        if (!readTime(c, true, h, mi, s)) return false;
        c.blanks();
        if (!c.atEnd()) return false;
    }
    if (!validParts(year, month, day, h, mi, s)) return false;
    out = DateTime{serialOf(year, month, day, h, mi, s)};
    return true;
}

}  // namespace tolvane
