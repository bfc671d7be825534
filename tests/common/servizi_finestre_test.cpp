// The common window services: the message window, run-time error texts, the save-error table (a
// save's database error: its message and the save's next step); focus and error colours, combo
// search, key filter, keys and help, date check, field focus, error reports, loading steps.
#include "common/servizi_finestre.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/errori_salvataggio.h"
#include "common/globali.h"
#include "common/msg_com.h"
#include "platform/numbered_error.h"
#include "ui/control_array.h"
#include "ui/ui_constants.h"
#include "ui/user_input.h"
#include "ui/window_test.h"

namespace tolvane {
namespace {

using ui::MessageRequest;
using Dopo = DopoErroreSalvataggio;

class MessageWindow : public ui::WindowTest {};

// The whole request of the last message, beyond what the scripted driver records.
struct Capture : ui::ScriptedDriver {
    MessageRequest last;
    int message(const MessageRequest& r) override {
        last = r;
        return ScriptedDriver::message(r);
    }
};

TEST_F(MessageWindow, ButtonsNumberFromOneByTheArgumentThatGaveThemOtherArgumentsInTheirPlace) {
    using Opt = std::optional<std::string>;
    struct Case {
        const char* name;
        Opt com2, com3;
        int comDefault;
        int press;  // position among the shown buttons
        std::vector<std::string> shown;
        int shownDefault;
        int result;
    };
    const std::vector<Case> cases = {
        {"one", {}, {}, 1, 1, {"&Ok"}, 1, 1},
        {"two, second", "&No", {}, 1, 2, {"&Ok", "&No"}, 1, 2},
        {"three, default third", "&No", "&Annulla", 3, 3, {"&Ok", "&No", "&Annulla"}, 3, 3},
        {"third without second", {}, "&Annulla", 1, 2, {"&Ok", "&Annulla"}, 1, 3},
        {"empty second", "", "&Annulla", 3, 2, {"&Ok", "&Annulla"}, 2, 3},
        {"default not shown", "&No", {}, 3, 1, {"&Ok", "&No"}, 1, 1},
    };
    Capture capture;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        capture.answerMessage("Testo", c.press);
        EXPECT_EQ(frmMsgCom::msgCom("Testo", "&Ok", c.com2, c.com3, std::nullopt, 80, false, 600,
                                    std::nullopt, c.comDefault),
                  c.result);
        EXPECT_EQ(capture.last.buttons, c.shown);
        EXPECT_EQ(capture.last.defaultButton, c.shownDefault);
    }
    EXPECT_EQ(capture.beeps(), 0) << "no sound unless asked";
    capture.answerMessage("", 1);
    frmMsgCom::msgCom("Elaborazione terminata", "&Ok", std::string("&No"), std::nullopt,
                      std::string("Titolo"), 60, true, 400, 18.0, 2, 1500, true);
    EXPECT_EQ(capture.last.width, 60);
    EXPECT_EQ(capture.last.sides, 400);
    EXPECT_TRUE(capture.last.sound);
    EXPECT_EQ(capture.last.fontSize, 18.0);
    EXPECT_EQ(capture.last.buttonWidth, 1500);
    EXPECT_TRUE(capture.last.alwaysTextBox);
    EXPECT_EQ(capture.last.title, "Titolo");
    EXPECT_EQ(capture.beeps(), 1);
}

TEST_F(MessageWindow, RunTimeErrorsReadErroreNumberText) {
    driver.answerMessage("", 1).answerMessage("", 1).answerMessage("", 1);
    frmMsgCom::MsgErrfrm(NumberedError(53, "File not found", "ScCarica"));
    EXPECT_EQ(driver.messageTexts().back(), "Errore(53): File not found");
    frmMsgCom::MsgErrfrm(NumberedError(3022, "Duplicato"), "Prima ", " dopo");
    EXPECT_EQ(driver.messageTexts().back(), "Prima Errore(3022): Duplicato dopo");
    frmMsgCom::MsgErrfrm(std::runtime_error("guasto"));
    EXPECT_EQ(driver.messageTexts().back(), "Errore(0): guasto");
    EXPECT_EQ(driver.shown().back().buttons, std::vector<std::string>{"&Ok"});
}

TEST_F(MessageWindow, SaveErrorsShowTheirMessageAndGiveTheNextStep) {
    const std::vector<std::string> ok = {"&Ok"}, siNo = {"Si", "No"};
    const std::string cambiati = "I dati sono stati cambiati da altri\r\nConfermi il salvataggio";
    struct Caso {
        int numero;
        const char* risposta;  // caption of the button pressed
        std::string testo, titolo;
        std::vector<std::string> pulsanti;
        Dopo dopo;
    };
    const Caso casi[] = {
        {3022, "&Ok", "Chiave Duplicata\r\nCambiare i valori chiave", "", ok, Dopo::Fine},
        {3167, "&Ok", "I dati sono stati cancellati", "", ok, Dopo::Riaggiungi},
        {3197, "Si", cambiati, "", siNo, Dopo::Riprova},
        {3197, "No", cambiati, "", siNo, Dopo::Fine},
        {3260, "&Ok", "Dati in uso da altri", "Errore durante salvataggio", ok, Dopo::Fine},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.numero);
        driver.answerMessage(caso.testo, caso.risposta);
        EXPECT_EQ(MostraErroreSalvataggio(NumberedError(caso.numero, "testo del database", "Db")),
                  caso.dopo);
        const ui::ScriptedDriver::Shown& mostrato = driver.shown().back();
        EXPECT_EQ(mostrato.source, ui::MessageRequest::Source::MessageWindow);
        EXPECT_EQ(mostrato.text, caso.testo);
        EXPECT_EQ(mostrato.title, caso.titolo);
        EXPECT_EQ(mostrato.buttons, caso.pulsanti);
    }
    // Any other number is reported with its text.
    driver.answerMessage("Errore(3146): rifiutato - GestoreRs", 1);
    EXPECT_EQ(MostraErroreSalvataggio(NumberedError(3146, "rifiutato", "GestoreRs")), Dopo::Fine);
    EXPECT_EQ(driver.shown().back().source, ui::MessageRequest::Source::MessageBox);
}

