// The start-up in the order the menu expects, the close timer's check and the end of the
// program. Never ends the program while a modal window is up unless asked to end at once.
#include "startup/programma.h"

#include <filesystem>
#include <memory>

#include "common/db_comune.h"
#include "common/globali.h"
#include "common/ini_programma.h"
#include "common/servizi_finestre.h"
#include "common/sessione_terminale.h"
#include "platform/numbered_error.h"
#include "platform/text.h"
#include "startup/comandi_menu.h"
#include "startup/file_ini.h"
#include "startup/frm_principale.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/menu/menu_client.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace fs = std::filesystem;

namespace {

constexpr const char* kIniNonTrovato = "File ini non trovato";
constexpr const char* kSistemare = "Sistemare e rieseguire";
constexpr const char* kFormInesistente = "La form richiesta e' inesistente";

// Arms the close check whenever a window of the program goes away.
class WindowWatcher : public ui::UiObserver {
  public:
    void formHidden(ui::Form& form) override { gone(form); }
    void formUnloaded(ui::Form& form) override { gone(form); }

  private:
    void gone(ui::Form& form);
};

struct ProgramState {
    bool running = false;
    bool ended = false;
    bool endAsked = false;  // "fine" came while a modal window was up
    int exitCode = 0;
    std::unique_ptr<WindowWatcher> watcher;
};

ProgramState& state() {
    static ProgramState s;
    return s;
}

bool anyWindowLeft() {
    for (ui::Form* form : ui::desktop().loadedForms())
        if (!isOwnWindow(*form) && form->visible()) return true;
    return false;
}

void WindowWatcher::gone(ui::Form& form) {
    if (state().running && !state().ended && !isOwnWindow(form)) ChiudiProgramma(false);
}

void endProgram(int code) {
    ProgramState& s = state();
    if (s.ended) return;
    s.ended = true;
    s.running = false;
    s.exitCode = code;
    gbInChiusura = true;
    ui::Desktop& d = ui::desktop();
    if (s.watcher) d.removeObserver(s.watcher.get());
    auto forms = d.loadedForms();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        try {
            (*it)->unload(ui::UnloadMode::Code);
        } catch (const std::exception&) {
            // The program ends anyway; a window that cannot unload is dropped with it.
        }
    }
    if (!gsConnDbMenu.empty()) goDbase().ChiudiConnessione(gsConnDbMenu);
    if (!gsIdDbase.empty()) goDbase().ChiudiConnessione(gsIdDbase);
    gsConnDbMenu.clear();
    gsIdDbase.clear();
    goMenuClient.reset();
    if (programHooks().quit) programHooks().quit(code);
}

// Shows the reason and ends the program: during the start-up by leaving it, later at once.
[[noreturn]] void fatal(const std::string& text) {
    ui::MsgBox(text, ui::msgbox::Critical);
    if (state().running) endProgram(1);
    throw FineProgramma(1);
}

void closeCheck() {
    frmPrincipale* p = mainWindow();
    if (!p || state().ended) return;
    // A modal window is up: the close waits ("Maschera Modal") and the timer tries again at
    // its usual pace, not at the 1 ms of the first check.
    if (ui::desktop().modalDepth() > 0) {
        p->timChiudi.setInterval(p->oiTmpAttesa);
        return;
    }
    if (!anyWindowLeft()) {
        endProgram(0);
        return;
    }
    if (state().endAsked) {
        endProgram(0);
        return;
    }
    p->oiChiudi = 0;
    p->timChiudi.setInterval(p->oiTmpAttesa);
}

void showConnection(const std::string& caption) {
    frmConn& conn = ui::desktop().load<frmConn>();
    conn.labMessaggio.setCaption(caption);
    conn.show();
}

void hideConnection() {
    if (frmConn* conn = ui::desktop().find<frmConn>()) conn->unload();
}

std::string databasePath(const std::string& drive, const std::string& name) {
    bool absolute =
        name.rfind('\\', 0) == 0 || name.rfind('/', 0) == 0 || (name.size() > 1 && name[1] == ':');
    if (absolute || drive.empty()) return name;
    char last = drive.back();
    return (last == '\\' || last == '/') ? drive + name : drive + "\\" + name;
}

