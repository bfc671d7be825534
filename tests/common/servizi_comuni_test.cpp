// Shared business rules: separator escapes (a backslash and three digits up to 255 only), the
// account split that never puts a dash into a part, VAT numbers and fiscal codes by their check
// character, omocodia letters and shape.
#include "common/servizi_comuni.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/codice_fiscale.h"

namespace tolvane {
namespace {

TEST(ServiziComuni, SeparaPercorsoDecodesOnlyCodesUpTo255) {
    struct Case {
        const char* text;
        std::string expected;
    };
    const Case cases[] = {
        {"x\\0591", "x;1"},
        {"\\128", "\xE2\x82\xAC"},
        {"\\000", std::string(1, '\0')},
        {"\\256", "\\256"},
        {"\\\\", "\\"},
        {"\\\\009", "\\009"},
        {"\\12", "\\12"},
        {"a\\", "a\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(SeparaPercorso(c.text), c.expected) << c.text;
}

TEST(ServiziComuni, DividiContoSplitsAtDashesOrFixedPositions) {
    struct Case {
        const char *text, *group, *mastro, *account;
    };
    const Case cases[] = {
        {"01-02-003", "01", "02", "003"},
        {"0102003", "01", "02", "003"},
        {"01-02-003-4", "01", "02", "003-4"},
        {"01--", "01", "", ""},
        {"-02-003", "", "02", "003"},
        {"01-02", "01", "02", ""},
        {"", "", "", ""},
        {"010", "01", "0", ""},
        {"èà0312", "èà", "03", "12"},
    };
    for (const Case& c : cases) {
        std::string g = "x", m = "x", a = "x";
        DividiConto(c.text, g, m, a);
        EXPECT_EQ((std::vector<std::string>{g, m, a}),
                  (std::vector<std::string>{c.group, c.mastro, c.account}))
            << c.text;
    }
}

TEST(VerCodFiscale, VatNumbersByCheckDigitFiscalCodesByCheckLetterAndShape) {
    struct Case {
        const char* code;
        int flag;  // 1: eleven characters are read as a fiscal code
        int expected;
    };
    const Case cases[] = {
        {"12345678903", 0, 0},      {"02441250961", 0, 1},      {"1234567890A", 0, 1},
        {"12345678903", 1, 1},      {"RSSMRA85T10A562S", 0, 0}, {"rssmra85t10a562s", 0, 0},
        {"RSSMRA85T10A56NH", 0, 0}, {"RSSMRAURTLMA562C", 0, 0}, {"RSSMRA85T10A562T", 0, 1},
        {"RSSMRA85T10A56NS", 0, 1}, {"RSSMRA85W10A562A", 0, 1}, {"RSSMRA85T1AA562S", 0, 1},
        {"RSSMR185T10A562T", 0, 1}, {"RSSMRA85T10A562", 0, 1},  {"", 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VerCodFiscale(c.code, c.flag), c.expected) << c.code << " flag " << c.flag;
}

}  // namespace
}  // namespace tolvane
