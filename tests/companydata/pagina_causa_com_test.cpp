// The common causals page on a real company database: codes shown with their descriptions,
// the unknown and wrong-type checks on leaving a field, and the save of the sixteen codes.
#include "companydata/pagina_causa_com.h"

#include <gtest/gtest.h>

#include "companydata/dati_azie_fixture.h"

namespace tolvane::testing {
namespace {

struct Colonna {
    int campo;
    const char* colonna;
};
const Colonna kColonne[] = {
    {4000, "CausFatt"},          {4010, "CausNC"},       {4020, "CausFattSosp"},
    {4030, "CausNCSosp"},        {4040, "CausAnticipi"}, {4050, "CausArr"},
    {4060, "CausOmaggi"},        {4070, "CausIncasso"},  {4080, "SaldaCauIncassi"},
    {4090, "SaldaCauPagamenti"}, {4100, "CauChiuEco"},   {4110, "CauChiuPatr"},
    {4120, "CauApertura"},       {4130, "CausRit"},      {4132, "CauGirIva"},
    {4134, "SpesaCassaPrev"},
};

class CausaComTest : public DatiAzieTest {
  protected:
    void SetUp() override {
        apri();
        sql("INSERT INTO Causali VALUES ('FE', 'Fattura emessa', '')");
        sql("INSERT INTO Causali VALUES ('CE', 'Chiusura economici', 'ch')");
        sql("INSERT INTO Causali VALUES ('AP', 'Apertura conti', 'AP')");
        sql("INSERT INTO Spese VALUES ('CP', 'Cassa previdenza', 'S')");
        sql("INSERT INTO Spese VALUES ('BO', 'Bolli', 'N')");
    }
};

TEST_F(CausaComTest, EmptyTableShowsEmptyCodesAndTheFirstSaveAddsTheRow) {
    form->Lab(4000).setCaption("di prima");
    vaiPagina(4);
    for (const Colonna& c : kColonne) EXPECT_EQ(form->txt(c.campo).text(), "") << c.campo;
    EXPECT_EQ(form->Lab(4000).caption(), "di prima");
    EXPECT_TRUE(haFocus(form->txt(4000)));
    // The focused field is left, and decoded, by the click on the confirm button.
    auto codice = [](int campo) {
        return campo == 4000 ? std::string("FE") : std::to_string(campo % 1000);
    };
    for (const Colonna& c : kColonne) form->txt(c.campo).setText(codice(c.campo));
    conferma(4);
    EXPECT_EQ(righe("TabCauCon"), 1);
    for (const Colonna& c : kColonne) EXPECT_EQ(cauCon(c.colonna), codice(c.campo));
}

TEST_F(CausaComTest, StoredCodesShowWithDescriptionsAndEmptiedOnesAreWrittenEmpty) {
    sql("INSERT INTO TabCauCon (CausFatt, CausNCSosp, CauChiuEco, CauApertura, CausRit, "
        "SpesaCassaPrev, CauGirIva) VALUES ('FE', 'fe', 'CE', 'ZZ', NULL, 'CP', 'BO')");
    vaiPagina(4);
    const Mostrato campi[] = {{4000, "FE", "Fattura emessa"},
                              {4030, "fe", "Fattura emessa"},
                              {4100, "CE", "Chiusura economici"},
                              {4120, "ZZ", ""},
                              {4130, "", ""},
                              {4134, "CP", "Cassa previdenza"},
                              {4132, "BO", ""}};
    mostrano(campi);
    for (int n : {4000, 4030, 4100, 4120, 4130, 4132, 4134}) EXPECT_FALSE(form->InErrore(n)) << n;
    form->txt(4030).setText("");
    form->txt(4020).setText("FS");
    conferma(4);
    EXPECT_EQ(righe("TabCauCon"), 1);
    EXPECT_EQ(cauCon("CausFatt || '|' || IFNULL(CausNCSosp, '') || '|' || CausFattSosp"), "FE||FS");
}

TEST_F(CausaComTest, LeavingACodeMarksUnknownCausalsAndCausalsOfTheWrongType) {
    vaiPagina(4);
    struct Caso {
        int campo;
        const char* codice;
        const char* messaggio;  // "" when none is shown
        bool errore;
        const char* descrizione;
    };
    const char* kChiusura = "Causale non di tipo chiusura";
    const char* kApertura = "Causale non di tipo apertura";
    const Caso casi[] = {
        {4100, "CE", "", false, "Chiusura economici"},
        {4110, "CE", "", false, "Chiusura economici"},
        {4100, "AP", kChiusura, true, "Apertura conti"},
        {4110, "FE", kChiusura, true, "Fattura emessa"},
        {4120, "AP", "", false, "Apertura conti"},
        {4120, "CE", kApertura, true, "Chiusura economici"},
        {4132, "AP", "", false, "Apertura conti"},
        {4000, "CE", "", false, "Chiusura economici"},
        {4070, "XX", "", true, "** INESISTENTE **"},
        // An expense outside the pension fund is not decoded, and not marked either.
        {4134, "BO", "", false, "** INESISTENTE **"},
        {4134, "CP", "", false, "Cassa previdenza"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(std::to_string(c.campo) + " " + c.codice);
        if (*c.messaggio != '\0') driver.answerMessage(c.messaggio, 1);
        digita(c.campo, c.codice, 4130);
        EXPECT_EQ(form->InErrore(c.campo), c.errore);
        EXPECT_EQ(form->Lab(c.campo).caption(), c.descrizione);
        digita(c.campo, "", 4130);
        EXPECT_FALSE(form->InErrore(c.campo));
    }
}

}  // namespace
}  // namespace tolvane::testing
