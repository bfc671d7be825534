// The front end's observer and driver: windows follow the model's forms, modal forms run in a
// real nested event loop until the model hides or unloads them, messages and common dialogs are
// Qt dialogs. Never decides for the user and never changes the model on its own.
#include "qt/qt_front_end.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "qt/qt_form_view.h"
#include "qt/qt_window_fit.h"
#include "startup/programma.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/ui_constants.h"

namespace tolvane::qt {

namespace {

constexpr int kWakeUpMs = 100;

QString q(const std::string& text) { return QString::fromStdString(text); }

// "Testo|*.txt|Tutti|*.*" as Qt writes it: "Testo (*.txt);;Tutti (*.*)".
QStringList qtFilters(const std::string& filter) {
    QStringList parts = q(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return out;
}

QPlainTextEdit* messageBox(const QString& text, QWidget* dialog) {
    auto* box = new QPlainTextEdit(text, dialog);
    box->setReadOnly(true);
    box->setObjectName(QStringLiteral("txtMessaggio"));
    return box;
}

// The height the dialog needs at that width.
int heightAt(const QWidget& dialog, int width) {
    return dialog.hasHeightForWidth() ? dialog.heightForWidth(width) : dialog.sizeHint().height();
}

}  // namespace

QWidget* makeMessageDialog(const ui::MessageRequest& request, int* pressed, QScreen* screen) {
    auto* dialog = new QDialog;
    dialog->setObjectName(QStringLiteral("frmMsgCom"));
    dialog->setWindowTitle(q(request.title.empty() ? ui::desktop().appTitle() : request.title));
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (screen) dialog->setScreen(screen);
    auto* layout = new QVBoxLayout(dialog);
    auto* body = new QHBoxLayout;
    layout->addLayout(body);
    QStyle::StandardPixmap icon = QStyle::SP_CustomBase;
    switch (request.icon) {
        case ui::msgbox::Critical:
            icon = QStyle::SP_MessageBoxCritical;
            break;
        case ui::msgbox::Question:
            icon = QStyle::SP_MessageBoxQuestion;
            break;
        case ui::msgbox::Exclamation:
            icon = QStyle::SP_MessageBoxWarning;
            break;
        case ui::msgbox::Information:
            icon = QStyle::SP_MessageBoxInformation;
            break;
        default:
            break;
    }
    if (icon != QStyle::SP_CustomBase) {
        auto* picture = new QLabel(dialog);
        picture->setPixmap(dialog->style()->standardIcon(icon).pixmap(32, 32));
        picture->setAlignment(Qt::AlignTop);
        body->addWidget(picture);
    }
    QString text = q(request.text).replace("\r\n", "\n");
    QLabel* label = nullptr;
    if (request.alwaysTextBox || text.count('\n') > 15) {
        body->addWidget(messageBox(text, dialog), 1);
    } else {
        label = new QLabel(text, dialog);
        label->setObjectName(QStringLiteral("labMessaggio"));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setMinimumWidth(320);
        if (request.fontSize > 0) {
            QFont font = label->font();
            font.setPointSizeF(request.fontSize);
            label->setFont(font);
        }
        body->addWidget(label, 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    layout->addLayout(buttons);
    int count = static_cast<int>(request.buttons.size());
    for (int i = 0; i < count; ++i) {
        auto* button = new QPushButton(q(request.buttons[static_cast<std::size_t>(i)]), dialog);
        button->setObjectName(QStringLiteral("comScelta%1").arg(i + 1));
        if (request.buttonWidth > 0) button->setMinimumWidth(request.buttonWidth / 15);
        if (i + 1 == request.defaultButton) {
            button->setDefault(true);
            button->setFocus();
        }
        QObject::connect(button, &QPushButton::clicked, dialog, [dialog, pressed, i] {
            if (pressed) *pressed = i + 1;
            dialog->accept();
        });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    // Esc answers with the last button: the one that gives up ("No", "Annulla").
    QObject::connect(dialog, &QDialog::rejected, dialog, [pressed, count] {
        if (pressed && *pressed == 0) *pressed = std::max(count, 1);
    });

    // The buttons stay on the screen. A text taller than the screen has room for takes lines as
    // wide as the window is asked for, in characters, and, still too tall, scrolls in a box as
    // tall as the screen lets it be.
    QScreen* on = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
    QSize room = on ? roomForInside(*dialog, *on) : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QSize size = dialog->sizeHint().boundedTo(room);
    if (label && heightAt(*dialog, size.width()) > room.height()) {
        int wide = label->fontMetrics().averageCharWidth() * std::max(request.width, 1);
        size.setWidth(std::min(std::max(size.width(), wide), room.width()));
        size.setHeight(heightAt(*dialog, size.width()));
        if (size.height() > room.height()) {
            QPlainTextEdit* box = messageBox(text, dialog);
            box->setFont(label->font());
            delete body->replaceWidget(label, box);
            delete label;
            size.setHeight(room.height());
        }
    }
    dialog->resize(size);
    return dialog;
}

QtFrontEnd::QtFrontEnd() {
    ui::Desktop& d = ui::desktop();
    d.addObserver(this);
    d.setDriver(this);
    for (ui::Form* form : d.loadedForms()) {
        ensureView(*form);
        if (form->visible()) formShown(*form, false);
    }
}

QtFrontEnd::~QtFrontEnd() {
    ui::Desktop& d = ui::desktop();
    d.removeObserver(this);
    d.setDriver(nullptr);
    if (waitCursor_) QApplication::restoreOverrideCursor();
    for (auto& [form, v] : views_) {
        v->detach();
        delete v;
    }
}

FormView* QtFrontEnd::view(const ui::Form& form) const {
    auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second;
}

FormView& QtFrontEnd::ensureView(ui::Form& form) {
    if (FormView* v = view(form)) return *v;
    auto* v = new FormView(form);
    views_[&form] = v;
    return *v;
}

void QtFrontEnd::dropView(ui::Form& form) {
    owners_.erase(&form);
    FormView* v = view(form);
    if (!v) return;
    views_.erase(&form);
    if (v->modalLoop) v->modalLoop->quit();
    v->detach();
    if (v->window()) v->window()->hide();
    // Deleted once the event that unloaded the form is over: its widgets may be on the stack.
    v->deleteLater();
}

QWidget* QtFrontEnd::windowOf(const ui::Form& form) const {
    FormView* v = view(form);
    return v ? v->window() : nullptr;
}

QWidget* QtFrontEnd::widgetOf(const ui::Control& control) const {
    FormView* v = view(control.form());
    return v ? v->widgetFor(control) : nullptr;
}

QImage QtFrontEnd::grab(ui::Form& form) {
    FormView& v = ensureView(form);
    v.ensureBuilt();
    v.flushLayouts();
    // Nested layouts settle through posted requests: let them all through before drawing.
    for (int i = 0; i < 4; ++i) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWidget* w = v.window();
    if (w->layout()) w->layout()->activate();
    return w->grab().toImage();
}

void QtFrontEnd::leaveModalLoops() {
    for (QEventLoop* loop : loops_) loop->quit();
}

void QtFrontEnd::controlChanged(ui::Control& control, ui::Property property) {
    FormView* v = view(control.form());
    if (!v) return;
    v->refreshControl(control);
    if (property == ui::Property::Geometry) v->geometryChanged(control);
    bool panelMoved = property == ui::Property::Visible || property == ui::Property::ZOrder ||
                      property == ui::Property::Geometry;
    if (panelMoved && !control.container() && control.kind() == ui::ControlKind::PictureBox)
        v->refreshPanels();
    if (property == ui::Property::Visible && control.visible() && control.form().isPage(control))
        v->pageShown(control);
}

void QtFrontEnd::controlAdded(ui::Control& control) {
    if (FormView* v = view(control.form())) v->controlAdded(control);
}

void QtFrontEnd::formChanged(ui::Form& form, ui::Property property) {
    FormView* v = view(form);
    if (!v) return;
    if (property == ui::Property::Zoom) v->zoomChanged();
    else v->refreshForm();
}

void QtFrontEnd::formLoaded(ui::Form& form) { ensureView(form); }

QWidget* QtFrontEnd::ownerWindow(const ui::Form* form) const {
    // The model makes the form that opens another active only after the new one is shown.
    ui::Form* active = ui::desktop().activeForm();
    QWidget* owner = active && active != form ? windowOf(*active) : nullptr;
    if (owner && owner->isVisible()) return owner;
    QWidget* qtActive = QApplication::activeWindow();
    bool other = qtActive && (!form || qtActive != windowOf(*form));
    return other ? qtActive : nullptr;
}

void QtFrontEnd::formShown(ui::Form& form, bool modal) {
    FormView& v = ensureView(form);
    bool opening = !v.window() || !v.window()->isVisible();
    if (opening) owners_[&form] = ownerWindow(&form);
    if (modal) return;  // runModal shows it
    v.ensureBuilt();
    v.addNewControls();
    QWidget* w = v.window();
    if (opening) v.openOn(owners_[&form]);
    if (form.windowState() == ui::WindowState::Minimized) w->showMinimized();
    else if (form.windowState() == ui::WindowState::Maximized) w->showMaximized();
    else w->show();
    w->raise();
    w->activateWindow();
    v.showFocus(form.activeControl());
}

void QtFrontEnd::formHidden(ui::Form& form) {
    FormView* v = view(form);
    if (!v) return;
    if (v->window()) v->window()->hide();
    if (v->modalLoop) v->modalLoop->quit();
}

void QtFrontEnd::formUnloaded(ui::Form& form) { dropView(form); }

void QtFrontEnd::focusChanged(ui::Form& form, ui::Control* control) {
    if (FormView* v = view(form)) v->showFocus(control);
}

void QtFrontEnd::activeFormChanged(ui::Form* form) {
    if (!form) return;
    FormView* v = view(*form);
    if (v && v->window() && v->window()->isVisible()) {
        v->window()->raise();
        v->window()->activateWindow();
    }
}

void QtFrontEnd::mousePointerChanged(int pointer) {
    bool wait = pointer == ui::pointer::Hourglass;
    if (wait == waitCursor_) return;
    waitCursor_ = wait;
    if (wait) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

int QtFrontEnd::message(const ui::MessageRequest& request) {
    if (request.sound) QApplication::beep();
    if (answerer_) return answerer_(request);
    int pressed = 0;
    QWidget* owner = ownerWindow(nullptr);
    QWidget* dialog = makeMessageDialog(request, &pressed, screenFor(owner));
    centreOn(*dialog, owner);
    static_cast<QDialog*>(dialog)->exec();
    delete dialog;
    return pressed == 0 ? std::max(static_cast<int>(request.buttons.size()), 1) : pressed;
}

void QtFrontEnd::runModal(ui::Form& form) {
    QPointer<FormView> v = &ensureView(form);
    v->ensureBuilt();
    v->addNewControls();
    QPointer<QWidget> w = v->window();
    if (!w->isVisible()) v->openOn(owners_[&form]);
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    w->raise();
    w->activateWindow();
    v->showFocus(form.activeControl());
    QEventLoop loop;
    v->modalLoop = &loop;
    loops_.push_back(&loop);
    while (v && v->form() && form.visible() && !programmaTerminato()) loop.exec();
    loops_.erase(std::remove(loops_.begin(), loops_.end(), &loop), loops_.end());
    if (v) v->modalLoop = nullptr;
    if (w) w->setWindowModality(Qt::NonModal);
}

ui::FileDialogAnswer QtFrontEnd::fileDialog(const ui::FileDialogRequest& request) {
    ui::FileDialogAnswer answer;
    QFileDialog dialog(QApplication::activeWindow(), q(request.title), q(request.initDir));
    if (request.kind == ui::FileDialogRequest::Kind::Folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setAcceptMode(request.kind == ui::FileDialogRequest::Kind::Save
                                 ? QFileDialog::AcceptSave
                                 : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.kind == ui::FileDialogRequest::Kind::Save
                               ? QFileDialog::AnyFile
                               : QFileDialog::ExistingFile);
        QStringList filters = qtFilters(request.filter);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            int index = std::clamp(request.filterIndex, 1, static_cast<int>(filters.size()));
            dialog.selectNameFilter(filters[index - 1]);
        }
        if (!request.defaultExt.empty()) dialog.setDefaultSuffix(q(request.defaultExt));
        if (!request.fileName.empty()) dialog.selectFile(q(request.fileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return answer;
    answer.cancelled = false;
    answer.fileName = dialog.selectedFiles().first().toStdString();
    QStringList filters = dialog.nameFilters();
    answer.filterIndex =
        std::max(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return answer;
}

std::optional<ui::Font> QtFrontEnd::fontDialog(const ui::FontDialogRequest& request) {
    bool ok = false;
    QFont start(q(request.font.name));
    start.setPointSizeF(request.font.size > 0 ? request.font.size : 9);
    start.setBold(request.font.bold);
    start.setItalic(request.font.italic);
    QFont chosen = QFontDialog::getFont(&ok, start, QApplication::activeWindow(), q(request.title));
    if (!ok) return std::nullopt;
    ui::Font font;
    font.name = chosen.family().toStdString();
    font.size = chosen.pointSizeF();
    font.bold = chosen.bold();
    font.italic = chosen.italic();
    font.underline = chosen.underline();
    font.strikethrough = chosen.strikeOut();
    return font;
}

std::optional<std::string> QtFrontEnd::inputBox(const ui::InputRequest& request) {
    bool ok = false;
    QString text =
        QInputDialog::getText(QApplication::activeWindow(),
                              q(request.title.empty() ? ui::desktop().appTitle() : request.title),
                              q(request.prompt), QLineEdit::Normal, q(request.defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

void QtFrontEnd::help(const ui::HelpRequest& request) {
    // The help files are of a format this platform does not read: say so instead of failing.
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral("Guida"),
                             QStringLiteral("Guida in linea non disponibile su questo sistema.\n"
                                            "File: %1\nArgomento: %2")
                                 .arg(q(request.file))
                                 .arg(request.contextID));
}

void QtFrontEnd::beep() { QApplication::beep(); }

void QtFrontEnd::doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); }

void QtFrontEnd::waitForEvents() {
    // The wake-up lets the waiting loop look at its own state now and then.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.start(kWakeUpMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

int runProgram(int argc, char** argv, const std::function<bool()>& start) {
    std::unique_ptr<QApplication> own;
    if (!QApplication::instance()) own = std::make_unique<QApplication>(argc, argv);
    useProgramLanguage();
    QApplication::setQuitOnLastWindowClosed(false);
    QtFrontEnd frontEnd;
    bool ended = false;
    programHooks().quit = [&](int code) {
        ended = true;
        frontEnd.leaveModalLoops();
        QCoreApplication::exit(code);
    };
    int code = 0;
    if (!start() || ended) {
        code = exitCode();
    } else {
        code = QApplication::exec();
    }
    programHooks().quit = nullptr;
    return code;
}

}  // namespace tolvane::qt
