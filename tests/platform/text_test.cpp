// Rules of the text helpers: character counting on UTF-8, caseless comparison with accents,
// the Like patterns and the Windows-1252 conversions.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/numbered_error.h"
#include "support/error_number.h"

namespace tolvane {
namespace {

using testing::errorOf;

TEST(Text, LengthsAndPositionsCountCharacters) {
    EXPECT_EQ(Len("perché"), 6u);
    EXPECT_EQ(Len("€ 5"), 3u);
    EXPECT_EQ(Len(""), 0u);
    EXPECT_EQ(Len("\xC3"), 1u);  // a broken sequence still counts as one character
    EXPECT_EQ(Left("àèìòù", 2), "àè");
    EXPECT_EQ(Left("àè", 10), "àè");
    EXPECT_EQ(Right("àèìòù", 2), "òù");
    EXPECT_EQ(Right("àè", 0), "");
    EXPECT_EQ(Mid("àèìòù", 2, 3), "èìò");
    EXPECT_EQ(Mid("àèìòù", 4), "òù");
    EXPECT_EQ(Mid("àè", 5), "");
    EXPECT_EQ(Mid("àèì", 2, 0), "");
    EXPECT_EQ(InStr(1, "Società più", "più"), 9);
    EXPECT_EQ(InStr(1, "Società PIÙ", "più"), 9);
    EXPECT_EQ(InStr(1, "Società PIÙ", "più", false), 0);
    EXPECT_EQ(InStr(3, "abab", "ab"), 3);
    EXPECT_EQ(InStr(4, "abab", "ab"), 0);
    EXPECT_EQ(InStr(1, "abc", ""), 1);
    EXPECT_EQ(InStr(1, "", "a"), 0);
    EXPECT_EQ(InStr(9, "abc", "a"), 0);
}

TEST(Text, NegativeLengthsRaiseInvalidCall) {
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
    struct Case {
        std::string a;
        std::string b;
        int expected;
    };
    const std::vector<Case> cases = {
        {"è", "È", 0},  {"Perché", "PERCHÉ", 0}, {"abc", "ABC", 0},   {"e", "è", -1},
        {"è", "f", -1}, {"èa", "eb", -1},        {"abc", "abcd", -1}, {"", "", 0},
        {"b", "A", 1},  {"ÀNCORA", "ancora", 1}, {"Zeta", "été", 1},
    };
    for (const auto& c : cases) {
        const int r = compareText(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.expected) << c.a << " vs " << c.b;
        const int back = compareText(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.expected) << c.b << " vs " << c.a;
        EXPECT_EQ(equalText(c.a, c.b), c.expected == 0);
    }
}

TEST(Text, LikePatterns) {
    struct Case {
        std::string text;
        std::string pattern;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"abcdef", "abc*", true},  // LikeStarMatchesPrefix
        {"abcdef", "*def", true},
        {"abcdef", "*cd*", true},
        {"abcdef", "*xy*", false},
        {"", "*", true},
        {"", "", true},
        {"a", "", false},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"àbc", "?bc", true},
        {"a1c", "a#c", true},
        {"abc", "a#c", false},
        {"ABC", "abc", true},
        {"PERCHÉ", "perch?", true},
        {"PERCHÉ", "*é", true},
        {"perche", "*é", false},
        {"b", "[a-c]", true},
        {"B", "[a-c]", true},
        {"d", "[a-c]", false},
        {"d", "[!a-c]", true},
        {"b", "[!a-c]", false},
        {"è", "[a-z]", true},
        {"È", "[è]", true},
        {"-", "[a-]", true},
        {"x", "[!]", true},
        {"[", "[[]", true},
        {"a[b", "a[[]b", true},
        {"*", "[*]", true},
        {"ab", "a[*]", false},
        {"?", "[?]", true},
        {"#", "[#]", true},
        {"5", "[#]", false},
        {"]", "]", true},
        {"abc", "a[]bc", true},
        {"S", "[SsNn]", true},
        {"ab12", "[a-z][a-z]##", true},
        {"S.p.A.", "*.?.*", true},
        {"mississippi", "*sip*", true},
        {"mississippi", "m*iss*ppi", true},
        {"mississippi", "m*iss*ppx", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Like(c.text, c.pattern), c.expected) << c.text << " Like " << c.pattern;
    EXPECT_EQ(errorOf([] { Like("a", "[a"); }), 93);
    EXPECT_EQ(errorOf([] { Like("a", "[z-a]"); }), 93);
}

TEST(Text, LikeWithManyStarsStaysFast) {
    const std::string text(5000, 'a');
    std::string pattern;
    for (int i = 0; i < 200; ++i) pattern += "*a";
    EXPECT_TRUE(Like(text, pattern));
    EXPECT_FALSE(Like(text, pattern + "b"));
    EXPECT_FALSE(Like(text, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST(Text, TrimRemovesSpacesOnly) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Space(3), "   ");
}

TEST(Text, ReplaceIgnoresCaseWhenAsked) {
    EXPECT_EQ(Replace("Città CITTÀ città", "città", "paese"), "paese paese paese");
    EXPECT_EQ(Replace("Città CITTÀ", "città", "x", false), "Città CITTÀ");
    EXPECT_EQ(Replace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(Replace("abc", "", "x"), "abc");
    EXPECT_EQ(Replace("a-b-c", "-", ""), "abc");
}

TEST(Text, Windows1252RoundTripsEveryDefinedByte) {
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE(code);
        const std::string byte(1, static_cast<char>(code));
        const std::string utf8 = fromWindows1252(byte);
        EXPECT_EQ(toWindows1252(utf8), byte);
        EXPECT_EQ(Chr(code), utf8);
        EXPECT_EQ(Asc(utf8), code);
        EXPECT_EQ(Len(utf8), 1u);
    }
}

TEST(Text, Windows1252MapsItsOwnRange) {
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

}  // namespace
}  // namespace tolvane
