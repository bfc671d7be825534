// The functions, the like() patterns and the caseless collation that translated SQL runs on,
// with the dialect's meaning and null handling. Errors are reported to SQLite as statement
// failures, never turned into a silent Null or 0.
#include "db/sql_functions.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/names.h"
#include "platform/numbered_error.h"
#include "platform/text.h"
#include "platform/variant.h"

namespace tolvane {

namespace {

// A failure inside a function: becomes the statement's error message.
struct SqlFunctionError {
    std::string message;
};

[[noreturn]] void raise(const std::string& message) { throw SqlFunctionError{message}; }

bool isNull(sqlite3_value* v) { return sqlite3_value_type(v) == SQLITE_NULL; }

std::string rawText(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_value_bytes(v))) : std::string();
}

// The text form of a value, as a number is converted where text is wanted.
std::string textOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return std::to_string(sqlite3_value_int64(v));
        case SQLITE_FLOAT:
            return numberText(sqlite3_value_double(v));
        case SQLITE_NULL:
            return {};
        default:
            return rawText(v);
    }
}

double numberOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return static_cast<double>(sqlite3_value_int64(v));
        case SQLITE_FLOAT:
            return sqlite3_value_double(v);
        default: {
            double out = 0;
            if (!parseNumber(rawText(v), out)) raise("Tipo non corrispondente");
            return out;
        }
    }
}

bool isInteger(sqlite3_value* v) { return sqlite3_value_type(v) == SQLITE_INTEGER; }

std::int64_t roundHalfEven(double x) {
    const double r = std::nearbyint(x);  // default rounding mode: ties to even
    if (!(r >= -9.2e18 && r <= 9.2e18)) raise("Overflow");
    return static_cast<std::int64_t>(r);
}

long longArgument(sqlite3_value* v) {
    const double d = numberOf(v);
    const std::int64_t n = roundHalfEven(d);
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        raise("Overflow");
    return static_cast<long>(n);
}

void resultText(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

void resultNumber(sqlite3_context* ctx, double d) {
    if (std::isnan(d) || std::isinf(d)) raise("Overflow");
    sqlite3_result_double(ctx, d);
}

// Runs a function body, turning our failures into SQLite errors.
template <typename Body>
void guarded(sqlite3_context* ctx, Body body) {
    try {
        body();
    } catch (const SqlFunctionError& e) {
        sqlite3_result_error(ctx, e.message.c_str(), -1);
    } catch (const NumberedError& e) {
        sqlite3_result_error(ctx, e.description().c_str(), -1);
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

bool anyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (isNull(argv[i])) return true;
    return false;
}

// "a" & Null is "a"; only Null & Null is Null.
void fnConcat(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNull(argv[0]) && isNull(argv[1])) return sqlite3_result_null(ctx);
        resultText(ctx, textOf(argv[0]) + textOf(argv[1]));
    });
}

// "+" joins two texts and adds anything else.
void fnAdd(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        if (sqlite3_value_type(argv[0]) == SQLITE_TEXT &&
            sqlite3_value_type(argv[1]) == SQLITE_TEXT)
            return resultText(ctx, rawText(argv[0]) + rawText(argv[1]));
        if (isInteger(argv[0]) && isInteger(argv[1])) {
            std::int64_t sum = 0;
            if (!__builtin_add_overflow(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]),
                                        &sum))
                return sqlite3_result_int64(ctx, sum);
        }
        resultNumber(ctx, numberOf(argv[0]) + numberOf(argv[1]));
    });
}

void fnDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const double divisor = numberOf(argv[1]);
        if (divisor == 0) raise("Divisione per zero");
        resultNumber(ctx, numberOf(argv[0]) / divisor);
    });
}

// "\" and Mod round their operands to whole numbers first.
void fnIntegerDivision(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool remainder) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const std::int64_t a = roundHalfEven(numberOf(argv[0]));
        const std::int64_t b = roundHalfEven(numberOf(argv[1]));
        if (b == 0) raise("Divisione per zero");
        sqlite3_result_int64(ctx, remainder ? a % b : a / b);
    });
}

void fnIdiv(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    fnIntegerDivision(ctx, argc, argv, false);
}
void fnMod(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    fnIntegerDivision(ctx, argc, argv, true);
}

void fnPow(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        resultNumber(ctx, std::pow(numberOf(argv[0]), numberOf(argv[1])));
    });
}

// Val: blanks anywhere are skipped, the number stops at the first character that cannot
// continue it, "." is always the decimal point, "&H"/"&O" read hex and octal.
double valOf(const std::string& input) {
    std::string s;
    for (char c : input)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') s += c;
    if (s.size() >= 2 && s[0] == '&' &&
        (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        std::int64_t value = 0;
        for (std::size_t i = 2; i < s.size(); ++i) {
            const char c = lowerAscii(s[i]);
            int digit = (c >= '0' && c <= '9')   ? c - '0'
                        : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                                 : 99;
            if (digit >= base) break;
            value = value * base + digit;
            if (value > 0xFFFFFFFFLL) break;
        }
        return static_cast<double>(value);
    }
    std::size_t i = 0;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') {
            number += s[i];
            digits = true;
        } else if (s[i] == '.' && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        std::size_t first = j;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') exponent += s[j++];
        if (j > first) number += exponent;
    }
    return std::strtod(number.c_str(), nullptr);
}

void fnVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNull(argv[0])) return sqlite3_result_null(ctx);
        if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) return resultNumber(ctx, numberOf(argv[0]));
        resultNumber(ctx, valOf(rawText(argv[0])));
    });
}

// Str: a blank in place of the plus sign, "." as decimal point, no zero before it.
void fnStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNull(argv[0])) return sqlite3_result_null(ctx);
        std::string s;
        if (isInteger(argv[0])) {
            s = std::to_string(sqlite3_value_int64(argv[0]));
        } else {
            s = numberText(numberOf(argv[0]));
            for (char& c : s)
                if (c == ',') c = '.';
            if (s.rfind("0.", 0) == 0) s.erase(0, 1);
            else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
        }
        resultText(ctx, s.front() == '-' ? s : " " + s);
    });
}

void fnCStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNull(argv[0])) return sqlite3_result_null(ctx);
        resultText(ctx, textOf(argv[0]));
    });
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNull(argv[0])) return sqlite3_result_null(ctx);
        sqlite3_result_int64(ctx, static_cast<std::int64_t>(Len(textOf(argv[0]))));
    });
}

void fnLeft(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        resultText(ctx, Left(textOf(argv[0]), longArgument(argv[1])));
    });
}

void fnRight(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        resultText(ctx, Right(textOf(argv[0]), longArgument(argv[1])));
    });
}

void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const long length = argc == 3 ? longArgument(argv[2]) : -1;
        if (argc == 3 && length < 0) raise("Chiamata di routine o argomento non validi");
        resultText(ctx, Mid(textOf(argv[0]), longArgument(argv[1]), length));
    });
}

// InStr(start, text, sought [, compare]); compare 0 is binary, anything else caseless.
void fnInStr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const long start = longArgument(argv[0]);
        if (start < 1) raise("Chiamata di routine o argomento non validi");
        const bool textCompare = argc < 4 || longArgument(argv[3]) != 0;
        sqlite3_result_int64(ctx, InStr(start, textOf(argv[1]), textOf(argv[2]), textCompare));
    });
}

template <std::string (*Fn)(std::string_view)>
void fnText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNull(argv[0])) return sqlite3_result_null(ctx);
        resultText(ctx, Fn(textOf(argv[0])));
    });
}

void fnReplace(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        resultText(ctx, Replace(textOf(argv[0]), textOf(argv[1]), textOf(argv[2])));
    });
}

// Int rounds down, Fix towards zero; whole numbers stay whole.
void fnWhole(sqlite3_context* ctx, sqlite3_value** argv, bool towardsZero) {
    guarded(ctx, [&] {
        if (isNull(argv[0])) return sqlite3_result_null(ctx);
        if (isInteger(argv[0])) return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        const double d = numberOf(argv[0]);
        resultNumber(ctx, towardsZero ? std::trunc(d) : std::floor(d));
    });
}

void fnInt(sqlite3_context* ctx, int, sqlite3_value** argv) { fnWhole(ctx, argv, false); }
void fnFix(sqlite3_context* ctx, int, sqlite3_value** argv) { fnWhole(ctx, argv, true); }

void fnIsNumeric(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        bool numeric = false;
        switch (sqlite3_value_type(argv[0])) {
            case SQLITE_INTEGER:
            case SQLITE_FLOAT:
                numeric = true;
                break;
            case SQLITE_TEXT:
                numeric = isNumeric(Variant(rawText(argv[0])));
                break;
            default:
                break;
        }
        sqlite3_result_int(ctx, numeric ? -1 : 0);
    });
}

// CLng and CInt round half to even and refuse what does not fit.
void fnConvertWhole(sqlite3_context* ctx, sqlite3_value** argv, std::int64_t low,
                    std::int64_t high) {
    guarded(ctx, [&] {
        if (isNull(argv[0])) raise("Uso non valido di Null");
        const std::int64_t n =
            isInteger(argv[0]) ? sqlite3_value_int64(argv[0]) : roundHalfEven(numberOf(argv[0]));
        if (n < low || n > high) raise("Overflow");
        sqlite3_result_int64(ctx, n);
    });
}

void fnCLng(sqlite3_context* ctx, int, sqlite3_value** argv) {
    fnConvertWhole(ctx, argv, std::numeric_limits<std::int32_t>::min(),
                   std::numeric_limits<std::int32_t>::max());
}
void fnCInt(sqlite3_context* ctx, int, sqlite3_value** argv) {
    fnConvertWhole(ctx, argv, -32768, 32767);
}

void fnCDbl(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNull(argv[0])) raise("Uso non valido di Null");
        resultNumber(ctx, numberOf(argv[0]));
    });
}

