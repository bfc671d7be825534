// The keyed list of values: caseless keys, insertion order, the missing-value marker and the
// counter entries that the batch loader reads back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "suite/elenco_valori.h"

namespace tolvane {
namespace {

TEST(ElencoValori, KeysIgnoreCaseAndWritingAgainReplaces) {
    ElencoValori list;
    list.Valore("ART.Articoli.Descrizione", Variant("primo"));
    list.Valore("art.ARTICOLI.descrizione", Variant("secondo"));
    EXPECT_EQ(list.Conta(), 1u);
    EXPECT_EQ(list.Valore("Art.Articoli.Descrizione").text(), "secondo");
    EXPECT_TRUE(list.Esiste("ART.ARTICOLI.DESCRIZIONE"));
    EXPECT_EQ(list.Voce("art.articoli.descrizione")->Chiave, "ART.Articoli.Descrizione");
}

TEST(ElencoValori, MissingKeyReadsAsMarkerAndZeros) {
    const ElencoValori list;
    EXPECT_EQ(list.Valore("nessuno").text(), "§ç~$!^");
    EXPECT_EQ(list.TipoVoce("nessuno"), 0.0);
    EXPECT_EQ(list.Contatore("nessuno"), 0);
    EXPECT_EQ(list.Rottura("nessuno"), "");
    EXPECT_EQ(list.ValoreIniziale("nessuno").scaled, 0);
    EXPECT_FALSE(list.Esiste("nessuno"));
    EXPECT_EQ(list.Voce("nessuno"), nullptr);
}

TEST(ElencoValori, CounterEntryKeepsItsMembersAndMarker) {
    ElencoValori list;
    const std::string key = "MOV.2 NumRiga";
    list.Contatore(key, 100);
    list.ValoreIniziale(key, Currency{static_cast<std::int64_t>(list.Contatore(key)) * 10000});
    list.Valore(key, Variant(ElencoValori::ValoreMancante));
    list.Rottura(key, "3,5");
    list.TipoVoce(key, ElencoValori::TipoVoceContatore);
    EXPECT_EQ(list.TipoVoce("mov.2 numriga"), 123.1);
    EXPECT_EQ(list.Valore(key).text(), "§ç~$!^");
    EXPECT_EQ(list.Rottura(key), "3,5");
    EXPECT_EQ(list.ValoreIniziale(key).scaled, 1000000);

    VoceElenco* v = list.Voce(key);
    ASSERT_NE(v, nullptr);
    v->Contatore += 1;
    EXPECT_EQ(list.Contatore(key), 101);
}

TEST(ElencoValori, WritingAMissingKeyWithoutCreateRaises) {
    ElencoValori list;
    try {
        list.Valore("x", Variant("1"), false);
        FAIL() << "no error raised";
    } catch (const NumberedError& e) {
        EXPECT_EQ(e.number(), errnum::ItemNotFound);
    }
    EXPECT_EQ(list.Conta(), 0u);
}

TEST(ElencoValori, OrderOfInsertionSurvivesRemoval) {
    ElencoValori list;
    for (const char* k : {"c", "a", "b", "d"}) list.Valore(k, Variant(k));
    EXPECT_TRUE(list.Rimuovi("A"));
    EXPECT_FALSE(list.Rimuovi("a"));
    std::vector<std::string> keys;
    for (const VoceElenco& v : list) keys.push_back(v.Chiave);
    EXPECT_EQ(keys, (std::vector<std::string>{"c", "b", "d"}));
    EXPECT_EQ(list.Valore("D").text(), "d");
    EXPECT_EQ(list.Valore("b").text(), "b");
    list.Aggiungi("e");
    EXPECT_EQ(list.Valore("e").text(), "§ç~$!^");
    list.Svuota();
    EXPECT_EQ(list.Conta(), 0u);
    EXPECT_FALSE(list.Esiste("c"));
}

}  // namespace
}  // namespace tolvane
