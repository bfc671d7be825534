// The invoicing page: document types, delivery-note prefixes and grouping, copies, transport
// data, ONLUS and free heading texts, and the hub's login and password, kept enciphered.
// Never stores the hub password in plain text, and never wipes a stored one it could not show.
#include "companydata/pagina_fatt.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "companydata/frm_dati_azie.h"
#include "companydata/regole_pagine.h"
#include "platform/numbered_error.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/menu/menu_client.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

constexpr int kElencoPrefissi = 7010;
constexpr int kPrefisso = 7015;
constexpr int kPwdMemorizzata = 7220;
constexpr int kPassword = 7225;

// Marks the password field when the menu program gave no plain password for a stored one.
const std::string kPwdNonMostrata = "FEHubPwd1 non mostrata";

const char* const kQueryFatt =
    "SELECT TabFatt.* , FattDocumenti.Descrizione , FattDocumenti2.Descrizione , "
    "FattDocumenti3.Descrizione , FattDocumenti4.Descrizione , CauTrasporti.Descrizione , "
    "AspettoBeni.Descrizione , Trasporti.Descrizione FROM ((((((TabFatt LEFT JOIN "
    "FattDocumenti ON TabFatt.DocDdt = FattDocumenti.FattDocumento) LEFT JOIN FattDocumenti AS "
    "FattDocumenti2 ON TabFatt.DocFatt = FattDocumenti2.FattDocumento) LEFT JOIN FattDocumenti "
    "AS FattDocumenti3 ON TabFatt.DocFattAcc = FattDocumenti3.FattDocumento) LEFT JOIN "
    "FattDocumenti AS FattDocumenti4 ON TabFatt.DocBolInt = FattDocumenti4.FattDocumento) LEFT "
    "JOIN CauTrasporti ON TabFatt.CauTrasporto = CauTrasporti.CauTrasporto) LEFT JOIN "
    "AspettoBeni ON TabFatt.AspettoBene = AspettoBeni.AspettoBene) LEFT JOIN Trasporti ON "
    "TabFatt.Trasporto = Trasporti.Trasporto";

struct ColonnaFatt {
    int campo;
    const char* colonna;
    const char* predefinito;  // the value shown when TabFatt has no row
};

// In the order the loader reads them.
const ColonnaFatt kColonne[] = {
    {7000, "ScontoQta", "N"},
    {7002, "DocDdt", ""},
    {7005, "DocBolInt", ""},
    {7010, "ElePrefDdt", ""},
    {7015, "PrefDdt", ""},
    {7020, "RagDdt", "S"},
    {7025, "DoveEleDdt", "I"},
    {7030, "RagDdtMag", "N"},
    {7035, "RagDdtVett", "N"},
    {7040, "NumCopieBolle", ""},
    {7042, "ContFatt", "D"},
    {7044, "FattCreaScad", "N"},
    {7043, "StScontoPagDett", "S"},
    {7045, "DocFatt", ""},
    {7050, "DocFattAcc", ""},
    {7055, "NumCopieFatt", ""},
    {7190, "CodIvaFattDett", ""},
    {7060, "CauTrasporto", ""},
    {7065, "AspettoBene", ""},
    {7070, "Trasporto", ""},
    {7160, "FormatoRigaRifCli", ""},
    {7165, "FormatoRigaRifOrd", ""},
    {7170, "FormatoRigaRifDdt", ""},
    {7075, "Onlus", ""},
    {7180, "StRifCli", "S"},
    {7185, "StRifOrd", "S"},
    {7080, "TestoOnlus", ""},
    {7085, "MessDichIntenti", ""},
    {7115, "DescLibTest1", ""},
    {7120, "RigaDaEva1", ""},
    {7125, "DescLibTest2", ""},
    {7130, "RigaDaEva2", ""},
    {7135, "DescLibTest3", ""},
    {7140, "RigaDaEva3", ""},
    {7145, "DescLibTest4", ""},
    {7150, "RigaDaEva4", ""},
    {7155, "ComeEva", "U"},
    {7175, "FormatoRigaLiberi", ""},
    {7200, "FEProgrInvioCedente", ""},
    {7210, "FEHubLogin1", ""},
};

