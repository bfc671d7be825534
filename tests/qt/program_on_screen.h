// The program started on the demo at Qt's offscreen platform, given one office screen by a file
// under tests/qt/screens, and how its windows must fit that screen: what the walk of the windows
// and the fit checks share. Never reaches a real printer; messages are answered unseen with their
// last button (the one that gives up).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "finestre_programma.h"
#include "platform/memory_printer_system.h"
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

namespace tolvane::testing {

struct Screen {
    int width;
    int height;
};
inline void PrintTo(const Screen& s, std::ostream* out) { *out << s.width << "x" << s.height; }
inline std::string screenName(const ::testing::TestParamInfo<Screen>& info) {
    return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
}

inline std::string text(const QRect& r) {
    return std::to_string(r.width()) + "x" + std::to_string(r.height()) + "+" +
           std::to_string(r.x()) + "+" + std::to_string(r.y());
}

constexpr int kTitleAndPanel = 80;  // what a window leaves free of its screen's height
constexpr int kTitleBar = 40;       // the room a title bar takes above a window's inside, at most

inline QScrollArea* scrollOf(QWidget* window) {
    return window->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
}

// Centred on the owner (nullptr: the screen) on each axis where the screen lets it be; where it
// does not, pushed in against the screen's edge, with room for the title bar at most.
inline void expectCentredOn(const QWidget& window, const QWidget* owner) {
    SCOPED_TRACE(owner ? owner->objectName().toStdString() : std::string("screen"));
    const QRect area = window.screen()->availableGeometry();
    const QPoint want = owner ? owner->geometry().center() : area.center();
    const QPoint got = window.geometry().center();
    const QRect frame = window.frameGeometry();
    auto axis = [](const char* name, int got, int want, int low, int high, int areaLow,
                   int areaHigh) {
        if (std::abs(got - want) <= 1) return;
        bool pushed = want < got ? low - areaLow <= kTitleBar : areaHigh - high <= kTitleBar;
        EXPECT_TRUE(pushed) << name << " centre " << got << " instead of " << want;
    };
    axis("across", got.x(), want.x(), frame.left(), frame.right(), area.left(), area.right());
    axis("down", got.y(), want.y(), frame.top(), frame.bottom(), area.top(), area.bottom());
}

// What reached the windows' code, the window each one was opened from (the active one when it
// first showed), and hooks for windows shown and controls changed.
class Watch : public ui::UiObserver {
  public:
    void handlerRuns(ui::Control& c, ui::Handler h) override { ran.push_back({&c, h}); }
    void formShown(ui::Form& form, bool modal) override {
        ui::Form* active = ui::desktop().activeForm();
        owners.try_emplace(&form, active != &form ? active : nullptr);
        if (onShown) onShown(form, modal);
    }
    void formUnloaded(ui::Form& form) override {
        owners.erase(&form);
        for (auto& [shown, owner] : owners)
            if (owner == &form) owner = nullptr;
    }
    void controlChanged(ui::Control& c, ui::Property p) override {
        if (onChanged) onChanged(c, p);
    }
    // Whether that handler (any, when none is named) of the control ran.
    bool arrived(const ui::Control& c, std::optional<ui::Handler> h = {}) const {
        return std::any_of(ran.begin(), ran.end(),
                           [&](const auto& r) { return r.first == &c && (!h || r.second == *h); });
    }

