// The intermediary record: the 41 columns of TabStudio, each with its field txt(n), tab, caption,
// kind, length and leave rule, in the order the loader reads and the writer assigns them.
// Plain data only: nothing here opens, reads or writes the table.
#pragma once

#include <vector>

namespace tolvane {

// How a column is shown: a text box, a flag behind Che(n), the sex behind OptSessoFor, a date.
enum class GenereCampoStudio { Testo, Flag, Sesso, Data };

// What txt_LostFocus does with the field after the focus colour.
enum class RegolaCampoStudio { Nessuna, Numero, CodiceFiscale, Data, Firma };

// The field's maximum length is the column's defined size, read when the window loads.
inline constexpr int kDimensioneColonna = -1;

struct CampoStudio {
    const char* colonna;
    int campo;  // txt(campo), and Che(campo) / Didascalia(campo) of the same number
    int pagina;
    const char* didascalia;  // beside the field, or on the check box of a flag
    GenereCampoStudio genere;
    int lunghezza;  // characters, 0 unlimited, kDimensioneColonna
    bool nascosto;  // carried and saved, never shown
    RegolaCampoStudio regola;
    const char* senzaRiga;  // the field's text when the table has no row
};

// In the order of the table's columns.
const std::vector<CampoStudio>& CampiStudio();
// nullptr when no column is bound to txt(piCampo).
const CampoStudio* CampoStudioDi(int piCampo);

}  // namespace tolvane
