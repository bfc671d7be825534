// The menu server stand-in: its cipher, working values, personal settings and the keeping of
// the e-mail settings in the INI files.
#include "suite/menu_client.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <thread>

#include "common/db_comune.h"
#include "db/gestore_db.h"
#include "platform/ini_file.h"
#include "platform/numbered_error.h"
#include "startup/demo_environment.h"
#include "startup/demo_menu.h"
#include "support/error_number.h"
#include "support/scratch_folder.h"

namespace tolvane::testing {
namespace {

class MenuClientTest : public ::testing::Test {
  protected:
    MenuClientTest() {
        env = buildDemoEnvironment(scratch.path() / "demo");
        menuIni = writeDemoMenuIni(env.mainIni).string();
        idDb = goDbase().ApriConnessione(env.commonDb.string());
        for (const char* row :
             {"'Griglia', 'Colonne', '', 'generale'", "'Griglia', 'Colonne', 'admin', 'mie'",
              "'Griglia', 'Righe', 'altro', '40'"}) {
            goDbase().EseguiSql(idDb, std::string("Insert Into Personalizzazioni (Sezione, Chiave, "
                                                  "Login, Valore) Values (") +
                                          row + ")");
        }
    }
    ~MenuClientTest() override { goDbase().ChiudiConnessione(idDb); }

    MenuClient makeClient(std::string commonIni = {}) {
        MenuClientSettings s;
        s.menuIni = menuIni;
        s.menuIniComune = std::move(commonIni);
        s.keyFile = scratch.file("demo/tolvane.key");
        s.db = &goDbase();
        s.idDbComune = idDb;
        return MenuClient(s);
    }

