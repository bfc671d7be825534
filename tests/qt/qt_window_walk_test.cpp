// Every window of the program on the demo, walked at its real widgets on Qt's offscreen platform
// at the screen sizes of an office: each visible control gets one gesture of its kind and every
// event that the window's code handles must reach it; a disabled control takes nothing and shows
// nothing. Then the newcomer's path: a preview paged back and forth, a batch load from a folder
// chosen in the window. Messages are answered with their last button (the one that gives up).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWheelEvent>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "batchload/frm_carico_batch.h"
#include "companydata/frm_dati_azie.h"
#include "db/gestore_db.h"
#include "db/gestore_rs.h"
#include "finestre_programma.h"
#include "platform/memory_printer_system.h"
#include "printing/frm_scelta_stam.h"
#include "printing/frm_stampa_in_corso.h"
#include "printing/frm_v_stampa.h"
#include "printing/frm_vedrix_stampa.h"
#include "qt/offscreen_screen.h"
#include "qt/qt_folder_list.h"
#include "qt/qt_front_end.h"
#include "register/frm_personal.h"
#include "startup/command_line.h"
#include "startup/demo_environment.h"
#include "startup/demo_menu.h"
#include "startup/form_registry.h"
#include "startup/programma.h"
#include "suite/opz_stampa.h"
#include "suite/vedrix_lista.h"
#include "support/scoped_env.h"
#include "support/scratch_folder.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"
#include "ui/user_input.h"

namespace tolvane::testing {
namespace {

// The offscreen platform notes each window operation it does without; the rest goes on as
// usual.
QtMessageHandler usualMessages = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QStringLiteral("This plugin does not support"))) return;
    if (usualMessages) usualMessages(type, context, text);
}

const char* nameOf(ui::Handler h) {
    static const char* const names[] = {"Click",    "DblClick",  "Change",      "Scroll",
                                        "GotFocus", "LostFocus", "Timer",       "KeyDown",
                                        "KeyPress", "KeyUp",     "BeforeClick", "ButtonClick"};
    return names[static_cast<int>(h)];
}

// The handlers a gesture can reach; Timer and LostFocus have their own ways.
const ui::Handler kByGesture[] = {
    ui::Handler::Click,    ui::Handler::DblClick, ui::Handler::Change,
    ui::Handler::Scroll,   ui::Handler::GotFocus, ui::Handler::KeyDown,
    ui::Handler::KeyPress, ui::Handler::KeyUp,    ui::Handler::BeforeClick};

// What reached the windows' code, and the windows as they show.
class Watch : public ui::UiObserver {
  public:
    void handlerRuns(ui::Control& c, ui::Handler h) override { ran.push_back({&c, h}); }
    void formShown(ui::Form& form, bool modal) override {
        if (onShown) onShown(form, modal);
    }
    void controlChanged(ui::Control& c, ui::Property p) override {
        if (onChanged) onChanged(c, p);
    }
    bool arrived(const ui::Control& c, ui::Handler h) const {
        for (const auto& [control, handler] : ran)
            if (control == &c && handler == h) return true;
        return false;
    }
    bool anyFor(const ui::Control& c) const {
        for (const auto& entry : ran)
            if (entry.first == &c) return true;
        return false;
    }

    std::vector<std::pair<const ui::Control*, ui::Handler>> ran;
    std::function<void(ui::Form&, bool)> onShown;
    std::function<void(ui::Control&, ui::Property)> onChanged;
};

// One thing to walk: a control, or one button of a toolbar (button from 1).
struct Item {
    std::string control;
    int button = 0;
};

ui::Control* findIn(const ui::Form& form, const std::string& displayName) {
    for (ui::Control* c : form.controls())
        if (c->displayName() == displayName) return c;
    return nullptr;
}

// A point of the widget that no visible child covers; none when children cover it all.
std::optional<QPoint> freeSpot(QWidget* w) {
    QPoint middle = w->rect().center();
    if (!w->childAt(middle)) return middle;
    for (int y = 3; y < w->height() - 2; y += 4)
        for (int x = 3; x < w->width() - 2; x += 4)
            if (!w->childAt(x, y)) return QPoint(x, y);
    return std::nullopt;
}

