// Events raised by code and by users: clicks only on a real change, text changes, key preview,
// typing limits, option groups, tabs, DoEvents; and the focus rules the window logic relies on:
// lost-focus before got-focus, only inside one window, never on a hidden or disabled control,
// pages shown first, and a button click that waits for the leave rule of the field being left.
#include <gtest/gtest.h>

#include <functional>

#include "support/error_number.h"
#include "test_form.h"
#include "ui/ui_constants.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::ui {
namespace {

using testing::frmAltra;
using testing::frmProva;
using tolvane::testing::errorOf;
using Log = std::vector<std::string>;

// The test window, shown: the focus is on its first field and the log is empty.
class EventRules : public WindowTest {
  protected:
    EventRules() {
        f.show();
        shown = f.log;
        f.log.clear();
    }

    Log logAfter(const std::function<void()>& action) {
        f.log.clear();
        action();
        return f.log;
    }

    frmProva& f = desktop().load<frmProva>();
    Log shown;
};

TEST_F(EventRules, CodeChangesRaiseClickOnlyWhenTheValueChanges) {
    struct Case {
        const char* name;
        std::function<void(frmProva&)> action;
        Log expected;
    };
    const std::vector<Case> cases = {
        {"tick", [](frmProva& f) { f.Che(1).setValue(1); }, {"Click Che(1)"}},
        {"tick again", [](frmProva& f) { f.Che(1).setValue(1); }, {}},
        {"grey", [](frmProva& f) { f.Che(1).setValue(2); }, {"Click Che(1)"}},
        {"option", [](frmProva& f) { f.Opt(1).setValue(true); }, {"Click Opt(1)"}},
        {"same option", [](frmProva& f) { f.Opt(1).setValue(true); }, {}},
        {"option off", [](frmProva& f) { f.Opt(1).setValue(false); }, {}},
        {"combo", [](frmProva& f) { f.Combo.setListIndex(1); }, {"Click Combo"}},
        {"same combo", [](frmProva& f) { f.Combo.setListIndex(1); }, {}},
        {"combo none", [](frmProva& f) { f.Combo.setListIndex(-1); }, {"Click Combo"}},
        {"text", [](frmProva& f) { f.txt(10).setText("abc"); }, {"Change txt(10)"}},
        {"same text", [](frmProva& f) { f.txt(10).setText("abc"); }, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(logAfter([&] { c.action(f); }), c.expected) << c.name;
}

TEST_F(EventRules, OptionGroupIsTheContainerAndMayHaveNoneSelected) {
    auto& other = f.Opt.add(5);  // on the form, not on the page: another group
    EXPECT_FALSE(f.Opt(0).value());
    EXPECT_FALSE(f.Opt(1).value());
    f.Opt(0).setValue(true);
    other.setValue(true);
    EXPECT_TRUE(f.Opt(0).value());
    f.Opt(1).setValue(true);
    EXPECT_FALSE(f.Opt(0).value());
    EXPECT_TRUE(other.value());
}

TEST_F(EventRules, UserClicksToggleCheckAndSelectOption) {
    user::click(f.Che(2));
    EXPECT_EQ(f.Che(2).value(), 1);
    user::click(f.Che(2));
    EXPECT_EQ(f.Che(2).value(), 0);
    f.Che(2).setValue(2);
    user::click(f.Che(2));
    EXPECT_EQ(f.Che(2).value(), 1);
    EXPECT_EQ(logAfter([&] { user::click(f.Opt(0)); }).back(), "Click Opt(0)");
    EXPECT_EQ(f.activeControl(), &f.Opt(0));
}

TEST_F(EventRules, ComboTextFollowsTheListAndTypingInAListOnlyComboChoosesTheNextItem) {
    f.Combo.setListIndex(0);
    EXPECT_EQ(f.Combo.text(), "Lire");
    EXPECT_EQ(logAfter([&] { f.Combo.setText("EURO"); }), Log{});
    EXPECT_EQ(f.Combo.listIndex(), 1);
    f.Combo.setText("Sterline");
    EXPECT_EQ(f.Combo.listIndex(), -1);

    f.Combo.addItem("Lit");
    f.Combo.setStyle(ComboBox::Style::DropDownList);
    EXPECT_THROW(f.Combo.setText("Yen"), NumberedError);
    EXPECT_THROW(f.Combo.setListIndex(3), NumberedError);
    EXPECT_EQ(logAfter([&] { user::type(f.Combo, "l"); }).back(), "Click Combo");
    EXPECT_EQ(f.Combo.listIndex(), 0);
    user::type(f.Combo, "L");
    EXPECT_EQ(f.Combo.text(), "Lit");
    user::type(f.Combo, "x");
    EXPECT_EQ(f.Combo.listIndex(), 2);
}

TEST_F(EventRules, KeyPreviewRunsFirstAndMaySwallow) {
    f.setKeyPreview(true);
    EXPECT_EQ(logAfter([&] { user::type(f.txt(10), "a"); }),
              (Log{"Form_KeyDown 65", "KeyDown txt(10) 65", "Form_KeyPress 97",
                   "KeyPress txt(10) 97", "Change txt(10)", "Form_KeyUp 65", "KeyUp txt(10) 65"}));
    f.swallowKeyDown = true;
    EXPECT_EQ(logAfter([&] { user::type(f.txt(10), "b"); }),
              (Log{"Form_KeyDown 66", "Form_KeyPress 98", "KeyPress txt(10) 98", "Change txt(10)",
                   "Form_KeyUp 66", "KeyUp txt(10) 66"}));
    f.swallowKeyPress = true;
    EXPECT_EQ(logAfter([&] { user::type(f.txt(10), "c"); }),
              (Log{"Form_KeyDown 67", "Form_KeyPress 99", "Form_KeyUp 67", "KeyUp txt(10) 67"}));
    f.setKeyPreview(false);
    EXPECT_EQ(
        logAfter([&] { user::type(f.txt(10), "d"); }),
        (Log{"KeyDown txt(10) 68", "KeyPress txt(10) 100", "Change txt(10)", "KeyUp txt(10) 68"}));
    EXPECT_EQ(f.txt(10).text(), "abd");
}

TEST_F(EventRules, TypingIsHeldToMaxLengthAndLockButCodeIsNot) {
    f.txt(10).setMaxLength(3);
    user::type(f.txt(10), "abcdef");
    EXPECT_EQ(f.txt(10).text(), "abc");
    user::fill(f.txt(10), "xy");
    EXPECT_EQ(f.txt(10).text(), "xy");
    user::key(f, key::Back);
    EXPECT_EQ(f.txt(10).text(), "x");
    f.txt(10).setText("longer than three");
    EXPECT_EQ(f.txt(10).text(), "longer than three");
    f.txt(20).setLocked(true);
    user::type(f.txt(20), "zz");
    EXPECT_EQ(f.txt(20).text(), "");
}

TEST_F(EventRules, EnterAndEscPressTheDefaultAndCancelButtons) {
    f.comOk.setDefault(true);
    f.ComAnnulla.setCancel(true);
    EXPECT_EQ(logAfter([&] { user::key(f, key::Return); }), Log{"Click comOk"});
    EXPECT_EQ(f.activeControl(), &f.txt(10));
    EXPECT_EQ(logAfter([&] { user::key(f, key::Escape); }), Log{"Click ComAnnulla"});
}

TEST_F(EventRules, TabChoiceMayBeRefusedBeforeTheClick) {
    EXPECT_EQ(f.TasPagine.selectedIndex(), 1);
    EXPECT_EQ(logAfter([&] { f.TasPagine.setSelectedIndex(2); }),
              (Log{"BeforeClick TasPagine", "Click TasPagine"}));
    f.TasPagine.on.onBeforeClick = [](bool& cancel) { cancel = true; };
    EXPECT_EQ(logAfter([&] { f.TasPagine.setSelectedIndex(1); }), Log{});
    EXPECT_EQ(f.TasPagine.selectedIndex(), 2);
    EXPECT_THROW(f.TasPagine.setSelectedIndex(3), NumberedError);
}

TEST_F(EventRules, ControlArraysIterateInIndexOrderAndRefuseMissingElements) {
    std::vector<int> seen;
    for (const auto& [index, box] : f.txt) seen.push_back(box->index());
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 30, 2000}));
    EXPECT_EQ(f.txt.lbound(), 10);
    EXPECT_EQ(f.txt.ubound(), 2000);
    EXPECT_EQ(errorOf([&] { f.txt(15); }), 340);
    EXPECT_THROW(f.txt.add(10), NumberedError);
}