// Round: half to even.
void fnRound(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const long places = argc == 2 ? longArgument(argv[1]) : 0;
        if (places < 0 || places > 15) raise("Chiamata di routine o argomento non validi");
        const double scale = std::pow(10.0, static_cast<double>(places));
        resultNumber(ctx, std::nearbyint(numberOf(argv[0]) * scale) / scale);
    });
}

// SQLite calls like(pattern, text) for "text LIKE pattern".
void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        sqlite3_result_int(ctx, Like(textOf(argv[1]), textOf(argv[0])) ? 1 : 0);
    });
}

// Lower-case fold of the letters of the program's character set (Latin-1, Latin Extended-A)
// plus Greek and Cyrillic capitals; ASCII folds to lower case exactly as SQLite's NOCASE.
std::uint32_t foldCase(std::uint32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c >= 0x100 && c <= 0x137) return c | 1;
    if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177) return c | 1;
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c + 1 : c;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

// One code point; a byte that does not start valid UTF-8 stands for itself above the range
// of code points, so that the order stays total.
std::uint32_t decodeOne(const unsigned char* s, int n, int& i) {
    const unsigned char b = s[i];
    if (b < 0x80) {
        ++i;
        return b;
    }
    const int extra = (b >= 0xC2 && b <= 0xDF)   ? 1
                      : (b >= 0xE0 && b <= 0xEF) ? 2
                      : (b >= 0xF0 && b <= 0xF4) ? 3
                                                 : 0;
    if (extra == 0 || i + extra >= n) {
        ++i;
        return 0x110000u + b;
    }
    std::uint32_t c = b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((s[i + k] & 0xC0) != 0x80) {
            ++i;
            return 0x110000u + b;
        }
        c = (c << 6) | (s[i + k] & 0x3F);
    }
    i += extra + 1;
    return c;
}

int compareCaseless(void*, int n1, const void* p1, int n2, const void* p2) {
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    // Keys of one table often share a long prefix: equal ASCII bytes are passed over unfolded.
    int i = 0;
    while (i < n1 && i < n2 && a[i] == b[i] && a[i] < 0x80) ++i;
    int j = i;
    while (i < n1 && j < n2) {
        std::uint32_t x, y;
        if (a[i] < 0x80 && b[j] < 0x80) {
            x = foldCase(a[i++]);
            y = foldCase(b[j++]);
        } else {
            x = foldCase(decodeOne(a, n1, i));
            y = foldCase(decodeOne(b, n2, j));
        }
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < n1) return 1;
    if (j < n2) return -1;
    return 0;
}

using SqlFunction = void (*)(sqlite3_context*, int, sqlite3_value**);

struct Registration {
    const char* name;
    int args;
    SqlFunction fn;
};

constexpr Registration kRegistrations[] = {
    {"acc_concat", 2, fnConcat},
    {"acc_add", 2, fnAdd},
    {"acc_div", 2, fnDiv},
    {"acc_idiv", 2, fnIdiv},
    {"acc_mod", 2, fnMod},
    {"acc_pow", 2, fnPow},
    {"acc_val", 1, fnVal},
    {"acc_str", 1, fnStr},
    {"acc_cstr", 1, fnCStr},
    {"acc_len", 1, fnLen},
    {"acc_left", 2, fnLeft},
    {"acc_right", 2, fnRight},
    {"acc_mid", 2, fnMid},
    {"acc_mid", 3, fnMid},
    {"acc_instr", 3, fnInStr},
    {"acc_instr", 4, fnInStr},
    {"acc_ucase", 1, fnText<UCase>},
    {"acc_lcase", 1, fnText<LCase>},
    {"acc_trim", 1, fnText<Trim>},
    {"acc_ltrim", 1, fnText<LTrim>},
    {"acc_rtrim", 1, fnText<RTrim>},
    {"acc_replace", 3, fnReplace},
    {"acc_int", 1, fnInt},
    {"acc_fix", 1, fnFix},
    {"acc_isnumeric", 1, fnIsNumeric},
    {"acc_clng", 1, fnCLng},
    {"acc_cint", 1, fnCInt},
    {"acc_cdbl", 1, fnCDbl},
    {"acc_round", 1, fnRound},
    {"acc_round", 2, fnRound},
    {"like", 2, fnLike},
};

void check(sqlite3* db, int rc, const char* what) {
    if (rc != SQLITE_OK)
        throw NumberedError(
            errnum::DatabaseFailure,
            std::string("Registrazione di ") + what + " non riuscita: " + sqlite3_errmsg(db),
            "sql_functions");
}

}  // namespace

void registerAccessFunctions(sqlite3* db) {
    for (const Registration& r : kRegistrations)
        check(db,
              sqlite3_create_function_v2(db, r.name, r.args, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                         nullptr, r.fn, nullptr, nullptr, nullptr),
              r.name);
    check(db,
          sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, compareCaseless, nullptr),
          "NOCASE");
    // Names are always quoted by the translator: a misspelt one must fail, not become text.
    check(db, sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, static_cast<int*>(nullptr)), "DQS");
}

}  // namespace tolvane