constexpr long kGot = 0x80FFFF;
constexpr long kLost = 0xFFFFFF;
constexpr long kErr = 255;
constexpr long kNorm = 0xE0E0E0;

class frmCampi : public ui::Form {
  public:
    frmCampi() : Form("frmCampi") {
        setCaption("Dati generali");
        Pagina2.setVisible(false);
        Pagina2.setTabStop(false);
        for (int i : {10, 20}) txt.add(i);
        txt.add(3000, &Pagina2);
        txt.add(3010, &Pagina2);
        for (const char* voce : {"Mensile", "Trimestrale", "Annuale"}) Combo.addItem(voce);
        txt.on.onGotFocus = [this](int i) { ColoreGotFocus(txt(i)); };
        txt.on.onLostFocus = [this](int i) { ColoreLostFocus(txt(i)); };
        txt.on.onKeyUp = [this](int i, int& k, int) {
            keyUps.push_back(std::to_string(i) + ":" + std::to_string(k));
        };
    }
    ui::PictureBox& Pagina2 = add<ui::PictureBox>("PicPagine");
    ui::ControlArray<ui::TextBox> txt{*this, "txt"};
    ui::ComboBox& Combo = add<ui::ComboBox>("Combo");
    std::vector<std::string> keyUps;
};

class WindowServices : public ui::WindowTest {
  protected:
    WindowServices() {
        glColGotFocus = kGot;
        glColLostFocus = kLost;
        glColErrore = kErr;
        glColNormale = kNorm;
        f.show();
    }
    ~WindowServices() override {
        gbInvioPassa = false;
        gsPuntoDecimale.clear();
        gsTastiCtrl.clear();
        gsDescAzie.clear();
        gmTastiComandiLista.clear();
        gdRisVid = 0;
    }
    // GestTastiForm's answer and the key code it leaves.
    std::pair<int, int> keyDown(int key, int shift) {
        int result = GestTastiForm(key, shift, f);
        return {result, key};
    }
    frmCampi& f = ui::desktop().load<frmCampi>();
};

