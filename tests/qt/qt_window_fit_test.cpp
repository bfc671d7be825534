// The program's windows on screens of 1280 x 800 and 1366 x 768 (Qt's offscreen platform, its
// screen set by a configuration file): each opens within the screen, centred on the window it was
// opened from, leaving room for a title bar and a desktop panel; tab strips and panels taller
// than the screen scroll; the print windows' zoom stays within the screen; Qt's own dialogs
// speak Italian; only the field with the focus shows its selection.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "finestre_programma.h"
#include "qt/offscreen_screen.h"
#include "qt/qt_front_end.h"
#include "qt/screenshot/sample_print_windows.h"
#include "startup/command_line.h"
#include "startup/demo_environment.h"
#include "startup/demo_menu.h"
#include "startup/form_registry.h"
#include "startup/programma.h"
#include "support/scoped_env.h"
#include "support/scratch_folder.h"
#include "ui/controls.h"
#include "ui/desktop.h"
#include "ui/driver.h"
#include "ui/observer.h"

namespace tolvane::testing {
namespace {

// What a window leaves free of its screen's height: its title bar and a desktop panel.
constexpr int kTitleAndPanel = 80;
// The room a title bar takes above a window's inside, at most.
constexpr int kTitleBar = 40;
// The inside of every window at its designed zoom, on any screen.
const QSize kLargestDesigned(1280, 720);

std::string text(const QRect& r) {
    return std::to_string(r.width()) + "x" + std::to_string(r.height()) + "+" +
           std::to_string(r.x()) + "+" + std::to_string(r.y());
}

// The form that was active when each form was shown: the one it was opened from.
class OwnerLog : public ui::UiObserver {
  public:
    void formShown(ui::Form& form, bool) override {
        if (owners.count(&form)) return;
        ui::Form* active = ui::desktop().activeForm();
        owners[&form] = active != &form ? active : nullptr;
    }
    void formUnloaded(ui::Form& form) override {
        owners.erase(&form);
        for (auto& [shown, owner] : owners)
            if (owner == &form) owner = nullptr;
    }
    std::map<const ui::Form*, const ui::Form*> owners;
};

class WindowFitTest : public ::testing::TestWithParam<Screen> {
  protected:
    static void TearDownTestSuite() {
        delete app;
        app = nullptr;
    }

    void SetUp() override {
        const QSize size(GetParam().width, GetParam().height);
        if (app && QGuiApplication::primaryScreen()->size() != size) {
            delete app;
            app = nullptr;
        }
        if (!app) {
            // The application keeps its arguments, and takes out those it used, for its life.
            static std::vector<std::string> args;
            static std::vector<char*> argv;
            static int argc;
            args = {"test_qt", "-platform", offscreenPlatform(GetParam())};
            argv.clear();
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            argc = static_cast<int>(args.size());
            app = new QApplication(argc, argv.data());
            qt::useProgramLanguage();
        }
        ASSERT_EQ(QGuiApplication::primaryScreen()->size(), size);
        demo = buildDemoEnvironment(scratch.path() / "demo");
        writeDemoMenuIni(demo.mainIni);
        instIni = std::make_unique<ScopedEnv>("TOLVANE_INST_INI", demo.installIni.string());
    }

    void TearDown() override { endProgram(); }

    void setZoom(int zoom) {
        std::string ini = ScratchFolder::read(demo.mainIni.string());
        std::string::size_type at = ini.find("StaVid=");
        ASSERT_NE(at, std::string::npos);
        ini.replace(at, ini.find('\n', at) - at, "StaVid=" + std::to_string(zoom));
        std::ofstream(demo.mainIni, std::ios::binary) << ini;
    }

    // Starts the program on the demo with the window given, a print window on the sample list
    // as the screenshot tool opens it; messages answered with their default button.
    ui::Form* open(const std::string& window, int choice = 0) {
        endProgram();
        ui::desktop().reset();
        resetProgramma();
        cancellaRegistroForm();
        registraFinestreProgramma();
        frontEnd = std::make_unique<qt::QtFrontEnd>();
        answerMessages();
        ui::desktop().addObserver(&log);
        bool sample = qt::isSamplePrintWindow(window);
        CommandLine line;
        line.form = sample ? std::string("frmAziendeDemo") : window;
        started = true;
        if (!AvviaProgramma(line)) return nullptr;
        settle();
        // The user moved the list aside: what opens from it opens on it, not on the screen.
        if (sample) {
            moved = ui::desktop().findForm("frmAziendeDemo");
            QWidget* list = frontEnd->windowOf(*moved);
            list->move(list->pos() - QPoint(200, 60));
        }
        ui::Form* form =
            sample ? qt::openSamplePrintWindow(window, choice) : ui::desktop().findForm(window);
        settle();
        return form;
    }

