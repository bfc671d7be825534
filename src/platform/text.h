// Text helpers of the program: lengths and positions count characters
// (UTF-8 code points), comparisons ignore case, Like has * ? # [..] patterns.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvane {

std::size_t Len(std::string_view s);
std::string Left(std::string_view s, long n);  // n < 0 raises 5
std::string Right(std::string_view s, long n);
std::string Mid(std::string_view s, long start, long length = -1);  // start is 1-based
// 1-based position of what in s from start, 0 when absent; caseless when textCompare.
long InStr(long start, std::string_view s, std::string_view what, bool textCompare = true);
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
std::string Replace(std::string_view s, std::string_view what, std::string_view with,
                    bool textCompare = true);
std::string Space(long n);
std::string Chr(int code);    // code in Windows-1252, result in UTF-8
int Asc(std::string_view s);  // Windows-1252 code of the first character; "" raises 5

// Caseless comparison: <0, 0, >0.
int compareText(std::string_view a, std::string_view b);
bool equalText(std::string_view a, std::string_view b);
// Like with * ? # [a-z] [!a-z] patterns, caseless.
bool Like(std::string_view text, std::string_view pattern);

// Windows-1252 <-> UTF-8.
std::string fromWindows1252(std::string_view bytes);
// The same into out, whose room is reused.
void fromWindows1252(std::string_view bytes, std::string& out);
// Characters with no Windows-1252 code become '?'.
std::string toWindows1252(std::string_view utf8);

// The byte-order mark that opens a UTF-8 file written to be recognised as one.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Each byte but ASCII letters, digits and the characters of `plain` as %XX (upper-case hex).
std::string percentEncoded(std::string_view bytes, std::string_view plain);

}  // namespace tolvane
