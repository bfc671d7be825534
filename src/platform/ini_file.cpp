// INI files with the Windows profile rules; see ini_file.h for the rules themselves.
// Never writes in place: a new file is written beside the old one and renamed over it.
#include "platform/ini_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/numbered_error.h"
#include "platform/save_file.h"
#include "platform/text.h"
#include "platform/utf8_check.h"

namespace tolvane {

namespace {

constexpr std::size_t npos = std::string::npos;

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

[[noreturn]] void invalidArgument(const std::string& what) {
    throw NumberedError(errnum::InvalidCall, "Valore non valido per un file ini: " + what,
                        "IniFile");
}

void checkName(std::string_view section, std::string_view key) {
    const std::string_view s = trimBlanks(section);
    if (s.empty() || hasLineBreak(section) || section.find(']') != std::string_view::npos) {
        invalidArgument("sezione \"" + std::string(section) + "\"");
    }
    const std::string_view k = trimBlanks(key);
    if (k.empty() || hasLineBreak(key) || key.find('=') != std::string_view::npos ||
        k.front() == ';' || k.front() == '#' || k.front() == '[') {
        invalidArgument("chiave \"" + std::string(key) + "\"");
    }
}

std::string systemReason(int error) { return std::strerror(error); }

[[noreturn]] void writeFailed(const std::string& path, int error) {
    throw NumberedError(errnum::FileAccess,
                        "Impossibile aggiornare il file " + path + " (" + systemReason(error) + ")",
                        "IniFile");
}

// The outcome of reading a whole file; errno kept to tell missing from unreadable.
struct FileBytes {
    bool ok = false;
    int error = 0;
    std::string bytes;
};

FileBytes readAll(const std::string& path) {
    FileBytes result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = errno;
        return result;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.error = errno;
            ::close(fd);
            return result;
        }
        if (n == 0) break;
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    result.ok = true;
    return result;
}

// Terminals share the common INI: one writer at a time, on a sibling file that never moves.
class WriteLock {
  public:
    explicit WriteLock(const std::string& path) {
        const std::string lockPath = path + ".lock";
        fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) writeFailed(path, errno);
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd_);
            writeFailed(path, error);
        }
    }
    ~WriteLock() { ::close(fd_); }  // closing releases the lock
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

  private:
    int fd_ = -1;
};

// A link to the INI stays a link: the file it points to is the one replaced.
std::string resolveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
    }
    return path;
}

}  // namespace

IniFile::Line IniFile::makeLine(std::string text, std::string end) {
    Line line;
    line.text = std::move(text);
    line.end = std::move(end);
    const std::string_view t = trimBlanks(line.text);
    if (t.empty()) return line;
    if (t.front() == ';' || t.front() == '#') {
        line.kind = Kind::Comment;
    } else if (t.front() == '[') {
        const auto close = t.find(']');
        line.kind = Kind::Section;
        line.name = std::string(trimBlanks(t.substr(1, close == npos ? npos : close - 1)));
    } else if (const auto eq = line.text.find('='); eq != npos) {
        const std::string_view key = trimBlanks(std::string_view(line.text).substr(0, eq));
        if (!key.empty()) {
            line.kind = Kind::Entry;
            line.name = std::string(key);
            const auto value = line.text.find_first_not_of(" \t", eq + 1);
            line.valueStart = value == npos ? line.text.size() : value;
        }
    }
    return line;
}

IniFile IniFile::parse(std::string_view bytes) {
    IniFile ini;
    ini.status_ = Status::Loaded;
    std::string text;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        ini.encoding_ = Encoding::Utf8Bom;
        text = repairUtf8(bytes.substr(kUtf8Bom.size()));
    } else if (!isAscii(bytes) && isValidUtf8(bytes)) {
        ini.encoding_ = Encoding::Utf8;
        text = std::string(bytes);
    } else {
        ini.encoding_ = Encoding::Windows1252;
        text = fromWindows1252(bytes);
    }

    bool endSeen = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto lf = text.find('\n', start);
        if (lf == npos) {
            ini.lines_.push_back(makeLine(text.substr(start), ""));
            break;
        }
        const bool crlf = lf > start && text[lf - 1] == '\r';
        std::string end = crlf ? "\r\n" : "\n";
        if (!endSeen) {
            ini.lineEnd_ = end;
            endSeen = true;
        }
        ini.lines_.push_back(
            makeLine(text.substr(start, lf - start - (crlf ? 1 : 0)), std::move(end)));
        start = lf + 1;
    }
    return ini;
}

IniFile IniFile::load(const std::string& path) {
    const FileBytes file = readAll(path);
    if (!file.ok) {
        IniFile ini;
        ini.status_ =
            (file.error == ENOENT || file.error == ENOTDIR) ? Status::Missing : Status::Unreadable;
        return ini;
    }
    return parse(file.bytes);
}

IniFile IniFile::open(const std::string& path) {
    IniFile ini = load(path);
    if (ini.status_ == Status::Missing) {
        throw NumberedError(errnum::FileNotFound, "File non trovato: " + path, "IniFile");
    }
    if (ini.status_ == Status::Unreadable) {
        throw NumberedError(errnum::FileAccess, "Impossibile leggere il file " + path, "IniFile");
    }
    return ini;
}

std::size_t IniFile::findSection(std::string_view section) const {
    const std::string_view wanted = trimBlanks(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Section && equalText(lines_[i].name, wanted)) return i;
    }
    return npos;
}

std::size_t IniFile::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
    return i;
}

