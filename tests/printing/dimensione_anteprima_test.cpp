// The preview size window: the sample at the chosen size, the double click, the values its
// opener puts in and takes back, and a window closed without "OK".
#include "printing/dimensione_anteprima.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/frm_scelta_stam.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane::testing {
namespace {

using DimensioneAnteprimaTest = ui::WindowTest;

TEST_F(DimensioneAnteprimaTest, SampleFollowsThePercentage) {
    frmVStaPar& f = ui::desktop().load<frmVStaPar>();
    f.show();
    struct Case {
        int value;
        double points;
    };
    for (const Case& c : std::vector<Case>{{100, 10}, {67, 6.7}, {50, 5}, {180, 18}}) {
        ui::user::scroll(f.VsbProp, c.value);
        EXPECT_EQ(f.LabProp.caption(), std::to_string(c.value));
        EXPECT_DOUBLE_EQ(f.PicProva.font().size, c.points);
    }
    EXPECT_THROW(f.VsbProp.setValue(181), NumberedError);
    f.CheMemVid.setValue(0);
    ui::user::dblClick(f.LabProp);
    EXPECT_EQ(f.VsbProp.value(), 67);
    EXPECT_EQ(f.CheMemVid.value(), 1);
    EXPECT_EQ(f.LabProp.caption(), "67");
}

TEST_F(DimensioneAnteprimaTest, OpenerPutsValuesInHeldToTheRangeAndTakesThemBack) {
    struct Case {
        int in;
        int memVid;
        int shown;
        int chosen;
    };
    for (const Case& c :
         std::vector<Case>{{100, 1, 100, 120}, {30, 0, 50, 50}, {250, 1, 180, 75}}) {
        driver.onForm("frmVStaPar", [&](ui::Form& form) {
            auto& f = static_cast<frmVStaPar&>(form);
            EXPECT_EQ(f.VsbProp.value(), c.shown);
            EXPECT_EQ(f.CheMemVid.value(), c.memVid);
            ui::user::scroll(f.VsbProp, c.chosen);
            ui::user::click(f.CheMemVid);
            ui::user::click(f.CmdOk);
        });
        int value = c.in;
        int memVid = c.memVid;
        EXPECT_TRUE(MostraFrmVStaPar(value, memVid));
        EXPECT_EQ(value, c.chosen);
        EXPECT_EQ(memVid, 1 - c.memVid);
        EXPECT_EQ(ui::desktop().find<frmVStaPar>(), nullptr);
    }
}

TEST_F(DimensioneAnteprimaTest, ClosedWithoutOkChangesNothing) {
    driver.onForm("frmVStaPar", [](ui::Form& form) {
        auto& f = static_cast<frmVStaPar&>(form);
        ui::user::scroll(f.VsbProp, 150);
        ui::user::close(f);
    });
    int value = 90;
    int memVid = 0;
    EXPECT_FALSE(MostraFrmVStaPar(value, memVid));
    EXPECT_EQ(value, 90);
    EXPECT_EQ(memVid, 0);
    FrmSceltaStam::extensions() = {};
    collegaFrmVStaPar();
    EXPECT_TRUE(static_cast<bool>(FrmSceltaStam::extensions().previewSize));
    FrmSceltaStam::extensions() = {};
}

}  // namespace
}  // namespace tolvane::testing
