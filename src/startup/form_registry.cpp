// The registry of windows opened by name. Never holds a window instance: only how to open it.
#include "startup/form_registry.h"

#include <algorithm>

#include "platform/names.h"
#include "platform/text.h"

namespace tolvane {

namespace {

CaselessMap<FormOpener>& registry() {
    static CaselessMap<FormOpener> openers;
    return openers;
}

}  // namespace

void registraForm(const std::string& psNome, FormOpener opener) {
    registry().insert_or_assign(Trim(psNome), std::move(opener));
}

const FormOpener* formRegistrata(const std::string& psNome) {
    auto it = registry().find(Trim(psNome));
    return it == registry().end() ? nullptr : &it->second;
}

std::vector<std::string> formRegistrate() {
    std::vector<std::string> names;
    for (const auto& [name, opener] : registry()) names.push_back(lower(name));
    std::sort(names.begin(), names.end());
    return names;
}

void cancellaRegistroForm() { registry().clear(); }

}  // namespace tolvane