    std::vector<std::pair<const ui::Control*, ui::Handler>> ran;
    std::map<const ui::Form*, const ui::Form*> owners;
    std::function<void(ui::Form&, bool)> onShown;
    std::function<void(ui::Control&, ui::Property)> onChanged;
};

class ProgramOnScreen : public ::testing::TestWithParam<Screen> {
  public:
    void SetUp() override {
        platform_ = std::make_unique<ScopedEnv>(
            "QT_QPA_PLATFORM", "offscreen:configfile=" + std::string(TOLVANE_SOURCE_DIR) +
                                   "/tests/qt/screens/" + screenName({GetParam(), 0}) + ".json");
        usualMessages() = qInstallMessageHandler(quietPlatform);
        static int argc = 1;
        static char name[] = "test_qt";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        qt::useProgramLanguage();
        ASSERT_EQ(QGuiApplication::primaryScreen()->size(),
                  QSize(GetParam().width, GetParam().height))
            << "the offscreen platform did not take its screen";
        env = buildDemoEnvironment(scratch.path() / "demo");
        writeDemoMenuIni(env.mainIni);
        instIni_ = std::make_unique<ScopedEnv>("TOLVANE_INST_INI", env.installIni.string());
    }
    void TearDown() override {
        stop();
        app_.reset();
        qInstallMessageHandler(usualMessages());
    }

