// Creating a company: the next identifier, the file copied from the base, the register row, the
// data form and the batch window opened on the new database, and refusals that store nothing.
#include "register/frm_crea_azi.h"

#include <gtest/gtest.h>

#include <functional>

#include "batchload/frm_carico_batch.h"
#include "platform/ini_file.h"
#include "register/company_register.h"
#include "register/frm_tolvane.h"
#include "register_fixture.h"
#include "support/error_number.h"
#include "support/scoped_env.h"
#include "ui/ui_constants.h"

namespace tolvane::testing {
namespace {

class FrmCreaAziTest : public RegisterTest {
  protected:
    void fill(frmCreaAzi& f, const std::string& code, const std::string& description) {
        ui::user::fill(f.txtCodice, code);
        ui::user::fill(f.txtDescrizione, description);
    }
    int companies() { return std::stoi(common("SELECT COUNT(*) FROM Aziende")); }
    int filesInFolder() {
        int n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(env.folder)) {
            n += entry.path().extension() == ".db" ? 1 : 0;
        }
        return n;
    }
};

TEST(NextCompanyId, IsOneAboveTheHighestNumericIdentifierElseTheLowestFree) {
    struct Case {
        std::vector<std::string> ids;
        std::string next;
    };
    for (const Case& c : std::vector<Case>{{{}, "001"},
                                           {{"001", "003"}, "004"},
                                           {{"abc", "010", ""}, "011"},
                                           {{"099", "7"}, "100"},
                                           {{"1234", "002"}, "003"}}) {
        std::vector<CompanyRow> rows(c.ids.size());
        for (std::size_t i = 0; i < c.ids.size(); ++i) {
            rows[i].Codice = "C" + c.ids[i];
            rows[i].IdAzienda = c.ids[i];
        }
        EXPECT_EQ(nextCompanyId(rows), c.next) << ::testing::PrintToString(c.ids);
    }
    std::vector<CompanyRow> full(999);
    for (int n = 1; n <= 999; ++n) full[n - 1].IdAzienda = std::to_string(n);
    EXPECT_EQ(errorOf([&] { nextCompanyId(full); }), 6) << "every identifier in use gave one";
    full.erase(full.begin() + 499, full.begin() + 501);  // 500 and 501 left free
    EXPECT_EQ(nextCompanyId(full), "500") << "999 in use hid the free identifiers below it";
}

// A read-only base file still gives a company database its owner can write.
TEST_F(FrmCreaAziTest, CreationCopiesTheBaseAddsTheRowAndOpensTheDataFormAndTheBatchWindow) {
    namespace fs = std::filesystem;
    fs::permissions(env.baseCompanyDb, fs::perms::owner_read | fs::perms::group_read);
    frmTolvane& grid = open<frmTolvane>();
    frmCreaAzi& f = open<frmCreaAzi>();
    EXPECT_EQ(f.txtIdAzienda.text(), "002");
    EXPECT_EQ(f.txtNomeDB.text(), (env.folder / "ditta_002.db").string());
    const fs::path file = env.folder / "ditta_005.db";
    ui::user::fill(f.txtIdAzienda, "005");
    EXPECT_EQ(f.txtNomeDB.text(), file.string());

    fill(f, "VERDI", "Verdi Costruzioni S.p.A.");
    ui::user::click(f.comOk);
    ASSERT_TRUE(fs::exists(file));
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(common("SELECT IdAzienda || '|' || Descrizione || '|' || NomeDB FROM Aziende "
                     "WHERE Codice = 'VERDI'"),
              "005|Verdi Costruzioni S.p.A.|" + file.string());
    EXPECT_TRUE(f.unloadedForGood());
    frmDatiAzie* dati = ui::desktop().find<frmDatiAzie>();
    ASSERT_NE(dati, nullptr);
    EXPECT_TRUE(sameFile(goDbase().PercorsoDb(dati->osIdDbase), file));
    EXPECT_EQ(ui::desktop().find<frmCaricoBatch>(), nullptr);
    ASSERT_EQ(grid.Aziende().size(), 2u);
    EXPECT_EQ(grid.Aziende()[1].Codice, "VERDI");
    ASSERT_FALSE(goMenuClient->requests().empty());
    EXPECT_EQ(goMenuClient->requests().back(), "Tutti.Refresh");
    fs::permissions(env.baseCompanyDb, fs::perms::owner_write, fs::perm_options::add);

    // Ticked, the batch window is shown on the new database too.
    frmCreaAzi& batch = open<frmCreaAzi>();
    batch.osKeySec = "CHIAVE";
    fill(batch, "NUOVA", "Nuova S.r.l.");
    ui::user::click(batch.CheBatch);
    ui::user::click(batch.comOk);
    dati = ui::desktop().find<frmDatiAzie>();
    ASSERT_NE(dati, nullptr);
    EXPECT_TRUE(sameFile(goDbase().PercorsoDb(dati->osIdDbase), env.folder / "ditta_006.db"));
    frmCaricoBatch* carico = ui::desktop().find<frmCaricoBatch>();
    ASSERT_NE(carico, nullptr);
    EXPECT_TRUE(carico->visible());
    EXPECT_EQ(carico->osKeySec, "CHIAVE");
}

// Bad input and each fault met on confirming store no row, leave no copied file and open no data
// form; the window stays for another try.
TEST_F(FrmCreaAziTest, BadInputAndFaultsOnConfirmStoreNothing) {
    struct Case {
        std::string code, id, description, file;
        std::string message;
        std::function<void()> arrange = [] {};
    };
    const std::string existing = env.companyDb.string();
    const std::filesystem::path outside = env.folder.parent_path() / "fuori.db";
    // A link left in the folder is a file that exists, even when it leads nowhere.
    std::filesystem::create_symlink(outside, env.folder / "link.db");
    for (const Case& c : std::vector<Case>{
             {"rossi", "", "Altra Rossi", "", "Esiste già un'azienda con il codice ROSSI"},
             {"NUOVA", "001", "Nuova", "nuova.db",
              "L'identificativo 001 è già usato dall'azienda ROSSI"},
             {"NUOVA", "", "Nuova", existing, "esiste già: scegliere un altro nome"},
             {"NUOVA", "", "Nuova", "ditta_001.db", "esiste già: scegliere un altro nome"},
             {"  ", "", "Nuova", "", "Manca il codice dell'azienda"},
             {"NUOVA", "", " ", "", "Manca la descrizione dell'azienda"},
             {"NUOVA", "12", "Nuova", "nuova.db", "deve essere di tre cifre"},
             {"NUOVA", "", "Nuova", " ", "Manca il nome del file del database"},
             {"CODICETROPPOLUNGO", "", "Nuova", "", "non può superare 10 caratteri"},
             {"NUOVA", "", "Nuova", "link.db", "esiste già"},
             {"NUOVA", "", "Nuova", "../fuori.db", "cartella delle aziende"},
             {"NUOVA", "", "Nuova", "sotto/../../fuori.db", "cartella delle aziende"},
             {"NUOVA", "", "Nuova", "..\\fuori.db", "cartella delle aziende"},
             {"NUOVA", "", "Nuova", outside.string(), "cartella delle aziende"},
             // The file of a row, even when missing on disk.
             {"NUOVA", "", "Nuova", existing, "è già dell'azienda ROSSI",
              [&] { std::filesystem::remove(env.companyDb); }},
             {"NUOVA", "", "Nuova", "", "Database base non trovato",
              [&] { std::filesystem::rename(env.baseCompanyDb, env.folder / "spostata.base"); }},
             // The row cannot be stored.
             {"NUOVA", "", "Nuova", "", "L'azienda NON è stata creata", [&] {
                  std::filesystem::rename(env.folder / "spostata.base", env.baseCompanyDb);
                  dbtest::OtherConnection(env.commonDb.string(),
                                          "CREATE TRIGGER rifiuta BEFORE INSERT ON Aziende "
                                          "BEGIN SELECT RAISE(ABORT, 'registro bloccato'); END");
              }}}) {
        SCOPED_TRACE(c.message);
        c.arrange();
        const int files = filesInFolder();
        frmCreaAzi& f = open<frmCreaAzi>();
        fill(f, c.code, c.description);
        f.txtCodice.setText(c.code);  // a paste is not held to the field's length
        if (!c.id.empty()) ui::user::fill(f.txtIdAzienda, c.id);
        if (!c.file.empty()) ui::user::fill(f.txtNomeDB, c.file);
        driver.answerMessage(c.message, 1);
        ui::user::click(f.comOk);
        EXPECT_FALSE(f.unloadedForGood());
        EXPECT_EQ(companies(), 1);
        EXPECT_EQ(filesInFolder(), files);
        EXPECT_FALSE(std::filesystem::exists(outside));
        EXPECT_EQ(ui::desktop().find<frmDatiAzie>(), nullptr);
        f.unload();
    }
}

// What a display sees of a creation: the hourglass over the work, the register's grid redrawn
// once per reload whatever its length.
class CreationWatch : public ui::UiObserver {
  public:
    explicit CreationWatch(const ui::Control& grid) : grid_(grid) {
        ui::desktop().addObserver(this);
    }
    ~CreationWatch() override { ui::desktop().removeObserver(this); }
    std::vector<std::string> seen;
    int gridChanges = 0;
    void mousePointerChanged(int pointer) override {
        pointer_ = pointer;
        seen.push_back(pointer == ui::pointer::Hourglass ? "clessidra" : "puntatore");
    }
    void controlChanged(ui::Control& control, ui::Property property) override {
        if (&control != &grid_ || property != ui::Property::Cells) return;
        ++gridChanges;
        if (pointer_ != ui::pointer::Hourglass) seen.push_back("griglia senza clessidra");
    }
    void formLoaded(ui::Form& form) override {
        if (form.name() == "frmDatiAzie")
            seen.push_back(pointer_ == ui::pointer::Hourglass ? "dati con clessidra" : "dati");
    }

