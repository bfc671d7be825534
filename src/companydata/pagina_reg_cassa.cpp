// The cash-register page: its fields, the loader and writer over TabReg read with the
// descriptions of its codes, the option groups and mirrors, and the checks before a save.
// The department checks follow the company record of the database the form edits.
#include "companydata/pagina_reg_cassa.h"

#include <utility>

#include "common/db_comune.h"
#include "companydata/disposizione_colonne.h"
#include "companydata/frm_dati_azie.h"
#include "companydata/pagina_conti_com.h"
#include "companydata/regole_pagine.h"
#include "db/gestore_rs.h"
#include "platform/numbered_error.h"
#include "platform/text.h"
#include "suite/decodifiche/servizio_decodifiche.h"
#include "suite/libgenerale/lib_generale.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

constexpr int kPagina = 10;
constexpr int kKeyRic = 10000;
constexpr int kNumReparti = 10100;
constexpr int kStRiga = 10150;
constexpr int kTipoCorrisp = 10200;
constexpr int kRepFatt = 10400;
constexpr int kMerVen = 10600;
constexpr int kSospesi = 10650;
constexpr int kCausScaArti = 10700;
constexpr int kTabSconti = 10850;
constexpr int kRegAttivo = 10900;
constexpr int kNumCasse = 10910;

const char* const kQuery =
    "SELECT TabReg.*,Causali.Descrizione AS DesCausCorriScor,Causali1.Descrizione AS "
    "DesCausCorriVent,Causali2.Descrizione AS DesCausGiroconto,PianoConti.Descrizione AS "
    "DesMerVen,PianoConti1.Descrizione AS DesSospesi,Listini.Descrizione AS "
    "DesListino,MagCausali.Descrizione AS DesCausScaArti,Reparti.Descrizione AS "
    "DesRepFatturazione FROM (((((((TabReg TabReg LEFT JOIN PianoConti ON TabReg.GruppoMerVen = "
    "PianoConti.Gruppo AND TabReg.MastroMerVen = PianoConti.Mastro AND TabReg.ContoMerVen = "
    "PianoConti.Conto) LEFT JOIN PianoConti AS PianoConti1 ON TabReg.GruppoSospesi = "
    "PianoConti1.Gruppo AND TabReg.MastroSospesi = PianoConti1.Mastro AND TabReg.ContoSospesi = "
    "PianoConti1.Conto) LEFT JOIN Listini ON TabReg.Listino = Listini.Listino) LEFT JOIN "
    "MagCausali ON TabReg.CausScaArti = MagCausali.MagCausale) LEFT JOIN Causali ON "
    "TabReg.CausCorriScor = Causali.Causale) LEFT JOIN Causali AS Causali1 ON "
    "TabReg.CausCorriVent = Causali1.Causale) LEFT JOIN Causali AS Causali2 ON "
    "TabReg.CausGiroconto = Causali2.Causale) LEFT JOIN Reparti ON TabReg.RepFatturazione = "
    "Reparti.Reparto";

struct ContoCassa {
    int campo;
    const char* gruppo;
    const char* mastro;
    const char* conto;
    const char* descrizione;
};
const ContoCassa kConti[] = {
    {kMerVen, "GruppoMerVen", "MastroMerVen", "ContoMerVen", "DesMerVen"},
    {kSospesi, "GruppoSospesi", "MastroSospesi", "ContoSospesi", "DesSospesi"},
};

struct CodiceDescritto {
    int campo;
    const char* colonna;
    const char* descrizione;
};
const CodiceDescritto kCausali[] = {
    {10450, "CausCorriScor", "DesCausCorriScor"},
    {10500, "CausCorriVent", "DesCausCorriVent"},
    {10550, "CausGiroconto", "DesCausGiroconto"},
};
const CodiceDescritto kMagazzino[] = {
    {kCausScaArti, "CausScaArti", "DesCausScaArti"},
    {10750, "Listino", "DesListino"},
};

const std::pair<int, const char*> kCaselle[] = {
    {10300, "Assegni"}, {10350, "CartaCredito"}, {10050, "Segnalazione"}};

// Every field and label emptied when the table has no row.
const int kCampiVuoti[] = {kNumReparti,  kRepFatt, 10450,    10500, 10550,
                           kCausScaArti, kMerVen,  kSospesi, 10750, kNumCasse};

