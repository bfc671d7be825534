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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <fstream>

#include "printing/frm_scelta_stam.h"
#include "qt/program_on_screen.h"
#include "support/hostile_values.h"

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
    // The message shown as a person sees it: look checks its dialog, then Escape closes it. The
    // button the answer counts as.
    int showMessage(const ui::MessageRequest& request, const std::function<void(QWidget&)>& look) {
        frontEnd->setMessageAnswerer(nullptr);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            seen = true;
            look(*dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        const int answer = frontEnd->message(request);
        EXPECT_TRUE(seen);
        return answer;
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
        ui::MessageRequest request;
        request.text = "I valori sono stati memorizzati";
        request.buttons = {"&Ok"};
        showMessage(request, [&](QWidget& dialog) {
            expectCentredOn(dialog, frontEnd->windowOf(*ui::desktop().activeForm()));
        });
        answerMessages();
    }
}

// The company form's fourteen tabs stand side by side wider than the strip was designed: the
// strip scrolls them. Every page, chosen by a click on its tab, shows whole in the frame the form
// opened with, under the tab strip where it stood: a click aimed at a tab or at the strip's arrows
// lands where the person saw it.
TEST_P(WindowFitTest, CompanyFormKeepsItsFrameAndItsTabStripOnEveryPage) {
    ui::Form* form = start("frmdatiazie");
    ASSERT_NE(form, nullptr);
    QTabBar* tabs = tabsOf(*form);
    QWidget* window = tabs->window();
    int allTabs = 0;
    for (int i = 0; i < tabs->count(); ++i) allTabs += tabs->tabRect(i).width();
    EXPECT_GT(allTabs, tabs->width()) << "the tabs do not fit side by side";
    EXPECT_LE(tabs->sizeHint().width(), form->findControl("TasPagine")->width() / 15)
        << "the strip asks for no more than its designed width";
    const std::string frame = text(window->frameGeometry());
    const QPoint strip = tabs->mapTo(window, QPoint());
    for (int tab = 1; tab <= tabs->count(); ++tab) {
        SCOPED_TRACE(tabs->tabText(tab - 1).toStdString());
        chooseTab(*form, tab);
        EXPECT_EQ(static_cast<ui::TabStrip*>(form->findControl("TasPagine"))->selectedIndex(), tab);
        EXPECT_EQ(text(window->frameGeometry()), frame);
        EXPECT_EQ(tabs->mapTo(window, QPoint()), strip);
        expectShownWindowsFit(true);
        EXPECT_FALSE(scrollOf(window)->verticalScrollBar()->isVisible())
            << "the page shows whole: its hidden fields take no room";
    }
}

