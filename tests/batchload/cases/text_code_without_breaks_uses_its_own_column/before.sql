INSERT INTO Prova (Codice) VALUES ('P00005'), ('X99999'), ('P12');
