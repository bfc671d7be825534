// Our in-process stand-in for the suite's menu server: working values, personal settings,
// requests and commands, exchanged by name as the program has always done through MenuClient.
// Never knows a window of this program: commands reach them through the EseguiComando handler.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/names.h"
#include "platform/variant.h"
#include "suite/menu/menu_client_cipher.h"

namespace tolvane {

class GestoreDb;

// The menu's launch parameters of this run.
struct LaunchParameters {
    std::string osParam;      // text after the first blank of "P"
    std::string osChiLancia;  // who launched this run
    std::string osKeySecLancia;
    std::string osParamLancia;
    std::string osTipoForm;  // the window named by "F"
};

struct MenuClientSettings {
    // Working values in section "Parametri"; e-mail settings saved in section "Email".
    std::string menuIni;
    // E-mail settings common to every terminal ("g" saves); empty: the terminal file.
    std::string menuIniComune;
    std::string keyFile;  // key of the cipher, created on first use with mode 0600
    // The common database (Personalizzazioni, Aziende); may be set after construction.
    GestoreDb* db = nullptr;
    std::string idDbComune;
};

// Marks a personal setting that nobody stored.
inline const std::string kPersonalMancante = "§ç~$!^";

class MenuClient {
  public:
    explicit MenuClient(MenuClientSettings settings);

    void setDatabase(GestoreDb* db, std::string idDbComune);

    // Registers this run with the menu (the "M" and "P" keywords) and records its launch.
    void Registra(const std::string& psIdMenu, const std::string& psKeyPrg,
                  const LaunchParameters& parLancio);
    bool registrato() const { return registered_; }
    const std::string& idMenu() const { return idMenu_; }
    const LaunchParameters& ParLancio() const { return parLancio_; }

    // Named values: working values, "Personal." + section + ".§" + key, and the requests
    // "crypt:" + text, "pwddbazie:" + enciphered password (plain text back), "MenuProcId".
    // An unknown working value reads as Empty. Raises 5 for a refused enciphered text.
    Variant Parametro(const std::string& psNome, const std::string& psQualif = "");
    // Sets a working value, or makes a request: "Tutti.Refresh", "ApriChiudiDB",
    // "ScriviIniComuni" ("+" save or "-" delete, 67-character selection, "V"),
    // "LeggiIniComuni" (e-mail settings read again from the INI files).
    void SetParametro(const std::string& psNome, const std::string& psQualif,
                      const Variant& pvValore);

    std::string Terminale() const;
    void PassaAProgramma(const std::string& psDescrizione, const std::string& psForm,
                         const std::string& psKey);
    void MostraMenu(const std::string& psChi);
    // "MsgBox": the menu shows the text (through the window layer) and answers the button.
    Variant LeggiOpzione(const std::string& psOpzione, const std::string& psChi,
                         const std::string& psTesto);

    // The menu server's event, delivered on the program's thread.
    using EseguiComandoHandler =
        std::function<void(const std::string& psIdMenu, const std::string& psKeySec,
                           const std::string& psCom, Variant& pvParam, Variant& pvRitComando)>;
    void setEseguiComando(EseguiComandoHandler handler) { handler_ = std::move(handler); }
    // Delivers a command as the menu server would; returns pvRitComando.
    Variant EseguiComando(const std::string& psKeySec, const std::string& psCom,
                          Variant pvParam = {});

    // What this run asked of the menu, one line per request, in order.
    const std::vector<std::string>& requests() const { return requests_; }

    // The libsodium cipher on settings.keyFile unless another one was installed.
    Cipher& cipher() { return *cipher_; }
    void setCipher(std::unique_ptr<Cipher> cipher) { cipher_ = std::move(cipher); }

  private:
    Variant personal(const std::string& psSezione, const std::string& psChiave);
    void saveEmailSettings(const std::string& request);
    void readEmailSettings();
    std::string workingKey(const std::string& name, const std::string& qualifier) const;

    MenuClientSettings settings_;
    std::unique_ptr<Cipher> cipher_;
    CaselessMap<Variant> values_;
    bool registered_ = false;
    std::string idMenu_;
    std::string keyPrg_;
    LaunchParameters parLancio_;
    EseguiComandoHandler handler_;
    std::vector<std::string> requests_;
};

// Names of the keys of a section, in file order (the values are read through the IniFile).
class IniFile;
std::vector<std::string> iniKeys(const IniFile& ini, std::string_view section);

// The program-wide client, created by the start-up and released at the end.
inline std::unique_ptr<MenuClient> goMenuClient;

}  // namespace tolvane
