// Caseless names and their quoting: only A-Z fold, whatever the locale; quotes are doubled.
#include "platform/names.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(Names, OnlyAsciiLettersFoldAndMapsFindEitherCase) {
    EXPECT_EQ(lower("TabRiba.ÈCodice_1"), "tabriba.Ècodice_1");
    EXPECT_TRUE(sameName("VersioneSchema", "versioneSCHEMA"));
    EXPECT_FALSE(sameName("Città", "CITTÀ"));
    EXPECT_FALSE(sameName("Conto", "Conto1"));
    CaselessMap<int> map;
    map.emplace("RagSocDitta", 1);
    EXPECT_EQ(map.count("ragsocditta"), 1u);
    EXPECT_EQ(map.find(std::string_view("RAGSOCDITTA"))->first, "RagSocDitta");
    EXPECT_EQ(map.count("RagSocDitt"), 0u);
}

TEST(Names, QuotingDoublesInnerQuotesAndSplitsQualifiedNames) {
    EXPECT_EQ(quoteName("Ditta \"A\""), "\"Ditta \"\"A\"\"\"");
    EXPECT_EQ(quoteName("a.b"), "\"a.b\"");
    EXPECT_EQ(quoteQualifiedName("comune.Aziende"), "\"comune\".\"Aziende\"");
}

}  // namespace
}  // namespace tolvane
