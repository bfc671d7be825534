// The frame of frmDatiAzie: controls made from the pages' declarations, the tab strip and its
// page pictures, the first-visit loading, the company database and the decoding service.
// A page whose loader fails is reported and marked, never retried and never saved.
#include "companydata/frm_dati_azie.h"

#include <filesystem>

#include "common/db_azienda.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "common/ini_programma.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "platform/text.h"
#include "startup/form_registry.h"
#include "startup/programma.h"
#include "suite/menu_client.h"
#include "suite/servizio_decodifiche.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

struct TabPagina {
    const char* caption;
    const char* chiave;
    const char* suggerimento = "";
};

// Tabs 1 to 13 show pages 0 to 12, tab 14 shows page 14; pages without a known caption keep a
// plain one.
constexpr TabPagina kTabPagine[frmDatiAzie::kUltimaPaginaConTab + 2] = {
    {"Pagina 0", ""},
    {"Pagina 1", ""},
    {"Pagina 2", ""},
    {"conti com&Uni", "ContiCom"},
    {"Cau&Sali Comuni", "CausaCom", "Causali Comuni"},
    {"Contabilità", ""},
    {"dati &Riba/Rid", "RiBa", "Dati x RiBa/Rid"},
    {"Magazzino", ""},
    {"Fatturazione", ""},
    {"&Ordini/Prev", "Ordini", "Ordini e Preventivi"},
    {"r&Egistrat.di cassa", "Registratore", "Registratore di cassa"},
    {"Pagina 11", ""},
    {"Pagina 12", ""},
    {"Conti di Transito Prof.", "ContiTrans"},
};

int PaginaDellaScheda(int scheda) {
    return scheda == frmDatiAzie::kUltimaPaginaConTab + 2 ? frmDatiAzie::kPaginaContiTrans
                                                          : scheda - 1;
}

int SchedaDellaPagina(int pagina) {
    if (pagina == frmDatiAzie::kPaginaContiTrans) return frmDatiAzie::kUltimaPaginaConTab + 2;
    return pagina >= 0 && pagina <= frmDatiAzie::kUltimaPaginaConTab ? pagina + 1 : 0;
}

bool PaginaConScheda(int pagina) { return SchedaDellaPagina(pagina) != 0; }

// Layout of a page in twips, inside its picture: one row per field, captions on the left.
constexpr double kMargine = 240;
constexpr double kPrimaRiga = 720;
constexpr double kAltezzaRiga = 390;
constexpr double kAltezzaCampo = 300;
constexpr double kLarghezzaDidascalia = 3720;
constexpr double kLarghezzaCarattere = 120;
constexpr double kLarghezzaHlp = 300;
constexpr double kLarghezzaLab = 3600;

double larghezzaCampo(int lunghezza) {
    if (lunghezza <= 0) return 1800;
    double larghezza = lunghezza * kLarghezzaCarattere + 120;
    return larghezza < 600 ? 600 : larghezza > 3600 ? 3600 : larghezza;
}

}  // namespace

frmDatiAzie::frmDatiAzie()
    : ui::Form("frmDatiAzie"),
      txt(*this, "txt"),
      Lab(*this, "Lab"),
      Didascalia(*this, "Didascalia"),
      Che(*this, "Che"),
      Combo(*this, "Combo"),
      ComHlp(*this, "ComHlp"),
      comOk(*this, "comOk"),
      PicPagine(*this, "PicPagine"),
      LabTitolo(*this, "LabTitolo"),
      Cornice(*this, "Cornice"),
      CheChiu(*this, "CheChiu") {
    txt.on.onGotFocus = [this](int i) { txt_GotFocus(i); };
    txt.on.onLostFocus = [this](int i) { txt_LostFocus(i); };
    txt.on.onKeyUp = [this](int i, int& keyCode, int shift) { txt_KeyUp(i, keyCode, shift); };
    Che.on.onClick = [this](int i) { Che_Click(i); };
    CheChiu.on.onClick = [this](int i) { CheChiu_Click(i); };
    Combo.on.onLostFocus = [this](int i) { Combo_LostFocus(i); };
    ComHlp.on.onClick = [this](int i) { ComHlp_Click(i); };
    comOk.on.onClick = [this](int i) { comOk_Click(i); };
    showPage = [this](ui::Control& pagina) { MostraPagina(pagina); };
    CreaControlli();
}

