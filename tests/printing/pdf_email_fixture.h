// The PDF/e-mail side of the print options dialog under test: the dialog's fixture with the
// panel plugged in, a menu server with a terminal and a common INI, a fixed clock and a print
// engine that holds one options object. Leaves no program-wide value behind.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "printing/email_stampa.h"
#include "printing/frm_scelta_stam_fixture.h"
#include "printing/frm_scelta_stam_pdf_email.h"
#include "suite/motore_stampa.h"
#include "suite/opz_stampa.h"
#include "ui/user_input.h"

namespace tolvane::testing {

// An engine that only holds a print's options.
class EngineStub : public MotoreStampa {
  public:
    explicit EngineStub(OpzStampa* options) : options_(options) {}
    void InterrompiStampa(int) override {}
    OpzStampa* OpzioniMotore() override { return options_; }
    std::string PercorsoFilePagine() const override { return {}; }
    ui::Form* FinestraStampa() override { return nullptr; }
    long PaginaCorrente() const override { return 0; }
    long UltimaPagina() const override { return 0; }
    bool StampaInterrotta() const override { return false; }
    bool MemorizzaPagine() const override { return false; }
    long UltimaPaginaSalvata() const override { return 0; }
    std::string IdFilePagine() const override { return {}; }

  private:
    OpzStampa* options_;
};

class PdfEmailTest : public SceltaStamTest {
  protected:
    PdfEmailTest() {
        menu();
        registraPannelloPdfEmail();
        // Saturday 5 December 2026, 14:07:09.
        emailClock() = [] { return DateTime::fromParts(2026, 12, 5, 14, 7, 9); };
    }
    ~PdfEmailTest() override {
        emailClock() = {};
        goMotoreStampa = nullptr;
    }

    void set(const std::string& name, const Variant& value) {
        goMenuClient->SetParametro(name, "", value);
    }
    void set(std::initializer_list<std::pair<const char*, Variant>> values) {
        for (const auto& [name, value] : values) set(name, value);
    }
    Variant value(const std::string& name) { return goMenuClient->Parametro(name, ""); }
    // The settings' texts, as "name=text" lines, to compare many at once.
    std::string texts(std::initializer_list<const char*> names) {
        std::string out;
        for (const char* name : names) out += std::string(name) + "=" + value(name).text() + "\n";
        return out;
    }
    // Whole numbers of the settings are kept as 16-bit integers.
    static Variant whole(int n) { return Variant(static_cast<std::int16_t>(n)); }

    // The dialog open on the print's options, its parameters panel opened by its button.
    PdfEmailPanel& openPanel() {
        FrmSceltaStam& form = open();
        ui::user::click(*form.ComParIniPE);
        return pdfEmailPanel(form);
    }
};

}  // namespace tolvane::testing
