// The general accounting page: its fields, loader and writer over TabCoge with the suspense
// account's description, the closing days and the mirrors of the yes/no and cash-VAT fields.
// The loading flag is put back however the loader ends.
#include "companydata/pagina_coge.h"

#include <utility>
#include <vector>

#include "common/db_comune.h"
#include "companydata/disposizione_colonne.h"
#include "companydata/frm_dati_azie.h"
#include "companydata/pagina_conti_com.h"
#include "companydata/regole_pagine.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

enum class Valore { Testo, Data, Importo, Conto };

struct ColonnaCoge {
    int campo;
    const char* colonna;
    Valore valore;
};

// In the order of the loader and the writer; the suspense account and the closing days sit
// between the amounts and the cash-VAT scheme.
const ColonnaCoge kPrima[] = {
    {5000, "AnnoCorr", Valore::Testo},
    {5010, "DataInizCont", Valore::Data},
    {5020, "DataFineCont", Valore::Data},
    {5030, "ApertoPrec", Valore::Testo},
    {5040, "Azzera", Valore::Testo},
    {5050, "AnagrInRegIva", Valore::Testo},
    {5060, "MultiAttivita", Valore::Testo},
    {5070, "AnnoAzzera", Valore::Testo},
    {5077, "OpRilIvaImpConIva", Valore::Importo},
    {5078, "OpRilIvaImpSenzaIva", Valore::Importo},
};
const ColonnaCoge kDopo[] = {
    {5080, "IvaCassaAttiva", Valore::Testo}, {5085, "IvaPerCassaDa", Valore::Data},
    {5088, "IvaPerCassaA", Valore::Data},    {5090, "DataProcConcDa", Valore::Data},
    {5095, "DataProcConcA", Valore::Data},
};

constexpr int kSospesi = 5075;
const char* const kColonneSospesi[] = {"GruppoSospesi", "MastroSospesi", "ContoSospesi"};
const char* const kGiorniChiu = "GiorniChiu";

const char* const kGiorni[] = {
    "Domenica:", "Lunedì:", "Martedì:", "Mercoledì:", "Giovedì:", "Venerdì:", "Sabato:"};

const ColonnaCoge* colonnaDi(int campo) {
    for (const ColonnaCoge& c : kPrima)
        if (c.campo == campo) return &c;
    for (const ColonnaCoge& c : kDopo)
        if (c.campo == campo) return &c;
    return nullptr;
}

bool esiste(const frmDatiAzie& f, const char* colonna) {
    return EsisteCampo("TabCoge", colonna, f.osIdDbase);
}

// True only between the start and the end of the loader, whichever way it ends.
class CaricamentoCoge {
  public:
    explicit CaricamentoCoge(frmDatiAzie& f) : f_(f) { f_.mbCaricaCoge = true; }
    ~CaricamentoCoge() { f_.mbCaricaCoge = false; }
    CaricamentoCoge(const CaricamentoCoge&) = delete;
    CaricamentoCoge& operator=(const CaricamentoCoge&) = delete;

  private:
    frmDatiAzie& f_;
};

std::string testoQuery(bool sospesi) {
    if (!sospesi) return std::string("SELECT") + " TabCoge.*" + " FROM TabCoge";
    return std::string("SELECT") + " TabCoge.*,PianoContiSosp.Descrizione" + " FROM (TabCoge" +
           " LEFT JOIN PianoConti as PianoContiSosp" +
           " ON (TabCoge.ContoSospesi = PianoContiSosp.Conto)" +
           " AND (TabCoge.MastroSospesi = PianoContiSosp.Mastro)" +
           " AND (TabCoge.GruppoSospesi = PianoContiSosp.Gruppo))";
}

// A column as the field shows it; Null (also of a number) shows as the empty text.
std::string testoColonna(frmDatiAzie& f, const ColonnaCoge& c) {
    Variant valore = f.Rs().ValoreGrezzoRs(f.msRsCoge, c.colonna);
    switch (c.valore) {
        case Valore::Data:
            return goLibGen().FormattaPerTipo(valore, "dd/mm/yyyy");
        case Valore::Importo:
            return goLibGen().FormattaPerTipo(valore, "#,##0.00");
        default:
            return valore.text();
    }
}

void leggiColonna(frmDatiAzie& f, const ColonnaCoge& c) {
    if (!esiste(f, c.colonna)) return;
    f.txt(c.campo).setText(testoColonna(f, c));
    if (c.campo == 5020 && !goLibGen().EVuoto(Variant(f.txt(5020).text()))) {
        f.mtFineEsercizio = goLibGen().ValoreData(Variant(f.txt(5020).text()));
    }
}

