// The message window: builds the request from msgCom's arguments, asks the driver, and maps the
// pressed button back to the number of the argument that gave its caption.
#include "common/msg_com.h"

#include <vector>

#include "platform/numbered_error.h"
#include "ui/desktop.h"

namespace tolvane::frmMsgCom {

int msgCom(const std::string& psLabel, const std::string& psCom1,
           const std::optional<std::string>& pvCom2, const std::optional<std::string>& pvCom3,
           const std::optional<std::string>& pvTitolo, int piLargForm, bool pbSuona, int piLatiForm,
           const std::optional<double>& pvFontSize, int piComDefault,
           const std::optional<int>& pvWidthCom, bool pbSempreTxt) {
    ui::MessageRequest request;
    request.source = ui::MessageRequest::Source::MessageWindow;
    request.text = psLabel;
    request.title = pvTitolo.value_or(std::string());
    request.sound = pbSuona;
    request.width = piLargForm;
    request.sides = piLatiForm;
    request.fontSize = pvFontSize.value_or(0);
    request.buttonWidth = pvWidthCom.value_or(0);
    request.alwaysTextBox = pbSempreTxt;

    // Position of each shown button -> number of the argument that gave it.
    std::vector<int> numbers;
    auto addButton = [&](const std::string& caption, int number) {
        if (caption.empty()) return;
        request.buttons.push_back(caption);
        numbers.push_back(number);
    };
    addButton(psCom1, 1);
    if (pvCom2) addButton(*pvCom2, 2);
    if (pvCom3) addButton(*pvCom3, 3);
    if (request.buttons.empty()) {
        // A message with no button could never be closed: it gets the plain "&Ok".
        request.buttons.push_back("&Ok");
        numbers.push_back(1);
    }
    request.defaultButton = 1;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] == piComDefault) request.defaultButton = static_cast<int>(i) + 1;
    }

    ui::ModalScope modal;
    ui::Driver& driver = ui::desktop().driver();
    if (pbSuona) driver.beep();
    int pressed = driver.message(request);
    if (pressed < 1 || pressed > static_cast<int>(numbers.size())) {
        throw ui::UnexpectedWindow("No such button " + std::to_string(pressed) + " in: " + psLabel);
    }
    return numbers[static_cast<std::size_t>(pressed - 1)];
}

std::string TestoErrore(long plNumero, const std::string& psTesto, const std::string& psMsgAggPri,
                        const std::string& psMsgAggDop) {
    return psMsgAggPri + "Errore(" + std::to_string(plNumero) + "): " + psTesto + psMsgAggDop;
}

void MsgErrfrm(const std::exception& pvError, const std::string& psMsgAggPri,
               const std::string& psMsgAggDop, const std::optional<std::string>& pvTitolo) {
    if (const auto* numbered = dynamic_cast<const NumberedError*>(&pvError)) {
        MsgErrfrm(numbered->number(), numbered->description(), psMsgAggPri, psMsgAggDop, pvTitolo);
        return;
    }
    MsgErrfrm(0, pvError.what(), psMsgAggPri, psMsgAggDop, pvTitolo);
}

void MsgErrfrm(long pverr, const std::string& pvError, const std::string& psMsgAggPri,
               const std::string& psMsgAggDop, const std::optional<std::string>& pvTitolo) {
    msgCom(TestoErrore(pverr, pvError, psMsgAggPri, psMsgAggDop), "&Ok", std::nullopt, std::nullopt,
           pvTitolo);
}

}  // namespace tolvane::frmMsgCom
