// Which events a window's code handles, what reaches it, and the gestures only a display sends:
// the second press of a double click, a thumb dragged, a folder or a drive chosen, a window
// resized. Each gesture raises the window model's events in their order, and none reaches a
// hidden or disabled control.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "support/error_number.h"
#include "support/handler_names.h"
#include "support/scratch_folder.h"
#include "test_form.h"
#include "ui/ui_constants.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::ui {
namespace {

using testing::frmProva;
using tolvane::testing::errorOf;
using tolvane::testing::handlerName;
using tolvane::testing::kHandlerNames;
using Log = std::vector<std::string>;

// The events the control's code handles, by name.
std::string handled(const Control& c) {
    std::string out;
    for (int h = 0; h < static_cast<int>(std::size(kHandlerNames)); ++h)
        if (c.handles(static_cast<Handler>(h))) out += std::string(" ") + kHandlerNames[h];
    return out;
}

// Every handler that runs, as the observers learn it.
class Reached : public UiObserver {
  public:
    Reached() { desktop().addObserver(this); }
    ~Reached() override { desktop().removeObserver(this); }
    void handlerRuns(Control& c, Handler h) override {
        log.push_back(std::string(handlerName(h)) + " " + c.displayName());
    }
    Log log;
};

// The test window with a scroll bar, a label, folder and drive lists, a toolbar; it handles
// Resize.
class frmGesti : public frmProva {
  public:
    frmGesti() {
        VsbProp.setMax(10);
        VsbProp.on.onChange = [this] {
            log.push_back("Change " + std::to_string(VsbProp.value()));
        };
        VsbProp.on.onScroll = [this] {
            log.push_back("Scroll " + std::to_string(VsbProp.value()));
        };
        LabProp.on.onClick = [this] { log.push_back("Click LabProp"); };
        LabProp.on.onDblClick = [this] { log.push_back("DblClick LabProp"); };
        DirCarica.on.onChange = [this] { log.push_back("Change " + DirCarica.path()); };
        DriCarica.on.onChange = [this] { log.push_back("Change " + DriCarica.drive()); };
        Toolbar1.addButton("Stampa");
        Toolbar1.onButtonClick = [this](const std::string& k) { log.push_back("Button " + k); };
        setHandlesResize(true);
    }
    void Form_Resize() override {
        log.push_back("Resize " + std::to_string(static_cast<int>(width())) + "x" +
                      std::to_string(static_cast<int>(height())));
    }
    ScrollBar& VsbProp = add<ScrollBar>("VsbProp");
    Label& LabProp = add<Label>("LabProp");
    DirListBox& DirCarica = add<DirListBox>("DirCarica");
    DriveListBox& DriCarica = add<DriveListBox>("DriCarica");
    Toolbar& Toolbar1 = add<Toolbar>("Toolbar1");
};

class Gestures : public WindowTest {
  protected:
    Gestures() { f.show(); }
    frmGesti& f = desktop().load<frmGesti>();
    tolvane::testing::ScratchFolder folder;
};

TEST_F(Gestures, EachGestureRaisesItsEventsInOrder) {
    folder.write("dati/x.txt", "");
    const std::string dati = folder.file("dati");
    struct Case {
        const char* name;
        std::function<void()> gesture;
        Log expected;
    } cases[] = {
        {"a thumb dragged twice, once to where it stands, then let go",
         [&] {
             for (int to : {4, 4, 6}) user::dragScroll(f.VsbProp, to);
             user::releaseScroll(f.VsbProp);
         },
         {"LostFocus txt(10)", "Scroll 4", "Scroll 4", "Scroll 6", "Change 6"}},
        {"a thumb let go where it was taken, twice: no change",
         [&] {
             user::dragScroll(f.VsbProp, 6);
             for (int i = 0; i < 2; ++i) user::releaseScroll(f.VsbProp);
         },
         {"Scroll 6"}},
        {"a step of the bar changes at once", [&] { user::scroll(f.VsbProp, 7); }, {"Change 7"}},
        {"a double click on a label: one click, then the double click",
         [&] {
             user::click(f.LabProp);
             user::secondClick(f.LabProp);
         },
         {"Click LabProp", "DblClick LabProp"}},
        {"a folder chosen, then the same again",
         [&] {
             for (int i = 0; i < 2; ++i) user::chooseFolder(f.DirCarica, dati);
         },
         {"Change " + dati}},
        {"a drive chosen", [&] { user::chooseDrive(f.DriCarica, dati); }, {"Change " + dati}},
        {"the window's border dragged", [&] { user::resize(f, 6000, 4500); }, {"Resize 6000x4500"}},
        {"a toolbar button",
         [&] { user::pressToolbarButton(f.Toolbar1, "Stampa"); },
         {"Button Stampa"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.log.clear();
        c.gesture();
        EXPECT_EQ(f.log, c.expected);
    }
    EXPECT_EQ(errorOf([&] { user::dragScroll(f.VsbProp, 11); }), uierr::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { user::chooseFolder(f.DirCarica, dati + "/manca"); }),
              uierr::PathNotFound);
}

TEST_F(Gestures, NoGestureReachesAHiddenOrDisabledControl) {
    f.LabProp.setEnabled(false);
    f.DirCarica.setVisible(false);
    f.PicPagine1.setEnabled(false);
    f.VsbProp.setEnabled(false);
    for (const auto& gesture : std::vector<std::function<void()>>{
             [&] { user::secondClick(f.LabProp); },
             [&] { user::chooseFolder(f.DirCarica, folder.path().string()); },
             [&] { user::secondClick(f.txt(10)); }, [&] { user::dragScroll(f.VsbProp, 0); }}) {
        f.log.clear();
        EXPECT_EQ(errorOf(gesture), errnum::InvalidCall);
        EXPECT_TRUE(f.log.empty()) << f.log.front();
    }
}

// The second press of a double click on a field whose leave rule kept the focus elsewhere is
// swallowed, as the first press was.
TEST_F(Gestures, SecondPressOnAFieldThatNeverGotTheFocusRaisesNothing) {
    bool handled = false;
    f.txt.on.onDblClick = [&](int) { handled = true; };
    f.txt.on.onLostFocus = [this](int i) {
        if (i == 10) f.txt(10).setFocus();
    };
    user::click(f.txt(20));
    user::secondClick(f.txt(20));
    EXPECT_FALSE(handled);
    EXPECT_TRUE(f.txt(10).hasFocus());
}

// A control says which events its code handles, its own or its array's; the observers see each
// handler run, keys and the tab's BeforeClick among them.
TEST_F(Gestures, ControlsSayWhichEventsTheirCodeHandlesAndObserversSeeEachOneRun) {
    EXPECT_EQ(handled(f.txt(30)), " Change GotFocus LostFocus KeyDown KeyPress KeyUp");
    EXPECT_EQ(handled(f.LabProp), " Click DblClick");
    EXPECT_EQ(handled(f.VsbProp), " Change Scroll");
    EXPECT_EQ(handled(f.TasPagine), " Click BeforeClick");
    EXPECT_EQ(handled(f.Toolbar1), " ButtonClick");
    EXPECT_EQ(handled(f.LabInfo), "");

    Reached reached;
    user::type(f.txt(20), "a");
    user::chooseTab(f.TasPagine, 2);
    user::pressToolbarButton(f.Toolbar1, "Stampa");
    user::click(f.LabInfo);
    EXPECT_EQ(reached.log,
              (Log{"LostFocus txt(10)", "GotFocus txt(20)", "KeyDown txt(20)", "KeyPress txt(20)",
                   "Change txt(20)", "KeyUp txt(20)", "LostFocus txt(20)", "BeforeClick TasPagine",
                   "Click TasPagine", "ButtonClick Toolbar1"}));
}

}  // namespace
}  // namespace tolvane::ui