// The primary connection: the common database named by section "Menu" becomes current.
void openPrimaryDatabase() {
    std::string name, drive, connect;
    LeggiIni("Menu", "NomeDB", "", name);
    LeggiIni("Menu", "DriveDB", "", drive);
    LeggiIni("Menu", "Connect", "", connect);
    if (Trim(name).empty()) fatal(std::string(kIniNonTrovato) + "\n" + kSistemare);
    showConnection("Connessione al database");
    std::string id = goDbase().ApriConnessione(databasePath(Trim(drive), Trim(name)), connect);
    hideConnection();
    if (id.rfind("Err: ", 0) == 0) fatal(id.substr(5) + "\n" + kSistemare);
    gsIdDbase = id;
}

void readWorkingValues() {
    MenuClient& menu = *goMenuClient;
    gsDescAzie = menu.Parametro("DescAzie").text();
    gsFileHelp = menu.Parametro("FileHelp").text();
    std::string login = menu.Parametro("SqlLogin").text();
    if (!login.empty()) goDbase().ImpostaValoreConnessione("DbSqlPubUID", login);
    std::string pwd = menu.Parametro("SqlPwd").text();
    if (!pwd.empty()) goDbase().ImpostaValoreConnessione("DbSqlPubPWD", pwd);
    const LibGenerale& lib = goLibGen();
    struct Colour {
        const char* name;
        long* target;
    };
    for (Colour c : {Colour{"ColGotFocus", &glColGotFocus}, Colour{"ColLostFocus", &glColLostFocus},
                     Colour{"ColErrore", &glColErrore}, Colour{"ColNormale", &glColNormale}}) {
        Variant v = menu.Parametro(c.name);
        if (!lib.EVuoto(v)) *c.target = lib.ValoreLong(v);
    }
    LeggiRisVidStampa();
    // A wrong session setting is told and the program goes on as the only session.
    if (std::string errore = LeggiSessioneTerminale(); !errore.empty())
        ui::MsgBox(errore, ui::msgbox::Exclamation);
}

MenuClientSettings menuSettings(const IniChoice& choice) {
    MenuClientSettings settings;
    settings.menuIni = choice.menuIni;
    if (!choice.fileIniComune.empty())
        settings.menuIniComune =
            (fs::path(choice.fileIniComune).parent_path() / "menu.ini").string();
    // The key lives beside the INI common to every terminal (the main INI when there is none).
    const std::string& common =
        choice.fileIniComune.empty() ? choice.fileIni : choice.fileIniComune;
    settings.keyFile = (fs::path(common).parent_path() / "tolvane.key").string();
    return settings;
}

void installHooks() {
    DbComuneHooks& hooks = dbComuneHooks();
    hooks.showConnectionWindow = showConnection;
    hooks.hideConnectionWindow = hideConnection;
    hooks.endProgram = [](const std::string& message) { fatal(message); };
    hooks.showMessage = [](const std::string& message) { ui::MsgBox(message); };
    setIniMessageHook([](const std::string& text, bool beep) {
        if (beep) ui::desktop().driver().beep();
        ui::MsgBox(text, ui::msgbox::Exclamation);
    });
}

}  // namespace

ProgramHooks& programHooks() {
    static ProgramHooks hooks;
    return hooks;
}

frmPrincipale* mainWindow() { return ui::desktop().find<frmPrincipale>(); }

