// The program's printer services: default printer, printer list, current printer, a print's
// options pointed at a printer, terminal-session printers and the printer notices.
// Never changes the print server's default; a default changed only for a test is put back.
#include "printing/azienda_util_stampe.h"

#include <optional>

#include "common/ini_programma.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/menu/menu_client.h"
#include "suite/opzioni/opz_stampa.h"
#include "suite/stampanti/print_queue.h"

namespace tolvane {

namespace {

void avviso(const std::string& testo) {
    frmMsgCom::msgCom(testo, "&Ok", std::nullopt, std::nullopt, std::nullopt, 80, false, 600,
                      std::nullopt, 1);
}

std::string testoNonImpostabile(const std::string& stampaSu, const std::string& richiesta) {
    return "Impossibile impostare la stampante predefinita\r\nLa stampa verrà fatta su " +
           stampaSu + "\r\nper stampare su " + richiesta + " uscire dal programma e rientrare";
}

std::string testoSessione(int piSessione) {
    return goLibGen().SostituisciSegnaposti(gsModStampanteSessione, "%§",
                                            Trim(std::to_string(piSessione)));
}

bool cifra(const std::string& carattere) {
    return carattere.size() == 1 && carattere[0] >= '0' && carattere[0] <= '9';
}

// True when psNome holds psPezzo (case ignored) as a whole session number: a piece that begins
// or ends with a digit does not count where the name runs on into further digits, so that
// "sessione 2" is not found in "sessione 25".
bool contieneSessione(const std::string& psNome, const std::string& psPezzo) {
    const long lunghezza = static_cast<long>(Len(psPezzo));
    const long totale = static_cast<long>(Len(psNome));
    if (lunghezza == 0) return true;
    const bool cifraIniziale = cifra(Left(psPezzo, 1));
    const bool cifraFinale = cifra(Right(psPezzo, 1));
    for (long pos = InStr(1, psNome, psPezzo, true); pos > 0;
         pos = pos + 1 <= totale ? InStr(pos + 1, psNome, psPezzo, true) : 0) {
        const bool prima = cifraIniziale && pos > 1 && cifra(Mid(psNome, pos - 1, 1));
        const bool dopo =
            cifraFinale && pos + lunghezza <= totale && cifra(Mid(psNome, pos + lunghezza, 1));
        if (!prima && !dopo) return true;
    }
    return false;
}

void azzeraCassettoCarta(OpzStampa& poOpzStampa) {
    poOpzStampa.ScriviParStampa("NumCassetto", OpzStampa::kTipoAltro, Variant(0));
    poOpzStampa.ScriviParStampa("NumTipoCarta", OpzStampa::kTipoAltro, Variant(0));
}

}  // namespace

std::unique_ptr<PrinterInfo> LeggiStampanteDef(std::string& psNome, std::string& psNomeNonInst,
                                               std::string& psPorta) {
    auto& system = printerSystem();
    const auto nome = system.defaultPrinter();
    psNomeNonInst.clear();
    auto stampante = findPrinter(system, nome);
    if (!stampante) {
        psNomeNonInst = nome;
        psNome.clear();
        psPorta.clear();
        return nullptr;
    }
    psNome = nome;
    psPorta = stampante->port;
    return stampante;
}

void ImpostaStampanteDef(std::string& psNome, std::string& psNomeNonInst, std::string& psPorta) {
    if (giStampDefCambiata != 1) return;
    if (auto stampante = LeggiStampanteDef(psNome, psNomeNonInst, psPorta)) {
        Printer().choose(*stampante);
    }
}

bool UsaStampanteStampa(OpzStampa& poOpzStampa, int piAvviso) {
    if (goLibGen().EVuoto(Variant(poOpzStampa.StampanteOpz))) {
        // The default printer as the print server names it now, not a printer an earlier
        // print chose.
        Printer().followDefault();
        return true;
    }

    if (auto stampante = findPrinter(printerSystem(), poOpzStampa.StampanteOpz)) {
        Printer().choose(*stampante);
        giStampDefCambiata = 1;
        return true;
    }
    // Not a printer that is missing: the default is left alone.
    if (!ServerStampaNonRisponde().empty()) {
        if (piAvviso) AvvisoServerStampa();
        return false;
    }

    bool risultato = false;
    if (giStampDefCambiata != 1) {
        poOpzStampa.ScriviParStampa("StampanteDefOri", OpzStampa::kTipoTesto,
                                    Variant(Printer().DeviceName()));
        if (ImpostaDefWindows(poOpzStampa.StampanteOpz)) {
            risultato = equalText(Printer().DeviceName(), poOpzStampa.StampanteOpz);
        } else {
            poOpzStampa.ScriviParStampa("StampanteDefOri", OpzStampa::kTipoTesto, Variant(""));
        }
    }
    if (piAvviso && !risultato) {
        avviso(testoNonImpostabile(Printer().DeviceName(), poOpzStampa.StampanteOpz));
    }
    return risultato;
}

bool ImpostaStampante(const std::string& psNome, int piFlag, const std::string& psAlternativa) {
    struct ClessidraAccesa {
        bool attiva;
        explicit ClessidraAccesa(bool a) : attiva(a) {
            if (attiva) Clessidra(true);
        }
        ~ClessidraAccesa() {
            if (attiva) Clessidra(false);
        }
    } clessidra(piFlag != 0);

    if (psNome.empty()) return true;
    auto& system = printerSystem();
    bool risultato = findPrinter(system, psNome) != nullptr;
    if (!risultato && !ServerStampaNonRisponde().empty()) {
        if (piFlag) AvvisoServerStampa();
        return false;
    }

    if (!risultato && giStampDefCambiata != 1) {
        // The user's own choice is what goes back, not the printer it resolved to: a user who
        // had none keeps following the server's default.
        const auto precedente = system.userDefault();
        if (ImpostaDefWindows(psNome)) {
            risultato = equalText(Printer().DeviceName(), psNome);
            system.setUserDefault(precedente);
        }
    }
    if (piFlag && !risultato) {
        avviso(testoNonImpostabile(psAlternativa.empty() ? Printer().DeviceName() : psAlternativa,
                                   psNome));
    }
    return risultato;
}

bool ImpostaStampanteAuto(const std::string& psNome, OpzStampa& poOpzStampa, int piFlag) {
    std::string nome = psNome;
    if (piFlag) {
        if (!equalText(nome, poOpzStampa.StampanteOpz)) return false;
        LeggiIni(poOpzStampa.NomeStampa(), "NomeStampante", "", nome);
        if (nome.empty()) {
            std::string nomeDef, nomeNonInst, porta;
            LeggiStampanteDef(nomeDef, nomeNonInst, porta);
            poOpzStampa.StampanteOpz = nomeDef.empty() ? nomeNonInst : nomeDef;
            poOpzStampa.StampanteOpz2 = porta;
            // The tray and paper numbers belong to the printer being left.
            azzeraCassettoCarta(poOpzStampa);
            return true;
        }
    }

    if (auto stampante = findPrinter(printerSystem(), nome)) {
        poOpzStampa.StampanteOpz = stampante->name;
        poOpzStampa.StampanteOpz2 = stampante->port;
        azzeraCassettoCarta(poOpzStampa);
        return true;
    }
    std::string driver;
    const auto porta = LeggiPortaStampante(nome, driver);
    if (!porta.empty()) {
        poOpzStampa.StampanteOpz = nome;
        poOpzStampa.StampanteOpz2 = porta;
        azzeraCassettoCarta(poOpzStampa);
        return true;
    }
    return false;
}

bool StampanteAltraSessione(const std::string& psNome, int piSessione) {
    if (gsModStampanteSessione.empty() || piSessione < 2 || psNome.empty()) return false;
    for (int sessione = 2; sessione <= 30; ++sessione) {
        if (sessione == piSessione) continue;
        if (contieneSessione(psNome, testoSessione(sessione))) return true;
    }
    return false;
}

std::string NomeStampanteSessione(const std::string& psNome) {
    if (giNumSessione < 2 || gsModStampanteSessione.empty()) return psNome;
    return goLibGen().SostituisciSegnaposti(psNome, testoSessione(giNumSessione),
                                            gsModStampanteSessione);
}

void ElencoStampanti(std::vector<std::string>& pvNomi, std::vector<std::string>& pvPorte) {
    pvNomi.clear();
    pvPorte.clear();
    // No session service to ask here: the session is the one the session setting names.
    const int sessione = giNumSessione;
    for (const auto& stampante : printerSystem().printers()) {
        const auto nome = Trim(stampante.name);
        if (nome.empty() || StampanteAltraSessione(nome, sessione)) continue;
        std::string driver;
        pvNomi.push_back(nome);
        pvPorte.push_back(LeggiPortaStampante(nome, driver));
    }
}

std::string LeggiPortaStampante(const std::string& psNome, std::string& psDriver) {
    psDriver.clear();
    auto stampante = findPrinter(printerSystem(), psNome);
    if (!stampante) return {};
    psDriver = stampante->driver;
    return stampante->port;
}

void DividiDriverPorta(const std::string& psValore, std::string& psDriver, std::string& psPorta) {
    psDriver.clear();
    psPorta.clear();
    const auto prima = psValore.find(',');
    if (prima == std::string::npos) return;
    psDriver = psValore.substr(0, prima);
    const auto seconda = psValore.find(',', prima + 1);
    if (seconda == std::string::npos) return;
    psPorta = psValore.substr(prima + 1, seconda - prima - 1);
}

bool ImpostaDefWindows(const std::string& psNome) {
    if (psNome.empty()) return false;
    auto stampante = findPrinter(printerSystem(), psNome);
    if (!stampante || stampante->driver.empty() || stampante->port.empty()) return false;
    return ScriviDefWindows(stampante->name, stampante->driver, stampante->port);
}

bool ScriviDefWindows(const std::string& psNome, const std::string& /*psDriver*/,
                      const std::string& /*psPorta*/) {
    // The current printer follows the default by itself: nothing needs telling.
    return printerSystem().setUserDefault(psNome);
}

void MsgStampanteDefAssente(const std::string& psChiave, const std::string& psNomeStampante,
                            const std::string& psSezione) {
    avviso("Nella lista delle stampanti non è disponibile la stampante predefinita " +
           psNomeStampante +
           "\r\nUscire dal programma e rientrare per avere impostato la stampante predefinita");
    ScriviIni(psSezione, psChiave, "");
}

bool NessunaStampantePredefinita(const std::string& psNome, const std::string& psNomeNonInst) {
    if (!psNome.empty() || !psNomeNonInst.empty()) return false;
    if (AvvisoServerStampa()) return true;
    avviso("Nessuna stampante predefinita: sceglierne una dall'elenco");
    return true;
}

void MsgStampanteAltraSessione(const std::string& psNome) {
    avviso("La stampante (" + psNome +
           ") predefinita appartiene ad un'altra sessione\r\n"
           "Scegliere una stampante o cambiare la stampante predefinita");
}

bool StampantePredefinitaUsabile(bool pbErrore, const std::string& psNome,
                                 const std::string& psNomeNonInst,
                                 const std::string& psNomeStampa) {
    if (pbErrore || psNome.empty()) {
        // Unknown, not missing: the printer saved for the print is kept.
        if (AvvisoServerStampa()) return false;
        if (StampanteAltraSessione(psNomeNonInst, giNumSessione)) {
            MsgStampanteAltraSessione(psNomeNonInst);
            return false;
        }
        if (giStampDefCambiata == 1) {
            MsgStampanteDefAssente("NomeStampante", psNomeNonInst, psNomeStampa);
            return false;
        }
        return true;
    }
    if (StampanteAltraSessione(psNome, giNumSessione)) {
        MsgStampanteAltraSessione(psNome);
        return false;
    }
    return true;
}

std::string ServerStampaNonRisponde() {
    const std::string server = printerSystem().silentServer();
    return server.empty() ? std::string() : silentServerText(server);
}

bool AvvisoServerStampa() {
    const std::string testo = ServerStampaNonRisponde();
    if (testo.empty()) return false;
    avviso(testo);
    return true;
}

std::string DescStampaServer(const OpzStampa& poOpzStampa) {
    const bool suStampante = poOpzStampa.StaVid == OpzStampa::kStampante;
    const std::string corrente =
        suStampante && poOpzStampa.StampanteOpz.empty() ? Printer().DeviceName() : std::string();
    std::string testo = poOpzStampa.DescStampaAttuale(corrente);
    if (suStampante || (poOpzStampa.StaVid == OpzStampa::kFissa && poOpzStampa.FisStampante)) {
        const std::string motivo = ServerStampaNonRisponde();
        if (!motivo.empty()) testo += " - " + motivo;
    }
    return testo;
}

bool StampanteRete(const PrinterInfo& poStampante) {
    if (!goMenuClient) return false;
    return goMenuClient->Parametro("OSPlatform") == Variant(2) &&
           Left(poStampante.name, 2) == "\\\\";
}

}  // namespace tolvane
