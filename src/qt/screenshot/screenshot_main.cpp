// Draws one window of the demo into a PNG file, for reviewing layouts: the program starts on
// the demo environment with the window named on the command line, which is then grabbed.
// "frmMsgCom" draws a sample of the message window; "NAME:N" chooses tab N (from 1) of the
// window's tab strip first, as a user would. The print windows, which no menu opens, are drawn
// on a sample list and options with two printers held in memory: "FrmSceltaStam:N" presses
// destination N (1 printer ... 4 fixed format; 5 presses "Par ini Pdf/Email", 6 opens the
// panel that saves the options), "FrmVedrixStampa" and "FrmVStampa" (the preview of the
// sample list). Never answers a question on the user's behalf except to keep the drawing going.
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "finestre_programma.h"
#include "platform/memory_printer_system.h"
#include "platform/text.h"
#include "printing/frm_scelta_stam.h"
#include "printing/frm_v_stampa.h"
#include "printing/frm_vedrix_stampa.h"
#include "qt/qt_front_end.h"
#include "startup/command_line.h"
#include "startup/programma.h"
#include "suite/opz_stampa.h"
#include "suite/vedrix_lista.h"
#include "ui/controls.h"
#include "ui/desktop.h"
#include "ui/driver.h"
#include "ui/form.h"
#include "ui/user_input.h"

namespace {

using tolvane::equalText;

bool isPrintWindow(const std::string& name) {
    return equalText(name, "FrmSceltaStam") || equalText(name, "FrmVedrixStampa") ||
           equalText(name, "FrmVStampa");
}

void samplePrinters() {
    auto printers = std::make_shared<tolvane::MemoryPrinterSystem>();
    tolvane::MemoryPrinterSystem::Entry ufficio;
    ufficio.info = {"Ufficio", "ipp://ufficio", "driver Ufficio"};
    ufficio.trays = {"Upper/Cassetto 1", "Manual/Alimentazione manuale"};
    ufficio.paperSizes = {"A4/A4", "Letter/Lettera", "Legal/Legale"};
    ufficio.paperInUse = 1;
    printers->addPrinter(ufficio);
    tolvane::MemoryPrinterSystem::Entry magazzino;
    magazzino.info = {"Magazzino", "ipp://magazzino", "driver Magazzino"};
    printers->addPrinter(magazzino);
    printers->setServerDefault("Ufficio");
    tolvane::setPrinterSystem(printers);
}

tolvane::VedrixLista& sampleList() {
    static tolvane::VedrixLista lista;
    lista.columns = {{"Codice", true}, {"Ragione sociale", true}, {"Città", true}};
    const char* citta[] = {"Milano", "Torino", "Bologna", "Napoli", "Verona"};
    lista.rows.clear();
    for (int i = 1; i <= 30; ++i) {
        lista.rows.push_back(
            {std::to_string(1000 + i), "Azienda di prova " + std::to_string(i), citta[i % 5]});
    }
    lista.printName = "Elenco aziende";
    lista.title = "Elenco aziende";
    lista.setPrintDialog(
        [] { return &tolvane::ui::desktop().instance<tolvane::FrmVedrixStampa>(); });
    return lista;
}

// Opens the print window of that name on the samples; the window to draw.
tolvane::ui::Form* openPrintWindow(const std::string& name, int choice) {
    namespace ui = tolvane::ui;
    samplePrinters();
    if (equalText(name, "FrmSceltaStam")) {
        static tolvane::OpzStampa opz("Elenco aziende");
        opz.ScriviParStampa("PaginaDa", tolvane::OpzStampa::kTipoAltro, tolvane::Variant(1L));
        opz.ScriviParStampa("PaginaA", tolvane::OpzStampa::kTipoAltro, tolvane::Variant(3L));
        auto& form = ui::desktop().load<tolvane::FrmSceltaStam>();
        form.ogOpzSta = &opz;
        if (!form.VisDecodOk()) return nullptr;
        form.show();
        if (choice >= 1 && choice <= 4) ui::user::click(form.OptStampaSu(choice - 1));
        if (choice == 5) ui::user::click(*form.ComParIniPE);
        if (choice == 6) ui::user::click(*form.ComSalOpz);
        return &form;
    }
    tolvane::VedrixLista& lista = sampleList();
    if (!lista.pressKey("Stampa")) return nullptr;
    auto& dialog = ui::desktop().instance<tolvane::FrmVedrixStampa>();
    if (equalText(name, "FrmVedrixStampa")) return &dialog;
    dialog.opzioni()->StaVid = tolvane::OpzStampa::kVideo;
    dialog.opzioni()->Fatt = 1;
    dialog.OptOrientamento(1).setValue(true);
    dialog.OptTipsta(0).setValue(true);
    ui::user::click(dialog.CmdStampa);
    return ui::desktop().findForm("FrmVStampa");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("uso: tolvane_screenshot FINESTRA FILE.png\n", stderr);
        return 2;
    }
    std::string name = argv[1];
    int tab = 0;
    if (auto colon = name.find(':'); colon != std::string::npos) {
        tab = std::atoi(name.c_str() + colon + 1);
        name.resize(colon);
    }
    QString out = QString::fromLocal8Bit(argv[2]);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    app.setQuitOnLastWindowClosed(false);

    if (name == "frmMsgCom") {
        tolvane::ui::MessageRequest sample;
        sample.source = tolvane::ui::MessageRequest::Source::MessageWindow;
        sample.text = "I valori sono stati memorizzati";
        sample.buttons = {"&Ok"};
        QWidget* dialog = tolvane::qt::makeMessageDialog(sample, nullptr);
        dialog->show();
        app.processEvents();
        bool saved = dialog->grab().toImage().save(out);
        delete dialog;
        return saved ? 0 : 1;
    }

    tolvane::registraFinestreProgramma();
    tolvane::qt::QtFrontEnd frontEnd;
    std::vector<std::string> messages;
    frontEnd.setMessageAnswerer([&](const tolvane::ui::MessageRequest& r) {
        messages.push_back(r.text);
        return r.defaultButton;
    });
    tolvane::CommandLine line;
    line.form = isPrintWindow(name) ? std::string("frmAziendeDemo") : name;
    if (!tolvane::AvviaProgramma(line)) {
        for (const std::string& m : messages) std::fprintf(stderr, "%s\n", m.c_str());
        return 1;
    }
    app.processEvents();
    tolvane::ui::Form* form = nullptr;
    if (isPrintWindow(name)) {
        try {
            form = openPrintWindow(name, tab);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
        }
        for (const std::string& m : messages) std::fprintf(stderr, "%s\n", m.c_str());
        tab = 0;
        app.processEvents();
    } else {
        form = tolvane::ui::desktop().findForm(name);
    }
    if (!form) {
        std::fprintf(stderr, "%s: finestra non aperta\n", name.c_str());
        tolvane::ChiudiProgramma(true);
        return 1;
    }
    if (tab > 0) {
        for (tolvane::ui::Control* c : form->controls()) {
            if (c->kind() != tolvane::ui::ControlKind::TabStrip) continue;
            try {
                tolvane::ui::user::chooseTab(static_cast<tolvane::ui::TabStrip&>(*c), tab);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s\n", e.what());
            }
            break;
        }
        app.processEvents();
    }
    QImage image = frontEnd.grab(*form);
    bool saved = image.save(out);
    tolvane::ChiudiProgramma(true);
    if (!saved) std::fprintf(stderr, "%s: scrittura non riuscita\n", argv[2]);
    return saved ? 0 : 1;
}
