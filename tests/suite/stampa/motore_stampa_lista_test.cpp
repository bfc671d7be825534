// The list engine without windows, on its real outputs: the PDF read back with poppler's tools,
// the workbook's cells unzipped, separated and fixed-format texts, the PDF printer's folder, and
// the printer destination with a print queue held in memory.
#include "suite/stampa/motore_stampa_lista.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/numbered_error.h"
#include "platform/text.h"
#include "platform/utf8_check.h"
#include "suite/libgenerale/lib_generale.h"
#include "suite/lista/vedrix_lista.h"
#include "suite/opzioni/opz_stampa.h"
#include "suite/stampa/stampante_pdf.h"
#include "support/error_number.h"
#include "support/hostile_values.h"
#include "support/memory_printing.h"
#include "support/pdf_check.h"
#include "support/scratch_folder.h"
#include "support/workbook_check.h"
#include "ui/control.h"

namespace tolvane::testing {
namespace {

PrintList listOf(int rows) {
    PrintList list;
    list.title = "Elenco aziende";
    list.captions = {"Codice", "Descrizione"};
    for (int i = 1; i <= rows; ++i)
        list.rows.push_back({std::to_string(i), "Azienda " + std::to_string(i)});
    return list;
}

TEST(LayOutList, RowsFillPagesUnderTheirHeadingsAndColumnsFitTheLine) {
    struct Case {
        int rows;
        int lines;
        std::size_t pages;
    };
    for (const Case& c :
         std::vector<Case>{{0, 10, 1}, {6, 10, 1}, {7, 10, 2}, {13, 10, 3}, {3, 2, 3}}) {
        auto pages = layOutList(listOf(c.rows), 60, c.lines);
        EXPECT_EQ(pages.size(), c.pages) << c.rows << " rows, " << c.lines << " lines";
        EXPECT_NE(pages.back()[0].find("Pag. " + std::to_string(c.pages)), std::string::npos);
        EXPECT_EQ(pages[0][2], "Codice Descrizione");
    }
    // The widest columns narrow to fit the line, counted in characters.
    PrintList list;
    list.captions = {"A", "B"};
    list.rows = {{std::string(30, 'x'), std::string(10, 'y')}};
    auto pages = layOutList(list, 21, 20);
    EXPECT_EQ(pages[0][4], std::string(10, 'x') + " " + std::string(10, 'y'));
    list.rows = {{"àèìòù", "z"}};
    EXPECT_EQ(layOutList(list, 21, 20)[0][4], "àèìòù z");
}

TEST(SeparatedText, EveryValueReadsBackWholeWhateverTheQualifier) {
    struct Case {
        std::string separator;
        std::string qualifier;
        std::vector<std::string> rows;
    };
    PrintList list;
    list.captions = {"Codice", "Nota"};
    // A double quote alone is enclosed too (the third row), as a reader would take it for one.
    list.rows = {{"1", "dice \"sì\"; poi\nva"}, {"007", "1.234,50 l'anno"}, {"3", "12\""}};
    for (const Case& c : std::vector<Case>{
             {";",
              "\"",
              {"\"1\";\"dice \"\"sì\"\"; poi\nva\"", "\"007\";\"1.234,50 l'anno\"",
               "\"3\";\"12\"\"\""}},
             {";", "", {"1;\"dice \"\"sì\"\"; poi\nva\"", "007;1.234,50 l'anno", "3;\"12\"\"\""}},
             {"\t",
              "'",
              {"'1'\t'dice \"sì\"; poi\nva'", "'007'\t'1.234,50 l''anno'", "'3'\t'12\"'"}},
             {",",
              "",
              {"1,\"dice \"\"sì\"\"; poi\nva\"", "007,\"1.234,50 l'anno\"", "3,\"12\"\"\""}},
             {" ",
              "",
              {"1 \"dice \"\"sì\"\"; poi\nva\"", "007 \"1.234,50 l'anno\"", "3 \"12\"\"\""}}}) {
        std::string text = separatedText(list, c.separator, c.qualifier);
        std::string expected = c.qualifier + "Codice" + c.qualifier + c.separator + c.qualifier +
                               "Nota" + c.qualifier + "\r\n";
        for (const auto& row : c.rows) expected += row + "\r\n";
        EXPECT_EQ(text, expected) << "separator [" << c.separator << "] qualifier [" << c.qualifier
                                  << "]";
    }
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

class EngineTest : public ::testing::Test, public MemoryPrinting {
  protected:
    EngineTest() : opz(std::make_shared<OpzStampa>("Elenco")) {
        addPrinter("Ufficio", "ipp://ufficio", {"Upper/Superiore", "Lower/Inferiore"},
                   {"A4", "Letter/Lettera", "A5"}, 1);
    }

    std::shared_ptr<MotoreStampaLista> engine(PrintList list, PageSetup setup = {}) {
        auto e = std::make_shared<MotoreStampaLista>(opz, std::move(list), setup);
        e->printerName = "Ufficio";
        return e;
    }
    std::shared_ptr<MotoreStampaLista> engine(int rows) { return engine(listOf(rows)); }
    std::vector<std::string> folderFiles() const {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            out.push_back(entry.path().filename().string());
        }
        return out;
    }

    ScratchFolder folder;
    std::shared_ptr<OpzStampa> opz;
};

// The rows from first to last whose description a PDF's text shows other than once.
std::vector<int> rowsNotShownOnce(const std::string& text, int first, int last) {
    std::map<int, int> shown;
    const std::regex row("Azienda (\\d+)\\b");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), row);
         it != std::sregex_iterator(); ++it)
        ++shown[std::stoi((*it)[1])];
    std::vector<int> out;
    for (int i = first; i <= last; ++i) {
        if (shown[i] != 1) out.push_back(i);
    }
    return out;
}

