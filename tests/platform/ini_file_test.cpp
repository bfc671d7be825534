// Tests of INI files: profile reading rules, edits that keep the file's own form, atomic writes.
// Every case works on real files in a scratch folder.
#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/numbered_error.h"
#include "support/error_number.h"
#include "support/scratch_folder.h"

namespace tolvane {
namespace {

using testing::ScratchFolder;
namespace fs = std::filesystem;

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

struct ReadCase {
    const char* rule;
    std::string bytes;
    const char* section;
    const char* key;
    std::string expected;
};

TEST(IniFile, ReadFollowsProfileRules) {
    const std::vector<ReadCase> cases = {
        {"caseless names", "[Menu]\r\nNomeDB=pelmor.mdb\r\n", "MENU", "nomedb", "pelmor.mdb"},
        {"missing key", "[Menu]\r\nNomeDB=x\r\n", "Menu", "DriveDB", "<def>"},
        {"key of another section", "[A]\r\nk=1\r\n[B]\r\n", "B", "k", "<def>"},
        {"blanks trimmed", "[ Menu ]\r\n  k =  v w  \r\n", "Menu", "K", "v w"},
        {"one pair of quotes", "[S]\r\nk=\"  a b \"\r\n", "S", "k", "  a b "},
        {"empty value is no default", "[S]\r\nk=\r\n", "S", "k", ""},
        {"semicolon comment", "[S]\r\n;k=1\r\n", "S", ";k", "<def>"},
        {"no inline comment", "[S]\r\nk=a ; b\r\n", "S", "k", "a ; b"},
        {"first section wins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\n", "S", "k", "1"},
        {"equals in value", "[S]\r\nConnect=DSN=x;UID=y\r\n", "S", "connect", "DSN=x;UID=y"},
        {"Windows-1252 byte", "[S]\r\nk=perch\xE9\r\n", "S", "k", "perch\xC3\xA9"},
    };
    for (const auto& c : cases) {
        const IniFile ini = IniFile::parse(c.bytes);
        EXPECT_EQ(ini.getString(c.section, c.key, "<def>"), c.expected) << c.rule;
    }
}

TEST(IniFile, IntegerReadLikeThePlatform) {
    const IniFile ini = IniFile::parse(
        "[S]\r\na=12abc\r\nb=abc\r\nc=-5\r\nd=+7x\r\ne=\r\nf=4294967295\r\ng=\"3\"\r\n");
    const std::vector<std::pair<const char*, int>> cases = {
        {"a", 12}, {"b", 0}, {"c", -5}, {"d", 7}, {"e", 99}, {"f", -1}, {"g", 3}, {"none", 99},
    };
    for (const auto& [key, expected] : cases) EXPECT_EQ(ini.getInt("s", key, 99), expected) << key;
}

struct EditCase {
    const char* rule;
    std::string before;
    std::function<bool(IniFile&)> edit;
    std::string after;
};

TEST(IniFile, EditsKeepTheFilesOwnForm) {
    const auto set = [](const char* s, const char* k, const char* v) {
        return [=](IniFile& ini) { return ini.setString(s, k, v); };
    };
    const auto accented = set("s", "n", "perch\xC3\xA9");
    const std::vector<EditCase> cases = {
        {"update in place keeps spelling and spacing", "[Sez]\r\nChiave = vecchio\r\n",
         set("SEZ", "chiave", "nuovo"), "[Sez]\r\nChiave = nuovo\r\n"},
        {"new key after the section's last entry", "[A]\r\nx=1\r\n\r\n; about B\r\n[B]\r\ny=2\r\n",
         set("a", "z", "3"), "[A]\r\nx=1\r\nz=3\r\n\r\n; about B\r\n[B]\r\ny=2\r\n"},
        {"new section at the end", "; top\r\n[A]\r\nx=1\r\n", set("C", "k", "v"),
         "; top\r\n[A]\r\nx=1\r\n[C]\r\nk=v\r\n"},
        {"LF stays LF", "[A]\nx=1\n", set("A", "y", "2"), "[A]\nx=1\ny=2\n"},
        {"last line without end", "[A]\nx=1", set("A", "y", "2"), "[A]\nx=1\ny=2\n"},
        {"empty file gets CRLF", "", set("S", "k", "v"), "[S]\r\nk=v\r\n"},
        {"delete key keeps comments", "[A]\r\n; c\r\nx=1\r\ny=2\r\n",
         [](IniFile& ini) { return ini.removeKey("a", "X"); }, "[A]\r\n; c\r\ny=2\r\n"},
        {"delete missing key changes nothing", "[A]\r\nx=1\r\n",
         [](IniFile& ini) { return !ini.removeKey("A", "y"); }, "[A]\r\nx=1\r\n"},
        {"delete section leaves the next one's comment",
         "[A]\r\nx=1\r\n\r\n; about B\r\n[B]\r\ny=2\r\n",
         [](IniFile& ini) { return ini.removeSection("a"); }, "\r\n; about B\r\n[B]\r\ny=2\r\n"},
        {"Windows-1252 stays Windows-1252", "[S]\r\nk=caff\xE8\r\n", accented,
         "[S]\r\nk=caff\xE8\r\nn=perch\xE9\r\n"},
        {"ASCII file takes Windows-1252", "[S]\r\nk=v\r\n", accented,
         "[S]\r\nk=v\r\nn=perch\xE9\r\n"},
        {"UTF-8 with BOM stays so", "\xEF\xBB\xBF[S]\r\nk=caff\xC3\xA8\r\n", accented,
         "\xEF\xBB\xBF[S]\r\nk=caff\xC3\xA8\r\nn=perch\xC3\xA9\r\n"},
        {"UTF-8 without BOM stays so", "[S]\nk=caff\xC3\xA8\n", accented,
         "[S]\nk=caff\xC3\xA8\nn=perch\xC3\xA9\n"},
    };
    for (const auto& c : cases) {
        IniFile ini = IniFile::parse(c.before);
        EXPECT_TRUE(c.edit(ini)) << c.rule;
        EXPECT_EQ(ini.serialize(), c.after) << c.rule;
    }
}

// A refused edit leaves the file as it was; text the encoding cannot hold would come back
// as '?' or turn the whole file.
TEST(IniFile, EditsTheFileCannotHoldAreRefused) {
    struct Case {
        const char* rule;
        std::string file, section, key, value;
        bool refused;
    };
    const std::string ascii = "[S]\r\nk=1\r\n";
    const std::string cp1252 = "[S]\r\nk=caff\xE8\r\n";
    const std::string utf8 = "[S]\nk=caff\xC3\xA8\n";
    const std::vector<Case> cases = {
        {"line break in a value", ascii, "S", "k", "x\r\n[Menu]\r\nNomeDB=altro", true},
        {"line break in a section", ascii, "S\n", "k", "x", true},
        {"equals sign in a key", ascii, "S", "a=b", "x", true},
        {"letter outside Windows-1252", cp1252, "S", "n", "\xC5\x81odz", true},
        {"ASCII file takes UTF-8 instead", ascii, "S", "n", "\xC5\x81", false},
        {"euro sign fits Windows-1252", cp1252, "S", "n", "\xE2\x82\xAC 5", false},
        {"UTF-8 file holds any letter", utf8, "S", "n", "\xC5\x81odz", false},
        {"broken UTF-8 would turn the file", utf8, "S", "n", "caff\xE8", true},
    };
    for (const auto& c : cases) {
        IniFile ini = IniFile::parse(c.file);
        const int number = testing::errorOf([&] { ini.setString(c.section, c.key, c.value); });
        if (c.refused) {
            EXPECT_EQ(number, errnum::InvalidCall) << c.rule;
            EXPECT_EQ(ini.serialize(), c.file) << c.rule;
        } else {
            EXPECT_EQ(number, 0) << c.rule;
            const IniFile back = IniFile::parse(ini.serialize());
            EXPECT_EQ(back.getString(c.section, c.key, ""), c.value) << c.rule;
        }
    }
}

TEST(IniFile, OpenTellsMissingFromEmptyAndDeletesCreateNoFile) {
    ScratchFolder folder;
    const std::string missing = folder.file("pelmor.ini");
    EXPECT_EQ(IniFile::load(missing).status(), IniFile::Status::Missing);
    EXPECT_EQ(IniFile::load(missing).getString("Menu", "NomeDB", "def"), "def");
    const NumberedError e = testing::errorRaised([&] { IniFile::open(missing); });
    EXPECT_EQ(e.number(), errnum::FileNotFound);
    EXPECT_NE(e.description().find(missing), std::string::npos) << e.description();
    EXPECT_EQ(IniFile::open(folder.write("empty.ini", "")).status(), IniFile::Status::Loaded);
    IniFile::deleteKey(missing, "S", "k");
    IniFile::deleteSection(missing, "S");
    EXPECT_FALSE(fs::exists(missing)) << "deleting from a missing file created it";
}

// A write replaces the file only when something changed, and a linked file behind its link.
TEST(IniFile, UpdateWritesOnlyWhenSomethingChanged) {
    ScratchFolder folder;
    const std::string path = folder.write("t.ini", "[S]\r\nk=v\r\n");
    struct stat info {};
    const auto inode = [&] {
        ::stat(path.c_str(), &info);
        return info.st_ino;
    };
    const ino_t before = inode();
    IniFile::writeString(path, "s", "K", "v");
    EXPECT_EQ(inode(), before) << "an unchanged value rewrote the file";
    IniFile::writeString(path, "S", "k", "w");
    EXPECT_NE(inode(), before);
    EXPECT_EQ(folderEntries(folder.path()), (std::vector<std::string>{"t.ini", "t.ini.lock"}));

    const std::string real = folder.write("real/pelmor.ini", "[S]\r\nk=1\r\n");
    const std::string link = folder.file("pelmor.ini");
    fs::create_symlink(real, link);
    IniFile::writeString(link, "S", "k", "2");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ScratchFolder::read(real), "[S]\r\nk=2\r\n");
}

// Terminals write the common INI at the same time: the lock must keep every write.
TEST(IniFile, ConcurrentWritersLoseNoKey) {
    ScratchFolder folder;
    const std::string path = folder.write("comune.ini", "[S]\r\n");
    constexpr int kWriters = 4;
    constexpr int kKeys = 10;
    std::vector<pid_t> children;
    const auto key = [](int w, int k) { return "k" + std::to_string(w) + "_" + std::to_string(k); };
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int k = 0; k < kKeys; ++k) {
                try {
                    IniFile::writeString(path, "S", key(w, k), "v");
                } catch (...) {  // anything escaping would run the other tests in this child
                    ++failures;
                }
            }
            ::_exit(failures);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const IniFile ini = IniFile::load(path);
    for (int w = 0; w < kWriters; ++w) {
        for (int k = 0; k < kKeys; ++k) EXPECT_TRUE(ini.hasKey("S", key(w, k))) << key(w, k);
    }
}