    // A fresh program on the demo with that window; a print window opens on the sample list
    // (choice as the sample takes it) after the list was moved aside, so that what opens from it
    // opens on it, not on the screen's centre. nullptr when the window did not open.
    ui::Form* start(const std::string& window, int choice = 0) {
        stop();
        cancellaRegistroForm();
        registraFinestreProgramma();
        frontEnd = std::make_unique<qt::QtFrontEnd>();
        ui::desktop().addObserver(&watch);
        answerMessages();
        auto printers = std::make_shared<MemoryPrinterSystem>();
        MemoryPrinterSystem::Entry ufficio;
        // The address a print server on this machine gives a queue, longer than the column of
        // ports was designed for.
        ufficio.info = {"Ufficio", "ipp://localhost/printers/Ufficio", "driver Ufficio"};
        ufficio.paperSizes = {"A4/A4", "Letter/Lettera"};
        printers->addPrinter(ufficio);
        printers->setServerDefault("Ufficio");
        setPrinterSystem(printers);
        const bool sample = qt::isSamplePrintWindow(window);
        const std::string first = sample ? "frmAziendeDemo" : window;
        if (!AvviaProgramma(parseCommandLine("/M=1 /P=DEMO /F=" + first))) return nullptr;
        settle();
        if (!sample) return ui::desktop().findForm(window);
        movedAside = ui::desktop().findForm(first);
        QWidget* list = frontEnd->windowOf(*movedAside);
        list->move(list->pos() - QPoint(200, 60));
        ui::Form* form = qt::openSamplePrintWindow(window, choice);
        settle();
        return form;
    }
    void stop() {
        if (frontEnd) {
            if (!programmaTerminato()) ChiudiProgramma(true);
            frontEnd.reset();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        watch.ran.clear();
        watch.owners.clear();
        movedAside = nullptr;
        resetProgramma();
        ui::desktop().reset();
    }
    void answerMessages() {
        frontEnd->setMessageAnswerer([this](const ui::MessageRequest& r) {
            messages.push_back(r.text);
            return std::max(static_cast<int>(r.buttons.size()), 1);
        });
    }
    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

    // Every window shown lies within the screen with room for a title bar and a panel, stands
    // centred on the window it was opened from (or the screen), scrolls only what it could not
    // grow to hold and shows every caption whole.
    void expectShownWindowsFit(bool designedZoom) {
        for (const auto& [form, owner] : watch.owners) {
            QWidget* w = frontEnd->windowOf(*form);
            if (!w || !w->isVisible()) continue;
            SCOPED_TRACE(form->name() + " " + text(w->geometry()));
            const QRect area = w->screen()->availableGeometry();
            EXPECT_TRUE(area.contains(w->frameGeometry())) << "within " << text(area);
            if (form == movedAside) continue;
            EXPECT_LE(w->height(), area.height() - kTitleAndPanel);
            if (designedZoom) {
                EXPECT_LE(w->width(), 1280);
                EXPECT_LE(w->height(), 720);
            }
            QWidget* ownerWindow = owner ? frontEnd->windowOf(*owner) : nullptr;
            expectCentredOn(*w, ownerWindow && ownerWindow->isVisible() ? ownerWindow : nullptr);
            QScrollArea* scroll = scrollOf(w);
            ASSERT_NE(scroll, nullptr);
            EXPECT_TRUE(!scroll->verticalScrollBar()->isVisible() ||
                        w->height() >= area.height() - kTitleAndPanel - 1)
                << "scrolls down while the screen has room to grow";
            EXPECT_TRUE(!scroll->horizontalScrollBar()->isVisible() ||
                        w->width() >= area.width() - 16)
                << "scrolls across while the screen has room to grow";
            for (QLabel* label : w->findChildren<QLabel*>()) {
                if (!label->isVisible() || label->text().isEmpty()) continue;
                SCOPED_TRACE(label->text().toStdString());
                if (label->wordWrap()) {
                    EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                        << "wrapped lines cut off";
                } else {
                    EXPECT_GE(label->width(), label->minimumSizeHint().width()) << "cut off";
                }
            }
            for (QTableWidget* table : w->findChildren<QTableWidget*>()) {
                if (table->isVisible()) expectLastColumnWhole(*table);
            }
        }
    }

    // The last column of a grid holds its values whole while the table has room for them.
    static void expectLastColumnWhole(QTableWidget& table) {
        int last = -1;
        int others = 0;
        for (int col = 0; col < table.columnCount(); ++col) {
            if (table.columnWidth(col) == 0) continue;
            if (last >= 0) others += table.columnWidth(last);
            last = col;
        }
        for (int row = 0; last >= 0 && row < table.rowCount(); ++row) {
            const QTableWidgetItem* item = table.item(row, last);
            if (!item) continue;
            const int needed = table.fontMetrics().horizontalAdvance(item->text()) + 8;
            if (others + needed > table.viewport()->width()) continue;
            EXPECT_GE(table.columnWidth(last), needed) << item->text().toStdString() << " cut off";
        }
    }

    QWidget* widget(const ui::Control& c) const { return frontEnd->widgetOf(c); }
    QTabBar* tabsOf(const ui::Form& form) const {
        ui::Control* tabs = form.findControl("TasPagine");
        return tabs ? qobject_cast<QTabBar*>(widget(*tabs)) : nullptr;
    }
    // A page chosen as a person chooses it: its tab brought into sight by the strip's arrow,
    // then clicked.
    void chooseTab(const ui::Form& form, int tab) {
        QTabBar* bar = tabsOf(form);
        ASSERT_NE(bar, nullptr);
        QToolButton* forward = nullptr;
        for (QToolButton* b : bar->findChildren<QToolButton*>())
            if (b->arrowType() == Qt::RightArrow) forward = b;
        for (int step = 0;
             forward && step < bar->count() && !bar->rect().contains(bar->tabRect(tab - 1)); ++step)
            QTest::mouseClick(forward, Qt::LeftButton);
        ASSERT_TRUE(bar->rect().contains(bar->tabRect(tab - 1))) << "tab " << tab << " unseen";
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab - 1).center());
        settle();
    }

    ScratchFolder scratch;
    DemoEnvironment env;
    std::unique_ptr<qt::QtFrontEnd> frontEnd;
    Watch watch;
    std::vector<std::string> messages;
    const ui::Form* movedAside = nullptr;

  private:
    // The offscreen platform notes each window operation it does without; the rest goes on.
    static QtMessageHandler& usualMessages() {
        static QtMessageHandler usual = nullptr;
        return usual;
    }
    static void quietPlatform(QtMsgType type, const QMessageLogContext& context,
                              const QString& text) {
        if (text.startsWith(QStringLiteral("This plugin does not support"))) return;
        if (usualMessages()) usualMessages()(type, context, text);
    }

    std::unique_ptr<ScopedEnv> platform_;
    std::unique_ptr<QApplication> app_;
    std::unique_ptr<ScopedEnv> instIni_;
};

}  // namespace tolvane::testing