TEST_F(EventRules, DoEventsLetsQueuedAndScriptedUserActionsThrough) {
    std::vector<std::size_t> clicks;  // the DoEvents point of each click
    f.ComAnnulla.on.onClick = [&] { clicks.push_back(desktop().doEventsCount()); };
    desktop().post([&] { user::click(f.ComAnnulla); });
    driver.atDoEvents(3, [&] { user::click(f.ComAnnulla); });
    for (int i = 0; i < 5; ++i) DoEvents();
    EXPECT_EQ(clicks, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(desktop().pendingActions(), 0u);
}

TEST_F(EventRules, TimersFireOnlyWhenEnabledWithAnInterval) {
    auto& tim = f.add<Timer>("timChiudi");
    int scatti = 0;
    tim.on.onTimer = [&] { ++scatti; };
    desktop().fireTimers();
    tim.setInterval(1);
    desktop().fireTimers();
    tim.setEnabled(false);
    desktop().fireTimers();
    EXPECT_EQ(scatti, 1);
}

TEST_F(EventRules, ShowFocusesTheFirstFieldAndMovingTheFocusRaisesLostThenGot) {
    EXPECT_EQ(shown, (Log{"Load", "Activate", "GotFocus txt(10)"}));
    EXPECT_EQ(logAfter([&] { f.txt(20).setFocus(); }),
              (Log{"LostFocus txt(10)", "GotFocus txt(20)"}));
    EXPECT_EQ(logAfter([&] { f.txt(20).setFocus(); }), Log{}) << "focus on the focused field";
}

TEST_F(EventRules, FocusAndUserClicksNeverGoToAHiddenOrDisabledControl) {
    f.txt(20).setVisible(false);
    f.txt(30).setEnabled(false);
    f.PicPagine2.setEnabled(false);
    f.comOk.setEnabled(false);
    f.ComAnnulla.setVisible(false);
    struct Case {
        const char* name;
        Control& target;
        bool click;
    };
    const Case cases[] = {
        {"hidden", f.txt(20), false},          {"disabled", f.txt(30), false},
        {"disabled page", f.txt(2000), false}, {"label", f.LabInfo, false},
        {"disabled button", f.comOk, true},    {"hidden button", f.ComAnnulla, true},
    };
    for (const auto& c : cases) {
        const auto act = [&] { c.click ? void(user::click(c.target)) : c.target.setFocus(); };
        EXPECT_EQ(errorOf(act), errnum::InvalidCall) << c.name;
        EXPECT_EQ(f.activeControl(), &f.txt(10)) << c.name;
    }
    EXPECT_TRUE(f.log.empty());
    EXPECT_FALSE(f.PicPagine2.visible()) << "a refused focus shows no page";
}

TEST_F(EventRules, FocusToAFieldOnAHiddenPageShowsThePageFirst) {
    EXPECT_FALSE(f.txt(2000).visibleInEffect());
    f.txt(2000).setFocus();
    EXPECT_TRUE(f.PicPagine2.visible());
    EXPECT_EQ(f.activeControl(), &f.txt(2000));

    // A window that shows its pages itself is asked to.
    f.PicPagine2.setVisible(false);
    Log pages;
    f.showPage = [&](Control& page) {
        pages.push_back(page.name());
        f.PicPagine1.setVisible(false);
        page.setVisible(true);
    };
    f.txt(2000).setFocus();
    EXPECT_EQ(pages, Log{"PicPagine2"});
    EXPECT_FALSE(f.txt(10).visibleInEffect());
}

TEST_F(EventRules, FocusMovesOnInTabOrderSkippingWhatCannotTakeIt) {
    f.txt(20).setEnabled(false);
    user::key(f, key::Tab);
    EXPECT_EQ(f.activeControl(), &f.txt(30));
    user::key(f, key::Tab, shift::Shift);
    EXPECT_EQ(f.activeControl(), &f.txt(10));
    f.txt(20).setEnabled(true);
    EXPECT_EQ(logAfter([&] { f.txt(10).setVisible(false); }),
              (Log{"LostFocus txt(10)", "GotFocus txt(20)"}))
        << "hiding the focused field";
    EXPECT_EQ(f.activeControl(), &f.txt(20));
}

TEST_F(EventRules, FocusEventsStayInsideOneWindow) {
    auto& altra = desktop().load<frmAltra>();
    altra.show();
    EXPECT_EQ(desktop().activeForm(), &altra);
    EXPECT_EQ(f.log, Log{"Deactivate"});
    EXPECT_EQ(altra.log, Log{"GotFocus txtNome"});
    altra.log.clear();
    EXPECT_EQ(logAfter([&] { f.txt(10).setFocus(); }), Log{"Activate"});
    EXPECT_TRUE(altra.log.empty());
    f.txt(20).setFocus();
    EXPECT_EQ(f.log.back(), "GotFocus txt(20)");
}

// What a person does in a window that is not the active one happens there only once it is: the
// window left is deactivated, the one acted on activated, then the action runs. Also where the
// action moves no focus (a toolbar, a label, a key), so that a window the action shows again is
// really brought forward from the active one.
TEST_F(EventRules, AnActionInAnotherWindowActivatesItFirst) {
    auto& tlb = f.add<Toolbar>("Toolbar1");
    tlb.addButton("Salva");
    tlb.onButtonClick = [&](const std::string& key) { f.log.push_back("ButtonClick " + key); };
    f.LabInfo.on.onClick = [&] { f.log.push_back("Click LabInfo"); };
    auto& altra = desktop().load<frmAltra>();
    struct Case {
        const char* what;
        std::function<void()> action;
        Log log;
    };
    const Case cases[] = {
        {"toolbar",
         [&] { user::pressToolbarButton(tlb, "Salva"); },
         {"Activate", "ButtonClick Salva"}},
        {"label", [&] { user::click(f.LabInfo); }, {"Activate", "Click LabInfo"}},
        {"key", [&] { user::key(f, key::Escape); }, {"Activate", "Click ComAnnulla"}},
        {"focus",
         [&] { user::click(f.comOk); },
         {"Activate", "LostFocus txt(10)", "GotFocus comOk", "Click comOk"}},
    };
    f.ComAnnulla.setCancel(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        f.txt(10).setFocus();
        altra.show();
        ASSERT_EQ(desktop().activeForm(), &altra);
        EXPECT_EQ(logAfter(c.action), c.log);
        EXPECT_EQ(desktop().activeForm(), &f);
    }
    // A window not shown stays where it is.
    altra.show();
    f.hide();
    user::key(f, key::F2);
    EXPECT_EQ(desktop().activeForm(), &altra);
}

// The field being left runs its leave rule, message and all, before the click; a leave rule
// that takes the focus back swallows the click.
TEST_F(EventRules, ButtonClickWaitsForTheLeaveRuleOfTheFieldLeft) {
    struct Case {
        bool keepFocus;
        bool clicked;
        Log log;
    };
    const Case cases[] = {
        {false, true, {"LostFocus txt(10)", "GotFocus comOk", "Click comOk"}},
        {true, false, {"LostFocus txt(10)", "GotFocus txt(10)"}},
    };
    for (const auto& c : cases) {
        f.txt(10).setFocus();
        f.txt.on.onLostFocus = [&](int i) {
            MsgBox("Partita Iva Errata");
            f.log.push_back("LostFocus txt(" + std::to_string(i) + ")");
            if (c.keepFocus) f.txt(i).setFocus();
        };
        driver.answerMessage("Partita Iva", 1);
        bool clicked = false;
        EXPECT_EQ(logAfter([&] { clicked = user::click(f.comOk); }), c.log);
        EXPECT_EQ(clicked, c.clicked);
    }
    EXPECT_EQ(driver.messageTexts(), (Log{"Partita Iva Errata", "Partita Iva Errata"}));
    EXPECT_EQ(f.activeControl(), &f.txt(10));
}

TEST_F(EventRules, ToolbarButtonsLeaveTheFocusWhereItIs) {
    auto& tlb = f.add<Toolbar>("Toolbar1");
    tlb.addButton("Salva");
    tlb.addButton("Stampa");
    std::string pressed;
    tlb.onButtonClick = [&](const std::string& key) { pressed = key; };
    EXPECT_TRUE(user::pressToolbarButton(tlb, "salva"));
    EXPECT_EQ(pressed, "Salva");
    EXPECT_TRUE(f.log.empty()) << "no leave rule runs";
    tlb.setButtonEnabled("Stampa", false);
    EXPECT_FALSE(user::pressToolbarButton(tlb, "Stampa"));
    EXPECT_FALSE(user::pressToolbarButton(tlb, "Menu"));
    EXPECT_EQ(pressed, "Salva");
}

// A grid's fixed rows and columns are its headings: choosing one of their cells changes nothing
// and raises no Click.
TEST_F(EventRules, HeadingCellsOfAGridAreNeverChosen) {
    auto& grd = f.add<Grid>("grdRighe");
    grd.setCols(3);
    grd.setRows(4);
    int clicks = 0;
    grd.on.onClick = [&] { ++clicks; };
    struct Case {
        int row, col;
        int expectedRow, expectedCol, expectedClicks;
    };
    for (const Case& c : {Case{2, 2, 2, 2, 1}, Case{0, 1, 2, 2, 1}, Case{3, 0, 2, 2, 1},
                          Case{0, 0, 2, 2, 1}, Case{1, 1, 1, 1, 2}}) {
        user::chooseCell(grd, c.row, c.col);
        EXPECT_EQ(grd.row(), c.expectedRow) << c.row << "," << c.col;
        EXPECT_EQ(grd.col(), c.expectedCol) << c.row << "," << c.col;
        EXPECT_EQ(clicks, c.expectedClicks) << c.row << "," << c.col;
    }
}

}  // namespace
}  // namespace tolvane::ui
