-- The common database shared by every terminal: company register, users, settings,
-- shared decodings, batch layouts and the intermediary record.
-- Never holds a company's own data; every change here must raise the schema version.

CREATE TABLE VersioneSchema (
    Versione INTEGER NOT NULL DEFAULT 0
);
INSERT INTO VersioneSchema (Versione) VALUES (1);

-- One row per company; the access lists are ';'-separated logins, groups and terminals.
CREATE TABLE Aziende (
    Codice VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    IdAzienda VARCHAR(3) COLLATE NOCASE NOT NULL UNIQUE,
    Descrizione VARCHAR(60) COLLATE NOCASE,
    NomeDB VARCHAR(255) COLLATE NOCASE,
    Connect VARCHAR(255) COLLATE NOCASE,
    PwdDB VARCHAR(100) COLLATE NOCASE,
    ListaLogin VARCHAR(255) COLLATE NOCASE,
    ListaGruppi VARCHAR(255) COLLATE NOCASE,
    ListaTerminali VARCHAR(255) COLLATE NOCASE
);

-- Passwords are kept as the menu program enciphers them, never in clear.
CREATE TABLE Utenti (
    Login VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Nome VARCHAR(50) COLLATE NOCASE,
    Gruppo VARCHAR(20) COLLATE NOCASE,
    Password VARCHAR(100) COLLATE NOCASE,
    Attivo BIT NOT NULL DEFAULT -1
);

CREATE TABLE Supervisore (
    Login VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Password VARCHAR(100) COLLATE NOCASE
);

-- General level of the personal settings; an empty Login applies to every user.
CREATE TABLE Personalizzazioni (
    Sezione VARCHAR(50) COLLATE NOCASE NOT NULL,
    Chiave VARCHAR(50) COLLATE NOCASE NOT NULL,
    Login VARCHAR(20) COLLATE NOCASE NOT NULL DEFAULT '',
    Valore VARCHAR(255) COLLATE NOCASE,
    Descrizione VARCHAR(100) COLLATE NOCASE,
    PRIMARY KEY (Sezione, Chiave, Login)
);

-- Five numbered pairs of a short text and a memo per record ("PdfEmail": e-mail templates).
CREATE TABLE Appoggio (
    Codice VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descr1 VARCHAR(255) COLLATE NOCASE,
    Memo1 TEXT COLLATE NOCASE,
    Descr2 VARCHAR(255) COLLATE NOCASE,
    Memo2 TEXT COLLATE NOCASE,
    Descr3 VARCHAR(255) COLLATE NOCASE,
    Memo3 TEXT COLLATE NOCASE,
    Descr4 VARCHAR(255) COLLATE NOCASE,
    Memo4 TEXT COLLATE NOCASE,
    Descr5 VARCHAR(255) COLLATE NOCASE,
    Memo5 TEXT COLLATE NOCASE
);

-- Tipo: "F" natural person, "G" legal person.
CREATE TABLE NatGiuridica (
    NatGiuridica VARCHAR(4) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(60) COLLATE NOCASE,
    Tipo VARCHAR(1) COLLATE NOCASE
);

-- Small code lists shared by all companies, one list per Tipo.
CREATE TABLE Decodifiche (
    Tipo VARCHAR(20) COLLATE NOCASE NOT NULL,
    Codice VARCHAR(20) COLLATE NOCASE NOT NULL,
    Descrizione VARCHAR(100) COLLATE NOCASE,
    PRIMARY KEY (Tipo, Codice)
);

-- Batch layouts: one header per layout, one row per destination column, value translations.
CREATE TABLE CaricaFile (
    Codice VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
    Descrizione VARCHAR(60) COLLATE NOCASE,
    batch VARCHAR(1) COLLATE NOCASE,
    Origine VARCHAR(255) COLLATE NOCASE,
    Tipo VARCHAR(1) COLLATE NOCASE,
    Separatore VARCHAR(20) COLLATE NOCASE,
    SaltaInizio SMALLINT,
    Modalita VARCHAR(1) COLLATE NOCASE,
    InsVaria VARCHAR(1) COLLATE NOCASE,
    Tabella VARCHAR(64) COLLATE NOCASE,
    Azzera VARCHAR(1) COLLATE NOCASE,
    WhereAzz VARCHAR(255) COLLATE NOCASE,
    Campi VARCHAR(255) COLLATE NOCASE,
    Tabella2 VARCHAR(64) COLLATE NOCASE,
    CodTab2 VARCHAR(1) COLLATE NOCASE,
    Azzera2 VARCHAR(1) COLLATE NOCASE,
    WhereAzz2 VARCHAR(255) COLLATE NOCASE,
    Campi2 VARCHAR(255) COLLATE NOCASE,
    Tabella3 VARCHAR(64) COLLATE NOCASE,
    CodTab3 VARCHAR(1) COLLATE NOCASE,
    Azzera3 VARCHAR(1) COLLATE NOCASE,
    WhereAzz3 VARCHAR(255) COLLATE NOCASE,
    Campi3 VARCHAR(255) COLLATE NOCASE,
    Tabella4 VARCHAR(64) COLLATE NOCASE,
    CodTab4 VARCHAR(1) COLLATE NOCASE,
    Azzera4 VARCHAR(1) COLLATE NOCASE,
    WhereAzz4 VARCHAR(255) COLLATE NOCASE,
    Campi4 VARCHAR(255) COLLATE NOCASE,
    Tabella5 VARCHAR(64) COLLATE NOCASE,
    CodTab5 VARCHAR(1) COLLATE NOCASE,
    Azzera5 VARCHAR(1) COLLATE NOCASE,
    WhereAzz5 VARCHAR(255) COLLATE NOCASE,
    Campi5 VARCHAR(255) COLLATE NOCASE,
    QueryFin1 TEXT COLLATE NOCASE,
    QueryFin2 TEXT COLLATE NOCASE,
    QueryFin3 TEXT COLLATE NOCASE
);