// The columns in the order the writer assigns them; the password comes last.
const char* const kOrdineScrittura[] = {
    "DocDdt",
    "ScontoQta",
    "DocBolInt",
    "ElePrefDdt",
    "PrefDdt",
    "RagDdt",
    "DoveEleDdt",
    "RagDdtMag",
    "RagDdtVett",
    "NumCopieBolle",
    "ContFatt",
    "FattCreaScad",
    "DocFatt",
    "DocFattAcc",
    "NumCopieFatt",
    "StScontoPagDett",
    "CodIvaFattDett",
    "CauTrasporto",
    "AspettoBene",
    "Trasporto",
    "FormatoRigaRifCli",
    "FormatoRigaRifOrd",
    "FormatoRigaRifDdt",
    "StRifCli",
    "StRifOrd",
    "Onlus",
    "TestoOnlus",
    "MessDichIntenti",
    "DescLibTest1",
    "RigaDaEva1",
    "DescLibTest2",
    "RigaDaEva2",
    "DescLibTest3",
    "RigaDaEva3",
    "DescLibTest4",
    "RigaDaEva4",
    "ComeEva",
    "FormatoRigaLiberi",
    "FEProgrInvioCedente",
    "FEHubLogin1",
};

struct Descrizione {
    int campo;
    const char* colonna;
};
const Descrizione kDescrizioni[] = {
    {7002, "FattDocumenti.Descrizione"},  {7005, "FattDocumenti4.Descrizione"},
    {7045, "FattDocumenti2.Descrizione"}, {7050, "FattDocumenti3.Descrizione"},
    {7060, "CauTrasporti.Descrizione"},   {7065, "AspettoBeni.Descrizione"},
    {7070, "Trasporti.Descrizione"},
};

const int kCaselle[] = {7000, 7044, 7030, 7035, 7120, 7130, 7140, 7150, 7075, 7043, 7180};

int campoDiColonna(const char* colonna) {
    for (const ColonnaFatt& c : kColonne) {
        if (equalText(c.colonna, colonna)) return c.campo;
    }
    throw NumberedError(errnum::ItemNotFound, std::string("Colonna senza campo: ") + colonna,
                        "ScriviFatt");
}

void mostraSpecchi(frmDatiAzie& f) {
    for (int n : kCaselle) {
        f.Che(n).setValue(equalText(f.txt(n).text(), "S") ? ui::check::Checked
                                                          : ui::check::Unchecked);
    }
    const std::string rifOrd = UCase(f.txt(7185).text());
    const char* const kRifOrd[] = {"N", "S", "P", "O"};
    if (rifOrd.empty()) f.Combo(7185).setListIndex(-1);
    for (int i = 0; i < 4; ++i) {
        if (rifOrd == kRifOrd[i]) f.Combo(7185).setListIndex(i);
    }

    // Any other code shows the first item; the hidden field keeps it until the combo is left.
    auto posizione = [&](int campo, const std::vector<std::string>& codici) {
        const std::string codice = UCase(f.txt(campo).text());
        int scelta = 0;
        for (int i = 0; i < static_cast<int>(codici.size()); ++i) {
            if (!codici[static_cast<std::size_t>(i)].empty() &&
                codice == codici[static_cast<std::size_t>(i)]) {
                scelta = i;
            }
        }
        f.Combo(campo).setListIndex(scelta);
    };
    posizione(7020, {"S", "N", "A", "D", "E", "C"});
    posizione(7025, {"", "F"});
    posizione(7042, {"", "D", "N"});
    posizione(7155, {"", "S", "N"});
}

bool prefissoVuoto(const frmDatiAzie& f, int campo) { return Trim(f.txt(campo).text()).empty(); }

void uscitaElencoPrefissi(frmDatiAzie& f, int campo) {
    if (prefissoVuoto(f, campo)) f.txt(campo).setText(".");
}

void uscitaPrefisso(frmDatiAzie& f, int campo) {
    if (prefissoVuoto(f, campo)) f.txt(campo).setText(Left(f.txt(kElencoPrefissi).text(), 1));
}

