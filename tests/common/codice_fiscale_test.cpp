// VAT numbers and fiscal codes: check digit, check letter, omocodia letters, shape.
#include "common/codice_fiscale.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(VerCodFiscale, VatNumbersByCheckDigitFiscalCodesByCheckLetterAndShape) {
    struct Case {
        const char* code;
        int flag;  // 1: eleven characters are read as a fiscal code
        int expected;
    };
    const Case cases[] = {
        {"12345678903", 0, 0},      {"02441250961", 0, 1},       {"1234567890A", 0, 1},
        {"A2345678903", 0, 1},      {"12345678903", 1, 1},       {"RSSMRA85T10A562S", 0, 0},
        {"rssmra85t10a562s", 0, 0}, {"RSSMRA85T10A56NH", 0, 0},  {"RSSMRAURTLMA562C", 0, 0},
        {"RSSMRA85T10A562S", 1, 0}, {"RSSMRA85T10A562T", 0, 1},  {"RSSMRA85T10A56NS", 0, 1},
        {"RSSMRA85W10A562A", 0, 1}, {"RSSMRA85T1AA562S", 0, 1},  {"RSSMR185T10A562T", 0, 1},
        {"RSSMRA85T10A562", 0, 1},  {"RSSMRA85T10A562SX", 0, 1}, {"", 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VerCodFiscale(c.code, c.flag), c.expected) << c.code << " flag " << c.flag;
}

}  // namespace
}  // namespace tolvane
