// A demo installation in a scratch folder, a scripted user and a clean program state for every
// start-up test. Never leaves the environment variable or a window behind.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include "startup/demo_environment.h"
#include "startup/demo_menu.h"
#include "startup/form_registry.h"
#include "startup/programma.h"
#include "support/scratch_folder.h"
#include "ui/controls.h"
#include "ui/desktop.h"
#include "ui/window_test.h"

namespace tolvane::testing {

// A window that records how it was opened and what the menu asked of it.
class FormProva : public ui::Form {
  public:
    FormProva() : ui::Form("frmProva"), txtCampo(add<ui::TextBox>("txtCampo")) {
        expose("PassaA", [this](std::vector<Variant>&) {
            calls.push_back("PassaA");
            return Variant();
        });
        expose("DatRefresh", [this](std::vector<Variant>&) {
            calls.push_back("DatRefresh");
            return Variant();
        });
        expose("FEInvio", [this](std::vector<Variant>& args) {
            calls.push_back("FEInvio " + args.at(1).text());
            return Variant("ok");
        });
    }
    ApriFormArgs args;
    std::vector<std::string> calls;
    ui::TextBox& txtCampo;
};

class FormModale : public ui::Form {
  public:
    FormModale() : ui::Form("frmModale") {}
};

class StartupTest : public ui::WindowTest {
  protected:
    void SetUp() override {
        resetProgramma();
        cancellaRegistroForm();
        env = buildDemoEnvironment(scratch.path() / "demo");
        writeDemoMenuIni(env.mainIni);
        ::setenv("TOLVANE_INST_INI", env.installIni.c_str(), 1);
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
        ::unsetenv("TOLVANE_INST_INI");
    }

    bool start(const std::string& commandLine) {
        return AvviaProgramma(parseCommandLine(commandLine));
    }

    ScratchFolder scratch;
    DemoEnvironment env;
};

}  // namespace tolvane::testing
