// Internal helpers shared by the value type's source files; not for use outside src/platform.
// Nothing here may depend on the machine's locale.
#pragma once

#include <string>
#include <string_view>

#include "platform/variant.h"

namespace tolvane {

enum class NumberRead { Ok, NotANumber, Overflow };

// The Italian number reader behind parseNumber, telling overflow apart from bad text.
NumberRead readNumber(std::string_view text, double& out);
// The same for a Currency, exact to the fourth decimal (no detour through double).
NumberRead readCurrency(std::string_view text, Currency& out);

std::string singleText(float value);  // 7 significant digits
std::string currencyText(Currency value);

}  // namespace tolvane
