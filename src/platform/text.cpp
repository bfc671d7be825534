// Character-counting string helpers, caseless comparison, Like and Windows-1252 conversion.
// Positions are code points, never bytes; nothing here may depend on the machine's locale.
#include "platform/text.h"

#include <array>
#include <cstdint>
#include <vector>

#include "platform/numbered_error.h"

namespace tolvane {

namespace {

constexpr char32_t kInvalid = 0xFFFD;

struct Unit {
    char32_t cp;
    std::size_t size;  // bytes taken in the text
    bool valid;
};

// A malformed byte counts as one character of its own, so that slicing keeps the bytes.
Unit decode(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return {b0, 1, true};
    std::size_t need = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        return {kInvalid, 1, false};
    }
    if (i + need >= s.size()) return {kInvalid, 1, false};
    for (std::size_t k = 1; k <= need; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return {kInvalid, 1, false};
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {kInvalid, 1, false};
    return {cp, need + 1, true};
}

void encode(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Byte offset of the character with 0-based index n (s.size() when past the end).
std::size_t byteOffset(std::string_view s, std::size_t n) {
    std::size_t i = 0;
    while (n > 0 && i < s.size()) {
        i += decode(s, i).size;
        --n;
    }
    return i;
}

// Case pairs only where upper and lower forms have the same UTF-8 length, so that folding
// never moves character boundaries. Dotted/dotless i and the long s are left alone.
char32_t toLowerCp(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x17F) {
        if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
            return (c % 2 == 0) ? c + 1 : c;
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c % 2 == 1) ? c + 1 : c;
        return c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

char32_t toUpperCp(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
            return (c % 2 == 1) ? c - 1 : c;
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c % 2 == 0) ? c - 1 : c;
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

// The letter an accented Latin letter sorts with, so that "è" falls between "e" and "f".
char32_t baseLetter(char32_t lower) {
    static constexpr std::string_view latin1 =  // U+00E0 .. U+00FF
        "aaaaaa.ceeeeiiiidnooooo.ouuuuy.y";
    static constexpr std::string_view extendedA =  // U+0100 .. U+017F
        "aaaaaa"
        "cccccccc"
        "dddd"
        "eeeeeeeeee"
        "gggggggg"
        "hhhh"
        "iiiiiiiiii"
        ".."
        "jj"
        "kk."
        "llllllllll"
        "nnnnnnn"
        ".."
        "oooooo"
        ".."
        "rrrrrr"
        "ssssssss"
        "tttttt"
        "uuuuuuuuuuuu"
        "ww"
        "yyy"
        "zzzzzz"
        ".";
    static_assert(latin1.size() == 32 && extendedA.size() == 128);
    char p = '.';
    if (lower >= 0xE0 && lower <= 0xFF) p = latin1[lower - 0xE0];
    if (lower >= 0x100 && lower <= 0x17F) p = extendedA[lower - 0x100];
    return p == '.' ? lower : static_cast<char32_t>(p);
}

char32_t fold(char32_t c) { return toLowerCp(c); }

// Ordering key of one character: accent-blind first, then the folded character itself.
struct SortKey {
    char32_t primary;
    char32_t secondary;
    auto operator<=>(const SortKey&) const = default;
};

SortKey sortKey(char32_t c) {
    const char32_t f = fold(c);
    return {baseLetter(f), f};
}

constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t cp1252ToUnicode(unsigned char b) {
    return (b >= 0x80 && b <= 0x9F) ? kCp1252High[b - 0x80] : b;
}

// -1 when the character has no Windows-1252 code.
int unicodeToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t k = 0; k < kCp1252High.size(); ++k)
        if (kCp1252High[k] == cp) return static_cast<int>(0x80 + k);
    return -1;
}

std::string mapCase(std::string_view s, char32_t (*map)(char32_t)) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const Unit u = decode(s, i);
        if (u.valid) encode(map(u.cp), out);
        else out += s[i];
        i += u.size;
    }
    return out;
}

std::vector<Unit> units(std::string_view s) {
    std::vector<Unit> out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        out.push_back(decode(s, i));
        i += out.back().size;
    }
    return out;
}

bool sameChar(const Unit& a, const Unit& b, bool textCompare) {
    return textCompare ? fold(a.cp) == fold(b.cp) : a.cp == b.cp;
}

