// The customer e-mail look-up: the account list with four e-mail columns captioned by the
// personal settings, the column the user picked, and the default column's fallback.
// Reads only; the list window is always unloaded, also when the look-up fails.
#include "printing/cerca_email_cliente.h"

#include <algorithm>
#include <vector>

#include "common/db_comune.h"
#include "common/parametri_menu.h"
#include "common/servizi_finestre.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "printing/frm_scelta_stam.h"
#include "suite/decodifiche/decodifiche_tipi.h"
#include "suite/decodifiche/lista_ricerca.h"
#include "suite/decodifiche/servizio_decodifiche.h"
#include "suite/libgenerale/lib_generale.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

struct ColonnaEmail {
    const char* nome;
    const char* chiave;
    const char* caption;
    const char* parola;
    const char* breve;
};

const ColonnaEmail kColonne[] = {
    {"Email", "DescEmailPri", "Principale", "Principale", "Pri"},
    {"Email2", "DescEmailAmm", "Amministrativo", "Amministrativo", "Amm"},
    {"Email3", "DescEmailComm", "Commerciale", "Commerciale", "Comm"},
    {"Email4", "DescEmailSped", "Spedizioni", "Spedizione", "Sped"},
};

// What the user picked in the list: the column and its text, and the whole row by column.
struct Scelta {
    bool fatta = false;
    std::string retField;
    std::string text;
    std::vector<std::string> colonne;
    std::vector<std::string> riga;

    std::string RetVal(const std::string& colonna) const {
        for (std::size_t i = 0; i < colonne.size(); ++i)
            if (equalText(colonne[i], colonna)) return riga[i];
        return {};
    }
};

// The account list of the decoding service with the e-mail columns after the ones the user
// chose for it; the heading shows the captions.
Scelta scegliDallaLista() {
    const TipoDecodifica& conto = *TrovaTipoDecodifica("Conto");
    Scelta scelta;
    scelta.colonne = goDecodifiche->ColonneRicerca("Conto", ColonnePersonaliRicerca("Conto"));
    std::vector<std::string> intestazioni = conto.colonne;
    for (const ColonnaEmail& c : kColonne) {
        scelta.colonne.push_back(c.nome);
        intestazioni.push_back(LeggiPersonal("Clienti", c.chiave, c.caption));
    }

    auto& lista = ui::desktop().instance<frmListaRicerca>();
    lista.ovLeggiPar =
        ParametriRicerca{conto.titolo, conto.tabella,           "", conto.chiavi, conto.conto,
                         &goDbase(),   goDecodifiche->IdDbase()};
    lista.ColonneRicerca = scelta.colonne;
    lista.RetVal.clear();
    ScopeGuard chiudi([&lista] {
        if (lista.loaded()) lista.unload();
    });
    lista.load();
    lista.CaricaLista();
    for (std::size_t c = 0; c < intestazioni.size(); ++c)
        lista.ListaRicerca->setTextMatrix(0, static_cast<int>(c), intestazioni[c]);
    lista.show(ui::ShowMode::Modal);
    scelta.fatta = !lista.RetVal.empty();
    if (scelta.fatta) {
        const ui::Grid& grid = *lista.ListaRicerca;
        int colonna = std::clamp(grid.col(), 0, static_cast<int>(scelta.colonne.size()) - 1);
        scelta.retField = scelta.colonne[static_cast<std::size_t>(colonna)];
        for (std::size_t c = 0; c < scelta.colonne.size(); ++c)
            scelta.riga.push_back(grid.textMatrix(grid.row(), static_cast<int>(c)));
        scelta.text = scelta.riga[static_cast<std::size_t>(colonna)];
    }
    return scelta;
}

}  // namespace

int ColonnaEmailPredefinita(const std::string& psEmailPredef) {
    const LibGenerale& lib = goLibGen();
    std::int32_t k = std::clamp<std::int32_t>(lib.ValoreLong(Variant(psEmailPredef)), 0, 4);
    if (k != 0) return static_cast<int>(k);
    std::string parola = Trim(psEmailPredef);
    for (int i = 0; i < 4; ++i)
        if (equalText(parola, kColonne[i].parola) || equalText(parola, kColonne[i].breve))
            return i + 1;
    return 1;
}

std::string CercaEmailCliente(FrmSceltaStam& pfrmStampa, int piIndice, int piKeyCode,
                              int /*piShift*/, const Variant& /*pvChiave*/, int piNoScrivi,
                              int& piColonna) {
    piColonna = 0;
    // The look-up lists the open company's accounts: with none open there is nothing to list.
    if (piKeyCode < ui::key::F2 || piKeyCode > ui::key::F5 || !goDecodifiche) return {};
    Scelta scelta = scegliDallaLista();
    if (!scelta.fatta) return {};

    const LibGenerale& lib = goLibGen();
    std::string risultato;
    if (equalText(Left(scelta.retField, 5), "Email") && !lib.EVuoto(Variant(scelta.text))) {
        risultato = scelta.text;
    } else {
        int k = ColonnaEmailPredefinita(LeggiPersonal("StAltro", "EmailPredef", "1"));
        risultato = scelta.RetVal(kColonne[k - 1].nome);
        if (k > 1 && risultato.empty()) risultato = scelta.RetVal("Email");
    }
    if (piNoScrivi == 0) pfrmStampa.txt(piIndice).setText(risultato);
    // The label beside the field names the customer, as a decoded code's label does.
    if (pfrmStampa.Lab.exists(piIndice)) {
        const std::string& descrizione = TrovaTipoDecodifica("Conto")->descrizione;
        pfrmStampa.Lab(piIndice).setCaption(scelta.RetVal(descrizione));
    }

    if (equalText(scelta.retField, "Email")) piColonna = 1;
    else if (equalText(Left(scelta.retField, 5), "Email"))
        piColonna = lib.ValoreIntero(Variant(Right(scelta.retField, 1)));
    return risultato;
}

}  // namespace tolvane