    ScratchFolder scratch;
    DemoEnvironment env;
    std::string menuIni;
    std::string idDb;
};

TEST_F(MenuClientTest, CryptRoundTripsKeepsTheKeyPrivateAndRefusesTamperedText) {
    MenuClient menu = makeClient();
    for (const std::string& plain :
         std::vector<std::string>{"", "segreto", "pàsswörd con spazi", std::string(500, 'x')}) {
        SCOPED_TRACE(plain);
        std::string a = menu.Parametro("crypt:" + plain).text();
        std::string b = menu.Parametro("crypt:" + plain).text();
        EXPECT_NE(a, b) << "every text gets its own nonce";
        if (!plain.empty()) EXPECT_EQ(a.find(plain), std::string::npos);
        EXPECT_EQ(menu.Parametro("pwddbazie:" + a).text(), plain);
    }
    struct stat st {};
    ASSERT_EQ(::stat(scratch.file("demo/tolvane.key").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 32);

    // A second client (another run) reads the same key.
    MenuClient again = makeClient();
    std::string text = menu.Parametro("crypt:ancora").text();
    EXPECT_EQ(again.Parametro("pwddbazie:" + text).text(), "ancora");

    std::string flipped = text;
    flipped[flipped.size() / 2] = flipped[flipped.size() / 2] == 'A' ? 'B' : 'A';
    for (const std::string& bad :
         {flipped, text.substr(0, 20), std::string("non base64 !!"), std::string("c2VncmV0bw==")}) {
        SCOPED_TRACE(bad);
        const NumberedError e = errorRaised([&] { menu.Parametro("pwddbazie:" + bad); });
        EXPECT_EQ(e.number(), errnum::InvalidCall);
        EXPECT_EQ(e.description(), "Testo cifrato non valido");
    }
    EXPECT_EQ(menu.Parametro("pwddbazie:").text(), "") << "a company without password";
}

TEST_F(MenuClientTest, NamedValuesComeFromTheMenuIniAndThePersonalTable) {
    MenuClient menu = makeClient();
    for (const auto& [name, expected] : std::vector<std::pair<std::string, std::string>>{
             {"Login", "admin"},
             {"login", "admin"},
             {"NomeDBAzie", "ditta_001.db"},
             {"NonEsiste", ""},
             {"Personal.Griglia.§Colonne", "mie"},
             {"Personal.Griglia.§Righe", kPersonalMancante},
             {"Personal.Altro.§Colonne", kPersonalMancante}})
        EXPECT_EQ(menu.Parametro(name).text(), expected) << name;
    menu.SetParametro("Login", "", Variant("altro"));
    EXPECT_EQ(menu.Parametro("Personal.Griglia.§Colonne").text(), "generale");
    EXPECT_EQ(menu.Parametro("Personal.Griglia.§Righe").text(), "40");
    EXPECT_EQ(menu.Terminale(), "DEMO");
}

TEST_F(MenuClientTest, EmailSettingsSavedAndDeletedByTheSelection) {
    std::string commonIni = scratch.file("comune/menu.ini");
    std::filesystem::create_directories(scratch.path() / "comune");
    MenuClient menu = makeClient(commonIni);
    menu.SetParametro("EmailServerSMTP", "", Variant("smtp.example"));
    menu.SetParametro("EmailPwd", "", Variant("pwd segreta"));
    menu.SetParametro("EmailNumPorta", "", Variant(static_cast<std::int16_t>(587)));
    menu.SetParametro("UsaPdfCreator", "", Variant("S"));

    // Single configuration: fields of configuration 0 only; 11 server, 15 password, 19 port.
    std::string selection = "g" + std::string(66, 'N');
    for (int n : {1, 11, 15, 19}) selection[static_cast<std::size_t>(n)] = 'S';
    menu.SetParametro("ScriviIniComuni", "", Variant("+" + selection + "V"));

    IniFile saved = IniFile::load(commonIni);
    EXPECT_EQ(saved.getString("Email", "EmailServerSMTP", "?"), "smtp.example");
    EXPECT_EQ(saved.getString("Email", "EmailNumPorta", "?"), "587");
    EXPECT_EQ(saved.getString("Email", "UsaPdfCreator", "?"), "S");
    std::string storedPwd = saved.getString("Email", "EmailPwd", "");
    EXPECT_FALSE(storedPwd.empty());
    EXPECT_EQ(storedPwd.find("segreta"), std::string::npos) << "password written in clear";
    EXPECT_FALSE(IniFile::load(menuIni).hasSection("Email")) << "'g' writes the common file";

    MenuClient later = makeClient(commonIni);
    EXPECT_EQ(later.Parametro("EmailPwd").text(), "pwd segreta");
    EXPECT_EQ(later.Parametro("EmailNumPorta").text(), "587");

    menu.SetParametro("ScriviIniComuni", "", Variant("-" + selection + "V"));
    EXPECT_FALSE(IniFile::load(commonIni).hasKey("Email", "EmailServerSMTP"));

    for (const std::string& bad :
         {std::string("+gV"), "*" + selection + "V", "+" + selection + "X"}) {
        EXPECT_THROW(menu.SetParametro("ScriviIniComuni", "", Variant(bad)), NumberedError);
    }
}

// Runs that start together share one key: none reads a key file that another is still writing.
TEST(SecretCipherTest, KeyFileIsMadeOnceWhenRunsStartTogether) {
    ScratchFolder scratch;
    for (int round = 0; round < 20; ++round) {
        std::string keyFile = scratch.file("chiave" + std::to_string(round));
        std::vector<std::string> texts(6), failures(6);
        std::vector<std::thread> runs;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            runs.emplace_back([&, i] {
                try {
                    texts[i] = SecretCipher(keyFile).encipher("segreto");
                } catch (const NumberedError& e) {
                    failures[i] = e.description();
                }
            });
        }
        for (std::thread& run : runs) run.join();
        SecretCipher later(keyFile);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            ASSERT_EQ(failures[i], "") << "round " << round;
            EXPECT_EQ(later.decipher(texts[i]), "segreto");
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()),
                                std::filesystem::directory_iterator()),
                  round + 1)
            << "no temporary key file is left behind";
    }
}

TEST(SecretCipherTest, KeyFileThatIsNotPrivateOrNotAKeyIsRefused) {
    ScratchFolder scratch;
    struct Case {
        const char* name;
        std::string bytes;
        std::filesystem::perms mode;
    } cases[] = {
        {"readable by the group", std::string(32, 'k'), std::filesystem::perms(0640)},
        {"truncated", std::string(10, 'k'), std::filesystem::perms(0600)},
        {"too long", std::string(33, 'k'), std::filesystem::perms(0600)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string keyFile = scratch.write(c.name, c.bytes);
        std::filesystem::permissions(keyFile, c.mode);
        const NumberedError e = errorRaised([&] { SecretCipher(keyFile).encipher("segreto"); });
        EXPECT_EQ(e.number(), errnum::FileAccess);
        EXPECT_NE(e.description().find(keyFile), std::string::npos) << e.description();
    }
    std::filesystem::create_directories(scratch.path() / "cartella");
    EXPECT_THROW(SecretCipher(scratch.file("cartella")).encipher("x"), NumberedError);
}

}  // namespace
}  // namespace tolvane::testing
