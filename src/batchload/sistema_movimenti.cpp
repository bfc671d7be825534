// The journal fix-up after a batch run: its statements as the suite's dialect writes them, run
// through GestoreDb on the company database. Never changes a row the statements do not name.
#include "batchload/sistema_movimenti.h"

#include <sqlite3.h>

#include <vector>

#include "common/db_comune.h"
#include "db/db_connection.h"
#include "db/gestore_rs.h"
#include "platform/numbered_error.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

std::string literal(const std::string& text) { return goLibGen().ValoreSql(Variant(text), 8); }

bool empty(const std::string& text) { return goLibGen().EVuoto(Variant(text)); }

const std::string kSenzaRigaUno =
    std::string(" WHERE Trim(Str([MovPnIva].[NumReg])) & Trim(str([anno]))") +
    " Not In (SELECT trim(str(MovPnIva1.NumReg)) & trim(str(MovPnIva1.Anno))" +
    " FROM MovPnIva as MovPnIva1 Where MovPnIva1.RigaIva=1" +
    " GROUP BY MovPnIva1.Anno, MovPnIva1.NumReg)";

void nativeExec(const std::string& idDb, const char* sql) {
    DbConnection& connection = goDbase().connection(idDb);
    if (sqlite3_exec(connection.db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        connection.raiseLastError("SistemaMovimenti");
}

// The rows of a registration all move together and its row 1 is missing, so the end state has
// no clash; the key is checked row by row, though, and a row may meet its neighbour before that
// one has moved. The statement is then undone by the database and the rows move one at a time,
// lowest first, so that each finds its new number free.
void rinumeraRigheIva(const std::string& idDb) {
    try {
        goDbase().EseguiSql(idDb,
                            "UPDATE MovPnIva SET"
                            " MovPnIva.RigaIva = [RigaIva]-1" +
                                kSenzaRigaUno);
        return;
    } catch (const NumberedError& e) {
        if (e.number() != errnum::DuplicateKey) throw;
    }
    struct Riga {
        Variant anno, numReg, rigaIva;
    };
    // The rows are read under the write lock and moved in the same transaction: no other
    // program changes them in between, and a refused commit leaves every row where it was.
    sqlite3* db = goDbase().connection(idDb).db;
    const bool propria = sqlite3_get_autocommit(db) != 0;
    nativeExec(idDb, propria ? "BEGIN IMMEDIATE" : "SAVEPOINT sistema_riga_iva");
    ScopeGuard undo([db, propria] {
        sqlite3_exec(
            db, propria ? "ROLLBACK" : "ROLLBACK TO sistema_riga_iva; RELEASE sistema_riga_iva",
            nullptr, nullptr, nullptr);
    });
    std::vector<Riga> righe;
    GestoreRs rs;
    const std::string handle =
        rs.ApriRs(goDbase(), idDb, "",
                  "SELECT MovPnIva.Anno, MovPnIva.NumReg, MovPnIva.RigaIva FROM MovPnIva" +
                      kSenzaRigaUno + " ORDER BY MovPnIva.Anno, MovPnIva.NumReg, MovPnIva.RigaIva",
                  false, rstype::Snapshot);
    while (!rs.EofRs(handle)) {
        righe.push_back({rs.ValoreCampoRs(handle, "Anno"), rs.ValoreCampoRs(handle, "NumReg"),
                         rs.ValoreCampoRs(handle, "RigaIva")});
        rs.MoveNextRs(handle);
    }
    rs.ChiudiRs(handle);
    for (const Riga& r : righe) {
        goDbase().EseguiSql(idDb,
                            "UPDATE MovPnIva SET MovPnIva.RigaIva = [RigaIva]-1 WHERE Anno = " +
                                goLibGen().ValoreSql(r.anno) +
                                " AND NumReg = " + goLibGen().ValoreSql(r.numReg) +
                                " AND RigaIva = " + goLibGen().ValoreSql(r.rigaIva));
    }
    nativeExec(idDb, propria ? "COMMIT" : "RELEASE sistema_riga_iva");
    undo.dismiss();
}

void periodiTrasportatori(const std::string& idDb, DatiSistemazione& dati) {
    if (empty(dati.causaleTrasp1)) {
        dati.causaleTrasp1 = dati.causaleTrasp2;
        dati.causaleTrasp2.clear();
    }
    std::string sql = std::string("SELECT MovPnTes.* FROM MovPnTes") +
                      " WHERE MovPnTes.Causale = " + literal(dati.causaleTrasp1);
    if (!empty(dati.causaleTrasp2)) sql += " OR MovPnTes.Causale = " + literal(dati.causaleTrasp2);
    const bool mensile = equalText(Trim(dati.periodoIva), "M");
    GestoreRs rs;
    const ScopedRecordSet records(rs, goDbase(), idDb, sql, rstype::Dynaset);
    const std::string& handle = records.handle();
    while (!rs.EofRs(handle)) {
        const Variant data = rs.ValoreGrezzoRs(handle, "DataReg");
        // A header without a date has no period to move: it is left as it is.
        if (!data.isNull() && !(data.isEmpty())) {
            int anno = 0, mese = 0, giorno = 0;
            data.toDate().parts(anno, mese, giorno);
            int annoIva = 0, periodoIva = 0;
            PeriodoIvaSuccessivo(anno, mese, mensile, annoIva, periodoIva);
            rs.EditRs(handle);
            rs.ScriviCampoRs(handle, "AnnoIva", Variant(static_cast<long>(annoIva)));
            rs.ScriviCampoRs(handle, "PeriodoIva", Variant(static_cast<long>(periodoIva)));
            rs.UpdateRs(handle);
        }
        rs.MoveNextRs(handle);
    }
}

}  // namespace

void PeriodoIvaSuccessivo(int piAnno, int piMese, bool pbMensile, int& piAnnoIva,
                          int& piPeriodoIva) {
    const int p = pbMensile ? piMese + 1 : ((piMese - 1) / 3 + 1) * 3 + 1;
    piAnnoIva = p > 12 ? piAnno + 1 : piAnno;
    piPeriodoIva = p > 12 ? p - 12 : p;
}

void SistemaMovimenti(const std::string& idDb, DatiSistemazione& dati,
                      const std::function<void()>& primaDellaQuery) {
    bool prima = true;
    auto esegui = [&](const std::string& sql) {
        if (!prima && primaDellaQuery) primaDellaQuery();
        prima = false;
        goDbase().EseguiSql(idDb, sql);
    };
    auto passo = [&](const std::function<void()>& lavoro) {
        if (!prima && primaDellaQuery) primaDellaQuery();
        prima = false;
        lavoro();
    };

    esegui(std::string("UPDATE MovPnIva SET") +
           " MovPnIva.ImponibileND = int((MovPnIva.Imponibile/2)*100+.500001)/100" +
           ", MovPnIva.ImpostaND = int((MovPnIva.Imposta/2)*100+.500001)/100" +
           ", MovPnIva.ImponibileNDMon = int((MovPnIva.Imponibile/2)*100+.500001)/100" +
           ", MovPnIva.ImpostaNDMon = int((MovPnIva.Imposta/2)*100+.500001)/100" +
           " WHERE iva like '3*' and len(trim(iva)) > 1");
    esegui(std::string("UPDATE MovPnIva SET") + " MovPnIva.ImponibileND = MovPnIva.Imponibile" +
           ", MovPnIva.ImpostaND = MovPnIva.Imposta" +
           ", MovPnIva.ImponibileNDMon = MovPnIva.Imponibile" +
           ", MovPnIva.ImpostaNDMon = MovPnIva.Imposta" +
           " WHERE iva like '4*' and len(trim(iva)) > 1");
    passo([&] { rinumeraRigheIva(idDb); });
    for (const auto& conto : dati.contiIva) {
        if (empty(conto.gruppo) || empty(conto.mastro) || empty(conto.conto)) continue;
        esegui(std::string("UPDATE MovPnDett SET") + " MovPnDett.Forzatura = 'I'" +
               " Where MovPnDett.GruppoPartita = " + literal(conto.gruppo) +
               " AND MovPnDett.MastroPartita= " + literal(conto.mastro) +
               " AND MovPnDett.ContoPartita= " + literal(conto.conto));
    }
    esegui(std::string("UPDATE MovPnDett SET") +
           " MovPnDett.ImpostaIndetrMon = int((MovPnDett.ImpostaMon/2)*100+.500001)/100" +
           ", MovPnDett.ImpostaIndetr = int((MovPnDett.Imposta/2)*100+.500001)/100" +
           " WHERE iva like '3*' and len(trim(iva)) > 1");
    esegui(std::string("UPDATE MovPnDett SET") +
           " MovPnDett.ImpostaIndetrMon = MovPnDett.ImpostaMon" +
           ", MovPnDett.ImpostaIndetr = MovPnDett.Imposta" +
           " WHERE iva like '4*' and len(trim(iva)) > 1");
    std::vector<std::string> causaliFatte;
    for (const auto& causale : dati.causaliNotaCred) {
        if (empty(causale)) continue;
        // The same causal typed twice would turn its rows back to their first sign.
        bool fatta = false;
        for (const auto& c : causaliFatte) fatta = fatta || equalText(Trim(c), Trim(causale));
        if (fatta) continue;
        causaliFatte.push_back(causale);
        esegui(std::string("UPDATE MovPnTes INNER JOIN MovPnDett") +
               " ON (MovPnTes.Anno = MovPnDett.Anno)" +
               " AND (MovPnTes.NumReg = MovPnDett.NumReg)" +
               " SET MovPnDett.ImportoMon = ImportoMon*-1" + ", MovPnDett.Importo = Importo*-1" +
               ", MovPnDett.ImpostaMon = ImpostaMon*-1" + ", MovPnDett.Imposta = Imposta*-1" +
               ", MovPnDett.DareAvere = IIf(MovPnDett.DareAvere='D','A','D')" +
               " WHERE MovPnTes.Causale =  " + literal(causale));
    }
    esegui(std::string("UPDATE MovPnTes SET") + " MovPnTes.PreDoc = '.'" +
           " WHERE MovPnTes.PreDoc Is Null");
    esegui(std::string("UPDATE MovPnTes SET") + " MovPnTes.PreProt = '.'" +
           " WHERE MovPnTes.PreProt Is Null");
    esegui(std::string("UPDATE MovPnDett SET") + " MovPnDett.PreDoc = '.'" +
           " WHERE MovPnDett.PreDoc Is Null");
    esegui(std::string("UPDATE MovPnDett SET") + " MovPnDett.PreProt = '.'" +
           " WHERE MovPnDett.PreProt Is Null");
    if (!empty(dati.causaleTrasp1) || !empty(dati.causaleTrasp2))
        passo([&] { periodiTrasportatori(idDb, dati); });
    if (dati.secondoCodFisc) {
        esegui(std::string("UPDATE PianoConti SET") +
               " PianoConti.CodFisc = PianoConti.PersRiferimento" + " WHERE PianoConti.Tipo <> " +
               literal("1") + " AND PianoConti.CodFisc Is Null" +
               " AND Not(PianoConti.PersRiferimento)Is Null " +
               // An account with no VAT number keeps its code too: the next statement clears it.
               " AND (PianoConti.PersRiferimento <> PianoConti.PartIva Or PianoConti.PartIva Is "
               "Null)");
        esegui(std::string("UPDATE PianoConti SET") + " PianoConti.PersRiferimento = Null" +
               " WHERE PianoConti.Tipo <> " + literal("1"));
    }
}

}  // namespace tolvane
