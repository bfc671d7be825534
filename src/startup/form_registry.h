// The windows that the menu may open by name ("frmtolvane", "frmdatiazie", "frmpersonal",
// "frmdastudio"): each subsystem registers how its window is opened. Never opens anything
// itself; names are compared trimmed and without regard to case.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tolvane {

// What the opener hands to the window: the launch variables and the extra parameter.
struct ApriFormArgs {
    std::string osKeySec;
    std::string osKeyLancia;
    std::string osKeySecLancia;
    std::string osParamLancia;
    std::string osParam;  // the text after the first blank of "P"
};

using FormOpener = std::function<void(const ApriFormArgs& args)>;

void registraForm(const std::string& psNome, FormOpener opener);
// nullptr when no window of that name is registered.
const FormOpener* formRegistrata(const std::string& psNome);
// The registered names in lower case, sorted.
std::vector<std::string> formRegistrate();
void cancellaRegistroForm();

}  // namespace tolvane
