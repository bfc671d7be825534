// Tests of the printer services over an in-memory printer system: the default printer, a print's
// options pointed at a printer, when the user's default may change, the printers of other
// terminal sessions and the notices.
#include "printing/azienda_util_stampe.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/globali.h"
#include "common/ini_programma.h"
#include "suite/opzioni/opz_stampa.h"
#include "support/memory_printing.h"
#include "support/scratch_folder.h"
#include "ui/ui_constants.h"
#include "ui/window_test.h"

namespace tolvane {
namespace {

const std::string kNonImpostabile = "Impossibile impostare la stampante predefinita";

class AziendaUtilStampeTest : public ui::WindowTest, public testing::MemoryPrinting {
  protected:
    void SetUp() override {
        addPrinter("Ufficio", "ipp://srv/printers/ufficio");
        addPrinter("Magazzino", "socket://10.0.0.5", {}, {"Letter", "A4"}, 2);
        printers->addPrinter({{"Grezza", "file:/dev/null", ""}, {}, {}, -1});  // no driver
        addPrinter("PDFCreator", "cups-pdf:/");
        printers->setServerDefault("Ufficio");
        reset();
        gsFileIni = folder_.file("pelmor.ini");
        gsFileIniComune.clear();
    }
    void TearDown() override {
        reset();
        gsFileIni.clear();
    }
    static void reset() {
        giStampDefCambiata = 0;
        giNumSessione = 0;
        gsModStampanteSessione.clear();
    }

