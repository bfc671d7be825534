// The program's INI read and write services on the terminal INI and the common INI.
// Never shows a window itself and never leaves an INI half-written: IniFile replaces files whole.
#include "common/ini_programma.h"

#include <utility>

#include "common/globali.h"
#include "platform/ini_file.h"
#include "platform/numbered_error.h"
#include "platform/path_map.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

IniMessageHook& messageHook() {
    static IniMessageHook hook;
    return hook;
}

IniFile loadIni(const std::string& file) {
    return file.empty() ? IniFile() : IniFile::load(mapWindowsPath(file));
}

std::string chooseFile(const std::string& sezione, const std::string& chiave, int livello,
                       bool cancellaSezione, const std::string& psFile) {
    if (!psFile.empty()) return psFile;
    if (gsFileIniComune.empty()) return gsFileIni;
    const auto holds = [&](const std::string& file) {
        const IniFile ini = loadIni(file);
        return cancellaSezione ? ini.hasSection(sezione) : ini.hasKey(sezione, chiave);
    };
    if (holds(gsFileIni)) return gsFileIni;
    if (holds(gsFileIniComune)) return gsFileIniComune;
    return livello == 2 ? gsFileIniComune : gsFileIni;
}

}  // namespace

void LeggiIni(const std::string& sezione, const std::string& chiave, const std::string& predefinito,
              std::string& valore) {
    for (const std::string* file : {&gsFileIni, &gsFileIniComune}) {
        if (auto found = loadIni(*file).find(sezione, chiave)) {
            valore = std::move(*found);
            return;
        }
    }
    valore = predefinito;
}

bool ScriviIni(const std::string& sezione, const std::string& chiave, const std::string& valore,
               bool messaggio, bool suona, int livello, bool cancellaSezione, bool cancellaChiave,
               const std::string& psFile) {
    const std::string file = chooseFile(sezione, chiave, livello, cancellaSezione, psFile);
    try {
        if (file.empty()) {
            throw NumberedError(errnum::FileAccess, "Nessun file ini indicato", "ScriviIni");
        }
        const std::string path = mapWindowsPath(file);
        if (cancellaSezione) {
            IniFile::deleteSection(path, sezione);
        } else if (cancellaChiave) {
            IniFile::deleteKey(path, sezione, chiave);
        } else {
            IniFile::writeString(path, sezione, chiave, valore);
        }
        return true;
    } catch (const NumberedError& e) {
        if (messaggio && messageHook()) {
            const std::string what = cancellaSezione
                                         ? "cancellazione della sezione [" + sezione + "]"
                                         : "chiave " + chiave + " della sezione [" + sezione + "]";
            messageHook()(e.description() + "\n" + "Aggiornamento del file ini " + file + " (" +
                              what + ") NON RIUSCITO.",
                          suona);
        }
        return false;
    }
}

void setIniMessageHook(IniMessageHook hook) { messageHook() = std::move(hook); }

void LeggiRisVidStampa() {
    std::string zoom;
    LeggiIni("Risoluzione Video", "StaVid", "0", zoom);
    gdRisVidStampa = goLibGen().ValoreDouble(Variant(zoom));
}

}  // namespace tolvane