void press(QWidget* w, QPoint at) { QTest::mousePress(w, Qt::LeftButton, {}, at); }
void release(QWidget* w, QPoint at) { QTest::mouseRelease(w, Qt::LeftButton, {}, at); }
void click(QWidget* w, QPoint at) { QTest::mouseClick(w, Qt::LeftButton, {}, at); }
// A double click as the window system sends it: press, release, second press, release.
void doubleClick(QWidget* w, QPoint at) {
    click(w, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    release(w, at);
}
void key(QWidget* w, Qt::Key k, const QString& text = {}) {
    QTest::sendKeyEvent(QTest::KeyAction::Click, w, k, text, Qt::NoModifier);
}

QRect sliderPart(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

using Walk = std::function<void(ui::Form&)>;
struct WindowCase;

// Rows of the sample list that make three pages of the preview.
constexpr int kRowsOfThreePages = 170;

class ProgramWindows : public ::testing::TestWithParam<Screen> {
  public:
    void SetUp() override {
        platform = std::make_unique<ScopedEnv>("QT_QPA_PLATFORM", offscreenPlatform(GetParam()));
        usualMessages = qInstallMessageHandler(quietPlatform);
        static int argc = 1;
        static char name[] = "test_qt_walk";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        ASSERT_EQ(QGuiApplication::primaryScreen()->size(),
                  QSize(GetParam().width, GetParam().height))
            << "the offscreen platform did not take its screen";
        env = buildDemoEnvironment(scratch.path() / "demo");
        writeDemoMenuIni(env.mainIni);
        instIni = std::make_unique<ScopedEnv>("TOLVANE_INST_INI", env.installIni.string());
        watch.onShown = [this](ui::Form& form, bool modal) { shownWindow(form, modal); };
        // The front end's own dialogs (files, fonts, help) are given up as soon as they show.
        dismisser = new QTimer(app.get());
        QObject::connect(dismisser, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                nativeDialogs.push_back(dialog->windowTitle().toStdString());
                dialog->reject();
            }
        });
        dismisser->start(20);
    }
    void TearDown() override {
        stop();
        delete dismisser;
        app.reset();
        qInstallMessageHandler(usualMessages);
    }

    // A fresh program on the demo with the window the menu names; nullptr when it did not open.
    ui::Form* start(const std::string& window) {
        stop();
        cancellaRegistroForm();
        registraFinestreProgramma();
        frontEnd = std::make_unique<qt::QtFrontEnd>();
        ui::desktop().addObserver(&watch);
        frontEnd->setMessageAnswerer([this](const ui::MessageRequest& r) {
            messages.push_back(r.text);
            if (answer) return answer(r);
            return std::max(static_cast<int>(r.buttons.size()), 1);
        });
        auto printers = std::make_shared<MemoryPrinterSystem>();
        MemoryPrinterSystem::Entry ufficio;
        ufficio.info = {"Ufficio", "ipp://ufficio", "driver Ufficio"};
        ufficio.trays = {"Upper/Cassetto 1", "Manual/Alimentazione manuale"};
        ufficio.paperSizes = {"A4/A4", "Letter/Lettera"};
        printers->addPrinter(ufficio);
        printers->setServerDefault("Ufficio");
        setPrinterSystem(printers);
        CommandLine line = parseCommandLine("/M=1 /P=DEMO /F=" + window);
        if (!AvviaProgramma(line)) return nullptr;
        QCoreApplication::processEvents();
        return ui::desktop().findForm(window);
    }
    void stop() {
        armed = nullptr;
        if (frontEnd) {
            if (!programmaTerminato()) ChiudiProgramma(true);
            frontEnd.reset();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        resetProgramma();
        ui::desktop().reset();
    }

    // A window shown: the walk armed for it runs at the next turn of its loop (inside it, for a
    // modal one, which it then closes); any other modal window is closed at once.
    void shownWindow(ui::Form& form, bool modal) {
        std::string name = form.name();
        if (armed && name == armedFor) {
            auto walk = std::move(armed);
            armed = nullptr;
            whenOnScreen(name, [this, walk, name, modal] {
                if (ui::Form* f = ui::desktop().findForm(name); f && f->visible()) walk(*f);
                if (modal) closeIfOpen(name);
            });
            return;
        }
        if (modal) QTimer::singleShot(0, [this, name] { closeIfOpen(name); });
    }
    // Runs `then` once the window's Qt window shows (a window's own start may let events
    // through before it does), or at once when the window is gone.
    void whenOnScreen(const std::string& name, std::function<void()> then) {
        QTimer::singleShot(0, [this, name, then] {
            ui::Form* f = ui::desktop().findForm(name);
            QWidget* window = f && frontEnd ? frontEnd->windowOf(*f) : nullptr;
            if (f && f->visible() && (!window || !window->isVisible())) {
                whenOnScreen(name, then);
                return;
            }
            then();
        });
    }
    void closeIfOpen(const std::string& name) {
        ui::Form* f = ui::desktop().findForm(name);
        if (!f || !f->visible()) return;
        try {
            if (!ui::user::close(*f) && f->visible()) f->hide();
        } catch (...) {
            if (f->visible()) f->hide();
        }
    }
    // Runs `then` when the window of that name shows, while it shows.
    void whenShown(const std::string& name, std::function<void(ui::Form&)> then) {
        armedFor = name;
        armed = std::move(then);
    }

    QWidget* widget(const ui::Control& c) const { return frontEnd->widgetOf(c); }
    bool shows(const ui::Control& c) const {
        QWidget* w = widget(c);
        return c.visibleInEffect() && w && w->isVisible();
    }
    // A control's own gesture: a click where a person would click it.
    void clickOn(ui::Control& c) {
        if (auto spot = spotOf(c)) click(spot->first, spot->second);
    }
    void clickOn(const ui::Control* c) {
        ASSERT_NE(c, nullptr);
        clickOn(*const_cast<ui::Control*>(c));
    }

    std::optional<std::pair<QWidget*, QPoint>> spotOf(ui::Control& c) const;
    std::vector<Item> itemsOf(const ui::Form& form) const;
    void walkItem(const std::string& where, ui::Form& form, const Item& item);
    // The window's border dragged by `by`: a window whose code handles Resize is told its new
    // size, and the window keeps the size it was given.
    void resizeBy(const std::string& where, ui::Form& form, QSize by);
    void walkControl(const std::string& where, ui::Form& form, ui::Control& c);
    // Opens the window (open calls its argument while the window shows) again as often as the
    // gestures close it or change what shows, until every item was walked.
    void walkWindow(const std::string& where,
                    const std::function<void(const std::function<void(ui::Form&)>&)>& open);

    // A list of `rows` companies, as a grid window hands it to its print key.
    FrmVedrixStampa& listPrint(int rows) {
        lista = std::make_unique<VedrixLista>();
        lista->columns = {{"Codice", true}, {"Ragione sociale", true}, {"Città", true}};
        const char* citta[] = {"Milano", "Torino", "Bologna", "Napoli", "Verona"};
        for (int i = 1; i <= rows; ++i)
            lista->rows.push_back(
                {std::to_string(1000 + i), "Azienda di prova " + std::to_string(i), citta[i % 5]});
        lista->printName = "Elenco aziende";
        lista->title = "Elenco aziende";
        lista->setPrintDialog([] { return &ui::desktop().instance<FrmVedrixStampa>(); });
        EXPECT_TRUE(lista->pressKey("Stampa"));
        return ui::desktop().instance<FrmVedrixStampa>();
    }
    // The page of a tabbed window chosen by a click on its tab.
    void chooseTab(ui::TabStrip& tabs, int tab) {
        auto* bar = static_cast<QTabBar*>(widget(tabs));
        click(bar, bar->tabRect(tab - 1).center());
        QCoreApplication::processEvents();
    }
    void sql(const std::filesystem::path& db, const std::string& statement) {
        GestoreDb dbs;
        std::string id = dbs.ApriConnessione(db.string());
        dbs.EseguiSql(id, statement);
        dbs.ChiudiConnessione(id);
    }

    std::vector<WindowCase> cases();

    ScratchFolder scratch;
    std::unique_ptr<VedrixLista> lista;
    std::unique_ptr<ScopedEnv> platform;
    std::unique_ptr<QApplication> app;
    DemoEnvironment env;
    std::unique_ptr<ScopedEnv> instIni;
    std::unique_ptr<qt::QtFrontEnd> frontEnd;
    Watch watch;
    std::vector<std::string> messages;
    std::vector<std::string> nativeDialogs;
    std::function<int(const ui::MessageRequest&)> answer;
    QTimer* dismisser = nullptr;
    std::string armedFor;
    std::function<void(ui::Form&)> armed;
};

// How each window of the program is opened: the menu's windows by name, the others as the
// program opens them from those (the print windows on a sample list); `walk` runs while the
// window shows.
struct WindowCase {
    std::string name;
    std::function<void(ProgramWindows&, const Walk& walk)> open;
};

std::optional<std::pair<QWidget*, QPoint>> ProgramWindows::spotOf(ui::Control& c) const {
    QWidget* w = widget(c);
    if (!w) return std::nullopt;
    if (auto* table = qobject_cast<QTableWidget*>(w)) {
        auto& grid = static_cast<ui::Grid&>(c);
        if (grid.rows() > grid.fixedRows() && grid.cols() > grid.fixedCols()) {
            QRect cell =
                table->visualRect(table->model()->index(grid.fixedRows(), grid.fixedCols()));
            return std::pair{table->viewport(), cell.center()};
        }
        return std::pair{table->viewport(), table->viewport()->rect().center()};
    }
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        int row = list->currentRow() == 0 && list->count() > 1 ? 1 : 0;
        if (list->count() > 0)
            return std::pair{list->viewport(), list->visualItemRect(list->item(row)).center()};
        return std::pair{list->viewport(), list->viewport()->rect().center()};
    }
    if (auto* folders = qobject_cast<QTreeWidget*>(w)) {
        QTreeWidgetItem* first = folders->itemAt(4, 4);
        return std::pair{folders->viewport(), folders->visualItemRect(first).center()};
    }
    if (auto* tabs = qobject_cast<QTabBar*>(w)) {
        int other = tabs->currentIndex() == 0 && tabs->count() > 1 ? 1 : 0;
        return std::pair{w, tabs->tabRect(other).center()};
    }
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w))
        return std::pair{area->viewport(), area->viewport()->rect().center()};
    if (c.kind() == ui::ControlKind::Frame || c.kind() == ui::ControlKind::PictureBox) {
        if (auto at = freeSpot(w)) return std::pair{w, *at};
        return std::nullopt;
    }
    return std::pair{w, w->rect().center()};
}

