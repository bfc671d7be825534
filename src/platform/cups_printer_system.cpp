// The printer system over a CUPS print server, through IPP requests and the user's lpoptions.
// Never changes the server's default nor its queues; the lpoptions file is replaced whole, never
// left half-written.
#include "platform/cups_printer_system.h"

#include <cups/cups.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/numbered_error.h"
#include "platform/printer_media.h"
#include "platform/save_file.h"
#include "platform/text.h"
#include "platform/utf8_check.h"

namespace tolvane {

namespace {

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The request's answer when the server accepted it; nullptr otherwise.
Ipp ask(CupsConnection& connection, ipp_t* request, const char* resource) {
    Ipp response = connection.ask(request, resource);
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_EVENTS_COMPLETE) return {};
    return response;
}

std::string text(ipp_attribute_t* attr, int index = 0) {
    const char* value = ippGetString(attr, index, nullptr);
    return value ? value : "";
}

std::vector<std::string> splitLines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        auto end = content.find('\n', start);
        if (end == std::string_view::npos) end = content.size();
        std::string line(content.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The PPD translation text: hex substrings "<E8>" decoded, then taken as UTF-8 when it is,
// else as the Latin-1 family the PPD encodings name.
std::string ppdText(std::string_view raw) {
    std::string bytes;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '<') {
            auto close = raw.find('>', i);
            if (close != std::string_view::npos) {
                std::string digits;
                for (char c : raw.substr(i + 1, close - i - 1)) {
                    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
                }
                for (std::size_t d = 0; d + 1 < digits.size(); d += 2) {
                    bytes += static_cast<char>(std::stoi(digits.substr(d, 2), nullptr, 16));
                }
                i = close;
                continue;
            }
        }
        bytes += raw[i];
    }
    return isValidUtf8(bytes) ? bytes : fromWindows1252(bytes);
}

// An lpoptions line: keyword ("Dest", "Default"), destination ("name" or "name/instance") and
// the options after it, blanks included.
struct LpoptionsLine {
    std::string keyword;
    std::string dest;
    std::string options;

    explicit LpoptionsLine(const std::string& line) {
        std::size_t at = 0;
        keyword = token(line, at);
        dest = token(line, at);
        options = line.substr(at);
    }
    std::string name() const { return dest.substr(0, dest.find('/')); }
    bool instance() const { return dest.find('/') != std::string::npos; }

  private:
    static std::string token(const std::string& line, std::size_t& at) {
        const auto start = line.find_first_not_of(" \t", at);
        if (start == std::string::npos) {
            at = line.size();
            return {};
        }
        at = std::min(line.find_first_of(" \t", start), line.size());
        return line.substr(start, at - start);
    }
};

