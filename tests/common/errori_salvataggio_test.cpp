// The save-error table: each database error number of a save shows its message, buttons and
// title, and tells the save cycle what to do next; any other number goes to the error report.
#include "common/errori_salvataggio.h"

#include <gtest/gtest.h>

#include "platform/numbered_error.h"
#include "ui/window_test.h"

namespace tolvane {
namespace {

using Dopo = DopoErroreSalvataggio;

class ErroriSalvataggio : public ui::WindowTest {};

TEST_F(ErroriSalvataggio, EachNumberShowsItsMessageAndGivesTheNextStep) {
    const std::vector<std::string> ok = {"&Ok"}, siNo = {"Si", "No"};
    const std::string cambiati = "I dati sono stati cambiati da altri\r\nConfermi il salvataggio";
    struct Caso {
        int numero;
        const char* risposta;  // caption of the button pressed
        std::string testo;
        std::string titolo;
        std::vector<std::string> pulsanti;
        Dopo dopo;
    };
    const Caso casi[] = {
        {3022, "&Ok", "Chiave Duplicata\r\nCambiare i valori chiave", "", ok, Dopo::Fine},
        {3167, "&Ok", "I dati sono stati cancellati", "", ok, Dopo::Riaggiungi},
        {3197, "Si", cambiati, "", siNo, Dopo::Riprova},
        {3197, "No", cambiati, "", siNo, Dopo::Fine},
        {3260, "&Ok", "Dati in uso da altri", "Errore durante salvataggio", ok, Dopo::Fine},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.numero);
        driver.answerMessage(caso.testo, caso.risposta);
        EXPECT_EQ(MostraErroreSalvataggio(NumberedError(caso.numero, "testo del database", "Db")),
                  caso.dopo);
        const ui::ScriptedDriver::Shown& mostrato = driver.shown().back();
        EXPECT_EQ(mostrato.source, ui::MessageRequest::Source::MessageWindow);
        EXPECT_EQ(mostrato.text, caso.testo);
        EXPECT_EQ(mostrato.title, caso.titolo);
        EXPECT_EQ(mostrato.buttons, caso.pulsanti);
    }
    // Any other number is reported with its text.
    driver.answerMessage("Errore(3146): rifiutato - GestoreRs", 1);
    EXPECT_EQ(MostraErroreSalvataggio(NumberedError(3146, "rifiutato", "GestoreRs")), Dopo::Fine);
    EXPECT_EQ(driver.shown().back().source, ui::MessageRequest::Source::MessageBox);
}

}  // namespace
}  // namespace tolvane
