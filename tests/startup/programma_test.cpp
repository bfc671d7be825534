// Start-up paths, the menu's commands and the close of the program, on a real demo installation;
// where the program finds its INI files.
#include "startup/programma.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "common/globali.h"
#include "common/servizi_finestre.h"
#include "platform/ini_file.h"
#include "startup/comandi_menu.h"
#include "startup/demo_environment.h"
#include "startup/demo_menu.h"
#include "startup/file_ini.h"
#include "startup/form_registry.h"
#include "startup/frm_principale.h"
#include "suite/menu/menu_client.h"
#include "support/scoped_env.h"
#include "support/scratch_folder.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::testing {
namespace {

// A window that records how it was opened and what the menu asked of it.
class FormProva : public ui::Form {
  public:
    FormProva() : ui::Form("frmProva") {
        for (const char* member : {"PassaA", "DatRefresh"}) {
            expose(member, [this, member](std::vector<Variant>&) {
                calls.push_back(member);
                return Variant();
            });
        }
        expose("FEInvio", [this](std::vector<Variant>& args) {
            calls.push_back("FEInvio " + args.at(1).text());
            return Variant("ok");
        });
    }
    ApriFormArgs args;
    std::vector<std::string> calls;
};

class StartupTest : public ui::WindowTest {
  protected:
    void SetUp() override {
        resetProgramma();
        cancellaRegistroForm();
        env = buildDemoEnvironment(scratch.path() / "demo");
        writeDemoMenuIni(env.mainIni);
        instIni.emplace("TOLVANE_INST_INI", env.installIni.string());
        registraForm("frmProva", [](const ApriFormArgs& a) {
            FormProva& form = ui::desktop().load<FormProva>();
            form.args = a;
            form.show();
        });
    }
    void TearDown() override {
        if (!programmaTerminato()) ChiudiProgramma(true);
        resetProgramma();
        cancellaRegistroForm();
    }

    bool start(const std::string& commandLine) {
        return AvviaProgramma(parseCommandLine(commandLine));
    }

    ScratchFolder scratch;
    DemoEnvironment env;
    std::optional<ScopedEnv> instIni;
};

// Keywords in either case, with '=' or ':'.
TEST_F(StartupTest, StartOpensTheNamedWindowWithTheLaunchValues) {
    ASSERT_TRUE(start("/m:7 /P=CHIAVE extra parola /f= FRMPROVA /i=" + env.mainIni.string()));
    FormProva* form = ui::desktop().find<FormProva>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->visible());
    EXPECT_EQ(form->args.osKeySec, "CHIAVE");
    EXPECT_EQ(form->args.osKeyLancia, "7");
    EXPECT_EQ(form->args.osParam, "extra parola");
    EXPECT_FALSE(gsConnDbMenu.empty());
    EXPECT_EQ(gsFileIni, env.mainIni.string());
    ASSERT_TRUE(goMenuClient);
    EXPECT_TRUE(goMenuClient->registrato());
    EXPECT_EQ(gsDescAzie, "Rossi Forniture Industriali S.r.l.");
    ASSERT_NE(mainWindow(), nullptr);
    EXPECT_FALSE(mainWindow()->visible());
    EXPECT_TRUE(mainWindow()->timChiudi.enabled());
    EXPECT_EQ(ui::desktop().find<frmConn>(), nullptr) << "the connection window stays up";
}

