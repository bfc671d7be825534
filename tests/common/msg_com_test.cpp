// The message window: which buttons show, which is the default, which number comes back, the
// text of run-time errors; the save-error table, each database error number of a save with its
// message, buttons and title and what the save cycle does next.
#include "common/msg_com.h"

#include <gtest/gtest.h>

#include "common/errori_salvataggio.h"
#include "platform/numbered_error.h"
#include "ui/window_test.h"

namespace tolvane {
namespace {

using ui::MessageRequest;
using Dopo = DopoErroreSalvataggio;

class MessageWindow : public ui::WindowTest {};

// The whole request of the last message, beyond what the scripted driver records.
struct Capture : ui::ScriptedDriver {
    MessageRequest last;
    int message(const MessageRequest& r) override {
        last = r;
        return ScriptedDriver::message(r);
    }
};

TEST_F(MessageWindow, ButtonsNumberFromOneByTheArgumentThatGaveThem) {
    using Opt = std::optional<std::string>;
    struct Case {
        const char* name;
        Opt com2, com3;
        int comDefault;
        int press;  // position among the shown buttons
        std::vector<std::string> shown;
        int shownDefault;
        int result;
    };
    const std::vector<Case> cases = {
        {"one", {}, {}, 1, 1, {"&Ok"}, 1, 1},
        {"two, second", "&No", {}, 1, 2, {"&Ok", "&No"}, 1, 2},
        {"three, default third", "&No", "&Annulla", 3, 3, {"&Ok", "&No", "&Annulla"}, 3, 3},
        {"third without second", {}, "&Annulla", 1, 2, {"&Ok", "&Annulla"}, 1, 3},
        {"empty second", "", "&Annulla", 3, 2, {"&Ok", "&Annulla"}, 2, 3},
        {"default not shown", "&No", {}, 3, 1, {"&Ok", "&No"}, 1, 1},
    };
    Capture capture;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        capture.answerMessage("Testo", c.press);
        EXPECT_EQ(frmMsgCom::msgCom("Testo", "&Ok", c.com2, c.com3, std::nullopt, 80, false, 600,
                                    std::nullopt, c.comDefault),
                  c.result);
        EXPECT_EQ(capture.last.buttons, c.shown);
        EXPECT_EQ(capture.last.defaultButton, c.shownDefault);
    }
}

TEST_F(MessageWindow, OptionalArgumentsReachTheWindowEachInItsPlace) {
    Capture capture;
    capture.answerMessage("", 1).answerMessage("", 1);
    frmMsgCom::msgCom("I valori sono stati memorizzati", "&Ok");
    EXPECT_EQ(capture.beeps(), 0) << "no sound unless asked";
    frmMsgCom::msgCom("Elaborazione terminata", "&Ok", std::string("&No"), std::nullopt,
                      std::string("Titolo"), 60, true, 400, 18.0, 2, 1500, true);
    EXPECT_EQ(capture.last.width, 60);
    EXPECT_EQ(capture.last.sides, 400);
    EXPECT_TRUE(capture.last.sound);
    EXPECT_EQ(capture.last.fontSize, 18.0);
    EXPECT_EQ(capture.last.buttonWidth, 1500);
    EXPECT_TRUE(capture.last.alwaysTextBox);
    EXPECT_EQ(capture.last.title, "Titolo");
    EXPECT_EQ(capture.beeps(), 1);
}

TEST_F(MessageWindow, RunTimeErrorsReadErroreNumberText) {
    struct Case {
        std::function<void()> show;
        std::string text;
    };
    const std::vector<Case> cases = {
        {[] { frmMsgCom::MsgErrfrm(NumberedError(53, "File not found", "ScCarica")); },
         "Errore(53): File not found"},
        {[] { frmMsgCom::MsgErrfrm(NumberedError(3022, "Duplicato"), "Prima ", " dopo"); },
         "Prima Errore(3022): Duplicato dopo"},
        {[] { frmMsgCom::MsgErrfrm(std::runtime_error("guasto")); }, "Errore(0): guasto"},
    };
    for (const auto& c : cases) {
        driver.answerMessage("", 1);
        c.show();
        EXPECT_EQ(driver.messageTexts().back(), c.text);
        EXPECT_EQ(driver.shown().back().buttons, std::vector<std::string>{"&Ok"});
    }
}

TEST_F(MessageWindow, SaveErrorsShowTheirMessageAndGiveTheNextStep) {
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
