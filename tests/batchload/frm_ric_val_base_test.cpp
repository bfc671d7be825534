// The base values of a batch run: constants, prompted values and counters of the layouts,
// asked ten to a window, and what the loaded rows receive from them.
#include <map>

#include "batch_window_fixture.h"

namespace tolvane::batchtest {
namespace {

class RicValBaseTest : public BatchWindowTest {
  protected:
    // P1: five prompts (one with a proposed value, one a counter) and two constants;
    // P2: seven prompts. Twelve prompts in all.
    // A layout of Prova whose lines hold only the code.
    void codeOnly(const std::string& code, const std::vector<std::string>& lines) {
        layout(code, {{"batch", "S"},
                      {"Tabella", "Prova"},
                      {"Separatore", "\\059"},
                      {"Modalita", "0"},
                      {"InsVaria", "I"}});
        field(code, "Codice", {{"NumCampo", "1"}});
        input(code + ".txt", lines);
    }
    void layouts() {
        codeOnly("P1", {"A", "B"});
        field("P1", "Descr", {{"Default", "§ Descrizione § proposta "}});
        field("P1", "Num", {{"TipoDest", "Long"}, {"Default", "§##Progressivo"}});
        field("P1", "Importo", {{"Default", "§Importo"}, {"CostBatch", "12,5"}});
        field("P1", "Piccolo",
              {{"TipoDest", "Integer"}, {"Default", "§#1#Gruppo"}, {"CostBatch", "7"}});
        field("P1", "Qta", {{"Default", "§Quantità"}});
        field("P1", "Listino", {{"Default", "§Listino"}});
        field("P1", "Note", {{"Default", "§Note"}});

        codeOnly("P2", {"C"});
        for (const char* name : {"Descr", "Importo", "Listino", "Note", "Num", "Piccolo", "Qta"})
            field("P2", name, {{"Default", std::string("§") + name + "2"}});
    }

    // Fills the visible rows by their captions; returns how many rows were visible.
    static int fill(ui::Form& form, const std::map<std::string, std::string>& values) {
        auto& f = static_cast<frmRicValBase&>(form);
        int visible = 0;
        for (int i = 0; i < frmRicValBase::kRighe; ++i) {
            if (!f.txt(i).visible()) continue;
            ++visible;
            auto it = values.find(f.Lab(i).caption());
            if (it != values.end()) f.txt(i).setText(it->second);
        }
        return visible;
    }

    std::map<std::string, std::string> values = {
        {"Quantità:", "1,5"},   {"Listino:", "EU"}, {"Note:", "nota1"},  {"Progressivo:", "100"},
        {"Descr2:", "seconda"}, {"Importo2:", "3"}, {"Listino2:", "L2"}, {"Note2:", "nota2"},
        {"Num2:", "7"},         {"Piccolo2:", "2"}, {"Qta2:", "4"}};
};

TEST_F(RicValBaseTest, TwelvePromptsAskTenThenTwoAndReachTheLoadedRows) {
    layouts();
    frmCaricoBatch& f = open();
    std::map<std::string, std::string> firstWindow;
    int secondVisible = 0;
    std::vector<std::string> secondTexts;
    driver->onForm("frmRicValBase", [&](ui::Form& form) {
        auto& r = static_cast<frmRicValBase&>(form);
        EXPECT_EQ(r.caption(), "Richiesta Valori Base");
        for (int i = 0; i < frmRicValBase::kRighe; ++i)
            firstWindow[r.Lab(i).caption()] = r.txt(i).text();
        EXPECT_EQ(fill(form, values), 10);
        ui::user::click(r.comOk);
    });
    driver->onForm("frmRicValBase", [&](ui::Form& form) {
        auto& r = static_cast<frmRicValBase&>(form);
        for (int i = 0; i < frmRicValBase::kRighe; ++i)
            if (r.txt(i).visible()) secondTexts.push_back(r.txt(i).text());
        secondVisible = fill(form, values);
        ui::user::click(r.comOk);
    });
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);

    EXPECT_EQ(firstWindow["Descrizione:"], "proposta");
    EXPECT_EQ(firstWindow["Progressivo:"], "");
    EXPECT_EQ(firstWindow.count("Importo:"), 0u) << "a constant is not asked";
    EXPECT_EQ(secondVisible, 2);
    EXPECT_EQ(secondTexts, (std::vector<std::string>{"", ""}))
        << "no text left from the first window";
    EXPECT_EQ(rows("SELECT Codice, Descr, Num, Importo, Piccolo, Qta, Listino, Note FROM Prova "
                   "ORDER BY Codice"),
              (Rows{{"A", "proposta", "101", "12.5", "8", "1.5", "EU", "nota1"},
                    {"B", "proposta", "102", "12.5", "8", "1.5", "EU", "nota1"},
                    {"C", "seconda", "7", "3", "2", "4.0", "L2", "nota2"}}));
    EXPECT_EQ(ui::desktop().find<frmRicValBase>(), nullptr);
}

TEST_F(RicValBaseTest, CancelInAnyWindowEndsTheRunBeforeAnythingIsLoaded) {
    for (int cancelAt : {1, 2}) {
        layouts();
        frmCaricoBatch& f = open();
        driver->onForm("frmRicValBase", [&](ui::Form& form) {
            auto& r = static_cast<frmRicValBase&>(form);
            ui::user::click(cancelAt == 1 ? r.ComAnnulla : r.comOk);
        });
        if (cancelAt == 2)
            driver->onForm("frmRicValBase", [](ui::Form& form) {
                ui::user::click(static_cast<frmRicValBase&>(form).ComAnnulla);
            });
        ui::user::click(f.comOk);
        EXPECT_TRUE(driver->messageTexts().empty()) << "window " << cancelAt;
        EXPECT_TRUE(codes().empty()) << "window " << cancelAt;
        EXPECT_FALSE(closed()) << "window " << cancelAt;
        EXPECT_TRUE(f.comOk.visible());
        EXPECT_EQ(giStatoCarica, 0);
        EXPECT_EQ(gsIdDbase, commonId);
        EXPECT_EQ(ui::desktop().find<frmRicValBase>(), nullptr) << "window " << cancelAt;
        restart();
        exec(commonId, "DELETE FROM CaricaFile; DELETE FROM CaricaDettaglio");
    }
}

TEST_F(RicValBaseTest, ConstantsAloneAreStoredWithoutAskingAnything) {
    codeOnly("P4", {"A", "B"});
    field("P4", "Descr", {{"Default", "§Descrizione"}, {"CostBatch", "fissa"}});
    field("P4", "Num", {{"TipoDest", "Long"}, {"Default", "§#K#Progressivo"}, {"CostBatch", "40"}});
    frmCaricoBatch& f = open();
    driver->answerMessage("Elaborazione terminata", 1);
    ui::user::click(f.comOk);
    EXPECT_EQ(rows("SELECT Codice, Descr, Num FROM Prova ORDER BY Codice"),
              (Rows{{"A", "fissa", "41"}, {"B", "fissa", "42"}}));
}

TEST_F(RicValBaseTest, CounterWithoutItsSecondHashIsARunTimeError) {
    codeOnly("P3", {"A"});
    field("P3", "Piccolo", {{"Default", "§#Conta"}});
    frmCaricoBatch& f = open();
    driver->answerMessage("Errore(5)", 1);
    ui::user::click(f.comOk);
    EXPECT_FALSE(closed());
    EXPECT_TRUE(codes().empty());
    EXPECT_EQ(ui::desktop().find<frmRicValBase>(), nullptr);
}

}  // namespace
}  // namespace tolvane::batchtest