TEST_F(StartupTest, StartFailuresEndTheProgramWithTheirMessage) {
    struct Case {
        const char* name;
        std::string commandLine;
        bool removeIni;
        const char* message;
    } cases[] = {
        {"missing main INI", "/F=frmProva", true, "File ini non trovato"},
        {"INI named on the line missing", "/F=frmProva /I=/nessun/file.ini", false,
         "Sistemare e rieseguire"},
        {"unknown window", "/F=frmNonEsiste", false, "La form richiesta e' inesistente"},
        {"no window", "", false, "La form richiesta e' inesistente"},
        {"window that fails to open", "/F=frmGuasta", false,
         "Errore(5): guasta\nSistemare e rieseguire"},
    };
    registraForm("frmGuasta", [](const ApriFormArgs&) { throw std::runtime_error("guasta"); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetProgramma();
        if (c.removeIni) std::filesystem::rename(env.mainIni, env.mainIni.string() + ".via");
        driver.answerMessage(c.message, 1);
        EXPECT_FALSE(start(c.commandLine));
        EXPECT_TRUE(programmaTerminato());
        EXPECT_EQ(exitCode(), 1);
        EXPECT_EQ(ui::desktop().find<FormProva>(), nullptr);
        EXPECT_EQ(driver.pendingSteps(), 0u) << driver.pendingDescription();
        if (c.removeIni) std::filesystem::rename(env.mainIni.string() + ".via", env.mainIni);
    }
}

TEST_F(StartupTest, SessionSettingComesFromTheEnvironmentElseTheTerminalIni) {
    struct Case {
        std::optional<std::string> env;
        const char* ini;  // nullptr: no key
        int session;
        const char* modello;
        const char* message;
    } cases[] = {
        {{}, nullptr, 0, "", nullptr},
        {{}, " 4 ; (sessione %\u00a7)", 4, "(sessione %\u00a7)", nullptr},
        {"7;-ts%\u00a7", "4;(sessione %\u00a7)", 7, "-ts%\u00a7", nullptr},
        {"", "5", 5, "", nullptr},
        {"tre;x", "4;y", 0, "", "Impostazione della sessione non valida: tre;x"},
        {{}, "-2;x", 0, "", "Impostazione della sessione non valida: -2;x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.env.value_or("-") + " / " + (c.ini ? c.ini : "-"));
        resetProgramma();
        ScopedEnv session("TOLVANE_SESSIONE", c.env);
        if (c.ini) IniFile::writeString(env.mainIni.string(), "Stampanti", "Sessione", c.ini);
        else IniFile::deleteKey(env.mainIni.string(), "Stampanti", "Sessione");
        if (c.message) driver.answerMessage(c.message, 1);
        ASSERT_TRUE(start("/F=frmProva"));
        EXPECT_EQ(giNumSessione, c.session);
        EXPECT_EQ(gsModStampanteSessione, c.modello);
        ChiudiProgramma(true);
    }
}

// The menu client is released at the end, yet not from under the call that delivered "fine".
TEST_F(StartupTest, FineWithoutModalWindowEndsAtOnceAndReleasesTheMenuClient) {
    ASSERT_TRUE(start("/M=7 /F=frmProva"));
    int quitCode = -1;
    programHooks().quit = [&](int code) { quitCode = code; };
    goMenuClient->setEseguiComando([](const std::string& psIdMenu, const std::string& psKeySec,
                                      const std::string& psCom, Variant& pvParam,
                                      Variant& pvRitComando) {
        EseguiComando(psIdMenu, psKeySec, psCom, pvParam, pvRitComando);
        EXPECT_TRUE(pvRitComando.isEmpty());
        pvRitComando = Variant(psIdMenu + " " + psCom);
    });
    EXPECT_EQ(goMenuClient->EseguiComando("", "FINE").text(), "7 FINE");
    EXPECT_TRUE(programmaTerminato());
    EXPECT_TRUE(gbInChiusura);
    EXPECT_EQ(quitCode, 0);
    EXPECT_EQ(goMenuClient, nullptr);
    EXPECT_TRUE(gsIdDbase.empty());
    programHooks().quit = nullptr;
}

TEST_F(StartupTest, FineWhileModalWindowIsUpWaitsForItADeferredCloseForEveryWindow) {
    ASSERT_TRUE(start("/F=frmProva"));
    Variant answer;
    driver.onForm("frmModale", [&](ui::Form& modal) {
        answer = goMenuClient->EseguiComando("", "fine");
        ui::desktop().fireTimers();  // the close timer retries while the window is up
        EXPECT_FALSE(programmaTerminato());
        EXPECT_EQ(mainWindow()->timChiudi.interval(), mainWindow()->oiTmpAttesa);
        modal.hide();
    });
    struct FormModale : ui::Form {
        FormModale() : ui::Form("frmModale") {}
    };
    ui::desktop().load<FormModale>().show(ui::ShowMode::Modal);
    EXPECT_EQ(answer.text(), kMascheraModal);
    EXPECT_FALSE(programmaTerminato());
    ui::desktop().fireTimers();
    EXPECT_TRUE(programmaTerminato());

    // A deferred close ends only when no window is left.
    resetProgramma();
    ASSERT_TRUE(start("/F=frmProva"));
    ChiudiProgramma(false);
    EXPECT_EQ(mainWindow()->oiChiudi, 1);
    EXPECT_EQ(mainWindow()->timChiudi.interval(), 1);
    ui::desktop().fireTimers();
    EXPECT_FALSE(programmaTerminato()) << "frmProva is still open";
    EXPECT_EQ(mainWindow()->oiChiudi, 0);
    EXPECT_TRUE(ui::user::close(*ui::desktop().find<FormProva>()));
    ui::desktop().fireTimers();
    EXPECT_TRUE(programmaTerminato());
}

TEST_F(StartupTest, MenuCommandsReachTheWindowsByNameAndLoadErrorsTheMenu) {
    ASSERT_TRUE(start("/F=frmProva"));
    FormProva& form = *ui::desktop().find<FormProva>();
    struct Case {
        const char* command;
        Variant param;
        const char* expectedCall;
        std::string expectedAnswer;
    } cases[] = {
        {"PrepPassaA", Variant(), "PassaA", ""},
        {"passaa", Variant("frmprova"), "PassaA", ""},
        {"passaa", Variant("frmAltra"), nullptr, ""},
        {"feinvio", Variant("fattura 12"), "FEInvio fattura 12", "ok"},
        {"esiste", Variant("frmProva"), nullptr, "Vero"},
        {"esiste", Variant("frmAltra"), nullptr, "Falso"},
        {"sconosciuto", Variant(), nullptr, ""},
        {"DatRefresh", Variant(), nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        form.calls.clear();
        Variant answer = goMenuClient->EseguiComando("", c.command, c.param);
        if (c.expectedCall) {
            ASSERT_EQ(form.calls.size(), 1u);
            EXPECT_EQ(form.calls[0], c.expectedCall);
        } else {
            EXPECT_TRUE(form.calls.empty());
        }
        EXPECT_EQ(answer.text(), c.expectedAnswer);
    }
    EXPECT_FALSE(programmaTerminato());

    // A window's load error is shown through the menu.
    driver.answerMessage("Caricamento\nErrore(13): Tipo non corrispondente - frmProva.", 1);
    NumberedError trapped(13, "Tipo non corrispondente", "frmProva");
    ErroreCaricoForm(std::nullopt, std::nullopt, "Caricamento\n", ".", &trapped);
    EXPECT_EQ(driver.pendingSteps(), 0u) << driver.pendingDescription();
    EXPECT_EQ(
        goMenuClient->requests().back(),
        "LeggiOpzione MsgBox|Tutti|Caricamento\nErrore(13): Tipo non corrispondente - frmProva.");
}

TEST(FileIniTest, InstallationIniPlaceFollowsTheEnvironmentMainIniTheLineOrTheInstallationIni) {
    struct Case {
        std::optional<std::string> inst, xdg, home;
        std::string expected;
    } cases[] = {
        {"/opt/x/Inst.ini", "/cfg", "/home/u", "/opt/x/Inst.ini"},
        {std::nullopt, "/cfg", "/home/u", "/cfg/tolvane/PelmorInst.ini"},
        {std::string(), std::nullopt, "/home/u", "/home/u/.config/tolvane/PelmorInst.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        ScopedEnv inst("TOLVANE_INST_INI", c.inst), xdg("XDG_CONFIG_HOME", c.xdg),
            home("HOME", c.home);
        EXPECT_EQ(installationIniPath(), c.expected);
    }

    // The main INI comes from the line or the installation INI, the others lie beside it.
    ScratchFolder dir;
    std::string main =
        dir.write("conf/pelmor.ini", "[Lista File Ini]\r\nIniComune=comune/pelmor.ini\r\n");
    std::string other = dir.write("altro.ini", "[Menu]\r\nNomeDB=x.db\r\n");
    std::string instIni = dir.write("PelmorInst.ini", "[Setup]\r\nIniPrincipale=" + main + "\r\n");
    struct Choice {
        const char* name;
        std::string instIni, line;
        std::optional<std::string> fileIni, comune;
    } choices[] = {
        {"from the installation INI", instIni, "", main, dir.file("conf/comune/pelmor.ini")},
        {"the line wins", instIni, other, other, ""},
        {"no installation INI", dir.file("nessuno.ini"), "", std::nullopt, std::nullopt},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.name);
        ScopedEnv env("TOLVANE_INST_INI", c.instIni);
        std::optional<IniChoice> choice = SceltaFileIni(c.line);
        ASSERT_EQ(choice.has_value(), c.fileIni.has_value());
        if (!choice) continue;
        EXPECT_EQ(choice->fileIni, *c.fileIni);
        EXPECT_EQ(choice->fileIniComune, *c.comune);
        EXPECT_EQ(choice->menuIni,
                  (std::filesystem::path(*c.fileIni).parent_path() / "menu.ini").string());
    }
}

}  // namespace
}  // namespace tolvane::testing