std::vector<Item> ProgramWindows::itemsOf(const ui::Form& form) const {
    std::vector<Item> items;
    for (ui::Control* c : form.controls()) {
        if (!shows(*c)) continue;
        if (auto* bar = qobject_cast<QToolBar*>(widget(*c))) {
            for (int i = 0; i < bar->actions().size(); ++i) {
                QWidget* button = bar->widgetForAction(bar->actions()[i]);
                if (button && button->isVisible()) items.push_back({c->displayName(), i + 1});
            }
            continue;
        }
        items.push_back({c->displayName()});
    }
    return items;
}

void ProgramWindows::walkControl(const std::string& where, ui::Form& form, ui::Control& c) {
    SCOPED_TRACE(where + ": " + c.displayName());
    // A person acts on what the screen shows: what the last action changed is laid out first.
    QCoreApplication::processEvents();
    watch.ran.clear();
    messages.clear();
    QWidget* w = widget(c);
    if (!c.enabledInEffect()) {
        clickOn(c);
        doubleClick(w, w->rect().center());
        EXPECT_FALSE(watch.anyFor(c)) << "a disabled control passed input to the window";
        EXPECT_TRUE(messages.empty()) << "a disabled control's click showed: " << messages.front();
        return;
    }
    auto still = [&] { return form.visible() && shows(c) && c.enabledInEffect(); };
    // The focus leaves the control first, so that taking it is an event of its own.
    if (c.hasFocus()) key(w, Qt::Key_Tab);
    const bool canFocus = c.canTakeFocus() && !c.hasFocus();
    const bool optionWasOn =
        c.kind() == ui::ControlKind::OptionButton && static_cast<ui::OptionButton&>(c).value();
    const ui::ControlKind kind = c.kind();
    auto* bar = qobject_cast<QScrollBar*>(w);
    if (bar) {
        bool atEnd = bar->value() >= bar->maximum();
        QRect arrow =
            sliderPart(bar, atEnd ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine);
        click(bar, arrow.center());
        if (still() && c.handles(ui::Handler::Scroll)) {
            QRect thumb = sliderPart(bar, QStyle::SC_ScrollBarSlider);
            QPoint step = bar->orientation() == Qt::Horizontal ? QPoint(8, 0) : QPoint(0, 8);
            if (bar->value() >= bar->maximum()) step = -step;
            press(bar, thumb.center());
            QTest::mouseMove(bar, thumb.center() + step);
            release(bar, thumb.center() + step);
        }
    } else {
        clickOn(c);
    }
    // A list that drops down is chosen from: the next item of the list the click opened, or by
    // the keyboard when it opened none (a list one types into).
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && still() && combo->count() > 1) {
        int other = combo->currentIndex() + 1 < combo->count() ? combo->currentIndex() + 1 : 0;
        QAbstractItemView* items = combo->view();
        if (items->isVisible()) {
            key(items, other > combo->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
            key(items, Qt::Key_Return);
        } else {
            key(w, other > combo->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
        }
    }
    // A list left dropped down is closed as a person closes it.
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->view()->isVisible())
        key(combo->view(), Qt::Key_Escape);
    if (still() && c.handles(ui::Handler::DblClick)) {
        if (auto spot = spotOf(c)) doubleClick(spot->first, spot->second);
    }
    if (still() && c.handles(ui::Handler::Change) && !watch.arrived(c, ui::Handler::Change)) {
        if (kind == ui::ControlKind::DirListBox) {
            // A line of another folder, among those the list shows.
            auto* folders = static_cast<QTreeWidget*>(w);
            const QString now = QString::fromStdString(static_cast<ui::DirListBox&>(c).path());
            QTreeWidgetItem* line = folders->itemAt(4, 4);
            while (line && qt::FolderList::pathOf(line) == now) line = folders->itemBelow(line);
            if (line) doubleClick(folders->viewport(), folders->visualItemRect(line).center());
        } else if (kind == ui::ControlKind::TextBox ||
                   (kind == ui::ControlKind::ComboBox &&
                    static_cast<ui::ComboBox&>(c).style() != ui::ComboBox::Style::DropDownList)) {
            key(w, Qt::Key_1, "1");
        }
    }
    if (still() && c.handles(ui::Handler::KeyPress)) key(w, Qt::Key_1, "1");
    if (still() && (c.handles(ui::Handler::KeyDown) || c.handles(ui::Handler::KeyUp)))
        key(w, Qt::Key_End);

    for (ui::Handler h : kByGesture) {
        if (!c.handles(h)) continue;
        bool possible = true;
        if (h == ui::Handler::GotFocus) possible = canFocus;
        if (h == ui::Handler::KeyDown || h == ui::Handler::KeyUp || h == ui::Handler::KeyPress)
            possible = c.canTakeFocus();
        if (kind == ui::ControlKind::TabStrip)
            possible = static_cast<ui::TabStrip&>(c).tabCount() > 1;
        if ((kind == ui::ControlKind::ComboBox || kind == ui::ControlKind::ListBox) &&
            h == ui::Handler::Click)
            possible = static_cast<ui::ListControl&>(c).listCount() > 1;
        if (kind == ui::ControlKind::DriveListBox)
            possible = static_cast<ui::DriveListBox&>(c).drives().size() > 1;
        if (kind == ui::ControlKind::Grid) {
            auto& grid = static_cast<ui::Grid&>(c);
            possible = h == ui::Handler::GotFocus ||
                       (grid.rows() > grid.fixedRows() && grid.cols() > grid.fixedCols());
        }
        if (bar) possible = bar->minimum() < bar->maximum();
        // A person's click on the chosen option of a group changes nothing and raises nothing.
        if (kind == ui::ControlKind::OptionButton && h == ui::Handler::Click)
            possible = !optionWasOn;
        if (possible) {
            EXPECT_TRUE(watch.arrived(c, h)) << nameOf(h) << " never reached the window";
        }
    }
    if (c.handles(ui::Handler::LostFocus) && still() && c.hasFocus()) {
        key(w, Qt::Key_Tab);
        if (!c.hasFocus()) {
            EXPECT_TRUE(watch.arrived(c, ui::Handler::LostFocus));
        }
    }
    for (const std::string& m : messages) EXPECT_EQ(m.find("cannot reach"), std::string::npos) << m;
}

