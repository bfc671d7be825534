-- The base company database: every new company is a copy of a file built from this script.
-- Holds one company only; shared decodings and users belong to the common database.
-- Every change here must raise the schema version so that older files get upgraded.

PRAGMA journal_mode = WAL;

CREATE TABLE VersioneSchema (
    Versione INTEGER NOT NULL DEFAULT 0
);
INSERT INTO VersioneSchema (Versione) VALUES (1);

-- The company record: master data, installed procedures, currency, VAT registers,
-- register-office and electronic-invoicing data.
CREATE TABLE Ditta (
    RagSoc VARCHAR(60) COLLATE NOCASE,
    RagSoc2 VARCHAR(60) COLLATE NOCASE,
    Indirizzo VARCHAR(60) COLLATE NOCASE,
    Cap VARCHAR(5) COLLATE NOCASE,
    Localita VARCHAR(40) COLLATE NOCASE,
    Provincia VARCHAR(2) COLLATE NOCASE,
    Stato VARCHAR(3) COLLATE NOCASE,
    PartIva VARCHAR(11) COLLATE NOCASE,
    CodFisc VARCHAR(16) COLLATE NOCASE,
    PersFisGiu VARCHAR(1) COLLATE NOCASE,
    NatGiuridica VARCHAR(4) COLLATE NOCASE,
    Sesso VARCHAR(1) COLLATE NOCASE,
    DataNascita DATETIME,
    ComuneNascita VARCHAR(40) COLLATE NOCASE,
    ProvNascita VARCHAR(2) COLLATE NOCASE,
    Telefono VARCHAR(20) COLLATE NOCASE,
    Fax VARCHAR(20) COLLATE NOCASE,
    Email VARCHAR(100) COLLATE NOCASE,
    Pec VARCHAR(100) COLLATE NOCASE,
    CodAttivita VARCHAR(6) COLLATE NOCASE,
    InstCoge VARCHAR(1) COLLATE NOCASE,
    InstIva VARCHAR(1) COLLATE NOCASE,
    InstMagazzino VARCHAR(1) COLLATE NOCASE,
    InstFatt VARCHAR(1) COLLATE NOCASE,
    InstOrdini VARCHAR(1) COLLATE NOCASE,
    InstRegCassa VARCHAR(1) COLLATE NOCASE,
    InstCespiti VARCHAR(1) COLLATE NOCASE,
    Moneta VARCHAR(5) COLLATE NOCASE,
    MonetaConto VARCHAR(5) COLLATE NOCASE,
    PeriodoIva VARCHAR(1) COLLATE NOCASE,
    NumRegIvaVen SMALLINT,
    NumRegIvaAcq SMALLINT,
    NumRegIvaCorr SMALLINT,
    Cee VARCHAR(1) COLLATE NOCASE,
    UfficioRea VARCHAR(2) COLLATE NOCASE,
    NumRea VARCHAR(20) COLLATE NOCASE,
    CapitaleSociale CURRENCY,
    SocioUnico VARCHAR(2) COLLATE NOCASE,
    StatoLiquidazione VARCHAR(2) COLLATE NOCASE,
    XbrlTassonomia VARCHAR(20) COLLATE NOCASE,
    FERegimeFiscale VARCHAR(4) COLLATE NOCASE,
    FECodDestinatario VARCHAR(7) COLLATE NOCASE,
    FEPecDestinatario VARCHAR(100) COLLATE NOCASE,
    Note TEXT COLLATE NOCASE
);

