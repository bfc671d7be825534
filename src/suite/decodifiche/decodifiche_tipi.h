// The kinds of code that the decoding service knows: for each, its table, the columns that make
// the code, the description column and the columns of its look-up list. Data only, no queries.
// Every table and column named here must exist in the shipped company schema.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

struct TipoDecodifica {
    std::string tipo;                  // the kind as the callers name it ("PagTipo")
    std::string tabella;               // its table in the company database
    std::vector<std::string> chiavi;   // columns that make the code, in order
    std::string descrizione;           // the column shown as the code's description
    std::vector<std::string> colonne;  // ColonneRicerca: the look-up list's columns, in order
    std::string titolo;                // caption of the look-up list
    // A chart-of-accounts code: typed as one text (with or without dashes), split into the
    // key columns for the query and handed back without dashes from the look-up list.
    bool conto = false;
};

// The kind of that name (compared without regard to case); nullptr when unknown.
const TipoDecodifica* TrovaTipoDecodifica(std::string_view psTipo);
const std::vector<TipoDecodifica>& TipiDecodifica();

}  // namespace tolvane