TEST_F(WindowServices, FocusColoursMoveBetweenFieldsButNeverOverwriteTheErrorColour) {
    struct Case {
        const char* name;
        long before;
        bool gotFocus, force;
        long after;
    };
    const std::vector<Case> cases = {
        {"got on plain", kLost, true, false, kGot},
        {"got on error", kErr, true, false, kErr},
        {"got on error forced", kErr, true, true, kGot},
        {"lost on focused", kGot, false, false, kLost},
        {"lost on error", kErr, false, false, kErr},
        {"lost on error forced", kErr, false, true, kLost},
    };
    for (const auto& c : cases) {
        auto& field = f.txt(20);
        field.setBackColor(c.before);
        (c.gotFocus ? ColoreGotFocus : ColoreLostFocus)(field, c.force);
        EXPECT_EQ(field.backColor(), c.after) << c.name;
    }
    f.txt(10).setBackColor(kGot);
    f.txt(3000).setBackColor(kErr);
    f.Pagina2.setBackColor(kGot);
    ColoreGotFocus(f.txt(20));
    EXPECT_EQ(f.txt(10).backColor(), kLost);
    EXPECT_EQ(f.txt(3000).backColor(), kErr);
    EXPECT_EQ(f.Pagina2.backColor(), kGot) << "only fields take the focus colours";
    EXPECT_EQ(CampoInErrore(f, kErr), &f.txt(3000));
    f.txt(3000).setBackColor(kNorm);
    EXPECT_EQ(CampoInErrore(f, kErr), nullptr);
}

TEST_F(WindowServices, CercaInComboFindsThePrefixIgnoringCase) {
    struct Case {
        std::string value;
        bool select, always;
        int start, found, listIndex;
    };
    const std::vector<Case> cases = {
        {"tri", false, false, -1, 1, -1},    {"TRI", true, false, -1, 1, 1},
        {"Annualex", true, false, 0, -1, 0}, {"x", true, true, 0, -1, -1},
        {"", true, true, 0, -1, 0},
    };
    for (const auto& c : cases) {
        f.Combo.setListIndex(c.start);
        EXPECT_EQ(CercaInCombo(f.Combo, c.value, c.select, c.always), c.found) << c.value;
        EXPECT_EQ(f.Combo.listIndex(), c.listIndex) << c.value;
    }
}

TEST_F(WindowServices, FiltraKeyAsciiDropsEscAndEnterAndTurnsTheKeypadPoint) {
    struct Case {
        const char* name;
        int ascii;
        bool enterPasses;
        const char* decimalSetting;
        int lastKey, lastShift, result;
    };
    const std::vector<Case> cases = {
        {"esc", 27, true, "S", 0, 0, 0},
        {"enter", 13, false, "", 0, 0, 0},
        {"enter let through", 13, true, "", 0, 0, 13},
        {"keypad point", '.', false, "S", ui::key::Decimal, 0, ','},
        {"keypad point lower s", '.', false, "s", ui::key::Decimal, 0, ','},
        {"keypad point with shift", '.', false, "S", ui::key::Decimal, ui::shift::Shift, '.'},
        {"keyboard point", '.', false, "S", ui::key::Period, 0, '.'},
        {"setting off", '.', false, "N", ui::key::Decimal, 0, '.'},
        {"letter", 'a', false, "S", 'A', 0, 'a'},
    };
    for (const auto& c : cases) {
        gbInvioPassa = c.enterPasses;
        gsPuntoDecimale = c.decimalSetting;
        ui::desktop().keyWentDown(c.lastKey, c.lastShift);
        int ascii = c.ascii;
        EXPECT_EQ(FiltraKeyAscii(f, ascii), c.result) << c.name;
        EXPECT_EQ(ascii, c.result) << c.name;
    }
}