bool VerDatiFatt(frmDatiAzie& f) {
    uscitaElencoPrefissi(f, kElencoPrefissi);
    uscitaPrefisso(f, kPrefisso);
    if (InStr(1, f.txt(kElencoPrefissi).text(), f.txt(kPrefisso).text()) == 0) {
        return RifiutaSalvataggio(
            f, kPrefisso,
            "Il Prefisso DDT principale DEVE essere compreso nell'elenco dei prefissi");
    }
    CopieAlmenoUna(f, 7040);
    CopieAlmenoUna(f, 7055);
    return true;
}

// What goes into FEHubPwd1: the menu program's cipher of the password shown, the empty text
// for an emptied field, or the stored cipher as read when the page could not show it.
Variant passwordDaScrivere(frmDatiAzie& f) {
    ui::TextBox& password = f.txt(kPassword);
    if (goLibGen().EVuoto(Variant(password.text()), 8, 1, false)) {
        if (password.tag() == kPwdNonMostrata) return Variant(f.txt(kPwdMemorizzata).text());
        return Variant(std::string());
    }
    if (!goMenuClient) {
        throw NumberedError(errnum::ObjectRequired, "Programma menu non collegato", "ScriviFatt");
    }
    return Variant(goMenuClient->Parametro("crypt:" + password.text(), "").text());
}

CampoPagina codice(int numero, const char* didascalia, const char* ricerca,
                   const char* filtro = "") {
    CampoPagina campo = CampoTesto(numero, didascalia, 3);
    campo.descrizione = true;
    campo.ricerca = ricerca;
    campo.filtroRicerca = filtro;
    campo.decodifica = RegolaDecodifica{ricerca, filtro, "", false, nullptr};
    return campo;
}

CampoPagina copie(int numero, const char* didascalia) {
    CampoPagina campo = CampoTesto(numero, didascalia);
    campo.regolaUscita = CopieAlmenoUna;
    return campo;
}

// One row of the page: a field, and optionally a check box beside it on the same row.
struct Riga {
    int campo;
    int accanto = 0;
};

const Riga kColonnaSinistra[] = {
    {7000}, {7002}, {7005}, {7010}, {7015}, {7020}, {7025}, {7030}, {7035}, {7040},
    {7042}, {7044}, {7043}, {7045}, {7050}, {7055}, {7190}, {7060}, {7065}, {7070},
};
const Riga kColonnaDestra[] = {
    {7160}, {7165}, {7170},       {7075},       {7180},       {7185},
    {7080}, {7085}, {7115, 7120}, {7125, 7130}, {7135, 7140}, {7145, 7150},
    {7155}, {7175}, {7200},       {7210},       {kPassword},
};

// Two columns of rows: the page has far more fields than one column can hold.
void disponiCampi(frmDatiAzie& f) {
    constexpr double kPrimaRiga = 600;
    constexpr double kRiga = 330;
    constexpr double kAltezza = 285;
    constexpr double kDidascalia = 2520;
    ui::PictureBox& pic = f.PicPagine(8);
    const double colonna = (pic.width() - 240) / 2;

    auto larghezza = [](int lunghezza) {
        if (lunghezza <= 0) return 600.0;
        const double l = lunghezza * 105.0 + 120;
        return l < 480 ? 480.0 : l;
    };
    auto disponi = [&](const Riga* righe, std::size_t quante, double x0) {
        for (std::size_t i = 0; i < quante; ++i) {
            const int n = righe[i].campo;
            const double y = kPrimaRiga + static_cast<double>(i) * kRiga;
            double x = x0 + kDidascalia;
            const double fine = x0 + colonna - 120;
            f.Didascalia(n).move(x0 + 120, y, kDidascalia - 180, kAltezza);
            if (f.Che.exists(n)) {
                f.Che(n).move(x, y, 300, kAltezza);
            } else if (f.Combo.exists(n)) {
                f.Combo(n).move(x, y, fine - x, kAltezza);
            } else {
                const CampoPagina* campo = frmDatiAzie::Campo(n);
                double l = n == kPassword
                               ? 2400
                               : larghezza(campo != nullptr ? campo->lunghezzaMassima : 0);
                l = std::min(l, righe[i].accanto != 0 ? fine - x - 1500 : fine - x);
                f.txt(n).move(x, y, l, kAltezza);
                x += l + 60;
            }
            if (f.ComHlp.exists(n)) {
                f.ComHlp(n).move(x, y, 300, kAltezza);
                x += 360;
            }
            if (f.Lab.exists(n)) f.Lab(n).move(x, y, fine - x, kAltezza);
            if (const int c = righe[i].accanto; c != 0) {
                f.Didascalia(c).move(x, y, fine - x - 360, kAltezza);
                f.Che(c).move(fine - 300, y, 300, kAltezza);
            }
        }
    };
    disponi(kColonnaSinistra, std::size(kColonnaSinistra), 0);
    disponi(kColonnaDestra, std::size(kColonnaDestra), colonna);
}

