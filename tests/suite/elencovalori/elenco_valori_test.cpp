// The keyed list of values: caseless keys, insertion order, and what a missing key reads as.
#include "suite/elencovalori/elenco_valori.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/error_number.h"

namespace tolvane {
namespace {

TEST(ElencoValori, KeysIgnoreCaseAndWritingAgainReplaces) {
    ElencoValori list;
    list.Valore("ART.Articoli.Descrizione", Variant("primo"));
    list.Valore("art.ARTICOLI.descrizione", Variant("secondo"));
    EXPECT_EQ(list.Conta(), 1u);
    EXPECT_EQ(list.Valore("Art.Articoli.Descrizione").text(), "secondo");
    EXPECT_EQ(list.Voce("art.articoli.descrizione")->Chiave, "ART.Articoli.Descrizione");
    list.Contatore("MOV.2 NumRiga", 100);
    list.Voce("mov.2 numriga")->Contatore += 1;
    EXPECT_EQ(list.Contatore("Mov.2 NumRiga"), 101);
}

TEST(ElencoValori, MissingKeyReadsAsMarkerAndZerosAndCannotBeWrittenWithoutCreate) {
    ElencoValori list;
    EXPECT_EQ(list.Valore("nessuno").text(), "§ç~$!^");
    EXPECT_EQ(list.TipoVoce("nessuno"), 0.0);
    EXPECT_EQ(list.Contatore("nessuno"), 0);
    EXPECT_EQ(list.Rottura("nessuno"), "");
    EXPECT_EQ(list.ValoreIniziale("nessuno").scaled, 0);
    EXPECT_EQ(list.Voce("nessuno"), nullptr);
    EXPECT_EQ(testing::errorOf([&] { list.Valore("x", Variant("1"), false); }), 3265);
    EXPECT_EQ(list.Conta(), 0u);
}

TEST(ElencoValori, OrderOfInsertionSurvivesRemoval) {
    ElencoValori list;
    for (const char* k : {"c", "a", "b", "d"}) list.Valore(k, Variant(k));
    EXPECT_TRUE(list.Rimuovi("A"));
    EXPECT_FALSE(list.Rimuovi("a"));
    list.Aggiungi("e");
    std::vector<std::string> keys;
    for (const VoceElenco& v : list) keys.push_back(v.Chiave + "=" + v.Valore.text());
    EXPECT_EQ(keys, (std::vector<std::string>{"c=c", "b=b", "d=d", "e=§ç~$!^"}));
    list.Svuota();
    EXPECT_FALSE(list.Esiste("c"));
}

}  // namespace
}  // namespace tolvane
