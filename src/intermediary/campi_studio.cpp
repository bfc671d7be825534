// The columns of TabStudio as the intermediary window exchanges them, in the table's order.
// Never holds a value: the window's fields do.
#include "intermediary/campi_studio.h"

#include <map>

namespace tolvane {

namespace {

using G = GenereCampoStudio;
using R = RegolaCampoStudio;
constexpr int kColonna = kDimensioneColonna;

}  // namespace

const std::vector<CampoStudio>& CampiStudio() {
    static const std::vector<CampoStudio> campi = {
        {"StampoPagRic", 10, 1, "Stampa pagina ricevuta:", G::Flag, 0, true, R::Nessuna, ""},
        {"UltimoProt", 20, 1, "Ultimo Protocollo:", G::Testo, 1, true, R::Numero, ""},
        {"CodFiscIntermediario", 30, 1,
         "Cod.Fiscale o Partita Iva Intermediario che effettua la trasmissione:", G::Testo,
         kColonna, false, R::CodiceFiscale, ""},
        {"NumIscrAlboCaf", 40, 1, "Nr.Iscrizione all'Albo dei C.A.F.:", G::Testo, 5, false,
         R::Nessuna, ""},
        {"CodFiscRespCafProf", 5050, 5,
         "Cod.Fiscale del Responsabile del CAF o Professionista(se PF):", G::Testo, kColonna, false,
         R::CodiceFiscale, ""},
        {"NumCopieDichPer", 60, 1, "Nr.Copie da stampare:", G::Testo, 1, true, R::Numero, "1"},
        {"NumRigheModulo", 70, 1, "Nr.Righe modulo:", G::Testo, 2, true, R::Numero, ""},
        {"NumRigheTesta", 80, 1, "Nr.Righe bianche da lasciare in testa:", G::Testo, 2, true,
         R::Numero, ""},
        {"FirmaInRicPres", 55, 1, "E' presente la firma dell'itermediario:", G::Flag, 0, false,
         R::Nessuna, ""},
        {"FirmaRespCafProf", 2020, 2,
         "E' presente la firma del resp.C.A.F.o professionista (Visto di conformità) (B73):",
         G::Flag, 0, true, R::Nessuna, ""},
        {"TabStuCampo0", 35, 1, "Firma dell'intermediario:", G::Testo, 40, false, R::Firma, ""},
        {"TabStuCampo1", 57, 1, "Telefono intermediario:", G::Testo, 12, false, R::Nessuna, ""},
        {"TabStuCampo2", 58, 1, "Email intermediario:", G::Testo, 100, false, R::Nessuna, ""},
        {"TabStuCampo3", 42, 1,
         "Impegno a presentare per via telematica la dich. predisposta dal contribuente", G::Flag,
         0, false, R::Nessuna, ""},
        {"TabStuCampo4", 44, 1,
         "Impegno a pres.in via telematica la comun.del contrib.predisposta dal soggetto", G::Flag,
         0, false, R::Nessuna, ""},
        {"TabStuData1", 46, 1, "Data dell'impegno:", G::Data, 0, false, R::Data, ""},
        {"TipoFor", 32, 1, "Tipo fornitore:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"CodFiscFor", 2040, 2, "Codice Fiscale del fornitore:", G::Testo, kColonna, false,
         R::CodiceFiscale, ""},
        {"CognomeFor", 3010, 3, "Cognome:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"NomeFor", 3020, 3, "Nome:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"SessoFor", 3030, 3, "", G::Sesso, 0, false, R::Nessuna, ""},
        {"DataNascitaFor", 3040, 3, "Data di nascita:", G::Data, 0, false, R::Data, ""},
        {"ComuneNascitaFor", 3050, 3, "Comune di nascita:", G::Testo, kColonna, false, R::Nessuna,
         ""},
        {"ProvNascitaFor", 3060, 3, "Prov.:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"ComuneResidFor", 3070, 3, "Comune di residenza:", G::Testo, kColonna, false, R::Nessuna,
         ""},
        {"ProvResidFor", 3080, 3, "Prov.:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"IndirizzoResidFor", 3090, 3, "Indirizzo di residenza:", G::Testo, kColonna, false,
         R::Nessuna, ""},
        {"CapResidFor", 3100, 3, "C.A.P.:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"DenominazioneFor", 4010, 4, "Denominazione:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"ComuneLegFor", 4020, 4, "Comune sede legale:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"ProvLegFor", 4030, 4, "Prov.:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"IndirizzoLegFor", 4040, 4, "Indirizzo sede legale:", G::Testo, kColonna, false,
         R::Nessuna, ""},
        {"CapLegFor", 4050, 4, "C.A.P.:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"ComuneFiscFor", 4060, 4, "Comune domicilio fiscale:", G::Testo, kColonna, false,
         R::Nessuna, ""},
        {"ProvFiscFor", 4070, 4, "Prov.:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"IndirizzoFiscFor", 4080, 4, "Indirizzo domicilio fiscale:", G::Testo, kColonna, false,
         R::Nessuna, ""},
        {"CapFiscFor", 4090, 4, "C.A.P.:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"ComuneCaf", 5010, 5, "Comune C.A.F.:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"ProvinciaCaf", 5020, 5, "Prov.:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"IndirizzoCaf", 5030, 5, "Indirizzo C.A.F.:", G::Testo, kColonna, false, R::Nessuna, ""},
        {"CapCaf", 5040, 5, "C.A.P.:", G::Testo, kColonna, false, R::Nessuna, ""},
    };
    return campi;
}

const CampoStudio* CampoStudioDi(int piCampo) {
    static const std::map<int, const CampoStudio*> perCampo = [] {
        std::map<int, const CampoStudio*> mappa;
        for (const CampoStudio& campo : CampiStudio()) mappa[campo.campo] = &campo;
        return mappa;
    }();
    auto it = perCampo.find(piCampo);
    return it == perCampo.end() ? nullptr : it->second;
}

}  // namespace tolvane
