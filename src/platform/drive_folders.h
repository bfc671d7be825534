// The folders a person starts browsing from, in place of drive letters: the root, the mount
// points of the machine's disks and the home folder. Reads the mount table; mounts nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// "/" first, then the home folder, then the mount points of block devices (loop devices left
// out), each once. mountTable is the text of /proc/self/mounts; empty: read it.
std::vector<std::string> driveFolders(std::string_view mountTable = {});

// The drive folder holding path: the longest of drives that is path or a folder above it; "/"
// when none is.
std::string driveFolderOf(const std::vector<std::string>& drives, std::string_view path);

}  // namespace tolvane