void caricaRiga(frmDatiAzie& f) {
    const std::string& rs = f.msRsCoge;
    for (const ColonnaCoge& c : kPrima) leggiColonna(f, c);
    if (coge::ColonnaPresente(f, kSospesi)) {
        f.txt(kSospesi).setText(
            TestoContoRs(f, rs, kColonneSospesi[0], kColonneSospesi[1], kColonneSospesi[2]));
        f.Lab(kSospesi).setCaption(f.TestoCampoRs(rs, "PianoContiSosp.Descrizione"));
    }
    if (esiste(f, kGiorniChiu)) f.msGiorniChiu = f.TestoCampoRs(rs, kGiorniChiu);
    for (const ColonnaCoge& c : kDopo) leggiColonna(f, c);
    // A year beside a yearly reset could never be saved, and its field is disabled.
    if (equalText(f.txt(5040).text(), "S")) f.txt(5070).setText("");
}

void caricaVuota(frmDatiAzie& f) {
    for (int n : {5000, 5010, 5020}) f.txt(n).setText("");
    for (int n : {5030, 5040, 5080, 5050, 5060}) f.txt(n).setText("N");
    for (int n : {5070, 5077, 5078, 5075}) f.txt(n).setText("");
    f.msGiorniChiu.clear();
    for (int n : {5085, 5088, 5090, 5095}) f.txt(n).setText("");
}

void spuntaGiorni(frmDatiAzie& f) {
    f.msGiorniChiu = goLibGen().SostituisciSegnaposti(f.msGiorniChiu, ",", "");
    f.msGiorniChiu = goLibGen().SostituisciSegnaposti(f.msGiorniChiu, " ", "");
    for (char c : f.msGiorniChiu) {
        const int giorno = c >= '0' && c <= '9' ? c - '0' : 0;
        if (giorno >= 1 && giorno <= 7) f.CheChiu(giorno).setValue(ui::check::Checked);
    }
}

void specchio(frmDatiAzie& f, int campo) {
    const bool si = equalText(f.txt(campo).text(), "S");
    f.Che(campo).setValue(si ? ui::check::Checked : ui::check::Unchecked);
}

void impostaSpecchi(frmDatiAzie& f) {
    specchio(f, 5030);
    specchio(f, 5040);
    coge::ClickAzzera(f, 5040);
    specchio(f, 5050);
    specchio(f, 5060);
    const std::string iva = UCase(f.txt(5080).text());
    ui::ComboBox& combo = f.Combo(5080);
    if (iva == "N") combo.setListIndex(0);
    if (iva == "S") combo.setListIndex(1);
    if (iva == "A") combo.setListIndex(2);
    if (iva.empty()) combo.setListIndex(-1);
}

void abilitaColonne(frmDatiAzie& f) {
    for (const CampoPagina& campo : PaginaCoge().campi) {
        AbilitaCampo(f, campo.numero, coge::ColonnaPresente(f, campo.numero));
    }
    const bool giorni = esiste(f, kGiorniChiu);
    for (int giorno = 1; giorno <= 7; ++giorno) f.CheChiu(giorno).setEnabled(giorni);
}

void scriviColonna(frmDatiAzie& f, const ColonnaCoge& c) {
    if (esiste(f, c.colonna)) {
        f.Rs().ScriviCampoRs(f.msRsCoge, c.colonna, Variant(f.txt(c.campo).text()));
    }
}

// The headings of the reference amounts and of the receipts' suspense account with the amounts'
// hints, and the closing days beside the fields, one box per day of the week.
void creaControlli(frmDatiAzie& f) {
    IntestazioniSopra(
        f, PaginaCoge(),
        {{5077, "IMPORTI DI RIFERIMENTO PER COMUNICAZIONE OPERAZIONI RILEVANTI AI FINI IVA:"},
         {kSospesi, "PER REGISTRAZIONE VELOCE CORRISPETTIVI:"}});
    ui::PictureBox& pic = f.PicPagine(5);
    for (const auto& [campo, suggerimento] :
         {std::pair{5077, "(3.000,00)"}, {5078, "(3.600,00)"}}) {
        const ui::TextBox& importo = f.txt(campo);
        ui::Label& etichetta = f.add<ui::Label>("LabSuggerimento" + std::to_string(campo), &pic);
        etichetta.setCaption(suggerimento);
        etichetta.move(importo.left() + importo.width() + 120, importo.top(), 1200,
                       importo.height());
    }
    const double x = pic.width() - 2760;
    ui::Label& titolo = f.add<ui::Label>("LabGiorniChiu", &pic);
    titolo.setCaption("Giorni di chiusura attività:");
    titolo.move(x, 720, 2520, 300);
    for (int giorno = 1; giorno <= 7; ++giorno) {
        ui::CheckBox& casella = f.CheChiu.add(giorno, &pic);
        casella.setCaption(kGiorni[giorno - 1]);
        casella.move(x, 720 + giorno * 360, 2160, 300);
    }
}