-- Common accounts, common causals and professional transit accounts: one row.
CREATE TABLE TabCauCon (
    GruppoClienti VARCHAR(2) COLLATE NOCASE,
    MastroClienti VARCHAR(2) COLLATE NOCASE,
    GruppoFornitori VARCHAR(2) COLLATE NOCASE,
    MastroFornitori VARCHAR(2) COLLATE NOCASE,
    GruppoVen VARCHAR(2) COLLATE NOCASE,
    MastroVen VARCHAR(2) COLLATE NOCASE,
    ContoVen VARCHAR(6) COLLATE NOCASE,
    GruppoAcq VARCHAR(2) COLLATE NOCASE,
    MastroAcq VARCHAR(2) COLLATE NOCASE,
    ContoAcq VARCHAR(6) COLLATE NOCASE,
    GruppoIvaVen VARCHAR(2) COLLATE NOCASE,
    MastroIvaVen VARCHAR(2) COLLATE NOCASE,
    ContoIvaVen VARCHAR(6) COLLATE NOCASE,
    GruppoIvaAcq VARCHAR(2) COLLATE NOCASE,
    MastroIvaAcq VARCHAR(2) COLLATE NOCASE,
    ContoIvaAcq VARCHAR(6) COLLATE NOCASE,
    GruppoIvaSosC VARCHAR(2) COLLATE NOCASE,
    MastroIvaSosC VARCHAR(2) COLLATE NOCASE,
    ContoIvaSosC VARCHAR(6) COLLATE NOCASE,
    GruppoIvaSosF VARCHAR(2) COLLATE NOCASE,
    MastroIvaSosF VARCHAR(2) COLLATE NOCASE,
    ContoIvaSosF VARCHAR(6) COLLATE NOCASE,
    GruppoIvaCassaC VARCHAR(2) COLLATE NOCASE,
    MastroIvaCassaC VARCHAR(2) COLLATE NOCASE,
    ContoIvaCassaC VARCHAR(6) COLLATE NOCASE,
    GruppoIvaCassaF VARCHAR(2) COLLATE NOCASE,
    MastroIvaCassaF VARCHAR(2) COLLATE NOCASE,
    ContoIvaCassaF VARCHAR(6) COLLATE NOCASE,
    GruppoCliInt VARCHAR(2) COLLATE NOCASE,
    MastroCliInt VARCHAR(2) COLLATE NOCASE,
    ContoCliInt VARCHAR(6) COLLATE NOCASE,
    GruppoAnt VARCHAR(2) COLLATE NOCASE,
    MastroAnt VARCHAR(2) COLLATE NOCASE,
    ContoAnt VARCHAR(6) COLLATE NOCASE,
    GruppoArr VARCHAR(2) COLLATE NOCASE,
    MastroArr VARCHAR(2) COLLATE NOCASE,
    ContoArr VARCHAR(6) COLLATE NOCASE,
    GruppoOmaggi VARCHAR(2) COLLATE NOCASE,
    MastroOmaggi VARCHAR(2) COLLATE NOCASE,
    ContoOmaggi VARCHAR(6) COLLATE NOCASE,
    GruppoIvaCorr VARCHAR(2) COLLATE NOCASE,
    MastroIvaCorr VARCHAR(2) COLLATE NOCASE,
    ContoIvaCorr VARCHAR(6) COLLATE NOCASE,
    GruppoIvaAcqCee VARCHAR(2) COLLATE NOCASE,
    MastroIvaAcqCee VARCHAR(2) COLLATE NOCASE,
    ContoIvaAcqCee VARCHAR(6) COLLATE NOCASE,
    GruppoIvaVenCee VARCHAR(2) COLLATE NOCASE,
    MastroIvaVenCee VARCHAR(2) COLLATE NOCASE,
    ContoIvaVenCee VARCHAR(6) COLLATE NOCASE,
    GruppoCliCorr VARCHAR(2) COLLATE NOCASE,
    MastroCliCorr VARCHAR(2) COLLATE NOCASE,
    ContoCliCorr VARCHAR(6) COLLATE NOCASE,
    GruppoCassaCont VARCHAR(2) COLLATE NOCASE,
    MastroCassaCont VARCHAR(2) COLLATE NOCASE,
    ContoCassaCont VARCHAR(6) COLLATE NOCASE,
    GruppoCassaAss VARCHAR(2) COLLATE NOCASE,
    MastroCassaAss VARCHAR(2) COLLATE NOCASE,
    ContoCassaAss VARCHAR(6) COLLATE NOCASE,
    GruppoCartaCr VARCHAR(2) COLLATE NOCASE,
    MastroCartaCr VARCHAR(2) COLLATE NOCASE,
    ContoCartaCr VARCHAR(6) COLLATE NOCASE,
    GruppoAbbPass VARCHAR(2) COLLATE NOCASE,
    MastroAbbPass VARCHAR(2) COLLATE NOCASE,
    ContoAbbPass VARCHAR(6) COLLATE NOCASE,
    GruppoAbbAtt VARCHAR(2) COLLATE NOCASE,
    MastroAbbAtt VARCHAR(2) COLLATE NOCASE,
    ContoAbbAtt VARCHAR(6) COLLATE NOCASE,
    GruppoProfPer VARCHAR(2) COLLATE NOCASE,
    MastroProfPer VARCHAR(2) COLLATE NOCASE,
    ContoProfPer VARCHAR(6) COLLATE NOCASE,
    GruppoUtiPer VARCHAR(2) COLLATE NOCASE,
    MastroUtiPer VARCHAR(2) COLLATE NOCASE,
    ContoUtiPer VARCHAR(6) COLLATE NOCASE,
    GruppoBilChiu VARCHAR(2) COLLATE NOCASE,
    MastroBilChiu VARCHAR(2) COLLATE NOCASE,
    ContoBilChiu VARCHAR(6) COLLATE NOCASE,
    GruppoBilAper VARCHAR(2) COLLATE NOCASE,
    MastroBilAper VARCHAR(2) COLLATE NOCASE,
    ContoBilAper VARCHAR(6) COLLATE NOCASE,
    GruppoUtiCambio VARCHAR(2) COLLATE NOCASE,
    MastroUtiCambio VARCHAR(2) COLLATE NOCASE,
    ContoUtiCambio VARCHAR(6) COLLATE NOCASE,
    GruppoPerdCambio VARCHAR(2) COLLATE NOCASE,
    MastroPerdCambio VARCHAR(2) COLLATE NOCASE,
    ContoPerdCambio VARCHAR(6) COLLATE NOCASE,
    GruppoRitAccVen VARCHAR(2) COLLATE NOCASE,
    MastroRitAccVen VARCHAR(2) COLLATE NOCASE,
    ContoRitAccVen VARCHAR(6) COLLATE NOCASE,
    GruppoRitAcc VARCHAR(2) COLLATE NOCASE,
    MastroRitAcc VARCHAR(2) COLLATE NOCASE,
    ContoRitAcc VARCHAR(6) COLLATE NOCASE,
    GruppoBancomat VARCHAR(2) COLLATE NOCASE,
    MastroBancomat VARCHAR(2) COLLATE NOCASE,
    ContoBancomat VARCHAR(6) COLLATE NOCASE,
    GruppoIvaSplit VARCHAR(2) COLLATE NOCASE,
    MastroIvaSplit VARCHAR(2) COLLATE NOCASE,
    ContoIvaSplit VARCHAR(6) COLLATE NOCASE,
    CausFatt VARCHAR(3) COLLATE NOCASE,
    CausNC VARCHAR(3) COLLATE NOCASE,
    CausFattSosp VARCHAR(3) COLLATE NOCASE,
    CausNCSosp VARCHAR(3) COLLATE NOCASE,
    CausAnticipi VARCHAR(3) COLLATE NOCASE,
    CausArr VARCHAR(3) COLLATE NOCASE,
    CausOmaggi VARCHAR(3) COLLATE NOCASE,
    CausIncasso VARCHAR(3) COLLATE NOCASE,
    SaldaCauIncassi VARCHAR(3) COLLATE NOCASE,
    SaldaCauPagamenti VARCHAR(3) COLLATE NOCASE,
    CauChiuEco VARCHAR(3) COLLATE NOCASE,
    CauChiuPatr VARCHAR(3) COLLATE NOCASE,
    CauApertura VARCHAR(3) COLLATE NOCASE,
    CausRit VARCHAR(3) COLLATE NOCASE,
    CauGirIva VARCHAR(3) COLLATE NOCASE,
    SpesaCassaPrev VARCHAR(3) COLLATE NOCASE,
    GruTrOnorario VARCHAR(2) COLLATE NOCASE,
    MasTrOnorario VARCHAR(2) COLLATE NOCASE,
    ConTrOnorario VARCHAR(6) COLLATE NOCASE,
    GruTrAltriRic VARCHAR(2) COLLATE NOCASE,
    MasTrAltriRic VARCHAR(2) COLLATE NOCASE,
    ConTrAltriRic VARCHAR(6) COLLATE NOCASE,
    GruTrRitAcconto VARCHAR(2) COLLATE NOCASE,
    MasTrRitAcconto VARCHAR(2) COLLATE NOCASE,
    ConTrRitAcconto VARCHAR(6) COLLATE NOCASE,
    GruTransCosti VARCHAR(2) COLLATE NOCASE,
    MasTransCosti VARCHAR(2) COLLATE NOCASE,
    ConTransCosti VARCHAR(6) COLLATE NOCASE,
    GruTrCassaRit VARCHAR(2) COLLATE NOCASE,
    MasTrCassaRit VARCHAR(2) COLLATE NOCASE,
    ConTrCassaRit VARCHAR(6) COLLATE NOCASE,
    GruTransAntic VARCHAR(2) COLLATE NOCASE,
    MasTransAntic VARCHAR(2) COLLATE NOCASE,
    ConTransAntic VARCHAR(6) COLLATE NOCASE
);

