// The print-in-progress window: the page counter during a print, its stop button, a stop with
// no engine, the engine dropped at unload, and its zoom with the decoration kept apart.
#include <string>
#include <vector>

#include "printing/stampa_lista_fixture.h"

namespace tolvane::testing {
namespace {

using FrmStampaInCorsoTest = StampaListaTest;

TEST_F(FrmStampaInCorsoTest, StopButtonEndsAPrintBeforeItReachesThePrinter) {
    struct Case {
        int staVid;
        int stopAt;  // DoEvents point of the press; 0: never
        bool produced;
    };
    for (const Case& c : std::vector<Case>{{OpzStampa::kStampante, 2, false},
                                           {OpzStampa::kStampante, 0, true},
                                           {OpzStampa::kFissa, 1, false},
                                           {OpzStampa::kFile, 1, false}}) {
        queue = std::make_shared<MemoryPrintQueue>();
        setPrintQueue(queue);
        FrmVedrixStampa& dialog = dialogFor(c.staVid);
        dialog.opzioni()->FileName = folder.file("lista.csv");
        dialog.opzioni()->FisFileName = folder.file("fissa.txt");
        std::vector<std::string> pages;
        auto& progress = ui::desktop().instance<frmStampaInCorso>();
        driver.atDoEvents(1, [&] { pages.push_back(progress.LblPag.caption()); });
        if (c.stopAt > 0) {
            driver.atDoEvents(c.stopAt, [&] {
                EXPECT_TRUE(progress.visible());
                ui::user::click(progress.ComSTampa);
                ui::user::click(progress.ComSTampa);
            });
        }
        ui::user::click(dialog.CmdStampa);
        EXPECT_EQ(pages, std::vector<std::string>{"001"});
        bool produced = !queue->jobs().empty() ||
                        std::filesystem::exists(folder.file("lista.csv")) ||
                        std::filesystem::exists(folder.file("fissa.txt"));
        EXPECT_EQ(produced, c.produced) << c.staVid << " stop at " << c.stopAt;
        EXPECT_FALSE(progress.visible());
        EXPECT_EQ(progress.ogStampa(), nullptr);
        EXPECT_EQ(giStaAtt, 0);
        dialog.unload();
    }
}

TEST_F(FrmStampaInCorsoTest, StopWithoutEngineOrAfterUnloadDoesNothing) {
    gdRisVidStampa = 1.5;
    auto& progress = ui::desktop().load<frmStampaInCorso>();
    EXPECT_EQ(progress.odRisVidVal, 1.5);
    ASSERT_NE(progress.zoomApart(progress.PicVusk), nullptr);
    EXPECT_TRUE(progress.zoomApart(progress.PicVusk)->keepsSize);
    progress.ComStampa_Click();
    progress.ComStampa_Click();
    auto engine = std::make_shared<MotoreStampaLista>(std::make_shared<OpzStampa>(), PrintList{},
                                                      PageSetup{});
    progress.ogStampa(engine);
    progress.ComStampa_Click();
    EXPECT_TRUE(engine->StampaInterrotta());
    progress.unload();
    EXPECT_EQ(progress.ogStampa(), nullptr);
    EXPECT_EQ(engine.use_count(), 1);
}

}  // namespace
}  // namespace tolvane::testing
