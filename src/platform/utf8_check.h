// Checks and repairs of UTF-8 byte strings, for text that arrives from files.
// Never changes valid text; never decodes into code points for callers.
#pragma once

#include <string>
#include <string_view>

namespace tolvane {

bool isAscii(std::string_view bytes);
bool isValidUtf8(std::string_view bytes);
// Every ill-formed sequence becomes U+FFFD, so that character counting stays sound.
std::string repairUtf8(std::string_view bytes);

}  // namespace tolvane
