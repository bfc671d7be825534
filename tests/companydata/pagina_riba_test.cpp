// The RiBa/RID page on a real company database: what a stored row shows, the file-name option,
// trimming before the save, and the decoding of stored payment types.
#include "companydata/pagina_riba.h"

#include <gtest/gtest.h>

#include "companydata/dati_azie_fixture.h"

namespace tolvane::testing {
namespace {

class RiBaTest : public DatiAzieTest {
  protected:
    RiBaTest() {
        apri();
        sql("INSERT INTO PagTipi VALUES ('B', 'Ricevuta bancaria', 'S')");
        sql("INSERT INTO PagTipi VALUES ('R', 'Rid', 'S')");
    }
    ui::OptionButton& opzione(int i) { return form->Opzioni("OptFileRiBa")(i); }
};

TEST_F(RiBaTest, EmptyTableShowsDefaultsAndTheClickedOptionIsWritten) {
    form->Lab(8070).setCaption("vecchia");
    vaiPagina(6);
    EXPECT_EQ(form->txt(8060).text(), "R");
    EXPECT_FALSE(opzione(0).value());
    EXPECT_TRUE(opzione(1).value());
    EXPECT_EQ(form->Lab(8070).caption(), "");
    EXPECT_EQ(form->Lab(8080).caption(), "");
    conferma(6);
    EXPECT_EQ(righe(), 1);
    EXPECT_EQ(salvato("NomeRiba"), "R");
    // The last option clicked is written.
    ui::user::click(opzione(0));
    EXPECT_EQ(form->txt(8060).text(), "D");
    ui::user::click(opzione(1));
    ui::user::click(opzione(0));
    conferma(6);
    EXPECT_EQ(salvato("NomeRiba"), "D");
}

TEST_F(RiBaTest, StoredNomeRibaSelectsItsOptionAndIsWrittenBackInCapitals) {
    struct Caso {
        const char* memorizzato;
        bool primaOpzione;
        const char* scritto;
    };
    const Caso casi[] = {
        {"d", true, "D"}, {"D", true, "D"}, {"R", false, "R"}, {"", false, "R"}, {"x", false, "R"}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.memorizzato);
        sql("DELETE FROM TabRiba");
        sql(std::string("INSERT INTO TabRiba (RagSocDitta, NomeRiba) VALUES ('Rossi', '") +
            c.memorizzato + "')");
        vaiPagina(6);
        EXPECT_EQ(opzione(0).value(), c.primaOpzione);
        EXPECT_EQ(opzione(1).value(), !c.primaOpzione);
        conferma(6);
        EXPECT_EQ(salvato("NomeRiba"), c.scritto);
        riapri(0);
    }
}

TEST_F(RiBaTest, FieldsAreSavedTrimmedAndBlankFieldsEmpty) {
    vaiPagina(6);
    struct Caso {
        int campo;
        const char* digitato;
        const char* colonna;
        const char* scritto;
    };
    const Caso casi[] = {
        {8000, "  Rossi Srl  ", "RagSocDitta", "Rossi Srl"},
        {8010, "   ", "ViaDitta", ""},
        {8020, " 20100 Milano", "CapLocalDitta", "20100 Milano"},
        {8030, "MI ", "ProvDitta", "MI"},
        {8040, "Rif", "RifMitt", "Rif"},
        {8050, " Firma", "FirmaMitt", "Firma"},
        {8082, " 01234567890 ", "CFiscPIva", "01234567890"},
    };
    for (const Caso& c : casi) form->txt(c.campo).setText(c.digitato);
    conferma(6);
    for (const Caso& c : casi) {
        EXPECT_EQ(salvato(c.colonna), c.scritto) << c.colonna;
        EXPECT_EQ(form->txt(c.campo).text(), c.scritto) << c.campo;
    }
}

// A stored type is decoded without any mark; a blank one leaves its label as it was.
TEST_F(RiBaTest, StoredPaymentTypesAreDecodedWithoutAnyMark) {
    struct Caso {
        const char* cliente;
        const char* fornitore;
        const char* descrCliente;
        const char* descrFornitore;
    };
    const Caso casi[] = {{"Q", "r", "** INESISTENTE **", "Rid"},
                         {" ", "B", "di prima", "Ricevuta bancaria"}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.cliente);
        sql("DELETE FROM TabRiba");
        sql(std::string("INSERT INTO TabRiba (RagSocDitta, PagTipoCli, PagTipoFor) "
                        "VALUES ('Rossi', '") +
            c.cliente + "', '" + c.fornitore + "')");
        form->Lab(8070).setCaption("di prima");
        vaiPagina(6);
        EXPECT_EQ(form->txt(8070).text(), c.cliente);
        EXPECT_EQ(form->Lab(8070).caption(), c.descrCliente);
        EXPECT_FALSE(form->InErrore(8070));
        EXPECT_EQ(form->Lab(8080).caption(), c.descrFornitore);
        riapri(0);
    }
}

TEST_F(RiBaTest, TypingStopsAtTheFieldsLength) {
    vaiPagina(6);
    ui::user::fill(form->txt(8070), "BR");
    EXPECT_EQ(form->txt(8070).text(), "B");
    ui::user::fill(form->txt(8050), std::string(25, 'x'));
    EXPECT_EQ(form->txt(8050).text(), std::string(20, 'x'));
}

}  // namespace
}  // namespace tolvane::testing
