// Small text and value services of the general library: placeholders, keywords, folders,
// largest and smallest values. Positions count characters, never bytes.
// Never loops on a replacement that holds what it replaces.
#include <string>

#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "LibGenerale";

Variant pick(std::initializer_list<Variant> values, bool largest) {
    Variant best = Variant::null();
    for (const Variant& v : values) {
        if (v.isNull()) continue;
        if (best.isNull()) {
            best = v;
            continue;
        }
        const auto order = v <=> best;
        if (largest ? order > 0 : order < 0) best = v;
    }
    return best;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Byte for byte, so that positions stay those of the text given.
std::string asciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

std::string LibGenerale::SostituisciSegnaposti(std::string_view psTesto, std::string_view psPezzo,
                                               std::string_view psSostituto) const {
    return Replace(psTesto, psPezzo, psSostituto, true);
}

std::string LibGenerale::SostituisciSegnaposti(int piInizio, std::string_view psTesto,
                                               std::string_view psPezzo,
                                               std::string_view psSostituto,
                                               int piConfronto) const {
    if (piInizio < 1 || (piConfronto != 0 && piConfronto != 1)) {
        throw NumberedError(errnum::InvalidCall, "Chiamata di routine o argomento non validi",
                            kSource);
    }
    const std::string head = Left(psTesto, piInizio - 1);
    const std::string tail = Mid(psTesto, piInizio);
    return head + Replace(tail, psPezzo, psSostituto, piConfronto == 1);
}

std::string LibGenerale::EstraiParametro(std::string_view psTesto,
                                         std::string_view psChiave) const {
    if (psChiave.empty()) return {};
    const std::string marker = "/" + std::string(psChiave);
    const std::string upperText = asciiUpper(psTesto);
    const std::string upperMarker = asciiUpper(marker);
    std::size_t at = 0;
    while ((at = upperText.find(upperMarker, at)) != std::string::npos) {
        const std::size_t after = at + upperMarker.size();
        const bool startsItem = at == 0 || isBlank(upperText[at - 1]);
        const bool endsKey = after == upperText.size() || upperText[after] == '=' ||
                             upperText[after] == ':' || isBlank(upperText[after]);
        if (startsItem && endsKey) {
            std::size_t from =
                after < upperText.size() && !isBlank(upperText[after]) ? after + 1 : after;
            std::size_t to = from;
            while (to < psTesto.size()) {
                if (isBlank(psTesto[to]) && to + 1 < psTesto.size() && psTesto[to + 1] == '/')
                    break;
                ++to;
            }
            return Trim(psTesto.substr(from, to - from));
        }
        at = after;
    }
    return {};
}

std::string LibGenerale::EstraiCartella(std::string_view psPercorso) const {
    const std::size_t last = psPercorso.find_last_of("\\/");
    if (last == std::string_view::npos) return {};
    return std::string(psPercorso.substr(0, last + 1));
}

Variant LibGenerale::Massimo(std::initializer_list<Variant> pvValori) const {
    return pick(pvValori, true);
}

Variant LibGenerale::Minimo(std::initializer_list<Variant> pvValori) const {
    return pick(pvValori, false);
}

long LibGenerale::MinimoPositivo(std::initializer_list<long> plValori) const {
    long best = 0;
    for (long v : plValori) {
        if (v > 0 && (best == 0 || v < best)) best = v;
    }
    return best;
}

}  // namespace tolvane
