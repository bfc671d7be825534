// Messages of the database errors of a save, from one table; anything else goes to the common
// error report with its number and text.
#include "common/errori_salvataggio.h"

#include <algorithm>
#include <optional>

#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "db/gestore_rs.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

const std::string kInSalvataggio = "Errore durante salvataggio";

}  // namespace

const std::vector<VoceErroreSalvataggio>& TabellaErroriSalvataggio() {
    using D = DopoErroreSalvataggio;
    static const std::vector<VoceErroreSalvataggio> tabella = {
        {{errnum::TypeMismatch}, "Valori di tipo non valido", {"&Ok"}, "", D::Fine},
        {{444}, "Comando non applicabile in questo momento", {"&Ok"}, "", D::Fine},
        {{524, errnum::DuplicateKey},
         "Chiave Duplicata\r\nCambiare i valori chiave",
         {"&Ok"},
         "",
         D::Fine},
        {{3058},
         "Un campo obbligatorio non è stato compilato\r\nInserire il valore o annullare",
         {"&Ok"},
         "",
         D::Fine},
        {{errnum::FieldTooSmall}, "Qualche dato non è accettabile", {"&Ok"}, "", D::Fine},
        {{errnum::NoCurrentRecord, errnum::RecordDeleted},
         "I dati sono stati cancellati",
         {"&Ok"},
         "",
         D::Riaggiungi},
        {{3197},
         "I dati sono stati cambiati da altri\r\nConfermi il salvataggio",
         {"Si", "No"},
         "",
         D::Riprova},
        {{errnum::TableLocked, errnum::RecordLocked},
         "Dati in uso da altri",
         {"&Ok"},
         kInSalvataggio,
         D::Fine},
        {{errnum::FileLocked}, "Archivio in uso da altri", {"&Ok"}, kInSalvataggio, D::Fine},
        {{3000},
         "Errore: probabilmente campi obbligatori non sono stati compilati",
         {"&Ok"},
         kInSalvataggio,
         D::Fine},
        {{6160},
         "Campi chiave obbligatori non compilati o Accesso negato ai dati",
         {"&Ok"},
         "Mancano dati obbligatori",
         D::Fine},
    };
    return tabella;
}

DopoErroreSalvataggio MostraErroreSalvataggio(const std::exception& errore) {
    const long numero = goLibGen().NumeroErrore(errore);
    for (const VoceErroreSalvataggio& voce : TabellaErroriSalvataggio()) {
        if (std::find(voce.numeri.begin(), voce.numeri.end(), numero) == voce.numeri.end()) {
            continue;
        }
        std::optional<std::string> secondo;
        if (voce.pulsanti.size() > 1) secondo = voce.pulsanti[1];
        std::optional<std::string> titolo;
        if (!voce.titolo.empty()) titolo = voce.titolo;
        int risposta =
            frmMsgCom::msgCom(voce.messaggio, voce.pulsanti.front(), secondo, std::nullopt, titolo);
        if (voce.dopo == DopoErroreSalvataggio::Riprova && risposta != 1) {
            return DopoErroreSalvataggio::Fine;
        }
        return voce.dopo;
    }
    MostraErrore(std::nullopt, numero, {}, {}, &errore);
    return DopoErroreSalvataggio::Fine;
}

}  // namespace tolvane
