// Streaming line reader for the batch input files: blocks of 1 MiB decoded to UTF-8, then split.
// Never keeps more than a block plus the longest line allowed; never copies byte by byte.
#include "platform/text_file_reader.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/numbered_error.h"
#include "platform/text.h"
#include "platform/utf8_check.h"

namespace tolvane {

namespace {

constexpr std::size_t kBlockSize = 1 << 20;

// The first CR or LF from p, or end: the first LF bounds the search for a CR.
const char* lineEnd(const char* p, const char* end) {
    const auto* lf =
        static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* stop = lf ? lf : end;
    const auto* cr =
        static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
    return cr ? cr : stop;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string normalizedName(std::string_view name) {
    std::string result;
    for (const char c : name) {
        if (c == '-' || c == '_' || c == ' ') continue;
        result += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return result;
}

bool isWindows1252Name(const std::string& n) {
    return n.empty() || n == "WINDOWS1252" || n == "CP1252" || n == "1252" || n == "ANSI";
}

bool isUtf8Name(const std::string& n) { return n == "UTF8"; }

// Bytes at the end of s that start a UTF-8 sequence the next block completes.
std::size_t incompleteTail(std::string_view s) {
    const std::size_t limit = s.size() < 3 ? s.size() : 3;
    for (std::size_t back = 1; back <= limit; ++back) {
        const auto c = static_cast<unsigned char>(s[s.size() - back]);
        if ((c & 0xC0) == 0x80) continue;
        const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return need > back ? back : 0;
    }
    return 0;
}

[[noreturn]] void readFailed(const std::string& path) {
    throw NumberedError(errnum::FileAccess, "Impossibile leggere il file " + path,
                        "TextFileReader");
}

}  // namespace

class TextFileReader::Decoder {
  public:
    virtual ~Decoder() = default;
    // Appends the UTF-8 of bytes to out; last flushes what an unfinished sequence held back.
    virtual void decode(std::string_view bytes, bool last, std::string& out) = 0;
};

namespace {

// Keeps the bytes as read: the reader decodes each Windows-1252 line by itself.
class LineByLineDecoder final : public TextFileReader::Decoder {
  public:
    void decode(std::string_view bytes, bool, std::string& out) override { out.append(bytes); }
};

class Utf8Decoder final : public TextFileReader::Decoder {
  public:
    void decode(std::string_view bytes, bool last, std::string& out) override {
        std::string joined;
        std::string_view chunk = bytes;
        if (!pending_.empty()) {
            joined = pending_;
            joined.append(bytes);
            chunk = joined;
        }
        const std::size_t tail = last ? 0 : incompleteTail(chunk);
        const std::string next(chunk.substr(chunk.size() - tail));
        chunk.remove_suffix(tail);
        if (isValidUtf8(chunk)) {
            out.append(chunk);
        } else {
            out += repairUtf8(chunk);
        }
        pending_ = next;
    }

  private:
    std::string pending_;
};

class IconvDecoder final : public TextFileReader::Decoder {
  public:
    explicit IconvDecoder(iconv_t cd) : cd_(cd) {}
    ~IconvDecoder() override { ::iconv_close(cd_); }

    void decode(std::string_view bytes, bool last, std::string& out) override {
        std::string input = std::move(pending_);
        pending_.clear();
        input.append(bytes);
        char* in = input.data();
        std::size_t inLeft = input.size();
        while (inLeft > 0) {
            const std::size_t before = out.size();
            out.resize(before + inLeft * 4 + 16);
            char* o = out.data() + before;
            std::size_t outLeft = out.size() - before;
            const std::size_t r = ::iconv(cd_, &in, &inLeft, &o, &outLeft);
            out.resize(out.size() - outLeft);
            if (r != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            if (errno == EINVAL && !last) {
                pending_.assign(in, inLeft);
                return;
            }
            // An invalid byte, or an unfinished sequence at the end of the file.
            out.append(kReplacement);
            ++in;
            --inLeft;
        }
        if (last) {
            char tail[16];
            char* o = tail;
            std::size_t outLeft = sizeof tail;
            ::iconv(cd_, nullptr, nullptr, &o, &outLeft);
            out.append(tail, sizeof tail - outLeft);
        }
    }

  private:
    iconv_t cd_;
    std::string pending_;
};

std::unique_ptr<TextFileReader::Decoder> makeDecoder(std::string_view encoding) {
    const std::string name = normalizedName(encoding);
    if (isWindows1252Name(name)) return std::make_unique<LineByLineDecoder>();
    if (isUtf8Name(name)) return std::make_unique<Utf8Decoder>();
    const std::string wanted(encoding);
    const iconv_t cd = ::iconv_open("UTF-8", wanted.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw NumberedError(errnum::InvalidCall, "Codifica dei caratteri sconosciuta: " + wanted,
                            "TextFileReader");
    }
    return std::make_unique<IconvDecoder>(cd);
}

}  // namespace

TextFileReader::TextFileReader(const std::string& path, std::string_view encoding)
    : path_(path),
      decoder_(makeDecoder(encoding)),
      perLine_(isWindows1252Name(normalizedName(encoding))) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            throw NumberedError(errnum::FileNotFound, "File non trovato: " + path,
                                "TextFileReader");
        }
        readFailed(path);
    }
    raw_.resize(kBlockSize);
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode)) size_ = info.st_size;
}

