// Working values of the demo run: the administrator of the demo company logged in on this
// terminal. Never writes a password in clear: the demo has none to give.
#include "startup/demo_menu.h"

#include <fstream>

#include "platform/numbered_error.h"

namespace tolvane {

std::filesystem::path writeDemoMenuIni(const std::filesystem::path& mainIni) {
    std::filesystem::path file = mainIni.parent_path() / "menu.ini";
    if (std::filesystem::exists(file))
        throw NumberedError(errnum::FileAlreadyExists, "File gia' esistente: " + file.string(), "writeDemoMenuIni");
    std::ofstream out(file, std::ios::binary);
    out << "; Working values that the menu program hands to Tolvane on this terminal\n"
           "[Parametri]\n"
           "Login=admin\n"
           "Gruppo=ADMIN\n"
           "DescAzie=Rossi Forniture Industriali S.r.l.\n"
           "NomeDBAzie=ditta_001.db\n"
           "SqlLogin=\n"
           "SqlPwd=\n"
           "Terminale=DEMO\n";
    out.close();
    if (!out) throw NumberedError(errnum::FileAccess, "Impossibile scrivere " + file.string(),
                                  "writeDemoMenuIni");
    return file;
}

}  // namespace tolvane
