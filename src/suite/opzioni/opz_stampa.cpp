// The options object of a print: named parameters, the description texts and the reading of
// saved option sets. Never writes an INI file: saving a set is the options dialog's work.
#include "suite/opzioni/opz_stampa.h"

#include "platform/ini_file.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

const char* const kSezioneDefault = "Opzioni Stampa";

// Booleans of a set are "-1"/"0" (any other number than 0 is True).
bool flag(const std::string& value) { return goLibGen().ValoreLong(Variant(value)) != 0; }

// A separator or qualifier is stored as its character code; "-1" (or nothing usable) is none.
std::string character(const std::string& value) {
    long code = goLibGen().ValoreLong(Variant(value));
    return code > 0 && code < 256 ? Chr(static_cast<int>(code)) : std::string();
}

}  // namespace

OpzStampa::OpzStampa(std::string psNomeStampa) : nomeStampa_(std::move(psNomeStampa)) {}

std::string OpzStampa::DescFormatoFile(int piFileForm) const {
    switch (piFileForm) {
        case 0:
            return "Compatibile Excel";
        case 1:
            return "Testo";
        case 2:
            return "Formato Excel";
        default:
            return {};
    }
}

std::string OpzStampa::DescStampaAttuale(std::string_view psStampanteCorrente) const {
    const LibGenerale& lib = goLibGen();
    switch (StaVid) {
        case kVideo:
            return "Stampa a video, fattore " + lib.FormatoNumero(Variant(Fatt * 100.0), "0") +
                   "%" + (MemVid == 1 ? ", pagine memorizzate" : "");
        case kFile:
            return "Stampa su file " +
                   (FileName.empty() ? std::string("(nessun file)") : FileName) + " - " +
                   DescFormatoFile(FileForm);
        case kFissa:
            return std::string("Stampa a lunghezza fissa su ") +
                   (FisStampante ? "stampante " : "file ") +
                   (FisFileName.empty() ? std::string("(nessun file)") : FisFileName) +
                   (FisUtilComp ? ", in compresso" : "");
        default:
            break;
    }
    std::string text = "Stampa su ";
    if (StampanteOpz.empty()) {
        text += "stampante predefinita";
        if (!psStampanteCorrente.empty()) text += " (" + std::string(psStampanteCorrente) + ")";
    } else {
        text += StampanteOpz;
        if (!StampanteOpz2.empty()) text += " su " + StampanteOpz2;
    }
    long cassetto = lib.ValoreLong(LeggiParStampa("NumCassetto"));
    long carta = lib.ValoreLong(LeggiParStampa("NumTipoCarta"));
    if (cassetto > 0) text += ", cassetto " + std::to_string(cassetto);
    if (carta > 0) text += ", carta " + std::to_string(carta);
    if (ForzaVert) text += ", verticale forzata";
    return text;
}

Variant OpzStampa::LeggiParStampa(std::string_view psNome, int /*piTipo*/) const {
    auto it = parametri_.find(psNome);
    return it == parametri_.end() ? Variant() : it->second;
}

void OpzStampa::ScriviParStampa(std::string_view psNome, int piTipo, const Variant& pvValore) {
    parametri_.insert_or_assign(std::string(psNome),
                                piTipo == kTipoTesto ? Variant(pvValore.text()) : pvValore);
}

void OpzStampa::refuseDestination(int piStaVid, bool refused) {
    if (refused) rifiutate_.insert(piStaVid);
    else rifiutate_.erase(piStaVid);
}

void OpzStampa::readOptionSets(const IniFile& terminal, const IniFile& common, double printZoom) {
    readSection(common, kSezioneDefault, printZoom);
    readSection(terminal, kSezioneDefault, printZoom);
    if (Trim(nomeStampa_).empty() || equalText(nomeStampa_, kSezioneDefault)) return;
    readSection(common, nomeStampa_, printZoom);
    readSection(terminal, nomeStampa_, printZoom);
}

void OpzStampa::readSection(const IniFile& ini, const std::string& section, double printZoom) {
    if (!ini.hasSection(section)) return;
    const LibGenerale& lib = goLibGen();
    auto read = [&](const char* key, auto&& apply) {
        if (auto value = ini.find(section, key)) apply(*value);
    };
    auto whole = [&](const std::string& v) { return static_cast<int>(lib.ValoreLong(Variant(v))); };
    read("StaVid", [&](const std::string& v) {
        int dest = whole(v);
        if (dest >= kStampante && dest <= kFissa) StaVid = dest;
    });
    read("ForzaVert", [&](const std::string& v) { ForzaVert = flag(v); });
    read("FileName", [&](const std::string& v) { FileName = v; });
    read("FileForm", [&](const std::string& v) { FileForm = whole(v); });
    read("PathDefault", [&](const std::string& v) { PathDefault = v; });
    read("SepCampi", [&](const std::string& v) { SepCampi = character(v); });
    read("DelimStr", [&](const std::string& v) { DelimStr = character(v); });
    read("NumNoForm", [&](const std::string& v) { NumNoForm = flag(v); });
    read("Fatt", [&](const std::string& v) {
        float stored = lib.ValoreSingle(Variant(v));
        if (stored > 0) Fatt = printZoom > 0 ? static_cast<float>(stored * printZoom) : stored;
    });
    read("MemVid", [&](const std::string& v) { MemVid = whole(v); });
    read("FisFileName", [&](const std::string& v) { FisFileName = v; });
    read("FisStampante", [&](const std::string& v) { FisStampante = flag(v); });
    read("FisMrAlt", [&](const std::string& v) { FisMrAlt = whole(v); });
    read("FisMrBas", [&](const std::string& v) { FisMrBas = whole(v); });
    read("FisColonne", [&](const std::string& v) { FisColonne = whole(v); });
    read("FisRighe", [&](const std::string& v) { FisRighe = whole(v); });
    read("FisCodIniComp", [&](const std::string& v) { FisCodIniComp = v; });
    read("FisCodFinComp", [&](const std::string& v) { FisCodFinComp = v; });
    read("FisUtilComp", [&](const std::string& v) { FisUtilComp = flag(v); });
    read("NomeStampante", [&](const std::string& v) { StampanteOpz = v; });
    read("NomePorta", [&](const std::string& v) { StampanteOpz2 = v; });
    read("Cassetto", [&](const std::string& v) {
        ScriviParStampa("NumCassetto", kTipoAltro, Variant(whole(v)));
    });
    read("TipoCarta", [&](const std::string& v) {
        ScriviParStampa("NumTipoCarta", kTipoAltro, Variant(whole(v)));
    });
    read("PdfNomeAutom", [&](const std::string& v) {
        ScriviParStampa("PdfAutomAbil", kTipoAltro, Variant(equalText(Trim(v), "S")));
    });
    read("InviaEmail", [&](const std::string& v) {
        ScriviParStampa("EmailInvia", kTipoAltro, Variant(equalText(Trim(v), "S")));
    });
}

}  // namespace tolvane
