// The values that the batch layouts take from a constant or from the user: collected layout by
// layout into the window's keyed list, prompted ten to a window. Never writes a database.
#include "batchload/frm_carico_batch.h"
#include "batchload/frm_ric_val_base.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "common/servizi_comuni.h"
#include "db/gestore_rs.h"
#include "platform/numbered_error.h"
#include "platform/text.h"
#include "suite/elencovalori/elenco_valori.h"
#include "suite/libgenerale/lib_generale.h"
#include "ui/desktop.h"

namespace tolvane {

namespace {

const std::string kSezione = "§";

// A counter as the loader reads it: its start, kept apart for the breaks, and its marker.
void ScriviContatore(ElencoValori& elenco, const std::string& chiave, std::int32_t inizio,
                     const std::string& rottura) {
    elenco.Contatore(chiave, inizio, true);
    elenco.ValoreIniziale(
        chiave, Currency::fromDouble(static_cast<double>(elenco.Contatore(chiave))), true);
    elenco.Valore(chiave, Variant(std::string(ElencoValori::ValoreMancante)), true);
    elenco.Rottura(chiave, rottura, true);
    elenco.TipoVoce(chiave, ElencoValori::TipoVoceContatore, true);
}

// "§#" + break text + "#" + label: the break text and where the label starts.
std::string RotturaContatore(const std::string& psDefault, long& plInizioEtichetta) {
    const long p = InStr(1, Mid(psDefault, 3), "#");
    if (p < 1)
        throw NumberedError(errnum::InvalidCall, "Invalid procedure call or argument",
                            "RicValDefault");
    plInizioEtichetta = p + 3;
    return Trim(Mid(psDefault, 3, p - 1));
}

bool contatore(const std::string& psDefault) { return Mid(psDefault, 2, 1) == "#"; }

}  // namespace

ElencoValori& frmCaricoBatch::ValDefault() {
    if (!moValDefault) moValDefault = std::make_unique<ElencoValori>();
    return *moValDefault;
}

frmRicValBase& frmCaricoBatch::RicVal() { return ui::desktop().instance<frmRicValBase>(); }

Variant frmCaricoBatch::RicValDefault(const std::string& psCodice) {
    const LibGenerale& lib = goLibGen();
    GestoreRs rs;
    const std::string sql = std::string("Select * from CaricaDettaglio") +
                            " Where Codice = " + lib.ValoreSql(Variant(psCodice), 8) +
                            " And left(Default,1) = " + lib.ValoreSql(Variant(kSezione), 8);
    const ScopedRecordSet dettaglio(rs, goDbase(), gsConnDbMenu, sql);
    const std::string& handle = dettaglio.handle();
    frmRicValBase& ricVal = RicVal();
    for (; !rs.EofRs(handle); rs.MoveNextRs(handle)) {
        if (ricVal.oiNumRighe == frmRicValBase::kRighe) {
            const Variant esito = ChiediValBase();
            if (esito.toLong() != 0) return esito;
            ricVal.oiNumRighe = 0;
        }
        const std::string codice = rs.ValoreCampoRs(handle, "Codice").text();
        const std::string nomeCampo = rs.ValoreCampoRs(handle, "NomeCampo").text();
        const std::string def = rs.ValoreCampoRs(handle, "Default").text();
        const std::string costBatch = rs.ValoreCampoRs(handle, "CostBatch").text();
        if (lib.EVuoto(Variant(costBatch))) {
            const int k = ++ricVal.oiNumRighe;
            ricVal.osNomeTab(k) = codice;
            ricVal.osNomeCampo(k) = nomeCampo;
            long x = 2;
            if (contatore(def)) {
                ricVal.ovContat(k - 1) = Variant(ElencoValori::TipoVoceContatore).text();
                ricVal.osRottura(k - 1) = RotturaContatore(def, x);
            } else {
                ricVal.ovContat(k - 1).clear();
                ricVal.osRottura(k - 1).clear();
            }
            // A box without a proposed value starts empty, not with what the last group typed.
            ricVal.txt(k - 1).setText("");
            const std::string resto = Mid(def, x);
            const long q = InStr(1, resto, kSezione);
            if (q < 1) {
                ricVal.Lab(k - 1).setCaption(Trim(resto) + ":");
            } else {
                ricVal.Lab(k - 1).setCaption(Trim(Mid(def, x, q - 1)) + ":");
                ricVal.txt(k - 1).setText(Trim(Mid(def, x + q)));
            }
        } else {
            const std::string chiave = CampoQualificato(codice, nomeCampo);
            if (contatore(def)) {
                long x = 0;
                const std::string rottura = RotturaContatore(def, x);
                ScriviContatore(ValDefault(), chiave, lib.ValoreLong(Variant(costBatch)), rottura);
            } else {
                ValDefault().Valore(chiave, Variant(costBatch), true);
            }
        }
    }
    return Variant(0L);
}

Variant frmCaricoBatch::ChiediValBase() {
    const LibGenerale& lib = goLibGen();
    frmRicValBase& ricVal = RicVal();
    const int n = ricVal.oiNumRighe;
    for (int i = 0; i < frmRicValBase::kRighe; ++i) {
        ricVal.Lab(i).setVisible(i < n);
        ricVal.txt(i).setVisible(i < n);
    }
    // Closing the prompt any other way than "&Ok" counts as "&Annulla".
    ricVal.obOk = false;
    ricVal.show(ui::ShowMode::Modal);
    if (!ricVal.obOk) return Variant(1L);
    const float segnoContatore = lib.ValoreSingle(Variant(ElencoValori::TipoVoceContatore));
    for (int k = 1; k <= n; ++k) {
        const std::string chiave = CampoQualificato(ricVal.osNomeTab(k), ricVal.osNomeCampo(k));
        const std::string testo = ricVal.txt(k - 1).text();
        if (lib.ValoreSingle(Variant(ricVal.ovContat(k - 1))) == segnoContatore)
            ScriviContatore(ValDefault(), chiave, lib.ValoreLong(Variant(testo)),
                            ricVal.osRottura(k - 1));
        else ValDefault().Valore(chiave, Variant(testo), true);
    }
    return Variant(0L);
}

}  // namespace tolvane
