// Conversions by declared column type, following the storage conventions of the databases.
// Text sizes count characters, not bytes; integers round half to even.
#include "db/db_values.h"

#include <sqlite3.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tolvane {

namespace {

std::size_t characterCount(std::string_view s) {
    std::size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

[[noreturn]] void raiseOverflow() {
    throw NumberedError(errnum::Overflow, "Overflow", "GestoreRs");
}

bool isEmptyInput(const Variant& v) {
    if (v.isEmpty() || v.isNull()) return true;
    const std::string* text = v.stringValue();
    return text && text->empty();
}

double numberOf(const Variant& v) {
    if (v.type() == VarType::Boolean) return v.toBool() ? -1.0 : 0.0;
    if (v.type() == VarType::Date) return v.toDate().serial;
    return v.toDouble();
}

Variant wholeNumber(const Variant& v, double low, double high) {
    double d = std::nearbyint(numberOf(v));  // the default rounding mode is half to even
    if (!std::isfinite(d) || d < low || d > high) raiseOverflow();
    if (high <= 32767) return Variant(static_cast<std::int16_t>(d));
    return Variant(static_cast<std::int32_t>(d));
}

int digits(std::string_view s, std::size_t pos, std::size_t count) {
    if (pos + count > s.size()) return -1;
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        value = value * 10 + (s[i] - '0');
    }
    return value;
}

}  // namespace

Variant toColumnValue(const ColumnInfo& column, const Variant& value) {
    if (isEmptyInput(value)) {
        bool text = column.kind == ColumnKind::Text || column.kind == ColumnKind::Memo;
        return text && column.notNull ? Variant(std::string()) : Variant::null();
    }
    switch (column.kind) {
        case ColumnKind::Text:
        case ColumnKind::Memo: {
            std::string s = value.toString();
            if (column.kind == ColumnKind::Text && column.size > 0 &&
                characterCount(s) > static_cast<std::size_t>(column.size))
                throw NumberedError(errnum::FieldTooSmall,
                                    "Il campo '" + column.name +
                                        "' è troppo piccolo per accettare la quantità di dati "
                                        "che si è tentato di aggiungere.",
                                    "GestoreRs");
            return Variant(std::move(s));
        }
        case ColumnKind::Byte:
            return wholeNumber(value, 0, 255);
        case ColumnKind::Integer:
            return wholeNumber(value, -32768, 32767);
        case ColumnKind::Long:
            return wholeNumber(value, -2147483648.0, 2147483647.0);
        case ColumnKind::Single: {
            double d = numberOf(value);
            if (!std::isfinite(d) || std::fabs(d) > FLT_MAX) raiseOverflow();
            return Variant(static_cast<float>(d));
        }
        case ColumnKind::Double: {
            double d = numberOf(value);
            if (!std::isfinite(d)) raiseOverflow();
            return Variant(d);
        }
        case ColumnKind::Currency:
            return Variant(value.toCurrency());
        case ColumnKind::Date:
            if (value.isNumberType() && value.type() != VarType::Boolean) {
                const double serial = value.toDouble();
                if (!DateTime::inRange(serial)) raiseOverflow();
                return Variant(DateTime{serial});
            }
            return Variant(value.toDate());
        case ColumnKind::Boolean:
            return Variant(value.toBool());
        case ColumnKind::Other:
            return value;
    }
    return value;
}

std::string isoDateText(DateTime value) {
    int y, m, d;
    value.parts(y, m, d);
    int hh = 0, mm = 0, ss = 0;
    if (value.hasTime()) value.timeParts(hh, mm, ss);
    char buffer[32];
    if (y < 0 || y > 9999) {
        if (value.hasTime())
            std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, hh, mm,
                          ss);
        else std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
        return buffer;
    }
    // Written digit by digit: a load binds one of these per date field and line.
    std::size_t at = 0;
    const auto put = [&buffer, &at](int n, int width, char after) {
        for (int i = width - 1; i >= 0; --i, n /= 10)
            buffer[at + static_cast<std::size_t>(i)] = static_cast<char>('0' + n % 10);
        at += static_cast<std::size_t>(width);
        if (after) buffer[at++] = after;
    };
    put(y, 4, '-');
    put(m, 2, '-');
    if (!value.hasTime()) {
        put(d, 2, 0);
        return std::string(buffer, at);
    }
    put(d, 2, ' ');
    put(hh, 2, ':');
    put(mm, 2, ':');
    put(ss, 2, 0);
    return std::string(buffer, at);
}

bool parseIsoDate(std::string_view text, DateTime& out) {
    int y = digits(text, 0, 4), m = digits(text, 5, 2), d = digits(text, 8, 2);
    if (y < 0 || m < 0 || d < 0 || text[4] != '-' || text[7] != '-') return false;
    int hh = 0, mm = 0, ss = 0;
    if (text.size() > 10) {
        if (text[10] != ' ' && text[10] != 'T') return false;
        hh = digits(text, 11, 2);
        mm = digits(text, 14, 2);
        if (hh < 0 || mm < 0 || text[13] != ':') return false;
        if (text.size() > 16) {
            if (text[16] != ':') return false;
            ss = digits(text, 17, 2);
            if (ss < 0) return false;
        }
    }
    try {
        out = DateTime::fromParts(y, m, d, hh, mm, ss);
    } catch (const NumberedError&) {
        return false;
    }
    return true;
}

