// Amounts of a line: the currency of the line's own price list, lire and euro conversions into
// the company currency, and the currency of a price list.
// Never converts with the currency of another line's price list.
#include "batchload/batch_database.h"
#include "batchload/batch_library.h"
#include "batchload/batch_messages.h"
#include "batchload/sc_carica_stato.h"
#include "common/globali.h"
#include "common/moneta.h"
#include "platform/text.h"

namespace tolvane {

std::string ScCarica::lookupCurrency(const std::string& listino) {
    BatchStatement& query = db().cached("SELECT Moneta FROM Listini WHERE Listino = ?");
    query.bind(1, Variant(listino));
    std::string moneta;
    if (query.step()) moneta = query.column(0).text();
    query.reset();
    return moneta;
}

std::string ScCarica::LeggiValuta(const std::string& psListino) {
    try {
        return lookupCurrency(psListino);
    } catch (const NumberedError& e) {
        showBatchError(e);
        return {};
    }
}

std::string ScCarica::listinoOfLine(int t, const ScCaricaCampi& amountField) {
    if (t < 1 || t > 5) return {};
    if (lineStarted_) {
        for (std::size_t i = 0; i < mcolCampi_.size(); ++i) {
            ScCaricaCampi& field = *mcolCampi_[i];
            if (QualeTab(field.osCodTab) != t || !equalText(field.osNomeCampo, "Listino")) continue;
            if (&field == &amountField) return {};
            if (i < states_.size() && states_[i].serial == serial_ && states_[i].evaluating)
                return {};
            Variant value;
            if (evaluate(field, static_cast<int>(i), value, t) != 0) throw LineRejected{};
            return value.text();
        }
    }
    return masListino_[t];
}

std::string ScCarica::currencyOfListino(const std::string& listino, const ScCaricaCampi& field) {
    if (listino.empty()) return gsMonetaAzie;
    auto it = currencies_.find(LCase(listino));
    if (it == currencies_.end()) {
        CurrencyEntry entry;
        try {
            entry.moneta = lookupCurrency(listino);
        } catch (const NumberedError& e) {
            entry.failure = e;
        }
        it = currencies_.emplace(LCase(listino), std::move(entry)).first;
    }
    if (it->second.failure)
        lookupFailure(listinoReported_, *it->second.failure,
                      "Impossibile leggere la moneta del listino " + listino + " (" +
                          it->second.failure->description() + ") per " + field.osNomeCampo);
    return it->second.moneta.empty() ? gsMonetaAzie : it->second.moneta;
}

Variant ScCarica::ConvImporto(Variant& pvValore, const std::string& psLireOValuta, int piCodTab,
                              int piNumDec) {
    static const ScCaricaCampi none;
    const ScCaricaCampi* amountField = amountInProgress_;
    const std::string listino = listinoOfLine(piCodTab, amountField ? *amountField : none);
    const std::string moneta = currencyOfListino(listino, amountField ? *amountField : none);
    const auto decimals = [&](int fallback) { return piNumDec == -9999 ? fallback : piNumDec; };
    if (equalText(psLireOValuta, "L")) {
        if (equalText(moneta, gsCodLira))
            return roundToDecimals(pvValore, decimals(giNumDecLireGest));
        if (equalText(moneta, gsCodEuro)) {
            pvValore = roundToDecimals(pvValore, miNumDecAzie_);
            return Variant(ConvDaEuro(pvValore, decimals(giNumDecLireGest)));
        }
        return Variant(std::string());
    }
    if (equalText(psLireOValuta, "V")) {
        if (!equalText(moneta, gsCodLira))
            return roundToDecimals(pvValore, decimals(giNumDecEuroGest));
        pvValore = roundToDecimals(pvValore, miNumDecAzie_);
        return Variant(ConvDaLire(pvValore, decimals(giNumDecEuroGest)));
    }
    return Variant();
}

}  // namespace tolvane