// Index of the first match of what in s at or after from, or npos.
std::size_t findUnits(const std::vector<Unit>& s, const std::vector<Unit>& what, std::size_t from,
                      bool textCompare) {
    if (what.size() > s.size()) return std::string_view::npos;
    for (std::size_t i = from; i + what.size() <= s.size(); ++i) {
        std::size_t k = 0;
        while (k < what.size() && sameChar(s[i + k], what[k], textCompare)) ++k;
        if (k == what.size()) return i;
    }
    return std::string_view::npos;
}

[[noreturn]] void invalidCall(const char* where) {
    throw NumberedError(errnum::InvalidCall, "Chiamata di routine o argomento non validi", where);
}

// One step of a compiled Like pattern: either a star or a test on exactly one character.
struct LikeToken {
    enum Kind { Star, Any, Digit, Literal, Set };
    explicit LikeToken(Kind k, char32_t c = 0) : kind(k), literal(c) {}
    Kind kind;
    char32_t literal;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;  // inclusive, single chars as (c, c)
};

bool tokenMatches(const LikeToken& t, char32_t c) {
    switch (t.kind) {
        case LikeToken::Any:
            return true;
        case LikeToken::Digit:
            return c >= '0' && c <= '9';
        case LikeToken::Literal:
            return fold(c) == fold(t.literal);
        case LikeToken::Set: {
            bool in = false;
            const SortKey k = sortKey(c);
            for (const auto& [lo, hi] : t.ranges) {
                if (lo == hi ? fold(c) == fold(lo) : (sortKey(lo) <= k && k <= sortKey(hi))) {
                    in = true;
                    break;
                }
            }
            return in != t.negated;
        }
        case LikeToken::Star:
            break;
    }
    return false;
}

std::vector<LikeToken> compileLike(std::string_view pattern) {
    std::vector<LikeToken> tokens;
    const std::vector<Unit> p = units(pattern);
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i].cp;
        if (c == '*') {
            if (tokens.empty() || tokens.back().kind != LikeToken::Star)
                tokens.emplace_back(LikeToken::Star);
        } else if (c == '?') {
            tokens.emplace_back(LikeToken::Any);
        } else if (c == '#') {
            tokens.emplace_back(LikeToken::Digit);
        } else if (c == '[') {
            std::size_t j = i + 1;
            LikeToken t(LikeToken::Set);
            if (j < p.size() && p[j].cp == '!') {
                t.negated = true;
                ++j;
            }
            const std::size_t first = j;
            while (j < p.size() && p[j].cp != ']') {
                const char32_t lo = p[j].cp;
                // A dash between two characters makes a range; at either end it is itself.
                if (j + 2 < p.size() && p[j + 1].cp == '-' && p[j + 2].cp != ']') {
                    const char32_t hi = p[j + 2].cp;
                    if (sortKey(hi) < sortKey(lo))
                        throw NumberedError(errnum::InvalidPattern, "Stringa di criteri non valida",
                                            "Like");
                    t.ranges.emplace_back(lo, hi);
                    j += 3;
                } else {
                    t.ranges.emplace_back(lo, lo);
                    ++j;
                }
            }
            if (j >= p.size())
                throw NumberedError(errnum::InvalidPattern, "Stringa di criteri non valida",
                                    "Like");
            // "[]" matches the empty text: no token. "[!]" matches any one character.
            if (j > first || t.negated) tokens.push_back(std::move(t));
            i = j;
        } else {
            tokens.emplace_back(LikeToken::Literal, c);
        }
    }
    return tokens;
}

}  // namespace

std::size_t Len(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i += decode(s, i).size) ++n;
    return n;
}

std::string Left(std::string_view s, long n) {
    if (n < 0) invalidCall("Left");
    return std::string(s.substr(0, byteOffset(s, static_cast<std::size_t>(n))));
}

std::string Right(std::string_view s, long n) {
    if (n < 0) invalidCall("Right");
    const std::size_t len = Len(s);
    if (static_cast<std::size_t>(n) >= len) return std::string(s);
    return std::string(s.substr(byteOffset(s, len - static_cast<std::size_t>(n))));
}

std::string Mid(std::string_view s, long start, long length) {
    // -1 stands for an omitted length: the rest of the text.
    if (start < 1 || length < -1) invalidCall("Mid");
    const std::size_t from = byteOffset(s, static_cast<std::size_t>(start - 1));
    std::string_view rest = s.substr(from);
    if (length == -1) return std::string(rest);
    return std::string(rest.substr(0, byteOffset(rest, static_cast<std::size_t>(length))));
}

