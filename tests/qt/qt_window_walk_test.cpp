// Every window of the program on the demo, walked at its real widgets on two office screens: it
// fits the screen as it opens, each visible control gets one gesture of its kind and every event
// its code handles must reach it; a disabled control takes nothing. Then a preview paged forward
// and back, and a batch load from a folder chosen in the window's list.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWheelEvent>
#include <set>

#include "batchload/frm_carico_batch.h"
#include "companydata/frm_dati_azie.h"
#include "db/gestore_db.h"
#include "db/gestore_rs.h"
#include "printing/frm_scelta_stam.h"
#include "printing/frm_stampa_in_corso.h"
#include "printing/frm_v_stampa.h"
#include "printing/frm_vedrix_stampa.h"
#include "qt/program_on_screen.h"
#include "qt/qt_folder_list.h"
#include "register/frm_personal.h"
#include "suite/lista/vedrix_lista.h"
#include "suite/opzioni/opz_stampa.h"
#include "support/handler_names.h"
#include "ui/ui_constants.h"
#include "ui/user_input.h"

namespace tolvane::testing {
namespace {

using H = ui::Handler;
using K = ui::ControlKind;

void click(QWidget* w, QPoint at) { QTest::mouseClick(w, Qt::LeftButton, {}, at); }
// A double click as the window system sends it: press, release, second press, release.
void doubleClick(QWidget* w, QPoint at) {
    click(w, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
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
    if (bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

// Whether the walk's gestures can raise `h` of `c` as it stood: a list needs another line to go
// to, a bar room to move, a focus event a control that takes the focus; a click on the chosen
// option of a group changes nothing and raises nothing.
bool raisable(const ui::Control& c, H h, bool couldTakeFocus, bool optionWasOn, QScrollBar* bar) {
    if (bar) return bar->minimum() < bar->maximum();
    if (c.kind() == K::TabStrip) return static_cast<const ui::TabStrip&>(c).tabCount() > 1;
    if (c.kind() == K::DriveListBox)
        return static_cast<const ui::DriveListBox&>(c).drives().size() > 1;
    if (c.kind() == K::Grid) {
        auto& grid = static_cast<const ui::Grid&>(c);
        return h == H::GotFocus ||
               (grid.rows() > grid.fixedRows() && grid.cols() > grid.fixedCols());
    }
    if (h == H::GotFocus) return couldTakeFocus;
    if (h == H::KeyDown || h == H::KeyUp || h == H::KeyPress) return c.canTakeFocus();
    if (h == H::Click && (c.kind() == K::ComboBox || c.kind() == K::ListBox))
        return static_cast<const ui::ListControl&>(c).listCount() > 1;
    return !(h == H::Click && c.kind() == K::OptionButton && optionWasOn);
}

using Walk = std::function<void(ui::Form&)>;
class ProgramWindows;

// A window and how the program reaches it: started on its own or, with `open`, from the window
// started (the print windows on the sample list, `choice` as the sample takes it; `tab` chosen).
struct WindowCase {
    std::string name;
    std::string start;
    int choice = 0;
    int tab = 0;
    std::function<void(ProgramWindows&, ui::Form&)> open = nullptr;
    // Taller than a screen of this height (or less) leaves room for; 0: fits every screen.
    int scrollsUpTo = 0;
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

class ProgramWindows : public ProgramOnScreen {
  public:
    void SetUp() override {
        ProgramOnScreen::SetUp();
        watch.onShown = [this](ui::Form& form, bool modal) { shownWindow(form, modal); };
        // The front end's own dialogs (files, fonts, help) are given up as soon as they show.
        auto* dismisser = new QTimer(QApplication::instance());
        QObject::connect(dismisser, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        dismisser->start(20);
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
        } else if (modal) {
            QTimer::singleShot(0, [this, name] { closeIfOpen(name); });
        }
    }
    // Runs `then` once the window's Qt window shows (a window's own start may let events
    // through before it does), or at once when the window is gone.
    void whenOnScreen(const std::string& name, std::function<void()> then) {
        QTimer::singleShot(0, [this, name, then] {
            ui::Form* f = ui::desktop().findForm(name);
            QWidget* window = f && frontEnd ? frontEnd->windowOf(*f) : nullptr;
            if (f && f->visible() && (!window || !window->isVisible()))
                return whenOnScreen(name, then);
            then();
        });
    }
    void closeIfOpen(const std::string& name) {
        ui::Form* f = ui::desktop().findForm(name);
        try {
            if (f && f->visible() && !ui::user::close(*f) && f->visible()) f->hide();
        } catch (...) {
            if (f->visible()) f->hide();
        }
    }
    // Runs `then` on the window of that name while it shows, once `open` showed it.
    void whenShown(const std::string& name, const Walk& then, const std::function<void()>& open) {
        auto ran = std::make_shared<bool>(false);
        armedFor = name;
        armed = [ran, then](ui::Form& f) {
            *ran = true;
            then(f);
        };
        open();
        for (int turn = 0; !*ran && turn < 100; ++turn) QCoreApplication::processEvents();
        armed = nullptr;
    }

    bool shows(const ui::Control& c) const {
        QWidget* w = widget(c);
        return c.visibleInEffect() && w && w->isVisible();
    }
    // A control's own gesture: a click where a person would click it.
    void clickOn(ui::Control& c) {
        if (auto spot = spotOf(c)) click(spot->first, spot->second);
    }
    std::optional<std::pair<QWidget*, QPoint>> spotOf(ui::Control& c) const {
        QWidget* w = widget(c);
        if (!w) return std::nullopt;
        if (auto* table = qobject_cast<QTableWidget*>(w)) {
            auto& grid = static_cast<ui::Grid&>(c);
            // The fixed rows are the table's heading, not rows of it.
            QModelIndex cell = table->model()->index(0, grid.fixedCols());
            if (grid.rows() > grid.fixedRows() && grid.cols() > grid.fixedCols())
                return std::pair{table->viewport(), table->visualRect(cell).center()};
        }
        if (auto* list = qobject_cast<QListWidget*>(w); list && list->count() > 0) {
            int row = list->currentRow() == 0 && list->count() > 1 ? 1 : 0;
            return std::pair{list->viewport(), list->visualItemRect(list->item(row)).center()};
        }
        if (auto* folders = qobject_cast<QTreeWidget*>(w))
            return std::pair{folders->viewport(),
                             folders->visualItemRect(folders->itemAt(4, 4)).center()};
        if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            int other = tabs->currentIndex() == 0 && tabs->count() > 1 ? 1 : 0;
            return std::pair{w, tabs->tabRect(other).center()};
        }
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w))
            return std::pair{area->viewport(), area->viewport()->rect().center()};
        if (c.kind() != K::Frame && c.kind() != K::PictureBox)
            return std::pair{w, w->rect().center()};
        // A point that no visible child covers; none when children cover it all.
        if (!w->childAt(w->rect().center())) return std::pair{w, w->rect().center()};
        for (int y = 3; y < w->height() - 2; y += 4)
            for (int x = 3; x < w->width() - 2; x += 4)
                if (!w->childAt(x, y)) return std::pair{w, QPoint(x, y)};
        return std::nullopt;
    }
    std::vector<Item> itemsOf(const ui::Form& form) const {
        std::vector<Item> items;
        for (ui::Control* c : form.controls()) {
            if (!shows(*c)) continue;
            auto* bar = qobject_cast<QToolBar*>(widget(*c));
            for (int i = 0; bar && i < bar->actions().size(); ++i) {
                QWidget* button = bar->widgetForAction(bar->actions()[i]);
                if (button && button->isVisible()) items.push_back({c->displayName(), i + 1});
            }
            if (!bar) items.push_back({c->displayName()});
        }
        return items;
    }
    void walkControl(ui::Form& form, ui::Control& c) {
        // A person acts on what the screen shows: what the last action changed is laid out first.
        QCoreApplication::processEvents();
        watch.ran.clear();
        messages.clear();
        QWidget* w = widget(c);
        const K kind = c.kind();
        if (!c.enabledInEffect()) {
            clickOn(c);
            doubleClick(w, w->rect().center());
            EXPECT_FALSE(watch.arrived(c)) << "a disabled control passed input to the window";
            EXPECT_TRUE(messages.empty())
                << "a disabled control's click showed: " << messages.front();
            return;
        }
        auto still = [&] { return form.visible() && shows(c) && c.enabledInEffect(); };
        // The focus leaves the control first, so that taking it is an event of its own.
        if (c.hasFocus()) key(w, Qt::Key_Tab);
        const bool couldTakeFocus = c.canTakeFocus() && !c.hasFocus();
        const bool optionWasOn =
            kind == K::OptionButton && static_cast<ui::OptionButton&>(c).value();
        auto* bar = qobject_cast<QScrollBar*>(w);
        if (bar) {
            // An arrow, then the thumb dragged a little.
            const bool atEnd = bar->value() >= bar->maximum();
            click(bar,
                  sliderPart(bar, atEnd ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine)
                      .center());
            if (still() && c.handles(H::Scroll)) {
                const QPoint thumb = sliderPart(bar, QStyle::SC_ScrollBarSlider).center();
                QPoint step = bar->orientation() == Qt::Horizontal ? QPoint(8, 0) : QPoint(0, 8);
                if (bar->value() >= bar->maximum()) step = -step;
                QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
                QTest::mouseMove(bar, thumb + step);
                QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb + step);
            }
        } else {
            clickOn(c);
        }
        // A list that drops down is chosen from: the next item of the list the click opened, or by
        // the keyboard when it opened none (a list one types into); then closed as a person closes
        // it.
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const Qt::Key next =
                combo->currentIndex() + 1 < combo->count() ? Qt::Key_Down : Qt::Key_Up;
            if (still() && combo->count() > 1 && combo->view()->isVisible()) {
                key(combo->view(), next);
                key(combo->view(), Qt::Key_Return);
            } else if (still() && combo->count() > 1) {
                key(w, next);
            }
            if (combo->view()->isVisible()) key(combo->view(), Qt::Key_Escape);
        }
        if (still() && c.handles(H::DblClick)) {
            if (auto spot = spotOf(c)) doubleClick(spot->first, spot->second);
        }
        if (still() && c.handles(H::Change) && !watch.arrived(c, H::Change)) {
            if (kind == K::DirListBox) {
                // A line of another folder, among those the list shows.
                auto* folders = static_cast<QTreeWidget*>(w);
                const QString now = QString::fromStdString(static_cast<ui::DirListBox&>(c).path());
                QTreeWidgetItem* line = folders->itemAt(4, 4);
                while (line && qt::FolderList::pathOf(line) == now) line = folders->itemBelow(line);
                if (line) doubleClick(folders->viewport(), folders->visualItemRect(line).center());
            } else if (kind == K::TextBox ||
                       (kind == K::ComboBox && static_cast<ui::ComboBox&>(c).style() !=
                                                   ui::ComboBox::Style::DropDownList)) {
                key(w, Qt::Key_1, "1");
            }
        }
        if (still() && c.handles(H::KeyPress)) key(w, Qt::Key_1, "1");
        if (still() && (c.handles(H::KeyDown) || c.handles(H::KeyUp))) key(w, Qt::Key_End);

        for (H h : {H::Click, H::DblClick, H::Change, H::Scroll, H::GotFocus, H::KeyDown,
                    H::KeyPress, H::KeyUp, H::BeforeClick}) {
            EXPECT_TRUE(!c.handles(h) || !raisable(c, h, couldTakeFocus, optionWasOn, bar) ||
                        watch.arrived(c, h))
                << handlerName(h) << " never reached the window";
        }
        if (c.handles(H::LostFocus) && still() && c.hasFocus()) {
            key(w, Qt::Key_Tab);
            EXPECT_TRUE(c.hasFocus() || watch.arrived(c, H::LostFocus));
        }
        for (const std::string& m : messages)
            EXPECT_EQ(m.find("cannot reach"), std::string::npos) << m;
    }
    void walkItem(const std::string& where, ui::Form& form, const Item& item) {
        SCOPED_TRACE(where + ": " + item.control +
                     (item.button ? " button " + std::to_string(item.button) : ""));
        ui::Control* c = findIn(form, item.control);
        if (item.button == 0) return walkControl(form, *c);
        watch.ran.clear();
        auto* bar = static_cast<QToolBar*>(widget(*c));
        QAction* action = bar->actions()[item.button - 1];
        QWidget* button = bar->widgetForAction(action);
        click(button, button->rect().center());
        EXPECT_EQ(watch.arrived(*c, H::ButtonClick),
                  action->isEnabled() && c->handles(H::ButtonClick));
    }
    // The window's border dragged by `by`: a window whose code handles Resize is told its new
    // size, and the window keeps the size it was given.
    void resizeBy(ui::Form& form, QSize by) {
        SCOPED_TRACE("resized");
        QWidget* window = frontEnd->windowOf(form);
        const QSize wanted = window->size() + by;
        const double width = form.width() + by.width() * 15 / form.zoom();
        const double height = form.height() + by.height() * 15 / form.zoom();
        window->resize(wanted);
        QCoreApplication::processEvents();
        EXPECT_NEAR(form.width(), width, 1);
        EXPECT_NEAR(form.height(), height, 1);
        EXPECT_EQ(window->size(), wanted) << "the window's layout took the size back";
    }
    // Opens the window again as often as the gestures close it or change what shows, until
    // every item was walked.
    void walkWindow(const WindowCase& w) {
        SCOPED_TRACE(w.name);
        std::vector<Item> items;
        std::size_t next = 0;
        std::set<std::size_t> reopenedFor;
        for (int openings = 0; openings == 0 || next < items.size(); ++openings) {
            if (openings > static_cast<int>(items.size()) + 2) {
                ADD_FAILURE() << "opened too often";
                return;
            }
            bool reached = false;
            const Walk walk = [&](ui::Form& form) {
                reached = true;
                if (openings == 0) {
                    expectShownWindowsFit(true);
                    EXPECT_EQ(scrollOf(frontEnd->windowOf(form))->verticalScrollBar()->isVisible(),
                              GetParam().height <= w.scrollsUpTo);
                    items = itemsOf(form);
                    if (form.handlesResize()) resizeBy(form, QSize(150, 90));
                }
                for (; next < items.size() && form.visible(); ++next) {
                    ui::Control* c = findIn(form, items[next].control);
                    if (c && shows(*c)) {
                        walkItem(w.name, form, items[next]);
                    } else if (reopenedFor.insert(next).second) {
                        return;
                    } else {
                        ADD_FAILURE() << items[next].control << " shows no more";
                    }
                }
            };
            ui::Form* started = start(w.start, w.choice);
            if (started && w.tab) chooseTab(*started, w.tab);
            if (started && !w.open) walk(*started);
            if (started && w.open) whenShown(w.name, walk, [&] { w.open(*this, *started); });
            if (!reached) {
                ADD_FAILURE() << "did not open";
                return;
            }
        }
        EXPECT_GT(items.size(), 0u);
    }

