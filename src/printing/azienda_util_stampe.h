// The program's printer services (AziendaUtilStampe): the user's default printer, the printer
// list, the program's current printer, a print's options pointed at a printer, and the notices.
// Never changes the print server's default; its notices are the only windows it shows.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/globali.h"
#include "platform/printer_system.h"

namespace tolvane {

class OpzStampa;

// 1 once UsaStampanteStampa has put the current printer on a printer chosen by name; never
// reset. While it is 1 the user's default printer is no longer changed to reach a printer.
inline int giStampDefCambiata = 0;
// The user's default printer. Returns the installed printer of that name (case ignored) with
// psNome its name and psPorta its port, psNomeNonInst cleared; when it is not installed:
// nullptr, psNome cleared and psNomeNonInst holding the name.
std::unique_ptr<PrinterInfo> LeggiStampanteDef(std::string& psNome, std::string& psNomeNonInst,
                                               std::string& psPorta);

// When giStampDefCambiata is 1, puts the current printer back on the user's default printer and
// gives what LeggiStampanteDef gives (a default not installed leaves the current printer where
// it is). Otherwise does nothing and leaves the outputs as they are.
void ImpostaStampanteDef(std::string& psNome, std::string& psNomeNonInst, std::string& psPorta);

// Makes the options' printer (StampanteOpz) the current printer; an empty one makes the current
// printer follow the user's default printer, read afresh when the print asks. With piAvviso set, a
// failure is shown ("Impossibile impostare la stampante predefinita"...). A printer not installed
// is reached by changing the user's default, and only while giStampDefCambiata is 0; the previous
// name goes into "StampanteDefOri".
bool UsaStampanteStampa(OpzStampa& poOpzStampa, int piAvviso);

// True when the named printer can be used ("" always can). The current printer is not changed;
// the user's default is changed only for the test and put back as it was. piFlag shows the
// hourglass and, on failure, the notice naming psAlternativa (the current printer when empty).
bool ImpostaStampante(const std::string& psNome, int piFlag, const std::string& psAlternativa);

// piFlag 0: points the options at the named printer (trays and paper reset to 0).
// piFlag 1: when the options are on that printer, moves them back to the printer saved for the
// print (key "NomeStampante" of the print's INI section) or to the user's default printer.
// True when the options were changed.
bool ImpostaStampanteAuto(const std::string& psNome, OpzStampa& poOpzStampa, int piFlag);

// True when the name belongs to a terminal session other than piSessione: it holds the session
// template filled with another number from 2 to 30, not run on into further digits.
bool StampanteAltraSessione(const std::string& psNome, int piSessione);
// The name with the current session's text put back to the template, so that a printer name
// saved by one session fits every session. Unchanged while there are no sessions.
std::string NomeStampanteSessione(const std::string& psNome);

// The installed printers of this session: names and ports, side by side from index 0.
void ElencoStampanti(std::vector<std::string>& pvNomi, std::vector<std::string>& pvPorte);
// The port of the named printer (case ignored) and its driver in psDriver; "" and "" when the
// printer is not installed.
std::string LeggiPortaStampante(const std::string& psNome, std::string& psDriver);
// Splits a desktop printer entry "driver,port,further fields": the driver before the first
// comma, the port between the first and the second comma; both "" when missing.
void DividiDriverPorta(const std::string& psValore, std::string& psDriver, std::string& psPorta);

// Makes the installed printer of that name the user's default; False for a name that is empty,
// not installed, or whose printer lacks a driver or a port, and when it could not be stored.
bool ImpostaDefWindows(const std::string& psNome);
// Stores the user's default printer (driver and port belong to the printer and are not stored);
// False when it could not be stored.
bool ScriviDefWindows(const std::string& psNome, const std::string& psDriver,
                      const std::string& psPorta);

// Tells that the default printer psNomeStampante is not available, then empties psChiave of
// section psSezione of the program's INI (the printer saved for that print is forgotten).
void MsgStampanteDefAssente(const std::string& psChiave, const std::string& psNomeStampante,
                            const std::string& psSezione);

// True, once the user has been told ("Nessuna stampante predefinita: ..."), when the user has no
// default printer at all: neither an installed one (psNome) nor one not installed.
bool NessunaStampantePredefinita(const std::string& psNome, const std::string& psNomeNonInst);
// Tells that the default printer psNome belongs to another terminal session.
void MsgStampanteAltraSessione(const std::string& psNome);
// The checks of the "Stampante predefinita" buttons once the default printer was read
// (psNome empty, or pbErrore, when it is not installed): a default of another terminal session
// is refused with its notice; one not installed once the program has moved its printer is told
// and forgotten for the print psNomeStampa. False when the button must stop there.
bool StampantePredefinitaUsabile(bool pbErrore, const std::string& psNome,
                                 const std::string& psNomeNonInst, const std::string& psNomeStampa);
// "Il server di stampa ... non risponde" while the print server is not waited for, having kept
// the program waiting to its limit lately: every printer look-up finds nothing meanwhile, so no
// printer is missing for it. "" otherwise.
std::string ServerStampaNonRisponde();
// True, once the user has been told, when the print server does not answer.
bool AvvisoServerStampa();
// The options' description of the print (DescStampaAttuale) for the current printer, which is
// looked up only when the description names it; a print to a printer that the print server
// cannot reach says why.
std::string DescStampaServer(const OpzStampa& poOpzStampa);
// True for a network printer: the menu's "OSPlatform" is 2 and the name begins with "\\".
bool StampanteRete(const PrinterInfo& poStampante);

}  // namespace tolvane