long InStr(long start, std::string_view s, std::string_view what, bool textCompare) {
    if (start < 1) invalidCall("InStr");
    const std::vector<Unit> su = units(s);
    if (su.empty()) return 0;
    if (static_cast<std::size_t>(start) > su.size()) return 0;
    if (what.empty()) return start;
    const std::size_t at =
        findUnits(su, units(what), static_cast<std::size_t>(start - 1), textCompare);
    return at == std::string_view::npos ? 0 : static_cast<long>(at + 1);
}

std::string UCase(std::string_view s) { return mapCase(s, toUpperCp); }
std::string LCase(std::string_view s) { return mapCase(s, toLowerCp); }

std::string LTrim(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
    const std::size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

std::string Replace(std::string_view s, std::string_view what, std::string_view with,
                    bool textCompare) {
    if (what.empty()) return std::string(s);
    const std::vector<Unit> su = units(s);
    const std::vector<Unit> wu = units(what);
    std::vector<std::size_t> offsets(su.size() + 1, 0);
    for (std::size_t i = 0; i < su.size(); ++i) offsets[i + 1] = offsets[i] + su[i].size;
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = findUnits(su, wu, from, textCompare);
        if (at == std::string_view::npos) break;
        out.append(s.substr(offsets[from], offsets[at] - offsets[from]));
        out.append(with);
        from = at + wu.size();
    }
    out.append(s.substr(offsets[from]));
    return out;
}

std::string Space(long n) {
    if (n < 0) invalidCall("Space");
    return std::string(static_cast<std::size_t>(n), ' ');
}

std::string Chr(int code) {
    if (code < 0 || code > 255) invalidCall("Chr");
    std::string out;
    encode(cp1252ToUnicode(static_cast<unsigned char>(code)), out);
    return out;
}

int Asc(std::string_view s) {
    if (s.empty()) invalidCall("Asc");
    const Unit u = decode(s, 0);
    if (!u.valid) return '?';
    const int code = unicodeToCp1252(u.cp);
    return code < 0 ? '?' : code;
}

int compareText(std::string_view a, std::string_view b) {
    // Two passes, as a collation does: letters first, accents only to break a tie.
    for (int pass = 0; pass < 2; ++pass) {
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < a.size() && j < b.size()) {
            const Unit ua = decode(a, i);
            const Unit ub = decode(b, j);
            const SortKey ka = sortKey(ua.cp);
            const SortKey kb = sortKey(ub.cp);
            const char32_t ca = pass == 0 ? ka.primary : ka.secondary;
            const char32_t cb = pass == 0 ? kb.primary : kb.secondary;
            if (ca != cb) return ca < cb ? -1 : 1;
            if (pass == 1 && !ua.valid && !ub.valid && a[i] != b[j])
                return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
            i += ua.size;
            j += ub.size;
        }
        if (i < a.size()) return 1;
        if (j < b.size()) return -1;
    }
    return 0;
}

bool equalText(std::string_view a, std::string_view b) { return compareText(a, b) == 0; }

bool Like(std::string_view text, std::string_view pattern) {
    const std::vector<LikeToken> tokens = compileLike(pattern);
    const std::vector<Unit> t = units(text);
    // Greedy match that backs up only to the last star: at most |text| * |pattern| steps.
    std::size_t ti = 0;
    std::size_t pi = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starT = 0;
    while (ti < t.size()) {
        if (pi < tokens.size() && tokens[pi].kind == LikeToken::Star) {
            starP = pi++;
            starT = ti;
        } else if (pi < tokens.size() && tokenMatches(tokens[pi], t[ti].cp)) {
            ++pi;
            ++ti;
        } else if (starP != std::string_view::npos) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < tokens.size() && tokens[pi].kind == LikeToken::Star) ++pi;
    return pi == tokens.size();
}

std::string fromWindows1252(std::string_view bytes) {
    std::string out;
    fromWindows1252(bytes, out);
    return out;
}

void fromWindows1252(std::string_view bytes, std::string& out) {
    out.clear();
    out.reserve(bytes.size());
    // ASCII bytes are the same in both: copied a run at a time.
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t run = i;
        while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80) ++run;
        out.append(bytes.data() + i, run - i);
        if (run == bytes.size()) break;
        encode(cp1252ToUnicode(static_cast<unsigned char>(bytes[run])), out);
        i = run + 1;
    }
}

std::string toWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const Unit u = decode(utf8, i);
        const int code = u.valid ? unicodeToCp1252(u.cp) : -1;
        out += static_cast<char>(code < 0 ? '?' : code);
        i += u.size;
    }
    return out;
}

std::string percentEncoded(std::string_view bytes, std::string_view plain) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') ||
                          plain.find(static_cast<char>(c)) != std::string_view::npos;
        if (kept) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

}  // namespace tolvane
