// Where the program finds its INI files: the installation INI's place, the main INI it names
// or the one on the command line, and the files beside the main INI.
#include "startup/file_ini.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/scoped_env.h"
#include "support/scratch_folder.h"

namespace tolvane::testing {
namespace {

TEST(FileIniTest, InstallationIniPlaceFollowsTheEnvironment) {
    struct Case {
        std::optional<std::string> inst, xdg, home;
        std::string expected;
    } cases[] = {
        {"/opt/x/Inst.ini", "/cfg", "/home/u", "/opt/x/Inst.ini"},
        {std::nullopt, "/cfg", "/home/u", "/cfg/tolvane/PelmorInst.ini"},
        {std::string(), std::nullopt, "/home/u", "/home/u/.config/tolvane/PelmorInst.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        ScopedEnv inst("TOLVANE_INST_INI", c.inst), xdg("XDG_CONFIG_HOME", c.xdg),
            home("HOME", c.home);
        EXPECT_EQ(installationIniPath(), c.expected);
    }
}

TEST(FileIniTest, MainIniFromTheLineOrTheInstallationIni) {
    ScratchFolder dir;
    std::string main =
        dir.write("conf/pelmor.ini", "[Lista File Ini]\r\nIniComune=comune/pelmor.ini\r\n");
    std::string other = dir.write("altro.ini", "[Menu]\r\nNomeDB=x.db\r\n");
    std::string inst = dir.write("PelmorInst.ini", "[Setup]\r\nIniPrincipale=" + main + "\r\n");
    std::string broken =
        dir.write("Rotta.ini", "[Setup]\r\nIniPrincipale=" + dir.file("manca.ini") + "\r\n");
    struct Case {
        const char* name;
        std::string instIni, line;
        std::optional<std::string> fileIni, comune;
    } cases[] = {
        {"from the installation INI", inst, "", main, dir.file("conf/comune/pelmor.ini")},
        {"the line wins", inst, other, other, ""},
        {"named file missing", broken, "", std::nullopt, std::nullopt},
        {"no installation INI", dir.file("nessuno.ini"), "", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv env("TOLVANE_INST_INI", c.instIni);
        std::optional<IniChoice> choice = SceltaFileIni(c.line);
        ASSERT_EQ(choice.has_value(), c.fileIni.has_value());
        if (!choice) continue;
        EXPECT_EQ(choice->fileIni, *c.fileIni);
        EXPECT_EQ(choice->fileIniComune, *c.comune);
        EXPECT_EQ(choice->menuIni,
                  (std::filesystem::path(*c.fileIni).parent_path() / "menu.ini").string());
    }
}

}  // namespace
}  // namespace tolvane::testing