    void answerMessages() {
        frontEnd->setMessageAnswerer([this](const ui::MessageRequest& r) {
            messages.push_back(r.text);
            return r.defaultButton;
        });
    }

    void endProgram() {
        if (started) ChiudiProgramma(true);
        started = false;
        if (frontEnd) ui::desktop().removeObserver(&log);
        frontEnd.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        log.owners.clear();
        moved = nullptr;
        ui::desktop().reset();
        resetProgramma();
        cancellaRegistroForm();
    }

    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

    // Centred on the owner (nullptr: the screen) on each axis where the screen lets it be; where
    // it does not, pushed in against the screen's edge, with room for the title bar at most.
    static void expectCentredOn(const QWidget& window, const QWidget* owner) {
        QRect area = window.screen()->availableGeometry();
        QPoint want = owner ? owner->geometry().center() : area.center();
        QPoint got = window.geometry().center();
        QRect frame = window.frameGeometry();
        auto axis = [](const char* name, int got, int want, int low, int high, int areaLow,
                       int areaHigh) {
            if (std::abs(got - want) <= 1) return;
            bool pushed = want < got ? low - areaLow <= kTitleBar : areaHigh - high <= kTitleBar;
            EXPECT_TRUE(pushed) << name << " centre " << got << " instead of " << want;
        };
        SCOPED_TRACE(owner ? owner->objectName().toStdString() : std::string("screen"));
        axis("across", got.x(), want.x(), frame.left(), frame.right(), area.left(), area.right());
        axis("down", got.y(), want.y(), frame.top(), frame.bottom(), area.top(), area.bottom());
    }

    QScrollArea* scrollOf(QWidget* window) {
        return window->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
    }

    // Every window shown lies within the screen, leaves room for a title bar and a panel, stands
    // centred on the window it was opened from (or the screen) and scrolls only what it could not
    // grow to hold.
    void expectShownWindowsFit(bool designedZoom) {
        for (const auto& [form, owner] : log.owners) {
            QWidget* w = frontEnd->windowOf(*form);
            if (!w || !w->isVisible()) continue;
            SCOPED_TRACE(form->name() + " " + text(w->geometry()));
            QRect area = w->screen()->availableGeometry();
            EXPECT_TRUE(area.contains(w->frameGeometry())) << "within " << text(area);
            if (form == moved) continue;
            EXPECT_LE(w->height(), area.height() - kTitleAndPanel);
            if (designedZoom) {
                EXPECT_LE(w->width(), kLargestDesigned.width());
                EXPECT_LE(w->height(), kLargestDesigned.height());
            }
            QWidget* ownerWindow = owner ? frontEnd->windowOf(*owner) : nullptr;
            expectCentredOn(*w, ownerWindow && ownerWindow->isVisible() ? ownerWindow : nullptr);
            QScrollArea* scroll = scrollOf(w);
            ASSERT_NE(scroll, nullptr);
            if (scroll->verticalScrollBar()->isVisible()) {
                EXPECT_GE(w->height(), area.height() - kTitleAndPanel - 1)
                    << "scrolls down while the screen has room to grow";
            }
            if (scroll->horizontalScrollBar()->isVisible()) {
                EXPECT_GE(w->width(), area.width() - 16)
                    << "scrolls across while the screen has room to grow";
            }
        }
    }

