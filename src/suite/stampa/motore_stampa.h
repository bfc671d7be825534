// What this program relies on of the suite's print engine MotoreStampa, which draws, prints,
// writes files and sends mail. An interface only: the engine is never created here.
#pragma once

#include <string>

namespace tolvane {

namespace ui {
class Form;
}
class OpzStampa;

class MotoreStampa {
  public:
    virtual ~MotoreStampa() = default;

    // 1 or 2: stops the running print.
    virtual void InterrompiStampa(int piCodice) = 0;
    // The print's options, nullptr when the engine has none.
    virtual OpzStampa* OpzioniMotore() = 0;
    // Folder and prefix of the preview's page files.
    virtual std::string PercorsoFilePagine() const = 0;
    // A window the engine holds, nullptr when none.
    virtual ui::Form* FinestraStampa() = 0;
    virtual long PaginaCorrente() const = 0;
    virtual long UltimaPagina() const = 0;
    virtual bool StampaInterrotta() const = 0;
    virtual bool MemorizzaPagine() const = 0;
    virtual long UltimaPaginaSalvata() const = 0;
    virtual std::string IdFilePagine() const = 0;
};

}  // namespace tolvane
