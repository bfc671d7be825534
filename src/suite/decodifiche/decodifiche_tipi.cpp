// The table of decoding kinds used by the parameter pages. One row per kind: adding a kind is
// one line here, never a new branch in the service.
#include "suite/decodifiche/decodifiche_tipi.h"

#include "platform/text.h"

namespace tolvane {

const std::vector<TipoDecodifica>& TipiDecodifica() {
    static const std::vector<TipoDecodifica> tipi = {
        {"Conto",
         "PianoConti",
         {"Gruppo", "Mastro", "Conto"},
         "Descrizione",
         {"Gruppo", "Mastro", "Conto", "Descrizione"},
         "Piano dei conti",
         true},
        {"Gruppo", "Gruppi", {"Gruppo"}, "Descrizione", {"Gruppo", "Descrizione"}, "Gruppi"},
        {"Mastro",
         "Mastri",
         {"Mastro"},
         "Descrizione",
         {"Gruppo", "Mastro", "Descrizione"},
         "Mastri"},
        {"Causale",
         "Causali",
         {"Causale"},
         "Descrizione",
         {"Causale", "Descrizione", "TipoCausale"},
         "Causali contabili"},
        {"Spesa",
         "Spese",
         {"Spesa"},
         "Descrizione",
         {"Spesa", "Descrizione", "CassaPrev"},
         "Codici spesa"},
        {"PagTipo",
         "PagTipi",
         {"PagTipo"},
         "Descrizione",
         {"PagTipo", "Descrizione", "EmissEffetti"},
         "Tipi di pagamento"},
        {"Magazzino",
         "Magazzini",
         {"Magazzino"},
         "Descrizione",
         {"Magazzino", "Descrizione"},
         "Magazzini"},
        {"Listino", "Listini", {"Listino"}, "Descrizione", {"Listino", "Descrizione"}, "Listini"},
        {"FattDocumento",
         "FattDocumenti",
         {"FattDocumento"},
         "Descrizione",
         {"FattDocumento", "Descrizione", "Tipo"},
         "Tipi documento"},
        {"AcqDocumento",
         "FattDocumenti",
         {"FattDocumento"},
         "Descrizione",
         {"FattDocumento", "Descrizione", "Tipo"},
         "Tipi documento acquisti"},
        {"CauTrasporto",
         "CauTrasporti",
         {"CauTrasporto"},
         "Descrizione",
         {"CauTrasporto", "Descrizione"},
         "Causali di trasporto"},
        {"AspettoBene",
         "AspettoBeni",
         {"AspettoBene"},
         "Descrizione",
         {"AspettoBene", "Descrizione"},
         "Aspetto dei beni"},
        {"Trasporto",
         "Trasporti",
         {"Trasporto"},
         "Descrizione",
         {"Trasporto", "Descrizione"},
         "Trasporto a cura"},
        {"Vettore", "Vettori", {"Vettore"}, "RagSoc", {"Vettore", "RagSoc", "Localita"}, "Vettori"},
        {"Iva",
         "CodiciIva",
         {"Iva"},
         "Descrizione",
         {"Iva", "Descrizione", "Aliquota"},
         "Codici Iva"},
        {"Reparto", "Reparti", {"Reparto"}, "Descrizione", {"Reparto", "Descrizione"}, "Reparti"},
        {"MagCausale",
         "MagCausali",
         {"MagCausale"},
         "Descrizione",
         {"MagCausale", "Descrizione", "TipoMov"},
         "Causali di magazzino"},
    };
    return tipi;
}

const TipoDecodifica* TrovaTipoDecodifica(std::string_view psTipo) {
    for (const TipoDecodifica& tipo : TipiDecodifica()) {
        if (equalText(tipo.tipo, Trim(psTipo))) return &tipo;
    }
    return nullptr;
}

}  // namespace tolvane