    static inline QApplication* app = nullptr;
    ScratchFolder scratch;
    DemoEnvironment demo;
    std::unique_ptr<ScopedEnv> instIni;
    std::unique_ptr<qt::QtFrontEnd> frontEnd;
    OwnerLog log;
    std::vector<std::string> messages;
    bool started = false;
    const ui::Form* moved = nullptr;  // the window the test moved off the screen's centre
};

TEST_P(WindowFitTest, EveryWindowOpensWithinTheScreenCentredOnTheOneItWasOpenedFrom) {
    struct Opening {
        const char* window;
        int choice;  // a destination (1-4) or panel (5, 6) of the print options dialog
        int zoom;    // "StaVid" of the main INI; 0: as designed
        // Its content is taller than any of the screens leaves room for (the preview, which
        // places its own page and scroll bars in whatever size it gets, never is).
        bool scrollsDown;
    } openings[] = {
        {"frmtolvane", 0, 0, false},      {"frmdatiazie", 0, 0, false},
        {"frmdastudio", 0, 0, false},     {"frmpersonal", 0, 0, false},
        {"frmcaricobatch", 0, 0, false},  {"frmAziendeDemo", 0, 0, false},
        {"FrmVedrixStampa", 0, 0, false}, {"FrmVStampa", 0, 0, false},
        {"FrmSceltaStam", 1, 0, false},   {"FrmSceltaStam", 3, 0, false},
        {"FrmSceltaStam", 4, 0, false},   {"FrmSceltaStam", 5, 0, true},
        {"FrmSceltaStam", 6, 0, true},    {"FrmVStampa", 0, 2, false},
        {"FrmSceltaStam", 1, 2, true},    {"FrmSceltaStam", 6, 2, true},
    };
    for (const Opening& o : openings) {
        SCOPED_TRACE(std::string(o.window) + ":" + std::to_string(o.choice) + " zoom " +
                     std::to_string(o.zoom));
        setZoom(o.zoom);
        ui::Form* form = open(o.window, o.choice);
        ASSERT_NE(form, nullptr) << (messages.empty() ? "" : messages.back());
        QWidget* window = frontEnd->windowOf(*form);
        ASSERT_TRUE(window && window->isVisible());
        if (o.zoom > 0) {
            EXPECT_DOUBLE_EQ(form->zoom(), o.zoom);
        }
        expectShownWindowsFit(o.zoom == 0);
        EXPECT_EQ(scrollOf(window)->verticalScrollBar()->isVisible(), o.scrollsDown);

        // A message opens on the window that asks it.
        frontEnd->setMessageAnswerer(nullptr);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            seen = true;
            expectCentredOn(*dialog, frontEnd->windowOf(*ui::desktop().activeForm()));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        ui::MessageRequest request;
        request.text = "I valori sono stati memorizzati";
        request.buttons = {"&Ok"};
        frontEnd->message(request);
        EXPECT_TRUE(seen);
        answerMessages();
    }
    setZoom(0);
}

// The company form's fourteen tabs stand side by side wider than the form: the strip scrolls
// them, and every page, chosen by a click on its tab, shows whole with the form on the screen.
TEST_P(WindowFitTest, CompanyFormScrollsItsTabsAndStaysOnTheScreenOnEveryPage) {
    ui::Form* form = open("frmdatiazie");
    ASSERT_NE(form, nullptr);
    auto* tabs = qobject_cast<QTabBar*>(frontEnd->widgetOf(*form->findControl("TasPagine")));
    ASSERT_NE(tabs, nullptr);
    QWidget* window = tabs->window();
    int allTabs = 0;
    for (int i = 0; i < tabs->count(); ++i) allTabs += tabs->tabRect(i).width();
    EXPECT_GT(allTabs, window->width()) << "the tabs do not fit side by side";
    EXPECT_LE(window->width(), 800) << "the strip does not widen the form";
    QToolButton* forward = nullptr;
    for (QToolButton* b : tabs->findChildren<QToolButton*>())
        if (b->arrowType() == Qt::RightArrow) forward = b;
    ASSERT_NE(forward, nullptr);
    ASSERT_TRUE(forward->isVisible());

    for (int i = 0; i < tabs->count(); ++i) {
        SCOPED_TRACE(tabs->tabText(i).toStdString());
        // The tabs beyond the strip's end come into view through its arrow.
        for (int step = 0; step < tabs->count() && !tabs->rect().contains(tabs->tabRect(i)); ++step)
            QTest::mouseClick(forward, Qt::LeftButton);
        ASSERT_TRUE(tabs->rect().contains(tabs->tabRect(i)));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
        settle();
        EXPECT_EQ(static_cast<ui::TabStrip*>(form->findControl("TasPagine"))->selectedIndex(),
                  i + 1);
        expectShownWindowsFit(true);
        EXPECT_FALSE(scrollOf(window)->verticalScrollBar()->isVisible())
            << "the page shows whole: its hidden fields take no room";
    }
}

// The preview size window, modal, opens over the print options dialog that opened it.
TEST_P(WindowFitTest, ModalWindowOpensCentredOnTheWindowThatOpenedIt) {
    ui::Form* options = open("FrmSceltaStam", 2);
    ASSERT_NE(options, nullptr);
    ui::Control* change = options->findControl("ComOpz", 1);
    ASSERT_NE(change, nullptr);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        ui::Form* size = ui::desktop().findForm("frmVStaPar");
        ASSERT_NE(size, nullptr);
        ASSERT_EQ(log.owners[size], options);
        seen = true;
        expectShownWindowsFit(true);
        QTest::mouseClick(frontEnd->widgetOf(*size->findControl("CmdOk")), Qt::LeftButton);
    });
    QTest::mouseClick(frontEnd->widgetOf(*change), Qt::LeftButton);
    EXPECT_TRUE(seen);
}

