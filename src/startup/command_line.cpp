// Parsing of the program's command line keywords with the general library's keyword rules.
// Never trusts a keyword to be present: a missing one reads as "".
#include "startup/command_line.h"

#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

CommandLine parseCommandLine(std::string_view text) {
    const LibGenerale& lib = goLibGen();
    CommandLine line;
    line.idMenu = lib.EstraiParametro(text, "M");
    std::string p = lib.EstraiParametro(text, "P");
    auto blank = p.find(' ');
    line.keyPrg = p.substr(0, blank);
    if (blank != std::string::npos) line.paramForm = Trim(p.substr(blank + 1));
    line.form = lib.EstraiParametro(text, "F");
    line.iniFile = lib.EstraiParametro(text, "I");
    return line;
}

std::string joinArguments(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (!text.empty()) text += ' ';
        text += argv[i];
    }
    return text;
}

}  // namespace tolvane
