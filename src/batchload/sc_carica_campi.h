// One destination column of a batch layout (a CaricaDettaglio row): types, validity lists, size
// and decode rows. Never reads the input file or writes a table: the loader ScCarica does.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/variant.h"

namespace tolvane {

// Type codes of the layouts.
namespace tipocampo {
constexpr int Nessuno = 0;
constexpr int Intero = 2;
constexpr int Lungo = 3;
constexpr int Singolo = 4;
constexpr int Doppio = 5;
constexpr int Valuta = 6;
constexpr int Data = 7;
constexpr int Testo = 8;
}  // namespace tipocampo

// One CaricaDecod row.
struct scCaricaDecod {
    std::string osNomeCampo;
    std::string osNomeTabella;
    std::string osValOrig;
    std::string osValDest;
};

class ScCaricaCampi {
  public:
    std::string osNomeCampo;
    std::string osTabella;
    std::string osTabellaCampo;
    std::string osCodTab;
    std::string osTipoOrig;
    std::string osTipoDest;
    std::string osNumCampo;
    std::string osChiave;
    std::string osRiempie;
    int oiQuanto = 0;
    int oiInizio = 0;
    int oiLunghezza = 0;
    std::string osDefault;
    std::string osObbligatorio;
    std::string os0toNull;
    int oiLimiteDim = 0;
    std::string osTipoOper;
    std::string osValoreOper;
    std::string osLireOValuta;
    std::string osAggiorna;
    int oiNumDec = 0;

    // Raises 457 when the field already has a row for that original value.
    void AddDecod(const std::string& psValOrig, const std::string& psTabella,
                  const std::string& psValDest);
    int oiTipoOrig() const;
    int oiTipoDest() const;
    const Variant& ovNonVal() const { return mvNonVal_; }
    const std::string& osNonVal() const { return msNonVal_; }
    void osNonVal(std::string_view psNonVal);
    const Variant& ovValValido() const { return mvValValido_; }
    const std::string& osValValido() const { return msValValido_; }
    void osValValido(std::string_view psValValido);
    // The stored destination value of the first decode row matching the value; the value
    // unchanged when none matches. A row whose original value does not convert is passed over.
    std::string LeggiDecod(const std::string& psValore) const;
    // The text converted to a type code (default: the destination type); raises on a refusal.
    Variant ConvValTipo(std::string_view psValore, std::optional<int> pvTipo = std::nullopt) const;
    bool ValoreNonValido(const Variant& pvValore) const;
    int oiDimensione() const { return miDimensione_; }
    void oiDimensione(int piDimensione) { miDimensione_ = piDimensione; }
    std::string osKey() const { return osTabella + "." + osNomeCampo; }

    bool hasDecodes() const { return !mcolDecod_.empty(); }
    const std::vector<scCaricaDecod>& decodes() const { return mcolDecod_; }

  private:
    bool matches(const Variant& pattern, const Variant& value) const;

    std::string msNonVal_;
    Variant mvNonVal_;
    std::string msValValido_;
    Variant mvValValido_;
    int miDimensione_ = 0;
    std::vector<scCaricaDecod> mcolDecod_;
    std::unordered_map<std::string, std::size_t> decodKeys_;  // lower-case key -> row

    // Type codes follow the names; cached against the name they came from.
    mutable std::string origName_ = "\x01";
    mutable int origCode_ = 0;
    mutable std::string destName_ = "\x01";
    mutable int destCode_ = 0;
    // Decode rows by their converted original value, built on first use.
    mutable bool decodIndexBuilt_ = false;
    mutable int decodIndexType_ = -1;
    mutable std::unordered_map<std::string, std::size_t> decodIndex_;
};

// The type code of a layout's type name: "db.."/"vb.." names as they are, others behind "vbv".
int codiceTipoCampo(std::string_view nome);

}  // namespace tolvane
