// The common accounts page: 31 whole accounts and the customers' and suppliers' group and
// mastro, read by six joined queries with their descriptions and written back split.
// The sales withholding-tax account is read and written only where its columns exist.
#include "companydata/pagina_conti_com.h"

#include <map>
#include <vector>

#include "common/db_comune.h"
#include "common/servizi_comuni.h"
#include "common/servizi_finestre.h"
#include "companydata/frm_dati_azie.h"
#include "companydata/regole_pagine.h"
#include "db/gestore_rs.h"
#include "platform/text.h"
#include "suite/decodifiche/servizio_decodifiche.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

enum class Tipo { Conto, Gruppo, Mastro };

struct ContoComune {
    int campo;
    const char* didascalia;
    Tipo tipo;
    const char* suffisso;  // Gruppo/Mastro/Conto + suffisso are the columns
    const char* alias;     // the look-up table's alias in the queries
};

const ContoComune kConti[] = {
    {3000, "Gruppo Clienti:", Tipo::Gruppo, "Clienti", "GruppiClienti"},
    {3010, "Mastro Clienti:", Tipo::Mastro, "Clienti", "MastriClienti"},
    {3020, "Gruppo Fornitori:", Tipo::Gruppo, "Fornitori", "GruppiFornitori"},
    {3030, "Mastro Fornitori:", Tipo::Mastro, "Fornitori", "MastriFornitori"},
    {3040, "Merci c/Vendite:", Tipo::Conto, "Ven", "PianoContiVen"},
    {3050, "Merci c/Acquisti:", Tipo::Conto, "Acq", "PianoContiAcq"},
    {3060, "Iva Vendite:", Tipo::Conto, "IvaVen", "PianoContiIvaVen"},
    {3070, "Iva Acquisti:", Tipo::Conto, "IvaAcq", "PianoContiIvaAcq"},
    {3080, "Iva Differita clienti:", Tipo::Conto, "IvaSosC", "PianoContiSosC"},
    {3090, "Iva Differita fornitori:", Tipo::Conto, "IvaSosF", "PianoContiSosF"},
    {3092, "Iva Vendite x Cassa:", Tipo::Conto, "IvaCassaC", "PianoContiCassaC"},
    {3094, "Iva Acquisti x cassa:", Tipo::Conto, "IvaCassaF", "PianoContiCassaF"},
    {3100, "Cliente doc.interni:", Tipo::Conto, "CliInt", "PianoContiCliInt"},
    {3110, "Acconti:", Tipo::Conto, "Ant", "PianoContiAnt"},
    {3120, "Arrotondamenti:", Tipo::Conto, "Arr", "PianoContiArr"},
    {3130, "Omaggi:", Tipo::Conto, "Omaggi", "PianoContiOmaggi"},
    {3140, "Iva Corrispettivi:", Tipo::Conto, "IvaCorr", "PianoContiCorr"},
    {3150, "Iva Acquisti Intra CEE:", Tipo::Conto, "IvaAcqCee", "PianoContiAcqCee"},
    {3160, "Iva Vendite Intra CEE:", Tipo::Conto, "IvaVenCee", "PianoContiVenCee"},
    {3170, "Cliente Corrisp.:", Tipo::Conto, "CliCorr", "PianoContiCliCorr"},
    {3180, "Cassa Contante:", Tipo::Conto, "CassaCont", "PianoContiCassaCont"},
    {3190, "Cassa Assegni:", Tipo::Conto, "CassaAss", "PianoContiCassaAss"},
    {3200, "Carta di Credito:", Tipo::Conto, "CartaCr", "PianoContiCartaCr"},
    {3210, "Abbuoni Passivi:", Tipo::Conto, "AbbPass", "PianoContiAbbPass"},
    {3220, "Abbuoni Attivi:", Tipo::Conto, "AbbAtt", "PianoContiAbbAtt"},
    {3230, "Profitti e Perdite:", Tipo::Conto, "ProfPer", "PianoContiProfPer"},
    {3240, "Utile o Perdita:", Tipo::Conto, "UtiPer", "PianoContiUtiPer"},
    {3250, "Bilancio di chiusura:", Tipo::Conto, "BilChiu", "PianoContiBilChiu"},
    {3260, "Bilancio di apertura:", Tipo::Conto, "BilAper", "PianoContiBilAper"},
    {3270, "Utili su Cambio:", Tipo::Conto, "UtiCambio", "PianoContiUtiCambio"},
    {3280, "Perdite su Cambio:", Tipo::Conto, "PerdCambio", "PianoContiPerdCambio"},
    {3290, "Rit. Acconto Vendite:", Tipo::Conto, "RitAccVen", "PianoContiRitAccVen"},
    {3300, "Rit. Acconto Acquisti:", Tipo::Conto, "RitAcc", "PianoContiRitAccAcq"},
    {3310, "Bancomat:", Tipo::Conto, "Bancomat", "PianoContiBancomat"},
    {3315, "Iva SPLIT Payment:", Tipo::Conto, "IvaSplit", "PianoContiSplit"},
};

