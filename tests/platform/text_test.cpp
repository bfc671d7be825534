// Rules of the text helpers: character counting on UTF-8, caseless comparison with accents,
// the Like patterns and the Windows-1252 conversions; names, whose case folds only in A-Z.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/names.h"
#include "platform/numbered_error.h"
#include "support/error_number.h"

namespace tolvane {
namespace {

using testing::errorOf;

TEST(Text, LengthsAndPositionsCountCharactersAndRefuseNegatives) {
    EXPECT_EQ(Len("perché"), 6u);
    EXPECT_EQ(Len("€ 5"), 3u);
    EXPECT_EQ(Len("\xC3"), 1u);  // a broken sequence still counts as one character
    EXPECT_EQ(Left("àèìòù", 2), "àè");
    EXPECT_EQ(Left("àè", 10), "àè");
    EXPECT_EQ(Right("àèìòù", 2), "òù");
    EXPECT_EQ(Mid("àèìòù", 2, 3), "èìò");
    EXPECT_EQ(Mid("àèìòù", 4), "òù");
    EXPECT_EQ(Mid("àè", 5), "");
    EXPECT_EQ(InStr(1, "Società più", "più"), 9);
    EXPECT_EQ(InStr(1, "Società PIÙ", "più"), 9);
    EXPECT_EQ(InStr(1, "Società PIÙ", "più", false), 0);
    EXPECT_EQ(InStr(3, "abab", "ab"), 3);
    EXPECT_EQ(InStr(1, "abc", ""), 1);
    EXPECT_EQ(InStr(9, "abc", "a"), 0);
    const std::vector<std::function<void()>> calls = {
        [] { Left("abc", -1); },
        [] { Right("abc", -1); },
        [] { Mid("abc", 0); },
        [] { Mid("abc", 1, -2); },
        [] { InStr(0, "abc", "a"); },
        [] { Space(-1); },
        [] { Asc(""); },
        [] { Chr(256); },
        [] { Chr(-1); },
    };
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(errorOf(calls[i]), errnum::InvalidCall) << "call " << i;
}

TEST(Text, CaseMappingCoversAccentedLetters) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"àèéìòù", "ÀÈÉÌÒÙ"}, {"çñäöüÿ", "ÇÑÄÖÜŸ"}, {"œšž", "ŒŠŽ"},     {"abc xyz", "ABC XYZ"},
        {"łńść", "ŁŃŚĆ"},     {"ß", "ß"},           {"1,5 €", "1,5 €"},
    };
    for (const auto& [lower, upper] : cases) {
        EXPECT_EQ(UCase(lower), upper);
        EXPECT_EQ(LCase(upper), lower);
    }
    EXPECT_EQ(UCase("a\xFFz"), "A\xFFZ");  // bytes that are not UTF-8 pass through
}

TEST(Text, CaselessComparisonHandlesAccents) {
    const std::vector<std::tuple<std::string, std::string, int>> cases = {
        {"è", "È", 0},  {"Perché", "PERCHÉ", 0}, {"abc", "ABC", 0},   {"e", "è", -1},
        {"è", "f", -1}, {"èa", "eb", -1},        {"abc", "abcd", -1}, {"", "", 0},
        {"b", "A", 1},  {"ÀNCORA", "ancora", 1}, {"Zeta", "été", 1},
    };
    const auto sign = [](int r) { return (r > 0) - (r < 0); };
    for (const auto& [a, b, expected] : cases) {
        EXPECT_EQ(sign(compareText(a, b)), expected) << a << " vs " << b;
        EXPECT_EQ(sign(compareText(b, a)), -expected) << b << " vs " << a;
        EXPECT_EQ(equalText(a, b), expected == 0);
    }
}

