// Translation of Qt key events into the key codes, shift states and characters that the window
// model's key pipeline takes. Never delivers anything: the input filter does.
#pragma once

class QKeyEvent;

namespace tolvane::qt {

struct ModelKey {
    int keyCode = 0;  // 0: a key the model does not know
    int shift = 0;
    int keyAscii = 0;  // Windows-1252 character, 0 when the key types none
};

ModelKey translateKey(const QKeyEvent& event);

}  // namespace tolvane::qt
