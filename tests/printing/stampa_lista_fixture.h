// A list print under test: a clean desktop with a scripted user, printers and a print queue
// held in memory, a list of companies with a hidden column, and the print flag wired as the
// list windows wire it. Leaves no program-wide value behind.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/globali.h"
#include "printing/azienda_util_stampe.h"
#include "printing/frm_stampa_in_corso.h"
#include "printing/frm_v_stampa.h"
#include "printing/frm_vedrix_stampa.h"
#include "suite/lista/vedrix_lista.h"
#include "suite/opzioni/opz_stampa.h"
#include "support/memory_printing.h"
#include "support/scratch_folder.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::testing {

// A list of companies with a hidden column, wired to the print flag as the list windows wire it.
inline void listOfCompanies(VedrixLista& lista, int rows) {
    lista.columns = {{"Codice", true}, {"Descrizione", true}, {"Nascosta", false}};
    for (int i = 1; i <= rows; ++i) {
        lista.rows.push_back(
            {std::to_string(i), "Azienda " + std::to_string(i), "x" + std::to_string(i)});
    }
    lista.printName = "Elenco aziende";
    lista.title = "Elenco aziende";
    lista.oiStaAtt = [](int value) { giStaAtt = value; };
}

// The owner window's load and the list's "Stampa" key.
inline FrmVedrixStampa& openListDialog(VedrixLista& lista) {
    lista.setPrintDialog([] { return &ui::desktop().instance<FrmVedrixStampa>(); });
    EXPECT_TRUE(lista.pressKey("Stampa"));
    return ui::desktop().instance<FrmVedrixStampa>();
}

class StampaListaTest : public ui::WindowTest, public MemoryPrinting {
  protected:
    StampaListaTest() {
        reset();
        addPrinter("Ufficio", "ipp://ufficio");
        printers->setServerDefault("Ufficio");
        listOfCompanies(lista, 200);
    }
    ~StampaListaTest() override {
        ui::desktop().reset();
        reset();
    }

    FrmVedrixStampa& openDialog() { return openListDialog(lista); }
    // The dialog open with both choices made (portrait, visible columns) for a destination.
    FrmVedrixStampa& dialogFor(int staVid) {
        FrmVedrixStampa& dialog = openDialog();
        dialog.opzioni()->StaVid = staVid;
        dialog.OptOrientamento(1).setValue(true);
        dialog.OptTipsta(0).setValue(true);
        return dialog;
    }
    FrmVStampa& preview() { return ui::desktop().instance<FrmVStampa>(); }
    // Files of the preview's base name that are on disk.
    static std::vector<std::string> pageFiles(const std::string& base) {
        std::vector<std::string> out;
        if (base.empty()) return out;
        std::filesystem::path path(base);
        for (const auto& entry : std::filesystem::directory_iterator(path.parent_path())) {
            std::string name = entry.path().filename().string();
            if (name.rfind(path.filename().string() + ".", 0) == 0) out.push_back(name);
        }
        return out;
    }

    ScratchFolder folder;
    VedrixLista lista;

  private:
    static void reset() {
        giStaAtt = 0;
        giStampDefCambiata = 0;
        gdRisVidStampa = 0;
        gsFileIni.clear();
        gsFileIniComune.clear();
    }
};

}  // namespace tolvane::testing
