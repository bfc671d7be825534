// The scripted driver and the form lifecycle: modal windows, message boxes, dialogs, one default
// instance per window, cancellable unload, and a clear failure for an unexpected window.
#include <gtest/gtest.h>

#include <tuple>

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

TEST_F(Lifecycle, AWindowIsOneInstanceUntilUnloadedWhichQueryUnloadMayRefuse) {
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

    c.show();
    c.cancelUnload = true;
    EXPECT_FALSE(user::close(c));
    EXPECT_TRUE(c.loaded());
    EXPECT_EQ(c.log.back(), "QueryUnload 0");
    c.cancelUnload = false;
    EXPECT_TRUE(c.unload());
    EXPECT_EQ(c.log.back(), "Unload");
    EXPECT_EQ(desktop().activeForm(), nullptr);
    EXPECT_EQ(desktop().findForm("frmProva"), nullptr);
}

TEST_F(Lifecycle, ModalWindowRunsItsScriptAloneAndGivesBackTheActivation) {
    auto& owner = desktop().load<frmAltra>();
    owner.show();
    auto& f = desktop().load<frmProva>();
    f.comOk.on.onClick = [&] { f.hide(); };
    int depthInside = 0;
    int behind = 0;
    driver.onForm("frmProva", [&](Form&) {
        depthInside = desktop().modalDepth();
        behind = errorOf([&] { user::focus(owner.txtNome); });
        user::fill(f.txt(10), "12");
        user::click(f.comOk);
    });
    f.show(ShowMode::Modal);
    EXPECT_EQ(depthInside, 1);
    EXPECT_NE(behind, 0) << "the user reached a window behind the modal one";
    EXPECT_EQ(desktop().modalDepth(), 0);
    EXPECT_EQ(f.txt(10).text(), "12");
    EXPECT_FALSE(f.visible());
    EXPECT_TRUE(f.loaded());
    EXPECT_EQ(desktop().activeForm(), &owner);
    user::focus(owner.txtNome);
}

TEST_F(Lifecycle, MessageBoxAnswersFollowTheStyle) {
    // Style, button pressed, answer, buttons shown.
    const std::vector<std::tuple<int, int, int, std::vector<std::string>>> cases = {
        {msgbox::OkOnly, 1, msgbox::AnswerOk, {"OK"}},
        {msgbox::YesNo, 2, msgbox::AnswerNo, {"Sì", "No"}},
        {msgbox::YesNoCancel, 3, msgbox::AnswerCancel, {"Sì", "No", "Annulla"}},
        {msgbox::OkCancel | msgbox::Critical, 2, msgbox::AnswerCancel, {"OK", "Annulla"}},
    };
    for (const auto& [style, pressed, answer, buttons] : cases) {
        driver.answerMessage("", pressed);
        EXPECT_EQ(MsgBox("Domanda", style), answer) << style;
        EXPECT_EQ(driver.shown().back().buttons, buttons) << style;
    }
    EXPECT_EQ(driver.shown().back().title, "Tolvane");
}

TEST_F(Lifecycle, CommonDialogsAnswerFromTheScript) {
    auto& f = desktop().load<frmProva>();
    auto& cod = f.add<CommonDialog>("codFile");
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

// A window the script did not expect, or a modal one its script left open, fails with its text.
TEST_F(Lifecycle, UnexpectedWindowsFail) {
    ScriptedDriver own;
    std::vector<std::string> reported;
    own.setFailureHook([&](const std::string& text) { reported.push_back(text); });
    auto& f = desktop().load<frmProva>();
    own.onForm("frmProva", [](Form&) {});
    EXPECT_THROW(f.show(ShowMode::Modal), UnexpectedWindow);
    EXPECT_FALSE(f.visible());
    EXPECT_EQ(desktop().modalDepth(), 0);

    EXPECT_THROW(MsgBox("Nessuna file selezionato da caricare"), UnexpectedWindow);
    own.answerMessage("Confermi", 1);
    EXPECT_THROW(MsgBox("Elaborazione terminata"), UnexpectedWindow);
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_NE(reported[1].find("Nessuna file selezionato"), std::string::npos);
    EXPECT_NE(reported[2].find("Elaborazione terminata"), std::string::npos);
    EXPECT_NE(reported[2].find("Confermi"), std::string::npos);
    EXPECT_EQ(own.pendingSteps(), 1u);

    desktop().setDriver(nullptr);
    EXPECT_THROW(MsgBox("x"), UnexpectedWindow) << "no driver refuses every modal interaction";
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