// F1 opens the help of the field or of the window; Ctrl keys not allowed are swallowed.
TEST_F(WindowServices, GestTastiFormTakesF1AndCtrlKeysNotAllowed) {
    gsFileHelp = "tolvane.chm";
    f.setHelpContextID(44550);
    f.Pagina2.setHelpContextID(2560);
    ui::user::focus(f.txt(10));
    EXPECT_TRUE(GestTastoF1(f, ui::key::F1, 0));
    f.txt(3000).setFocus();
    EXPECT_TRUE(GestTastoF1(f, ui::key::F1, ui::shift::None));
    EXPECT_TRUE(GestTastoF1(f, ui::key::F1, ui::shift::Ctrl));
    EXPECT_TRUE(GestTastoF1(f, ui::key::F1, ui::shift::Alt));
    EXPECT_FALSE(GestTastoF1(f, ui::key::F2, 0));
    const auto& help = driver.helpShown();
    ASSERT_EQ(help.size(), 4u);
    EXPECT_EQ(help[0].contextID, 44550);
    EXPECT_EQ(help[1].contextID, 2560);
    EXPECT_EQ(help[2].command, 1);
    EXPECT_EQ(help[3].command, 2);
    EXPECT_EQ(help[0].file, "tolvane.chm");
    gsFileHelp.clear();

    struct Case {
        int key, shift;
        const char* allowed;
        int result, keyAfter;
    };
    const std::vector<Case> cases = {
        {ui::key::F1, 0, "", 1, 0},
        {'C', ui::shift::Ctrl, "", 0, 'C'},
        {'C', ui::shift::Ctrl, "CV", 0, 'C'},
        {'Z', ui::shift::Ctrl, "CV", 1, 0},
        {'Z', 0, "CV", 0, 'Z'},
    };
    for (const auto& c : cases) {
        gsTastiCtrl = c.allowed;
        EXPECT_EQ(keyDown(c.key, c.shift), std::pair(c.result, c.keyAfter)) << c.key << c.allowed;
    }
}

TEST_F(WindowServices, CtrlFFindsAndCtrlHReplacesInTheActiveTextBox) {
    auto& campo = f.txt(10);
    campo.setText("Via Roma, roma");
    ui::user::focus(campo);
    struct Case {
        const char* name;
        std::function<void()> script;
        int key, selStart;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"first", [&] { driver.answerInput("ROMA"); }, 'F', 4, "Via Roma, roma"},
        {"next after the selection", [&] { driver.answerInput("roma"); }, 'F', 10,
         "Via Roma, roma"},
        {"again from the top", [&] { driver.answerInput("roma"); }, 'F', 4, "Via Roma, roma"},
        {"not found", [&] { driver.answerInput("Napoli").answerMessage("non trovato", 1); }, 'F', 4,
         "Via Roma, roma"},
        {"cancelled replace", [&] { driver.answerInput("roma").cancelInput(); }, 'H', 4,
         "Via Roma, roma"},
        {"replace every one", [&] { driver.answerInput("roma").answerInput("Milano"); }, 'H', 0,
         "Via Milano, Milano"},
        {"replace with nothing", [&] { driver.answerInput(", Milano").answerInput(""); }, 'H', 0,
         "Via Milano"},
        {"too long for the field: nothing changes",
         [&] {
             campo.setMaxLength(12);
             driver.answerInput("Milano")
                 .answerInput("Reggio Emilia")
                 .answerMessage("troppo lungo", 1);
         },
         'H', 0, "Via Milano"},
        {"refused by the setting: no prompt", [&] { gsTastiCtrl = "CV"; }, 'F', 0, "Via Milano"},
    };
    for (const auto& c : cases) {
        c.script();
        EXPECT_EQ(keyDown(c.key, ui::shift::Ctrl), std::pair(1, 0)) << c.name;
        EXPECT_EQ(campo.selStart(), c.selStart) << c.name;
        EXPECT_EQ(campo.text(), c.text) << c.name;
    }
    gsTastiCtrl.clear();
    f.Combo.setFocus();
    EXPECT_EQ(keyDown('F', ui::shift::Ctrl).first, 0) << "not a text box";
}

