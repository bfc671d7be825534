// The common services that need a window: loading steps, focus colours, field focus, keys,
// help, hourglass, combo search, date check and the window members of the general library.
// Never keeps a window alive or draws: everything goes through the window model (src/ui).
#pragma once

#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane {

// Program-wide values read by these services; the start-up fills them.
inline bool gbInvioPassa = false;    // Enter reaches the fields instead of being dropped
inline std::string gsPuntoDecimale;  // "S": the keypad's point types a decimal comma
inline std::string gsTastiCtrl;      // Ctrl+letters let through ("" lets all through)
inline std::string gsFileHelp;       // the program's help file
inline std::string gsDescAzie;       // company description shown in window captions
inline double gdRisVid = 0;          // program-wide zoom of the windows; <= 0 means none
// Toolbar command of the list windows per key (key code, shift state), filled by the list
// windows' module; TastiComandiLista hands the command to the window's "ButtonComando".
inline std::map<std::pair<int, int>, std::string> gmTastiComandiLista;

// Common start of loading a window: key preview on, the fields' colours, the caption with the
// company description and the suffix, the screen adaptation (factor -2).
void InizioCaricoForm(ui::Form& form, const std::string& psSuffisso = {});
// Common end of loading a window: the hourglass is put back.
void FineCaricoForm(ui::Form& form);

// Screen adaptation: the window is drawn at the factor, which is returned: -1 as designed (1);
// -2 the program-wide factor of the window's key osRisVidKey ("StaVid": gdRisVidStampa, else
// gdRisVid), none when that is 0 or below; 0 or below: none. The controls treated apart keep
// what their entries say (name, designed size and font, 1 designed place or 2 zoomed place).
double AdattaRisVid(ui::Form& form, double pdFattore = -2, int piOpzione = 0,
                    std::vector<ui::ZoomApart> pvControlli = {});

// True: saves the pointer and shows the hourglass, unless it already shows; False: puts the
// saved pointer back. Calls do not nest.
void Clessidra(bool pbAttiva);

// Runs an event's work and traps its run-time errors: the hourglass goes off and the error is
// shown (by mostra, else by the message window's MsgErrfrm); the event ends there. The scripted
// driver's UnexpectedWindow is no run-time error and goes through.
void ConTrappola(const std::function<void()>& lavoro,
                 const std::function<void(const std::exception&)>& mostra = {});

// Selects the whole text of the active text box.
void EvidenziaCampo();
// Focus colours of the fields (text and combo boxes). The error colour is never overwritten
// unless pbForza says so.
void ColoreGotFocus(ui::Control& field, bool pbForza = false);
void ColoreLostFocus(ui::Control& field, bool pbForza = false);

// Index of the first item whose text begins with the value (case ignored), -1 when none or
// when the value is empty (then nothing is touched). pbSeleziona selects the item found;
// with pbSelezionaSempre too, nothing found clears the choice.
int CercaInCombo(ui::ComboBox& combo, const std::string& pvValore, bool pbSeleziona = false,
                 bool pbSelezionaSempre = false);
int CercaInCombo(ui::ComboBox& combo, const ui::TextBox& pvValore, bool pbSeleziona = false,
                 bool pbSelezionaSempre = false);

// The common key-press filter: returns the character code to use (and stores it in KeyAscii).
int FiltraKeyAscii(int KeyAscii);
int FiltraKeyAscii(ui::Form& form, int& KeyAscii);
// The common key-down handler: F1 help, Ctrl keys refused unless gsTastiCtrl lets them
// through, Ctrl+F find and Ctrl+H replace in the active text box. A result above 0 means that
// the key was taken (its KeyCode becomes 0).
int GestTastiForm(int& KeyCode, int& Shift, ui::Form& form);
// Keys of the toolbar commands of list windows: the command of the key goes to the window's
// toolbar button of that key, or else to the window's member "ButtonComando".
void TastiComandiLista(ui::Form& form, int& KeyCode, int Shift);
// Moves the focus to the next control in tab order of the active window (previous with Shift).
void TastiCampo(int KeyCode, int Shift);
// F1 topic of the active control (else the window), Ctrl+F1 contents, Alt+F1 index;
// true when the key was handled.
bool GestTastoF1(ui::Form& form, int KeyCode, int Shift, bool pbFlag = true);
// Focus to txt(index) of the window, pending events through, then that field's key-up.
void FocusPerHelp(ui::Form& form, int piIndice, int KeyCode, int Shift = 0);

// The columns a user chose for the look-up list of a kind of code: the personal setting of
// section "HelpRic" whose key is the kind ("Conto", "PagTipo", ...), names separated by ",";
// the kind's own columns when not set.
std::string ColonnePersonaliRicerca(const std::string& psTipo);
// Opens the look-up list of the kind, within the filter, for the field and its description
// label, with the user's columns; answers whether a row was picked. Needs goDecodifiche.
bool PreparaHelpRic(const std::string& psTipo, const std::string& psFiltro, ui::TextBox& txt,
                    ui::Label* lab);

// The common check of a date field on leaving it. Empty is right; a date is rewritten as
// dd/mm/yyyy; a date below the lower limit noted in the window caption ("|<" date ">|", the
// first date when several are noted, ";" between them) shows "Data troppo piccola". Wrong: the
// error colour; right: the colour given, else glColNormale. Returns whether the date is right.
bool VerificaCampoData(ui::TextBox& field, int piOpz1 = -2, int piOpz2 = 1,
                       const std::optional<long>& plColore = std::nullopt, int piOpz3 = 0);

// Members of the general library that work on windows.
// Focus to the field, or to the first field of a page (frame or picture box) that can take it;
// a field that cannot take it hands over to the first of its page. Never raises.
void PrimoCampo(ui::Control& target, bool pbMostra = true);
// Prepares a field that just took the focus: its whole text selected.
void ImpostaCampoFocus(ui::TextBox& field, int piTipo = 0);
// The first control of the form (creation order) whose back colour is plColore; nullptr: none.
ui::Control* CampoInErrore(ui::Form& form, long plColore);
// Shows the window (modally with pbModale), bringing it forward when it is already shown.
void MostraForm(ui::Form& form, bool pbModale = false, int piOpz1 = 0, int piOpz2 = 0);
// The file name that a file dialog starts from for a field's text: a folder gets the pattern.
std::string CercaFile(const std::string& psPercorso, const std::string& psModello = "*.*");

// A trapped error in a message box with the exclamation icon: psPrima "Errore(" number "): "
// description [" - " source] psDopo.
void MostraErrore(const std::exception& error, const std::string& psPrima = {},
                  const std::string& psDopo = {});
void MostraErrore(const std::optional<std::string>& pvDescrizione,
                  const std::optional<long>& pvNumero, const std::string& psPrima,
                  const std::string& psDopo, const std::exception* trapped = nullptr);

}  // namespace tolvane
