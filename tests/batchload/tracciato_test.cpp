// Reading a stored layout: separator escapes, modes, field order and tables, sizes, keys,
// refused layouts and the completion of the input path.
#include "batch_fixture.h"

namespace tolvane::batchtest {
namespace {

class TracciatoTest : public BatchTest {
protected:
    // A layout on Prova with the key field Codice and the header columns given.
    long simple(const std::string& codice, Columns header) {
        header.insert(header.begin(), {"Tabella", "Prova"});
        layout(codice, header);
        field(codice, "Codice", {{"TipoDest", "String"}, {"NumCampo", "1"}});
        return loader->LeggiTracciato(codice);
    }
};

TEST_F(TracciatoTest, SeparatorEscapesAreDecoded) {
    const struct {
        std::string stored, expected;
    } cases[] = {
        {kNull, "\t"}, {"\\059", ";"}, {"\\\\", "\\"}, {"\\abc", "\\abc"}, {"|", "|"}, {"\\009x", "\tx"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string code = "SEP" + std::to_string(++n);
        ASSERT_EQ(simple(code, {{"Separatore", c.stored}, {"Modalita", "1"}, {"InsVaria", "I"}}), 0);
        EXPECT_EQ(loader->separatore(), c.expected) << "stored " << c.stored;
    }
}

TEST_F(TracciatoTest, ModalitaDecidesInsVaria) {
    const struct {
        std::string modalita, insVaria, expected;
    } cases[] = {{"0", "I", "I"}, {"1", "V", "V"}, {"2", "I", "V"}, {"3", "I", ""}, {"1", kNull, ""}};
    int n = 0;
    for (const auto& c : cases) {
        const std::string code = "MOD" + std::to_string(++n);
        ASSERT_EQ(simple(code, {{"Modalita", c.modalita}, {"InsVaria", c.insVaria}}), 0);
        EXPECT_EQ(loader->insVaria(), c.expected) << "Modalita " << c.modalita;
    }
}

TEST_F(TracciatoTest, FieldsFollowOrdCampoNumericallyWithEmptyLast) {
    layout("ORD", {{"Tabella", "Prova"}, {"InsVaria", "I"}, {"Modalita", "0"}});
    field("ORD", "Note", {{"OrdCampo", kNull}});
    field("ORD", "Descr", {{"OrdCampo", "10"}});
    field("ORD", "Codice", {{"OrdCampo", "9"}});
    field("ORD", "Num", {{"OrdCampo", "2"}});
    ASSERT_EQ(loader->LeggiTracciato("ORD"), 0);
    std::vector<std::string> names;
    for (const auto& f : loader->campi()) names.push_back(f->osNomeCampo);
    EXPECT_EQ(names, (std::vector<std::string>{"Num", "Codice", "Descr", "Note"}));
}

TEST_F(TracciatoTest, FieldColumnsAreKeptWithTheirMarkers) {
    layout("COL", {{"Tabella", "Prova"}, {"Tabella3", "Righe"}, {"CodTab3", "R"}, {"InsVaria", "I"},
                   {"Modalita", "0"}});
    field("COL", "Descr", {{"TipoDest", "String"}, {"Quanto", kNull}});
    field("COL", "R Testo", {{"TipoDest", "String"}, {"Quanto", "0"}});
    field("COL", "Z Note", {{"TipoDest", "Long"}, {"ValoreOper", " 22 "}});
    field("COL", "Num", {{"TipoDest", "Long"}, {"Dimensione", "0"}});
    field("COL", "Qta", {{"Dimensione", "0"}});
    ASSERT_EQ(loader->LeggiTracciato("COL"), 0);
    const ScCaricaCampi* descr = loader->campo("Prova.Descr");
    const ScCaricaCampi* testo = loader->campo("Righe.Testo");
    const ScCaricaCampi* note = loader->campo("Prova.Note");
    ASSERT_TRUE(descr && testo && note);
    EXPECT_EQ(descr->oiNumDec, -9999);
    EXPECT_EQ(testo->oiNumDec, 0);
    EXPECT_EQ(descr->oiDimensione(), 40) << "text size read from the column";
    EXPECT_EQ(loader->campo("Prova.Num")->oiDimensione(), 0) << "numbers keep 0";
    EXPECT_EQ(loader->campo("Prova.Qta")->oiDimensione(), 0) << "an untyped value is not cut to a number's bytes";
    EXPECT_EQ(testo->osCodTab, "R");
    EXPECT_EQ(testo->oiDimensione(), 20);
    EXPECT_EQ(loader->QualeTab("R"), 3);
    EXPECT_EQ(note->osCodTab, "Z");
    EXPECT_EQ(loader->QualeTab("Z"), 0) << "a code no table holds";
    EXPECT_EQ(note->osValoreOper, "22");
    EXPECT_EQ(loader->campiRicerca(1), "*");
}

TEST_F(TracciatoTest, KeyFieldsComeFromKMarksElseFromThePrimaryKey) {
    layout("KEY", {{"Tabella", "Righe"}, {"Tabella2", "Prova"}, {"CodTab2", "P"}, {"Modalita", "0"}});
    field("KEY", "Codice", {{"NumCampo", "1"}});
    field("KEY", "Riga", {{"NumCampo", "2"}});
    field("KEY", "Testo", {{"NumCampo", "K3"}});
    field("KEY", "P Codice", {{"NumCampo", "1"}});
    field("KEY", "P Descr", {{"NumCampo", "3"}});
    ASSERT_EQ(loader->LeggiTracciato("KEY"), 0);
    EXPECT_EQ(loader->campo("Righe.Testo")->osChiave, "S");
    EXPECT_EQ(loader->campo("Righe.Testo")->osNumCampo, "3");
    EXPECT_EQ(loader->campo("Righe.Codice")->osChiave, "") << "K marks hide the primary key";
    EXPECT_EQ(loader->campo("Prova.Codice")->osChiave, "S");
    EXPECT_EQ(loader->campo("Prova.Descr")->osChiave, "");
}

TEST_F(TracciatoTest, MissingLayoutOrDetailIsRefusedWithAMessage) {
    EXPECT_EQ(loader->LeggiTracciato("NONE"), -1);
    layout("EMPTY", {{"Tabella", "Prova"}});
    EXPECT_EQ(loader->LeggiTracciato("EMPTY"), -1);
    EXPECT_EQ(messages, (std::vector<std::string>{"Mancano i dati per il codice NONE",
                                                  "Nessun dettaglio per il codice EMPTY"}));
}

TEST_F(TracciatoTest, KeySearchOnATableWithoutKeyIsRefused) {
    layout("NOKEY", {{"Tabella", "Libera"}, {"Modalita", "0"}});
    field("NOKEY", "Testo", {{"NumCampo", "1"}});
    EXPECT_EQ(loader->LeggiTracciato("NOKEY"), -1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Libera"), std::string::npos) << messages[0];

    layout("NOKEYI", {{"Tabella", "Libera"}, {"Modalita", "0"}, {"InsVaria", "I"}});
    field("NOKEYI", "Testo", {{"NumCampo", "1"}});
    EXPECT_EQ(loader->LeggiTracciato("NOKEYI"), 0) << "inserting only needs no key";
}

TEST_F(TracciatoTest, DecodeRowOfAnUnknownFieldFailsTheLayout) {
    layout("DEC", {{"Tabella", "Prova"}, {"InsVaria", "I"}, {"Modalita", "0"}});
    field("DEC", "Codice", {{"NumCampo", "1"}});
    decode("DEC", "Prova", "Descr", "A", "B");
    EXPECT_GT(loader->LeggiTracciato("DEC"), 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Errore(", 0), 0u) << messages[0];
}

TEST_F(TracciatoTest, InputPathIsCompletedFromFolderOrDrive) {
    const struct {
        std::string dir, drive, file, expected;
    } cases[] = {
        {"C:\\Dati", "D:", "a.txt", "C:\\Dati\\a.txt"},
        {"C:\\Dati\\", "D:", "a.txt", "C:\\Dati\\a.txt"},
        {"C:\\Dati", "D:", "\\\\srv\\x.txt", "\\\\srv\\x.txt"},
        {"C:\\Dati", "D:", "E:\\x.txt", "E:\\x.txt"},
        {"C:\\Dati", "D:", "\\x.txt", "D:\\x.txt"},
        {"/home/dati", "/", "a.txt", "/home/dati/a.txt"},
        {"/home/dati", "/", "/tmp/a.txt", "/tmp/a.txt"},
    };
    for (const auto& c : cases) {
        gsDirCarica = c.dir;
        gsDriveCarica = c.drive;
        EXPECT_EQ(loader->CaricaPathCompleta(c.file), c.expected) << c.dir << " + " << c.file;
    }
}

}  // namespace
}  // namespace tolvane::batchtest
