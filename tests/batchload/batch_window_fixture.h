// The batch window on the test databases: a clean desktop with a scripted driver, the common
// database current when the window opens, the company database held by the company-data
// window, and layouts of table Prova marked for batch runs. Never leaves a window behind.
#pragma once

#include <chrono>

#include "batch_fixture.h"
#include "batchload/frm_carico_batch.h"
#include "batchload/frm_ric_val_base.h"
#include "companydata/frm_dati_azie.h"
#include "ui/desktop.h"
#include "ui/scripted_driver.h"
#include "ui/user_input.h"

namespace tolvane::batchtest {

class BatchWindowTest : public BatchTest {
  protected:
    void SetUp() override {
        ui::desktop().reset();
        BatchTest::SetUp();
        driver = std::make_unique<ui::ScriptedDriver>();
        driver->setFailureHook([](const std::string& text) { ADD_FAILURE() << text; });
        gsIdDbase = commonId;
        giStatoCarica = 0;
        gasGruppoIva = {};
        gasMastroIva = {};
        gasContoIva = {};
        gasCauNotaCred = {};
        ui::desktop().instance<frmDatiAzie>().osIdDbase = companyId;
    }
    void TearDown() override {
        driver.reset();
        ui::desktop().reset();
        BatchTest::TearDown();
    }

    // The window opened as the menu opens it; each progress step lets events through.
    frmCaricoBatch& open() {
        frmCaricoBatch& f = ui::desktop().load<frmCaricoBatch>();
        f.progressClock = [this] {
            now += std::chrono::milliseconds(100);
            return now;
        };
        f.DirCarica.setPath(folder.string());
        return f;
    }
    // Drops the windows left open, as a new start of the program would.
    void restart() {
        ui::desktop().reset();
        ui::desktop().setDriver(driver.get());
        ui::desktop().instance<frmDatiAzie>().osIdDbase = companyId;
    }
    bool closed() const { return ui::desktop().find<frmCaricoBatch>() == nullptr; }

    // A layout Prova by Codice;Descr;Num marked for batch runs, with its input file.
    void batchLayout(const std::string& code, const std::vector<std::string>& lines,
                     Columns more = {}) {
        bool batch = false;
        for (const auto& c : more) batch = batch || c.first == "batch";
        more.insert(
            more.begin(),
            {{"Tabella", "Prova"}, {"Separatore", "\\059"}, {"Modalita", "0"}, {"InsVaria", "I"}});
        if (!batch) more.emplace_back("batch", "S");
        layout(code, more);
        field(code, "Codice", {{"NumCampo", "1"}});
        field(code, "Descr", {{"NumCampo", "2"}});
        field(code, "Num", {{"NumCampo", "3"}, {"TipoDest", "Long"}});
        if (!lines.empty()) input(code + ".txt", lines);
    }
    std::vector<std::string> codes() const {
        std::vector<std::string> out;
        for (const auto& r : rows("SELECT Codice FROM Prova ORDER BY Codice")) out.push_back(r[0]);
        return out;
    }

    std::unique_ptr<ui::ScriptedDriver> driver;
    std::chrono::steady_clock::time_point now{};
};

}  // namespace tolvane::batchtest
