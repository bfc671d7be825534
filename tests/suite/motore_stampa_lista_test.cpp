// The list engine without windows: pages, separated, PostScript and fixed-format texts, and the
// file and printer destinations with a print queue held in memory.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/memory_printer_system.h"
#include "platform/numbered_error.h"
#include "suite/invio_email.h"
#include "suite/motore_stampa_lista.h"
#include "suite/opz_stampa.h"
#include "suite/print_queue.h"
#include "suite/vedrix_lista.h"
#include "support/scratch_folder.h"
#include "ui/control.h"

namespace tolvane::testing {
namespace {

PrintList listOf(int rows) {
    PrintList list;
    list.title = "Elenco aziende";
    list.captions = {"Codice", "Descrizione"};
    for (int i = 1; i <= rows; ++i) list.rows.push_back({std::to_string(i), "Azienda " + std::to_string(i)});
    return list;
}

TEST(LayOutList, RowsFillPagesUnderTheirHeadings) {
    struct Case {
        int rows;
        int lines;
        std::size_t pages;
    };
    for (const Case& c : std::vector<Case>{{0, 10, 1}, {6, 10, 1}, {7, 10, 2}, {13, 10, 3}, {3, 2, 3}}) {
        auto pages = layOutList(listOf(c.rows), 60, c.lines);
        EXPECT_EQ(pages.size(), c.pages) << c.rows << " rows, " << c.lines << " lines";
        EXPECT_NE(pages.back()[0].find("Pag. " + std::to_string(c.pages)), std::string::npos);
        EXPECT_EQ(pages[0][2], "Codice Descrizione");
    }
}

TEST(LayOutList, WidestColumnsNarrowToFitTheLine) {
    PrintList list;
    list.captions = {"A", "B"};
    list.rows = {{std::string(30, 'x'), std::string(10, 'y')}};
    auto pages = layOutList(list, 21, 20);
    EXPECT_EQ(pages[0][4], std::string(10, 'x') + " " + std::string(10, 'y'));
    list.rows = {{"àèìòù", "z"}};
    EXPECT_EQ(layOutList(list, 21, 20)[0][4], "àèìòù z");
}

TEST(SeparatedText, QualifierEnclosesAndSeparatorStaysOutOfFields) {
    struct Case {
        std::string separator;
        std::string qualifier;
        std::string row;
    };
    PrintList list;
    list.captions = {"Codice", "Nota"};
    list.rows = {{"1", "dice \"sì\"; poi\nva"}};
    for (const Case& c : std::vector<Case>{
             {";", "\"", "\"1\";\"dice \"\"sì\"\"; poi va\""},
             {";", "", "1;dice \"sì\"  poi va"},
             {"\t", "'", "'1'\t'dice \"sì\"; poi va'"},
             {",", "", "1,dice \"sì\"; poi va"}}) {
        std::string text = separatedText(list, c.separator, c.qualifier);
        std::string header = c.qualifier + "Codice" + c.qualifier + c.separator + c.qualifier +
                             "Nota" + c.qualifier + "\r\n";
        EXPECT_EQ(text, header + c.row + "\r\n") << "separator [" << c.separator << "]";
    }
}

TEST(PostScriptDocument, EscapesTextAndSizesThePage) {
    PageSetup setup;
    setup.landscape = true;
    std::string ps = postScriptDocument({{"(prova) è \\"}}, setup, "Titolo");
    EXPECT_EQ(ps.rfind("%!PS-Adobe-3.0", 0), 0u);
    EXPECT_NE(ps.find("(\\(prova\\) \\350 \\\\) show"), std::string::npos) << ps;
    EXPECT_NE(ps.find("%%Page: 1 1\n595 0 translate 90 rotate\n"), std::string::npos);
    EXPECT_NE(ps.find("%%Orientation: Landscape"), std::string::npos);
    EXPECT_NE(ps.find("%%Pages: 1"), std::string::npos);
}

TEST(FixedFormatText, PagesKeepTheirLengthMarginsAndSequences) {
    OpzStampa opz;
    opz.FisRighe = 6;
    opz.FisMrAlt = 1;
    opz.FisMrBas = 1;
    opz.FisColonne = 5;
    opz.FisUtilComp = true;
    opz.FisCodIniComp = "<I>";
    opz.FisCodFinComp = "<F>";
    std::string text = fixedFormatText({{"abcdefg", "b", "c", "d", "e"}, {"x"}}, opz);
    EXPECT_EQ(text, "<I>\r\nabcde\r\nb\r\nc\r\nd\r\n\r\n\r\nx\r\n\r\n\r\n\r\n\r\n<F>");
}

class EngineTest : public ::testing::Test {
protected:
    EngineTest() : opz(std::make_shared<OpzStampa>("Elenco")) {
        queue = std::make_shared<MemoryPrintQueue>();
        previous_ = setPrintQueue(queue);
    }
    ~EngineTest() override { setPrintQueue(previous_); }

