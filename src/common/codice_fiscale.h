// Checks of Italian tax identifiers: the VAT number (partita IVA) and the fiscal code.
// They only say valid or not: they never correct or complete a code.
#pragma once

#include <string_view>

namespace tolvane {

// 1 when the text is not a valid code, 0 when it is. A text of 11 characters with piFlag 0 is
// checked as a VAT number (eleven digits, the last the check digit); any other text as a
// fiscal code of 16 characters with its check letter, letters in either case, the
// omocodia letters L M N P Q R S T U V standing for digits.
int VerCodFiscale(std::string_view psCodice, int piFlag);

}  // namespace tolvane
