// Opening a company database for a window that edits it.
#include "common/db_azienda.h"

#include "common/db_comune.h"
#include "common/msg_com.h"
#include "db/gestore_db.h"
#include "platform/text.h"
#include "suite/decodifiche/servizio_decodifiche.h"

namespace tolvane {

bool ApriDbAzienda(const std::string& psNomeDb, const std::string& psConnect,
                   const std::string& psPwd, std::string& osIdDbase) {
    OpenOptions opzioni;
    opzioni.wal = true;
    std::string id = goDbase().ApriConnessione(psNomeDb, psConnect, psPwd, opzioni);
    if (Left(id, 5) == "Err: ") {
        frmMsgCom::msgCom("Impossibile aprire il database dell'azienda\r\n" + Mid(id, 6), "&Ok");
        return false;
    }
    if (!osIdDbase.empty()) goDbase().ChiudiConnessione(osIdDbase);
    osIdDbase = id;
    goDecodifiche = std::make_unique<ServizioDecodifiche>(goDbase(), osIdDbase);
    return true;
}

void RilasciaDecodifiche(const std::string& osIdDbase) {
    if (goDecodifiche && !osIdDbase.empty() && goDecodifiche->IdDbase() == osIdDbase) {
        goDecodifiche.reset();
    }
}

}  // namespace tolvane
