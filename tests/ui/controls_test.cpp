// Properties of the single kinds of control: ranges, grids, lists, selection, visibility in
// effect, folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/error_number.h"
#include "test_form.h"
#include "ui/ui_constants.h"
#include "ui/window_test.h"

namespace tolvane::ui {
namespace {

using testing::frmProva;

class Controls : public WindowTest {
  protected:
    frmProva& f = desktop().load<frmProva>();
};

using tolvane::testing::errorOf;

TEST_F(Controls, RangedValuesStayInRangeAndScrollBarsRaiseChange) {
    auto& vsb = f.add<ScrollBar>("VsbProp");
    int changes = 0;
    vsb.on.onChange = [&] { ++changes; };
    vsb.setMin(50);
    EXPECT_EQ(vsb.value(), 50) << "the value follows the range";
    vsb.setMax(180);
    vsb.setValue(100);
    vsb.setValue(100);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(errorOf([&] { vsb.setValue(181); }), uierr::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { vsb.setMax(40000); }), errnum::Overflow);
    vsb.setMin(-100);
    vsb.setMax(-200);
    EXPECT_EQ(vsb.value(), -100);
    EXPECT_EQ(errorOf([&] { f.Che(1).setValue(3); }), uierr::InvalidPropertyValue);
    auto& pro = f.add<ProgressBar>("proDaFare");
    pro.setMax(10);
    pro.setValue(10);
    EXPECT_EQ(errorOf([&] { pro.setValue(11); }), uierr::InvalidPropertyValue);
}

TEST_F(Controls, GridAddsTabbedRowsAndKeepsOneRowBelowTheHeadings) {
    auto& gri = f.add<Grid>("GriPri");
    gri.setFixedRows(0);
    gri.setCols(3);
    gri.setRows(1);
    gri.addItem("N.\tNome\tPorta");
    gri.removeItem(0);
    gri.addItem("0\tLaser\tLPT1:");
    gri.setFixedRows(1);
    EXPECT_EQ(gri.rows(), 2);
    EXPECT_EQ(gri.textMatrix(0, 1), "Nome");
    EXPECT_EQ(gri.textMatrix(1, 2), "LPT1:");
    EXPECT_EQ(errorOf([&] { gri.removeItem(1); }), 30015);
    EXPECT_EQ(errorOf([&] { gri.textMatrix(2, 0); }), 381);
}

TEST_F(Controls, GridTakesEveryCellAtOnceInTheShapeGiven) {
    auto& gri = f.add<Grid>("GriTutte");
    gri.setRows(5);
    gri.setRow(4);
    gri.setCells({{"Codice", "Nome"}, {"001", "Rossi", "di troppo"}, {"002"}});
    EXPECT_EQ(gri.rows(), 3);
    EXPECT_EQ(gri.cols(), 2);
    EXPECT_EQ(gri.row(), 2);
    EXPECT_EQ(gri.textMatrix(1, 1), "Rossi");
    EXPECT_EQ(gri.textMatrix(2, 1), "");
    EXPECT_EQ(errorOf([&] { gri.textMatrix(1, 2); }), 381);
    // The heading rows and columns stay: a shape without room for them is refused.
    EXPECT_EQ(errorOf([&] { gri.setCells({}); }), uierr::InvalidPropertyValue);
    EXPECT_EQ(gri.rows(), 3);
}

TEST_F(Controls, ListItemsKeepTheChoiceWhenItemsMove) {
    auto& lst = f.add<ListBox>("lstVoci");
    lst.addItem("b");
    lst.addItem("c");
    lst.setListIndex(1);
    lst.addItem("a", 0);
    EXPECT_EQ(lst.listIndex(), 2);
    EXPECT_EQ(lst.text(), "c");
    lst.removeItem(2);
    EXPECT_EQ(lst.listIndex(), -1);
    lst.setSorted(true);
    lst.addItem("aa");
    EXPECT_EQ(lst.list(1), "aa");
}

TEST_F(Controls, TextSelectionIsClippedAndReplacedInCharacters) {
    auto& t = f.txt(10);
    t.setText("città");
    t.setSelStart(3);
    t.setSelLength(10);
    EXPECT_EQ(t.selLength(), 2);
    EXPECT_EQ(t.selText(), "tà");
    t.setSelText("ta'");
    EXPECT_EQ(t.text(), "citta'");
    EXPECT_EQ(t.selStart(), 6);
}

TEST_F(Controls, ControlInsideAHiddenContainerIsHiddenInEffect) {
    EXPECT_TRUE(f.txt(2000).visible());
    EXPECT_FALSE(f.txt(2000).visibleInEffect());
    f.PicPagine1.setEnabled(false);
    EXPECT_FALSE(f.txt(10).enabledInEffect());
    EXPECT_TRUE(f.txt(10).enabled());
    EXPECT_EQ(errorOf([&] { f.PicPagine1.setContainer(&f.PicPagine1); }), errnum::InvalidCall);
}

TEST_F(Controls, PicturesGoToFilesAndBackUnchangedAndFolderListsRefuseAMissingFolder) {
    auto path = (std::filesystem::temp_directory_path() / "tolvane_ui_pagina.001").string();
    Picture page{"bmp", std::string("\0\1\2riga\n", 8), 120, 80};
    SavePicture(page, path);
    auto back = LoadPicture(path);
    EXPECT_EQ(back->data, page.data);
    EXPECT_EQ(back->width, 120);
    EXPECT_EQ(back->format, "bmp");
    std::filesystem::remove(path);
    EXPECT_EQ(errorOf([&] { LoadPicture(path); }), errnum::FileNotFound);
    auto& iml = f.add<ImageList>("ImlFrecce");
    iml.add(back);
    EXPECT_EQ(iml.picture(1), back);
    EXPECT_EQ(errorOf([&] { iml.picture(2); }), uierr::IndexOutOfBounds);

    auto& dir = f.add<DirListBox>("DirCarica");
    std::string changed;
    dir.on.onChange = [&] { changed = dir.path(); };
    auto tmp = std::filesystem::temp_directory_path().string();
    dir.setPath(tmp);
    EXPECT_EQ(changed, tmp);
    EXPECT_EQ(errorOf([&] { dir.setPath("c:"); }), uierr::PathNotFound);
    EXPECT_EQ(dir.path(), tmp);
}

TEST_F(Controls, EachTabCarriesItsOwnToolTip) {
    int riba = f.TasPagine.addTab("Ri&Ba/Rid", "RiBa", "Dati x RiBa/Rid");
    EXPECT_EQ(f.TasPagine.tab(riba).toolTipText, "Dati x RiBa/Rid");
    f.TasPagine.setTabToolTipText(1, "Dati generali");
    EXPECT_EQ(f.TasPagine.tab(1).toolTipText, "Dati generali");
    EXPECT_EQ(errorOf([&] { f.TasPagine.setTabToolTipText(riba + 1, "x"); }),
              uierr::IndexOutOfBounds);
}

TEST_F(Controls, GivingATabIndexMovesTheOthersAlong) {
    f.txt(30).setTabIndex(0);
    EXPECT_EQ(f.txt(30).tabIndex(), 0);
    EXPECT_EQ(f.PicPagine1.tabIndex(), 1);
    std::vector<int> all;
    for (Control* c : f.controls()) all.push_back(c->tabIndex());
    std::sort(all.begin(), all.end());
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i], static_cast<int>(i));
}

}  // namespace
}  // namespace tolvane::ui
