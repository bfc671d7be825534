// The one way this program writes a file: whole, under a temporary name beside the target, then
// committed into place with file and folder synced, or discarded. Never leaves a half-written
// target behind and never widens the mode of a file it replaces.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace tolvane {

class SaveFile {
  public:
    struct Options {
        // The mode of a new file; -1: what the umask gives (0666 less the mask). A replaced
        // file keeps its own mode.
        int newMode = -1;
        // Never replace: commit puts the file in place only when the target does not exist yet.
        bool neverReplace = false;
        // The error's source in the raised message.
        std::string source = "SaveFile";
    };

    // Creates the temporary file; raises 75 naming the target when it cannot.
    explicit SaveFile(std::string target);
    SaveFile(std::string target, Options options);
    // Discards the temporary file unless it was committed.
    ~SaveFile();
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    void write(std::string_view bytes);
    // Appends the whole content of the file at source; raises 75 when it cannot be read.
    void writeFrom(const std::string& source);
    // For writers that take a descriptor or a path: the temporary file's.
    int fd() const { return fd_; }
    const std::string& temporaryPath() const { return temporary_; }
    const std::string& target() const { return target_; }

    // Syncs the file, moves it into place and syncs the folder. False only in never-replace
    // mode when the target exists (the temporary file is then discarded); raises 75 on failure.
    bool commit();
    void discard();

  private:
    [[noreturn]] void fail(int error);

    std::string target_;
    std::string temporary_;
    Options options_;
    int fd_ = -1;
    bool done_ = false;
};

// The whole content at once; raises 75 on failure.
void saveFile(const std::string& target, std::string_view bytes, SaveFile::Options options = {});

}  // namespace tolvane
