// The register's windows under a real window manager that keeps windows from stealing the focus
// (openbox on a private Xvfb, Qt's xcb platform, input as real X events): a window the program
// opens or brings back because of what the user did is the active one and on top, whatever the
// user did before. Skipped only where Xvfb cannot start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QSocketNotifier>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "companydata/frm_dati_azie.h"
#include "db/db_test_folder.h"
#include "finestre_programma.h"
#include "platform/memory_printer_system.h"
#include "qt/qt_front_end.h"
#include "register/frm_crea_azi.h"
#include "register/frm_tolvane.h"
#include "startup/command_line.h"
#include "startup/demo_environment.h"
#include "startup/demo_menu.h"
#include "startup/form_registry.h"
#include "startup/programma.h"
#include "support/private_x_display.h"
#include "support/scoped_env.h"
#include "support/scratch_folder.h"
#include "ui/desktop.h"

namespace tolvane::testing {
namespace {

constexpr int kWaitMs = 10000;  // for the window manager's answer; never reached when it answers

std::string hex(uint32_t window) {
    std::ostringstream out;
    out << "0x" << std::hex << window;
    return out.str();
}

class UnderWindowManager : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::string why = display.startServer(); !why.empty()) GTEST_SKIP() << why;
        ASSERT_EQ(display.startWindowManager(), "");
        displayName_ = std::make_unique<ScopedEnv>("DISPLAY", display.name());
        platform_ = std::make_unique<ScopedEnv>("QT_QPA_PLATFORM", "xcb");
        static int argc = 1;
        static char name[] = "test_qt";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        qt::useProgramLanguage();
        // Every root property that changes (the active window above all) wakes the waits, and
        // lets the steps armed for it act, also inside a modal window's own loop.
        rootChanged_ = std::make_unique<QSocketNotifier>(display.fd(), QSocketNotifier::Read);
        QObject::connect(rootChanged_.get(), &QSocketNotifier::activated, [this] {
            display.drain();
            runArmed();
        });

