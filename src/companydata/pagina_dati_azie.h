// What a page of the company-data form declares: its fields with captions, lengths, mirrors,
// look-ups and leave rules, its loader, checks and writers. The frame dispatches on this data;
// a page never touches another page's fields and never opens, edits or stores its row itself.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/variant.h"

namespace tolvane {

class frmDatiAzie;

// An item of a combo box or an option button: what it shows and the code it stands for.
struct VoceCodice {
    std::string testo;
    std::string codice;
};

// How a hidden text box is shown to the user.
enum class Specchio { Nessuno, Casella, Combo, Opzioni };

// Decoding of the field's code into Lab(n) when the field is left.
struct RegolaDecodifica {
    std::string tipo;     // kind of the decoding service
    std::string filtro;   // program SQL, "" for none
    std::string colonna;  // column asked of the decoded row, "" for none
    bool erroreSeInesistente = true;
    // For a found code in a field that is not blank: the message that refuses it, "" when the
    // code is right. The field is then marked in error.
    std::function<std::string(frmDatiAzie&, int campo, const Variant& colonna)> verifica;
};

// What leaving a chart-of-accounts field does before the account is decoded into Lab(n).
enum class UscitaConto {
    Decodifica,  // nothing more: the text stays as typed, with dashes or without
    Trattini,    // rewritten with dashes
    Verifica,    // a typed dash marks the field in error, then it is rewritten with dashes
};

struct CampoPagina {
    int numero = 0;              // txt(numero), and Lab/Che/Combo/ComHlp of the same number
    std::string didascalia;      // caption on the page (a frame's caption for option buttons)
    std::string nomeDidascalia;  // the caption's own name; "" for Didascalia(numero)
    int lunghezzaMassima = 0;    // 0: no limit
    Specchio specchio = Specchio::Nessuno;  // a mirror makes txt(numero) hidden
    std::vector<VoceCodice> voci;           // combo items or option buttons, in order
    std::string nomeOpzioni;                // name of the option-button array
    int opzioneIniziale = -1;               // option selected when the form is created
    bool descrizione = false;               // has a description label Lab(numero)
    bool conto = false;                     // chart-of-accounts text: edited without dashes
    UscitaConto uscitaConto = UscitaConto::Decodifica;
    std::string ricerca;        // look-up kind opened by F2/F3 and ComHlp ("" for none)
    std::string filtroRicerca;  // its filter
    std::optional<RegolaDecodifica> decodifica;
    std::function<void(frmDatiAzie&, int campo)> regolaUscita;  // further rule on leaving
    std::function<void(frmDatiAzie&, int campo)> alClick;       // further effect of Che(n)
};

// The usual kinds of field, for the pages' tables.
inline CampoPagina CampoTesto(int numero, std::string didascalia, int lunghezzaMassima = 0) {
    CampoPagina campo;
    campo.numero = numero;
    campo.didascalia = std::move(didascalia);
    campo.lunghezzaMassima = lunghezzaMassima;
    return campo;
}
inline CampoPagina CampoCasella(int numero, std::string didascalia) {
    CampoPagina campo = CampoTesto(numero, std::move(didascalia));
    campo.specchio = Specchio::Casella;
    return campo;
}
inline CampoPagina CampoCombo(int numero, std::string didascalia, std::vector<VoceCodice> voci) {
    CampoPagina campo = CampoTesto(numero, std::move(didascalia));
    campo.specchio = Specchio::Combo;
    campo.voci = std::move(voci);
    return campo;
}
// A chart-of-accounts field: edited without dashes, left by its page's rule, looked up and
// decoded into Lab(numero); an account that does not exist is not marked in error.
inline CampoPagina CampoConto(int numero, std::string didascalia, UscitaConto uscita,
                              int lunghezzaMassima = 0) {
    CampoPagina campo = CampoTesto(numero, std::move(didascalia), lunghezzaMassima);
    campo.descrizione = true;
    campo.conto = true;
    campo.uscitaConto = uscita;
    campo.ricerca = "Conto";
    campo.decodifica = RegolaDecodifica{"Conto", "", "", false, nullptr};
    return campo;
}
inline CampoPagina CampoOpzioni(int numero, std::string cornice, std::string nomeOpzioni,
                                std::vector<VoceCodice> voci, int opzioneIniziale) {
    CampoPagina campo = CampoTesto(numero, std::move(cornice));
    campo.specchio = Specchio::Opzioni;
    campo.nomeOpzioni = std::move(nomeOpzioni);
    campo.voci = std::move(voci);
    campo.opzioneIniziale = opzioneIniziale;
    return campo;
}

// One pass of a page's save: the record handle kept by the loader and the writer.
struct PassaggioSalvataggio {
    std::string frmDatiAzie::*handle = nullptr;
    std::function<void(frmDatiAzie&)> scrivi;
};

struct PaginaDatiAzie {
    int numero = 0;         // PicPagine(numero); tab numero + 1 for pages 0 to 12
    std::string titolo;     // title label of the page
    int campoIniziale = 0;  // field that takes the focus when the page is shown
    int contestoHelp = 0;   // help context of the page picture (0: none)
    std::vector<CampoPagina> campi;
    std::function<void(frmDatiAzie&)> creaControlli;  // controls beyond the declared fields
    std::function<void(frmDatiAzie&)> alCaricoForm;   // run by Form_Load (fills combos)
    std::function<void(frmDatiAzie&)> carica;         // loader, run on the first visit
    // The page's own checks and corrections, after the check common to every page; false
    // refuses the save (the check has shown its message and moved the focus).
    std::function<bool(frmDatiAzie&)> verifica;
    std::vector<PassaggioSalvataggio> salvataggi;  // in order; a failed pass stops the rest
};

// Every page that has been built, in page order.
const std::vector<const PaginaDatiAzie*>& PagineDatiAzie();

}  // namespace tolvane
