// Whole-file writes by temporary name and rename (or link, when nothing may be replaced).
// Never leaves the temporary file behind, whatever way the write ends.
#include "platform/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/numbered_error.h"
#include "platform/scope_guard.h"

namespace tolvane {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t umaskMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The rename is done and visible; syncing the folder only hardens it against a power cut, so a
// folder that refuses fsync does not turn a good write into a failure.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

SaveFile::SaveFile(std::string target) : SaveFile(std::move(target), Options{}) {}

SaveFile::SaveFile(std::string target, Options options)
    : target_(std::move(target)), options_(std::move(options)) {
    const auto slash = target_.rfind('/');
    const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    temporary_ = folderOf(target_) + "/." + base + ".tmpXXXXXX";
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        done_ = true;
        fail(errno);
    }
    struct stat existing {};
    mode_t mode = 0;
    if (!options_.neverReplace && ::stat(target_.c_str(), &existing) == 0 &&
        S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & 07777;
    } else {
        mode = options_.newMode >= 0 ? static_cast<mode_t>(options_.newMode) : umaskMode();
    }
    if (::fchmod(fd_, mode) != 0) fail(errno);
}

SaveFile::~SaveFile() { discard(); }

void SaveFile::fail(int error) {
    discard();
    throw NumberedError(
        errnum::FileAccess,
        "Impossibile scrivere il file " + target_ + " (" + std::strerror(error) + ")",
        options_.source);
}

void SaveFile::write(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
}

void SaveFile::writeFrom(const std::string& source) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) fail(errno);
    const ScopeGuard closeSource([in] { ::close(in); });
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(errno);
        if (n == 0) break;
        write(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
}

bool SaveFile::commit() {
    if (done_) return false;
    if (::fsync(fd_) != 0) fail(errno);
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) fail(errno);
    if (options_.neverReplace) {
        const bool linked = ::link(temporary_.c_str(), target_.c_str()) == 0;
        const int error = errno;
        if (!linked && error != EEXIST) fail(error);
        discard();
        if (!linked) return false;
    } else {
        if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail(errno);
        done_ = true;
    }
    syncFolder(folderOf(target_));
    return true;
}

void SaveFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!done_) ::unlink(temporary_.c_str());
    done_ = true;
}

void saveFile(const std::string& target, std::string_view bytes, SaveFile::Options options) {
    SaveFile file(target, std::move(options));
    file.write(bytes);
    file.commit();
}

}  // namespace tolvane