TEST_F(EngineTest, PdfShowsTheChosenFontSheetAndEveryCharacter) {
    struct Case {
        bool landscape;
        long paper;
        PrintFont font;
        int width;
        int height;
        // Embedded, as fontconfig resolves the family: the rows' face and the bold headings'.
        std::vector<std::string> faces;
    };
    const std::vector<Case> cases = {
        {false,
         9,
         {"Arial", 10, false, true},
         595,
         842,
         {"LiberationSans-BoldItalic", "LiberationSans-Italic"}},
        {true, 0, {"DejaVu Sans", 9, true, false}, 842, 595, {"DejaVuSans-Bold"}},
        {false, 1, {"Times New Roman", 11, true, true}, 612, 792, {"LiberationSerif-BoldItalic"}},
        {false, 11, {"Nessuna Fonte", 10, false, false}, 420, 595, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font.family);
        PrintList list = listOf(150);
        list.rows[0] = {"€ 1.234,50", "àèß Straße"};
        opz->ScriviParStampa("NumTipoCarta", OpzStampa::kTipoAltro, Variant(c.paper));
        PageSetup setup;
        setup.landscape = c.landscape;
        setup.font = c.font;
        auto e = engine(list, setup);
        const std::string file = folder.file("stampa.pdf");
        ASSERT_TRUE(e->savePdf(file));
        PdfFacts pdf = pdfFacts(file);
        EXPECT_EQ(pdf.width, c.width);
        EXPECT_EQ(pdf.height, c.height);
        EXPECT_EQ(pdf.pages, e->pageCount());
        EXPECT_GT(pdf.pages, 1);
        // Bold chosen in the dialog is the rows' face too: no face but the chosen ones.
        if (!c.faces.empty()) {
            EXPECT_EQ(embeddedFaces(pdf), c.faces) << pdf.fonts;
        }
        for (const char* text : {"Elenco aziende", "Pag. 1", "€ 1.234,50", "àèß Straße"}) {
            EXPECT_NE(pdf.text.find(text), std::string::npos) << text;
        }
        // Rows lost or doubled at a page break show here.
        // (the first row holds other texts)
        EXPECT_EQ(rowsNotShownOnce(pdf.text, 2, 150), std::vector<int>{});
    }
    // A paper the printer does not offer: A4, and the options no longer name it.
    opz->ScriviParStampa("NumTipoCarta", OpzStampa::kTipoAltro, Variant(5L));
    ASSERT_TRUE(engine(0)->savePdf(folder.file("vuota.pdf")));
    PdfFacts empty = pdfFacts(folder.file("vuota.pdf"));
    EXPECT_EQ(empty.pages, 1);
    EXPECT_EQ(empty.width, 595);
    EXPECT_NE(empty.text.find("Codice"), std::string::npos) << "an empty list keeps its headings";
    EXPECT_EQ(goLibGen().ValoreLong(opz->LeggiParStampa("NumTipoCarta")), 0);
}

