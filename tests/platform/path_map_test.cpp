// Tests of the mapping of Windows paths to Linux paths, on a real folder tree.
// The drive and network roots are pointed at a scratch folder through the environment.
#include "platform/path_map.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/scoped_env.h"
#include "support/scratch_folder.h"

namespace tolvane {
namespace {

using testing::ScopedEnv;
using testing::ScratchFolder;

struct MapCase {
    const char* windows;
    std::string expected;
};

TEST(PathMap, MapsDrivesNetworkNamesAndCase) {
    ScratchFolder folder;
    const std::string c = folder.file("c");
    const std::string unc = folder.file("unc");
    const std::string home = folder.file("home");
    folder.write("c/Dati/Pelmor.MDB", "");
    folder.write("c/Dati/ditta01.mdb", "");
    folder.write("unc/SERVER/Condivisa/dir/file.txt", "");
    folder.write("work/Dati/Ditta01.mdb", "");
    const ScopedEnv driveC("TOLVANE_DRIVE_C", c + "/");
    const ScopedEnv uncRoot("TOLVANE_UNC_ROOT", unc);
    const ScopedEnv homeDir("HOME", home);
    const ScopedEnv noDriveD("TOLVANE_DRIVE_D", "");

    const std::vector<MapCase> cases = {
        {"", ""},
        {"/usr/lib/Non/Esiste", "/usr/lib/Non/Esiste"},
        {"c:\\DATI\\pelmor.mdb", c + "/Dati/Pelmor.MDB"},
        {"C:/dati/DITTA01.MDB", c + "/Dati/ditta01.mdb"},
        {"C:Dati\\ditta01.mdb", c + "/Dati/ditta01.mdb"},
        {"C:\\\\Dati\\\\\\ditta01.mdb", c + "/Dati/ditta01.mdb"},
        {"C:\\Manca\\Dati\\x.mdb", c + "/Manca/Dati/x.mdb"},
        {"C:\\dati\\", c + "/Dati/"},
        {"C:", c},
        {"\\dati\\pelmor.mdb", c + "/Dati/Pelmor.MDB"},
        {"\\\\server\\condivisa\\DIR\\File.txt", unc + "/SERVER/Condivisa/dir/file.txt"},
        {"D:\\Archivio\\x.mdb", home + "/.local/share/tolvane/drive_d/Archivio/x.mdb"},
        {"C:\\..\\..\\Dati\\.\\ditta01.mdb", c + "/Dati/ditta01.mdb"},
        {"\\\\server\\condivisa\\..\\..\\dir", unc + "/SERVER/Condivisa/dir"},
        {"dati\\DITTA01.mdb", "Dati/Ditta01.mdb"},
        {"..\\work\\dati", "../work/Dati"},
    };
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder.file("work"));
    for (const auto& k : cases) {
        EXPECT_EQ(mapWindowsPath(k.windows), k.expected) << k.windows;
    }
    std::filesystem::current_path(cwd);
}

}  // namespace
}  // namespace tolvane
