// Loading steps, screen factor, hourglass, focus colours, field focus, combo search, date check
// and the window members of the general library. Works only through the window model.
#include "common/servizi_finestre.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/globali.h"
#include "common/msg_com.h"
#include "platform/numbered_error.h"
#include "platform/text.h"
#include "platform/variant.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

int giPuntatoreSalvato = ui::pointer::Default;

bool isTextField(const ui::Control& c) {
    return c.kind() == ui::ControlKind::TextBox || c.kind() == ui::ControlKind::ComboBox;
}

}  // namespace

void InizioCaricoForm(ui::Form& form, const std::string& psSuffisso) {
    form.setKeyPreview(true);
    for (ui::Control* c : form.controls()) {
        if (isTextField(*c) && c->backColor() != glColErrore) c->setBackColor(glColLostFocus);
    }
    std::string caption = form.caption() + psSuffisso;
    if (!gsDescAzie.empty()) caption += " - " + gsDescAzie;
    form.setCaption(caption);
    AdattaRisVid(form, -2);
}

void FineCaricoForm(ui::Form&) { Clessidra(false); }

double AdattaRisVid(ui::Form& form, double pdFattore, int, std::vector<ui::ZoomApart> pvControlli) {
    double fattore = 1;
    if (pdFattore == -2) {
        // The print windows keep their own factor under the key "StaVid".
        std::string chiave;
        if (form.hasMember("osRisVidKey")) chiave = form.callByName("osRisVidKey").text();
        double programma = equalText(chiave, "StaVid") ? gdRisVidStampa : gdRisVid;
        fattore = programma > 0 ? programma : 1;
    } else if (pdFattore > 0) {
        fattore = pdFattore;
    }
    form.setZoom(fattore, std::move(pvControlli));
    return fattore;
}

void Clessidra(bool pbAttiva) {
    ui::Desktop& d = ui::desktop();
    if (pbAttiva) {
        if (d.mousePointer() == ui::pointer::Hourglass) return;
        giPuntatoreSalvato = d.mousePointer();
        d.setMousePointer(ui::pointer::Hourglass);
        return;
    }
    d.setMousePointer(giPuntatoreSalvato);
}

void ConTrappola(const std::function<void()>& lavoro,
                 const std::function<void(const std::exception&)>& mostra) {
    try {
        lavoro();
    } catch (const std::exception& e) {
        Clessidra(false);
        if (mostra) {
            mostra(e);
        } else {
            frmMsgCom::MsgErrfrm(e);
        }
    }
}

void EvidenziaCampo() {
    ui::Control* active = ui::desktop().activeControl();
    if (active == nullptr || active->kind() != ui::ControlKind::TextBox) return;
    ImpostaCampoFocus(static_cast<ui::TextBox&>(*active));
}

void ColoreGotFocus(ui::Control& field, bool pbForza) {
    if (glColGotFocus == glColLostFocus) return;
    for (ui::Control* c : field.form().controls()) {
        if (c != &field && isTextField(*c) && c->backColor() == glColGotFocus) {
            c->setBackColor(glColLostFocus);
        }
    }
    if (pbForza || field.backColor() != glColErrore) field.setBackColor(glColGotFocus);
}

void ColoreLostFocus(ui::Control& field, bool pbForza) {
    if (pbForza || field.backColor() != glColErrore) field.setBackColor(glColLostFocus);
}

int CercaInCombo(ui::ComboBox& combo, const std::string& pvValore, bool pbSeleziona,
                 bool pbSelezionaSempre) {
    if (pvValore.empty()) return -1;
    long lunghezza = static_cast<long>(Len(pvValore));
    int trovato = -1;
    for (int i = 0; i < combo.listCount(); ++i) {
        if (equalText(Left(combo.list(i), lunghezza), pvValore)) {
            trovato = i;
            break;
        }
    }
    if (pbSeleziona && (trovato >= 0 || pbSelezionaSempre)) combo.setListIndex(trovato);
    return trovato;
}

int CercaInCombo(ui::ComboBox& combo, const ui::TextBox& pvValore, bool pbSeleziona,
                 bool pbSelezionaSempre) {
    return CercaInCombo(combo, pvValore.text(), pbSeleziona, pbSelezionaSempre);
}

