INSERT INTO Prova (Codice, Descr, Num) VALUES ('A', 'Vecchia', 1);
