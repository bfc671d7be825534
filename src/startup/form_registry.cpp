// The registry of windows opened by name. Never holds a window instance: only how to open it.
#include "startup/form_registry.h"

#include <map>

#include "platform/text.h"

namespace tolvane {

namespace {

std::map<std::string, FormOpener>& registry() {
    static std::map<std::string, FormOpener> openers;
    return openers;
}

}  // namespace

void registraForm(const std::string& psNome, FormOpener opener) {
    registry()[LCase(Trim(psNome))] = std::move(opener);
}

const FormOpener* formRegistrata(const std::string& psNome) {
    auto it = registry().find(LCase(Trim(psNome)));
    return it == registry().end() ? nullptr : &it->second;
}

std::vector<std::string> formRegistrate() {
    std::vector<std::string> names;
    for (const auto& [name, opener] : registry()) names.push_back(name);
    return names;
}

void cancellaRegistroForm() { registry().clear(); }

}  // namespace tolvane