TEST(Text, LikePatterns) {
    const std::vector<std::pair<std::string, std::string>> matches = {
        {"abcdef", "abc*"}, {"", "*"},        {"abc", "a?c"},   {"àbc", "?bc"},  {"a1c", "a#c"},
        {"ABC", "abc"},     {"PERCHÉ", "*é"}, {"B", "[a-c]"},   {"d", "[!a-c]"}, {"è", "[a-z]"},
        {"È", "[è]"},       {"-", "[a-]"},    {"x", "[!]"},     {"[", "[[]"},    {"*", "[*]"},
        {"#", "[#]"},       {"]", "]"},       {"abc", "a[]bc"},
    };
    for (const auto& [text, pattern] : matches)
        EXPECT_TRUE(Like(text, pattern)) << text << " Like " << pattern;
    const std::vector<std::pair<std::string, std::string>> misses = {
        {"a", ""},      {"ac", "a?c"},  {"abc", "a#c"}, {"perche", "*é"},
        {"d", "[a-c]"}, {"ab", "a[*]"}, {"5", "[#]"},
    };
    for (const auto& [text, pattern] : misses)
        EXPECT_FALSE(Like(text, pattern)) << text << " Like " << pattern;
    EXPECT_EQ(errorOf([] { Like("a", "[a"); }), 93);
    EXPECT_EQ(errorOf([] { Like("a", "[z-a]"); }), 93);
}

TEST(Text, LikeStarsBacktrackAndManyStaysFast) {
    EXPECT_TRUE(Like("mississippi", "m*iss*ppi"));
    EXPECT_FALSE(Like("mississippi", "m*iss*ppx"));
    const std::string text(5000, 'a');
    std::string pattern;
    for (int i = 0; i < 200; ++i) pattern += "*a";
    EXPECT_TRUE(Like(text, pattern));
    EXPECT_FALSE(Like(text, pattern + "b"));
    EXPECT_FALSE(Like(text, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST(Text, TrimRemovesSpacesOnlyAndReplaceIgnoresCaseWhenAsked) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Space(3), "   ");
    EXPECT_EQ(Replace("Città CITTÀ città", "città", "paese"), "paese paese paese");
    EXPECT_EQ(Replace("Città CITTÀ", "città", "x", false), "Città CITTÀ");
    EXPECT_EQ(Replace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(Replace("abc", "", "x"), "abc");
    EXPECT_EQ(Replace("a-b-c", "-", ""), "abc");
}

TEST(Text, Windows1252RoundTripsEveryByteAndMapsItsOwnRange) {
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE(code);
        const std::string byte(1, static_cast<char>(code));
        const std::string utf8 = fromWindows1252(byte);
        EXPECT_EQ(toWindows1252(utf8), byte);
        EXPECT_EQ(Chr(code), utf8);
        EXPECT_EQ(Asc(utf8), code);
        EXPECT_EQ(Len(utf8), 1u);
    }
    const std::vector<std::pair<int, std::string>> cases = {
        {0x80, "€"},      {0x8A, "Š"},      {0x91, "‘"}, {0x96, "–"},      {0x99, "™"}, {0x9F, "Ÿ"},
        {0x81, "\u0081"}, {0x9D, "\u009D"}, {0xE0, "à"}, {0xA0, "\u00A0"}, {0x41, "A"},
    };
    for (const auto& [code, utf8] : cases) EXPECT_EQ(Chr(code), utf8) << code;
    EXPECT_EQ(toWindows1252("Ω€\u0080"), "?\x80?");
    EXPECT_EQ(toWindows1252("a\xC3"), "a?");
    EXPECT_EQ(Asc("Ωx"), '?');
    EXPECT_EQ(fromWindows1252("Citt\xE0 \x80"), "Città €");
}

// Names fold A-Z only, whatever the locale; quotes are doubled.
TEST(Names, OnlyAsciiLettersFoldAndQuotesAreDoubled) {
    EXPECT_EQ(lower("TabRiba.ÈCodice_1"), "tabriba.Ècodice_1");
    EXPECT_TRUE(sameName("VersioneSchema", "versioneSCHEMA"));
    EXPECT_FALSE(sameName("Città", "CITTÀ"));
    EXPECT_FALSE(sameName("Conto", "Conto1"));
    CaselessMap<int> map;
    map.emplace("RagSocDitta", 1);
    EXPECT_EQ(map.count("ragsocditta"), 1u);
    EXPECT_EQ(map.find(std::string_view("RAGSOCDITTA"))->first, "RagSocDitta");
    EXPECT_EQ(map.count("RagSocDitt"), 0u);
    EXPECT_EQ(quoteName("Ditta \"A\""), "\"Ditta \"\"A\"\"\"");
    EXPECT_EQ(quoteName("a.b"), "\"a.b\"");
    EXPECT_EQ(quoteQualifiedName("comune.Aziende"), "\"comune\".\"Aziende\"");
}

}  // namespace
}  // namespace tolvane
