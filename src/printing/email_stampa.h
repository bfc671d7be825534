// The e-mail of a print: its settings read from the menu server and the common database, handed
// to the print engine's options with subject and text filled in, and the engine's request for
// the e-mail login answered. Never sends mail and never puts the password into a message.
#pragma once

#include <functional>
#include <string>

#include "platform/variant.h"

namespace tolvane {

class MotoreStampa;

// The engine of the print being prepared, nullptr when none. The print-in-progress window
// names its engine for the length of a request (the ChiediDatiEmail taking an engine).
inline MotoreStampa* goMotoreStampa = nullptr;

// Names an engine (or none) as the current one for as long as it lives, then the previous one.
class MotoreCorrente {
  public:
    explicit MotoreCorrente(MotoreStampa* motore) : precedente_(goMotoreStampa) {
        goMotoreStampa = motore;
    }
    ~MotoreCorrente() { goMotoreStampa = precedente_; }
    MotoreCorrente(const MotoreCorrente&) = delete;
    MotoreCorrente& operator=(const MotoreCorrente&) = delete;

  private:
    MotoreStampa* precedente_;
};

// The clock that the date and time placeholders read; empty: the system's local time.
std::function<DateTime()>& emailClock();

// One e-mail setting. "EmailOggetto" and "EmailTesto" are the subject and text of the pair
// numbered by EmailNumTesto in record "PdfEmail" of table Appoggio (empty outside 1 to 5);
// anything else is the menu server's named value as text. A setting of the send
// configurations is read from the active one (EmailTipoNum 1 to 3: the key with its number in
// front). "EmailInd" and "EmailReplay" come as "description" <address> unless the send type is
// "S" or "E". Errors reach the caller.
std::string LeggiParEmail(const std::string& psChiave);

// Hands every e-mail setting to the options of the current engine when the print is to be
// sent (EmailInvia). Missing login, password, server or recipient raise -123 with the missing
// data described, before anything is written. No engine, or an engine with no options,
// raises 91.
void PassaParEmail();

// Asks the e-mail login again on the print options dialog (mode 1000) and, on OK and when
// pbPassaPar says so, hands the settings over. True when the user confirmed and, when asked,
// the settings reached the options. A failed hand-over is shown and gives False.
bool ChiediDatiEmail(bool pbPassaPar, bool pbOpzMotore);
// The same with poMotore as the current engine for the length of the request.
bool ChiediDatiEmail(MotoreStampa& poMotore, bool pbPassaPar, bool pbOpzMotore);

}  // namespace tolvane