TEST_F(WindowServices, ListCommandKeysPressTheToolbarsButtonElseReachButtonComando) {
    std::string comando, premuto;
    f.expose("ButtonComando", [&](std::vector<Variant>& args) {
        comando = args.at(0).text();
        return Variant();
    });
    gmTastiComandiLista[{ui::key::F5, 0}] = "Aggiorna";
    auto press = [&](int key) {
        TastiComandiLista(f, key, 0);
        return key;
    };
    EXPECT_EQ(press(ui::key::F6), ui::key::F6);
    EXPECT_EQ(press(ui::key::F5), 0);
    EXPECT_EQ(comando, "Aggiorna");

    auto& tlb = f.add<ui::Toolbar>("Toolbar1");
    tlb.addButton("Aggiorna");
    tlb.onButtonClick = [&](const std::string& k) { premuto = k; };
    comando.clear();
    EXPECT_EQ(press(ui::key::F5), 0);
    EXPECT_EQ(premuto, "Aggiorna") << "the toolbar's own button comes first";
    EXPECT_EQ(comando, "");
}

TEST_F(WindowServices, VerificaCampoDataMarksWrongDatesAndChecksTheCaptionLimits) {
    struct Case {
        const char *caption, *text;
        bool ok;
        const char* shown;
        long colour;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"Dati", "", true, "", kNorm, nullptr},
        {"Dati", "1/2/2003", true, "01/02/2003", kNorm, nullptr},
        {"Dati", "32/01/2003", false, "32/01/2003", kErr, nullptr},
        {"Dati |<01/01/1990>|", "31/12/1989", false, "31/12/1989", kErr, "Data troppo piccola"},
        {"Dati |<01/01/1990>|", "1/1/1990", true, "01/01/1990", kNorm, nullptr},
        {"Dati |<01/01/1990;31/12/2050>|", "01/01/2051", true, "01/01/2051", kNorm, nullptr},
        {"Dati |<non data>|", "01/01/1900", true, "01/01/1900", kNorm, nullptr},
    };
    for (const auto& c : cases) {
        f.setCaption(c.caption);
        f.txt(20).setText(c.text);
        if (c.message != nullptr) driver.answerMessage(c.message, 1);
        EXPECT_EQ(VerificaCampoData(f.txt(20)), c.ok) << c.text;
        EXPECT_EQ(f.txt(20).text(), c.shown) << c.text;
        EXPECT_EQ(f.txt(20).backColor(), c.colour) << c.text;
    }
    f.txt(20).setText("01/01/2000");
    VerificaCampoData(f.txt(20), -2, 1, kGot);
    EXPECT_EQ(f.txt(20).backColor(), kGot);
}

TEST_F(WindowServices, TastiCampoMovesToTheNextFieldFocusPerHelpToTheOneAskedFor) {
    f.txt(20).setText("Rossi");
    ui::user::focus(f.txt(10));
    TastiCampo(ui::key::Return, 0);
    EXPECT_EQ(f.activeControl(), &f.txt(20));
    EvidenziaCampo();
    EXPECT_EQ(f.txt(20).selText(), "Rossi") << "EvidenziaCampo selects the field's text";
    TastiCampo(ui::key::Return, ui::shift::Shift);
    EXPECT_EQ(f.activeControl(), &f.txt(10));

    FocusPerHelp(f, 3000, ui::key::F2, 0);
    EXPECT_EQ(f.activeControl(), &f.txt(3000));
    EXPECT_TRUE(f.Pagina2.visible());
    EXPECT_EQ(f.keyUps, std::vector<std::string>{"3000:113"}) << "then fires its key up";
    EXPECT_THROW(FocusPerHelp(f, 99, ui::key::F2, 0), NumberedError);
}

