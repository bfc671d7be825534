// The common causals page: fifteen accounting causals and the pension-fund expense code, each
// with its description; the closing and opening causals must be of their type.
// Never marks an expense code in error: one outside the pension fund only shows no description.
#include "companydata/pagina_causa_com.h"

#include <string>

#include "companydata/frm_dati_azie.h"
#include "platform/text.h"

namespace tolvane {

namespace {

struct CausaleComune {
    int campo;
    const char* didascalia;
    const char* colonna;  // as the writer names it
    const char* alias;    // of the code table in the loader's query
};

const CausaleComune kCausali[] = {
    {4000, "Fatture Emesse:", "CausFatt", "CausaliFatt"},
    {4010, "Nota Cred.Clienti:", "CausNC", "CausaliNc"},
    {4020, "Fatt .iva differita:", "CausFattSosp", "CausaliFattSosp"},
    {4030, "Nota Cr. iva diff:", "CausNCSosp", "CausaliNcSosp"},
    {4040, "Anticipi:", "CausAnticipi", "CausaliAnticipo"},
    {4050, "Arrotondamenti:", "CausArr", "CausaliArr"},
    {4060, "Omaggi:", "CausOmaggi", "CausaliOmaggi"},
    {4070, "Incassi:", "CausIncasso", "CausaliIncasso"},
    {4080, "Incassi per saldaconto:", "SaldaCauIncassi", "CausaliSaldaInc"},
    {4090, "Pagam. per saldaconto e pn:", "SaldaCauPagamenti", "CausaliSaldaPag"},
    {4100, " Chiusura conti economici:", "CauChiuEco", "CausaliCHContoEcon"},
    {4110, "Chiusura conti patrimoniali:", "CauChiuPatr", "CausaliCHContoPatr"},
    {4120, "Apertura conti:", "CauApertura", "CausaliAperConto"},
    {4130, "Ritenuta d'acconto:", "CausRit", "CausaliRitAcc"},
    {4132, "Giroconti Iva:", "CauGirIva", "CausaliGirIva"},
    {4134, "Cod.Spesa per Cassa Prev.", "SpesaCassaPrev", "SpeseCassaPrev"},
};

constexpr int kSpesaCassaPrev = 4134;

std::string testoQuery() {
    std::string sql = "SELECT TabCauCon.*";
    bool primo = true;
    for (const CausaleComune& c : kCausali) {
        sql += ", " + std::string(c.alias) + ".Descrizione" + (primo ? " " : "");
        primo = false;
    }
    sql += " FROM (((((((((((((((TabCauCon  ";
    for (const CausaleComune& c : kCausali) {
        const std::string a = c.alias;
        if (c.campo == kSpesaCassaPrev) {
            sql += " LEFT JOIN Spese AS " + a + " ON (TabCauCon.SpesaCassaPrev = " + a + ".Spesa)";
            continue;
        }
        // The loader names the column of 4030 by its older name; names are caseless.
        const std::string colonna = c.campo == 4030 ? "CausNcSosp" : c.colonna;
        sql +=
            " LEFT JOIN Causali AS " + a + " ON (TabCauCon." + colonna + " = " + a + ".Causale))";
    }
    return sql;
}

std::string tipoRichiesto(const Variant& tipoCausale, const char* tipo, const char* messaggio) {
    return equalText(Trim(tipoCausale.text()), tipo) ? std::string() : std::string(messaggio);
}

std::string verificaChiusura(frmDatiAzie&, int, const Variant& tipoCausale) {
    return tipoRichiesto(tipoCausale, "CH", "Causale non di tipo chiusura");
}

std::string verificaApertura(frmDatiAzie&, int, const Variant& tipoCausale) {
    return tipoRichiesto(tipoCausale, "AP", "Causale non di tipo apertura");
}

CampoPagina dichiarazione(const CausaleComune& c) {
    CampoPagina campo = CampoTesto(c.campo, c.didascalia);
    campo.descrizione = true;
    if (c.campo == kSpesaCassaPrev) {
        campo.ricerca = "Spesa";
        campo.filtroRicerca = " CassaPrev = 'S'";
        campo.decodifica = RegolaDecodifica{"Spesa", "CassaPrev='S'", "", false, nullptr};
        return campo;
    }
    campo.ricerca = "Causale";
    RegolaDecodifica regola{"Causale", "", "TipoCausale", true, nullptr};
    if (c.campo == 4100 || c.campo == 4110) regola.verifica = verificaChiusura;
    if (c.campo == 4120) regola.verifica = verificaApertura;
    campo.decodifica = regola;
    return campo;
}

}  // namespace

void VisCausaCom(frmDatiAzie& f) {
    f.ApriRsPagina(&frmDatiAzie::msRsCausaCom, testoQuery());
    const std::string& rs = f.msRsCausaCom;
    if (f.Rs().VuotoRs(rs)) {
        for (const CausaleComune& c : kCausali) f.txt(c.campo).setText("");
        return;
    }
    for (const CausaleComune& c : kCausali) {
        f.txt(c.campo).setText(f.TestoCampoRs(rs, c.colonna));
        f.Lab(c.campo).setCaption(f.TestoCampoRs(rs, c.alias + std::string(".Descrizione")));
    }
}

void ScriviCausaCom(frmDatiAzie& f) {
    for (const CausaleComune& c : kCausali) {
        f.Rs().ScriviCampoRs(f.msRsCausaCom, c.colonna, Variant(f.txt(c.campo).text()));
    }
}

const PaginaDatiAzie& PaginaCausaCom() {
    static const PaginaDatiAzie pagina = [] {
        PaginaDatiAzie p;
        p.numero = 4;
        p.titolo = "Causali comuni";
        p.campoIniziale = 4000;
        for (const CausaleComune& c : kCausali) p.campi.push_back(dichiarazione(c));
        p.carica = VisCausaCom;
        p.verifica = [](frmDatiAzie& f) { return f.CampiSenzaErrori(); };
        p.salvataggi = {{&frmDatiAzie::msRsCausaCom, ScriviCausaCom}};
        return p;
    }();
    return pagina;
}

}  // namespace tolvane
