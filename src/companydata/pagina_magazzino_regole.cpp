// The warehouse page's rules: what leaving the year and the dates does, and the checks before
// a save, each refusal with its message and the focus on the field to mend.
// Never asks about a change of the price-list date when no date was stored before.
#include <cmath>
#include <optional>
#include <string>

#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "companydata/frm_dati_azie.h"
#include "companydata/pagina_conti_com.h"
#include "companydata/pagina_magazzino.h"
#include "companydata/regole_pagine.h"
#include "platform/text.h"
#include "suite/libgenerale/lib_generale.h"

namespace tolvane {

namespace {

constexpr int kAnno = 45;
constexpr int kInizio = 46;
constexpr int kFine = 92;
constexpr int kLungCodBarre = 73;
constexpr int kUsoDateLis = 82;
constexpr int kQualeDataLis = 64;
constexpr int kDataListino = 65;

const std::string kSeNo = "Se 'Utilizzo data inizio validità listino' = NO, \r\n";

bool vuoto(const frmDatiAzie& f, int campo) {
    return goLibGen().EVuoto(Variant(f.txt(campo).text()));
}

// The price-list date stored in the page's row, when one is: no row, an empty column and the
// old "no date" mark 01/01/100 all mean none.
std::optional<DateTime> dataListinoMemorizzata(frmDatiAzie& f) {
    const std::string& rs = f.msRsMagazzino;
    if (rs.empty() || !f.Rs().EsisteRs(rs) || f.Rs().VuotoRs(rs) || f.Rs().EofRs(rs)) {
        return std::nullopt;
    }
    Variant valore = f.Rs().ValoreGrezzoRs(rs, "DataListino");
    if (valore.isNull() || valore.isEmpty() || !isDate(valore)) return std::nullopt;
    DateTime data{std::floor(valore.toDate().serial)};
    if (data.serial == DateTime::fromParts(100, 1, 1).serial) return std::nullopt;
    return data;
}

}  // namespace

void magazzino::UscitaAnnoCorr(frmDatiAzie& f, int) {
    UscitaAnnoCorrente(f, kAnno, kInizio, kFine);
}

void magazzino::UscitaDataInizio(frmDatiAzie& f, int) {
    if (!VerificaCampoData(f.txt(kInizio)) || vuoto(f, kInizio)) return;
    if (!StessoAnno(f, kAnno, kInizio)) {
        f.MarcaErrore(kInizio);
        return;
    }
    if (auto fine = FineAnnoDa(*DataDelTesto(f.txt(kInizio).text()))) {
        f.txt(kFine).setText(dateText(*fine));
    }
}

bool VerDatiMagazzino(frmDatiAzie& f) {
    if (vuoto(f, kAnno)) return RifiutaSalvataggio(f, kAnno, "L' anno corrente è obbligatorio");
    if (vuoto(f, kInizio)) return RifiutaSalvataggio(f, kInizio, "La data inizio è obbligatoria");
    if (!StessoAnno(f, kAnno, kInizio)) {
        return RifiutaSalvataggio(
            f, kInizio,
            "L'anno corrente e l'anno della data di inizio periodo devono essere "
            "uguali");
    }
    double lunghezza = 0;
    if (parseNumber(Trim(f.txt(kLungCodBarre).text()), lunghezza) && lunghezza > 128) {
        return RifiutaSalvataggio(
            f, kLungCodBarre,
            "La lunghezza del codice a barre non può essere maggiore di 128 caratteri");
    }
    if (vuoto(f, 51)) return RifiutaSalvataggio(f, 51, "Il magazzino principale è obbligatorio");
    if (vuoto(f, 52)) return RifiutaSalvataggio(f, 52, "Il listino principale è obbligatorio");
    if (!equalText(f.txt(kUsoDateLis).text(), "S")) {
        if (!equalText(f.txt(kQualeDataLis).text(), "D")) {
            return RifiutaSalvataggio(f, kQualeDataLis,
                                      kSeNo + "'Quale data per inizio listino' = D Predefinita");
        }
        if (vuoto(f, kDataListino)) {
            f.MarcaErrore(kDataListino);
            return RifiutaSalvataggio(
                f, kDataListino, kSeNo + "va impostata e lasciata FISSA la data inizio listino");
        }
        if (auto memorizzata = dataListinoMemorizzata(f)) {
            auto digitata = DataDelTesto(f.txt(kDataListino).text());
            if (!digitata || digitata->serial != memorizzata->serial) {
                int risposta = frmMsgCom::msgCom(
                    "Cambiare la data di inizio validità può comportare la non corretta "
                    "gestione dei listini inseriti\r\nSi conferma la variazione?",
                    "&Sì", "&No");
                if (risposta != 1) {
                    FocusCampo(f, kUsoDateLis);
                    return false;
                }
            }
        }
    }
    if (vuoto(f, kDataListino) && equalText(Trim(f.txt(kQualeDataLis).text()), "D")) {
        return RifiutaSalvataggio(
            f, kUsoDateLis, "La data predefinita di inizio validità del listino è obbligatoria");
    }
    return true;
}

}  // namespace tolvane
