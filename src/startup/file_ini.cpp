// Choice of the INI files at start-up. Never falls back to a guessed file: a main INI that
// does not exist is reported by the caller as "File ini non trovato".
#include "startup/file_ini.h"

#include <cstdlib>
#include <filesystem>

#include "platform/ini_file.h"
#include "platform/path_map.h"
#include "platform/text.h"

namespace tolvane {

namespace fs = std::filesystem;

std::string installationIniPath() {
    if (const char* over = std::getenv("TOLVANE_INST_INI"); over && *over) return over;
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = fs::path(home) / ".config";
    }
    return (base / "tolvane" / "PelmorInst.ini").string();
}

std::optional<IniChoice> SceltaFileIni(const std::string& psFileIniRiga) {
    std::string main = Trim(psFileIniRiga);
    if (main.empty()) {
        IniFile inst = IniFile::load(installationIniPath());
        main = Trim(inst.getString("Setup", "IniPrincipale", ""));
    }
    if (main.empty()) return std::nullopt;
    main = mapWindowsPath(main);
    std::error_code ec;
    if (!fs::is_regular_file(main, ec)) return std::nullopt;

    IniChoice choice;
    choice.fileIni = main;
    fs::path folder = fs::path(main).parent_path();
    std::string common = Trim(IniFile::load(main).getString("Lista File Ini", "IniComune", ""));
    if (!common.empty()) {
        fs::path p = mapWindowsPath(common);
        choice.fileIniComune = (p.is_absolute() ? p : folder / p).string();
    }
    choice.menuIni = (folder / "menu.ini").string();
    return choice;
}

}  // namespace tolvane
