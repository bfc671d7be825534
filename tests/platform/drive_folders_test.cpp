// The drive folders read from a mount table: what a person keeps files on, once each, and the
// drive that holds a folder.
#include "platform/drive_folders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scoped_env.h"
#include "support/scratch_folder.h"

namespace tolvane {
namespace {

using testing::ScopedEnv;
using testing::ScratchFolder;

TEST(DriveFolders, RootHomeThenTheMountsOfDisksOnceEach) {
    ScratchFolder folder;
    const std::string home = folder.file("casa");
    folder.write("casa/x", "");
    const ScopedEnv homeDir("HOME", home);
    struct Case {
        std::string table;
        std::vector<std::string> expected;
    } cases[] = {
        {"\n", {"/", home}},
        {"overlay / overlay rw 0 0\nproc /proc proc rw 0 0\ntmpfs /run tmpfs rw 0 0\n",
         {"/", home}},
        {"/dev/sdb1 /mnt/dati ext4 rw 0 0\n/dev/sda1 /boot/efi vfat rw 0 0\n",
         {"/", home, "/boot/efi", "/mnt/dati"}},
        {"/dev/sdc1 /media/Disco\\040esterno vfat rw 0 0\n", {"/", home, "/media/Disco esterno"}},
        {"/dev/loop3 /snap/core/1 squashfs ro 0 0\n", {"/", home}},
        {"/dev/sda2 / ext4 rw 0 0\n/dev/sda3 " + home + " ext4 rw 0 0\n", {"/", home}},
        {"una riga sola\n/dev/sdd1\n", {"/", home}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(driveFolders(c.table), c.expected) << c.table;
    }
}

TEST(DriveFolders, AFolderBelongsToTheLongestDriveAboveIt) {
    const std::vector<std::string> drives = {"/", "/home/anna", "/mnt/dati", "/mnt/dati/archivio"};
    struct Case {
        const char* path;
        const char* drive;
    } cases[] = {
        {"/home/anna/lavoro", "/home/anna"},
        {"/home/anna", "/home/anna"},
        {"/home/annamaria", "/"},
        {"/mnt/dati/archivio/2024", "/mnt/dati/archivio"},
        {"relativo", "/"},
    };
    for (const Case& c : cases) EXPECT_EQ(driveFolderOf(drives, c.path), c.drive) << c.path;
}

}  // namespace
}  // namespace tolvane