    std::shared_ptr<MotoreStampaLista> engine(int rows, PageSetup setup = {}) {
        auto e = std::make_shared<MotoreStampaLista>(opz, listOf(rows), setup);
        e->printerName = "Ufficio";
        return e;
    }
    std::vector<std::string> folderFiles() const {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            out.push_back(entry.path().filename().string());
        }
        return out;
    }

    ScratchFolder folder;
    std::shared_ptr<OpzStampa> opz;
    std::shared_ptr<MemoryPrintQueue> queue;

private:
    std::shared_ptr<PrintQueue> previous_;
};

TEST_F(EngineTest, PrinterJobHoldsThePagesOfTheRangeAndLeavesNoFile) {
    struct Case {
        long from;
        long to;
        std::string pages;
    };
    for (const Case& c : std::vector<Case>{{0, 0, "%%Pages: 4"}, {2, 3, "%%Pages: 2"}, {3, 0, "%%Pages: 2"}, {4, 9, "%%Pages: 1"}}) {
        opz->ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(c.from));
        opz->ScriviParStampa("PaginaA", OpzStampa::kTipoAltro, Variant(c.to));
        auto e = engine(200);
        ASSERT_TRUE(e->Esegui());
        EXPECT_EQ(e->pageCount(), 4);
        const auto& job = queue->jobs().back();
        EXPECT_EQ(job.job.printer, "Ufficio");
        EXPECT_NE(job.content.find(c.pages), std::string::npos) << c.from << "-" << c.to;
        EXPECT_FALSE(std::filesystem::exists(job.job.file));
    }
}

TEST_F(EngineTest, ChosenTrayAndPaperGoWithThePrinterJob) {
    auto printers = std::make_shared<MemoryPrinterSystem>();
    MemoryPrinterSystem::Entry ufficio;
    ufficio.info = {"Ufficio", "ipp://ufficio", "driver"};
    ufficio.trays = {"Upper/Superiore", "Lower/Inferiore"};
    ufficio.paperSizes = {"A4", "A5"};
    printers->addPrinter(ufficio);
    auto previous = setPrinterSystem(printers);
    using Options = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        long tray;
        long paper;
        Options options;
    };
    for (const Case& c : std::vector<Case>{{2, 11, {{"InputSlot", "Lower"}, {"PageSize", "A5"}}},
                                           {0, 9, {{"PageSize", "A4"}}},
                                           {0, 0, {}},
                                           {7, 0, {}}}) {
        opz->ScriviParStampa("NumCassetto", OpzStampa::kTipoAltro, Variant(c.tray));
        opz->ScriviParStampa("NumTipoCarta", OpzStampa::kTipoAltro, Variant(c.paper));
        ASSERT_TRUE(engine(10)->Esegui());
        EXPECT_EQ(queue->jobs().back().job.options, c.options) << c.tray << "/" << c.paper;
    }
    setPrinterSystem(previous);
}

TEST_F(EngineTest, PrinterFailuresAreRaisedNotReported) {
    opz->ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(7L));
    EXPECT_THROW(engine(10)->Esegui(), NumberedError);
    opz->ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(0L));
    auto unnamed = engine(10);
    unnamed->printerName.clear();
    try {
        unnamed->Esegui();
        ADD_FAILURE() << "no printer accepted";
    } catch (const NumberedError& e) {
        EXPECT_EQ(e.number(), 484);
    }
    queue->refuseWith("spenta");
    try {
        engine(10)->Esegui();
        ADD_FAILURE() << "refused job accepted";
    } catch (const NumberedError& e) {
        EXPECT_EQ(e.number(), 482);
        EXPECT_NE(std::string(e.what()).find("spenta"), std::string::npos);
    }
    EXPECT_TRUE(queue->jobs().empty());
}

TEST_F(EngineTest, PrintForEmailGoesOutAsItsPdfKeptInThePrintFolder) {
    auto transports = std::make_shared<MemoryMailTransports>();
    auto previous = setMailTransports(transports);
    opz->ScriviParStampa("EmailInvia", OpzStampa::kTipoAltro, Variant(true));
    opz->ScriviParStampa("PdfNomeFile", OpzStampa::kTipoAltro, Variant(folder.path().string()));
    opz->ScriviParStampa("EmailTipoInvio", OpzStampa::kTipoAltro, Variant("S"));
    opz->ScriviParStampa("EmailTo", OpzStampa::kTipoAltro, Variant("uno@cliente.it"));
    ASSERT_TRUE(engine(200)->Esegui());
    EXPECT_TRUE(queue->jobs().empty());
    std::vector<std::string> files = folderFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].rfind("Elenco aziende_", 0), 0u) << files[0];
    const std::string pdf = folder.file(files[0]);
    EXPECT_EQ(ScratchFolder::read(pdf).rfind("%PDF-", 0), 0u);
    ASSERT_EQ(transports->memory.sent().size(), 1u);
    EXPECT_EQ(transports->memory.sent()[0].mail.attachmentPath, pdf);
    EXPECT_EQ(transports->memory.sent()[0].mail.attachmentName, "Elenco aziende.pdf");

    opz->ScriviParStampa("EmailTipoInvio", OpzStampa::kTipoAltro, Variant(""));
    EXPECT_THROW(engine(2)->Esegui(), NumberedError);
    EXPECT_EQ(folderFiles().size(), 2u) << "a PDF not sent stays, under a name of its own";
    setMailTransports(previous);
}

