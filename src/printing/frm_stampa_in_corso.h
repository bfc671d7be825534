// The print-in-progress window frmStampaInCorso: the page counter the engine writes, the stop
// button, and the e-mail login request the engine may make. Never stops a print by itself:
// it only asks the engine, which decides when the print ends.
#pragma once

#include <memory>
#include <string>

#include "platform/variant.h"
#include "suite/stampa/motore_stampa_lista.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class frmStampaInCorso : public ui::Form, public PrintProgressWindow {
  public:
    frmStampaInCorso();

    // Public variables.
    std::string osRisVidKey;
    double odRisVidVal = 0;
    std::string osKeySec;
    const std::shared_ptr<MotoreStampa>& ogStampa() const { return ogStampa_; }
    void ogStampa(std::shared_ptr<MotoreStampa> pgStampa) override {
        ogStampa_ = std::move(pgStampa);
    }

    ui::CommandButton& ComSTampa = add<ui::CommandButton>("ComSTampa");
    ui::Label& lblStamp = add<ui::Label>("lblStamp");
    ui::Label& LblPrePag = add<ui::Label>("LblPrePag");
    ui::Label& LblPag = add<ui::Label>("LblPag");
    ui::PictureBox& PicVusk = add<ui::PictureBox>("PicVusk");

    // Public procedures.
    void ComStampa_Click();
    Variant ChiediEmailLogPwd() override;
    // PassaParEmail with the window's engine as the current one.
    void handOverEmailSettings() override;

    ui::Form& window() override { return *this; }
    void Form_Load() override;
    void Form_Unload(bool& Cancel) override;

  private:
    std::shared_ptr<MotoreStampa> ogStampa_;
};

}  // namespace tolvane
