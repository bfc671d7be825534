INSERT INTO Numeri (Numero, Gruppo) VALUES (7, '01'), (20, '02'), (30, 'Xa');