constexpr int kRitAccVendite = 3290;

// Each query lists its accounts in blocks: a block's columns, then its descriptions. Only the
// sixth query has a second block, the withholding-tax accounts.
const std::vector<std::vector<int>> kQuery[] = {
    {{3100, 3040, 3050, 3110, 3120, 3315}}, {{3130, 3060, 3070, 3140, 3080, 3092}},
    {{3090, 3094, 3150, 3160, 3170, 3180}}, {{3190, 3200, 3310, 3210, 3220, 3230}},
    {{3240, 3250, 3260, 3000, 3010}},       {{3020, 3030, 3270, 3280}, {3290, 3300}},
};

const int kOrdineScrittura[] = {3100, 3040, 3050, 3110, 3120, 3130, 3060, 3070, 3140,
                                3080, 3090, 3092, 3094, 3150, 3160, 3315, 3170, 3180,
                                3190, 3200, 3310, 3210, 3220, 3230, 3240, 3250, 3260,
                                3000, 3010, 3020, 3030, 3270, 3280, 3290, 3300};

const int kColonnaSinistra[] = {3000, 3010, 3020, 3030, 3040, 3050, 3060, 3070, 3140, 3150,
                                3160, 3080, 3090, 3092, 3094, 3315, 3110, 3120, 3130, 3210};
const int kColonnaDestra[] = {3220, 3230, 3270, 3280, 3240, 3250, 3260, 3170,
                              3180, 3190, 3200, 3310, 3100, 3290, 3300};

const ContoComune& conto(int campo) {
    static const std::map<int, const ContoComune*> perCampo = [] {
        std::map<int, const ContoComune*> mappa;
        for (const ContoComune& c : kConti) mappa[c.campo] = &c;
        return mappa;
    }();
    return *perCampo.at(campo);
}

std::string colonna(const char* parte, const ContoComune& c) {
    return parte + std::string(c.suffisso);
}
std::string gruppoDi(const ContoComune& c) { return colonna("Gruppo", c); }
std::string mastroDi(const ContoComune& c) { return colonna("Mastro", c); }
std::string contoDi(const ContoComune& c) { return colonna("Conto", c); }

bool esisteRitAccVendite(const frmDatiAzie& f) {
    return EsisteCampo("TabCauCon", "GruppoRitAccVen", f.osIdDbase);
}

// The query's accounts that the database can give: the sales withholding tax only when it has
// its columns.
std::vector<std::vector<int>> blocchiQuery(int q, bool ritAccVendite) {
    std::vector<std::vector<int>> blocchi;
    for (const std::vector<int>& blocco : kQuery[q]) {
        std::vector<int> campi;
        for (int campo : blocco) {
            if (campo != kRitAccVendite || ritAccVendite) campi.push_back(campo);
        }
        blocchi.push_back(std::move(campi));
    }
    return blocchi;
}

std::string testoQuery(int q, bool ritAccVendite) {
    const auto blocchi = blocchiQuery(q, ritAccVendite);
    std::string select;
    std::vector<int> tutti;
    for (const std::vector<int>& blocco : blocchi) {
        for (int campo : blocco) {
            const ContoComune& c = conto(campo);
            switch (c.tipo) {
                case Tipo::Gruppo:
                    select += ",TabCauCon." + gruppoDi(c);
                    break;
                case Tipo::Mastro:
                    select += ",TabCauCon." + mastroDi(c);
                    break;
                case Tipo::Conto:
                    select += ",TabCauCon." + gruppoDi(c) + ",TabCauCon." + mastroDi(c) +
                              ",TabCauCon." + contoDi(c);
                    break;
            }
        }
        for (int campo : blocco) select += "," + std::string(conto(campo).alias) + ".Descrizione";
        tutti.insert(tutti.end(), blocco.begin(), blocco.end());
    }
    const std::string as = q == 5 ? " AS " : " as ";
    std::string join;
    for (int campo : tutti) {
        const ContoComune& c = conto(campo);
        const std::string a = c.alias;
        switch (c.tipo) {
            case Tipo::Gruppo:
                join += " LEFT JOIN Gruppi AS " + a + " ON (TabCauCon." + gruppoDi(c) + " = " + a +
                        ".Gruppo))";
                break;
            case Tipo::Mastro:
                join += " LEFT JOIN Mastri AS " + a + " ON (TabCauCon." + mastroDi(c) + " = " + a +
                        ".Mastro) AND (TabCauCon." + gruppoDi(c) + " = " + a + ".Gruppo))";
                break;
            case Tipo::Conto:
                join += " LEFT JOIN PianoConti" + as + a + " ON (TabCauCon." + contoDi(c) + " = " +
                        a + ".Conto) AND (TabCauCon." + mastroDi(c) + " = " + a +
                        ".Mastro) AND (TabCauCon." + gruppoDi(c) + " = " + a + ".Gruppo))";
                break;
        }
    }
    return "SELECT " + select.substr(1) + " FROM " + std::string(tutti.size(), '(') + "TabCauCon " +
           join;
}

