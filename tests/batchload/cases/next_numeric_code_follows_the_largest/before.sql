INSERT INTO Numeri (Numero) VALUES (41);