void bindValue(sqlite3_stmt* stmt, int position, const Variant& value) {
    switch (value.type()) {
        case VarType::Empty:
        case VarType::Null:
            sqlite3_bind_null(stmt, position);
            break;
        case VarType::Integer:
            sqlite3_bind_int(stmt, position, value.toInteger());
            break;
        case VarType::Long:
            sqlite3_bind_int64(stmt, position, value.toLong());
            break;
        case VarType::Single:
            sqlite3_bind_double(stmt, position, value.toSingle());
            break;
        case VarType::Double:
            sqlite3_bind_double(stmt, position, value.toDouble());
            break;
        case VarType::Currency: {
            Currency c = value.toCurrency();
            if (c.scaled % 10000 == 0) sqlite3_bind_int64(stmt, position, c.scaled / 10000);
            else sqlite3_bind_double(stmt, position, c.toDouble());
            break;
        }
        case VarType::Date: {
            std::string iso = isoDateText(value.toDate());
            sqlite3_bind_text(stmt, position, iso.data(), static_cast<int>(iso.size()),
                              SQLITE_TRANSIENT);
            break;
        }
        case VarType::Boolean:
            sqlite3_bind_int(stmt, position, value.toBool() ? -1 : 0);
            break;
        case VarType::String: {
            const std::string& s = *value.stringValue();
            sqlite3_bind_text(stmt, position, s.data(), static_cast<int>(s.size()),
                              SQLITE_TRANSIENT);
            break;
        }
    }
}

void bindValueKept(sqlite3_stmt* stmt, int position, const Variant& value) {
    if (const std::string* text = value.stringValue())
        sqlite3_bind_text(stmt, position, text->data(), static_cast<int>(text->size()),
                          SQLITE_STATIC);
    else bindValue(stmt, position, value);
}

Variant readValue(sqlite3_stmt* stmt, int index, ColumnKind kind) {
    int storage = sqlite3_column_type(stmt, index);
    if (storage == SQLITE_NULL) return Variant::null();
    if (storage == SQLITE_TEXT || storage == SQLITE_BLOB) {
        const char* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
        std::string_view text(p ? p : "",
                              static_cast<std::size_t>(sqlite3_column_bytes(stmt, index)));
        if (kind == ColumnKind::Date) {
            DateTime date;
            if (parseIsoDate(text, date)) return Variant(date);
        }
        return Variant(text);
    }
    auto integerOf = [&]() -> Variant {
        sqlite3_int64 n = sqlite3_column_int64(stmt, index);
        if (storage == SQLITE_FLOAT) return Variant(sqlite3_column_double(stmt, index));
        if (n >= std::numeric_limits<std::int32_t>::min() &&
            n <= std::numeric_limits<std::int32_t>::max())
            return Variant(static_cast<std::int32_t>(n));
        return Variant(static_cast<double>(n));
    };
    switch (kind) {
        case ColumnKind::Text:
        case ColumnKind::Memo: {
            const char* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
            return Variant(std::string_view(
                p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, index))));
        }
        case ColumnKind::Byte:
        case ColumnKind::Integer: {
            sqlite3_int64 n = sqlite3_column_int64(stmt, index);
            if (storage == SQLITE_INTEGER && n >= -32768 && n <= 32767)
                return Variant(static_cast<std::int16_t>(n));
            return integerOf();
        }
        case ColumnKind::Long:
        case ColumnKind::Other:
            return integerOf();
        case ColumnKind::Single:
            return Variant(static_cast<float>(sqlite3_column_double(stmt, index)));
        case ColumnKind::Double:
            return Variant(sqlite3_column_double(stmt, index));
        case ColumnKind::Currency:
            return Variant(Currency::fromDouble(sqlite3_column_double(stmt, index)));
        case ColumnKind::Date:
            return Variant(DateTime{sqlite3_column_double(stmt, index)});
        case ColumnKind::Boolean:
            return Variant(sqlite3_column_int64(stmt, index) != 0);
    }
    return integerOf();
}

Variant emptyValueOf(ColumnKind kind) {
    switch (kind) {
        case ColumnKind::Byte:
        case ColumnKind::Integer:
        case ColumnKind::Boolean:
            return Variant(static_cast<std::int16_t>(0));
        case ColumnKind::Long:
            return Variant(static_cast<std::int32_t>(0));
        case ColumnKind::Single:
            return Variant(0.0f);
        case ColumnKind::Double:
            return Variant(0.0);
        case ColumnKind::Currency:
            return Variant(Currency{});
        default:
            return Variant(std::string());
    }
}

}  // namespace tolvane
