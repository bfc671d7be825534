// VAT numbers and fiscal codes: check digit, check letter, omocodia letters, shape.
#include "common/codice_fiscale.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(VerCodFiscale, VatNumbersByCheckDigit) {
    struct Case {
        const char* code;
        int expected;
    };
    const Case cases[] = {
        {"12345678903", 0}, {"02441250962", 0}, {"02441250961", 1},
        {"1234567890A", 1}, {"12345 78903", 1}, {"A2345678903", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(VerCodFiscale(c.code, 0), c.expected) << c.code;
    EXPECT_EQ(VerCodFiscale("12345678903", 1), 1);
}

TEST(VerCodFiscale, FiscalCodesByCheckLetterAndShape) {
    struct Case {
        const char* code;
        int expected;
    };
    const Case cases[] = {
        {"RSSMRA85T10A562S", 0},
        {"rssmra85t10a562s", 0},
        {"BNCGLI90A41F205H", 0},
        {"RSSMRA85T10A56NH", 0},
        {"RSSMRAURTLMA562C", 0},
        {"RSSMRA85T10A562T", 1},
        {"RSSMRA85T10A56NS", 1},
        {"RSSMRA85W10A562A", 1},
        {"RSSMRA85T1AA562S", 1},
        {"RSSMR185T10A562T", 1},
        {"RSSMRA85T10A562", 1},
        {"RSSMRA85T10A562SX", 1},
        {"", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(VerCodFiscale(c.code, 0), c.expected) << c.code;
    EXPECT_EQ(VerCodFiscale("RSSMRA85T10A562S", 1), 0);
}

}  // namespace
}  // namespace tolvane
