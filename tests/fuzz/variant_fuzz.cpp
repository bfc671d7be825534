// Fuzz target: the value type's text conversions and their round trips.
// Fails on a crash or undefined behaviour, on an error other than the numbered ones, and on a
// value that does not read back from its own text (currency exactly, dates to the second).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/numbered_error.h"
#include "platform/variant.h"

using namespace tolvane;

namespace {

template <typename F>
void tolerant(F&& f) {
    try {
        f();
    } catch (const NumberedError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Variant v(text);
    tolerant([&] { (void)v.toBool(); });
    tolerant([&] { (void)v.toInteger(); });
    tolerant([&] { (void)v.toLong(); });
    tolerant([&] { (void)v.toSingle(); });
    tolerant([&] { (void)v.toDouble(); });
    (void)isNumeric(v);
    (void)isDate(v);
    tolerant([&] {
        const Currency c = v.toCurrency();
        if (Variant(Variant(c).toString()).toCurrency() != c) std::abort();
    });
    tolerant([&] {
        double d = 0;
        if (!parseNumber(text, d)) return;
        double back = 0;
        if (!parseNumber(numberText(d), back)) std::abort();
    });
    DateTime date;
    if (parseDate(text, date)) {
        DateTime back;
        if (!parseDate(dateText(date), back)) std::abort();
        if (dateText(back) != dateText(date)) std::abort();
    }
    // Any eight bytes as a serial: a date, or Overflow outside 01/01/100 .. 31/12/9999.
    if (size >= sizeof(double)) {
        double serial = 0;
        std::memcpy(&serial, data, sizeof serial);
        tolerant([&] {
            const std::string shown = dateText(DateTime{serial});
            if (!DateTime::inRange(serial)) std::abort();
            (void)shown;
        });
        tolerant([&] { (void)Variant(serial).toDate(); });
        tolerant([&] { (void)Variant(DateTime{serial}).toString(); });
        (void)(v == Variant(serial));
        (void)(v < Variant(serial));
    }
    return 0;
}
