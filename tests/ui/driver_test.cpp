// The scripted driver and the form lifecycle: modal windows, message boxes, dialogs, one default
// instance per window, cancellable unload, and a clear failure for an unexpected window.
#include <gtest/gtest.h>

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

class Lifecycle : public WindowTest {};

TEST_F(Lifecycle, AWindowOpenedTwiceIsTheSameInstance) {
    auto& a = desktop().load<frmProva>();
    auto& b = desktop().load<frmProva>();
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(a.log, std::vector<std::string>{"Load"});
    EXPECT_EQ(desktop().findForm("FRMPROVA"), &a);
    a.txt(10).setText("vecchio");
    ASSERT_TRUE(a.unload());
    auto& c = desktop().load<frmProva>();
    EXPECT_NE(&a, &c);
    EXPECT_EQ(c.txt(10).text(), "") << "a reloaded window starts from its design";
    EXPECT_THROW(a.show(), NumberedError);
}

TEST_F(Lifecycle, QueryUnloadMayRefuseTheClose) {
    auto& f = desktop().load<frmProva>();
    f.show();
    f.cancelUnload = true;
    EXPECT_FALSE(user::close(f));
    EXPECT_TRUE(f.loaded());
    EXPECT_EQ(f.log.back(), "QueryUnload 0");
    f.cancelUnload = false;
    EXPECT_TRUE(f.unload());
    EXPECT_EQ(f.log.back(), "Unload");
    EXPECT_EQ(desktop().activeForm(), nullptr);
    EXPECT_EQ(desktop().findForm("frmProva"), nullptr);
}

TEST_F(Lifecycle, ModalWindowRunsItsScriptAndGivesBackTheActivation) {
    auto& owner = desktop().load<frmAltra>();
    owner.show();
    auto& f = desktop().load<frmProva>();
    f.comOk.on.onClick = [&] { f.hide(); };
    int depthInside = 0;
    driver.onForm("frmProva", [&](Form& shown) {
        depthInside = desktop().modalDepth();
        auto& p = dynamic_cast<frmProva&>(shown);
        user::fill(p.txt(10), "12");
        user::click(p.comOk);
    });
    f.show(ShowMode::Modal);
    EXPECT_EQ(depthInside, 1);
    EXPECT_EQ(desktop().modalDepth(), 0);
    EXPECT_EQ(f.txt(10).text(), "12");
    EXPECT_FALSE(f.visible());
    EXPECT_TRUE(f.loaded());
    EXPECT_EQ(desktop().activeForm(), &owner);
}

TEST_F(Lifecycle, UserReachesNoWindowBehindAModalOne) {
    auto& owner = desktop().load<frmAltra>();
    owner.show();
    auto& f = desktop().load<frmProva>();
    bool refused = false;
    driver.onForm("frmProva", [&](Form& shown) {
        refused = errorOf([&] { user::focus(owner.txtNome); }) != 0;
        shown.hide();
    });
    f.show(ShowMode::Modal);
    EXPECT_TRUE(refused);
    user::focus(owner.txtNome);
}

TEST_F(Lifecycle, MessageBoxAnswersFollowTheStyle) {
    struct Case {
        int style;
        int pressed;
        int answer;
        std::vector<std::string> buttons;
    };
    const std::vector<Case> cases = {
        {msgbox::OkOnly, 1, msgbox::AnswerOk, {"OK"}},
        {msgbox::YesNo, 1, msgbox::AnswerYes, {"Sì", "No"}},
        {msgbox::YesNo, 2, msgbox::AnswerNo, {"Sì", "No"}},
        {msgbox::YesNoCancel, 3, msgbox::AnswerCancel, {"Sì", "No", "Annulla"}},
        {msgbox::OkCancel | msgbox::Critical, 2, msgbox::AnswerCancel, {"OK", "Annulla"}},
    };
    for (const auto& c : cases) {
        driver.answerMessage("", c.pressed);
        EXPECT_EQ(MsgBox("Domanda", c.style), c.answer) << c.style;
        EXPECT_EQ(driver.shown().back().buttons, c.buttons) << c.style;
    }
    EXPECT_EQ(driver.shown().back().title, "Tolvane");
}