CREATE TABLE CaricaDettaglio (
    Codice VARCHAR(20) COLLATE NOCASE NOT NULL,
    NomeCampo VARCHAR(66) COLLATE NOCASE NOT NULL,
    OrdCampo VARCHAR(10) COLLATE NOCASE,
    TipoOrig VARCHAR(20) COLLATE NOCASE,
    TipoDest VARCHAR(20) COLLATE NOCASE,
    NumCampo VARCHAR(100) COLLATE NOCASE,
    Inizio SMALLINT,
    Lunghezza SMALLINT,
    Dimensione SMALLINT,
    LimiteDim SMALLINT,
    NonVal VARCHAR(50) COLLATE NOCASE,
    ValValido VARCHAR(50) COLLATE NOCASE,
    "Default" VARCHAR(100) COLLATE NOCASE,
    CostBatch VARCHAR(50) COLLATE NOCASE,
    Conv0ToNull VARCHAR(1) COLLATE NOCASE,
    Obbligatorio VARCHAR(1) COLLATE NOCASE,
    Riempie VARCHAR(5) COLLATE NOCASE,
    Quanto SMALLINT,
    TipoOper VARCHAR(1) COLLATE NOCASE,
    ValoreOper VARCHAR(20) COLLATE NOCASE,
    LireOValuta VARCHAR(1) COLLATE NOCASE,
    Aggiorna VARCHAR(1) COLLATE NOCASE,
    PRIMARY KEY (Codice, NomeCampo)
);

CREATE TABLE CaricaDecod (
    Codice VARCHAR(20) COLLATE NOCASE NOT NULL,
    Tabella VARCHAR(64) COLLATE NOCASE NOT NULL,
    NomeCampo VARCHAR(64) COLLATE NOCASE NOT NULL,
    ValOrig VARCHAR(50) COLLATE NOCASE NOT NULL,
    ValDest VARCHAR(50) COLLATE NOCASE,
    PRIMARY KEY (Codice, Tabella, NomeCampo, ValOrig)
);

-- The one intermediary record, shared by every company; the sizes are those of the
-- telematic record that the fields feed.
CREATE TABLE TabStudio (
    StampoPagRic VARCHAR(1) COLLATE NOCASE,
    UltimoProt VARCHAR(6) COLLATE NOCASE,
    CodFiscIntermediario VARCHAR(16) COLLATE NOCASE,
    NumIscrAlboCaf VARCHAR(5) COLLATE NOCASE,
    CodFiscRespCafProf VARCHAR(16) COLLATE NOCASE,
    NumCopieDichPer VARCHAR(1) COLLATE NOCASE,
    NumRigheModulo VARCHAR(2) COLLATE NOCASE,
    NumRigheTesta VARCHAR(2) COLLATE NOCASE,
    FirmaInRicPres VARCHAR(1) COLLATE NOCASE,
    FirmaRespCafProf VARCHAR(1) COLLATE NOCASE,
    TabStuCampo0 VARCHAR(40) COLLATE NOCASE,
    TabStuCampo1 VARCHAR(12) COLLATE NOCASE,
    TabStuCampo2 VARCHAR(100) COLLATE NOCASE,
    TabStuCampo3 VARCHAR(1) COLLATE NOCASE,
    TabStuCampo4 VARCHAR(1) COLLATE NOCASE,
    TabStuData1 DATETIME,
    TipoFor VARCHAR(2) COLLATE NOCASE,
    CodFiscFor VARCHAR(16) COLLATE NOCASE,
    CognomeFor VARCHAR(24) COLLATE NOCASE,
    NomeFor VARCHAR(20) COLLATE NOCASE,
    SessoFor VARCHAR(1) COLLATE NOCASE,
    DataNascitaFor DATETIME,
    ComuneNascitaFor VARCHAR(40) COLLATE NOCASE,
    ProvNascitaFor VARCHAR(2) COLLATE NOCASE,
    ComuneResidFor VARCHAR(40) COLLATE NOCASE,
    ProvResidFor VARCHAR(2) COLLATE NOCASE,
    IndirizzoResidFor VARCHAR(35) COLLATE NOCASE,
    CapResidFor VARCHAR(5) COLLATE NOCASE,
    DenominazioneFor VARCHAR(60) COLLATE NOCASE,
    ComuneLegFor VARCHAR(40) COLLATE NOCASE,
    ProvLegFor VARCHAR(2) COLLATE NOCASE,
    IndirizzoLegFor VARCHAR(35) COLLATE NOCASE,
    CapLegFor VARCHAR(5) COLLATE NOCASE,
    ComuneFiscFor VARCHAR(40) COLLATE NOCASE,
    ProvFiscFor VARCHAR(2) COLLATE NOCASE,
    IndirizzoFiscFor VARCHAR(35) COLLATE NOCASE,
    CapFiscFor VARCHAR(5) COLLATE NOCASE,
    ComuneCaf VARCHAR(40) COLLATE NOCASE,
    ProvinciaCaf VARCHAR(2) COLLATE NOCASE,
    IndirizzoCaf VARCHAR(35) COLLATE NOCASE,
    CapCaf VARCHAR(5) COLLATE NOCASE
);
