// INI files with the Windows profile rules, shared by terminals: caseless sections and keys,
// comments, order, spelling, encoding and line ends kept on rewrite.
// A write never leaves a half-written file: it replaces the file atomically under a lock.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// Profile rules, as the program has always seen them:
// - "[Name]" opens a section; section and key names compare without regard to case; the first
//   section and the first key of a name win.
// - Lines starting with ";" or "#" are comments; lines without "=" are kept but never match.
// - Values are trimmed of blanks; one pair of surrounding double quotes is removed on read.
//   Nothing after the value is a comment: "a ; b" reads as "a ; b".
// - A missing key reads as the default; a missing file reads as an empty file.
// - A new key goes after the last entry of its section; a new section at the end of the file.
// - The file keeps its encoding (UTF-8 with or without BOM, else Windows-1252) and its line end
//   (CRLF or LF); a new file is Windows-1252 with CRLF, unless it must hold a character that
//   Windows-1252 has not.
class IniFile {
  public:
    enum class Encoding { Windows1252, Utf8, Utf8Bom };
    enum class Status { Loaded, Missing, Unreadable };

    IniFile() = default;

    // Missing or unreadable files give an empty profile, as the platform's own reads do.
    static IniFile load(const std::string& path);
    // For start-up: raises 53 when the file is missing, 75 when it cannot be read.
    static IniFile open(const std::string& path);
    static IniFile parse(std::string_view bytes);

    Status status() const { return status_; }
    Encoding encoding() const { return encoding_; }
    const std::string& lineEnd() const { return lineEnd_; }

    bool hasSection(std::string_view section) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    // Leading blanks, optional sign, leading digits: "12abc" is 12, "abc" is 0;
    // a missing key or an empty value gives the default.
    int getInt(std::string_view section, std::string_view key, int defaultValue) const;

    // Edits in memory; each returns whether the text changed.
    // Names and values holding a line break raise 5: they would forge other entries.
    // So does text that is not UTF-8 or that the file's encoding cannot hold (a character
    // outside Windows-1252 in a Windows-1252 file): it would not read back as written.
    // A file of plain ASCII (or a new one) takes UTF-8 for such a character instead.
    bool setString(std::string_view section, std::string_view key, std::string_view value);
    bool removeKey(std::string_view section, std::string_view key);
    bool removeSection(std::string_view section);

    // The file's bytes in its own encoding and line ends.
    std::string serialize() const;

    // Read-modify-write of the file on disk under the lock: the edit gets the file as it is now
    // and returns whether it changed anything; only then the file is replaced atomically.
    // A failure raises 75 naming the file and leaves the file as it was.
    static void update(const std::string& path, const std::function<bool(IniFile&)>& edit);
    static void writeString(const std::string& path, std::string_view section, std::string_view key,
                            std::string_view value);
    static void deleteKey(const std::string& path, std::string_view section, std::string_view key);
    static void deleteSection(const std::string& path, std::string_view section);

  private:
    enum class Kind { Other, Comment, Section, Entry };
    struct Line {
        std::string text;  // UTF-8, without line end
        std::string end;   // "\r\n", "\n" or "" for a last line without one
        Kind kind = Kind::Other;
        std::string name;            // section or key name, trimmed
        std::size_t valueStart = 0;  // Entry: where the value begins in text
    };
    static Line makeLine(std::string text, std::string end);
    bool fits(std::string_view text);
    std::size_t findSection(std::string_view section) const;
    std::size_t sectionEnd(std::size_t header) const;
    std::size_t lastEntry(std::size_t header) const;
    std::size_t findEntry(std::string_view section, std::string_view key) const;

    std::vector<Line> lines_;
    Encoding encoding_ = Encoding::Windows1252;
    std::string lineEnd_ = "\r\n";
    Status status_ = Status::Missing;
};

}  // namespace tolvane
