-- Demo content of one company file, run on a copy of the base company file: one believable
-- wholesale company with its codes, a few journal entries and some parameter rows.
-- TabFatt, TabAcq and TabReg stay empty on purpose: their pages show their defaults.

INSERT INTO Ditta (RagSoc, Indirizzo, Cap, Localita, Provincia, Stato, PartIva, CodFisc,
                   PersFisGiu, NatGiuridica, Telefono, Email, Pec, CodAttivita,
                   InstCoge, InstIva, InstMagazzino, InstFatt, InstOrdini, InstRegCassa,
                   InstCespiti, Moneta, MonetaConto, PeriodoIva, NumRegIvaVen, NumRegIvaAcq,
                   NumRegIvaCorr, Cee, UfficioRea, NumRea, CapitaleSociale, SocioUnico,
                   StatoLiquidazione, FERegimeFiscale, FECodDestinatario) VALUES
    ('Rossi Forniture Industriali S.r.l.', 'Via dei Mille 24', '25128', 'Brescia', 'BS', 'IT',
     '03187420983', '03187420983', 'G', 'SRL', '030 2458711', 'info@rossiforniture.example',
     'rossiforniture@pec.example', '466900', 'S', 'S', 'S', 'S', 'S', 'N', 'N', 'Euro', 'Euro',
     'M', 1, 1, 0, 'S', 'BS', '512874', 50000, 'SM', 'LN', 'RF01', '0000000');

INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Cambio, Operatore, Cee) VALUES
    ('Euro', 'Euro', 2, 4, 1936.27, '/', 'S'),
    ('L.', 'Lire italiane', 0, 0, 1, '*', 'S'),
    ('USD', 'Dollaro statunitense', 2, 4, NULL, '/', 'N');

INSERT INTO Stati (Stato, Descrizione, CodIso, Cee) VALUES
    ('IT', 'Italia', 'IT', 'S'),
    ('FR', 'Francia', 'FR', 'S'),
    ('DE', 'Germania', 'DE', 'S'),
    ('AT', 'Austria', 'AT', 'S'),
    ('CH', 'Svizzera', 'CH', 'N'),
    ('US', 'Stati Uniti d''America', 'US', 'N');

INSERT INTO ArrotEuro (ImportoDa, ImportoA, Arrotondamento) VALUES
    (0, 9.9999, 0.01),
    (10, 99.9999, 0.05),
    (100, 999999999, 0.1);

INSERT INTO ArrotLire (ImportoDa, ImportoA, Arrotondamento) VALUES
    (0, 9999, 1),
    (10000, 99999, 10),
    (100000, 999999999999, 100);

INSERT INTO Gruppi (Gruppo, Descrizione) VALUES
    ('01', 'ATTIVITA'''),
    ('02', 'PASSIVITA'''),
    ('03', 'COSTI'),
    ('04', 'RICAVI'),
    ('05', 'CLIENTI'),
    ('06', 'FORNITORI'),
    ('09', 'CONTI DI CHIUSURA');

INSERT INTO Mastri (Gruppo, Mastro, Descrizione) VALUES
    ('01', '01', 'Cassa e banche'),
    ('01', '02', 'Crediti diversi'),
    ('02', '01', 'Debiti tributari'),
    ('02', '02', 'Debiti diversi'),
    ('02', '03', 'Patrimonio netto'),
    ('03', '01', 'Acquisti'),
    ('03', '02', 'Costi generali'),
    ('04', '01', 'Vendite'),
    ('04', '02', 'Proventi diversi'),
    ('05', '01', 'Clienti Italia'),
    ('06', '01', 'Fornitori Italia'),
    ('09', '01', 'Conti di chiusura');

INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione, Tipo) VALUES
    ('01', '01', '0001', 'Cassa contanti', '1'),
    ('01', '01', '0002', 'Cassa assegni', '1'),
    ('01', '01', '0003', 'Banca Credito Bresciano c/c', '1'),
    ('01', '01', '0004', 'Incassi con carta di credito', '1'),
    ('01', '01', '0005', 'Incassi con bancomat', '1'),
    ('01', '02', '0001', 'Anticipi a fornitori', '1'),
    ('01', '02', '0002', 'Crediti per ritenute subite', '1'),
    ('02', '01', '0001', 'Erario c/IVA vendite', '1'),
    ('02', '01', '0002', 'Erario c/IVA acquisti', '1'),
    ('02', '01', '0003', 'IVA ad esigibilità differita clienti', '1'),
    ('02', '01', '0004', 'IVA ad esigibilità differita fornitori', '1'),
    ('02', '01', '0005', 'IVA su corrispettivi', '1'),
    ('02', '01', '0006', 'IVA acquisti intracomunitari', '1'),
    ('02', '01', '0007', 'IVA vendite intracomunitarie', '1'),
    ('02', '01', '0008', 'Erario c/ritenute da versare', '1'),
    ('02', '01', '0009', 'IVA split payment', '1'),
    ('02', '01', '0010', 'IVA per cassa vendite', '1'),
    ('02', '01', '0011', 'IVA per cassa acquisti', '1'),
    ('02', '02', '0001', 'Corrispettivi sospesi', '1'),
    ('02', '03', '0001', 'Utile o perdita d''esercizio', '1'),
    ('03', '01', '0001', 'Merci c/acquisti', '1'),
    ('03', '02', '0001', 'Abbuoni passivi', '1'),
    ('03', '02', '0002', 'Omaggi a clienti', '1'),
    ('03', '02', '0003', 'Arrotondamenti passivi', '1'),
    ('03', '02', '0004', 'Perdite su cambi', '1'),
    ('04', '01', '0001', 'Merci c/vendite', '1'),
    ('04', '02', '0001', 'Abbuoni attivi', '1'),
    ('04', '02', '0002', 'Utili su cambi', '1'),
    ('05', '01', '0002', 'Cliente documenti interni', '2'),
    ('05', '01', '0003', 'Cliente corrispettivi', '2'),
    ('09', '01', '0001', 'Profitti e perdite', '1'),
    ('09', '01', '0002', 'Bilancio di chiusura', '1'),
    ('09', '01', '0003', 'Bilancio di apertura', '1');

INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione, Tipo, Indirizzo, Cap, Localita,
                        Provincia, PartIva, CodFisc, PersRiferimento, Telefono, Email, Email2,
                        Email3, Email4) VALUES
    ('05', '01', '0001', 'Edilnova S.p.A.', '2', 'Via Industriale 8', '25030', 'Castel Mella',
     'BS', '01234567897', '01234567897', 'Anna Gatti', '030 2550190',
     'info@edilnova.example', 'amministrazione@edilnova.example', NULL,
     'magazzino@edilnova.example'),
    ('05', '01', '0004', 'Termoidraulica Ferri di Ferri Luca', '2', 'Via Roma 102', '25062',
     'Concesio', 'BS', '04561230782', 'FRRLCU75C12B157A', NULL, '030 2751034',
     'ferri.luca@example.it', NULL, 'ordini@termoferri.example', NULL),
    ('06', '01', '0001', 'Acciaierie Valtrompia S.r.l.', '3', 'Via Matteotti 5', '25063',
     'Gardone Val Trompia', 'BS', '02876410958', '02876410958', 'Piero Zani', '030 8912244',
     'vendite@acciaierievt.example', 'contabilita@acciaierievt.example', NULL, NULL),
    ('06', '01', '0002', 'Trasporti Lombardi s.n.c.', '3', 'Via Brescia 77', '25014',
     'Castenedolo', 'BS', '01998877664', '01998877664', NULL, '030 2130098',
     'ufficio@trasportilombardi.example', NULL, NULL, NULL);

INSERT INTO Causali (Causale, Descrizione, TipoCausale) VALUES
    ('FV', 'Fattura di vendita', 'FV'),
    ('NC', 'Nota di credito a cliente', 'NC'),
    ('FD', 'Fattura di vendita IVA differita', 'FV'),
    ('ND', 'Nota di credito IVA differita', 'NC'),
    ('FA', 'Fattura di acquisto', 'FA'),
    ('ANT', 'Anticipo da cliente', 'IN'),
    ('ARR', 'Arrotondamenti', 'GI'),
    ('OMA', 'Omaggi a clienti', 'FV'),
    ('INC', 'Incasso da cliente', 'IN'),
    ('INS', 'Incasso da saldaconto', 'IN'),
    ('PAG', 'Pagamento a fornitore', 'PG'),
    ('CHE', 'Chiusura conti economici', 'CH'),
    ('CHP', 'Chiusura conti patrimoniali', 'CH'),
    ('APE', 'Apertura conti', 'AP'),
    ('RIT', 'Ritenuta d''acconto', 'GI'),
    ('GIV', 'Giroconto IVA', 'GI'),
    ('COR', 'Corrispettivi da scorporare', 'CO'),
    ('COV', 'Corrispettivi da ventilare', 'CO'),
    ('GIR', 'Giroconto corrispettivi', 'GI');