    // A list of `rows` companies, as a grid window hands it to its print key.
    FrmVedrixStampa& listPrint(int rows) {
        lista = std::make_unique<VedrixLista>();
        lista->columns = {{"Codice", true}, {"Ragione sociale", true}, {"Città", true}};
        for (int i = 1; i <= rows; ++i)
            lista->rows.push_back(
                {std::to_string(1000 + i), "Azienda " + std::to_string(i), "Roma"});
        lista->printName = lista->title = "Elenco aziende";
        lista->setPrintDialog([] { return &ui::desktop().instance<FrmVedrixStampa>(); });
        EXPECT_TRUE(lista->pressKey("Stampa"));
        return ui::desktop().instance<FrmVedrixStampa>();
    }

    std::unique_ptr<VedrixLista> lista;
    std::string armedFor;
    Walk armed;
};

std::vector<WindowCase> windowCases() {
    std::vector<WindowCase> all = {
        {"frmAziendeDemo", "frmAziendeDemo"},
        {"frmTolvane", "frmtolvane"},
        {"frmCreaAzi", "frmtolvane", 0, 0,
         [](ProgramWindows& t, ui::Form& from) {
             auto* bar = static_cast<QToolBar*>(t.widget(*from.findControl("Toolbar1")));
             for (QAction* a : bar->actions())
                 if (a->text() == QStringLiteral("Nuova azienda"))
                     click(bar->widgetForAction(a), bar->widgetForAction(a)->rect().center());
         }},
        {"frmListaRicerca", "frmdatiazie", 0, 0,
         [](ProgramWindows& t, ui::Form& from) {
             auto& f = static_cast<frmDatiAzie&>(from);
             for (int tab = 1; tab <= f.TasPagine->tabCount(); ++tab) {
                 t.chooseTab(f, tab);
                 for (const auto& [index, help] : f.ComHlp)
                     if (t.shows(*help) && help->enabledInEffect()) return t.clickOn(*help);
             }
         }},
        {"frmPersonal", "frmpersonal"},
        {"frmPersVedrix", "frmpersonal", 0, 0,
         [](ProgramWindows& t, ui::Form& from) { t.clickOn(*from.findControl("comGenerali")); }},
        {"frmCaricoBatch", "frmdatiazie", 0, 0,
         [](ProgramWindows&, ui::Form&) { ApriForm("frmcaricobatch", {}); }},
        {"frmRicValBase", "frmdatiazie", 0, 0,
         [](ProgramWindows& t, ui::Form&) {
             // A layout value asked before the load.
             GestoreDb db;
             std::string id = db.ApriConnessione(t.env.commonDb.string());
             db.EseguiSql(id,
                          "DELETE FROM CaricaDettaglio WHERE Codice = 'PIANOCONTI' AND "
                          "NomeCampo = 'Localita'");
             db.EseguiSql(id,
                          "INSERT INTO CaricaDettaglio (Codice, NomeCampo, OrdCampo, TipoOrig, "
                          "TipoDest, NumCampo, [Default]) VALUES ('PIANOCONTI', 'Localita', '8', "
                          "'String', 'String', '', '§Località')");
             db.ChiudiConnessione(id);
             if (ApriForm("frmcaricobatch", {}))
                 t.clickOn(ui::desktop().find<frmCaricoBatch>()->comOk);
         }},
        {"FrmVedrixStampa", "FrmVedrixStampa"},
        {"FrmSceltaStam", "FrmSceltaStam"},
        {"FrmSceltaStam, PDF and e-mail panel", "FrmSceltaStam", 5, 0, nullptr, 768},
        {"FrmSceltaStam, saved option sets", "FrmSceltaStam", 6},
        {"frmVStaPar", "FrmSceltaStam", 2, 0,
         [](ProgramWindows& t, ui::Form& from) { t.clickOn(*from.findControl("ComOpz", 1)); }},
        {"FrmVStampa", "FrmVStampa"},
        {"frmStampaInCorso", "frmAziendeDemo", 0, 0,
         [](ProgramWindows&, ui::Form&) { ui::desktop().load<frmStampaInCorso>().show(); }},
    };
    for (int tab = 1; tab <= 14; ++tab)
        all.push_back({"frmDatiAzie, tab " + std::to_string(tab), "frmdatiazie", 0, tab});
    for (int tab = 1; tab <= 5; ++tab)
        all.push_back({"frmDaStudio, tab " + std::to_string(tab), "frmdastudio", 0, tab});
    return all;
}

TEST_P(ProgramWindows, EveryWindowLiesOnTheScreenAndEveryHandledEventOfItsControlsReachesIt) {
    for (const WindowCase& w : windowCases()) walkWindow(w);
}

// Video and "Memorizza pagine" chosen in the print windows, then a list of three pages paged
// forward to its end and back by the arrows.
TEST_P(ProgramWindows, PreviewOfKeptPagesGoesForwardToTheEndAndBack) {
    ASSERT_NE(start("frmAziendeDemo"), nullptr);
    FrmVedrixStampa& dialog = listPrint(170);
    whenShown(
        "FrmSceltaStam",
        [this](ui::Form& f) {
            auto& options = static_cast<FrmSceltaStam&>(f);
            clickOn(options.OptStampaSu(1));
            whenShown(
                "frmVStaPar",
                [this](ui::Form& size) {
                    auto* keep = static_cast<ui::CheckBox*>(size.findControl("CheMemVid"));
                    if (keep->value() != ui::check::Checked) clickOn(*keep);
                    clickOn(*size.findControl("CmdOk"));
                },
                [&] { clickOn(options.ComOpz(1)); });
            EXPECT_EQ(options.LabMemVid->caption(), "Si");
            clickOn(*options.ComChiudi);
        },
        [&] { clickOn(dialog.comSceStam); });
    ASSERT_EQ(dialog.opzioni()->StaVid, OpzStampa::kVideo);
    clickOn(dialog.OptOrientamento(1));
    clickOn(dialog.OptTipsta(0));

    // While the print runs the engine waits after each page it draws: the arrow is clicked
    // then, each time in a turn of its own. Each page is noted with the arrows a person can
    // use there (first, previous, next, last).
    std::vector<std::string> pages;
    auto note = [&](FrmVStampa& preview) {
        std::string usable;
        for (int i = 1; i <= 4; ++i) usable += widget(preview.imaMuovi(i))->isEnabled() ? '1' : '0';
        pages.push_back(preview.labPage.caption() + " " + usable);
    };
    int drawn = 0;
    watch.onChanged = [&](ui::Control& c, ui::Property p) {
        if (c.name() != "PicSec" || p != ui::Property::Picture ||
            !static_cast<ui::PictureBox&>(c).picture() || ++drawn > 2)
            return;
        QTimer::singleShot(0, [this, &note, &c] {
            auto& preview = static_cast<FrmVStampa&>(c.form());
            note(preview);
            clickOn(preview.imaMuovi(3));
        });
    };
    clickOn(dialog.CmdStampa);
    watch.onChanged = nullptr;
    auto* preview = ui::desktop().find<FrmVStampa>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->LabMsg.caption(), "Stampa Terminata");
    note(*preview);
    clickOn(preview->imaMuovi(2));
    note(*preview);
    EXPECT_EQ(pages, (std::vector<std::string>{"Pag.001 0010", "Pag.002 1110", "Pag.003 1100",
                                               "Pag.002 1111"}));
    EXPECT_TRUE(preview->PicSec.picture()) << "the page kept in its file shows again";

