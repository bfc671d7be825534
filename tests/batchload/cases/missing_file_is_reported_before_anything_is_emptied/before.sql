INSERT INTO Prova (Codice) VALUES ('A');
INSERT INTO ErroriCaricamento (Tabella, Riga, Errore) VALUES ('CASO', 'x', 'y');
