// The program's lifecycle: the start-up in its fixed order, opening a window by name, the
// deferred and immediate close, and the services that every window calls at load and unload.
// Never draws and never blocks: windows show through the window model and its driver.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "startup/command_line.h"
#include "startup/form_registry.h"

namespace tolvane {

namespace ui {
class Form;
}

class frmPrincipale;

// What the front end lends to the lifecycle.
struct ProgramHooks {
    // The program has ended with this exit code: leave the event loop.
    std::function<void(int exitCode)> quit;
};
ProgramHooks& programHooks();

// Thrown to leave the start-up when the program must end (missing INI, unknown window);
// the message has been shown already.
class FineProgramma : public std::exception {
  public:
    explicit FineProgramma(int exitCode) : exitCode_(exitCode) {}
    int exitCode() const { return exitCode_; }
    const char* what() const noexcept override { return "FineProgramma"; }

  private:
    int exitCode_;
};

// Runs the start-up. Returns true when a window is open and the event loop must run; false
// when the program ended during the start-up (exitCode() then tells how).
bool AvviaProgramma(const CommandLine& riga);

// The hidden main window (loaded by the start-up; nullptr before).
frmPrincipale* mainWindow();

// Opens the window named psForm (trimmed, case ignored) through the window registry. An
// unknown name shows "La form richiesta e' inesistente" and returns false.
bool ApriForm(const std::string& psForm, const ApriFormArgs& args);

// False: the deferred close (checked by the close timer, refused while a modal window is up,
// ends the program when no window is left). True: the program ends at once.
void ChiudiProgramma(bool pbSubito);

// The menu's "fine": ends the program at once, or, while a modal window is up, returns false
// and leaves the close to the timer, which ends the program once no modal window is left.
bool FineDalMenu();

// Reports a failed window load through the menu ("Errore(" number "): " description) and
// unloads frmConn, ignoring errors.
void ErroreCaricoForm(const std::optional<std::string>& pvDescrizione,
                      const std::optional<long>& pvNumero, const std::string& psPrima,
                      const std::string& psDopo, const std::exception* trapped = nullptr);

// Brings the menu program to the front.
void AttivaMenu(const std::string& psChi = {});

// The program has ended (windows unloaded, objects released).
// The start-up's own hidden windows (frmPrincipale, frmConn), which never count as open work.
bool isOwnWindow(const ui::Form& form);
bool programmaTerminato();
int exitCode();

// Back to the state before the start-up: for tests that run it several times.
void resetProgramma();

}  // namespace tolvane
