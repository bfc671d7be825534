// The program's message window frmMsgCom and the error reports built on it: every message of
// the windows is shown through here and answered through the window layer's driver.
// Never shows anything by itself and never swallows the answer: the pressed button is returned.
#pragma once

#include <exception>
#include <optional>
#include <string>

namespace tolvane::frmMsgCom {

// Shows psLabel modally with one button per caption given (psCom1, pvCom2, pvCom3) and returns
// the number of the pressed button: 1 for psCom1, 2 for pvCom2, 3 for pvCom3, whichever of the
// optional ones are left out. An empty caption counts as left out. A default button that names
// no shown button falls back to 1. pbSuona sounds the signal tone first.
int msgCom(const std::string& psLabel, const std::string& psCom1,
           const std::optional<std::string>& pvCom2 = std::nullopt,
           const std::optional<std::string>& pvCom3 = std::nullopt,
           const std::optional<std::string>& pvTitolo = std::nullopt, int piLargForm = 80,
           bool pbSuona = false, int piLatiForm = 600,
           const std::optional<double>& pvFontSize = std::nullopt, int piComDefault = 1,
           const std::optional<int>& pvWidthCom = std::nullopt, bool pbSempreTxt = false);

// The text of a run-time error as the message window shows it:
// psMsgAggPri & "Errore(" & number & "): " & text & psMsgAggDop.
std::string TestoErrore(long plNumero, const std::string& psTesto,
                        const std::string& psMsgAggPri = {}, const std::string& psMsgAggDop = {});

// Shows a trapped run-time error ("Errore(" number "): " text) with the button "&Ok".
// A NumberedError gives its number and description; any other error the number 0 and its text.
void MsgErrfrm(const std::exception& pvError, const std::string& psMsgAggPri = {},
               const std::string& psMsgAggDop = {},
               const std::optional<std::string>& pvTitolo = std::nullopt);
void MsgErrfrm(long pverr, const std::string& pvError, const std::string& psMsgAggPri = {},
               const std::string& psMsgAggDop = {},
               const std::optional<std::string>& pvTitolo = std::nullopt);

}  // namespace tolvane::frmMsgCom
