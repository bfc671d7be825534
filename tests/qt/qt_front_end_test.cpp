// The Qt front end on the offscreen platform: a person's input at the real widgets reaches the
// model as the headless user actions' events, in their order; model changes show at once; modal
// windows and messages run real loops; where a form's fonts, places, rows and panels go.
#include "qt/qt_front_end.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/servizi_finestre.h"
#include "qt/qt_picture_view.h"
#include "startup/command_line.h"
#include "startup/demo_environment.h"
#include "startup/demo_menu.h"
#include "startup/form_registry.h"
#include "startup/frm_aziende_demo.h"
#include "startup/programma.h"
#include "support/scoped_env.h"
#include "support/scratch_folder.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/desktop.h"
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
        // A code "aB" is refused on leaving: the focus goes back to the field.
        txtCodice.on.onLostFocus = [this] {
            log.push_back("txtCodice.LostFocus");
            if (txtCodice.text() == "aB") txtCodice.setFocus();
        };
    }

    void record(ui::Control& c) {
        auto note = [this, n = c.name()](const std::string& e) { log.push_back(n + "." + e); };
        c.on.onGotFocus = [=] { note("GotFocus"); };
        c.on.onLostFocus = [=] { note("LostFocus"); };
        c.on.onClick = [=] { note("Click"); };
        c.on.onChange = [=] { note("Change"); };
        c.on.onKeyDown = [=](int& code, int shift) {
            note("KeyDown " + std::to_string(code) + "/" + std::to_string(shift));
        };
        c.on.onKeyPress = [=](int& ascii) { note("KeyPress " + std::to_string(ascii)); };
        c.on.onKeyUp = [=](int& code, int) { note("KeyUp " + std::to_string(code)); };
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

// A page shown inside a viewing area, as the print preview shows it, with designed places.
class FormPagina : public ui::Form {
  public:
    FormPagina() : ui::Form("frmPagina") {
        move(0, 0, 9000, 6000);
        labTitolo.setCaption("Anteprima");
        labTitolo.move(120, 120, 3000, 255);
        PicPrinc.move(120, 480, 4500, 3000);
        PicPrinc.setBackColor(0x808080);
        PicSec.move(0, 0, 9000, 12000);
        PicSec.setFont({"Courier New", 15});
        for (const char* line : {"Codice Descrizione", "1001   Rossi", "1002   Bianchi"})
            PicSec.print(line);
    }
    ui::Label& labTitolo = add<ui::Label>("labTitolo");
    ui::PictureBox& PicPrinc = add<ui::PictureBox>("PicPrinc");
    ui::PictureBox& PicSec = add<ui::PictureBox>("PicSec", &PicPrinc);
};

// Fields with designed places: a three-part account on one line, a list, a text area.
class FormRighe : public ui::Form {
  public:
    FormRighe() : ui::Form("frmRighe") {
        move(0, 0, 9000, 6000);
        Lab.add(1).setCaption("Conto Iva gruppo/mastro/conto:");
        Lab(1).move(120, 300, 2900, 255);
        txt.add(1).move(3120, 300, 360, 285);
        Barra.add(1).setCaption("/");
        Barra(1).move(3500, 300, 120, 255);
        txt.add(2).move(3640, 300, 360, 285);
        Barra.add(2).setCaption("/");
        Barra(2).move(4020, 300, 120, 255);
        txt.add(3).move(4160, 300, 800, 285);
        Lab.add(4).setCaption("Causale:");
        Lab(4).move(120, 660, 2900, 255);
        txt.add(4).move(3120, 660, 600, 285);
        Lab.add(5).setCaption("Tipo fornitore");
        Lab(5).move(120, 1020, 2900, 255);
        lstTipo.move(3120, 1020, 4000, 900);
        for (const char* item : {"01 - Soggetti", "10 - Intermediari"}) lstTipo.addItem(item);
        txtNote.setMultiLine(true);
        txtNote.move(3120, 2040, 4000, 1200);
    }
    ui::ControlArray<ui::Label> Lab{*this, "Lab"};
    ui::ControlArray<ui::TextBox> txt{*this, "txt"};
    ui::ControlArray<ui::Label> Barra{*this, "Barra"};
    ui::ListBox& lstTipo = add<ui::ListBox>("lstTipo");
    ui::TextBox& txtNote = add<ui::TextBox>("txtNote");
};

// No designed places: a page range of array fields, as the print options dialog declares it.
class FormIntervallo : public ui::Form {
  public:
    FormIntervallo() : ui::Form("frmIntervallo") {
        Label7.add(2).setCaption("Stampa Pagine da:");
        txt.add(10).setWidth(900);
        Label7.add(3).setCaption("a:");
        txt.add(20).setWidth(900);
        labAltro.setCaption("Copie:");
        txtCopie.setWidth(600);
        PicPannello.setVisible(false);
    }
    ui::ControlArray<ui::Label> Label7{*this, "Label7"};
    ui::ControlArray<ui::TextBox> txt{*this, "txt"};
    ui::Label& labAltro = add<ui::Label>("labAltro");
    ui::TextBox& txtCopie = add<ui::TextBox>("txtCopie");
    ui::PictureBox& PicPannello = add<ui::PictureBox>("PicPannello");
};

// Controls alone in the one column of a narrower window, as the company register's grid under
// its caption: nothing but their designed width holds the column open.
class FormColonna : public ui::Form {
  public:
    FormColonna() : ui::Form("frmColonna") {
        move(0, 0, 4000, 6000);
        labTitolo.setCaption("Aziende");
        labTitolo.move(120, 120, 9000, 255);
        grdLista.setCols(3);
        grdLista.move(120, 480, 9000, 1500);
        lstTipo.move(120, 2100, 6000, 900);
        txtNote.setMultiLine(true);
        txtNote.move(120, 3120, 7500, 1200);
        fraOpzioni.move(120, 4440, 8000, 900);
        cheStampa.setCaption("Stampa");
        cheStampa.move(120, 240, 1500, 255);
    }
    ui::Label& labTitolo = add<ui::Label>("labTitolo");
    ui::Grid& grdLista = add<ui::Grid>("grdLista");
    ui::ListBox& lstTipo = add<ui::ListBox>("lstTipo");
    ui::TextBox& txtNote = add<ui::TextBox>("txtNote");
    ui::Frame& fraOpzioni = add<ui::Frame>("fraOpzioni");
    ui::CheckBox& cheStampa = add<ui::CheckBox>("cheStampa", &fraOpzioni);
};

// A caption that a window sets once it shows, as the personal settings' database label: above
// a row of buttons, in a window designed little wider than it.
class FormDatabase : public ui::Form {
  public:
    FormDatabase() : ui::Form("frmDatabase") {
        move(0, 0, 6000, 2400);
        LabAzienda.setCaption("Nessun database dell'azienda aperto");
        LabAzienda.move(240, 240, 5500, 300);
        comGenerali.setCaption("Personalizzazioni generali");
        comGenerali.move(240, 720, 2700, 420);
        comAzienda.setCaption("Personalizzazioni dell'azienda");
        comAzienda.move(3060, 720, 2700, 420);
        comChiudi.setCaption("Chiudi");
        comChiudi.move(4260, 1320, 1500, 420);
    }
    ui::Label& LabAzienda = add<ui::Label>("LabAzienda");
    ui::CommandButton& comGenerali = add<ui::CommandButton>("comGenerali");
    ui::CommandButton& comAzienda = add<ui::CommandButton>("comAzienda");
    ui::CommandButton& comChiudi = add<ui::CommandButton>("comChiudi");
};

class QtFrontEndTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_qt";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete app;
        app = nullptr;
    }
    void SetUp() override { ui::desktop().reset(); }
    void TearDown() override {
        endFrontEnd();
        ui::desktop().reset();
    }
    void endFrontEnd() {
        frontEnd.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QWidget* widget(const ui::Control& c) {
        QWidget* w = frontEnd->widgetOf(c);
        EXPECT_NE(w, nullptr) << c.displayName();
        return w;
    }
    FormEventi& openForm() {
        FormEventi& form = ui::desktop().load<FormEventi>();
        form.show();
        form.log.clear();
        return form;
    }
    template <class F>
    F& shown() {
        if (!frontEnd) frontEnd = std::make_unique<qt::QtFrontEnd>();
        F& form = ui::desktop().load<F>();
        form.show();
        settle(form);
        return form;
    }
    void settle(ui::Form& form) {
        QCoreApplication::processEvents();
        frontEnd->grab(form);
    }
    // The widget's place in its window.
    QRect inWindow(const ui::Control& c) {
        QWidget* w = widget(c);
        if (!w) return {};
        return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    }
    static bool sameLine(const QRect& a, const QRect& b) {
        return a.top() < b.bottom() && b.top() < a.bottom();
    }
    // The controls stand on one line, each to the right of the one before.
    void expectOneLine(const std::vector<const ui::Control*>& line) {
        for (std::size_t i = 1; i < line.size(); ++i) {
            SCOPED_TRACE(line[i]->displayName());
            EXPECT_TRUE(sameLine(inWindow(*line[0]), inWindow(*line[i])));
            EXPECT_GE(inWindow(*line[i]).left(), inWindow(*line[i - 1]).right());
        }
    }

    static inline QApplication* app = nullptr;
    std::unique_ptr<qt::QtFrontEnd> frontEnd;
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
        {"type and edit a field; a leave rule that keeps the focus swallows the click",
         [](FormEventi& f) {
             ui::user::click(f.txtCodice);
             ui::user::type(f.txtCodice, "aBc");
             ui::user::key(f, ui::key::Back);
             ui::user::click(f.comOk);
         },
         [](FormEventi& f, qt::QtFrontEnd& t) {
             QTest::mouseClick(t.widgetOf(f.txtCodice), Qt::LeftButton);
             QTest::keyClick(t.widgetOf(f.txtCodice), Qt::Key_A);
             pressKey(t.widgetOf(f.txtCodice), Qt::Key_B, Qt::ShiftModifier, "B");
             QTest::keyClick(t.widgetOf(f.txtCodice), Qt::Key_C);
             QTest::keyClick(t.widgetOf(f.txtCodice), Qt::Key_Backspace);
             QTest::mouseClick(t.widgetOf(f.comOk), Qt::LeftButton);
         }},
        {"a field loses the focus before the button's click; a check box in a frame, Tab and "
         "Shift+Tab",
         [](FormEventi& f) {
             ui::user::click(f.txtCodice);
             ui::user::click(f.comOk);
             ui::user::click(f.cheAttivo);
             ui::user::key(f, ui::key::Tab);
             ui::user::key(f, ui::key::Tab, ui::shift::Shift);
         },
         [](FormEventi& f, qt::QtFrontEnd& t) {
             QTest::mouseClick(t.widgetOf(f.txtCodice), Qt::LeftButton);
             QTest::mouseClick(t.widgetOf(f.comOk), Qt::LeftButton);
             QTest::mouseClick(t.widgetOf(f.cheAttivo), Qt::LeftButton);
             QTest::keyClick(t.widgetOf(f.cheAttivo), Qt::Key_Tab);
             QTest::keyClick(t.widgetOf(f.cboTipo), Qt::Key_Backtab, Qt::ShiftModifier);
         }},
        {"clicks on a grid cell, twice; an arrow key on a list chooses the next item",
         [](FormEventi& f) {
             ui::user::chooseCell(f.grdRighe, 2, 1);
             ui::user::chooseCell(f.grdRighe, 2, 1);
             ui::user::focus(f.cboTipo);
             ui::user::key(f, ui::key::Down);
             ui::user::choose(f.cboTipo, 0);
         },
         [](FormEventi& f, qt::QtFrontEnd& t) {
             auto* table = qobject_cast<QTableWidget*>(t.widgetOf(f.grdRighe));
             ASSERT_NE(table, nullptr);
             // The grid's fixed row is the table's heading.
             QPoint cell = table->visualRect(table->model()->index(1, 1)).center();
             QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
             QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
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
            expectedText = form.txtCodice.text();
        }
        ui::desktop().reset();
        frontEnd = std::make_unique<qt::QtFrontEnd>();
        FormEventi& form = openForm();
        step.withQt(form, *frontEnd);
        EXPECT_EQ(form.log, expected);
        EXPECT_EQ(form.txtCodice.text(), expectedText);
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

TEST_F(QtFrontEndTest, ModalWindowsAndMessagesRunUntilAnsweredTheWaitingLoopUntilAnEvent) {
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

    // A message answers the pressed button.
    struct Case {
        const char* press;  // object name of the button, "" for Esc
        int expected;
    } cases[] = {{"comScelta2", 2}, {"comScelta1", 1}, {"", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        QTimer::singleShot(0, [pressName = std::string(c.press)] {
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

    // The waiting loop handles what is waiting.
    bool qtEvent = false;
    bool userAction = false;
    QTimer::singleShot(0, [&] { qtEvent = true; });
    ui::desktop().post([&] { userAction = true; });
    EXPECT_EQ(ui::WaitForEvents(), 1);
    EXPECT_TRUE(qtEvent);
    EXPECT_TRUE(userAction);
}

// Qt keeps a person's clicks from a window behind a modal one; what is sent to its widgets all
// the same is dropped before the model, which would refuse it with an error.
TEST_F(QtFrontEndTest, InputToAWindowBehindAModalOneNeverReachesTheModel) {
    frontEnd = std::make_unique<qt::QtFrontEnd>();
    std::vector<std::string> messages;
    frontEnd->setMessageAnswerer([&](const ui::MessageRequest& r) {
        messages.push_back(r.text);
        return 1;
    });
    // With a list window's toolbar, whose button press writes the log.
    FormEventi& behind = ui::desktop().load<FormEventi>();
    auto& toolbar = behind.add<ui::Toolbar>("Toolbar1");
    toolbar.addButton("Aggiorna", "A&ggiorna", "Rilegge l'elenco");
    toolbar.onButtonClick = [&](const std::string& key) { behind.log.push_back(key); };
    behind.show();
    struct Case {
        const char* name;
        std::function<void()> gesture;
    };
    const Case cases[] = {
        {"a button", [&] { QTest::mouseClick(widget(behind.comOk), Qt::LeftButton); }},
        {"a field, then a letter",
         [&] {
             QTest::mouseClick(widget(behind.txtCodice), Qt::LeftButton);
             QTest::keyClick(widget(behind.txtCodice), Qt::Key_A);
         }},
        {"a grid cell",
         [&] {
             auto* table = qobject_cast<QTableWidget*>(widget(behind.grdRighe));
             QPoint cell = table->visualRect(table->model()->index(1, 1)).center();
             QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
         }},
        {"a toolbar button",
         [&] {
             auto* bar = qobject_cast<QToolBar*>(widget(toolbar));
             QWidget* button = bar->widgetForAction(bar->actions().front());
             QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        behind.log.clear();
        messages.clear();
        FormModale& modal = ui::desktop().load<FormModale>();
        QTimer::singleShot(0, [&] {
            c.gesture();
            QTest::mouseClick(frontEnd->widgetOf(modal.comChiudi), Qt::LeftButton);
        });
        modal.show(ui::ShowMode::Modal);
        EXPECT_FALSE(modal.visible());
        EXPECT_EQ(behind.log, Log{});
        EXPECT_EQ(messages, std::vector<std::string>{});
    }
}

// A list that takes its first line by itself when the focus reaches it shows no line the model
// does not hold: the model's choice is what a key or button then acts on.
TEST_F(QtFrontEndTest, FocusGivenByTheModelChoosesNoLineInTheWidget) {
    frontEnd = std::make_unique<qt::QtFrontEnd>();
    // The code field, then a list with no line chosen.
    FormEventi& form = ui::desktop().load<FormEventi>();
    auto& lstVoci = form.add<ui::ListBox>("lstVoci");
    for (const char* item : {"Primo", "Secondo", "Terzo"}) lstVoci.addItem(item);
    lstVoci.setTabIndex(form.txtCodice.tabIndex() + 1);
    form.show();
    QCoreApplication::processEvents();
    auto* list = qobject_cast<QListWidget*>(widget(lstVoci));
    ASSERT_NE(list, nullptr);
    QTest::keyClick(frontEnd->widgetOf(form.txtCodice), Qt::Key_Tab);
    ASSERT_TRUE(lstVoci.hasFocus());
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_EQ(lstVoci.listIndex(), -1);
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

TEST_F(QtFrontEndTest, ModelFontsGiveFamilyAndSizeAPrintedPageShowsInItsFont) {
    QFont base = QApplication::font();
    struct Case {
        ui::Font font;
        bool fixedPitch;
        double pointSize;  // 0: the desktop's own
    } cases[] = {
        {{"Courier New", 15}, true, 15},
        {{"Courier New", 10, true}, true, 10},
        {{"Courier", 12, true, true}, true, 12},
        {{"Lucida Console", 9}, true, 9},
        {{"MS Sans Serif", 8}, QFontInfo(base).fixedPitch(), 0},
        {{"MS Sans Serif", 12}, QFontInfo(base).fixedPitch(), 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font.name + " " + std::to_string(c.font.size));
        QFont font = qt::modelFont(c.font, base);
        EXPECT_EQ(QFontInfo(font).fixedPitch(), c.fixedPitch);
        EXPECT_DOUBLE_EQ(font.pointSizeF(), c.pointSize > 0 ? c.pointSize : base.pointSizeF());
        EXPECT_EQ(font.bold(), c.font.bold);
        EXPECT_EQ(font.italic(), c.font.italic);
    }

    // A printed page shows in its font, clipped by its viewing area.
    auto& form = shown<FormPagina>();
    auto* page = dynamic_cast<qt::PictureView*>(widget(form.PicSec));
    ASSERT_NE(page, nullptr);
    QWidget* area = widget(form.PicPrinc);
    EXPECT_EQ(page->parentWidget(), area)
        << "the page is a child of its viewing area, which clips it";
    EXPECT_EQ(page->lines(), (QStringList{"Codice Descrizione", "1001   Rossi", "1002   Bianchi"}));
    EXPECT_TRUE(QFontInfo(page->font()).fixedPitch()) << "columns of the page line up";
    EXPECT_DOUBLE_EQ(page->font().pointSizeF(), 15);
    EXPECT_EQ(page->size(), QSize(600, 800)) << "the page keeps its own size";
    EXPECT_LT(area->width(), page->width());

    struct Scroll {
        double left, top;
        QPoint expected;
    } scrolls[] = {{-300, -1500, {-20, -100}}, {0, 0, {0, 0}}, {-4500, 0, {-300, 0}}};
    for (const Scroll& s : scrolls) {
        form.PicSec.setLeft(s.left);
        form.PicSec.setTop(s.top);
        EXPECT_EQ(page->pos(), s.expected);
    }
    // The page's text is drawn: its first line darkens the top left of the page.
    form.PicSec.setLeft(0);
    form.PicSec.setTop(0);
    QImage image = page->grab(QRect(0, 0, 200, 30)).toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 20);
    form.PicSec.cls();
    EXPECT_TRUE(page->lines().isEmpty());
}

// Lists and text areas keep their designed height, at the window's zoom; a control kept apart
// keeps its designed size and font.
TEST_F(QtFrontEndTest, ControlsTakeTheWindowsZoomExceptThoseKeptApart) {
    frontEnd = std::make_unique<qt::QtFrontEnd>();
    const double points = QApplication::font().pointSizeF();
    struct Case {
        double factor;  // given to the screen adaptation
        bool afterShown;
        int listHeight;  // lstTipo, designed 900 twips
        // From lstTipo's top to txtNote's: the rows stand 1020 twips apart, the list centred in
        // the first one.
        int rowDistance;
        double listPoints;
    } cases[] = {
        {-1, false, 60, 66, points},
        {1.5, false, 90, 98, points * 1.5},
        {2, true, 120, 130, points * 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.factor);
        auto& form = ui::desktop().load<FormRighe>();
        if (!c.afterShown) AdattaRisVid(form, c.factor, 0, {{"txtNote", true, 2}});
        form.show();
        settle(form);
        if (c.afterShown) {
            AdattaRisVid(form, c.factor, 0, {{"txtNote", true, 2}});
            settle(form);
        }
        EXPECT_EQ(widget(form.lstTipo)->height(), c.listHeight);
        EXPECT_EQ(inWindow(form.txtNote).top() - inWindow(form.lstTipo).top(), c.rowDistance);
        EXPECT_DOUBLE_EQ(widget(form.lstTipo)->font().pointSizeF(), c.listPoints);
        EXPECT_EQ(widget(form.txtNote)->height(), 80);
        EXPECT_DOUBLE_EQ(widget(form.txtNote)->font().pointSizeF(), points);
        form.unload();
    }
}

TEST_F(QtFrontEndTest, ControlsAloneInTheirColumnKeepTheirDesignedWidth) {
    auto& form = shown<FormColonna>();
    struct Case {
        const ui::Control& control;
        int width;
        int height;  // 0: not checked
    } cases[] = {
        {form.grdLista, 600, 100},
        {form.lstTipo, 400, 60},
        {form.txtNote, 500, 80},
        {form.fraOpzioni, 533, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control.displayName());
        QRect place = inWindow(c.control);
        EXPECT_GE(place.width(), c.width);
        if (c.height > 0) {
            EXPECT_EQ(place.height(), c.height);
        }
        EXPECT_EQ(place.left(), inWindow(form.labTitolo).left()) << "one column";
    }
    EXPECT_GE(widget(form.grdLista)->window()->width(), 608)
        << "the window holds the designed right edge";
}

TEST_F(QtFrontEndTest, ControlsWithEqualTopsFormOneRowInLeftOrder) {
    auto& form = shown<FormRighe>();
    expectOneLine(
        {&form.Lab(1), &form.txt(1), &form.Barra(1), &form.txt(2), &form.Barra(2), &form.txt(3)});
    EXPECT_GT(inWindow(form.txt(4)).top(), inWindow(form.txt(1)).bottom())
        << "the next top, the next row";
    EXPECT_EQ(inWindow(form.txt(4)).left(), inWindow(form.txt(1)).left()) << "equal lefts line up";
    EXPECT_TRUE(sameLine(inWindow(form.Lab(5)), inWindow(form.lstTipo)));

    form.txt(4).move(5100, 300, 600, 285);  // moved by code after showing: it joins the row
    settle(form);
    expectOneLine({&form.txt(1), &form.txt(3), &form.txt(4)});
}

TEST_F(QtFrontEndTest, ArrayFieldsKeepTheirCaptionsOnOneLineAndControlsAddedLaterJoinTheirPanel) {
    auto& form = shown<FormIntervallo>();
    expectOneLine({&form.Label7(2), &form.txt(10), &form.Label7(3), &form.txt(20)});
    EXPECT_TRUE(sameLine(inWindow(form.labAltro), inWindow(form.txtCopie)));
    EXPECT_FALSE(sameLine(inWindow(form.txtCopie), inWindow(form.txt(10))))
        << "a caption of its own starts a line";

    // A panel made when a button is first pressed: captions and fields with designed places.
    std::vector<ui::Control*> added;
    for (int i = 0; i < 3; ++i) {
        ui::Label& caption = form.add<ui::Label>("LabPE" + std::to_string(i), &form.PicPannello);
        caption.setCaption("Parametro " + std::to_string(i));
        caption.move(60, 300 + i * 300, 2000, 285);
        ui::TextBox& field = form.txt.add(1000 + i, &form.PicPannello);
        field.move(2200, 300 + i * 300, 2000, 285);
        added.push_back(&caption);
        added.push_back(&field);
    }
    form.PicPannello.setVisible(true);
    settle(form);
    QWidget* panel = widget(form.PicPannello);
    for (ui::Control* c : added) {
        SCOPED_TRACE(c->displayName());
        QWidget* w = widget(*c);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), panel);
        EXPECT_TRUE(w->isVisible());
    }
    for (std::size_t i = 0; i + 1 < added.size(); i += 2) expectOneLine({added[i], added[i + 1]});
    EXPECT_GT(inWindow(*added[2]).top(), inWindow(*added[0]).bottom());
}

// Taller than the window, shown first and brought to the front after, as a save panel is.
TEST_F(QtFrontEndTest, PanelBroughtOverTheWindowCoversTheRestAndLeavesTheWindowItsSize) {
    auto& form = shown<FormRighe>();
    QWidget* window = widget(form.txt(1))->window();
    const QSize before = window->size();
    ui::PictureBox& panel = form.add<ui::PictureBox>("PicPannello");
    panel.setVisible(false);
    panel.move(60, 60, form.width() - 120, form.height() - 120);
    std::vector<ui::Label*> lines;
    for (int i = 0; i < 30; ++i) {
        ui::Label& riga = form.add<ui::Label>("labRiga" + std::to_string(i), &panel);
        riga.setCaption("Opzione " + std::to_string(i));
        lines.push_back(&riga);
    }
    settle(form);
    EXPECT_TRUE(widget(form.txt(1))->isVisible());
    panel.setVisible(true);
    panel.zOrder(0);
    settle(form);
    EXPECT_TRUE(widget(*lines[0])->isVisible());
    EXPECT_FALSE(widget(form.txt(1))->isVisible()) << "the panel covers the window's fields";
    EXPECT_FALSE(widget(form.lstTipo)->isVisible());
    int panelHeight = widget(panel)->sizeHint().height();
    EXPECT_LE(window->height(), std::max(before.height(), panelHeight) + 20)
        << "the window holds the panel, not the panel below the covered controls";
    panel.setVisible(false);
    EXPECT_TRUE(widget(form.txt(1))->isVisible());
    settle(form);
    EXPECT_EQ(window->size(), before) << "with the panel gone the window is as it was";
}

// The window keeps the size it opened with: a caption set later, wider than designed or longer
// than a line, wraps in the room the window has, never narrower than it was designed, and shows
// whole above the buttons under it.
TEST_F(QtFrontEndTest, CaptionSetOnceTheWindowShowsWrapsWholeInItsSize) {
    auto& form = shown<FormDatabase>();
    QWidget* window = widget(form.LabAzienda)->window();
    const QSize opened = window->size();
    const std::string folder = "/home/ufficio/.local/share/tolvane/archivi/";
    const std::string captions[] = {
        "Database dell'azienda: /srv/ditte/d001.db",
        "Database dell'azienda: /DATI/WWWWWWWWWW/MMMMMMMMMM/DITTA.DB",  // one line, too wide
        "Database dell'azienda: " + folder + "ditta_001.db",
        "Database dell'azienda: " + folder + folder + folder + "ditta_001.db",
    };
    for (const std::string& caption : captions) {
        SCOPED_TRACE(caption);
        form.LabAzienda.setCaption(caption);
        settle(form);
        auto* label = static_cast<QLabel*>(widget(form.LabAzienda));
        EXPECT_EQ(window->size(), opened);
        const QRect shown = inWindow(form.LabAzienda);
        EXPECT_LE(shown.right(), window->width()) << "beyond the window's right edge";
        EXPECT_LT(shown.bottom(), inWindow(form.comGenerali).top()) << "over the buttons";
        if (label->wordWrap()) {
            EXPECT_GE(label->width(), form.LabAzienda.width() / 15);
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << "lines cut off";
        } else {
            EXPECT_GE(label->width(), label->minimumSizeHint().width()) << "cut off";
        }
    }
}

}  // namespace
}  // namespace tolvane::testing
