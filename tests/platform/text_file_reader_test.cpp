// Tests of the streaming line reader: line ends, end-of-file marks, encodings, block borders.
// Every case reads a real file from a scratch folder.
#include "platform/text_file_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/numbered_error.h"
#include "support/scratch_folder.h"

namespace tolvane {
namespace {

using testing::ScratchFolder;
using Lines = std::vector<std::string>;

constexpr std::size_t kBlock = 1 << 20;  // the reader's block size: borders are tested around it

Lines readAll(const std::string& path, std::string_view encoding = {}) {
    TextFileReader reader(path, encoding);
    Lines lines;
    std::string line;
    while (reader.readLine(line)) lines.push_back(line);
    return lines;
}

struct ReadCase {
    const char* rule;
    std::string bytes;
    const char* encoding;
    Lines expected;
};

TEST(TextFileReader, SplitsLinesAndDecodes) {
    const std::vector<ReadCase> cases = {
        {"CRLF", "a\r\nb\r\n", "", {"a", "b"}},
        {"LF", "a\nb\n", "", {"a", "b"}},
        {"CR", "a\rb\r", "", {"a", "b"}},
        {"mixed", "a\r\nb\nc\rd", "", {"a", "b", "c", "d"}},
        {"LF CR is two ends", "a\n\rb", "", {"a", "", "b"}},
        {"last line without end", "a\r\nb", "", {"a", "b"}},
        {"empty lines kept", "\r\n\r\na\r\n\r\n", "", {"", "", "a", ""}},
        {"empty file", "", "", {}},
        {"Ctrl-Z after last line", "a\r\nb\r\n\x1A", "", {"a", "b"}},
        {"Ctrl-Z ends last line", "a\r\nb\x1A", "", {"a", "b"}},
        {"Ctrl-Z inside is data",
         "a\x1A"
         "b\r\n",
         "",
         {"a\x1A"
          "b"}},
        {"only Ctrl-Z", "\x1A", "", {}},
        {"Windows-1252 accents",
         "caff\xE8 \x80 perch\xE9\r\n",
         "",
         {"caff\xC3\xA8 \xE2\x82\xAC perch\xC3\xA9"}},
        {"Windows-1252 by name", "\xE0\r\n", "cp1252", {"\xC3\xA0"}},
        {"UTF-8 BOM read as UTF-8", "\xEF\xBB\xBF\xC3\xA8\r\nx", "", {"\xC3\xA8", "x"}},
        {"UTF-8 without BOM", "\xC3\xA8\n", "UTF-8", {"\xC3\xA8"}},
        {"UTF-8 lines in a Windows-1252 file",
         "perch\xC3\xA9\r\ncaff\xE8\r\n\xC3",
         "",
         {"perch\xC3\xA9", "caff\xC3\xA8", "\xC3\x83"}},
        {"NUL is data", std::string("a\0b\r\n", 5), "", {std::string("a\0b", 3)}},
        {"invalid UTF-8 replaced",
         "a\xFF"
         "b\n",
         "utf8",
         {"a\xEF\xBF\xBD"
          "b"}},
        {"ISO-8859-1 through iconv", "\xE8\r\n", "ISO-8859-1", {"\xC3\xA8"}},
        {"ISO-8859-15 euro", "\xA4\n", "ISO-8859-15", {"\xE2\x82\xAC"}},
        {"UTF-16 with BOM",
         std::string("\xFF\xFE"
                     "a\0\r\0\n\0\xE8\0",
                     10),
         "UTF-16",
         {"a", "\xC3\xA8"}},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.write("in.txt", c.bytes);
        EXPECT_EQ(readAll(path, c.encoding), c.expected) << c.rule;
    }
}

TEST(TextFileReader, BlockBordersSplitNothing) {
    const std::string longLine(TextFileReader::kLongestLine, 'x');
    std::string crlfOnBorder(kBlock - 1, 'a');
    crlfOnBorder += "\r\nb";
    std::string utf8OnBorder = "x\n" + std::string(kBlock - 3, 'a');
    utf8OnBorder += "\xC3\xA8\n";
    const std::vector<ReadCase> cases = {
        {"longest line over a block border", longLine + "\r\nfine", "", {longLine, "fine"}},
        {"CRLF across the border", crlfOnBorder, "", {std::string(kBlock - 1, 'a'), "b"}},
        {"UTF-8 character across the border",
         utf8OnBorder,
         "UTF-8",
         {"x", std::string(kBlock - 3, 'a') + "\xC3\xA8"}},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.write("in.txt", c.bytes);
        EXPECT_EQ(readAll(path, c.encoding), c.expected) << c.rule;
    }
    // Through iconv: a surrogate pair whose halves lie on both sides of the border.
    std::string utf16;
    for (std::size_t i = 0; i < kBlock / 2 - 1; ++i) utf16 += std::string("a\0", 2);
    utf16 += std::string("\x3D\xD8\x00\xDE", 4);
    EXPECT_EQ(readAll(folder.write("in16.txt", utf16), "UTF-16LE"),
              Lines{std::string(kBlock / 2 - 1, 'a') + "\xF0\x9F\x98\x80"});
}

TEST(TextFileReader, LongerLinesAreCutAndSkipped) {
    const std::size_t over = TextFileReader::kLongestLine + 1;
    const std::string accents = [] {
        std::string s;
        for (std::size_t i = 0; i < TextFileReader::kCutLineKeeps; ++i) s += "\xC3\xA9";
        return s;
    }();
    const struct {
        const char* rule;
        std::string bytes;
        Lines expected;
        std::vector<bool> cut;
    } cases[] = {
        {"then a line",
         std::string(over, 'x') + "\r\nok",
         {std::string(1000, 'x'), "ok"},
         {true, false}},
        {"at the end of the file",
         "ok\n" + std::string(3 * kBlock, 'x'),
         {"ok", std::string(1000, 'x')},
         {false, true}},
        {"CRLF on a block border",
         std::string(2 * kBlock - 1, 'x') + "\r\nok",
         {std::string(1000, 'x'), "ok"},
         {true, false}},
        {"kept in characters",
         accents + std::string(over, 'e') + "\nok",
         {accents, "ok"},
         {true, false}},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        TextFileReader reader(folder.write("in.txt", c.bytes));
        Lines lines;
        std::vector<bool> cut;
        std::string line;
        while (reader.readLine(line)) {
            lines.push_back(line);
            cut.push_back(reader.lineCut());
        }
        EXPECT_EQ(lines, c.expected) << c.rule;
        EXPECT_EQ(cut, c.cut) << c.rule;
    }
}

TEST(TextFileReader, EofAndLineNumberFollowTheLines) {
    ScratchFolder folder;
    TextFileReader reader(folder.write("in.txt", "uno\r\ndue"));
    std::string line;
    EXPECT_FALSE(reader.eof());
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "uno");
    EXPECT_EQ(reader.lineNumber(), 1);
    EXPECT_FALSE(reader.eof());
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "due");
    EXPECT_EQ(reader.lineNumber(), 2);
    EXPECT_TRUE(reader.eof());
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_EQ(line, "");
    EXPECT_EQ(reader.lineNumber(), 2);

    TextFileReader empty(folder.write("empty.txt", "\x1A"));
    EXPECT_TRUE(empty.eof());
}

TEST(TextFileReader, OpenFailuresAreNumbered) {
    ScratchFolder folder;
    const std::string missing = folder.file("manca.txt");
    try {
        TextFileReader reader(missing);
        ADD_FAILURE() << "missing file opened";
    } catch (const NumberedError& e) {
        EXPECT_EQ(e.number(), errnum::FileNotFound);
        EXPECT_EQ(e.description(), "File non trovato: " + missing);
    }
    try {
        TextFileReader reader(folder.write("in.txt", "a"), "NESSUNA-CODIFICA");
        ADD_FAILURE() << "unknown encoding accepted";
    } catch (const NumberedError& e) {
        EXPECT_EQ(e.number(), errnum::InvalidCall);
    }
}

}  // namespace
}  // namespace tolvane
