// The RiBa/RID page: creditor and sender data, file naming option, and the payment types of
// the customer and supplier batches, which must allow issuing bills.
// Never writes a payment type that the decoding refused: the frame's check stops the save.
#include "companydata/pagina_riba.h"

#include <utility>

#include "companydata/frm_dati_azie.h"
#include "platform/text.h"
#include "suite/decodifiche/servizio_decodifiche.h"

namespace tolvane {

namespace {

// The plain text columns, in the order the loader reads them.
const std::pair<int, const char*> kCampiTesto[] = {
    {8000, "RagSocDitta"}, {8010, "ViaDitta"},  {8020, "CapLocalDitta"}, {8030, "ProvDitta"},
    {8040, "RifMitt"},     {8050, "FirmaMitt"}, {8082, "CFiscPIva"},
};

// Every column in the order the writer assigns it.
const std::pair<int, const char*> kColonneScritte[] = {
    {8000, "RagSocDitta"}, {8010, "ViaDitta"},  {8020, "CapLocalDitta"}, {8030, "ProvDitta"},
    {8040, "RifMitt"},     {8050, "FirmaMitt"}, {8060, "NomeRiba"},      {8070, "PagTipoCli"},
    {8080, "PagTipoFor"},  {8082, "CFiscPIva"},
};

const int kCampiTrimmati[] = {8000, 8010, 8020, 8030, 8040, 8050, 8060, 8070, 8080, 8082};

std::string verificaEmissEffetti(frmDatiAzie&, int, const Variant& emissEffetti) {
    if (equalText(Trim(emissEffetti.text()), "S")) return {};
    return "Non è prevista l'emissione degli effetti per questo tipo di pagamento.";
}

CampoPagina campoPagTipo(int numero, std::string didascalia) {
    CampoPagina campo = CampoTesto(numero, std::move(didascalia), 1);
    campo.descrizione = true;
    campo.ricerca = "PagTipo";
    campo.filtroRicerca = "EmissEffetti='S'";
    campo.decodifica = RegolaDecodifica{"PagTipo", "", "EmissEffetti", true, verificaEmissEffetti};
    return campo;
}

// The second option: "R", whether or not it was already the one selected.
void selezionaOpzioneRiba(frmDatiAzie& f) {
    auto& opzioni = f.Opzioni("OptFileRiBa");
    opzioni(0).setValue(false);
    opzioni(1).setValue(true);
    f.txt(8060).setText("R");
}

void decodificaPagTipo(frmDatiAzie& f, int numero) {
    if (Trim(f.txt(numero).text()).empty() || !goDecodifiche) return;
    goDecodifiche->DecodArtConto("PagTipo", f.txt(numero), &f.Lab(numero));
}

bool VerDatiRiBa(frmDatiAzie& f) {
    for (int numero : kCampiTrimmati) f.txt(numero).setText(Trim(f.txt(numero).text()));
    return true;
}

}  // namespace

void VisRiBa(frmDatiAzie& f) {
    f.ApriRsPagina(&frmDatiAzie::msRsRiBa, std::string("SELECT") + " TabRiba.*" + " FROM TabRiba");
    const std::string& rs = f.msRsRiBa;
    if (!f.Rs().VuotoRs(rs)) {
        for (const auto& [numero, colonna] : kCampiTesto) {
            f.txt(numero).setText(f.TestoCampoRs(rs, colonna));
        }
        f.txt(8060).setText(f.TestoCampoRs(rs, "NomeRiba"));
        if (equalText(f.TestoCampoRs(rs, "Nomeriba"), "D")) {
            auto& opzioni = f.Opzioni("OptFileRiBa");
            opzioni(0).setValue(true);
            f.txt(8060).setText("D");
        } else {
            selezionaOpzioneRiba(f);
        }
        f.txt(8070).setText(f.TestoCampoRs(rs, "PagTipoCli"));
        f.txt(8080).setText(f.TestoCampoRs(rs, "PagTipoFor"));
        decodificaPagTipo(f, 8070);
        decodificaPagTipo(f, 8080);
        return;
    }
    for (const auto& [numero, colonna] : kCampiTesto) f.txt(numero).setText("");
    selezionaOpzioneRiba(f);
    for (int numero : {8070, 8080}) {
        f.txt(numero).setText("");
        f.Lab(numero).setCaption("");
    }
}

void ScriviRiBa(frmDatiAzie& f) {
    for (const auto& [numero, colonna] : kColonneScritte) {
        f.Rs().ScriviCampoRs(f.msRsRiBa, colonna, Variant(f.txt(numero).text()));
    }
}

const PaginaDatiAzie& PaginaRiBa() {
    static const PaginaDatiAzie pagina = [] {
        PaginaDatiAzie p;
        p.numero = 6;
        p.titolo = "Dati RiBa";
        p.campoIniziale = 8000;
        p.campi = {
            CampoTesto(8000, "Denominazione creditore:", 24),
            CampoTesto(8010, "Indirizzo creditore:", 24),
            CampoTesto(8020, "C.A.P. e Località creditore:", 24),
            CampoTesto(8030, "Provincia creditore:", 24),
            CampoTesto(8040, "Riferimenti del mittente:", 26),
            CampoTesto(8050, "Firma emittente:", 20),
            CampoTesto(8082, "Cod.Fisc./P.Iva per Ri.Ba./Rid:", 20),
            // OptFileRiBa_Click is the frame's Opzione_Click: index 0 gives "D", index 1 "R".
            CampoOpzioni(8060, "Nome File RiBa/Rid:", "OptFileRiBa",
                         {{"\"R\"o \"D\" + cod.azienda + nr.distinta", "D"},
                          {"\"Riba\" o \"Rid\" + cod.azienda", "R"}},
                         1),
            campoPagTipo(8070, "Tipo Pagamento per distinta clienti:"),
            campoPagTipo(8080, "Tipo Pagamento per distinta fornitori:"),
        };
        p.carica = VisRiBa;
        p.verifica = VerDatiRiBa;
        p.salvataggi = {{&frmDatiAzie::msRsRiBa, ScriviRiBa}};
        return p;
    }();
    return pagina;
}

}  // namespace tolvane
