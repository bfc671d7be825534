// Shared field rules of the pages of frmDatiAzie: dates, the current year, refusals, readings.
// A text that stands for no date changes nothing.
#include "companydata/regole_pagine.h"

#include <cmath>

#include "common/db_comune.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "companydata/frm_dati_azie.h"
#include "companydata/pagina_conti_com.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

std::optional<DateTime> DataDelTesto(const std::string& psTesto) {
    DateTime data;
    if (!parseDate(Trim(psTesto), data)) return std::nullopt;
    return DateTime{std::floor(data.serial)};
}

int AnnoDellaData(DateTime ptData) {
    int anno = 0;
    int mese = 0;
    int giorno = 0;
    ptData.parts(anno, mese, giorno);
    return anno;
}

int GiornoDellaData(DateTime ptData) {
    int anno = 0;
    int mese = 0;
    int giorno = 0;
    ptData.parts(anno, mese, giorno);
    return giorno;
}

std::optional<DateTime> FineAnnoDa(DateTime ptInizio) {
    int anno = 0;
    int mese = 0;
    int giorno = 0;
    ptInizio.parts(anno, mese, giorno);
    if (anno >= 9999) return std::nullopt;
    const DateTime primo = DateTime::fromParts(anno + 1, mese, 1);
    const DateTime successivo = mese == 12 ? DateTime::fromParts(anno + 2, 1, 1)
                                           : DateTime::fromParts(anno + 1, mese + 1, 1);
    const int ultimo = static_cast<int>(successivo.serial - primo.serial);
    const DateTime dopoUnAnno =
        DateTime::fromParts(anno + 1, mese, giorno > ultimo ? ultimo : giorno);
    return DateTime{dopoUnAnno.serial - 1};
}

bool StessoAnno(const frmDatiAzie& f, int piAnno, int piInizio) {
    auto inizio = DataDelTesto(f.txt(piInizio).text());
    double anno = 0;
    return inizio && parseNumber(Trim(f.txt(piAnno).text()), anno) &&
           AnnoDellaData(*inizio) == anno;
}

void UscitaAnnoCorrente(frmDatiAzie& f, int piAnno, int piInizio, int piFine) {
    ui::TextBox& anno = f.txt(piAnno);
    anno.setText(goLibGen().FormattaPerTipo(Variant(anno.text()), "0000"));
    if (Trim(anno.text()).empty() || !Trim(f.txt(piInizio).text()).empty()) return;
    DateTime inizio;
    if (!parseDate("01/01/" + Trim(anno.text()), inizio)) return;
    f.txt(piInizio).setText(dateText(inizio));
    if (auto fine = FineAnnoDa(inizio)) f.txt(piFine).setText(dateText(*fine));
}

void UscitaDataCampo(frmDatiAzie& f, int piCampo) { VerificaCampoData(f.txt(piCampo)); }

bool RifiutaSalvataggio(frmDatiAzie& f, int piCampo, const std::string& psMessaggio) {
    frmMsgCom::msgCom(psMessaggio, "&Ok");
    FocusCampo(f, piCampo);
    return false;
}

}  // namespace tolvane