void caricaQuery(frmDatiAzie& f, int q, bool ritAccVendite) {
    ScopedRecordSet rs(f.Rs(), goDbase(), f.osIdDbase, testoQuery(q, ritAccVendite),
                       rstype::Dynaset);
    std::vector<int> campi;
    for (const std::vector<int>& blocco : blocchiQuery(q, ritAccVendite)) {
        campi.insert(campi.end(), blocco.begin(), blocco.end());
    }
    if (f.Rs().VuotoRs(rs.handle())) {
        for (int campo : campi) f.txt(campo).setText("");
        return;
    }
    for (int campo : campi) {
        const ContoComune& c = conto(campo);
        switch (c.tipo) {
            case Tipo::Gruppo:
                f.txt(campo).setText(f.TestoCampoRs(rs.handle(), gruppoDi(c)));
                break;
            case Tipo::Mastro:
                f.txt(campo).setText(f.TestoCampoRs(rs.handle(), mastroDi(c)));
                break;
            case Tipo::Conto:
                f.txt(campo).setText(f.TestoCampoRs(rs.handle(), gruppoDi(c)) + "-" +
                                     f.TestoCampoRs(rs.handle(), mastroDi(c)) + "-" +
                                     f.TestoCampoRs(rs.handle(), contoDi(c)));
                break;
        }
        f.Lab(campo).setCaption(f.TestoCampoRs(rs.handle(), c.alias + std::string(".Descrizione")));
    }
    for (int campo : campi) {
        if (conto(campo).tipo == Tipo::Conto && f.txt(campo).text() == "--")
            f.txt(campo).setText("");
    }
}

// A mastro is decoded within the group of the same subject.
void decodificaMastro(frmDatiAzie& f, int campoMastro) {
    if (!goDecodifiche) return;
    f.txt(campoMastro).setText(Trim(f.txt(campoMastro).text()));
    const std::string gruppo = Trim(f.txt(campoMastro - 10).text());
    goDecodifiche->DecodArtConto("Mastro", f.txt(campoMastro), &f.Lab(campoMastro),
                                 "Gruppo = " + goLibGen().ValoreSql(Variant(gruppo), 8));
}

// A new group changes what its mastro means.
void dopoGruppo(frmDatiAzie& f, int campoGruppo) {
    if (!Trim(f.txt(campoGruppo + 10).text()).empty()) decodificaMastro(f, campoGruppo + 10);
}

struct Obbligatorio {
    int campo;
    const char* messaggio;
};
const Obbligatorio kObbligatori[] = {
    {3000, "Il gruppo clienti è obbligatorio"},
    {3010, "Il mastro clienti è obbligatorio"},
    {3020, "Il gruppo fornitori è obbligatorio"},
    {3030, "Il mastro fornitori è obbligatorio"},
};

bool VerDatiContiCom(frmDatiAzie& f) {
    for (const Obbligatorio& o : kObbligatori) {
        if (f.txt(o.campo).text().empty()) return RifiutaSalvataggio(f, o.campo, o.messaggio);
    }
    return true;
}

CampoPagina dichiarazione(const ContoComune& c) {
    if (c.tipo == Tipo::Conto) return CampoConto(c.campo, c.didascalia, UscitaConto::Decodifica);
    CampoPagina campo = CampoTesto(c.campo, c.didascalia);
    campo.descrizione = true;
    switch (c.tipo) {
        case Tipo::Gruppo:
            campo.lunghezzaMassima = 2;
            campo.ricerca = "Gruppo";
            campo.decodifica = RegolaDecodifica{"Gruppo", "", "", false, nullptr};
            campo.regolaUscita = dopoGruppo;
            break;
        case Tipo::Mastro:
            campo.lunghezzaMassima = 2;
            campo.ricerca = "Mastro";
            campo.regolaUscita = decodificaMastro;
            break;
        case Tipo::Conto:
            break;
    }
    return campo;
}