        env = buildDemoEnvironment(scratch.path() / "demo");
        writeDemoMenuIni(env.mainIni);
        instIni_ = std::make_unique<ScopedEnv>("TOLVANE_INST_INI", env.installIni.string());
        // Every identifier taken: the creation window opens with a message over it. The others'
        // companies are not listed, so the grid keeps room below its rows.
        std::filesystem::path last = env.folder / "ditta_999.db";
        std::filesystem::copy_file(env.baseCompanyDb, last);
        dbtest::OtherConnection(
            env.commonDb.string(),
            "WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 1 FROM n WHERE i < 998) "
            "INSERT INTO Aziende (Codice, IdAzienda, Descrizione, NomeDB, ListaLogin) "
            "SELECT 'ALTRA' || i, printf('%03d', i), 'Altra azienda', '" +
                last.string() + "', 'altri' FROM n UNION ALL SELECT 'ULTIMA', '999', " +
                "'Ultima azienda', '" + last.string() + "', NULL");
    }

    void TearDown() override {
        if (frontEnd) {
            if (!programmaTerminato()) ChiudiProgramma(true);
            frontEnd.reset();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        resetProgramma();
        ui::desktop().reset();
        rootChanged_.reset();
        app_.reset();
    }

    frmTolvane* start() {
        cancellaRegistroForm();
        registraFinestreProgramma();
        frontEnd = std::make_unique<qt::QtFrontEnd>();
        auto printers = std::make_shared<MemoryPrinterSystem>();
        setPrinterSystem(printers);
        if (!AvviaProgramma(parseCommandLine("/M=1 /P=DEMO /F=frmtolvane"))) return nullptr;
        return ui::desktop().find<frmTolvane>();
    }

    // Lets events through until done holds, for a bounded while; whether it came to hold.
    bool waitUntil(const std::function<bool()>& done) {
        QDeadlineTimer deadline(kWaitMs);
        QTimer wakeUp;
        wakeUp.start(kWaitMs);
        while (!done()) {
            if (deadline.hasExpired()) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
        return true;
    }

    uint32_t windowId(const ui::Form& form) const {
        QWidget* w = frontEnd->windowOf(form);
        return w && w->isVisible() ? static_cast<uint32_t>(w->winId()) : 0;
    }
    // The form's window is the active one and above every other window.
    bool forward(const ui::Form& form) {
        const uint32_t id = windowId(form);
        return id != 0 && display.activeWindow() == id && display.stacking().back() == id;
    }
    void expectForward(const ui::Form& form, const std::string& after) {
        EXPECT_TRUE(waitUntil([&] { return forward(form); }))
            << form.name() << " not brought forward after " << after << ": active "
            << hex(display.activeWindow()) << ", on top " << hex(display.stacking().back())
            << ", the window " << hex(windowId(form));
    }

    // An action for when its moment comes, checked at every change of the root's properties.
    void arm(std::function<bool()> step) {
        armed_.push_back(std::move(step));
        runArmed();
    }
    void runArmed() {
        for (std::size_t i = 0; i < armed_.size();) {
            if (armed_[i]()) armed_.erase(armed_.begin() + static_cast<std::ptrdiff_t>(i));
            else ++i;
        }
    }

    // A click of the mouse at a point of a widget, as X input.
    void click(QWidget* widget, QPoint at) {
        const QPoint inWindow = widget->mapTo(widget->window(), at);
        ASSERT_EQ(display.xdotool("mousemove --sync --window " +
                                  std::to_string(widget->window()->winId()) + " " +
                                  std::to_string(inWindow.x()) + " " +
                                  std::to_string(inWindow.y()) + " click 1"),
                  0)
            << display.log("xdotool.log");
    }
    void press(const frmTolvane& list, const char* caption) {
        auto* bar = static_cast<QToolBar*>(frontEnd->widgetOf(list.Toolbar1));
        for (QAction* action : bar->actions()) {
            if (action->text() != QString::fromUtf8(caption)) continue;
            QWidget* button = bar->widgetForAction(action);
            click(button, button->rect().center());
            return;
        }
        ADD_FAILURE() << "no button " << caption;
    }
    // Keys or pointer moves, as xdotool takes them.
    void send(const std::string& input) {
        ASSERT_EQ(display.xdotool(input), 0) << display.log("xdotool.log");
    }

    PrivateXDisplay display;
    ScratchFolder scratch;
    DemoEnvironment env;
    std::unique_ptr<qt::QtFrontEnd> frontEnd;

  private:
    std::unique_ptr<ScopedEnv> displayName_;
    std::unique_ptr<ScopedEnv> platform_;
    std::unique_ptr<ScopedEnv> instIni_;
    std::unique_ptr<QApplication> app_;
    std::unique_ptr<QSocketNotifier> rootChanged_;
    std::vector<std::function<bool()>> armed_;
};

// The creation window stays open under its message; the user brings the register forward, by
// its title bar or by a click in it that reaches no control, and asks for a new company again:
// the creation window comes back over it. Then a window opened by a click right after keys
// typed in another window comes forward too.
TEST_F(UnderWindowManager, AWindowTheUserAsksForComesForwardWhateverCameBefore) {
    frmTolvane* list = start();
    ASSERT_NE(list, nullptr);
    expectForward(*list, "the start");

    std::string message;
    arm([&] {
        QWidget* shown = QApplication::activeModalWidget();
        if (!shown || shown->objectName() != "frmMsgCom" ||
            display.activeWindow() != shown->winId())
            return false;
        if (auto* text = shown->findChild<QLabel*>("labMessaggio"))
            message = text->text().toStdString();
        send("key Return");
        return true;
    });
    press(*list, "Nuova azienda");
    frmCreaAzi* crea = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        crea = ui::desktop().find<frmCreaAzi>();
        return crea && crea->visible() && forward(*crea);
    })) << "the creation window never came forward";
    EXPECT_NE(message.find("da 001 a 999"), std::string::npos) << message;

    auto* table = qobject_cast<QTableWidget*>(frontEnd->widgetOf(list->grdLista));
    ASSERT_NE(table, nullptr);
    QWidget* below = table->viewport();
    const struct {
        const char* how;
        std::function<void()> bringRegister;
    } ways[] = {
        {"a click on the title bar",
         [&] {
             auto [x, y] = display.titleBarPoint(windowId(*list));
             send("mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1");
         }},
        {"a click below the rows", [&] { click(below, QPoint(10, below->height() - 10)); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        way.bringRegister();
        expectForward(*list, way.how);
        press(*list, "Nuova azienda");
        expectForward(*crea, std::string("\"Nuova azienda\" after ") + way.how);
    }

    send("type --delay 20 ALFA");
    ASSERT_TRUE(waitUntil([&] { return crea->txtCodice.text() == "ALFA"; }))
        << crea->txtCodice.text();
    press(*list, "Dati azienda");
    ASSERT_TRUE(waitUntil([&] { return ui::desktop().find<frmDatiAzie>() != nullptr; }));
    expectForward(*ui::desktop().find<frmDatiAzie>(), "keys typed in the creation window");
}

}  // namespace
}  // namespace tolvane::testing