-- General-accounting parameters: one row. GiorniChiu lists the closing days (1 Sunday .. 7 Saturday).
CREATE TABLE TabCoge (
    AnnoCorr SMALLINT,
    DataInizCont DATETIME,
    DataFineCont DATETIME,
    ApertoPrec VARCHAR(1) COLLATE NOCASE,
    Azzera VARCHAR(1) COLLATE NOCASE,
    AnagrInRegIva VARCHAR(1) COLLATE NOCASE,
    MultiAttivita VARCHAR(1) COLLATE NOCASE,
    AnnoAzzera SMALLINT,
    OpRilIvaImpConIva CURRENCY,
    OpRilIvaImpSenzaIva CURRENCY,
    GruppoSospesi VARCHAR(2) COLLATE NOCASE,
    MastroSospesi VARCHAR(2) COLLATE NOCASE,
    ContoSospesi VARCHAR(6) COLLATE NOCASE,
    GiorniChiu VARCHAR(20) COLLATE NOCASE,
    IvaCassaAttiva VARCHAR(1) COLLATE NOCASE,
    IvaPerCassaDa DATETIME,
    IvaPerCassaA DATETIME,
    DataProcConcDa DATETIME,
    DataProcConcA DATETIME
);

-- RiBa/RID sender data: one row; the sizes are those of the bank file records.
CREATE TABLE TabRiba (
    RagSocDitta VARCHAR(24) COLLATE NOCASE,
    ViaDitta VARCHAR(24) COLLATE NOCASE,
    CapLocalDitta VARCHAR(24) COLLATE NOCASE,
    ProvDitta VARCHAR(24) COLLATE NOCASE,
    RifMitt VARCHAR(26) COLLATE NOCASE,
    FirmaMitt VARCHAR(20) COLLATE NOCASE,
    CFiscPIva VARCHAR(20) COLLATE NOCASE,
    NomeRiba VARCHAR(1) COLLATE NOCASE,
    PagTipoCli VARCHAR(1) COLLATE NOCASE,
    PagTipoFor VARCHAR(1) COLLATE NOCASE
);

