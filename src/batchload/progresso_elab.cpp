// Progress of a batch run: keeps the display values, gathers their changes and hands them to the
// window once per event tick. Never calls the pump or the window more often than every 50 ms.
#include "batchload/progresso_elab.h"

namespace tolvane {

void ProgressoElab::AvviaProgresso(const std::string& psTesto, const std::string& psTitolo) {
    testo_ = psTesto;
    titolo_ = psTitolo;
    valore_ = 0;
    secondo_ = 0;
    changed();
}

void ProgressoElab::AvanzaElab(long plValore, const std::optional<std::string>& psTesto,
                               bool pbEventi) {
    valore_ = plValore;
    if (psTesto) testo_ = *psTesto;
    changed();
    if (!pbEventi || !eventPump) return;
    const auto now = clock_ ? clock_() : std::chrono::steady_clock::now();
    if (lastPump_ && now - *lastPump_ < kEventInterval) return;
    lastPump_ = now;
    showPending();
    ++pumps_;
    eventPump();
}

void ProgressoElab::ImpostaElab(long plNumero, int) {
    secondo_ = plNumero;
    changed();
}

void ProgressoElab::setLabelsVisible(bool labErrori, bool labDi) {
    labErrori_ = labErrori;
    labDi_ = labDi;
    changed();
}

void ProgressoElab::showPending() {
    if (!pending_) return;
    pending_ = false;
    if (showDisplay) showDisplay(*this);
}

void ProgressoElab::changed() {
    pending_ = true;
    if (displayChanged) displayChanged(*this);
}

}  // namespace tolvane
