// The orders and quotations page: one confirmation stores the TabFatt columns of this page and
// then the row of TabAcq, each through its own record handle.
// Never writes a TabFatt column of the invoicing page, and never stores 0 copies.
#include "companydata/pagina_ord_prev.h"

#include <iterator>
#include <string>

#include "companydata/frm_dati_azie.h"
#include "companydata/pagina_fatt.h"
#include "platform/text.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

constexpr int kStArtFor = 9060;

const char* const kQueryOrdPrev =
    "SELECT TabFatt.DocOrd,TabFatt.DocOrdInt,TabFatt.NumCopieOrd,TabFatt.NomeFiltroOrd,"
    "TabFatt.DocPrev,TabFatt.NumCopiePrev,TabFatt.NomeFiltroPrev , FattDocumenti.Descrizione , "
    "FattDocumenti2.Descrizione , FattDocumenti3.Descrizione FROM (((TabFatt LEFT JOIN "
    "FattDocumenti ON TabFatt.DocOrd = FattDocumenti.FattDocumento) LEFT JOIN FattDocumenti AS "
    "FattDocumenti2 ON TabFatt.DocOrdInt = FattDocumenti2.FattDocumento) LEFT JOIN "
    "FattDocumenti AS FattDocumenti3 ON TabFatt.DocPrev = FattDocumenti3.FattDocumento)";

const char* const kQueryOrdAcq =
    "SELECT TabAcq.AcqDocOrd,TabAcq.ListAcq,TabAcq.Vettore,TabAcq.StArtFor,TabAcq.Oggetto,"
    "TabAcq.NrCopie , FattDocumenti.Descrizione , Listini.Descrizione , Vettori.RagSoc FROM "
    "(((TabAcq LEFT JOIN FattDocumenti ON TabAcq.AcqDocOrd = FattDocumenti.FattDocumento) LEFT "
    "JOIN Listini  ON TabAcq.ListAcq = Listini.Listino) LEFT JOIN Vettori ON TabAcq.Vettore = "
    "Vettori.Vettore)";

struct Colonna {
    int campo;
    const char* colonna;
};

// In the order the loaders read and the writers assign them.
const Colonna kColonneFatt[] = {
    {9000, "DocOrd"},  {9010, "DocOrdInt"},    {9020, "NumCopieOrd"},
    {9100, "DocPrev"}, {9110, "NumCopiePrev"},
};
const Colonna kDescrizioniFatt[] = {
    {9000, "FattDocumenti.Descrizione"},
    {9010, "FattDocumenti2.Descrizione"},
    {9100, "FattDocumenti3.Descrizione"},
};
const Colonna kColonneAcq[] = {
    {9030, "AcqDocOrd"}, {9040, "ListAcq"}, {9050, "Vettore"}, {9070, "Oggetto"}, {9080, "NrCopie"},
};
const Colonna kDescrizioniAcq[] = {
    {9030, "FattDocumenti.Descrizione"},
    {9040, "Listini.Descrizione"},
    {9050, "Vettori.RagSoc"},
};

// Null reads as the empty text, numbers of copies included.
std::string testo(frmDatiAzie& f, const std::string& rs, const char* colonna) {
    return f.Rs().ValoreGrezzoRs(rs, colonna).text();
}

void carica(frmDatiAzie& f, const std::string& rs, const Colonna* colonne, std::size_t quante,
            const Colonna* descrizioni, std::size_t quanteDescrizioni) {
    const bool riga = !f.Rs().VuotoRs(rs);
    for (std::size_t i = 0; i < quante; ++i) {
        f.txt(colonne[i].campo).setText(riga ? testo(f, rs, colonne[i].colonna) : std::string());
    }
    for (std::size_t i = 0; i < quanteDescrizioni; ++i) {
        f.Lab(descrizioni[i].campo)
            .setCaption(riga ? testo(f, rs, descrizioni[i].colonna) : std::string());
    }
}

bool VerDatiOrdPrev(frmDatiAzie& f) {
    for (int n : {9020, 9080, 9110}) CopieAlmenoUna(f, n);
    return true;
}

CampoPagina codice(int numero, const char* didascalia, const char* ricerca,
                   const char* filtroRicerca, const char* tipo, const char* filtro,
                   int lunghezza = 3) {
    CampoPagina campo = CampoTesto(numero, didascalia, lunghezza);
    campo.descrizione = true;
    campo.ricerca = ricerca;
    campo.filtroRicerca = filtroRicerca;
    campo.decodifica = RegolaDecodifica{tipo, filtro, "", false, nullptr};
    return campo;
}

}  // namespace

