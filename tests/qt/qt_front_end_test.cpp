// The Qt front end on the offscreen platform: what a person does to the real widgets reaches
// the model as the same events, in the same order, as the headless user actions; what the
// model changes shows at once; modal windows and messages run real loops.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "qt/qt_fixture.h"
#include "startup/command_line.h"
#include "startup/demo_environment.h"
#include "startup/demo_menu.h"
#include "startup/form_registry.h"
#include "startup/frm_aziende_demo.h"
#include "startup/programma.h"
#include "support/scoped_env.h"
#include "support/scratch_folder.h"
#include "ui/scripted_driver.h"
#include "ui/ui_constants.h"
#include "ui/user_input.h"

namespace tolvane::testing {
namespace {

using Log = std::vector<std::string>;

// A small data window whose every event writes a line of the log.
class FormEventi : public ui::Form {
  public:
    FormEventi() : ui::Form("frmEventi") {
        grdRighe.setRows(3);
        grdRighe.setCols(3);
        grdRighe.setTextMatrix(2, 1, "cella");
        fraOpzioni.setCaption("Opzioni");
        cboTipo.setStyle(ui::ComboBox::Style::DropDownList);
        for (const char* item : {"Primo", "Secondo", "Terzo"}) cboTipo.addItem(item);
        for (ui::Control* c : controls()) record(*c);
        // A code "x" is refused on leaving: the focus goes back to the field.
        txtCodice.on.onLostFocus = [this] {
            log.push_back("txtCodice.LostFocus");
            if (txtCodice.text() == "x") txtCodice.setFocus();
        };
    }

    void record(ui::Control& c) {
        std::string n = c.name();
        c.on.onGotFocus = [this, n] { log.push_back(n + ".GotFocus"); };
        c.on.onLostFocus = [this, n] { log.push_back(n + ".LostFocus"); };
        c.on.onClick = [this, n] { log.push_back(n + ".Click"); };
        c.on.onChange = [this, n] { log.push_back(n + ".Change"); };
        c.on.onKeyDown = [this, n](int& code, int shift) {
            log.push_back(n + ".KeyDown " + std::to_string(code) + "/" + std::to_string(shift));
        };
        c.on.onKeyPress = [this, n](int& ascii) {
            log.push_back(n + ".KeyPress " + std::to_string(ascii));
        };
        c.on.onKeyUp = [this, n](int& code, int) {
            log.push_back(n + ".KeyUp " + std::to_string(code));
        };
    }

