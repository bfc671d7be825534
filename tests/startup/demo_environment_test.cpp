// The demo installation, built from the shipped scripts: consistent data that fits the columns,
// never overwritten by a second build; the menu server stand-in on it: its cipher, working values,
// personal settings and the e-mail settings kept in the INI files.
#include "startup/demo_environment.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "common/db_comune.h"
#include "db/base_database.h"
#include "db/db_test_folder.h"
#include "db/gestore_db.h"
#include "platform/ini_file.h"
#include "platform/numbered_error.h"
#include "startup/demo_menu.h"
#include "suite/menu/menu_client.h"
#include "support/error_number.h"
#include "support/scoped_env.h"
#include "support/scratch_folder.h"

namespace tolvane::testing {
namespace {

namespace fs = std::filesystem;

const auto queryRows = dbtest::queryFile;
const auto queryText = dbtest::queryOne;

class DemoEnvironmentTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("TOLVANE_SOURCE_DIR", TOLVANE_SOURCE_DIR, 0);
        scratch_ = std::make_unique<ScratchFolder>();
        root_ = scratch_->path();
        env_ = buildDemoEnvironment(root_ / "demo");
    }
    static void TearDownTestSuite() { scratch_.reset(); }

    static inline std::unique_ptr<ScratchFolder> scratch_;
    static inline fs::path root_;
    static inline DemoEnvironment env_;
};

