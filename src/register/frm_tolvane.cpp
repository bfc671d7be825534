// The company grid: the register read on the common database, filtered by the access lists,
// the "Azienda" key that opens the chosen company's data form with its database password, and
// the key that opens the creation of a company.
#include "register/frm_tolvane.h"

#include <filesystem>
#include <system_error>

#include "common/db_comune.h"
#include "common/globali.h"
#include "common/msg_com.h"
#include "common/parametri_menu.h"
#include "common/servizi_finestre.h"
#include "companydata/frm_dati_azie.h"
#include "platform/text.h"
#include "register/frm_crea_azi.h"
#include "register/frm_personal.h"
#include "startup/form_registry.h"
#include "startup/programma.h"
#include "suite/menu/menu_client.h"
#include "ui/desktop.h"

namespace tolvane {

namespace {

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

template <class F>
void setLaunch(F& form, const ApriFormArgs& args) {
    form.osKeySec = args.osKeySec;
    form.osKeyLancia = args.osKeyLancia;
    form.osKeySecLancia = args.osKeySecLancia;
    form.osParamLancia = args.osParamLancia;
    form.osParam = args.osParam;
}

}  // namespace

frmTolvane::frmTolvane()
    : ListWindow("frmTolvane", "Archivio aziende"), LabUtente(add<ui::Label>("LabUtente")) {
    Toolbar1.addButton("Azienda", "Dati &azienda", "Apre i dati dell'azienda scelta");
    Toolbar1.addButton("CreaAzienda", "&Nuova azienda", "Crea una nuova azienda");
    AggiungiTastiComuni();
    LabUtente.move(120, 480, 10440, 300);
    grdLista.move(120, 840, 10440, 5200);
    grdLista.on.onDblClick = [this] { ButtonComando("Azienda"); };
    ogVedrix.printName = "Elenco Aziende";
}

void frmTolvane::ButtonComando(const std::string& psKey) {
    if (equalText(psKey, "Azienda")) {
        ConTrappola([this] { Azienda(); });
    } else if (equalText(psKey, "CreaAzienda")) {
        ConTrappola([this] { CreaAzienda(); });
    } else {
        ListWindow::ButtonComando(psKey);
    }
}

void frmTolvane::DatRefresh() {
    AccessIdentity who;
    who.login = LeggiParametro("Login").text();
    who.group = LeggiParametro("Gruppo").text();
    who.terminal = goMenuClient->Terminale();
    LabUtente.setCaption("Utente: " + who.login + "   Gruppo: " + who.group +
                         "   Terminale: " + who.terminal);

    // Read whole before anything changes: a failed read leaves the grid and its rows as shown.
    std::vector<CompanyRow> aziende;
    for (CompanyRow& row : readCompanies(gsIdDbase)) {
        if (companyAllowed(row, who)) aziende.push_back(std::move(row));
    }
    // The company chosen stays chosen while it is listed, wherever the new list puts it.
    const int scelta = RigaScelta();
    const std::string codiceScelto =
        scelta >= 0 ? maAziende[static_cast<std::size_t>(scelta)].Codice : std::string();
    maAziende = std::move(aziende);
    std::vector<std::vector<std::string>> rows;
    for (const CompanyRow& a : maAziende) {
        rows.push_back({a.Codice, a.IdAzienda, a.Descrizione, a.NomeDB, a.ListaLogin, a.ListaGruppi,
                        a.ListaTerminali});
    }
    MostraLista({{"Codice", 1200},
                 {"Id", 600},
                 {"Descrizione", 4200},
                 {"Database", 4200},
                 {"Login abilitati", 2400, false},
                 {"Gruppi abilitati", 2400, false},
                 {"Terminali abilitati", 2400, false}},
                rows);
    for (std::size_t i = 0; scelta >= 0 && i < maAziende.size(); ++i) {
        if (maAziende[i].Codice != codiceScelto) continue;
        grdLista.setRow(static_cast<int>(i) + grdLista.fixedRows());
        break;
    }
}

void frmTolvane::Form_Unload(bool& Cancel) {
    ListWindow::Form_Unload(Cancel);
    if (Cancel) return;
    // The menu opened this window: it comes forward again, unless the program is closing.
    if (!gbInChiusura) AttivaMenu("");
}

void frmTolvane::Azienda() {
    const int riga = RigaScelta();
    if (riga < 0) {
        frmMsgCom::msgCom("Scegliere un'azienda dall'elenco", "&Ok");
        return;
    }
    const CompanyRow azienda = maAziende[static_cast<std::size_t>(riga)];
    const std::filesystem::path file = companyDatabasePath(azienda.NomeDB, gsIdDbase);
    if (file.empty()) {
        frmMsgCom::msgCom("Il database dell'azienda " + azienda.Codice + " non è indicato", "&Ok");
        return;
    }
    const std::string pwd = LeggiParametro("pwddbazie:" + azienda.PwdDB).text();

    ApriDatiAzienda(file, azienda.Connect, pwd, osKeySec);
}

void frmTolvane::CreaAzienda() {
    frmCreaAzi& crea = ui::desktop().load<frmCreaAzi>();
    crea.osKeySec = osKeySec;
    MostraForm(crea);
}

frmDatiAzie* ApriDatiAzienda(const std::filesystem::path& file, const std::string& psConnect,
                             const std::string& psPwd, const std::string& psKeySec) {
    if (frmDatiAzie* aperta = ui::desktop().find<frmDatiAzie>(); aperta && aperta->loaded()) {
        if (!aperta->osIdDbase.empty() && goDbase().EsisteConnessione(aperta->osIdDbase) &&
            sameFile(goDbase().PercorsoDb(aperta->osIdDbase), file)) {
            MostraForm(*aperta);
            return aperta;
        }
        // Another company's form: its pages belong to that database, so it starts anew.
        if (!aperta->unload()) return nullptr;
    }
    frmDatiAzie& dati = ui::desktop().load<frmDatiAzie>();
    dati.osKeySec = psKeySec;
    MostraForm(dati);
    if (dati.ApriDBAzie(file.string(), psConnect, psPwd)) return &dati;
    dati.unload();
    return nullptr;
}

void registraFinestreArchivio() {
    registraForm("frmtolvane", [](const ApriFormArgs& args) {
        frmTolvane& f = ui::desktop().load<frmTolvane>();
        setLaunch(f, args);
        MostraForm(f);
    });
    registraForm("frmpersonal", [](const ApriFormArgs& args) {
        frmPersonal& f = ui::desktop().load<frmPersonal>();
        setLaunch(f, args);
        MostraForm(f);
        const std::string nome = LeggiParametro("NomeDBAzie").text();
        if (!Trim(nome).empty()) f.ApriDBAzie(companyDatabasePath(nome, gsIdDbase).string());
    });
}

}  // namespace tolvane