void VisOrdPrev(frmDatiAzie& f) {
    f.ApriRsPagina(&frmDatiAzie::msRsOrdPrev, kQueryOrdPrev);
    carica(f, f.msRsOrdPrev, kColonneFatt, std::size(kColonneFatt), kDescrizioniFatt,
           std::size(kDescrizioniFatt));
}

void VisOrdAcq(frmDatiAzie& f) {
    f.ApriRsPagina(&frmDatiAzie::msRsOrdAcq, kQueryOrdAcq);
    const std::string& rs = f.msRsOrdAcq;
    carica(f, rs, kColonneAcq, std::size(kColonneAcq), kDescrizioniAcq, std::size(kDescrizioniAcq));
    const bool si = !f.Rs().VuotoRs(rs) && equalText(testo(f, rs, "StArtFor"), "S");
    f.Che(kStArtFor).setValue(si ? ui::check::Checked : ui::check::Unchecked);
}

void ScriviOrdPrev(frmDatiAzie& f) {
    for (const Colonna& c : kColonneFatt) {
        f.Rs().ScriviCampoRs(f.msRsOrdPrev, c.colonna, Variant(f.txt(c.campo).text()));
    }
}

void ScriviOrdAcq(frmDatiAzie& f) {
    GestoreRs& rs = f.Rs();
    const std::string& h = f.msRsOrdAcq;
    const bool si = f.Che(kStArtFor).value() == ui::check::Checked;
    rs.ScriviCampoRs(h, "AcqDocOrd", Variant(f.txt(9030).text()));
    rs.ScriviCampoRs(h, "ListAcq", Variant(f.txt(9040).text()));
    rs.ScriviCampoRs(h, "Vettore", Variant(f.txt(9050).text()));
    rs.ScriviCampoRs(h, "StArtFor", Variant(std::string(si ? "S" : "N")));
    rs.ScriviCampoRs(h, "Oggetto", Variant(f.txt(9070).text()));
    rs.ScriviCampoRs(h, "NrCopie", Variant(f.txt(9080).text()));
}

const PaginaDatiAzie& PaginaOrdPrev() {
    static const PaginaDatiAzie pagina = [] {
        PaginaDatiAzie p;
        p.numero = 9;
        p.titolo = "Ordini / Preventivi";
        p.campoIniziale = 9000;

        CampoPagina copieAcquisti = CampoTesto(9080, "Copie Ordini:");
        copieAcquisti.regolaUscita = CopieAlmenoUna;

        p.campi = {
            codice(9000, "Tipo doc.per Ordine Vendita:", "FattDocumento",
                   "tipo='O' and interno<>'S'", "FattDocumento", "tipo='O' and interno<>'S'"),
            codice(9010, "Tipo doc.per Ordini Interni:", "FattDocumento",
                   "tipo='O' and interno='S'", "FattDocumento", "tipo='O' and interno='S'"),
            CampoTesto(9020, "Copie Ordini:"),
            codice(9030, "Tipo doc.per Ordini Acquisti:", "AcqDocumento", "tipo='A'",
                   "FattDocumento", "tipo='A'"),
            codice(9040, "Listino per Ordini Acquisti:", "Listino", "", "Listino", ""),
            codice(9050, "Vettore:", "Vettore", "", "Vettore", "", 5),
            CampoCasella(kStArtFor, "St.sull'ordine il cod.art.forn.:"),
            CampoTesto(9070, "Oggetto ordine:", 100),
            copieAcquisti,
            codice(9100, "Tipo doc.per Preventivi:", "FattDocumento", "tipo='P'", "FattDocumento",
                   "tipo='P'"),
            CampoTesto(9110, "Copie Preventivi:"),
        };
        p.carica = [](frmDatiAzie& f) {
            VisOrdPrev(f);
            VisOrdAcq(f);
        };
        p.verifica = VerDatiOrdPrev;
        p.salvataggi = {{&frmDatiAzie::msRsOrdPrev, ScriviOrdPrev},
                        {&frmDatiAzie::msRsOrdAcq, ScriviOrdAcq}};
        return p;
    }();
    return pagina;
}

}  // namespace tolvane
