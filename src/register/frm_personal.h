// The personalisation editor frmPersonal: opens a company database, keeps the decoding service on
// it while open, and opens the list of the general or of the company's personal settings.
// Never leaves the decoding service or the company database open after its unload.
#pragma once

#include <string>

#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class frmPersonal : public ui::Form {
  public:
    frmPersonal();

    ui::Label& LabAzienda = add<ui::Label>("LabAzienda");
    ui::CommandButton& comGenerali = add<ui::CommandButton>("comGenerali");
    ui::CommandButton& comAzienda = add<ui::CommandButton>("comAzienda");
    ui::CommandButton& comChiudi = add<ui::CommandButton>("comChiudi");

    // The company database opened by ApriDBAzie, as goDbase keeps it.
    std::string osIdDbase;
    // Launch variables set by the opener.
    std::string osKeySec;
    std::string osKeyLancia;
    std::string osKeySecLancia;
    std::string osParamLancia;
    std::string osParam;

    // Opens the company database (WAL) and the decoding service on it. False, after a message,
    // when the database does not open.
    bool ApriDBAzie(const std::string& psNomeDb, const std::string& psConnect = {},
                    const std::string& psPwd = {});

    void Form_Load() override;
    void Form_Unload(bool& Cancel) override;
    void comGenerali_Click();
    void comAzienda_Click();
};

}  // namespace tolvane