-- Warehouse and barcode parameters: one row.
CREATE TABLE TabMagazzino (
    AnnoCorr SMALLINT,
    DataInizio DATETIME,
    DataFine DATETIME,
    UsoCodBarre VARCHAR(1) COLLATE NOCASE,
    AttDecBarcode VARCHAR(10) COLLATE NOCASE,
    TipoCodBarre VARCHAR(2) COLLATE NOCASE,
    GenAutContrBarre VARCHAR(1) COLLATE NOCASE,
    LungCodBarre SMALLINT,
    GenAutCodBarre VARCHAR(1) COLLATE NOCASE,
    MagPrincipale VARCHAR(3) COLLATE NOCASE,
    ListinoPrincipale VARCHAR(3) COLLATE NOCASE,
    AggForArt VARCHAR(1) COLLATE NOCASE,
    KeyRicCarMov VARCHAR(1) COLLATE NOCASE,
    KeyRicDDT VARCHAR(1) COLLATE NOCASE,
    KeyRicFattura VARCHAR(1) COLLATE NOCASE,
    NumDecQta SMALLINT,
    Segnalazione VARCHAR(1) COLLATE NOCASE,
    GesArtFor VARCHAR(1) COLLATE NOCASE,
    GesTaglie VARCHAR(1) COLLATE NOCASE,
    GesCauzioni VARCHAR(1) COLLATE NOCASE,
    NumEtic SMALLINT,
    UltStampaGio DATETIME,
    UsoDateLis VARCHAR(1) COLLATE NOCASE,
    DataListino DATETIME,
    QualeDataLis VARCHAR(1) COLLATE NOCASE,
    ProgrQta1 VARCHAR(20) COLLATE NOCASE,
    ProgrQta2 VARCHAR(20) COLLATE NOCASE,
    ProgrQta3 VARCHAR(20) COLLATE NOCASE,
    GruppoProd VARCHAR(2) COLLATE NOCASE,
    MastroProd VARCHAR(2) COLLATE NOCASE,
    ContoProd VARCHAR(6) COLLATE NOCASE,
    PercRicListClie DOUBLE
);