void numberChoices(std::vector<PrinterChoice>& choices, const std::vector<int>& numbers) {
    for (std::size_t i = 0; i < choices.size(); ++i) choices[i].number = numbers[i];
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

std::string cupsQueueAddress(const std::string& server, const std::string& name) {
    std::string host;
    int port = 0;
    cupsServerAddress(server, host, port);
    std::string address = "ipp://";
    if (cupsHostIsLocal(host)) {
        address += "localhost";
    } else {
        address += host.find(':') != std::string::npos ? "[" + host + "]" : host;
    }
    if (!host.empty() && host.front() != '/' && port != 631) address += ":" + std::to_string(port);
    return address + cupsPrinterResource(name);
}

PpdMedia readPpdMedia(std::string_view ppd) {
    PpdMedia media;
    std::string defaultPage;
    bool inValue = false;
    for (const auto& line : splitLines(ppd)) {
        const auto quotes = std::count(line.begin(), line.end(), '"');
        if (inValue) {
            if (quotes % 2 == 1) inValue = false;
            continue;
        }
        if (line.rfind("*%", 0) == 0 || line.empty() || line.front() != '*') continue;
        if (quotes % 2 == 1) inValue = true;

        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        if (line.rfind("*DefaultPageSize:", 0) == 0) {
            defaultPage = Trim(line.substr(colon + 1));
            continue;
        }
        std::vector<PrinterChoice>* list = nullptr;
        std::vector<std::string>* keywords = nullptr;
        if (line.rfind("*InputSlot ", 0) == 0) {
            list = &media.trays;
            keywords = &media.trayKeywords;
        } else if (line.rfind("*PageSize ", 0) == 0) {
            list = &media.paperSizes;
            keywords = &media.paperKeywords;
        }
        if (!list) continue;

        const auto option = Trim(line.substr(line.find(' '), colon - line.find(' ')));
        const auto slash = option.find('/');
        const auto keyword = option.substr(0, slash);
        const auto translation =
            slash == std::string::npos ? std::string() : option.substr(slash + 1);
        if (keyword.empty()) continue;
        list->push_back({0, translation.empty() ? keyword : ppdText(translation)});
        keywords->push_back(keyword);
    }
    numberChoices(media.trays, trayNumbers(media.trayKeywords));
    numberChoices(media.paperSizes, paperNumbers(media.paperKeywords));
    for (std::size_t i = 0; i < media.paperKeywords.size(); ++i) {
        if (media.paperKeywords[i] == defaultPage) {
            media.defaultPaperSize = media.paperSizes[i].number;
            break;
        }
    }
    return media;
}

std::string lpoptionsDefault(std::string_view lpoptions) {
    std::string name;
    for (const auto& line : splitLines(lpoptions)) {
        const LpoptionsLine parsed(line);
        if (equalText(parsed.keyword, "Default")) name = parsed.name();
    }
    return name;
}

std::string lpoptionsWithDefault(std::string_view lpoptions, const std::string& name) {
    std::string out;
    bool placed = name.empty();
    for (const auto& line : splitLines(lpoptions)) {
        const LpoptionsLine parsed(line);
        const bool isDefault = equalText(parsed.keyword, "Default");
        if (!placed && (isDefault || equalText(parsed.keyword, "Dest")) && !parsed.instance() &&
            equalText(parsed.dest, name)) {
            out += "Default " + parsed.dest + parsed.options + "\n";
            placed = true;
        } else if (isDefault) {
            // A former default with nothing of its own to keep needs no line.
            if (parsed.instance() || !Trim(parsed.options).empty()) {
                out += "Dest " + parsed.dest + parsed.options + "\n";
            }
        } else {
            out += line + "\n";
        }
    }
    if (!placed) out += "Default " + name + "\n";
    return out;
}

CupsPrinterSystem::CupsPrinterSystem(std::string server, std::string lpoptionsFile,
                                     int timeoutSeconds)
    : server_(std::move(server)),
      lpoptionsFile_(std::move(lpoptionsFile)),
      timeoutSeconds_(timeoutSeconds) {
    if (lpoptionsFile_.empty()) {
        const char* home = std::getenv("HOME");
        if (home && *home) lpoptionsFile_ = std::string(home) + "/.cups/lpoptions";
    }
}

std::vector<PrinterInfo> CupsPrinterSystem::printers() {
    std::vector<PrinterInfo> list;
    CupsConnection connection(server_, timeoutSeconds_);
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    static const char* const wanted[] = {"printer-name", "device-uri", "printer-make-and-model"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr,
                  wanted);
    auto response = ask(connection, request, "/");
    if (!response) return list;

    PrinterInfo current;
    auto flush = [&] {
        if (!current.name.empty()) list.push_back(current);
        current = {};
    };
    for (auto* attr = ippFirstAttribute(response.get()); attr;
         attr = ippNextAttribute(response.get())) {
        const char* name = ippGetName(attr);
        if (!name || ippGetGroupTag(attr) != IPP_TAG_PRINTER) {
            flush();
            continue;
        }
        const std::string_view key = name;
        if (key == "printer-name") current.name = text(attr);
        else if (key == "device-uri") current.device = text(attr);
        else if (key == "printer-make-and-model") current.driver = text(attr);
    }
    flush();
    for (PrinterInfo& printer : list) printer.port = cupsQueueAddress(server_, printer.name);
    return list;
}

std::string CupsPrinterSystem::serverDefault() {
    CupsConnection connection(server_, timeoutSeconds_);
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_DEFAULT);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-name");
    auto response = ask(connection, request, "/");
    if (!response) return {};
    return text(ippFindAttribute(response.get(), "printer-name", IPP_TAG_NAME));
}

std::string CupsPrinterSystem::userDefault() {
    if (lpoptionsFile_.empty()) return {};
    return lpoptionsDefault(readFile(lpoptionsFile_));
}

std::string CupsPrinterSystem::defaultPrinter() {
    auto name = userDefault();
    return name.empty() ? serverDefault() : name;
}

