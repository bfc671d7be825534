// A print options dialog under test: a clean desktop with a scripted user, two INI files in a
// scratch folder, printers held in memory and a print's options object. Leaves no program-wide
// value behind.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/globali.h"
#include "printing/azienda_util_stampe.h"
#include "printing/frm_scelta_stam.h"
#include "suite/menu_client.h"
#include "suite/opz_stampa.h"
#include "support/memory_printing.h"
#include "support/scratch_folder.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::testing {

class SceltaStamTest : public ui::WindowTest, public MemoryPrinting {
  protected:
    SceltaStamTest() : opz("Elenco clienti") {
        gsFileIni = folder.file("pelmor.ini");
        gsFileIniComune = folder.file("comune.ini");
        giStaAtt = 0;
        giStampDefCambiata = 0;
        gdRisVidStampa = 0;
        FrmSceltaStam::extensions() = {};
    }
    ~SceltaStamTest() override {
        ui::desktop().reset();
        goMenuClient.reset();
        FrmSceltaStam::extensions() = {};
        gsFileIni.clear();
        gsFileIniComune.clear();
        giStaAtt = 0;
        giStampDefCambiata = 0;
        gdRisVidStampa = 0;
    }

    // A menu server stand-in whose named values the test sets.
    MenuClient& menu() {
        if (!goMenuClient) {
            MenuClientSettings s;
            s.menuIni = folder.file("menu.ini");
            s.menuIniComune = folder.file("menu_comune.ini");
            s.keyFile = folder.file("menu.key");
            goMenuClient = std::make_unique<MenuClient>(s);
        }
        return *goMenuClient;
    }

    // Loads the dialog, hands it the options and fills it as the list print dialog does, then
    // shows it (its activation runs).
    FrmSceltaStam& open() {
        FrmSceltaStam& form = ui::desktop().load<FrmSceltaStam>();
        form.ogOpzSta = &opz;
        EXPECT_TRUE(form.VisDecodOk());
        form.show();
        return form;
    }

    static std::vector<std::string> items(const ui::ComboBox& combo) {
        std::vector<std::string> out;
        for (const auto& item : combo.items()) out.push_back(item.text);
        return out;
    }

    static int rowOf(const ui::Grid& grid, const std::string& name) {
        for (int r = 1; r < grid.rows(); ++r)
            if (grid.textMatrix(r, 1) == name) return r;
        return -1;
    }

    ScratchFolder folder;
    OpzStampa opz;
};

}  // namespace tolvane::testing