std::string testo(frmDatiAzie& f, const char* colonna) {
    return f.Rs().ValoreGrezzoRs(f.msRsRegCassa, colonna).text();
}

void spunta(frmDatiAzie& f, int campo) {
    const bool si = UCase(Trim(f.txt(campo).text())) == "S";
    f.Che(campo).setValue(si ? ui::check::Checked : ui::check::Unchecked);
}

// The option of the stored number (0 .. ultima) with its code; any other value touches nothing.
void opzioneDa(frmDatiAzie& f, const char* colonna, int campo, const char* nome, int ultima) {
    Variant valore = f.Rs().ValoreGrezzoRs(f.msRsRegCassa, colonna);
    if (valore.isNull() || valore.isEmpty() || !isNumeric(valore)) return;
    const double numero = valore.toDouble();
    for (int i = 0; i <= ultima; ++i) {
        if (numero != i) continue;
        f.txt(campo).setText(std::to_string(i));
        f.Opzioni(nome)(i).setValue(true);
    }
}

void seleziona(frmDatiAzie& f, const char* nome, int i, int campo) {
    f.txt(campo).setText(std::to_string(i));
    f.Opzioni(nome)(i).setValue(true);
}

void comboRicerca(frmDatiAzie& f) {
    const std::string codice = f.txt(kKeyRic).text();
    if (equalText(codice, "0")) f.Combo(kKeyRic).setListIndex(0);
    if (equalText(codice, "1")) f.Combo(kKeyRic).setListIndex(1);
}

void comboSconti(frmDatiAzie& f) {
    f.Combo(kTabSconti).setListIndex(equalText(f.txt(kTabSconti).text(), "2") ? 1 : 0);
}

void caricaRiga(frmDatiAzie& f) {
    const std::string& rs = f.msRsRegCassa;
    for (const ContoCassa& c : kConti) {
        f.txt(c.campo).setText(f.TestoCampoRs(rs, c.gruppo) + "-" + f.TestoCampoRs(rs, c.mastro) +
                               "-" + f.TestoCampoRs(rs, c.conto));
        f.Lab(c.campo).setCaption(f.TestoCampoRs(rs, c.descrizione));
    }
    f.txt(kKeyRic).setText(testo(f, "KeyRicScontrino"));
    comboRicerca(f);
    f.txt(kNumReparti).setText(testo(f, "NumReparti"));
    opzioneDa(f, "TipoCorrisp", kTipoCorrisp, "OptTipoCorrisp", 1);
    for (const auto& [campo, colonna] : kCaselle) {
        f.txt(campo).setText(testo(f, colonna));
        spunta(f, campo);
    }
    Variant reparto = f.Rs().ValoreGrezzoRs(rs, "RepFatturazione");
    if (!reparto.isNull() && !reparto.isEmpty() && reparto.text() != "0") {
        f.txt(kRepFatt).setText(reparto.text());
        f.Lab(kRepFatt).setCaption(f.TestoCampoRs(rs, "DesRepFatturazione"));
    }
    for (const CodiceDescritto& c : kCausali) {
        f.txt(c.campo).setText(testo(f, c.colonna));
        f.Lab(c.campo).setCaption(f.TestoCampoRs(rs, c.descrizione));
    }
    opzioneDa(f, "StRigaScontrino", kStRiga, "OptStRigaScontrino", 2);
    for (const CodiceDescritto& c : kMagazzino) {
        f.txt(c.campo).setText(testo(f, c.colonna));
        f.Lab(c.campo).setCaption(f.TestoCampoRs(rs, c.descrizione));
    }
    for (const ContoCassa& c : kConti) {
        if (f.txt(c.campo).text() == "--") f.txt(c.campo).setText("");
    }
    f.txt(kTabSconti).setText(testo(f, "TabSconti"));
    comboSconti(f);
    f.txt(kRegAttivo).setText(testo(f, "RegAttivo"));
    spunta(f, kRegAttivo);
    f.txt(kNumCasse).setText(testo(f, "NumCasse"));
}

