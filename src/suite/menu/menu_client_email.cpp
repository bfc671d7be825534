// The menu's keeping of the PDF and e-mail settings in the INI files: the save or delete
// request of the print options panel and the reading back. The password is kept enciphered:
// never written to a file in clear.
#include <array>
#include <cctype>
#include <vector>

#include "platform/ini_file.h"
#include "platform/numbered_error.h"
#include "platform/text.h"
#include "suite/menu/menu_client.h"

namespace tolvane {

namespace {

constexpr const char* kSection = "Email";
constexpr std::size_t kFields = 22;
constexpr std::size_t kSelection = 1 + 3 * kFields;

// The named values of each field number of the panel (1 to 22).
const std::array<std::vector<std::string>, kFields + 1>& fieldNames() {
    static const std::array<std::vector<std::string>, kFields + 1> names = {{
        {},
        {"UsaPdfCreator"},
        {"UsaPdf995"},
        {"PdfNomeFile"},
        {"CreatorAutosaveStart"},
        {"EmailTo1", "EmailTo2", "EmailTo3", "EmailToNum", "EmailTo"},
        {"EmailTipoInvio"},
        {"EmailFileLog"},
        {"EmailInd"},
        {"EmailCentro"},
        {"EmailSMTPtipo"},
        {"EmailServerSMTP"},
        {"EmailReplay"},
        {"EmailFlagNotifica"},
        {"EmailLogin"},
        {"EmailPwd"},
        {"StampeEmail"},
        {"EmailNumTesto"},
        {"EmailPersOggetto"},
        {"EmailNumPorta"},
        {"EmailUsaSSL"},
        {"EmailDirStunnel"},
        {"EmailTipoNum"},
    }};
    return names;
}

bool perConfiguration(std::size_t field) {
    switch (field) {
        case 6:
        case 8:
        case 9:
        case 10:
        case 11:
        case 12:
        case 14:
        case 15:
        case 17:
        case 18:
        case 19:
        case 20:
        case 21:
            return true;
        default:
            return false;
    }
}

// Key without the configuration digit in front.
std::string baseName(const std::string& key) {
    std::size_t i = 0;
    while (i < key.size() && std::isdigit(static_cast<unsigned char>(key[i]))) ++i;
    return key.substr(i);
}

bool isPassword(const std::string& key) { return equalText(baseName(key), "EmailPwd"); }

Variant typedValue(const std::string& key, const std::string& text) {
    std::string base = baseName(key);
    if (equalText(base, "EmailFlagNotifica"))
        return Variant(equalText(text, "True") || equalText(text, "Vero") || text == "-1");
    if (equalText(base, "EmailToNum") || equalText(base, "EmailTipoNum") ||
        equalText(base, "EmailNumTesto") || equalText(base, "EmailNumPorta")) {
        try {
            return Variant(static_cast<std::int16_t>(std::stoi(text)));
        } catch (const std::exception&) {
            return Variant(static_cast<std::int16_t>(0));
        }
    }
    return Variant(text);
}

}  // namespace

void MenuClient::saveEmailSettings(const std::string& request) {
    if (request.size() != kSelection + 2 || (request[0] != '+' && request[0] != '-') ||
        request.back() != 'V' || (request[1] != 'g' && request[1] != 'p')) {
        throw NumberedError(errnum::InvalidCall, "Richiesta ScriviIniComuni non valida",
                            "MenuClient");
    }
    bool save = request[0] == '+';
    bool common = request[1] == 'g' && !settings_.menuIniComune.empty();
    const std::string& file = common ? settings_.menuIniComune : settings_.menuIni;
    bool multi = Parametro("EmailTipoNum").text() != "" && Parametro("EmailTipoNum").text() != "0";

    std::vector<std::string> keys;
    for (std::size_t k = 0; k < 3; ++k) {
        for (std::size_t n = 1; n <= kFields; ++n) {
            if (request[2 + k * kFields + (n - 1)] != 'S') continue;
            std::string prefix;
            if (perConfiguration(n)) {
                if (multi) prefix = std::to_string(k + 1);
                else if (k > 0) continue;
            } else if (k > 0) {
                continue;
            }
            for (const std::string& name : fieldNames()[n]) keys.push_back(prefix + name);
        }
    }
    std::vector<std::pair<std::string, std::string>> entries;
    for (const std::string& key : keys) {
        std::string text = Parametro(key).text();
        if (isPassword(key) && !text.empty()) text = cipher_->encipher(text);
        entries.emplace_back(key, text);
    }
    IniFile::update(file, [&](IniFile& ini) {
        bool changed = false;
        for (const auto& [key, text] : entries)
            changed = (save ? ini.setString(kSection, key, text) : ini.removeKey(kSection, key)) ||
                      changed;
        return changed;
    });
}

void MenuClient::readEmailSettings() {
    std::vector<std::string> files;
    if (!settings_.menuIniComune.empty() && settings_.menuIniComune != settings_.menuIni)
        files.push_back(settings_.menuIniComune);
    files.push_back(settings_.menuIni);  // the terminal's own values win
    for (const std::string& file : files) {
        IniFile ini = IniFile::load(file);
        for (const std::string& key : iniKeys(ini, kSection)) {
            std::string text = ini.getString(kSection, key, "");
            if (isPassword(key) && !text.empty()) {
                try {
                    text = cipher_->decipher(text);
                } catch (const NumberedError&) {
                    // A password that does not authenticate is not handed out as if it were one.
                    text.clear();
                    requests_.push_back("EmailPwd rifiutata: " + file);
                }
            }
            values_.insert_or_assign(key, typedValue(key, text));
        }
    }
}

}  // namespace tolvane