TEST_F(WindowServices, PrimoCampoLandsOnThePageOrItsFirstField) {
    auto& riquadro = f.add<ui::Frame>("FraNascosto", &f.Pagina2);
    riquadro.setVisible(false);
    f.txt.add(2990, &riquadro).setTabIndex(0);
    PrimoCampo(f.Pagina2);
    EXPECT_EQ(f.activeControl(), &f.txt(3000)) << "fields kept hidden are skipped";
    EXPECT_FALSE(riquadro.visible()) << "a frame hidden on purpose stays hidden";
    f.txt(3000).setEnabled(false);
    ui::user::focus(f.txt(10));
    PrimoCampo(f.txt(3000));
    EXPECT_EQ(f.activeControl(), &f.txt(3010));
    f.txt(20).setVisible(false);
    PrimoCampo(f.txt(20));
    EXPECT_EQ(f.activeControl(), &f.txt(3010)) << "a field that cannot take it changes nothing";
}

// The hourglass saves the pointer once however often it is asked for; a trapped error puts the
// saved one back.
TEST_F(WindowServices, ConTrappolaShowsARunTimeErrorButLetsAScriptFailureThrough) {
    auto& d = ui::desktop();
    d.setMousePointer(ui::pointer::Arrow);
    Clessidra(true);
    EXPECT_EQ(d.mousePointer(), ui::pointer::Hourglass);
    Clessidra(true);
    Clessidra(false);
    EXPECT_EQ(d.mousePointer(), ui::pointer::Arrow);
    Clessidra(true);
    driver.answerMessage("Errore(11): Division by zero", 1);
    ConTrappola([] { throw NumberedError(11, "Division by zero"); });
    EXPECT_EQ(d.mousePointer(), ui::pointer::Arrow);
    std::string mostrato;
    ConTrappola([] { throw std::runtime_error("guasto"); },
                [&](const std::exception& e) { mostrato = e.what(); });
    EXPECT_EQ(mostrato, "guasto");
    EXPECT_THROW(ConTrappola([] { throw ui::UnexpectedWindow("inattesa"); }), ui::UnexpectedWindow);

    // MostraErrore reads number, description and source.
    driver.answerMessage("", 1);
    MostraErrore(NumberedError(5, "Chiamata non valida", "Db"), "A: ", " (B)");
    EXPECT_EQ(driver.messageTexts().back(), "A: Errore(5): Chiamata non valida - Db (B)");
}

TEST_F(WindowServices, InizioCaricoFormSetsPreviewColoursCaptionAndFactor) {
    gsDescAzie = "Rossi Spa";
    gdRisVid = 1.25;
    f.setKeyPreview(false);
    f.txt(10).setBackColor(kNorm);
    f.txt(20).setBackColor(kErr);
    InizioCaricoForm(f);
    EXPECT_TRUE(f.keyPreview());
    EXPECT_EQ(f.caption(), "Dati generali - Rossi Spa");
    EXPECT_EQ(f.txt(10).backColor(), kLost);
    EXPECT_EQ(f.txt(20).backColor(), kErr);
    EXPECT_EQ(f.zoom(), 1.25);
    for (auto [factor, zoom] : {std::pair{-1.0, 1.0}, {0.0, 1.0}, {1.5, 1.5}}) {
        EXPECT_EQ(AdattaRisVid(f, factor), zoom) << factor;
        EXPECT_EQ(f.zoom(), zoom) << factor;
    }
}

TEST_F(WindowServices, CercaFileGivesTheDialogsStartingName) {
    const std::string tmp = std::filesystem::temp_directory_path().string();
    for (const auto& [path, result] : std::vector<std::pair<std::string, std::string>>{
             {"", "*.*"},
             {"/opt/stunnel/", "/opt/stunnel/*.*"},
             {tmp, tmp + "/*.*"},
             {"/non/esiste/file.txt", "/non/esiste/file.txt"}})
        EXPECT_EQ(CercaFile(path), result) << path;
}

}  // namespace
}  // namespace tolvane
