// The terminal session setting from the environment or the terminal INI.
// Never keeps half of a setting it refuses.
#include "common/sessione_terminale.h"

#include <cstdlib>

#include "common/globali.h"
#include "platform/ini_file.h"
#include "platform/text.h"

namespace tolvane {

std::string LeggiSessioneTerminale() {
    giNumSessione = 0;
    gsModStampanteSessione.clear();
    std::string valore;
    if (const char* env = std::getenv("TOLVANE_SESSIONE"); env != nullptr && *env != '\0') {
        valore = env;
    } else if (!gsFileIni.empty()) {
        valore = IniFile::load(gsFileIni).getString("Stampanti", "Sessione", "");
    }
    if (Trim(valore).empty()) return {};

    const auto separatore = valore.find(';');
    const std::string numero = Trim(valore.substr(0, separatore));
    const std::string modello =
        separatore == std::string::npos ? std::string() : Trim(valore.substr(separatore + 1));
    // A session number is a whole number, as printer names carry it.
    const bool valido = !numero.empty() && numero.size() <= 4 &&
                        numero.find_first_not_of("0123456789") == std::string::npos;
    if (!valido) {
        return "Impostazione della sessione non valida: " + valore +
               "\nScrivere il numero della sessione, poi ';' e il modello del nome delle "
               "stampanti (es. 3;(sessione %§))";
    }
    giNumSessione = std::atoi(numero.c_str());
    gsModStampanteSessione = modello;
    return {};
}

}  // namespace tolvane
