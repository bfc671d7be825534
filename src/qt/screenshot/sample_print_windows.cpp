// The print windows on a sample list of thirty companies and sample options: the list's print
// dialog, the preview and the options dialog with its destinations and panels. The printers are
// held in memory; the options are never saved.
#include "qt/screenshot/sample_print_windows.h"

#include <memory>
#include <string>

#include "platform/memory_printer_system.h"
#include "platform/text.h"
#include "printing/frm_scelta_stam.h"
#include "printing/frm_v_stampa.h"
#include "printing/frm_vedrix_stampa.h"
#include "suite/lista/vedrix_lista.h"
#include "suite/opzioni/opz_stampa.h"
#include "ui/controls.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/user_input.h"

namespace tolvane::qt {

namespace {

void samplePrinters() {
    auto printers = std::make_shared<MemoryPrinterSystem>();
    MemoryPrinterSystem::Entry ufficio;
    ufficio.info = {"Ufficio", "ipp://ufficio", "driver Ufficio"};
    ufficio.trays = {"Upper/Cassetto 1", "Manual/Alimentazione manuale"};
    ufficio.paperSizes = {"A4/A4", "Letter/Lettera", "Legal/Legale"};
    ufficio.paperInUse = 1;
    printers->addPrinter(ufficio);
    MemoryPrinterSystem::Entry magazzino;
    magazzino.info = {"Magazzino", "ipp://magazzino", "driver Magazzino"};
    printers->addPrinter(magazzino);
    printers->setServerDefault("Ufficio");
    setPrinterSystem(printers);
}

VedrixLista& sampleList() {
    static VedrixLista lista;
    lista.columns = {{"Codice", true}, {"Ragione sociale", true}, {"Città", true}};
    const char* citta[] = {"Milano", "Torino", "Bologna", "Napoli", "Verona"};
    lista.rows.clear();
    for (int i = 1; i <= 30; ++i) {
        lista.rows.push_back(
            {std::to_string(1000 + i), "Azienda di prova " + std::to_string(i), citta[i % 5]});
    }
    lista.printName = "Elenco aziende";
    lista.title = "Elenco aziende";
    lista.setPrintDialog([] { return &ui::desktop().instance<FrmVedrixStampa>(); });
    return lista;
}

}  // namespace

bool isSamplePrintWindow(const std::string& name) {
    return equalText(name, "FrmSceltaStam") || equalText(name, "FrmVedrixStampa") ||
           equalText(name, "FrmVStampa");
}

ui::Form* openSamplePrintWindow(const std::string& name, int choice) {
    samplePrinters();
    if (equalText(name, "FrmSceltaStam")) {
        // Each opening starts from the same options; the dialog keeps a pointer to them.
        static std::unique_ptr<OpzStampa> opz;
        opz = std::make_unique<OpzStampa>("Elenco aziende");
        opz->ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(1L));
        opz->ScriviParStampa("PaginaA", OpzStampa::kTipoAltro, Variant(3L));
        auto& form = ui::desktop().load<FrmSceltaStam>();
        form.ogOpzSta = opz.get();
        if (!form.VisDecodOk()) return nullptr;
        form.show();
        if (choice >= 1 && choice <= 4) ui::user::click(form.OptStampaSu(choice - 1));
        if (choice == 5) ui::user::click(*form.ComParIniPE);
        if (choice == 6) ui::user::click(*form.ComSalOpz);
        return &form;
    }
    VedrixLista& lista = sampleList();
    if (!lista.pressKey("Stampa")) return nullptr;
    auto& dialog = ui::desktop().instance<FrmVedrixStampa>();
    if (equalText(name, "FrmVedrixStampa")) return &dialog;
    dialog.opzioni()->StaVid = OpzStampa::kVideo;
    dialog.opzioni()->Fatt = 1;
    dialog.OptOrientamento(1).setValue(true);
    dialog.OptTipsta(0).setValue(true);
    ui::user::click(dialog.CmdStampa);
    return ui::desktop().findForm("FrmVStampa");
}

}  // namespace tolvane::qt