bool CupsPrinterSystem::setUserDefault(const std::string& name) {
    if (lpoptionsFile_.empty() || name.find_first_of(" \t\r\n/") != std::string::npos) {
        return false;
    }
    namespace fs = std::filesystem;
    const fs::path target(lpoptionsFile_);
    std::error_code error;
    if (target.has_parent_path() && !fs::exists(target.parent_path(), error)) {
        if (!fs::create_directories(target.parent_path(), error)) return false;
        ::chmod(target.parent_path().c_str(), 0700);
    }
    const auto content = lpoptionsWithDefault(readFile(lpoptionsFile_), name);

    try {
        SaveFile::Options options;
        options.newMode = 0644;
        saveFile(lpoptionsFile_, content, options);
    } catch (const NumberedError&) {
        return false;
    }
    return true;
}

CupsPrinterSystem::Media CupsPrinterSystem::media(const std::string& name) {
    Media media;
    if (name.empty()) return media;
    CupsConnection connection(server_, timeoutSeconds_);
    if (!connection.http()) return media;

    std::unique_ptr<std::FILE, FileClose> file(std::tmpfile());
    if (!file) return media;
    const auto resource = cupsPrinterResource(name) + ".ppd";
    if (connection.getFile(resource.c_str(), fileno(file.get())) == HTTP_STATUS_OK) {
        std::string content;
        std::rewind(file.get());
        char buffer[8192];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
            content.append(buffer, n);
        }
        auto ppd = readPpdMedia(content);
        media.trays = std::move(ppd.trays);
        media.paperSizes = std::move(ppd.paperSizes);
        media.defaultPaperSize = ppd.defaultPaperSize;
        media.trayOption = "InputSlot";
        media.paperOption = "PageSize";
        media.trayKeywords = std::move(ppd.trayKeywords);
        media.paperKeywords = std::move(ppd.paperKeywords);
        return media;
    }

    // A server that did not answer is not asked again.
    if (connection.failure() != CupsConnection::Failure::None) return media;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", name.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const wanted[] = {"media-source-supported", "media-supported",
                                         "media-default"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr,
                  wanted);
    auto response = ask(connection, request, resource.substr(0, resource.size() - 4).c_str());
    if (!response) return media;
    auto fill = [&](const char* attribute, std::vector<PrinterChoice>& list,
                    std::vector<std::string>& keywords) {
        auto* attr = ippFindAttribute(response.get(), attribute, IPP_TAG_ZERO);
        for (int i = 0; attr && i < ippGetCount(attr); ++i) {
            list.push_back({0, text(attr, i)});
            keywords.push_back(text(attr, i));
        }
    };
    fill("media-source-supported", media.trays, media.trayKeywords);
    fill("media-supported", media.paperSizes, media.paperKeywords);
    numberChoices(media.trays, trayNumbers(media.trayKeywords));
    numberChoices(media.paperSizes, paperNumbers(media.paperKeywords));
    media.trayOption = "media-source";
    media.paperOption = "media";
    const auto paper = text(ippFindAttribute(response.get(), "media-default", IPP_TAG_ZERO));
    for (std::size_t i = 0; i < media.paperKeywords.size(); ++i) {
        if (!paper.empty() && media.paperKeywords[i] == paper)
            media.defaultPaperSize = media.paperSizes[i].number;
    }
    return media;
}

std::vector<PrinterChoice> CupsPrinterSystem::trays(const std::string& name) {
    return media(name).trays;
}

std::vector<PrinterChoice> CupsPrinterSystem::paperSizes(const std::string& name) {
    return media(name).paperSizes;
}

int CupsPrinterSystem::defaultPaperSize(const std::string& name) {
    return media(name).defaultPaperSize;
}

std::vector<std::pair<std::string, std::string>> CupsPrinterSystem::mediaOptions(
    const std::string& name, int tray, int paper) {
    std::vector<std::pair<std::string, std::string>> options;
    if (tray <= 0 && paper <= 0) return options;
    const auto found = media(name);
    auto add = [&](const std::string& option, const std::vector<PrinterChoice>& choices,
                   const std::vector<std::string>& keywords, int n) {
        for (std::size_t i = 0; n > 0 && i < choices.size(); ++i)
            if (choices[i].number == n) options.emplace_back(option, keywords[i]);
    };
    add(found.trayOption, found.trays, found.trayKeywords, tray);
    add(found.paperOption, found.paperSizes, found.paperKeywords, paper);
    return options;
}

std::string CupsPrinterSystem::silentServer() {
    return printServerSilent(server_) ? cupsServerName(server_) : std::string();
}

}  // namespace tolvane
