// Lays the declared fields of a long page of frmDatiAzie out in side-by-side columns of rows,
// so that the page fits its picture. It only moves controls: it never creates, hides or fills one.
#pragma once

#include <vector>

namespace tolvane {

class frmDatiAzie;

struct ColonnaPagina {
    std::vector<int> campi;  // field numbers, top to bottom
    double larghezzaDidascalia = 2700;
};

// Each field takes one row (an option group one row per button and one for its frame):
// caption, then the field or the control that mirrors it, its "..." button and its description.
void DisponiInColonne(frmDatiAzie& f, int piPagina, const std::vector<ColonnaPagina>& colonne);

}  // namespace tolvane
