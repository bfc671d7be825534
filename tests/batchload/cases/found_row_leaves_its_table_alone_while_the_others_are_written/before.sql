INSERT INTO Prova (Codice, Descr) VALUES ('A', 'Vecchia');
INSERT INTO Libera (Testo, Valore) VALUES ('x', 1), ('y', 2);