void ProgramWindows::walkItem(const std::string& where, ui::Form& form, const Item& item) {
    ui::Control* c = findIn(form, item.control);
    if (item.button == 0) {
        walkControl(where, form, *c);
        return;
    }
    SCOPED_TRACE(where + ": " + item.control + " button " + std::to_string(item.button));
    watch.ran.clear();
    auto* bar = static_cast<QToolBar*>(widget(*c));
    QWidget* button = bar->widgetForAction(bar->actions()[item.button - 1]);
    bool enabled = bar->actions()[item.button - 1]->isEnabled();
    click(button, button->rect().center());
    EXPECT_EQ(watch.arrived(*c, ui::Handler::ButtonClick),
              enabled && c->handles(ui::Handler::ButtonClick));
}

void ProgramWindows::resizeBy(const std::string& where, ui::Form& form, QSize by) {
    SCOPED_TRACE(where + ": resized");
    QWidget* window = frontEnd->windowOf(form);
    ASSERT_NE(window, nullptr);
    const QSize wanted = window->size() + by;
    const double width = form.width() + by.width() * 15 / form.zoom();
    const double height = form.height() + by.height() * 15 / form.zoom();
    window->resize(wanted);
    QCoreApplication::processEvents();
    EXPECT_NEAR(form.width(), width, 1);
    EXPECT_NEAR(form.height(), height, 1);
    EXPECT_EQ(window->size(), wanted) << "the window's layout took the size back";
}

