// Progress of a batch run as the batch window shows it: phase text, count reached, second number
// and the two labels; the advance call is also where window events are let through.
// Never lets events through more often than every 50 ms, and never draws anything itself.
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
    // Set by the window layer: called after every change of the display values.
    std::function<void(const ProgressoElab&)> displayChanged;

    void AvviaProgresso(const std::string& psTesto, const std::string& psTitolo);
    // The value reached; a given text replaces the phase text. With pbEventi the event pump
    // runs when 50 ms have passed since it last ran.
    void AvanzaElab(long plValore, const std::optional<std::string>& psTesto = std::nullopt,
                    bool pbEventi = true);
    // The second number of the display: a total, or the error count.
    void ImpostaElab(long plNumero, int piOpzione = 0);
    void setLabelsVisible(bool labErrori, bool labDi);
    // The share of the input file read so far, 0 to 1; negative while no file is read (or its
    // size is unknown). Shown with the next change of the display.
    void setShareRead(double share) { shareRead_ = share; }
    double shareRead() const { return shareRead_; }

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
    Clock clock_;
    std::optional<std::chrono::steady_clock::time_point> lastPump_;
};

}  // namespace tolvane
