// The menu server stand-in: working values from the demo environment's menu INI, personal
// settings from the common database, requests recorded and commands handed to the program.
// Never returns a secret it cannot authenticate and never stores one in clear.
#include "suite/menu/menu_client.h"

#include <unistd.h>

#include <climits>

#include "db/gestore_db.h"
#include "db/gestore_rs.h"
#include "platform/ini_file.h"
#include "platform/numbered_error.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"
#include "ui/desktop.h"

namespace tolvane {

namespace {

bool startsWithText(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalText(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::vector<std::string> iniKeys(const IniFile& ini, std::string_view section) {
    std::vector<std::string> keys;
    std::string bytes = ini.serialize();
    bool inside = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = Trim(std::string_view(bytes).substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            auto close = line.find(']');
            inside =
                close != std::string::npos && equalText(Trim(line.substr(1, close - 1)), section);
            continue;
        }
        auto eq = line.find('=');
        if (!inside || eq == std::string::npos) continue;
        std::string key = Trim(line.substr(0, eq));
        // The first key of a name wins, as the profile rules say.
        if (ini.hasKey(section, key) && !key.empty()) {
            bool seen = false;
            for (const auto& k : keys) seen = seen || equalText(k, key);
            if (!seen) keys.push_back(key);
        }
    }
    return keys;
}

MenuClient::MenuClient(MenuClientSettings settings)
    : settings_(std::move(settings)), cipher_(std::make_unique<SecretCipher>(settings_.keyFile)) {
    // The working values are every key of section "Parametri", read once as the menu holds
    // them for the session.
    IniFile ini = IniFile::load(settings_.menuIni);
    for (const std::string& key : iniKeys(ini, "Parametri"))
        values_.insert_or_assign(key, Variant(ini.getString("Parametri", key, "")));
    readEmailSettings();
}

void MenuClient::setDatabase(GestoreDb* db, std::string idDbComune) {
    settings_.db = db;
    settings_.idDbComune = std::move(idDbComune);
}

void MenuClient::Registra(const std::string& psIdMenu, const std::string& psKeyPrg,
                          const LaunchParameters& parLancio) {
    registered_ = true;
    idMenu_ = psIdMenu;
    keyPrg_ = psKeyPrg;
    parLancio_ = parLancio;
    requests_.push_back("Registra " + psIdMenu + " " + psKeyPrg);
}

std::string MenuClient::workingKey(const std::string& name, const std::string& qualifier) const {
    return qualifier.empty() ? name : name + "." + qualifier;
}

Variant MenuClient::Parametro(const std::string& psNome, const std::string& psQualif) {
    if (startsWithText(psNome, "crypt:")) return Variant(cipher_->encipher(psNome.substr(6)));
    if (startsWithText(psNome, "pwddbazie:")) {
        std::string enciphered = Trim(psNome.substr(10));
        return Variant(enciphered.empty() ? std::string() : cipher_->decipher(enciphered));
    }
    if (startsWithText(psNome, "Personal.")) {
        std::string rest = psNome.substr(9);
        auto mark = rest.find(".§");
        if (mark != std::string::npos)
            return personal(rest.substr(0, mark), rest.substr(mark + std::string(".§").size()));
    }
    if (equalText(psNome, "MenuProcId")) return Variant(static_cast<long>(::getpid()));
    if (equalText(psNome, "Tutti.Refresh")) {
        requests_.push_back("Tutti.Refresh");
        return Variant(std::string());
    }
    auto it = values_.find(workingKey(psNome, psQualif));
    return it == values_.end() ? Variant() : it->second;
}

void MenuClient::SetParametro(const std::string& psNome, const std::string& psQualif,
                              const Variant& pvValore) {
    if (equalText(psNome, "Tutti.Refresh") || equalText(psNome, "ApriChiudiDB")) {
        requests_.push_back(psNome + " " + pvValore.text());
        return;
    }
    if (equalText(psNome, "ScriviIniComuni")) {
        requests_.push_back("ScriviIniComuni " + pvValore.text());
        saveEmailSettings(pvValore.text());
        return;
    }
    if (equalText(psNome, "LeggiIniComuni")) {
        requests_.push_back("LeggiIniComuni " + pvValore.text());
        readEmailSettings();
        return;
    }
    values_.insert_or_assign(workingKey(psNome, psQualif), pvValore);
}

Variant MenuClient::personal(const std::string& psSezione, const std::string& psChiave) {
    if (!settings_.db || settings_.idDbComune.empty()) return Variant(kPersonalMancante);
    const LibGenerale& lib = goLibGen();
    std::string login = Parametro("Login").text();
    // A user's own row wins over the general one (empty login).
    std::string sql = "Select Valore, Login from Personalizzazioni Where Sezione = " +
                      lib.ValoreSql(Variant(psSezione), 8) +
                      " And Chiave = " + lib.ValoreSql(Variant(psChiave), 8) +
                      " And (Login = " + lib.ValoreSql(Variant(login), 8) +
                      " Or Login = '') Order By Login Desc";
    GestoreRs rs;
    std::string handle =
        rs.ApriRs(*settings_.db, settings_.idDbComune, "", sql, false, rstype::Snapshot);
    Variant result(kPersonalMancante);
    if (!rs.VuotoRs(handle)) result = Variant(rs.ValoreCampoRs(handle, "Valore").text());
    rs.ChiudiRs(handle);
    return result;
}

std::string MenuClient::Terminale() const {
    auto it = values_.find("terminale");
    if (it != values_.end() && !it->second.text().empty()) return it->second.text();
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) != 0) return {};
    return host;
}

void MenuClient::PassaAProgramma(const std::string& psDescrizione, const std::string& psForm,
                                 const std::string& psKey) {
    requests_.push_back("PassaAProgramma " + psDescrizione + "|" + psForm + "|" + psKey);
}

void MenuClient::MostraMenu(const std::string& psChi) {
    requests_.push_back("MostraMenu " + psChi);
}

Variant MenuClient::LeggiOpzione(const std::string& psOpzione, const std::string& psChi,
                                 const std::string& psTesto) {
    requests_.push_back("LeggiOpzione " + psOpzione + "|" + psChi + "|" + psTesto);
    if (equalText(psOpzione, "MsgBox")) return Variant(static_cast<long>(ui::MsgBox(psTesto)));
    return Variant();
}

Variant MenuClient::EseguiComando(const std::string& psKeySec, const std::string& psCom,
                                  Variant pvParam) {
    // "fine" may end the program and release this client while the handler runs: the
    // handler and the menu's identification are held here, not borrowed from the client.
    Variant ritorno;
    EseguiComandoHandler handler = handler_;
    const std::string idMenu = idMenu_;
    if (handler) handler(idMenu, psKeySec, psCom, pvParam, ritorno);
    return ritorno;
}

}  // namespace tolvane
