// The register's grid at the real widgets: what it shows and opens after another program changed
// the register and after a creation, and its heading that no click or key reaches.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <filesystem>

#include "common/db_comune.h"
#include "companydata/frm_dati_azie.h"
#include "db/db_test_folder.h"
#include "qt/program_on_screen.h"
#include "qt/qt_folder_list.h"
#include "register/frm_crea_azi.h"
#include "register/frm_tolvane.h"

namespace tolvane::testing {
namespace {

void click(QWidget* w, QPoint at) { QTest::mouseClick(w, Qt::LeftButton, {}, at); }

class RegisterOnScreen : public ProgramOnScreen {
  public:
    // A company whose file is a copy of the base file, added by another program.
    std::filesystem::path addCompany(const std::string& code, const std::string& id) {
        std::filesystem::path file = env.folder / ("ditta_" + id + ".db");
        std::filesystem::copy_file(env.baseCompanyDb, file);
        dbtest::OtherConnection(env.commonDb.string(),
                                "INSERT INTO Aziende (Codice, IdAzienda, Descrizione, NomeDB) "
                                "VALUES ('" +
                                    code + "', '" + id + "', 'Azienda " + code + "', '" +
                                    file.string() + "')");
        return file;
    }
    QTableWidget* table() const { return qobject_cast<QTableWidget*>(widget(register_->grdLista)); }
    // A toolbar button clicked with the mouse, found by its caption.
    void press(const char* caption) {
        auto* bar = static_cast<QToolBar*>(widget(register_->Toolbar1));
        for (QAction* action : bar->actions()) {
            if (action->text() != QString::fromUtf8(caption)) continue;
            QWidget* button = bar->widgetForAction(action);
            click(button, button->rect().center());
            settle();
            return;
        }
        ADD_FAILURE() << "no button " << caption;
    }
    void clickRow(const std::string& code) {
        QTableWidget* t = table();
        for (int r = 0; r < t->rowCount(); ++r) {
            if (t->model()->index(r, 0).data().toString().toStdString() != code) continue;
            click(t->viewport(), t->visualRect(t->model()->index(r, 1)).center());
            settle();
            return;
        }
        ADD_FAILURE() << code << " not shown";
    }
    // The table shows the model's cells, its heading the fixed row; the code of the highlighted
    // row ("" when none is).
    std::string shownChoice() const {
        const ui::Grid& grid = register_->grdLista;
        QTableWidget* t = table();
        EXPECT_EQ(t->rowCount(), grid.rows() - 1);
        for (int col = 0; col < grid.cols(); ++col) {
            EXPECT_EQ(t->model()->headerData(col, Qt::Horizontal).toString().toStdString(),
                      grid.textMatrix(0, col));
            for (int r = 1; r < grid.rows(); ++r)
                EXPECT_EQ(t->model()->index(r - 1, col).data().toString().toStdString(),
                          grid.textMatrix(r, col))
                    << "row " << r << " column " << col;
        }
        return t->currentRow() < 0 ? std::string()
                                   : t->item(t->currentRow(), 0)->text().toStdString();
    }
    // "Dati azienda" by the mouse: the file of the company the data form opened on.
    std::filesystem::path openHighlighted() {
        press("Dati azienda");
        frmDatiAzie* dati = ui::desktop().find<frmDatiAzie>();
        if (!dati || !dati->loaded() || dati->osIdDbase.empty()) return {};
        return goDbase().PercorsoDb(dati->osIdDbase);
    }

    frmTolvane* register_ = nullptr;
};

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

// The heading stays above the rows: a click on it chooses nothing, and Ctrl+Home goes to the first
// company. "Dati azienda" opens the company highlighted, also after "Aggiorna" and a creation.
TEST_P(RegisterOnScreen, DatiAziendaOpensTheHighlightedCompanyAndTheHeadingIsNeverChosen) {
    const std::filesystem::path verdi = addCompany("VERDI", "002");
    register_ = static_cast<frmTolvane*>(start("frmtolvane"));
    ASSERT_NE(register_, nullptr);
    clickRow("VERDI");
    QTableWidget* t = table();
    QHeaderView* heading = t->horizontalHeader();
    ASSERT_TRUE(heading->isVisible());
    click(heading->viewport(), QPoint(heading->sectionPosition(0) + 4, heading->height() / 2));
    settle();
    EXPECT_EQ(shownChoice(), "VERDI");
    EXPECT_EQ(register_->grdLista.row(), 2);
    QTest::keyClick(t, Qt::Key_Home, Qt::ControlModifier);
    settle();
    EXPECT_EQ(shownChoice(), "ROSSI");
    EXPECT_EQ(register_->grdLista.row(), 1);
    EXPECT_TRUE(sameFile(openHighlighted(), env.companyDb));

    // Above the chosen company, while the window shows.
    ui::desktop().activate(register_);
    settle();
    clickRow("VERDI");
    addCompany("BIANCHI", "003");
    press("Aggiorna");
    EXPECT_EQ(shownChoice(), "VERDI");
    EXPECT_TRUE(sameFile(openHighlighted(), verdi));

    ui::desktop().activate(register_);
    settle();
    press("Nuova azienda");
    auto* crea = ui::desktop().find<frmCreaAzi>();
    ASSERT_TRUE(crea && crea->visible());
    QWidget* code = widget(crea->txtCodice);
    click(code, code->rect().center());
    QTest::keyClicks(code, "ALFA");
    QWidget* description = widget(crea->txtDescrizione);
    click(description, description->rect().center());
    QTest::keyClicks(description, "Alfa Srl");
    auto* ok = static_cast<QPushButton*>(widget(crea->comOk));
    click(ok, ok->rect().center());
    settle();
    ASSERT_FALSE(crea->loaded()) << (messages.empty() ? "" : messages.back());
    EXPECT_EQ(register_->Aziende().front().Codice, "ALFA");

    ui::desktop().activate(register_);
    settle();
    EXPECT_EQ(shownChoice(), "VERDI");
    EXPECT_TRUE(sameFile(openHighlighted(), verdi));
    EXPECT_TRUE(messages.empty()) << messages.front();
}

INSTANTIATE_TEST_SUITE_P(Screens, RegisterOnScreen, ::testing::Values(Screen{1366, 768}),
                         screenName);

}  // namespace
}  // namespace tolvane::testing
