// Streaming line reader for the batch input files: any size, read in large blocks, lines in UTF-8.
// Never loads a whole file and never hands out text that is not valid UTF-8.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tolvane {

// Lines end at CRLF, LF or CR, mixed in one file if need be; the last line needs no line end.
// A Ctrl-Z (0x1A) as the very last character of the file is an old end-of-file mark and is
// dropped. Encodings: Windows-1252 by default (also "" , "CP1252", "ANSI"); "UTF-8"; any other
// name that iconv knows ("ISO-8859-1", "UTF-16" ...). A file that starts with a UTF-8 byte order
// mark is read as UTF-8 whatever the name; the mark itself is never part of the first line.
// With Windows-1252, a line that is valid UTF-8 and holds multi-byte sequences is read as
// UTF-8 (text with accented letters in Windows-1252 practically never is), so that files saved
// by today's editors read right. Bytes that are not valid in the encoding become U+FFFD.
// A line is at most kLongestLine bytes: a longer one is returned cut to its first
// kCutLineKeeps characters, with lineCut() true, and the rest of it is skipped unread.
// While a skip goes on, keepSkipping (when set) is asked after every block: false ends the
// reading there, as if the file ended, so that an endless source (a device, a pipe) never
// holds the caller beyond its own stop.
class TextFileReader {
  public:
    static constexpr std::size_t kLongestLine = 1 << 20;
    static constexpr std::size_t kCutLineKeeps = 1000;

    // Raises 53 "File non trovato: <path>" when the file is missing, 75 when it cannot be read,
    // 5 for an encoding nobody knows.
    explicit TextFileReader(const std::string& path, std::string_view encoding = {});
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // The next line without its line end; false, with line emptied, when none is left.
    bool readLine(std::string& line);
    // True when the line last read was longer than kLongestLine and holds only its start.
    bool lineCut() const { return lineCut_; }
    // True when no line is left (EOF): an empty file is at end at once.
    bool eof();
    // Lines returned so far: the number of the last line read, counted from 1.
    long lineNumber() const { return lineNumber_; }
    const std::string& path() const { return path_; }
    // The share of the file's bytes read up to the end of the line last returned, 0 to 1
    // (near it for encodings whose text changes length); -1 when the size is unknown (a pipe).
    double shareRead() const;

    std::function<bool()> keepSkipping;

    class Decoder;  // turns blocks of the file's encoding into UTF-8; defined with the reader

  private:
    bool fill();  // appends the next decoded block to buffer_; false at end of file
    void deliver(std::string_view bytes, std::string& line) const;
    void cutLongLine(std::string& line);

    std::string path_;
    int fd_ = -1;
    std::unique_ptr<Decoder> decoder_;
    std::string raw_;     // one block as read
    std::string buffer_;  // decoded text not yet returned, from pos_
    std::size_t pos_ = 0;
    bool sourceDone_ = false;
    bool firstBlock_ = true;
    bool perLine_ = false;  // Windows-1252: blocks kept as read, each line decoded by itself
    bool lineCut_ = false;
    long lineNumber_ = 0;
    long long size_ = -1;      // of a regular file
    long long bytesRead_ = 0;  // taken from the file so far
};

}  // namespace tolvane
