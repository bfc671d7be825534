// How the program's windows fit two office screens beyond what the walk checks of each: the print
// windows at each destination and zoom, a message over the window that asks it, the company
// form's tab strip; Qt's own dialogs speak Italian; only the focused field shows its selection.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <fstream>

#include "qt/program_on_screen.h"

namespace tolvane::testing {
namespace {

class WindowFitTest : public ProgramOnScreen {
  protected:
    void setZoom(int zoom) {
        std::string ini = ScratchFolder::read(env.mainIni.string());
        std::string::size_type at = ini.find("StaVid=");
        ASSERT_NE(at, std::string::npos);
        ini.replace(at, ini.find('\n', at) - at, "StaVid=" + std::to_string(zoom));
        std::ofstream(env.mainIni, std::ios::binary) << ini;
    }
};

// The destinations and the zoom change what the print windows hold; the walk opens each other
// window at its designed zoom and checks its fit there.
TEST_P(WindowFitTest, PrintWindowsFitTheScreenAtEachDestinationAndZoom) {
    struct Opening {
        const char* window;
        int choice;  // a destination (1-4) or panel (5, 6) of the print options dialog
        int zoom;    // "StaVid" of the main INI; 0: as designed
        // Taller than any of the screens leaves room for (never the preview, which places its
        // page and scroll bars in whatever size it gets).
        bool scrollsDown;
    } openings[] = {
        {"FrmSceltaStam", 1, 0, false}, {"FrmSceltaStam", 3, 0, false},
        {"FrmSceltaStam", 4, 0, false}, {"FrmVStampa", 0, 2, false},
        {"FrmSceltaStam", 1, 2, true},  {"FrmSceltaStam", 6, 2, true},
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