void ProgramWindows::walkWindow(
    const std::string& where,
    const std::function<void(const std::function<void(ui::Form&)>&)>& open) {
    std::vector<Item> items;
    bool listed = false;
    std::size_t next = 0;
    std::set<std::size_t> reopenedFor;
    int openings = 0;
    while (!listed || next < items.size()) {
        bool reached = false;
        open([&](ui::Form& form) {
            reached = true;
            if (!listed) {
                items = itemsOf(form);
                listed = true;
                if (form.handlesResize()) resizeBy(where, form, QSize(150, 90));
            }
            for (; next < items.size(); ++next) {
                if (!form.visible()) return;
                const Item& item = items[next];
                ui::Control* c = findIn(form, item.control);
                if (!c || !shows(*c)) {
                    if (reopenedFor.insert(next).second) return;
                    ADD_FAILURE() << where << ": " << item.control << " shows no more";
                    continue;
                }
                walkItem(where, form, item);
            }
        });
        if (!reached) {
            ADD_FAILURE() << where << " did not open";
            return;
        }
        if (++openings > static_cast<int>(items.size()) + 2) {
            ADD_FAILURE() << where << ": opened too often";
            return;
        }
    }
    EXPECT_GT(items.size(), 0u) << where;
}

std::vector<WindowCase> ProgramWindows::cases() {
    auto byMenu = [](std::string window) {
        return [window](ProgramWindows& t, const Walk& walk) {
            if (ui::Form* f = t.start(window)) walk(*f);
        };
    };
    auto tabbed = [](std::string window, int tab) {
        return [window, tab](ProgramWindows& t, const Walk& walk) {
            ui::Form* f = t.start(window);
            if (!f) return;
            auto* tabs = static_cast<ui::TabStrip*>(f->findControl("TasPagine"));
            if (!tabs || tab > tabs->tabCount()) return;
            t.chooseTab(*tabs, tab);
            walk(*f);
        };
    };
    // The print options dialog from its list print dialog, modal. `first` runs before the walk
    // and says whether the dialog is the window walked.
    using First = std::function<bool(ProgramWindows&, FrmSceltaStam&, const Walk&)>;
    auto options = [](First first) {
        return [first](ProgramWindows& t, const Walk& walk) {
            if (!t.start("frmAziendeDemo")) return;
            FrmVedrixStampa& dialog = t.listPrint(30);
            t.whenShown("FrmSceltaStam", [&t, first, walk](ui::Form& f) {
                bool walked = !first || first(t, static_cast<FrmSceltaStam&>(f), walk);
                if (walked && f.visible()) walk(f);
            });
            t.clickOn(dialog.comSceStam);
        };
    };
    std::vector<WindowCase> all = {
        {"frmAziendeDemo", byMenu("frmAziendeDemo")},
        {"frmTolvane", byMenu("frmtolvane")},
        {"frmCreaAzi",
         [](ProgramWindows& t, const Walk& walk) {
             ui::Form* elenco = t.start("frmtolvane");
             if (!elenco) return;
             auto* bar = static_cast<QToolBar*>(t.widget(*elenco->findControl("Toolbar1")));
             for (QAction* a : bar->actions()) {
                 if (a->text() != QStringLiteral("Nuova azienda")) continue;
                 QWidget* button = bar->widgetForAction(a);
                 click(button, button->rect().center());
             }
             if (ui::Form* f = ui::desktop().findForm("frmCreaAzi")) walk(*f);
         }},
        {"frmListaRicerca",
         [](ProgramWindows& t, const Walk& walk) {
             auto* f = static_cast<frmDatiAzie*>(t.start("frmdatiazie"));
             if (!f) return;
             for (int tab = 1; tab <= f->TasPagine->tabCount(); ++tab) {
                 t.chooseTab(*f->TasPagine, tab);
                 for (const auto& [index, help] : f->ComHlp) {
                     if (!t.shows(*help) || !help->enabledInEffect()) continue;
                     t.whenShown("frmListaRicerca", walk);
                     t.clickOn(*help);
                     return;
                 }
             }
         }},
        {"frmPersonal", byMenu("frmpersonal")},
        {"frmPersVedrix",
         [](ProgramWindows& t, const Walk& walk) {
             auto* f = static_cast<frmPersonal*>(t.start("frmpersonal"));
             if (!f) return;
             t.clickOn(f->comGenerali);
             if (ui::Form* lista = ui::desktop().findForm("frmPersVedrix")) walk(*lista);
         }},
        {"frmCaricoBatch",
         [](ProgramWindows& t, const Walk& walk) {
             if (!t.start("frmdatiazie") || !ApriForm("frmcaricobatch", {})) return;
             if (ui::Form* f = ui::desktop().findForm("frmCaricoBatch")) walk(*f);
         }},
        {"frmRicValBase",
         [](ProgramWindows& t, const Walk& walk) {
             // A layout value asked before the load.
             t.sql(t.env.commonDb,
                   "DELETE FROM CaricaDettaglio WHERE Codice = 'PIANOCONTI' AND NomeCampo = "
                   "'Localita'");
             t.sql(t.env.commonDb,
                   "INSERT INTO CaricaDettaglio (Codice, NomeCampo, OrdCampo, TipoOrig, "
                   "TipoDest, NumCampo, [Default]) VALUES ('PIANOCONTI', 'Localita', '8', "
                   "'String', 'String', '', '§Località')");
             if (!t.start("frmdatiazie") || !ApriForm("frmcaricobatch", {})) return;
             auto* batch = ui::desktop().find<frmCaricoBatch>();
             t.whenShown("frmRicValBase", walk);
             t.clickOn(batch->comOk);
         }},
        {"FrmVedrixStampa",
         [](ProgramWindows& t, const Walk& walk) {
             if (t.start("frmAziendeDemo")) walk(t.listPrint(30));
         }},
        {"FrmSceltaStam", options(nullptr)},
        {"FrmSceltaStam, PDF and e-mail panel",
         options([](ProgramWindows& t, FrmSceltaStam& f, const Walk&) {
             t.clickOn(f.ComParIniPE);
             return true;
         })},
        {"FrmSceltaStam, saved option sets",
         options([](ProgramWindows& t, FrmSceltaStam& f, const Walk&) {
             t.clickOn(f.ComSalOpz);
             return true;
         })},
        {"frmVStaPar", options([](ProgramWindows& t, FrmSceltaStam& f, const Walk& walk) {
             t.clickOn(f.OptStampaSu(1));
             t.whenShown("frmVStaPar", walk);
             t.clickOn(f.ComOpz(1));
             return false;
         })},
        {"FrmVStampa",
         [](ProgramWindows& t, const Walk& walk) {
             if (!t.start("frmAziendeDemo")) return;
             FrmVedrixStampa& dialog = t.listPrint(30);
             dialog.opzioni()->StaVid = OpzStampa::kVideo;
             t.clickOn(dialog.OptOrientamento(1));
             t.clickOn(dialog.OptTipsta(0));
             t.clickOn(dialog.CmdStampa);
             if (ui::Form* f = ui::desktop().findForm("FrmVStampa")) walk(*f);
         }},
        {"frmStampaInCorso",
         [](ProgramWindows& t, const Walk& walk) {
             if (!t.start("frmAziendeDemo")) return;
             auto& f = ui::desktop().load<frmStampaInCorso>();
             f.show();
             walk(f);
         }},
    };
    for (int tab = 1; tab <= 14; ++tab)
        all.push_back({"frmDatiAzie, tab " + std::to_string(tab), tabbed("frmdatiazie", tab)});
    for (int tab = 1; tab <= 5; ++tab)
        all.push_back({"frmDaStudio, tab " + std::to_string(tab), tabbed("frmdastudio", tab)});
    return all;
}