frmDatiAzie::~frmDatiAzie() = default;

GestoreRs& frmDatiAzie::Rs() {
    if (!mgRs) mgRs = std::make_unique<GestoreRs>();
    return *mgRs;
}

ui::ControlArray<ui::OptionButton>& frmDatiAzie::Opzioni(std::string_view nome) {
    auto it = mOpzioni.find(nome);
    if (it == mOpzioni.end()) {
        throw NumberedError(ui::uierr::ElementMissing,
                            "Matrice di controlli inesistente: " + std::string(nome), name());
    }
    return *it->second;
}

bool frmDatiAzie::HaDidascalia(int piCampo) const {
    const CampoPagina* campo = Campo(piCampo);
    if (campo != nullptr && !campo->nomeDidascalia.empty()) {
        return findControl(campo->nomeDidascalia) != nullptr;
    }
    return Didascalia.exists(piCampo);
}

ui::Label& frmDatiAzie::DidascaliaCampo(int piCampo) {
    const CampoPagina* campo = Campo(piCampo);
    if (campo == nullptr || campo->nomeDidascalia.empty()) return Didascalia(piCampo);
    auto* didascalia = dynamic_cast<ui::Label*>(findControl(campo->nomeDidascalia));
    if (didascalia == nullptr) {
        throw NumberedError(ui::uierr::ElementMissing,
                            "Controllo inesistente: " + campo->nomeDidascalia, name());
    }
    return *didascalia;
}

void frmDatiAzie::CreaControlli() {
    setCaption("Dati Azienda");
    move(0, 0, 11760, 8880);
    TasPagine = &add<ui::TabStrip>("TasPagine");
    TasPagine->move(120, 120, 11400, 8160);
    for (const TabPagina& tab : kTabPagine)
        TasPagine->addTab(tab.caption, tab.chiave, tab.suggerimento);
    TasPagine->on.onClick = [this] { TasPagine_Click(); };

    auto creaPicture = [this](int pagina) {
        ui::PictureBox& pic = PicPagine.add(pagina);
        pic.move(TasPagine->clientLeft(), TasPagine->clientTop(), TasPagine->clientWidth(),
                 TasPagine->clientHeight());
        pic.setVisible(pagina == 0);
    };
    for (int pagina = 0; pagina <= kUltimaPaginaConTab; ++pagina) creaPicture(pagina);
    creaPicture(kPaginaContiTrans);
    addPages(PicPagine.name());
    for (const PaginaDatiAzie* pagina : PagineDatiAzie()) CreaPagina(*pagina);
}

void frmDatiAzie::Form_Load() {
    for (const PaginaDatiAzie* pagina : PagineDatiAzie()) {
        if (pagina->alCaricoForm) pagina->alCaricoForm(*this);
    }
    mbPagCaricata.fill(false);
    mbPagGuasta.fill(false);
    InizioCaricoForm(*this);
    FineCaricoForm(*this);
}

