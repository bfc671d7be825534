// Column layout of the long pages of frmDatiAzie, and heading rows. Positions in twips inside the
// page picture; the frame's own single-column places are simply overwritten.
#include "companydata/disposizione_colonne.h"

#include <algorithm>

#include "companydata/frm_dati_azie.h"

namespace tolvane {

namespace {

constexpr double kPrimaRiga = 660;
constexpr double kRiga = 360;
constexpr double kAltezza = 300;
constexpr double kLarghezzaHlp = 300;
constexpr double kLarghezzaMirror = 2400;

}  // namespace

void DisponiInColonne(frmDatiAzie& f, int piPagina, const std::vector<ColonnaPagina>& colonne) {
    if (colonne.empty()) return;
    const double larghezzaColonna =
        f.PicPagine(piPagina).width() / static_cast<double>(colonne.size());
    for (std::size_t c = 0; c < colonne.size(); ++c) {
        const ColonnaPagina& colonna = colonne[c];
        const double x0 = static_cast<double>(c) * larghezzaColonna + 120;
        const double xCampo = x0 + colonna.larghezzaDidascalia;
        const double fine = x0 + larghezzaColonna - 240;
        int riga = 0;
        for (int n : colonna.campi) {
            const double y = kPrimaRiga + riga * kRiga;
            if (f.Cornice.exists(n)) {
                ui::Frame& cornice = f.Cornice(n);
                const double altezza = cornice.height();
                cornice.move(x0, y, fine - x0, altezza);
                riga += static_cast<int>((altezza + kRiga - 1) / kRiga);
                continue;
            }
            ++riga;
            if (f.HaDidascalia(n)) {
                f.DidascaliaCampo(n).move(x0, y, colonna.larghezzaDidascalia - 60, kAltezza);
            }
            ui::Control* campo = &f.txt(n);
            double larghezza = std::min(f.txt(n).width(), 1800.0);
            if (f.Che.exists(n)) {
                campo = &f.Che(n);
                larghezza = kLarghezzaHlp;
            } else if (f.Combo.exists(n)) {
                campo = &f.Combo(n);
                larghezza = kLarghezzaMirror;
            }
            campo->move(xCampo, y, larghezza, kAltezza);
            double x = xCampo + campo->width() + 45;
            if (f.ComHlp.exists(n)) {
                f.ComHlp(n).move(x, y, kLarghezzaHlp, kAltezza);
                x += kLarghezzaHlp + 60;
            }
            if (f.Lab.exists(n)) f.Lab(n).move(x, y, std::max(fine - x, 600.0), kAltezza);
        }
    }
}

void IntestazioniSopra(frmDatiAzie& f, const PaginaDatiAzie& pagina,
                       const std::vector<Intestazione>& intestazioni) {
    ui::PictureBox& pic = f.PicPagine(pagina.numero);
    auto spostaIn = [](ui::Control& c, double y) { c.move(c.left(), y, c.width(), c.height()); };
    int riga = 0;
    for (const CampoPagina& campo : pagina.campi) {
        const int n = campo.numero;
        for (const Intestazione& i : intestazioni) {
            if (i.campo != n) continue;
            ui::Label& etichetta = f.add<ui::Label>("LabIntestazione" + std::to_string(n), &pic);
            etichetta.setCaption(i.testo);
            etichetta.move(f.DidascaliaCampo(n).left(), kPrimaRiga + riga * kRiga,
                           pic.width() - f.DidascaliaCampo(n).left() - 240, kAltezza);
            ++riga;
        }
        const double y = kPrimaRiga + riga * kRiga;
        ++riga;
        spostaIn(f.DidascaliaCampo(n), y);
        spostaIn(f.txt(n), y);
        if (f.Che.exists(n)) spostaIn(f.Che(n), y);
        if (f.Combo.exists(n)) spostaIn(f.Combo(n), y);
        if (f.ComHlp.exists(n)) spostaIn(f.ComHlp(n), y);
        if (f.Lab.exists(n)) spostaIn(f.Lab(n), y);
    }
}

}  // namespace tolvane