// The demo rows go into the company's copy only: the base company stays empty, of the same schema.
TEST_F(DemoEnvironmentTest, FilesHoldTheExpectedRows) {
    EXPECT_EQ(queryText(env_.companyDb, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(queryText(env_.baseCompanyDb, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(queryText(env_.baseCompanyDb, "SELECT COUNT(*) FROM Monete"), "0");
    EXPECT_EQ(schemaVersion(env_.companyDb), schemaVersion(env_.baseCompanyDb));
}

TEST_F(DemoEnvironmentTest, DemoDataFitsTheDeclaredSizesBatchInputsTheirLayouts) {
    const std::regex varchar(R"(VARCHAR\((\d+)\))", std::regex::icase);
    for (const fs::path& db : {env_.commonDb, env_.companyDb}) {
        auto columns = queryRows(db,
                                 "SELECT m.name, p.name, p.type FROM sqlite_schema m, "
                                 "pragma_table_info(m.name) p WHERE m.type = 'table'");
        ASSERT_FALSE(columns.empty());
        for (const auto& column : columns) {
            std::smatch size;
            if (!std::regex_search(column[2], size, varchar)) continue;
            std::string sql = "SELECT COUNT(*) FROM \"" + column[0] + "\" WHERE length(\"" +
                              column[1] + "\") > " + size[1].str();
            EXPECT_EQ(queryText(db, sql), "0")
                << db.filename() << " " << column[0] << "." << column[1] << " " << column[2];
        }
    }
    // Batch inputs match their layouts.
    for (const auto& file : env_.batchFiles) {
        std::string origin = file.filename().string();
        EXPECT_EQ(queryText(env_.commonDb,
                            "SELECT COUNT(*) FROM CaricaFile WHERE Origine = '" + origin + "'"),
                  "1")
            << origin;
    }
    std::ifstream fixed(env_.folder / "causali.txt");
    for (std::string line; std::getline(fixed, line);) EXPECT_EQ(line.size(), 45u) << line;
    EXPECT_EQ(queryText(env_.commonDb,
                        "SELECT MAX(Inizio + Lunghezza - 1) FROM CaricaDettaglio "
                        "WHERE Codice = 'CAUSALI'"),
              "45");
}

TEST_F(DemoEnvironmentTest, CompanyCodesReferToExistingRows) {
    auto accounts =
        queryRows(env_.companyDb,
                  "SELECT substr(name, 7) FROM pragma_table_info('TabCauCon') "
                  "WHERE name LIKE 'Gruppo%' AND name NOT IN ('GruppoClienti', 'GruppoFornitori')");
    EXPECT_EQ(accounts.size(), 31u);
    for (const auto& account : accounts) {
        const std::string& s = account[0];
        std::string sql =
            "SELECT COUNT(*) FROM TabCauCon t JOIN PianoConti p ON p.Gruppo = t.Gruppo" + s +
            " AND p.Mastro = t.Mastro" + s + " AND p.Conto = t.Conto" + s;
        EXPECT_EQ(queryText(env_.companyDb, sql), "1") << "account " << s;
    }
    EXPECT_EQ(
        queryText(
            env_.companyDb,
            "SELECT COUNT(*) FROM TabCauCon t JOIN Causali c ON c.Causale IN (t.CausFatt, "
            "t.CausNC, t.CausFattSosp, t.CausNCSosp, t.CausAnticipi, t.CausArr, t.CausOmaggi, "
            "t.CausIncasso, t.SaldaCauIncassi, t.SaldaCauPagamenti, t.CauChiuEco, "
            "t.CauChiuPatr, t.CauApertura, t.CausRit, t.CauGirIva)"),
        "15");

    const std::vector<std::string> mustBeZero = {
        "SELECT COUNT(*) FROM TabCauCon t WHERE NOT EXISTS (SELECT 1 FROM Mastri m "
        "WHERE m.Gruppo = t.GruppoClienti AND m.Mastro = t.MastroClienti)",
        "SELECT COUNT(*) FROM TabCauCon t WHERE t.CauChiuEco NOT IN "
        "(SELECT Causale FROM Causali WHERE TipoCausale = 'CH')",
        "SELECT COUNT(*) FROM TabCauCon t WHERE t.CauApertura NOT IN "
        "(SELECT Causale FROM Causali WHERE TipoCausale = 'AP')",
        "SELECT COUNT(*) FROM TabCauCon t WHERE t.SpesaCassaPrev NOT IN "
        "(SELECT Spesa FROM Spese WHERE CassaPrev = 'S')",
        "SELECT COUNT(*) FROM TabRiba t WHERE t.PagTipoCli NOT IN "
        "(SELECT PagTipo FROM PagTipi WHERE EmissEffetti = 'S')",
        "SELECT COUNT(*) FROM TabMagazzino t WHERE t.MagPrincipale NOT IN (SELECT Magazzino FROM "
        "Magazzini) "
        "OR t.ListinoPrincipale NOT IN (SELECT Listino FROM Listini)",
        "SELECT COUNT(*) FROM Listini WHERE Moneta NOT IN (SELECT Moneta FROM Monete)",
        "SELECT COUNT(*) FROM PianoConti p WHERE NOT EXISTS (SELECT 1 FROM Mastri m "
        "WHERE m.Gruppo = p.Gruppo AND m.Mastro = p.Mastro)",
        "SELECT COUNT(*) FROM MovPnDett d WHERE NOT EXISTS (SELECT 1 FROM PianoConti p WHERE "
        "p.Gruppo = d.GruppoPartita AND p.Mastro = d.MastroPartita AND p.Conto = d.ContoPartita)",
        "SELECT COUNT(*) FROM MovPnTes WHERE Causale NOT IN (SELECT Causale FROM Causali)",
        // every registration balances
        "SELECT COUNT(*) FROM (SELECT Anno, NumReg FROM MovPnDett GROUP BY Anno, NumReg "
        "HAVING SUM(CASE DareAvere WHEN 'D' THEN Importo ELSE -Importo END) <> 0)",
    };
    for (const auto& sql : mustBeZero) EXPECT_EQ(queryText(env_.companyDb, sql), "0") << sql;
}

// A second build is refused and changes nothing; a build that fails removes what it made.
TEST_F(DemoEnvironmentTest, FailedBuildLeavesNoFileOfItsOwn) {
    auto before = fs::last_write_time(env_.commonDb);
    EXPECT_EQ(errorOf([] { buildDemoEnvironment(env_.folder); }), 58);
    EXPECT_EQ(fs::last_write_time(env_.commonDb), before);
    EXPECT_EQ(queryText(env_.commonDb, "SELECT COUNT(*) FROM Aziende"), "1");

    struct Case {
        const char* brokenScript;
        int error;
    };
    const std::vector<Case> cases = {
        {"demo_company.sql", 3146},  // after both databases and the company copy exist
        {"common.sql", 53},          // before anything exists
    };
    std::string saved = std::getenv("TOLVANE_SOURCE_DIR");
    for (const auto& c : cases) {
        fs::path source = root_ / ("sorgente_" + std::string(c.brokenScript));
        fs::create_directories(source / "schema");
        fs::copy(fs::path(saved) / "schema", source / "schema", fs::copy_options::recursive);
        if (c.error == 53) {
            fs::remove(source / "schema" / c.brokenScript);
        } else {
            std::ofstream(source / "schema" / c.brokenScript) << "INSERT INTO Nessuna VALUES (1);";
        }
        fs::path target = root_ / ("fallita_" + std::string(c.brokenScript));
        const ScopedEnv sourceDir("TOLVANE_SOURCE_DIR", source.string());
        EXPECT_EQ(errorOf([&] { buildDemoEnvironment(target); }), c.error) << c.brokenScript;
        EXPECT_TRUE(fs::is_empty(target)) << c.brokenScript;
    }
}

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
        EXPECT_TRUE(plain.empty() || a.find(plain) == std::string::npos) << a;
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