-- Invoicing, delivery-note, sales-order and quotation parameters: one row.
CREATE TABLE TabFatt (
    ScontoQta VARCHAR(1) COLLATE NOCASE,
    DocDdt VARCHAR(3) COLLATE NOCASE,
    DocBolInt VARCHAR(3) COLLATE NOCASE,
    ElePrefDdt VARCHAR(20) COLLATE NOCASE,
    PrefDdt VARCHAR(1) COLLATE NOCASE,
    RagDdt VARCHAR(1) COLLATE NOCASE,
    DoveEleDdt VARCHAR(1) COLLATE NOCASE,
    RagDdtMag VARCHAR(1) COLLATE NOCASE,
    RagDdtVett VARCHAR(1) COLLATE NOCASE,
    NumCopieBolle SMALLINT,
    ContFatt VARCHAR(1) COLLATE NOCASE,
    FattCreaScad VARCHAR(1) COLLATE NOCASE,
    StScontoPagDett VARCHAR(1) COLLATE NOCASE,
    DocFatt VARCHAR(3) COLLATE NOCASE,
    DocFattAcc VARCHAR(3) COLLATE NOCASE,
    NumCopieFatt SMALLINT,
    CodIvaFattDett VARCHAR(3) COLLATE NOCASE,
    CauTrasporto VARCHAR(3) COLLATE NOCASE,
    AspettoBene VARCHAR(3) COLLATE NOCASE,
    Trasporto VARCHAR(3) COLLATE NOCASE,
    FormatoRigaRifCli VARCHAR(8) COLLATE NOCASE,
    FormatoRigaRifOrd VARCHAR(8) COLLATE NOCASE,
    FormatoRigaRifDdt VARCHAR(8) COLLATE NOCASE,
    Onlus VARCHAR(1) COLLATE NOCASE,
    StRifCli VARCHAR(1) COLLATE NOCASE,
    StRifOrd VARCHAR(1) COLLATE NOCASE,
    TestoOnlus VARCHAR(90) COLLATE NOCASE,
    MessDichIntenti VARCHAR(80) COLLATE NOCASE,
    DescLibTest1 VARCHAR(15) COLLATE NOCASE,
    RigaDaEva1 VARCHAR(1) COLLATE NOCASE,
    DescLibTest2 VARCHAR(15) COLLATE NOCASE,
    RigaDaEva2 VARCHAR(1) COLLATE NOCASE,
    DescLibTest3 VARCHAR(15) COLLATE NOCASE,
    RigaDaEva3 VARCHAR(1) COLLATE NOCASE,
    DescLibTest4 VARCHAR(15) COLLATE NOCASE,
    RigaDaEva4 VARCHAR(1) COLLATE NOCASE,
    ComeEva VARCHAR(1) COLLATE NOCASE,
    FormatoRigaLiberi VARCHAR(8) COLLATE NOCASE,
    FEProgrInvioCedente VARCHAR(8) COLLATE NOCASE,
    FEHubLogin1 VARCHAR(50) COLLATE NOCASE,
    FEHubPwd1 VARCHAR(255) COLLATE NOCASE,
    DocOrd VARCHAR(3) COLLATE NOCASE,
    DocOrdInt VARCHAR(3) COLLATE NOCASE,
    NumCopieOrd SMALLINT,
    NomeFiltroOrd VARCHAR(50) COLLATE NOCASE,
    DocPrev VARCHAR(3) COLLATE NOCASE,
    NumCopiePrev SMALLINT,
    NomeFiltroPrev VARCHAR(50) COLLATE NOCASE
);

