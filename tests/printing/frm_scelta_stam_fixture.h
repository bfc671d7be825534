// A print options dialog under test: a clean desktop with a scripted user, two INI files in a
// scratch folder, printers held in memory and a print's options object; for its PDF/e-mail side
// the panel plugged in, a menu server and a fixed clock. Leaves no program-wide value behind.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/globali.h"
#include "printing/azienda_util_stampe.h"
#include "printing/email_stampa.h"
#include "printing/frm_scelta_stam.h"
#include "printing/frm_scelta_stam_pdf_email.h"
#include "suite/menu/menu_client.h"
#include "suite/opzioni/opz_stampa.h"
#include "suite/stampa/motore_stampa.h"
#include "support/memory_printing.h"
#include "support/scratch_folder.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::testing {

// A menu server stand-in on INI files of the folder, whose named values the test sets.
inline MenuClient& installMenu(const ScratchFolder& folder) {
    MenuClientSettings s;
    s.menuIni = folder.file("menu.ini");
    s.menuIniComune = folder.file("menu_comune.ini");
    s.keyFile = folder.file("menu.key");
    goMenuClient = std::make_unique<MenuClient>(s);
    return *goMenuClient;
}

class SceltaStamTest : public ui::WindowTest, public MemoryPrinting {
  protected:
    SceltaStamTest() : opz("Elenco clienti") {
        reset();
        gsFileIni = folder.file("pelmor.ini");
        gsFileIniComune = folder.file("comune.ini");
    }
    ~SceltaStamTest() override {
        ui::desktop().reset();
        goMenuClient.reset();
        reset();
    }

    MenuClient& menu() { return goMenuClient ? *goMenuClient : installMenu(folder); }

    // Loads the dialog, hands it the options and fills it as the list print dialog does, then
    // shows it (its activation runs).
    FrmSceltaStam& open() {
        FrmSceltaStam& form = ui::desktop().load<FrmSceltaStam>();
        form.ogOpzSta = &opz;
        EXPECT_TRUE(form.VisDecodOk());
        form.show();
        return form;
    }
    // Every window gone, the scripted user still in place: the next open() starts afresh.
    void closeAll() {
        ui::desktop().reset();
        ui::desktop().setDriver(&driver);
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

  private:
    static void reset() {
        FrmSceltaStam::extensions() = {};
        gsFileIni.clear();
        gsFileIniComune.clear();
        giStaAtt = 0;
        giStampDefCambiata = 0;
        gdRisVidStampa = 0;
    }
};

class PdfEmailTest : public SceltaStamTest {
  protected:
    PdfEmailTest() {
        menu();
        registraPannelloPdfEmail();
        // Saturday 5 December 2026, 14:07:09.
        emailClock() = [] { return DateTime::fromParts(2026, 12, 5, 14, 7, 9); };
    }
    ~PdfEmailTest() override {
        emailClock() = {};
        goMotoreStampa = nullptr;
    }

    void set(const std::string& name, const Variant& value) {
        goMenuClient->SetParametro(name, "", value);
    }
    void set(std::initializer_list<std::pair<const char*, Variant>> values) {
        for (const auto& [name, value] : values) set(name, value);
    }
    Variant value(const std::string& name) { return goMenuClient->Parametro(name, ""); }
    // The settings' texts, as "name=text" lines, to compare many at once.
    std::string texts(std::initializer_list<const char*> names) {
        std::string out;
        for (const char* name : names) out += std::string(name) + "=" + value(name).text() + "\n";
        return out;
    }
    // Whole numbers of the settings are kept as 16-bit integers.
    static Variant whole(int n) { return Variant(static_cast<std::int16_t>(n)); }

    // The dialog open on the print's options, its parameters panel opened by its button.
    PdfEmailPanel& openPanel() {
        FrmSceltaStam& form = open();
        ui::user::click(*form.ComParIniPE);
        return pdfEmailPanel(form);
    }
};

}  // namespace tolvane::testing