bool AvviaProgramma(const CommandLine& riga) {
    ProgramState& s = state();
    s.running = false;
    s.ended = false;
    s.exitCode = 0;
    gbInChiusura = false;
    try {
        frmPrincipale& principale = ui::desktop().load<frmPrincipale>();
        principale.onChiudi = closeCheck;
        installHooks();

        std::optional<IniChoice> choice = SceltaFileIni(riga.iniFile);
        if (!choice) fatal(std::string(kIniNonTrovato) + "\n" + kSistemare);
        gsFileIni = choice->fileIni;
        gsFileIniComune = choice->fileIniComune;

        goMenuClient = std::make_unique<MenuClient>(menuSettings(*choice));
        goMenuClient->setEseguiComando(EseguiComando);
        LaunchParameters launch;
        launch.osParam = riga.paramForm;
        launch.osChiLancia = "Menu";
        launch.osTipoForm = riga.form;
        goMenuClient->Registra(riga.idMenu, riga.keyPrg, launch);

        openPrimaryDatabase();
        goMenuClient->setDatabase(&goDbase(), gsIdDbase);
        readWorkingValues();

        s.watcher = std::make_unique<WindowWatcher>();
        ui::desktop().addObserver(s.watcher.get());
        s.running = true;

        ApriFormArgs args;
        args.osKeySec = riga.keyPrg;
        args.osKeyLancia = riga.idMenu;
        args.osKeySecLancia = goMenuClient->ParLancio().osKeySecLancia;
        args.osParamLancia = goMenuClient->ParLancio().osParamLancia;
        args.osParam = riga.paramForm;
        if (!ApriForm(riga.form, args)) throw FineProgramma(1);
        if (s.ended) return false;

        ApriDbMenu();

        principale.oiTmpAttesa = 100;
        principale.timChiudi.setInterval(principale.oiTmpAttesa);
        principale.timChiudi.setEnabled(true);
        return true;
    } catch (const FineProgramma& e) {
        hideConnection();
        endProgram(e.exitCode());
        return false;
    } catch (const std::exception& e) {
        // Whatever failed, the program ends with its reason shown, never by an escaped error.
        auto* numbered = dynamic_cast<const NumberedError*>(&e);
        long number = numbered ? numbered->number() : goLibGen().NumeroErrore(e);
        ui::MsgBox("Errore(" + std::to_string(number) +
                       "): " + (numbered ? numbered->description() : std::string(e.what())) + "\n" +
                       kSistemare,
                   ui::msgbox::Critical);
        hideConnection();
        endProgram(1);
        return false;
    }
}

bool ApriForm(const std::string& psForm, const ApriFormArgs& args) {
    const FormOpener* opener = formRegistrata(psForm);
    if (!opener) {
        ui::MsgBox(kFormInesistente, ui::msgbox::Critical);
        return false;
    }
    (*opener)(args);
    return true;
}

void ChiudiProgramma(bool pbSubito) {
    if (pbSubito) {
        endProgram(0);
        return;
    }
    frmPrincipale* p = mainWindow();
    if (!p || state().ended) return;
    p->oiChiudi = 1;
    p->oiTmpAttesa = 100;
    p->timChiudi.setEnabled(false);
    p->timChiudi.setInterval(1);
    p->timChiudi.setEnabled(true);
}

bool FineDalMenu() {
    gbInChiusura = true;
    if (ui::desktop().modalDepth() > 0) {
        state().endAsked = true;
        ChiudiProgramma(false);
        return false;
    }
    endProgram(0);
    return true;
}

void ErroreCaricoForm(const std::optional<std::string>& pvDescrizione,
                      const std::optional<long>& pvNumero, const std::string& psPrima,
                      const std::string& psDopo, const std::exception* trapped) {
    std::string description;
    long number = 0;
    if (pvDescrizione) {
        description = *pvDescrizione;
    } else if (trapped) {
        description = trapped->what();
        if (auto* n = dynamic_cast<const NumberedError*>(trapped)) {
            description = n->description();
            if (!n->source().empty()) description += " - " + n->source();
        }
    }
    if (pvNumero) number = *pvNumero;
    else if (trapped) number = goLibGen().NumeroErrore(*trapped);
    std::string text = psPrima + "Errore(" + std::to_string(number) + "): " + description + psDopo;
    try {
        if (goMenuClient) goMenuClient->LeggiOpzione("MsgBox", "Tutti", text);
        else ui::MsgBox(text);
    } catch (const std::exception&) {
        ui::MsgBox(text);
    }
    try {
        hideConnection();
    } catch (const std::exception&) {
    }
}

void AttivaMenu(const std::string&) {
    if (!goMenuClient) return;
    try {
        goMenuClient->MostraMenu("Tutti");
        // The menu lives in this process: activating its process is already done.
        (void)goMenuClient->Parametro("MenuProcId");
    } catch (const std::exception&) {
        // Bringing the menu forward reports no error, as the menu may be busy.
    }
}

bool isOwnWindow(const ui::Form& form) {
    return equalText(form.name(), "frmPrincipale") || equalText(form.name(), "frmConn");
}

bool programmaTerminato() { return state().ended; }
int exitCode() { return state().exitCode; }

void resetProgramma() {
    ProgramState& s = state();
    if (s.watcher) ui::desktop().removeObserver(s.watcher.get());
    s = ProgramState{};
    goMenuClient.reset();
    gsIdDbase.clear();
    gsConnDbMenu.clear();
    gsFileIni.clear();
    gsFileIniComune.clear();
    giNumSessione = 0;
    gsModStampanteSessione.clear();
    gbInChiusura = false;
}

}  // namespace tolvane