-- Purchase-order parameters: one row.
CREATE TABLE TabAcq (
    AcqDocOrd VARCHAR(3) COLLATE NOCASE,
    ListAcq VARCHAR(3) COLLATE NOCASE,
    Vettore VARCHAR(5) COLLATE NOCASE,
    StArtFor VARCHAR(1) COLLATE NOCASE,
    Oggetto VARCHAR(100) COLLATE NOCASE,
    NrCopie SMALLINT
);

-- Cash-register parameters: one row.
CREATE TABLE TabReg (
    KeyRicScontrino VARCHAR(1) COLLATE NOCASE,
    NumReparti SMALLINT,
    StRigaScontrino SMALLINT,
    TipoCorrisp SMALLINT,
    Assegni VARCHAR(1) COLLATE NOCASE,
    CartaCredito VARCHAR(1) COLLATE NOCASE,
    Segnalazione VARCHAR(1) COLLATE NOCASE,
    RepFatturazione SMALLINT,
    CausCorriScor VARCHAR(3) COLLATE NOCASE,
    CausCorriVent VARCHAR(3) COLLATE NOCASE,
    CausGiroconto VARCHAR(3) COLLATE NOCASE,
    GruppoMerVen VARCHAR(2) COLLATE NOCASE,
    MastroMerVen VARCHAR(2) COLLATE NOCASE,
    ContoMerVen VARCHAR(6) COLLATE NOCASE,
    GruppoSospesi VARCHAR(2) COLLATE NOCASE,
    MastroSospesi VARCHAR(2) COLLATE NOCASE,
    ContoSospesi VARCHAR(6) COLLATE NOCASE,
    CausScaArti VARCHAR(3) COLLATE NOCASE,
    Listino VARCHAR(3) COLLATE NOCASE,
    TabSconti VARCHAR(1) COLLATE NOCASE,
    RegAttivo VARCHAR(1) COLLATE NOCASE,
    NumCasse SMALLINT
);

-- Operatore: "/" or "*", how the rate turns lire into this currency.
CREATE TABLE Monete (
    Moneta VARCHAR(5) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(30) COLLATE NOCASE,
    NumDec SMALLINT NOT NULL DEFAULT 2,
    NumDecGest SMALLINT NOT NULL DEFAULT 2,
    Cambio DOUBLE,
    Operatore VARCHAR(1) COLLATE NOCASE,
    Cee VARCHAR(1) COLLATE NOCASE
);

CREATE TABLE Stati (
    Stato VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(50) COLLATE NOCASE,
    CodIso VARCHAR(2) COLLATE NOCASE,
    Cee VARCHAR(1) COLLATE NOCASE
);

-- TipoCausale: "CH" closing, "AP" opening, other codes for ordinary postings.
CREATE TABLE Causali (
    Causale VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE,
    TipoCausale VARCHAR(2) COLLATE NOCASE
);

CREATE TABLE Spese (
    Spesa VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE,
    CassaPrev VARCHAR(1) COLLATE NOCASE
);

CREATE TABLE Gruppi (
    Gruppo VARCHAR(2) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(50) COLLATE NOCASE
);

CREATE TABLE Mastri (
    Gruppo VARCHAR(2) COLLATE NOCASE NOT NULL,
    Mastro VARCHAR(2) COLLATE NOCASE NOT NULL,
    Descrizione VARCHAR(50) COLLATE NOCASE,
    PRIMARY KEY (Gruppo, Mastro)
);

