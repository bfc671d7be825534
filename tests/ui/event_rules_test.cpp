// Events raised by code and by users: clicks only on a real change, text changes, key preview,
// typing limits, option groups, tabs, DoEvents.
#include <gtest/gtest.h>

#include <functional>

#include "support/error_number.h"
#include "test_form.h"
#include "ui/ui_constants.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::ui {
namespace {

using testing::frmProva;

class EventRules : public WindowTest {
  protected:
    frmProva& f = desktop().load<frmProva>();

    std::vector<std::string> logAfter(const std::function<void()>& action) {
        f.log.clear();
        action();
        return f.log;
    }
};

TEST_F(EventRules, CodeChangesRaiseClickOnlyWhenTheValueChanges) {
    struct Case {
        const char* name;
        std::function<void(frmProva&)> action;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"tick", [](frmProva& f) { f.Che(1).setValue(1); }, {"Click Che(1)"}},
        {"tick again", [](frmProva& f) { f.Che(1).setValue(1); }, {}},
        {"grey", [](frmProva& f) { f.Che(1).setValue(2); }, {"Click Che(1)"}},
        {"clear", [](frmProva& f) { f.Che(1).setValue(0); }, {"Click Che(1)"}},
        {"option", [](frmProva& f) { f.Opt(1).setValue(true); }, {"Click Opt(1)"}},
        {"same option", [](frmProva& f) { f.Opt(1).setValue(true); }, {}},
        {"option off", [](frmProva& f) { f.Opt(1).setValue(false); }, {}},
        {"combo", [](frmProva& f) { f.Combo.setListIndex(1); }, {"Click Combo"}},
        {"same combo", [](frmProva& f) { f.Combo.setListIndex(1); }, {}},
        {"combo none", [](frmProva& f) { f.Combo.setListIndex(-1); }, {"Click Combo"}},
        {"text", [](frmProva& f) { f.txt(10).setText("abc"); }, {"Change txt(10)"}},
        {"same text", [](frmProva& f) { f.txt(10).setText("abc"); }, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(logAfter([&] { c.action(f); }), c.expected) << c.name;
    }
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
    f.show();
    user::click(f.Che(2));
    EXPECT_EQ(f.Che(2).value(), 1);
    user::click(f.Che(2));
    EXPECT_EQ(f.Che(2).value(), 0);
    f.Che(2).setValue(2);
    user::click(f.Che(2));
    EXPECT_EQ(f.Che(2).value(), 1);
    auto log = logAfter([&] { user::click(f.Opt(0)); });
    EXPECT_EQ(log.back(), "Click Opt(0)");
    EXPECT_EQ(f.activeControl(), &f.Opt(0));
}

TEST_F(EventRules, ComboTextAndListIndexFollowEachOther) {
    f.Combo.setListIndex(0);
    EXPECT_EQ(f.Combo.text(), "Lire");
    EXPECT_EQ(logAfter([&] { f.Combo.setText("EURO"); }), std::vector<std::string>{});
    EXPECT_EQ(f.Combo.listIndex(), 1);
    f.Combo.setText("Sterline");
    EXPECT_EQ(f.Combo.listIndex(), -1);
    f.Combo.setStyle(ComboBox::Style::DropDownList);
    EXPECT_THROW(f.Combo.setText("Yen"), NumberedError);
    EXPECT_THROW(f.Combo.setListIndex(2), NumberedError);
}

TEST_F(EventRules, TypingALetterInAListOnlyComboChoosesTheNextItem) {
    f.show();
    f.Combo.addItem("Lit");
    f.Combo.setStyle(ComboBox::Style::DropDownList);
    auto log = logAfter([&] { user::type(f.Combo, "l"); });
    EXPECT_EQ(f.Combo.listIndex(), 0);
    EXPECT_EQ(log.back(), "Click Combo");
    user::type(f.Combo, "L");
    EXPECT_EQ(f.Combo.text(), "Lit");
    user::type(f.Combo, "x");
    EXPECT_EQ(f.Combo.listIndex(), 2);
}

TEST_F(EventRules, KeyPreviewRunsFirstAndMaySwallow) {
    f.setKeyPreview(true);
    f.show();
    user::focus(f.txt(10));
    auto plain = logAfter([&] { user::type(f.txt(10), "a"); });
    EXPECT_EQ(plain,
              (std::vector<std::string>{"Form_KeyDown 65", "KeyDown txt(10) 65", "Form_KeyPress 97",
                                        "KeyPress txt(10) 97", "Change txt(10)", "Form_KeyUp 65",
                                        "KeyUp txt(10) 65"}));
    f.swallowKeyDown = true;
    auto downSwallowed = logAfter([&] { user::type(f.txt(10), "b"); });
    EXPECT_EQ(downSwallowed, (std::vector<std::string>{"Form_KeyDown 66", "Form_KeyPress 98",
                                                       "KeyPress txt(10) 98", "Change txt(10)",
                                                       "Form_KeyUp 66", "KeyUp txt(10) 66"}));
    f.swallowKeyPress = true;
    auto pressSwallowed = logAfter([&] { user::type(f.txt(10), "c"); });
    EXPECT_EQ(pressSwallowed, (std::vector<std::string>{"Form_KeyDown 67", "Form_KeyPress 99",
                                                        "Form_KeyUp 67", "KeyUp txt(10) 67"}));
    f.setKeyPreview(false);
    auto noPreview = logAfter([&] { user::type(f.txt(10), "d"); });
    EXPECT_EQ(noPreview, (std::vector<std::string>{"KeyDown txt(10) 68", "KeyPress txt(10) 100",
                                                   "Change txt(10)", "KeyUp txt(10) 68"}));
    EXPECT_EQ(f.txt(10).text(), "abd");
}

TEST_F(EventRules, TypingIsHeldToMaxLengthAndLockButCodeIsNot) {
    f.show();
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
    f.show();
    f.comOk.setDefault(true);
    f.ComAnnulla.setCancel(true);
    user::focus(f.txt(10));
    auto enter = logAfter([&] { user::key(f, key::Return); });
    EXPECT_EQ(enter, std::vector<std::string>{"Click comOk"});
    EXPECT_EQ(f.activeControl(), &f.txt(10));
    auto esc = logAfter([&] { user::key(f, key::Escape); });
    EXPECT_EQ(esc, std::vector<std::string>{"Click ComAnnulla"});
}

TEST_F(EventRules, TabChoiceMayBeRefusedBeforeTheClick) {
    EXPECT_EQ(f.TasPagine.selectedIndex(), 1);
    EXPECT_EQ(logAfter([&] { f.TasPagine.setSelectedIndex(2); }),
              (std::vector<std::string>{"BeforeClick TasPagine", "Click TasPagine"}));
    f.TasPagine.on.onBeforeClick = [](bool& cancel) { cancel = true; };
    EXPECT_EQ(logAfter([&] { f.TasPagine.setSelectedIndex(1); }), std::vector<std::string>{});
    EXPECT_EQ(f.TasPagine.selectedIndex(), 2);
    EXPECT_THROW(f.TasPagine.setSelectedIndex(3), NumberedError);
}

TEST_F(EventRules, ControlArraysIterateInIndexOrderAndRefuseMissingElements) {
    std::vector<int> seen;
    for (const auto& [index, box] : f.txt) seen.push_back(box->index());
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 30, 2000}));
    EXPECT_EQ(f.txt.lbound(), 10);
    EXPECT_EQ(f.txt.ubound(), 2000);
    EXPECT_EQ(tolvane::testing::errorOf([&] { f.txt(15); }), 340);
    EXPECT_THROW(f.txt.add(10), NumberedError);
    EXPECT_EQ(f.txt(2000).displayName(), "txt(2000)");
}

TEST_F(EventRules, DoEventsLetsQueuedUserActionsThrough) {
    f.show();
    int stato = 1;
    f.ComAnnulla.on.onClick = [&] { stato = 2; };
    desktop().post([&] { user::click(f.ComAnnulla); });
    int giri = 0;
    while (stato == 1 && giri < 10) {
        ++giri;
        DoEvents();
    }
    EXPECT_EQ(stato, 2);
    EXPECT_EQ(giri, 1);
    EXPECT_EQ(desktop().pendingActions(), 0u);
}

TEST_F(EventRules, ScriptedActionsArriveAtTheirDoEventsPoint) {
    f.show();
    int fermato = 0;
    f.ComAnnulla.on.onClick = [&] { fermato = static_cast<int>(desktop().doEventsCount()); };
    driver.atDoEvents(3, [&] { user::click(f.ComAnnulla); });
    for (int i = 0; i < 5; ++i) DoEvents();
    EXPECT_EQ(fermato, 3);
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

}  // namespace
}  // namespace tolvane::ui
