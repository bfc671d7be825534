-- Demo content of the common database: users, settings, one company, e-mail templates,
-- shared decodings and two batch layouts. Never run on a real installation's database.
-- The company row names its file relatively; the demo builder rewrites it as a full path.

INSERT INTO Utenti (Login, Nome, Gruppo, Password, Attivo) VALUES
    ('admin', 'Amministratore di sistema', 'ADMIN', NULL, -1),
    ('mrossi', 'Mario Rossi', 'CONTAB', NULL, -1),
    ('lbianchi', 'Laura Bianchi', 'MAGAZ', NULL, -1),
    ('gverdi', 'Giorgio Verdi', 'CONTAB', NULL, 0);

INSERT INTO Supervisore (Login, Password) VALUES ('supervisore', NULL);

INSERT INTO Aziende (Codice, IdAzienda, Descrizione, NomeDB, Connect, PwdDB,
                     ListaLogin, ListaGruppi, ListaTerminali) VALUES
    ('ROSSI', '001', 'Rossi Forniture Industriali S.r.l.', 'ditta_001.db', '', NULL,
     'admin;mrossi;lbianchi', 'ADMIN;CONTAB;MAGAZ', '');

INSERT INTO Personalizzazioni (Sezione, Chiave, Login, Valore, Descrizione) VALUES
    ('Carica', 'SoloAsci', '', 'S', 'Caricamento batch: caratteri di controllo come spazi'),
    ('Tutti', 'StampantiNoCassetti', '', 'PDF995,PDFCreator', 'Stampanti senza scelta cassetto'),
    ('Tutti', 'TastiCtrl', '', 'S', 'Tasti Ctrl ammessi'),
    ('Clienti', 'DescEmailAmm', '', 'Amministrazione', 'Intestazione seconda e-mail'),
    ('StAltro', 'EmailPredef', '', 'Amm', 'Colonna e-mail predefinita'),
    ('StAltro', 'EmailPredef', 'lbianchi', '4', 'Colonna e-mail predefinita');

INSERT INTO Appoggio (Codice, Descr1, Memo1, Descr2, Memo2, Descr3, Memo3) VALUES
    ('PdfEmail',
     '§Titolo§ del §Data§ - §DescAzie§',
     'Buongiorno,
in allegato trasmettiamo §Titolo§ elaborato il §Data§.

Cordiali saluti
§DescAzie§',
     '§PersOgg§ §CodSta§ (§DataRov§)',
     'Documento §CodSta§ inviato da §Login§ (§Terminale§) alle §OraRid§.',
     'Estratto conto §DescAzie§',
     'Gentile cliente,
le inviamo l''estratto conto aggiornato al §DataLong§.');

INSERT INTO NatGiuridica (NatGiuridica, Descrizione, Tipo) VALUES
    ('DI', 'Ditta individuale', 'F'),
    ('LP', 'Libero professionista', 'F'),
    ('SNC', 'Società in nome collettivo', 'G'),
    ('SAS', 'Società in accomandita semplice', 'G'),
    ('SRL', 'Società a responsabilità limitata', 'G'),
    ('SPA', 'Società per azioni', 'G'),
    ('COOP', 'Società cooperativa', 'G');

INSERT INTO Decodifiche (Tipo, Codice, Descrizione) VALUES
    ('PeriodoIva', 'M', 'Mensile'),
    ('PeriodoIva', 'T', 'Trimestrale'),
    ('Sesso', 'M', 'Maschio'),
    ('Sesso', 'F', 'Femmina'),
    ('TipoFornitore', '01', 'Soggetti che inviano le proprie dichiarazioni'),
    ('TipoFornitore', '10', 'Intermediari');

-- Chart of accounts from a ';'-separated file with a heading line; the type letter of the
-- file is translated into the account type.
INSERT INTO CaricaFile (Codice, Descrizione, batch, Origine, Tipo, Separatore, SaltaInizio,
                        Modalita, InsVaria, Tabella, Azzera, WhereAzz, Campi) VALUES
    ('PIANOCONTI', 'Piano dei conti (file separato)', 'S', 'pianoconti.txt', 'S', '\059', 1,
     '0', 'V', 'PianoConti', 'N', '', '*');

INSERT INTO CaricaDettaglio (Codice, NomeCampo, OrdCampo, TipoOrig, TipoDest, NumCampo,
                             Inizio, Lunghezza, Dimensione, LimiteDim, Obbligatorio, Riempie,
                             Quanto, Aggiorna) VALUES
    ('PIANOCONTI', 'Gruppo', '1', 'String', 'String', '1', 0, 0, 0, 0, 'S', '0', -2, ''),
    ('PIANOCONTI', 'Mastro', '2', 'String', 'String', '2', 0, 0, 0, 0, 'S', '0', -2, ''),
    ('PIANOCONTI', 'Conto', '3', 'String', 'String', '3', 0, 0, 0, 0, 'S', '0', -4, ''),
    ('PIANOCONTI', 'Descrizione', '4', 'String', 'String', '4', 0, 0, 0, 0, 'S', '', NULL, 'A'),
    ('PIANOCONTI', 'Tipo', '5', 'String', 'String', '5', 0, 0, 0, 0, '', '', NULL, ''),
    ('PIANOCONTI', 'PartIva', '6', 'String', 'String', '6', 0, 0, 0, 11, '', '', NULL, 'A'),
    ('PIANOCONTI', 'Email', '7', 'String', 'String', '7', 0, 0, 0, 0, '', '', NULL, 'A');

INSERT INTO CaricaDecod (Codice, Tabella, NomeCampo, ValOrig, ValDest) VALUES
    ('PIANOCONTI', 'PianoConti', 'Tipo', 'G', '1'),
    ('PIANOCONTI', 'PianoConti', 'Tipo', 'C', '2'),
    ('PIANOCONTI', 'PianoConti', 'Tipo', 'F', '3');

-- Accounting causals from a fixed-position file, inserted only when new.
INSERT INTO CaricaFile (Codice, Descrizione, batch, Origine, Tipo, Separatore, SaltaInizio,
                        Modalita, InsVaria, Tabella, Azzera, WhereAzz, Campi) VALUES
    ('CAUSALI', 'Causali contabili (posizioni fisse)', 'S', 'causali.txt', 'F', '', 0,
     '1', 'V', 'Causali', 'N', '', '*');

INSERT INTO CaricaDettaglio (Codice, NomeCampo, OrdCampo, TipoOrig, TipoDest, NumCampo,
                             Inizio, Lunghezza, Dimensione, LimiteDim, Obbligatorio, Riempie,
                             Quanto, Aggiorna) VALUES
    ('CAUSALI', 'Causale', '1', 'String', 'String', '', 1, 3, 0, 0, 'S', '', NULL, ''),
    ('CAUSALI', 'Descrizione', '2', 'String', 'String', '', 4, 40, 0, 0, 'S', '', NULL, ''),
    ('CAUSALI', 'TipoCausale', '3', 'String', 'String', '', 44, 2, 0, 0, '', '', NULL, '');