TEST_F(EngineTest, FileIsWrittenWholeOrNotAtAll) {
    opz->StaVid = OpzStampa::kFile;
    opz->FileName = folder.file("aziende.csv");
    opz->SepCampi = ";";
    opz->DelimStr = "";
    ASSERT_TRUE(engine(2)->Esegui());
    EXPECT_EQ(ScratchFolder::read(opz->FileName), "Codice;Descrizione\r\n1;Azienda 1\r\n2;Azienda 2\r\n");
    EXPECT_EQ(folderFiles(), std::vector<std::string>{"aziende.csv"});

    opz->FileForm = 2;
    opz->FileName = folder.file("aziende.xlsx");
    EXPECT_THROW(engine(2)->Esegui(), NumberedError);
    opz->FileForm = 1;
    opz->FileName = folder.file("manca/aziende.txt");
    EXPECT_THROW(engine(2)->Esegui(), NumberedError);
    opz->FileName = " ";
    EXPECT_THROW(engine(2)->Esegui(), NumberedError);
    EXPECT_EQ(folderFiles(), std::vector<std::string>{"aziende.csv"});
}

TEST_F(EngineTest, WrittenFileKeepsThePermissionsAFileWouldHave) {
    namespace fs = std::filesystem;
    opz->StaVid = OpzStampa::kFile;
    opz->FileName = folder.file("nuovo.csv");
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(engine(1)->Esegui());
    EXPECT_EQ(fs::status(opz->FileName).permissions(), fs::perms(0644)) << "a new file: the umask's";
    opz->FileName = folder.write("condiviso.csv", "vecchio");
    fs::permissions(opz->FileName, fs::perms(0664));
    ASSERT_TRUE(engine(1)->Esegui());
    EXPECT_EQ(fs::status(opz->FileName).permissions(), fs::perms(0664)) << "a replaced file: its own";
    ::umask(mask);
}

TEST_F(EngineTest, FixedFormatGoesToItsFileOrToThePrinterOfItsPort) {
    opz->StaVid = OpzStampa::kFissa;
    opz->FisFileName = folder.file("fissa.txt");
    opz->FisRighe = 10;
    opz->FisColonne = 40;
    ASSERT_TRUE(engine(3)->Esegui());
    std::string text = ScratchFolder::read(opz->FisFileName);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);

    opz->FisStampante = true;
    opz->FisFileName = "ipp://nessuna";
    EXPECT_THROW(engine(3)->Esegui(), NumberedError);
    EXPECT_TRUE(queue->jobs().empty());
}

TEST(VedrixLista, ColumnChoiceCutsTheList) {
    VedrixLista lista;
    lista.columns = {{"A", true}, {"B", false}, {"C", true}};
    lista.rows = {{"1", "2", "3"}, {"4"}};
    struct Case {
        std::string tipo;
        std::vector<std::string> captions;
        std::vector<std::string> first;
    };
    for (const Case& c : std::vector<Case>{{"T", {"A", "B", "C"}, {"1", "2", "3"}},
                                           {"t", {"A", "B", "C"}, {"1", "2", "3"}},
                                           {"V", {"A", "C"}, {"1", "3"}},
                                           {"", {"A", "C"}, {"1", "3"}}}) {
        PrintList list = lista.listToPrint(c.tipo);
        EXPECT_EQ(list.captions, c.captions) << c.tipo;
        EXPECT_EQ(list.rows[0], c.first) << c.tipo;
        EXPECT_EQ(list.rows[1].size(), c.captions.size());
    }
    EXPECT_FALSE(lista.pressKey("Stampa"));
}

TEST(VedrixLista, FlagFallsAfterAFailedPrintAndASecondPrintIsRefused) {
    VedrixLista lista;
    lista.columns = {{"A", true}};
    std::vector<int> flags;
    ui::Font font;
    lista.oiStaAtt = [&](int v) {
        flags.push_back(v);
        if (v == 1) {
            EXPECT_THROW(lista.AvviaStampa(font, 1, "T"), NumberedError);
        }
    };
    EXPECT_THROW(lista.AvviaStampa(font, 1, "T"), NumberedError);  // no options
    lista.ogSta.ogOpzSta = std::make_shared<OpzStampa>();
    lista.ogSta.ogOpzSta->StaVid = OpzStampa::kVideo;  // no preview
    EXPECT_THROW(lista.AvviaStampa(font, 1, "T"), NumberedError);
    EXPECT_EQ(flags, (std::vector<int>{1, 0}));
    EXPECT_FALSE(lista.ogSta.running());
}

}  // namespace
}  // namespace tolvane::testing
