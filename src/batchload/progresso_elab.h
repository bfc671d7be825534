// Progress of a batch run as the batch window shows it: phase text, count reached, second number
// and the two labels; the advance call is also where window events are let through and where the
// window is given what changed. Never does either more often than every 50 ms, and never draws
// anything itself.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace tolvane {

class ProgressoElab {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // Set by the window layer: runs the event loop once (the stop button acts through it).
    std::function<void()> eventPump;
    // Set by the window layer: puts the display values on the window. Called at most once per
    // event tick, just before the pump, and only when something changed since it last ran; and
    // by showPending.
    std::function<void(const ProgressoElab&)> showDisplay;
    // Watches the loader: called after every single change of the display values.
    std::function<void(const ProgressoElab&)> displayChanged;

    void AvviaProgresso(const std::string& psTesto, const std::string& psTitolo);
    // The value reached; a given text replaces the phase text. With pbEventi, once 50 ms have
    // passed since the last tick, the display is shown and the event pump runs.
    void AvanzaElab(long plValore, const std::optional<std::string>& psTesto = std::nullopt,
                    bool pbEventi = true);
    // The second number of the display: a total, or the error count.
    void ImpostaElab(long plNumero, int piOpzione = 0);
    void setLabelsVisible(bool labErrori, bool labDi);
    // The share of the input file read so far, 0 to 1; negative while no file is read (or its
    // size is unknown). Shown at the next tick.
    void setShareRead(double share) {
        pending_ = pending_ || share != shareRead_;
        shareRead_ = share;
    }
    double shareRead() const { return shareRead_; }
    // Shows at once what changed since the last tick: a phase's last values before a message
    // or before the window writes its controls itself.
    void showPending();

    const std::string& phaseText() const { return testo_; }
    const std::string& title() const { return titolo_; }
    long value() const { return valore_; }
    long secondNumber() const { return secondo_; }
    bool labErroriVisible() const { return labErrori_; }
    bool labDiVisible() const { return labDi_; }
    long pumpCount() const { return pumps_; }

    // Tests give their own clock; the default is the steady clock.
    void setClock(Clock clock) { clock_ = std::move(clock); }

    static constexpr std::chrono::milliseconds kEventInterval{50};

  private:
    void changed();

    std::string testo_;
    std::string titolo_;
    long valore_ = 0;
    long secondo_ = 0;
    bool labErrori_ = true;
    bool labDi_ = false;
    long pumps_ = 0;
    double shareRead_ = -1;
    bool pending_ = false;
    Clock clock_;
    std::optional<std::chrono::steady_clock::time_point> lastPump_;
};

}  // namespace tolvane