    testing::ScratchFolder folder_;
};

TEST_F(AziendaUtilStampeTest,
       DefaultIsFoundIgnoringCaseAndTakenOnlyAfterTheProgramMovedThePrinter) {
    // The user's default, the server's, then what is read: found under a name, or not installed.
    for (const auto& [userDefault, serverDefault, nomeAtteso, nonInstAtteso, portaAttesa] :
         std::vector<std::tuple<std::string, const char*, std::string, const char*, const char*>>{
             {"", "Ufficio", "Ufficio", "", "ipp://srv/printers/ufficio"},
             {"MAGAZZINO", "Ufficio", "MAGAZZINO", "", "socket://10.0.0.5"},
             {"Sparita", "Ufficio", "", "Sparita", ""},
             {"", "", "", "", ""}}) {
        SCOPED_TRACE(userDefault);
        printers->setUserDefault(userDefault);
        printers->setServerDefault(serverDefault);
        std::string nome = "x", nonInst = "x", porta = "x";
        EXPECT_EQ(LeggiStampanteDef(nome, nonInst, porta) != nullptr, !nomeAtteso.empty());
        EXPECT_EQ(nome, nomeAtteso);
        EXPECT_EQ(nonInst, nonInstAtteso);
        EXPECT_EQ(porta, portaAttesa);
    }

    // The current printer takes the default only once the program has moved it.
    printers->setServerDefault("Ufficio");
    OpzStampa opz;
    opz.StampanteOpz = "Magazzino";
    UsaStampanteStampa(opz, 0);
    giStampDefCambiata = 0;
    std::string nome = "x", nonInst = "x", porta = "x";
    ImpostaStampanteDef(nome, nonInst, porta);
    EXPECT_EQ(nome + nonInst + porta, "xxx");
    EXPECT_EQ(Printer().DeviceName(), "Magazzino");

    giStampDefCambiata = 1;
    printers->setUserDefault("Sparita");
    ImpostaStampanteDef(nome, nonInst, porta);
    EXPECT_EQ(Printer().DeviceName(), "Magazzino") << "a default not installed is not taken";

    printers->setUserDefault("");
    ImpostaStampanteDef(nome, nonInst, porta);
    EXPECT_EQ(Printer().DeviceName(), "Ufficio");
    EXPECT_EQ(giStampDefCambiata, 1) << "never reset";
}

TEST_F(AziendaUtilStampeTest,
       SessionTemplateMatchesOtherSessionNumbersOnlyAndNamesThisSessionsPrinter) {
    for (const auto& [modello, nome, sessione, altra] :
         std::vector<std::tuple<const char*, const char*, int, bool>>{
             {"", "Laser (sessione 5)", 3, false},
             {"(sessione %§)", "Laser (sessione 5)", 1, false},
             {"(sessione %§)", "Laser (SESSIONE 5)", 3, true},
             {"(sessione %§)", "Laser (sessione 3)", 3, false},
             {"sessione %§", "Laser sessione 31", 3, false},
             {"sessione %§", "Laser sessione 25", 25, false},
             {"sessione %§", "Laser sessione 25", 2, true},
             {"%§ sessione", "Laser 12 sessione", 12, false},
         }) {
        gsModStampanteSessione = modello;
        EXPECT_EQ(StampanteAltraSessione(nome, sessione), altra)
            << modello << " | " << nome << " | " << sessione;
    }

    // This session's printer name gets the template back; others keep their names.
    EXPECT_EQ(NomeStampanteSessione("Laser s4"), "Laser s4");
    gsModStampanteSessione = "s%§";
    EXPECT_EQ(NomeStampanteSessione("Laser s4"), "Laser s4");
    giNumSessione = 4;
    EXPECT_EQ(NomeStampanteSessione("Laser S4"), "Laser s%§");
    EXPECT_EQ(NomeStampanteSessione("Laser s5"), "Laser s5");
}

TEST_F(AziendaUtilStampeTest, DriverAndPortComeFromTheSettingOrThePrinterIgnoringCase) {
    for (const auto& [valore, driverAtteso, portaAttesa] :
         std::vector<std::tuple<const char*, const char*, const char*>>{
             {"winspool,Ne01:,15,45", "winspool", "Ne01:"},
             {"winspool,Ne01:", "winspool", ""},
             {"winspool", "", ""},
             {",LPT1:,", "", "LPT1:"},
             {"", "", ""},
         }) {
        std::string driver = "x", porta = "x";
        DividiDriverPorta(valore, driver, porta);
        EXPECT_EQ(driver, driverAtteso) << valore;
        EXPECT_EQ(porta, portaAttesa) << valore;
    }

    std::string driver = "x";
    EXPECT_EQ(LeggiPortaStampante("magazzino", driver), "socket://10.0.0.5");
    EXPECT_EQ(driver, "driver Magazzino");
    EXPECT_EQ(LeggiPortaStampante("Sparita", driver), "");
    EXPECT_EQ(driver, "");
}

TEST_F(AziendaUtilStampeTest, UsaStampanteStampaChoosesAnInstalledPrinterByNameAndRefusesAnother) {
    OpzStampa opz("Stampa Clienti");
    EXPECT_TRUE(UsaStampanteStampa(opz, 1));
    EXPECT_TRUE(Printer().followsDefault());
    EXPECT_EQ(giStampDefCambiata, 0);

    opz.StampanteOpz = "magazzino";
    EXPECT_TRUE(UsaStampanteStampa(opz, 1));
    EXPECT_EQ(Printer().DeviceName(), "Magazzino");
    EXPECT_EQ(giStampDefCambiata, 1);
    EXPECT_EQ(printers->userDefaultWrites(), 0) << "the user's default is left alone";

    // The default the print started from is noted only while the program may move it ("-": not
    // written at all).
    for (const auto& [cambiata, avviso, defOri] : std::vector<std::tuple<int, int, const char*>>{
             {0, 0, ""}, {0, 1, ""}, {1, 0, "-"}, {1, 1, "-"}}) {
        giStampDefCambiata = cambiata;
        OpzStampa altra("Stampa Clienti");
        altra.StampanteOpz = "Sparita";
        if (avviso) driver.answerMessage(kNonImpostabile, 1);
        EXPECT_FALSE(UsaStampanteStampa(altra, avviso));
        const auto noted = altra.LeggiParStampa("StampanteDefOri", OpzStampa::kTipoTesto);
        EXPECT_EQ(noted.isEmpty() ? std::string("-") : noted.text(), defOri);
        EXPECT_EQ(printers->userDefaultWrites(), 0);
        EXPECT_EQ(giStampDefCambiata, cambiata);
    }
}

TEST_F(AziendaUtilStampeTest,
       ImpostaStampanteChecksWithoutMovingAndImpostaDefWindowsWritesOnlyAnInstalledPrinter) {
    EXPECT_TRUE(ImpostaStampante("", 1, ""));
    EXPECT_TRUE(ImpostaStampante("MAGAZZINO", 1, ""));
    EXPECT_TRUE(Printer().followsDefault());
    EXPECT_EQ(printers->userDefaultWrites(), 0);

    for (const auto& [alternativa, stampaSu] : std::vector<std::pair<std::string, std::string>>{
             {"", "Ufficio"}, {"Magazzino", "Magazzino"}}) {
        driver.answerMessage(kNonImpostabile + "\r\nLa stampa verrà fatta su " + stampaSu +
                                 "\r\nper stampare su Sparita uscire dal programma e rientrare",
                             1);
        EXPECT_FALSE(ImpostaStampante("Sparita", 1, alternativa));
    }
    EXPECT_NE(ui::desktop().mousePointer(), ui::pointer::Hourglass);
    EXPECT_FALSE(ImpostaStampante("Sparita", 0, ""));
    EXPECT_EQ(printers->userDefaultWrites(), 0);

    // The default is written only for an installed printer with a driver and a port.
    for (const auto& [nome, rifiuta, esito, predefinita] :
         std::vector<std::tuple<const char*, bool, bool, const char*>>{
             {"", false, false, ""},
             {"Sparita", false, false, ""},
             {"Grezza", false, false, ""},
             {"magazzino", true, false, ""},
             {"magazzino", false, true, "Magazzino"},
         }) {
        printers->refuseUserDefault(rifiuta);
        EXPECT_EQ(ImpostaDefWindows(nome), esito) << nome;
        EXPECT_EQ(printers->userDefault(), predefinita) << nome;
    }
    EXPECT_EQ(Printer().DeviceName(), "Magazzino") << "the current printer follows the default";
}

TEST_F(AziendaUtilStampeTest, ImpostaStampanteAutoGoesBackToTheSavedPrinterOrTheDefault) {
    folder_.write("pelmor.ini", "[Stampa Clienti]\r\nNomeStampante=magazzino\r\n");
    // Away from the PDF printer (flag 1) goes to the printer saved in the print's section, else
    // to the default, kept by name without a port when it is not installed; the dialog's PDF box
    // tests the way there and the way back to an installed default.
    for (const auto& [sezione, predefinita, prima, esito, stampante, porta] : std::vector<
             std::tuple<const char*, const char*, const char*, bool, const char*, const char*>>{
             {"Stampa Clienti", "", "Ufficio", false, "Ufficio", "prima"},
             {"Stampa Clienti", "", "pdfcreator", true, "Magazzino", "socket://10.0.0.5"},
             {"Stampa Fornitori", "Sparita", "PDFCreator", true, "Sparita", ""}}) {
        SCOPED_TRACE(prima);
        printers->setUserDefault(predefinita);
        OpzStampa opz(sezione);
        opz.StampanteOpz = prima;
        opz.StampanteOpz2 = "prima";
        opz.ScriviParStampa("NumCassetto", OpzStampa::kTipoAltro, Variant(2));
        opz.ScriviParStampa("NumTipoCarta", OpzStampa::kTipoAltro, Variant(9));
        EXPECT_EQ(ImpostaStampanteAuto("PDFCreator", opz, 1), esito);
        EXPECT_EQ(opz.StampanteOpz, stampante);
        EXPECT_EQ(opz.StampanteOpz2, porta);
        EXPECT_EQ(opz.LeggiParStampa("NumCassetto").toLong(), esito ? 0 : 2);
        EXPECT_EQ(opz.LeggiParStampa("NumTipoCarta").toLong(), esito ? 0 : 9);
    }

    printers->removePrinter("PDFCreator");
    OpzStampa opz("Stampa Clienti");
    EXPECT_FALSE(ImpostaStampanteAuto("PDFCreator", opz, 0));
    EXPECT_EQ(opz.StampanteOpz, "");
}

TEST_F(AziendaUtilStampeTest, DefaultPrinterButtonsStopForAnotherSessionOrAMissingDefault) {
    gsModStampanteSessione = "(sessione %§)";
    giNumSessione = 3;
    const std::string altra =
        "La stampante (Laser (sessione 5)) predefinita appartiene ad "
        "un'altra sessione\r\nScegliere una stampante o cambiare la "
        "stampante predefinita";
    const std::string assente =
        "Nella lista delle stampanti non è disponibile la stampante predefinita Sparita\r\n"
        "Uscire dal programma e rientrare per avere impostato la stampante predefinita";
    for (const auto& [errore, nome, nonInstallata, cambiata, usabile, messaggio] :
         std::vector<std::tuple<bool, std::string, std::string, int, bool, std::string>>{
             {false, "Ufficio", "", 0, true, ""},
             {false, "Laser (sessione 5)", "", 0, false, altra},
             {false, "", "Laser (sessione 5)", 1, false, altra},
             {true, "", "Sparita", 0, true, ""},
             {false, "", "Sparita", 1, false, assente}}) {
        SCOPED_TRACE(nome + nonInstallata);
        folder_.write("pelmor.ini", "[Stampa Clienti]\r\nNomeStampante=Sparita\r\nStaVid=1\r\n");
        giStampDefCambiata = cambiata;
        if (!messaggio.empty()) driver.answerMessage(messaggio, 1);
        EXPECT_EQ(StampantePredefinitaUsabile(errore, nome, nonInstallata, "Stampa Clienti"),
                  usabile);
        std::string salvata;
        LeggiIni("Stampa Clienti", "NomeStampante", "", salvata);
        EXPECT_EQ(salvata, messaggio == assente ? "" : "Sparita") << "a missing default forgotten";
        LeggiIni("Stampa Clienti", "StaVid", "", salvata);
        EXPECT_EQ(salvata, "1") << "only the printer is forgotten";
    }
}

}  // namespace
}  // namespace tolvane
