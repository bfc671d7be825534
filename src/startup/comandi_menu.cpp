// Menu commands, compared without regard to case, delivered to the loaded windows by the
// names of their public members (Form::callByName). Never opens a window the menu did not name.
#include "startup/comandi_menu.h"

#include <vector>

#include "platform/numbered_error.h"
#include "platform/text.h"
#include "startup/programma.h"
#include "ui/desktop.h"

namespace tolvane {

namespace {

std::vector<ui::Form*> programWindows() {
    std::vector<ui::Form*> forms;
    for (ui::Form* form : ui::desktop().loadedForms())
        if (!isOwnWindow(*form)) forms.push_back(form);
    return forms;
}

ui::Form* windowNamed(const std::string& name) {
    if (Trim(name).empty()) return nullptr;
    ui::Form* form = ui::desktop().findForm(Trim(name));
    return form && form->loaded() ? form : nullptr;
}

void bringForward(ui::Form& form) {
    if (form.windowState() == ui::WindowState::Minimized)
        form.setWindowState(ui::WindowState::Normal);
    if (!form.isModal()) form.show();
}

// Only these reach the windows: the menu never runs any other member of a window by naming it.
bool takenByWindows(const std::string& command) {
    for (const char* name :
         {"keyprgprim", "keyprgsec", "paramprgclie", "comandoprgclie", "feinvio", "feattesa"})
        if (command == name) return true;
    return false;
}

void showFailure(const std::string& psCom, const std::exception& e) {
    long number = 0;
    std::string text = e.what();
    if (auto* n = dynamic_cast<const NumberedError*>(&e)) {
        number = n->number();
        text = n->description();
    }
    ui::MsgBox("Errore(" + std::to_string(number) + "): " + text, 48, psCom);
}

}  // namespace

void EseguiComando(const std::string& psIdMenu, const std::string& psKeySec,
                   const std::string& psCom, Variant& pvParam, Variant& pvRitComando) {
    (void)psIdMenu;
    std::string command = LCase(Trim(psCom));
    std::string target = Trim(pvParam.text());
    if (target.empty()) target = Trim(psKeySec);
    try {
        if (command == "fine") {
            if (!FineDalMenu()) pvRitComando = Variant(kMascheraModal);
        } else if (command == "esiste") {
            pvRitComando =
                Variant(pvParam.text().empty() || windowNamed(pvParam.text()) != nullptr);
        } else if (command == "ritornoa") {
            ui::Form* form = windowNamed(target);
            if (form) bringForward(*form);
            pvRitComando = Variant(form != nullptr);
        } else if (command == "attiva") {
            ui::Form* form = ui::desktop().activeForm();
            if (!form || isOwnWindow(*form)) {
                auto windows = programWindows();
                form = windows.empty() ? nullptr : windows.back();
            }
            if (form) bringForward(*form);
        } else if (command == "preppassaa") {
            for (ui::Form* form : programWindows())
                if (form->hasMember("PassaA")) form->callByName("PassaA");
        } else if (command == "passaa") {
            ui::Form* form = windowNamed(target);
            if (form && form->hasMember("PassaA")) pvRitComando = form->callByName("PassaA");
        } else if (takenByWindows(command)) {
            // The remaining commands belong to the windows that take them by name.
            for (ui::Form* form : programWindows()) {
                if (form->hasMember(Trim(psCom)))
                    pvRitComando = form->callByName(Trim(psCom), {Variant(psKeySec), pvParam});
            }
        }
    } catch (const FineProgramma&) {
        // The program has ended; nothing is left to report.
    } catch (const std::exception& e) {
        showFailure(psCom, e);
    }
}

}  // namespace tolvane
