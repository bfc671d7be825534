INSERT INTO Listini (Listino, Moneta) VALUES ('LIR', 'L.'), ('EUR', 'Euro'), ('USD', 'USD');
