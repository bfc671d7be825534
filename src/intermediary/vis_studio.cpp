// The loader and the writer of the intermediary record: the TabStudio row read into the fields
// on the primary connection, and every column assigned back from them on a save.
// Neither traps an error, starts or stores an edit: the window's load and save do.
#include "common/db_comune.h"
#include "common/globali.h"
#include "intermediary/campi_studio.h"
#include "intermediary/frm_da_studio.h"
#include "platform/text.h"

namespace tolvane {

namespace {

// A stored date that stands for no date: the old text form, or that date as read back.
bool SenzaData(const std::string& testo) {
    return equalText(testo, "01/01/100") || equalText(testo, "01/01/0100");
}

}  // namespace

void frmDaStudio::VisStudio() {
    std::string sql = std::string("SELECT TabStudio.*") + " FROM" + " TabStudio ";
    msRsStudio = Rs().ApriRs(goDbase(), gsIdDbase, "", sql, false, rstype::Dynaset);
    GestoreRs& rs = Rs();

    for (const CampoStudio& campo : CampiStudio()) {
        if (campo.lunghezza != kDimensioneColonna) continue;
        txt(campo.campo).setMaxLength(rs.DimCampoRs(msRsStudio, campo.colonna));
    }
    if (!rs.VuotoRs(msRsStudio)) {
        for (const CampoStudio& campo : CampiStudio()) {
            std::string valore = rs.ValoreCampoRs(msRsStudio, campo.colonna).text();
            if (campo.genere == GenereCampoStudio::Data && SenzaData(valore)) continue;
            txt(campo.campo).setText(valore);
        }
    } else {
        for (const CampoStudio& campo : CampiStudio()) txt(campo.campo).setText(campo.senzaRiga);
    }
    ImpostaCheDaTxt();
}

void frmDaStudio::ScriviStudio() {
    ImpostaTxtDaChe();
    GestoreRs& rs = Rs();
    for (const CampoStudio& campo : CampiStudio()) {
        rs.ScriviCampoRs(msRsStudio, campo.colonna, Variant(txt(campo.campo).text()));
    }
}

}  // namespace tolvane
