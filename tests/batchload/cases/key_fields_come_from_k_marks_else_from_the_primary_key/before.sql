INSERT INTO Righe (Codice, Riga, Testo) VALUES ('A', 1, 't');
INSERT INTO Prova (Codice, Descr) VALUES ('B', 'vecchia');