TEST_P(ProgramWindows, EveryHandledEventOfEveryVisibleControlReachesTheWindow) {
    for (const WindowCase& w : cases()) {
        walkWindow(w.name, [&](const Walk& walk) { w.open(*this, walk); });
    }
}

// The newcomer's preview: video and "Memorizza pagine" chosen in the print windows, then a list
// of three pages paged forward to its end and back by the arrows.
TEST_P(ProgramWindows, PreviewOfKeptPagesGoesForwardToTheEndAndBack) {
    ASSERT_NE(start("frmAziendeDemo"), nullptr);
    FrmVedrixStampa& dialog = listPrint(kRowsOfThreePages);
    whenShown("FrmSceltaStam", [this](ui::Form& f) {
        auto& options = static_cast<FrmSceltaStam&>(f);
        clickOn(options.OptStampaSu(1));
        whenShown("frmVStaPar", [this](ui::Form& size) {
            auto* keep = static_cast<ui::CheckBox*>(size.findControl("CheMemVid"));
            if (keep->value() != ui::check::Checked) clickOn(*keep);
            clickOn(size.findControl("CmdOk"));
        });
        clickOn(options.ComOpz(1));
        EXPECT_EQ(options.LabMemVid->caption(), "Si");
        clickOn(options.ComChiudi);
    });
    clickOn(dialog.comSceStam);
    ASSERT_EQ(dialog.opzioni()->StaVid, OpzStampa::kVideo);
    clickOn(dialog.OptOrientamento(1));
    clickOn(dialog.OptTipsta(0));

    // While the print runs the engine waits after each page it draws: the arrow is clicked
    // then, each time in a turn of its own.
    std::vector<std::string> pages;
    int drawn = 0;
    watch.onChanged = [&](ui::Control& c, ui::Property p) {
        if (c.name() != "PicSec" || p != ui::Property::Picture ||
            !static_cast<ui::PictureBox&>(c).picture() || ++drawn > 2)
            return;
        QTimer::singleShot(0, [this, &pages, &c] {
            auto& preview = static_cast<FrmVStampa&>(c.form());
            pages.push_back(preview.labPage.caption());
            clickOn(preview.imaMuovi(3));
        });
    };
    clickOn(dialog.CmdStampa);
    watch.onChanged = nullptr;
    auto* preview = ui::desktop().find<FrmVStampa>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->LabMsg.caption(), "Stampa Terminata");
    pages.push_back(preview->labPage.caption());
    clickOn(preview->imaMuovi(2));
    pages.push_back(preview->labPage.caption());
    EXPECT_EQ(pages, (std::vector<std::string>{"Pag.001", "Pag.002", "Pag.003", "Pag.002"}));
    EXPECT_TRUE(preview->PicSec.picture()) << "the page kept in its file shows again";

    // A taller window shows more of the page: the vertical bar has that much less to scroll.
    ASSERT_TRUE(preview->vscPosVert.visible());
    const int range = preview->vscPosVert.max();
    resizeBy("FrmVStampa", *preview, QSize(0, 100));
    EXPECT_EQ(preview->vscPosVert.max(), range - 1500);
    EXPECT_TRUE(messages.empty()) << messages.front();
}