-- Tipo "1" marks ordinary accounts; customer and supplier accounts carry their master data.
CREATE TABLE PianoConti (
    Gruppo VARCHAR(2) COLLATE NOCASE NOT NULL,
    Mastro VARCHAR(2) COLLATE NOCASE NOT NULL,
    Conto VARCHAR(6) COLLATE NOCASE NOT NULL,
    Descrizione VARCHAR(50) COLLATE NOCASE,
    Tipo VARCHAR(1) COLLATE NOCASE,
    Indirizzo VARCHAR(60) COLLATE NOCASE,
    Cap VARCHAR(5) COLLATE NOCASE,
    Localita VARCHAR(40) COLLATE NOCASE,
    Provincia VARCHAR(2) COLLATE NOCASE,
    PartIva VARCHAR(11) COLLATE NOCASE,
    CodFisc VARCHAR(16) COLLATE NOCASE,
    PersRiferimento VARCHAR(40) COLLATE NOCASE,
    Telefono VARCHAR(20) COLLATE NOCASE,
    Email VARCHAR(100) COLLATE NOCASE,
    Email2 VARCHAR(100) COLLATE NOCASE,
    Email3 VARCHAR(100) COLLATE NOCASE,
    Email4 VARCHAR(100) COLLATE NOCASE,
    PRIMARY KEY (Gruppo, Mastro, Conto)
);

CREATE TABLE Magazzini (
    Magazzino VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE
);

CREATE TABLE Listini (
    Listino VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE,
    Moneta VARCHAR(5) COLLATE NOCASE
);

-- Tipo: "B" delivery note, "F" invoice, "D" retail invoice, "O" order, "P" quotation,
-- "A" purchase order.
CREATE TABLE FattDocumenti (
    FattDocumento VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE,
    Tipo VARCHAR(1) COLLATE NOCASE,
    Interno VARCHAR(1) COLLATE NOCASE,
    FattAccomp VARCHAR(1) COLLATE NOCASE
);

CREATE TABLE CauTrasporti (
    CauTrasporto VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE
);

CREATE TABLE AspettoBeni (
    AspettoBene VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE
);

CREATE TABLE Trasporti (
    Trasporto VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE
);

CREATE TABLE Vettori (
    Vettore VARCHAR(5) COLLATE NOCASE NOT NULL PRIMARY KEY,
    RagSoc VARCHAR(60) COLLATE NOCASE,
    Indirizzo VARCHAR(60) COLLATE NOCASE,
    Localita VARCHAR(40) COLLATE NOCASE,
    PartIva VARCHAR(11) COLLATE NOCASE
);

-- The unloading causal of the cash register must be TipoMov "N", CarScar "S", Segno "+",
-- Prov "M" and Dest "C" or "N".
CREATE TABLE MagCausali (
    MagCausale VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE,
    TipoMov VARCHAR(1) COLLATE NOCASE,
    CarScar VARCHAR(1) COLLATE NOCASE,
    Segno VARCHAR(1) COLLATE NOCASE,
    Prov VARCHAR(1) COLLATE NOCASE,
    Dest VARCHAR(1) COLLATE NOCASE
);

CREATE TABLE Reparti (
    Reparto SMALLINT NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE,
    Iva VARCHAR(3) COLLATE NOCASE
);

-- Payment types; EmissEffetti "S" when bank receipts or direct debits may be issued.
CREATE TABLE PagTipi (
    PagTipo VARCHAR(1) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE,
    EmissEffetti VARCHAR(1) COLLATE NOCASE
);

-- VAT codes; codes beginning with 3 are half, with 4 wholly non-deductible.
CREATE TABLE CodiciIva (
    Iva VARCHAR(3) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(40) COLLATE NOCASE,
    Aliquota DOUBLE,
    PercIndetr DOUBLE
);

