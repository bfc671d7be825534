// The terminal session setting: which session of a shared machine the program runs in, and how
// the print server names that session's printers. Read once at start-up; never written.
#pragma once

#include <string>

namespace tolvane {

// The setting "number;template", e.g. "3;(sessione %§)": the environment variable
// TOLVANE_SESSIONE when it is set and not empty, else the key "Sessione" of section "Stampanti"
// of the terminal INI (gsFileIni). It fills giNumSessione and gsModStampanteSessione; without
// it they are 0 and "". Returns "" when the setting was read, else a message for the user
// (the values are then 0 and "").
std::string LeggiSessioneTerminale();

}  // namespace tolvane
