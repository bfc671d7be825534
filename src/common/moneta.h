// Currency of the company: the row of a currency in table Monete, and the conversion of an
// amount in lire or in euro into the company currency with the program-wide rate.
// Never converts with a rate that is not the program-wide one.
#pragma once

#include <string>

#include "platform/variant.h"

namespace tolvane {

// Reads the currency's row of Monete on the current database and returns its NumDec; the
// pointers that are given receive NumDecGest, NumDec, Operatore and Cee. No row: 2, 2, "/", "N".
int LeggiMoneta(const std::string& psMoneta, int* piNumDecGest = nullptr, int* piNumDec = nullptr,
                std::string* psOperatore = nullptr, std::string* psCee = nullptr);

// The amount taken as lire (ConvDaLire) or as euro (ConvDaEuro) in the company currency
// (gsMonetaAzie), rounded half away from zero to piNumDec decimals. Empty and "" count as 0.
double ConvDaLire(const Variant& pvImporto, int piNumDec);
double ConvDaEuro(const Variant& pvImporto, int piNumDec);

}  // namespace tolvane