// Blank lines and comments after a section's last entry usually introduce the next section:
// new keys go before them and a deleted section leaves them in place.
std::size_t IniFile::lastEntry(std::size_t header) const {
    std::size_t last = header;
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind == Kind::Entry ||
            (lines_[i].kind == Kind::Other && !trimBlanks(lines_[i].text).empty())) {
            last = i;
        }
    }
    return last;
}

std::size_t IniFile::findEntry(std::string_view section, std::string_view key) const {
    const std::size_t header = findSection(section);
    if (header == npos) return npos;
    const std::string_view wanted = trimBlanks(key);
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind == Kind::Entry && equalText(lines_[i].name, wanted)) return i;
    }
    return npos;
}

bool IniFile::hasSection(std::string_view section) const { return findSection(section) != npos; }

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    return findEntry(section, key) != npos;
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    const std::size_t i = findEntry(section, key);
    if (i == npos) return std::nullopt;
    std::string_view value =
        trimBlanks(std::string_view(lines_[i].text).substr(lines_[i].valueStart));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::string IniFile::getString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    auto value = find(section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

int IniFile::getInt(std::string_view section, std::string_view key, int defaultValue) const {
    const auto value = find(section, key);
    if (!value || value->empty()) return defaultValue;
    std::size_t i = 0;
    bool negative = false;
    if ((*value)[i] == '+' || (*value)[i] == '-') negative = (*value)[i++] == '-';
    // Wraps like the 32-bit unsigned the platform returns: callers see it as a signed Long.
    std::uint32_t result = 0;
    for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i) {
        result = result * 10u + static_cast<std::uint32_t>((*value)[i] - '0');
    }
    if (negative) result = 0u - result;
    return static_cast<int>(result);
}

// Text the file's encoding cannot hold would come back as '?' (or, broken UTF-8, make the
// whole file read as Windows-1252 next time): it is refused instead. A file of plain ASCII
// has no encoding of its own yet, so it becomes UTF-8 rather than refuse.
bool IniFile::fits(std::string_view text) {
    if (!isValidUtf8(text)) return false;
    if (encoding_ != Encoding::Windows1252 || isAscii(text) ||
        fromWindows1252(toWindows1252(text)) == text) {
        return true;
    }
    for (const Line& line : lines_) {
        if (!isAscii(line.text)) return false;
    }
    encoding_ = Encoding::Utf8;
    return true;
}

bool IniFile::setString(std::string_view section, std::string_view key, std::string_view value) {
    checkName(section, key);
    if (hasLineBreak(value)) invalidArgument("valore della chiave \"" + std::string(key) + "\"");
    if (!fits(section) || !fits(key) || !fits(value)) {
        invalidArgument("carattere non rappresentabile nella codifica del file, chiave \"" +
                        std::string(key) + "\"");
    }

    if (const std::size_t i = findEntry(section, key); i != npos) {
        Line& line = lines_[i];
        if (std::string_view(line.text).substr(line.valueStart) == value) return false;
        line.text = line.text.substr(0, line.valueStart) + std::string(value);
        return true;
    }
    Line entry = makeLine(std::string(trimBlanks(key)) + "=" + std::string(value), lineEnd_);
    if (const std::size_t header = findSection(section); header != npos) {
        const std::size_t at = lastEntry(header);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at + 1), std::move(entry));
        return true;
    }
    lines_.push_back(makeLine("[" + std::string(trimBlanks(section)) + "]", lineEnd_));
    lines_.push_back(std::move(entry));
    return true;
}

bool IniFile::removeKey(std::string_view section, std::string_view key) {
    const std::size_t i = findEntry(section, key);
    if (i == npos) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
}

bool IniFile::removeSection(std::string_view section) {
    const std::size_t header = findSection(section);
    if (header == npos) return false;
    const std::size_t last = lastEntry(header);
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(last + 1));
    return true;
}

std::string IniFile::serialize() const {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string& line = lines_[i].text;
        text += line;
        if (!lines_[i].end.empty() || i + 1 == lines_.size()) {
            text += lines_[i].end;
        } else {
            // The last line of the file gets an end before what was added after it; a CR it
            // ends with must stay part of it, not become half of a CRLF.
            text += !line.empty() && line.back() == '\r' ? "\r\n" : lineEnd_;
        }
    }
    switch (encoding_) {
        case Encoding::Utf8Bom:
            return std::string(kUtf8Bom) + text;
        case Encoding::Utf8:
            return text;
        case Encoding::Windows1252:
            break;
    }
    return toWindows1252(text);
}

void IniFile::update(const std::string& path, const std::function<bool(IniFile&)>& edit) {
    const std::string target = resolveTarget(path);
    const WriteLock lock(target);
    IniFile ini = load(target);
    if (ini.status_ == Status::Unreadable) {
        // Rewriting what could not be read would lose it.
        throw NumberedError(errnum::FileAccess, "Impossibile leggere il file " + path, "IniFile");
    }
    if (!edit(ini)) return;
    SaveFile::Options options;
    options.source = "IniFile";
    saveFile(target, ini.serialize(), options);
}

void IniFile::writeString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view value) {
    update(path, [&](IniFile& ini) { return ini.setString(section, key, value); });
}

void IniFile::deleteKey(const std::string& path, std::string_view section, std::string_view key) {
    update(path, [&](IniFile& ini) { return ini.removeKey(section, key); });
}

void IniFile::deleteSection(const std::string& path, std::string_view section) {
    update(path, [&](IniFile& ini) { return ini.removeSection(section); });
}

}  // namespace tolvane
