// Where the program finds its INI files: the installation INI (TOLVANE_INST_INI, else
// $XDG_CONFIG_HOME/tolvane/PelmorInst.ini), its key "IniPrincipale", and the files beside the
// main INI. Never creates or writes a file.
#pragma once

#include <optional>
#include <string>

namespace tolvane {

// The installation INI: $TOLVANE_INST_INI when set, else $XDG_CONFIG_HOME/tolvane/PelmorInst.ini
// (~/.config when XDG_CONFIG_HOME is unset).
std::string installationIniPath();

struct IniChoice {
    std::string fileIni;        // the main INI (pelmor.ini)
    std::string fileIniComune;  // key "IniComune" of section "Lista File Ini", beside fileIni
    std::string menuIni;        // the menu's values for this terminal: menu.ini beside fileIni
};

// The main INI: the "I" keyword when given, else key "IniPrincipale" of section "Setup" of the
// installation INI (Windows paths mapped). nullopt when no such file exists.
std::optional<IniChoice> SceltaFileIni(const std::string& psFileIniRiga);

}  // namespace tolvane