void caricaVuota(frmDatiAzie& f) {
    for (int campo : kCampiVuoti) {
        f.txt(campo).setText("");
        if (f.Lab.exists(campo)) f.Lab(campo).setCaption("");
    }
    f.txt(kKeyRic).setText("0");
    seleziona(f, "OptTipoCorrisp", 0, kTipoCorrisp);
    seleziona(f, "OptStRigaScontrino", 0, kStRiga);
    for (const auto& [campo, colonna] : kCaselle) {
        f.Che(campo).setValue(ui::check::Unchecked);
        f.txt(campo).setText("N");
    }
    f.txt(kTabSconti).setText("");
    f.txt(kRegAttivo).setText("S");
    f.Che(kRegAttivo).setValue(ui::check::Checked);
    f.txt(kNumCasse).setText("1");
}

// The whole number of a field as the checks compare it; beyond an Integer it still counts as
// the number it is, so that a huge count is not taken for "no value".
double intero(const frmDatiAzie& f, int campo) {
    const Variant valore(f.txt(campo).text());
    try {
        return goLibGen().ValoreIntero(valore, true, true);
    } catch (const NumberedError&) {
        return goLibGen().ValoreDouble(valore, true);
    }
}

CampoPagina codice(int numero, const char* didascalia, const char* tipo, int lunghezza = 3) {
    CampoPagina campo = CampoTesto(numero, didascalia, lunghezza);
    campo.descrizione = true;
    campo.ricerca = tipo;
    campo.decodifica = RegolaDecodifica{tipo, "", "", false, nullptr};
    return campo;
}

void creaControlli(frmDatiAzie& f) {
    DisponiInColonne(
        f, kPagina,
        {{{kKeyRic, kNumReparti, kStRiga, kTipoCorrisp, kRepFatt, 10300, 10350, 10050, kRegAttivo,
           kNumCasse},
          2700},
         {{10450, 10500, 10550, kCausScaArti, kMerVen, kSospesi, 10750, kTabSconti}, 2700}});
}

}  // namespace

bool regcassa::RegCassaInstallato(frmDatiAzie& f) {
    if (!EsisteCampo("Ditta", "InstRegCassa", f.osIdDbase)) return false;
    ScopedRecordSet ditta(f.Rs(), goDbase(), f.osIdDbase, "SELECT InstRegCassa FROM Ditta",
                          rstype::Dynaset);
    if (f.Rs().VuotoRs(ditta.handle())) return false;
    return equalText(Trim(f.TestoCampoRs(ditta.handle(), "InstRegCassa")), "S");
}

std::string regcassa::VerificaCausaleScarico(frmDatiAzie& f, int piCampo,
                                             const Variant& pvTipoMov) {
    const std::string causale = f.txt(piCampo).text();
    auto colonna = [&](const char* nome) {
        return goDecodifiche
                   ? goDecodifiche->Decodifica("MagCausale", causale, "", nome).colonna.text()
                   : std::string();
    };
    const std::string dest = colonna("Dest");
    const bool adatta = equalText(pvTipoMov.text(), "N") && equalText(colonna("CarScar"), "S") &&
                        equalText(colonna("Segno"), "+") && equalText(colonna("Prov"), "M") &&
                        (equalText(dest, "C") || equalText(dest, "N"));
    if (adatta) return {};
    return "ATT:la causale per generare il movimento di magazzino per lo scarico articoli deve "
           "essere di tipo normale, scarico positivo, con provenienza magazzino e destinazione "
           "cliente";
}

void VisRegCassa(frmDatiAzie& f) {
    f.ApriRsPagina(&frmDatiAzie::msRsRegCassa, kQuery);
    if (!f.Rs().VuotoRs(f.msRsRegCassa)) {
        caricaRiga(f);
    } else {
        caricaVuota(f);
    }
    comboRicerca(f);
    comboSconti(f);
}

