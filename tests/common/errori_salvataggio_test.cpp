// The save-error table: each database error number of a save shows its message, buttons and
// title, and tells the save cycle what to do next; any other number goes to the error report.
#include "common/errori_salvataggio.h"

#include <gtest/gtest.h>

#include "platform/numbered_error.h"
#include "ui/window_test.h"

namespace tolvane {
namespace {

using Dopo = DopoErroreSalvataggio;
using Fonte = ui::MessageRequest::Source;

class ErroriSalvataggio : public ui::WindowTest {};

TEST_F(ErroriSalvataggio, EachNumberShowsItsMessageAndGivesTheNextStep) {
    const std::string inSalvataggio = "Errore durante salvataggio";
    struct Caso {
        int numero;
        const char* risposta;  // caption of the button pressed
        std::string testo;
        std::string titolo;
        std::vector<std::string> pulsanti;
        Dopo dopo;
    };
    const Caso casi[] = {
        {13, "&Ok", "Valori di tipo non valido", "", {"&Ok"}, Dopo::Fine},
        {444, "&Ok", "Comando non applicabile in questo momento", "", {"&Ok"}, Dopo::Fine},
        {524, "&Ok", "Chiave Duplicata\r\nCambiare i valori chiave", "", {"&Ok"}, Dopo::Fine},
        {3022, "&Ok", "Chiave Duplicata\r\nCambiare i valori chiave", "", {"&Ok"}, Dopo::Fine},
        {3058,
         "&Ok",
         "Un campo obbligatorio non è stato compilato\r\nInserire il valore o annullare",
         "",
         {"&Ok"},
         Dopo::Fine},
        {3163, "&Ok", "Qualche dato non è accettabile", "", {"&Ok"}, Dopo::Fine},
        {3021, "&Ok", "I dati sono stati cancellati", "", {"&Ok"}, Dopo::Riaggiungi},
        {3167, "&Ok", "I dati sono stati cancellati", "", {"&Ok"}, Dopo::Riaggiungi},
        {3197,
         "Si",
         "I dati sono stati cambiati da altri\r\nConfermi il salvataggio",
         "",
         {"Si", "No"},
         Dopo::Riprova},
        {3197,
         "No",
         "I dati sono stati cambiati da altri\r\nConfermi il salvataggio",
         "",
         {"Si", "No"},
         Dopo::Fine},
        {3186, "&Ok", "Dati in uso da altri", inSalvataggio, {"&Ok"}, Dopo::Fine},
        {3260, "&Ok", "Dati in uso da altri", inSalvataggio, {"&Ok"}, Dopo::Fine},
        {3219, "&Ok", "Archivio in uso da altri", inSalvataggio, {"&Ok"}, Dopo::Fine},
        {3000,
         "&Ok",
         "Errore: probabilmente campi obbligatori non sono stati compilati",
         inSalvataggio,
         {"&Ok"},
         Dopo::Fine},
        {6160,
         "&Ok",
         "Campi chiave obbligatori non compilati o Accesso negato ai dati",
         "Mancano dati obbligatori",
         {"&Ok"},
         Dopo::Fine},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.numero);
        driver.answerMessage(caso.testo, caso.risposta);
        EXPECT_EQ(MostraErroreSalvataggio(NumberedError(caso.numero, "testo del database", "Db")),
                  caso.dopo);
        const ui::ScriptedDriver::Shown& mostrato = driver.shown().back();
        EXPECT_EQ(mostrato.source, Fonte::MessageWindow);
        EXPECT_EQ(mostrato.text, caso.testo);
        EXPECT_EQ(mostrato.title, caso.titolo);
        EXPECT_EQ(mostrato.buttons, caso.pulsanti);
    }
}

TEST_F(ErroriSalvataggio, AnyOtherNumberIsReportedWithItsTextAndEndsTheSave) {
    driver.answerMessage("Errore(3146): rifiutato - GestoreRs", 1);
    EXPECT_EQ(MostraErroreSalvataggio(NumberedError(3146, "rifiutato", "GestoreRs")), Dopo::Fine);
    EXPECT_EQ(driver.shown().back().source, Fonte::MessageBox);
}

}  // namespace
}  // namespace tolvane
