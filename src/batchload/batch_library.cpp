// The general library's services as the batch loader calls them.
// Never converts by rules of its own: every rule is the library's or the value type's.
#include "batchload/batch_library.h"

#include "batchload/sc_carica_campi.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

int libraryTypeCode(std::string_view fullName) { return goLibGen().CodiceTipo(fullName); }

Variant convertLayoutText(std::string_view text, int typeCode) {
    if (typeCode < tipocampo::Intero || typeCode > tipocampo::Data)
        return Variant(std::string(text));
    // The library's conversions, read from the blank-trimmed text without its intermediate copies:
    // blank text is zero (no date), anything else converts whole or raises.
    const std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) {
        if (typeCode == tipocampo::Valuta) return Variant(Currency{});
        if (typeCode == tipocampo::Data) return Variant::null();
        if (typeCode == tipocampo::Intero) return Variant(std::int16_t{0});
        if (typeCode == tipocampo::Lungo) return Variant(std::int32_t{0});
        if (typeCode == tipocampo::Singolo) return Variant(0.0f);
        return Variant(0.0);
    }
    const Variant value(std::string(text.substr(b, text.find_last_not_of(' ') - b + 1)));
    switch (typeCode) {
        case tipocampo::Intero:
            return Variant(value.toInteger());
        case tipocampo::Lungo:
            return Variant(value.toLong());
        case tipocampo::Singolo:
            return Variant(value.toSingle());
        case tipocampo::Doppio:
            return Variant(value.toDouble());
        case tipocampo::Valuta:
            return Variant(value.toCurrency());
        default:
            return Variant(value.toDate());
    }
}

bool isEmptyValue(const Variant& value) { return goLibGen().EVuoto(value); }

std::string sqlLiteral(const Variant& value, int typeCode) {
    return goLibGen().ValoreSql(value, typeCode);
}

Variant roundToDecimals(const Variant& value, int decimals) {
    return goLibGen().Arrotonda(value, "A", 1, -decimals);
}

}  // namespace tolvane
