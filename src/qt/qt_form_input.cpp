// What a person does in a form's Qt window, handed to the model's user-input entry points so
// that the model raises its events in the same order as in headless runs (focus first, the
// field left runs its leave rule, then the action). Never sets a model value directly, except
// the caret, which has no event of its own.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

#include "platform/numbered_error.h"
#include "platform/text.h"
#include "qt/qt_folder_list.h"
#include "qt/qt_form_rules.h"
#include "qt/qt_form_view.h"
#include "qt/qt_keys.h"
#include "startup/programma.h"
#include "ui/controls.h"
#include "ui/desktop.h"
#include "ui/driver.h"
#include "ui/ui_constants.h"
#include "ui/user_input.h"

namespace tolvane::qt {

namespace {

bool isNavigation(int code) { return code >= ui::key::PageUp && code <= ui::key::Down; }

bool isButtonLike(ui::ControlKind kind) {
    return kind == ui::ControlKind::CommandButton || kind == ui::ControlKind::CheckBox ||
           kind == ui::ControlKind::OptionButton;
}

// Controls that only show something: a press and release on them is their click, the second
// press of a double click their double click.
bool isSurface(ui::ControlKind kind) {
    return kind == ui::ControlKind::Label || kind == ui::ControlKind::Image ||
           kind == ui::ControlKind::Frame || kind == ui::ControlKind::PictureBox ||
           kind == ui::ControlKind::ProgressBar;
}

bool isInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

bool takesText(const ui::Control& c) {
    if (c.kind() == ui::ControlKind::TextBox) return true;
    return c.kind() == ui::ControlKind::ComboBox &&
           static_cast<const ui::ComboBox&>(c).style() != ui::ComboBox::Style::DropDownList;
}

// Model positions count every character of the model's text ("\r\n" is two).
int modelPosition(const std::string& modelText, int viewPos) {
    QString text = QString::fromStdString(modelText);
    int view = 0;
    int model = 0;
    while (model < text.size() && view < viewPos) {
        if (text[model] == '\r' && model + 1 < text.size() && text[model + 1] == '\n') ++model;
        ++model;
        ++view;
    }
    return model;
}

// The table shows the grid's rows below its fixed ones, which are its heading.
void chooseShownCell(ui::Grid& grid, int row, int col) {
    ui::user::chooseCell(grid, row + grid.fixedRows(), col);
}

}  // namespace

void FormView::act(const std::function<void()>& action) {
    // The error goes out as every message does, through the driver, so that it is answered
    // (and seen by a test) like the window's own messages.
    std::string error;
    try {
        action();
    } catch (const FineProgramma&) {
        // The program ended inside the action: its reason has been shown.
    } catch (const NumberedError& e) {
        error = "Errore(" + std::to_string(e.number()) + "): " + e.description();
    } catch (const std::exception& e) {
        error = std::string("Errore(0): ") + e.what();
    }
    if (!error.empty())
        ui::MsgBox(error, ui::msgbox::OkOnly | ui::msgbox::Critical, ui::desktop().appTitle());
}

void FormView::pushSelection(ui::Control& control) {
    if (control.kind() != ui::ControlKind::TextBox) return;
    auto& box = static_cast<ui::TextBox&>(control);
    QWidget* widget = widgetFor(control);
    int start = 0;
    int length = 0;
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        length = line->hasSelectedText() ? static_cast<int>(line->selectedText().size()) : 0;
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        QTextCursor cursor = edit->textCursor();
        int from = modelPosition(box.text(), cursor.selectionStart());
        int to = modelPosition(box.text(), cursor.selectionEnd());
        start = from;
        length = to - from;
    } else {
        return;
    }
    if (start != box.selStart()) box.setSelStart(start);
    if (length != box.selLength()) box.setSelLength(length);
}

