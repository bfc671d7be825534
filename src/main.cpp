// Program entry: the menu's command line goes to the start-up, then the front end's event loop
// runs until the program ends. Also makes the demo environment (--make-demo FOLDER) and lists
// the windows that can be opened by name (--windows). Never opens a window itself.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "finestre_programma.h"
#include "platform/cups_printer_system.h"
#include "platform/numbered_error.h"
#include "startup/command_line.h"
#include "startup/demo_environment.h"
#include "startup/demo_menu.h"
#include "startup/form_registry.h"
#include "startup/programma.h"
#include "suite/stampanti/print_queue.h"

#ifdef TOLVANE_WITH_QT
#include "qt/qt_front_end.h"
#else
#include "startup/console_driver.h"
#endif

namespace {

int makeDemo(const char* folder) {
    if (!folder || !*folder) {
        std::fputs("uso: tolvane --make-demo CARTELLA\n", stderr);
        return 2;
    }
    try {
        tolvane::DemoEnvironment env =
            tolvane::buildDemoEnvironment(std::filesystem::absolute(folder));
        std::filesystem::path menu = tolvane::writeDemoMenuIni(env.mainIni);
        std::printf("%s\n%s\n%s\n", env.installIni.c_str(), env.mainIni.c_str(), menu.c_str());
        return 0;
    } catch (const tolvane::NumberedError& e) {
        std::fprintf(stderr, "Errore(%d): %s\n", e.number(), e.description().c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Errore: %s\n", e.what());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--make-demo") == 0)
        return makeDemo(argc >= 3 ? argv[2] : nullptr);
    tolvane::registraFinestreProgramma();
    if (argc >= 2 && std::strcmp(argv[1], "--windows") == 0) {
        for (const std::string& name : tolvane::formRegistrate()) std::printf("%s\n", name.c_str());
        return 0;
    }
    // The program prints through the machine's CUPS; tests install their own printers.
    tolvane::setPrinterSystem(std::make_shared<tolvane::CupsPrinterSystem>());
    tolvane::setPrintQueue(std::make_shared<tolvane::CupsPrintQueue>());
    tolvane::CommandLine riga = tolvane::parseCommandLine(tolvane::joinArguments(argc, argv));
#ifdef TOLVANE_WITH_QT
    return tolvane::qt::runProgram(argc, argv, [&] { return tolvane::AvviaProgramma(riga); });
#else
    // Without the Qt front end messages go to the terminal and no window can be worked in.
    tolvane::ConsoleDriver console;
    if (tolvane::AvviaProgramma(riga)) {
        std::fputs("Tolvane: costruito senza interfaccia grafica (TOLVANE_QT=OFF).\n", stderr);
        tolvane::ChiudiProgramma(true);
    }
    return tolvane::exitCode();
#endif
}
