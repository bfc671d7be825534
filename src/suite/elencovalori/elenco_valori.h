// The collection library's keyed list of values: entries kept in the order they were added,
// found by a key compared without regard to case. Reading a key that is not there never
// raises: its value reads as the missing-value marker and its other members as zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/variant.h"

namespace tolvane {

struct VoceElenco {
    std::string Chiave;
    Variant Valore;       // entries made by the list start with the marker
    double TipoVoce = 0;  // 123.1 marks a counter
    std::string Rottura;  // the columns whose change restarts a counter
    std::int32_t Contatore = 0;
    Currency ValoreIniziale;  // a counter's starting value
};

class ElencoValori {
  public:
    static constexpr std::string_view ValoreMancante = "§ç~$!^";
    static constexpr double TipoVoceContatore = 123.1;

    // The entry of a key, nullptr when there is none.
    VoceElenco* Voce(std::string_view psChiave);
    const VoceElenco* Voce(std::string_view psChiave) const;
    // The entry of a key, added at the end when there is none.
    VoceElenco& Aggiungi(std::string_view psChiave);
    bool Esiste(std::string_view psChiave) const;

    // Readers: a missing key gives the marker (Valore), 0 or "".
    Variant Valore(std::string_view psChiave) const;
    double TipoVoce(std::string_view psChiave) const;
    std::string Rottura(std::string_view psChiave) const;
    std::int32_t Contatore(std::string_view psChiave) const;
    Currency ValoreIniziale(std::string_view psChiave) const;

    // Writers: a missing key is added when pbCrea, else raises 3265. Writing again replaces.
    void Valore(std::string_view psChiave, const Variant& pvValore, bool pbCrea = true);
    void TipoVoce(std::string_view psChiave, double pdTipo, bool pbCrea = true);
    void Rottura(std::string_view psChiave, std::string_view psRottura, bool pbCrea = true);
    void Contatore(std::string_view psChiave, std::int32_t plContatore, bool pbCrea = true);
    void ValoreIniziale(std::string_view psChiave, Currency pcValore, bool pbCrea = true);

    // True when the entry was there.
    bool Rimuovi(std::string_view psChiave);
    void Svuota();
    std::size_t Conta() const { return voci_.size(); }

    // In the order the entries were added.
    std::vector<VoceElenco>::const_iterator begin() const { return voci_.begin(); }
    std::vector<VoceElenco>::const_iterator end() const { return voci_.end(); }

  private:
    VoceElenco& entryToWrite(std::string_view key, bool create);
    std::vector<VoceElenco> voci_;
    std::unordered_map<std::string, std::size_t> indice_;  // folded key -> position
};

}  // namespace tolvane
