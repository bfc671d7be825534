// The command line the menu starts this program with: keywords "M", "P", "F" and "I" in the
// "/key=value" form. Never decides anything: the start-up reads the parsed values.
#pragma once

#include <string>
#include <string_view>

namespace tolvane {

struct CommandLine {
    std::string idMenu;     // "M": the menu's identification of this run
    std::string keyPrg;     // "P" up to its first blank
    std::string paramForm;  // "P" after its first blank: extra parameter of the first window
    std::string form;       // "F": the window to open
    std::string iniFile;    // "I": an INI file chosen by the caller
};

CommandLine parseCommandLine(std::string_view text);
// The arguments of main() joined by blanks: the command line as the menu passes it.
std::string joinArguments(int argc, const char* const* argv);

}  // namespace tolvane
