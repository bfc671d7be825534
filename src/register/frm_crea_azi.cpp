// The company-creation window: proposes the next identifier and its file, hands the typed values
// to the creation, shows a refusal as the creation worded it, and after a creation opens the new
// company's data form and then, when ticked, the batch window on it.
#include "register/frm_crea_azi.h"

#include "batchload/frm_carico_batch.h"
#include "common/globali.h"
#include "common/msg_com.h"
#include "common/servizi_finestre.h"
#include "platform/numbered_error.h"
#include "platform/scope_guard.h"
#include "register/company_register.h"
#include "register/frm_tolvane.h"
#include "startup/programma.h"
#include "suite/menu/menu_client.h"
#include "ui/desktop.h"
#include "ui/driver.h"

namespace tolvane {

namespace {

constexpr const char* kSorgenteRifiuto = "frmCreaAzi";

}  // namespace

frmCreaAzi::frmCreaAzi() : ui::Form("frmCreaAzi") {
    setCaption("Creazione nuova azienda");
    move(0, 0, 7200, 3600);
    struct Riga {
        ui::Label& lab;
        ui::TextBox& txt;
        const char* caption;
        int maxLength;
        double width;
    };
    double y = 240;
    for (Riga r : {Riga{LabCodice, txtCodice, "Codice azienda", 10, 1500},
                   Riga{LabIdAzienda, txtIdAzienda, "Identificativo", 3, 600},
                   Riga{LabDescrizione, txtDescrizione, "Descrizione", 60, 4500},
                   Riga{LabNomeDB, txtNomeDB, "File del database", 0, 4500}}) {
        r.lab.setCaption(r.caption);
        r.lab.move(240, y, 2000, 300);
        r.txt.move(2400, y, r.width, 300);
        r.txt.setMaxLength(r.maxLength);
        y += 420;
    }
    CheBatch.setCaption("Caricamento &batch dei dati dopo la creazione");
    CheBatch.move(2400, y, 4500, 300);
    comOk.setCaption("&Crea azienda");
    comOk.move(3600, y + 540, 1600, 420);
    comOk.setDefault(true);
    ComAnnulla.setCaption("&Annulla");
    ComAnnulla.move(5400, y + 540, 1500, 420);
    ComAnnulla.setCancel(true);

    comOk.on.onClick = [this] { comOk_Click(); };
    ComAnnulla.on.onClick = [this] { ComAnnulla_Click(); };
    txtIdAzienda.on.onChange = [this] { txtIdAzienda_Change(); };
    for (ui::TextBox* t : {&txtCodice, &txtIdAzienda, &txtDescrizione, &txtNomeDB}) {
        t->on.onGotFocus = [t] {
            ColoreGotFocus(*t);
            EvidenziaCampo();
        };
        t->on.onLostFocus = [t] { ColoreLostFocus(*t); };
    }
}

void frmCreaAzi::Form_Load() {
    miLoadOk = 0;
    try {
        InizioCaricoForm(*this);
        mFiles = companyFilesFromIni(gsIdDbase);
        txtIdAzienda.setText(nextCompanyId(readCompanies(gsIdDbase)));
        FineCaricoForm(*this);
        miLoadOk = 1;
    } catch (const std::exception& e) {
        FineCaricoForm(*this);
        frmMsgCom::MsgErrfrm(e, "", "\n" + caption());
    }
}

void frmCreaAzi::Form_Unload(bool&) { ChiudiProgramma(false); }

void frmCreaAzi::Form_KeyDown(int& KeyCode, int Shift) { GestTastiForm(KeyCode, Shift, *this); }

void frmCreaAzi::txtIdAzienda_Change() {
    // The proposed file follows the identifier until the user types a file of his own.
    if (txtNomeDB.text() != msFileProposto) return;
    msFileProposto = proposedCompanyFile(mFiles, txtIdAzienda.text());
    txtNomeDB.setText(msFileProposto);
}

void frmCreaAzi::comOk_Click() {
    NewCompany nuova{txtCodice.text(), txtIdAzienda.text(), txtDescrizione.text(),
                     txtNomeDB.text()};
    // The hourglass stays until the register shows the new company and its data form opens.
    Clessidra(true);
    ScopeGuard clessidra([] { Clessidra(false); });
    std::filesystem::path file;
    try {
        file = createCompany(nuova, mFiles, gsIdDbase);
    } catch (const NumberedError& e) {
        Clessidra(false);
        if (e.source() == kSorgenteRifiuto) {
            frmMsgCom::msgCom(e.description() + "\r\nL'azienda NON è stata creata", "&Ok");
        } else {
            frmMsgCom::MsgErrfrm(e, "", "\r\nL'azienda NON è stata creata");
        }
        return;
    } catch (const std::exception& e) {
        Clessidra(false);
        frmMsgCom::MsgErrfrm(e, "", "\r\nL'azienda NON è stata creata");
        return;
    }
    msNuovoDb = file.string();
    if (goMenuClient) goMenuClient->Parametro("Tutti.Refresh", "");
    if (frmTolvane* elenco = ui::desktop().find<frmTolvane>(); elenco && elenco->loaded()) {
        ConTrappola([elenco] { elenco->DatRefresh(); });
        Clessidra(true);
    }

    const bool batch = CheBatch.value() == 1;
    const std::string keySec = osKeySec;
    unload();
    // The batch window loads into the database of the company-data form: it comes after it.
    if (ApriDatiAzienda(file, "", "", keySec) == nullptr || !batch) return;
    frmCaricoBatch& carico = ui::desktop().instance<frmCaricoBatch>();
    carico.osKeySec = keySec;
    MostraForm(carico);
}

void frmCreaAzi::ComAnnulla_Click() { unload(); }

}  // namespace tolvane