TEST_F(EngineTest, PrinterJobIsAPdfOfTheRangeWithTrayPaperAndOneCopy) {
    using Options = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        long from;
        long to;
        long tray;
        long paper;
        int pages;
        Options options;
    };
    for (const Case& c : std::vector<Case>{
             {0, 0, 2, 9, 4, {{"InputSlot", "Lower"}, {"PageSize", "A4"}, {"copies", "1"}}},
             {2, 3, 0, 0, 2, {{"copies", "1"}}},
             {3, 0, 7, 0, 2, {{"copies", "1"}}},
             {4, 9, 0, 1, 1, {{"PageSize", "Letter"}, {"copies", "1"}}}}) {
        opz->ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(c.from));
        opz->ScriviParStampa("PaginaA", OpzStampa::kTipoAltro, Variant(c.to));
        opz->ScriviParStampa("NumCassetto", OpzStampa::kTipoAltro, Variant(c.tray));
        opz->ScriviParStampa("NumTipoCarta", OpzStampa::kTipoAltro, Variant(c.paper));
        auto e = engine(240);
        ASSERT_TRUE(e->Esegui());
        EXPECT_EQ(e->pageCount(), 4);
        const auto& job = queue->jobs().back();
        EXPECT_EQ(job.job.printer, "Ufficio");
        EXPECT_FALSE(job.job.raw);
        EXPECT_EQ(job.job.options, c.options) << c.from << "-" << c.to;
        PdfFacts pdf = pdfFactsOf(job.content);
        EXPECT_EQ(pdf.pages, c.pages) << c.from << "-" << c.to;
        EXPECT_NE(pdf.text.find("Pag. " + std::to_string(std::max(1L, c.from))), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(job.job.file));
    }
}

TEST_F(EngineTest, PrinterFailuresAreRaisedNotReported) {
    opz->ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(7L));
    EXPECT_THROW(engine(10)->Esegui(), NumberedError);
    opz->ScriviParStampa("PaginaDa", OpzStampa::kTipoAltro, Variant(0L));
    auto unnamed = engine(10);
    unnamed->printerName.clear();
    EXPECT_EQ(errorOf([&] { unnamed->Esegui(); }), 484);
    queue->refuseWith("spenta");
    const NumberedError refused = errorRaised([&] { engine(10)->Esegui(); });
    EXPECT_EQ(refused.number(), 482);
    EXPECT_NE(std::string(refused.what()).find("spenta"), std::string::npos);
    EXPECT_TRUE(queue->jobs().empty());
}

TEST_F(EngineTest, FileIsWrittenWholeOrNotAtAll) {
    opz->StaVid = OpzStampa::kFile;
    opz->FileName = folder.file("aziende.csv");
    opz->SepCampi = ";";
    opz->DelimStr = "";
    ASSERT_TRUE(engine(2)->Esegui());
    EXPECT_EQ(ScratchFolder::read(opz->FileName),
              "\xEF\xBB\xBF"
              "Codice;Descrizione\r\n1;Azienda 1\r\n2;Azienda 2\r\n");
    for (int format : {1, 2}) {
        opz->FileForm = format;
        opz->FileName = folder.file("manca/aziende.txt");
        EXPECT_THROW(engine(2)->Esegui(), NumberedError) << format;
        opz->FileName = " ";
        EXPECT_THROW(engine(2)->Esegui(), NumberedError) << format;
    }
    EXPECT_EQ(folderFiles(), std::vector<std::string>{"aziende.csv"});
}