INSERT INTO Spese (Spesa, Descrizione, CassaPrev) VALUES
    ('CP4', 'Contributo cassa previdenza 4%', 'S'),
    ('TRA', 'Spese di trasporto', 'N'),
    ('INC', 'Spese di incasso', 'N'),
    ('BOL', 'Imposta di bollo', 'N');

INSERT INTO Magazzini (Magazzino, Descrizione) VALUES
    ('01', 'Magazzino centrale Brescia'),
    ('02', 'Deposito di Rezzato');

INSERT INTO Listini (Listino, Descrizione, Moneta) VALUES
    ('01', 'Listino al pubblico', 'Euro'),
    ('02', 'Listino rivenditori', 'Euro'),
    ('03', 'Listino esportazione', 'USD'),
    ('04', 'Listino acquisti', 'Euro');

INSERT INTO FattDocumenti (FattDocumento, Descrizione, Tipo, Interno, FattAccomp) VALUES
    ('DDT', 'Documento di trasporto', 'B', 'N', 'N'),
    ('DDI', 'Documento di trasporto interno', 'B', 'S', 'N'),
    ('FAT', 'Fattura differita', 'F', 'N', 'N'),
    ('FAC', 'Fattura accompagnatoria', 'F', 'N', 'S'),
    ('FDE', 'Fattura al dettaglio', 'D', 'N', 'N'),
    ('ORD', 'Ordine cliente', 'O', 'N', 'N'),
    ('ORI', 'Ordine interno', 'O', 'S', 'N'),
    ('PRE', 'Preventivo', 'P', 'N', 'N'),
    ('OAF', 'Ordine a fornitore', 'A', 'N', 'N');

INSERT INTO CauTrasporti (CauTrasporto, Descrizione) VALUES
    ('VEN', 'Vendita'),
    ('CVI', 'Conto visione'),
    ('RES', 'Reso a fornitore');

INSERT INTO AspettoBeni (AspettoBene, Descrizione) VALUES
    ('SCA', 'Scatole'),
    ('BAN', 'Bancali'),
    ('SFU', 'Sfuso');

INSERT INTO Trasporti (Trasporto, Descrizione) VALUES
    ('MIT', 'Mittente'),
    ('DES', 'Destinatario'),
    ('VET', 'Vettore');

INSERT INTO Vettori (Vettore, RagSoc, Indirizzo, Localita, PartIva) VALUES
    ('TL001', 'Trasporti Lombardi s.n.c.', 'Via Brescia 77', 'Castenedolo', '01998877664');

INSERT INTO MagCausali (MagCausale, Descrizione, TipoMov, CarScar, Segno, Prov, Dest) VALUES
    ('VEN', 'Vendita a cliente', 'N', 'S', '+', 'M', 'C'),
    ('CAR', 'Carico da fornitore', 'N', 'C', '+', 'F', 'M'),
    ('RES', 'Reso da cliente', 'N', 'S', '-', 'M', 'C'),
    ('INV', 'Rettifica inventariale', 'R', 'C', '+', 'M', 'M');

INSERT INTO Reparti (Reparto, Descrizione, Iva) VALUES
    (1, 'Ferramenta', '22'),
    (2, 'Utensileria', '22'),
    (3, 'Edilizia', '10');

INSERT INTO PagTipi (PagTipo, Descrizione, EmissEffetti) VALUES
    ('R', 'Ricevuta bancaria', 'S'),
    ('D', 'Addebito diretto SDD', 'S'),
    ('B', 'Bonifico bancario', 'N'),
    ('C', 'Contanti', 'N'),
    ('A', 'Assegno', 'N');

INSERT INTO CodiciIva (Iva, Descrizione, Aliquota, PercIndetr) VALUES
    ('22', 'Aliquota ordinaria 22%', 22, 0),
    ('10', 'Aliquota ridotta 10%', 10, 0),
    ('4', 'Aliquota minima 4%', 4, 0),
    ('322', 'IVA 22% indetraibile al 50%', 22, 50),
    ('422', 'IVA 22% totalmente indetraibile', 22, 100),
    ('N1', 'Escluso art.15', 0, 0);

INSERT INTO Personalizzazioni (Sezione, Chiave, Login, Valore, Descrizione) VALUES
    ('StAltro', 'EmailPredef', '', 'Comm', 'Colonna e-mail predefinita per questa ditta');

