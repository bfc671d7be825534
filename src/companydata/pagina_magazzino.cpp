// The warehouse and barcode page: its fields, the loader and writer over TabMagazzino with the
// descriptions of the main warehouse, price list and supplier-for-production account, and the
// mirrors of its switches and combos. Its checks and leave rules are in the page's rules file.
#include "companydata/pagina_magazzino.h"

#include <utility>

#include "common/db_comune.h"
#include "common/servizi_finestre.h"
#include "companydata/disposizione_colonne.h"
#include "companydata/frm_dati_azie.h"
#include "companydata/pagina_conti_com.h"
#include "companydata/regole_pagine.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

constexpr int kPagina = 7;
constexpr int kTipoCodBarre = 49;
constexpr int kFornProd = 93;
const char* const kColonneFornProd[] = {"GruppoProd", "MastroProd", "ContoProd"};

enum class Valore { Testo, Data };

struct ColonnaMagazzino {
    int campo;
    const char* colonna;
    Valore valore = Valore::Testo;
};

// Loader's order; the barcode type, the two coded descriptions and the account are read at
// their places in between.
const ColonnaMagazzino kPrima[] = {
    {45, "AnnoCorr"},
    {46, "DataInizio", Valore::Data},
    {92, "DataFine", Valore::Data},
    {47, "UsoCodBarre"},
    {48, "AttDecBarcode"},
    {kTipoCodBarre, "TipoCodBarre"},
};
const ColonnaMagazzino kDopo[] = {
    {50, "GenAutContrBarre"},  {73, "LungCodBarre"},
    {74, "GenAutCodBarre"},    {51, "MagPrincipale"},
    {52, "ListinoPrincipale"}, {53, "AggForArt"},
    {54, "KeyRicCarMov"},      {55, "KeyRicDDT"},
    {56, "KeyRicFattura"},     {57, "NumDecQta"},
    {58, "Segnalazione"},      {59, "GesArtFor"},
    {60, "GesTaglie"},         {61, "GesCauzioni"},
    {62, "NumEtic"},           {63, "UltStampaGio", Valore::Data},
    {82, "UsoDateLis"},        {65, "DataListino", Valore::Data},
    {64, "QualeDataLis"},      {66, "ProgrQta1"},
    {67, "ProgrQta2"},         {68, "ProgrQta3"},
};

// Writer's order, up to the account; the markup follows it.
const std::pair<int, const char*> kScritte[] = {
    {45, "AnnoCorr"},         {46, "DataInizio"},        {92, "DataFine"},
    {47, "UsoCodBarre"},      {48, "AttDecBarcode"},     {kTipoCodBarre, "TipoCodBarre"},
    {50, "GenAutContrBarre"}, {74, "GenAutCodBarre"},    {73, "LungCodBarre"},
    {51, "MagPrincipale"},    {52, "ListinoPrincipale"}, {53, "AggForArt"},
    {54, "KeyRicCarMov"},     {55, "KeyRicDDT"},         {56, "KeyRicFattura"},
    {57, "NumDecQta"},        {58, "Segnalazione"},      {59, "GesArtFor"},
    {60, "GesTaglie"},        {61, "GesCauzioni"},       {62, "NumEtic"},
    {63, "UltStampaGio"},     {65, "DataListino"},       {64, "QualeDataLis"},
    {82, "UsoDateLis"},       {66, "ProgrQta1"},         {67, "ProgrQta2"},
    {68, "ProgrQta3"},
};

struct Predefinito {
    int campo;
    const char* valore;
};
const Predefinito kSenzaRiga[] = {
    {45, ""},  {46, ""},  {92, ""},  {47, "N"}, {48, ""},  {kTipoCodBarre, ""},
    {50, "N"}, {73, ""},  {74, "N"}, {51, ""},  {52, ""},  {53, "N"},
    {54, "0"}, {55, "0"}, {56, "0"}, {57, "0"}, {58, "S"}, {59, "N"},
    {60, "N"}, {61, "N"}, {62, "1"}, {63, ""},  {82, "N"}, {65, ""},
    {64, "D"}, {66, ""},  {67, ""},  {68, ""},  {94, "0"},
};