void creaControlli(frmDatiAzie& f) {
    ui::PictureBox& pic = f.PicPagine(8);
    ui::TextBox& memorizzata = f.txt.add(kPwdMemorizzata, &pic);
    memorizzata.setVisible(false);
    memorizzata.setTabStop(false);
    f.txt(kPassword).setPasswordChar("*");
    disponiCampi(f);
}

}  // namespace

void CopieAlmenoUna(frmDatiAzie& f, int piCampo) {
    ui::TextBox& campo = f.txt(piCampo);
    try {
        if (goLibGen().ValoreIntero(Variant(campo.text())) == 0) campo.setText("1");
    } catch (const NumberedError& errore) {
        if (errore.number() != errnum::Overflow) throw;
    }
}

void VisFatt(frmDatiAzie& f) {
    f.ApriRsPagina(&frmDatiAzie::msRsFatt, kQueryFatt);
    const std::string& rs = f.msRsFatt;
    ui::TextBox& password = f.txt(kPassword);
    password.setTag("");
    if (!f.Rs().VuotoRs(rs)) {
        // Null reads as the empty text, numbers of copies included.
        auto testo = [&](const char* colonna) { return f.Rs().ValoreGrezzoRs(rs, colonna).text(); };
        for (const ColonnaFatt& c : kColonne) f.txt(c.campo).setText(testo(c.colonna));
        for (const Descrizione& d : kDescrizioni) f.Lab(d.campo).setCaption(testo(d.colonna));
        f.txt(kPwdMemorizzata).setText(testo("FEHubPwd1"));
        const std::string chiara =
            goMenuClient ? goMenuClient->Parametro("FEHubPwd_Fat", "").text() : std::string();
        password.setText(chiara);
        if (chiara.empty() && !Trim(f.txt(kPwdMemorizzata).text()).empty()) {
            password.setTag(kPwdNonMostrata);
        }
    } else {
        for (const ColonnaFatt& c : kColonne) f.txt(c.campo).setText(c.predefinito);
        f.txt(kPwdMemorizzata).setText("");
        password.setText("");
    }
    mostraSpecchi(f);
}

void ScriviFatt(frmDatiAzie& f) {
    GestoreRs& rs = f.Rs();
    for (const char* colonna : kOrdineScrittura) {
        rs.ScriviCampoRs(f.msRsFatt, colonna, Variant(f.txt(campoDiColonna(colonna)).text()));
    }
    const Variant password = passwordDaScrivere(f);
    rs.ScriviCampoRs(f.msRsFatt, "FEHubPwd1", password);
    // Once something else is written, what the field shows is the stored password.
    if (password.text() != f.txt(kPwdMemorizzata).text()) f.txt(kPassword).setTag("");
}

