// A list printed, as the user drives it, to a print server that takes the job's connection and
// never answers: the print says so at the server's limit, or ends quietly when "Interrompi la
// stampa" is pressed while it waits, with the window's events let through meanwhile.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "printing/stampa_lista_fixture.h"
#include "suite/stampanti/print_queue.h"
#include "support/private_cups.h"

namespace tolvane::testing {
namespace {

using ui::user::click;

class StampaServerTest : public StampaListaTest {
  protected:
    StampaServerTest() {
        // One page: the only waits after it are the server's.
        lista.rows.resize(2);
    }
    void useSilentServer(int timeoutSeconds) {
        setPrintQueue(std::make_shared<CupsPrintQueue>(silent.socket(), timeoutSeconds));
    }
    void print() {
        FrmVedrixStampa& dialog = dialogFor(OpzStampa::kStampante);
        click(dialog.CmdStampa);
        dialog.unload();
    }

    SilentPrintServer silent;
};

TEST_F(StampaServerTest, ServerThatNeverAnswersIsToldAtItsLimit) {
    ASSERT_TRUE(silent.listening());
    useSilentServer(1);
    driver.answerMessage(
        "Il server di stampa di questo computer non risponde: la stampante Ufficio non ha "
        "ricevuto la stampa",
        1);
    print();
    EXPECT_EQ(driver.pendingDescription(), "");
    EXPECT_EQ(giStaAtt, 0);
}

// With the program's own limit: the print would wait 20 seconds and then say so, unless the stop
// acts. The press is the second DoEvents point: the first follows the only page.
TEST_F(StampaServerTest, InterrompiWhileTheServerKeepsThePrintWaitingEndsItQuietly) {
    ASSERT_TRUE(silent.listening());
    useSilentServer(kPrintServerTimeoutSeconds);
    bool shown = false;
    driver.atDoEvents(2, [&] {
        auto& progress = ui::desktop().instance<frmStampaInCorso>();
        shown = progress.visible();
        click(progress.ComSTampa);
    });
    print();
    EXPECT_TRUE(shown) << "the stop button is at hand while the server is waited for";
    EXPECT_EQ(driver.messageTexts(), std::vector<std::string>{});
    EXPECT_FALSE(ui::desktop().instance<frmStampaInCorso>().visible());
    EXPECT_EQ(giStaAtt, 0);
}

}  // namespace
}  // namespace tolvane::testing