bool VerificaCampoData(ui::TextBox& field, int, int, const std::optional<long>& plColore, int) {
    long coloreGiusto = plColore.value_or(glColNormale);
    std::string testo = Trim(field.text());
    if (testo.empty()) {
        field.setBackColor(coloreGiusto);
        return true;
    }
    DateTime data;
    if (!parseDate(testo, data)) {
        field.setBackColor(glColErrore);
        return false;
    }
    data = DateTime{static_cast<double>(static_cast<long>(data.serial))};

    // Only the lower limit is checked: it is the first date noted between the marks.
    const std::string& caption = field.form().caption();
    long inizio = InStr(1, caption, "|<");
    long fine = inizio > 0 ? InStr(inizio + 2, caption, ">|") : 0;
    if (fine > 0) {
        std::string limiti = Mid(caption, inizio + 2, fine - inizio - 2);
        long separatore = InStr(1, limiti, ";");
        std::string minimo = Trim(separatore > 0 ? Left(limiti, separatore - 1) : limiti);
        DateTime limite;
        if (!minimo.empty() && parseDate(minimo, limite) && data.serial < limite.serial) {
            field.setBackColor(glColErrore);
            frmMsgCom::msgCom("Data troppo piccola", "&Ok");
            return false;
        }
    }
    field.setText(dateText(data));
    field.setBackColor(coloreGiusto);
    return true;
}

void PrimoCampo(ui::Control& target, bool) {
    ui::Form& form = target.form();
    auto tryFocus = [&](ui::Control& c) {
        try {
            form.moveFocus(c);
            return form.activeControl() == &c;
        } catch (const NumberedError&) {
            return false;
        }
    };
    if (!target.isContainer()) {
        if (tryFocus(target)) return;
        if (target.container() != nullptr) PrimoCampo(*target.container());
        return;
    }
    // Only the page itself may be shown for the focus: a frame hidden on it stays hidden.
    auto shownOnPage = [&](const ui::Control& c) {
        for (const ui::Control* k = &c; k != &target; k = k->container()) {
            if (!k->visible() || !k->enabled()) return false;
        }
        return true;
    };
    std::vector<ui::Control*> inside;
    for (ui::Control* c : form.controls()) {
        if (c->isInside(target) && c->canTakeFocus() && c->tabStop() && shownOnPage(*c)) {
            inside.push_back(c);
        }
    }
    std::stable_sort(inside.begin(), inside.end(), [](const ui::Control* a, const ui::Control* b) {
        return a->tabIndex() < b->tabIndex();
    });
    for (ui::Control* c : inside) {
        if (tryFocus(*c)) return;
    }
    if (target.canTakeFocus()) tryFocus(target);
}

void ImpostaCampoFocus(ui::TextBox& field, int) {
    field.setSelStart(0);
    field.setSelLength(static_cast<int>(Len(field.text())));
}

ui::Control* CampoInErrore(ui::Form& form, long plColore) {
    for (ui::Control* c : form.controls()) {
        if (c->backColor() == plColore && c->kind() != ui::ControlKind::Label) return c;
    }
    return nullptr;
}

void MostraForm(ui::Form& form, bool pbModale, int, int) {
    if (pbModale) {
        form.show(ui::ShowMode::Modal);
    } else if (form.visible()) {
        ui::desktop().activate(&form);
    } else {
        form.show();
    }
}

std::string CercaFile(const std::string& psPercorso, const std::string& psModello) {
    std::string percorso = Trim(psPercorso);
    if (percorso.empty()) return psModello;
    char ultimo = percorso.back();
    if (ultimo == '/' || ultimo == '\\') return percorso + psModello;
    std::error_code ec;
    if (std::filesystem::is_directory(percorso, ec)) return percorso + "/" + psModello;
    return percorso;
}

void MostraErrore(const std::exception& error, const std::string& psPrima,
                  const std::string& psDopo) {
    MostraErrore(std::nullopt, std::nullopt, psPrima, psDopo, &error);
}

void MostraErrore(const std::optional<std::string>& pvDescrizione,
                  const std::optional<long>& pvNumero, const std::string& psPrima,
                  const std::string& psDopo, const std::exception* trapped) {
    const auto* numbered = dynamic_cast<const NumberedError*>(trapped);
    std::string descrizione;
    if (pvDescrizione) {
        descrizione = *pvDescrizione;
    } else if (numbered != nullptr) {
        descrizione = numbered->description();
        if (!numbered->source().empty()) descrizione += " - " + numbered->source();
    } else if (trapped != nullptr) {
        descrizione = trapped->what();
    }
    long numero = pvNumero ? *pvNumero : numbered != nullptr ? numbered->number() : 0;
    ui::MsgBox(frmMsgCom::TestoErrore(numero, descrizione, psPrima, psDopo),
               ui::msgbox::Exclamation);
}

}  // namespace tolvane