const int kCaselle[] = {50, 74, 59, 53, 61, 47, 60, 82};

struct SpecchioCombo {
    int campo;
    std::vector<const char*> codici;  // item i stands for codici[i]
};
const SpecchioCombo kCombo[] = {
    {64, {"D", "G", "N"}}, {58, {"N", "S", "B", "F"}}, {55, {"0", "1"}},
    {54, {"0", "1"}},      {56, {"0", "1"}},
};

const std::vector<VoceCodice> kVociRicerca = {{"0 Codice", "0"}, {"1 Codice a barre", "1"}};

bool esisteContoProd(const frmDatiAzie& f) {
    for (const char* colonna : kColonneFornProd) {
        if (!EsisteCampo("TabMagazzino", colonna, f.osIdDbase)) return false;
    }
    return true;
}

std::string testoQuery(bool contoProd) {
    std::string sql = std::string("SELECT") + " TabMagazzino.*" + " , Magazzini.Descrizione" +
                      " , Listini.Descrizione";
    if (contoProd) sql += " , PianoContiFornProd.Descrizione";
    sql += " FROM (";
    if (contoProd) sql += "(";
    sql += std::string("TabMagazzino LEFT JOIN Magazzini") +
           " ON TabMagazzino.MagPrincipale = Magazzini.Magazzino)" + " LEFT JOIN Listini" +
           " ON TabMagazzino.ListinoPrincipale = Listini.Listino";
    if (contoProd) {
        sql += std::string(" ) LEFT JOIN PianoConti as PianoContiFornProd") +
               " ON (TabMagazzino.ContoProd = PianoContiFornProd.Conto)" +
               " AND (TabMagazzino.MastroProd = PianoContiFornProd.Mastro)" +
               " AND (TabMagazzino.GruppoProd = PianoContiFornProd.Gruppo)";
    }
    return sql;
}

// A column as its field shows it: Null (of a number too) is the empty text.
void leggi(frmDatiAzie& f, const ColonnaMagazzino& c) {
    Variant valore = f.Rs().ValoreGrezzoRs(f.msRsMagazzino, c.colonna);
    f.txt(c.campo).setText(c.valore == Valore::Data
                               ? goLibGen().FormattaPerTipo(valore, "dd/mm/yyyy")
                               : valore.text());
}

// The stored type picks its item; the item's click writes the code back in capitals.
void selezionaTipoCodBarre(frmDatiAzie& f) {
    if (f.cobTipoCodBarre == nullptr) return;
    CercaInCombo(*f.cobTipoCodBarre, f.txt(kTipoCodBarre), true, true);
}

void caricaRiga(frmDatiAzie& f) {
    const std::string& rs = f.msRsMagazzino;
    for (const ColonnaMagazzino& c : kPrima) leggi(f, c);
    f.txt(92).setEnabled(false);
    selezionaTipoCodBarre(f);
    for (const ColonnaMagazzino& c : kDopo) {
        leggi(f, c);
        if (c.campo == 51) f.Lab(51).setCaption(f.TestoCampoRs(rs, "Magazzini.Descrizione"));
        if (c.campo == 52) f.Lab(52).setCaption(f.TestoCampoRs(rs, "Listini.Descrizione"));
    }
    if (f.bEsisteContoProd) {
        f.txt(kFornProd).setText(
            TestoContoRs(f, rs, kColonneFornProd[0], kColonneFornProd[1], kColonneFornProd[2]));
        f.Lab(kFornProd).setCaption(f.txt(kFornProd).text().empty()
                                        ? std::string()
                                        : f.TestoCampoRs(rs, "PianoContiFornProd.Descrizione"));
    }
    leggi(f, {94, "PercRicListClie"});
}

void caricaVuota(frmDatiAzie& f) {
    for (const Predefinito& p : kSenzaRiga) f.txt(p.campo).setText(p.valore);
    f.Lab(51).setCaption("");
    f.Lab(52).setCaption("");
    if (f.bEsisteContoProd) {
        f.txt(kFornProd).setText("");
        f.Lab(kFornProd).setCaption("");
    }
}