void frmDatiAzie::CreaPagina(const PaginaDatiAzie& pagina) {
    ui::PictureBox& pic = PicPagine(pagina.numero);
    if (pagina.contestoHelp != 0) pic.setHelpContextID(pagina.contestoHelp);
    int ordine = 0;
    ui::Label& titolo = LabTitolo.add(pagina.numero, &pic);
    titolo.setCaption(pagina.titolo);
    titolo.move(kMargine, 180, 6000, 360);

    int riga = 0;
    for (const CampoPagina& campo : pagina.campi) {
        const int n = campo.numero;
        const double y = kPrimaRiga + riga * kAltezzaRiga;
        const double xCampo = kMargine + kLarghezzaDidascalia;
        ui::TextBox& casella = txt.add(n, &pic);
        casella.setMaxLength(campo.lunghezzaMassima);
        casella.move(xCampo, y, larghezzaCampo(campo.lunghezzaMassima), kAltezzaCampo);
        casella.setTabIndex(ordine++);
        ++riga;

        if (campo.specchio == Specchio::Opzioni) {
            casella.setVisible(false);
            ui::Frame& cornice = Cornice.add(n, &pic);
            cornice.setCaption(campo.didascalia);
            const double altezza = (static_cast<double>(campo.voci.size()) + 1) * kAltezzaRiga;
            cornice.move(kMargine, y, kLarghezzaDidascalia + 3600, altezza);
            auto opzioni =
                std::make_unique<ui::ControlArray<ui::OptionButton>>(*this, campo.nomeOpzioni);
            for (int i = 0; i < static_cast<int>(campo.voci.size()); ++i) {
                ui::OptionButton& opzione = opzioni->add(i, &cornice);
                opzione.setCaption(campo.voci[static_cast<std::size_t>(i)].testo);
                opzione.move(240, (i + 0.75) * kAltezzaRiga, kLarghezzaDidascalia + 3000,
                             kAltezzaCampo);
                opzione.setTabIndex(ordine++);
                // The design-time choice: set before the handler exists, so it raises nothing.
                if (i == campo.opzioneIniziale) opzione.setValue(true);
            }
            opzioni->on.onClick = [this, n](int i) { Opzione_Click(n, i); };
            mOpzioni[campo.nomeOpzioni] = std::move(opzioni);
            riga += static_cast<int>(campo.voci.size());
            continue;
        }

        ui::Label& didascalia = campo.nomeDidascalia.empty()
                                    ? Didascalia.add(n, &pic)
                                    : add<ui::Label>(campo.nomeDidascalia, &pic);
        didascalia.setCaption(campo.didascalia);
        didascalia.move(kMargine, y, kLarghezzaDidascalia - 120, kAltezzaCampo);
        if (campo.specchio == Specchio::Casella) {
            casella.setVisible(false);
            ui::CheckBox& che = Che.add(n, &pic);
            che.move(xCampo, y, 300, kAltezzaCampo);
            che.setTabIndex(ordine++);
            continue;
        }
        if (campo.specchio == Specchio::Combo) {
            casella.setVisible(false);
            ui::ComboBox& combo = Combo.add(n, &pic);
            combo.setStyle(ui::ComboBox::Style::DropDownList);
            for (const VoceCodice& voce : campo.voci) combo.addItem(voce.testo);
            combo.move(xCampo, y, 3000, kAltezzaCampo);
            combo.setTabIndex(ordine++);
            continue;
        }
        double x = xCampo + casella.width() + 60;
        if (!campo.ricerca.empty()) {
            ui::CommandButton& hlp = ComHlp.add(n, &pic);
            hlp.setCaption("...");
            hlp.move(x, y, kLarghezzaHlp, kAltezzaCampo);
            hlp.setTabStop(false);
            x += kLarghezzaHlp + 120;
        }
        if (campo.descrizione) {
            ui::Label& lab = Lab.add(n, &pic);
            lab.move(x, y, kLarghezzaLab, kAltezzaCampo);
        }
    }

    ui::CommandButton& ok = comOk.add(pagina.numero, &pic);
    ok.setCaption("&Conferma dati");
    ok.move(pic.width() - 2040, pic.height() - 600, 1800, 420);
    ok.setTabIndex(ordine++);
    if (pagina.creaControlli) pagina.creaControlli(*this);
}

bool frmDatiAzie::ApriDBAzie(const std::string& psNomeDb, const std::string& psConnect,
                             const std::string& psPwd) {
    if (!ApriDbAzienda(psNomeDb, psConnect, psPwd, osIdDbase)) return false;
    // The print windows' zoom may have been changed in the INI since the start.
    LeggiRisVidStampa();
    TasPagine_Click();
    return true;
}

void frmDatiAzie::Form_Unload(bool&) {
    mgRs.reset();
    RilasciaDecodifiche(osIdDbase);
    if (!osIdDbase.empty()) goDbase().ChiudiConnessione(osIdDbase);
    osIdDbase.clear();
    // Ends the program only when no other window is left.
    ChiudiProgramma(false);
}

bool frmDatiAzie::PaginaCaricata(int piPagina) const {
    return PaginaConScheda(piPagina) && mbPagCaricata[static_cast<std::size_t>(piPagina)];
}

