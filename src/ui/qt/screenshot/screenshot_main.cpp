// Draws one window of the demo into a PNG file, for reviewing layouts: the program starts on
// the demo environment with the window named on the command line, which is then grabbed.
// "frmMsgCom" draws a sample of the message window. Never answers a question on the user's
// behalf except to keep the drawing going.
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <cstdio>
#include <string>

#include "startup/command_line.h"
#include "startup/frm_aziende_demo.h"
#include "startup/programma.h"
#include "ui/desktop.h"
#include "ui/driver.h"
#include "ui/form.h"
#include "ui/qt/qt_front_end.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("uso: tolvane_screenshot FINESTRA FILE.png\n", stderr);
        return 2;
    }
    std::string name = argv[1];
    QString out = QString::fromLocal8Bit(argv[2]);
    QApplication app(argc, argv);
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

    tolvane::registraFinestreAvvio();
    tolvane::qt::QtFrontEnd frontEnd;
    std::vector<std::string> messages;
    frontEnd.setMessageAnswerer([&](const tolvane::ui::MessageRequest& r) {
        messages.push_back(r.text);
        return r.defaultButton;
    });
    tolvane::CommandLine line;
    line.form = name;
    if (!tolvane::AvviaProgramma(line)) {
        for (const std::string& m : messages) std::fprintf(stderr, "%s\n", m.c_str());
        return 1;
    }
    app.processEvents();
    tolvane::ui::Form* form = tolvane::ui::desktop().findForm(name);
    if (!form) {
        std::fprintf(stderr, "%s: finestra non aperta\n", name.c_str());
        tolvane::ChiudiProgramma(true);
        return 1;
    }
    QImage image = frontEnd.grab(*form);
    bool saved = image.save(out);
    tolvane::ChiudiProgramma(true);
    if (!saved) std::fprintf(stderr, "%s: scrittura non riuscita\n", argv[2]);
    return saved ? 0 : 1;
}