// Qt's own message boxes, input and file dialogs speak the program's language.
TEST_P(WindowFitTest, QtsOwnDialogsSpeakItalian) {
    QMessageBox box(QMessageBox::Question, "Tolvane", "Confermi?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Close);
    struct Button {
        QMessageBox::StandardButton which;
        const char* caption;  // without its access key
    } buttons[] = {{QMessageBox::Yes, "Sì"},
                   {QMessageBox::No, "No"},
                   {QMessageBox::Cancel, "Annulla"},
                   {QMessageBox::Close, "Chiudi"}};
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.caption);
        ASSERT_NE(box.button(b.which), nullptr);
        EXPECT_EQ(box.button(b.which)->text().remove('&').toStdString(), b.caption);
    }
    QInputDialog input;
    input.show();
    auto* inputButtons = input.findChild<QDialogButtonBox*>();
    ASSERT_NE(inputButtons, nullptr);
    EXPECT_EQ(inputButtons->button(QDialogButtonBox::Cancel)->text().remove('&').toStdString(),
              "Annulla");
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    auto* lookIn = files.findChild<QLabel*>("lookInLabel");
    ASSERT_NE(lookIn, nullptr);
    EXPECT_EQ(lookIn->text().remove('&').toStdString(), "Cerca in:");
}

// Leaving a field, by key or click, takes its selection away; the field reached shows its own.
TEST_P(WindowFitTest, OnlyTheFieldWithTheFocusShowsItsSelection) {
    ui::Form* form = open("frmdatiazie");
    ASSERT_NE(form, nullptr);
    auto* tabs = qobject_cast<QTabBar*>(frontEnd->widgetOf(*form->findControl("TasPagine")));
    ASSERT_NE(tabs, nullptr);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(6).center());  // "dati Riba/Rid"
    settle();
    auto focused = [&]() -> QWidget* {
        ui::Control* active = form->activeControl();
        return active ? frontEnd->widgetOf(*active) : nullptr;
    };
    struct Gesture {
        const char* name;
        std::function<void()> make;
    } gestures[] = {
        {"Tab", [&] { QTest::keyClick(focused(), Qt::Key_Tab); }},
        {"Tab again", [&] { QTest::keyClick(focused(), Qt::Key_Tab); }},
        {"Shift+Tab", [&] { QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier); }},
        {"a click on the third field",
         [&] {
             std::vector<QLineEdit*> fields;
             for (QLineEdit* f : tabs->window()->findChildren<QLineEdit*>())
                 if (f->isVisible() && !f->text().isEmpty()) fields.push_back(f);
             ASSERT_GE(fields.size(), 3u);
             QTest::mouseClick(fields[2], Qt::LeftButton);
         }},
    };
    int selectedSeen = 0;
    for (const Gesture& g : gestures) {
        SCOPED_TRACE(g.name);
        g.make();
        settle();
        QWidget* current = focused();
        ASSERT_NE(current, nullptr);
        for (QLineEdit* field : tabs->window()->findChildren<QLineEdit*>()) {
            if (!field->isVisible() || field == current) continue;
            EXPECT_FALSE(field->hasSelectedText())
                << field->objectName().toStdString() << " shows \""
                << field->selectedText().toStdString() << "\" without the focus";
        }
        auto* box = dynamic_cast<ui::TextBox*>(form->activeControl());
        auto* line = qobject_cast<QLineEdit*>(current);
        if (box && line) {
            EXPECT_EQ(line->selectedText().size(), box->selLength()) << "as the model holds it";
            selectedSeen += line->hasSelectedText();
        }
    }
    EXPECT_GT(selectedSeen, 0) << "the focused field shows the selection the model gives it";
}

INSTANTIATE_TEST_SUITE_P(Schermo1280x800, WindowFitTest, ::testing::Values(Screen{1280, 800}));
INSTANTIATE_TEST_SUITE_P(Schermo1366x768, WindowFitTest, ::testing::Values(Screen{1366, 768}));

}  // namespace
}  // namespace tolvane::testing