-- Company level of the personal settings; an empty Login applies to every user.
CREATE TABLE Personalizzazioni (
    Sezione VARCHAR(50) COLLATE NOCASE NOT NULL,
    Chiave VARCHAR(50) COLLATE NOCASE NOT NULL,
    Login VARCHAR(20) COLLATE NOCASE NOT NULL DEFAULT '',
    Valore VARCHAR(255) COLLATE NOCASE,
    Descrizione VARCHAR(100) COLLATE NOCASE,
    PRIMARY KEY (Sezione, Chiave, Login)
);

-- Rounding bands: an amount from ImportoDa up to ImportoA is rounded to a multiple of
-- Arrotondamento.
CREATE TABLE ArrotLire (
    ImportoDa CURRENCY NOT NULL PRIMARY KEY,
    ImportoA CURRENCY,
    Arrotondamento CURRENCY
);

CREATE TABLE ArrotEuro (
    ImportoDa CURRENCY NOT NULL PRIMARY KEY,
    ImportoA CURRENCY,
    Arrotondamento CURRENCY
);

-- Journal: header, account rows, VAT rows of one registration (Anno, NumReg).
-- The ...Mon amounts are in the currency of the document, the others in the company's.
CREATE TABLE MovPnTes (
    Anno SMALLINT NOT NULL,
    NumReg INTEGER NOT NULL,
    DataReg DATETIME,
    Causale VARCHAR(3) COLLATE NOCASE,
    Descrizione VARCHAR(60) COLLATE NOCASE,
    PreDoc VARCHAR(2) COLLATE NOCASE,
    NumDoc INTEGER,
    DataDoc DATETIME,
    PreProt VARCHAR(2) COLLATE NOCASE,
    NumProt INTEGER,
    AnnoIva SMALLINT,
    PeriodoIva SMALLINT,
    GruppoCliFor VARCHAR(2) COLLATE NOCASE,
    MastroCliFor VARCHAR(2) COLLATE NOCASE,
    ContoCliFor VARCHAR(6) COLLATE NOCASE,
    Moneta VARCHAR(5) COLLATE NOCASE,
    TotDoc CURRENCY,
    TotDocMon CURRENCY,
    PRIMARY KEY (Anno, NumReg)
);

CREATE TABLE MovPnDett (
    Anno SMALLINT NOT NULL,
    NumReg INTEGER NOT NULL,
    Riga SMALLINT NOT NULL,
    GruppoPartita VARCHAR(2) COLLATE NOCASE,
    MastroPartita VARCHAR(2) COLLATE NOCASE,
    ContoPartita VARCHAR(6) COLLATE NOCASE,
    DareAvere VARCHAR(1) COLLATE NOCASE,
    Importo CURRENCY,
    ImportoMon CURRENCY,
    Iva VARCHAR(3) COLLATE NOCASE,
    Imposta CURRENCY,
    ImpostaMon CURRENCY,
    ImpostaIndetr CURRENCY,
    ImpostaIndetrMon CURRENCY,
    Forzatura VARCHAR(1) COLLATE NOCASE,
    PreDoc VARCHAR(2) COLLATE NOCASE,
    PreProt VARCHAR(2) COLLATE NOCASE,
    Descrizione VARCHAR(60) COLLATE NOCASE,
    PRIMARY KEY (Anno, NumReg, Riga)
);

CREATE TABLE MovPnIva (
    Anno SMALLINT NOT NULL,
    NumReg INTEGER NOT NULL,
    RigaIva SMALLINT NOT NULL,
    Iva VARCHAR(3) COLLATE NOCASE,
    Imponibile CURRENCY,
    Imposta CURRENCY,
    ImponibileMon CURRENCY,
    ImpostaMon CURRENCY,
    ImponibileND CURRENCY,
    ImpostaND CURRENCY,
    ImponibileNDMon CURRENCY,
    ImpostaNDMon CURRENCY,
    PRIMARY KEY (Anno, NumReg, RigaIva)
);

-- Rejected lines of batch loads; Tabella holds the layout code.
CREATE TABLE ErroriCaricamento (
    Id INTEGER PRIMARY KEY AUTOINCREMENT,
    Tabella VARCHAR(20) COLLATE NOCASE,
    Riga TEXT COLLATE NOCASE,
    Errore TEXT COLLATE NOCASE
);
