// The decoding service goDecodifiche: a code typed in a field decoded into its description by
// its kind's table, and the look-up list from which the user picks a code for a field.
// Never writes to the database and never builds SQL from the typed code without quoting it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/gestore_db.h"
#include "db/gestore_rs.h"
#include "platform/variant.h"
#include "suite/decodifiche/decodifiche_tipi.h"
#include "ui/controls.h"

namespace tolvane {

// What a label shows for a code that matches nothing.
inline const std::string kDecodificaInesistente = "** INESISTENTE **";

struct EsitoDecodifica {
    bool trovato = false;
    std::string descrizione;
    Variant colonna;  // the asked-for column of the decoded row, Empty when none was asked
};

class ServizioDecodifiche {
  public:
    // Decodes on the database kept under `idDb` (the company database of the opening window).
    ServizioDecodifiche(GestoreDb& db, std::string idDb);

    const std::string& IdDbase() const { return idDb_; }

    // The row of a kind whose code is psCodice, within the filter (program SQL, "" for none).
    // A blank code is no code: not found, with no query. Raises 5 for an unknown kind.
    EsitoDecodifica Decodifica(std::string_view psTipo, const std::string& psCodice,
                               const std::string& psFiltro = {}, const std::string& psColonna = {});

    // The code held in the text box decoded into the label: a blank code empties the label and
    // answers True; a code that matches nothing shows "** INESISTENTE **" and answers False.
    // pvCampo, when given, names a column of the decoded row and comes back with its value
    // (Empty when nothing was decoded).
    bool DecodArtConto(std::string_view psTipo, const ui::TextBox& txt, ui::Label* lab,
                       const std::string& psFiltro = {}, Variant* pvCampo = nullptr);

    // The look-up list's columns for the kind from a list of names separated by "," (a user's
    // setting): the names its table has, spelled as the table spells them, each once, in the
    // order given; the kind's own columns when no name is one. Nothing else reaches the query.
    std::vector<std::string> ColonneRicerca(std::string_view psTipo, const std::string& psColonne);

    // Opens the look-up list of the kind over its table with the filter, modally, showing the
    // columns asked for (ColonneRicerca). A picked row puts its code into the field and its
    // description into the label, and answers True.
    bool PreparaHelpRic(std::string_view psTipo, const std::string& psFiltro, ui::TextBox& txt,
                        ui::Label* lab, const std::string& psColonne = {});

  private:
    const TipoDecodifica& tipo(std::string_view psTipo) const;

    GestoreDb& db_;
    std::string idDb_;
    GestoreRs rs_;
};

// The program-wide decoding service: created when a window opens a company database,
// released when that window unloads.
inline std::unique_ptr<ServizioDecodifiche> goDecodifiche;

}  // namespace tolvane
