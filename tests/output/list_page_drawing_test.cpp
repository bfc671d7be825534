// The page drawing's sheets: every paper name a queue may give. Never asks a print server.
#include "output/list_page_drawing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/page_output.h"

namespace tolvane::testing {
namespace {

TEST(PaperNamedTest, EveryNameAQueueGivesIsItsSheet) {
    struct Case {
        std::string name;
        int width;  // points, rounded; 0: not a paper
        int height;
    };
    const std::vector<Case> cases = {
        {"A4", 595, 842},        {"Letter", 612, 792}, {"iso_a5_148x210mm", 420, 595},
        {"na-legal", 612, 1008}, {"iso_a4", 595, 842}, {"na_letter", 612, 792},
        {"na_legal", 612, 1008}, {"jis_b5", 516, 729}, {"iso_dl", 312, 624},
        {"EnvC5", 459, 649},     {"Nessuna", 0, 0},    {"", 0, 0},
    };
    for (const Case& c : cases) {
        Paper paper{1, 1};
        const bool known = paperNamed(c.name, paper);
        EXPECT_EQ(known, c.width != 0) << c.name;
        if (known) {
            EXPECT_EQ(static_cast<int>(paper.width + 0.5), c.width) << c.name;
            EXPECT_EQ(static_cast<int>(paper.height + 0.5), c.height) << c.name;
        }
    }
}

}  // namespace
}  // namespace tolvane::testing