    // A taller window shows more of the page: the vertical bar has that much less to scroll.
    ASSERT_TRUE(preview->vscPosVert.visible());
    const int range = preview->vscPosVert.max();
    resizeBy(*preview, QSize(0, 100));
    EXPECT_EQ(preview->vscPosVert.max(), range - 1500);
    EXPECT_TRUE(messages.empty()) << messages.front();
}

// The demo's folder reached line by line in the folder list from the program's working folder
// (the wheel, typed names, double clicks), then "Carica".
TEST_P(ProgramWindows, BatchLoadsTheFilesOfTheFolderChosenInItsList) {
    ASSERT_NE(start("frmdatiazie"), nullptr);
    ASSERT_TRUE(ApriForm("frmcaricobatch", {}));
    auto* batch = ui::desktop().find<frmCaricoBatch>();
    ASSERT_NE(batch, nullptr);
    auto* folders = static_cast<qt::FolderList*>(widget(batch->DirCarica));
    QWidget* lines = folders->viewport();
    // The line marked is the folder the list shows.
    auto marked = [&] { return qt::FolderList::pathOf(folders->currentItem()).toStdString(); };
    EXPECT_EQ(marked(), batch->DirCarica.path());
    auto enter = [&](QTreeWidgetItem* line) {
        ASSERT_NE(line, nullptr);
        const QString path = qt::FolderList::pathOf(line);
        doubleClick(lines, folders->visualItemRect(line).center());
        EXPECT_EQ(batch->DirCarica.path(), path.toStdString());
        QCoreApplication::processEvents();
        EXPECT_EQ(marked(), batch->DirCarica.path());
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
        path += '/' + QString::fromStdString(part.string());
        QTest::keyClicks(folders, QString::fromStdString(part.string()));
        ASSERT_EQ(qt::FolderList::pathOf(folders->currentItem()), path) << "typed " << part;
        enter(folders->currentItem());
    }
    EXPECT_EQ(batch->LabDirCarica.caption(), env.folder.string());

    // The load's progress shows below the rest, in the window as it opened: nothing scrolls.
    QWidget* window = frontEnd->windowOf(*batch);
    QScrollArea* scroll = scrollOf(window);
    const std::string frame = text(window->frameGeometry());
    bool progressInSight = false;
    frontEnd->setMessageAnswerer([&](const ui::MessageRequest& r) {
        QWidget* progress = widget(batch->PicMsgElab);
        QRect shown(progress->mapTo(scroll->viewport(), QPoint()), progress->size());
        progressInSight = progress->isVisible() && !scroll->verticalScrollBar()->isVisible() &&
                          scroll->viewport()->rect().contains(shown) &&
                          text(window->frameGeometry()) == frame;
        messages.push_back(r.text);
        return 1;
    });
    clickOn(batch->comOk);
    answerMessages();
    EXPECT_TRUE(progressInSight) << "the progress was out of sight at the end of the load";
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

INSTANTIATE_TEST_SUITE_P(Screens, ProgramWindows,
                         ::testing::Values(Screen{1280, 800}, Screen{1366, 768}), screenName);

}  // namespace
}  // namespace tolvane::testing
