// Business rules shared by several windows: qualified names, separator escapes, account split.
// The account split is the general library's one rule; it must not be written twice.
#include "common/servizi_comuni.h"

#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

std::string CampoQualificato(std::string_view a, std::string_view b) {
    std::string out(a);
    out += '.';
    out += b;
    return out;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string SeparaPercorso(std::string_view psTesto) {
    std::string out;
    std::size_t i = 0;
    while (i < psTesto.size()) {
        const char c = psTesto[i];
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < psTesto.size() && psTesto[i + 1] == '\\') {
            out += '\\';
            i += 2;
            continue;
        }
        if (i + 3 < psTesto.size() && isDigit(psTesto[i + 1]) && isDigit(psTesto[i + 2]) &&
            isDigit(psTesto[i + 3])) {
            const int code =
                (psTesto[i + 1] - '0') * 100 + (psTesto[i + 2] - '0') * 10 + (psTesto[i + 3] - '0');
            if (code <= 255) {
                out += Chr(code);
                i += 4;
                continue;
            }
        }
        out += '\\';
        ++i;
    }
    return out;
}

void DividiConto(std::string_view psContoCompleto, std::string& psGruppo, std::string& psMastro,
                 std::string& psConto) {
    splitAccountText(psContoCompleto, psGruppo, psMastro, psConto);
}

}  // namespace tolvane