bool frmDatiAzie::PaginaGuasta(int piPagina) const {
    return piPagina >= 0 && piPagina <= kPaginaContiTrans &&
           mbPagGuasta[static_cast<std::size_t>(piPagina)];
}

void frmDatiAzie::visPagina(int piPagina) {
    if (!PaginaConScheda(piPagina)) {
        throw NumberedError(errnum::Subscript, "Indice non compreso nell'intervallo", "visPagina");
    }
    auto indice = static_cast<std::size_t>(piPagina);
    if (mbPagCaricata[indice]) return;
    mbPagCaricata[indice] = true;
    const PaginaDatiAzie* pagina = Pagina(piPagina);
    if (pagina == nullptr || !pagina->carica) return;
    try {
        pagina->carica(*this);
    } catch (const std::exception& e) {
        // A half-loaded page stays on screen but must never be written over the stored row.
        mbPagGuasta[indice] = true;
        MostraErrore(e);
    }
}

void frmDatiAzie::TasPagine_Click() {
    const int pagina = PaginaDellaScheda(TasPagine->selectedIndex());
    for (const auto& [indice, pic] : PicPagine) pic->setVisible(indice == pagina);
    visPagina(pagina);
    const PaginaDatiAzie* dichiarata = Pagina(pagina);
    if (dichiarata != nullptr && txt.exists(dichiarata->campoIniziale)) {
        PrimoCampo(txt(dichiarata->campoIniziale));
    }
}

void frmDatiAzie::MostraPagina(ui::Control& pagina) {
    bool isPicture = pagina.isArrayElement() && equalText(pagina.name(), "PicPagine");
    const int scheda = isPicture ? SchedaDellaPagina(pagina.index()) : 0;
    if (scheda != 0 && TasPagine->selectedIndex() != scheda) TasPagine->setSelectedIndex(scheda);
    if (!pagina.visible()) {
        if (isPicture) {
            for (const auto& [indice, pic] : PicPagine) pic->setVisible(pic == &pagina);
        } else {
            pagina.setVisible(true);
        }
    }
}

void frmDatiAzie::ApriRsPagina(std::string frmDatiAzie::*handle, const std::string& sql) {
    this->*handle = Rs().ApriRs(goDbase(), osIdDbase, "", sql, false, rstype::Dynaset);
    msSqlRs[this->*handle] = sql;
}

std::string frmDatiAzie::TestoCampoRs(const std::string& handle, const std::string& campo) {
    return Rs().ValoreCampoRs(handle, campo).text();
}

const PaginaDatiAzie* frmDatiAzie::Pagina(int piPagina) {
    for (const PaginaDatiAzie* pagina : PagineDatiAzie()) {
        if (pagina->numero == piPagina) return pagina;
    }
    return nullptr;
}

const CampoPagina* frmDatiAzie::Campo(int piCampo) {
    static const std::map<int, const CampoPagina*> campi = [] {
        std::map<int, const CampoPagina*> mappa;
        for (const PaginaDatiAzie* pagina : PagineDatiAzie()) {
            for (const CampoPagina& campo : pagina->campi) mappa[campo.numero] = &campo;
        }
        return mappa;
    }();
    auto it = campi.find(piCampo);
    return it == campi.end() ? nullptr : it->second;
}

void registraFrmDatiAzie() {
    registraForm("frmdatiazie", [](const ApriFormArgs& args) {
        frmDatiAzie& f = ui::desktop().load<frmDatiAzie>();
        f.osKeySec = args.osKeySec;
        f.osKeyLancia = args.osKeyLancia;
        f.osKeySecLancia = args.osKeySecLancia;
        f.osParamLancia = args.osParamLancia;
        f.osParam = args.osParam;
        MostraForm(f);
        if (!goMenuClient) return;
        std::filesystem::path file = goMenuClient->Parametro("NomeDBAzie", "").text();
        if (file.empty()) return;
        if (file.is_relative() && !gsIdDbase.empty() && goDbase().EsisteConnessione(gsIdDbase)) {
            file = std::filesystem::path(goDbase().PercorsoDb(gsIdDbase)).parent_path() / file;
        }
        f.ApriDBAzie(file.string());
    });
}

}  // namespace tolvane
