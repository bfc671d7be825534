// The professional transit accounts page: fees, other revenues, withholding tax, costs, the
// pension fund subject to withholding and advances, each with its chart-of-accounts description.
// A typed account is decoded on leaving, so that its label never keeps another account's text.
#include "companydata/pagina_conti_trans.h"

#include <string>

#include "companydata/disposizione_colonne.h"
#include "companydata/frm_dati_azie.h"
#include "companydata/pagina_conti_com.h"

namespace tolvane {

namespace {

struct ContoTransito {
    int campo;
    const char* didascalia;
    const char* gruppo;
    const char* mastro;
    const char* conto;
    const char* alias;
};

const ContoTransito kConti[] = {
    {11000, "Onorario:", "GruTrOnorario", "MasTrOnorario", "ConTrOnorario", "PianoContiTrOno"},
    {11005, "Altri ricavi:", "GruTrAltriRic", "MasTrAltriRic", "ConTrAltriRic", "PianoContiTrAlt"},
    {11010, "Rit.d'acconto:", "GruTrRitAcconto", "MasTrRitAcconto", "ConTrRitAcconto",
     "PianoContiTrRit"},
    {11015, "Costi:", "GruTransCosti", "MasTransCosti", "ConTransCosti", "PianoContiTrCos"},
    {11020, "Cassa Prev.sogg.rit.:", "GruTrCassaRit", "MasTrCassaRit", "ConTrCassaRit",
     "PianoContiTrCas"},
    {11025, "Anticipazioni:", "GruTransAntic", "MasTransAntic", "ConTransAntic", "PianoContiTrAnt"},
};

std::string testoQuery() {
    std::string colonne;
    std::string descrizioni;
    std::string join;
    for (const ContoTransito& c : kConti) {
        const std::string a = c.alias;
        colonne += std::string(",TabCauCon.") + c.gruppo + ",TabCauCon." + c.mastro +
                   ",TabCauCon." + c.conto;
        descrizioni += "," + a + ".Descrizione";
        join += " LEFT JOIN PianoConti as " + a + " ON (TabCauCon." + c.gruppo + " = " + a +
                ".Gruppo) AND (TabCauCon." + c.mastro + " = " + a + ".Mastro) AND (TabCauCon." +
                c.conto + " = " + a + ".Conto))";
    }
    return "SELECT " + colonne.substr(1) + descrizioni + " FROM ((((((TabCauCon " + join;
}

}  // namespace

void VisContiTrans(frmDatiAzie& f) {
    f.ApriRsPagina(&frmDatiAzie::msRsContiTrans, testoQuery());
    const std::string& rs = f.msRsContiTrans;
    if (f.Rs().VuotoRs(rs)) {
        for (const ContoTransito& c : kConti) f.txt(c.campo).setText("");
        return;
    }
    for (const ContoTransito& c : kConti) {
        f.txt(c.campo).setText(TestoContoRs(f, rs, c.gruppo, c.mastro, c.conto));
        f.Lab(c.campo).setCaption(f.TestoCampoRs(rs, c.alias + std::string(".Descrizione")));
    }
}

void ScriviContiTrans(frmDatiAzie& f) {
    for (const ContoTransito& c : kConti) {
        ScriviContoRs(f, f.msRsContiTrans, f.txt(c.campo).text(), c.gruppo, c.mastro, c.conto);
    }
}

const PaginaDatiAzie& PaginaContiTrans() {
    static const PaginaDatiAzie pagina = [] {
        PaginaDatiAzie p;
        p.numero = 14;
        p.titolo = "Conti di Transito Prof.";
        p.campoIniziale = 11000;
        p.contestoHelp = 2560;
        for (const ContoTransito& c : kConti) {
            p.campi.push_back(CampoConto(c.campo, c.didascalia, UscitaConto::Verifica));
        }
        p.creaControlli = [](frmDatiAzie& f) {
            IntestazioniSopra(f, PaginaContiTrans(), {{11000, "Conti di Transito:"}});
        };
        p.carica = VisContiTrans;
        p.verifica = [](frmDatiAzie& f) { return f.CampiSenzaErrori(); };
        p.salvataggi = {{&frmDatiAzie::msRsContiTrans, ScriviContiTrans}};
        return p;
    }();
    return pagina;
}

}  // namespace tolvane
