// The general accounting page's rules: what leaving a field does (years, dates, amounts), the
// yearly reset box, and the checks before a save, each refusal with its message.
// Never gives the focus to a hidden or disabled control, and never rewrites a text it cannot read.
#include <cmath>
#include <optional>
#include <string>

#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "companydata/frm_dati_azie.h"
#include "companydata/pagina_coge.h"
#include "companydata/pagina_conti_com.h"
#include "companydata/regole_pagine.h"
#include "platform/text.h"
#include "platform/variant.h"
#include "suite/libgenerale/lib_generale.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

bool vuoto(const frmDatiAzie& f, int campo) { return Trim(f.txt(campo).text()).empty(); }

std::optional<DateTime> dataDi(const frmDatiAzie& f, int campo) {
    return DataDelTesto(f.txt(campo).text());
}

// The year a typed start-of-numbering text stands for, as the date "01/01/" & text reads it:
// two digits are a year of the window 1930..2029.
std::optional<int> annoValido(const std::string& testo) {
    double numero = 0;
    if (!parseNumber(Trim(testo), numero) || numero != std::floor(numero) || numero < 0) {
        return std::nullopt;
    }
    int anno = static_cast<int>(numero);
    if (numero < 100) anno += anno < 30 ? 2000 : 1900;
    if (numero > 9999 || anno < 100) return std::nullopt;
    return anno;
}

std::string quattroCifre(int anno) {
    std::string testo = std::to_string(anno);
    return std::string(testo.size() < 4 ? 4 - testo.size() : 0, '0') + testo;
}

}  // namespace

void coge::UscitaAnnoCorr(frmDatiAzie& f, int) { UscitaAnnoCorrente(f, 5000, 5010, 5020); }

void coge::UscitaDataInizio(frmDatiAzie& f, int) {
    if (!VerificaCampoData(f.txt(5010)) || vuoto(f, 5010)) return;
    if (!StessoAnno(f, 5000, 5010)) {
        f.MarcaErrore(5010);
        return;
    }
    f.txt(5010).setBackColor(glColNormale);
    if (auto fine = FineAnnoDa(*dataDi(f, 5010))) {
        f.txt(5020).setText(dateText(*fine));
        f.mtFineEsercizio = goLibGen().ValoreData(Variant(f.txt(5020).text()));
    }
}

void coge::UscitaAnnoAzzera(frmDatiAzie& f, int) {
    ui::TextBox& campo = f.txt(5070);
    campo.setText(goLibGen().FormattaPerTipo(Variant(campo.text()), "0000"));
    if (!vuoto(f, 5070)) {
        if (auto anno = annoValido(campo.text())) {
            campo.setText(quattroCifre(*anno));
        } else {
            f.MarcaErrore(5070);
        }
    }
    if (equalText(f.txt(5040).text(), "S") && !vuoto(f, 5070)) f.MarcaErrore(5070);
}

void coge::UscitaImporto(frmDatiAzie& f, int piCampo) {
    f.txt(piCampo).setText(goLibGen().FormattaPerTipo(Variant(f.txt(piCampo).text()), "#,##0.00"));
}

void coge::ClickAzzera(frmDatiAzie& f, int) {
    ui::TextBox& anno = f.txt(5070);
    if (f.Che(5040).value() == ui::check::Checked) {
        anno.setText("");
        anno.setBackColor(glColNormale);
        anno.setEnabled(false);
        return;
    }
    anno.setEnabled(coge::ColonnaPresente(f, 5070));
}