    Log log;
    ui::Label& labCodice = add<ui::Label>("labCodice");
    ui::TextBox& txtCodice = add<ui::TextBox>("txtCodice");
    ui::TextBox& txtDescr = add<ui::TextBox>("txtDescr");
    ui::Frame& fraOpzioni = add<ui::Frame>("fraOpzioni");
    ui::CheckBox& cheAttivo = add<ui::CheckBox>("cheAttivo", &fraOpzioni);
    ui::ComboBox& cboTipo = add<ui::ComboBox>("cboTipo");
    ui::CommandButton& comOk = add<ui::CommandButton>("comOk");
    ui::Grid& grdRighe = add<ui::Grid>("grdRighe");
};

class FormModale : public ui::Form {
  public:
    FormModale() : ui::Form("frmModale") {
        comChiudi.on.onClick = [this] { hide(); };
    }
    ui::CommandButton& comChiudi = add<ui::CommandButton>("comChiudi");
};

class QtFrontEndTest : public QtTest {
  protected:
    FormEventi& openForm() {
        FormEventi& form = ui::desktop().load<FormEventi>();
        form.show();
        form.log.clear();
        return form;
    }
};

// A key as the keyboard sends it, with its text (QTest leaves capitals in lower case).
void pressKey(QWidget* w, int key, Qt::KeyboardModifiers mods, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

// Each step once as a headless user action and once as a person at the Qt widgets.
struct Step {
    const char* name;
    std::function<void(FormEventi&)> headless;
    std::function<void(FormEventi&, qt::QtFrontEnd&)> withQt;
};

TEST_F(QtFrontEndTest, WidgetInputRaisesTheHeadlessEventsInOrder) {
    const Step steps[] = {
        {"click then type in a field",
         [](FormEventi& f) {
             ui::user::click(f.txtCodice);
             ui::user::type(f.txtCodice, "aB");
         },
         [](FormEventi& f, qt::QtFrontEnd& t) {
             QTest::mouseClick(t.widgetOf(f.txtCodice), Qt::LeftButton);
             QTest::keyClick(t.widgetOf(f.txtCodice), Qt::Key_A);
             pressKey(t.widgetOf(f.txtCodice), Qt::Key_B, Qt::ShiftModifier, "B");
         }},
        {"click the button: lost focus before click",
         [](FormEventi& f) {
             ui::user::click(f.txtCodice);
             ui::user::click(f.comOk);
         },
         [](FormEventi& f, qt::QtFrontEnd& t) {
             QTest::mouseClick(t.widgetOf(f.txtCodice), Qt::LeftButton);
             QTest::mouseClick(t.widgetOf(f.comOk), Qt::LeftButton);
         }},
        {"a leave rule that keeps the focus swallows the click",
         [](FormEventi& f) {
             ui::user::click(f.txtCodice);
             ui::user::type(f.txtCodice, "x");
             ui::user::click(f.comOk);
         },
         [](FormEventi& f, qt::QtFrontEnd& t) {
             QTest::mouseClick(t.widgetOf(f.txtCodice), Qt::LeftButton);
             QTest::keyClicks(t.widgetOf(f.txtCodice), "x");
             QTest::mouseClick(t.widgetOf(f.comOk), Qt::LeftButton);
         }},
        {"check box in a frame, then Tab and Shift+Tab",
         [](FormEventi& f) {
             ui::user::click(f.cheAttivo);
             ui::user::key(f, ui::key::Tab);
             ui::user::key(f, ui::key::Tab, ui::shift::Shift);
         },
         [](FormEventi& f, qt::QtFrontEnd& t) {
             QTest::mouseClick(t.widgetOf(f.cheAttivo), Qt::LeftButton);
             QTest::keyClick(t.widgetOf(f.cheAttivo), Qt::Key_Tab);
             QTest::keyClick(t.widgetOf(f.cboTipo), Qt::Key_Backtab, Qt::ShiftModifier);
         }},
        {"backspace and delete edit the field",
         [](FormEventi& f) {
             ui::user::type(f.txtDescr, "abc");
             ui::user::key(f, ui::key::Back);
         },
         [](FormEventi& f, qt::QtFrontEnd& t) {
             ui::user::focus(f.txtDescr);
             QTest::keyClicks(t.widgetOf(f.txtDescr), "abc");
             QTest::keyClick(t.widgetOf(f.txtDescr), Qt::Key_Backspace);
         }},
        {"clicks on a grid cell, twice",
         [](FormEventi& f) {
             ui::user::chooseCell(f.grdRighe, 2, 1);
             ui::user::chooseCell(f.grdRighe, 2, 1);
         },
         [](FormEventi& f, qt::QtFrontEnd& t) {
             auto* table = qobject_cast<QTableWidget*>(t.widgetOf(f.grdRighe));
             ASSERT_NE(table, nullptr);
             QPoint cell = table->visualRect(table->model()->index(2, 1)).center();
             QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
             QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
         }},
        {"arrow key on a list chooses the next item",
         [](FormEventi& f) {
             ui::user::focus(f.cboTipo);
             ui::user::key(f, ui::key::Down);
             ui::user::choose(f.cboTipo, 0);
         },
         [](FormEventi& f, qt::QtFrontEnd& t) {
             ui::user::focus(f.cboTipo);
             QTest::keyClick(t.widgetOf(f.cboTipo), Qt::Key_Down);
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ui::desktop().reset();
        Log expected;
        std::string expectedText;
        {
            ui::ScriptedDriver user;
            FormEventi& form = openForm();
            step.headless(form);
            expected = form.log;
            expectedText = form.txtCodice.text() + "|" + form.txtDescr.text();
        }
        ui::desktop().reset();
        frontEnd = std::make_unique<qt::QtFrontEnd>();
        FormEventi& form = openForm();
        step.withQt(form, *frontEnd);
        EXPECT_EQ(form.log, expected);
        EXPECT_EQ(form.txtCodice.text() + "|" + form.txtDescr.text(), expectedText);
        auto* line = qobject_cast<QLineEdit*>(widget(form.txtCodice));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->text().toStdString(), form.txtCodice.text())
            << "the widget shows the model";
        endFrontEnd();
    }
}

TEST_F(QtFrontEndTest, ModelChangesShowAtOnceAndTheCloseBoxAsksTheModel) {
    frontEnd = std::make_unique<qt::QtFrontEnd>();
    FormEventi& form = openForm();
    auto* line = qobject_cast<QLineEdit*>(widget(form.txtDescr));
    auto* check = qobject_cast<QCheckBox*>(widget(form.cheAttivo));
    auto* combo = qobject_cast<QComboBox*>(widget(form.cboTipo));
    auto* button = qobject_cast<QPushButton*>(widget(form.comOk));
    ASSERT_TRUE(line && check && combo && button);

    form.txtDescr.setText("Rossi S.r.l.");
    EXPECT_EQ(line->text(), QStringLiteral("Rossi S.r.l."));
    form.txtDescr.setLocked(true);
    EXPECT_TRUE(line->isReadOnly());
    form.cheAttivo.setValue(1);
    EXPECT_EQ(check->checkState(), Qt::Checked);
    form.cboTipo.setListIndex(2);
    EXPECT_EQ(combo->currentIndex(), 2);
    form.comOk.setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    form.txtDescr.setVisible(false);
    EXPECT_TRUE(line->isHidden());
    form.setCaption("Nuovo titolo");
    EXPECT_EQ(frontEnd->windowOf(form)->windowTitle(), QStringLiteral("Nuovo titolo"));
    EXPECT_EQ(frontEnd->windowOf(form)->findChild<QGroupBox*>()->title(),
              QStringLiteral("Opzioni"));
    frontEnd->windowOf(form)->close();
    EXPECT_FALSE(form.loaded()) << "the close box unloads through the model";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frontEnd->windowOf(form), nullptr);
}

TEST_F(QtFrontEndTest, ModalWindowRunsUntilTheModelHidesIt) {
    frontEnd = std::make_unique<qt::QtFrontEnd>();
    FormModale& modal = ui::desktop().load<FormModale>();
    bool pressed = false;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(ui::desktop().modalDepth(), 1);
        QTest::mouseClick(frontEnd->widgetOf(modal.comChiudi), Qt::LeftButton);
        pressed = true;
    });
    modal.show(ui::ShowMode::Modal);
    EXPECT_TRUE(pressed);
    EXPECT_FALSE(modal.visible());
    EXPECT_EQ(ui::desktop().modalDepth(), 0);
}

TEST_F(QtFrontEndTest, MessageWindowAnswersThePressedButton) {
    frontEnd = std::make_unique<qt::QtFrontEnd>();
    struct Case {
        const char* press;  // object name of the button, "" for Esc
        int expected;
    } cases[] = {{"comScelta2", 2}, {"comScelta1", 1}, {"", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        std::string pressName = c.press;
        QTimer::singleShot(0, [pressName] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (pressName.empty()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                auto* button = dialog->findChild<QPushButton*>(QString::fromStdString(pressName));
                ASSERT_NE(button, nullptr);
                button->click();
            }
        });
        ui::MessageRequest request;
        request.text = "Confermi cancellazione?";
        request.buttons = {"&Sì", "&No", "&Annulla"};
        EXPECT_EQ(frontEnd->message(request), c.expected);
    }
}

TEST_F(QtFrontEndTest, ProgramEndsWhenItsLastWindowIsClosed) {
    ScratchFolder scratch;
    DemoEnvironment env = buildDemoEnvironment(scratch.path() / "demo");
    writeDemoMenuIni(env.mainIni);
    ScopedEnv instIni("TOLVANE_INST_INI", env.installIni.string());
    resetProgramma();
    cancellaRegistroForm();
    registraFinestreAvvio();
    QTimer::singleShot(0, [] {
        QPushButton* chiudi = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QStringLiteral("frmAziendeDemo") && top->isVisible())
                chiudi = top->findChild<QPushButton*>(QStringLiteral("comChiudi"));
        }
        ASSERT_NE(chiudi, nullptr);
        QTest::mouseClick(chiudi, Qt::LeftButton);
    });
    char name[] = "tolvane";
    char* argv[] = {name, nullptr};
    int code = qt::runProgram(
        1, argv, [] { return AvviaProgramma(parseCommandLine("/M=1 /P=DEMO /F=frmAziendeDemo")); });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(programmaTerminato()) << "the close timer ended the program";
    resetProgramma();
    cancellaRegistroForm();
}

}  // namespace
}  // namespace tolvane::testing