INSERT INTO TabCauCon (
    GruppoClienti, MastroClienti, GruppoFornitori, MastroFornitori,
    GruppoVen, MastroVen, ContoVen, GruppoAcq, MastroAcq, ContoAcq,
    GruppoIvaVen, MastroIvaVen, ContoIvaVen, GruppoIvaAcq, MastroIvaAcq, ContoIvaAcq,
    GruppoIvaSosC, MastroIvaSosC, ContoIvaSosC, GruppoIvaSosF, MastroIvaSosF, ContoIvaSosF,
    GruppoIvaCassaC, MastroIvaCassaC, ContoIvaCassaC, GruppoIvaCassaF, MastroIvaCassaF, ContoIvaCassaF,
    GruppoCliInt, MastroCliInt, ContoCliInt, GruppoAnt, MastroAnt, ContoAnt,
    GruppoArr, MastroArr, ContoArr, GruppoOmaggi, MastroOmaggi, ContoOmaggi,
    GruppoIvaCorr, MastroIvaCorr, ContoIvaCorr, GruppoIvaAcqCee, MastroIvaAcqCee, ContoIvaAcqCee,
    GruppoIvaVenCee, MastroIvaVenCee, ContoIvaVenCee, GruppoCliCorr, MastroCliCorr, ContoCliCorr,
    GruppoCassaCont, MastroCassaCont, ContoCassaCont, GruppoCassaAss, MastroCassaAss, ContoCassaAss,
    GruppoCartaCr, MastroCartaCr, ContoCartaCr, GruppoAbbPass, MastroAbbPass, ContoAbbPass,
    GruppoAbbAtt, MastroAbbAtt, ContoAbbAtt, GruppoProfPer, MastroProfPer, ContoProfPer,
    GruppoUtiPer, MastroUtiPer, ContoUtiPer, GruppoBilChiu, MastroBilChiu, ContoBilChiu,
    GruppoBilAper, MastroBilAper, ContoBilAper, GruppoUtiCambio, MastroUtiCambio, ContoUtiCambio,
    GruppoPerdCambio, MastroPerdCambio, ContoPerdCambio, GruppoRitAccVen, MastroRitAccVen, ContoRitAccVen,
    GruppoRitAcc, MastroRitAcc, ContoRitAcc, GruppoBancomat, MastroBancomat, ContoBancomat,
    GruppoIvaSplit, MastroIvaSplit, ContoIvaSplit,
    CausFatt, CausNC, CausFattSosp, CausNCSosp, CausAnticipi, CausArr, CausOmaggi, CausIncasso,
    SaldaCauIncassi, SaldaCauPagamenti, CauChiuEco, CauChiuPatr, CauApertura, CausRit, CauGirIva,
    SpesaCassaPrev) VALUES (
    '05', '01', '06', '01',
    '04', '01', '0001', '03', '01', '0001',
    '02', '01', '0001', '02', '01', '0002',
    '02', '01', '0003', '02', '01', '0004',
    '02', '01', '0010', '02', '01', '0011',
    '05', '01', '0002', '01', '02', '0001',
    '03', '02', '0003', '03', '02', '0002',
    '02', '01', '0005', '02', '01', '0006',
    '02', '01', '0007', '05', '01', '0003',
    '01', '01', '0001', '01', '01', '0002',
    '01', '01', '0004', '03', '02', '0001',
    '04', '02', '0001', '09', '01', '0001',
    '02', '03', '0001', '09', '01', '0002',
    '09', '01', '0003', '04', '02', '0002',
    '03', '02', '0004', '01', '02', '0002',
    '02', '01', '0008', '01', '01', '0005',
    '02', '01', '0009',
    'FV', 'NC', 'FD', 'ND', 'ANT', 'ARR', 'OMA', 'INC',
    'INS', 'PAG', 'CHE', 'CHP', 'APE', 'RIT', 'GIV',
    'CP4');

INSERT INTO TabCoge (AnnoCorr, DataInizCont, DataFineCont, ApertoPrec, Azzera, AnagrInRegIva,
                     MultiAttivita, AnnoAzzera, OpRilIvaImpConIva, OpRilIvaImpSenzaIva,
                     GruppoSospesi, MastroSospesi, ContoSospesi, GiorniChiu, IvaCassaAttiva,
                     IvaPerCassaDa, IvaPerCassaA, DataProcConcDa, DataProcConcA) VALUES
    (2026, '2026-01-01', '2026-12-31', 'N', 'S', 'N', 'N', NULL, 3000, 3600,
     '02', '02', '0001', '1, 7', 'N', NULL, NULL, NULL, NULL);

INSERT INTO TabRiba (RagSocDitta, ViaDitta, CapLocalDitta, ProvDitta, RifMitt, FirmaMitt,
                     CFiscPIva, NomeRiba, PagTipoCli, PagTipoFor) VALUES
    ('ROSSI FORNITURE IND.SRL', 'VIA DEI MILLE 24', '25128 BRESCIA', 'BS', 'UFFICIO AMMINISTRAZIONE',
     'ROSSI FORNITURE', '03187420983', 'R', 'R', 'D');