void ScriviRegCassa(frmDatiAzie& f) {
    GestoreRs& rs = f.Rs();
    const std::string& h = f.msRsRegCassa;
    auto campo = [&](const char* colonna, int n) {
        rs.ScriviCampoRs(h, colonna, Variant(f.txt(n).text()));
    };
    auto numero = [&](const char* colonna, int n) {
        rs.ScriviCampoRs(h, colonna,
                         Variant(goLibGen().ValoreIntero(Variant(f.txt(n).text()), true, true)));
    };
    campo("KeyRicScontrino", kKeyRic);
    campo("Segnalazione", 10050);
    numero("NumReparti", kNumReparti);
    numero("StRigaScontrino", kStRiga);
    numero("TipoCorrisp", kTipoCorrisp);
    campo("Assegni", 10300);
    campo("CartaCredito", 10350);
    campo("RepFatturazione", kRepFatt);
    for (const CodiceDescritto& c : kCausali) campo(c.colonna, c.campo);
    for (const ContoCassa& c : kConti) {
        ScriviContoRs(f, h, f.txt(c.campo).text(), c.gruppo, c.mastro, c.conto);
    }
    for (const CodiceDescritto& c : kMagazzino) campo(c.colonna, c.campo);
    campo("TabSconti", kTabSconti);
    campo("RegAttivo", kRegAttivo);
    campo("NumCasse", kNumCasse);
}

bool VerDatiRegCassa(frmDatiAzie& f) {
    if (regcassa::RegCassaInstallato(f)) {
        const double reparti = intero(f, kNumReparti);
        if (reparti == 0) {
            return RifiutaSalvataggio(
                f, kNumReparti,
                "Se installato il registratore di cassa, il nr.di reparti attivi è "
                "obbligatorio");
        }
        if (intero(f, kRepFatt) > reparti) {
            return RifiutaSalvataggio(
                f, kRepFatt,
                "Il numero corrispondente al reparto deve essere minore o uguale al nr. "
                "di reparti attivi");
        }
    }
    return f.CampiSenzaErrori();
}

const PaginaDatiAzie& PaginaRegCassa() {
    static const PaginaDatiAzie pagina = [] {
        PaginaDatiAzie p;
        p.numero = kPagina;
        p.titolo = "Registratore di Cassa";
        p.campoIniziale = kKeyRic;

        CampoPagina scarico = codice(kCausScaArti, "Causale per Scarico Articoli:", "MagCausale");
        scarico.filtroRicerca = " TipoMov = 'N'";
        scarico.decodifica =
            RegolaDecodifica{"MagCausale", "", "TipoMov", false, regcassa::VerificaCausaleScarico};

        p.campi = {
            CampoCombo(kKeyRic, "Ricerca art. in emis.scontrini:",
                       {{"0 Codice", "0"}, {"1 Codice a barre", "1"}}),
            CampoTesto(kNumReparti, "Nr.reparti attivi:", 3),
            CampoOpzioni(kStRiga, "Stampa Righe Scontrino: ", "OptStRigaScontrino",
                         {{"St.Dettaglio Reparti", "0"},
                          {"St.Descrizione Articoli", "1"},
                          {"St.Riepilogo per Reparto", "2"}},
                         0),
            CampoOpzioni(kTipoCorrisp, "Tipo Corrispettivo: ", "OptTipoCorrisp",
                         {{"Da Scorporare", "0"}, {"Da Ventilare", "1"}}, 0),
            codice(kRepFatt, "Reparto per Fatturazione:", "Reparto"),
            CampoCasella(10300, "Assegni"),
            CampoCasella(10350, "Carta di credito"),
            CampoCasella(10050, "Segnalazione se va sottoscorta in scontrino"),
            codice(10450, "Causale Corrisp.da Scorporare:", "Causale"),
            codice(10500, "Causale Corrisp.da Ventilare:", "Causale"),
            codice(10550, "Causale per Giroconto:", "Causale"),
            scarico,
            CampoConto(kMerVen, "Merce C/Vendite:", UscitaConto::Verifica, 12),
            CampoConto(kSospesi, "Conto Sospesi:", UscitaConto::Verifica, 12),
            codice(10750, "Listino:", "Listino"),
            CampoCombo(kTabSconti, "Sconto prioritario:",
                       {{"1 Categoria/Articolo", "1"}, {"2 Cliente / Gruppo", "2"}}),
            CampoCasella(kRegAttivo, "Registratore Attivo"),
            CampoTesto(kNumCasse, "Nr.Registratori:", 3),
        };
        p.creaControlli = creaControlli;
        p.carica = VisRegCassa;
        p.verifica = VerDatiRegCassa;
        p.salvataggi = {{&frmDatiAzie::msRsRegCassa, ScriviRegCassa}};
        return p;
    }();
    return pagina;
}

}  // namespace tolvane