// Columns are typed whole: a column is numbers (or dates) only when every value reads so, or
// when the list says so; codes, descriptions that look like numbers and mixed columns are text.
TEST_F(EngineTest, WorkbookTypesEachColumnAsAWholeAndNumbersShowAsOnScreen) {
    opz->StaVid = OpzStampa::kFile;
    opz->FileForm = 2;
    opz->FileName = folder.file("aziende.xlsx");
    PrintList list;
    list.captions = {"Codice", "Importo", "Data", "Nota", "Quota", "Misto", "Numero"};
    list.rows = {{"007", "1.234,50", "31/12/2024", "1234567", "-3", "31/12/2026", "41"},
                 {"12", "3", "29/02/2024", "", "0,5", "12", "42"},
                 {"", "-1.000.000", "", "àß €", "", "x", "43"}};
    const std::string date = "dd/mm/yyyy";
    struct Case {
        bool numNoForm;
        std::vector<std::pair<std::string, SheetCell>> cells;
    };
    for (const Case& c : std::vector<Case>{{false,
                                            {{"A1", {"s", "Codice", "General"}},
                                             {"A2", {"s", "007", "General"}},
                                             {"A3", {"s", "12", "General"}},
                                             {"A4", {}},
                                             {"B2", {"n", "1234.5", "#,##0.00"}},
                                             {"B3", {"n", "3", "0"}},
                                             {"B4", {"n", "-1000000", "#,##0"}},
                                             {"C2", {"n", "45657", date}},
                                             {"C3", {"n", "45351", date}},
                                             {"D2", {"s", "1234567", "General"}},
                                             {"D4", {"s", "àß €", "General"}},
                                             {"E2", {"n", "-3", "0"}},
                                             {"E3", {"n", "0.5", "0.0"}},
                                             {"F2", {"s", "31/12/2026", "General"}},
                                             {"F3", {"s", "12", "General"}},
                                             {"G2", {"s", "41", "General"}}}},
                                           {true,
                                            {{"A2", {"s", "007", "General"}},
                                             {"B2", {"n", "1234.5", "General"}},
                                             {"B4", {"n", "-1000000", "General"}},
                                             {"C2", {"n", "45657", date}},
                                             {"D2", {"s", "1234567", "General"}},
                                             {"E3", {"n", "0.5", "General"}},
                                             {"G2", {"s", "41", "General"}}}}}) {
        opz->NumNoForm = c.numNoForm;
        auto e = engine(list);
        // The list knows its last column holds a text field, numbers though its values read.
        e->columnKinds = {ListColumnKind::Unknown, ListColumnKind::Unknown, ListColumnKind::Unknown,
                          ListColumnKind::Unknown, ListColumnKind::Unknown, ListColumnKind::Unknown,
                          ListColumnKind::Text};
        ASSERT_TRUE(e->Esegui());
        const Workbook book(opz->FileName);
        for (const auto& [ref, expected] : c.cells) {
            EXPECT_EQ(book.cell(ref), expected) << ref << " (NumNoForm " << c.numNoForm << ")";
        }
    }
    EXPECT_EQ(folderFiles(), std::vector<std::string>{"aziende.xlsx"});
}

// The list component hands the kinds of the columns it prints to the engine.
TEST_F(EngineTest, ListComponentCarriesItsColumnsKindsToTheWorkbook) {
    VedrixLista lista;
    lista.columns = {{"Codice", true, ListColumnKind::Text},
                     {"Nascosta", false, ListColumnKind::Text},
                     {"Importo", true}};
    lista.rows = {{"1", "x", "1.250,50"}, {"2", "y", "3"}};
    lista.ogSta.ogOpzSta = opz;
    opz->StaVid = OpzStampa::kFile;
    opz->FileForm = 2;
    opz->FileName = folder.file("lista.xlsx");
    ui::Font font;
    ASSERT_TRUE(lista.AvviaStampa(font, 1, "V"));
    const Workbook book(opz->FileName);
    EXPECT_EQ(book.cell("A2"), (SheetCell{"s", "1", "General"}));
    EXPECT_EQ(book.cell("B2"), (SheetCell{"n", "1250.5", "#,##0.00"}));
}

