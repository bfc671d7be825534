// Tests of the streaming line reader: line ends, end-of-file marks, encodings, block borders.
// Every case reads a real file from a scratch folder.
#include "platform/text_file_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/numbered_error.h"
#include "support/error_number.h"
#include "support/scratch_folder.h"

namespace tolvane {
namespace {

using testing::ScratchFolder;
using Lines = std::vector<std::string>;

constexpr std::size_t kBlock = 1 << 20;  // the reader's block size: borders are tested around it
const std::string kCut = " <cut>";       // marks a line the reader returned cut

Lines readAll(const std::string& path, std::string_view encoding = {}) {
    TextFileReader reader(path, encoding);
    Lines lines;
    std::string line;
    while (reader.readLine(line)) lines.push_back(reader.lineCut() ? line + kCut : line);
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
        {"mixed", "a\r\nb\nc\rd", "", {"a", "b", "c", "d"}},
        {"LF CR is two ends", "a\n\rb", "", {"a", "", "b"}},
        {"empty lines kept", "\r\n\r\na\r\n\r\n", "", {"", "", "a", ""}},
        {"empty file", "", "", {}},
        {"Ctrl-Z ends last line", "a\r\nb\x1A", "", {"a", "b"}},
        {"Ctrl-Z inside is data", "a\x1Az\r\n", "", {"a\x1Az"}},
        {"Windows-1252", "caff\xE8 \x80\r\n", "", {"caff\xC3\xA8 \xE2\x82\xAC"}},
        {"UTF-8 BOM read as UTF-8", "\xEF\xBB\xBF\xC3\xA8\r\nx", "", {"\xC3\xA8", "x"}},
        {"UTF-8 amid cp1252", "\xC3\xA9\r\n\xE8\r\n\xC3", "", {"\xC3\xA9", "\xC3\xA8", "\xC3\x83"}},
        {"NUL is data", std::string("a\0b\r\n", 5), "", {std::string("a\0b", 3)}},
        {"invalid UTF-8 replaced", "a\xFFz\n", "utf8", {"a\xEF\xBF\xBDz"}},
        {"ISO-8859-15 euro", "\xA4\n", "ISO-8859-15", {"\xE2\x82\xAC"}},
        {"UTF-16", std::string("\xFF\xFEx\0\r\0\n\0\xE8\0", 10), "UTF-16", {"x", "\xC3\xA8"}},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.write("in.txt", c.bytes);
        EXPECT_EQ(readAll(path, c.encoding), c.expected) << c.rule;
    }
}

// Lines longer than the longest line are cut and the rest skipped, wherever the borders fall.
TEST(TextFileReader, BlockBordersSplitNothingAndLongerLinesAreCut) {
    const std::string longLine(TextFileReader::kLongestLine, 'x');
    const std::string over(TextFileReader::kLongestLine + 1, 'x');
    const std::string cutLine = std::string(TextFileReader::kCutLineKeeps, 'x') + kCut;
    std::string accents;
    for (std::size_t i = 0; i < TextFileReader::kCutLineKeeps; ++i) accents += "\xC3\xA9";
    const std::string a(kBlock - 3, 'a');
    std::string utf16;  // a surrogate pair whose halves lie on both sides of the border
    for (std::size_t i = 0; i < kBlock / 2 - 1; ++i) utf16 += std::string("a\0", 2);
    utf16 += std::string("\x3D\xD8\x00\xDE", 4);
    const std::vector<ReadCase> cases = {
        {"longest line over a block border", longLine + "\r\nfine", "", {longLine, "fine"}},
        {"CRLF across the border", a + "aa\r\nb", "", {a + "aa", "b"}},
        {"UTF-8 across the border", "x\n" + a + "\xC3\xA8\n", "UTF-8", {"x", a + "\xC3\xA8"}},
        {"cut line, then a line", over + "\r\nok", "", {cutLine, "ok"}},
        {"cut at the end", "ok\n" + std::string(3 * kBlock, 'x'), "", {"ok", cutLine}},
        {"CRLF on a border", std::string(2 * kBlock - 1, 'x') + "\r\nok", "", {cutLine, "ok"}},
        {"cut line kept in characters", accents + over + "\nok", "", {accents + kCut, "ok"}},
        {"UTF-16 pair", utf16, "UTF-16LE", {std::string(kBlock / 2 - 1, 'a') + "\xF0\x9F\x98\x80"}},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.write("in.txt", c.bytes);
        EXPECT_EQ(readAll(path, c.encoding), c.expected) << c.rule;
    }
}

TEST(TextFileReader, EofAndLineNumberFollowTheLinesAndOpenFailuresAreNumbered) {
    ScratchFolder folder;
    TextFileReader reader(folder.write("in.txt", "uno\r\ndue"));
    std::string line;
    for (const auto& [text, number] : {std::pair{"uno", 1}, {"due", 2}}) {
        EXPECT_FALSE(reader.eof());
        ASSERT_TRUE(reader.readLine(line));
        EXPECT_EQ(line, text);
        EXPECT_EQ(reader.lineNumber(), number);
    }
    EXPECT_TRUE(reader.eof());
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_EQ(line, "");
    EXPECT_EQ(reader.lineNumber(), 2);
    EXPECT_TRUE(TextFileReader(folder.write("empty.txt", "\x1A")).eof());

    const std::string missing = folder.file("manca.txt");
    const NumberedError e = testing::errorRaised([&] { TextFileReader reader(missing); });
    EXPECT_EQ(e.number(), errnum::FileNotFound);
    EXPECT_EQ(e.description(), "File non trovato: " + missing);
    const std::string path = folder.write("in.txt", "a");
    EXPECT_EQ(testing::errorOf([&] { TextFileReader reader(path, "NESSUNA-CODIFICA"); }),
              errnum::InvalidCall);
}

}  // namespace
}  // namespace tolvane
