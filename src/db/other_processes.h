// Whether another process has an SQLite database open. While a connection has a database open in
// WAL mode, SQLite keeps a shared lock on the file's shared-lock bytes, which fcntl shows to every
// other process. Never opens or closes the file: closing any descriptor of it would drop every
// lock this process holds on it, so the question goes through the descriptor SQLite already has.
#pragma once

#include <sys/types.h>

#include <string>

namespace tolvane {

class OtherProcesses {
  public:
    explicit OtherProcesses(const std::string& path);

    // True when another process has the database open in WAL mode, or when this cannot be told
    // (no descriptor of the file found). Connections of this same process never show.
    bool holdTheFile();

  private:
    bool isTheFile(int descriptor) const;
    int findDescriptor() const;

    std::string path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    bool identified_ = false;
    int descriptor_ = -1;
};

}  // namespace tolvane
