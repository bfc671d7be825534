// A list printed, as the user drives it, to a print server that takes the job's connection and
// never answers: the print ends quietly when "Interrompi la stampa" is pressed while it waits,
// with the window's events let through meanwhile. What the queue says at the server's limit is
// the print queue's to check.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "printing/stampa_lista_fixture.h"
#include "suite/stampanti/print_queue.h"
#include "support/private_cups.h"

namespace tolvane::testing {
namespace {

using ui::user::click;
using StampaServerTest = StampaListaTest;

// With the program's own limit: the print would wait 20 seconds and then say so, unless the stop
// acts. The press is the second DoEvents point: the first follows the only page.
TEST_F(StampaServerTest, InterrompiWhileTheServerKeepsThePrintWaitingEndsItQuietly) {
    SilentPrintServer silent;
    ASSERT_TRUE(silent.listening());
    setPrintQueue(std::make_shared<CupsPrintQueue>(silent.socket()));
    lista.rows.resize(2);  // one page: the only waits after it are the server's
    bool shown = false;
    driver.atDoEvents(2, [&] {
        auto& progress = ui::desktop().instance<frmStampaInCorso>();
        shown = progress.visible();
        click(progress.ComSTampa);
    });
    FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
    click(dialog.CmdStampa);
    dialog.unload();
    EXPECT_TRUE(shown) << "the stop button is at hand while the server is waited for";
    EXPECT_EQ(driver.messageTexts(), std::vector<std::string>{});
    EXPECT_FALSE(ui::desktop().instance<frmStampaInCorso>().visible());
    EXPECT_EQ(giStaAtt, 0);
}

}  // namespace
}  // namespace tolvane::testing
