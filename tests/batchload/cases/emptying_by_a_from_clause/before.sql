INSERT INTO Prova (Codice, Num) VALUES ('A', 1), ('B', 2), ('C', 3);