CampoPagina data(int numero, const char* didascalia) {
    CampoPagina campo = CampoTesto(numero, didascalia, 10);
    campo.regolaUscita = UscitaDataCampo;
    return campo;
}

}  // namespace

bool coge::ColonnaPresente(const frmDatiAzie& f, int piCampo) {
    if (piCampo == kSospesi) {
        for (const char* colonna : kColonneSospesi)
            if (!esiste(f, colonna)) return false;
        return true;
    }
    const ColonnaCoge* c = colonnaDi(piCampo);
    return c == nullptr || esiste(f, c->colonna);
}

void VisCoge(frmDatiAzie& f) {
    {
        CaricamentoCoge caricamento(f);
        abilitaColonne(f);
        f.ApriRsPagina(&frmDatiAzie::msRsCoge, testoQuery(coge::ColonnaPresente(f, kSospesi)));
        if (!f.Rs().VuotoRs(f.msRsCoge)) {
            caricaRiga(f);
        } else {
            caricaVuota(f);
        }
        spuntaGiorni(f);
    }
    impostaSpecchi(f);
}

void ScriviCoge(frmDatiAzie& f) {
    for (const ColonnaCoge& c : kPrima) scriviColonna(f, c);
    if (coge::ColonnaPresente(f, kSospesi)) {
        ScriviContoRs(f, f.msRsCoge, f.txt(kSospesi).text(), kColonneSospesi[0], kColonneSospesi[1],
                      kColonneSospesi[2]);
    }
    if (esiste(f, kGiorniChiu))
        f.Rs().ScriviCampoRs(f.msRsCoge, kGiorniChiu, Variant(f.msGiorniChiu));
    for (const ColonnaCoge& c : kDopo) scriviColonna(f, c);
}

const PaginaDatiAzie& PaginaCoge() {
    static const PaginaDatiAzie pagina = [] {
        PaginaDatiAzie p;
        p.numero = 5;
        p.titolo = "Contabilità ";
        p.campoIniziale = 5000;
        p.contestoHelp = 2530;

        CampoPagina anno = CampoTesto(5000, "Anno corrente:", 4);
        anno.regolaUscita = coge::UscitaAnnoCorr;
        CampoPagina inizio = CampoTesto(5010, "Data inizio esercizio:", 10);
        inizio.regolaUscita = coge::UscitaDataInizio;
        CampoPagina azzera = CampoCasella(5040, "Azzera nr. reg. ogni anno:");
        azzera.alClick = coge::ClickAzzera;
        CampoPagina annoAzzera = CampoTesto(5070, "Anno inizio numerazione:", 4);
        annoAzzera.regolaUscita = coge::UscitaAnnoAzzera;
        CampoPagina fatture = CampoTesto(5077, "Fatture:");
        fatture.regolaUscita = coge::UscitaImporto;
        CampoPagina scontrini = CampoTesto(5078, "Scontrini, Ric.Fisc., Fatt.Dett.:");
        scontrini.regolaUscita = coge::UscitaImporto;

        p.campi = {
            anno,
            inizio,
            data(5020, "Data fine esercizio:"),
            CampoCasella(5030, "Anno precedente aperto:"),
            azzera,
            CampoCasella(5050, "Anagrafica completa sui reg.iva:"),
            CampoCasella(5060, "Gestione più attività iva:"),
            annoAzzera,
            fatture,
            scontrini,
            CampoConto(kSospesi, "C/corrispettivi sospesi:", UscitaConto::Verifica),
            CampoCombo(5080, "Iva per Cassa attiva:",
                       {{"N No", "N"}, {"S Si", "S"}, {"A Su Attività", "A"}}),
            data(5085, "Data inizio Iva per Cassa:"),
            data(5088, "Data fine:"),
            data(5090, "Dt.inizio proc.concorsuale:"),
            data(5095, "Data fine:"),
        };
        p.creaControlli = creaControlli;
        p.carica = VisCoge;
        p.verifica = VerDatiCoge;
        p.salvataggi = {{&frmDatiAzie::msRsCoge, ScriviCoge}};
        return p;
    }();
    return pagina;
}

}  // namespace tolvane