double TextFileReader::shareRead() const {
    if (size_ < 0) return -1;
    if (size_ == 0) return 1;
    const long long waiting = static_cast<long long>(buffer_.size() - pos_);
    const long long done = std::clamp(bytesRead_ - waiting, 0LL, size_);
    return static_cast<double>(done) / static_cast<double>(size_);
}

TextFileReader::~TextFileReader() {
    if (fd_ >= 0) ::close(fd_);
}

bool TextFileReader::fill() {
    if (sourceDone_) return false;
    if (pos_ > 0) {
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
    ssize_t n;
    do {
        n = ::read(fd_, raw_.data(), raw_.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) readFailed(path_);
    bytesRead_ += n;
    if (n == 0) {
        decoder_->decode({}, true, buffer_);
        sourceDone_ = true;
        if (!buffer_.empty() && buffer_.back() == '\x1A') buffer_.pop_back();
        return false;
    }
    std::string_view bytes(raw_.data(), static_cast<std::size_t>(n));
    if (firstBlock_) {
        firstBlock_ = false;
        if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
            bytes.remove_prefix(kUtf8Bom.size());
            decoder_ = std::make_unique<Utf8Decoder>();
            perLine_ = false;
        }
    }
    decoder_->decode(bytes, false, buffer_);
    return true;
}

void TextFileReader::deliver(std::string_view bytes, std::string& line) const {
    if (!perLine_ || isAscii(bytes) || isValidUtf8(bytes)) line.assign(bytes);
    else fromWindows1252(bytes, line);
}

// The start of a line longer than allowed, then the rest of it skipped block by block.
void TextFileReader::cutLongLine(std::string& line) {
    std::string_view start(buffer_.data() + pos_,
                           std::min(buffer_.size() - pos_, kCutLineKeeps * 4));
    start.remove_suffix(incompleteTail(start));
    deliver(start, line);
    line = Left(line, static_cast<long>(kCutLineKeeps));
    lineCut_ = true;
    ++lineNumber_;
    for (;;) {
        const char* const begin = buffer_.data() + pos_;
        const char* const end = buffer_.data() + buffer_.size();
        const char* p = begin;
        p = lineEnd(p, end);
        if (p == end) {
            pos_ = buffer_.size();
            if (sourceDone_) return;
            if (keepSkipping && !keepSkipping()) {
                sourceDone_ = true;
                return;
            }
            fill();
            continue;
        }
        pos_ = static_cast<std::size_t>(p - buffer_.data());
        if (*p == '\r' && p + 1 == end && !sourceDone_) {
            fill();
            continue;
        }
        const char* next = p + 1;
        if (*p == '\r' && next != end && *next == '\n') ++next;
        pos_ = static_cast<std::size_t>(next - buffer_.data());
        return;
    }
}

bool TextFileReader::readLine(std::string& line) {
    lineCut_ = false;
    std::size_t scanned = 0;  // characters after pos_ already known to hold no line end
    for (;;) {
        const char* const begin = buffer_.data() + pos_;
        const char* const end = buffer_.data() + buffer_.size();
        // The end-of-file mark may have been dropped from what was scanned.
        const char* p = begin + std::min(scanned, static_cast<std::size_t>(end - begin));
        p = lineEnd(p, end);
        if (static_cast<std::size_t>(p - begin) > kLongestLine) {
            cutLongLine(line);
            return true;
        }
        if (p != end) {
            // A CR that ends the block may be the first half of a CRLF.
            if (*p == '\r' && p + 1 == end && !sourceDone_) {
                scanned = static_cast<std::size_t>(p - begin);
                fill();
                continue;
            }
            deliver(std::string_view(begin, static_cast<std::size_t>(p - begin)), line);
            const char* next = p + 1;
            if (*p == '\r' && next != end && *next == '\n') ++next;
            pos_ = static_cast<std::size_t>(next - buffer_.data());
            ++lineNumber_;
            return true;
        }
        if (sourceDone_) {
            if (begin == end) {
                line.clear();
                return false;
            }
            deliver(std::string_view(begin, static_cast<std::size_t>(end - begin)), line);
            pos_ = buffer_.size();
            ++lineNumber_;
            return true;
        }
        scanned = static_cast<std::size_t>(end - begin);
        fill();
    }
}

bool TextFileReader::eof() {
    for (;;) {
        const std::size_t left = buffer_.size() - pos_;
        // A lone Ctrl-Z left over is data only when more follows it.
        if (left > 1 || (left == 1 && buffer_.back() != '\x1A')) return false;
        if (sourceDone_) return left == 0;
        fill();
    }
}

}  // namespace tolvane