// The newcomer's batch load: the demo's folder reached line by line in the folder list, from
// the program's working folder (the wheel, typed names, double clicks), then "Carica".
TEST_P(ProgramWindows, BatchLoadsTheFilesOfTheFolderChosenInItsList) {
    ASSERT_NE(start("frmdatiazie"), nullptr);
    ASSERT_TRUE(ApriForm("frmcaricobatch", {}));
    auto* batch = ui::desktop().find<frmCaricoBatch>();
    ASSERT_NE(batch, nullptr);
    auto* folders = static_cast<qt::FolderList*>(widget(batch->DirCarica));
    QWidget* lines = folders->viewport();
    auto enter = [&](QTreeWidgetItem* line) {
        ASSERT_NE(line, nullptr);
        const QString path = qt::FolderList::pathOf(line);
        doubleClick(lines, folders->visualItemRect(line).center());
        EXPECT_EQ(batch->DirCarica.path(), path.toStdString());
        QCoreApplication::processEvents();
    };
    // Up to the root, its line brought into sight by the wheel.
    QTreeWidgetItem* root = folders->topLevelItem(0);
    for (int turn = 0; turn < 50 && !lines->rect().contains(folders->visualItemRect(root).center());
         ++turn) {
        QWheelEvent wheel(lines->rect().center(), lines->mapToGlobal(lines->rect().center()), {},
                          {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(lines, &wheel);
    }
    enter(root);
    // Down to the demo's folder, each line found by typing its name.
    QString path;
    for (const auto& part : env.folder.relative_path()) {
        QString name = QString::fromStdString(part.string());
        path += '/' + name;
        QTest::keyClicks(folders, name);
        ASSERT_EQ(qt::FolderList::pathOf(folders->currentItem()), path) << "typed " << part;
        enter(folders->currentItem());
    }
    EXPECT_EQ(batch->LabDirCarica.caption(), env.folder.string());

    clickOn(batch->comOk);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().rfind("Elaborazione terminata", 0), 0u) << messages.back();
    EXPECT_EQ(ui::desktop().find<frmCaricoBatch>(), nullptr) << "a completed run closes the window";
    GestoreDb db;
    std::string id = db.ApriConnessione(env.companyDb.string());
    GestoreRs rs;
    std::string h = rs.ApriRs(db, id, "",
                              "Select Descrizione from PianoConti Where Gruppo = '03' And "
                              "Mastro = '02' And Conto = '0005'",
                              false, rstype::Snapshot);
    ASSERT_FALSE(rs.EofRs(h)) << "the account of the demo's file was not loaded";
    EXPECT_EQ(rs.ValoreCampoRs(h, "Descrizione").text(), "Spese telefoniche");
    rs.ChiudiRs(h);
    db.ChiudiConnessione(id);
}

// Each window's frame on the screen, whole, wherever the walk opens it.
TEST_P(ProgramWindows, EveryWindowLiesWithinTheScreen) {
    for (const WindowCase& w : cases()) {
        bool opened = false;
        w.open(*this, [&](ui::Form& f) {
            opened = true;
            QWidget* window = frontEnd->windowOf(f);
            ASSERT_NE(window, nullptr);
            QRect screen = window->screen()->availableGeometry();
            QRect frame = window->frameGeometry();
            EXPECT_TRUE(screen.contains(frame))
                << w.name << ": " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                << frame.height() << " on " << screen.width() << "x" << screen.height();
        });
        EXPECT_TRUE(opened) << w.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, ProgramWindows,
                         ::testing::Values(Screen{1280, 800}, Screen{1366, 768}),
                         [](const ::testing::TestParamInfo<Screen>& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace tolvane::testing