// The print options dialog keeps the frame it opened with whatever destination is chosen and
// whatever panel comes over it: the destination choices and the buttons stay where they were
// seen, a panel opens at its top, and the panel gone leaves the destination choices in sight, also
// at a zoom that makes the dialog scroll.
TEST_P(WindowFitTest, OptionsDialogKeepsItsFrameOnEveryDestinationAndPanel) {
    for (int zoom : {0, 2}) {
        SCOPED_TRACE("zoom " + std::to_string(zoom));
        setZoom(zoom);
        auto* options = static_cast<FrmSceltaStam*>(start("FrmSceltaStam", 1));
        ASSERT_NE(options, nullptr);
        QWidget* window = frontEnd->windowOf(*options);
        QScrollArea* scroll = scrollOf(window);
        const std::string frame = text(window->frameGeometry());
        auto at = [&](const ui::Control& c) { return widget(c)->mapTo(window, QPoint()); };
        auto inSight = [&](const ui::Control& c) {
            QWidget* w = widget(c);
            QRect shown(w->mapTo(scroll->viewport(), QPoint()), w->size());
            return w->isVisible() && scroll->viewport()->rect().contains(shown);
        };
        // A person scrolls to what is out of sight, then clicks it.
        auto press = [&](ui::Control& c) {
            QWidget* w = widget(c);
            scroll->ensureWidgetVisible(w);
            QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
            settle();
        };
        const QPoint video = at(options->OptStampaSu(1));
        const QPoint close = at(*options->ComChiudi);
        struct Step {
            const char* name;
            ui::Control* press;
            ui::Control* panel;  // the panel the step opens
        } steps[] = {
            {"Video", &options->OptStampaSu(1), nullptr},
            {"File", &options->OptStampaSu(2), nullptr},
            {"File a lunghezza fissa", &options->OptStampaSu(3), nullptr},
            {"Stampante", &options->OptStampaSu(0), nullptr},
            {"Salva opzioni stampa", options->ComSalOpz, options->PicSalPar},
            {"Annulla", options->ComAnnulla, nullptr},
            {"Par ini Pdf/Email", options->ComParIniPE, options->PicPdfEmail},
            {"Annulla, confirmed", options->findControl("ComPEAnnulla"), nullptr},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            ASSERT_NE(step.press, nullptr);
            // The e-mail panel asks whether to leave it unsaved: "Sì".
            frontEnd->setMessageAnswerer([](const ui::MessageRequest&) { return 1; });
            press(*step.press);
            answerMessages();
            EXPECT_EQ(text(window->frameGeometry()), frame);
            if (step.panel) {
                EXPECT_TRUE(widget(*step.panel)->isVisible());
                EXPECT_EQ(scroll->verticalScrollBar()->value(), 0) << "the panel opens at its top";
                continue;
            }
            EXPECT_EQ(at(options->OptStampaSu(1)), video);
            EXPECT_EQ(at(*options->ComChiudi), close);
            for (int i = 0; i < 4; ++i)
                EXPECT_TRUE(inSight(options->OptStampaSu(i))) << "destination " << i;
        }
    }
}

// A message shows whole on the screen with its buttons in reach: a text taller than the screen
// has room for takes longer lines, then scrolls inside the window; a short one keeps its label.
TEST_P(WindowFitTest, MessagesFitTheScreenALongOneScrollsItsText) {
    ASSERT_NE(start("frmAziendeDemo"), nullptr);
    const std::string line = "Riga scartata dal tracciato PIANOCONTI, campo 7. ";
    std::string lines;
    for (int i = 0; i < 12; ++i) lines += repeated(line, 5).substr(0, 200) + "\n";
    enum Shown { Label, Either, Box };
    struct Case {
        const char* name;
        std::string text;
        Shown shown;
    } cases[] = {
        {"short", "I valori sono stati memorizzati", Label},
        {"2,500 characters", repeated(line, 52), Either},
        {"12 lines of 200 characters", lines, Either},
        {"6,000 characters", repeated(line, 123), Box},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui::MessageRequest request;
        request.source = ui::MessageRequest::Source::MessageWindow;
        request.text = c.text;
        request.buttons = {"&Sì", "&No"};
        auto look = [&](QWidget& dialog) {
            const QRect area = dialog.screen()->availableGeometry();
            EXPECT_TRUE(area.contains(dialog.frameGeometry()))
                << text(dialog.frameGeometry()) << " within " << text(area);
            EXPECT_LE(dialog.height(), area.height() - kTitleAndPanel);
            for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                QRect place(button->mapTo(&dialog, QPoint()), button->size());
                EXPECT_TRUE(button->isVisible() && dialog.rect().contains(place));
            }
            auto* box = dialog.findChild<QPlainTextEdit*>();
            auto* label = dialog.findChild<QLabel*>(QStringLiteral("labMessaggio"));
            if (c.shown != Either) {
                EXPECT_EQ(box != nullptr, c.shown == Box);
            }
            if (box) {
                EXPECT_GT(box->verticalScrollBar()->maximum(), 0) << "the text scrolls";
            }
            if (label) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                    << "lines cut off";
            }
        };
        EXPECT_EQ(showMessage(request, look), 2);
    }
    answerMessages();
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
