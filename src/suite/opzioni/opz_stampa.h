// The print engine's options object OpzStampa: one print's settings as properties and as named
// print parameters, and the reading of the print's saved option sets from the INI files.
// Never prints, draws or shows anything: it only holds what the dialogs set and describes it.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "platform/names.h"
#include "platform/variant.h"

namespace tolvane {

class IniFile;

class OpzStampa {
  public:
    // Destinations of StaVid.
    static constexpr int kStampante = 0;
    static constexpr int kVideo = 1;
    static constexpr int kFile = 2;
    static constexpr int kFissa = 3;
    // Value-type codes of the named parameters.
    static constexpr int kTipoTesto = 8;
    static constexpr int kTipoAltro = 12;

    explicit OpzStampa(std::string psNomeStampa = {});

    // The print's name: the INI section of its own option set.
    const std::string& NomeStampa() const { return nomeStampa_; }

    // Properties: each holds what was last set.
    int StaVid = kStampante;
    bool ForzaVert = false;
    int FileForm = 0;  // 0 Excel-compatible text, 1 plain text, 2 Excel workbook
    std::string FileName;
    std::string PathDefault;
    std::string SepCampi = ";";
    std::string DelimStr = "\"";
    bool NumNoForm = false;
    bool SceltaVideo = false;
    float Fatt = 1;
    int MemVid = 0;
    std::string FisFileName;
    bool FisStampante = false;
    int FisMrAlt = 0;
    int FisMrBas = 0;
    int FisColonne = 80;
    int FisRighe = 66;
    std::string FisCodIniComp;
    std::string FisCodFinComp;
    bool FisUtilComp = false;
    bool DoppioClicStampaSu = false;
    std::string StampanteOpz;   // printer device name; empty: the default printer
    std::string StampanteOpz2;  // its port

    // The text that tells the user how the print will be made, given the device name of the
    // program's current printer (used when StampanteOpz is empty).
    std::string DescStampaAttuale(std::string_view psStampanteCorrente) const;
    // "Compatibile Excel", "Testo", "Formato Excel"; "" for an unknown format.
    std::string DescFormatoFile(int piFileForm) const;
    // The engine brings its own settings of the file format in line; this object keeps none.
    void AggiornaFormatoFile() {}
    // True for a destination this print refuses.
    bool StaVidNonAmmessa(int piStaVid) const { return rifiutate_.count(piStaVid) != 0; }
    // Called before the options dialog opens; this object has nothing to prepare.
    void PreparaScelta(int /*piOpzione*/, bool /*pbFlag*/) {}

    // Named print parameters, names compared without regard to case; a name never written
    // reads as Empty. Type code 8 stores the value as text.
    Variant LeggiParStampa(std::string_view psNome, int piTipo = kTipoAltro) const;
    void ScriviParStampa(std::string_view psNome, int piTipo, const Variant& pvValore);

    // Set by whoever creates the object for a print that cannot go to some destination.
    void refuseDestination(int piStaVid, bool refused = true);

    // Reads the print's saved option sets back: the defaults of every print (section
    // "Opzioni Stampa") and then this print's own section, each from the common INI and then
    // from the terminal INI, the later overriding the earlier. A key that is absent leaves the
    // setting as it is. printZoom is the program's print zoom factor (the stored preview
    // factor is independent of it).
    void readOptionSets(const IniFile& terminal, const IniFile& common, double printZoom);

  private:
    void readSection(const IniFile& ini, const std::string& section, double printZoom);

    std::string nomeStampa_;
    CaselessMap<Variant> parametri_;
    std::set<int> rifiutate_;
};

}  // namespace tolvane
