// Times the list print engine on a generated 12-column list: pages drawn to a PDF file and to
// preview images, and the peak memory of a PDF print (in a child process of its own, so that
// each size is measured alone), also with a value of a megabyte. Never times the making of the
// list.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "output/list_page_drawing.h"
#include "output/page_output.h"
#include "suite/opzioni/opz_stampa.h"
#include "suite/stampa/motore_stampa_lista.h"

using namespace tolvane;
namespace fs = std::filesystem;

namespace {

PrintList makeList(int rows) {
    PrintList list;
    list.title = "Elenco articoli";
    list.captions = {"Codice", "Descrizione", "Gruppo", "Um",   "Prezzo", "Costo",
                     "Qta",    "Scorta",      "Peso",   "Data", "Note",   "Attivo"};
    for (int i = 1; i <= rows; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "A%07d", i);
        const std::string n = std::to_string(i);
        list.rows.push_back({code, "Articolo di prova numero " + n + " è €",
                             "G" + std::to_string(i % 40), "PZ", std::to_string(i % 5000) + ",50",
                             std::to_string(i % 3000) + ",25", std::to_string(i % 97),
                             std::to_string(i % 11), "1,5", "31/12/2024", "nota " + n,
                             i % 2 ? "S" : "N"});
    }
    return list;
}

double seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One PDF print of the list; its pages.
int printPdf(const PrintList& list, const std::string& path) {
    auto engine = std::make_shared<MotoreStampaLista>(std::make_shared<OpzStampa>("Bench"), list,
                                                      PageSetup{});
    if (!engine->savePdf(path)) throw std::runtime_error("print stopped");
    return engine->pageCount();
}

// The peak of a PDF print alone, in a child that makes its own list (with a 1 MB description
// in its first row when asked); the child tells through a pipe how much of it the list itself
// holds. -1 when the child failed.
double peakOfPrint(int rows, bool megabyte, const std::string& pdf, double& listMb) {
    int channel[2];
    if (pipe(channel) != 0) throw std::runtime_error("pipe");
    const pid_t child = fork();
    if (child == 0) {
        PrintList own = makeList(rows);
        if (megabyte) {
            std::string& value = own.rows[0][1];
            value.clear();
            while (value.size() < (std::size_t{1} << 20)) value += "parola ";
        }
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const double held = before.ru_maxrss / 1024.0;
        if (write(channel[1], &held, sizeof held) != sizeof held) _exit(1);
        printPdf(own, pdf);
        _exit(0);
    }
    close(channel[1]);
    if (read(channel[0], &listMb, sizeof listMb) != sizeof listMb) listMb = -1;
    close(channel[0]);
    rusage usage{};
    int childStatus = 0;
    if (child > 0 && wait4(child, &childStatus, 0, &usage) == child && childStatus == 0) {
        return usage.ru_maxrss / 1024.0;
    }
    return -1;
}

}  // namespace

int main() {
    const fs::path folder =
        fs::temp_directory_path() / ("tolvane-bench-print-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string pdf = (folder / "stampa.pdf").string();
    int status = 0;
    try {
        for (int rows : {1000, 10000}) {
            const PrintList list = makeList(rows);

            auto start = std::chrono::steady_clock::now();
            const int pages = printPdf(list, pdf);
            const double pdfRate = pages / seconds(start);

            start = std::chrono::steady_clock::now();
            ListPageDrawing drawing(list, PageSetup{});
            for (int p = 1; p <= drawing.pageCount(); ++p) pageImage(drawing, p, 1);
            const double previewRate = drawing.pageCount() / seconds(start);

            double listMb = -1;
            const double peak = peakOfPrint(rows, false, pdf, listMb);
            std::printf("%d rows: %d pages\n", rows, pages);
            std::printf("%d rows: print-pdf pages/s=%.1f\n", rows, pdfRate);
            std::printf("%d rows: print-preview pages/s=%.1f\n", rows, previewRate);
            std::printf("%d rows: print-pdf peak-mb=%.1f\n", rows, peak);
            std::printf("%d rows: list alone peak-mb=%.1f\n", rows, listMb);
        }
        // One value of a megabyte among them: the page shows only what its cell can.
        double listMb = -1;
        const double peak = peakOfPrint(10000, true, pdf, listMb);
        std::printf("10000 rows and a 1 MB value: print-pdf peak-mb=%.1f\n", peak);
        std::printf("10000 rows and a 1 MB value: list alone peak-mb=%.1f\n", listMb);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_print: %s\n", e.what());
        status = 1;
    }
    fs::remove_all(folder);
    return status;
}
