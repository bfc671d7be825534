// The focus rules the window logic relies on: lost-focus before got-focus, only inside one
// window, never on a hidden or disabled control, pages shown first, and a button click that
// waits for the leave rule of the field being left.
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

class FocusRules : public WindowTest {
  protected:
    FocusRules() {
        f.show();
        user::focus(f.txt(10));
        f.log.clear();
    }
    frmProva& f = desktop().load<frmProva>();
};

TEST_F(FocusRules, ShowGivesTheFirstFieldInTabOrderTheFocus) {
    desktop().reset();
    auto& g = desktop().load<frmProva>();
    g.show();
    EXPECT_EQ(g.activeControl(), &g.txt(10));
    EXPECT_EQ(g.log, (std::vector<std::string>{"Load", "Activate", "GotFocus txt(10)"}));
}

TEST_F(FocusRules, MovingTheFocusRaisesLostThenGot) {
    f.txt(20).setFocus();
    EXPECT_EQ(f.log, (std::vector<std::string>{"LostFocus txt(10)", "GotFocus txt(20)"}));
    f.log.clear();
    f.txt(20).setFocus();
    EXPECT_TRUE(f.log.empty()) << "focus on the focused field raises nothing";
}

TEST_F(FocusRules, FocusNeverGoesToAHiddenOrDisabledControl) {
    struct Case {
        const char* name;
        std::function<void(frmProva&)> prepare;
        std::function<Control&(frmProva&)> target;
    };
    const std::vector<Case> cases = {
        {"hidden", [](frmProva& g) { g.txt(20).setVisible(false); },
         [](frmProva& g) -> Control& { return g.txt(20); }},
        {"disabled", [](frmProva& g) { g.txt(30).setEnabled(false); },
         [](frmProva& g) -> Control& { return g.txt(30); }},
        {"disabled page", [](frmProva& g) { g.PicPagine2.setEnabled(false); },
         [](frmProva& g) -> Control& { return g.txt(2000); }},
        {"label", [](frmProva&) {}, [](frmProva& g) -> Control& { return g.LabInfo; }},
    };
    for (const auto& c : cases) {
        c.prepare(f);
        f.log.clear();
        EXPECT_EQ(tolvane::testing::errorOf([&] { c.target(f).setFocus(); }), errnum::InvalidCall)
            << c.name;
        EXPECT_EQ(f.activeControl(), &f.txt(10)) << c.name;
        EXPECT_TRUE(f.log.empty()) << c.name;
    }
    EXPECT_FALSE(f.PicPagine2.visible()) << "a refused focus shows no page";
}

TEST_F(FocusRules, FocusToAFieldOnAHiddenPageShowsThePageFirst) {
    EXPECT_FALSE(f.txt(2000).visibleInEffect());
    f.txt(2000).setFocus();
    EXPECT_TRUE(f.PicPagine2.visible());
    EXPECT_EQ(f.activeControl(), &f.txt(2000));

    desktop().reset();
    auto& g = desktop().load<frmProva>();
    g.show();
    std::vector<std::string> shown;
    g.showPage = [&](Control& page) {
        shown.push_back(page.name());
        g.PicPagine1.setVisible(false);
        page.setVisible(true);
    };
    g.txt(2000).setFocus();
    EXPECT_EQ(shown, std::vector<std::string>{"PicPagine2"});
    EXPECT_FALSE(g.txt(10).visibleInEffect());
}

TEST_F(FocusRules, HidingTheFocusedFieldMovesTheFocusOn) {
    f.txt(10).setVisible(false);
    EXPECT_EQ(f.activeControl(), &f.txt(20));
    EXPECT_EQ(f.log, (std::vector<std::string>{"LostFocus txt(10)", "GotFocus txt(20)"}));
}

TEST_F(FocusRules, FocusEventsStayInsideOneWindow) {
    auto& altra = desktop().load<frmAltra>();
    altra.show();
    EXPECT_EQ(desktop().activeForm(), &altra);
    EXPECT_EQ(f.log, std::vector<std::string>{"Deactivate"});
    EXPECT_EQ(altra.log, std::vector<std::string>{"GotFocus txtNome"});
    f.log.clear();
    altra.log.clear();
    f.txt(10).setFocus();
    EXPECT_EQ(f.log, std::vector<std::string>{"Activate"});
    EXPECT_TRUE(altra.log.empty());
    f.txt(20).setFocus();
    EXPECT_EQ(f.log.back(), "GotFocus txt(20)");
}

TEST_F(FocusRules, ButtonClickRunsTheLeaveRuleFirstAlsoWhenItShowsAMessage) {
    f.txt.on.onLostFocus = [&](int i) {
        f.log.push_back("LostFocus txt(" + std::to_string(i) + ")");
        MsgBox("Partita Iva Errata");
        f.txt(i).setBackColor(255);
    };
    driver.answerMessage("Partita Iva", 1);
    EXPECT_TRUE(user::click(f.comOk));
    EXPECT_EQ(f.log,
              (std::vector<std::string>{"LostFocus txt(10)", "GotFocus comOk", "Click comOk"}));
    EXPECT_EQ(driver.messageTexts(), std::vector<std::string>{"Partita Iva Errata"});
    EXPECT_EQ(f.txt(10).backColor(), 255);
}

TEST_F(FocusRules, LeaveRuleThatKeepsTheFocusSwallowsTheClick) {
    f.txt.on.onLostFocus = [&](int i) {
        f.log.push_back("LostFocus txt(" + std::to_string(i) + ")");
        MsgBox("Campo obbligatorio");
        f.txt(i).setFocus();
    };
    driver.answerMessage("obbligatorio", 1);
    EXPECT_FALSE(user::click(f.comOk));
    EXPECT_EQ(f.log, (std::vector<std::string>{"LostFocus txt(10)", "GotFocus txt(10)"}));
    EXPECT_EQ(f.activeControl(), &f.txt(10));
}

TEST_F(FocusRules, ToolbarButtonsLeaveTheFocusWhereItIs) {
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

TEST_F(FocusRules, UserCannotClickHiddenOrDisabledButtons) {
    f.comOk.setEnabled(false);
    EXPECT_THROW(user::click(f.comOk), NumberedError);
    f.comOk.setEnabled(true);
    f.comOk.setVisible(false);
    EXPECT_THROW(user::click(f.comOk), NumberedError);
    EXPECT_TRUE(f.log.empty());
}

TEST_F(FocusRules, TabMovesInTabOrderSkippingWhatCannotTakeTheFocus) {
    f.txt(20).setEnabled(false);
    user::key(f, key::Tab);
    EXPECT_EQ(f.activeControl(), &f.txt(30));
    user::key(f, key::Tab, shift::Shift);
    EXPECT_EQ(f.activeControl(), &f.txt(10));
}

}  // namespace
}  // namespace tolvane::ui
