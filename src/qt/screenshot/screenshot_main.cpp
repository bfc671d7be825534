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
#include <cstdio>
#include <cstdlib>
#include <string>

#include "finestre_programma.h"
#include "qt/qt_front_end.h"
#include "qt/screenshot/sample_print_windows.h"
#include "startup/command_line.h"
#include "startup/programma.h"
#include "ui/controls.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/user_input.h"

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
    tolvane::qt::useProgramLanguage();
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
    line.form = tolvane::qt::isSamplePrintWindow(name) ? std::string("frmAziendeDemo") : name;
    if (!tolvane::AvviaProgramma(line)) {
        for (const std::string& m : messages) std::fprintf(stderr, "%s\n", m.c_str());
        return 1;
    }
    app.processEvents();
    tolvane::ui::Form* form = nullptr;
    if (tolvane::qt::isSamplePrintWindow(name)) {
        try {
            form = tolvane::qt::openSamplePrintWindow(name, tab);
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
