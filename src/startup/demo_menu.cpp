// Working values of the demo run: the administrator of the demo company logged in on this
// terminal. Never writes a password in clear: the demo has none to give.
#include "startup/demo_menu.h"

#include "platform/numbered_error.h"
#include "platform/save_file.h"

namespace tolvane {

std::filesystem::path writeDemoMenuIni(const std::filesystem::path& mainIni) {
    std::filesystem::path file = mainIni.parent_path() / "menu.ini";
    SaveFile::Options options;
    options.neverReplace = true;
    options.source = "writeDemoMenuIni";
    SaveFile out(file.string(), options);
    out.write(
        "; Working values that the menu program hands to Tolvane on this terminal\n"
        "[Parametri]\n"
        "Login=admin\n"
        "Gruppo=ADMIN\n"
        "DescAzie=Rossi Forniture Industriali S.r.l.\n"
        "NomeDBAzie=ditta_001.db\n"
        "SqlLogin=\n"
        "SqlPwd=\n"
        "Terminale=DEMO\n");
    if (!out.commit()) {
        throw NumberedError(errnum::FileAlreadyExists, "File gia' esistente: " + file.string(),
                            "writeDemoMenuIni");
    }
    return file;
}

}  // namespace tolvane