// Each way to make a write fail must leave the file whole and no temporary file behind.
TEST(IniFile, FailedWriteLeavesTheFileIntact) {
    const std::string original = "[S]\r\nk=1\r\n";

    {  // the file cannot be written at all: the write limit of the process is below its size
        ScratchFolder folder;
        const std::string path = folder.write("t.ini", original);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 8;
        const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        const NumberedError e =
            testing::errorRaised([&] { IniFile::writeString(path, "S", "k", "un valore lungo"); });
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(e.number(), errnum::FileAccess);
        EXPECT_NE(e.description().find(path), std::string::npos) << e.description();
        EXPECT_EQ(ScratchFolder::read(path), original);
        EXPECT_EQ(folderEntries(folder.path()), (std::vector<std::string>{"t.ini", "t.ini.lock"}));
    }
    {  // the file cannot be read: rewriting it would lose what it holds
        ScratchFolder folder;
        const std::string path = folder.file("t.ini");
        fs::create_directory(path);
        EXPECT_THROW(IniFile::writeString(path, "S", "k", "2"), NumberedError);
        EXPECT_TRUE(fs::is_directory(path));
    }
    if (::geteuid() != 0) {  // the folder refuses new files; root would not be refused
        ScratchFolder folder;
        const std::string path = folder.write("t.ini", original);
        ::chmod(folder.path().c_str(), 0555);
        EXPECT_THROW(IniFile::writeString(path, "S", "k", "2"), NumberedError);
        ::chmod(folder.path().c_str(), 0755);
        EXPECT_EQ(ScratchFolder::read(path), original);
        EXPECT_EQ(folderEntries(folder.path()), (std::vector<std::string>{"t.ini"}));
    }
}

}  // namespace
}  // namespace tolvane
