// The keyed list of values: a vector for the order of insertion, an index on the key folded
// to capitals for the look-up. The two must never disagree: every change goes through here.
#include "suite/elencovalori/elenco_valori.h"

#include "platform/numbered_error.h"
#include "platform/text.h"

namespace tolvane {

VoceElenco* ElencoValori::Voce(std::string_view psChiave) {
    const auto it = indice_.find(UCase(psChiave));
    return it == indice_.end() ? nullptr : &voci_[it->second];
}

const VoceElenco* ElencoValori::Voce(std::string_view psChiave) const {
    const auto it = indice_.find(UCase(psChiave));
    return it == indice_.end() ? nullptr : &voci_[it->second];
}

VoceElenco& ElencoValori::Aggiungi(std::string_view psChiave) {
    if (VoceElenco* v = Voce(psChiave)) return *v;
    VoceElenco v;
    v.Chiave = std::string(psChiave);
    v.Valore = Variant(ValoreMancante);
    indice_.emplace(UCase(psChiave), voci_.size());
    voci_.push_back(std::move(v));
    return voci_.back();
}

bool ElencoValori::Esiste(std::string_view psChiave) const { return Voce(psChiave) != nullptr; }

Variant ElencoValori::Valore(std::string_view psChiave) const {
    const VoceElenco* v = Voce(psChiave);
    return v ? v->Valore : Variant(ValoreMancante);
}

double ElencoValori::TipoVoce(std::string_view psChiave) const {
    const VoceElenco* v = Voce(psChiave);
    return v ? v->TipoVoce : 0;
}

std::string ElencoValori::Rottura(std::string_view psChiave) const {
    const VoceElenco* v = Voce(psChiave);
    return v ? v->Rottura : std::string();
}

std::int32_t ElencoValori::Contatore(std::string_view psChiave) const {
    const VoceElenco* v = Voce(psChiave);
    return v ? v->Contatore : 0;
}

Currency ElencoValori::ValoreIniziale(std::string_view psChiave) const {
    const VoceElenco* v = Voce(psChiave);
    return v ? v->ValoreIniziale : Currency{};
}

VoceElenco& ElencoValori::entryToWrite(std::string_view key, bool create) {
    if (VoceElenco* v = Voce(key)) return *v;
    if (!create) {
        throw NumberedError(errnum::ItemNotFound,
                            "Elemento non trovato in questo insieme: " + std::string(key),
                            "ElencoValori");
    }
    return Aggiungi(key);
}

void ElencoValori::Valore(std::string_view psChiave, const Variant& pvValore, bool pbCrea) {
    entryToWrite(psChiave, pbCrea).Valore = pvValore;
}

void ElencoValori::TipoVoce(std::string_view psChiave, double pdTipo, bool pbCrea) {
    entryToWrite(psChiave, pbCrea).TipoVoce = pdTipo;
}

void ElencoValori::Rottura(std::string_view psChiave, std::string_view psRottura, bool pbCrea) {
    entryToWrite(psChiave, pbCrea).Rottura = std::string(psRottura);
}

void ElencoValori::Contatore(std::string_view psChiave, std::int32_t plContatore, bool pbCrea) {
    entryToWrite(psChiave, pbCrea).Contatore = plContatore;
}

void ElencoValori::ValoreIniziale(std::string_view psChiave, Currency pcValore, bool pbCrea) {
    entryToWrite(psChiave, pbCrea).ValoreIniziale = pcValore;
}

bool ElencoValori::Rimuovi(std::string_view psChiave) {
    const auto it = indice_.find(UCase(psChiave));
    if (it == indice_.end()) return false;
    const std::size_t at = it->second;
    voci_.erase(voci_.begin() + static_cast<std::ptrdiff_t>(at));
    indice_.erase(it);
    for (auto& [key, pos] : indice_) {
        if (pos > at) --pos;
    }
    return true;
}

void ElencoValori::Svuota() {
    voci_.clear();
    indice_.clear();
}

}  // namespace tolvane