INSERT INTO TabMagazzino (AnnoCorr, DataInizio, DataFine, UsoCodBarre, AttDecBarcode,
                          TipoCodBarre, GenAutContrBarre, LungCodBarre, GenAutCodBarre,
                          MagPrincipale, ListinoPrincipale, AggForArt, KeyRicCarMov, KeyRicDDT,
                          KeyRicFattura, NumDecQta, Segnalazione, GesArtFor, GesTaglie,
                          GesCauzioni, NumEtic, UltStampaGio, UsoDateLis, DataListino,
                          QualeDataLis, ProgrQta1, ProgrQta2, ProgrQta3, GruppoProd, MastroProd,
                          ContoProd, PercRicListClie) VALUES
    (2026, '2026-01-01', '2026-12-31', 'S', '', '13', 'S', 13, 'N', '01', '01', 'S', '0', '1',
     '0', 2, 'S', 'N', 'N', 'N', 1, NULL, 'N', '2026-01-01', 'D', 'Colli', 'Peso kg', NULL,
     '06', '01', '0001', 30);

INSERT INTO MovPnTes (Anno, NumReg, DataReg, Causale, Descrizione, PreDoc, NumDoc, DataDoc,
                      PreProt, NumProt, AnnoIva, PeriodoIva, GruppoCliFor, MastroCliFor,
                      ContoCliFor, Moneta, TotDoc, TotDocMon) VALUES
    (2026, 1, '2026-01-15', 'FV', 'Fattura n.1 Edilnova', '.', 1, '2026-01-15', '.', 1, 2026, 1,
     '05', '01', '0001', 'Euro', 1220, 1220),
    (2026, 2, '2026-01-20', 'FA', 'Fattura acquisto acciaio n.A/118', '.', 118, '2026-01-18',
     '.', 1, 2026, 1, '06', '01', '0001', 'Euro', 610, 610),
    (2026, 3, '2026-02-10', 'INC', 'Incasso fattura n.1', NULL, NULL, NULL, NULL, NULL, NULL,
     NULL, '05', '01', '0001', 'Euro', 1220, 1220);

INSERT INTO MovPnDett (Anno, NumReg, Riga, GruppoPartita, MastroPartita, ContoPartita,
                       DareAvere, Importo, ImportoMon, Iva, Imposta, ImpostaMon, ImpostaIndetr,
                       ImpostaIndetrMon, Forzatura, PreDoc, PreProt, Descrizione) VALUES
    (2026, 1, 1, '05', '01', '0001', 'D', 1220, 1220, NULL, 0, 0, 0, 0, NULL, '.', '.', 'Edilnova S.p.A.'),
    (2026, 1, 2, '04', '01', '0001', 'A', 1000, 1000, '22', 0, 0, 0, 0, NULL, '.', '.', 'Merci c/vendite'),
    (2026, 1, 3, '02', '01', '0001', 'A', 220, 220, '22', 220, 220, 0, 0, 'I', '.', '.', 'IVA vendite'),
    (2026, 2, 1, '06', '01', '0001', 'A', 610, 610, NULL, 0, 0, 0, 0, NULL, '.', '.', 'Acciaierie Valtrompia'),
    (2026, 2, 2, '03', '01', '0001', 'D', 500, 500, '322', 0, 0, 0, 0, NULL, '.', '.', 'Merci c/acquisti'),
    (2026, 2, 3, '02', '01', '0002', 'D', 110, 110, '322', 110, 110, 55, 55, 'I', '.', '.', 'IVA acquisti'),
    (2026, 3, 1, '01', '01', '0003', 'D', 1220, 1220, NULL, 0, 0, 0, 0, NULL, NULL, NULL, 'Bonifico Edilnova'),
    (2026, 3, 2, '05', '01', '0001', 'A', 1220, 1220, NULL, 0, 0, 0, 0, NULL, NULL, NULL, 'Edilnova S.p.A.');

INSERT INTO MovPnIva (Anno, NumReg, RigaIva, Iva, Imponibile, Imposta, ImponibileMon, ImpostaMon,
                      ImponibileND, ImpostaND, ImponibileNDMon, ImpostaNDMon) VALUES
    (2026, 1, 1, '22', 1000, 220, 1000, 220, 0, 0, 0, 0),
    (2026, 2, 1, '322', 500, 110, 500, 110, 250, 55, 250, 55);
