DROP TABLE Listini;