TEST_F(Lifecycle, CommonDialogsAnswerFromTheScript) {
    auto& f = desktop().load<frmProva>();
    auto& cod = f.add<CommonDialog>("codFile");
    cod.dialogTitle = "Nome del file per pdf";
    cod.fileName = "vecchio.pdf";
    driver.chooseFile("/tmp/nuovo.pdf").cancelFileDialog().cancelFileDialog();
    cod.showSave();
    EXPECT_EQ(cod.fileName, "/tmp/nuovo.pdf");
    EXPECT_EQ(cod.fileTitle, "nuovo.pdf");
    cod.showOpen();
    EXPECT_EQ(cod.fileName, "/tmp/nuovo.pdf") << "cancel keeps the name";
    cod.cancelError = true;
    EXPECT_EQ(errorOf([&] { cod.showOpen(); }), uierr::DialogCancelled);
    driver.cancelFontDialog().answerInput("abc").cancelInput();
    EXPECT_THROW(cod.showFont(), NumberedError);
    EXPECT_EQ(InputBox("Codice?"), "abc");
    EXPECT_EQ(InputBox("Codice?"), "");
}

TEST_F(Lifecycle, UnexpectedWindowFailsWithItsText) {
    ScriptedDriver own;
    std::vector<std::string> reported;
    own.setFailureHook([&](const std::string& text) { reported.push_back(text); });
    try {
        MsgBox("Nessuna file selezionato da caricare");
        FAIL() << "no failure";
    } catch (const UnexpectedWindow& e) {
        EXPECT_NE(std::string(e.what()).find("Nessuna file selezionato"), std::string::npos);
    }
    own.answerMessage("Confermi", 1);
    EXPECT_THROW(MsgBox("Elaborazione terminata"), UnexpectedWindow);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_NE(reported[1].find("Elaborazione terminata"), std::string::npos);
    EXPECT_NE(reported[1].find("Confermi"), std::string::npos);
    EXPECT_EQ(own.pendingSteps(), 1u);
}

TEST_F(Lifecycle, ModalWindowLeftOpenByItsScriptFails) {
    ScriptedDriver own;
    own.setFailureHook([](const std::string&) {});
    auto& f = desktop().load<frmProva>();
    own.onForm("frmProva", [](Form&) {});
    EXPECT_THROW(f.show(ShowMode::Modal), UnexpectedWindow);
    EXPECT_FALSE(f.visible());
    EXPECT_EQ(desktop().modalDepth(), 0);
}

TEST_F(Lifecycle, NoDriverRefusesEveryModalInteraction) {
    desktop().setDriver(nullptr);
    EXPECT_THROW(MsgBox("x"), UnexpectedWindow);
    desktop().setDriver(&driver);
}

TEST_F(Lifecycle, CallByNameReachesExposedMembersOnly) {
    auto& f = desktop().load<frmProva>();
    int passate = 0;
    f.expose("PassaA", [&](std::vector<Variant>&) {
        ++passate;
        return Variant();
    });
    f.callByName("passaa");
    EXPECT_EQ(passate, 1);
    EXPECT_EQ(errorOf([&] { f.callByName("Inesistente"); }), uierr::MemberMissing);
}

class Recorder : public UiObserver {
  public:
    std::vector<std::string> seen;
    void controlChanged(Control& c, Property p) override {
        seen.push_back(c.displayName() + ":" + std::to_string(static_cast<int>(p)));
    }
    void focusChanged(Form&, Control* c) override {
        seen.push_back("focus " + (c != nullptr ? c->displayName() : std::string("-")));
    }
};

TEST_F(Lifecycle, ObserversSeeChangesAndFocus) {
    auto& f = desktop().load<frmProva>();
    Recorder rec;
    desktop().addObserver(&rec);
    f.show();
    f.txt(20).setText("x");
    f.txt(20).setBackColor(255);
    desktop().removeObserver(&rec);
    EXPECT_EQ(rec.seen, (std::vector<std::string>{
                            "focus txt(10)", "txt(20):" + std::to_string(int(Property::Text)),
                            "txt(20):" + std::to_string(int(Property::BackColor))}));
}

}  // namespace
}  // namespace tolvane::ui
