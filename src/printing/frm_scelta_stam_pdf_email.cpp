// The PDF/e-mail panel: its controls, the showing of the menu server's settings, their writing
// back and the selection of what the menu server saves. Writes nothing to the menu server
// until every value to write has been worked out.
#include "printing/frm_scelta_stam_pdf_email.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <utility>

#include "common/globali.h"
#include "common/msg_com.h"
#include "common/parametri_menu.h"
#include "common/servizi_finestre.h"
#include "platform/text.h"
#include "printing/cerca_email_cliente.h"
#include "printing/email_stampa.h"
#include "suite/lib_generale.h"
#include "suite/opz_stampa.h"
#include "ui/driver.h"
#include "ui/ui_constants.h"

namespace tolvane {

namespace {

constexpr double kRiga = 300;
constexpr double kAltezza = 285;
constexpr double kSinistraCampo = 2800;
constexpr double kLarghezzaCampo = 3900;
constexpr double kSinistraCerca = 6760;
constexpr double kSinistraSalva = 7560;
constexpr double kSinistraBottoni = 8040;

std::string testo(const std::string& chiave) { return LeggiParametro(chiave).text(); }

bool uguale(const std::string& chiave, const char* valore) {
    return equalText(testo(chiave), valore);
}

bool valeVero(const Variant& valore) {
    if (valore.isEmpty() || valore.isNull()) return false;
    try {
        return valore == Variant(true);
    } catch (const NumberedError&) {
        return false;
    }
}

int numeroTra(const Variant& valore, int minimo, int massimo) {
    int n = goLibGen().ValoreIntero(valore, true, true);
    return std::clamp(n, minimo, massimo);
}

int selezionata(const ui::CheckBox& casella) { return casella.value() == ui::check::Checked; }

}  // namespace

std::string joinPdfAutomImpPar(const std::array<std::string, 5>& values) {
    std::string joined;
    for (std::size_t i = 0; i < values.size(); ++i) joined += (i ? "\t" : "") + values[i];
    return joined;
}

std::array<std::string, 5> splitPdfAutomImpPar(const Variant& value) {
    std::array<std::string, 5> values;
    std::string text = value.text();
    std::size_t start = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::size_t tab = i + 1 < values.size() ? text.find('\t', start) : std::string::npos;
        values[i] = text.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return values;
}

void registraPannelloPdfEmail() {
    FrmSceltaStam::Extensions& e = FrmSceltaStam::extensions();
    e.leggiParEmail = [](const std::string& chiave) { return LeggiParEmail(chiave); };
    e.pdfAutomClick = [](FrmSceltaStam& form) { ChePdfAutom_Click(form); };
    e.inviaEmailClick = [](FrmSceltaStam& form) { CheInviaEmail_Click(form); };
    e.openEmailPanel = [](FrmSceltaStam& form) {
        ConTrappola([&] { pdfEmailPanel(form).Apri(); });
    };
    e.makeEmailPanel = [](FrmSceltaStam& form) { pdfEmailPanel(form); };
    e.customerEmail = [](FrmSceltaStam& form, int indice, const std::string& codice) {
        ConTrappola([&] {
            int colonna = 0;
            CercaEmailCliente(form, indice, ui::key::F2, 0, Variant(codice), 0, colonna);
        });
    };
}

PdfEmailPanel& pdfEmailPanel(FrmSceltaStam& form) {
    if (!form.emailPanel) form.emailPanel = std::make_unique<PdfEmailPanel>(form);
    return static_cast<PdfEmailPanel&>(*form.emailPanel);
}

PdfEmailPanel::PdfEmailPanel(FrmSceltaStam& f)
    : form(f),
      LabPE(f, "LabPE"),
      LabSalvare(f, "LabSalvare"),
      ChePdfEmailVal(f, "ChePdfEmailVal"),
      ChePdfEmailSalva(f, "ChePdfEmailSalva"),
      PicEmailAttiva(f, "PicEmailAttiva"),
      FraTipoInvio(f, "FraTipoInvio"),
      OptPETipoInvio(f, "OptPETipoInvio"),
      OptPEDove(f, "OptPEDove") {
    CreaControlli();
    CboEmailToNum->on.onClick = [this] { CboEmailToNum_Click(); };
    CboEmailTipoNum->on.onClick = [this] { CboEmailTipoNum_Click(); };
    ComPeDatiCor->on.onClick = [this] { ConTrappola([&] { ComPeDatiCor_Click(); }); };
    ComPECanc->on.onClick = [this] { ConTrappola([&] { ComPECanc_Click(); }); };
    ComPERileggi->on.onClick = [this] { ConTrappola([&] { ComPERileggi_Click(); }); };
    ComPESalva->on.onClick = [this] { ConTrappola([&] { ComPESalva_Click(); }); };
    ComPEAnnulla->on.onClick = [this] { ConTrappola([&] { ComPEAnnulla_Click(); }); };
    ComPEOk->on.onClick = [this] { ConTrappola([&] { ComPEOk_Click(); }); };
    ComPESel->on.onClick = [this] { PESelDeselSalOpz(true); };
    ComPEDesel->on.onClick = [this] { PESelDeselSalOpz(false); };
}

ui::TextBox& PdfEmailPanel::campo(int indice, ui::Control* in, const char* caption, double top) {
    LabPE.add(indice, in).setCaption(caption);
    LabPE(indice).move(60, top, kSinistraCampo - 120, kAltezza);
    ui::TextBox& box = form.txt.add(indice, in);
    box.move(kSinistraCampo, top, kLarghezzaCampo, kAltezza);
    return box;
}

ui::CheckBox& PdfEmailPanel::casella(int indice, ui::Control* in, const char* caption, double top) {
    ui::CheckBox& box = ChePdfEmailVal.add(indice, in);
    box.setCaption(caption);
    box.move(60, top, kSinistraSalva - 120, kAltezza);
    return box;
}

void PdfEmailPanel::salva(int indice, ui::Control* in, double top) {
    ChePdfEmailSalva.add(indice, in).move(kSinistraSalva, top, 300, kAltezza);
}

void PdfEmailPanel::CreaControlli() {
    ui::PictureBox* pic = form.PicPdfEmail;
    pic->move(60, 60, form.width() - 120, form.height() - 120);
    LabTitolo = &form.add<ui::Label>("LabTitoloPE", pic);
    LabTitolo->setCaption("Parametri per stampe pdf ed email");
    LabTitolo->move(60, 60, 6000, kAltezza);
    LabSalvare.add(0, pic).setCaption("Salvare");
    LabSalvare(0).move(kSinistraSalva - 120, 60, 700, kAltezza);

    double top = 420;
    auto riga = [&] {
        double adesso = top;
        top += kRiga;
        return adesso;
    };
    double r = riga();
    casella(1, pic, "Usa PdfCreator", r);
    salva(1, pic, r);
    r = riga();
    casella(2, pic, "Usa Pdf995", r);
    salva(2, pic, r);
    r = riga();
    campo(1003, pic, "Percorso file per pdf", r);
    form.ComCerca.add(1003, pic).setCaption("Cerca");
    form.ComCerca(1003).move(kSinistraCerca, r, 700, kAltezza);
    salva(3, pic, r);
    r = riga();
    casella(4, pic, "Apertura automatica file pdf dopo la stampa", r);
    salva(4, pic, r);
    r = riga();
    ui::TextBox& to = campo(1005, pic, "Indir. Email a cui si invia", r);
    for (int i : {1505, 1515})
        form.txt.add(i, pic).move(to.left(), to.top(), to.width(), to.height());
    CboEmailToNum = &form.add<ui::ComboBox>("CboEmailToNum", pic);
    CboEmailToNum->setStyle(ui::ComboBox::Style::DropDownList);
    CboEmailToNum->move(kSinistraCerca, r, 700, kAltezza);
    for (const char* voce : {"1", "2", "3"}) CboEmailToNum->addItem(voce);
    salva(5, pic, r);
    r = riga();
    campo(1007, pic, "File di log email", r);
    form.ComCerca.add(1007, pic).setCaption("Cerca");
    form.ComCerca(1007).move(kSinistraCerca, r, 700, kAltezza);
    salva(7, pic, r);
    r = riga();
    casella(13, pic, "Richiedere notifica email ricevuta ", r);
    salva(13, pic, r);
    r = riga();
    casella(16, pic, "Abilitare opzione richiesta invio email", r);
    salva(16, pic, r);
    r = riga();
    LabPE.add(22, pic).setCaption("Configurazione di invio email Attiva");
    LabPE(22).move(60, r, kSinistraCampo - 120, kAltezza);
    CboEmailTipoNum = &form.add<ui::ComboBox>("CboEmailTipoNum", pic);
    CboEmailTipoNum->setStyle(ui::ComboBox::Style::DropDownList);
    CboEmailTipoNum->move(kSinistraCampo, r, 1500, kAltezza);
    for (const char* voce : {"Scelta 1", "Scelta 2", "Scelta 3"}) CboEmailTipoNum->addItem(voce);
    salva(22, pic, r);

    double topConfigurazioni = top + 60;
    for (int k = 0; k < 3; ++k) {
        ui::PictureBox& box = PicEmailAttiva.add(k, pic);
        box.move(0, topConfigurazioni, kSinistraBottoni - 60, 13 * kRiga + 420);
        CreaConfigurazione(k);
    }
    top = topConfigurazioni + 13 * kRiga + 480;
    r = riga();
    campo(1520, pic, "Indir. temporaneo", r);
    form.ComHlp.add(1520, pic).setCaption("...");
    form.ComHlp(1520).move(kSinistraCerca, r, 400, kAltezza);
    // The customer chosen by the look-up of the temporary address.
    form.Lab.add(1520, pic);
    form.Lab(1520).move(kSinistraCampo, top, kLarghezzaCampo, kAltezza);
    form.Lab.add(1019, pic).setCaption("DecodEmail");
    form.Lab(1019).move(kSinistraCerca, top, kSinistraBottoni - kSinistraCerca - 60, kAltezza);

    double bottoni = 420;
    Frame1 = &form.add<ui::Frame>("Frame1", pic);
    Frame1->setCaption("Dove salvare");
    Frame1->move(kSinistraBottoni, bottoni, 1600, 1200);
    OptPEDove.add(0, Frame1).setCaption("Parametri di questo terminale");
    OptPEDove(0).move(60, 240, 1480, 420);
    OptPEDove.add(1, Frame1).setCaption("Parametri comuni a tutti i terminali");
    OptPEDove(1).move(60, 700, 1480, 420);
    OptPEDove(0).setValue(true);
    bottoni += 1320;
    auto bottone = [&](const char* nome, const char* caption) {
        ui::CommandButton& b = form.add<ui::CommandButton>(nome, pic);
        b.setCaption(caption);
        b.move(kSinistraBottoni, bottoni, 1600, 360);
        bottoni += 420;
        return &b;
    };
    ComPeDatiCor = bottone("ComPeDatiCor", "Ri&leggi dati correnti");
    ComPECanc = bottone("ComPECanc", "&Cancella su file Ini");
    ComPERileggi = bottone("ComPERileggi", "&Rileggi da file Ini");
    ComPESalva = bottone("ComPESalva", "&Salva su file Ini");
    ComPESel = bottone("ComPESel", "S&eleziona tutto");
    ComPEDesel = bottone("ComPEDesel", "&Deseleziona tutto");
    ComPEAnnulla = bottone("ComPEAnnulla", "&Annulla");
    ComPEOk = bottone("ComPEOk", "&Ok");
}

void PdfEmailPanel::CreaConfigurazione(int k) {
    ui::PictureBox* box = &PicEmailAttiva(k);
    int b = 100 * k;
    LabSalvare.add(k + 1, box).setCaption("Salvare");
    LabSalvare(k + 1).move(kSinistraSalva - 120, 0, 700, kAltezza);
    ui::Frame& frame = FraTipoInvio.add(k, box);
    frame.setCaption("Tipo Invio");
    frame.move(60, 240, kSinistraSalva - 180, 420);
    const char* tipi[] = {"Sendmail", "CDO", "Outlook", "See", "Non usato"};
    for (int m = 0; m < (k == 0 ? 4 : 5); ++m) {
        ui::OptionButton& opzione = OptPETipoInvio.add(5 * k + m, &frame);
        opzione.setCaption(tipi[m]);
        opzione.move(60 + m * 1400, 120, 1340, kAltezza);
    }
    salva(b + 6, box, 300);

    double top = 720;
    auto riga = [&] {
        double adesso = top;
        top += kRiga;
        return adesso;
    };
    struct Campo {
        int n;
        const char* caption;
    };
    const Campo campi[] = {
        {8, "Indirizzo email di chi invia"},
        {9, "Descriz. email di invio(centro)"},
        {10, "Tipo server (Solo per CDO)"},
        {11, "Server SMTP"},
        {12, "Indirizzo di replay"},
        {14, "Login Email"},
        {15, "Pwd Email"},
        {17, "Numero testo da usare"},
        {18, "Descriz. per l'oggetto email"},
        {19, "Numero porta SMTP"},
    };
    for (const Campo& c : campi) {
        double r = riga();
        ui::TextBox& t = campo(1000 + b + c.n, box, c.caption, r);
        // The password is typed and shown masked.
        if (c.n == 15) t.setPasswordChar("*");
        salva(b + c.n, box, r);
    }
    double r = riga();
    casella(b + 20, box, "Usa SSL per l'invio dell'email", r);
    salva(b + 20, box, r);
    r = riga();
    campo(1021 + b, box, "Directory stunnel", r);
    form.ComCerca.add(1021 + b, box).setCaption("Cerca");
    form.ComCerca(1021 + b).move(kSinistraCerca, r, 700, kAltezza);
    salva(b + 21, box, r);
}

bool PdfEmailPanel::IndInVet(int piCheck) {
    return std::find(kCampiConfigurazione.begin(), kCampiConfigurazione.end(), piCheck) !=
           kCampiConfigurazione.end();
}

std::vector<std::pair<int, std::string>> PdfEmailPanel::Configurazioni() const {
    if (!mbPiuConfig) return {{0, ""}};
    return {{0, "1"}, {1, "2"}, {2, "3"}};
}

std::string PdfEmailPanel::TipoInvioScelto(int k) const {
    auto scelto = [&](int m) {
        return OptPETipoInvio.exists(5 * k + m) && OptPETipoInvio(5 * k + m).value();
    };
    if (scelto(1)) return "C";
    if (scelto(2)) return "O";
    if (scelto(3)) return "E";
    if (k > 0 && scelto(4)) return "";
    return "S";
}

void PdfEmailPanel::MostraIniPE() {
    const LibGenerale& lib = goLibGen();
    ChePdfEmailVal(1).setValue(uguale("UsaPdfCreator", "S"));
    ChePdfEmailVal(2).setValue(uguale("UsaPdf995", "S"));
    ChePdfEmailVal(4).setValue(uguale("CreatorAutosaveStart", "S"));
    form.txt(1003).setText(testo("PdfNomeFile"));
    form.txt(1005).setText(testo("EmailTo1"));
    form.txt(1505).setText(testo("EmailTo2"));
    form.txt(1515).setText(testo("EmailTo3"));

    // A stored number beyond the three boxes or configurations shows the last one.
    miEmailToCor = numeroTra(LeggiParametro("EmailToNum"), 1, 3);
    MostraEmailToCor(true);

    miEmailTipoCor = numeroTra(LeggiParametro("EmailTipoNum"), 0, 3);
    if (miEmailTipoCor != 0) {
        mbPiuConfig = true;
    } else {
        // A single configuration sends to the first address.
        ScriviParametro("EmailToNum", Variant(static_cast<std::int16_t>(1)));
        miEmailTipoCor = numeroTra(LeggiParametro("EmailTipoNum"), 0, 3);
        mbPiuConfig = miEmailTipoCor != 0;
        if (!mbPiuConfig) miEmailTipoCor = 1;
    }
    MostraEmailTipoCor(true);

    for (const auto& [k, p] : Configurazioni()) {
        int b = 100 * k;
        std::string tipo = testo(p + "EmailTipoInvio");
        int m = equalText(tipo, "C")      ? 1
                : equalText(tipo, "O")    ? 2
                : equalText(tipo, "E")    ? 3
                : (tipo.empty() && k > 0) ? 4
                                          : 0;
        OptPETipoInvio(5 * k + m).setValue(true);
        const std::pair<int, const char*> testi[] = {
            {1008, "EmailInd"},      {1012, "EmailReplay"},      {1009, "EmailCentro"},
            {1010, "EmailSMTPtipo"}, {1011, "EmailServerSMTP"},  {1014, "EmailLogin"},
            {1015, "EmailPwd"},      {1018, "EmailPersOggetto"}, {1021, "EmailDirStunnel"}};
        for (const auto& [indice, chiave] : testi) form.txt(indice + b).setText(testo(p + chiave));
        form.txt(1017 + b).setText(lib.FormatoNumero(LeggiParametro(p + "EmailNumTesto"), "#"));
        form.txt(1019 + b).setText(lib.FormatoNumero(LeggiParametro(p + "EmailNumPorta"), "#"));
        ChePdfEmailVal(b + 20).setValue(uguale(p + "EmailUsaSSL", "S"));
    }

    form.txt(1007).setText(testo("EmailFileLog"));
    ChePdfEmailVal(13).setValue(valeVero(LeggiParametro("EmailFlagNotifica")));
    ChePdfEmailVal(16).setValue(uguale("StampeEmail", "S"));
    form.txt(1017).setBackColor(glColNormale);
    form.txt(1520).setText(form.ogOpzSta ? form.ogOpzSta->LeggiParStampa("EmailToTemp").text()
                                         : std::string());
}

void PdfEmailPanel::AggIniPE() {
    const LibGenerale& lib = goLibGen();
    auto sn = [this](int n) { return Variant(selezionata(ChePdfEmailVal(n)) ? "S" : "N"); };
    auto intero = [&lib](const std::string& t) { return Variant(lib.ValoreIntero(Variant(t))); };
    // Every value is worked out first: a number that does not fit stops the writing before any.
    std::vector<std::pair<std::string, Variant>> valori = {
        {"UsaPdfCreator", sn(1)},
        {"UsaPdf995", sn(2)},
        {"CreatorAutosaveStart", sn(4)},
        {"PdfNomeFile", Variant(form.txt(1003).text())},
        {"EmailTo1", Variant(form.txt(1005).text())},
        {"EmailTo2", Variant(form.txt(1505).text())},
        {"EmailTo3", Variant(form.txt(1515).text())},
        {"EmailToNum", Variant(static_cast<std::int16_t>(miEmailToCor))},
        {"EmailTo", Variant(form.txt(miEmailToCor == 1   ? 1005
                                     : miEmailToCor == 2 ? 1505
                                                         : 1515)
                                .text())},
    };
    std::vector<std::pair<int, std::string>> configurazioni = Configurazioni();
    // Writing EmailTipoNum below ends the single configuration: the configuration left in view
    // is written under that number too, where the next showing and the e-mail of a print read.
    if (!mbPiuConfig)
        configurazioni.emplace_back(miEmailTipoCor - 1, std::to_string(miEmailTipoCor));
    for (const auto& [k, p] : configurazioni) {
        int b = 100 * k;
        valori.emplace_back(p + "EmailTipoInvio", Variant(TipoInvioScelto(k)));
        const std::pair<int, const char*> testi[] = {
            {1008, "EmailInd"},        {1009, "EmailCentro"},      {1010, "EmailSMTPtipo"},
            {1011, "EmailServerSMTP"}, {1012, "EmailReplay"},      {1014, "EmailLogin"},
            {1015, "EmailPwd"},        {1018, "EmailPersOggetto"}, {1021, "EmailDirStunnel"}};
        for (const auto& [indice, chiave] : testi)
            valori.emplace_back(p + chiave, Variant(form.txt(indice + b).text()));
        valori.emplace_back(p + "EmailNumTesto", intero(form.txt(1017 + b).text()));
        valori.emplace_back(p + "EmailNumPorta", intero(form.txt(1019 + b).text()));
        valori.emplace_back(p + "EmailUsaSSL",
                            Variant(selezionata(ChePdfEmailVal(b + 20)) ? "S" : ""));
    }
    valori.emplace_back("EmailFileLog", Variant(form.txt(1007).text()));
    valori.emplace_back("EmailFlagNotifica", Variant(selezionata(ChePdfEmailVal(13)) != 0));
    valori.emplace_back("StampeEmail", sn(16));

    for (const auto& [chiave, valore] : valori) ScriviParametro(chiave, valore);
    if (form.ogOpzSta)
        form.ogOpzSta->ScriviParStampa("EmailToTemp", OpzStampa::kTipoAltro,
                                       Variant(form.txt(1520).text()));
    ScriviParametro("EmailTipoNum", Variant(static_cast<std::int16_t>(miEmailTipoCor)));
}

std::string PdfEmailPanel::SalvaCancIniPE() const {
    std::string selezione = OptPEDove(1).value() ? "g" : "p";
    for (int k = 0; k < 3; ++k) {
        for (int n = 1; n <= 21; ++n) {
            if (k > 0 && !IndInVet(n)) {
                selezione += 'X';
                continue;
            }
            int indice = 100 * k + n;
            selezione += ChePdfEmailSalva.exists(indice) && selezionata(ChePdfEmailSalva(indice))
                             ? 'S'
                             : 'N';
        }
        if (k == 0) selezione += selezionata(ChePdfEmailSalva(22)) ? 'S' : 'N';
        else selezione += 'X';
    }
    return selezione;
}

void PdfEmailPanel::PESelDeselSalOpz(bool pbSelez) {
    for (auto& [indice, casella] : ChePdfEmailSalva)
        casella->setValue(pbSelez ? ui::check::Checked : ui::check::Unchecked);
    // The password is saved only when its box is ticked by hand.
    if (pbSelez)
        for (int indice : {15, 115, 215}) ChePdfEmailSalva(indice).setValue(ui::check::Unchecked);
}

void PdfEmailPanel::MostraEmailToCor(bool pbAggCob) {
    const ui::TextBox& primo = form.txt(1005);
    const int caselle[] = {1005, 1505, 1515};
    for (int i = 0; i < 3; ++i) {
        ui::TextBox& box = form.txt(caselle[i]);
        if (i > 0) {
            box.setLeft(primo.left());
            box.setTop(primo.top());
        }
        box.setVisible(i + 1 == miEmailToCor);
    }
    if (pbAggCob) CboEmailToNum->setListIndex(miEmailToCor - 1);
}

void PdfEmailPanel::MostraEmailTipoCor(bool pbAggCob) {
    const ui::PictureBox& primo = PicEmailAttiva(0);
    for (int k = 0; k < 3; ++k) {
        ui::PictureBox& box = PicEmailAttiva(k);
        if (k > 0) box.move(primo.left(), primo.top(), primo.width(), primo.height());
        box.setVisible(k == miEmailTipoCor - 1);
    }
    if (pbAggCob) CboEmailTipoNum->setListIndex(miEmailTipoCor - 1);
}

void PdfEmailPanel::CboEmailToNum_Click() {
    if (CboEmailToNum->listIndex() < 0) return;
    miEmailToCor = CboEmailToNum->listIndex() + 1;
    MostraEmailToCor(false);
}

void PdfEmailPanel::CboEmailTipoNum_Click() {
    if (CboEmailTipoNum->listIndex() < 0) return;
    miEmailTipoCor = CboEmailTipoNum->listIndex() + 1;
    MostraEmailTipoCor(false);
}

}  // namespace tolvane