// Separated text for Excel carries a byte-order mark and the values as shown; plain text is
// UTF-8 alone, its number columns without their format when asked.
TEST_F(EngineTest, TextFilesKeepTheirValuesInTheirEncoding) {
    opz->StaVid = OpzStampa::kFile;
    opz->FileName = folder.file("lista.txt");
    opz->SepCampi = ";";
    opz->DelimStr = "";
    PrintList list;
    list.captions = {"Codice", "Importo", "Nota"};
    list.rows = {{"007", "1.234,50", "àß €"}, {"12", "-3,00", "1.234,50"}};
    const std::string asShown = "Codice;Importo;Nota\r\n007;1.234,50;àß €\r\n12;-3,00;1.234,50\r\n";
    struct Case {
        int fileForm;
        bool numNoForm;
        std::string bytes;
    };
    for (const Case& c : std::vector<Case>{
             {0, false, "\xEF\xBB\xBF" + asShown},
             {0, true, "\xEF\xBB\xBF" + asShown},
             {1, false, asShown},
             {1, true, "Codice;Importo;Nota\r\n007;1234,5;àß €\r\n12;-3;1.234,50\r\n"}}) {
        opz->FileForm = c.fileForm;
        opz->NumNoForm = c.numNoForm;
        auto e = engine(list);
        e->columnKinds = {ListColumnKind::Unknown, ListColumnKind::Unknown, ListColumnKind::Text};
        ASSERT_TRUE(e->Esegui());
        EXPECT_EQ(ScratchFolder::read(opz->FileName), c.bytes)
            << "format " << c.fileForm << ", NumNoForm " << c.numNoForm;
    }
}

// A list of the values no output may lose, each on a row of its own under its code.
PrintList hostileList() {
    PrintList list;
    list.title = "Valori";
    list.captions = {"Codice", "Descrizione"};
    const auto& values = hostileValues();
    for (std::size_t i = 0; i < values.size(); ++i)
        list.rows.push_back({"R" + std::to_string(i + 1), values[i].value});
    return list;
}

// Where two long texts first differ, for a failure message that does not print them whole.
std::string firstDifference(const std::string& a, const std::string& b) {
    const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return "lengths " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
           ", first difference at byte " + std::to_string(at.first - a.begin());
}

// A value longer than a cell holds keeps its first characters and the print names its cell, in
// one notice for all; bytes that are not UTF-8 read as Windows-1252, so that the workbook opens.
TEST_F(EngineTest, WorkbookKeepsWhatACellHoldsAndNamesTheCellsCut) {
    opz->StaVid = OpzStampa::kFile;
    opz->FileForm = 2;
    opz->FileName = folder.file("valori.xlsx");
    auto e = engine(hostileList());
    ASSERT_TRUE(e->Esegui());
    const Workbook book(opz->FileName);
    EXPECT_EQ(book.xmlErrors(), "");
    EXPECT_EQ(book.cell("B1"), (SheetCell{"s", "Descrizione", "General"}));
    const auto& values = hostileValues();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string row = std::to_string(i + 2);
        EXPECT_EQ(book.cell("A" + row), (SheetCell{"s", "R" + std::to_string(i + 1), "General"}));
        const SheetCell cell = book.cell("B" + row);
        const std::string expected =
            Left(values[i].text, static_cast<long>(values[i].workbookChars));
        EXPECT_EQ(cell.type, "s") << "B" << row;
        EXPECT_TRUE(cell.value == expected)
            << "B" << row << ": " << firstDifference(cell.value, expected);
    }
    EXPECT_EQ(e->notice(), "Nel file " + opz->FileName +
                               " alcuni valori superano i 32.767 caratteri di una cella di Excel: "
                               "ne sono stati scritti i primi 32.767.\r\nColonna Descrizione (B): "
                               "righe 2, 4, 6");

    // Many cells cut: the notice names the first rows and columns and counts the others.
    PrintList wide;
    const std::string value(40000, 'x');
    for (int c = 0; c < 12; ++c) wide.captions.push_back("C" + std::to_string(c + 1));
    for (int r = 0; r < 12; ++r) wide.rows.emplace_back(r == 0 ? 12 : 1, value);
    auto many = engine(wide);
    ASSERT_TRUE(many->Esegui());
    const std::string notice = many->notice();
    EXPECT_NE(notice.find("\r\nColonna C1 (A): righe 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 e altre 2\r\n"
                          "Colonna C2 (B): riga 2\r\n"),
              std::string::npos)
        << notice;
    EXPECT_NE(notice.find("Colonna C10 (J): riga 2\r\ne in altre 2 colonne"), std::string::npos)
        << notice;

    // A list wider than a sheet is refused, and no workbook is left.
    PrintList tooWide;
    tooWide.captions.assign(16385, "C");
    opz->FileName = folder.file("larga.xlsx");
    const NumberedError refused = errorRaised([&] { engine(tooWide)->Esegui(); });
    EXPECT_EQ(refused.number(), 75);
    EXPECT_NE(refused.description().find("al massimo 16.384 colonne, la lista ne ha 16.385"),
              std::string::npos)
        << refused.description();
    EXPECT_FALSE(std::filesystem::exists(opz->FileName));
}