void impostaSpecchi(frmDatiAzie& f) {
    for (int n : kCaselle) {
        const bool si = equalText(f.txt(n).text(), "S");
        f.Che(n).setValue(si ? ui::check::Checked : ui::check::Unchecked);
    }
    for (const SpecchioCombo& s : kCombo) {
        for (std::size_t i = 0; i < s.codici.size(); ++i) {
            if (equalText(f.txt(s.campo).text(), s.codici[i])) {
                f.Combo(s.campo).setListIndex(static_cast<int>(i));
            }
        }
    }
}

// The barcode combo sits where its hidden field would be; the account's row goes with its
// column when the database has none.
void creaControlli(frmDatiAzie& f) {
    DisponiInColonne(f, kPagina,
                     {{{45, 46, 92, 47, 48, 49, 50, 73, 74, 51, 52, 53, 54, 55, 56}, 2900},
                      {{57, 58, 59, 60, 61, 62, 63, 82, 65, 64, 66, 67, 68, 93, 94}, 3100}});
    ui::TextBox& campo = f.txt(kTipoCodBarre);
    ui::ComboBox& combo = f.add<ui::ComboBox>("cobTipoCodBarre", &f.PicPagine(kPagina));
    combo.setStyle(ui::ComboBox::Style::DropDownList);
    combo.move(campo.left(), campo.top(), 2400, campo.height());
    combo.setTabIndex(campo.tabIndex());
    campo.setVisible(false);
    combo.on.onClick = [&f] { cobTipoCodBarre_Click(f); };
    combo.on.onKeyDown = [&f](int& keyCode, int shift) {
        cobTipoCodBarre_KeyDown(f, keyCode, shift);
    };
    f.cobTipoCodBarre = &combo;
}

void alCaricoForm(frmDatiAzie& f) {
    const std::pair<std::string, std::string> tipi[] = {{"13", "Codice EAN 13"},
                                                        {"E8", "Codice EAN 8"},
                                                        {"12", "Codice 128"},
                                                        {"39", "Codice 39"},
                                                        {"UA", "Codice UPC A"}};
    for (const auto& [codice, descrizione] : tipi) AddCobCodBarre(f, codice, descrizione);
}

CampoPagina codice(int numero, const char* didascalia, const char* tipo) {
    CampoPagina campo = CampoTesto(numero, didascalia, 3);
    campo.descrizione = true;
    campo.ricerca = tipo;
    campo.decodifica = RegolaDecodifica{tipo, "", "", false, nullptr};
    return campo;
}

CampoPagina data(int numero, const char* didascalia) {
    CampoPagina campo = CampoTesto(numero, didascalia, 10);
    campo.regolaUscita = UscitaDataCampo;
    return campo;
}

CampoPagina campoFornProd() {
    CampoPagina campo =
        CampoConto(kFornProd, "Fornitore per produzione:", UscitaConto::Trattini, 12);
    campo.nomeDidascalia = "LabFornProd";
    return campo;
}

}  // namespace

void AddCobCodBarre(frmDatiAzie& f, const std::string& psCodBarre, const std::string& psDescr) {
    if (f.cobTipoCodBarre != nullptr) f.cobTipoCodBarre->addItem(psCodBarre + "-" + psDescr);
}

void cobTipoCodBarre_Click(frmDatiAzie& f) {
    const ui::ComboBox& combo = *f.cobTipoCodBarre;
    const std::string voce = combo.listIndex() >= 0 ? combo.list(combo.listIndex()) : std::string();
    const long lunghezza = goLibGen().Massimo(InStr(1, voce, "-") - 1, 0L).toLong();
    f.txt(kTipoCodBarre).setText(Trim(Left(voce, lunghezza)));
}

void cobTipoCodBarre_KeyDown(frmDatiAzie& f, int& KeyCode, int& Shift) {
    if (KeyCode != ui::key::Delete || Shift != ui::shift::None) return;
    f.cobTipoCodBarre->setListIndex(-1);
    f.txt(kTipoCodBarre).setText("");
}

