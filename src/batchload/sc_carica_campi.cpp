// The layout field: type codes, validity tests and the decode table of one destination column.
// Never lets a malformed decode row hide the rows after it.
#include "batchload/sc_carica_campi.h"

#include "batchload/batch_library.h"
#include "platform/text.h"

namespace tolvane {

int codiceTipoCampo(std::string_view nome) {
    const std::string start = LCase(Left(nome, 2));
    if (start == "db" || start == "vb") return libraryTypeCode(nome);
    return libraryTypeCode("vbv" + std::string(nome));
}

int ScCaricaCampi::oiTipoOrig() const {
    if (origName_ != osTipoOrig) {
        origCode_ = codiceTipoCampo(osTipoOrig);
        origName_ = osTipoOrig;
    }
    return origCode_;
}

int ScCaricaCampi::oiTipoDest() const {
    if (destName_ != osTipoDest) {
        destCode_ = codiceTipoCampo(osTipoDest);
        destName_ = osTipoDest;
    }
    return destCode_;
}

Variant ScCaricaCampi::ConvValTipo(std::string_view psValore, std::optional<int> pvTipo) const {
    return convertLayoutText(psValore, pvTipo ? *pvTipo : oiTipoDest());
}

void ScCaricaCampi::osNonVal(std::string_view psNonVal) {
    msNonVal_ = Trim(psNonVal);
    mvNonVal_ = ConvValTipo(msNonVal_);
}

void ScCaricaCampi::osValValido(std::string_view psValValido) {
    msValValido_ = Trim(psValValido);
    mvValValido_ = ConvValTipo(msValValido_);
}

bool ScCaricaCampi::matches(const Variant& pattern, const Variant& value) const {
    if (oiTipoDest() == tipocampo::Testo) return Like(value.text(), pattern.text());
    return pattern == value;
}

bool ScCaricaCampi::ValoreNonValido(const Variant& pvValore) const {
    bool refused = false;
    if (!msNonVal_.empty() && matches(mvNonVal_, pvValore)) refused = true;
    if (!refused && !msValValido_.empty()) refused = !matches(mvValValido_, pvValore);
    return refused;
}

void ScCaricaCampi::AddDecod(const std::string& psValOrig, const std::string& psTabella,
                             const std::string& psValDest) {
    const std::string key = LCase(osNomeCampo + psValOrig);
    if (decodKeys_.count(key))
        throw NumberedError(errnum::KeyAlreadyInCollection,
                            "Chiave già associata a un elemento dell'insieme",
                            "ScCaricaCampi.AddDecod");
    decodKeys_.emplace(key, mcolDecod_.size());
    mcolDecod_.push_back(scCaricaDecod{osNomeCampo, psTabella, psValOrig, psValDest});
    decodIndexBuilt_ = false;
}

std::string ScCaricaCampi::LeggiDecod(const std::string& psValore) const {
    if (mcolDecod_.empty()) return psValore;
    const int tipo = oiTipoOrig();
    if (!decodIndexBuilt_ || decodIndexType_ != tipo) {
        decodIndex_.clear();
        for (std::size_t i = 0; i < mcolDecod_.size(); ++i) {
            try {
                decodIndex_.emplace(LCase(ConvValTipo(mcolDecod_[i].osValOrig, tipo).text()), i);
            } catch (const NumberedError&) {
                // a row whose original value does not convert can never match
            }
        }
        decodIndexBuilt_ = true;
        decodIndexType_ = tipo;
    }
    try {
        const auto it = decodIndex_.find(LCase(ConvValTipo(psValore, tipo).text()));
        if (it != decodIndex_.end()) return mcolDecod_[it->second].osValDest;
    } catch (const NumberedError&) {
        // a value that does not convert matches no row
    }
    return psValore;
}

}  // namespace tolvane
