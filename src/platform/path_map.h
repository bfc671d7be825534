// Maps the Windows paths found in INI files and tables to the Linux paths the program opens.
// Never touches the disk beyond looking: it creates, moves and deletes nothing.
#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// The mapping, in order:
// - An empty path stays empty. A path that starts with "/" and holds no backslash is already a
//   Linux path and comes back untouched.
// - Backslashes become slashes; repeated separators collapse to one.
// - A drive letter, "C:\Dati\pelmor.mdb" (or "C:Dati", "c:/Dati"), maps to the folder in the
//   environment variable TOLVANE_DRIVE_C (the letter in upper case), or by default to
//   $HOME/.local/share/tolvane/drive_c (the letter in lower case).
// - A network name, "\\server\share\dir\file", maps to $TOLVANE_UNC_ROOT/server/share/dir/file,
//   by default $HOME/.local/share/tolvane/unc/server/share/dir/file.
// - A path rooted without a drive, "\Dati\x.mdb", is taken on drive C.
// - A relative path, "dati\ditta01.mdb", stays relative (to the working folder).
// - Below a drive, "." and ".." are resolved on the text and stop at the drive's folder
//   ("C:\..\x" is "C:\x"); below a network name they stop at the share.
// - Windows names are caseless: when the mapped path does not exist, each component below the
//   drive or network root is looked up without regard to case ("DATI" finds "dati"; among
//   several matches the first in byte order wins). Components that exist in no spelling are
//   kept as written, so a file still to be created maps where it would be.
std::string mapWindowsPath(std::string_view path);

}  // namespace tolvane
