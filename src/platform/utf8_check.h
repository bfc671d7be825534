// Checks and repairs of UTF-8 byte strings, for text that arrives from files.
// Never changes valid text; never decodes into code points for callers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvane {

bool isAscii(std::string_view bytes);
bool isValidUtf8(std::string_view bytes);
// Every ill-formed sequence becomes U+FFFD, so that character counting stays sound.
std::string repairUtf8(std::string_view bytes);
// The length of the noncharacter that starts at i, 0 when none does: U+FDD0..U+FDEF and the last
// two code points of every plane are well-formed UTF-8, yet no text, and PDF writers refuse them.
std::size_t noncharacterAt(std::string_view bytes, std::size_t i);

}  // namespace tolvane
