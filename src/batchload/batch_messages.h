// The batch loader's way to the message window: the window layer sets the hook, tests capture
// what would be shown. Never blocks or draws by itself; with no hook the first button is taken.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/numbered_error.h"

namespace tolvane {

struct BatchMessage {
    std::string text;
    std::vector<std::string> buttons;  // captions; the answer is the 1-based number pressed
    bool isError = false;              // shown as a run-time error ("Errore(n): text")
};

using BatchMessageHook = std::function<int(const BatchMessage&)>;

// Process-wide: the batch window wires it when it opens.
BatchMessageHook& batchMessageHook();

// Shows a message with its buttons and returns the number of the pressed one.
int showBatchMessage(const std::string& text, std::vector<std::string> buttons = {"&Ok"});
// Shows a trapped error as "Errore(" number "): " text.
void showBatchError(const NumberedError& error);
std::string errorWindowText(const NumberedError& error);

}  // namespace tolvane
