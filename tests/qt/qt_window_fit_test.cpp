// The program's windows on two office screens: each opens within the screen, centred on the
// window it was opened from, with room for a title bar and a desktop panel, at most 1280 x 720 at
// its designed zoom, scrolling only what the screen cannot hold; the company form's tab strip
// scrolls; Qt's own dialogs speak Italian; only the field with the focus shows its selection.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <cstdlib>
#include <fstream>

#include "qt/program_on_screen.h"

namespace tolvane::testing {
namespace {

constexpr int kTitleAndPanel = 80;  // what a window leaves free of its screen's height
constexpr int kTitleBar = 40;       // the room a title bar takes above a window's inside, at most

QScrollArea* scrollOf(QWidget* window) {
    return window->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
}

// Centred on the owner (nullptr: the screen) on each axis where the screen lets it be; where it
// does not, pushed in against the screen's edge, with room for the title bar at most.
void expectCentredOn(const QWidget& window, const QWidget* owner) {
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

class WindowFitTest : public ProgramOnScreen {
  protected:
    void setZoom(int zoom) {
        std::string ini = ScratchFolder::read(env.mainIni.string());
        std::string::size_type at = ini.find("StaVid=");
        ASSERT_NE(at, std::string::npos);
        ini.replace(at, ini.find('\n', at) - at, "StaVid=" + std::to_string(zoom));
        std::ofstream(env.mainIni, std::ios::binary) << ini;
    }

    // Every window shown lies within the screen with room for a title bar and a panel, stands
    // centred on the window it was opened from (or the screen) and scrolls only what it could not
    // grow to hold.
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
        }
    }
};

TEST_P(WindowFitTest, EveryWindowOpensWithinTheScreenCentredOnTheOneItWasOpenedFrom) {
    struct Opening {
        const char* window;
        int choice;  // a destination (1-4) or panel (5, 6) of the print options dialog
        int zoom;    // "StaVid" of the main INI; 0: as designed
        // Taller than any of the screens leaves room for (never the preview, which places its
        // page and scroll bars in whatever size it gets).
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
        ui::Form* form = start(o.window, o.choice);
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
}

// The company form's fourteen tabs stand side by side wider than the form: the strip scrolls
// them, and every page, chosen by a click on its tab, shows whole with the form on the screen.
TEST_P(WindowFitTest, CompanyFormScrollsItsTabsAndStaysOnTheScreenOnEveryPage) {
    ui::Form* form = start("frmdatiazie");
    ASSERT_NE(form, nullptr);
    QTabBar* tabs = tabsOf(*form);
    QWidget* window = tabs->window();
    int allTabs = 0;
    for (int i = 0; i < tabs->count(); ++i) allTabs += tabs->tabRect(i).width();
    EXPECT_GT(allTabs, window->width()) << "the tabs do not fit side by side";
    EXPECT_LE(window->width(), 800) << "the strip does not widen the form";
    for (int tab = 1; tab <= tabs->count(); ++tab) {
        SCOPED_TRACE(tabs->tabText(tab - 1).toStdString());
        chooseTab(*form, tab);
        EXPECT_EQ(static_cast<ui::TabStrip*>(form->findControl("TasPagine"))->selectedIndex(), tab);
        expectShownWindowsFit(true);
        EXPECT_FALSE(scrollOf(window)->verticalScrollBar()->isVisible())
            << "the page shows whole: its hidden fields take no room";
    }
}

// The preview size window, modal, opens over the print options dialog that opened it.
TEST_P(WindowFitTest, ModalWindowOpensCentredOnTheWindowThatOpenedIt) {
    ui::Form* options = start("FrmSceltaStam", 2);
    ASSERT_NE(options, nullptr);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        ui::Form* size = ui::desktop().findForm("frmVStaPar");
        ASSERT_NE(size, nullptr);
        ASSERT_EQ(watch.owners[size], options);
        seen = true;
        expectShownWindowsFit(true);
        QTest::mouseClick(widget(*size->findControl("CmdOk")), Qt::LeftButton);
    });
    QTest::mouseClick(widget(*options->findControl("ComOpz", 1)), Qt::LeftButton);
    EXPECT_TRUE(seen);
}

TEST_P(WindowFitTest, QtsOwnDialogsSpeakItalian) {
    QMessageBox box(QMessageBox::Question, "Tolvane", "Confermi?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Close);
    QInputDialog input;
    input.show();
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    auto caption = [](QWidget* w) {
        if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().remove('&');
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text().remove('&');
        return QStringLiteral("(none)");
    };
    const std::pair<QWidget*, QString> captions[] = {
        {box.button(QMessageBox::Yes), "Sì"},
        {box.button(QMessageBox::No), "No"},
        {box.button(QMessageBox::Cancel), "Annulla"},
        {box.button(QMessageBox::Close), "Chiudi"},
        {input.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel), "Annulla"},
        {files.findChild<QLabel*>("lookInLabel"), "Cerca in:"},
    };
    for (const auto& [w, italian] : captions) EXPECT_EQ(caption(w), italian);
}

// Leaving a field, by key or click, takes its selection away; the field reached shows its own.
TEST_P(WindowFitTest, OnlyTheFieldWithTheFocusShowsItsSelection) {
    ui::Form* form = start("frmdatiazie");
    ASSERT_NE(form, nullptr);
    chooseTab(*form, 7);  // "dati Riba/Rid"
    QWidget* window = frontEnd->windowOf(*form);
    auto focused = [&]() -> QWidget* {
        ui::Control* active = form->activeControl();
        return active ? widget(*active) : nullptr;
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
             for (QLineEdit* f : window->findChildren<QLineEdit*>())
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
        for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
            EXPECT_FALSE(field->isVisible() && field != current && field->hasSelectedText())
                << field->objectName().toStdString() << " shows \""
                << field->selectedText().toStdString() << "\" without the focus";
        }
        auto* box = dynamic_cast<ui::TextBox*>(form->activeControl());
        if (auto* line = qobject_cast<QLineEdit*>(current); box && line) {
            EXPECT_EQ(line->selectedText().size(), box->selLength()) << "as the model holds it";
            selectedSeen += line->hasSelectedText();
        }
    }
    EXPECT_GT(selectedSeen, 0) << "the focused field shows the selection the model gives it";
}

INSTANTIATE_TEST_SUITE_P(Screens, WindowFitTest,
                         ::testing::Values(Screen{1280, 800}, Screen{1366, 768}), screenName);

}  // namespace
}  // namespace tolvane::testing