void VisMagazzino(frmDatiAzie& f) {
    f.bEsisteContoProd = esisteContoProd(f);
    if (!f.bEsisteContoProd) {
        f.txt(kFornProd).setVisible(false);
        f.Lab(kFornProd).setVisible(false);
        f.ComHlp(kFornProd).setVisible(false);
        f.DidascaliaCampo(kFornProd).setVisible(false);
    }
    f.ApriRsPagina(&frmDatiAzie::msRsMagazzino, testoQuery(f.bEsisteContoProd));
    if (!f.Rs().VuotoRs(f.msRsMagazzino)) {
        caricaRiga(f);
    } else {
        caricaVuota(f);
    }
    impostaSpecchi(f);
}

void ScriviMagazzino(frmDatiAzie& f) {
    const std::string& rs = f.msRsMagazzino;
    for (const auto& [campo, colonna] : kScritte) {
        f.Rs().ScriviCampoRs(rs, colonna, Variant(f.txt(campo).text()));
    }
    if (f.bEsisteContoProd) {
        ScriviContoRs(f, rs, f.txt(kFornProd).text(), kColonneFornProd[0], kColonneFornProd[1],
                      kColonneFornProd[2]);
    }
    f.Rs().ScriviCampoRs(rs, "PercRicListClie", Variant(f.txt(94).text()));
}

const PaginaDatiAzie& PaginaMagazzino() {
    static const PaginaDatiAzie pagina = [] {
        PaginaDatiAzie p;
        p.numero = kPagina;
        p.titolo = "Magazzino";
        p.campoIniziale = 45;

        CampoPagina anno = CampoTesto(45, "Anno corrente:", 4);
        anno.regolaUscita = magazzino::UscitaAnnoCorr;
        CampoPagina inizio = CampoTesto(46, "Data inizio periodo:", 10);
        inizio.regolaUscita = magazzino::UscitaDataInizio;

        p.campi = {
            anno,
            inizio,
            data(92, "Data fine periodo:"),
            CampoCasella(47, "Uso codice a barre:"),
            CampoTesto(48, "Codice tasto per attivazione decodifica del codice a barre:", 10),
            CampoTesto(kTipoCodBarre, "Tipo codice a barre:", 2),
            CampoCasella(50, "Genero bit di controllo:"),
            CampoTesto(73, "Lungh.massima cod.a barre:", 3),
            CampoCasella(74, "Gener.autom.del Cod.a Barre:"),
            codice(51, "Magazzino principale:", "Magazzino"),
            codice(52, "Listino principale:", "Listino"),
            CampoCasella(53, "Aggiorno fornitore abituale:"),
            CampoCombo(54, "Ricerca art. in gest. movim.:", kVociRicerca),
            CampoCombo(55, "Ricerca articolo in DDT:", kVociRicerca),
            CampoCombo(56, "Ricerca articolo in fatture:", kVociRicerca),
            CampoTesto(57, "Numero decimali quantità:", 1),
            CampoCombo(58, "Segnalazione sottoscorta:",
                       {{"N Mai", "N"},
                        {"S Sempre", "S"},
                        {"B Solo in DDT", "B"},
                        {"F Solo in fattura", "F"}}),
            CampoCasella(59, "Gest. archivio articoli fornitori:"),
            CampoCasella(60, "Gestione taglie e colori:"),
            CampoCasella(61, "Gestione cauzioni:"),
            CampoTesto(62, "Numero etichette da stampare:", 5),
            data(63, "Data ultima stampa giornale:"),
            CampoCasella(82, "Utilizzo data inizio validità listino:"),
            data(65, "Data predefinita di inizio validità listino:"),
            CampoCombo(64, "Quale data per inizio listino:",
                       {{"D Predefinita", "D"}, {"G Data del giorno", "G"}, {"N Manuale", "N"}}),
            CampoTesto(66, "Nome qta. aggiuntiva 1:", 20),
            CampoTesto(67, "Nome qta. aggiuntiva 2:", 20),
            CampoTesto(68, "Nome qta. aggiuntiva 3:", 20),
            campoFornProd(),
            CampoTesto(94, "Perc. maggiorazione automatica list. vendita:", 8),
        };
        p.creaControlli = creaControlli;
        p.alCaricoForm = alCaricoForm;
        p.carica = VisMagazzino;
        p.verifica = VerDatiMagazzino;
        p.salvataggi = {{&frmDatiAzie::msRsMagazzino, ScriviMagazzino}};
        return p;
    }();
    return pagina;
}

}  // namespace tolvane