// Separated and plain text hold every value whole, in UTF-8 only.
TEST_F(EngineTest, TextFilesHoldEveryValueWholeAndOnlyUtf8) {
    opz->StaVid = OpzStampa::kFile;
    opz->SepCampi = ";";
    opz->DelimStr = "";
    std::string expected = "Codice;Descrizione\r\n";
    const auto& values = hostileValues();
    for (std::size_t i = 0; i < values.size(); ++i)
        expected += "R" + std::to_string(i + 1) + ";" + values[i].text + "\r\n";
    for (int form : {0, 1}) {
        opz->FileForm = form;
        opz->FileName = folder.file(form == 0 ? "valori.csv" : "valori.txt");
        auto e = engine(hostileList());
        ASSERT_TRUE(e->Esegui());
        const std::string bytes = ScratchFolder::read(opz->FileName);
        const std::string whole = (form == 0 ? std::string(kUtf8Bom) : "") + expected;
        EXPECT_TRUE(bytes == whole) << "format " << form << ": " << firstDifference(bytes, whole);
        EXPECT_TRUE(isValidUtf8(bytes)) << form;
        EXPECT_EQ(e->notice(), "");
    }
}

TEST_F(EngineTest, PdfPrinterWritesThePdfInItsFolderAndSubmitsNoJob) {
    struct Rule {
        std::string usaPdfCreator;
        std::string usaPdf995;
        std::string printer;
        bool pdfPrinter;
    };
    for (const Rule& r : std::vector<Rule>{{"S", "S", "pdfcreator-ufficio", true},
                                           {"s", "N", "PDF995", false},
                                           {"N", "S", "Ufficio PDF995", true},
                                           {"N", "N", "PDFCreator", false}}) {
        const std::string word = pdfPrinterWord(r.usaPdfCreator, r.usaPdf995);
        EXPECT_EQ(isPdfPrinter(r.printer, word), r.pdfPrinter)
            << r.usaPdfCreator << "/" << r.usaPdf995 << " " << r.printer;
    }
    std::vector<std::string> opened;
    auto print = [&](const std::string& fileName) {
        auto e = engine(70);
        e->printerName = "PDFCreator";
        e->pdfPrinter = {"PDFCreator", fileName, true};
        e->openViewer = [&](const std::string& path) { opened.push_back(path); };
        return e;
    };
    for (std::size_t n = 1; n <= 2; ++n) {
        auto e = print(folder.file("stampa.pdf"));
        ASSERT_TRUE(e->Esegui());
        ASSERT_EQ(folderFiles().size(), n) << "never over an existing file";
        EXPECT_EQ(opened.back(), e->pdfScritto());
        EXPECT_EQ(e->pdfScritto().rfind(folder.file("Elenco aziende_"), 0), 0u) << e->pdfScritto();
        EXPECT_EQ(pdfFacts(e->pdfScritto()).pages, 2);
    }
    EXPECT_TRUE(queue->jobs().empty());
    const std::string missing =
        errorRaised([&] { print(folder.file("manca/stampa.pdf"))->Esegui(); }).what();
    EXPECT_NE(missing.find(folder.file("manca")), std::string::npos) << missing;
    EXPECT_EQ(folderFiles().size(), 2u);
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(EngineTest, FixedFormatGoesToItsFileOrToThePrinterOfItsPort) {
    opz->StaVid = OpzStampa::kFissa;
    opz->FisFileName = folder.file("fissa.txt");
    opz->FisRighe = 10;
    opz->FisColonne = 40;
    ASSERT_TRUE(engine(3)->Esegui());
    std::string text = ScratchFolder::read(opz->FisFileName);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);

    // Two queues on one device, as a printer and its PDF queue are.
    addQueue("Ufficio_A4", "usb://HP/1");
    addQueue("PDFCreator", "usb://HP/1");
    addQueue("Magazzino_PXL", "socket://10.0.0.9");
    // Two printers given one port: the port says neither.
    addPrinter("Etichette", "lpt1");
    addPrinter("Etichette_2", "LPT1");
    opz->FisStampante = true;
    struct Case {
        std::string port;
        std::string queue;    // "" when refused
        std::string message;  // part of the refusal
    };
    for (const Case& c :
         std::vector<Case>{{"ipp://localhost/printers/PDFCreator", "PDFCreator", ""},
                           {"ipp://localhost/printers/Ufficio_A4", "Ufficio_A4", ""},
                           {"Magazzino_PXL", "Magazzino_PXL", ""},
                           {"socket://10.0.0.9", "Magazzino_PXL", ""},
                           {"usb://HP/1", "",
                            "La porta usb://HP/1 appartiene a più stampanti (Ufficio_A4, "
                            "PDFCreator)"},
                           {"lpt1", "", "(Etichette, Etichette_2)"},
                           {"ipp://nessuna", "", "Stampante non trovata: ipp://nessuna"}}) {
        opz->FisFileName = c.port;
        const std::size_t before = queue->jobs().size();
        if (c.queue.empty()) {
            const NumberedError refused = errorRaised([&] { engine(3)->Esegui(); });
            EXPECT_EQ(refused.number(), 484);
            EXPECT_NE(std::string(refused.what()).find(c.message), std::string::npos)
                << refused.what();
            EXPECT_EQ(queue->jobs().size(), before) << c.port;
            continue;
        }
        ASSERT_TRUE(engine(3)->Esegui()) << c.port;
        ASSERT_EQ(queue->jobs().size(), before + 1) << c.port;
        EXPECT_EQ(queue->jobs().back().job.printer, c.queue) << c.port;
        EXPECT_TRUE(queue->jobs().back().job.raw);
    }
}

