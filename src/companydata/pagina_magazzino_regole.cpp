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
#include "platform/text.h"
#include "suite/lib_generale.h"

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

std::optional<DateTime> dataDi(const std::string& testo) {
    DateTime data;
    if (!parseDate(Trim(testo), data)) return std::nullopt;
    return DateTime{std::floor(data.serial)};
}

int annoDi(DateTime data) {
    int anno = 0;
    int mese = 0;
    int giorno = 0;
    data.parts(anno, mese, giorno);
    return anno;
}

// Whether the start date's year is the number in the current year's field.
bool stessoAnno(const frmDatiAzie& f) {
    auto inizio = dataDi(f.txt(kInizio).text());
    double anno = 0;
    return inizio && parseNumber(Trim(f.txt(kAnno).text()), anno) && annoDi(*inizio) == anno;
}

// One year after the start, less one day; one year after 29 February is 28 February.
std::optional<DateTime> fineDa(DateTime inizio) {
    int anno = 0;
    int mese = 0;
    int giorno = 0;
    inizio.parts(anno, mese, giorno);
    if (anno >= 9999) return std::nullopt;
    const DateTime primo = DateTime::fromParts(anno + 1, mese, 1);
    const DateTime successivo = mese == 12 ? DateTime::fromParts(anno + 2, 1, 1)
                                           : DateTime::fromParts(anno + 1, mese + 1, 1);
    const int ultimo = static_cast<int>(successivo.serial - primo.serial);
    return DateTime{DateTime::fromParts(anno + 1, mese, giorno > ultimo ? ultimo : giorno).serial -
                    1};
}

bool rifiuta(frmDatiAzie& f, int campo, const std::string& messaggio) {
    frmMsgCom::msgCom(messaggio, "&Ok");
    FocusCampo(f, campo);
    return false;
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
    f.txt(kAnno).setText(goLibGen().FormattaPerTipo(Variant(f.txt(kAnno).text()), "0000"));
    if (vuoto(f, kAnno) || !vuoto(f, kInizio)) return;
    DateTime inizio;
    if (!parseDate("01/01/" + Trim(f.txt(kAnno).text()), inizio)) return;
    f.txt(kInizio).setText(dateText(inizio));
    if (auto fine = fineDa(inizio)) f.txt(kFine).setText(dateText(*fine));
}

void magazzino::UscitaDataInizio(frmDatiAzie& f, int) {
    if (!VerificaCampoData(f.txt(kInizio)) || vuoto(f, kInizio)) return;
    if (!stessoAnno(f)) {
        f.MarcaErrore(kInizio);
        return;
    }
    if (auto fine = fineDa(*dataDi(f.txt(kInizio).text()))) f.txt(kFine).setText(dateText(*fine));
}

void magazzino::UscitaData(frmDatiAzie& f, int piCampo) {
    VerificaCampoData(f.txt(piCampo));
}

bool VerDatiMagazzino(frmDatiAzie& f) {
    if (vuoto(f, kAnno)) return rifiuta(f, kAnno, "L' anno corrente è obbligatorio");
    if (vuoto(f, kInizio)) return rifiuta(f, kInizio, "La data inizio è obbligatoria");
    if (!stessoAnno(f)) {
        return rifiuta(f, kInizio,
                       "L'anno corrente e l'anno della data di inizio periodo devono essere "
                       "uguali");
    }
    double lunghezza = 0;
    if (parseNumber(Trim(f.txt(kLungCodBarre).text()), lunghezza) && lunghezza > 128) {
        return rifiuta(f, kLungCodBarre,
                       "La lunghezza del codice a barre non può essere maggiore di 128 caratteri");
    }
    if (vuoto(f, 51)) return rifiuta(f, 51, "Il magazzino principale è obbligatorio");
    if (vuoto(f, 52)) return rifiuta(f, 52, "Il listino principale è obbligatorio");
    if (!equalText(f.txt(kUsoDateLis).text(), "S")) {
        if (!equalText(f.txt(kQualeDataLis).text(), "D")) {
            return rifiuta(f, kQualeDataLis,
                           kSeNo + "'Quale data per inizio listino' = D Predefinita");
        }
        if (vuoto(f, kDataListino)) {
            f.MarcaErrore(kDataListino);
            return rifiuta(f, kDataListino,
                           kSeNo + "va impostata e lasciata FISSA la data inizio listino");
        }
        if (auto memorizzata = dataListinoMemorizzata(f)) {
            auto digitata = dataDi(f.txt(kDataListino).text());
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
        return rifiuta(f, kUsoDateLis,
                       "La data predefinita di inizio validità del listino è obbligatoria");
    }
    return true;
}

}  // namespace tolvane
