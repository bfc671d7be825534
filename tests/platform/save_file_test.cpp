// The one file writer: modes of new and replaced files and the never-replace mode, with no
// temporary file left behind (failed writes: the INI file and print engine tests); and the
// cleanup guard it rests on, whose cleanup runs on every exit unless dismissed.
#include "platform/save_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/scope_guard.h"
#include "support/error_number.h"
#include "support/scratch_folder.h"

namespace tolvane::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(folder)) out.push_back(entry.path().filename());
    return out;
}

TEST(SaveFile, ModeAndReplacementFollowTheOptions) {
    struct Case {
        const char* name;
        int existingMode;  // -1: no file there before
        int newMode;
        bool neverReplace;
        bool committed;
        std::string content;
        fs::perms mode;
    };
    const mode_t mask = ::umask(022);
    for (const Case& c : std::vector<Case>{
             {"new file, the umask's mode", -1, -1, false, true, "nuovo", fs::perms(0644)},
             {"new file, given mode", -1, 0600, false, true, "nuovo", fs::perms(0600)},
             {"replaced file keeps its mode", 0660, 0600, false, true, "nuovo", fs::perms(0660)},
             {"never replace, no file", -1, 0600, true, true, "nuovo", fs::perms(0600)},
             {"never replace, a file", 0640, 0600, true, false, "vecchio", fs::perms(0640)}}) {
        ScratchFolder folder;
        const std::string target = folder.file("dati.txt");
        if (c.existingMode >= 0) {
            folder.write("dati.txt", "vecchio");
            ::chmod(target.c_str(), static_cast<mode_t>(c.existingMode));
        }
        SaveFile::Options options;
        options.newMode = c.newMode;
        options.neverReplace = c.neverReplace;
        SaveFile file(target, options);
        file.write("nuovo");
        EXPECT_EQ(file.commit(), c.committed) << c.name;
        EXPECT_EQ(ScratchFolder::read(target), c.content) << c.name;
        EXPECT_EQ(fs::status(target).permissions(), c.mode) << c.name;
        EXPECT_EQ(entries(folder.path()), std::vector<std::string>{"dati.txt"}) << c.name;
    }
    ::umask(mask);
}

// The failure that ended the scope is the one the caller learns, also when the cleanup fails.
TEST(ScopeGuard, FirstFailureWinsAndDismissKeepsTheWork) {
    struct Case {
        int work;     // error number the scope raises, 0 none
        int cleanup;  // error number the cleanup raises, 0 none
        bool dismiss;
        int raised;
        int cleanups;
    };
    const Case cases[] = {
        {0, 0, false, 0, 1},    {53, 0, false, 53, 1}, {0, 75, false, 75, 1},
        {53, 75, false, 53, 1}, {0, 0, true, 0, 0},    {53, 0, true, 53, 0},
    };
    for (const Case& c : cases) {
        int cleanups = 0;
        int raised = errorOf([&] {
            ScopeGuard guard([&] {
                ++cleanups;
                if (c.cleanup != 0) throw NumberedError(c.cleanup, "cleanup");
            });
            if (c.dismiss) guard.dismiss();
            if (c.work != 0) throw NumberedError(c.work, "work");
        });
        EXPECT_EQ(raised, c.raised) << c.work << "/" << c.cleanup << "/" << c.dismiss;
        EXPECT_EQ(cleanups, c.cleanups) << c.work << "/" << c.cleanup << "/" << c.dismiss;
    }
}

}  // namespace
}  // namespace tolvane::testing
