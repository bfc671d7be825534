// Business rules shared by several windows that need neither a window nor a database:
// qualified names, escapes of a separator text, the split of an account text.
// Never validate what the callers store: they split and decode only.
#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// a & "." & b
std::string CampoQualificato(std::string_view a, std::string_view b);

// Decodes backslash escapes left to right: "\\" gives one backslash; a backslash and three
// digits from 000 to 255 give the character of that Windows-1252 code (in UTF-8); any other
// backslash is kept and the scan goes on after it.
std::string SeparaPercorso(std::string_view psTesto);

// Splits an account text into group, mastro and account. Without a dash: two characters of
// group, two of mastro, the rest ("0102003"); with dashes: the parts between them
// ("01-02-003"), so that no dash ever lands in a part. An empty text gives three empty parts.
void DividiConto(std::string_view psContoCompleto, std::string& psGruppo, std::string& psMastro,
                 std::string& psConto);

}  // namespace tolvane
