// The e-mail settings of a print: read, checked, filled with their placeholders and handed to
// the print engine's options, and the engine's request for the login answered through the
// print options dialog. Never writes half the settings after a refusal of missing data.
#include "printing/email_stampa.h"

#include <ctime>
#include <exception>

#include "common/db_comune.h"
#include "common/globali.h"
#include "common/msg_com.h"
#include "common/parametri_menu.h"
#include "platform/numbered_error.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "printing/frm_scelta_stam.h"
#include "printing/frm_scelta_stam_pdf_email.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/menu/menu_client.h"
#include "suite/opzioni/opz_stampa.h"
#include "suite/stampa/motore_stampa.h"
#include "ui/desktop.h"
#include "ui/driver.h"

namespace tolvane {

namespace {

// Settings that each send configuration has of its own.
constexpr const char* kChiaviConfigurazione[] = {
    "EmailTipoInvio", "EmailInd",    "EmailCentro",    "EmailSMTPtipo", "EmailServerSMTP",
    "EmailReplay",    "EmailLogin",  "EmailPwd",       "EmailNumTesto", "EmailPersOggetto",
    "EmailNumPorta",  "EmailUsaSSL", "EmailDirStunnel"};

const char* const kMesi[] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                             "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
const char* const kMesiAbbreviati[] = {"gen", "feb", "mar", "apr", "mag", "giu",
                                       "lug", "ago", "set", "ott", "nov", "dic"};

// The panel writes a configuration's settings with its number in front once EmailTipoNum names
// one; the unprefixed key is the single configuration's.
std::string chiaveAttiva(const std::string& psChiave) {
    for (const char* chiave : kChiaviConfigurazione) {
        if (!equalText(chiave, psChiave)) continue;
        long numero = goLibGen().ValoreLong(LeggiParametro("EmailTipoNum"));
        if (numero >= 1 && numero <= 3) return std::to_string(numero) + psChiave;
        return psChiave;
    }
    return psChiave;
}

DateTime oraLocale() {
    std::time_t adesso = std::time(nullptr);
    std::tm parti{};
    localtime_r(&adesso, &parti);
    return DateTime::fromParts(parti.tm_year + 1900, parti.tm_mon + 1, parti.tm_mday, parti.tm_hour,
                               parti.tm_min, parti.tm_sec);
}

DateTime adesso() {
    const auto& orologio = emailClock();
    return orologio ? orologio() : oraLocale();
}

std::string dueCifre(int valore) { return (valore < 10 ? "0" : "") + std::to_string(valore); }

std::string quattroCifre(int valore) {
    std::string testo = std::to_string(valore);
    return std::string(testo.size() < 4 ? 4 - testo.size() : 0, '0') + testo;
}

// The value of a placeholder, computed when it is filled; the clock is read for each one.
std::string valoreSegnaposto(const std::string& nome, const OpzStampa& opz) {
    if (nome == "PersOgg") return LeggiParEmail("EmailPersOggetto");
    if (nome == "Terminale") return goMenuClient ? goMenuClient->Terminale() : std::string();
    if (nome == "Login") return LeggiParametro("Login").text();
    if (nome == "Gruppo") return LeggiParametro("Gruppo").text();
    if (nome == "DescAzie") return LeggiParametro("descazie").text();
    if (nome == "CodiceAzie") return LeggiParametro("codiceazie").text();
    if (nome == "IdAzienda") return LeggiParametro("idazienda").text();
    if (nome == "DescPrg") return opz.LeggiParStampa("StampaDescPrg").text();
    if (nome == "Titolo") return opz.LeggiParStampa("StampaCaption").text();
    if (nome == "CodSta") return opz.NomeStampa();
    DateTime ora = adesso();
    int anno = 0, mese = 0, giorno = 0, h = 0, m = 0, s = 0;
    ora.parts(anno, mese, giorno);
    ora.timeParts(h, m, s);
    if (nome == "Data") return dueCifre(giorno) + "/" + dueCifre(mese) + "/" + quattroCifre(anno);
    if (nome == "DataRov") return quattroCifre(anno) + dueCifre(mese) + dueCifre(giorno);
    if (nome == "DataLong")
        return dueCifre(giorno) + "/" + kMesi[mese - 1] + "/" + quattroCifre(anno);
    if (nome == "DataAbb")
        return dueCifre(giorno) + "/" + kMesiAbbreviati[mese - 1] + "/" + quattroCifre(anno);
    if (nome == "Ora") return dueCifre(h) + ":" + dueCifre(m);
    if (nome == "OraRid") return dueCifre(h) + dueCifre(m);
    return {};
}

// Fills the known placeholders one after the other, in this order; the subject knows Ora, the
// text OraRid.
std::string riempiSegnaposti(std::string testo, bool oggetto, const OpzStampa& opz) {
    static const char* const nomi[] = {"PersOgg",  "Terminale",  "Login",     "Gruppo",
                                       "DescAzie", "CodiceAzie", "IdAzienda", "DescPrg",
                                       "Titolo",   "CodSta",     "Data",      "DataRov",
                                       "DataLong", "DataAbb",    "Ora",       "OraRid"};
    const LibGenerale& lib = goLibGen();
    for (const char* nome : nomi) {
        std::string n = nome;
        if ((n == "Ora" && !oggetto) || (n == "OraRid" && oggetto)) continue;
        testo = lib.SostituisciSegnaposti(1, testo, "§" + n + "§", valoreSegnaposto(n, opz), 1);
    }
    return testo;
}

// A truth value as the e-mail settings hold it: blank (never set) is false; text that is no
// truth value raises.
bool vero(const std::string& testo) {
    if (Trim(testo).empty()) return false;
    return Variant(testo).toBool();
}

bool veroOpzione(const Variant& valore) {
    if (valore.isEmpty() || valore.isNull()) return false;
    try {
        return valore == Variant(true);
    } catch (const NumberedError&) {
        return false;
    }
}

OpzStampa& opzioniMotore() {
    OpzStampa* opz = goMotoreStampa ? goMotoreStampa->OpzioniMotore() : nullptr;
    if (!opz) {
        throw objectNotSet("PassaParEmail");
    }
    return *opz;
}

}  // namespace

std::function<DateTime()>& emailClock() {
    static std::function<DateTime()> orologio;
    return orologio;
}

std::string LeggiParEmail(const std::string& psChiave) {
    const LibGenerale& lib = goLibGen();
    if (equalText(psChiave, "EmailTesto") || equalText(psChiave, "EmailOggetto")) {
        if (gsConnDbMenu.empty()) ApriDbMenu();
        Variant numero(LeggiParEmail("EmailNumTesto"));
        int n = lib.ValoreIntero(numero, true, false);
        std::string memo;
        std::string descr;
        LeggiScriviAppoggio("PdfEmail", n, memo, false, false, descr, true);
        return equalText(psChiave, "EmailTesto") ? memo : descr;
    }
    std::string valore = LeggiParametro(chiaveAttiva(psChiave)).text();
    if (!lib.EVuoto(Variant(valore)) &&
        (equalText(psChiave, "EmailInd") || equalText(psChiave, "EmailReplay"))) {
        std::string tipo = LeggiParametro(chiaveAttiva("EmailTipoInvio")).text();
        if (!equalText(tipo, "S") && !equalText(tipo, "E")) {
            valore =
                "\"" + LeggiParametro(chiaveAttiva("EmailCentro")).text() + "\" <" + valore + ">";
        }
    }
    return valore;
}

void PassaParEmail() {
    OpzStampa& opz = opzioniMotore();
    if (!veroOpzione(opz.LeggiParStampa("EmailInvia"))) return;

    const LibGenerale& lib = goLibGen();
    auto vuoto = [&lib](const std::string& testo) { return lib.EVuoto(Variant(testo)); };
    std::string login = LeggiParEmail("EmailLogin");
    bool conPwd = !vuoto(LeggiParEmail("EmailPwd"));
    std::string server = LeggiParEmail("EmailServerSMTP");
    std::string emailTo = LeggiParEmail("EmailTo");
    std::string emailToTemp = opz.LeggiParStampa("EmailToTemp").text();
    if (vuoto(login) || !conPwd || vuoto(server) || (vuoto(emailTo) && vuoto(emailToTemp))) {
        throw NumberedError(
            -123, "Mancano dati necessari per l'invio dell'email\r\n - Login: " + login +
                      " - pwd compilata: " + (conPwd ? "Sì" : "No") + " - SMTP: " + server +
                      " - Emailto: " + emailTo + " - Ind.Temp: " + emailToTemp);
    }

    auto scrivi = [&opz](const char* nome, const Variant& valore) {
        opz.ScriviParStampa(nome, OpzStampa::kTipoAltro, valore);
    };
    auto passa = [&scrivi](const char* nome) { scrivi(nome, Variant(LeggiParEmail(nome))); };
    scrivi("EmailTo", Variant(vuoto(emailToTemp) ? emailTo : emailToTemp));
    passa("EmailTipoInvio");
    scrivi("EmailOggetto", Variant(riempiSegnaposti(LeggiParEmail("EmailOggetto"), true, opz)));
    scrivi("EmailTesto", Variant(riempiSegnaposti(LeggiParEmail("EmailTesto"), false, opz)));
    for (const char* nome : {"EmailFileLog", "EmailInd", "EmailCentro", "EmailSMTPtipo",
                             "EmailServerSMTP", "EmailReplay"})
        passa(nome);
    scrivi("EmailFlagNotifica", Variant(vero(LeggiParEmail("EmailFlagNotifica"))));
    for (const char* nome : {"EmailLogin", "EmailPwd", "EmailUsaSSL", "EmailDirStunnel",
                             "EmailNumPorta", "EmailLogSee"})
        passa(nome);
}

bool ChiediDatiEmail(bool pbPassaPar, bool pbOpzMotore) {
    bool ok = false;
    {
        FrmSceltaStam& dialogo = ui::desktop().load<FrmSceltaStam>();
        // The closing checks belong to choosing a print's options, not to this request: without
        // the options the dialog always closes.
        ScopeGuard chiudi([&dialogo] {
            dialogo.ogOpzSta = nullptr;
            dialogo.unload();
        });
        if (pbOpzMotore) dialogo.ogOpzSta = &opzioniMotore();
        dialogo.oiRichDatiEmail = 1000;
        ok = RichDatiEmail(dialogo);
    }

    if (pbPassaPar && ok) {
        try {
            PassaParEmail();
        } catch (const std::exception& e) {
            // The engine only learns False; the user learns why.
            frmMsgCom::MsgErrfrm(e);
            ok = false;
        }
    }
    return ok;
}

bool ChiediDatiEmail(MotoreStampa& poMotore, bool pbPassaPar, bool pbOpzMotore) {
    MotoreCorrente corrente(&poMotore);
    return ChiediDatiEmail(pbPassaPar, pbOpzMotore);
}

}  // namespace tolvane
