// The general library's services as the batch loader calls them.
// Never converts by rules of its own: every rule is the library's.
#include "batchload/batch_library.h"

#include "batchload/sc_carica_campi.h"
#include "suite/lib_generale.h"

namespace tolvane {

int libraryTypeCode(std::string_view fullName) { return goLibGen().CodiceTipo(fullName); }

Variant convertLayoutText(const std::string& text, int typeCode) {
    const LibGenerale& lib = goLibGen();
    const Variant value(text);
    switch (typeCode) {
    case tipocampo::Intero: return Variant(lib.ValoreIntero(value, true, false));
    case tipocampo::Lungo: return Variant(lib.ValoreLong(value, false));
    case tipocampo::Singolo: return Variant(lib.ValoreSingle(value, false));
    case tipocampo::Doppio: return Variant(lib.ValoreDouble(value, false));
    case tipocampo::Valuta: return Variant(lib.ValutaTesto(value, false));
    case tipocampo::Data: return lib.ValoreData(value, true);
    default: return value;
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
