// Tests of the program's INI services: which file a read comes from and which file a write,
// a key delete or a section delete goes to; failures reported through the message hook.
#include "common/ini_programma.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/globali.h"
#include "support/scratch_folder.h"

namespace tolvane {
namespace {

using testing::ScratchFolder;

// The two INI files of a test, installed as the program's terminal and common INI.
class IniProgrammaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gsFileIni = folder_.file("pelmor.ini");
        gsFileIniComune = folder_.file("comune.ini");
    }
    void TearDown() override {
        gsFileIni.clear();
        gsFileIniComune.clear();
        setIniMessageHook(nullptr);
    }
    void install(const std::string& terminal, const std::string& common) {
        folder_.write("pelmor.ini", terminal);
        folder_.write("comune.ini", common);
    }
    static std::string terminal() { return ScratchFolder::read(gsFileIni); }
    static std::string common() { return ScratchFolder::read(gsFileIniComune); }

    ScratchFolder folder_;
};

TEST_F(IniProgrammaTest, LeggiIniPrefersTerminalThenCommon) {
    install("[Opzioni Stampa]\r\nStaVid=1\r\nVuota=\r\n",
            "[opzioni stampa]\r\nstavid=2\r\nFatt=150\r\nVuota=x\r\n");
    for (auto [key, expected] :
         {std::pair{"StaVid", "1"}, {"FATT", "150"}, {"Vuota", ""}, {"NomeStampante", "def"}}) {
        std::string value = "old";
        LeggiIni("Opzioni Stampa", key, "def", value);
        EXPECT_EQ(value, expected) << key;
    }
    gsFileIniComune.clear();
    std::string value;
    LeggiIni("Opzioni Stampa", "Fatt", "def", value);
    EXPECT_EQ(value, "def") << "read the common INI although none is set";
}

struct WriteCase {
    const char* rule;
    std::string key;
    std::string value;
    int livello;
    bool cancellaSezione;
    bool cancellaChiave;
    bool toCommonFile;  // psFile names the common INI
    std::string terminal;
    std::string common;
};

TEST_F(IniProgrammaTest, ScriviIniChoosesFileByKeyAndLevel) {
    const std::string t = "[S]\r\nA=1\r\n[T]\r\nX=1\r\n";
    const std::string c = "[S]\r\nB=2\r\n[T]\r\nY=2\r\n";
    const std::vector<WriteCase> cases = {
        {"key held by the terminal INI", "a", "9", 2, false, false, false,
         "[S]\r\nA=9\r\n[T]\r\nX=1\r\n", c},
        {"key held only by the common INI", "b", "9", 1, false, false, false, t,
         "[S]\r\nB=9\r\n[T]\r\nY=2\r\n"},
        {"new key, level 1: terminal", "N", "9", 1, false, false, false,
         "[S]\r\nA=1\r\nN=9\r\n[T]\r\nX=1\r\n", c},
        {"new key, level 2: common", "N", "9", 2, false, false, false, t,
         "[S]\r\nB=2\r\nN=9\r\n[T]\r\nY=2\r\n"},
        {"file given wins over the key's place", "A", "9", 1, false, false, true, t,
         "[S]\r\nB=2\r\nA=9\r\n[T]\r\nY=2\r\n"},
        {"delete key where it is", "B", "", 1, false, true, false, t, "[S]\r\n[T]\r\nY=2\r\n"},
        {"delete missing key touches nothing", "Z", "", 1, false, true, false, t, c},
        {"delete section of the file given", "", "", 1, true, false, true, t, "[T]\r\nY=2\r\n"},
        {"delete section: terminal INI first", "", "", 1, true, false, false, "[T]\r\nX=1\r\n", c},
        {"delete section wins over delete key", "A", "", 1, true, true, false, "[T]\r\nX=1\r\n", c},
    };
    for (const auto& k : cases) {
        install(t, c);
        EXPECT_TRUE(ScriviIni("s", k.key, k.value, false, false, k.livello, k.cancellaSezione,
                              k.cancellaChiave, k.toCommonFile ? gsFileIniComune : ""))
            << k.rule;
        EXPECT_EQ(terminal(), k.terminal) << k.rule;
        EXPECT_EQ(common(), k.common) << k.rule;
    }
}

TEST_F(IniProgrammaTest, WithoutCommonIniEverythingGoesToTerminal) {
    install("[S]\r\n", "[S]\r\nB=2\r\n");
    gsFileIniComune.clear();
    EXPECT_TRUE(ScriviIni("S", "B", "9", false, false, 2));
    EXPECT_EQ(terminal(), "[S]\r\nB=9\r\n");
}

TEST_F(IniProgrammaTest, FailedWriteIsReportedOnlyWhenAsked) {
    std::vector<std::pair<std::string, bool>> shown;
    setIniMessageHook([&](const std::string& text, bool beep) { shown.emplace_back(text, beep); });
    const std::string nowhere = folder_.file("manca/pelmor.ini");

    EXPECT_FALSE(ScriviIni("S", "k", "v", false, false, 1, false, false, nowhere));
    EXPECT_TRUE(shown.empty()) << "a message without the message flag";

    EXPECT_FALSE(ScriviIni("S", "k", "v", true, true, 1, false, false, nowhere));
    ASSERT_EQ(shown.size(), 1u);
    const std::string& text = shown[0].first;
    EXPECT_TRUE(text.ends_with("NON RIUSCITO.")) << text;
    EXPECT_NE(text.find(nowhere), std::string::npos) << text;
    EXPECT_TRUE(shown[0].second);

    gsFileIni.clear();
    gsFileIniComune.clear();
    EXPECT_FALSE(ScriviIni("S", "k", "v", true));
    EXPECT_EQ(shown.size(), 2u) << "no INI at all must fail, not pass";
}

}  // namespace
}  // namespace tolvane
