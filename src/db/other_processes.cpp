// Another process's hold on a database file, read with fcntl(F_GETLK) through a descriptor that
// SQLite opened. Never places, changes or drops a lock, and never closes a descriptor it found.
#include "db/other_processes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>

namespace tolvane {

namespace {

// SQLite's lock bytes in every database file: a connection reading, or open in WAL mode, holds
// a shared lock on one byte of this range.
constexpr off_t kSharedFirst = 0x40000000 + 2;
constexpr off_t kSharedSize = 510;

}  // namespace

OtherProcesses::OtherProcesses(const std::string& path) : path_(path) {}

bool OtherProcesses::isTheFile(int descriptor) const {
    struct stat status {};
    return fstat(descriptor, &status) == 0 && status.st_dev == device_ && status.st_ino == inode_;
}

int OtherProcesses::findDescriptor() const {
    DIR* folder = opendir("/proc/self/fd");
    if (!folder) return -1;
    int found = -1;
    while (const dirent* entry = readdir(folder)) {
        char* end = nullptr;
        const long descriptor = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || descriptor == dirfd(folder)) continue;
        if (isTheFile(static_cast<int>(descriptor))) {
            found = static_cast<int>(descriptor);
            break;
        }
    }
    closedir(folder);
    return found;
}

bool OtherProcesses::holdTheFile() {
    if (!identified_) {
        struct stat status {};
        if (stat(path_.c_str(), &status) != 0) return true;
        device_ = status.st_dev;
        inode_ = status.st_ino;
        identified_ = true;
    }
    // The descriptor found last time may have been closed and its number given to another file.
    if (descriptor_ < 0 || !isTheFile(descriptor_)) descriptor_ = findDescriptor();
    if (descriptor_ < 0) return true;
    // A lock this process holds never conflicts with its own probe: only others' locks answer.
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = kSharedFirst;
    probe.l_len = kSharedSize;
    if (fcntl(descriptor_, F_GETLK, &probe) != 0) return true;
    return probe.l_type != F_UNLCK;
}

}  // namespace tolvane
