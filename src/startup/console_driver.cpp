// Messages of a run without a display, on the standard error stream. Never blocks on input.
#include "startup/console_driver.h"

#include <cstdio>

#include "ui/desktop.h"
#include "ui/form.h"

namespace tolvane {

ConsoleDriver::ConsoleDriver() { ui::desktop().setDriver(this); }

ConsoleDriver::~ConsoleDriver() { ui::desktop().setDriver(nullptr); }

int ConsoleDriver::message(const ui::MessageRequest& request) {
    std::fprintf(stderr, "%s%s%s\n", request.title.empty() ? "" : request.title.c_str(),
                 request.title.empty() ? "" : ": ", request.text.c_str());
    return request.defaultButton;
}

void ConsoleDriver::runModal(ui::Form& form) {
    std::fprintf(stderr, "%s: finestra non disponibile senza interfaccia grafica\n",
                 form.name().c_str());
    form.hide();
}

ui::FileDialogAnswer ConsoleDriver::fileDialog(const ui::FileDialogRequest&) { return {}; }

std::optional<ui::Font> ConsoleDriver::fontDialog(const ui::FontDialogRequest&) {
    return std::nullopt;
}

std::optional<std::string> ConsoleDriver::inputBox(const ui::InputRequest&) { return std::nullopt; }

void ConsoleDriver::help(const ui::HelpRequest& request) {
    std::fprintf(stderr, "Guida: %s (%d)\n", request.file.c_str(), request.contextID);
}

void ConsoleDriver::beep() { std::fputc('\a', stderr); }

}  // namespace tolvane