const PaginaDatiAzie& PaginaFatt() {
    static const PaginaDatiAzie pagina = [] {
        PaginaDatiAzie p;
        p.numero = 8;
        p.titolo = "Fatturazione";
        p.campoIniziale = 7040;

        CampoPagina elenco = CampoTesto(kElencoPrefissi, "Elenco pref.Ddt:", 20);
        elenco.regolaUscita = uscitaElencoPrefissi;
        CampoPagina prefisso = CampoTesto(kPrefisso, "Pref.Ddt princ.:", 1);
        prefisso.regolaUscita = uscitaPrefisso;

        p.campi = {
            CampoCasella(7000, "Uso sconto Quantità:"),
            codice(7002, "Tipo doc.per Ddt:", "FattDocumento", "tipo='B' and interno<>'S'"),
            codice(7005, "Tipo doc.per Ddt Interni:", "FattDocumento", "tipo='B' and interno='S'"),
            elenco,
            prefisso,
            CampoCombo(7020, "Raggr.Ddt:",
                       {{"S Si", "S"},
                        {"N No", "N"},
                        {"A Articolo", "A"},
                        {"D Destinazione", "D"},
                        {"E Artic.e Destin.", "E"},
                        {"C Contratto", "C"}}),
            CampoCombo(7025,
                       "Dove St.Elenco Ddt:", {{"I Inizio corpo ", "I"}, {"F Fine corpo", "F"}}),
            CampoCasella(7030, "Raggr.Ddt per Mag.:"),
            CampoCasella(7035, "Raggr.Ddt per Vett.:"),
            copie(7040, "Num.copie Ddt:"),
            CampoCombo(
                7042, "Scarico Mov.Fatture:",
                {{"A Archivi di parcheggio", "A"}, {"D Diretto in Co.Ge.", "D"}, {"N No", "N"}}),
            CampoCasella(7044, "Dalle fatture crea le scadenze:"),
            CampoCasella(7043, "St.Sconto pag.nel corpo:"),
            codice(7045, "Tipo doc.per Fatt:", "FattDocumento",
                   "(tipo='F' and FattAccomp='N' or tipo='D')"),
            codice(7050, "Tipo doc.per Fatt.Acc.:", "FattDocumento", "tipo='F' and FattAccomp='S'"),
            copie(7055, "Num.copie Fatt:"),
            codice(7190, "Iva per fatture dettaglianti:", "Iva"),
            codice(7060, "Caus.Trasporto:", "CauTrasporto"),
            codice(7065, "Aspetto Beni:", "AspettoBene"),
            codice(7070, "Trasporto:", "Trasporto"),
            CampoTesto(7160, "Formato stampa Rif.Cliente: ", 8),
            CampoTesto(7165, "Formato stampa Rif.Ord.: ", 8),
            CampoTesto(7170, "Formato stampa Rif.Ddt: ", 8),
            CampoCasella(7075, "Ditta ONLUS:"),
            CampoCasella(7180, "St.Riferim. Cliente:"),
            CampoCombo(7185, "St.Rif.Ord/Prev:",
                       {{"No", "N"}, {"Si ", "S"}, {"Solo Preventivi", "P"}, {"Solo Ordini", "O"}}),
            CampoTesto(7080, "Testo ONLUS:", 90),
            CampoTesto(7085, "Testo per dichiaraz.di Intenti:", 80),
            CampoTesto(7115, "Descr.campo lib. test.doc.(1):", 15),
            CampoCasella(7120, "Da evadere (1):"),
            CampoTesto(7125, "        (2):", 15),
            CampoCasella(7130, "(2):"),
            CampoTesto(7135, "(3):", 15),
            CampoCasella(7140, "(3):"),
            CampoTesto(7145, "(4):", 15),
            CampoCasella(7150, "(4):"),
            CampoCombo(7155, "Come evadere:",
                       {{"U Unica riga descrittiva", "U"},
                        {"S Una riga descr.per campo", "S"},
                        {"N Non evadere.", "N"}}),
            CampoTesto(7175, "Formato stampa campi lib.: ", 8),
            CampoTesto(7200, "Progressivo invio Hub:", 8),
            CampoTesto(7210, "Accesso Hub: Login:", 50),
            CampoTesto(kPassword, "Password:"),
        };
        p.creaControlli = creaControlli;
        p.carica = VisFatt;
        p.verifica = VerDatiFatt;
        p.salvataggi = {{&frmDatiAzie::msRsFatt, ScriviFatt}};
        return p;
    }();
    return pagina;
}

}  // namespace tolvane