void FormView::handleResize() {
    if (!form_ || !content_ || updating_ > 0 || !form_->handlesResize() || !form_->loaded() ||
        !content_->isVisible() || form_->windowState() == ui::WindowState::Minimized)
        return;
    const double perPixel = kTwipsPerPixel / form_->zoom();
    const double width = content_->width() * perPixel;
    const double height = content_->height() * perPixel;
    // A size the pixels cannot tell apart from the form's own is no new size.
    if (std::abs(width - form_->width()) < perPixel &&
        std::abs(height - form_->height()) < perPixel)
        return;
    act([&] { ui::user::resize(*form_, width, height); });
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    if (!form_) return false;
    if (watched == content_) {
        if (event->type() == QEvent::Resize) handleResize();
        return false;
    }
    // Controls the model placed since the last turn of the event loop stand where it put them
    // before a person's next step lands on them.
    if (isInput(event->type()) && (watched == window_ || watched_.count(watched))) flushLayouts();
    if (watched == window_) {
        if (event->type() == QEvent::KeyPress)
            return handleKey(nullptr, static_cast<QKeyEvent*>(event));
        return false;
    }
    auto it = watched_.find(watched);
    if (it == watched_.end()) return false;
    ui::Control& control = *it->second;
    // Qt shows the filter even what a disabled widget would ignore; a person reaches nothing
    // that the model keeps out of reach, and neither does its container.
    if (isInput(event->type()) && !ui::user::reachable(control)) {
        event->accept();
        return true;
    }
    switch (event->type()) {
        case QEvent::KeyPress:
            return handleKey(&control, static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return handleMouse(control, watched, event);
        case QEvent::InputMethod: {
            // Composed characters (dead keys, input methods) are typed like any other.
            if (!takesText(control)) return false;
            QString text = static_cast<QInputMethodEvent*>(event)->commitString();
            for (QChar ch : text) {
                std::string utf8 = QString(ch).toStdString();
                int ascii = 0;
                try {
                    ascii = Asc(utf8);
                } catch (const std::exception&) {
                    continue;
                }
                act([&] { ui::user::keyWithChar(*form_, 0, 0, ascii); });
                if (!form_) break;
            }
            return true;
        }
        case QEvent::Wheel:
            // A turn of the wheel over a closed list would change it behind the user's back.
            return control.kind() == ui::ControlKind::ComboBox;
        case QEvent::FocusIn: {
            auto reason = static_cast<QFocusEvent*>(event)->reason();
            bool byUser = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                          reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
            if (updating_ == 0 && byUser && form_->activeControl() != &control)
                act([&] { ui::user::focus(control); });
            return false;
        }
        case QEvent::Shortcut:
            if (isButtonLike(control.kind())) {
                act([&] { ui::user::click(control); });
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool FormView::handleKey(ui::Control* control, QKeyEvent* event) {
    ModelKey k = translateKey(*event);
    if (k.keyCode == 0 && k.keyAscii == 0) return false;
    ui::Form& form = *form_;
    // A modifier alone is no key of its own to the model: it comes as the shift state.
    if (k.keyCode == ui::key::Shift || k.keyCode == ui::key::Control || k.keyCode == ui::key::Menu)
        return true;
    if (control) pushSelection(*control);
    bool ctrl = (k.shift & ui::shift::Ctrl) != 0;
    auto* box = control && control->kind() == ui::ControlKind::TextBox
                    ? static_cast<ui::TextBox*>(control)
                    : nullptr;
    auto stillHere = [&] { return form_ && form_->activeControl() == control; };

    if (ctrl && k.keyCode == 'C') return false;  // copying changes nothing
    if (box && ctrl && (k.keyCode == 'V' || k.keyCode == 'X' || k.keyCode == 'A')) {
        act([&] {
            ui::user::key(form, k.keyCode, k.shift);
            if (!stillHere()) return;
            if (k.keyCode == 'A') {
                box->setSelStart(0);
                box->setSelLength(static_cast<int>(Len(box->text())));
            } else if (!box->locked() && k.keyCode == 'V') {
                box->setSelText(QApplication::clipboard()->text().toStdString());
            } else if (!box->locked()) {
                QApplication::clipboard()->setText(QString::fromStdString(box->selText()));
                box->setSelText("");
            }
        });
        return true;
    }
    if (k.keyCode == ui::key::Delete) {
        act([&] {
            ui::user::key(form, k.keyCode, k.shift);
            if (!box || !stillHere() || box->locked()) return;
            if (box->selLength() == 0) {
                if (box->selStart() >= static_cast<int>(Len(box->text()))) return;
                box->setSelLength(1);
            }
            box->setSelText("");
        });
        return true;
    }
    if (isNavigation(k.keyCode)) {
        act([&] { ui::user::key(form, k.keyCode, k.shift); });
        // The caret and the lists move in the widget; lists tell the model through their signals.
        return !stillHere();
    }
    if (k.keyAscii >= 32 && k.keyCode != ui::key::Space) {
        act([&] { ui::user::keyWithChar(form, k.keyCode, k.shift, k.keyAscii); });
        // A folder list also goes to the line that begins with the letters typed.
        return !(control && control->kind() == ui::ControlKind::DirListBox && stillHere());
    }
    if (k.keyCode == ui::key::Space && control && takesText(*control)) {
        act([&] { ui::user::keyWithChar(form, k.keyCode, k.shift, 32); });
        return true;
    }
    act([&] { ui::user::key(form, k.keyCode, k.shift); });
    return true;
}

bool FormView::handleMouse(ui::Control& control, QObject* watched, QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    ui::ControlKind kind = control.kind();
    // A middle-button paste would change a field behind the model's back.
    if (mouse->button() != Qt::LeftButton) return takesText(control);
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool second = event->type() == QEvent::MouseButtonDblClick;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (isButtonLike(kind) || isSurface(kind)) {
        // Click on letting go where it was pressed (a button's own toggling is the model's). On
        // a surface the second press of a double click is the double click, and its release
        // clicks no more.
        if (release) {
            auto* widget = qobject_cast<QWidget*>(watched);
            bool inside = widget && widget->rect().contains(mouse->position().toPoint());
            if (pressed_ == &control && inside) act([&] { ui::user::click(control); });
            pressed_ = nullptr;
        } else if (second && isSurface(kind)) {
            pressed_ = nullptr;
            act([&] { ui::user::secondClick(control); });
        } else {
            pressed_ = &control;
        }
        return true;
    }
    if (takesText(control) && kind == ui::ControlKind::TextBox) {
        if (release) act([&] { ui::user::click(control); });
        if (second) act([&] { ui::user::secondClick(control); });
        return false;
    }
    if (press) cellMoved_ = false;
    if (press && control.canTakeFocus() && form_->activeControl() != &control) {
        act([&] { ui::user::focus(control); });
        // A leave rule that kept the focus elsewhere swallows the press.
        if (!form_ || form_->activeControl() != &control) return true;
    }
    if (second && (kind == ui::ControlKind::ListBox || kind == ui::ControlKind::Grid)) {
        act([&] { ui::user::secondClick(control); });
    }
    return false;
}

void FormView::connectSignals(ui::Control& control, QWidget* widget) {
    ui::Control* c = &control;
    auto after = [this, c](const std::function<void()>& action) {
        if (!form_) return;
        // The widget moved on its own while the view was being set from the model (a list that
        // takes its first line with the focus): the model never heard of it, so it goes back.
        if (updating_ > 0) {
            drifted_.insert(c);
            return;
        }
        act(action);
        if (form_) refreshControl(*c);
    };
    switch (control.kind()) {
        case ui::ControlKind::TextBox:
            // Every edit comes from the model; an edit the widget made on its own is put back.
            if (auto* line = qobject_cast<QLineEdit*>(widget)) {
                connect(line, &QLineEdit::textEdited, this, [this, c](const QString&) {
                    if (form_) refreshControl(*c);
                });
            }
            break;
        case ui::ControlKind::ComboBox:
            connect(static_cast<QComboBox*>(widget), &QComboBox::activated, this,
                    [c, after](int i) {
                        after([c, i] { ui::user::choose(static_cast<ui::ComboBox&>(*c), i); });
                    });
            break;
        case ui::ControlKind::ListBox:
            connect(static_cast<QListWidget*>(widget), &QListWidget::currentRowChanged, this,
                    [c, after](int row) {
                        after([c, row] { ui::user::choose(static_cast<ui::ListBox&>(*c), row); });
                    });
            break;
        case ui::ControlKind::TabStrip:
            connect(
                static_cast<QTabBar*>(widget), &QTabBar::currentChanged, this, [c, after](int i) {
                    after([c, i] { ui::user::chooseTab(static_cast<ui::TabStrip&>(*c), i + 1); });
                });
            break;
        case ui::ControlKind::Grid:
            connect(
                static_cast<QTableWidget*>(widget), &QTableWidget::currentCellChanged, this,
                [this, c, after](int row, int col, int, int) {
                    if (row < 0 || col < 0) return;
                    cellMoved_ = true;
                    after([c, row, col] { chooseShownCell(static_cast<ui::Grid&>(*c), row, col); });
                });
            // A click on the cell that is already current is a click all the same.
            connect(
                static_cast<QTableWidget*>(widget), &QTableWidget::cellClicked, this,
                [this, c, after](int row, int col) {
                    if (cellMoved_) return;
                    after([c, row, col] { chooseShownCell(static_cast<ui::Grid&>(*c), row, col); });
                });
            break;
        case ui::ControlKind::ScrollBar: {
            // Dragging the thumb scrolls; a step, a page or the wheel changes.
            auto* bar = static_cast<QScrollBar*>(widget);
            auto& model = static_cast<ui::ScrollBar&>(control);
            connect(bar, &QScrollBar::valueChanged, this, [&model, bar, after](int v) {
                if (bar->isSliderDown()) after([&model, v] { ui::user::dragScroll(model, v); });
                else after([&model, v] { ui::user::scroll(model, v); });
            });
            connect(bar, &QScrollBar::sliderReleased, this,
                    [&model, after] { after([&model] { ui::user::releaseScroll(model); }); });
            break;
        }
        case ui::ControlKind::DriveListBox:
            connect(static_cast<QComboBox*>(widget), &QComboBox::activated, this,
                    [c, after, widget](int) {
                        std::string drive =
                            static_cast<QComboBox*>(widget)->currentText().toStdString();
                        after([c, drive] {
                            ui::user::chooseDrive(static_cast<ui::DriveListBox&>(*c), drive);
                        });
                    });
            break;
        case ui::ControlKind::DirListBox: {
            // A click chooses a line (Click); a double click enters its folder (Change).
            auto* list = static_cast<FolderList*>(widget);
            connect(list, &QTreeWidget::itemClicked, this,
                    [c, after](QTreeWidgetItem*, int) { after([c] { ui::user::click(*c); }); });
            connect(list, &QTreeWidget::itemDoubleClicked, this,
                    [c, after](QTreeWidgetItem* item, int) {
                        std::string path = FolderList::pathOf(item).toStdString();
                        if (path.empty()) return;
                        after([c, path] {
                            ui::user::chooseFolder(static_cast<ui::DirListBox&>(*c), path);
                        });
                    });
            break;
        }
        default:
            break;
    }
}

}  // namespace tolvane::qt
