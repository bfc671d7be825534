// The one file writer: modes of new and replaced files and the never-replace mode, with no
// temporary file left behind. (Failed writes: the INI file and print engine tests.)
#include "platform/save_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace tolvane::testing
