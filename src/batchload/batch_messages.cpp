// Routes the batch loader's messages to the hook the window layer set.
// Never shows anything when no hook is set.
#include "batchload/batch_messages.h"

namespace tolvane {

BatchMessageHook& batchMessageHook() {
    static BatchMessageHook hook;
    return hook;
}

int showBatchMessage(const std::string& text, std::vector<std::string> buttons) {
    auto& hook = batchMessageHook();
    if (!hook) return 1;
    return hook(BatchMessage{text, std::move(buttons), false});
}

std::string errorWindowText(const NumberedError& error) {
    return "Errore(" + std::to_string(error.number()) + "): " + error.description();
}

void showBatchError(const NumberedError& error) {
    auto& hook = batchMessageHook();
    if (hook) hook(BatchMessage{errorWindowText(error), {"&Ok"}, true});
}

}  // namespace tolvane
