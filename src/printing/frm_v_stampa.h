// The on-screen print preview FrmVStampa: shows the page the engine drew, pages forward by
// releasing the engine's wait, back through the page files it keeps, and scrolls a page larger
// than the window. Never draws a page itself and never leaves a page file behind at unload.
#pragma once

#include <memory>
#include <string>

#include "suite/stampa/motore_stampa_lista.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

class FrmVStampa : public ui::Form, public PrintPreviewWindow {
  public:
    FrmVStampa();
    // A preview dropped without its unload (the program ending at once) takes its pages along.
    ~FrmVStampa() override;

    // Public members.
    std::string osRisVidKey;
    bool obAttivo = false;
    double odRisVidVal = 0;
    std::string osKeySec;
    const std::shared_ptr<PagedPrintEngine>& ogStampa() const { return ogStampa_; }
    void ogStampa(std::shared_ptr<PagedPrintEngine> pgStampa) override;
    void SistImgFrecce() override;
    void Continua() override;

    // Toolbar.
    ui::PictureBox& PicTasti = add<ui::PictureBox>("PicTasti");
    ui::CommandButton& comEsci = add<ui::CommandButton>("comEsci", &PicTasti);
    ui::ControlArray<ui::Image> imaMuovi{*this, "imaMuovi"};
    ui::Label& labPage = add<ui::Label>("labPage", &PicTasti);
    ui::Label& LabMsg = add<ui::Label>("LabMsg", &PicTasti);
    // Viewing area.
    ui::PictureBox& PicPrinc = add<ui::PictureBox>("PicPrinc");
    ui::PictureBox& PicSec = add<ui::PictureBox>("PicSec", &PicPrinc);
    ui::ScrollBar& hscPosOri =
        add<ui::ScrollBar>("hscPosOri", nullptr, ui::ScrollBar::Orientation::Horizontal);
    ui::ScrollBar& vscPosVert =
        add<ui::ScrollBar>("vscPosVert", nullptr, ui::ScrollBar::Orientation::Vertical);
    ui::ImageList& ImlFrecce = add<ui::ImageList>("ImlFrecce");

    // Events.
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_Unload(bool& Cancel) override;
    void imaMuovi_Click(int Index);
    void comEsci_Click();

    ui::Form& window() override { return *this; }
    // Base name of this preview's page files ("" before an engine was set).
    const std::string& filePagine() const { return msFilePagine; }
    std::string fileDellaPagina(long plPagina) const;

  private:
    void DimensionaPagina();
    void SalvaPagina(long plPagina);
    void MostraPagina();
    void MemoriaEsaurita();
    void CancellaFilePagine() const;

    std::shared_ptr<PagedPrintEngine> ogStampa_;
    std::string msFilePagine;
    bool mbContinua = false;
    bool mbStop = false;
    int miPaginaDa = 0;
};

}  // namespace tolvane