bool VerDatiCoge(frmDatiAzie& f) {
    auto c = [&](int campo) { return coge::ColonnaPresente(f, campo); };

    if (c(5000) && vuoto(f, 5000))
        return RifiutaSalvataggio(f, 5000, "L'anno corrente è obbligatorio");
    if (c(5010) && vuoto(f, 5010))
        return RifiutaSalvataggio(f, 5010, "(Coge) La data inizio è obbligatoria");
    if (c(5020) && vuoto(f, 5020))
        return RifiutaSalvataggio(f, 5020, "(Coge) La data fine è obbligatoria");
    if (c(5020)) {
        auto fine = dataDi(f, 5020);
        const Variant& caricata = f.mtFineEsercizio;
        bool nota = !caricata.isEmpty() && !caricata.isNull();
        if (!fine || !nota || fine->serial != std::floor(caricata.toDate().serial)) {
            frmMsgCom::msgCom(
                "(Coge) E' stata modificata la data di fine anno contabile. "
                "Controllare che sia corretta!!",
                "&Ok");
        }
    }
    if (c(5000) && c(5010)) {
        if (!StessoAnno(f, 5000, 5010)) {
            return RifiutaSalvataggio(
                f, 5010,
                "(Coge) L'anno corrente e l'anno della data di inizio periodo devono "
                "essere uguali");
        }
    }
    if (c(5080) && c(5085) && c(5088)) {
        auto da = dataDi(f, 5085);
        auto a = dataDi(f, 5088);
        if (equalText(f.txt(5080).text(), "S") && vuoto(f, 5085)) {
            return RifiutaSalvataggio(f, 5080,
                                      "(Coge) La data inizio IVA per CASSA è obbligatoria");
        }
        if (!vuoto(f, 5085) && (!da || GiornoDellaData(*da) != 1)) {
            return RifiutaSalvataggio(
                f, 5080, "(Coge) La data inizio IVA per CASSA deve essere il primo del mese");
        }
        if (!vuoto(f, 5088) &&
            (!a || (AnnoDellaData(*a) != 9999 && GiornoDellaData(DateTime{a->serial + 1}) != 1))) {
            return RifiutaSalvataggio(
                f, 5080, "(Coge) La data fine IVA per CASSA deve essere l'ultimo giono del mese");
        }
        if (!vuoto(f, 5085) && vuoto(f, 5088)) {
            return RifiutaSalvataggio(
                f, 5088, "(Coge) La data fine IVA per CASSA è obbligatoria (es. 31/12/9999)");
        }
        if (vuoto(f, 5085) && !vuoto(f, 5088)) {
            return RifiutaSalvataggio(
                f, 5088,
                "(Coge) NON ha senso impostare La data fine IVA per CASSA se non è "
                "impostata quella di inizio");
        }
    }
    if (c(5090) && c(5095) && vuoto(f, 5090) && !vuoto(f, 5095)) {
        return RifiutaSalvataggio(
            f, 5095,
            "(Coge) NON ha senso impostare La data fine Proced.Concorsuale se non è "
            "impostata quella di inizio");
    }
    if (c(5085) && c(5088) && !vuoto(f, 5088)) {
        auto da = dataDi(f, 5085);
        auto a = dataDi(f, 5088);
        if (da && a && da->serial > a->serial) {
            return RifiutaSalvataggio(
                f, 5088,
                "(Coge) La data fine IVA per CASSA deve essere maggiore di quella di "
                "inizio");
        }
    }
    if (c(5090) && c(5095) && !vuoto(f, 5095)) {
        auto da = dataDi(f, 5090);
        auto a = dataDi(f, 5095);
        if (da && a && da->serial > a->serial) {
            return RifiutaSalvataggio(
                f, 5095,
                "(Coge) La data fine Proced.Concorsuale deve essere maggiore di quella "
                "di inizio");
        }
    }
    // A start-of-numbering year that is no number, or one set beside the yearly reset, is
    // shown in the error colour and refused without a message.
    if (c(5070) && !vuoto(f, 5070) && !isNumeric(Variant(Trim(f.txt(5070).text())))) {
        f.MarcaErrore(5070);
        FocusCampo(f, 5070);
        return false;
    }
    if (c(5040) && c(5070) && equalText(f.txt(5040).text(), "S") && !vuoto(f, 5070)) {
        f.MarcaErrore(5070);
        // Disabled beside the reset: the box is what the user changes.
        FocusCampo(f, f.txt(5070).enabled() ? 5070 : 5040);
        return false;
    }
    return f.CampiSenzaErrori();
}

}  // namespace tolvane
