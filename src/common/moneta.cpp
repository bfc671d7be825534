// Company currency services: a currency's row of Monete and the lire/euro conversion into the
// company currency at the program-wide rate (gsCambioEuro, gsOperEuro).
// Never rounds other than half away from zero, as the general library's Arrotonda does.
#include "common/moneta.h"

#include "common/db_comune.h"
#include "common/globali.h"
#include "db/gestore_rs.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

double amountOf(const Variant& value) {
    if (value.isEmpty() || value.isNull()) return 0;
    if (value.isString() && Trim(value.text()).empty()) return 0;
    return value.toDouble();
}

double rate() {
    double r = Variant(gsCambioEuro).toDouble();
    if (r == 0) throw NumberedError(errnum::DivisionByZero, "Divisione per zero", "Moneta");
    return r;
}

bool companyInLire() { return !gsCodLira.empty() && equalText(gsMonetaAzie, gsCodLira); }

// Lire to euro with the operator as stored; euro to lire is its inverse.
double lireToEuro(double amount) { return gsOperEuro == "*" ? amount * rate() : amount / rate(); }
double euroToLire(double amount) { return gsOperEuro == "*" ? amount / rate() : amount * rate(); }

}  // namespace

int LeggiMoneta(const std::string& psMoneta, int* piNumDecGest, int* piNumDec,
                std::string* psOperatore, std::string* psCee) {
    int numDec = 2, numDecGest = 2;
    std::string operatore = "/", cee = "N";
    GestoreRs rs;
    {
        ScopedRecordSet monete(
            rs, goDbase(), gsIdDbase,
            "Select * from Monete where moneta = " + goLibGen().ValoreSql(Variant(psMoneta), 8));
        const std::string& handle = monete.handle();
        if (!rs.VuotoRs(handle)) {
            numDec = rs.ValoreCampoRs(handle, "NumDec").toInteger();
            numDecGest = rs.ValoreCampoRs(handle, "NumDecGest").toInteger();
            operatore = rs.ValoreCampoRs(handle, "Operatore").text();
            cee = rs.ValoreCampoRs(handle, "Cee").text();
        }
    }
    if (piNumDecGest) *piNumDecGest = numDecGest;
    if (piNumDec) *piNumDec = numDec;
    if (psOperatore) *psOperatore = operatore;
    if (psCee) *psCee = cee;
    return numDec;
}

double ConvDaLire(const Variant& pvImporto, int piNumDec) {
    double amount = amountOf(pvImporto);
    if (!companyInLire()) amount = lireToEuro(amount);
    return goLibGen().Arrotonda(amount, piNumDec);
}

double ConvDaEuro(const Variant& pvImporto, int piNumDec) {
    double amount = amountOf(pvImporto);
    if (companyInLire()) amount = euroToLire(amount);
    return goLibGen().Arrotonda(amount, piNumDec);
}

}  // namespace tolvane