  private:
    const ui::Control& grid_;
    int pointer_ = 0;
};

TEST_F(FrmCreaAziTest, HourglassShowsWhileItWorksAndTheGridIsRedrawnOnce) {
    for (int i = 2; i <= 40; ++i) {
        const std::string id = (i < 10 ? "00" : "0") + std::to_string(i);
        addCompany("AZ" + id, id);
    }
    frmTolvane& grid = open<frmTolvane>();
    frmCreaAzi& f = open<frmCreaAzi>();
    fill(f, "NUOVA", "Nuova S.r.l.");
    CreationWatch watch(grid.grdLista);
    ui::user::click(f.comOk);
    EXPECT_EQ(watch.seen,
              (std::vector<std::string>{"clessidra", "dati con clessidra", "puntatore"}));
    EXPECT_LE(watch.gridChanges, 3) << "the grid was redrawn per cell";
    ASSERT_EQ(grid.Aziende().size(), 41u);
    EXPECT_EQ(grid.grdLista.textMatrix(40, 0), "NUOVA");
    EXPECT_EQ(grid.grdLista.textMatrix(0, 2), "Descrizione");
    EXPECT_EQ(ui::desktop().mousePointer(), 0);

    // A refused creation puts the pointer back before its message.
    frmCreaAzi& again = open<frmCreaAzi>();
    fill(again, "NUOVA", "Ancora");
    watch.seen.clear();
    driver.answerMessage("Esiste già un'azienda con il codice NUOVA", 1);
    ui::user::click(again.comOk);
    EXPECT_EQ(watch.seen, (std::vector<std::string>{"clessidra", "puntatore"}));
    again.unload();
}

TEST_F(FrmCreaAziTest, WindowsPathsOfTheIniAreMapped) {
    const std::filesystem::path drive = scratch.path() / "drive_c";
    std::filesystem::create_directories(drive / "Aziende");
    const ScopedEnv driveC("TOLVANE_DRIVE_C", drive.string());
    IniFile::writeString(env.mainIni.string(), "Base", "DirAziende", "C:\\Aziende");

    const CompanyFiles files = companyFilesFromIni(gsIdDbase);
    EXPECT_TRUE(sameFile(files.folder, drive / "Aziende")) << files.folder;
}

}  // namespace
}  // namespace tolvane::testing