// One byte a character, to files and printers alike; a character the set lacks becomes "?".
TEST_F(EngineTest, FixedFormatIsWrittenInWindows1252) {
    addPrinter("Aghi", "ipp://localhost/printers/Aghi");
    PrintList list;
    list.title = "Città";
    list.captions = {"Nome"};
    // Bytes that are not UTF-8 were read as Windows-1252: they come back as they were.
    list.rows = {{"Perché € 5 Łódź"},
                 {"A\xFF"
                  "B"}};
    opz->StaVid = OpzStampa::kFissa;
    opz->FisRighe = 8;
    opz->FisColonne = 40;
    const std::string row =
        "Perch\xE9 \x80 5 ?\xF3"
        "d?";
    for (bool printer : {false, true}) {
        opz->FisStampante = printer;
        opz->FisFileName = printer ? "ipp://localhost/printers/Aghi" : folder.file("fissa.txt");
        ASSERT_TRUE(engine(list)->Esegui());
        const std::string bytes =
            printer ? queue->jobs().back().content : ScratchFolder::read(opz->FisFileName);
        EXPECT_EQ(bytes.rfind("Citt\xE0", 0), 0u) << printer;
        EXPECT_NE(bytes.find("\r\n" + row + "\r\n"), std::string::npos) << printer;
        EXPECT_NE(bytes.find("\r\nA\xFF"
                             "B\r\n"),
                  std::string::npos)
            << printer;
        EXPECT_EQ(bytes.find("\xC3"), std::string::npos) << "no UTF-8 left, printer " << printer;
    }
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
    for (const Case& c :
         std::vector<Case>{{"t", {"A", "B", "C"}, {"1", "2", "3"}}, {"", {"A", "C"}, {"1", "3"}}}) {
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
