// The table of database errors of a page's save: each known number has its message, buttons,
// title and what the save does next. Shows messages only; never touches a record set.
#pragma once

#include <exception>
#include <string>
#include <vector>

namespace tolvane {

// What the save cycle does after the message.
enum class DopoErroreSalvataggio {
    Fine,        // the save ends; the fields keep what the user typed
    Riaggiungi,  // the row was deleted by another user: add it again and write it
    Riprova,     // the user asked to store it again
};

struct VoceErroreSalvataggio {
    std::vector<long> numeri;
    std::string messaggio;
    std::vector<std::string> pulsanti;  // the first answer is the one that retries
    std::string titolo;
    DopoErroreSalvataggio dopo = DopoErroreSalvataggio::Fine;
};

// The known numbers, as the general library's NumeroErrore gives them.
const std::vector<VoceErroreSalvataggio>& TabellaErroriSalvataggio();

// Shows the message of a failed save (the common error report for a number that the table does
// not know) and answers what the cycle does next.
DopoErroreSalvataggio MostraErroreSalvataggio(const std::exception& errore);

}  // namespace tolvane