// Two columns of rows inside the page picture, in the page's reading order.
void disponiCampi(frmDatiAzie& f) {
    constexpr double kPrimaRiga = 600;
    constexpr double kRiga = 345;
    constexpr double kAltezza = 300;
    const double larghezzaColonna = f.PicPagine(3).width() / 2;
    auto disponi = [&](const int* campi, std::size_t quanti, double x0) {
        for (std::size_t i = 0; i < quanti; ++i) {
            const int n = campi[i];
            const double y = kPrimaRiga + static_cast<double>(i) * kRiga;
            const bool stretto = conto(n).tipo != Tipo::Conto;
            const double largo = stretto ? 420 : 1320;
            f.Didascalia(n).move(x0 + 120, y, 1900, kAltezza);
            f.txt(n).move(x0 + 2040, y, largo, kAltezza);
            f.ComHlp(n).move(x0 + 2040 + largo + 30, y, 300, kAltezza);
            f.Lab(n).move(x0 + 2040 + largo + 360, y, larghezzaColonna - largo - 2520, kAltezza);
        }
    };
    disponi(kColonnaSinistra, std::size(kColonnaSinistra), 0);
    disponi(kColonnaDestra, std::size(kColonnaDestra), larghezzaColonna);
}

}  // namespace

std::string TestoContoRs(frmDatiAzie& f, const std::string& handle, const std::string& gruppo,
                         const std::string& mastro, const std::string& conto) {
    std::string testo = f.TestoCampoRs(handle, gruppo) + "-" + f.TestoCampoRs(handle, mastro) +
                        "-" + f.TestoCampoRs(handle, conto);
    return testo == "--" ? std::string() : testo;
}

void ScriviContoRs(frmDatiAzie& f, const std::string& handle, const std::string& testo,
                   const std::string& gruppo, const std::string& mastro, const std::string& conto) {
    std::string g;
    std::string m;
    std::string c;
    DividiConto(testo, g, m, c);
    f.Rs().ScriviCampoRs(handle, gruppo, Variant(g));
    f.Rs().ScriviCampoRs(handle, mastro, Variant(m));
    f.Rs().ScriviCampoRs(handle, conto, Variant(c));
}

void AbilitaCampo(frmDatiAzie& f, int piCampo, bool pbAbilita) {
    f.txt(piCampo).setEnabled(pbAbilita);
    if (f.Che.exists(piCampo)) f.Che(piCampo).setEnabled(pbAbilita);
    if (f.Combo.exists(piCampo)) f.Combo(piCampo).setEnabled(pbAbilita);
    if (f.ComHlp.exists(piCampo)) f.ComHlp(piCampo).setEnabled(pbAbilita);
}

void FocusCampo(frmDatiAzie& f, int piCampo) {
    ui::Control* bersaglio = &f.txt(piCampo);
    if (!bersaglio->visible()) {
        if (f.Combo.exists(piCampo)) bersaglio = &f.Combo(piCampo);
        if (f.Che.exists(piCampo)) bersaglio = &f.Che(piCampo);
    }
    PrimoCampo(*bersaglio);
}

void VisContiCom(frmDatiAzie& f) {
    const bool ritAccVendite = esisteRitAccVendite(f);
    // An older database has no sales withholding-tax account: nothing typed there could be kept.
    AbilitaCampo(f, kRitAccVendite, ritAccVendite);
    for (int q = 0; q < static_cast<int>(std::size(kQuery)); ++q) caricaQuery(f, q, ritAccVendite);
    f.ApriRsPagina(&frmDatiAzie::msRsContiCom,
                   std::string("SELECT") + " TabCauCon.*" + " FROM TabCauCon");
}

void ScriviContiCom(frmDatiAzie& f) {
    const bool ritAccVendite = esisteRitAccVendite(f);
    const std::string& rs = f.msRsContiCom;
    for (int campo : kOrdineScrittura) {
        const ContoComune& c = conto(campo);
        switch (c.tipo) {
            case Tipo::Gruppo:
                f.Rs().ScriviCampoRs(rs, gruppoDi(c), Variant(f.txt(campo).text()));
                break;
            case Tipo::Mastro:
                f.Rs().ScriviCampoRs(rs, mastroDi(c), Variant(f.txt(campo).text()));
                break;
            case Tipo::Conto:
                if (campo == kRitAccVendite && !ritAccVendite) break;
                ScriviContoRs(f, rs, f.txt(campo).text(), gruppoDi(c), mastroDi(c), contoDi(c));
                break;
        }
    }
}

const PaginaDatiAzie& PaginaContiCom() {
    static const PaginaDatiAzie pagina = [] {
        PaginaDatiAzie p;
        p.numero = 3;
        p.titolo = "Conti Comuni";
        p.campoIniziale = 3000;
        for (int campo : kColonnaSinistra) p.campi.push_back(dichiarazione(conto(campo)));
        for (int campo : kColonnaDestra) p.campi.push_back(dichiarazione(conto(campo)));
        p.creaControlli = disponiCampi;
        p.carica = VisContiCom;
        p.verifica = VerDatiContiCom;
        p.salvataggi = {{&frmDatiAzie::msRsContiCom, ScriviContiCom}};
        return p;
    }();
    return pagina;
}

}  // namespace tolvane
