// Lays the declared fields of a long page of frmDatiAzie out in side-by-side columns of rows,
// or in one column with heading rows, so that the page fits its picture. It moves controls and
// adds the headings it is given; it never hides or fills a field.
#pragma once

#include <string>
#include <vector>

namespace tolvane {

class frmDatiAzie;
struct PaginaDatiAzie;

struct ColonnaPagina {
    std::vector<int> campi;  // field numbers, top to bottom
    double larghezzaDidascalia = 2700;
};

// Each field takes one row (an option group one row per button and one for its frame):
// caption, then the field or the control that mirrors it, its "..." button and its description.
void DisponiInColonne(frmDatiAzie& f, int piPagina, const std::vector<ColonnaPagina>& colonne);

struct Intestazione {
    int campo;  // the heading stands on its own row above this field
    std::string testo;
};

// Lays the page's rows again, in the order of its declared fields, each heading on a row of its
// own above its field; the rows come closer together so that the extra ones still fit.
void IntestazioniSopra(frmDatiAzie& f, const PaginaDatiAzie& pagina,
                       const std::vector<Intestazione>& intestazioni);

}  // namespace tolvane
