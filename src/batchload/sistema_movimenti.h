// The journal fix-up run at the end of a batch run: VAT shares, forced VAT accounts, credit-note
// signs, empty prefixes, carriers' VAT periods and second fiscal codes, in a fixed order.
// Never opens a transaction around the phase: what ran stays written when a later statement fails.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace tolvane {

// What the batch window's fields hold when the phase runs.
struct DatiSistemazione {
    struct ContoIva {
        std::string gruppo, mastro, conto;
    };
    std::array<ContoIva, 6> contiIva;
    std::array<std::string, 3> causaliNotaCred;
    // A second causal given without a first one is moved into the first (the window shows it).
    std::string causaleTrasp1, causaleTrasp2;
    std::string periodoIva;  // "M" monthly, anything else quarterly
    bool secondoCodFisc = false;
};

// Runs the statements on the database idDb. primaDellaQuery runs before every statement after
// the first. Raises the first failure; the statements after it are not run.
void SistemaMovimenti(const std::string& idDb, DatiSistemazione& dati,
                      const std::function<void()>& primaDellaQuery = {});

// The VAT year and period that follow a registration's month: the next month, or the first
// month of the next quarter; past December they fall in the next year.
void PeriodoIvaSuccessivo(int piAnno, int piMese, bool pbMensile, int& piAnnoIva,
                          int& piPeriodoIva);

}  // namespace tolvane
