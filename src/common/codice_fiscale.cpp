// VAT number and fiscal code checks by their check character.
// Never accepts a code whose check character does not match, whatever its shape.
#include "common/codice_fiscale.h"

#include <array>
#include <string>

namespace tolvane {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool validVatNumber(std::string_view s) {
    int sum = 0;
    for (std::size_t i = 0; i < 10; ++i) {
        if (!isDigit(s[i])) return false;
        int d = s[i] - '0';
        if (i % 2 == 1) {
            d *= 2;
            if (d > 9) d -= 9;
        }
        sum += d;
    }
    if (!isDigit(s[10])) return false;
    return (10 - sum % 10) % 10 == s[10] - '0';
}

// Value of a character in an odd position (1st, 3rd ... 15th); digits as the letter of the
// same rank (0 as A, 1 as B ...).
constexpr std::array<int, 26> kOddValues = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                            20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

constexpr std::string_view kOmocodia = "LMNPQRSTUV";
constexpr std::string_view kMonths = "ABCDEHLMPRST";

bool digitOrOmocodia(char c) { return isDigit(c) || kOmocodia.find(c) != std::string_view::npos; }

bool validFiscalCode(std::string_view text) {
    if (text.size() != 16) return false;
    std::string s;
    for (char c : text) s += upper(c);
    for (std::size_t i : {0u, 1u, 2u, 3u, 4u, 5u, 11u, 15u}) {
        if (!isUpperLetter(s[i])) return false;
    }
    for (std::size_t i : {6u, 7u, 9u, 10u, 12u, 13u, 14u}) {
        if (!digitOrOmocodia(s[i])) return false;
    }
    if (kMonths.find(s[8]) == std::string_view::npos) return false;
    int sum = 0;
    for (std::size_t i = 0; i < 15; ++i) {
        const char c = s[i];
        const int rank = isDigit(c) ? c - '0' : c - 'A';
        sum += (i % 2 == 0) ? kOddValues[static_cast<std::size_t>(rank)] : rank;
    }
    return s[15] == static_cast<char>('A' + sum % 26);
}

}  // namespace

int VerCodFiscale(std::string_view psCodice, int piFlag) {
    if (psCodice.size() == 11 && piFlag == 0) return validVatNumber(psCodice) ? 0 : 1;
    return validFiscalCode(psCodice) ? 0 : 1;
}

}  // namespace tolvane
