// What the batch loader uses of the suite's general library, in one place: type names, text
// conversions, emptiness, SQL literals and rounding. Never holds state of its own.
#pragma once

#include <string>
#include <string_view>

#include "platform/variant.h"

namespace tolvane {

// CodiceTipo of the general library for a full type name ("vbvLong", "dbText").
int libraryTypeCode(std::string_view fullName);
// The text converted to a layout type code (2 Integer .. 7 Date); other codes give the text.
// Raises the library's error when the text does not convert.
Variant convertLayoutText(std::string_view text, int typeCode);
// EVuoto: Null, Empty, "" and blank text are empty.
bool isEmptyValue(const Variant& value);
// ValoreSql: the value as an SQL literal of the program's dialect for a type code.
std::string sqlLiteral(const Variant& value, int typeCode);
// Arrotonda with mode "A", step 1 and exponent minus the decimals.
Variant roundToDecimals(const Variant& value, int decimals);

}  // namespace tolvane
