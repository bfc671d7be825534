// Qt keys to the model's key codes: letters and digits by their capital code, function keys,
// arrows, the keypad's decimal point; characters in Windows-1252 as the model types them.
#include "qt/qt_keys.h"

#include <QKeyEvent>

#include "platform/text.h"
#include "ui/ui_constants.h"

namespace tolvane::qt {

namespace {

int codeOf(int qtKey, bool keypad) {
    namespace k = ui::key;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return keypad ? 96 + (qtKey - Qt::Key_0) : qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return k::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace:
            return k::Back;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return k::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return k::Return;
        case Qt::Key_Escape:
            return k::Escape;
        case Qt::Key_Space:
            return k::Space;
        case Qt::Key_PageUp:
            return k::PageUp;
        case Qt::Key_PageDown:
            return k::PageDown;
        case Qt::Key_End:
            return k::End;
        case Qt::Key_Home:
            return k::Home;
        case Qt::Key_Left:
            return k::Left;
        case Qt::Key_Up:
            return k::Up;
        case Qt::Key_Right:
            return k::Right;
        case Qt::Key_Down:
            return k::Down;
        case Qt::Key_Insert:
            return k::Insert;
        case Qt::Key_Delete:
            return k::Delete;
        case Qt::Key_Shift:
            return k::Shift;
        case Qt::Key_Control:
            return k::Control;
        case Qt::Key_Alt:
            return k::Menu;
        case Qt::Key_Asterisk:
            return keypad ? k::Multiply : 0;
        case Qt::Key_Plus:
            return keypad ? k::Add : 187;
        case Qt::Key_Minus:
            return keypad ? k::Subtract : 189;
        case Qt::Key_Slash:
            return keypad ? k::Divide : 191;
        case Qt::Key_Period:
            return keypad ? k::Decimal : k::Period;
        case Qt::Key_Comma:
            return keypad ? k::Decimal : k::Comma;
        default:
            return 0;
    }
}

}  // namespace

ModelKey translateKey(const QKeyEvent& event) {
    ModelKey key;
    Qt::KeyboardModifiers mods = event.modifiers();
    bool keypad = mods.testFlag(Qt::KeypadModifier);
    key.keyCode = codeOf(event.key(), keypad);
    if (mods.testFlag(Qt::ShiftModifier) || event.key() == Qt::Key_Backtab)
        key.shift |= ui::shift::Shift;
    if (mods.testFlag(Qt::ControlModifier)) key.shift |= ui::shift::Ctrl;
    if (mods.testFlag(Qt::AltModifier)) key.shift |= ui::shift::Alt;
    QString text = event.text();
    if (text.size() == 1 && !(key.shift & (ui::shift::Ctrl | ui::shift::Alt))) {
        QChar ch = text.at(0);
        if (ch == QChar('\r') || ch == QChar('\x1b') || ch == QChar('\b')) {
            key.keyAscii = ch.unicode();
        } else if (ch.isPrint()) {
            std::string utf8 = text.toStdString();
            try {
                key.keyAscii = Asc(utf8);
            } catch (...) {
                key.keyAscii = 0;  // a character outside Windows-1252 cannot be typed
            }
            if (key.keyAscii == '?' && utf8 != "?") key.keyAscii = 0;
        }
    }
    return key;
}

}  // namespace tolvane::qt
